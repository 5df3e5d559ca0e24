// Inverted strips over a window and its child windows, as a person sees them (read back with
// GrabClientArea): exact inversion, XOR of overlapping strips, no trace in the window's picture,
// and no hold on the mouse.
#include "platform/invert_overlay.h"

#include <gtest/gtest.h>
#include <vector>

#include "platform/attached_image.h"
#include "platform/dc_draw.h"
#include "platform/simulated_input.h"
#include "platform/window.h"
#include "platform/window_dc.h"
#include "platform/window_grab.h"

namespace {

using namespace platform;

std::vector<UINT> childClicks;

LRESULT ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) childClicks.push_back(message);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

const char* ClassNamed(const char* name, WNDPROC proc, COLORREF background) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.background = background;
  RegisterClassEx(&wc);  // once per process
  return name;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

constexpr COLORREF kParentColour = RGB(10, 20, 30);
constexpr COLORREF kChildColour = RGB(250, 128, 0);

// A 200 x 100 window of one colour with a child of another at (50, 0, 100 x 100).
class InvertOverlayTest : public testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowEx(0, ClassNamed("OverlayParent", DefWindowProc, kParentColour), "p", WS_VISIBLE, 0, 0, 200,
                            100, nullptr, nullptr, nullptr, nullptr);
    child = CreateWindowEx(0, ClassNamed("OverlayChild", ChildProc, kChildColour), "c", WS_CHILD | WS_VISIBLE, 50, 0,
                           100, 100, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    Pump();
    childClicks.clear();
  }
  void TearDown() override {
    DestroyWindow(parent);
    Pump();
  }
  COLORREF Shown(int x, int y) {
    std::unique_ptr<Bitmap> shown = GrabClientArea(parent);
    if (!shown) return 0xFFFFFFFF;
    const uint8_t* px = shown->Row(y) + x * 4;
    return RGB(px[2], px[1], px[0]);
  }
  static COLORREF Inverted(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

  HWND parent = nullptr;
  HWND child = nullptr;
};

TEST_F(InvertOverlayTest, InvertsTheWindowAndItsChildrenAlikeAndTwiceRestores) {
  EXPECT_EQ(Shown(10, 10), kParentColour);
  EXPECT_EQ(Shown(60, 10), kChildColour);
  ASSERT_TRUE(InvertOverWindow(parent, RECT{-1, 40, 200, 46}));
  struct Cell {
    int x, y;
    COLORREF colour;
  };
  const Cell inverted[] = {
      {0, 40, Inverted(kParentColour)},
      {10, 45, Inverted(kParentColour)},
      {60, 40, Inverted(kChildColour)},
      {149, 45, Inverted(kChildColour)},
      {199, 42, Inverted(kParentColour)},
      {60, 39, kChildColour},
      {60, 46, kChildColour},
      {10, 39, kParentColour},
  };
  for (const Cell& c : inverted) EXPECT_EQ(Shown(c.x, c.y), c.colour) << c.x << ", " << c.y;
  ASSERT_TRUE(InvertOverWindow(parent, RECT{-1, 40, 200, 46}));
  EXPECT_EQ(Shown(60, 42), kChildColour);
  EXPECT_EQ(Shown(10, 42), kParentColour);
}

TEST_F(InvertOverlayTest, WhereTwoStripsCrossTheyCancel) {
  InvertOverWindow(parent, RECT{-1, 40, 200, 46});
  InvertOverWindow(parent, RECT{100, 0, 106, 100});
  EXPECT_EQ(Shown(102, 42), kChildColour);
  EXPECT_EQ(Shown(102, 10), Inverted(kChildColour));
  EXPECT_EQ(Shown(20, 42), Inverted(kParentColour));
  ASSERT_TRUE(ClearInvertedStrips(parent));
  EXPECT_EQ(Shown(102, 10), kChildColour);
  EXPECT_EQ(Shown(20, 42), kParentColour);
}

TEST_F(InvertOverlayTest, TheWindowsPictureIsLeftAsItWas) {
  HDC dc = GetDC(parent);
  ASSERT_NE(dc, nullptr);
  Brush green(RGB(0, 200, 0));
  const RECT block{0, 0, 20, 100};
  FillRect(dc, &block, &green);
  ReleaseDC(parent, dc);
  InvertOverWindow(parent, RECT{0, 40, 200, 46});
  dc = GetDC(parent);
  EXPECT_EQ(GetPixel(dc, 5, 42), RGB(0, 200, 0));
  ReleaseDC(parent, dc);
  EXPECT_EQ(Shown(5, 42), RGB(255, 55, 255));
}

TEST_F(InvertOverlayTest, StripsLetTheMouseThrough) {
  InvertOverWindow(parent, RECT{0, 0, 200, 100});
  SimulateMouseButton(child, MouseButton::Left, true, 20, 20);
  SimulateMouseButton(child, MouseButton::Left, false, 20, 20);
  Pump();
  EXPECT_EQ(childClicks.size(), 1u);
}

TEST_F(InvertOverlayTest, AChildMadeAfterwardsStaysUnderTheNextStrip) {
  const HWND late = CreateWindowEx(0, "OverlayChild", "late", WS_CHILD | WS_VISIBLE, 0, 60, 40, 40, parent, nullptr,
                                   nullptr, nullptr);
  ASSERT_NE(late, nullptr);
  InvertOverWindow(parent, RECT{0, 70, 10, 80});
  EXPECT_EQ(Shown(5, 75), Inverted(kChildColour));
}

TEST_F(InvertOverlayTest, InvertsAChildShowingItsOwnersBitmapAlike) {
  // The bitmap's fourth bytes are left zero, as a DIB section's are.
  std::unique_ptr<Bitmap> picture = CreateDIBSection32(100, 100);
  MemDC dc;
  dc.SelectBitmap(picture.get());
  Brush blue(RGB(0, 0, 200));
  const RECT all{0, 0, 100, 100};
  FillRect(&dc, &all, &blue);
  ASSERT_TRUE(AttachWindowImage(child, picture.get()));
  UpdateWindow(child);
  Pump();
  EXPECT_EQ(Shown(60, 42), RGB(0, 0, 200));
  InvertOverWindow(parent, RECT{0, 40, 200, 46});
  EXPECT_EQ(Shown(60, 42), RGB(255, 255, 55));
  EXPECT_EQ(Shown(60, 39), RGB(0, 0, 200));
  AttachWindowImage(child, nullptr);
}

TEST_F(InvertOverlayTest, RefusesWhatItCannotInvert) {
  EXPECT_FALSE(InvertOverWindow(nullptr, RECT{0, 0, 5, 5}));
  EXPECT_FALSE(InvertOverWindow(parent, RECT{5, 5, 5, 9}));
  EXPECT_FALSE(InvertOverWindow(parent, RECT{5, 9, 8, 2}));
  EXPECT_FALSE(ClearInvertedStrips(nullptr));
  EXPECT_TRUE(ClearInvertedStrips(parent));
  EXPECT_EQ(GrabClientArea(nullptr), nullptr);
}

}  // namespace
