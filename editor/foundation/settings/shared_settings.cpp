// The layout of the shared settings record is a format that processes of other builds read: these
// assertions pin every size and offset of it. Also the lookups of the colour keys.
#include "editor/foundation/settings/shared_settings.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace {

constexpr size_t CommonAt(size_t offset) { return offsetof(SharedSettings, Common) + offset; }

}  // namespace

static_assert(std::is_standard_layout_v<SharedSettings> && std::is_trivially_copyable_v<SharedSettings>);
static_assert(sizeof(SharedSettings) == 1762780);
static_assert(sizeof(RecentFileRecord) == 2364);
static_assert(sizeof(EditWindowEntry) == 532);
static_assert(sizeof(MacroSlotRecord) == 332 && offsetof(MacroSlotRecord, File) == 64 &&
              offsetof(MacroSlotRecord, ReloadWhenExecute) == 324);
static_assert(sizeof(TagJumpReturnPoint) == 12 && offsetof(TagJumpReturnPoint, nCaretX) == 4 &&
              offsetof(TagJumpReturnPoint, nCaretY) == 8);
static_assert(sizeof(CommonSettings) == 11844);
static_assert(sizeof(KeyAssignRecord) == 100 && offsetof(KeyAssignRecord, szKeyName) == 2 &&
              offsetof(KeyAssignRecord, nCommands) == 68);
static_assert(sizeof(PrintSettings) == 1664);
static_assert(sizeof(TypeSettings) == 20096);
static_assert(sizeof(ColorItem) == 116 && offsetof(ColorItem, bShow) == 4 && offsetof(ColorItem, bBold) == 8 &&
              offsetof(ColorItem, bUnderline) == 12 && offsetof(ColorItem, colText) == 16 &&
              offsetof(ColorItem, colBack) == 20 && offsetof(ColorItem, szName) == 24);
static_assert(sizeof(RegexKeywordRecord) == 104 && offsetof(RegexKeywordRecord, nColorCode) == 100);
static_assert(sizeof(CKeywordSetTable) == 961528);
static_assert(sizeof(CLineCommentSet) == 72 && sizeof(CCommentDelimiters) == 80);
static_assert(sizeof(LOGFONT) == 60 && offsetof(LOGFONT, lfItalic) == 20 && offsetof(LOGFONT, lfFaceName) == 28);
static_assert(sizeof(WINDOWPLACEMENT) == 44 && offsetof(WINDOWPLACEMENT, rcNormalPosition) == 28);
static_assert(sizeof(RECT) == 16);
static_assert(sizeof(kColorItemKeys) / sizeof(kColorItemKeys[0]) == kColorItemCount);

