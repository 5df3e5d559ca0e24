// The two corner boxes a child window (a pane) can hold: a "STATIC" window, a box on the button
// face's colour, and a size grip; each lives, moves and goes like other child windows.
#include <gtest/gtest.h>
#include <vector>

#include "platform/presenter.h"
#include "platform/sys_color.h"
#include "platform/text_out.h"
#include "platform/window.h"
#include "recording_window.h"

namespace {

using namespace platform;

TEST(CornerBox, ABoxOnTheButtonFaceInAChildWindow) {
  platform_test::ChildWindowFixture windows;
  HWND box = CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 150, 90, 16, 16, windows.child,
                            reinterpret_cast<HMENU>(intptr_t{9}), nullptr, nullptr);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindow(box));
  EXPECT_EQ(GetWindowLongPtr(box, GWLP_ID), 9);
  RECT client;
  ASSERT_TRUE(GetClientRect(box, &client));
  EXPECT_EQ(client.right, 16);
  EXPECT_EQ(client.bottom, 16);

  const auto shown = [&](int x, int y) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(CaptureClientArea(windows.child, &pixels, &w, &h));
    return pixels[static_cast<size_t>(y * w + x)] & 0xFFFFFFu;
  };
  const uint32_t face = ColorRefToPixel(GetSysColor(COLOR_BTNFACE));
  const uint32_t outside = shown(100, 60);
  ASSERT_NE(outside, face);
  EXPECT_EQ(shown(158, 98), face);
  MoveWindow(box, 10, 10, 16, 16, 1);
  EXPECT_EQ(shown(158, 98), outside);
  EXPECT_EQ(shown(18, 18), face);

  DestroyWindow(box);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(shown(18, 18), outside);
}

// The grip lies in the child window that holds it, and it goes with that window.
TEST(CornerBox, ASizeGripInAChildWindow) {
  platform_test::ChildWindowFixture windows;
  HWND grip = CreateWindowEx(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEGRIP, 184, 104, 16, 16,
                             windows.child, reinterpret_cast<HMENU>(intptr_t{3}), nullptr, nullptr);
  ASSERT_NE(grip, nullptr);
  EXPECT_EQ(GetWindowLongPtr(grip, GWLP_ID), 3);
  RECT gripRect, childRect;
  ASSERT_TRUE(GetWindowRect(grip, &gripRect));
  ASSERT_TRUE(GetWindowRect(windows.child, &childRect));
  EXPECT_EQ(gripRect.left - childRect.left, 184);
  EXPECT_EQ(gripRect.top - childRect.top, 104);
  EXPECT_TRUE(IsWindowVisible(grip));
  DestroyWindow(windows.child);
  EXPECT_FALSE(IsWindow(grip));
}

}  // namespace
