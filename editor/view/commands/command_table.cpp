#include "editor/view/commands/command_table.h"

#include <cstring>

#include "editor/view/commands/command_display_names.h"
#include "platform/string_resource.h"

const MacroFuncInfo m_MacroFuncInfoArr[] = {
    {30101, "FileNew", {0, 0, 0, 0}, 0, 0},
    {30102, "FileOpen", {kVtText, 0, 0, 0}, 0, 0},
    {30103, "FileSave", {0, 0, 0, 0}, 0, 0},
    {30120, "FileSaveAll", {0, 0, 0, 0}, 0, 0},
    {30106, "FileSaveAs", {kVtText, kVtInt, kVtInt, 0}, 0, 0},
    {30105, "FileClose", {0, 0, 0, 0}, 0, 0},
    {30107, "FileCloseOpen", {0, 0, 0, 0}, 0, 0},
    {30119, "FileReopen", {kVtInt, 0, 0, 0}, 0, 0},
    {30111, "FileReopenSJIS", {kVtInt, 0, 0, 0}, 0, 0},
    {30112, "FileReopenJIS", {kVtInt, 0, 0, 0}, 0, 0},
    {30113, "FileReopenEUC", {kVtInt, 0, 0, 0}, 0, 0},
    {30114, "FileReopenUNICODE", {kVtInt, 0, 0, 0}, 0, 0},
    {30117, "FileReopenUNICODEBE", {kVtInt, 0, 0, 0}, 0, 0},
    {30115, "FileReopenUTF8", {kVtInt, 0, 0, 0}, 0, 0},
    {30116, "FileReopenUTF7", {kVtInt, 0, 0, 0}, 0, 0},
    {30150, "Print", {0, 0, 0, 0}, 0, 0},
    {30151, "PrintPreview", {0, 0, 0, 0}, 0, 0},
    {30152, "PrintPageSetup", {0, 0, 0, 0}, 0, 0},
    {30162, "OpenHfromtoC", {0, 0, 0, 0}, 0, 0},
    {30160, "OpenHHpp", {0, 0, 0, 0}, 0, 0},
    {30161, "OpenCCpp", {0, 0, 0, 0}, 0, 0},
    {30170, "ActivateSQLPLUS", {0, 0, 0, 0}, 0, 0},
    {30171, "ExecSQLPLUS", {0, 0, 0, 0}, 0, 0},
    {30180, "Browse", {0, 0, 0, 0}, 0, 0},
    {30185, "ReadOnly", {0, 0, 0, 0}, 0, 0},
    {30190, "PropertyFile", {0, 0, 0, 0}, 0, 0},
    {30195, "ExitAll", {0, 0, 0, 0}, 0, 0},
    {30200, "Char", {kVtInt, 0, 0, 0}, 0, 0},
    {30201, "CharIme", {kVtInt, 0, 0, 0}, 0, 0},
    {30210, "Undo", {0, 0, 0, 0}, 0, 0},
    {30211, "Redo", {0, 0, 0, 0}, 0, 0},
    {30221, "Delete", {0, 0, 0, 0}, 0, 0},
    {30222, "DeleteBack", {0, 0, 0, 0}, 0, 0},
    {30230, "WordDeleteToStart", {0, 0, 0, 0}, 0, 0},
    {30231, "WordDeleteToEnd", {0, 0, 0, 0}, 0, 0},
    {30232, "WordCut", {0, 0, 0, 0}, 0, 0},
    {30233, "WordDelete", {0, 0, 0, 0}, 0, 0},
    {30240, "LineCutToStart", {0, 0, 0, 0}, 0, 0},
    {30241, "LineCutToEnd", {0, 0, 0, 0}, 0, 0},
    {30242, "LineDeleteToStart", {0, 0, 0, 0}, 0, 0},
    {30243, "LineDeleteToEnd", {0, 0, 0, 0}, 0, 0},
    {30244, "CutLine", {0, 0, 0, 0}, 0, 0},
    {30245, "DeleteLine", {0, 0, 0, 0}, 0, 0},
    {30250, "DuplicateLine", {0, 0, 0, 0}, 0, 0},
    {30260, "IndentTab", {0, 0, 0, 0}, 0, 0},
    {30261, "UnindentTab", {0, 0, 0, 0}, 0, 0},
    {30262, "IndentSpace", {0, 0, 0, 0}, 0, 0},
    {30263, "UnindentSpace", {0, 0, 0, 0}, 0, 0},
    {30280, "LTrim", {0, 0, 0, 0}, 0, 0},
    {30281, "RTrim", {0, 0, 0, 0}, 0, 0},
    {30282, "SortAsc", {0, 0, 0, 0}, 0, 0},
    {30283, "SortDesc", {0, 0, 0, 0}, 0, 0},
    {30284, "Merge", {0, 0, 0, 0}, 0, 0},
    {30311, "Up", {0, 0, 0, 0}, 0, 0},
    {30312, "Down", {0, 0, 0, 0}, 0, 0},
    {30313, "Left", {0, 0, 0, 0}, 0, 0},
    {30314, "Right", {0, 0, 0, 0}, 0, 0},
    {30315, "Up2", {0, 0, 0, 0}, 0, 0},
    {30316, "Down2", {0, 0, 0, 0}, 0, 0},
    {30320, "WordLeft", {0, 0, 0, 0}, 0, 0},
    {30321, "WordRight", {0, 0, 0, 0}, 0, 0},
    {30332, "GoLineTop", {kVtInt, 0, 0, 0}, 0, 0},
    {30333, "GoLineEnd", {0, 0, 0, 0}, 0, 0},
    {30340, "HalfPageUp", {0, 0, 0, 0}, 0, 0},
    {30341, "HalfPageDown", {0, 0, 0, 0}, 0, 0},
    {30342, "1PageUp", {0, 0, 0, 0}, 0, 0},
    {30343, "1PageDown", {0, 0, 0, 0}, 0, 0},
    {30350, "GoFileTop", {0, 0, 0, 0}, 0, 0},
    {30351, "GoFileEnd", {0, 0, 0, 0}, 0, 0},
    {30360, "CurLineCenter", {0, 0, 0, 0}, 0, 0},
    {30370, "MoveHistPrev", {0, 0, 0, 0}, 0, 0},
    {30371, "MoveHistNext", {0, 0, 0, 0}, 0, 0},
    {30372, "MoveHistSet", {0, 0, 0, 0}, 0, 0},
    {30380, "F_WndScrollDown", {0, 0, 0, 0}, 0, 0},
    {30381, "F_WndScrollUp", {0, 0, 0, 0}, 0, 0},
    {30382, "GoNextParagraph", {0, 0, 0, 0}, 0, 0},
    {30383, "GoPrevParagraph", {0, 0, 0, 0}, 0, 0},
    {30400, "SelectWord", {0, 0, 0, 0}, 0, 0},
    {30401, "SelectAll", {0, 0, 0, 0}, 0, 0},
    {30410, "BeginSelect", {0, 0, 0, 0}, 0, 0},
    {30411, "Up_Sel", {0, 0, 0, 0}, 0, 0},
    {30412, "Down_Sel", {0, 0, 0, 0}, 0, 0},
    {30413, "Left_Sel", {0, 0, 0, 0}, 0, 0},
    {30414, "Right_Sel", {0, 0, 0, 0}, 0, 0},
    {30415, "Up2_Sel", {0, 0, 0, 0}, 0, 0},
    {30416, "Down2_Sel", {0, 0, 0, 0}, 0, 0},
    {30420, "WordLeft_Sel", {0, 0, 0, 0}, 0, 0},
    {30421, "WordRight_Sel", {0, 0, 0, 0}, 0, 0},
    {30432, "GoLineTop_Sel", {0, 0, 0, 0}, 0, 0},
    {30433, "GoLineEnd_Sel", {0, 0, 0, 0}, 0, 0},
    {30440, "HalfPageUp_Sel", {0, 0, 0, 0}, 0, 0},
    {30441, "HalfPageDown_Sel", {0, 0, 0, 0}, 0, 0},
    {30442, "1PageUp_Sel", {0, 0, 0, 0}, 0, 0},
    {30443, "1PageDown_Sel", {0, 0, 0, 0}, 0, 0},
    {30450, "GoFileTop_Sel", {0, 0, 0, 0}, 0, 0},
    {30451, "GoFileEnd_Sel", {0, 0, 0, 0}, 0, 0},
    {30482, "GoNextParagraph_Sel", {0, 0, 0, 0}, 0, 0},
    {30483, "GoPrevParagraph_Sel", {0, 0, 0, 0}, 0, 0},
    {30510, "BeginBoxSelect", {0, 0, 0, 0}, 0, 0},
    {30601, "Cut", {0, 0, 0, 0}, 0, 0},
    {30602, "Copy", {0, 0, 0, 0}, 0, 0},
    {30604, "Paste", {0, 0, 0, 0}, 0, 0},
    {30608, "CopyAddCRLF", {0, 0, 0, 0}, 0, 0},
    {30603, "CopyCRLF", {0, 0, 0, 0}, 0, 0},
    {30605, "PasteBox", {0, 0, 0, 0}, 0, 0},
    {30606, "InsText", {kVtText, 0, 0, 0}, 0, 0},
    {30607, "AddTail", {kVtText, 0, 0, 0}, 0, 0},
    {30610, "CopyLines", {0, 0, 0, 0}, 0, 0},
    {30611, "CopyLinesAsPassage", {0, 0, 0, 0}, 0, 0},
    {30612, "CopyLinesWithLineNumber", {0, 0, 0, 0}, 0, 0},
    {30620, "CopyPath", {0, 0, 0, 0}, 0, 0},
    {30622, "CopyFilename", {0, 0, 0, 0}, 0, 0},
    {30621, "CopyTag", {0, 0, 0, 0}, 0, 0},
    {30630, "CopyKeyBindList", {0, 0, 0, 0}, 0, 0},
    {30790, "InsertDate", {0, 0, 0, 0}, 0, 0},
    {30791, "InsertTime", {0, 0, 0, 0}, 0, 0},
    {30792, "CtrlCodeDialog", {0, 0, 0, 0}, 0, 0},
    {30800, "ToLower", {0, 0, 0, 0}, 0, 0},
    {30801, "ToUpper", {0, 0, 0, 0}, 0, 0},
    {30810, "ToHankaku", {0, 0, 0, 0}, 0, 0},
    {30817, "ToHankata", {0, 0, 0, 0}, 0, 0},
    {30815, "ToZenEi", {0, 0, 0, 0}, 0, 0},
    {30816, "ToHanEi", {0, 0, 0, 0}, 0, 0},
    {30811, "ToZenKata", {0, 0, 0, 0}, 0, 0},
    {30812, "ToZenHira", {0, 0, 0, 0}, 0, 0},
    {30813, "HanKataToZenKata", {0, 0, 0, 0}, 0, 0},
    {30814, "HanKataToZenHira", {0, 0, 0, 0}, 0, 0},
    {30830, "TABToSPACE", {0, 0, 0, 0}, 0, 0},
    {30831, "SPACEToTAB", {0, 0, 0, 0}, 0, 0},
    {30850, "AutoToSJIS", {0, 0, 0, 0}, 0, 0},
    {30851, "JIStoSJIS", {0, 0, 0, 0}, 0, 0},
    {30852, "EUCtoSJIS", {0, 0, 0, 0}, 0, 0},
    {30853, "CodeCnvUNICODEtoSJIS", {0, 0, 0, 0}, 0, 0},
    {30856, "CodeCnvUNICODEBEtoSJIS", {0, 0, 0, 0}, 0, 0},
    {30854, "UTF8toSJIS", {0, 0, 0, 0}, 0, 0},
    {30855, "UTF7toSJIS", {0, 0, 0, 0}, 0, 0},
    {30860, "SJIStoJIS", {0, 0, 0, 0}, 0, 0},
    {30861, "SJIStoEUC", {0, 0, 0, 0}, 0, 0},
    {30862, "SJIStoUTF8", {0, 0, 0, 0}, 0, 0},
    {30863, "SJIStoUTF7", {0, 0, 0, 0}, 0, 0},
    {30870, "Base64Decode", {0, 0, 0, 0}, 0, 0},
    {30880, "Uudecode", {0, 0, 0, 0}, 0, 0},
    {30901, "SearchDialog", {0, 0, 0, 0}, 0, 0},
    {30902, "SearchNext", {kVtText, kVtInt, 0, 0}, 0, 0},
    {30903, "SearchPrev", {kVtText, kVtInt, 0, 0}, 0, 0},
    {30904, "ReplaceDialog", {0, 0, 0, 0}, 0, 0},
    {30906, "Replace", {kVtText, kVtText, kVtInt, 0}, 0, 0},
    {30907, "ReplaceAll", {kVtText, kVtText, kVtInt, 0}, 0, 0},
    {30912, "ReplaceAllLine", {kVtText, kVtText, kVtInt, 0}, 0, 0},
    {30905, "SearchClearMark", {0, 0, 0, 0}, 0, 0},
    {30909, "SearchStartPos", {0, 0, 0, 0}, 0, 0},
    {30911, "Grep", {kVtText, kVtText, kVtText, kVtInt}, 0, 0},
    {30921, "Jump", {kVtInt, kVtInt, 0, 0}, 0, 0},
    {30930, "Outline", {0, 0, 0, 0}, 0, 0},
    {30940, "TagJump", {0, 0, 0, 0}, 0, 0},
    {30941, "TagJumpBack", {0, 0, 0, 0}, 0, 0},
    {30943, "TagMake", {0, 0, 0, 0}, 0, 0},
    {30944, "DirectTagJump", {0, 0, 0, 0}, 0, 0},
    {30946, "KeywordTagJump", {kVtText, 0, 0, 0}, 0, 0},
    {30950, "Compare", {0, 0, 0, 0}, 0, 0},
    {30976, "DiffDialog", {0, 0, 0, 0}, 0, 0},
    {30977, "Diff", {kVtText, kVtInt, 0, 0}, 0, 0},
    {30978, "DiffNext", {0, 0, 0, 0}, 0, 0},
    {30979, "DiffPrev", {0, 0, 0, 0}, 0, 0},
    {30980, "DiffReset", {0, 0, 0, 0}, 0, 0},
    {30960, "BracketPair", {0, 0, 0, 0}, 0, 0},
    {30970, "BookmarkSet", {0, 0, 0, 0}, 0, 0},
    {30971, "BookmarkNext", {0, 0, 0, 0}, 0, 0},
    {30972, "BookmarkPrev", {0, 0, 0, 0}, 0, 0},
    {30973, "BookmarkReset", {0, 0, 0, 0}, 0, 0},
    {30974, "BookmarkView", {0, 0, 0, 0}, 0, 0},
    {30975, "BookmarkPattern", {kVtText, kVtInt, 0, 0}, 0, 0},
    {31001, "ChgmodINS", {0, 0, 0, 0}, 0, 0},
    {32800, "ChgmodEOL", {kVtInt, 0, 0, 0}, 0, 0},
    {31099, "CancelMode", {0, 0, 0, 0}, 0, 0},
    {31100, "ShowToolbar", {0, 0, 0, 0}, 0, 0},
    {31101, "ShowFunckey", {0, 0, 0, 0}, 0, 0},
    {31103, "ShowTab", {0, 0, 0, 0}, 0, 0},
    {31102, "ShowStatusbar", {0, 0, 0, 0}, 0, 0},
    {31110, "TypeList", {0, 0, 0, 0}, 0, 0},
    {31111, "OptionType", {0, 0, 0, 0}, 0, 0},
    {31112, "OptionCommon", {0, 0, 0, 0}, 0, 0},
    {31120, "SelectFont", {0, 0, 0, 0}, 0, 0},
    {31140, "WrapWindowWidth", {0, 0, 0, 0}, 0, 0},
    {31113, "OptionFavorite", {0, 0, 0, 0}, 0, 0},
    {32801, "SetMsgQuoteStr", {kVtText, 0, 0, 0}, 0, 0},
    {31271, "ExecCommand", {kVtText, kVtInt, 0, 0}, 0, 0},
    {31580, "RMenu", {0, 0, 0, 0}, 0, 0},
    {31501, "CustMenu1", {0, 0, 0, 0}, 0, 0},
    {31502, "CustMenu2", {0, 0, 0, 0}, 0, 0},
    {31503, "CustMenu3", {0, 0, 0, 0}, 0, 0},
    {31504, "CustMenu4", {0, 0, 0, 0}, 0, 0},
    {31505, "CustMenu5", {0, 0, 0, 0}, 0, 0},
    {31506, "CustMenu6", {0, 0, 0, 0}, 0, 0},
    {31507, "CustMenu7", {0, 0, 0, 0}, 0, 0},
    {31508, "CustMenu8", {0, 0, 0, 0}, 0, 0},
    {31509, "CustMenu9", {0, 0, 0, 0}, 0, 0},
    {31510, "CustMenu10", {0, 0, 0, 0}, 0, 0},
    {31511, "CustMenu11", {0, 0, 0, 0}, 0, 0},
    {31512, "CustMenu12", {0, 0, 0, 0}, 0, 0},
    {31513, "CustMenu13", {0, 0, 0, 0}, 0, 0},
    {31514, "CustMenu14", {0, 0, 0, 0}, 0, 0},
    {31515, "CustMenu15", {0, 0, 0, 0}, 0, 0},
    {31516, "CustMenu16", {0, 0, 0, 0}, 0, 0},
    {31517, "CustMenu17", {0, 0, 0, 0}, 0, 0},
    {31518, "CustMenu18", {0, 0, 0, 0}, 0, 0},
    {31519, "CustMenu19", {0, 0, 0, 0}, 0, 0},
    {31520, "CustMenu20", {0, 0, 0, 0}, 0, 0},
    {31521, "CustMenu21", {0, 0, 0, 0}, 0, 0},
    {31522, "CustMenu22", {0, 0, 0, 0}, 0, 0},
    {31523, "CustMenu23", {0, 0, 0, 0}, 0, 0},
    {31524, "CustMenu24", {0, 0, 0, 0}, 0, 0},
    {31310, "SplitWinV", {0, 0, 0, 0}, 0, 0},
    {31311, "SplitWinH", {0, 0, 0, 0}, 0, 0},
    {31312, "SplitWinVH", {0, 0, 0, 0}, 0, 0},
    {31320, "WinClose", {0, 0, 0, 0}, 0, 0},
    {31321, "WinCloseAll", {0, 0, 0, 0}, 0, 0},
    {31330, "CascadeWin", {0, 0, 0, 0}, 0, 0},
    {31331, "TileWinV", {0, 0, 0, 0}, 0, 0},
    {31332, "TileWinH", {0, 0, 0, 0}, 0, 0},
    {31340, "NextWindow", {0, 0, 0, 0}, 0, 0},
    {31341, "PrevWindow", {0, 0, 0, 0}, 0, 0},
    {31336, "WindowList", {0, 0, 0, 0}, 0, 0},
    {31350, "MaximizeV", {0, 0, 0, 0}, 0, 0},
    {31352, "MaximizeH", {0, 0, 0, 0}, 0, 0},
    {31351, "MinimizeAll", {0, 0, 0, 0}, 0, 0},
    {31360, "ReDraw", {0, 0, 0, 0}, 0, 0},
    {31370, "ActivateWinOutput", {0, 0, 0, 0}, 0, 0},
    {31334, "WindowTopMost", {kVtInt, 0, 0, 0}, 0, 0},
    {31430, "Complete", {0, 0, 0, 0}, 0, 0},
    {31440, "HelpContents", {0, 0, 0, 0}, 0, 0},
    {31441, "HelpSearch", {0, 0, 0, 0}, 0, 0},
    {31445, "CommandList", {0, 0, 0, 0}, 0, 0},
    {31450, "ExtHelp1", {0, 0, 0, 0}, 0, 0},
    {31451, "ExtHtmlHelp", {kVtText, kVtText, 0, 0}, 0, 0},
    {31455, "About", {0, 0, 0, 0}, 0, 0},
    {-1, "", {0, 0, 0, 0}, 0, 0},
};

