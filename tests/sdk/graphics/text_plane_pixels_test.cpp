// The text plane against its plain step-by-step computation (text_plane_reference.h), pixel for
// pixel, over a table of styles and many random ones, with box glyphs and with the system's fonts:
// every shortcut of the real plane (one drawing for text and shadow, the one-channel doubled
// drawing, the averaging and compositing in blocks, the cache) must leave the pixels unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "sdk/graphics/text_plane.h"
#include "sdk/graphics/text_plane_cache.h"
#include "text_plane_reference.h"

namespace {

struct Style {
  std::string text;
  int face = 0;
  int32_t height = 24;
  int32_t linePitch = -1;  // -1: the height
  int32_t weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  int quality = 4;
  COLORREF color = 0xFFFFFF, shadow = CTextFont::kNone, background = CTextFont::kNone;
  int32_t shadowX = 2, shadowY = 2;
  int32_t offsetX = 0, offsetY = 0;
  bool vertical = false;
};

std::string Describe(const Style& s) {
  std::string d = "text bytes";
  for (unsigned char c : s.text) d += " " + std::to_string(c);
  return d + " face " + std::to_string(s.face) + " height " + std::to_string(s.height) + " pitch " +
         std::to_string(s.linePitch) + " weight " + std::to_string(s.weight) + " italic " + std::to_string(s.italic) +
         " underline " + std::to_string(s.underline) + " strike " + std::to_string(s.strikeOut) + " quality " +
         std::to_string(s.quality) + " colour " + std::to_string(s.color) + " shadow " + std::to_string(s.shadow) +
         " background " + std::to_string(s.background) + " shadow offset " + std::to_string(s.shadowX) + "," +
         std::to_string(s.shadowY) + " text offset " + std::to_string(s.offsetX) + "," + std::to_string(s.offsetY) +
         " vertical " + std::to_string(s.vertical);
}

CTextFont FontOf(const Style& s) {
  CTextFont font;
  font.SetFontType(s.face);
  font.SetSize(s.height);
  if (s.linePitch >= 0) font.SetLinePitch(s.linePitch);
  font.SetWeight(s.weight);
  font.SetItalic(s.italic);
  font.SetUnderline(s.underline);
  font.SetStrikeOut(s.strikeOut);
  font.SetQuality(s.quality);
  font.SetTextColor(s.color);
  font.SetShadowColor(s.shadow);
  font.SetBkColor(s.background);
  font.SetShadowOffset(s.shadowX, s.shadowY);
  font.SetText(s.text);
  return font;
}

// Renders the style twice (drawn, then from the finished-image cache) and compares both with the
// reference.
void ExpectSameAsReference(const Style& s) {
  const CTextFont font = FontOf(s);
  const text_plane_reference::Image expected = text_plane_reference::Plane(font, s.offsetX, s.offsetY, s.vertical);
  TextPlaneCache::Instance().Clear();
  for (const char* pass : {"drawn", "kept"}) {
    CTextPlane plane;
    plane.font = font;
    plane.SetTextOffset(s.offsetX, s.offsetY);
    plane.SetVertical(s.vertical);
    ASSERT_EQ(plane.Update(), 0) << pass << ": " << Describe(s);
    int w = 0, h = 0;
    plane.GetSize(&w, &h);
    ASSERT_EQ(w, expected.width) << pass << ": " << Describe(s);
    ASSERT_EQ(h, expected.height) << pass << ": " << Describe(s);
    ASSERT_TRUE(plane.HasAlpha());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(plane.GetImpl()->GetPixel(x, y), expected.At(x, y))
            << pass << " at " << x << "," << y << ": " << Describe(s);
      }
    }
    ASSERT_EQ(plane.font.GetText(), font.GetText());
    ASSERT_EQ(plane.font.GetFaceName(), font.GetFaceName());
    ASSERT_EQ(plane.font.GetShadowOffsetX(), font.GetShadowOffsetX());
  }
}

