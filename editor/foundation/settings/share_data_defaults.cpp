// The defaults a new shared record receives before any other process can attach.
#include <cstdio>
#include <cstring>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/fixed_text.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

// The build gives the product version (editor/foundation/CMakeLists.txt).
#ifndef TOVARA_VERSION_MAJOR
#error "the build defines the product version"
#endif

namespace {

struct DefaultKey {
  int code;
  const char* name;
  int commands[8];
};

// Indexed by the record; the commands by Shift 1 + Ctrl 2 + Alt 4.
constexpr DefaultKey kDefaultKeys[] = {
    {0, "ダブルクリック"_sj, {30400, 30400, 30400, 30400, 30400, 30400, 30400, 30400}},
    {0, "右クリック"_sj, {31580, 31580, 31580, 31580, 0, 0, 0, 0}},
    {0, "中クリック"_sj, {0, 0, 0, 0, 0, 0, 0, 0}},
    {0, "左サイドクリック"_sj, {0, 0, 0, 0, 0, 0, 0, 0}},
    {0, "右サイドクリック"_sj, {0, 0, 0, 0, 0, 0, 0, 0}},
    {112, "F1", {31451, 31445, 31450, 31455, 31440, 31441, 0, 0}},
    {113, "F2", {30971, 30972, 30970, 30973, 30974, 0, 0, 0}},
    {114, "F3", {30902, 30903, 30905, 30909, 0, 0, 0, 0}},
    {115, "F4", {31310, 31311, 30105, 30107, 31320, 31321, 30195, 0}},
    {116, "F5", {31360, 0, 31270, 0, 30880, 0, 30830, 30831}},
    {117, "F6", {30410, 30510, 30800, 0, 30870, 0, 0, 0}},
    {118, "F7", {30601, 0, 30801, 0, 30855, 30863, 30116, 0}},
    {119, "F8", {30602, 30603, 30810, 0, 30854, 30862, 30115, 0}},
    {120, "F9", {30604, 30605, 30811, 0, 30853, 0, 30114, 0}},
    {121, "F10", {30171, 30250, 30812, 0, 30852, 30861, 30113, 0}},
    {122, "F11", {30930, 30170, 30813, 0, 30851, 30860, 30112, 0}},
    {123, "F12", {30940, 30941, 30814, 0, 30850, 0, 30111, 0}},
    {124, "F13", {0, 0, 0, 0, 0, 0, 0, 0}},
    {125, "F14", {0, 0, 0, 0, 0, 0, 0, 0}},
    {126, "F15", {0, 0, 0, 0, 0, 0, 0, 0}},
    {127, "F16", {0, 0, 0, 0, 0, 0, 0, 0}},
    {128, "F17", {0, 0, 0, 0, 0, 0, 0, 0}},
    {129, "F18", {0, 0, 0, 0, 0, 0, 0, 0}},
    {130, "F19", {0, 0, 0, 0, 0, 0, 0, 0}},
    {131, "F20", {0, 0, 0, 0, 0, 0, 0, 0}},
    {132, "F21", {0, 0, 0, 0, 0, 0, 0, 0}},
    {133, "F22", {0, 0, 0, 0, 0, 0, 0, 0}},
    {134, "F23", {0, 0, 0, 0, 0, 0, 0, 0}},
    {135, "F24", {0, 0, 0, 0, 0, 0, 0, 0}},
    {9, "Tab", {30260, 30261, 31340, 31341, 0, 0, 0, 0}},
    {13, "Enter", {0, 0, 30950, 0, 30190, 0, 0, 0}},
    {27, "Esc", {31099, 0, 0, 0, 0, 0, 0, 0}},
    {8, "BkSp", {30222, 0, 30230, 0, 0, 0, 0, 0}},
    {45, "Ins", {31001, 30604, 30602, 0, 0, 0, 0, 0}},
    {46, "Del", {30221, 30601, 30231, 0, 0, 0, 0, 0}},
    {36, "Home", {30332, 30432, 30350, 30450, 0, 0, 0, 0}},
    {35, "End(Help)", {30333, 30433, 30351, 30451, 0, 0, 0, 0}},
    {37, "←"_sj, {30313, 30413, 30320, 30420, 30510, 0, 0, 0}},
    {38, "↑"_sj, {30311, 30411, 30380, 30415, 30510, 0, 0, 31350}},
    {39, "→"_sj, {30314, 30414, 30321, 30421, 30510, 0, 0, 31352}},
    {40, "↓"_sj, {30312, 30412, 30381, 30416, 30510, 0, 31580, 31351}},
    {34, "PgDn(RollUp)", {30343, 30443, 30341, 30441, 0, 0, 0, 0}},
    {33, "PgUp(RollDn)", {30342, 30442, 30340, 30440, 0, 0, 0, 0}},
    {32, "Space", {30262, 30263, 31430, 0, 0, 0, 0, 0}},
    {48, "0", {0, 0, 0, 0, 31510, 31520, 0, 0}},
    {49, "1", {0, 0, 31100, 31521, 31501, 31511, 0, 0}},
    {50, "2", {0, 0, 31101, 31522, 31502, 31512, 0, 0}},
    {51, "3", {0, 0, 31102, 31523, 31503, 31513, 0, 0}},
    {52, "4", {0, 0, 31110, 31524, 31504, 31514, 0, 0}},
    {53, "5", {0, 0, 31111, 0, 31505, 31515, 0, 0}},
    {54, "6", {0, 0, 31112, 0, 31506, 31516, 0, 0}},
    {55, "7", {0, 0, 31120, 0, 31507, 31517, 0, 0}},
    {56, "8", {0, 0, 0, 0, 31508, 31518, 0, 0}},
    {57, "9", {0, 0, 0, 0, 31509, 31519, 0, 0}},
    {65, "A", {0, 0, 30401, 0, 30282, 0, 0, 0}},
    {66, "B", {0, 0, 30180, 0, 0, 0, 0, 0}},
    {67, "C", {0, 0, 30602, 30162, 0, 0, 0, 0}},
    {68, "D", {0, 0, 30232, 30233, 30283, 0, 0, 0}},
    {69, "E", {0, 0, 30244, 30245, 0, 0, 31330, 0}},
    {70, "F", {0, 0, 30901, 0, 0, 0, 0, 0}},
    {71, "G", {0, 0, 30910, 0, 0, 0, 0, 0}},
    {72, "H", {0, 0, 30360, 30162, 0, 0, 31331, 0}},
    {73, "I", {0, 0, 30250, 0, 0, 0, 0, 0}},
    {74, "J", {0, 0, 30920, 0, 0, 0, 0, 0}},
    {75, "K", {0, 0, 30241, 30243, 0, 0, 0, 0}},
    {76, "L", {0, 0, 31252, 31253, 30280, 0, 30800, 30801}},
    {77, "M", {0, 0, 31251, 31250, 30284, 0, 0, 0}},
    {78, "N", {0, 0, 30101, 0, 30371, 0, 0, 0}},
    {79, "O", {0, 0, 30102, 0, 0, 0, 0, 0}},
    {80, "P", {0, 0, 30150, 30151, 30370, 0, 30152, 0}},
    {81, "Q", {0, 0, 30630, 0, 0, 0, 0, 0}},
    {82, "R", {0, 0, 30904, 0, 30281, 0, 0, 0}},
    {83, "S", {0, 0, 30103, 30104, 0, 0, 0, 0}},
    {84, "T", {0, 0, 30940, 30941, 0, 0, 31332, 0}},
    {85, "U", {0, 0, 30240, 30242, 0, 0, 31140, 0}},
    {86, "V", {0, 0, 30604, 0, 0, 0, 0, 0}},
    {87, "W", {0, 0, 30400, 0, 0, 0, 0, 0}},
    {88, "X", {0, 0, 30601, 0, 0, 0, 0, 0}},
    {89, "Y", {0, 0, 30211, 0, 0, 0, 0, 0}},
    {90, "Z", {0, 0, 30210, 0, 0, 0, 0, 0}},
    {189, "-", {0, 0, 30622, 31310, 0, 0, 0, 0}},
    {222, "^(英語')"_sj, {0, 0, 30621, 0, 0, 0, 0, 0}},
    {220, "\\", {0, 0, 30620, 31311, 0, 0, 0, 0}},
    {192, "@(英語`)"_sj, {0, 0, 30610, 0, 0, 0, 0, 0}},
    {219, "[", {0, 0, 30960, 0, 0, 0, 0, 0}},
    {187, ";", {0, 0, 0, 31312, 30790, 0, 0, 0}},
    {186, ":", {0, 0, 30612, 0, 30791, 0, 0, 0}},
    {221, "]", {0, 0, 30960, 0, 0, 0, 0, 0}},
    {188, ",", {0, 0, 0, 0, 0, 0, 0, 0}},
    {190, ".", {0, 0, 30611, 0, 0, 0, 0, 0}},
    {191, "/", {0, 0, 31430, 0, 0, 0, 0, 0}},
    {226, "_", {0, 0, 30210, 0, 0, 0, 0, 0}},
    {223, "_(PC-98)", {0, 0, 30210, 0, 0, 0, 0, 0}},
    {93, "アプリキー"_sj, {31580, 31580, 31580, 31580, 31580, 31580, 31580, 31580}},
};
static_assert(std::size(kDefaultKeys) == 94);

struct NicknameDefault {
  const char* from;
  const char* to;
};

constexpr NicknameDefault kNicknames[] = {
    {"%DeskTop%/", "デスクトップ/"_sj},
    {"%Personal%/", "マイドキュメント/"_sj},
    {"%Cache%/Content.IE5/", "IEキャッシュ/"_sj},
    {"%TEMP%/", "TEMP/"},
    {"%Common DeskTop%/", "共有デスクトップ/"_sj},
    {"%Common Documents%/", "共有ドキュメント/"_sj},
};

constexpr int kDefaultToolbar[] = {1,   25,  3,   4,   0,   33,  34, 0,   87,  88,  0, 225,
                                   226, 227, 228, 229, 230, 232, 0,  264, 265, 266, 0, 346};

struct MenuItem {
  int id;
  char key;
};

constexpr MenuItem kRightClickMenu[] = {
    {30210, 'U'}, {30211, 'R'}, {0, 0},       {30601, 'T'}, {30602, 'C'},  {30604, 'P'}, {30221, 'D'}, {0, 0},
    {30603, 'L'}, {30608, 'H'}, {30605, 'X'}, {0, 0},       {30401, 'A'},  {0, 0},       {30940, 'G'}, {30941, 'B'},
    {0, 0},       {30610, '@'}, {30611, '.'}, {0, 0},       {30620, '\\'}, {30190, 'F'},
};
constexpr MenuItem kMenu1[] = {{30102, 'O'}, {30103, 'S'}, {31340, 'N'}, {30800, 'L'},
                               {30801, 'U'}, {0, 0},       {31320, 'C'}};
constexpr MenuItem kTabMenu[] = {{30103, 'S'}, {30104, 'A'}, {30105, 'B'}, {30107, 'L'}, {31320, 'C'}, {30119, 'W'}};

template <size_t N>
void SetMenuItems(CommonSettings& common, int menu, const MenuItem (&items)[N]) {
  static_assert(N <= kCustomMenuItems);
  common.nCMIN[menu] = static_cast<int32_t>(N);
  for (size_t i = 0; i < N; ++i) {
    common.nCMIF[menu][i] = items[i].id;
    common.nCMIK[menu][i] = items[i].key;
  }
}

void SetDefaultCommon(CommonSettings& c) {
  c.bInsertModeDefault = 1;
  c.m_bRestoreCurPosition = 1;
  c.m_bRestoreBookmarks = 1;
  c.nRepeatedScrollLineNum = 3;
  c.bNotOverWriteCRLF = 1;
  c.bAutoColmnPaste = 1;
  c.bSelectClickedURL = 1;
  c.bHokanKey_RETURN = 1;
  c.bHokanKey_RIGHT = 1;

  c.bSearchNOTIFYNOTFOUND = 1;
  c.bGrepSubFolder = 1;
  c.bGrepOutputLine = 1;
  c.nGrepOutputStyle = 1;
  c.nGrepCharSet = 99;
  c.bGTJW_RETURN = 1;
  c.bGTJW_LDBLCLK = 1;
  c.bAutoCloseDlgFind = 1;
  c.bAutoCloseDlgReplace = 1;

  c.lf = LOGFONT{};
  c.lf.lfHeight = -13;
  c.lf.lfWeight = 400;
  c.lf.lfCharSet = 128;
  c.lf.lfOutPrecision = 3;
  c.lf.lfClipPrecision = 2;
  c.lf.lfQuality = 1;
  c.lf.lfPitchAndFamily = 0x31;
  CopyText(c.lf.lfFaceName, "ＭＳ ゴシック"_sj);
  c.bFontIs_FIXED_PITCH = 1;
  c.khlf = InterfaceFont();

  c.bBackUp = 0;
  c.bBackUpDialog = 1;
  c.bBackUpFolder = 0;
  c.nBackUpType = 2;
  c.bBackUpType2_Opt1 = 0x38;
  c.bBackUpType2_Opt2 = 0x0062000A;
  c.bBackUpType2_Opt3 = 5;
  c.bBackUpType2_Opt4 = 0;
  c.nFileShareMode = 0x20;
  c.bHtmlHelpIsSingle = 1;

  c.nMRUArrNum_MAX = 15;
  c.nOPENFOLDERArrNum_MAX = 15;
  c.bDispTOOLBAR = 1;
  c.bDispSTATUSBAR = 1;
  c.bDispFUNCKEYWND = 0;
  c.nFUNCKEYWND_Place = 1;
  c.nFUNCKEYWND_GroupNum = 4;
  c.bSortTabList = 1;
  c.bSplitterWndHScroll = 1;
  c.bSplitterWndVScroll = 1;
  c.bScrollBarHorz = 1;
  c.bMenuIcon = 1;
  c.nRulerHeight = 13;
  c.nVertLineOffset = -1;

  c.bSaveWindowSize = 1;
  c.nWinSizeType = 0;
  c.nWinSizeCX = kNoWindowPosition;
  c.nWinSizeCY = 0;
  c.nSaveWindowPos = 0;
  c.nWinPosX = kNoWindowPosition;
  c.nWinPosY = 0;

  c.bTaskTrayUse = 1;
  c.bTaskTrayStay = 1;
  c.wTrayMenuHotKeyCode = 0x5A;
  c.wTrayMenuHotKeyMods = 6;

  c.bUseOLE_DragDrop = 1;
  c.bUseOLE_DropSource = 1;
  c.nDropFileNumMax = 8;
  c.bCheckFileTimeStamp = 1;
  c.bCompareAndTileHorz = 1;
  c.bQueryIfCodeChange = 1;
  c.rcOpenDialog = RECT{};

  c.nDateFormatType = 0;
  CopyText(c.szDateFormat, "yyyy'年'M'月'd'日('dddd')'"_sj);
  c.nTimeFormatType = 0;
  CopyText(c.szTimeFormat, "tthh'時'mm'分'ss'秒'"_sj);

  CopyText(
      c.szMidashiKigou,
      "１２３４５６７８９０（(［[「『【■□▲△▼▽◆◇○◎●§・※☆★第①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ一二三四五六七八九十壱弐参伍"_sj);
  CopyText(c.szInyouKigou, "> ");

  CopyText(
      c.szTabWndCaption,
      "${w?【Grep】$h$:【アウトプット】$:$f$}${U?(更新)$}${R?(読みとり専用)$:(上書き禁止)$}${M?【キーマクロの記録中】$}"_sj);
  CopyText(
      c.szWinCaptionActive,
      "${w?$h$:アウトプット$:${I?$f$:$N$}$}${U?(更新)$} - tovara $V ${R?(読みとり専用)$:（上書き禁止）$}${M?  【キーマクロの記録中】$}"_sj);
  CopyText(
      c.szWinCaptionInactive,
      "${w?$h$:アウトプット$:$f$}${U?(更新)$} - tovara $V ${R?(読みとり専用)$:（上書き禁止）$}${M?  【キーマクロの記録中】$}"_sj);
}

}  // namespace

