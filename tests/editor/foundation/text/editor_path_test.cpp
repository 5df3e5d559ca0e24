#include "editor/foundation/text/editor_path.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "test_util.h"

namespace {

class EditorPath : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::ExactPathFromHost(folder.File(""), base));
    folder.Write("file", "x");
    folder.Write("A.txt", "x");
    folder.Write("back\\slash", "x");
    folder.Write(U8(u8"表示/中.txt"), "x");
  }
  ScopedTempDir folder;
  std::string base;  // ends with "/"
};

TEST_F(EditorPath, ExistingPathsAreFoundExactly) {
  std::string out;
  NormalizeExistingPath(out, (base + "file arg").c_str());
  EXPECT_EQ(out, base + "file");
  NormalizeExistingPath(out, ("\"" + base + "file\" -x").c_str());
  EXPECT_EQ(out, base + "file");
  NormalizeExistingPath(out, (base + "back\\slash").c_str());
  EXPECT_EQ(out, base + "back\\slash");  // "\" is a byte of the name
  EXPECT_TRUE(IsExistingFile((base + "A.txt").c_str(), true));
  EXPECT_FALSE(IsExistingFile((base + "a.txt").c_str(), true));
  EXPECT_FALSE(IsExistingFile(base.c_str(), true));
  EXPECT_TRUE(IsExistingFile(base.c_str(), false));
  const std::string kanji = base + "表示/中.txt"_sj;
  EXPECT_TRUE(IsExistingFile(kanji.c_str(), true));
  int64_t written = 0;
  EXPECT_TRUE(GetFileWriteTime(kanji.c_str(), &written));
  EXPECT_GT(written, 0);
  EXPECT_FALSE(GetFileWriteTime((base + "missing").c_str(), &written));
  EXPECT_TRUE(IsFixedDrivePath(base.c_str()));

  std::string drive = "x", dir, name, ext;
  SplitPath(kanji.c_str(), &drive, &dir, &name, &ext);
  EXPECT_EQ(drive, "");
  EXPECT_EQ(dir, base + "表示/"_sj);
  EXPECT_EQ(name, "中"_sj);
  EXPECT_EQ(ext, ".txt");
  SplitPath((base + "表示"_sj).c_str(), nullptr, &dir, &name, &ext);
  EXPECT_EQ(dir, base + "表示/"_sj);
  EXPECT_EQ(name, "");
}

TEST_F(EditorPath, LongPathsAreRefusedNotCut) {
  // A 300-byte path whose first 259 bytes name another, existing file.
  const std::string dir(200, 'd');
  const std::string longName = dir + "/" + std::string(300 - base.size() - dir.size() - 1, 'n');
  const std::string cut = (base + longName).substr(0, kMaxPath - 1);
  folder.Write(cut.substr(base.size()), "other");
  folder.Write(longName, "long");
  ASSERT_TRUE(folder.Exists(cut.substr(base.size())));
  ASSERT_TRUE(folder.Exists(longName));
  std::string out;
  NormalizeExistingPath(out, (base + longName).c_str());
  EXPECT_NE(out, cut);
  EXPECT_NE(out, base + longName);
  EXPECT_FALSE(IsExistingFile((base + longName).c_str(), true));
  EXPECT_FALSE(GetLongPath((base + longName).c_str(), out));
}

TEST(EditorPathText, SplittingAndDepth) {
  std::string dir, file;
  SplitFolderAndFile("/a/b/c.txt", &dir, &file);
  EXPECT_EQ(dir, "/a/b");
  EXPECT_EQ(file, "c.txt");
  SplitFolderAndFile("/c.txt", &dir, &file);
  EXPECT_EQ(dir, "/");
  SplitFolderAndFile("c.txt", &dir, nullptr);
  EXPECT_EQ(dir, "");

  std::string path = "/a/";
  RemoveTrailingBackslash(path);
  EXPECT_EQ(path, "/a");
  path = "/";
  RemoveTrailingBackslash(path);
  EXPECT_EQ(path, "/");
  path = "/a\\";
  RemoveTrailingBackslash(path);
  EXPECT_EQ(path, "/a\\");
  path = std::string("/") + "表"_sj;  // trail byte 0x5C
  AddTrailingBackslash(path);
  EXPECT_EQ(path, std::string("/") + "表"_sj + "/");
  AddTrailingBackslash(path);
  EXPECT_EQ(path, std::string("/") + "表"_sj + "/");

  char buffer[4] = "ab";
  EXPECT_EQ(AppendCharIfMissing(buffer, sizeof buffer, 'c'), 1);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(AppendCharIfMissing(buffer, sizeof buffer, 'c'), 0);
  EXPECT_EQ(AppendCharIfMissing(buffer, sizeof buffer, 'd'), -1);
  char kanji[8] = "\x95\x5C";
  EXPECT_EQ(AppendCharIfMissing(kanji, sizeof kanji, '\\'), 1);  // the trail byte is no backslash
  EXPECT_STREQ(kanji, "\x95\x5C\\");

  struct Depth {
    const char* path;
    int depth;
  };
  const Depth depths[] = {
      {"/a/b/file", 2},     // two folders on an absolute path
      {"a/b/file", 2},      // relative: two folders and a file
      {"/a/./b/file", 2},   // a "." level is not counted
      {"/a/../b/file", 3},  // a ".." level is
      {"/a/././b/file", 2}, {"/file", 0},
  };
  for (const Depth& d : depths) EXPECT_EQ(GetPathDepth(d.path), d.depth) << d.path;

  std::string full;
  ASSERT_TRUE(GetLongPath("/a/./b/../c", full));
  EXPECT_EQ(full, "/a/c");
  ASSERT_TRUE(GetLongPath("/..", full));
  EXPECT_EQ(full, "/");
  ASSERT_TRUE(GetLongPath("rel", full));
  EXPECT_EQ(full.front(), '/');
  EXPECT_EQ(full.substr(full.size() - 4), "/rel");
}

TEST_F(EditorPath, RelativeNamesFollowTheEditorsFolderNotTheProcesses) {
  const std::filesystem::path processFolder = std::filesystem::current_path();
  const std::string before = EditorCurrentFolder();
  SetEditorCurrentFolder(base);
  std::string full;
  ASSERT_TRUE(GetLongPath("file", full));
  EXPECT_EQ(full, base + "file");
  SetEditorCurrentFolder("relative/folder");  // refused: the folder stays absolute
  EXPECT_EQ(EditorCurrentFolder(), base);
  EXPECT_EQ(std::filesystem::current_path(), processFolder);
  SetEditorCurrentFolder(before);
}

TEST_F(EditorPath, FilePathInALine) {
  int start = -1, length = -1;
  const std::string line = "  \"" + base + "file\" (12): error";
  ASSERT_TRUE(FindFilePathInLine(line.c_str(), &start, &length, true));
  EXPECT_EQ(line.substr(start, length), base + "file");
  const std::string include = "#include <" + base + "A.txt>";
  ASSERT_TRUE(FindFilePathInLine(include.c_str(), &start, &length, true));
  EXPECT_EQ(include.substr(start, length), base + "A.txt");
  EXPECT_FALSE(FindFilePathInLine((base + "missing").c_str(), &start, &length, true));
  EXPECT_FALSE(FindFilePathInLine("   ", &start, &length, true));
  EXPECT_FALSE(FindFilePathInLine((base + "a*b").c_str(), &start, &length, true));
}

}  // namespace