// The record.
static_assert(offsetof(SharedSettings, nLayoutVersion) == 0);
static_assert(offsetof(SharedSettings, szExchangeText) == 4);
static_assert(offsetof(SharedSettings, ExchangeFileInfo) == 32004);
static_assert(offsetof(SharedSettings, nProductVersionHigh) == 34368);
static_assert(offsetof(SharedSettings, nProductVersionLow) == 34372);
static_assert(offsetof(SharedSettings, hwndResident) == 34376);
static_assert(offsetof(SharedSettings, hwndOutput) == 34380);
static_assert(offsetof(SharedSettings, hSharedAccel) == 34384);
static_assert(offsetof(SharedSettings, nLastWindowNumber) == 34388);
static_assert(offsetof(SharedSettings, nEditWindowCount) == 34392);
static_assert(offsetof(SharedSettings, EditWindowList) == 34396);
static_assert(offsetof(SharedSettings, wpSavedEditWindow) == 170588);
static_assert(offsetof(SharedSettings, nRecentFileCount) == 170632);
static_assert(offsetof(SharedSettings, RecentFiles) == 170636);
static_assert(offsetof(SharedSettings, bRecentFileFavorite) == 255740);
static_assert(offsetof(SharedSettings, nRecentFolderCount) == 255776);
static_assert(offsetof(SharedSettings, szRecentFolders) == 255780);
static_assert(offsetof(SharedSettings, bRecentFolderFavorite) == 265140);
static_assert(offsetof(SharedSettings, nNicknameCount) == 265176);
static_assert(offsetof(SharedSettings, szNicknameFrom) == 265180);
static_assert(offsetof(SharedSettings, szNicknameTo) == 269340);
static_assert(offsetof(SharedSettings, nSearchKeyCount) == 273500);
static_assert(offsetof(SharedSettings, szSearchKeys) == 273504);
static_assert(offsetof(SharedSettings, nReplaceKeyCount) == 281304);
static_assert(offsetof(SharedSettings, szReplaceKeys) == 281308);
static_assert(offsetof(SharedSettings, nGrepFileCount) == 289108);
static_assert(offsetof(SharedSettings, szGrepFiles) == 289112);
static_assert(offsetof(SharedSettings, nGrepFolderCount) == 296912);
static_assert(offsetof(SharedSettings, szGrepFolders) == 296916);
static_assert(offsetof(SharedSettings, szMACROFOLDER) == 304716);
static_assert(offsetof(SharedSettings, szIMPORTFOLDER) == 304976);
static_assert(offsetof(SharedSettings, MacroSlots) == 305236);
static_assert(offsetof(SharedSettings, nReturnPointCount) == 321836);
static_assert(offsetof(SharedSettings, nReturnPointTop) == 321840);
static_assert(offsetof(SharedSettings, ReturnPoints) == 321844);
static_assert(offsetof(SharedSettings, szCmdArr) == 323044);
static_assert(offsetof(SharedSettings, nCmdArrNum) == 355812);
static_assert(offsetof(SharedSettings, Common) == 355816);
static_assert(offsetof(SharedSettings, nKeyAssignCount) == 367660);
static_assert(offsetof(SharedSettings, KeyAssigns) == 367664);
static_assert(offsetof(SharedSettings, PrintSettingList) == 377664);
static_assert(offsetof(SharedSettings, KeywordSets) == 390976);
static_assert(offsetof(SharedSettings, TypeList) == 1352504);
static_assert(offsetof(SharedSettings, bKeyMacroRecording) == 1754424);
static_assert(offsetof(SharedSettings, hwndKeyMacroRecorder) == 1754428);
static_assert(offsetof(SharedSettings, szKeyMacroFile) == 1754432);
static_assert(offsetof(SharedSettings, bGetStdout) == 1754692);
static_assert(offsetof(SharedSettings, bLineNumIsCRLF) == 1754696);
static_assert(offsetof(SharedSettings, nDiffFlgOpt) == 1754700);
static_assert(offsetof(SharedSettings, szTagsCmdLine) == 1754704);
static_assert(offsetof(SharedSettings, nTagsOpt) == 1754964);
static_assert(offsetof(SharedSettings, nTagJumpKeywordCount) == 1754968);
static_assert(offsetof(SharedSettings, szTagJumpKeywords) == 1754972);
static_assert(offsetof(SharedSettings, m_bTagJumpICase) == 1762772);
static_assert(offsetof(SharedSettings, m_bTagJumpAnyWhere) == 1762776);

// A recent file; also the exchanged file information.
static_assert(offsetof(RecentFileRecord, nViewTopLine) == 0);
static_assert(offsetof(RecentFileRecord, nViewLeftCol) == 4);
static_assert(offsetof(RecentFileRecord, nX) == 8);
static_assert(offsetof(RecentFileRecord, nY) == 12);
static_assert(offsetof(RecentFileRecord, bModified) == 16);
static_assert(offsetof(RecentFileRecord, nCharCode) == 20);
static_assert(offsetof(RecentFileRecord, szPath) == 24);
static_assert(offsetof(RecentFileRecord, bGrepWindow) == 284);
static_assert(offsetof(RecentFileRecord, bOutputWindow) == 288);
static_assert(offsetof(RecentFileRecord, szGrepText) == 292);
static_assert(offsetof(RecentFileRecord, szMark) == 1316);
static_assert(offsetof(RecentFileRecord, szTypeText) == 2340);
static_assert(offsetof(RecentFileRecord, nRequestWidth) == 2348);
static_assert(offsetof(RecentFileRecord, nRequestHeight) == 2352);
static_assert(offsetof(RecentFileRecord, nRequestX) == 2356);
static_assert(offsetof(RecentFileRecord, nRequestY) == 2360);

