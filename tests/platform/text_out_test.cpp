#include "platform/text_out.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "box_font_engine.h"

namespace {

using platform::Font;
using platform::FontDesc;

struct Canvas {
  int32_t width, height;
  std::vector<uint32_t> pixels;
  Canvas(int32_t w, int32_t h, uint32_t fill = 0xAA000000u) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  platform::PixelBuffer Buffer() { return {pixels.data(), width, height, width * 4}; }
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int CountRgb(uint32_t rgb) const {
    int n = 0;
    for (uint32_t p : pixels) n += (p & 0xFFFFFF) == rgb;
    return n;
  }
};

std::optional<Font> MakeFont(int32_t height, bool underline = false, bool strikeOut = false) {
  FontDesc desc;
  desc.height = height;
  desc.underline = underline;
  desc.strikeOut = strikeOut;
  return Font::Create(desc);
}

TEST(TextOut, MeasuresBoxGlyphsAndDropsALeadByteAtTheEnd) {
  BoxFontScope boxes;
  auto font = MakeFont(10);
  ASSERT_TRUE(font);
  struct Case {
    std::string text;
    LONG width;
  } cases[] = {
      {"", 0}, {"A", 5}, {"AB", 10}, {"\x82\xA0", 10}, {"A\x82\xA0" "B", 20},
      {"A\x82", 5},      // lead byte without its trail
      {"A\r", 5},        // control characters take no room
  };
  for (const auto& c : cases) {
    SIZE s = platform::MeasureTextLine(*font, c.text);
    EXPECT_EQ(s.cx, c.width) << c.text;
    EXPECT_EQ(s.cy, 10) << c.text;
  }
}

TEST(TextOut, DrawsGlyphBoxesOnTheBaselineInTheTextColourKeepingAlpha) {
  BoxFontScope boxes;
  auto font = MakeFont(10);  // ascent 9: a box covers rows 1..8 and columns 1..advance-2 of its cell
  Canvas canvas(30, 14);
  platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 2, 3, "A\x82\xA0", {RGB(0x11, 0x22, 0x33), 0, false});
  const uint32_t ink = 0xAA112233u, none = 0xAA000000u;
  EXPECT_EQ(canvas.At(2, 3), none);       // the cell's border
  EXPECT_EQ(canvas.At(3, 4), ink);        // first ink pixel of "A"
  EXPECT_EQ(canvas.At(5, 4), ink);        // last column of "A" (advance 5: columns 1..3)
  EXPECT_EQ(canvas.At(6, 4), none);
  EXPECT_EQ(canvas.At(5, 6), none);       // the hole of "A", cell pixel (3, 3)
  EXPECT_EQ(canvas.At(7 + 1, 4 + 7), ink);  // "あ" starts at pen 7; its last ink row is 8 below the top
  EXPECT_EQ(canvas.At(7 + 3, 3 + 3), none);  // the hole
  EXPECT_EQ(canvas.At(7 + 9, 4), none);
  EXPECT_EQ(canvas.At(8, 3 + 9), none);
  EXPECT_EQ(canvas.CountRgb(0x112233), 3 * 8 + 8 * 8 - 2);
}

