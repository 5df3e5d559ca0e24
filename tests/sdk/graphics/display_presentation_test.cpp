// What the player sees and points at: the back buffer 1:1 in a window, scaled with its aspect
// kept and black bars in full screen, and mouse positions mapped back to back-buffer pixels.
#include <gtest/gtest.h>

#include <vector>

#include "display_app.h"
#include "platform/presenter.h"
#include "platform/simulated_input.h"
#include "platform/window.h"
#include "sdk/framework/mouse_input.h"
#include "sdk/framework/time_period.h"
#include "sdk/framework/window_hook.h"
#include "surface_util.h"

namespace {

using display_test::Context;
using display_test::RunWithDisplay;

// The position carried by the last mouse message the window's hooks saw.
class MouseSpy : public IWindowHook {
 public:
  MouseSpy() { AddWindowHook(this); }
  ~MouseSpy() override { RemoveWindowHook(this); }
  LRESULT OnWindowMessage(HWND, UINT message, WPARAM, LPARAM lParam) override {
    if (message == WM_MOUSEMOVE) {
      last = POINT{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
      ++moves;
    }
    return 0;
  }
  POINT last;
  int moves = 0;
};

POINT MoveTo(Context& c, MouseSpy& spy, int x, int y) {
  const int before = spy.moves;
  platform::SimulateMouseMove(c.Window(), x, y);
  for (int i = 0; i < 10 && spy.moves == before; ++i) c.app.PumpMessages();
  EXPECT_GT(spy.moves, before) << "no mouse message for " << x << "," << y;
  return spy.last;
}

// Four quadrants of distinct colours, so that both placement and orientation show.
uint32_t Quadrant(int x, int y, int w, int h) {
  static const uint32_t colours[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFF00u};
  return colours[(x >= w / 2 ? 1 : 0) + (y >= h / 2 ? 2 : 0)];
}

// Brings a full-screen window to its screen size and presents once.
void EnterFullScreen(Context& c, int width, int height) {
  c.display.SetDisplayMode(true, width, height, 32);
  for (int i = 0; i < 5; ++i) c.app.PumpMessages();
  surface_util::Fill(*c.display.GetSecondary(), [&](int x, int y) { return Quadrant(x, y, width, height); });
  ASSERT_EQ(c.display.Refresh(nullptr, false), 1);
}

TEST(DisplayPresentation, InAWindowThePictureAndTheMouseAreOneToOne) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    c.display.SetDisplayMode(false, 120, 80, 0);
    surface_util::Fill(*c.display.GetSecondary(), [](int x, int y) { return Quadrant(x, y, 120, 80); });
    ASSERT_EQ(c.display.Refresh(nullptr, false), 1);
    RECT picture;
    ASSERT_TRUE(platform::GetPictureRect(c.Window(), &picture));
    EXPECT_EQ(picture.left, 0);
    EXPECT_EQ(picture.top, 0);
    EXPECT_EQ(picture.right, 120);
    EXPECT_EQ(picture.bottom, 80);

    MouseSpy spy;
    const struct {
      int x, y;
    } points[] = {{0, 0}, {10, 20}, {119, 79}};
    for (const auto& p : points) {
      const POINT got = MoveTo(c, spy, p.x, p.y);
      EXPECT_EQ(got.x, p.x);
      EXPECT_EQ(got.y, p.y);
    }
  }));
}

