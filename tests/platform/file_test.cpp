#include "platform/file.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "read_only_folder.h"
#include "scoped_temp_dir.h"
#include "test_util.h"

namespace {

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

// The program path of a file below a temporary folder.
std::string Program(const ScopedTempDir& folder, std::string_view relativeUtf8) {
  std::string program;
  EXPECT_TRUE(platform::ProgramPathFromHost(folder.File(relativeUtf8), program));
  return program;
}

TEST(Path, HostAndProgramSpellings) {
  struct Case {
    const char* program;
    const char8_t* host;
  };
  const Case cases[] = {
      {"/g\\表\\a.png"_sj, u8"/g/表/a.png"},  // the trail byte of 表 is 0x5C
      {"cg\\ソフト\\b"_sj, u8"cg/ソフト/b"},
      {"/", u8"/"},
      {"a", u8"a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::HostPath(c.program), U8(c.host));
    std::string program;
    ASSERT_TRUE(platform::ProgramPathFromHost(U8(c.host), program));
    EXPECT_EQ(program, c.program);
  }
  EXPECT_EQ(platform::HostPath("a/b\\c"), "a/b/c");
  std::string program = "unchanged";
  EXPECT_FALSE(platform::ProgramPathFromHost(U8(u8"/g/\U0001F600"), program));
  EXPECT_EQ(program, "unchanged");
}

TEST(Path, MissingLevelsAreMatchedWithoutAsciiCase) {
  ScopedTempDir folder;
  folder.Write(U8(u8"Voice/表示/Ab01.OGG"), "v");
  struct Case {
    const char* relative;  // program form below the folder
    const char8_t* resolved;
  };
  const Case cases[] = {
      {"voice\\表示\\ab01.ogg"_sj, u8"Voice/表示/Ab01.OGG"}, {"VOICE/表示/AB01.ogg"_sj, u8"Voice/表示/Ab01.OGG"},
      {"voice\\表示\\new.ogg"_sj, u8"Voice/表示/new.ogg"},  // a new file goes beside the others
      {"voice\\none\\x.ogg", u8"Voice/none/x.ogg"},         // unmatched levels are kept
      {"Voice\\表示\\Ab01.OGG"_sj, u8"Voice/表示/Ab01.OGG"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ResolveHostPath(Program(folder, "") + c.relative), folder.File(U8(c.resolved))) << c.relative;
  }
}

TEST(File, ReadsExactRanges) {
  ScopedTempDir folder;
  folder.Write("f.bin", "0123456789");
  platform::ReadOnlyFile file;
  EXPECT_FALSE(file.Open(Program(folder, "missing")));
  EXPECT_FALSE(file.Open(Program(folder, "")));  // a folder
  ASSERT_TRUE(file.Open(Program(folder, "F.BIN")));
  platform::FileStamp stamp;
  ASSERT_TRUE(file.Stamp(stamp));
  EXPECT_EQ(stamp.size, 10u);
  unsigned char out[4];
  ASSERT_TRUE(file.ReadAt(6, out));
  EXPECT_EQ(std::string(out, out + 4), "6789");
  EXPECT_FALSE(file.ReadAt(7, out));  // the file ends first
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file.ReadAt(0, out));
}

TEST(File, ReadsWhatThereIsUpToTheEnd) {
  ScopedTempDir folder;
  folder.Write("f.bin", "0123456789");
  platform::ReadOnlyFile file;
  unsigned char out[4];
  EXPECT_EQ(file.ReadSome(0, out), -1);  // not open
  ASSERT_TRUE(file.Open(folder.File("f.bin"), platform::PathMode::kExact));
  file.AdviseSequential();
  EXPECT_EQ(file.ReadSome(0, out), 4);
  EXPECT_EQ(std::string(out, out + 4), "0123");
  EXPECT_EQ(file.ReadSome(8, out), 2);
  EXPECT_EQ(std::string(out, out + 2), "89");
  EXPECT_EQ(file.ReadSome(10, out), 0);
  EXPECT_EQ(file.ReadSome(100, out), 0);
}

// The mode bits answer even for root, which the system lets through anyway.
TEST(File, AccessGoesByTheModeBits) {
  ScopedTempDir folder;
  struct Case {
    const char* name;
    mode_t mode;
    bool read;
    bool write;
  };
  const Case cases[] = {
      {"rw", 0644, true, true}, {"ro", 0444, true, false}, {"wo", 0200, false, true}, {"none", 0, false, false},
      {"group read only", 0040, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder.Write(c.name, "x");
    ASSERT_EQ(::chmod(folder.File(c.name).c_str(), c.mode), 0);
    const std::string path = folder.File(c.name);  // ASCII: the exact path is the host's
    EXPECT_TRUE(platform::PathAllows(path, platform::PathMode::kExact, platform::Access::kExists));
    if (::geteuid() == 0 || c.mode == 0644 || c.mode == 0444 || c.mode == 0200 || c.mode == 0) {
      EXPECT_EQ(platform::PathAllows(path, platform::PathMode::kExact, platform::Access::kRead), c.read);
      EXPECT_EQ(platform::PathAllows(path, platform::PathMode::kExact, platform::Access::kWrite), c.write);
    }
  }
  const std::string missing = folder.File("missing");
  for (auto access : {platform::Access::kExists, platform::Access::kRead, platform::Access::kWrite}) {
    EXPECT_FALSE(platform::PathAllows(missing, platform::PathMode::kExact, access));
  }
}

// A folder may be searched when it may be listed and entered; a file never.
TEST(File, SearchNeedsAFolderWithReadAndExecuteBits) {
  ScopedTempDir folder;
  folder.Write("plain", "x");
  struct Case {
    const char* name;
    mode_t mode;
    bool search;
  };
  const Case cases[] = {
      {"open", 0755, true}, {"no execute", 0644, false}, {"no read", 0311, false}, {"none", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.File(c.name);
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    EXPECT_EQ(platform::PathAllows(path, platform::PathMode::kExact, platform::Access::kSearch), c.search);
    ::chmod(path.c_str(), 0755);
  }
  EXPECT_FALSE(platform::PathAllows(folder.File("plain"), platform::PathMode::kExact, platform::Access::kSearch));
  EXPECT_FALSE(platform::PathAllows(folder.File("missing"), platform::PathMode::kExact, platform::Access::kSearch));
}

TEST(File, AtomicWritesReplaceInOneStep) {
  ScopedTempDir folder;
  folder.Write("keep.txt", "old");
  ::chmod(folder.File("keep.txt").c_str(), 0640);
  {
    platform::AtomicFileWriter writer(Program(folder, "keep.txt"));
    ASSERT_TRUE(writer.IsOpen());
    writer.Write(std::string_view("new "));
    EXPECT_EQ(folder.Read("keep.txt"), "old");  // nothing changes before the commit
    writer.Write(std::string_view("text"));
    ASSERT_EQ(writer.Commit(), platform::WriteStatus::kOk);
  }
  EXPECT_EQ(folder.Read("keep.txt"), "new text");
  struct stat st;
  ASSERT_EQ(::stat(folder.File("keep.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  {
    platform::AtomicFileWriter abandoned(Program(folder, "keep.txt"));
    abandoned.Write(std::string_view("lost"));
  }
  EXPECT_EQ(folder.Read("keep.txt"), "new text");
  EXPECT_EQ(folder.List(), std::vector<std::string>{"keep.txt"});  // no temporary file left
  // Through a link the file it points at is replaced and the link stays.
  std::filesystem::create_symlink(folder.File("keep.txt"), folder.File("link.txt"));
  ASSERT_EQ(platform::WriteFileAtomically(Program(folder, "link.txt"), Bytes("via link")), platform::WriteStatus::kOk);
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.txt")));
  EXPECT_EQ(folder.Read("keep.txt"), "via link");
}

TEST(File, WritingIntoAReadOnlyFolderKeepsTheOldFile) {
  ScopedTempDir folder;
  folder.Write("ro/data.bin", "precious");
  {
    ReadOnlyFolderScope readOnly(folder.path().string(), folder.File("ro"));
    if (!readOnly.effective()) GTEST_SKIP() << "this process can write into read-only folders";
    EXPECT_EQ(platform::WriteFileAtomically(Program(folder, "ro/data.bin"), Bytes("garbage")),
              platform::WriteStatus::kCannotCreate);
    EXPECT_FALSE(platform::RemoveFile(Program(folder, "ro/data.bin")));
  }
  EXPECT_EQ(folder.Read("ro/data.bin"), "precious");
  EXPECT_EQ(folder.List("ro"), std::vector<std::string>{"data.bin"});
}

// A file that grants nobody write permission was marked read-only on purpose; a missing folder
// is no place to write. Either way the old state stays and no temporary file is left.
TEST(File, AtomicWritesLeaveReadOnlyFilesAndMissingFoldersAlone) {
  ScopedTempDir folder;
  folder.Write("ro.txt", "old");
  ::chmod(folder.File("ro.txt").c_str(), 0444);
  EXPECT_EQ(platform::WriteFileAtomically(Program(folder, "ro.txt"), Bytes("new")),
            platform::WriteStatus::kCannotCreate);
  EXPECT_EQ(folder.Read("ro.txt"), "old");
  EXPECT_EQ(platform::WriteFileAtomically(Program(folder, "no/such/file"), Bytes("x")),
            platform::WriteStatus::kCannotCreate);
  EXPECT_EQ(folder.List(), std::vector<std::string>{"ro.txt"});
}

TEST(File, UniqueFilesAreNewAndNamedWithTheirPrefix) {
  ScopedTempDir folder;
  std::string a, b;
  ASSERT_TRUE(platform::CreateUniqueFile(Program(folder, ""), "QIB", a));
  ASSERT_TRUE(platform::CreateUniqueFile(Program(folder, ""), "QIB", b));
  EXPECT_NE(a, b);
  EXPECT_EQ(folder.List().size(), 2u);
  for (const std::string& name : folder.List()) {
    EXPECT_TRUE(name.starts_with("QIB") && name.ends_with(".tmp")) << name;
  }
  std::string none;
  EXPECT_FALSE(platform::CreateUniqueFile(Program(folder, "missing"), "QIB", none));
}

}  // namespace

namespace {

TEST(ExactPath, SpellsEveryByteOrRefuses) {
  struct Case {
    const char* name;
    std::string_view path;
    bool ok;
    const char8_t* host;
  };
  const Case cases[] = {
      {"plain", "/a/b.txt", true, u8"/a/b.txt"},
      {"backslash stays a byte", "/a\\b", true, u8"/a\\b"},
      {"trail byte 5C", "/\x95\x5C/x", true, u8"/表/x"},
      {"half-width kana", "/\xB1", true, u8"/ｱ"},
      {"undecodable 0x80", "/a\x80", false, u8""},
      {"lead byte last", "/a\x82", false, u8""},
      {"unmapped pair", "/\x85\x40", false, u8""},
      {"NUL inside", std::string_view("/a\0b", 4), false, u8""},
      {"empty", "", false, u8""},
  };
  for (const Case& c : cases) {
    std::string host = "unchanged";
    EXPECT_EQ(platform::ExactHostPath(c.path, host), c.ok) << c.name;
    EXPECT_EQ(host, c.ok ? U8(c.host) : "unchanged") << c.name;
  }
  std::string path;
  EXPECT_TRUE(platform::ExactPathFromHost(U8(u8"/g/表\\x"), path));
  EXPECT_EQ(path, "/g/\x95\x5C\\x");
  // Names that Shift-JIS spells but that would come back as other names are refused.
  EXPECT_FALSE(platform::ExactPathFromHost(U8(u8"/g/\u00A5"), path));
  EXPECT_FALSE(platform::ExactPathFromHost(U8(u8"/g/\u301C"), path));
  EXPECT_FALSE(platform::ExactPathFromHost(U8(u8"/g/\U0001F600"), path));
  // The game's spelling refuses them as before.
  EXPECT_FALSE(platform::ProgramPathFromHost(U8(u8"/g/\u00A5"), path));
  EXPECT_FALSE(platform::ProgramPathFromHost(U8(u8"/g/\u301C"), path));
}

TEST(ExactPath, OpensOnlyTheNamedFile) {
  ScopedTempDir folder;
  folder.Write("A.txt", "upper");
  folder.Write("a\\b", "backslash");
  std::string base;
  ASSERT_TRUE(platform::ExactPathFromHost(folder.File(""), base));
  platform::ReadOnlyFile file;
  EXPECT_FALSE(file.Open(base + "a.txt", platform::PathMode::kExact));
  EXPECT_TRUE(file.Open(base + "a.txt"));  // the game's lookup still finds it
  ASSERT_TRUE(file.Open(base + "a\\b", platform::PathMode::kExact));
  platform::FileStamp stamp;
  ASSERT_TRUE(file.Stamp(stamp));
  EXPECT_EQ(stamp.size, 9u);
  EXPECT_FALSE(file.Open(base, platform::PathMode::kExact));  // a folder

  platform::PathStatus status;
  EXPECT_TRUE(platform::StatPath(base, platform::PathMode::kExact, status));
  EXPECT_TRUE(status.folder);
  EXPECT_TRUE(platform::StatPath(base + "A.txt", platform::PathMode::kExact, status));
  EXPECT_FALSE(status.folder);
  EXPECT_EQ(status.stamp.size, 5u);
  EXPECT_FALSE(platform::StatPath(base + "a.txt", platform::PathMode::kExact, status));
  EXPECT_FALSE(platform::StatPath(base + "x\x80", platform::PathMode::kExact, status));

  // A new file is written under its exact name, beside the differently cased one.
  {
    platform::AtomicFileWriter writer(base + "a.txt", platform::PathMode::kExact);
    ASSERT_TRUE(writer.IsOpen());
    writer.Write(std::string_view("lower"));
    ASSERT_EQ(writer.Commit(), platform::WriteStatus::kOk);
  }
  EXPECT_EQ(folder.Read("A.txt"), "upper");
  EXPECT_EQ(folder.Read("a.txt"), "lower");
  platform::AtomicFileWriter refused(base + "bad\x80", platform::PathMode::kExact);
  EXPECT_FALSE(refused.IsOpen());
  EXPECT_EQ(refused.Commit(), platform::WriteStatus::kCannotCreate);
}

TEST(ExactPath, ExecutableAndCurrentDirectory) {
  std::string exe;
  ASSERT_TRUE(platform::ExactModuleFileName(exe));
  EXPECT_EQ(exe.front(), '/');
  EXPECT_EQ(exe.find('\\'), std::string::npos);
  std::string cwd;
  ASSERT_TRUE(platform::ExactCurrentDirectory(cwd));
  EXPECT_EQ(cwd.back(), '/');
}

}  // namespace

#include "platform/dynlib.h"

namespace {

TEST(ExactPath, LoadsLibrariesByTheirExactName) {
  const std::string libm = "/lib/x86_64-linux-gnu/libm.so.6";
  if (!std::filesystem::exists(libm)) GTEST_SKIP() << "no " << libm;
  EXPECT_NE(platform::DynLib::Open(libm, platform::PathMode::kExact), nullptr);
  EXPECT_EQ(platform::DynLib::Open("/lib/x86_64-linux-gnu/LIBM.so.6", platform::PathMode::kExact), nullptr);
  EXPECT_EQ(platform::DynLib::Open("/lib/x86_64-linux-gnu\\libm.so.6", platform::PathMode::kExact), nullptr);
  EXPECT_EQ(platform::DynLib::Open("libm.so.6", platform::PathMode::kExact), nullptr);  // not from the system path
  EXPECT_EQ(platform::DynLib::Open("/lib/\x80", platform::PathMode::kExact), nullptr);
}

TEST(InstalledLibrary, FoundByTheDynamicLinkerByItsFileNameOnly) {
  EXPECT_NE(platform::DynLib::OpenInstalled("libm.so.6"), nullptr);
  EXPECT_EQ(platform::DynLib::OpenInstalled("libno_such_library_here.so.1"), nullptr);
  EXPECT_EQ(platform::DynLib::OpenInstalled("/lib/x86_64-linux-gnu/libm.so.6"), nullptr);  // a path is not a name
  EXPECT_EQ(platform::DynLib::OpenInstalled(std::string_view("libm.so.6\0x", 11)), nullptr);
  EXPECT_EQ(platform::DynLib::OpenInstalled(""), nullptr);
}

}  // namespace
