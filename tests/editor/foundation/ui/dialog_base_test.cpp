#include "editor/foundation/ui/dialog_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

// Rectangles compare and print in the failure messages (RECT lives in the global namespace).
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

constexpr int kTemplate = 9101;
constexpr int kEdit = 1001;
constexpr int kList = 1002;
constexpr int kCombo = 1003;
constexpr int kCheck = 1004;
constexpr int kApply = 1005;

void Declare(DialogBuilder& b) {
  b.Caption("ダイアログの土台"_sj);
  b.Resizable();
  b.Edit(kEdit);
  b.ListBox(kList).Lines(3);
  b.ComboBox(kCombo);
  b.CheckBox(kCheck, "チェック(&C)"_sj);
  b.Row([&] {
    b.PushButton(IDOK, "OK").Default();
    b.PushButton(IDCANCEL, "キャンセル"_sj);
    b.PushButton(kApply, "適用(&A)"_sj);
  });
}

// A dialog that says what reached it and shows its saved placement.
class Recorder : public CDialogBase {
 public:
  std::vector<std::string> calls;
  bool growGrip = false;
  std::function<void(Recorder&, HWND)> fill;

  void FillControls() override {
    if (fill) fill(*this, m_hWnd);
  }
  INT_PTR OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) override {
    calls.push_back("init");
    INT_PTR result = CDialogBase::OnInitDialog(hwnd, wParam, lParam);
    if (growGrip) CreateSizeGrip();
    return result;
  }
  INT_PTR OnSize(WPARAM wParam, LPARAM lParam) override {
    calls.push_back("size");
    return CDialogBase::OnSize(wParam, lParam);
  }
  INT_PTR OnMove(WPARAM wParam, LPARAM lParam) override {
    calls.push_back("move");
    return CDialogBase::OnMove(wParam, lParam);
  }
  INT_PTR OnButtonClicked(int id) override {
    calls.push_back("button " + std::to_string(id));
    return CDialogBase::OnButtonClicked(id);
  }
  INT_PTR OnSelChange(HWND, int id) override {
    calls.push_back("selchange " + std::to_string(id));
    return 0;
  }
  INT_PTR OnDoubleClick(int id) override {
    calls.push_back("dblclk " + std::to_string(id));
    return 0;
  }
  INT_PTR OnComboEditChange(HWND, int id) override {
    calls.push_back("comboedit " + std::to_string(id));
    return 0;
  }
  INT_PTR OnEditChange(HWND, int id) override {
    calls.push_back("editchange " + std::to_string(id));
    return 0;
  }
  const DWORD* GetHelpIds() override {
    static const DWORD ids[] = {kEdit, 8001, kList, 8002, 0, 0};
    return ids;
  }
  RECT Saved() const { return RECT{m_nXPos, m_nYPos, m_nXPos + m_nWidth, m_nYPos + m_nHeight}; }
  int ShowCmd() const { return m_nShowCmd; }
  HWND Grip() const { return m_hwndSizeBox; }
  int Inited() const { return m_bInited; }
};

RECT WindowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class DialogBaseTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDialogTemplate(kTemplate, Declare); }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    Pump();
  }
};

TEST_F(DialogBaseTest, MessagesBeforeInitDialogFindNoObject) {
  Recorder dialog;
  HWND hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  ASSERT_NE(hwnd, nullptr);
  // The dialog heard its size and place before WM_INITDIALOG, but the object did not.
  ASSERT_FALSE(dialog.calls.empty());
  EXPECT_EQ(dialog.calls.front(), "init");
  // A dialog without an object answers FALSE to everything.
  HWND bare = CreateDialogParam(nullptr, MAKEINTRESOURCE(kTemplate), nullptr, CDialogBase::DialogProc, 0);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(CDialogBase::DialogProc(bare, WM_SETFONT, 0, 0), 0);
  EXPECT_EQ(CDialogBase::DialogProc(bare, WM_COMMAND, IDOK, 0), 0);
  DestroyWindow(bare);
}