// Styles that reach the edges: shadows far away, behind or on the text, text moved inside the
// plane, backgrounds (which the doubled drawing paints too), bars, several lines, tiny and odd
// heights, a lead byte without its trail, nothing to draw.
std::vector<Style> EdgeStyles() {
  const std::string a = "\x82\xA0";      // あ
  const std::string kanji = "\x89\x69";  // 永
  return {
      {.text = kanji},
      {.text = kanji, .shadow = 0x202020},
      {.text = a, .color = 0x0000FF, .shadow = 0xFF0000, .shadowX = -3, .shadowY = 1},
      {.text = a, .shadow = 0x808080, .shadowX = 0, .shadowY = 0},
      {.text = kanji, .shadow = 0x808080, .shadowX = 30, .shadowY = -30},
      {.text = kanji, .shadow = 0x808080, .shadowX = 1000000, .shadowY = -1000000},
      {.text = kanji, .shadow = 0x808080, .shadowX = INT32_MAX, .shadowY = INT32_MIN},
      {.text = a, .shadow = 0x123456, .offsetX = 3, .offsetY = -2},
      {.text = a, .offsetX = -40, .offsetY = 0},
      {.text = a, .background = 0x563412},
      {.text = a, .shadow = 0x00FF00, .background = 0xABCDEF},
      {.text = "A" + a + "g\nQy" + kanji, .underline = true, .strikeOut = true, .shadow = 0x404040},
      {.text = "Ag\n\nyQ", .linePitch = 7},
      {.text = "Ag\nyQ", .linePitch = -1, .shadow = 0x101010, .shadowX = 0, .shadowY = 40},
      {.text = a + "A\xB1", .weight = 700, .italic = true, .shadow = 0x303030},
      {.text = kanji, .height = 1},
      {.text = kanji, .height = 2, .shadow = 0x808080},
      {.text = kanji, .height = 13, .shadow = 0x808080, .vertical = true},
      {.text = "A" + a + "\x81\x41", .shadow = 0x0000FF, .shadowX = 3, .shadowY = 1, .vertical = true},
      {.text = "\x82"},
      {.text = ""},
      {.text = "", .shadow = 0x808080},
      {.text = a, .color = CTextFont::kNone, .shadow = 0x808080},
  };
}

Style RandomStyle(std::mt19937& rng) {
  static const char* const kPieces[] = {"\x89\x69", "\x82\xA0", "\x83\x41", "A", "g", "\xB1", "\x81\x42", " ", "\n", "\x8A\xBF"};
  static const int32_t kOffsets[] = {0, 0, 1, 2, 2, 3, -1, -2, -5, 9, 25, -60};
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  Style s;
  for (int n = 1 + pick(4); n > 0; --n) s.text += kPieces[pick(std::size(kPieces))];
  s.face = pick(5);
  static const int32_t kHeights[] = {8, 11, 12, 16, 24, 24, 25, 28, 31};
  s.height = kHeights[pick(std::size(kHeights))];
  if (pick(4) == 0) s.linePitch = s.height + pick(9) - 4;
  s.weight = pick(3) == 0 ? 700 : 400;
  s.italic = pick(5) == 0;
  s.underline = pick(6) == 0;
  s.strikeOut = pick(6) == 0;
  s.quality = pick(5);
  s.color = rng() & 0xFFFFFF;
  s.shadow = pick(4) == 0 ? CTextFont::kNone : rng() & 0xFFFFFF;
  s.background = pick(6) == 0 ? rng() & 0xFFFFFF : CTextFont::kNone;
  s.shadowX = kOffsets[pick(std::size(kOffsets))];
  s.shadowY = kOffsets[pick(std::size(kOffsets))];
  if (pick(3) == 0) {
    s.offsetX = kOffsets[pick(std::size(kOffsets))];
    s.offsetY = kOffsets[pick(std::size(kOffsets))];
  }
  s.vertical = pick(3) == 0;
  return s;
}

TEST(TextPlanePixels, BoxGlyphsMatchTheStepByStepComputation) {
  BoxFontScope boxes;
  for (const Style& s : EdgeStyles()) ExpectSameAsReference(s);
  std::mt19937 rng(20240611);
  for (int i = 0; i < 300; ++i) ExpectSameAsReference(RandomStyle(rng));
}

TEST(TextPlanePixels, SystemFontsMatchTheStepByStepComputation) {
  for (const Style& s : EdgeStyles()) ExpectSameAsReference(s);
  std::mt19937 rng(7);
  for (int i = 0; i < 150; ++i) ExpectSameAsReference(RandomStyle(rng));
}

}  // namespace
