// What a top-level window is beyond its place: kept on top, its icons, its activation, and the
// work area it is kept in.
#include <QGuiApplication>
#include <QScreen>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/foreground_window.h"
#include "platform/gui_app.h"
#include "platform/monitor.h"
#include "platform/window.h"
#include "platform/window_qt.h"
#include "png_fixture.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::PumpTranslated;
using platform_test::SeenMessages;

HWND MakeWindow(const char* title, DWORD style = WS_CAPTION | WS_SYSMENU) {
  return CreateWindowEx(0, platform_test::RecordingClass(), title, style, 30, 40, 200, 120, nullptr, nullptr, nullptr,
                        nullptr);
}

std::string Rect(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hwnd, &wp);
  return std::to_string(wp.rcNormalPosition.left) + "," + std::to_string(wp.rcNormalPosition.top) + " " +
         std::to_string(r.right) + "x" + std::to_string(r.bottom);
}

void PumpFor(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < end) {
    PumpTranslated();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

class WindowStateTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    PumpTranslated();
    SeenMessages().clear();
  }
  void TearDown() override {
    for (HWND w : made)
      if (IsWindow(w)) DestroyWindow(w);
    PumpTranslated();
    SeenMessages().clear();
  }
  HWND Make(const char* title) {
    HWND w = MakeWindow(title);
    made.push_back(w);
    return w;
  }
  std::vector<HWND> made;
};