// An edit window of the list.
static_assert(offsetof(EditWindowEntry, nWindowNumber) == 0);
static_assert(offsetof(EditWindowEntry, hwnd) == 4);
static_assert(offsetof(EditWindowEntry, szTabCaption) == 8);
static_assert(offsetof(EditWindowEntry, szFilePath) == 268);
static_assert(offsetof(EditWindowEntry, bGrepWindow) == 528);

// The common settings, at their offsets in the record.
static_assert(CommonAt(offsetof(CommonSettings, nCaretType)) == 355816);
static_assert(CommonAt(offsetof(CommonSettings, bInsertModeDefault)) == 355820);
static_assert(CommonAt(offsetof(CommonSettings, bIsFreeCursorMode)) == 355824);
static_assert(CommonAt(offsetof(CommonSettings, bStopsBothEndsWhenSearchWord)) == 355828);
static_assert(CommonAt(offsetof(CommonSettings, bStopsBothEndsWhenSearchParagraph)) == 355832);
static_assert(CommonAt(offsetof(CommonSettings, m_bRestoreCurPosition)) == 355836);
static_assert(CommonAt(offsetof(CommonSettings, m_bRestoreBookmarks)) == 355840);
static_assert(CommonAt(offsetof(CommonSettings, bAddCRLFWhenCopy)) == 355844);
static_assert(CommonAt(offsetof(CommonSettings, nRepeatedScrollLineNum)) == 355848);
static_assert(CommonAt(offsetof(CommonSettings, nRepeatedScroll_Smooth)) == 355852);
static_assert(CommonAt(offsetof(CommonSettings, bExitConfirm)) == 355856);
static_assert(CommonAt(offsetof(CommonSettings, bSearchRegularExp)) == 355860);
static_assert(CommonAt(offsetof(CommonSettings, bSearchLoHiCase)) == 355864);
static_assert(CommonAt(offsetof(CommonSettings, bSearchWordOnly)) == 355868);
static_assert(CommonAt(offsetof(CommonSettings, bSearchNOTIFYNOTFOUND)) == 355872);
static_assert(CommonAt(offsetof(CommonSettings, bSearchSelectedArea)) == 355876);
static_assert(CommonAt(offsetof(CommonSettings, bGrepSubFolder)) == 355880);
static_assert(CommonAt(offsetof(CommonSettings, bGrepOutputLine)) == 355884);
static_assert(CommonAt(offsetof(CommonSettings, nGrepOutputStyle)) == 355888);
static_assert(CommonAt(offsetof(CommonSettings, bGrepDefaultFolder)) == 355892);
static_assert(CommonAt(offsetof(CommonSettings, nGrepCharSet)) == 355896);
static_assert(CommonAt(offsetof(CommonSettings, bGrepRealTime)) == 355900);
static_assert(CommonAt(offsetof(CommonSettings, bGTJW_RETURN)) == 355904);
static_assert(CommonAt(offsetof(CommonSettings, bGTJW_LDBLCLK)) == 355908);
static_assert(CommonAt(offsetof(CommonSettings, lf)) == 355912);
static_assert(CommonAt(offsetof(CommonSettings, bFontIs_FIXED_PITCH)) == 355972);
static_assert(CommonAt(offsetof(CommonSettings, bBackUp)) == 355976);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpDialog)) == 355980);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpFolder)) == 355984);
static_assert(CommonAt(offsetof(CommonSettings, szBackUpFolder)) == 355988);
static_assert(CommonAt(offsetof(CommonSettings, nBackUpType)) == 356248);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpType2_Opt1)) == 356252);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpType2_Opt2)) == 356256);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpType2_Opt3)) == 356260);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpType2_Opt4)) == 356264);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpDustBox)) == 356276);
static_assert(CommonAt(offsetof(CommonSettings, bBackUpPathAdvanced)) == 356280);
static_assert(CommonAt(offsetof(CommonSettings, szBackUpPathAdvanced)) == 356284);
static_assert(CommonAt(offsetof(CommonSettings, nFileShareMode)) == 356544);
static_assert(CommonAt(offsetof(CommonSettings, szExtHelp)) == 356548);
static_assert(CommonAt(offsetof(CommonSettings, szExtHtmlHelp)) == 356808);
static_assert(CommonAt(offsetof(CommonSettings, khlf)) == 357068);
static_assert(CommonAt(offsetof(CommonSettings, nToolBarButtonNum)) == 357128);
static_assert(CommonAt(offsetof(CommonSettings, nTBB)) == 357132);
static_assert(CommonAt(offsetof(CommonSettings, bToolBarIsFlat)) == 358668);
static_assert(CommonAt(offsetof(CommonSettings, nMRUArrNum_MAX)) == 358672);
static_assert(CommonAt(offsetof(CommonSettings, nOPENFOLDERArrNum_MAX)) == 358676);
static_assert(CommonAt(offsetof(CommonSettings, bDispTOOLBAR)) == 358680);
static_assert(CommonAt(offsetof(CommonSettings, bDispSTATUSBAR)) == 358684);
static_assert(CommonAt(offsetof(CommonSettings, bDispFUNCKEYWND)) == 358688);
static_assert(CommonAt(offsetof(CommonSettings, nFUNCKEYWND_Place)) == 358692);
static_assert(CommonAt(offsetof(CommonSettings, nFUNCKEYWND_GroupNum)) == 358696);
static_assert(CommonAt(offsetof(CommonSettings, bDispTabWnd)) == 358700);
static_assert(CommonAt(offsetof(CommonSettings, bDispTabWndMultiWin)) == 358704);
static_assert(CommonAt(offsetof(CommonSettings, szTabWndCaption)) == 358708);
static_assert(CommonAt(offsetof(CommonSettings, bSameTabWidth)) == 358964);
static_assert(CommonAt(offsetof(CommonSettings, bDispTabIcon)) == 358968);
static_assert(CommonAt(offsetof(CommonSettings, bSortTabList)) == 358972);
static_assert(CommonAt(offsetof(CommonSettings, bSplitterWndHScroll)) == 358976);
static_assert(CommonAt(offsetof(CommonSettings, bSplitterWndVScroll)) == 358980);
static_assert(CommonAt(offsetof(CommonSettings, szCMN)) == 358984);
static_assert(CommonAt(offsetof(CommonSettings, nCMIN)) == 359812);
static_assert(CommonAt(offsetof(CommonSettings, nCMIF)) == 359912);
static_assert(CommonAt(offsetof(CommonSettings, nCMIK)) == 364712);
static_assert(CommonAt(offsetof(CommonSettings, szMidashiKigou)) == 365912);
static_assert(CommonAt(offsetof(CommonSettings, szInyouKigou)) == 366168);
static_assert(CommonAt(offsetof(CommonSettings, bUseHokan)) == 366200);
static_assert(CommonAt(offsetof(CommonSettings, bSaveWindowSize)) == 366204);
static_assert(CommonAt(offsetof(CommonSettings, nWinSizeType)) == 366208);
static_assert(CommonAt(offsetof(CommonSettings, nWinSizeCX)) == 366212);
static_assert(CommonAt(offsetof(CommonSettings, nWinSizeCY)) == 366216);
static_assert(CommonAt(offsetof(CommonSettings, nSaveWindowPos)) == 366220);
static_assert(CommonAt(offsetof(CommonSettings, nWinPosX)) == 366224);
static_assert(CommonAt(offsetof(CommonSettings, nWinPosY)) == 366228);
static_assert(CommonAt(offsetof(CommonSettings, bTaskTrayUse)) == 366232);
static_assert(CommonAt(offsetof(CommonSettings, bTaskTrayStay)) == 366236);
static_assert(CommonAt(offsetof(CommonSettings, wTrayMenuHotKeyCode)) == 366240);
static_assert(CommonAt(offsetof(CommonSettings, wTrayMenuHotKeyMods)) == 366242);
static_assert(CommonAt(offsetof(CommonSettings, bUseOLE_DragDrop)) == 366244);
static_assert(CommonAt(offsetof(CommonSettings, bUseOLE_DropSource)) == 366248);
static_assert(CommonAt(offsetof(CommonSettings, bDispExitingDialog)) == 366252);
static_assert(CommonAt(offsetof(CommonSettings, bEnableUnmodifiedOverwrite)) == 366256);
static_assert(CommonAt(offsetof(CommonSettings, bSelectClickedURL)) == 366264);
static_assert(CommonAt(offsetof(CommonSettings, bGrepExitConfirm)) == 366268);
static_assert(CommonAt(offsetof(CommonSettings, nRulerHeight)) == 366272);
static_assert(CommonAt(offsetof(CommonSettings, nRulerBottomSpace)) == 366276);
static_assert(CommonAt(offsetof(CommonSettings, nRulerType)) == 366280);
static_assert(CommonAt(offsetof(CommonSettings, nLineNumberRightSpace)) == 366284);
static_assert(CommonAt(offsetof(CommonSettings, nVertLineOffset)) == 366288);
static_assert(CommonAt(offsetof(CommonSettings, bCopyAndDisablSelection)) == 366292);
static_assert(CommonAt(offsetof(CommonSettings, bHtmlHelpIsSingle)) == 366296);
static_assert(CommonAt(offsetof(CommonSettings, bCompareAndTileHorz)) == 366300);
static_assert(CommonAt(offsetof(CommonSettings, bDropFileAndClose)) == 366304);
static_assert(CommonAt(offsetof(CommonSettings, nDropFileNumMax)) == 366308);
static_assert(CommonAt(offsetof(CommonSettings, bCheckFileTimeStamp)) == 366312);
static_assert(CommonAt(offsetof(CommonSettings, bNotOverWriteCRLF)) == 366316);
static_assert(CommonAt(offsetof(CommonSettings, rcOpenDialog)) == 366320);
static_assert(CommonAt(offsetof(CommonSettings, bAutoCloseDlgFind)) == 366336);
static_assert(CommonAt(offsetof(CommonSettings, bScrollBarHorz)) == 366340);
static_assert(CommonAt(offsetof(CommonSettings, bAutoCloseDlgFuncList)) == 366344);
static_assert(CommonAt(offsetof(CommonSettings, bAutoCloseDlgReplace)) == 366348);
static_assert(CommonAt(offsetof(CommonSettings, bSearchAll)) == 366352);
static_assert(CommonAt(offsetof(CommonSettings, bAutoColmnPaste)) == 366356);
static_assert(CommonAt(offsetof(CommonSettings, bHokanKey_RETURN)) == 366360);
static_assert(CommonAt(offsetof(CommonSettings, bHokanKey_TAB)) == 366364);
static_assert(CommonAt(offsetof(CommonSettings, bHokanKey_RIGHT)) == 366368);
static_assert(CommonAt(offsetof(CommonSettings, bHokanKey_SPACE)) == 366372);
static_assert(CommonAt(offsetof(CommonSettings, nDateFormatType)) == 366376);
static_assert(CommonAt(offsetof(CommonSettings, szDateFormat)) == 366380);
static_assert(CommonAt(offsetof(CommonSettings, nTimeFormatType)) == 366480);
static_assert(CommonAt(offsetof(CommonSettings, szTimeFormat)) == 366484);
static_assert(CommonAt(offsetof(CommonSettings, bMenuIcon)) == 366584);
static_assert(CommonAt(offsetof(CommonSettings, bAutoMIMEdecode)) == 366588);
static_assert(CommonAt(offsetof(CommonSettings, bQueryIfCodeChange)) == 366592);
static_assert(CommonAt(offsetof(CommonSettings, bAlertIfFileNotExist)) == 366596);
static_assert(CommonAt(offsetof(CommonSettings, bMarkUpBlankLineEnable)) == 366600);
static_assert(CommonAt(offsetof(CommonSettings, bFunclistSetFocusOnJump)) == 366604);
static_assert(CommonAt(offsetof(CommonSettings, szWinCaptionActive)) == 366608);
static_assert(CommonAt(offsetof(CommonSettings, szWinCaptionInactive)) == 366864);
static_assert(CommonAt(offsetof(CommonSettings, szMigemoDll)) == 367120);
static_assert(CommonAt(offsetof(CommonSettings, szMigemoDict)) == 367380);
static_assert(CommonAt(offsetof(CommonSettings, bRememberOutlineWindowPos)) == 367640);
static_assert(CommonAt(offsetof(CommonSettings, widthOutlineWindow)) == 367644);
static_assert(CommonAt(offsetof(CommonSettings, heightOutlineWindow)) == 367648);
static_assert(CommonAt(offsetof(CommonSettings, xOutlineWindowPos)) == 367652);
static_assert(CommonAt(offsetof(CommonSettings, yOutlineWindowPos)) == 367656);

