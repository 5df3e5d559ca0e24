#include "sdk/graphics/dib_draw.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "display_app.h"
#include "platform/desktop.h"
#include "platform/presenter.h"
#include "platform/window.h"
#include "sdk/framework/app_manager.h"
#include "sdk/graphics/display_bpp.h"
#include "sdk/graphics/screen_listener.h"
#include "surface_util.h"

namespace {

using display_test::Context;
using display_test::RunWithDisplay;
using Sleeps = std::vector<uint32_t>;

const platform::EmulatedDisplayMode& Mode() { return CDirectDrawBase::Object()->Mode(); }

RECT ClientRect(HWND hwnd) {
  RECT r;
  EXPECT_TRUE(platform::GetClientRect(hwnd, &r));
  return r;
}

bool WindowIsPopup(HWND hwnd) { return (platform::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_POPUP) != 0; }

// Everything the state machine leaves behind after a change.
void ExpectState(Context& c, bool fullScreen, int width, int height, int depth) {
  CDIBDraw& d = c.display;
  EXPECT_EQ(d.IsFullScreenMode(), fullScreen);
  EXPECT_EQ(d.GetWidth(), width);
  EXPECT_EQ(d.GetHeight(), height);
  EXPECT_EQ(d.GetColorDepth(), depth);
  EXPECT_EQ(IsFullScreen(), fullScreen);
  EXPECT_EQ(c.app.GetWindow().IsWindowFullScreen(), fullScreen);
  EXPECT_EQ(WindowIsPopup(c.Window()), fullScreen);
  EXPECT_EQ(Mode().exclusive, fullScreen);
  EXPECT_EQ(Mode().depth, fullScreen ? depth : 0);
  int w = 0, h = 0;
  d.GetSize(&w, &h);
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  if (!fullScreen) {
    const RECT client = ClientRect(c.Window());
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
  }
}

// Records the requests the mode switch would grant and refuses those the test names.
struct Policy {
  std::vector<std::string> seen;
  std::function<bool(const platform::DisplayModeRequest&)> refuse = [](const auto&) { return false; };

  void Install() {
    platform::SetDisplayModePolicy([this](const platform::DisplayModeRequest& r) {
      const bool refused = refuse(r);
      std::string text =
          r.kind == platform::DisplayModeRequest::Kind::DisplayMode
              ? "mode " + std::to_string(r.width) + "x" + std::to_string(r.height) + "x" + std::to_string(r.depth)
              : (r.flags == DDSCL_NORMAL ? "normal" : "exclusive");
      seen.push_back(text + (refused ? " refused" : ""));
      return !refused;
    });
  }
};

TEST(DIBDraw, SwitchesBetweenWindowAndFullScreen) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    EXPECT_EQ(d.GetSecondary(), nullptr);

    // Window to window: no sleep.
    EXPECT_EQ(d.SetDisplayMode(false, 320, 240, 0), 0);
    ExpectState(c, false, 320, 240, 0);
    ASSERT_NE(d.GetSecondary(), nullptr);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{});
    EXPECT_EQ(d.SetDisplayMode(false, 400, 300, 0), 0);
    ExpectState(c, false, 400, 300, 0);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{});

    // Window to full screen: the emulated mode is recorded and the screen gets 500 ms to settle.
    EXPECT_EQ(d.SetDisplayMode(true, 0, 0, 32), 0);
    ExpectState(c, true, 400, 300, 32);
    EXPECT_EQ(Mode().width, 400);
    EXPECT_EQ(Mode().height, 300);
    EXPECT_EQ(Mode().window, c.Window());
    EXPECT_EQ(c.clock.sleeps(), Sleeps{500});
    EXPECT_EQ(GetDisplayBpp(), 32);

    // Full screen to window: the desktop's mode is back, the size kept, the depth 0.
    c.clock.ClearSleeps();
    EXPECT_EQ(d.SetDisplayMode(false, 0, 0, 0), 0);
    ExpectState(c, false, 400, 300, 0);
    EXPECT_EQ(Mode().width, 0);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{500});
    EXPECT_EQ(GetDisplayBpp(), platform::DesktopBitsPerPixel());
  }));
}