TEST_F(WindowStateTest, TopmostComesAndGoesThroughTheZOrder) {
  HWND hwnd = Make("topmost");
  ASSERT_NE(hwnd, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  PumpTranslated();
  const std::string before = Rect(hwnd);
  struct Step {
    const char* name;
    HWND insertAfter;
    UINT flags;
    bool topmost;
  };
  const Step steps[] = {
      {"HWND_TOPMOST sets it", HWND_TOPMOST, SWP_NOMOVE | SWP_NOSIZE, true},
      {"SWP_NOZORDER leaves it", HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, true},
      {"HWND_TOP leaves it", HWND_TOP, SWP_NOMOVE | SWP_NOSIZE, true},
      {"HWND_NOTOPMOST clears it", HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE, false},
      {"HWND_NOTOPMOST again changes nothing", HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE, false},
  };
  for (const Step& s : steps) {
    ASSERT_TRUE(SetWindowPos(hwnd, s.insertAfter, 0, 0, 0, 0, s.flags)) << s.name;
    PumpTranslated();
    EXPECT_EQ((GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, s.topmost) << s.name;
    EXPECT_EQ(WindowFromHandle(hwnd)->windowFlags().testFlag(Qt::WindowStaysOnTopHint), s.topmost) << s.name;
    EXPECT_TRUE(IsWindowVisible(hwnd)) << s.name;
    EXPECT_EQ(Rect(hwnd), before) << s.name;
  }
}

TEST_F(WindowStateTest, TopmostOutlivesAStyleChangeAndStaysHiddenWhenHidden) {
  HWND hwnd = Make("hidden topmost");
  ASSERT_TRUE(SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  SetWindowLongPtr(hwnd, GWL_STYLE, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_TRUE(WindowFromHandle(hwnd)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOPMOST));
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

// The sizes of the icon the window manager is given.
std::string ShownIconSizes(HWND hwnd) {
  std::string out;
  for (QSize s : WindowFromHandle(hwnd)->windowIcon().availableSizes()) out += std::to_string(s.width()) + " ";
  return out;
}

TEST_F(WindowStateTest, SetIconKeepsTwoIconsAndFallsBackToTheClassIcon) {
  const std::string classPng = platform_test::Png(24, Qt::blue), bigPng = platform_test::Png(32, Qt::red),
                    smallPng = platform_test::Png(16, Qt::green);
  ASSERT_TRUE(RegisterIconResource("WindowStateClassIcon", platform_test::Bytes(classPng)));
  ASSERT_TRUE(RegisterIconResource("WindowStateBig", platform_test::Bytes(bigPng)));
  ASSERT_TRUE(RegisterIconResource("WindowStateSmall", platform_test::Bytes(smallPng)));
  const HICON classIcon = LoadIcon(nullptr, "WindowStateClassIcon");
  const HICON big = LoadIcon(nullptr, "WindowStateBig");
  const HICON small = LoadIcon(nullptr, "WindowStateSmall");
  WNDCLASSEX wc;
  wc.lpfnWndProc = platform_test::RecordingProc;
  wc.hIcon = classIcon;
  wc.lpszClassName = "WindowStateIconClass";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND hwnd =
      CreateWindowEx(0, "WindowStateIconClass", "icons", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  made.push_back(hwnd);
  auto set = [&](WPARAM which, HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
  };
  auto get = [&](WPARAM which) { return reinterpret_cast<HICON>(SendMessage(hwnd, WM_GETICON, which, 0)); };

  EXPECT_EQ(ShownIconSizes(hwnd), "24 ");
  EXPECT_EQ(get(ICON_BIG), nullptr) << "the class icon is not the window's own";
  EXPECT_EQ(set(ICON_SMALL, small), nullptr);
  EXPECT_EQ(ShownIconSizes(hwnd), "16 ");
  EXPECT_EQ(set(ICON_BIG, big), nullptr);
  EXPECT_EQ(ShownIconSizes(hwnd), "32 ") << "the big one where both are set";
  EXPECT_EQ(get(ICON_BIG), big);
  EXPECT_EQ(get(ICON_SMALL), small);
  EXPECT_EQ(set(ICON_BIG, nullptr), big) << "the replaced icon comes back";
  EXPECT_EQ(ShownIconSizes(hwnd), "16 ");
  EXPECT_EQ(set(ICON_SMALL, nullptr), small);
  EXPECT_EQ(ShownIconSizes(hwnd), "24 ") << "neither: the class's";
}

TEST_F(WindowStateTest, ActivationIsToldWithTheWindowThatTakesIt) {
  HWND a = Make("a"), b = Make("b");
  ShowWindow(a, SW_SHOW);
  ShowWindow(b, SW_SHOW);
  SetForegroundWindow(a);
  PumpFor(std::chrono::milliseconds(50));
  if (!WindowFromHandle(a)->isActiveWindow()) GTEST_SKIP() << "this platform does not activate windows";
  SeenMessages().clear();
  SetForegroundWindow(b);
  PumpFor(std::chrono::milliseconds(50));
  auto name = [&](LPARAM lParam) {
    const auto other = reinterpret_cast<HWND>(lParam);
    return other == nullptr ? "null" : other == a ? "a" : other == b ? "b" : "other";
  };
  auto activations = [&](HWND w) {
    std::vector<std::string> out;
    for (const auto& s : platform_test::SeenBy(w, [](UINT m) { return m == WM_ACTIVATE; })) {
      out.push_back(std::to_string(LOWORD(s.wParam)) + "," + std::to_string(HIWORD(s.wParam)) + "," + name(s.lParam));
    }
    return out;
  };
  EXPECT_EQ(activations(a), std::vector<std::string>{"0,0,b"});
  EXPECT_EQ(activations(b), std::vector<std::string>{"1,0,null"});
}

TEST_F(WindowStateTest, ShowStatesTheWindowGoesInto) {
  struct Case {
    const char* name;
    int command;
    bool visible;
    bool iconic;
    UINT showCmd;
  };
  const Case cases[] = {
      {"SW_SHOWMINIMIZED", SW_SHOWMINIMIZED, true, true, SW_SHOWMINIMIZED},
      {"SW_SHOWMINNOACTIVE", SW_SHOWMINNOACTIVE, true, true, SW_SHOWMINIMIZED},
      {"SW_FORCEMINIMIZE", SW_FORCEMINIMIZE, true, true, SW_SHOWMINIMIZED},
      {"SW_MAXIMIZE", SW_MAXIMIZE, true, false, SW_SHOWMAXIMIZED},
      {"SW_SHOWNOACTIVATE", SW_SHOWNOACTIVATE, true, false, SW_SHOWNORMAL},
      {"SW_SHOWNA", SW_SHOWNA, true, false, SW_SHOWNORMAL},
      {"SW_SHOWDEFAULT", SW_SHOWDEFAULT, true, false, SW_SHOWNORMAL},
      {"SW_HIDE", SW_HIDE, false, false, SW_SHOWNORMAL},
  };
  for (const Case& c : cases) {
    HWND hwnd = Make(c.name);
    ShowWindow(hwnd, c.command);
    PumpTranslated();
    EXPECT_EQ(IsWindowVisible(hwnd) != 0, c.visible) << c.name;
    EXPECT_EQ(IsIconic(hwnd) != 0, c.iconic) << c.name;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &wp)) << c.name;
    EXPECT_EQ(wp.showCmd, c.showCmd) << c.name;
    // Showing without the activation is for this showing only.
    EXPECT_FALSE(WindowFromHandle(hwnd)->testAttribute(Qt::WA_ShowWithoutActivating)) << c.name;
    DestroyWindow(hwnd);
  }
}

// With a sizing frame the window starts at the client size asked and then takes whatever size it
// is given (the user's drag, the window manager's maximise), each told as WM_SIZE; without one it
// keeps its client size.
TEST_F(WindowStateTest, SizingFrameLetsTheWindowBeResizedAndMaximised) {
  struct Case {
    const char* name;
    DWORD style;
    bool follows;
  };
  const Case cases[] = {{"sizing frame", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, true},
                        {"fixed", WS_CAPTION | WS_SYSMENU, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND hwnd = MakeWindow(c.name, c.style);
    made.push_back(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    PumpTranslated();
    EXPECT_EQ(Rect(hwnd).substr(Rect(hwnd).find(' ') + 1), "200x120");
    SeenMessages().clear();
    Window* window = WindowFromHandle(hwnd);
    window->resize(window->size() + QSize(60, 40));
    PumpTranslated();
    EXPECT_EQ(Rect(hwnd).substr(Rect(hwnd).find(' ') + 1), c.follows ? "260x160" : "200x120");
    const auto sizes = platform_test::SeenBy(hwnd, [](UINT m) { return m == WM_SIZE; });
    if (c.follows) {
      ASSERT_FALSE(sizes.empty());
      EXPECT_EQ(sizes.back().wParam, SIZE_RESTORED);
      EXPECT_EQ(sizes.back().lParam, MAKELPARAM(260, 160));
      // Asked again, the client size is the one asked.
      SetWindowPos(hwnd, nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER);
      PumpTranslated();
      EXPECT_EQ(Rect(hwnd).substr(Rect(hwnd).find(' ') + 1), "150x90");
      SeenMessages().clear();
      ShowWindow(hwnd, SW_MAXIMIZE);
      PumpTranslated();
      const auto maximised = platform_test::SeenBy(hwnd, [](UINT m) { return m == WM_SIZE; });
      ASSERT_FALSE(maximised.empty());
      EXPECT_EQ(maximised.back().wParam, SIZE_MAXIMIZED);
    }
  }
}

TEST_F(WindowStateTest, TheWorkAreaIsThePrimaryScreens) {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  RECT r{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0));
  EXPECT_EQ(r.left, work.left());
  EXPECT_EQ(r.top, work.top());
  EXPECT_EQ(r.right, work.left() + work.width());
  EXPECT_EQ(r.bottom, work.top() + work.height());
  EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfo(0x0031, 0, &r, 0));
  bool offThread = true;
  std::thread([&] { offThread = SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0); }).join();
  EXPECT_FALSE(offThread);
}

}  // namespace