// A print setting.
static_assert(offsetof(PrintSettings, szSName) == 0);
static_assert(offsetof(PrintSettings, szFF) == 33);
static_assert(offsetof(PrintSettings, szFFZ) == 65);
static_assert(offsetof(PrintSettings, nFontWidth) == 100);
static_assert(offsetof(PrintSettings, nFontHeight) == 104);
static_assert(offsetof(PrintSettings, nColumns) == 108);
static_assert(offsetof(PrintSettings, nColumnGap) == 112);
static_assert(offsetof(PrintSettings, nLineSpacing) == 116);
static_assert(offsetof(PrintSettings, nMarginTop) == 120);
static_assert(offsetof(PrintSettings, nOrientation) == 136);
static_assert(offsetof(PrintSettings, nPaperSize) == 140);
static_assert(offsetof(PrintSettings, bWrapWords) == 144);
static_assert(offsetof(PrintSettings, bKinsokuHead) == 148);
static_assert(offsetof(PrintSettings, bLineNumbers) == 164);
static_assert(offsetof(PrintSettings, DeviceBlock) == 168);
static_assert(offsetof(PrintSettings, nHeaderOpt) == 1040);
static_assert(offsetof(PrintSettings, szHF) == 1052);
static_assert(offsetof(PrintSettings, nFooterOpt) == 1352);
static_assert(offsetof(PrintSettings, szFTF) == 1364);

