// The editor's shared settings record: every setting, history and the list of open edit windows,
// mapped by every editor process at once. Processes of different builds may meet on one mapping,
// so the layout is a fixed format: fixed-width fields only, pinned by the static_asserts in
// shared_settings.cpp; a change of any offset must change kSharedLayoutVersion.
//
// Window handles are the 32-bit ids that name a window and its process; the accelerator handle
// stays 0, since each process builds its own table from the key assignments.
#pragma once

#include <cstdint>

#include "editor/foundation/settings/comment_delimiters.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/settings/keyword_set_table.h"
#include "platform/win_types.h"

constexpr int32_t kSharedLayoutVersion = 65;

struct RecentFileRecord {
  int32_t nViewTopLine;
  int32_t nViewLeftCol;
  int32_t nX;
  int32_t nY;
  int32_t bModified;
  int32_t nCharCode;
  char szPath[kMaxPath];
  int32_t bGrepWindow;
  int32_t bOutputWindow;
  char szGrepText[1024];
  char szMark[1024];
  char szTypeText[8];
  int32_t nRequestWidth;
  int32_t nRequestHeight;
  int32_t nRequestX;
  int32_t nRequestY;
};

// A record that requests nothing: no window size (-1) and no position.
constexpr int32_t kNoWindowPosition = INT32_MIN;  // 0x80000000
constexpr RecentFileRecord kEmptyRecentFileRecord = {
    0, 0, 0, 0, 0, 0, {}, 0, 0, {}, {}, {}, -1, -1, kNoWindowPosition, kNoWindowPosition};

struct EditWindowEntry {
  int32_t nWindowNumber;
  uint32_t hwnd;
  char szTabCaption[kMaxPath];
  char szFilePath[kMaxPath];
  int32_t bGrepWindow;
};

struct MacroSlotRecord {
  char Name[64];
  char File[kMaxPath];
  int32_t ReloadWhenExecute;
  uint8_t reserved[4];  // kept 0
};

struct TagJumpReturnPoint {
  uint32_t hwnd;
  int32_t nCaretX;
  int32_t nCaretY;
};

constexpr int kCustomMenuCount = 25;
constexpr int kCustomMenuItems = 48;
constexpr int kToolBarButtonSlots = 384;