int32_t ProductVersionHigh() { return (TOVARA_VERSION_MAJOR << 16) | TOVARA_VERSION_MINOR; }
int32_t ProductVersionLow() { return (TOVARA_VERSION_BUILD << 16) | TOVARA_VERSION_REVISION; }

LOGFONT InterfaceFont() {
  // Without a desktop to ask, the editor uses the interface font the platform layer renders with.
  LOGFONT f{};
  f.lfHeight = -12;
  f.lfWeight = 400;
  f.lfCharSet = 128;
  f.lfPitchAndFamily = 0x32;
  CopyText(f.lfFaceName, "ＭＳ Ｐゴシック"_sj);
  return f;
}

std::string CShareData::ExecutableFolder() {
  std::string exe;
  if (!platform::ExactModuleFileName(exe)) return {};
  std::string folder;
  SplitFolderAndFile(exe.c_str(), &folder, nullptr);
  AddTrailingBackslash(folder);
  return folder;
}

void CShareData::SetKeyAssignment(SharedSettings& settings, int index, int keyCode, const char* keyName,
                                  const int (&commands)[8]) {
  if (index < 0 || index >= kKeyAssignSlots) return;
  KeyAssignRecord& r = settings.KeyAssigns[index];
  r.nKeyCode = static_cast<uint16_t>(keyCode);
  CopyText(r.szKeyName, keyName);
  for (int m = 0; m < 8; ++m) r.nCommands[m] = commands[m];
}

