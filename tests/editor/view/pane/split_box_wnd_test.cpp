// The split boxes: their frame, their place on the pane, and the split requests that dragging and
// double-clicking them send through the pane to the splitter.
#include "editor/view/pane/split_box_wnd.h"

#include <gtest/gtest.h>

#include "platform/dc_draw.h"
#include "platform/mouse_capture.h"
#include "platform/simulated_input.h"
#include "platform/sys_color.h"
#include "platform/window_grab.h"
#include "splitter_fixture.h"

namespace splitter_test {
namespace {

using platform::MouseButton;

COLORREF PixelOf(const platform::Bitmap& bitmap, int x, int y) {
  const uint8_t* px = bitmap.Row(y) + x * 4;
  return RGB(px[2], px[1], px[0]);
}

TEST(Draw3DFrameTest, TopAndLeftInTheFirstColourRightAndBottomInTheSecond) {
  std::unique_ptr<platform::Bitmap> bitmap = platform::CreateDIBSection32(12, 10);
  platform::MemDC dc;
  dc.SelectBitmap(bitmap.get());
  const COLORREF kBack = RGB(9, 9, 9);
  const COLORREF kFirst = RGB(200, 10, 10);
  const COLORREF kSecond = RGB(10, 10, 200);
  platform::Brush back(kBack);
  const RECT all{0, 0, 12, 10};
  platform::FillRect(&dc, &all, &back);
  Draw3DFrame(&dc, 2, 1, 8, 6, kFirst, kSecond);
  struct Cell {
    int x, y;
    COLORREF colour;
  };
  const Cell cells[] = {
      {2, 1, kFirst},  {8, 1, kFirst},  {2, 5, kFirst},   // top and left edges up to the last but one pixel
      {9, 1, kSecond}, {9, 6, kSecond}, {2, 6, kSecond},  // the corners they leave go to the second colour
      {5, 6, kSecond}, {9, 3, kSecond},                   // bottom and right edges
      {3, 2, kBack},   {8, 5, kBack},                     // inside
      {1, 1, kBack},   {10, 1, kBack},  {2, 0, kBack},   {2, 7, kBack},  // outside
  };
  for (const Cell& c : cells) EXPECT_EQ(platform::GetPixel(&dc, c.x, c.y), c.colour) << c.x << ", " << c.y;
}

class SplitBoxTest : public SplitterFixture {
 protected:
  // A box on pane 0 (a stand-in of 640 x 480 inside the splitter).
  HWND MakeBox(CSplitBoxWnd& box, bool vertical) {
    const HWND hwnd = box.Create(nullptr, PaneWindow(0), vertical ? 1 : 0);
    Pump();
    return hwnd;
  }
  std::vector<PaneMessage> SplitRequests() const {
    std::vector<PaneMessage> out;
    for (const PaneMessage& m : PaneMessages()) {
      if (m.message == MYWM_DOSPLIT) out.push_back(m);
    }
    return out;
  }
  COLORREF SplitterShows(int x, int y) {
    std::unique_ptr<platform::Bitmap> shown = platform::GrabClientArea(splitter.GetHwnd());
    return shown ? PixelOf(*shown, x, y) : 0xFFFFFFFF;
  }
};

TEST_F(SplitBoxTest, BoxesSitAtTheEndsOfTheScrollBars) {
  CSplitBoxWnd vertical;
  CSplitBoxWnd horizontal;
  const HWND v = MakeBox(vertical, true);
  const HWND h = MakeBox(horizontal, false);
  ASSERT_NE(v, nullptr);
  ASSERT_NE(h, nullptr);
  const int cx = platform::GetSystemMetrics(SM_CXVSCROLL);
  const int cy = platform::GetSystemMetrics(SM_CYHSCROLL);
  const RECT vr = PlaceOf(v);
  EXPECT_EQ(vr.left, kWidth - cx);
  EXPECT_EQ(vr.top, 0);
  EXPECT_EQ(vr.right, kWidth);
  EXPECT_EQ(vr.bottom, 7);
  const RECT hr = PlaceOf(h);
  EXPECT_EQ(hr.left, 0);
  EXPECT_EQ(hr.top, kHeight - cy);
  EXPECT_EQ(hr.right, 7);
  EXPECT_EQ(hr.bottom, kHeight);
  EXPECT_STREQ(vertical.m_pszClassName, "VSplitBoxWnd");
  EXPECT_STREQ(horizontal.m_pszClassName, "HSplitBoxWnd");
  EXPECT_STREQ(vertical.GetClassInheritances(), "CWnd::CSplitBoxWnd");
}

TEST_F(SplitBoxTest, TheBoxShowsTwoNestedFramesInTheDesktopColours) {
  CSplitBoxWnd box;
  const HWND hwnd = MakeBox(box, false);
  platform::InvalidateRect(hwnd, nullptr, 0);
  platform::UpdateWindow(hwnd);
  std::unique_ptr<platform::Bitmap> shown = platform::GrabClientArea(hwnd);
  ASSERT_NE(shown, nullptr);
  const int w = shown->Width();
  const int h = shown->Height();
  EXPECT_EQ(PixelOf(*shown, 0, 0), platform::GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(PixelOf(*shown, w - 1, 0), platform::GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(PixelOf(*shown, 0, h - 1), platform::GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(PixelOf(*shown, 1, 1), platform::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PixelOf(*shown, w - 2, h - 2), platform::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelOf(*shown, 3, h / 2), platform::GetSysColor(COLOR_BTNFACE));
}

TEST_F(SplitBoxTest, DraggingTheVerticalBoxShowsABarAndSplitsWhereItIsLetGo) {
  CSplitBoxWnd box;
  const HWND hwnd = MakeBox(box, true);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, true, 3, 3);
  Pump();
  EXPECT_EQ(box.m_nDragPosY, 1);
  // The bar starts under the box's top edge, over the pane (white).
  EXPECT_EQ(SplitterShows(100, 1), RGB(0, 0, 0));
  EXPECT_EQ(SplitterShows(100, 7), RGB(255, 255, 255));
  platform::SimulateMouseMove(hwnd, 3, 150);
  Pump();
  EXPECT_EQ(box.m_nDragPosY, 150);
  EXPECT_EQ(SplitterShows(100, 1), RGB(255, 255, 255));
  EXPECT_EQ(SplitterShows(100, 150), RGB(0, 0, 0));
  EXPECT_EQ(SplitterShows(639, 155), RGB(0, 0, 0));
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 3, 150);
  Pump();
  // The inverted bar is gone; the splitter's own bar shows at 150.
  EXPECT_EQ(SplitterShows(100, 150), platform::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(SplitterShows(100, 155), RGB(255, 255, 255));
  const std::vector<PaneMessage> requests = SplitRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].wParam, 0u);
  EXPECT_EQ(requests[0].lParam, 150);
  EXPECT_EQ(splitter.GetLayoutKind(), 2);
  EXPECT_EQ(splitter.m_nVSplitPos, 150);
}

TEST_F(SplitBoxTest, TheDragStopsShortOfTheScrollBarAtTheBottom) {
  CSplitBoxWnd box;
  const HWND hwnd = MakeBox(box, true);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, true, 3, 3);
  platform::SimulateMouseMove(hwnd, 3, 3000);
  Pump();
  EXPECT_EQ(box.m_nDragPosY, kHeight - platform::GetSystemMetrics(SM_CYHSCROLL) - 6);
  platform::SimulateMouseMove(hwnd, 3, -40);
  Pump();
  EXPECT_EQ(box.m_nDragPosY, 0);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 3, -40);
  Pump();
  // At the top edge there is no split to make.
  EXPECT_EQ(splitter.GetLayoutKind(), 0);
}

