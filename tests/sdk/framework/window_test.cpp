#include "sdk/framework/window.h"

#include <gtest/gtest.h>

#include "platform/window.h"
#include "sdk/framework/full_screen.h"

namespace {

RECT Client(HWND hwnd) {
  RECT r;
  EXPECT_TRUE(platform::GetClientRect(hwnd, &r));
  return r;
}

CWindowOption Option(int width, int height) {
  CWindowOption option;
  option.caption = "window";
  option.className = "QUIBAPPLICATION";  // the class the process registers first
  option.width = width;
  option.height = height;
  option.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return option;
}

void Drain() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

TEST(Window, ScreenChangesFollowTheFullScreenFlagAndTheStoredSize) {
  SetFullScreen(false);
  CWindow window;
  ASSERT_EQ(window.Create(Option(400, 300), nullptr), 0);
  HWND hwnd = window.GetHandle();
  EXPECT_EQ(platform::GetWindowLongPtr(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
  EXPECT_TRUE(platform::IsWindowVisible(hwnd));
  EXPECT_EQ(Client(hwnd).right, 400);
  EXPECT_EQ(Client(hwnd).bottom, 300);

  int screenWidth = 0, screenHeight = 0;
  GetScreenSize(&screenWidth, &screenHeight);
  SetFullScreen(true);
  window.ChangeScreen();
  Drain();
  EXPECT_TRUE(window.IsWindowFullScreen());
  EXPECT_EQ(Client(hwnd).right, screenWidth);
  EXPECT_EQ(Client(hwnd).bottom, screenHeight);

  SetFullScreen(false);
  window.SetSize(320, 200);
  window.ChangeScreen();
  Drain();
  EXPECT_FALSE(window.IsWindowFullScreen());
  EXPECT_EQ(Client(hwnd).right, 320);
  EXPECT_EQ(Client(hwnd).bottom, 200);
  EXPECT_EQ(platform::GetWindowLongPtr(hwnd, GWL_STYLE), LONG_PTR{WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE});

  // Nothing to apply: the size is the stored one and the flag has not moved.
  window.SetSize(320, 200);
  platform::SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE);
  window.ChangeScreen();
  EXPECT_EQ(Client(hwnd).right, 100);
}

TEST(Window, FullScreenAtCreationFillsTheScreen) {
  SetFullScreen(true);
  CWindow window;
  ASSERT_EQ(window.Create(Option(640, 480), nullptr), 0);
  SetFullScreen(false);
  Drain();
  int screenWidth = 0, screenHeight = 0;
  GetScreenSize(&screenWidth, &screenHeight);
  EXPECT_TRUE(window.IsWindowFullScreen());
  EXPECT_EQ(Client(window.GetHandle()).right, screenWidth);
  EXPECT_EQ(Client(window.GetHandle()).bottom, screenHeight);
}

TEST(Window, AWindowWithoutASizeIsNeitherShownNorMoved) {
  SetFullScreen(false);
  CWindow window;
  ASSERT_EQ(window.Create(Option(0, 0), nullptr), 0);
  EXPECT_FALSE(platform::IsWindowVisible(window.GetHandle()));
}

TEST(Window, DestroyMessageHidesAndTheDestructorDestroys) {
  SetFullScreen(false);
  HWND hwnd = nullptr;
  {
    CWindow window;
    ASSERT_EQ(window.Create(Option(200, 100), nullptr), 0);
    hwnd = window.GetHandle();
    platform::SendMessage(hwnd, WM_DESTROY, 0, 0);
    EXPECT_FALSE(platform::IsWindowVisible(hwnd));
    EXPECT_EQ(window.GetHandle(), hwnd);  // only the real destruction forgets the handle
    EXPECT_EQ(platform::GetWindowLongPtr(hwnd, GWL_STYLE), LONG_PTR{WS_POPUP});
  }
  EXPECT_FALSE(platform::IsWindow(hwnd));
}

TEST(Window, OwnHookFollowsMinimisingAndForgetsTheHandle) {
  SetFullScreen(false);
  CWindow window;
  ASSERT_EQ(window.Create(Option(200, 100), nullptr), 0);
  HWND hwnd = window.GetHandle();
  struct Step {
    UINT message;
    WPARAM wParam;
    bool minimised;
  };
  for (Step s : {Step{WM_SIZE, SIZE_MINIMIZED, true}, Step{WM_SIZE, SIZE_MAXIMIZED, true},
                 Step{WM_ACTIVATEAPP, 0, true}, Step{WM_ACTIVATEAPP, 1, false}, Step{WM_SIZE, SIZE_MINIMIZED, true},
                 Step{WM_SIZE, SIZE_RESTORED, false}}) {
    EXPECT_EQ(window.OnWindowMessage(hwnd, s.message, s.wParam, 0), 0);
    EXPECT_EQ(window.IsMinimised(), s.minimised) << s.message << " " << s.wParam;
  }
  platform::DestroyWindow(hwnd);
  EXPECT_EQ(window.GetHandle(), nullptr);
}

TEST(Window, StandardClassNames) {
  for (const char* name : {"BUTTON", "COMBOBOX", "EDIT", "LISTBOX", "MDICLIENT", "SCROLLBAR", "STATIC"}) {
    EXPECT_TRUE(CWindow::IsStandardClass(name)) << name;
  }
  for (const char* name : {"edit", "Button", "", "EDIT ", "QUIBAPPLICATION"}) {
    EXPECT_FALSE(CWindow::IsStandardClass(name)) << name;
  }
}

}  // namespace
