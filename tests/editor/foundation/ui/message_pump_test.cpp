#include "editor/foundation/ui/message_pump.h"

#include <gtest/gtest.h>
#include <vector>

#include "platform/gui_app.h"

namespace {

std::vector<UINT> dispatched;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) dispatched.push_back(message);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class PumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = RecordingProc;
      wc.lpszClassName = "PumpTestWindow";
      return platform::RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = platform::CreateWindowEx(0, "PumpTestWindow", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    dispatched.clear();
  }
  void TearDown() override {
    platform::DestroyWindow(hwnd);
    MSG msg;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND hwnd = nullptr;
};

TEST_F(PumpTest, DispatchesEverythingWaitingAndAnswersTrue) {
  platform::PostMessage(hwnd, WM_USER + 1, 0, 0);
  platform::PostMessage(hwnd, WM_USER + 2, 0, 0);
  EXPECT_TRUE(PumpPendingMessages(nullptr));
  EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  MSG msg;
  EXPECT_FALSE(platform::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(PumpTest, AQuitStopsThePumpAndStaysForTheOuterLoop) {
  platform::PostMessage(hwnd, WM_USER + 1, 0, 0);
  platform::PostQuitMessage(7);
  EXPECT_FALSE(PumpPendingMessages(nullptr));
  EXPECT_EQ(dispatched, std::vector<UINT>{WM_USER + 1});
  // A second job step meets the same request, and the outer loop still ends with its code.
  EXPECT_FALSE(PumpPendingMessages(nullptr));
  MSG msg;
  ASSERT_TRUE(platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(PumpPendingMessages(nullptr));
}

}  // namespace