TEST(DIBDraw, EachSwitchGivesANewBlankBackBuffer) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 16, 8, 0);
    CMemPlane* first = d.GetSecondary();
    ASSERT_NE(first, nullptr);
    surface_util::Fill(*first, [](int, int) { return 0xFF123456u; });
    d.SetDisplayMode(true, 16, 8, 0);
    ASSERT_NE(d.GetSecondary(), nullptr);
    EXPECT_EQ(surface_util::Pixels(*d.GetSecondary()), std::vector<uint32_t>(16 * 8, 0u));
    // SetDisplayMode with depth 0 asks for 16 bits.
    EXPECT_EQ(d.GetColorDepth(), 16);
  }));
}

// A refused full-screen depth falls back to a window at the requested size within the same change.
TEST(DIBDraw, ARefusedDepthFallsBackToAWindow) {
  Policy policy;
  policy.refuse = [](const platform::DisplayModeRequest& r) { return r.depth == 24; };
  ASSERT_TRUE(RunWithDisplay([&](Context& c) {
    CDIBDraw& d = c.display;
    policy.Install();
    d.SetDisplayMode(false, 320, 240, 0);
    policy.seen.clear();
    d.SetDisplayMode(false, 0, 0, 0);
    EXPECT_EQ(d.ChangeDisplay(false), 0);

    policy.seen.clear();
    d.SetDisplayMode(true, 0, 0, 24);  // stores the depth and switches
    EXPECT_EQ(policy.seen, (std::vector<std::string>{"exclusive", "mode 320x240x24 refused", "normal"}));
    ExpectState(c, false, 320, 240, 0);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{});  // never in full screen

    // From full screen the fallback leaves full screen, and that sleeps.
    d.SetDisplayMode(true, 0, 0, 32);
    ExpectState(c, true, 320, 240, 32);
    c.clock.ClearSleeps();
    d.SetDisplayMode(true, 640, 480, 24);
    ExpectState(c, false, 640, 480, 0);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{500});
  }));
}

// The game menu's depth change: full screen at each depth from the wanted one up, then the window;
// the first that is granted wins and the later attempts ask nothing.
TEST(DIBDraw, TheColourDepthSequenceStopsAtTheFirstGrantedMode) {
  Policy policy;
  policy.refuse = [](const platform::DisplayModeRequest& r) { return r.depth == 16; };
  ASSERT_TRUE(RunWithDisplay([&](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 320, 240, 0);
    policy.Install();
    EXPECT_EQ(d.BeginChangeDisplay(), 0);
    EXPECT_EQ(d.TestDisplayMode(320, 240, true, 16), 1);
    EXPECT_EQ(d.TestDisplayMode(320, 240, true, 24), 0);
    EXPECT_EQ(d.TestDisplayMode(320, 240, true, 32), 1);
    EXPECT_EQ(d.TestDisplayMode(320, 240, false, 0), 1);
    EXPECT_EQ(d.EndChangeDisplay(), 0);
    EXPECT_EQ(policy.seen,
              (std::vector<std::string>{"exclusive", "mode 320x240x16 refused", "exclusive", "mode 320x240x24"}));
    ExpectState(c, true, 320, 240, 24);
    EXPECT_EQ(c.clock.sleeps(), Sleeps{500});

    // Again from full screen: the change first gives the desktop its mode back.
    policy.seen.clear();
    d.BeginChangeDisplay();
    EXPECT_EQ(Mode().exclusive, false);
    EXPECT_EQ(Mode().depth, 0);
    d.TestDisplayMode(320, 240, true, 32);
    d.EndChangeDisplay();
    ExpectState(c, true, 320, 240, 32);
  }));
}