TEST_F(SplitBoxTest, DraggingTheHorizontalBoxSplitsIntoColumns) {
  CSplitBoxWnd box;
  const HWND hwnd = MakeBox(box, false);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, true, 3, 3);
  platform::SimulateMouseMove(hwnd, 250, 3);
  Pump();
  EXPECT_EQ(SplitterShows(250, 100), RGB(0, 0, 0));
  EXPECT_EQ(SplitterShows(255, 479), RGB(0, 0, 0));
  EXPECT_EQ(SplitterShows(256, 100), RGB(255, 255, 255));
  platform::SimulateMouseMove(hwnd, 5000, 3);
  Pump();
  EXPECT_EQ(box.m_nDragPosX, kWidth - platform::GetSystemMetrics(SM_CXVSCROLL) - 6);
  platform::SimulateMouseMove(hwnd, 250, 3);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 250, 3);
  Pump();
  const std::vector<PaneMessage> requests = SplitRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].wParam, 250u);
  EXPECT_EQ(requests[0].lParam, 0);
  EXPECT_EQ(splitter.GetLayoutKind(), 1);
  EXPECT_EQ(splitter.m_nHSplitPos, 250);
}

TEST_F(SplitBoxTest, AMoveWithoutThePressDrawsNothing) {
  CSplitBoxWnd box;
  const HWND hwnd = MakeBox(box, true);
  platform::SimulateMouseMove(hwnd, 3, 150);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 3, 150);
  Pump();
  EXPECT_EQ(box.m_nDragPosY, 0);
  EXPECT_TRUE(SplitRequests().empty());
  EXPECT_EQ(SplitterShows(100, 150), RGB(255, 255, 255));
}

