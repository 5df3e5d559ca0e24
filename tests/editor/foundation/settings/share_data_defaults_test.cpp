#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "platform/sjis.h"

namespace {

std::unique_ptr<SharedSettings> FreshRecord() {
  auto s = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*s);
  return s;
}

std::string Sjis(const char8_t* utf8) {
  return platform::Utf8ToSjis(std::string_view(reinterpret_cast<const char*>(utf8)));
}

TEST(ShareDataDefaults, TopLevelAndHistories) {
  auto s = FreshRecord();
  EXPECT_EQ(s->nLayoutVersion, 65);
  EXPECT_EQ(s->nProductVersionHigh, ProductVersionHigh());
  EXPECT_EQ(s->nGrepFileCount, 1);
  EXPECT_STREQ(s->szGrepFiles[0], "*.*");
  EXPECT_STREQ(s->szGrepFiles[1], "");
  EXPECT_EQ(s->nSearchKeyCount, 0);
  EXPECT_EQ(s->nNicknameCount, 6);
  EXPECT_STREQ(s->szNicknameFrom[2], "%Cache%/Content.IE5/");
  const std::string exe = CShareData::ExecutableFolder();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '/');
  EXPECT_EQ(s->szMACROFOLDER, exe);
  EXPECT_EQ(s->szIMPORTFOLDER, exe);
  EXPECT_EQ(s->bGetStdout, 1);
  EXPECT_EQ(s->bLineNumIsCRLF, 1);
}

TEST(ShareDataDefaults, CommonToolbarMenusAndPrintSettings) {
  auto s = FreshRecord();
  const CommonSettings& c = s->Common;
  EXPECT_EQ(c.nGrepCharSet, 99);
  EXPECT_EQ(c.lf.lfHeight, -13);
  EXPECT_EQ(c.lf.lfPitchAndFamily, 0x31);
  EXPECT_EQ(c.bBackUpType2_Opt2, 0x0062000A);
  EXPECT_EQ(c.nWinSizeCX, INT32_MIN);
  EXPECT_EQ(c.wTrayMenuHotKeyMods, 6);
  EXPECT_EQ(c.nVertLineOffset, -1);
  EXPECT_EQ(c.nToolBarButtonNum, 24);
  EXPECT_EQ(c.nTBB[23], 346);
  EXPECT_EQ(c.nTBB[24], 0);
  EXPECT_EQ(c.nCMIN[0], 22);
  EXPECT_EQ(c.nCMIF[0][20], 30620);
  EXPECT_EQ(c.nCMIK[0][20], '\\');
  EXPECT_EQ(c.nCMIN[1], 7);
  for (int m = 2; m <= 23; ++m) EXPECT_EQ(c.nCMIN[m], 0) << m;
  EXPECT_EQ(c.nCMIN[24], 6);
  EXPECT_EQ(c.nCMIF[24][1], 30104);
  EXPECT_EQ(std::string(c.szCMN[24]), Sjis(u8"タブメニュー"));
  EXPECT_EQ(std::string(c.szCMN[23]), Sjis(u8"メニュー23"));
  EXPECT_EQ(std::string(s->PrintSettingList[7].szSName), Sjis(u8"印刷設定 8"));
  EXPECT_EQ(s->PrintSettingList[7].nMarginLeft, 200);
  EXPECT_STREQ(s->PrintSettingList[3].szFTF[1], "- $p -");
}

TEST(ShareDataDefaults, KeyAssignments) {
  auto s = FreshRecord();
  ASSERT_EQ(s->nKeyAssignCount, 94);
  const KeyAssignRecord& f1 = s->KeyAssigns[5];
  EXPECT_STREQ(f1.szKeyName, "F1");
  EXPECT_EQ(f1.nKeyCode, 112);
  EXPECT_EQ(f1.nCommands[3], 31455);  // Shift+Ctrl
  EXPECT_EQ(s->KeyAssigns[28].nKeyCode, 135);
  EXPECT_STREQ(s->KeyAssigns[28].szKeyName, "F24");
  EXPECT_EQ(s->KeyAssigns[40].nCommands[6], 31580);
  EXPECT_EQ(s->KeyAssigns[82].nCommands[3], 31311);
  EXPECT_STREQ(s->KeyAssigns[82].szKeyName, "\\");
  for (int m = 0; m < 8; ++m) EXPECT_EQ(s->KeyAssigns[93].nCommands[m], 31580);
  EXPECT_EQ(s->KeyAssigns[94].nKeyCode, 0);
}