// A file type.
static_assert(offsetof(TypeSettings, nIndex) == 0);
static_assert(offsetof(TypeSettings, szTypeName) == 4);
static_assert(offsetof(TypeSettings, szTypeExts) == 68);
static_assert(offsetof(TypeSettings, nWrapColumn) == 132);
static_assert(offsetof(TypeSettings, nCharSpacing) == 136);
static_assert(offsetof(TypeSettings, nLineSpace) == 140);
static_assert(offsetof(TypeSettings, nTabWidth) == 144);
static_assert(offsetof(TypeSettings, bTabArrow) == 148);
static_assert(offsetof(TypeSettings, szTabViewString) == 152);
static_assert(offsetof(TypeSettings, bInsSpace) == 172);
static_assert(offsetof(TypeSettings, nKeywordSelect) == 176);
static_assert(offsetof(TypeSettings, LineComments) == 216);
static_assert(offsetof(TypeSettings, BlockComments) == 288);
static_assert(offsetof(TypeSettings, nQuoteEscape) == 368);
static_assert(offsetof(TypeSettings, szIndentChars) == 372);
static_assert(offsetof(TypeSettings, nColorCount) == 436);
static_assert(offsetof(TypeSettings, Colors) == 440);
static_assert(offsetof(TypeSettings, bCountDocumentLines) == 7864);
static_assert(offsetof(TypeSettings, nLineNumberSeparator) == 7868);
static_assert(offsetof(TypeSettings, cLineTermChar) == 7872);
static_assert(offsetof(TypeSettings, nVertLineIdx) == 7876);
static_assert(offsetof(TypeSettings, bEnglishWordWrap) == 7916);
static_assert(offsetof(TypeSettings, bKinsokuHead) == 7920);
static_assert(offsetof(TypeSettings, szKinsokuHead) == 7936);
static_assert(offsetof(TypeSettings, szKinsokuTail) == 8136);
static_assert(offsetof(TypeSettings, nPrintSetting) == 8336);
static_assert(offsetof(TypeSettings, nDefaultOutline) == 8340);
static_assert(offsetof(TypeSettings, szOutlineRuleFilename) == 8344);
static_assert(offsetof(TypeSettings, nSmartIndent) == 8604);
static_assert(offsetof(TypeSettings, nImeState) == 8608);
static_assert(offsetof(TypeSettings, szHokanFile) == 8612);
static_assert(offsetof(TypeSettings, bUseHokanByFile) == 8872);
static_assert(offsetof(TypeSettings, bUseKeyWordHelp) == 8876);
static_assert(offsetof(TypeSettings, szKeyWordHelpFile) == 8880);
static_assert(offsetof(TypeSettings, bHokanLoHiCase) == 9140);
static_assert(offsetof(TypeSettings, szExtHelp) == 9144);
static_assert(offsetof(TypeSettings, szExtHtmlHelp) == 9404);
static_assert(offsetof(TypeSettings, bHtmlHelpIsSingle) == 9664);
static_assert(offsetof(TypeSettings, bUseRegexKeyword) == 9668);
static_assert(offsetof(TypeSettings, nChangeCounter) == 9672);
static_assert(offsetof(TypeSettings, RegexKeywords) == 9676);
static_assert(offsetof(TypeSettings, bAutoIndent) == 20076);
static_assert(offsetof(TypeSettings, bAutoIndent_ZENSPACE) == 20080);
static_assert(offsetof(TypeSettings, bRTrimPrevLine) == 20084);
static_assert(offsetof(TypeSettings, nIndentLayout) == 20088);
static_assert(offsetof(TypeSettings, bUseDocumentIcon) == 20092);
static_assert(CommonAt(offsetof(CommonSettings, reserved0)) == 356268);
static_assert(CommonAt(offsetof(CommonSettings, reserved1)) == 366260);
static_assert(CommonAt(sizeof(CommonSettings)) == offsetof(SharedSettings, nKeyAssignCount));