TEST_F(SplitBoxTest, ABoxDeletedWhileDraggedTakesItsBarAway) {
  {
    CSplitBoxWnd box;
    const HWND hwnd = MakeBox(box, true);
    platform::SimulateMouseButton(hwnd, MouseButton::Left, true, 3, 3);
    platform::SimulateMouseMove(hwnd, 3, 150);
    Pump();
    ASSERT_EQ(SplitterShows(100, 150), RGB(0, 0, 0));
  }
  Pump();
  EXPECT_EQ(SplitterShows(100, 150), RGB(255, 255, 255));
  EXPECT_EQ(platform::GetCapture(), nullptr);
  EXPECT_TRUE(SplitRequests().empty());
}

TEST_F(SplitBoxTest, DoubleClickingABoxSplitsThePaneInHalves) {
  const int cy = platform::GetSystemMetrics(SM_CYHSCROLL);
  CSplitBoxWnd vertical;
  const HWND v = MakeBox(vertical, true);
  platform::SimulateMouseButton(v, MouseButton::Left, true, 3, 3);
  platform::SimulateMouseButton(v, MouseButton::Left, false, 3, 3);
  platform::SimulateMouseDoubleClick(v, MouseButton::Left, 3, 3);
  platform::SimulateMouseButton(v, MouseButton::Left, false, 3, 3);
  Pump();
  std::vector<PaneMessage> requests = SplitRequests();
  // The first click asks for a split at the top edge, which makes none; the double click halves.
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].wParam, 0u);
  EXPECT_EQ(requests[1].lParam, (kHeight - cy) / 2);
  EXPECT_EQ(splitter.m_nVSplitPos, (kHeight - cy) / 2);

  PaneMessages().clear();
  CSplitBoxWnd horizontal;
  splitter.SplitAt(0, 0);
  Pump();
  const HWND h = MakeBox(horizontal, false);
  platform::SimulateMouseDoubleClick(h, MouseButton::Left, 3, 3);
  Pump();
  requests = SplitRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].wParam, static_cast<WPARAM>(kWidth / 2));
  EXPECT_EQ(requests[0].lParam, 0);
  EXPECT_EQ(splitter.m_nHSplitPos, kWidth / 2);
}

}  // namespace
}  // namespace splitter_test
