// The display with inputs off the usual path: a load into the display at a scale, a size the back
// buffer refuses, presenting rectangles at the ends of the coordinate range, and the depth cache.
#include "sdk/graphics/dib_draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "display_app.h"
#include "platform/desktop.h"
#include "platform/presenter.h"
#include "scoped_temp_dir.h"
#include "sdk/graphics/display_bpp.h"
#include "surface_util.h"

namespace {

using display_test::Context;
using display_test::RunWithDisplay;

// A 24-bit bottom-up BMP of w x h whose pixel (x, y) is 0xRRGGBB = colour(x, y).
std::string Bmp24(int w, int h, uint32_t (*colour)(int, int)) {
  const int stride = (w * 3 + 3) & ~3;
  const uint32_t imageSize = static_cast<uint32_t>(stride * h);
  std::string b;
  auto u16 = [&](uint32_t v) { b += char(v & 0xFF), b += char((v >> 8) & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  b += "BM";
  u32(14 + 40 + imageSize);
  u32(0);
  u32(14 + 40);
  u32(40);
  u32(static_cast<uint32_t>(w));
  u32(static_cast<uint32_t>(h));
  u16(1);
  u16(24);
  u32(0);
  u32(imageSize);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      row += char(c & 0xFF), row += char((c >> 8) & 0xFF), row += char((c >> 16) & 0xFF);
    }
    row.resize(static_cast<size_t>(stride), '\0');
    b += row;
  }
  return b;
}

uint32_t Picture(int x, int y) { return 0x102030u + static_cast<uint32_t>(x) * 0x010000u + static_cast<uint32_t>(y) * 0x000100u; }

// The scale a caller passes to a load into the display is not used: the picture keeps its size.
TEST(DIBDrawLimits, LoadIntoTheDisplayIgnoresTheScale) {
  ScopedTempDir dir;
  dir.Write("pic.bmp", Bmp24(5, 3, Picture));
  ASSERT_TRUE(RunWithDisplay([&](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 16, 8, 0);
    for (double scale : {50.0, 200.0, 100.0}) {
      ASSERT_EQ(d.Load(dir.File("pic.bmp"), 0, scale), 0) << scale;
      int w = 0, h = 0;
      d.GetSize(&w, &h);
      EXPECT_EQ(w, 5) << scale;
      EXPECT_EQ(h, 3) << scale;
    }
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(surface_util::At(*d.GetSecondary(), x, y) & 0xFFFFFFu, Picture(x, y)) << x << "," << y;
  }));
}

// A size no back buffer can have fails the change; the display keeps the back buffer it had and
// still presents all of it, whatever size the failed request left stored.
TEST(DIBDrawLimits, ARefusedSizeKeepsPresentingTheBackBuffer) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 24, 12, 0);
    CMemPlane* kept = d.GetSecondary();
    ASSERT_NE(kept, nullptr);
    const struct {
      int width, height;
    } sizes[] = {{-5, 12}, {24, -1}, {1 << 21, 12}, {1 << 14, 1 << 14}, {1, 12}};
    for (const auto& s : sizes) {
      surface_util::Fill(*kept, [](int x, int y) { return uint32_t(x << 16 | y); });
      const bool fits = s.width == 1;
      EXPECT_EQ(d.SetDisplayMode(false, s.width, s.height, 0), 0);
      if (fits) break;
      EXPECT_EQ(d.GetSecondary(), kept) << s.width << "x" << s.height;
      EXPECT_FALSE(d.IsFullScreenMode());
      EXPECT_EQ(d.Refresh(nullptr, false), 1);
      std::vector<uint32_t> front;
      int w = 0, h = 0;
      ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
      ASSERT_EQ(w, 24);
      ASSERT_EQ(h, 12);
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 24; ++x)
          ASSERT_EQ(front[size_t(y) * 24 + x], 0xFF000000u | uint32_t(x << 16 | y)) << s.width << "x" << s.height;
      // Put the stored size back for the next request.
      d.SetDisplayMode(false, 24, 12, 0);
      kept = d.GetSecondary();
    }
    // A size that fits switches as usual.
    int w = 0, h = 0;
    d.GetSize(&w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 12);
  }));
}

// Rectangles from callers reach the ends of the coordinate range without overflowing, and only the
// part on the back buffer is presented.
TEST(DIBDrawLimits, PresentingRectanglesAtTheEndsOfTheRange) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(false, 8, 6, 0);
    surface_util::Fill(*d.GetSecondary(), [](int, int) { return 0x00000011u; });
    ASSERT_EQ(d.Refresh(nullptr, false), 1);
    surface_util::Fill(*d.GetSecondary(), [](int, int) { return 0x00000022u; });
    const struct {
      RECT rect;
      int firstRow, endRow;  // the rows presented so far
    } cases[] = {
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, 0, 0},
        {{INT_MIN, 3, INT_MAX, 4}, 3, 4},  // one row
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 6},
    };
    for (const auto& k : cases) {
      EXPECT_EQ(d.Refresh(&k.rect, false), 1);
      std::vector<uint32_t> front;
      int w = 0, h = 0;
      ASSERT_TRUE(platform::CaptureFrontImage(c.Window(), &front, &w, &h));
      ASSERT_EQ(front.size(), 48u);
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
          const bool presented = y >= k.firstRow && y < k.endRow;
          EXPECT_EQ(front[size_t(y) * 8 + x], presented ? 0xFF000022u : 0xFF000011u)
              << k.rect.left << "," << k.rect.top << " at " << x << "," << y;
        }
    }
  }));
}

// The depth is measured once and then read from the cache until a change ends; the emulated
// full-screen mode's depth is what the program sees while it holds that mode.
TEST(DIBDrawLimits, TheDepthIsCachedUntilTheNextChange) {
  ASSERT_TRUE(RunWithDisplay([](Context& c) {
    CDIBDraw& d = c.display;
    d.SetDisplayMode(true, 32, 16, 8);
    EXPECT_EQ(GetDisplayBpp(), 8);
    // A change begun and tried but not ended leaves the cache alone.
    d.BeginChangeDisplay();
    EXPECT_EQ(d.TestDisplayMode(32, 16, true, 24), 0);
    EXPECT_EQ(GetDisplayBpp(), 8);
    EXPECT_EQ(d.EndChangeDisplay(), 0);
    EXPECT_EQ(GetDisplayBpp(), 24);
    d.SetDisplayMode(false, 0, 0, 0);
    EXPECT_EQ(GetDisplayBpp(), platform::DesktopBitsPerPixel());
  }));
}

}  // namespace