// When nothing is granted the display reports the failure, keeps what it had, and a display that
// never got a back buffer draws nothing and says so.
TEST(DIBDraw, WhenEveryAttemptFailsNothingIsDrawnAndNothingBreaks) {
  Policy policy;
  policy.refuse = [](const platform::DisplayModeRequest&) { return true; };
  ASSERT_TRUE(RunWithDisplay([&](Context& c) {
    CDIBDraw& d = c.display;
    policy.Install();
    EXPECT_EQ(d.SetDisplayMode(true, 320, 240, 32), 0);
    EXPECT_EQ(d.ChangeDisplay(true), 2);
    EXPECT_EQ(d.GetSecondary(), nullptr);
    auto source = surface_util::Make(surface_util::Kind::Plain, 4, 4, 0xFFFFFFFF);
    EXPECT_EQ(d.Blt(source.get(), 0, 0, nullptr, nullptr, nullptr), CDIBDraw::kNoBackBuffer);
    EXPECT_EQ(d.BltNatural(source.get(), 0, 0, nullptr, nullptr, nullptr), CDIBDraw::kNoBackBuffer);
    EXPECT_EQ(d.BlendBltRatio(source.get(), 0, 0, 128, nullptr, nullptr, nullptr), CDIBDraw::kNoBackBuffer);
    EXPECT_EQ(d.Clear(nullptr), CDIBDraw::kNoBackBuffer);
    EXPECT_EQ(d.MosaicBlt(4, nullptr), CDIBDraw::kNoBackBuffer);
    EXPECT_EQ(d.Refresh(nullptr, true), 0);
    int w = -1, h = -1;
    d.GetSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);

    // A display that has a back buffer keeps it, and its mode, when a later change fails.
    platform::SetDisplayModePolicy({});
    d.SetDisplayMode(false, 64, 32, 0);
    CMemPlane* kept = d.GetSecondary();
    ASSERT_NE(kept, nullptr);
    policy.Install();
    EXPECT_EQ(d.ChangeDisplay(true), 2);
    EXPECT_EQ(d.GetSecondary(), kept);
    EXPECT_FALSE(d.IsFullScreenMode());
    EXPECT_EQ(d.Clear(nullptr), 0);
  }));
}

// Presenting: the listeners draw first, then exactly the back buffer lands in the window's picture
// with alpha made opaque; the window paints it 1:1.
TEST(DIBDraw, RefreshPresentsExactlyTheBackBuffer) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 64, 48, 0);
    CMemPlane* back = d.GetSecondary();
    ASSERT_NE(back, nullptr);
    // Alpha left 0 as the blend kernels leave it, with one pixel of each alpha kind.
    surface_util::Fill(*back, [](int x, int y) { return uint32_t(x * 4) << 16 | uint32_t(y * 5) << 8 | 0x3Cu; });
    back->GetImpl()->GetRow(1)[1] = 0x80FF0000u;
    EXPECT_EQ(d.Refresh(nullptr, true), 1);
    EXPECT_FALSE(d.IsDirty());

    std::vector<uint32_t> expected = surface_util::Pixels(*back);
    for (uint32_t& p : expected) p |= 0xFF000000u;
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    EXPECT_EQ(front, expected);
    std::vector<uint32_t> shown;
    ASSERT_TRUE(platform::CaptureClientArea(c.Window(), &shown, &w, &h));
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    EXPECT_EQ(shown, expected);

    // One rectangle: only it changes.
    surface_util::Fill(*back, [](int, int) { return 0x00FFFFFFu; });
    const RECT r{10, 5, 20, 9};
    EXPECT_EQ(d.Refresh(&r, false), 1);
    ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool inside = x >= 10 && x < 20 && y >= 5 && y < 9;
        ASSERT_EQ(front[y * 64 + x], inside ? 0xFFFFFFFFu : expected[y * 64 + x]) << x << "," << y;
      }
  }));
}

// Each presentation copies the back buffer into the window's picture once, and only the rectangle
// it was asked for; the paints that follow, and a paint the window asks for by itself, show the
// picture as it stands and copy nothing.
TEST(DIBDraw, EachPresentationIsOneCopyOfWhatItWasAsked) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 64, 48, 0);
    surface_util::Fill(*d.GetSecondary(), [](int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8; });
    const auto settle = [&] {
      platform::UpdateWindow(c.Window());
      for (int i = 0; i < 3; ++i) c.app.PumpMessages();
    };
    settle();
    const platform::FrontImageCopies start = platform::CountFrontImageCopies(c.Window());

    ASSERT_EQ(d.Refresh(nullptr, true), 1);
    settle();
    platform::FrontImageCopies now = platform::CountFrontImageCopies(c.Window());
    EXPECT_EQ(now.copies, start.copies + 1);
    EXPECT_EQ(now.pixels, start.pixels + 64 * 48);

    surface_util::Fill(*d.GetSecondary(), [](int, int) { return 0x00FFFFFFu; });
    const RECT r{10, 5, 20, 9};
    ASSERT_EQ(d.Refresh(&r, false), 1);
    settle();
    now = platform::CountFrontImageCopies(c.Window());
    EXPECT_EQ(now.copies, start.copies + 2);
    EXPECT_EQ(now.pixels, start.pixels + 64 * 48 + 10 * 4);

    // The window repaints itself: no copy, and it shows exactly the picture as last presented.
    platform::InvalidateRect(c.Window(), nullptr, 0);
    settle();
    std::vector<uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::CaptureClientArea(c.Window(), &shown, &w, &h));
    EXPECT_EQ(platform::CountFrontImageCopies(c.Window()).copies, start.copies + 2);
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool inside = x >= 10 && x < 20 && y >= 5 && y < 9;
        ASSERT_EQ(shown[y * 64 + x], inside ? 0xFFFFFFFFu : 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8)
            << x << "," << y;
      }
  }));
}

