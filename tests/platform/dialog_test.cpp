#include "platform/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/beep.h"
#include "platform/dialog_test.h"
#include "platform/message_box.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/timer.h"
#include "platform/win_help.h"
#include "platform/window.h"
#include "child_copy.h"
#include "test_util.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

constexpr int kEveryKind = 9001;
constexpr int kNoDefault = 9002;
constexpr int kName = 101;
constexpr int kMemo = 102;
constexpr int kOptions = 110;
constexpr int kMatchCase = 111;
constexpr int kUp = 112;
constexpr int kDown = 113;
constexpr int kCode = 120;
constexpr int kWord = 121;
constexpr int kFiles = 130;
constexpr int kProgress = 140;
constexpr int kHelp = 150;
constexpr int kCount = 160;

// One of every kind of control, the way a real dialog mixes them.
void EveryKind(DialogBuilder& b) {
  b.Caption("検索と置換のテスト"_sj);
  b.Resizable();
  b.Row([&] {
    b.StaticText(100, "名前(&N):"_sj);
    b.Edit(kName).Width(24);
  });
  b.Row([&] {
    b.StaticText(103, "メモ(&M):"_sj);
    b.MultiLineEdit(kMemo).Lines(3);
  });
  b.Group(kOptions, "オプション"_sj, [&] {
    b.CheckBox(kMatchCase, "英大文字と小文字を区別する(&C)"_sj);
    b.Row([&] {
      b.RadioButton(kUp, "上へ(&U)"_sj);
      b.RadioButton(kDown, "下へ(&D)"_sj);
    });
  });
  b.Row([&] {
    b.DropDownList(kCode).Width(12);
    b.ComboBox(kWord).Width(16);
  });
  b.ListBox(kFiles).Lines(4);
  b.Row([&] {
    b.StaticText(kCount, "0 件 & 残り"_sj).NoPrefix();
    b.ProgressBar(kProgress);
  });
  b.Row([&] {
    b.Stretch();
    b.PushButton(IDOK, "OK").Default();
    b.PushButton(IDCANCEL, "キャンセル"_sj);
    b.PushButton(kHelp, "ヘルプ(&H)"_sj);
  });
}

void NoDefaultButton(DialogBuilder& b) {
  b.Caption("no default");
  b.Edit(kName);
  b.Row([&] {
    b.PushButton(IDOK, "OK");
    b.PushButton(IDCANCEL, "Cancel");
  });
}

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What the test procedure saw, and how it answers.
std::vector<Seen> seen;
std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> answer;

INT_PTR RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({message, wParam, lParam});
  if (answer) return answer(hwnd, message, wParam, lParam);
  return message == WM_INITDIALOG ? 1 : 0;
}

// The WM_COMMAND messages seen, as (id, code) pairs.
std::vector<std::pair<int, int>> Commands() {
  std::vector<std::pair<int, int>> out;
  for (const Seen& s : seen) {
    if (s.message == WM_COMMAND) out.emplace_back(LOWORD(s.wParam), HIWORD(s.wParam));
  }
  return out;
}

std::vector<UINT> Messages() {
  std::vector<UINT> out;
  for (const Seen& s : seen) out.push_back(s.message);
  return out;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

std::string Text(HWND dialog, int id) {
  char buffer[1024];
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeOwner() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "DialogOwnerTestClass";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "DialogOwnerTestClass", "owner", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 80, 500, 400,
                        nullptr, nullptr, nullptr, nullptr);
}

class DialogTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterDialogTemplate(kEveryKind, EveryKind);
    RegisterDialogTemplate(kNoDefault, NoDefaultButton);
  }
  void SetUp() override {
    Pump();
    seen.clear();
    answer = nullptr;
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    answer = nullptr;
    if (IsWindow(dialog)) DestroyWindow(dialog);
    if (IsWindow(owner)) DestroyWindow(owner);
    Pump();
  }
  // A modeless dialog, shown.
  HWND Open(int templateId = kEveryKind, HWND ownerWindow = nullptr) {
    dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(templateId), ownerWindow, RecordingProc, 77);
    EXPECT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    Pump();
    seen.clear();
    return dialog;
  }
  HWND dialog = nullptr;
  HWND owner = nullptr;
};

