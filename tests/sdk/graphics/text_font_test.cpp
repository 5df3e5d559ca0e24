#include "sdk/graphics/text_font.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "platform/dc_text.h"
#include "platform/mem_dc.h"
#include "platform/sjis_literal.h"
#include "platform/text_out.h"

namespace {

// A 32-bit top-down DIB section selected into a memory context, all pixels 0.
struct Dib32 {
  std::unique_ptr<platform::Bitmap> bitmap;
  platform::MemDC dc;
  explicit Dib32(int w, int h) : bitmap(platform::CreateDIBSection32(w, h)) { dc.SelectBitmap(bitmap.get()); }
  uint32_t At(int x, int y) const { return reinterpret_cast<const uint32_t*>(bitmap->Row(y))[x] & 0xFFFFFF; }
};

TEST(TextFont, GetSizeMeasuresEveryLine) {
  BoxFontScope boxes;  // height 16: "A" advances 8, "あ" 16
  struct Case {
    std::string text;
    bool italic;
    int32_t size;  // 0: the default height 16 with line pitch 20
    int result, width, height;
  } cases[] = {
      {"", false, 0, 1, 0, 0},
      {"A", false, 0, 0, 11, 19},
      {"A\nB", false, 0, 0, 11, 39},
      {"A\n", false, 0, 0, 11, 39},
      {"\x82\xA0"
       "A\nA",
       false, 0, 0, 27, 39},
      {"AB", true, 0, 0, 23, 19},  // an italic line is a quarter of the height wider
      {"A\r\nA", false, 10, 0, 8, 23},
      {std::string(2000, 'A'), false, 0, 0, 16003, 19},  // lines of any length
      {"A", false, 5000, 1, 0, 0},                       // a font that cannot be made
  };
  for (const Case& c : cases) {
    CTextFont font;
    font.SetText(c.text);
    font.SetItalic(c.italic);
    if (c.size) font.SetSize(c.size);
    int w = -1, h = -1;
    EXPECT_EQ(font.GetSize(&w, &h), c.result) << c.text.substr(0, 8);
    EXPECT_EQ(w, c.width) << c.text.substr(0, 8);
    EXPECT_EQ(h, c.height) << c.text.substr(0, 8);
  }
}

TEST(TextFont, SettersFollowTheirTables) {
  CTextFont font;
  EXPECT_EQ(font.GetFaceName(), "ＭＳ ゴシック"_sj);
  EXPECT_EQ(font.GetQualityValue(), 2u);
  const uint32_t qualities[] = {0, 1, 2, 4, 3};
  for (int type = 0; type < 5; ++type) {
    font.SetQuality(type);
    EXPECT_EQ(font.GetQualityValue(), qualities[type]);
  }
  font.SetQuality(9);
  EXPECT_EQ(font.GetQualityValue(), 3u);
  const char* faces[] = {"ＭＳ ゴシック"_sj, "ＭＳ Ｐゴシック"_sj, "ＭＳ 明朝"_sj, "ＭＳ Ｐ明朝"_sj, ""};
  for (int type = 0; type < 5; ++type) {
    font.SetFontType(type == 4 ? -1 : type);
    EXPECT_EQ(font.GetFaceName(), faces[type]);
  }
  font.SetSize(30);
  EXPECT_EQ(font.GetLinePitch(), 30);
  // Formatting has no length limit.
  const std::string longName(700, 'x');
  font.SetTextF("%s(%d)", longName.c_str(), 42);
  EXPECT_EQ(font.GetText(), longName + "(42)");
}

TEST(TextFont, DrawPaintsShadowFirstAndTheBackgroundOnce) {
  BoxFontScope boxes;
  // Height 16, ascent 14: "A" inks columns 1..6 and rows 1..14 of its 8 × 16 cell. Drawn at (4, 4)
  // with the shadow at (+2, +2).
  struct Probe {
    int x, y;
  };
  const Probe textOnly{5, 5}, both{8, 8}, shadowOnly{11, 17}, shadowCellOnly{13, 20}, textCellOnly{4, 4};
  struct Case {
    COLORREF text, shadow, background;
    uint32_t atTextOnly, atBoth, atShadowOnly, atShadowCell, atTextCell;
  } cases[] = {
      {0xFFFFFF, 0x808080, CTextFont::kNone, 0xFFFFFF, 0xFFFFFF, 0x808080, 0, 0},
      {0xFFFFFF, 0x808080, RGB(0, 0, 255), 0xFFFFFF, 0xFFFFFF, 0x808080, 0x0000FF, 0},
      {0xFFFFFF, CTextFont::kNone, RGB(0, 0, 255), 0xFFFFFF, 0xFFFFFF, 0x0000FF, 0, 0x0000FF},
      {CTextFont::kNone, 0x808080, CTextFont::kNone, 0, 0x808080, 0x808080, 0, 0},
      {RGB(255, 0, 0), 0x808080, CTextFont::kNone, 0xFF0000, 0xFF0000, 0x808080, 0, 0},
  };
  for (const Case& c : cases) {
    Dib32 dib(30, 30);
    CTextFont font;
    font.SetText("A");
    font.SetTextColor(c.text);
    font.SetShadowColor(c.shadow);
    font.SetBkColor(c.background);
    font.Draw(&dib.dc, 4, 4);
    EXPECT_EQ(dib.At(textOnly.x, textOnly.y), c.atTextOnly);
    EXPECT_EQ(dib.At(both.x, both.y), c.atBoth);
    EXPECT_EQ(dib.At(shadowOnly.x, shadowOnly.y), c.atShadowOnly);
    EXPECT_EQ(dib.At(shadowCellOnly.x, shadowCellOnly.y), c.atShadowCell);
    EXPECT_EQ(dib.At(textCellOnly.x, textCellOnly.y), c.atTextCell);
    EXPECT_EQ(dib.dc.TextState().font, nullptr);  // the previous font is selected back
  }
}

TEST(TextFont, DrawWritesEachLineOneLinePitchLower) {
  BoxFontScope boxes;
  Dib32 dib(20, 60);
  CTextFont font;
  font.SetShadowColor(CTextFont::kNone);
  font.SetLinePitch(25);
  font.SetText("A\nA");
  font.Draw(&dib.dc, 0, 0);
  EXPECT_EQ(dib.At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(dib.At(1, 14), 0xFFFFFFu);
  EXPECT_EQ(dib.At(1, 15), 0u);
  EXPECT_EQ(dib.At(1, 25), 0u);
  EXPECT_EQ(dib.At(1, 26), 0xFFFFFFu);
  // Nothing without a text or a context.
  CTextFont empty;
  empty.SetText("");
  empty.Draw(&dib.dc, 0, 0);
  font.Draw(nullptr, 0, 0);
}

// The one-channel drawing leaves what Draw leaves in the blue bytes, whatever the pixels held:
// shadows and backgrounds in every combination, several lines, far and clipped positions.
TEST(TextFont, InkIsTheBlueChannelOfDraw) {
  const char* const kTexts[] = {"A", "Ag\n\x82\xA0", "\x89\x69\x83\x41\n\ny", "\xB1", "\x82", ""};
  const COLORREF kColours[] = {CTextFont::kNone, 0xFFFFFF, 0x123456, 0x00FF00, 0xFF0000};
  std::mt19937 rng(5);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (bool boxes : {true, false}) {
    std::optional<BoxFontScope> scope;
    if (boxes) scope.emplace();
    for (int i = 0; i < 200; ++i) {
      CTextFont font;
      font.SetFontType(pick(4));
      font.SetSize(6 + pick(24));
      if (pick(2)) font.SetLinePitch(pick(40) - 5);
      font.SetWeight(pick(2) ? 700 : 400);
      font.SetItalic(pick(4) == 0);
      font.SetUnderline(pick(3) == 0);
      font.SetStrikeOut(pick(3) == 0);
      font.SetQuality(pick(5));
      font.SetTextColor(kColours[pick(std::size(kColours))]);
      font.SetShadowColor(kColours[pick(std::size(kColours))]);
      font.SetBkColor(kColours[pick(std::size(kColours))]);
      font.SetShadowOffset(pick(9) - 4, pick(9) - 4);
      font.SetText(kTexts[pick(std::size(kTexts))]);
      const int x = pick(40) - 10, y = pick(40) - 10;
      Dib32 dib(37, 29);
      std::vector<uint8_t> ink(37 * 29);
      for (int row = 0; row < 29; ++row) {
        for (int col = 0; col < 37; ++col) {
          const uint32_t p = static_cast<uint32_t>(rng());
          reinterpret_cast<uint32_t*>(dib.bitmap->Row(row))[col] = p;
          ink[static_cast<size_t>(row) * 37 + col] = static_cast<uint8_t>(p);
        }
      }
      font.Draw(&dib.dc, x, y);
      font.DrawInk(platform::ChannelBuffer{ink.data(), 37, 29, 37}, x, y);
      for (int row = 0; row < 29; ++row) {
        for (int col = 0; col < 37; ++col) {
          ASSERT_EQ(ink[static_cast<size_t>(row) * 37 + col], dib.bitmap->Row(row)[4 * col])
              << "case " << i << " boxes " << boxes << " at " << col << "," << row;
        }
      }
    }
  }
}

}  // namespace
