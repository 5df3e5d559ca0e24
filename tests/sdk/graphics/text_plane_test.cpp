// The text plane with box glyphs. At height 8 a double-byte box, drawn at double size, inks the
// doubled cell's pixels 1..14 in both directions except the hole at (3, 3); a 2 × 2 block therefore
// holds 0 to 4 inked pixels, and the plane's alpha is 255 × that / 4.
#include "sdk/graphics/text_plane.h"

#include <gtest/gtest.h>
#include <memory>

#include "box_font_engine.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/text_plane_cache.h"

namespace {

int Inked(int x, int y) { return x >= 1 && x <= 14 && y >= 1 && y <= 14 && !(x == 3 && y == 3) ? 1 : 0; }

uint32_t Pixel(CTextPlane& plane, int x, int y) { return plane.GetImpl()->GetPixel(x, y); }

// A box-glyph text plane at height 8, updated.
struct PlaneSpec {
  const char* text = "A\x82\xA0";
  COLORREF color = 0xFFFFFF;
  COLORREF shadow = CTextFont::kNone;
  int32_t shadowX = 0, shadowY = 0;
  bool vertical = false;
  bool verticalFace = false;  // the vertical face drawn without turning the plane
};

std::unique_ptr<CTextPlane> MakePlane(const PlaneSpec& spec) {
  auto plane = std::make_unique<CTextPlane>();
  plane->font.SetSize(8);
  plane->font.SetText(spec.text);
  plane->font.SetTextColor(spec.color);
  plane->font.SetShadowColor(spec.shadow);
  plane->font.SetShadowOffset(spec.shadowX, spec.shadowY);
  plane->SetVertical(spec.vertical);
  if (spec.verticalFace) plane->font.SetFaceName("@" + plane->font.GetFaceName());
  EXPECT_EQ(plane->Update(), 0);
  return plane;
}

TEST(TextPlane, FiveAlphaLevelsInTheTextColour) {
  BoxFontScope boxes;
  CTextPlane plane;
  plane.font.SetSize(8);
  plane.font.SetText("\x82\xA0");
  plane.font.SetShadowColor(CTextFont::kNone);
  plane.font.SetTextColor(0x0000FF);  // red
  ASSERT_EQ(plane.Update(), 0);
  int w = 0, h = 0;
  plane.GetSize(&w, &h);
  ASSERT_EQ(w, 11);
  ASSERT_EQ(h, 11);
  EXPECT_TRUE(plane.HasAlpha());
  int seen[5] = {};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int k = x < 9 && y < 9 ? Inked(2 * x, 2 * y) + Inked(2 * x + 1, 2 * y) + Inked(2 * x, 2 * y + 1) +
                                         Inked(2 * x + 1, 2 * y + 1)
                                   : 0;
      const uint32_t expected = x < 9 && y < 9 ? (static_cast<uint32_t>(255 * k / 4) << 24) | 0xFF0000u : 0;
      EXPECT_EQ(Pixel(plane, x, y), expected) << x << "," << y;
      ++seen[k];
    }
  }
  for (int k = 0; k < 5; ++k) EXPECT_GT(seen[k], 0) << k;
  // The font is as it was.
  EXPECT_EQ(plane.font.GetHeight(), 8);
  EXPECT_EQ(plane.font.GetTextColor(), 0x0000FFu);
  EXPECT_EQ(plane.font.GetShadowColor(), CTextFont::kNone);
  EXPECT_EQ(plane.font.GetQualityValue(), 2u);
}

TEST(TextPlane, ShadowShowsWhereTheTextLeavesItUncovered) {
  BoxFontScope boxes;
  CTextPlane plane;
  plane.font.SetSize(8);
  plane.font.SetText("\x82\xA0");
  plane.font.SetTextColor(0xFFFFFF);
  plane.font.SetShadowColor(RGB(0, 0, 255));
  plane.font.SetShadowOffset(1, 1);
  ASSERT_EQ(plane.Update(), 0);
  // (1, 1): text alpha 191 over shadow alpha 63 (the text's (0, 0)). The shadow shows with
  // 63 × 64 / 255 = 15; alpha 206; red and green (255 × 191) / 206 = 236; blue 255.
  EXPECT_EQ(Pixel(plane, 1, 1), 0xCEECECFFu);
  EXPECT_EQ(Pixel(plane, 8, 4), 0x7F0000FFu);  // shadow only: the text's (7, 3), alpha 127
  EXPECT_EQ(Pixel(plane, 4, 4), 0xFFFFFFFFu);  // opaque text wins
  EXPECT_EQ(Pixel(plane, 0, 0), 0x3FFFFFFFu);  // text only (the shadow starts at (1, 1))
  EXPECT_EQ(plane.font.GetShadowColor(), RGB(0, 0, 255));
}

TEST(TextPlane, EmptyTextGivesOnePixel) {
  BoxFontScope boxes;
  CTextPlane plane;
  plane.font.SetText("");
  ASSERT_EQ(plane.Update(), 0);
  int w = 0, h = 0;
  plane.GetSize(&w, &h);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(Pixel(plane, 0, 0) >> 24, 0u);
}

