#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>

#include "scoped_temp_dir.h"

namespace {

using platform::PathMode;

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

// The copy has the bytes, the mode bits and the modification time of its source, and replaces
// what was at the target; nothing else is left in the folder.
TEST(FileOps, CopyKeepsBytesModeAndTime) {
  ScopedTempDir dir;
  dir.Write("src.txt", "new contents");
  dir.Write("dst.txt", "old");
  ASSERT_EQ(::chmod(dir.File("src.txt").c_str(), 0640), 0);
  const timespec times[2] = {{1000, 5}, {1136073600, 123456789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("src.txt").c_str(), times, 0), 0);

  ASSERT_TRUE(platform::CopyFileAtomically(dir.File("src.txt"), dir.File("dst.txt"), PathMode::kExact));
  EXPECT_EQ(dir.Read("dst.txt"), "new contents");
  const struct stat st = StatOf(dir.File("dst.txt"));
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1136073600);
  EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"dst.txt", "src.txt"}));
}

// In the editor's exact form "\" is a byte of a name, not a level.
TEST(FileOps, ExactNamesKeepTheirBackslash) {
  ScopedTempDir dir;
  dir.Write("a.txt", "x");
  ASSERT_TRUE(platform::MakeFolder(dir.File("b\\c"), PathMode::kExact));
  ASSERT_TRUE(platform::CopyFileAtomically(dir.File("a.txt"), dir.File("b\\c") + "/d\\e.txt", PathMode::kExact));
  EXPECT_EQ(dir.Read("b\\c/d\\e.txt"), "x");
  ASSERT_TRUE(platform::RenameFile(dir.File("b\\c") + "/d\\e.txt", dir.File("f\\g"), PathMode::kExact));
  EXPECT_EQ(dir.Read("f\\g"), "x");
  EXPECT_TRUE(platform::RemoveFile(dir.File("f\\g"), PathMode::kExact));
  EXPECT_FALSE(dir.Exists("f\\g"));
  EXPECT_FALSE(platform::MakeFolder(dir.File("b\\c"), PathMode::kExact)) << "an existing folder";
}

// Refusals change nothing and leave no temporary file behind.
TEST(FileOps, RefusedCopiesAndRenamesChangeNothing) {
  ScopedTempDir dir;
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  dir.Write("folder/inside.txt", "i");
  EXPECT_FALSE(platform::CopyFileAtomically(dir.File("missing"), dir.File("b.txt"), PathMode::kExact));
  EXPECT_FALSE(platform::CopyFileAtomically(dir.File("a.txt"), dir.File("folder"), PathMode::kExact));
  EXPECT_FALSE(platform::CopyFileAtomically(dir.File("a.txt"), dir.File("no/such/folder.txt"), PathMode::kExact));
  EXPECT_FALSE(platform::CopyFileAtomically(dir.File("a.txt"), "\x81", PathMode::kExact)) << "half a character";
  EXPECT_FALSE(platform::RenameFile(dir.File("a.txt"), dir.File("b.txt"), PathMode::kExact)) << "never replaces";
  EXPECT_EQ(dir.Read("a.txt"), "a");
  EXPECT_EQ(dir.Read("b.txt"), "b");
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.txt", "b.txt", "folder"}));
  EXPECT_EQ(dir.List("folder"), (std::vector<std::string>{"inside.txt"}));
}

}  // namespace