// The print setting's parts that share one row of the table.
static_assert(offsetof(PrintSettings, nMarginBottom) == 124 && offsetof(PrintSettings, nMarginLeft) == 128 &&
              offsetof(PrintSettings, nMarginRight) == 132);
static_assert(offsetof(PrintSettings, bKinsokuTail) == 152 && offsetof(PrintSettings, bKinsokuRet) == 156 &&
              offsetof(PrintSettings, bKinsokuKuto) == 160);
// The device block's texts end at 955; one padding byte aligns its field bits at 956.
static_assert(offsetof(PrintSettings, DeviceBlock) + offsetof(PrintDeviceBlock, szOutputPort) + 261 == 955);
static_assert(offsetof(PrintSettings, DeviceBlock) + offsetof(PrintDeviceBlock, padding0) == 955);
static_assert(offsetof(PrintSettings, DeviceBlock) + offsetof(PrintDeviceBlock, dmFields) == 956);
static_assert(offsetof(PrintSettings, DeviceBlock) + offsetof(PrintDeviceBlock, dmOrientation) == 960);
static_assert(offsetof(PrintSettings, DeviceBlock) + offsetof(PrintDeviceBlock, dmPaperWidth) == 966);
static_assert(offsetof(PrintSettings, reserved) == 968);

static_assert(offsetof(TypeSettings, bKinsokuTail) == 7924 && offsetof(TypeSettings, bKinsokuRet) == 7928 &&
              offsetof(TypeSettings, bKinsokuKuto) == 7932);
static_assert(sizeof(TypeSettings::Colors) == 64 * 116);

// The macro slots end where the return-point ring begins.
static_assert(offsetof(SharedSettings, MacroSlots) + kMacroSlots * sizeof(MacroSlotRecord) == 321836);

int FindColorItemIndex(const char* key) {
  if (!key) return -1;
  for (int k = 0; k < kColorItemCount; ++k) {
    if (std::strcmp(kColorItemKeys[k], key) == 0) return k;
  }
  return -1;
}

const char* GetColorItemKey(int index) { return index >= 0 && index < kColorItemCount ? kColorItemKeys[index] : nullptr; }