TEST_F(DialogTest, AFiveByteLimitTakesTwoKanaAndOneLetterAndRefusesAnEmoji) {
  int beeps = 0;
  BeepHook previous = SetBeepHook([&](UINT) { ++beeps; });
  Open();
  SendDlgItemMessage(dialog, kName, EM_LIMITTEXT, 5, 0);
  EXPECT_TRUE(dt::Type(dialog, kName, "あいab"_sj));
  EXPECT_EQ(Text(dialog, kName), "あいa"_sj);
  EXPECT_EQ(beeps, 1);

  SetDlgItemText(dialog, kName, "x");
  EXPECT_TRUE(dt::TypeUtf8(dialog, kName, U8(u8"😀")));
  EXPECT_EQ(Text(dialog, kName), "x");
  EXPECT_EQ(beeps, 2);
  // A character with a code still goes in after a refused one.
  EXPECT_TRUE(dt::TypeUtf8(dialog, kName, U8(u8"😀表")));
  EXPECT_EQ(Text(dialog, kName), "x表"_sj);
  EXPECT_EQ(beeps, 3);
  SetBeepHook(previous);
}

TEST_F(DialogTest, PastingIsCutAtTheLimitOnAWholeCharacterAndAtTheFirstLineBreak) {
  Open();
  SendDlgItemMessage(dialog, kName, EM_LIMITTEXT, 5, 0);
  EXPECT_TRUE(dt::Paste(dialog, kName, U8(u8"かきくけ")));
  EXPECT_EQ(Text(dialog, kName), "かき"_sj);  // the third character would need bytes 5 and 6

  SetDlgItemText(dialog, kName, "");
  SendDlgItemMessage(dialog, kName, EM_LIMITTEXT, 100, 0);
  EXPECT_TRUE(dt::Paste(dialog, kName, U8(u8"一行目\r\n二行目")));
  EXPECT_EQ(Text(dialog, kName), "一行目"_sj);
}

TEST_F(DialogTest, AMultiLineEditCountsALineBreakAsTwoBytesAndGivesCrLf) {
  Open();
  SendDlgItemMessage(dialog, kMemo, EM_LIMITTEXT, 6, 0);
  EXPECT_TRUE(dt::Type(dialog, kMemo, "あ\nいx"_sj));
  EXPECT_EQ(Text(dialog, kMemo), "あ\r\nい"_sj);
  SetDlgItemText(dialog, kMemo, "");
  EXPECT_TRUE(dt::Paste(dialog, kMemo, U8(u8"ab\r\ncd\r\nef")));
  EXPECT_EQ(Text(dialog, kMemo), "ab\r\ncd");

  // Text set by the program keeps its line ends and is not cut.
  SetDlgItemText(dialog, kMemo, "one\r\ntwo\r\nthree");
  EXPECT_EQ(Text(dialog, kMemo), "one\r\ntwo\r\nthree");
  EXPECT_EQ(dt::Query(dialog, kMemo)->limit, 6);
  EXPECT_EQ(dt::Query(dialog, kName)->limit, 32767);  // the default
}

TEST_F(DialogTest, ACheckBoxIsToggledBeforeTheProcedureHearsTheClick) {
  Open();
  std::vector<UINT> stateWhenClicked;
  answer = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wParam) == kMatchCase) stateWhenClicked.push_back(IsDlgButtonChecked(hwnd, kMatchCase));
    return 0;
  };
  EXPECT_TRUE(dt::Click(dialog, kMatchCase));
  EXPECT_TRUE(dt::Click(dialog, kMatchCase));
  EXPECT_EQ(stateWhenClicked, (std::vector<UINT>{BST_CHECKED, BST_UNCHECKED}));
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{kMatchCase, BN_CLICKED}, {kMatchCase, BN_CLICKED}}));

  // The program's own changes send nothing.
  seen.clear();
  CheckDlgButton(dialog, kMatchCase, BST_CHECKED);
  CheckRadioButton(dialog, kUp, kDown, kDown);
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMatchCase), BST_CHECKED);
  CheckDlgButton(dialog, kMatchCase, BST_INDETERMINATE);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMatchCase), BST_INDETERMINATE);
  dt::Click(dialog, kMatchCase);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMatchCase), BST_CHECKED);
}

TEST_F(DialogTest, ARadioButtonChecksItselfAndUnchecksItsGroup) {
  Open();
  CheckRadioButton(dialog, kUp, kDown, kUp);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kUp), BST_CHECKED);
  EXPECT_TRUE(dt::Click(dialog, kDown));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kUp), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kDown), BST_CHECKED);
  EXPECT_TRUE(dt::Click(dialog, kDown));  // a checked one stays checked
  EXPECT_EQ(IsDlgButtonChecked(dialog, kDown), BST_CHECKED);
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{kDown, BN_CLICKED}, {kDown, BN_CLICKED}}));
  // The check box is not of the radio group.
  CheckDlgButton(dialog, kMatchCase, BST_CHECKED);
  dt::Click(dialog, kUp);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMatchCase), BST_CHECKED);
}

