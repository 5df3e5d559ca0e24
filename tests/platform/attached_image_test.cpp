// A window showing a bitmap its owner keeps: what is in the bitmap is what the window shows, also
// when drawn between paints, and WM_PAINT comes only for what is owed one.
#include "platform/attached_image.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "platform/caret.h"
#include "platform/presenter.h"
#include "platform/text_out.h"
#include "platform/window_dc.h"
#include "platform/window_image.h"
#include "platform/window_qt.h"

namespace {

using namespace platform;

struct PaintSeen {
  RECT rcPaint;
  BOOL fErase;
  Bitmap* bitmap;
};
std::vector<PaintSeen> paintsSeen;

// Paints nothing: a paint that erased would show in the pixels.
LRESULT WatchingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProc(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  paintsSeen.push_back({ps.rcPaint, ps.fErase, dc ? dc->GetBitmap() : nullptr});
  EndPaint(hwnd, &ps);
  return 0;
}

constexpr int kWidth = 60, kHeight = 40;
const COLORREF kBackground = RGB(10, 200, 30);

class AttachedImageTest : public testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = WatchingProc;
      wc.lpszClassName = "AttachedImageTest";
      wc.background = kBackground;
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent = CreateWindowEx(0, "AttachedImageTest", "", WS_CAPTION | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
    child = CreateWindowEx(0, "AttachedImageTest", "", WS_CHILD | WS_VISIBLE, 5, 5, kWidth, kHeight, parent, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    image = CreateDIBSection32(kWidth, kHeight);
    // Stripes of three colours, the fourth byte of each pixel 0 as drawing leaves it.
    for (int y = 0; y < kHeight; ++y) {
      const COLORREF colour = y < 10 ? RGB(255, 0, 0) : y < 20 ? RGB(0, 0, 255) : RGB(250, 250, 0);
      FillBitmapRect(*image, RECT{0, y, kWidth, y + 1}, colour);
    }
    Capture();  // the window's first paints, before any bitmap
    paintsSeen.clear();
  }
  void TearDown() override {
    AttachWindowImage(child, nullptr);
    DestroyWindow(parent);
  }

  // The client area as the toolkit shows it now, 0xRRGGBB (its opacity is looked at on its own).
  std::vector<uint32_t> Capture(int width = kWidth) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(CaptureClientArea(child, &pixels, &w, &h));
    EXPECT_EQ(w, width);
    for (uint32_t& p : pixels) p &= 0xFFFFFFu;
    return pixels;
  }
  // What the window should show: the bitmap where it reaches, else the background.
  std::vector<uint32_t> Expected(int width, int height) const {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool inside = x < image->Width() && y < image->Height();
        const uint32_t rgb =
            inside ? reinterpret_cast<const uint32_t*>(image->Row(y))[x] & 0xFFFFFFu : ColorRefToPixel(kBackground);
        pixels.push_back(rgb);
      }
    }
    return pixels;
  }

  HWND parent = nullptr;
  HWND child = nullptr;
  std::unique_ptr<Bitmap> image;
};

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(AttachedImageTest, TheWindowShowsTheBitmapAndPaintsIntoItWithoutErasing) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  EXPECT_EQ(AttachedWindowImage(child), image.get());
  EXPECT_EQ(Capture(), Expected(kWidth, kHeight));
  // Attaching owes the whole client area a paint, given over the bitmap, erasing nothing.
  ASSERT_EQ(paintsSeen.size(), 1u);
  EXPECT_TRUE((paintsSeen[0].rcPaint == RECT{0, 0, kWidth, kHeight}));
  EXPECT_EQ(paintsSeen[0].fErase, 0);
  EXPECT_EQ(paintsSeen[0].bitmap, image.get());
  // A context between paints draws into the same bitmap.
  HDC dc = GetDC(child);
  EXPECT_EQ(dc->GetBitmap(), image.get());
  ReleaseDC(child, dc);
}

