// The window requests through ipc ids: another process places, shows, minimises and restores its
// own window when asked, in the order asked, and says how the window stands.
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "child_copy.h"
#include "ipc_child_window.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"

namespace {

using namespace platform;

constexpr UINT kReport = WM_USER + 51;

using ipc_test::Pump;

// "x,y,w,h" of the frame's outer rectangle on the screen, then "shown" or "hidden".
std::string Describe(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
         std::to_string(r.bottom - r.top) + (IsWindowVisible(hwnd) ? " shown" : " hidden");
}

LRESULT ReportingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReport) {
    dprintf(3, "%s\n", Describe(hwnd).c_str());
    return 1;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = ReportingProc;
    wc.lpszClassName = "IpcWindowRequestsTest";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  HWND hwnd = CreateWindowEx(0, "IpcWindowRequestsTest", "requests",
                             WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VISIBLE, 40, 50, 200, 150,
                             nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr);
  return hwnd;
}

// The other process: a shown window registered with ipc; it reports its id, then serves requests
// until its input closes.
TEST(IpcWindowRequestsCopy, DISABLED_ShownWindow) {
  ipc_test::ServeWindowUntilInputCloses("IpcWindowRequestsTest", MakeWindow, [](HWND) {});
}

TEST(IpcWindowRequests, TheOtherProcessPlacesAndShowsItsWindowAsAsked) {
  EnsureGuiApp();
  ChildCopy child("IpcWindowRequestsCopy.DISABLED_ShownWindow", {});
  ASSERT_TRUE(child.started());
  const auto id = static_cast<ipc::WindowId>(std::strtoul(child.ReadLine().c_str(), nullptr, 10));
  ASSERT_NE(id, 0u);
  ASSERT_EQ(ipc::ProcessOf(id), child.pid());

  // Each request is done when it returns: the report that follows sees it.
  ASSERT_TRUE(ipc::SetWindowPos(id, 0, 90, 60, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_EQ(ipc::SendMessage(id, kReport, 0, 0), 1);
  EXPECT_EQ(child.ReadLine(), "90,60,320,240 shown");
  WINDOWPLACEMENT placement{};
  ASSERT_TRUE(ipc::GetWindowPlacement(id, &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(placement.rcNormalPosition.left, 90);
  EXPECT_EQ(placement.rcNormalPosition.top, 60);

  // Only the size, then only the place.
  ASSERT_TRUE(ipc::SetWindowPos(id, 0, 0, 0, 250, 180, SWP_NOMOVE | SWP_NOZORDER));
  ASSERT_TRUE(ipc::SetWindowPos(id, 0, 15, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  EXPECT_EQ(ipc::SendMessage(id, kReport, 0, 0), 1);
  EXPECT_EQ(child.ReadLine(), "15,25,250,180 shown");

  EXPECT_FALSE(ipc::IsIconic(id));
  ASSERT_TRUE(ipc::ShowWindow(id, SW_MINIMIZE));
  EXPECT_TRUE(ipc::IsIconic(id));
  ASSERT_TRUE(ipc::ShowWindow(id, SW_RESTORE));
  EXPECT_FALSE(ipc::IsIconic(id));
  ASSERT_TRUE(ipc::GetWindowPlacement(id, &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));

  ASSERT_TRUE(ipc::ShowWindow(id, SW_HIDE));
  EXPECT_EQ(ipc::SendMessage(id, kReport, 0, 0), 1);
  EXPECT_EQ(child.ReadLine(), "15,25,250,180 hidden");
  EXPECT_FALSE(ipc::IsWindowVisible(id));
  ASSERT_TRUE(ipc::ShowWindow(id, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(ipc::IsWindowVisible(id));

  child.CloseInput();
  EXPECT_EQ(child.Wait(), 0);
  ipc::RemoveSocketOfEndedProcess(child.pid());

  // The process is gone: every request fails at once.
  EXPECT_FALSE(ipc::GetWindowPlacement(id, &placement));
  EXPECT_FALSE(ipc::IsIconic(id));
  EXPECT_FALSE(ipc::ShowWindow(id, SW_RESTORE));
  EXPECT_FALSE(ipc::SetWindowPos(id, 0, 0, 0, 10, 10, 0));
}

TEST(IpcWindowRequests, AWindowThatIsNotRegisteredRefusesThem) {
  EnsureGuiApp();
  HWND hwnd = MakeWindow();
  const ipc::WindowId id = ipc::RegisterWindow(hwnd, "IpcWindowRequestsTest");
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(ipc::SetWindowPos(id, 0, 30, 35, 220, 160, SWP_NOZORDER));
  EXPECT_EQ(Describe(hwnd), "30,35,220,160 shown");
  ipc::UnregisterWindow(id);
  WINDOWPLACEMENT placement{};
  EXPECT_FALSE(ipc::GetWindowPlacement(id, &placement));
  EXPECT_FALSE(ipc::ShowWindow(id, SW_HIDE));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(ipc::GetWindowPlacement(id, nullptr));
  DestroyWindow(hwnd);
  Pump();
}

}  // namespace
