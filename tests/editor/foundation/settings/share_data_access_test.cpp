#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"

namespace {

using namespace std::string_literals;

class ShareDataAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
  }
  const ScopedNamedObjects names{"CShareData-test-access"};
  std::unique_ptr<SharedSettings> record;
  CShareData share;
};

TEST_F(ShareDataAccess, InstanceFollowsTheLatestAndIsClearedWithIt) {
  EXPECT_EQ(CShareData::GetInstance(), &share);
  {
    CShareData second;
    second.Attach(record.get());
    EXPECT_EQ(CShareData::GetInstance(), &second);
  }
  EXPECT_EQ(CShareData::GetInstance(), nullptr);
}

TEST_F(ShareDataAccess, ReturnRingKeepsTheLastHundred) {
  for (int i = 0; i < 101; ++i) share.PushReturnPoint({static_cast<uint32_t>(i), i, i});
  TagJumpReturnPoint p{};
  for (int i = 100; i >= 1; --i) {
    ASSERT_TRUE(share.PopReturnPoint(&p));
    EXPECT_EQ(p.nCaretX, i);
  }
  EXPECT_FALSE(share.PopReturnPoint(&p));
  record->nReturnPointCount = 9999;  // from another process; clamped, never walked past the ring
  record->nReturnPointTop = -40;
  EXPECT_TRUE(share.PopReturnPoint(&p));
}

TEST_F(ShareDataAccess, TypesByExtension) {
  EXPECT_EQ(share.GetTypeByExtension("CPP"), 2);
  EXPECT_EQ(share.GetTypeByExtension("log"), 1);  // listed by types 1 and 11: the first wins
  EXPECT_EQ(share.GetTypeByExtension("xyz"), 0);
  std::strcpy(record->TypeList[17].szTypeExts, "q, r;s");
  EXPECT_EQ(share.GetTypeByExtension("r"), 17);
  EXPECT_EQ(share.GetTypeByExtension("s"), 17);
  EXPECT_EQ(share.GetTypeByPath("/src/a.Java"), 6);
  EXPECT_EQ(share.GetTypeByPath("/src/Makefile"), 0);
  EXPECT_EQ(share.GetTypeByPath(""), 0);
}

TEST_F(ShareDataAccess, HelpFilesPreferTheTypes) {
  EXPECT_FALSE(share.IsExtHelpSet(3));
  std::strcpy(record->TypeList[3].szExtHtmlHelp, "/h/t.chm");
  record->TypeList[3].bHtmlHelpIsSingle = 0;
  EXPECT_TRUE(share.IsExtHtmlHelpSet(3));
  EXPECT_STREQ(share.GetExtHtmlHelpPath(3), "/h/t.chm");
  EXPECT_STREQ(share.GetExtHtmlHelpPath(25), "");
  EXPECT_FALSE(share.IsHtmlHelpSingle(3));
  EXPECT_TRUE(share.IsHtmlHelpSingle(4));
}

TEST_F(ShareDataAccess, DateAndTimePictures) {
  SYSTEMTIME t{};
  t.wYear = 2026;
  t.wMonth = 3;
  t.wDay = 7;
  t.wDayOfWeek = 6;
  t.wHour = 15;
  t.wMinute = 4;
  t.wSecond = 9;
  char out[100];
  struct Case {
    int type;
    const char* picture;
    std::string expected;
  } const dates[] = {
      {0, nullptr, "2026年3月7日"_sj},
      {1, "yyyy'年'M'月'd'日('dddd')'"_sj, "2026年3月7日(土曜日)"_sj},
      {1, "yy/MM/dd ddd", "26/03/07 "s + "土"_sj},
      {1, "'it''s' d", "it's 7"},
  };
  for (const Case& c : dates) EXPECT_EQ(CShareData::FormatDateWith(t, out, sizeof out, c.type, c.picture), c.expected);
  struct Case times[] = {
      {0, nullptr, "15:04:09"},
      {1, "tthh'時'mm'分'ss'秒'"_sj, "午後03時04分09秒"_sj},
      {1, "h:m:s tt", "3:4:9 "s + "午後"_sj},
  };
  for (const Case& c : times) EXPECT_EQ(CShareData::FormatTimeWith(t, out, sizeof out, c.type, c.picture), c.expected);
  // The defaults (type 0) give the long forms; a short buffer is cut on a whole character.
  EXPECT_EQ(std::string(share.FormatDate(t, out, sizeof out)), "2026年3月7日"_sj);
  EXPECT_EQ(std::string(share.FormatDate(t, out, 7)), "2026年"_sj);
}