struct CommonSettings {
  int32_t nCaretType;
  int32_t bInsertModeDefault;
  int32_t bIsFreeCursorMode;
  int32_t bStopsBothEndsWhenSearchWord;
  int32_t bStopsBothEndsWhenSearchParagraph;
  int32_t m_bRestoreCurPosition;
  int32_t m_bRestoreBookmarks;
  int32_t bAddCRLFWhenCopy;
  int32_t nRepeatedScrollLineNum;
  int32_t nRepeatedScroll_Smooth;
  int32_t bExitConfirm;
  int32_t bSearchRegularExp;
  int32_t bSearchLoHiCase;
  int32_t bSearchWordOnly;
  int32_t bSearchNOTIFYNOTFOUND;
  int32_t bSearchSelectedArea;
  int32_t bGrepSubFolder;
  int32_t bGrepOutputLine;
  int32_t nGrepOutputStyle;
  int32_t bGrepDefaultFolder;
  int32_t nGrepCharSet;
  int32_t bGrepRealTime;
  int32_t bGTJW_RETURN;
  int32_t bGTJW_LDBLCLK;
  LOGFONT lf;
  int32_t bFontIs_FIXED_PITCH;
  int32_t bBackUp;
  int32_t bBackUpDialog;
  int32_t bBackUpFolder;
  char szBackUpFolder[kMaxPath];
  int32_t nBackUpType;
  int32_t bBackUpType2_Opt1;
  int32_t bBackUpType2_Opt2;
  int32_t bBackUpType2_Opt3;
  int32_t bBackUpType2_Opt4;
  int32_t reserved0[2];
  int32_t bBackUpDustBox;
  int32_t bBackUpPathAdvanced;
  char szBackUpPathAdvanced[kMaxPath];
  int32_t nFileShareMode;
  char szExtHelp[kMaxPath];
  char szExtHtmlHelp[kMaxPath];
  LOGFONT khlf;
  int32_t nToolBarButtonNum;
  int32_t nTBB[kToolBarButtonSlots];
  int32_t bToolBarIsFlat;
  int32_t nMRUArrNum_MAX;
  int32_t nOPENFOLDERArrNum_MAX;
  int32_t bDispTOOLBAR;
  int32_t bDispSTATUSBAR;
  int32_t bDispFUNCKEYWND;
  int32_t nFUNCKEYWND_Place;
  int32_t nFUNCKEYWND_GroupNum;
  int32_t bDispTabWnd;
  int32_t bDispTabWndMultiWin;
  char szTabWndCaption[256];
  int32_t bSameTabWidth;
  int32_t bDispTabIcon;
  int32_t bSortTabList;
  int32_t bSplitterWndHScroll;
  int32_t bSplitterWndVScroll;
  char szCMN[kCustomMenuCount][33];
  uint8_t padding0[3];
  int32_t nCMIN[kCustomMenuCount];
  int32_t nCMIF[kCustomMenuCount][kCustomMenuItems];
  char nCMIK[kCustomMenuCount][kCustomMenuItems];
  char szMidashiKigou[256];
  char szInyouKigou[32];
  int32_t bUseHokan;
  int32_t bSaveWindowSize;
  int32_t nWinSizeType;
  int32_t nWinSizeCX;
  int32_t nWinSizeCY;
  int32_t nSaveWindowPos;
  int32_t nWinPosX;
  int32_t nWinPosY;
  int32_t bTaskTrayUse;
  int32_t bTaskTrayStay;
  uint16_t wTrayMenuHotKeyCode;
  uint16_t wTrayMenuHotKeyMods;
  int32_t bUseOLE_DragDrop;
  int32_t bUseOLE_DropSource;
  int32_t bDispExitingDialog;
  int32_t bEnableUnmodifiedOverwrite;
  int32_t reserved1;
  int32_t bSelectClickedURL;
  int32_t bGrepExitConfirm;
  int32_t nRulerHeight;
  int32_t nRulerBottomSpace;
  int32_t nRulerType;
  int32_t nLineNumberRightSpace;
  int32_t nVertLineOffset;
  int32_t bCopyAndDisablSelection;
  int32_t bHtmlHelpIsSingle;
  int32_t bCompareAndTileHorz;
  int32_t bDropFileAndClose;
  int32_t nDropFileNumMax;
  int32_t bCheckFileTimeStamp;
  int32_t bNotOverWriteCRLF;
  RECT rcOpenDialog;
  int32_t bAutoCloseDlgFind;
  int32_t bScrollBarHorz;
  int32_t bAutoCloseDlgFuncList;
  int32_t bAutoCloseDlgReplace;
  int32_t bSearchAll;
  int32_t bAutoColmnPaste;
  int32_t bHokanKey_RETURN;
  int32_t bHokanKey_TAB;
  int32_t bHokanKey_RIGHT;
  int32_t bHokanKey_SPACE;
  int32_t nDateFormatType;
  char szDateFormat[100];
  int32_t nTimeFormatType;
  char szTimeFormat[100];
  int32_t bMenuIcon;
  int32_t bAutoMIMEdecode;
  int32_t bQueryIfCodeChange;
  int32_t bAlertIfFileNotExist;
  int32_t bMarkUpBlankLineEnable;
  int32_t bFunclistSetFocusOnJump;
  char szWinCaptionActive[256];
  char szWinCaptionInactive[256];
  char szMigemoDll[kMaxPath];
  char szMigemoDict[kMaxPath];
  int32_t bRememberOutlineWindowPos;
  int32_t widthOutlineWindow;
  int32_t heightOutlineWindow;
  int32_t xOutlineWindowPos;
  int32_t yOutlineWindowPos;
};

struct KeyAssignRecord {
  uint16_t nKeyCode;
  char szKeyName[66];
  int32_t nCommands[8];  // indexed by Shift 1 + Ctrl 2 + Alt 4
};

