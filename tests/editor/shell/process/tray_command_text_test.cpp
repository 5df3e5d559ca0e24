#include "editor/shell/process/tray_command_text.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "editor/shell/process/command_line.h"
#include "platform/sjis_literal.h"

namespace {

struct LaunchCase {
  const char* name;
  const char* text;
  int code;
  bool readOnly;
  std::string expected;
};

TEST(EditorLaunchTextTest, PiecesInTheirOrder) {
  const LaunchCase cases[] = {
      {"nothing", nullptr, 99, false, ""},
      {"empty text", "", 99, false, ""},
      {"text only", "a.txt", 99, false, "a.txt"},
      {"code zero is written", "a.txt", 0, false, "a.txt -CODE=0"},
      {"code and read-only", "\"my file.txt\"", 4, true, "\"my file.txt\" -CODE=4 -R"},
      {"read-only without text", nullptr, 99, true, "-R"},
  };
  for (const LaunchCase& c : cases) EXPECT_EQ(EditorLaunchText(c.text, c.code, c.readOnly), c.expected) << c.name;
}

RecentFileRecord Record(const char* path, int x, int y, int vx, int vy, int code) {
  RecentFileRecord r = kEmptyRecentFileRecord;
  std::strncpy(r.szPath, path, sizeof r.szPath - 1);
  r.nX = x;
  r.nY = y;
  r.nViewLeftCol = vx;
  r.nViewTopLine = vy;
  r.nCharCode = code;
  return r;
}

TEST(EditorLaunchTextTest, RecentFileOneHigherThanStored) {
  struct Case {
    const char* name;
    RecentFileRecord record;
    bool readOnly;
    std::string expected;
  } cases[] = {
      {"all positions", Record("/d/a.txt", 0, 4, 2, 3, 0), false, "\"/d/a.txt\" -X=1 -Y=5 -VX=3 -VY=4 -CODE=0"},
      {"negative values left out", Record("/d/a.txt", -1, 9, -1, -5, -1), false, "\"/d/a.txt\" -Y=10"},
      {"detect code left out", Record("/d/a.txt", 0, 0, 0, 0, 99), true, "\"/d/a.txt\" -X=1 -Y=1 -VX=1 -VY=1 -R"},
      {"largest value does not wrap", Record("/a", INT_MAX, -1, -1, -1, -1), false, "\"/a\" -X=2147483648"},
      {"path with a blank and a quote", Record("/my d/a\"b.txt", -1, -1, -1, -1, -1), false, "\"/my d/a\"\"b.txt\""},
      {"no path", Record("", 1, -1, -1, -1, -1), false, "-X=2"},
  };
  for (const Case& c : cases) EXPECT_EQ(EditorLaunchTextForFile(c.record, c.readOnly), c.expected) << c.name;
}

// The text the tray gives for a recent file reaches the new process as that one file.
TEST(PathTokenTest, RecentFileWithABlankStaysOneFile) {
  struct Exists final : CommandLineSystem {
    bool PathExists(const std::string& name) const override {
      return name == "/home/u/My" || name == "/home/u/My Documents/a.txt";
    }
    std::string ExecutablePath() const override { return "/opt/tovara"; }
  } system;
  EXPECT_EQ(PathToken("/home/u/My Documents/a.txt"), "\"/home/u/My Documents/a.txt\"");
  EXPECT_EQ(PathToken("/home/u/plain.txt"), "/home/u/plain.txt");
  CCommandLineOptions options;
  options.Parse(EditorLaunchText(PathToken("/home/u/My Documents/a.txt").c_str(), 99, false), system);
  EXPECT_STREQ(options.m_fi.szPath, "/home/u/My Documents/a.txt");
}

// The grep text reads back as the same request.
TEST(GrepLaunchTextTest, ParsesBackToTheRequest) {
  struct NoFiles final : CommandLineSystem {
    bool PathExists(const std::string&) const override { return false; }
    std::string ExecutablePath() const override { return "/opt/tovara"; }
  } system;
  const GrepLaunchRequest request{"a \"b\" 表"_sj, "*.txt *.c", "/my src", 2, true, false, true, false, true, 2};
  CCommandLineOptions options;
  options.Parse(GrepLaunchText(request), system);
  EXPECT_TRUE(options.m_bGrepMode);
  EXPECT_EQ(std::string(options.m_cmGrepKey.View()), request.key);
  EXPECT_EQ(std::string(options.m_cmGrepFile.View()), request.files);
  EXPECT_EQ(std::string(options.m_cmGrepFolder.View()), request.folder);
  EXPECT_EQ(options.m_nGrepCharSet, 2);
  EXPECT_TRUE(options.m_bGrepSubFolder);
  EXPECT_FALSE(options.m_bGrepLoHiCase);
  EXPECT_TRUE(options.m_bGrepRegularExp);
  EXPECT_FALSE(options.m_bGrepOutputLine);
  EXPECT_TRUE(options.m_bGrepWordOnly);
  EXPECT_EQ(options.m_nGrepOutputStyle, 2);
}

TEST(TrayWindowItemTextTest, Labels) {
  RecentFileRecord file = Record("/d/R&D.txt", 0, 0, 0, 0, 2);
  file.bModified = 1;
  const RecentFileRecord untitled = Record("", 0, 0, 0, 0, 0);
  RecentFileRecord grep = kEmptyRecentFileRecord;
  grep.bGrepWindow = 1;
  std::strcpy(grep.szGrepText, "a&b");
  RecentFileRecord longGrep = kEmptyRecentFileRecord;
  longGrep.bGrepWindow = 1;
  // 63 single bytes, then a double-byte character across byte 64: cut before it.
  const std::string longKey = std::string(63, 'x') + "表"_sj;
  std::strcpy(longGrep.szGrepText, longKey.c_str());
  struct Case {
    const char* name;
    int place;
    RecentFileRecord info;
    std::string expected;
  } cases[] = {
      {"modified file with its code", 0, file, "&1 /d/R&&D.txt *  [EUC]"},
      {"untitled, tenth place", 9, untitled, std::string("&A ") + "（無題）  "_sj},
      {"grep key, ampersand doubled", 1, grep, "&2 【Grep】\"a&&b\""_sj},
      {"grep key cut on a whole character", 2, longGrep, "&3 【Grep】\""_sj + std::string(63, 'x') + "…\""_sj},
  };
  for (const Case& c : cases) EXPECT_EQ(TrayWindowItemText(c.place, c.info, nullptr), c.expected) << c.name;
}

}  // namespace