TEST(DisplayPresentation, FullScreenScalesWithItsAspectAndBlackBars) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    // Wider than any screen's shape: bars above and below.
    EnterFullScreen(c, 400, 100);
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::CaptureClientArea(c.Window(), &shown, &w, &h));
    ASSERT_EQ(w, platform::GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(h, platform::GetSystemMetrics(SM_CYSCREEN));
    RECT r;
    ASSERT_TRUE(platform::GetPictureRect(c.Window(), &r));
    const int pw = r.right - r.left, ph = r.bottom - r.top;
    // The whole width, a quarter of it in height, centred.
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(pw, w);
    EXPECT_NEAR(ph * 4, pw, 4);
    EXPECT_NEAR(r.top, (h - ph) / 2, 1);
    ASSERT_GT(r.top, 2);

    auto at = [&](int x, int y) { return shown[size_t(y) * w + x]; };
    for (int x : {0, w / 2, w - 1}) {
      EXPECT_EQ(at(x, 0), 0xFF000000u);
      EXPECT_EQ(at(x, r.top - 2), 0xFF000000u);
      EXPECT_EQ(at(x, r.bottom + 1), 0xFF000000u);
      EXPECT_EQ(at(x, h - 1), 0xFF000000u);
    }
    // The middle of each quadrant shows its colour, opaque.
    const int qx[2] = {r.left + pw / 4, r.left + pw * 3 / 4};
    const int qy[2] = {r.top + ph / 4, r.top + ph * 3 / 4};
    EXPECT_EQ(at(qx[0], qy[0]), 0xFFFF0000u);
    EXPECT_EQ(at(qx[1], qy[0]), 0xFF00FF00u);
    EXPECT_EQ(at(qx[0], qy[1]), 0xFF0000FFu);
    EXPECT_EQ(at(qx[1], qy[1]), 0xFFFFFF00u);
  }));
}

TEST(DisplayPresentation, FullScreenMapsTheMouseBackToTheBackBuffer) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    // Taller than the screen's shape: bars left and right.
    EnterFullScreen(c, 100, 200);
    RECT r;
    ASSERT_TRUE(platform::GetPictureRect(c.Window(), &r));
    const int pw = r.right - r.left, ph = r.bottom - r.top;
    ASSERT_EQ(r.top, 0);
    ASSERT_GT(r.left, 0);
    ASSERT_GT(pw, 100);  // scaled up

    MouseSpy spy;
    POINT p = MoveTo(c, spy, r.left, r.top);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    p = MoveTo(c, spy, r.right - 1, r.bottom - 1);
    EXPECT_EQ(p.x, 99);
    EXPECT_EQ(p.y, 199);
    p = MoveTo(c, spy, r.left + pw / 2, r.top + ph / 2);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 100);
    // On the bars: outside the picture on the side the cursor is.
    p = MoveTo(c, spy, r.left - 1, ph / 2);
    EXPECT_EQ(p.x, -1);
    p = MoveTo(c, spy, r.right, ph / 2);
    EXPECT_EQ(p.x, 100);

    // Back in a window the mapping is the identity again.
    c.display.SetDisplayMode(false, 100, 200, 0);
    for (int i = 0; i < 5; ++i) c.app.PumpMessages();
    c.display.Refresh(nullptr, false);
    p = MoveTo(c, spy, 30, 40);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 40);
  }));
}

// The game's mouse reads the cursor through the same placement, and puts it there the same way.
TEST(DisplayPresentation, TheGamesMouseWorksInBackBufferPixels) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CMouseInputEx mouse;
    const struct {
      bool fullScreen;
      int x, y;
    } cases[] = {{false, 0, 0}, {false, 37, 151}, {true, 0, 0}, {true, 37, 151}, {true, 99, 199}};
    for (const auto& k : cases) {
      if (k.fullScreen != c.display.IsFullScreenMode() || c.display.GetSecondary() == nullptr) {
        if (k.fullScreen) {
          EnterFullScreen(c, 100, 200);
        } else {
          c.display.SetDisplayMode(false, 100, 200, 0);
          c.display.Refresh(nullptr, false);
        }
      }
      ASSERT_EQ(mouse.SetXY(k.x, k.y), 0);
      ASSERT_EQ(mouse.Update(), 0);
      int x = -1, y = -1;
      mouse.GetXY(&x, &y);
      EXPECT_EQ(x, k.x) << (k.fullScreen ? "full screen" : "window");
      EXPECT_EQ(y, k.y) << (k.fullScreen ? "full screen" : "window");
    }
  }));
}

TEST(DisplayPresentation, TheDisplayAsksForTheFineTimerWhileItExists) {
  const int before = TimePeriodRequests();
  ASSERT_TRUE(RunWithDisplay([&](Context&) { EXPECT_EQ(TimePeriodRequests(), before + 1); }));
  EXPECT_EQ(TimePeriodRequests(), before);
}

}  // namespace
