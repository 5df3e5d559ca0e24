#include "platform/foreground_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/gui_call.h"
#include "platform/input_method.h"
#include "platform/simulated_input.h"
#include "platform/window.h"

namespace {

using namespace platform;

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

class ForegroundTest : public testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = "ForegroundTestClass";
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = CreateWindowEx(0, "ForegroundTestClass", "front", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                          CW_USEDEFAULT, CW_USEDEFAULT, 160, 120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Pump();
  }
  HWND hwnd = nullptr;
};

TEST_F(ForegroundTest, ARequestFromAnotherThreadRestoresTheWindowOnTheGuiThread) {
  SimulateMinimize(hwnd);
  Pump();
  ASSERT_TRUE(IsIconic(hwnd));
  std::atomic<bool> ran{false};
  std::atomic<bool> onGuiThread{false};
  std::thread worker([&] {
    EXPECT_TRUE(CallOnGuiThread([&] {
      ShowWindow(hwnd, SW_SHOWNORMAL);
      onGuiThread = SetForegroundWindow(hwnd) != 0;  // fails off the GUI thread
      ran = true;
    }));
  });
  worker.join();
  EXPECT_FALSE(ran);  // waits for the GUI thread to take in its events
  Pump();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(onGuiThread);
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_EQ(SetForegroundWindow(nullptr), 0);
}

TEST_F(ForegroundTest, TheInputMethodIsSwitchedPerWindow) {
  EnableInputMethod(hwnd, true);
  EXPECT_TRUE(IsInputMethodEnabled(hwnd));
  EnableInputMethod(hwnd, false);
  EXPECT_FALSE(IsInputMethodEnabled(hwnd));
  EnableInputMethod(nullptr, true);  // no window, nothing to do
  EXPECT_FALSE(IsInputMethodEnabled(nullptr));
}

}  // namespace