const MacroFuncInfo m_MacroFuncInfoNotCommandArr[] = {
    {40001, "GetFilename", {0, 0, 0, 0}, kVtText, 0},
    {40002, "GetSelectedString", {kVtInt, 0, 0, 0}, kVtText, 0},
    {40003, "ExpandParameter", {kVtText, 0, 0, 0}, kVtText, 0},
    {40004, "GetLineStr", {kVtInt, 0, 0, 0}, kVtText, 0},
    {40005, "GetLineCount", {kVtInt, 0, 0, 0}, kVtInt, 0},
    {40006, "ChangeTabWidth", {kVtInt, 0, 0, 0}, kVtInt, 0},
    {40007, "IsTextSelected", {0, 0, 0, 0}, kVtInt, 0},
    {40008, "GetSelectLineFrom", {0, 0, 0, 0}, kVtInt, 0},
    {40009, "GetSelectColmFrom", {0, 0, 0, 0}, kVtInt, 0},
    {40010, "GetSelectLineTo", {0, 0, 0, 0}, kVtInt, 0},
    {40011, "GetSelectColmTo", {0, 0, 0, 0}, kVtInt, 0},
    {40012, "IsInsMode", {0, 0, 0, 0}, kVtInt, 0},
    {40013, "GetCharCode", {0, 0, 0, 0}, kVtInt, 0},
    {40014, "GetLineCode", {0, 0, 0, 0}, kVtInt, 0},
    {40015, "IsPossibleUndo", {0, 0, 0, 0}, kVtInt, 0},
    {40016, "IsPossibleRedo", {0, 0, 0, 0}, kVtInt, 0},
    {-1, "", {0, 0, 0, 0}, 0, 0},
};