TEST_F(DialogTest, EnterGivesTheDefaultIdAndEscAndCloseGiveCancelWithoutClosing) {
  Open();
  dt::Type(dialog, kName, "abc");
  seen.clear();
  EXPECT_TRUE(dt::PressKey(dialog, dt::Key::kEnter));
  EXPECT_TRUE(dt::PressKey(dialog, dt::Key::kEscape));
  EXPECT_TRUE(dt::CloseButton(dialog));
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}, {IDCANCEL, BN_CLICKED}, {IDCANCEL, BN_CLICKED}}));
  // Each carries its button's handle.
  for (const Seen& s : seen) {
    if (s.message == WM_COMMAND) {
      EXPECT_EQ(reinterpret_cast<HWND>(s.lParam), GetDlgItem(dialog, LOWORD(s.wParam)));
    }
  }
  Pump();
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowVisible(dialog));

  // Enter is the default button's wherever the focus is.
  seen.clear();
  SetFocus(GetDlgItem(dialog, kHelp));
  dt::PressKey(dialog, dt::Key::kEnter);
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}}));

  // A disabled default button makes Enter do nothing; a disabled cancel button, Esc.
  seen.clear();
  SetFocus(GetDlgItem(dialog, kName));
  EnableWindow(GetDlgItem(dialog, IDOK), 0);
  EnableWindow(GetDlgItem(dialog, IDCANCEL), 0);
  dt::PressKey(dialog, dt::Key::kEnter);
  dt::PressKey(dialog, dt::Key::kEscape);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogTest, EnterWithoutADefaultButtonGivesIdOk) {
  Open(kNoDefault);
  dt::Type(dialog, kName, "a");
  seen.clear();
  dt::PressKey(dialog, dt::Key::kEnter);
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}}));
}

TEST_F(DialogTest, F1SendsHelpForTheFocusedControlAndARightClickAsksForTheContextMenu) {
  Open();
  std::vector<HELPINFO> helps;
  answer = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> INT_PTR {
    if (message == WM_HELP) helps.push_back(*reinterpret_cast<const HELPINFO*>(lParam));
    return 0;
  };
  SetFocus(GetDlgItem(dialog, kMatchCase));
  EXPECT_TRUE(dt::PressKey(dialog, dt::Key::kF1));
  ASSERT_EQ(helps.size(), 1u);
  EXPECT_EQ(helps[0].cbSize, sizeof(HELPINFO));
  EXPECT_EQ(helps[0].iContextType, HELPINFO_WINDOW);
  EXPECT_EQ(helps[0].iCtrlId, kMatchCase);
  EXPECT_EQ(helps[0].hItemHandle, GetDlgItem(dialog, kMatchCase));

  seen.clear();
  EXPECT_TRUE(dt::ContextMenu(dialog, kHelp));
  EXPECT_TRUE(dt::ContextMenu(dialog, kFiles));
  EXPECT_TRUE(dt::ContextMenu(dialog, kName));  // an edit shows its own menu
  std::vector<HWND> asked;
  for (const Seen& s : seen) {
    if (s.message == WM_CONTEXTMENU) asked.push_back(reinterpret_cast<HWND>(s.wParam));
  }
  EXPECT_EQ(asked, (std::vector<HWND>{GetDlgItem(dialog, kHelp), GetDlgItem(dialog, kFiles)}));
}

TEST_F(DialogTest, WinHelpGoesThroughItsHookAndByDefaultSaysTheFileIsMissing) {
  const uint32_t table[] = {kName, 5001, kMatchCase, 5002, 0, 0};
  std::vector<WinHelpRequest> requests;
  WinHelpHook previous = SetWinHelpHook([&](const WinHelpRequest& r) {
    requests.push_back(r);
    return 1;
  });
  EXPECT_EQ(WinHelp(nullptr, "/opt/tovara.hlp", HELP_WM_HELP, reinterpret_cast<uintptr_t>(table)), 1);
  SetWinHelpHook(previous);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].helpFile, "/opt/tovara.hlp");
  EXPECT_EQ(requests[0].helpIds, (std::vector<std::pair<uint32_t, uint32_t>>{{kName, 5001}, {kMatchCase, 5002}}));

  std::vector<MessageBoxRequest> boxes;
  MessageBoxHook previousBox = SetMessageBoxHook([&](const MessageBoxRequest& r) {
    boxes.push_back(r);
    return IDOK;
  });
  EXPECT_EQ(WinHelp(nullptr, "/opt/tovara.hlp", HELP_CONTENTS, 0), 0);
  SetMessageBoxHook(previousBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ヘルプファイル /opt/tovara.hlp が見つかりません。"_sj);
}

