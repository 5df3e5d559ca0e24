#include "platform/key_state.h"

#include <Qt>
#include <gtest/gtest.h>
#include <thread>

#include "platform/gui_app.h"
#include "platform/simulated_input.h"
#include "platform/window.h"

namespace {

using namespace platform;

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

bool Held(int vk) { return GetKeyState(vk) < 0; }

class KeyStateTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = PlainProc;
      wc.lpszClassName = "KeyStateTestWindow";
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = CreateWindowEx(0, "KeyStateTestWindow", "", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    Pump();
  }
  void TearDown() override {
    for (int key : {int{Qt::Key_Shift}, int{Qt::Key_Control}, int{Qt::Key_Alt}}) SimulateKey(hwnd, key, false);
    Pump();
    DestroyWindow(hwnd);
    Pump();
  }
  HWND hwnd = nullptr;
};

TEST_F(KeyStateTest, EachModifierIsHeldFromItsPressToItsRelease) {
  struct Case {
    const char* name;
    int qtKey;
    int vk;
  };
  for (const Case& c : {Case{"shift", Qt::Key_Shift, VK_SHIFT}, Case{"control", Qt::Key_Control, VK_CONTROL},
                        Case{"alt", Qt::Key_Alt, VK_MENU}}) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(Held(c.vk));
    SimulateKey(hwnd, c.qtKey, true);
    Pump();
    EXPECT_TRUE(Held(c.vk));
    EXPECT_EQ(GetKeyState(c.vk) & 0x8000, 0x8000);
    // Only that one.
    for (int other : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
      if (other != c.vk) {
        EXPECT_FALSE(Held(other));
      }
    }
    SimulateKey(hwnd, Qt::Key_A, true);
    SimulateKey(hwnd, Qt::Key_A, false);
    Pump();
    EXPECT_TRUE(Held(c.vk));
    SimulateKey(hwnd, c.qtKey, false);
    Pump();
    EXPECT_FALSE(Held(c.vk));
  }
  EXPECT_EQ(GetKeyState('A'), 0);
}

TEST_F(KeyStateTest, LosingTheUsersAttentionReleasesEveryKey) {
  SimulateKey(hwnd, Qt::Key_Shift, true);
  SimulateKey(hwnd, Qt::Key_Control, true);
  Pump();
  ASSERT_TRUE(Held(VK_SHIFT));
  SimulateAppActive(false);
  Pump();
  EXPECT_FALSE(Held(VK_SHIFT));
  EXPECT_FALSE(Held(VK_CONTROL));
  SimulateAppActive(true);
  Pump();
}

TEST_F(KeyStateTest, OffTheGuiThreadNothingIsHeld) {
  SimulateKey(hwnd, Qt::Key_Shift, true);
  Pump();
  SHORT state = -1;
  std::thread([&] { state = GetKeyState(VK_SHIFT); }).join();
  EXPECT_EQ(state, 0);
}

}  // namespace
