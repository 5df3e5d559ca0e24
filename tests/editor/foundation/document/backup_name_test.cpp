#include "editor/foundation/document/backup_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <fcntl.h>
#include <string>

#include "editor/foundation/document/local_time_pin.h"
#include "editor/foundation/settings/shared_settings.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

struct Options {
  int mode = 1;
  int dateParts = 0;
  int generations = 0x0062000A;  // letter 'b', keep 10
  const char* folder = nullptr;  // the backup folder, when set
  const char* format = nullptr;  // the free format, when set
  int timeSource = 2;            // 4: the free format uses the file's last-write time
};

std::unique_ptr<CommonSettings> Settings(const Options& o) {
  auto c = std::make_unique<CommonSettings>();
  std::memset(static_cast<void*>(c.get()), 0, sizeof(CommonSettings));
  c->nBackUpType = o.mode;
  c->bBackUpType2_Opt1 = o.dateParts;
  c->bBackUpType2_Opt2 = o.generations;
  c->bBackUpType2_Opt4 = o.timeSource;
  if (o.folder) {
    c->bBackUpFolder = 1;
    std::strcpy(c->szBackUpFolder, o.folder);
  }
  if (o.format) {
    c->bBackUpPathAdvanced = 1;
    std::strcpy(c->szBackUpPathAdvanced, o.format);
  }
  return c;
}

// The name, or "(none)" when none can be made (the output is then empty).
std::string Build(const Options& o, const std::string& path) {
  char out[kMaxPath];
  std::memset(out, 'x', sizeof out);
  if (!BuildBackupPath(*Settings(o), path.c_str(), out)) return out[0] == '\0' ? "(none)" : "(not emptied)";
  return out;
}