// The printer's device block as the printing code keeps it.
struct PrintDeviceBlock {
  int32_t nDevIndex;
  char szDriverName[261];
  char szDeviceName[261];
  char szOutputPort[261];
  uint8_t padding0;  // where the 32-bit field below aligns
  int32_t dmFields;
  int16_t dmOrientation;
  int16_t dmPaperSize;
  int16_t dmPaperLength;
  int16_t dmPaperWidth;
};

struct PrintSettings {
  char szSName[33];
  char szFF[32];
  char szFFZ[32];
  uint8_t padding0[3];
  int32_t nFontWidth;
  int32_t nFontHeight;
  int32_t nColumns;
  int32_t nColumnGap;
  int32_t nLineSpacing;
  int32_t nMarginTop;
  int32_t nMarginBottom;
  int32_t nMarginLeft;
  int32_t nMarginRight;
  int32_t nOrientation;
  int32_t nPaperSize;
  int32_t bWrapWords;
  int32_t bKinsokuHead;
  int32_t bKinsokuTail;
  int32_t bKinsokuRet;
  int32_t bKinsokuKuto;
  int32_t bLineNumbers;
  PrintDeviceBlock DeviceBlock;
  uint8_t reserved[72];  // kept 0
  int32_t nHeaderOpt[3];
  char szHF[3][100];
  int32_t nFooterOpt[3];
  char szFTF[3][100];
};

constexpr int kColorItemCount = 44;  // used slots of a type's colour array
constexpr int kColorItemSlots = 64;

struct ColorItem {
  int32_t nCode;
  int32_t bShow;
  int32_t bBold;
  int32_t bUnderline;
  COLORREF colText;
  COLORREF colBack;
  char szName[92];
};

// The settings-file key of each colour code (the index into a type's Colors).
constexpr const char* kColorItemKeys[kColorItemCount] = {
    "TXT", "RUL", "UND", "LNO", "MOD", "TAB", "SPC", "ZEN", "CTL", "EOL", "RAP", "VER", "EOF", "NUM", "FND",
    "KW1", "KW2", "KW3", "KW4", "KW5", "KW6", "KW7", "KW8", "KW9", "KWA", "CMT", "SQT", "WQT", "URL", "RK1",
    "RK2", "RK3", "RK4", "RK5", "RK6", "RK7", "RK8", "RK9", "RKA", "DFA", "DFC", "DFD", "BRC", "MRK"};
// The colour code of a key, compared exactly; -1 for none. And the key of a code (null outside
// 0-43).
int FindColorItemIndex(const char* key);
const char* GetColorItemKey(int index);

constexpr int kRegexKeywordCount = 100;
struct RegexKeywordRecord {
  char szPattern[100];
  int32_t nColorCode;
};

constexpr int kKeywordColorCount = 10;  // KW1 to KWA

struct TypeSettings {
  int32_t nIndex;
  char szTypeName[64];
  char szTypeExts[64];
  int32_t nWrapColumn;
  int32_t nCharSpacing;
  int32_t nLineSpace;
  int32_t nTabWidth;
  int32_t bTabArrow;
  char szTabViewString[17];
  uint8_t padding0[3];
  int32_t bInsSpace;
  int32_t nKeywordSelect[kKeywordColorCount];
  CLineCommentSet LineComments;
  CCommentDelimiters BlockComments;
  int32_t nQuoteEscape;
  char szIndentChars[64];
  int32_t nColorCount;
  ColorItem Colors[kColorItemSlots];
  int32_t bCountDocumentLines;
  int32_t nLineNumberSeparator;
  char cLineTermChar;
  uint8_t padding1[3];
  int32_t nVertLineIdx[10];
  int32_t bEnglishWordWrap;
  int32_t bKinsokuHead;
  int32_t bKinsokuTail;
  int32_t bKinsokuRet;
  int32_t bKinsokuKuto;
  char szKinsokuHead[200];
  char szKinsokuTail[200];
  int32_t nPrintSetting;
  int32_t nDefaultOutline;
  char szOutlineRuleFilename[kMaxPath];
  int32_t nSmartIndent;
  int32_t nImeState;
  char szHokanFile[kMaxPath];
  int32_t bUseHokanByFile;
  int32_t bUseKeyWordHelp;
  char szKeyWordHelpFile[kMaxPath];
  int32_t bHokanLoHiCase;
  char szExtHelp[kMaxPath];
  char szExtHtmlHelp[kMaxPath];
  int32_t bHtmlHelpIsSingle;
  int32_t bUseRegexKeyword;
  int32_t nChangeCounter;
  RegexKeywordRecord RegexKeywords[kRegexKeywordCount];
  int32_t bAutoIndent;
  int32_t bAutoIndent_ZENSPACE;
  int32_t bRTrimPrevLine;
  int32_t nIndentLayout;
  int32_t bUseDocumentIcon;
};

