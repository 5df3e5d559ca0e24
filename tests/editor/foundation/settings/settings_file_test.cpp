#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "editor/foundation/settings/share_data.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<SharedSettings> Fresh() {
    auto s = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*s);
    return s;
  }
  // Loads the text as a settings file into a fresh record.
  std::unique_ptr<SharedSettings> LoadText(const std::string& text) {
    dir.Write("in.ini", text);
    auto s = Fresh();
    CShareData share;
    share.Attach(s.get());
    EXPECT_TRUE(share.IOSettings(true, dir.File("in.ini")));
    return s;
  }
  ScopedTempDir dir;
};

TEST_F(SettingsFileTest, DefaultsRoundTripByteForByte) {
  auto a = Fresh();
  CShareData share;
  share.Attach(a.get());
  ASSERT_TRUE(share.IOSettings(false, dir.File("a.ini")));
  ASSERT_TRUE(share.IOSettings(false, dir.File("a2.ini")));
  const std::string first = dir.Read("a.ini");
  EXPECT_EQ(first, dir.Read("a2.ini"));
  EXPECT_EQ(first.rfind(std::string("// tovara.ini テキストエディタ設定ファイル"_sj) + "\r\n\r\n[MRU]\r\n", 0), 0u);
  EXPECT_NE(first.find("[Types(19)]\r\n"), std::string::npos);
  EXPECT_NE(first.find("C[TXT]=1,0,000000,f0fbff,0\r\n"), std::string::npos);
  EXPECT_LT(first.find("[KeyBind]"), first.find("[Print]"));
  EXPECT_LT(first.find("[KeyWords]"), first.find("[Other]"));
  EXPECT_NE(first.find("szVersion=1.0.0.0\r\n"), std::string::npos);  // the version the build gives

  auto b = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*b);
  b->KeywordSets.Reset();  // whatever the record held, the file's sets replace it
  CShareData other;
  other.Attach(b.get());
  ASSERT_TRUE(other.IOSettings(true, dir.File("a.ini")));
  ASSERT_TRUE(other.IOSettings(false, dir.File("b.ini")));
  EXPECT_EQ(first, dir.Read("b.ini"));
  EXPECT_EQ(b->KeywordSets.GetKeywordCount(9), 493);
}

TEST_F(SettingsFileTest, EdgeCases) {
  auto s = Fresh();
  for (int i = 0; i < 5; ++i) std::snprintf(s->RecentFiles[i].szPath, kMaxPath, "/old%d", i);
  s->nRecentFileCount = 5;
  dir.Write("e.ini",
            "[MRU]\r\n_MRU_Counts=2\r\nMRU[00].szPath=/a\r\nMRU[01].szPath=/b\r\n"
            "[Types(2)]\r\nszBlockCommentFrom=<<\r\nnLineSpace=40\r\n"
            "RxKey[005]=RK3,^abc\r\nRxKey[006]=nocomma\r\nRxKey[007]=99,x\r\n"
            "[KeyBind]\r\nNoSuchKey=1,2,3,4,5,6,7,8\r\nF1=1,2,3\r\n");
  CShareData share;
  share.Attach(s.get());
  ASSERT_TRUE(share.IOSettings(true, dir.File("e.ini")));
  EXPECT_EQ(s->nRecentFileCount, 2);
  EXPECT_STREQ(s->RecentFiles[1].szPath, "/b");
  for (int i = 2; i < 36; ++i) {
    EXPECT_STREQ(s->RecentFiles[i].szPath, "") << i;
    EXPECT_EQ(s->RecentFiles[i].nRequestWidth, -1);
  }
  const TypeSettings& t = s->TypeList[2];
  EXPECT_STREQ(t.BlockComments.GetStart(0), "/*");  // no "szBlockCommentTo": unchanged
  EXPECT_EQ(t.nLineSpace, 16);
  EXPECT_STREQ(t.RegexKeywords[5].szPattern, "^abc");
  EXPECT_EQ(t.RegexKeywords[5].nColorCode, 31);
  EXPECT_STREQ(t.RegexKeywords[6].szPattern, "");
  EXPECT_EQ(t.RegexKeywords[7].nColorCode, 29);  // a code outside the items
  EXPECT_EQ(s->KeyAssigns[5].nCommands[0], 1);
  EXPECT_EQ(s->KeyAssigns[5].nCommands[2], 3);
  EXPECT_EQ(s->KeyAssigns[5].nCommands[3], 31455);  // a short list leaves the rest
  EXPECT_EQ(s->nKeyAssignCount, 94);

  CShareData missing;
  missing.Attach(s.get());
  EXPECT_FALSE(missing.IOSettings(true, dir.File("none.ini")));
}