TEST_F(DialogTest, AModalDialogWithoutAHookOrAScreenAnswersCancelAtOnce) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kEveryKind), nullptr, RecordingProc, 0), IDCANCEL);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(seen.empty());
  EXPECT_NE(said.find("9001"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

TEST_F(DialogTest, AnUnknownTemplateGivesMinusOneOrNull) {
  dt::SetShownHook([](HWND) {});
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(4321), nullptr, RecordingProc, 0), -1);
  EXPECT_EQ(DialogBoxParam(nullptr, "NO_SUCH_DIALOG", nullptr, RecordingProc, 0), -1);
  EXPECT_EQ(CreateDialogParam(nullptr, MAKEINTRESOURCE(4321), nullptr, RecordingProc, 0), nullptr);
  EXPECT_TRUE(seen.empty());
}

TEST_F(DialogTest, ADisabledOrHiddenControlRefusesTheUsersActions) {
  Open();
  EnableWindow(GetDlgItem(dialog, kMatchCase), 0);
  EnableWindow(GetDlgItem(dialog, kName), 0);
  EnableWindow(GetDlgItem(dialog, kFiles), 0);
  SendDlgItemMessage(dialog, kFiles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a.txt"));
  ShowWindow(GetDlgItem(dialog, kHelp), SW_HIDE);
  EXPECT_FALSE(dt::Click(dialog, kMatchCase));
  EXPECT_FALSE(dt::Type(dialog, kName, "abc"));
  EXPECT_FALSE(dt::Select(dialog, kFiles, 0));
  EXPECT_FALSE(dt::Click(dialog, kHelp));
  EXPECT_FALSE(dt::ContextMenu(dialog, kHelp));
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMatchCase), BST_UNCHECKED);
  EXPECT_EQ(Text(dialog, kName), "");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kName)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kHelp)));

  // A control of a kind the action does not fit refuses too.
  EXPECT_FALSE(dt::Click(dialog, kProgress));
  EXPECT_FALSE(dt::Type(dialog, kMatchCase, "a"));
}