void CShareData::SetDefaultKeyAssignments(SharedSettings& settings) {
  for (size_t i = 0; i < std::size(kDefaultKeys); ++i)
    SetKeyAssignment(settings, static_cast<int>(i), kDefaultKeys[i].code, kDefaultKeys[i].name,
                     kDefaultKeys[i].commands);
  settings.nKeyAssignCount = static_cast<int32_t>(std::size(kDefaultKeys));
}

void CShareData::SetDefaultToolbar(SharedSettings& settings) {
  CommonSettings& c = settings.Common;
  c.nToolBarButtonNum = static_cast<int32_t>(std::size(kDefaultToolbar));
  c.bToolBarIsFlat = 1;
  for (size_t i = 0; i < std::size(kDefaultToolbar); ++i) c.nTBB[i] = kDefaultToolbar[i];
}

void CShareData::SetDefaultCustomMenus(SharedSettings& settings) {
  CommonSettings& c = settings.Common;
  for (int m = 0; m < kCustomMenuCount; ++m) {
    if (m == 0)
      CopyText(c.szCMN[m], "右クリックメニュー"_sj);
    else if (m == kCustomMenuCount - 1)
      CopyText(c.szCMN[m], "タブメニュー"_sj);
    else
      std::snprintf(c.szCMN[m], sizeof c.szCMN[m], "メニュー%d"_sj, m);
    c.nCMIN[m] = 0;
    std::memset(c.nCMIF[m], 0, sizeof c.nCMIF[m]);
    std::memset(c.nCMIK[m], 0, sizeof c.nCMIK[m]);
  }
  SetMenuItems(c, 0, kRightClickMenu);
  SetMenuItems(c, 1, kMenu1);
  SetMenuItems(c, kCustomMenuCount - 1, kTabMenu);
}

