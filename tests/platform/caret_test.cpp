// The caret: drawn inverted over what a child window shows, nesting of hide and show, its place,
// its blinking, and its end with the window.
#include "platform/caret.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRect>
#include <functional>
#include <vector>

#include "platform/mem_dc.h"
#include "platform/presenter.h"
#include "platform/window_dc.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;

// The pixels of the child that differ from the picture beneath (the class background is black,
// a red square is drawn at (30, 30)-(40, 40)): where the caret inverts it.
struct Inverted {
  int count = 0;
  QRect bounds;
  bool exact = true;  // every changed pixel is the inverse of the one beneath
};

Inverted InvertedPixels(HWND hwnd) {
  std::vector<uint32_t> pixels;
  int w = 0;
  int h = 0;
  Inverted out;
  if (!CaptureClientArea(hwnd, &pixels, &w, &h)) return out;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool red = x >= 30 && x < 40 && y >= 30 && y < 40;
      const uint32_t beneath = red ? 0xFFFF0000u : 0xFF000000u;
      const uint32_t shown = pixels[static_cast<size_t>(y) * w + x];
      if (shown == beneath) continue;
      ++out.count;
      out.bounds |= QRect(x, y, 1, 1);
      if (shown != (beneath ^ 0x00FFFFFFu)) out.exact = false;
    }
  }
  return out;
}

class CaretTest : public testing::Test {
 protected:
  void SetUp() override {
    SetCaretBlinkTime(0);
    HDC dc = GetDC(windows.child);
    for (int y = 30; y < 40; ++y) {
      for (int x = 30; x < 40; ++x) SetPixel(dc, x, y, RGB(255, 0, 0));
    }
    ReleaseDC(windows.child, dc);
  }
  void TearDown() override { DestroyCaret(); }
  ChildWindowFixture windows;
};

TEST_F(CaretTest, ShowsWhereAndWhenItShould) {
  struct Case {
    const char* name;
    std::function<void(HWND child, HWND parent)> steps;
    QRect shown;  // empty: nothing inverted
  };
  const Case cases[] = {
      {"made hidden", [](HWND c, HWND) { CreateCaret(c, nullptr, 2, 10); }, {}},
      {"shown at its place",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         SetCaretPos(5, 6);
         ShowCaret(c);
       },
       QRect(5, 6, 2, 10)},
      {"width 0 is one pixel",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 0, 12);
         ShowCaret(nullptr);
       },
       QRect(0, 0, 1, 12)},
      {"over another colour",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 8, 4);
         SetCaretPos(28, 34);
         ShowCaret(c);
       },
       QRect(28, 34, 8, 4)},
      {"moved while shown",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         SetCaretPos(50, 60);
       },
       QRect(50, 60, 2, 10)},
      {"hidden twice, shown once",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         HideCaret(c);
         HideCaret(c);
         ShowCaret(c);
       },
       {}},
      {"hidden twice, shown twice",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         HideCaret(c);
         HideCaret(c);
         ShowCaret(c);
         ShowCaret(c);
       },
       QRect(0, 0, 2, 10)},
      {"a second show does not count",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         ShowCaret(c);
         HideCaret(c);
       },
       {}},
      {"another window cannot show it",
       [](HWND c, HWND p) {
         CreateCaret(c, nullptr, 2, 10);
         EXPECT_EQ(ShowCaret(p), 0);
       },
       {}},
      {"destroyed",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         DestroyCaret();
       },
       {}},
      {"made again on the same window: hidden",
       [](HWND c, HWND) {
         CreateCaret(c, nullptr, 2, 10);
         ShowCaret(c);
         CreateCaret(c, nullptr, 3, 3);
       },
       {}},
  };
  for (const Case& c : cases) {
    c.steps(windows.child, windows.parent);
    PumpTranslated();
    const Inverted inverted = InvertedPixels(windows.child);
    EXPECT_EQ(inverted.bounds, c.shown) << c.name;
    EXPECT_EQ(inverted.count, c.shown.width() * c.shown.height()) << c.name;
    EXPECT_TRUE(inverted.exact) << c.name;
    DestroyCaret();
  }
}

TEST_F(CaretTest, ThePictureBeneathStaysAsDrawn) {
  CreateCaret(windows.child, nullptr, 4, 10);
  SetCaretPos(32, 32);
  ShowCaret(windows.child);
  PumpTranslated();
  ASSERT_GT(InvertedPixels(windows.child).count, 0);
  HDC dc = GetDC(windows.child);
  EXPECT_EQ(GetPixel(dc, 33, 33), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 33, 41), RGB(0, 0, 0));
  ReleaseDC(windows.child, dc);
}

TEST_F(CaretTest, PlaceIsKeptAndGoesWithTheWindow) {
  POINT p{};
  EXPECT_EQ(GetCaretPos(&p), 0);
  ASSERT_TRUE(CreateCaret(windows.child, nullptr, 2, 10));
  SetCaretPos(7, 9);
  ASSERT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 9);
  DestroyWindow(windows.child);
  PumpTranslated();
  EXPECT_EQ(GetCaretPos(&p), 0);
  EXPECT_EQ(ShowCaret(nullptr), 0);
}

// Waits, pumping, for the caret to be seen or not; false after two seconds without.
bool WaitForCaret(HWND hwnd, bool seen) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 2000) {
    PumpTranslated();
    if ((InvertedPixels(hwnd).count > 0) == seen) return true;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  }
  return false;
}

TEST_F(CaretTest, BlinksUntilTheBlinkingStops) {
  CreateCaret(windows.child, nullptr, 2, 10);
  ShowCaret(windows.child);
  SetCaretBlinkTime(10);
  EXPECT_EQ(GetCaretBlinkTime(), 10u);
  EXPECT_TRUE(WaitForCaret(windows.child, false));
  EXPECT_TRUE(WaitForCaret(windows.child, true));
  EXPECT_TRUE(WaitForCaret(windows.child, false));
  // Stopped: on, and it stays on.
  SetCaretBlinkTime(0);
  PumpTranslated();
  EXPECT_GT(InvertedPixels(windows.child).count, 0);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 60) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  PumpTranslated();
  EXPECT_GT(InvertedPixels(windows.child).count, 0);
}

}  // namespace