TEST_F(DialogTest, NotificationsComeFromTheUserOnly) {
  Open();
  for (const char* item : {"SJIS", "EUC", "UTF-8"}) {
    SendDlgItemMessage(dialog, kCode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessage(dialog, kWord, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessage(dialog, kFiles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendDlgItemMessage(dialog, kCode, CB_SETCURSEL, 1, 0);
  SendDlgItemMessage(dialog, kWord, CB_SETCURSEL, 2, 0);
  SendDlgItemMessage(dialog, kFiles, LB_SETCURSEL, 0, 0);
  SetDlgItemText(dialog, kMemo, "memo");
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(Text(dialog, kWord), "UTF-8");

  // A one-line edit tells of text the program sets.
  SetDlgItemText(dialog, kName, "name");
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{kName, EN_CHANGE}}));

  seen.clear();
  EXPECT_TRUE(dt::Select(dialog, kCode, 2));
  EXPECT_TRUE(dt::Click(dialog, kWord));
  EXPECT_TRUE(dt::Select(dialog, kWord, 0));
  EXPECT_TRUE(dt::Type(dialog, kWord, "x"));
  EXPECT_TRUE(dt::DoubleClick(dialog, kFiles, 1));
  EXPECT_TRUE(dt::Type(dialog, kMemo, "!"));
  EXPECT_TRUE(dt::Type(dialog, kName, "?"));
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{kCode, CBN_SELCHANGE},
                                                          {kWord, CBN_DROPDOWN},
                                                          {kWord, CBN_SELCHANGE},
                                                          {kWord, CBN_EDITCHANGE},
                                                          {kFiles, LBN_SELCHANGE},
                                                          {kFiles, LBN_DBLCLK},
                                                          {kMemo, EN_CHANGE},
                                                          {kName, EN_CHANGE}}));
  EXPECT_EQ(SendDlgItemMessage(dialog, kCode, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Text(dialog, kWord), "SJISx");
  EXPECT_EQ(SendDlgItemMessage(dialog, kFiles, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Text(dialog, kMemo), "memo!");
}

TEST_F(DialogTest, TabFollowsTheDeclarations) {
  Open();
  SetFocus(GetDlgItem(dialog, kName));
  std::vector<int> order{dt::FocusedControl(dialog)};
  for (int i = 0; i < 11; ++i) {
    dt::PressKey(dialog, dt::Key::kTab);
    order.push_back(dt::FocusedControl(dialog));
  }
  EXPECT_EQ(order, (std::vector<int>{kName, kMemo, kMatchCase, kUp, kDown, kCode, kWord, kFiles, IDOK, IDCANCEL, kHelp, kName}));
  dt::PressKey(dialog, dt::Key::kBackTab);
  EXPECT_EQ(dt::FocusedControl(dialog), kHelp);
}

TEST_F(DialogTest, ListAndComboMessagesWorkOnShiftJisItems) {
  Open();
  struct Case {
    const char* name;
    int id;
    UINT add, insert, count, find, findExact, select, getCurSel, getText, getTextLen, setData, getData, del, reset, err;
  };
  for (const Case& c : {Case{"list", kFiles, LB_ADDSTRING, LB_INSERTSTRING, LB_GETCOUNT, LB_FINDSTRING, LB_FINDSTRINGEXACT,
                             LB_SELECTSTRING, LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN, LB_SETITEMDATA, LB_GETITEMDATA,
                             LB_DELETESTRING, LB_RESETCONTENT, static_cast<UINT>(LB_ERR)},
                        Case{"combo", kWord, CB_ADDSTRING, CB_INSERTSTRING, CB_GETCOUNT, CB_FINDSTRING, CB_FINDSTRINGEXACT,
                             CB_SELECTSTRING, CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_SETITEMDATA, CB_GETITEMDATA,
                             CB_DELETESTRING, CB_RESETCONTENT, static_cast<UINT>(CB_ERR)}}) {
    SCOPED_TRACE(c.name);
    auto send = [&](UINT m, WPARAM w, const char* text) {
      return SendDlgItemMessage(dialog, c.id, m, w, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(send(c.add, 0, "表示.txt"_sj), 0);
    EXPECT_EQ(send(c.add, 0, "readme"), 1);
    EXPECT_EQ(send(c.insert, 0, "README.md"), 0);
    EXPECT_EQ(send(c.insert, 9, "x"), -1);
    EXPECT_EQ(send(c.count, 0, nullptr), 3);
    // Letters fold, a trail byte never does: 0x95 0x5C ("表") is no "\".
    EXPECT_EQ(send(c.find, static_cast<WPARAM>(-1), "readme"), 0);
    EXPECT_EQ(send(c.find, 0, "readme"), 2);
    EXPECT_EQ(send(c.findExact, static_cast<WPARAM>(-1), "README"), 2);
    EXPECT_EQ(send(c.find, static_cast<WPARAM>(-1), "表"_sj), 1);
    EXPECT_EQ(send(c.find, static_cast<WPARAM>(-1), "\x95\x7C"), -1);
    EXPECT_EQ(send(c.find, static_cast<WPARAM>(-1), "nothing"), -1);
    EXPECT_EQ(send(c.select, static_cast<WPARAM>(-1), "表"_sj), 1);
    EXPECT_EQ(send(c.getCurSel, 0, nullptr), 1);
    char buffer[64] = {};
    EXPECT_EQ(SendDlgItemMessage(dialog, c.id, c.getText, 1, reinterpret_cast<LPARAM>(buffer)), 8);
    EXPECT_STREQ(buffer, "表示.txt"_sj);
    EXPECT_EQ(send(c.getTextLen, 1, nullptr), 8);
    EXPECT_EQ(send(c.getTextLen, 7, nullptr), -1);
    EXPECT_EQ(SendDlgItemMessage(dialog, c.id, c.setData, 2, 0x1234567890LL), 1);
    EXPECT_EQ(send(c.getData, 2, nullptr), 0x1234567890LL);
    EXPECT_EQ(send(c.getData, 5, nullptr), -1);
    EXPECT_EQ(send(c.del, 0, nullptr), 2);
    EXPECT_EQ(send(c.del, 4, nullptr), -1);
    EXPECT_EQ(send(c.reset, 0, nullptr), 0);
    EXPECT_EQ(send(c.count, 0, nullptr), 0);
  }
  EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogTest, SettingASelectionOutOfRangeClearsIt) {
  Open();
  SendDlgItemMessage(dialog, kFiles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  SendDlgItemMessage(dialog, kCode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  EXPECT_EQ(SendDlgItemMessage(dialog, kFiles, LB_SETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessage(dialog, kFiles, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendDlgItemMessage(dialog, kFiles, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendDlgItemMessage(dialog, kCode, CB_SETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessage(dialog, kCode, CB_SETCURSEL, 3, 0), CB_ERR);
  EXPECT_EQ(SendDlgItemMessage(dialog, kCode, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(Text(dialog, kCode), "");
}

TEST_F(DialogTest, TheProgressBarKeepsItsRangeAndPosition) {
  Open();
  EXPECT_EQ(SendDlgItemMessage(dialog, kProgress, PBM_SETRANGE, 0, MAKELPARAM(10, 50)), MAKELPARAM(0, 100));
  EXPECT_EQ(SendDlgItemMessage(dialog, kProgress, PBM_SETPOS, 30, 0), 10);  // the old position, moved into the range
  EXPECT_EQ(SendDlgItemMessage(dialog, kProgress, PBM_SETPOS, 99, 0), 30);
  EXPECT_EQ(SendDlgItemMessage(dialog, kProgress, PBM_GETPOS, 0, 0), 50);  // held at the top
  EXPECT_EQ(SendDlgItemMessage(dialog, kProgress, PBM_SETRANGE32, 0, 200000), MAKELPARAM(10, 50));
  SendDlgItemMessage(dialog, kProgress, PBM_SETPOS, 150000, 0);
  auto state = dt::Query(dialog, kProgress);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->progressMin, 0);
  EXPECT_EQ(state->progressMax, 200000);
  EXPECT_EQ(state->progressPos, 150000);
}

TEST_F(DialogTest, DlgItemIntReadsANumberWithBlanksAroundIt) {
  Open();
  struct Case {
    const char* text;
    BOOL isSigned;
    UINT value;
    BOOL ok;
  };
  for (const Case& c : {Case{"42", 0, 42, 1}, Case{"  42  ", 0, 42, 1}, Case{"-42", 1, static_cast<UINT>(-42), 1},
                        Case{"-42", 0, 0, 0}, Case{"4 2", 0, 0, 0}, Case{"", 0, 0, 0}, Case{"x1", 0, 0, 0},
                        Case{"4294967295", 0, 4294967295u, 1}, Case{"4294967296", 0, 0, 0}, Case{"2147483648", 1, 0, 0},
                        Case{"-2147483648", 1, 0x80000000u, 1}}) {
    SetDlgItemText(dialog, kName, c.text);
    BOOL ok = 7;
    EXPECT_EQ(GetDlgItemInt(dialog, kName, &ok, c.isSigned), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
  }
  SetDlgItemInt(dialog, kName, static_cast<UINT>(-7), 1);
  EXPECT_EQ(Text(dialog, kName), "-7");
  SetDlgItemInt(dialog, kName, static_cast<UINT>(-7), 0);
  EXPECT_EQ(Text(dialog, kName), "4294967289");
}

TEST_F(DialogTest, TextIsShiftJisAndAGetIsCutOnAWholeCharacter) {
  Open();
  SetDlgItemText(dialog, kCount, "全角 & 半角"_sj);
  EXPECT_EQ(Text(dialog, kCount), "全角 & 半角"_sj);
  EXPECT_EQ(GetWindowText(dialog), "検索と置換のテスト"_sj);
  EXPECT_EQ(Text(dialog, kMatchCase), "英大文字と小文字を区別する(&C)"_sj);
  SetDlgItemText(dialog, kName, "漢字"_sj);
  char small[4];
  EXPECT_EQ(GetDlgItemText(dialog, kName, small, sizeof small), 2u);
  EXPECT_STREQ(small, "漢"_sj);
}

TEST_F(DialogTest, TheDialogHearsItsSizeAndPlaceBeforeInitDialogAndKeepsItsSlots) {
  dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(kEveryKind), nullptr, RecordingProc, 77);
  ASSERT_NE(dialog, nullptr);
  auto messages = Messages();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(std::vector<UINT>(messages.begin(), messages.begin() + 3), (std::vector<UINT>{WM_SIZE, WM_MOVE, WM_INITDIALOG}));
  const Seen& init = seen[2];
  EXPECT_EQ(init.lParam, 77);
  EXPECT_EQ(reinterpret_cast<HWND>(init.wParam), GetDlgItem(dialog, kName));
  EXPECT_FALSE(IsWindowVisible(dialog));  // a modeless dialog waits for its caller to show it

  SetWindowLongPtr(dialog, DWLP_USER, 0x5151);
  EXPECT_EQ(GetWindowLongPtr(dialog, DWLP_USER), 0x5151);
  EXPECT_EQ(GetWindowLongPtr(dialog, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
  // A procedure that handles a message answers with its DWLP_MSGRESULT.
  answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message != WM_USER + 9) return 0;
    SetWindowLongPtr(hwnd, DWLP_MSGRESULT, 4242);
    return 1;
  };
  EXPECT_EQ(SendMessage(dialog, WM_USER + 9, 0, 0), 4242);
  EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, kFiles)), kFiles);
  EXPECT_EQ(GetDlgItem(dialog, 7777), nullptr);

  seen.clear();
  DestroyWindow(dialog);
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(DialogTest, PlacementMovesAndSizesAtOnceAndComesBackOnScreen) {
  Open();
  RECT before;
  GetWindowRect(dialog, &before);
  seen.clear();
  WINDOWPLACEMENT wp;
  ASSERT_TRUE(GetWindowPlacement(dialog, &wp));
  EXPECT_EQ(wp.length, sizeof(WINDOWPLACEMENT));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(wp.rcNormalPosition.left, before.left);
  EXPECT_EQ(wp.rcNormalPosition.right - wp.rcNormalPosition.left, before.right - before.left);

  wp.rcNormalPosition = RECT{30, 40, 30 + (before.right - before.left) + 50, 40 + (before.bottom - before.top) + 20};
  ASSERT_TRUE(SetWindowPlacement(dialog, &wp));
  auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), WM_SIZE), messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), WM_MOVE), messages.end());
  RECT after;
  GetWindowRect(dialog, &after);
  EXPECT_EQ(after.left, 30);
  EXPECT_EQ(after.top, 40);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 50);

  // Nothing changes, nothing is said.
  seen.clear();
  SetWindowPlacement(dialog, &wp);
  EXPECT_TRUE(Messages().empty());

  // Far off every screen: back onto the nearest one.
  wp.rcNormalPosition = RECT{-5000, 100, -4700, 300};
  SetWindowPlacement(dialog, &wp);
  GetWindowRect(dialog, &after);
  EXPECT_GE(after.left, 0);
  EXPECT_LT(after.left, GetSystemMetrics(SM_CXSCREEN));

  wp.length = 12;
  EXPECT_FALSE(SetWindowPlacement(dialog, &wp));
}

TEST_F(DialogTest, TheFirstShowIsCentredOnTheOwner) {
  owner = MakeOwner();
  Pump();
  Open(kNoDefault, owner);
  RECT o, d;
  GetWindowRect(owner, &o);
  GetWindowRect(dialog, &d);
  EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1);
  EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1);
}