void CShareData::SetDefaultPrintSettings(SharedSettings& settings) {
  PrintSettings& p = settings.PrintSettingList[0];
  p = PrintSettings{};
  std::snprintf(p.szSName, sizeof p.szSName, "印刷設定 %d"_sj, 1);
  CopyText(p.szFF, "ＭＳ 明朝"_sj);
  CopyText(p.szFFZ, "ＭＳ 明朝"_sj);
  p.nFontWidth = 12;
  p.nFontHeight = 24;
  p.nColumns = 1;
  p.nColumnGap = 70;
  p.nLineSpacing = 30;
  p.nMarginTop = 100;
  p.nMarginBottom = 200;
  p.nMarginLeft = 200;
  p.nMarginRight = 100;
  p.nOrientation = 1;
  p.nPaperSize = 9;
  p.bWrapWords = 1;
  p.nHeaderOpt[0] = 1;
  CopyText(p.szHF[0], "$f");
  p.nFooterOpt[0] = 1;
  CopyText(p.szFTF[1], "- $p -");
  for (int i = 1; i < kPrintSettingSlots; ++i) {
    settings.PrintSettingList[i] = p;
    std::snprintf(settings.PrintSettingList[i].szSName, sizeof p.szSName, "印刷設定 %d"_sj, i + 1);
  }
}