TEST_F(SettingsFileTest, HostileValuesStayWithinTheRecord) {
  const std::string longText(2000, 'x');
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "漢"_sj;
  auto s = LoadText("[MRU]\r\n_MRU_Counts=9999\r\n_MRUFOLDER_Counts=-5\r\nMRU[35].szPath=" + longText +
                    "\r\n"
                    "[Keys]\r\n_SEARCHKEY_Counts=9999\r\nSEARCHKEY[00]=" +
                    kanji +
                    "\r\n"
                    "[Nickname]\r\nArrNum=9999\r\n"
                    "[Cmd]\r\nnCmdArrNum=-5\r\n"
                    "[Toolbar]\r\nnToolBarButtonNum=9999\r\nnTBB[000]=99999\r\n"
                    "[CustMenu]\r\nnCMIN[03]=9999\r\nnCMIN[04]=-5\r\n"
                    "[Common]\r\nnMRUArrNum_MAX=9999\r\nszDateFormat=" +
                    longText +
                    "\r\n"
                    "[Types(0)]\r\nnInts=77,0,0,0,99,-9,0,1,1,0,12\r\nszTypeName=" +
                    kanji +
                    "\r\n"
                    "[Types(1)]\r\nnInts=1,99999999,0,-3\r\n"
                    "[KeyWords]\r\nnCurrentKeyWordSetIdx=9999\r\nnKeyWordSetNum=9999\r\nnKWN[00]=9999999\r\n"
                    "szKW[00]=a\tb\t" +
                    longText + "\t\r\nnKWN[01]=-5\r\n");
  EXPECT_EQ(s->nRecentFileCount, 36);
  EXPECT_EQ(std::strlen(s->RecentFiles[35].szPath), 259u);
  EXPECT_EQ(s->nRecentFolderCount, 0);
  EXPECT_EQ(s->nSearchKeyCount, 30);
  EXPECT_EQ(std::strlen(s->szSearchKeys[0]), 258u);  // whole characters only
  EXPECT_EQ(s->nNicknameCount, 16);
  EXPECT_EQ(s->nCmdArrNum, 0);
  EXPECT_EQ(s->Common.nToolBarButtonNum, 384);
  EXPECT_EQ(s->Common.nTBB[0], 384);
  EXPECT_EQ(s->Common.nCMIN[3], 48);
  EXPECT_EQ(s->Common.nCMIN[4], 0);
  EXPECT_EQ(s->Common.nMRUArrNum_MAX, 36);
  EXPECT_EQ(std::strlen(s->Common.szDateFormat), 99u);
  const TypeSettings& t0 = s->TypeList[0];
  EXPECT_EQ(t0.nIndex, 0);
  EXPECT_EQ(t0.nTabWidth, 1);  // 0 would divide by zero
  EXPECT_EQ(t0.nKeywordSelect[1], -1);
  EXPECT_EQ(t0.nPrintSetting, 7);
  EXPECT_EQ(std::strlen(t0.szTypeName), 62u);
  EXPECT_EQ(s->TypeList[1].nWrapColumn, 10240);
  EXPECT_EQ(s->TypeList[1].nTabWidth, 1);
  const CKeywordSetTable& k = s->KeywordSets;
  EXPECT_EQ(k.GetSetCount(), 25);
  EXPECT_EQ(k.GetKeywordCount(0), 3);
  EXPECT_EQ(std::strlen(k.GetKeyword(0, 2)), 63u);
  EXPECT_EQ(k.m_nCurrentSet, 24);
  EXPECT_EQ(t0.nKeywordSelect[0], -1);  // 99 names no set

  // Whatever was read writes back and reads back the same.
  CShareData share;
  share.Attach(s.get());
  ASSERT_TRUE(share.IOSettings(false, dir.File("h1.ini")));
  auto again = LoadText(dir.Read("h1.ini"));
  CShareData second;
  second.Attach(again.get());
  ASSERT_TRUE(second.IOSettings(false, dir.File("h2.ini")));
  EXPECT_EQ(dir.Read("h1.ini"), dir.Read("h2.ini"));
}

