#include "platform/cursor.h"

#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

const char* PlainClass() {
  static const bool registered = [] {
    WNDCLASSEX wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "CursorTestClass";
    return platform::RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return "CursorTestClass";
}

// The toolkit is asked to change the shape only when the frame's kind changes, although the game
// sets it every frame.
TEST(Cursor, TheShapeIsSetOncePerChange) {
  HWND window = platform::CreateWindowEx(0, PlainClass(), "cursor", WS_CAPTION | WS_VISIBLE, 0, 0, 64, 48, nullptr,
                                         nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const int before = platform::CursorChanges();
  const platform::CursorShape frames[] = {platform::CursorShape::kArrow,        platform::CursorShape::kArrow,
                                          platform::CursorShape::kPointingHand, platform::CursorShape::kPointingHand,
                                          platform::CursorShape::kPointingHand, platform::CursorShape::kArrow};
  for (platform::CursorShape shape : frames) platform::SetWindowCursor(window, shape);
  EXPECT_EQ(platform::CursorChanges() - before, 3);  // the first arrow, the hand, the arrow again
  EXPECT_EQ(platform::LastCursorShape(), platform::CursorShape::kArrow);
  platform::DestroyWindow(window);
  platform::SetWindowCursor(window, platform::CursorShape::kPointingHand);  // a dead handle is passed over
  EXPECT_EQ(platform::LastCursorShape(), platform::CursorShape::kArrow);
}

}  // namespace

namespace {

// The wait cursor shows over the whole program while it is current; SetCursor hands back the one it
// replaces, so nested waits unwind in order.
TEST(Cursor, SetCursorReturnsThePreviousAndTheWaitCursorCoversTheProgram) {
  HCURSOR arrow = platform::LoadCursor(nullptr, IDC_ARROW);
  HCURSOR wait = platform::LoadCursor(nullptr, IDC_WAIT);
  ASSERT_NE(arrow, nullptr);
  ASSERT_NE(wait, nullptr);
  EXPECT_NE(arrow, wait);
  EXPECT_EQ(platform::LoadCursor(nullptr, MAKEINTRESOURCE(32650)), nullptr);
  EXPECT_EQ(platform::LoadCursor(reinterpret_cast<HINSTANCE>(1), IDC_ARROW), nullptr);

  EXPECT_EQ(platform::GetCursor(), arrow);
  EXPECT_FALSE(platform::WaitCursorShown());
  EXPECT_EQ(platform::SetCursor(wait), arrow);
  EXPECT_TRUE(platform::WaitCursorShown());
  EXPECT_EQ(platform::SetCursor(wait), wait);
  EXPECT_TRUE(platform::WaitCursorShown());
  EXPECT_EQ(platform::SetCursor(arrow), wait);
  EXPECT_FALSE(platform::WaitCursorShown());
  EXPECT_EQ(platform::GetCursor(), arrow);
}

}  // namespace

TEST(CursorSizesTest, TheThreeSizingCursorsAreSystemCursorsOfTheirOwn) {
  const HCURSOR we = platform::LoadCursor(nullptr, IDC_SIZEWE);
  const HCURSOR ns = platform::LoadCursor(nullptr, IDC_SIZENS);
  const HCURSOR all = platform::LoadCursor(nullptr, IDC_SIZEALL);
  ASSERT_NE(we, nullptr);
  ASSERT_NE(ns, nullptr);
  ASSERT_NE(all, nullptr);
  EXPECT_NE(we, ns);
  EXPECT_NE(ns, all);
  EXPECT_NE(we, all);
  EXPECT_NE(we, platform::LoadCursor(nullptr, IDC_ARROW));
}