TEST(DIBDraw, RefreshWithoutABackBufferPresentsNothing) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    EXPECT_EQ(c.display.Refresh(nullptr, true), 0);
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    EXPECT_FALSE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
  }));
}

class CountingListener : public CScreenListener {
 public:
  CountingListener(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
  void OnDraw(CDrawTarget* target) override {
    m_log.push_back(m_name);
    lastTarget = target;
  }
  CDrawTarget* lastTarget = nullptr;

 private:
  std::vector<std::string>& m_log;
  std::string m_name;
};

TEST(DIBDraw, AMinimisedWindowCallsTheListenersButShowsNothingNew) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 32, 16, 0);
    surface_util::Fill(*d.GetSecondary(), [](int, int) { return 0x00112233u; });
    ASSERT_EQ(d.Refresh(nullptr, false), 1);

    std::vector<std::string> log;
    CountingListener listener(log, "movie");
    // As the window reports it (the offscreen platform makes the program active again at once,
    // which counts as a restore).
    platform::SendMessage(c.Window(), WM_SIZE, SIZE_MINIMIZED, 0);
    ASSERT_TRUE(c.app.GetWindow().IsMinimised());
    surface_util::Fill(*d.GetSecondary(), [](int, int) { return 0x00445566u; });
    EXPECT_EQ(d.Refresh(nullptr, true), 1);
    EXPECT_EQ(log, std::vector<std::string>{"movie"});
    EXPECT_EQ(listener.lastTarget, static_cast<CDrawTarget*>(&d));
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
    EXPECT_EQ(front, std::vector<uint32_t>(32 * 16, 0xFF112233u));

    platform::SendMessage(c.Window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(32, 16));
    ASSERT_FALSE(c.app.GetWindow().IsMinimised());
    EXPECT_EQ(d.Refresh(nullptr, false), 1);
    ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
    EXPECT_EQ(front, std::vector<uint32_t>(32 * 16, 0xFF445566u));
  }));
}

TEST(DIBDraw, ListenersRunInRegistrationOrderSkippingDisabledOnes) {
  std::vector<std::string> log;
  // Made where there is no display: registered nowhere, and its end removes nothing.
  auto orphan = std::make_unique<CountingListener>(log, "orphan");
  ASSERT_TRUE(RunWithDisplay([&](Context& c) {
    CDIBDraw& d = c.display;
    EXPECT_EQ(CDIBDraw::Current(), &d);
    d.SetDisplayMode(false, 8, 8, 0);
    CountingListener a(log, "a");
    auto b = std::make_unique<CountingListener>(log, "b");
    CountingListener off(log, "off");
    off.SetEnabled(false);
    CountingListener e(log, "e");
    d.Refresh(nullptr, true);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "e"}));
    b.reset();
    log.clear();
    d.Refresh(nullptr, true);
    d.Refresh(nullptr, false);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "e"}));
    EXPECT_EQ(d.GetScreenListeners().size(), 3u);
  }));
  orphan.reset();
  EXPECT_EQ(CDIBDraw::Current(), nullptr);
}

TEST(DIBDraw, DrawingGoesToTheBackBuffer) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 8, 4, 0);
    auto source = surface_util::Make(surface_util::Kind::Plain, 2, 2, 0xFF00FF00u);
    d.Refresh(nullptr, false);
    EXPECT_FALSE(d.IsDirty());
    EXPECT_EQ(d.BltFast(source.get(), 3, 1, nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(d.IsDirty());
    const CMemPlane& back = *d.GetSecondary();
    EXPECT_EQ(surface_util::At(back, 3, 1), 0xFF00FF00u);
    EXPECT_EQ(surface_util::At(back, 4, 2), 0xFF00FF00u);
    EXPECT_EQ(surface_util::At(back, 5, 2), 0u);
    EXPECT_EQ(d.Clear(nullptr), 0);
    EXPECT_EQ(surface_util::At(back, 3, 1), 0u);
    EXPECT_EQ(d.GetType(), CDrawTarget::kTypeOther);
    EXPECT_EQ(CDIBDraw::TestDC(), 0);
  }));
}

}  // namespace