TEST(ShareDataDefaults, KeywordSetsHaveTheirSizes) {
  auto s = FreshRecord();
  CKeywordSetTable& k = s->KeywordSets;
  const int sizes[] = {88, 252, 80, 101, 49, 37, 86, 72, 70, 493, 101, 226, 103, 106, 190, 82};
  ASSERT_EQ(k.GetSetCount(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(k.GetKeywordCount(i), sizes[i]) << k.GetSetName(i);
  EXPECT_STREQ(k.GetKeyword(9, 2), "\\aa");
  EXPECT_STREQ(k.GetKeyword(12, 0), "$ARGV");
  EXPECT_FALSE(k.IsCaseSensitive(1));
  EXPECT_TRUE(k.IsCaseSensitive(15));
  EXPECT_EQ(std::string(k.GetSetName(15)), Sjis(u8"リッチテキスト"));
  EXPECT_GE(k.Find(0, "while", 5), 0);
  EXPECT_GE(k.Find(1, "tbody", 5), 0);
}

TEST(ShareDataDefaults, Types) {
  auto s = FreshRecord();
  const TypeSettings* t = s->TypeList;
  for (int i = 0; i < kTypeSlots; ++i) EXPECT_EQ(t[i].nIndex, i);
  EXPECT_EQ(std::string(t[16].szTypeName), Sjis(u8"設定17"));
  EXPECT_STREQ(t[16].szTypeExts, "");
  EXPECT_EQ(t[0].Colors[13].bShow, 0);  // the basic type does not colour numbers
  EXPECT_EQ(t[2].Colors[13].bShow, 1);  // C/C++ does
  EXPECT_EQ(t[2].nKeywordSelect[0], 0);
  EXPECT_EQ(t[2].nKeywordSelect[1], -1);
  EXPECT_STREQ(t[2].BlockComments.GetStart(1), "#if 0");
  EXPECT_EQ(t[5].LineComments.GetColumn(1), 6);
  EXPECT_EQ(t[5].nVertLineIdx[3], 73);
  EXPECT_EQ(t[1].nWrapColumn, 120);
  EXPECT_EQ(t[3].nWrapColumn, 10240);
  EXPECT_EQ(t[14].Colors[28].bShow, 0);
  EXPECT_EQ(t[0].Colors[43].colBack, 0xc08000u);
  EXPECT_EQ(t[7].RegexKeywords[99].nColorCode, 29);
  EXPECT_EQ(t[19].nImeState, 256);
  EXPECT_STREQ(t[0].szTabViewString, "^       ");
}

// Heading detection compares bytes, so every default text must hold exactly CP932's bytes.
TEST(ShareDataDefaults, TextsAreTheCp932BytesOfTheirSource) {
  auto s = FreshRecord();
  const CommonSettings& c = s->Common;
  struct Case {
    const char* field;
    const char8_t* source;
  } const cases[] = {
      {c.szMidashiKigou,
       u8"１２３４５６７８９０（(［["
       u8"「『【■□▲△▼▽◆◇○◎●§・※☆★第①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ一二三四五六七八九十壱弐参伍"},
      {c.szDateFormat, u8"yyyy'年'M'月'd'日('dddd')'"},
      {c.szTimeFormat, u8"tthh'時'mm'分'ss'秒'"},
      {c.szTabWndCaption,
       u8"${w?【Grep】$h$:【アウトプット】$:$f$}${U?(更新)$}${R?(読みとり専用)$:(上書き禁止)$}${M?"
       u8"【キーマクロの記録中】$}"},
      {c.szWinCaptionActive,
       u8"${w?$h$:アウトプット$:${I?$f$:$N$}$}${U?(更新)$} - tovara $V ${R?(読みとり専用)$:（上書き禁止）$}${M?  "
       u8"【キーマクロの記録中】$}"},
      {c.lf.lfFaceName, u8"ＭＳ ゴシック"},
      {c.szCMN[0], u8"右クリックメニュー"},
      {s->szNicknameTo[0], u8"デスクトップ/"},
      {s->szNicknameTo[5], u8"共有ドキュメント/"},
      {s->KeyAssigns[37].szKeyName, u8"←"},
      {s->KeyAssigns[81].szKeyName, u8"^(英語')"},
      {s->KeyAssigns[93].szKeyName, u8"アプリキー"},
      {s->PrintSettingList[0].szFF, u8"ＭＳ 明朝"},
      {s->TypeList[1].szKinsokuHead,
       u8"!%),.:;?]}￠°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ￠"},
      {s->TypeList[1].szKinsokuTail, u8"$([{￡\\‘“〈《「『【〔＄（［｛｢￡￥"},
      {s->TypeList[4].szIndentChars, u8"|★"},
      {s->TypeList[9].szTypeName, u8"MS-DOSバッチファイル"},
      {s->TypeList[0].Colors[26].szName, u8"シングルクォーテーション文字列"},
      {s->TypeList[0].Colors[38].szName, u8"正規表現キーワード10"},
  };
  for (const Case& k : cases) EXPECT_EQ(std::string(k.field), Sjis(k.source)) << k.field;
  // Roman numerals are NEC's row 13 in CP932.
  const std::string kigou = c.szMidashiKigou;
  EXPECT_NE(kigou.find("\x87\x54\x87\x55"), std::string::npos);
  EXPECT_NE(kigou.find("\x87\x5D"), std::string::npos);
}

}  // namespace
