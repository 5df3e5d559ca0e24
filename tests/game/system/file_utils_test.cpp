#include "game/system/file_utils.h"

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
#include "tests/game/fixtures/time_zone_scope.h"

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

// The slot items and the save screen show this time: in local time, also for a read-only save.
TEST_F(FileUtilsTest, FileLocalWriteTimeIsTheLastWriteInLocalTime) {
  TimeZoneScope zone("JST-9");
  struct Case {
    const char* name;
    struct timespec written;
    bool readOnly;
    int year, month, day, hour, minute, second;
  } const cases[] = {
      {"an ordinary save", {1700000000, 0}, false, 2023, 11, 15, 7, 13, 20},
      {"a read-only save", {1700000000, 999999999}, true, 2023, 11, 15, 7, 13, 20},
      {"the last second of a day in the zone", {1699973999, 0}, false, 2023, 11, 14, 23, 59, 59},
      {"half a second before 1970", {-1, 500000000}, false, 1970, 1, 1, 8, 59, 59},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir.path() / "data000.sav";
    fs::remove(file);
    std::ofstream(file) << "save";
    const struct timespec times[2] = {{1000, 0}, c.written};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    if (c.readOnly) fs::permissions(file, fs::perms::owner_read);
    std::tm t{};
    ASSERT_TRUE(FileLocalWriteTime("data000.sav", &t));
    EXPECT_EQ(t.tm_year + 1900, c.year);
    EXPECT_EQ(t.tm_mon + 1, c.month);
    EXPECT_EQ(t.tm_mday, c.day);
    EXPECT_EQ(t.tm_hour, c.hour);
    EXPECT_EQ(t.tm_min, c.minute);
    EXPECT_EQ(t.tm_sec, c.second);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1000) << "looking leaves the times alone";
    fs::permissions(file, fs::perms::owner_all);
  }
  std::tm t{};
  EXPECT_FALSE(FileLocalWriteTime("missing.sav", &t));
  fs::create_directory(dir.path() / "folder.sav");
  EXPECT_FALSE(FileLocalWriteTime("folder.sav", &t));
}

}  // namespace
