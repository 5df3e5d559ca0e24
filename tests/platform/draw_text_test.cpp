// Text laid out in a rectangle, measured and drawn with glyphs of known shape (boxes: a single-byte
// character 8 pixels wide, a double-byte one 16, every line 16 high).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "box_font_engine.h"
#include "platform/dc_text.h"
#include "platform/sjis_literal.h"

namespace {

using namespace platform;

struct Measured {
  int width;
  int height;
};

Measured Measure(std::string_view text, UINT format, int width = 1000) {
  FontDesc desc;
  desc.height = 16;
  std::optional<Font> font = Font::Create(desc);
  EXPECT_TRUE(font.has_value());
  MemDC dc;
  SelectFont(&dc, &*font);
  RECT r{10, 20, 10 + width, 20};
  const int height = DrawTextA(&dc, text.data(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  EXPECT_EQ(height, r.bottom - r.top) << text;
  EXPECT_EQ(r.left, 10);
  return {r.right - r.left, height};
}

TEST(DrawText, MeasuresLinesBreaksAndTabs) {
  BoxFontScope boxes;
  struct Case {
    const char* name;
    std::string text;
    UINT format;
    int width;
    Measured expected;
  };
  const Case cases[] = {
      {"one line", "abc", 0, 1000, {24, 16}},
      {"CR LF, LF and CR end lines", "ab\r\ncd\nef\rgh", 0, 1000, {16, 64}},
      {"a break at the end adds no line", "ab\n", 0, 1000, {16, 16}},
      {"an empty line between breaks counts", "ab\n\ncd", 0, 1000, {16, 48}},
      {"no text, no lines", "", 0, 1000, {0, 0}},
      {"without word breaks a line runs on", "aaa bbb", 0, 40, {56, 16}},
      {"breaks after a space, dropping it", "aaa bbb", DT_WORDBREAK, 40, {24, 32}},
      {"a word wider than the line stays whole", "aaaaaaaa b", DT_WORDBREAK, 40, {64, 32}},
      {"breaks between double-byte characters", "表表表"_sj, DT_WORDBREAK, 40, {32, 32}},
      {"breaks before a double-byte character", "ab表"_sj, DT_WORDBREAK, 20, {16, 32}},
      {"tabs move to eight widths of x", "a\tb", DT_EXPANDTABS, 1000, {72, 16}},
      {"unexpanded, a tab is what the font makes of it: nothing", "a\tb", 0, 1000, {16, 16}},
      {"external leading adds nothing", "a\nb", DT_EXTERNALLEADING, 1000, {8, 32}},
  };
  for (const Case& c : cases) {
    const Measured m = Measure(c.text, c.format, c.width);
    EXPECT_EQ(m.width, c.expected.width) << c.name;
    EXPECT_EQ(m.height, c.expected.height) << c.name;
  }
}

TEST(DrawText, DrawsWithinTheRectangleInTheTextColour) {
  BoxFontScope boxes;
  FontDesc desc;
  desc.height = 16;
  std::optional<Font> font = Font::Create(desc);
  ASSERT_TRUE(font.has_value());
  std::unique_ptr<Bitmap> bitmap = CreateDIBSection32(64, 48);
  ASSERT_NE(bitmap, nullptr);
  MemDC dc;
  dc.SelectBitmap(bitmap.get());
  SelectFont(&dc, &*font);
  SetTextColor(&dc, RGB(0, 0, 255));
  SetBkMode(&dc, TRANSPARENT);
  // "ab" then "cd" below it; the rectangle ends inside "b".
  RECT r{4, 2, 16, 40};
  EXPECT_EQ(DrawTextA(&dc, "ab\ncd", -1, &r, DT_WORDBREAK), 32);
  EXPECT_EQ(GetPixel(&dc, 4 + 1, 2 + 1), RGB(0, 0, 255));     // inside "a"
  EXPECT_EQ(GetPixel(&dc, 4 + 3, 2 + 3), RGB(0, 0, 0));       // the box's hole
  EXPECT_EQ(GetPixel(&dc, 12 + 1, 2 + 1), RGB(0, 0, 255));    // "b", inside the rectangle
  EXPECT_EQ(GetPixel(&dc, 16 + 1, 2 + 1), RGB(0, 0, 0));      // beyond it: untouched
  EXPECT_EQ(GetPixel(&dc, 4 + 1, 18 + 1), RGB(0, 0, 255));    // "c" on the second line
  // Without a font or a rectangle nothing is done.
  SelectFont(&dc, nullptr);
  EXPECT_EQ(DrawTextA(&dc, "ab", -1, &r, 0), 0);
  SelectFont(&dc, &*font);
  EXPECT_EQ(DrawTextA(&dc, "ab", -1, nullptr, 0), 0);
}

TEST(DrawText, CreateFontIndirectTakesTheLogFontsDescription) {
  BoxFontScope boxes;
  LOGFONT lf{};
  lf.lfHeight = -20;
  lf.lfWeight = 700;
  lf.lfItalic = 1;
  // A face name that fills its field without a terminator is read within the field.
  std::memset(lf.lfFaceName, 'F', LF_FACESIZE);
  std::optional<Font> font = CreateFontIndirect(&lf);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->Metrics().cell.height, 20);
  EXPECT_EQ(font->Desc().weight, 700);
  EXPECT_TRUE(font->Desc().italic);
  EXPECT_EQ(font->Desc().faceName, std::string(LF_FACESIZE, 'F'));
  lf.lfHeight = 0;
  lf.lfWeight = 0;
  font = CreateFontIndirect(&lf);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->Metrics().cell.height, kDefaultFontHeight);
  EXPECT_EQ(font->Desc().weight, FW_NORMAL);
  EXPECT_FALSE(CreateFontIndirect(nullptr).has_value());
}

}  // namespace