// Every name made from the current time sees 1 January 2006, 12:34:56 (and July 2006 where
// stated).
TEST(BackupName, NamesByModeAndFreeFormat) {
  LocalTimePin time(2006, 1, 1, 12, 34, 56);
  struct Case {
    const char* name;
    Options options;
    const char* path;
    const char* expected;
  };
  const Case cases[] = {
      {"mode 1 drops the extension", {.mode = 1}, "/p/a.txt", "/p/a.bak"},
      {"mode 5 appends .bak", {.mode = 5}, "/p/a.txt", "/p/a.txt.bak"},
      {"mode 3 replaces the extension", {.mode = 3}, "/p/a.txt", "/p/a.b00"},
      {"mode 6 appends the generation", {.mode = 6}, "/p/a.txt", "/p/a.txt.b00"},
      {"mode 6 without an extension", {.mode = 6}, "/p/Makefile", "/p/Makefile.b00"},
      {"mode 2 with every date part", {.mode = 2, .dateParts = 0x3F}, "/p/a.txt", "/p/a_20060101123456.txt"},
      {"mode 2 with hour and second", {.mode = 2, .dateParts = 0x05}, "/p/a.txt", "/p/a_1256.txt"},
      {"the generation letter", {.mode = 3, .generations = 0x00780005}, "/p/a.txt", "/p/a.x00"},
      {"a letter 0 becomes b", {.mode = 3, .generations = 0x00000005}, "/p/a.txt", "/p/a.b00"},
      {"a letter / becomes b", {.mode = 6, .generations = 0x002F0005}, "/p/a.txt", "/p/a.txt.b00"},
      {"a letter above ASCII becomes b", {.mode = 6, .generations = 0x00830005}, "/p/a.txt", "/p/a.txt.b00"},
      {"the backup folder", {.mode = 1, .folder = "/bk/"}, "/p/a.txt", "/bk/a.bak"},
      {"a backup folder without its final /", {.mode = 5, .folder = "/bk"}, "/p/a.txt", "/bk/a.txt.bak"},
      {"the free format one level down",
       {.format = "$1/$0_%Y%m%d.*"},
       "/p/src/main.c",
       "/p/src/src/main_20060101.c"},
      {"the free format in the backup folder", {.folder = "/bk/", .format = "$2-$1-$0.*"}, "/p/src/main.c", "/bk/p-src-main.c"},
      {"? becomes _", {.format = "$0?old.*"}, "/p/main.c", "/p/main_old.c"},
      {"* without an extension is nothing", {.format = "$0.*~"}, "/p/Makefile", "/p/Makefile.~"},
      {"a level beyond the folders is nothing", {.format = "[$3]$0"}, "/p/src/main.c", "/p/src/[]main"},
      {"\\ is a byte of a name", {.format = "$1_$0"}, "/p/a\\b/c.txt", "/p/a\\b/a\\b_c"},
      {"$ before another character stays with it", {.format = "$x$$0"}, "/p/a.txt", "/p/$x$$0"},
      {"$ before a double-byte character copies it whole", {.format = "$表$0"_sj}, "/p/a.txt", "/p/$表a"_sj},
      {"names put in are not rewritten", {.format = "$0.*"}, "/p/a*b?.t", "/p/a*b?.t"},
      {"a name with a trail byte 0x5C", {.mode = 5}, "/p/表.txt"_sj, "/p/表.txt.bak"_sj},
      {"no naming mode", {.mode = 7}, "/p/a.txt", "(none)"},
      {"mode 0", {.mode = 0}, "/p/a.txt", "(none)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Build(c.options, c.path), c.expected) << c.name;

  LocalTimePin july(2006, 7, 14);
  EXPECT_EQ(Build({.mode = 2, .dateParts = 0x30}, "/p/a.txt"), "/p/a_200607.txt");
}

// Mode 4, and the free format with time source 4, take the file's last-write time (with the
// program's own date codes: %q is no code and stays q).
TEST(BackupName, FileTimeNames) {
  LocalTimePin time(2010, 10, 10);
  ScopedTempDir dir;
  dir.Write("a.txt", "x");
  const timespec times[2] = {{0, UTIME_OMIT}, {LocalTimePin::NsOf(2006, 3, 5, 7, 8, 9) / 1'000'000'000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("a.txt").c_str(), times, 0), 0);
  const std::string base = dir.path().string() + "/";
  EXPECT_EQ(Build({.mode = 4, .dateParts = 0x38}, dir.File("a.txt")), base + "a_20060305.txt");
  EXPECT_EQ(Build({.mode = 4, .dateParts = 0x07}, dir.File("a.txt")), base + "a_070809.txt");
  EXPECT_EQ(Build({.format = "$0_%Y%m%d%%q.*", .timeSource = 4}, dir.File("a.txt")), base + "a_20060305%q.txt");
  EXPECT_EQ(Build({.format = "$0_%Y%m%d.*", .timeSource = 2}, dir.File("a.txt")), base + "a_20101010.txt");
  // A file that is not there reads as time 0.
  EXPECT_EQ(Build({.mode = 4, .dateParts = 0x20}, dir.File("gone.txt")), base + "gone_1970.txt");
}

// A name over 259 bytes is refused, never cut: the cut name could be another file.
TEST(BackupName, LongNamesAreRefusedWhole) {
  LocalTimePin time(2006, 1, 1);
  const std::string folder = "/" + std::string(200, 'f') + "/";
  const std::string name255 = folder + std::string(255 - folder.size() - 4, 'n') + ".txt";
  ASSERT_EQ(name255.size(), 255u);
  EXPECT_EQ(Build({.mode = 1}, name255).size(), 255u);  // ".bak" for ".txt"
  EXPECT_EQ(Build({.mode = 5}, name255).size(), 259u);  // the longest there is
  const std::string name256 = folder + std::string(256 - folder.size() - 4, 'n') + ".txt";
  EXPECT_EQ(Build({.mode = 5}, name256), "(none)");
  EXPECT_EQ(Build({.format = "$0$0.*"}, name255), "(none)");
  // 300 bytes through the backup folder.
  const std::string longFolder = "/" + std::string(280, 'b') + "/";
  EXPECT_EQ(Build({.mode = 1, .folder = longFolder.c_str()}, "/p/a.txt"), "(none)");
  // A date expansion over 1023 bytes is refused too.
  std::string dates;
  for (int i = 0; i < 50; ++i) dates += "%c";
  EXPECT_EQ(Build({.format = dates.c_str()}, "/p/a.txt"), "(none)");
}

TEST(BackupName, GenerationsAndKeepCount) {
  struct Case {
    Options options;
    bool generations;
    int keep;
  };
  const Case cases[] = {
      {{.mode = 3, .generations = 0x00620005}, true, 5},
      {{.mode = 6, .generations = 0x00620063}, true, 99},
      {{.mode = 6, .generations = 0x00620064}, true, 99},  // 100 would overflow two digits
      {{.mode = 6, .generations = 0x0062FFFF}, true, 99},
      {{.mode = 6, .generations = 0x00620000}, true, 0},
      {{.mode = 3, .format = "$0.*"}, false, 10},  // the free format keeps none
      {{.mode = 1}, false, 10},
      {{.mode = 2}, false, 10},
  };
  for (const Case& c : cases) {
    const auto settings = Settings(c.options);
    EXPECT_EQ(BackupKeepsGenerations(*settings), c.generations) << c.options.mode;
    EXPECT_EQ(BackupKeepCount(*settings), c.keep) << std::hex << c.options.generations;
  }
}

}  // namespace
