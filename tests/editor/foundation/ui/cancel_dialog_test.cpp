#include "editor/foundation/ui/cancel_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/ui/job_ui.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/dialog_test.h"
#include "platform/simulated_input.h"
#include "platform/win_help.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

// A window of the program: the owner of the job, and a way to queue what a person does while the
// job runs (the queued action runs when the job's pump dispatches it).
std::vector<std::function<void()>> queued;
int ownerCommands = 0;

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) {
    auto action = std::move(queued[wParam]);
    action();
    return 0;
  }
  if (message == WM_COMMAND) ++ownerCommands;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeOwner() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "CancelDialogOwner";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "CancelDialogOwner", "owner", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                        nullptr, nullptr, nullptr);
}

void Later(HWND owner, std::function<void()> action) {
  queued.push_back(std::move(action));
  PostMessage(owner, WM_USER, queued.size() - 1, 0);
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class CancelDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    Pump();
    queued.clear();
    ownerCommands = 0;
    owner = MakeOwner();
    Pump();
  }
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
    Pump();
  }
  HWND owner = nullptr;
};

// A job of many units that pumps between them as every user of the dialog does; returns the units done.
int RunJob(CCancelDialog& dialog, int units, const std::function<void(int)>& atUnit) {
  for (int done = 0; done < units; ++done) {
    if (atUnit) atUnit(done);
    if (!PumpPendingMessages(dialog.GetHwnd()) || dialog.m_bCanceled) return done;
  }
  return units;
}

TEST_F(CancelDialogTest, EachTemplateHasItsCallersControlsAndCancel) {
  struct Case {
    int templateId;
    std::vector<std::pair<int, ControlKind>> controls;
  };
  const std::vector<Case> cases{
      {134, {{1123, ControlKind::kStaticText}, {1124, ControlKind::kStaticText}, {1310, ControlKind::kStaticText}, {1477, ControlKind::kCheckBox}}},
      {160, {{1195, ControlKind::kProgressBar}, {1197, ControlKind::kStaticText}}},
      {191, {{1330, ControlKind::kStaticText}}},
      {192, {{1331, ControlKind::kStaticText}, {1332, ControlKind::kStaticText}}},
      {5113, {{1311, ControlKind::kProgressBar}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templateId);
    CCancelDialog dialog;
    HWND hwnd = dialog.DoModeless(nullptr, owner, c.templateId);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_FALSE(GetWindowText(hwnd).empty());
    auto cancel = dt::Query(hwnd, IDCANCEL);
    ASSERT_TRUE(cancel);
    EXPECT_EQ(cancel->kind, ControlKind::kPushButton);
    EXPECT_FALSE(cancel->isDefault);  // Enter must not cancel
    for (const auto& [id, kind] : c.controls) {
      auto state = dt::Query(hwnd, id);
      ASSERT_TRUE(state) << id;
      EXPECT_EQ(state->kind, kind) << id;
    }
    // Both icons are the system's information icon.
    HICON information = LoadIcon(nullptr, IDI_INFORMATION);
    EXPECT_EQ(SendMessage(hwnd, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(information));
    EXPECT_EQ(SendMessage(hwnd, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(information));
  }
}

TEST_F(CancelDialogTest, EscCancelsLikeTheButtonEnterDoesNothingAndTheDialogStays) {
  CCancelDialog dialog;
  HWND hwnd = dialog.DoModeless(nullptr, owner, 191);
  EXPECT_EQ(dialog.m_bCanceled, 0);
  dt::PressKey(hwnd, dt::Key::kEnter);
  EXPECT_EQ(dialog.m_bCanceled, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  dt::PressKey(hwnd, dt::Key::kEscape);
  EXPECT_EQ(dialog.m_bCanceled, 1);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  dialog.m_bCanceled = 0;
  dt::Click(hwnd, IDCANCEL);
  EXPECT_EQ(dialog.m_bCanceled, 1);
  dt::CloseButton(hwnd);
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(CancelDialogTest, AJobStopsAtTheNextUnitAfterCancelIsPressed) {
  CCancelDialog dialog;
  HWND hwnd = dialog.DoModeless(nullptr, owner, 160);
  SendDlgItemMessage(hwnd, 1195, PBM_SETRANGE32, 0, 100);
  const int done = RunJob(dialog, 100, [&](int unit) {
    SendDlgItemMessage(hwnd, 1195, PBM_SETPOS, static_cast<WPARAM>(unit), 0);
    if (unit == 40) Later(owner, [hwnd] { EXPECT_TRUE(dt::Click(hwnd, IDCANCEL)); });
  });
  EXPECT_EQ(done, 40);
  EXPECT_EQ(dt::Query(hwnd, 1195)->progressPos, 40);
}

TEST_F(CancelDialogTest, AQuitStopsTheJobAndStillEndsTheOuterLoop) {
  CCancelDialog dialog;
  dialog.DoModeless(nullptr, owner, 134);
  const int done = RunJob(dialog, 100, [&](int unit) {
    if (unit == 7) Later(owner, [] { PostQuitMessage(3); });
  });
  EXPECT_EQ(done, 7);  // the action runs in unit 7's pump; the quit ends unit 8's
  EXPECT_EQ(dialog.m_bCanceled, 0);
  // The quit is still there for the outer loop.
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(CancelDialogTest, TheOwnerTakesNoInputWhileTheDialogIsShown) {
  HWND hwnd = nullptr;
  {
    CCancelDialog dialog;
    hwnd = dialog.DoModeless(nullptr, owner, 191);
    EXPECT_FALSE(IsWindowEnabled(owner));
    // The owner's close button does nothing during the job.
    SimulateCloseButton(owner);
    RunJob(dialog, 3, nullptr);
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindowEnabled(owner));

  // An owner that was already disabled stays so.
  EnableWindow(owner, 0);
  {
    CCancelDialog dialog;
    dialog.DoModeless(nullptr, owner, 191);
  }
  EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(CancelDialogTest, ContextHelpOffersNothing) {
  std::vector<WinHelpRequest> requests;
  WinHelpHook previous = SetWinHelpHook([&](const WinHelpRequest& r) {
    requests.push_back(r);
    return 1;
  });
  CCancelDialog dialog;
  HWND hwnd = dialog.DoModeless(nullptr, owner, 134);
  SetFocus(GetDlgItem(hwnd, 1477));
  dt::PressKey(hwnd, dt::Key::kF1);
  SetWinHelpHook(previous);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].helpIds.empty());
}

TEST_F(CancelDialogTest, TheJobUiShowsTheReplaceProgressAndPumpsKeepingAQuit) {
  InstallJobUi();
  HWND shown = nullptr;
  {
    std::unique_ptr<CJobProgressBar> bar = OpenReplaceProgress();
    ASSERT_NE(bar, nullptr);
    for (HWND d : dt::OpenDialogs()) {
      if (dt::TemplateOf(d) == "5113") shown = d;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(IsWindowVisible(shown));
    bar->SetRange(0, 100);
    bar->SetPos(64);
    auto state = dt::Query(shown, 1311);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->progressMax, 100);
    EXPECT_EQ(state->progressPos, 64);
    // No window is disabled: the replace has no owner to keep from the user.
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  EXPECT_FALSE(IsWindow(shown));

  int ran = 0;
  Later(owner, [&] { ++ran; });
  EXPECT_TRUE(PumpJobMessages());
  EXPECT_EQ(ran, 1);
  PostQuitMessage(9);
  EXPECT_FALSE(PumpJobMessages());
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 9u);
  SetJobUi(JobUi{});
}

}  // namespace
