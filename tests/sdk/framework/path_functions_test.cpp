#include "sdk/framework/path_functions.h"

#include <gtest/gtest.h>
#include <string>

#include "current_dir_scope.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/file_buffer.h"
#include "test_util.h"

namespace {

// Restores the process's working directory after a test that moves it.
struct RestoreWorkingDirectory {
  std::filesystem::path saved = std::filesystem::current_path();
  ~RestoreWorkingDirectory() { std::filesystem::current_path(saved); }
};

// Restores the current-directory cache after a test that sets it by hand.
class PathFunctions : public testing::Test {
 protected:
  PathFunctions() : m_saved(GetCurrentDir()) {}
  ~PathFunctions() override { SetCurrentDir(m_saved); }

 private:
  std::string m_saved;
};

TEST_F(PathFunctions, CanonicalizeResolvesAgainstTheCurrentDirectory) {
  struct Case {
    const char* current;
    const char* path;
    const char* canonical;
  };
  const Case cases[] = {
      {"C:\\a\\b\\", "..\\x/y", "C:\\a\\x\\y"},
      {"C:\\a\\b\\", "x", "C:\\a\\b\\x"},
      {"C:\\a\\b\\", ".\\./x", "C:\\a\\b\\x"},
      {"C:\\a\\b\\", "\\x", "C:\\a\\b\\x"},              // a leading "\" stays in the current directory
      {"C:\\a\\b\\", "../../../../x", "C:\\x"},          // at the root the base stays
      {"C:\\a\\b\\", "x\\..\\y", "C:\\a\\b\\x\\..\\y"},  // only leading levels are resolved
      {"C:\\a\\b\\", "D:/p/q", "D:\\p\\q"},
      {"C:\\a\\b\\", "\\\\srv\\share/f", "\\\\srv\\share\\f"},
      {"C:\\a\\b\\", "/home/u/x", "/home\\u\\x"},  // an absolute Linux path stays absolute
      {"/g\\d\\", "..\\x", "/g\\x"},
      {"/g\\", "../../x", "/x"},
      {"/g\\", "/g\\x", "/g\\x"},                   // canonical paths are canonical again
      {"/g\\", "表/表\\x"_sj, "/g\\表\\表\\x"_sj},  // trail byte 0x5C is no separator
      {"/g\\", "..\\表"_sj, "/表"_sj},
      {"/g\\", "表"_sj, "/g\\表"_sj},
      {"/g\\", "\x83/x", "/g\\\x83/x"},  // "/" right after a lead byte is its trail byte
  };
  for (const Case& c : cases) {
    SetCurrentDir(c.current);
    EXPECT_EQ(CanonicalizePath(c.path), c.canonical) << c.current << " + " << c.path;
  }
}

TEST_F(PathFunctions, ParentDirectory) {
  struct Case {
    const char* path;
    int result;
    const char* parent;
  };
  const Case cases[] = {
      {"C:\\a\\b", 0, "C:\\a\\"},
      {"C:\\a\\b\\", 0, "C:\\a\\"},
      {"C:\\", 1, "C:\\"},
      {"\\\\server\\share\\", 1, "\\\\server\\share\\"},
      {"\\\\server\\share\\x", 0, "\\\\server\\share\\"},
      {"\\\\", 1, "\\\\"},
      {"abc", 0, "abc\\"},
      {"", 1, ""},
      {"/", 1, "/"},
      {"/home\\", 0, "/"},
      {"/home\\u\\a.png", 0, "/home\\u\\"},
      {"a\\表"_sj, 0, "a\\"},
      {"a\\表\\"_sj, 0, "a\\"},
      {"表\\"_sj, 1, "表\\"_sj},
      {"a/b/c", 0, "a/b/"},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(GetParentDir(path), c.result) << c.path;
    EXPECT_EQ(path, c.parent) << c.path;
  }
}

TEST_F(PathFunctions, FileNameAndExtension) {
  struct Case {
    const char* path;
    const char* name;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\a\\b.png", "b.png", "png"},
      {"a/b.c.PNG", "b.c.PNG", "PNG"},
      {"dir.d\\file", "file", ""},
      {"x.", "x.", ""},
      {".ini", ".ini", "ini"},
      {"dir\\", "", ""},
      {"", "", ""},
      {"表"_sj, "表"_sj, ""},
      {"cg\\表.bmp"_sj, "表.bmp"_sj, "bmp"},
      {"/g\\表\\a.b"_sj, "a.b", "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(GetExtensionOf(c.path), c.extension) << c.path;
  }
}

TEST_F(PathFunctions, LowerCaseLeavesTrailBytesAlone) {
  std::string text = "ABC\x83\x41Xy\x95\x5CZ";  // "ア" has the trail byte "A"
  ToLowerSJIS(text);
  EXPECT_EQ(text, "abc\x83\x41xy\x95\x5Cz");
}

TEST_F(PathFunctions, SetCurrentDirAppendsOneSeparator) {
  SetCurrentDir("/g");
  EXPECT_EQ(GetCurrentDir(), "/g\\");
  SetCurrentDir("/h/");
  EXPECT_EQ(GetCurrentDir(), "/h/");
  SetCurrentDir("");
  EXPECT_EQ(GetCurrentDir(), "/h/");
  // A last character whose trail byte is "\" is no separator: the folder still needs one.
  for (const char* dir : {"/g\\表"_sj, "/g\\ソ"_sj, "表"_sj}) {
    SetCurrentDir(dir);
    EXPECT_EQ(GetCurrentDir(), std::string(dir) + "\\") << dir;
    EXPECT_EQ(CanonicalizePath("a.txt"), std::string(dir) + "\\a.txt") << dir;
  }
}

// Folders named with a last character whose trail byte is "\", as the process's start directory
// and as the temporary folder.
TEST_F(PathFunctions, FoldersEndingInATrailByteBackslashGetTheirSeparator) {
  ScopedTempDir folder;
  const std::string start = U8(u8"能力表");
  folder.Write(start + "/a.txt", "plain");
  RestoreWorkingDirectory restore;
  std::filesystem::current_path(folder.File(start));
  RecordCurrentDir();
  EXPECT_EQ(GetCurrentDir().substr(GetCurrentDir().size() - 3), "表\\"_sj);
  CFileBuffer f;
  ASSERT_EQ(f.Read("a.txt"), 0);
  EXPECT_EQ(f.GetSize(), 5u);

  struct TempDirVariable {
    std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    bool had = std::getenv("TMPDIR") != nullptr;
    ~TempDirVariable() { had ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR"); }
  } restoreTmp;
  setenv("TMPDIR", folder.File(start).c_str(), 1);
  std::string temp;
  ASSERT_EQ(MakeTempFileName(temp), 0);
  EXPECT_TRUE(GetFileNamePart(temp).starts_with("QIB")) << temp;
  EXPECT_EQ(std::filesystem::path(platform::HostPath(temp)).parent_path(), folder.File(start));
}

TEST_F(PathFunctions, RecordCurrentDirTakesTheProcessDirectory) {
  std::string expected;
  ASSERT_TRUE(platform::CurrentDirectory(expected));
  SetCurrentDir("/elsewhere");
  RecordCurrentDir();
  EXPECT_EQ(GetCurrentDir(), expected);
  EXPECT_EQ(expected.back(), '\\');
  EXPECT_EQ(platform::HostPath(expected), std::filesystem::current_path().string() + "/");
}

TEST_F(PathFunctions, AStartDirectoryThatShiftJisCannotSpellStillServesFiles) {
  ScopedTempDir folder;
  const std::string start = U8(u8"jeu-\u00E9");  // no Shift-JIS code for this letter
  folder.Write(start + "/a.txt", "plain");
  std::vector<unsigned char> archive;
  std::string error;
  ASSERT_TRUE(BuildPackedArchive({{{"x.txt", {'p', 'k'}}}}, PackOptions{}, archive, error));
  folder.Write(start + "/d.dat", archive);
  RestoreWorkingDirectory restore;
  std::filesystem::current_path(folder.File(start));
  RecordCurrentDir();
  EXPECT_EQ(GetCurrentDir(), ".\\");
  CFileBuffer f;
  ASSERT_EQ(f.Read("a.txt"), 0);
  EXPECT_EQ(f.GetSize(), 5u);
  ASSERT_EQ(f.Read("d\\x.txt"), 0);
  EXPECT_EQ(f.GetSize(), 2u);
}

TEST_F(PathFunctions, TempFileNamesAreNewFilesWithThePrefix) {
  std::string a, b;
  ASSERT_EQ(MakeTempFileName(a), 0);
  ASSERT_EQ(MakeTempFileName(b), 0);
  EXPECT_NE(a, b);
  EXPECT_TRUE(GetFileNamePart(a).starts_with("QIB")) << a;
  EXPECT_TRUE(std::filesystem::is_regular_file(platform::HostPath(a)));
  EXPECT_EQ(std::filesystem::file_size(platform::HostPath(a)), 0u);
  std::filesystem::remove(platform::HostPath(a));
  std::filesystem::remove(platform::HostPath(b));
}

// The real file system: names with mixed case on disk and Shift-JIS names whose trail byte is "\".
TEST_F(PathFunctions, FilesAreFoundWhateverTheCaseOfAsciiLetters) {
  ScopedTempDir folder;
  folder.Write("CG/System_OnSelect.png", "select");
  folder.Write(U8(u8"表示/Data.TXT"), "hyouji");
  folder.Write("dup/a.txt", "lower");
  folder.Write("dup/A.TXT", "upper");
  CurrentDirScope scope(folder.path().string());
  struct Case {
    const char* name;
    int result;
    const char* content;
  };
  const Case cases[] = {
      {"CG\\System_OnSelect.png", 0, "select"},
      {"cg\\system_onselect.png", 0, "select"},
      {"cg/SYSTEM_ONSELECT.PNG", 0, "select"},
      {"表示\\data.txt"_sj, 0, "hyouji"},
      {"表示/DATA.txt"_sj, 0, "hyouji"},
      {"dup\\a.txt", 0, "lower"},  // the exact name wins
      {"dup\\A.TXT", 0, "upper"},
      {"dup\\a.TXT", 0, "upper"},  // else the first in byte order
      {"cg\\missing.png", 1, ""},
      {"表\\data.txt"_sj, 1, ""},
  };
  for (const Case& c : cases) {
    CFileBuffer f;
    ASSERT_EQ(f.Read(c.name), c.result) << c.name;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(f.GetData()), f.GetSize()), c.content) << c.name;
  }
}

TEST_F(PathFunctions, WritingReplacesTheFileOfAnyCase) {
  ScopedTempDir folder;
  folder.Write("Save/Slot01.DAT", "old");
  CurrentDirScope scope(folder.path().string());
  CFileBuffer f;
  ASSERT_EQ(f.Write("save\\slot01.dat", "new", 3), 0);
  ASSERT_EQ(f.Write("SAVE\\other.dat", "x", 1), 0);
  EXPECT_EQ(folder.List(), std::vector<std::string>{"Save"});
  EXPECT_EQ(folder.List("Save"), (std::vector<std::string>{"Slot01.DAT", "other.dat"}));
  EXPECT_EQ(folder.Read("Save/Slot01.DAT"), "new");
}

TEST_F(PathFunctions, AFileMadeAfterAFailedLookupIsFound) {
  ScopedTempDir folder;
  folder.Write("Data/a.txt", "a");
  CurrentDirScope scope(folder.path().string());
  CFileBuffer f;
  ASSERT_EQ(f.Read("data\\late.txt"), 1);
  folder.Write("Data/LATE.txt", "late");
  ASSERT_EQ(f.Read("data\\late.txt"), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f.GetData()), f.GetSize()), "late");
}

}  // namespace