constexpr int kEditWindowSlots = 256;
constexpr int kRecentFileSlots = 36;
constexpr int kRecentFolderSlots = 36;
constexpr int kNicknameSlots = 16;
constexpr int kHistorySlots = 30;
constexpr int kMacroSlots = 50;
constexpr int kReturnPointSlots = 100;
constexpr int kCommandHistorySlots = 32;
constexpr int kCommandTextSize = 1024;
constexpr int kKeyAssignSlots = 100;
constexpr int kPrintSettingSlots = 8;
constexpr int kTypeSlots = 20;
constexpr int kExchangeTextSize = 32000;

struct SharedSettings {
  int32_t nLayoutVersion;
  char szExchangeText[kExchangeTextSize];
  RecentFileRecord ExchangeFileInfo;
  int32_t nProductVersionHigh;
  int32_t nProductVersionLow;
  uint32_t hwndResident;
  uint32_t hwndOutput;
  uint32_t hSharedAccel;
  int32_t nLastWindowNumber;
  int32_t nEditWindowCount;
  EditWindowEntry EditWindowList[kEditWindowSlots];
  WINDOWPLACEMENT wpSavedEditWindow;
  int32_t nRecentFileCount;
  RecentFileRecord RecentFiles[kRecentFileSlots];
  uint8_t bRecentFileFavorite[kRecentFileSlots];
  int32_t nRecentFolderCount;
  char szRecentFolders[kRecentFolderSlots][kMaxPath];
  uint8_t bRecentFolderFavorite[kRecentFolderSlots];
  int32_t nNicknameCount;
  char szNicknameFrom[kNicknameSlots][kMaxPath];
  char szNicknameTo[kNicknameSlots][kMaxPath];
  int32_t nSearchKeyCount;
  char szSearchKeys[kHistorySlots][kMaxPath];
  int32_t nReplaceKeyCount;
  char szReplaceKeys[kHistorySlots][kMaxPath];
  int32_t nGrepFileCount;
  char szGrepFiles[kHistorySlots][kMaxPath];
  int32_t nGrepFolderCount;
  char szGrepFolders[kHistorySlots][kMaxPath];
  char szMACROFOLDER[kMaxPath];
  char szIMPORTFOLDER[kMaxPath];
  MacroSlotRecord MacroSlots[kMacroSlots];
  int32_t nReturnPointCount;
  int32_t nReturnPointTop;
  TagJumpReturnPoint ReturnPoints[kReturnPointSlots];
  char szCmdArr[kCommandHistorySlots][kCommandTextSize];
  int32_t nCmdArrNum;
  CommonSettings Common;
  int32_t nKeyAssignCount;
  KeyAssignRecord KeyAssigns[kKeyAssignSlots];
  PrintSettings PrintSettingList[kPrintSettingSlots];
  CKeywordSetTable KeywordSets;
  TypeSettings TypeList[kTypeSlots];
  int32_t bKeyMacroRecording;
  uint32_t hwndKeyMacroRecorder;
  char szKeyMacroFile[kMaxPath];
  int32_t bGetStdout;
  int32_t bLineNumIsCRLF;
  int32_t nDiffFlgOpt;
  char szTagsCmdLine[kMaxPath];
  int32_t nTagsOpt;
  int32_t nTagJumpKeywordCount;
  char szTagJumpKeywords[kHistorySlots][kMaxPath];
  int32_t m_bTagJumpICase;
  int32_t m_bTagJumpAnyWhere;
};