TEST_F(DialogBaseTest, ThePlacementIsRestoredOnTheSecondDoModal) {
  Recorder dialog;
  RECT moved{};
  dt::SetShownHook([&](HWND hwnd) {
    RECT r = WindowRect(hwnd);
    dt::MoveTo(hwnd, 37, 29);
    dt::ResizeTo(hwnd, r.right - r.left + 60, r.bottom - r.top + 40);
    moved = WindowRect(hwnd);
    dt::PressKey(hwnd, dt::Key::kEscape);
  });
  EXPECT_EQ(dialog.DoModal(nullptr, nullptr, kTemplate, 5), 0);
  EXPECT_EQ(moved.left, 37);
  EXPECT_EQ(dialog.Saved(), moved);
  EXPECT_EQ(dialog.GetHwnd(), nullptr);

  RECT restored{};
  dt::SetShownHook([&](HWND hwnd) {
    restored = WindowRect(hwnd);
    dt::Click(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(nullptr, nullptr, kTemplate, 5), 0);
  EXPECT_EQ(restored, moved);
}

TEST_F(DialogBaseTest, AMoveBeforeInitDialogEndsIsNotSavedButASizeIs) {
  Recorder dialog;
  // A placement to restore.
  HWND hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  dt::MoveTo(hwnd, 200, 150);
  const RECT first = dialog.Saved();
  EXPECT_EQ(first.left, 200);
  dialog.Close(0);

  // Filling the controls comes after the object is bound and before the restore.
  RECT afterMove{}, afterSize{};
  dialog.fill = [&](Recorder& self, HWND h) {
    RECT r = WindowRect(h);
    MoveWindow(h, 10, 12, r.right - r.left, r.bottom - r.top, 1);
    afterMove = self.Saved();
    MoveWindow(h, 10, 12, r.right - r.left + 30, r.bottom - r.top, 1);
    afterSize = self.Saved();
  };
  hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  EXPECT_EQ(afterMove, first);
  EXPECT_EQ(afterSize.left, 10);
  EXPECT_EQ(afterSize.right - afterSize.left, first.right - first.left + 30);
  // The restore then used what the size saved.
  EXPECT_EQ(WindowRect(hwnd), afterSize);
  EXPECT_EQ(dialog.Inited(), 1);
}

TEST_F(DialogBaseTest, TheSizeGripSitsInTheCornerAndHidesWhileMaximised) {
  Recorder dialog;
  dialog.growGrip = true;
  HWND hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  ASSERT_NE(dialog.Grip(), nullptr);
  RECT r = WindowRect(hwnd);
  dt::ResizeTo(hwnd, r.right - r.left + 20, r.bottom - r.top + 20);
  RECT grip = WindowRect(dialog.Grip());
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{};
  RECT canvas = WindowRect(hwnd);  // no frame here: the client area starts at the window's corner
  origin = POINT{canvas.left, canvas.top};
  EXPECT_EQ(grip.right - origin.x, client.right);
  EXPECT_EQ(grip.bottom - origin.y, client.bottom);
  EXPECT_EQ(grip.right - grip.left, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_TRUE(IsWindowVisible(dialog.Grip()));

  ShowWindow(hwnd, SW_MAXIMIZE);
  Pump();
  EXPECT_FALSE(IsWindowVisible(dialog.Grip()));
  ShowWindow(hwnd, SW_RESTORE);
  Pump();
  EXPECT_TRUE(IsWindowVisible(dialog.Grip()));
  HWND grip_handle = dialog.Grip();
  dialog.Close(0);
  EXPECT_FALSE(IsWindow(grip_handle));
  EXPECT_EQ(dialog.Grip(), nullptr);
}

TEST_F(DialogBaseTest, F1AndARightClickAskForHelpWithTheDialogsTable) {
  std::vector<WinHelpRequest> requests;
  WinHelpHook previous = SetWinHelpHook([&](const WinHelpRequest& r) {
    requests.push_back(r);
    return 1;
  });
  Recorder dialog;
  HWND hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  SetFocus(GetDlgItem(hwnd, kCheck));
  dt::PressKey(hwnd, dt::Key::kF1);
  dt::ContextMenu(hwnd, kApply);
  SetWinHelpHook(previous);

  const std::vector<std::pair<uint32_t, uint32_t>> table{{kEdit, 8001}, {kList, 8002}};
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].command, HELP_WM_HELP);
  EXPECT_EQ(requests[0].window, GetDlgItem(hwnd, kCheck));
  // The check box has no entry: the table does not name it.
  EXPECT_EQ(requests[0].helpIds, table);
  EXPECT_NE(requests[0].helpFile.find("tovara.hlp"), std::string::npos);
  EXPECT_EQ(requests[1].command, HELP_CONTEXTMENU);
  EXPECT_EQ(requests[1].window, hwnd);
  EXPECT_EQ(requests[1].helpIds, table);
}

TEST_F(DialogBaseTest, CommandsSplitByTheirNotificationCode) {
  Recorder dialog;
  HWND hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
  SendDlgItemMessage(hwnd, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  SendDlgItemMessage(hwnd, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
  SendDlgItemMessage(hwnd, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("three"));
  dialog.calls.clear();
  dt::Click(hwnd, kCheck);
  dt::Click(hwnd, kApply);
  dt::DoubleClick(hwnd, kList, 1);
  dt::Select(hwnd, kCombo, 0);
  dt::Type(hwnd, kCombo, "x");
  dt::Type(hwnd, kEdit, "y");
  SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(kEdit, 0x400), 0);  // a code it does not route
  EXPECT_EQ(dialog.calls, (std::vector<std::string>{"button 1004", "button 1005", "selchange 1002", "dblclk 1002",
                                                   "selchange 1003", "comboedit 1003", "editchange 1001"}));
  EXPECT_TRUE(IsWindow(hwnd));
  // OK and Cancel close it, modeless as it is.
  dt::Click(hwnd, IDOK);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(dialog.GetHwnd(), nullptr);
}

TEST_F(DialogBaseTest, CloseWithoutADialogDoesNothingAndTheDestructorCloses) {
  HWND hwnd = nullptr;
  {
    Recorder dialog;
    EXPECT_EQ(dialog.Close(0), 0);
    hwnd = dialog.DoModeless(nullptr, nullptr, kTemplate, 0, SW_SHOW);
    ASSERT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));

  Recorder unknown;
  dt::SetShownHook([](HWND) { ADD_FAILURE() << "no dialog to show"; });
  EXPECT_EQ(unknown.DoModal(nullptr, nullptr, 4444, 0), -1);
  EXPECT_EQ(unknown.DoModeless(nullptr, nullptr, 4444, 0, SW_SHOW), nullptr);
  EXPECT_TRUE(unknown.calls.empty());
}

TEST_F(DialogBaseTest, AModalDialogEndsWithTheValueCloseGives) {
  class Ender : public Recorder {
   public:
    INT_PTR OnButtonClicked(int id) override {
      if (id == kApply) {
        Close(77);
        return 1;
      }
      return Recorder::OnButtonClicked(id);
    }
  } dialog;
  dt::SetShownHook([](HWND hwnd) { dt::Click(hwnd, kApply); });
  EXPECT_EQ(dialog.DoModal(nullptr, nullptr, kTemplate, 0), 77);
}

}  // namespace