// The bitmap's fourth bytes are 0, as drawing leaves them, yet what reaches the toolkit's surface
// is opaque: on a surface with alpha (a translucent or composited screen, a grab) a pass-through 0
// would show the pane as a hole. Read both from a grab and from a surface that keeps alpha.
TEST_F(AttachedImageTest, TheWindowShowsTheBitmapOpaque) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  std::vector<uint32_t> grabbed;
  int w = 0, h = 0;
  ASSERT_TRUE(CaptureClientArea(child, &grabbed, &w, &h));
  ASSERT_EQ(grabbed.size(), static_cast<size_t>(kWidth) * kHeight);
  const std::vector<uint32_t> expected = Expected(kWidth, kHeight);
  for (size_t i = 0; i < grabbed.size(); ++i) {
    ASSERT_EQ(grabbed[i], 0xFF000000u | expected[i]) << "pixel " << i;
  }

  Window* window = WindowFromHandle(child);
  ASSERT_NE(window, nullptr);
  QImage surface(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  surface.fill(Qt::transparent);
  window->canvas()->render(&surface);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      ASSERT_EQ(surface.pixel(x, y), 0xFF000000u | expected[static_cast<size_t>(y) * kWidth + x])
          << "at " << x << ", " << y;
    }
  }
}

// The caret drawn inverted over the bitmap inverts its colour and keeps it opaque.
TEST_F(AttachedImageTest, TheCaretOverTheBitmapKeepsItOpaque) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  const UINT blink = GetCaretBlinkTime();
  SetCaretBlinkTime(0);
  ASSERT_TRUE(CreateCaret(child, nullptr, 2, 6));
  SetCaretPos(4, 2);
  ShowCaret(child);
  std::vector<uint32_t> grabbed;
  int w = 0, h = 0;
  ASSERT_TRUE(CaptureClientArea(child, &grabbed, &w, &h));
  DestroyCaret();
  SetCaretBlinkTime(blink);
  ASSERT_EQ(grabbed.size(), static_cast<size_t>(kWidth) * kHeight);
  // Red stripe, inverted: cyan.
  EXPECT_EQ(grabbed[2 * kWidth + 4], 0xFF00FFFFu);
  EXPECT_EQ(grabbed[7 * kWidth + 5], 0xFF00FFFFu);
  EXPECT_EQ(grabbed[2 * kWidth + 6], 0xFFFF0000u);
}

// Drawn between paints and shown: the window shows it at once and its procedure is not asked to
// paint; only invalidated parts are, each on its own rectangle.
TEST_F(AttachedImageTest, ShownDrawingNeedsNoPaintAndInvalidatedPartsGetOne) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  Capture();
  paintsSeen.clear();

  const RECT drawn{4, 12, 30, 25};
  FillBitmapRect(*image, drawn, RGB(0, 128, 128));
  ASSERT_TRUE(ShowWindowImage(child, &drawn));
  EXPECT_EQ(Capture(), Expected(kWidth, kHeight));
  EXPECT_TRUE(paintsSeen.empty());

  const RECT owed{40, 30, 50, 38};
  InvalidateRect(child, &owed, 0);
  EXPECT_EQ(Capture(), Expected(kWidth, kHeight));
  ASSERT_EQ(paintsSeen.size(), 1u);
  EXPECT_TRUE(paintsSeen[0].rcPaint == owed);
  EXPECT_EQ(paintsSeen[0].fErase, 0);

  // Paid: showing the window again asks for nothing more.
  paintsSeen.clear();
  UpdateWindow(child);
  Capture();
  EXPECT_TRUE(paintsSeen.empty());
}

