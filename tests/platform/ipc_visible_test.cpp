// Whether another process's window shows, asked through its ipc id.
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <csignal>
#include <unistd.h>

#include "child_copy.h"
#include "ipc_child_window.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"

namespace {

using namespace platform;

// Sent to the other process's window: ShowWindow with the command in wParam.
constexpr UINT kShow = WM_USER + 60;

using ipc_test::Pump;

LRESULT ShowingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kShow) {
    ShowWindow(hwnd, static_cast<int>(wParam));
    return 1;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = ShowingProc;
    wc.lpszClassName = "IpcVisibleTestWindow";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowEx(0, "IpcVisibleTestWindow", "visible", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 10, 10, 120,
                        80, nullptr, nullptr, nullptr, nullptr);
}

// The other process: a hidden window registered with ipc; it reports the id and serves until its
// input closes.
TEST(IpcVisibleCopy, DISABLED_HiddenWindow) {
  ipc_test::ServeWindowUntilInputCloses("IpcVisibleTestWindow", MakeWindow, [](HWND) {});
}

TEST(IpcVisible, AnotherProcesssWindowAsItShows) {
  EnsureGuiApp();
  ChildCopy child("IpcVisibleCopy.DISABLED_HiddenWindow", {});
  ASSERT_TRUE(child.started());
  const auto id = static_cast<ipc::WindowId>(std::strtoul(child.ReadLine().c_str(), nullptr, 10));
  ASSERT_NE(id, 0u);
  EXPECT_FALSE(ipc::IsWindowVisible(id)) << "made hidden";
  struct Step {
    const char* name;
    int command;
    bool visible;
  };
  const Step steps[] = {
      {"shown", SW_SHOW, true},
      {"minimised still counts as shown", SW_MINIMIZE, true},
      {"restored", SW_RESTORE, true},
      {"hidden", SW_HIDE, false},
      {"shown again", SW_SHOWNOACTIVATE, true},
  };
  for (const Step& s : steps) {
    ASSERT_EQ(ipc::SendMessage(id, kShow, static_cast<WPARAM>(s.command), 0), 1) << s.name;
    EXPECT_EQ(ipc::IsWindowVisible(id), s.visible) << s.name;
  }
  child.CloseInput();
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_FALSE(ipc::IsWindowVisible(id)) << "its process has ended";
  ipc::RemoveSocketOfEndedProcess(child.pid());
}

TEST(IpcVisible, AWindowOfThisProcess) {
  EnsureGuiApp();
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  const ipc::WindowId id = ipc::RegisterWindow(hwnd, "IpcVisibleTestWindow");
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(ipc::IsWindowVisible(id)) << "shown before it was registered";
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_FALSE(ipc::IsWindowVisible(id));
  ShowWindow(hwnd, SW_SHOW);
  ipc::UnregisterWindow(id);
  EXPECT_FALSE(ipc::IsWindowVisible(id)) << "no longer registered";
  DestroyWindow(hwnd);
  Pump();
}

}  // namespace
