#include "game/file_utils.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/path_functions.h"

namespace {

namespace fs = std::filesystem;

// Runs with the temporary folder as the current directory, as the game runs in its folder.
class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::current_path(dir.path());
    RecordCurrentDir();
  }
  void TearDown() override {
    fs::current_path(saved);
    RecordCurrentDir();
  }
  fs::path Host(std::string_view sjis) { return dir.path() / platform::SjisToUtf8(sjis); }
  fs::path saved = fs::current_path();
  ScopedTempDir dir;
};

TEST_F(FileUtilsTest, CreateDirectories) {
  struct Case {
    const char* name;
    std::string path;
    std::string made;  // below the folder, "/" between levels
  } const cases[] = {
      {"one folder", "savedata", "savedata"},
      {"nested", "a\\b\\c", "a/b/c"},
      {"a trailing separator", "t\\u\\", "t/u"},
      {"a folder named with trail byte 5C", std::string("表\\x"_sj), std::string("表/x"_sj)},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(CreateDirectories(c.path)) << c.name;
    EXPECT_TRUE(fs::is_directory(Host(c.made))) << c.name;
  }
  // A path from the root: the leading separator is not a folder to make.
  std::string rooted;
  ASSERT_TRUE(platform::ProgramPathFromHost(dir.path().string(), rooted));
  rooted[0] = '\\';
  EXPECT_TRUE(CreateDirectories(rooted + "\\lead\\sub"));
  EXPECT_TRUE(fs::is_directory(dir.path() / "lead" / "sub"));
  EXPECT_TRUE(CreateDirectories("savedata")) << "an existing folder is no error";
}

TEST_F(FileUtilsTest, FileExists) {
  std::ofstream(dir.path() / "Data.sav") << "x";
  fs::create_directory(dir.path() / "folder");
  EXPECT_TRUE(FileExists("Data.sav"));
  EXPECT_TRUE(FileExists("DATA.SAV")) << "letter case aside";
  EXPECT_TRUE(FileExists("folder"));
  EXPECT_FALSE(FileExists("missing.sav"));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(FileUtilsTest, OpenFileKeepTimesRestoresTheTimesOfAReadOnlyFile) {
  const fs::path file = dir.path() / "slot.sav";
  std::ofstream(file) << "save data";
  const struct timespec old[2] = {{1000000, 5}, {2000000, 7}};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  std::unique_ptr<FileTimeRecord> record = OpenFileKeepTimes("slot.sav");
  ASSERT_NE(record, nullptr) << "a read-only save opens";
  EXPECT_EQ(record->size, 9u);
  EXPECT_EQ(record->writeNs, 2000000LL * 1000000000 + 7);
  char byte;
  std::ifstream(file).read(&byte, 1);  // as reading the save would touch it
  CloseFileRestoreTimes(std::move(record));

  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_atim.tv_sec, 1000000);
  EXPECT_EQ(st.st_atim.tv_nsec, 5);
  EXPECT_EQ(st.st_mtim.tv_sec, 2000000);
  EXPECT_EQ(st.st_mtim.tv_nsec, 7);

  EXPECT_EQ(OpenFileKeepTimes("missing.sav"), nullptr);
  fs::create_directory(dir.path() / "folder.sav");
  EXPECT_EQ(OpenFileKeepTimes("folder.sav"), nullptr);
}

}  // namespace