void CShareData::InitDefaults(SharedSettings& s) {
  s.nLayoutVersion = kSharedLayoutVersion;
  s.bKeyMacroRecording = 0;
  s.hwndKeyMacroRecorder = 0;
  s.szKeyMacroFile[0] = '\0';
  s.nProductVersionHigh = ProductVersionHigh();
  s.nProductVersionLow = ProductVersionLow();
  s.hwndResident = s.hwndOutput = s.hSharedAccel = 0;
  s.nLastWindowNumber = s.nEditWindowCount = 0;
  s.wpSavedEditWindow.length = 0;

  s.nRecentFileCount = 0;
  std::memset(s.RecentFiles, 0, sizeof s.RecentFiles);
  std::memset(s.bRecentFileFavorite, 0, sizeof s.bRecentFileFavorite);
  s.nRecentFolderCount = 0;
  std::memset(s.szRecentFolders, 0, sizeof s.szRecentFolders);
  std::memset(s.bRecentFolderFavorite, 0, sizeof s.bRecentFolderFavorite);
  s.nSearchKeyCount = s.nReplaceKeyCount = s.nGrepFolderCount = 0;
  std::memset(s.szSearchKeys, 0, sizeof s.szSearchKeys);
  std::memset(s.szReplaceKeys, 0, sizeof s.szReplaceKeys);
  std::memset(s.szGrepFolders, 0, sizeof s.szGrepFolders);
  std::memset(s.szGrepFiles, 0, sizeof s.szGrepFiles);
  s.nGrepFileCount = 1;
  CopyText(s.szGrepFiles[0], "*.*");

  const std::string exeFolder = ExecutableFolder();
  CopyText(s.szMACROFOLDER, exeFolder.size() < kMaxPath ? exeFolder.c_str() : "");
  CopyText(s.szIMPORTFOLDER, s.szMACROFOLDER);

  std::memset(s.szNicknameFrom, 0, sizeof s.szNicknameFrom);
  std::memset(s.szNicknameTo, 0, sizeof s.szNicknameTo);
  for (size_t i = 0; i < std::size(kNicknames); ++i) {
    CopyText(s.szNicknameFrom[i], kNicknames[i].from);
    CopyText(s.szNicknameTo[i], kNicknames[i].to);
  }
  s.nNicknameCount = static_cast<int32_t>(std::size(kNicknames));

  std::memset(s.szCmdArr, 0, sizeof s.szCmdArr);
  s.nCmdArrNum = 0;
  std::memset(s.MacroSlots, 0, sizeof s.MacroSlots);
  s.nReturnPointCount = s.nReturnPointTop = 0;

  SetDefaultPrintSettings(s);
  SetDefaultKeyAssignments(s);
  SetDefaultCommon(s.Common);
  SetDefaultToolbar(s);
  SetDefaultCustomMenus(s);
  SetDefaultKeywordSets(s);
  SetDefaultTypes(s);

  s.bGetStdout = 1;
  s.bLineNumIsCRLF = 1;
  s.nDiffFlgOpt = 0;
  s.nTagsOpt = 0;
  s.szTagsCmdLine[0] = '\0';
  s.nTagJumpKeywordCount = 0;
  std::memset(s.szTagJumpKeywords, 0, sizeof s.szTagJumpKeywords);
  s.m_bTagJumpICase = 0;
  s.m_bTagJumpAnyWhere = 0;
}
