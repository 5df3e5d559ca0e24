#include "platform/monitor.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>
#include <string>

#include "child_copy.h"
#include "platform/gui_app.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(MonitorTest, ThePrimaryScreenWithItsWorkArea) {
  EnsureGuiApp();
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const QRect g = screen->geometry();
  const QRect w = screen->availableGeometry();
  HMONITOR m = MonitorFromPoint(POINT{g.left() + 1, g.top() + 1}, MONITOR_DEFAULTTONULL);
  ASSERT_NE(m, nullptr);
  MONITORINFO info;
  ASSERT_TRUE(GetMonitorInfo(m, &info));
  EXPECT_EQ(Describe(info.rcMonitor), Describe(RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}));
  EXPECT_EQ(Describe(info.rcWork), Describe(RECT{w.left(), w.top(), w.left() + w.width(), w.top() + w.height()}));
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);

  // Far off every screen: the flags decide.
  const POINT far{g.right() + 100000, g.bottom() + 100000};
  EXPECT_EQ(MonitorFromPoint(far, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromPoint(far, MONITOR_DEFAULTTOPRIMARY), m);
  EXPECT_EQ(MonitorFromPoint(far, MONITOR_DEFAULTTONEAREST), m);

  MONITORINFO unsized;
  unsized.cbSize = 0;
  EXPECT_FALSE(GetMonitorInfo(m, &unsized));
  EXPECT_FALSE(GetMonitorInfo(nullptr, &info));
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST), nullptr);
}

// Runs under a desktop of two screens side by side, the left one primary, and reports which
// screen each place falls on: "L", "R" or "-" for none.
TEST(MonitorCopy, DISABLED_TwoScreens) {
  EnsureGuiApp();
  MONITORINFO info;
  auto name = [&](HMONITOR m) -> std::string {
    if (!m || !GetMonitorInfo(m, &info)) return "-";
    return info.rcMonitor.left == 0 ? "L" : "R";
  };
  std::string line;
  line += name(MonitorFromPoint(POINT{900, 10}, MONITOR_DEFAULTTONULL));
  line += name(MonitorFromPoint(POINT{799, 599}, MONITOR_DEFAULTTONULL));
  line += name(MonitorFromPoint(POINT{800, 700}, MONITOR_DEFAULTTONULL));   // below the left, on the right
  line += name(MonitorFromPoint(POINT{700, 700}, MONITOR_DEFAULTTONULL));   // below the left screen
  line += name(MonitorFromPoint(POINT{700, 650}, MONITOR_DEFAULTTONEAREST));  // 51 below the left, 100 left of the right
  line += name(MonitorFromPoint(POINT{5000, 100}, MONITOR_DEFAULTTONEAREST));
  line += name(MonitorFromPoint(POINT{5000, 100}, MONITOR_DEFAULTTOPRIMARY));
  line += name(MonitorFromPoint(POINT{-300, -300}, MONITOR_DEFAULTTONEAREST));
  const RECT mostlyRight{700, 100, 1000, 300};
  const RECT mostlyLeft{500, 100, 850, 300};
  line += name(MonitorFromRect(&mostlyRight, MONITOR_DEFAULTTONULL));
  line += name(MonitorFromRect(&mostlyLeft, MONITOR_DEFAULTTONULL));
  WNDCLASSEX wc;
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "MonitorCopyWindow";
  RegisterClassEx(&wc);
  HWND hwnd = CreateWindowEx(0, "MonitorCopyWindow", "", WS_VISIBLE, 1100, 200, 200, 100, nullptr, nullptr, nullptr, nullptr);
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  line += " " + name(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONULL));
  GetMonitorInfo(MonitorFromPoint(POINT{900, 10}, MONITOR_DEFAULTTONULL), &info);
  line += " " + Describe(info.rcMonitor) + " " + std::to_string(info.dwFlags);
  dprintf(3, "%s\n", line.c_str());
}

TEST(MonitorTest, TheNearestOfTwoScreens) {
  ScopedTempDir dir;
  dir.Write("screens.json", R"({"screens": [
    {"name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},
    {"name": "right", "x": 800, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96}]})");
  ChildCopy copy("MonitorCopy.DISABLED_TwoScreens", {"QT_QPA_PLATFORM=offscreen:configfile=" + dir.File("screens.json")});
  ASSERT_TRUE(copy.started());
  EXPECT_EQ(copy.ReadLine(), "RLR-LRLLRL R 800,0,1824,768 0");
  EXPECT_EQ(copy.Wait(), 0);
}

}  // namespace