TEST_F(ShareDataAccess, MacroFilePaths) {
  const std::string exe = CShareData::ExecutableFolder();
  std::strcpy(record->szMACROFOLDER, "macro");
  char path[kMaxPath];
  const std::string expected = exe + "macro/RecKey.mac";
  EXPECT_EQ(share.GetMacroFilePath(-1, path, sizeof path), static_cast<int>(expected.size()));
  EXPECT_EQ(path, expected);
  EXPECT_STREQ(record->szMACROFOLDER, "macro/");
  EXPECT_EQ(share.GetMacroFilePath(-1, nullptr, 0), -static_cast<int>(expected.size()));
  EXPECT_EQ(share.GetMacroFilePath(-1, path, 5), -static_cast<int>(expected.size()));
  EXPECT_EQ(share.GetMacroFilePath(3, path, sizeof path), 0);
  std::strcpy(record->MacroSlots[3].File, "/abs/m.js");
  EXPECT_EQ(share.GetMacroFilePath(3, path, sizeof path), 9);
  EXPECT_STREQ(path, "/abs/m.js");
  EXPECT_FALSE(share.IsMacroReloadOnExecute(3));
  record->MacroSlots[3].ReloadWhenExecute = 1;
  EXPECT_TRUE(share.IsMacroReloadOnExecute(3));
  // A folder filling its whole slot gets no "/" beyond it.
  std::memset(record->szMACROFOLDER, 'f', kMaxPath);
  record->szMACROFOLDER[0] = '/';
  EXPECT_LT(share.GetMacroFilePath(-1, path, sizeof path), 0);
}

TEST_F(ShareDataAccess, SpecialFoldersAndNicknames) {
  char out[kMaxPath];
  EXPECT_TRUE(ExpandSpecialFolder("a%%TEMP%%b", out, sizeof out));
  EXPECT_STREQ(out, "a%TEMP%b");
  EXPECT_TRUE(ExpandSpecialFolder("%NoSuchFolderName%/x", out, sizeof out));
  EXPECT_STREQ(out, "%NoSuchFolderName%/x");
  EXPECT_TRUE(ExpandSpecialFolder("50%", out, sizeof out));
  EXPECT_STREQ(out, "50%");
  ::setenv("TMPDIR", "/tmp/tovara-tmp/", 1);
  EXPECT_TRUE(ExpandSpecialFolder("%temp%/f", out, sizeof out));
  EXPECT_STREQ(out, "/tmp/tovara-tmp/f");
  ::setenv("XDG_DESKTOP_DIR", reinterpret_cast<const char*>(u8"/home/u/デスク"), 1);  // the host spells it in UTF-8
  EXPECT_TRUE(ExpandSpecialFolder("%DeskTop%/a", out, sizeof out));
  EXPECT_EQ(std::string(out), "/home/u/デスク/a"_sj);
  EXPECT_TRUE(ExpandSpecialFolder("%TOVARA%/x", out, sizeof out));
  EXPECT_EQ(out, CShareData::ExecutableFolder() + "x");
  char small[6];
  EXPECT_FALSE(ExpandSpecialFolder("%temp%", small, sizeof small));
  EXPECT_EQ(std::strlen(small), 5u);
  const std::string longName = "%" + std::string(300, 'n') + "%";
  EXPECT_FALSE(ExpandSpecialFolder(longName.c_str(), out, sizeof out));

  char shown[kMaxPath];
  share.ApplyFileNameNicknames("/home/u/デスク/memo.txt"_sj, shown, sizeof shown);
  EXPECT_EQ(std::string(shown), "デスクトップ/memo.txt"_sj);
  share.ApplyFileNameNicknames("/tmp/tovara-tmp/a", shown, sizeof shown);
  EXPECT_STREQ(shown, "TEMP/a");
  ::unsetenv("XDG_DESKTOP_DIR");
  ::unsetenv("TMPDIR");
}

TEST(ReplaceSubstringICase, StaysInsideTheBufferAndKeepsCharactersWhole) {
  char out[10];
  ReplaceSubstringICase("aXbxc", out, sizeof out, "x", "--");
  EXPECT_STREQ(out, "a--b--c");
  ReplaceSubstringICase("xxxxxx", out, sizeof out, "x", "abc");
  EXPECT_STREQ(out, "abcabcabc");
  ReplaceSubstringICase("12345678漢"_sj, out, sizeof out, "z", "");
  EXPECT_STREQ(out, "12345678");  // the last character would not fit whole
  ReplaceSubstringICase("abc", out, 1, "a", "b");
  EXPECT_STREQ(out, "");
}

}  // namespace

namespace {

TEST(ShareDataExchange, LineAnswerStaysInsideTheExchangeText) {
  auto record = std::make_unique<SharedSettings>();
  CShareData share;
  share.Attach(record.get());
  const std::string line(40000, 'L');
  record->ExchangeFileInfo.nViewTopLine = 77;  // the field after the exchange text
  EXPECT_EQ(share.SetExchangeLine(line.data(), static_cast<int>(line.size())), 40000);
  EXPECT_EQ(record->szExchangeText[kExchangeTextSize - 1], 'L');
  EXPECT_EQ(record->ExchangeFileInfo.nViewTopLine, 77);
  EXPECT_EQ(share.SetExchangeLine("ab", 2), 2);
  EXPECT_EQ(std::string(record->szExchangeText, 3), "abL");
  EXPECT_EQ(share.SetExchangeLine(nullptr, 5), 0);
}

}  // namespace