TEST_F(DialogTest, AModalDialogDisablesOnlyItsOwnerAndReturnsTheEndDialogValue) {
  owner = MakeOwner();
  Pump();
  bool ownerEnabledInside = true;
  bool hookRan = false;
  dt::SetShownHook([&](HWND d) {
    hookRan = true;
    ownerEnabledInside = IsWindowEnabled(owner) != 0;
    EXPECT_EQ(dt::TemplateOf(d), "9001");
    EXPECT_TRUE(IsWindowVisible(d));
    // The dialog takes input while its owner does not.
    EXPECT_TRUE(dt::Type(d, kName, "ok"));
    EXPECT_TRUE(dt::Click(d, IDOK));
  });
  answer = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) return 1;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
      EndDialog(hwnd, static_cast<INT_PTR>(GetWindowText(GetDlgItem(hwnd, kName)).size()) + 1000);
      return 1;
    }
    return 0;
  };
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kEveryKind), owner, RecordingProc, 0), 1002);
  EXPECT_TRUE(hookRan);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(owner));
  auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), WM_DESTROY), messages.end());
}

TEST_F(DialogTest, TheModalLoopDeliversPostsAndTimersToTheDialogAndItsActivation) {
  dt::SetShownHook([](HWND d) {
    SetTimer(d, 7, 20, nullptr);
    PostMessage(d, WM_USER + 2, 0, 0);
  });
  answer = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_TIMER && wParam == 7) EndDialog(hwnd, 3);
    return message == WM_INITDIALOG ? 1 : 0;
  };
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kNoDefault), nullptr, RecordingProc, 0), 3);
  auto messages = Messages();
  const auto posted = std::find(messages.begin(), messages.end(), WM_USER + 2);
  EXPECT_NE(posted, messages.end());
  EXPECT_NE(std::find(posted, messages.end(), WM_TIMER), messages.end());
  bool activated = false;
  for (const Seen& s : seen) activated |= s.message == WM_ACTIVATE && LOWORD(s.wParam) == WA_ACTIVE;
  EXPECT_TRUE(activated);
}

