// Command ids the pane's dispatcher names itself: the ones it rewrites, routes, refuses or whose
// handler's result it returns. The command table (command_table.h) has every id with a macro name.
#pragma once

namespace cmd {

constexpr int kFileSave = 30103;
constexpr int kFileSaveAsDialog = 30104;
constexpr int kFileSaveAs = 30106;
constexpr int kFileSaveAll = 30120;
constexpr int kFileSaveQuiet = 30121;
constexpr int kPrintPreview = 30151;
constexpr int kOpenHHpp = 30160;
constexpr int kOpenCCpp = 30161;
constexpr int kOpenHfromtoC = 30162;
constexpr int kChar = 30200;
constexpr int kCharIme = 30201;
constexpr int kUndo = 30210;
constexpr int kRedo = 30211;
constexpr int kIndentSpace = 30262;
constexpr int kInsText = 30606;
constexpr int kOutline = 30930;
constexpr int kOutlineToggle = 30931;
constexpr int kTagJump = 30940;
constexpr int kBookmarkView = 30974;
constexpr int kEolCrLf = 31081;  // line-end mode shortcuts: CR LF, LF, CR
constexpr int kEolLf = 31082;
constexpr int kEolCr = 31083;
constexpr int kCancelMode = 31099;
constexpr int kComplete = 31430;
constexpr int kCustMenuFirst = 31501;  // CustMenu1-CustMenu24
constexpr int kCustMenuLast = 31524;
constexpr int kMacroSlotFirst = 31600;  // the fifty external macro slots
constexpr int kMacroSlotLast = 31649;
constexpr int kChgmodEOL = 32800;
constexpr int kSetMsgQuoteStr = 32801;

}  // namespace cmd