namespace {

constexpr int kDisplayNameSize = 256;

const MacroFuncInfo* FindById(const MacroFuncInfo* table, int id) {
  for (; table->m_nFuncID != -1; ++table)
    if (table->m_nFuncID == id) return table;
  return nullptr;
}

void LoadDisplayName(int id, char* out) {
  RegisterCommandDisplayNames();
  LoadString(nullptr, static_cast<UINT>(id), out, kDisplayNameSize);
}

struct IdRange {
  int first;
  int last;
};

constexpr IdRange kRecordable[] = {
    {30111, 30117}, {30119, 30119}, {30200, 30201}, {30210, 30211}, {30221, 30222}, {30230, 30233}, {30240, 30245},
    {30250, 30250}, {30260, 30263}, {30280, 30284}, {30311, 30316}, {30320, 30321}, {30332, 30333}, {30350, 30351},
    {30370, 30372}, {30400, 30401}, {30410, 30416}, {30420, 30421}, {30432, 30433}, {30450, 30451}, {30510, 30510},
    {30601, 30606}, {30608, 30608}, {30610, 30612}, {30620, 30622}, {30630, 30630}, {30790, 30791}, {30800, 30801},
    {30810, 30817}, {30830, 30831}, {30850, 30856}, {30860, 30863}, {30902, 30903}, {30905, 30907}, {30909, 30909},
    {30911, 30912}, {30921, 30921}, {30940, 30941}, {30960, 30960}, {30970, 30973}, {30975, 30975}, {31001, 31001},
    {31099, 31099}, {31271, 31271}, {31334, 31334}, {31360, 31360}, {31370, 31370}, {32800, 32800},
};

}  // namespace