TEST(TextPlane, VerticalPlaneIsTurnedAQuarterRightWithDoubleByteGlyphsUpright) {
  BoxFontScope boxes;
  auto upright = MakePlane({.verticalFace = true});
  auto turned = MakePlane({.vertical = true});
  int w = 0, h = 0, tw = 0, th = 0;
  upright->GetSize(&w, &h);
  turned->GetSize(&tw, &th);
  ASSERT_EQ(w, 15);
  ASSERT_EQ(h, 11);
  ASSERT_EQ(tw, 11);
  ASSERT_EQ(th, 15);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) EXPECT_EQ(Pixel(*turned, tw - 1 - y, x), Pixel(*upright, x, y)) << x << "," << y;
  }
  // "A" reads first, at the top, lying on its side: its hole is at the top right of its cell.
  // "あ" stands upright below it: its hole is one pixel in from its top-left corner (3, 4).
  EXPECT_EQ(Pixel(*turned, 9, 1) >> 24, 191u);
  EXPECT_EQ(Pixel(*turned, 4, 5) >> 24, 191u);
  EXPECT_EQ(turned->font.GetFaceName(), "ＭＳ ゴシック"_sj);
}

TEST(TextPlane, AFarShadowOffsetLeavesTheTextAsWithoutShadow) {
  BoxFontScope boxes;
  auto plain = MakePlane({});
  for (int32_t offset : {1000000, -1000000, INT32_MAX}) {
    auto shadowed = MakePlane({.shadow = 0x808080, .shadowX = offset, .shadowY = -offset});
    int w = 0, h = 0;
    plain->GetSize(&w, &h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(Pixel(*shadowed, x, y), Pixel(*plain, x, y)) << offset << " " << x << "," << y;
    }
  }
}

TEST(TextPlane, FinishedImagesAreReusedOnlyForTheSameStyleAndFontEngine) {
  TextPlaneCache::Instance().Clear();
  auto render = [](COLORREF color) { return MakePlane({.text = "\x82\xA0", .color = color}); };
  BoxFontScope boxes;
  auto first = render(0x0000FF);
  CTextFont font;
  font.SetSize(8);
  font.SetText("\x82\xA0");
  font.SetTextColor(0x0000FF);
  font.SetShadowColor(CTextFont::kNone);
  font.SetShadowOffset(0, 0);
  ASSERT_NE(TextPlaneCache::Instance().Find(TextPlaneCache::Key(font, 0, 0, false)), nullptr);
  EXPECT_EQ(TextPlaneCache::Instance().Find(TextPlaneCache::Key(font, 0, 0, true)), nullptr);
  auto again = render(0x0000FF);
  auto blue = render(0xFF0000);
  int w = 0, h = 0;
  first->GetSize(&w, &h);
  EXPECT_TRUE(again->HasAlpha());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(Pixel(*again, x, y), Pixel(*first, x, y));
      const uint32_t p = Pixel(*blue, x, y);
      if (p >> 24) {
        ASSERT_EQ(p & 0xFFFFFF, 0x0000FFu);
      }
    }
  }
  {
    BoxFontScope otherEngine;  // images drawn with another engine are not reused
    EXPECT_EQ(TextPlaneCache::Instance().Find(TextPlaneCache::Key(font, 0, 0, false)), nullptr);
  }
}

TEST(TextPlane, SystemFontsGiveOnlyTheFiveAlphaLevels) {
  for (const char* text : {"永"_sj, "ｱ漢A"_sj, "（縦）"_sj}) {
    for (bool vertical : {false, true}) {
      CTextPlane plane;
      plane.font.SetSize(24);
      plane.font.SetFontType(2);
      plane.font.SetText(text);
      plane.font.SetShadowColor(CTextFont::kNone);
      plane.SetVertical(vertical);
      ASSERT_EQ(plane.Update(), 0);
      int w = 0, h = 0, inked = 0;
      plane.GetSize(&w, &h);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint32_t alpha = Pixel(plane, x, y) >> 24;
          ASSERT_TRUE(alpha == 0 || alpha == 63 || alpha == 127 || alpha == 191 || alpha == 255) << alpha;
          inked += alpha == 255;
        }
      }
      EXPECT_GT(inked, 20) << text;
    }
  }
}

TEST(TextPlane, VerticalShadowFallsBelowAndRightLikeHorizontalText) {
  BoxFontScope boxes;
  auto plain = MakePlane({.vertical = true});
  auto shadowed = MakePlane({.shadow = RGB(0, 0, 255), .shadowX = 1, .shadowY = 1, .vertical = true});
  int w = 0, h = 0;
  plain->GetSize(&w, &h);
  int shadowOnly = 0;
  for (int y = 1; y < h; ++y) {
    for (int x = 1; x < w; ++x) {
      const uint32_t p = Pixel(*shadowed, x, y);
      if ((Pixel(*plain, x, y) >> 24) != 0 || (p >> 24) == 0) continue;
      // Where the text has no ink, the shadow is the text's ink one pixel up and left.
      EXPECT_EQ(p, (Pixel(*plain, x - 1, y - 1) & 0xFF000000u) | 0x0000FFu) << x << "," << y;
      ++shadowOnly;
    }
  }
  EXPECT_GT(shadowOnly, 4);
}

}  // namespace