TEST_F(DialogTest, AQuitMetInTheModalLoopEndsTheDialogWithZeroAndStaysForTheOuterLoop) {
  dt::SetShownHook([](HWND) { PostQuitMessage(5); });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kNoDefault), nullptr, RecordingProc, 0), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(DialogTest, TheModalLoopServesOtherWindowsAndEndsWhenItsOwnerGoes) {
  owner = MakeOwner();
  Pump();
  dt::SetShownHook([&](HWND) { PostMessage(owner, WM_CLOSE, 0, 0); });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(kNoDefault), owner, RecordingProc, 0), 0);
  EXPECT_FALSE(IsWindow(owner));
}

TEST_F(DialogTest, ADisabledOwnerTakesNoInputButItsDialogDoes) {
  owner = MakeOwner();
  Pump();
  Open(kNoDefault, owner);
  EnableWindow(owner, 0);
  EXPECT_FALSE(IsWindowEnabled(owner));
  EXPECT_TRUE(dt::Click(dialog, IDOK));
  // The owner's close button does nothing while it is disabled.
  SimulateCloseButton(owner);
  Pump();
  EXPECT_TRUE(IsWindow(owner));
  // A disabled dialog refuses in turn.
  EnableWindow(dialog, 0);
  EXPECT_FALSE(dt::Click(dialog, IDOK));
  EnableWindow(owner, 1);
  SimulateCloseButton(owner);
  Pump();
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(IsWindow(dialog));  // an owned dialog goes with its owner
}