TEST(TextOut, OpaqueBackgroundFillsTheCellsAndBarsSpanTheText) {
  BoxFontScope boxes;
  auto font = MakeFont(10, true, true);
  Canvas canvas(20, 20);
  platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 0, 0, "AB", {RGB(255, 0, 0), RGB(0, 0, 255), true});
  // Background: the 10 × 10 cells, less the ink; the underline adds ten pixels below them.
  EXPECT_EQ(canvas.CountRgb(0x0000FF) + canvas.CountRgb(0xFF0000), 100 + 10);
  EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(canvas.At(10, 0) & 0xFFFFFF, 0u);
  // Underline one row below the baseline (ascent 9).
  for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.At(x, 10) & 0xFFFFFF, 0xFF0000u) << x;
  EXPECT_EQ(canvas.At(10, 10) & 0xFFFFFF, 0u);
  // Strike-out at baseline - ascent / 2 = row 5, across the borders between the boxes too.
  EXPECT_EQ(canvas.At(0, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(canvas.At(4, 5) & 0xFFFFFF, 0xFF0000u);
}

TEST(TextOut, ClipsToTheBufferAndTheClipRectangle) {
  BoxFontScope boxes;
  auto font = MakeFont(10);
  struct Case {
    int32_t x, y;
    bool useClip;
    RECT clip;
    int expectedInk;
  } cases[] = {
      {0, 0, false, {}, 2 * 23},                     // two whole boxes of 3 × 8 less their holes
      {-4, 0, false, {}, 23},                        // the first box is outside, the second one whole
      {-6, -5, false, {}, 3 * 4},                    // "B" at pen -1, rows -4..3 of which 0..3 show
      {0, 0, true, {2, 2, 4, 4}, 3},                 // a 2 × 2 window holding the hole of "A"
      {0, 0, true, {50, 50, 60, 60}, 0},             // a clip outside the buffer
      {INT32_MAX - 3, INT32_MIN + 2, false, {}, 0},  // far away: nothing, and no overflow
  };
  for (const auto& c : cases) {
    Canvas canvas(12, 12);
    platform::DrawTextLine(canvas.Buffer(), c.useClip ? &c.clip : nullptr, *font, c.x, c.y, "AB",
                           {RGB(0, 255, 0), 0, false});
    EXPECT_EQ(canvas.CountRgb(0x00FF00), c.expectedInk) << c.x << "," << c.y;
  }
}

// A single channel takes exactly what that channel of a 32-bit pixel takes: two-level and grey
// glyphs over random pixels, opaque and transparent, with bars, clipped and far away.
TEST(TextOut, OneChannelMatchesThatChannelOfTheFullPixels) {
  const char* const kTexts[] = {"A", "Ag\x82\xA0", "\x89\x69\x83\x41 y", "\xB1\xB2", "\x82", ""};
  const uint32_t kQualities[] = {platform::NONANTIALIASED_QUALITY, platform::ANTIALIASED_QUALITY};
  std::mt19937 rng(99);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (bool boxes : {true, false}) {
    std::optional<BoxFontScope> scope;
    if (boxes) scope.emplace();
    for (int i = 0; i < 200; ++i) {
      FontDesc desc;
      desc.height = 6 + pick(30);
      desc.weight = pick(2) ? 700 : 400;
      desc.italic = pick(4) == 0;
      desc.underline = pick(3) == 0;
      desc.strikeOut = pick(3) == 0;
      desc.quality = kQualities[pick(2)];
      auto font = Font::Create(desc);
      ASSERT_TRUE(font);
      const std::string text = kTexts[pick(std::size(kTexts))];
      const int32_t x = pick(50) - 15, y = pick(40) - 10;
      const RECT clip{pick(10), pick(10), 20 + pick(30), 15 + pick(30)};
      const bool useClip = pick(3) == 0;
      const platform::TextColors colors{static_cast<COLORREF>(rng() & 0xFFFFFFu), static_cast<COLORREF>(rng() & 0xFFFFFFu),
                                        pick(2) == 0};
      Canvas canvas(40, 32);
      for (uint32_t& p : canvas.pixels) p = rng();
      const std::vector<uint32_t> before = canvas.pixels;
      platform::DrawTextLine(canvas.Buffer(), useClip ? &clip : nullptr, *font, x, y, text, colors);
      for (int shift : {0, 8, 16}) {
        std::vector<uint8_t> channel(before.size() * 2, 0xEE);  // pitch of 80 bytes: what lies beyond stays
        for (size_t k = 0; k < before.size(); ++k) channel[(k / 40) * 80 + k % 40] = static_cast<uint8_t>(before[k] >> shift);
        const auto byteOf = [&](COLORREF c) { return static_cast<uint8_t>(platform::ColorRefToPixel(c) >> shift); };
        platform::DrawTextLine(platform::ChannelBuffer{channel.data(), 40, 32, 80}, useClip ? &clip : nullptr, *font, x, y,
                               text, {byteOf(colors.text), byteOf(colors.background), colors.opaque});
        for (size_t k = 0; k < before.size(); ++k) {
          ASSERT_EQ(channel[(k / 40) * 80 + k % 40], static_cast<uint8_t>(canvas.pixels[k] >> shift))
              << "case " << i << " boxes " << boxes << " shift " << shift << " pixel " << k;
          ASSERT_EQ(channel[(k / 40) * 80 + 40 + k % 40], 0xEE);
        }
      }
    }
  }
}

}  // namespace