// What is still owed a paint: all of the client area once attached, nothing once painted, only the
// invalidated part after that; never for a window without an attached bitmap.
TEST_F(AttachedImageTest, OwedPaintIsTheWholeAreaAfterAttachingThenOnlyWhatIsInvalidated) {
  EXPECT_FALSE(WindowImageOwesPaint(child, nullptr));
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  EXPECT_TRUE(WindowImageOwesPaint(child, nullptr));
  const RECT corner{0, 0, 10, 10};
  EXPECT_TRUE(WindowImageOwesPaint(child, &corner));
  Capture();
  EXPECT_FALSE(WindowImageOwesPaint(child, nullptr));
  EXPECT_FALSE(WindowImageOwesPaint(child, &corner));

  const RECT owed{20, 10, 40, 30};
  InvalidateRect(child, &owed, 0);
  const RECT inside{25, 15, 35, 25}, across{15, 15, 35, 25};
  EXPECT_TRUE(WindowImageOwesPaint(child, &owed));
  EXPECT_TRUE(WindowImageOwesPaint(child, &inside));
  EXPECT_FALSE(WindowImageOwesPaint(child, &across));
  EXPECT_FALSE(WindowImageOwesPaint(child, nullptr));
  Capture();
  EXPECT_FALSE(WindowImageOwesPaint(child, &owed));

  ASSERT_TRUE(AttachWindowImage(child, nullptr));
  InvalidateRect(child, nullptr, 0);
  EXPECT_FALSE(WindowImageOwesPaint(child, nullptr));
}

// A client area that grows past the bitmap shows the background there, and only the new part is
// owed a paint.
TEST_F(AttachedImageTest, AGrowingWindowPaintsOnlyWhatItAdds) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  Capture();
  paintsSeen.clear();
  MoveWindow(child, 5, 5, kWidth + 20, kHeight, 1);
  EXPECT_EQ(Capture(kWidth + 20), Expected(kWidth + 20, kHeight));
  ASSERT_FALSE(paintsSeen.empty());
  for (const PaintSeen& seen : paintsSeen) EXPECT_TRUE((seen.rcPaint == RECT{kWidth, 0, kWidth + 20, kHeight}));
}

// Detached, the window has its own picture again, erased by its paints; a bitmap the canvas cannot
// read in place is refused.
TEST_F(AttachedImageTest, DetachingGivesTheOwnPictureBackAndOtherBitmapsAreRefused) {
  ASSERT_TRUE(AttachWindowImage(child, image.get()));
  Capture();
  ASSERT_TRUE(AttachWindowImage(child, nullptr));
  EXPECT_EQ(AttachedWindowImage(child), nullptr);
  paintsSeen.clear();
  const std::vector<uint32_t> shown = Capture();
  ASSERT_FALSE(paintsSeen.empty());
  EXPECT_NE(paintsSeen.back().bitmap, image.get());
  EXPECT_EQ(paintsSeen.back().fErase, 1);
  EXPECT_EQ(shown, std::vector<uint32_t>(kWidth * kHeight, ColorRefToPixel(kBackground)));

  BITMAPINFO bottomUp{};
  bottomUp.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bottomUp.bmiHeader.biWidth = 8;
  bottomUp.bmiHeader.biHeight = 8;
  bottomUp.bmiHeader.biPlanes = 1;
  bottomUp.bmiHeader.biBitCount = 32;
  std::unique_ptr<Bitmap> upward = CreateDIBSection(&bottomUp);
  ASSERT_NE(upward, nullptr);
  EXPECT_FALSE(AttachWindowImage(child, upward.get()));
  bottomUp.bmiHeader.biHeight = -8;
  bottomUp.bmiHeader.biBitCount = 24;
  std::unique_ptr<Bitmap> narrow = CreateDIBSection(&bottomUp);
  ASSERT_NE(narrow, nullptr);
  EXPECT_FALSE(AttachWindowImage(child, narrow.get()));
  EXPECT_EQ(AttachedWindowImage(child), nullptr);
  EXPECT_FALSE(AttachWindowImage(nullptr, image.get()));
}

}  // namespace