TEST_F(DialogTest, ASizeGripIsAChildWindowThatMoveWindowPlaces) {
  Open();
  HWND grip = CreateWindowEx(WS_EX_CONTROLPARENT, "SCROLLBAR", nullptr,
                             WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 0, 0, 0, 0, dialog,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(grip, nullptr);
  EXPECT_TRUE(IsWindow(grip));
  RECT client;
  GetClientRect(dialog, &client);
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  const int h = GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_GT(w, 0);
  ASSERT_TRUE(MoveWindow(grip, client.right - w, client.bottom - h, w, h, 1));
  RECT r, origin;
  GetWindowRect(grip, &r);
  GetWindowRect(GetDlgItem(dialog, kName), &origin);
  EXPECT_EQ(r.right - r.left, w);
  EXPECT_EQ(r.bottom - r.top, h);
  EXPECT_TRUE(IsWindowVisible(grip));
  ShowWindow(grip, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(grip));
  // A control of the layout is not placed by hand.
  EXPECT_FALSE(MoveWindow(GetDlgItem(dialog, kName), 0, 0, 10, 10, 1));
  EXPECT_TRUE(DestroyWindow(grip));
  EXPECT_FALSE(IsWindow(grip));
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(GetDlgItem(dialog, kName)));
}

TEST_F(DialogTest, TheDialogKeepsItsIconsAndTheSystemInformationIconExists) {
  Open();
  HICON info = LoadIcon(nullptr, IDI_INFORMATION);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, IDI_INFORMATION), info);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(SendMessage(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(info)), 0);
  EXPECT_EQ(SendMessage(dialog, WM_SETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(info));
  EXPECT_EQ(SendMessage(dialog, WM_GETICON, ICON_SMALL, 0), 0);
  SendMessage(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(info));
  EXPECT_EQ(SendMessage(dialog, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(info));
}

TEST_F(DialogTest, UserMovesAndResizesAreHeardAndAFixedDialogRefusesAResize) {
  Open();
  seen.clear();
  RECT r;
  GetWindowRect(dialog, &r);
  EXPECT_TRUE(dt::MoveTo(dialog, r.left + 7, r.top + 3));
  EXPECT_TRUE(dt::ResizeTo(dialog, r.right - r.left + 40, r.bottom - r.top + 30));
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
  ShowWindow(dialog, SW_MAXIMIZE);
  Pump();
  std::vector<WPARAM> kinds;
  for (const Seen& s : seen) {
    if (s.message == WM_SIZE) kinds.push_back(s.wParam);
  }
  ASSERT_FALSE(kinds.empty());
  EXPECT_EQ(kinds.back(), SIZE_MAXIMIZED);

  DestroyWindow(dialog);
  Open(kNoDefault);
  GetWindowRect(dialog, &r);
  EXPECT_FALSE(dt::ResizeTo(dialog, r.right - r.left + 40, r.bottom - r.top + 30));
}

// Run by the test below in a copy of this program: an edit shows its own context menu, with the
// desktop theme's icons, and the program then ends as usual.
TEST_F(DialogTest, DISABLED_AnEditShowsItsMenuInAProgramThatThenEnds) {
  Open();
  ASSERT_TRUE(dt::ContextMenu(dialog, kName));
  Pump();
  ASSERT_EQ(::write(3, "shown\n", 6), 6);
}

TEST_F(DialogTest, TheProgramEndsCleanlyAfterAnEditShowedItsMenu) {
  ChildCopy child("DialogTest.DISABLED_AnEditShowsItsMenuInAProgramThatThenEnds", {});
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.ReadLine(), "shown");
  EXPECT_EQ(child.Wait(), 0);
}

}  // namespace
