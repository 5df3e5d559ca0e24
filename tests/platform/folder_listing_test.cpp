#include "platform/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "scoped_temp_dir.h"

namespace {

using platform::FolderEntry;
using Kind = FolderEntry::Kind;

TEST(ListFolder, ByteOrderKindsThroughLinksAndNoBlockingOnFifos) {
  ScopedTempDir dir;
  dir.Write("b.txt", "x");
  dir.Write("B.txt", "x");
  dir.Write("\xE6\xBC\xA2.txt", "x");  // a kanji name sorts after ASCII by its bytes
  std::filesystem::create_directories(dir.path() / "sub");
  std::filesystem::create_symlink("sub", dir.path() / "to_sub");
  std::filesystem::create_symlink("b.txt", dir.path() / "to_b");
  std::filesystem::create_symlink("missing", dir.path() / "broken");
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0644), 0);

  std::vector<FolderEntry> entries;
  ASSERT_TRUE(platform::ListFolder(dir.path().string(), entries));
  std::vector<std::pair<std::string, Kind>> got;
  for (const FolderEntry& e : entries) got.emplace_back(e.name, e.kind);
  const std::vector<std::pair<std::string, Kind>> expected = {
      {"B.txt", Kind::kFile},   {"b.txt", Kind::kFile},     {"broken", Kind::kOther},
      {"pipe", Kind::kOther},   {"sub", Kind::kFolder},     {"to_b", Kind::kFile},
      {"to_sub", Kind::kFolder}, {"\xE6\xBC\xA2.txt", Kind::kFile},
  };
  EXPECT_EQ(got, expected);
}

TEST(ListFolder, MissingFolderFails) {
  ScopedTempDir dir;
  std::vector<FolderEntry> entries{FolderEntry{}};
  EXPECT_FALSE(platform::ListFolder((dir.path() / "none").string(), entries));
  EXPECT_TRUE(entries.empty());
}

TEST(FolderIdentity, LinkAndTargetAreTheSameFolder) {
  ScopedTempDir dir;
  std::filesystem::create_directories(dir.path() / "sub");
  std::filesystem::create_symlink("sub", dir.path() / "link");
  dir.Write("file", "x");
  uint64_t d1 = 0, i1 = 0, d2 = 0, i2 = 0;
  ASSERT_TRUE(platform::FolderIdentity((dir.path() / "sub").string(), d1, i1));
  ASSERT_TRUE(platform::FolderIdentity((dir.path() / "link").string(), d2, i2));
  EXPECT_EQ(d1, d2);
  EXPECT_EQ(i1, i2);
  EXPECT_FALSE(platform::FolderIdentity(dir.File("file"), d1, i1));
}

}  // namespace