const MacroFuncInfo* CMacro::GetFuncInfoByID(int nFuncID) {
  if (const MacroFuncInfo* row = FindById(m_MacroFuncInfoArr, nFuncID)) return row;
  return FindById(m_MacroFuncInfoNotCommandArr, nFuncID);
}

char* GetMacroFuncName(int nFuncID, char* pszFuncName, int nFuncNameSize, char* pszFuncNameJapanese) {
  const MacroFuncInfo* row = CMacro::GetFuncInfoByID(nFuncID);
  if (!row || !pszFuncName || nFuncNameSize < 1) return nullptr;
  const char* name = row->m_pszFuncName;
  const char* paren = std::strchr(name, '(');
  size_t n = paren ? static_cast<size_t>(paren - name) : std::strlen(name);
  if (n > static_cast<size_t>(nFuncNameSize - 1)) n = nFuncNameSize - 1;
  std::memcpy(pszFuncName, name, n);
  pszFuncName[n] = '\0';
  if (pszFuncNameJapanese) LoadDisplayName(nFuncID, pszFuncNameJapanese);
  return pszFuncName;
}

int GetMacroFuncIdByName(const char* pszFuncName, char* pszFuncNameJapanese) {
  if (!pszFuncName) return -1;
  if (std::strncmp(pszFuncName, "S_", 2) == 0) pszFuncName += 2;
  for (const MacroFuncInfo* row = m_MacroFuncInfoArr; row->m_nFuncID != -1; ++row) {
    if (std::strcmp(row->m_pszFuncName, pszFuncName) == 0) {
      if (pszFuncNameJapanese) LoadDisplayName(row->m_nFuncID, pszFuncNameJapanese);
      return row->m_nFuncID;
    }
  }
  return -1;
}

bool IsRecordableCommand(int nFuncID) {
  for (const IdRange& r : kRecordable)
    if (nFuncID >= r.first && nFuncID <= r.last) return true;
  return false;
}
