#include "platform/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "scoped_temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(FileReplace, WritesNewAndReplacesOldKeepingItsPermissions) {
  ScopedTempDir dir;
  ASSERT_TRUE(platform::ReplaceFileContents(dir.File("a.txt"), "first"));
  EXPECT_EQ(dir.Read("a.txt"), "first");
  fs::permissions(dir.File("a.txt"), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(platform::ReplaceFileContents(dir.File("a.txt"), std::string("sec\0ond", 7)));
  EXPECT_EQ(dir.Read("a.txt"), std::string("sec\0ond", 7));
  EXPECT_EQ(fs::status(dir.File("a.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(dir.EntryCount(), 1u);  // no temporary file left
}

TEST(FileReplace, LeavesAReadOnlyFileAsItIs) {
  ScopedTempDir dir;
  dir.Write("ro.txt", "old");
  fs::permissions(dir.File("ro.txt"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(platform::ReplaceFileContents(dir.File("ro.txt"), "new"));
  EXPECT_EQ(dir.Read("ro.txt"), "old");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(FileReplace, FailsCleanlyWhenTheFolderIsMissing) {
  ScopedTempDir dir;
  EXPECT_FALSE(platform::ReplaceFileContents(dir.File("no/such/file"), "x"));
  EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(FileReplace, HostPathIsUtf8WithSlashes) {
  EXPECT_EQ(platform::HostPathOf("save\\\x95\x5C.txt"), "save/\xE8\xA1\xA8.txt");  // the 0x5C trail stays
}

}  // namespace