// Values that the views and the page layout divide by or count with come into the ranges the
// settings pages allow, from below and from above; values within them stay.
TEST_F(SettingsFileTest, ValuesLaterCodeDividesByComeIntoTheirRanges) {
  const auto low = LoadText(
      "[Common]\r\nnRepeatedScrollLineNum=0\r\nnRulerHeight=-3\r\nnFUNCKEYWND_GroupNum=0\r\n"
      "[Print]\r\nPS[00].nInts=0,0,0,-1,-1,-1,-1,-1,-1,1,9,1,0,1,0,0,0,1,0\r\n"
      "PS[01].nInts=12,24,2,70,30,100,200,200,100,1,9,1,0,1,0,0,0,1,0\r\n"
      "[Types(0)]\r\nnInts=0,100,-1\r\n[Types(1)]\r\nnInts=1,100,5\r\n");
  const auto high = LoadText(
      "[Common]\r\nnRepeatedScrollLineNum=11\r\nnRulerHeight=99\r\nnFUNCKEYWND_GroupNum=13\r\n"
      "[Print]\r\nPS[00].nInts=101,999,5,301,151,501,501,501,501,1,9,1,0,1,0,0,0,1,0\r\n"
      "PS[01].nInts=100,200,4,300,150,500,500,500,500,1,9,1,0,1,0,0,0,1,0\r\n"
      "[Types(0)]\r\nnInts=0,100,65\r\n[Types(1)]\r\nnInts=1,100,64\r\n");
  struct Case {
    const char* name;
    int32_t (*field)(const SharedSettings&);
    int32_t fromLow;
    int32_t fromHigh;
  } cases[] = {
      {"lines per scroll step", [](const SharedSettings& s) { return s.Common.nRepeatedScrollLineNum; }, 1, 10},
      {"ruler height", [](const SharedSettings& s) { return s.Common.nRulerHeight; }, 2, 32},
      {"function keys per group (others count as 4)",
       [](const SharedSettings& s) { return s.Common.nFUNCKEYWND_GroupNum; }, 4, 4},
      {"print cell width", [](const SharedSettings& s) { return s.PrintSettingList[0].nFontWidth; }, 7, 100},
      {"print cell height", [](const SharedSettings& s) { return s.PrintSettingList[0].nFontHeight; }, 14, 200},
      {"print columns", [](const SharedSettings& s) { return s.PrintSettingList[0].nColumns; }, 1, 4},
      {"print column gap", [](const SharedSettings& s) { return s.PrintSettingList[0].nColumnGap; }, 0, 300},
      {"print line spacing", [](const SharedSettings& s) { return s.PrintSettingList[0].nLineSpacing; }, 0, 150},
      {"print top margin", [](const SharedSettings& s) { return s.PrintSettingList[0].nMarginTop; }, 0, 500},
      {"print bottom margin", [](const SharedSettings& s) { return s.PrintSettingList[0].nMarginBottom; }, 0, 500},
      {"print left margin", [](const SharedSettings& s) { return s.PrintSettingList[0].nMarginLeft; }, 0, 500},
      {"print right margin", [](const SharedSettings& s) { return s.PrintSettingList[0].nMarginRight; }, 0, 500},
      {"character spacing", [](const SharedSettings& s) { return s.TypeList[0].nCharSpacing; }, 0, 64},
      {"print setting within its range stays", [](const SharedSettings& s) { return s.PrintSettingList[1].nColumns; },
       2, 4},
      {"print gap within its range stays", [](const SharedSettings& s) { return s.PrintSettingList[1].nColumnGap; }, 70,
       300},
      {"character spacing within its range stays", [](const SharedSettings& s) { return s.TypeList[1].nCharSpacing; },
       5, 64},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.field(*low), c.fromLow) << c.name;
    EXPECT_EQ(c.field(*high), c.fromHigh) << c.name;
  }
}

TEST_F(SettingsFileTest, ReadOnlyFileStaysAndTheSaveSaysSo) {
  dir.Write("ro.ini", "old");
  ::chmod(dir.File("ro.ini").c_str(), 0444);
  auto s = Fresh();
  CShareData share;
  share.Attach(s.get());
  EXPECT_FALSE(share.IOSettings(false, dir.File("ro.ini")));
  EXPECT_EQ(dir.Read("ro.ini"), "old");
}

TEST_F(SettingsFileTest, FileLiesBesideTheExecutableOrInTheConfigFolder) {
  std::filesystem::create_directories(dir.File("bin"));
  EXPECT_EQ(CShareData::IniFilePathFor(dir.File("bin/tovara")), dir.File("bin/tovara.ini"));
  EXPECT_EQ(CShareData::IniFilePathFor(dir.File("bin/vrel.exe")), dir.File("bin/vrel.ini"));
  ::chmod(dir.File("bin").c_str(), 0555);
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  const std::string path = CShareData::IniFilePathFor(dir.File("bin/tovara"));
  if (old)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
  ::chmod(dir.File("bin").c_str(), 0755);
  EXPECT_EQ(path, dir.File("config/tovara/tovara.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/tovara")));
}

}  // namespace
