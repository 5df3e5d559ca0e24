#include "platform/freetype_font_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/dc_text.h"
#include "platform/sjis_literal.h"
#include "platform/text_out.h"

namespace {

using platform::Font;
using platform::FontDesc;

std::optional<Font> MakeFont(const char* face, int32_t height, int32_t weight = platform::FW_NORMAL,
                             uint32_t quality = platform::NONANTIALIASED_QUALITY) {
  FontDesc desc;
  desc.faceName = face;
  desc.height = height;
  desc.weight = weight;
  desc.quality = quality;
  return Font::Create(desc);
}

struct Canvas {
  int32_t width, height;
  std::vector<uint32_t> pixels;
  Canvas(int32_t w, int32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  platform::PixelBuffer Buffer() { return {pixels.data(), width, height, width * 4}; }
  // Summed blue of a column range: the ink of white text on black.
  long Ink(int32_t x0 = 0, int32_t x1 = -1) const {
    if (x1 < 0) x1 = width;
    long sum = 0;
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = x0; x < x1; ++x) sum += pixels[static_cast<size_t>(y) * width + x] & 0xFF;
    }
    return sum;
  }
};

TEST(FreeTypeFontEngine, TheFourFacesResolveToTheFourFamilies) {
  struct Case {
    const char* face;
    const char* family;
  } cases[] = {
      {"ＭＳ ゴシック"_sj, "IPAGothic"},
      {"ＭＳ Ｐゴシック"_sj, "IPAPGothic"},
      {"ＭＳ 明朝"_sj, "IPAMincho"},
      {"ＭＳ Ｐ明朝"_sj, "IPAPMincho"},
      {"", "IPAGothic"},
      {"Arial", "IPAGothic"},
      {"@ＭＳ 明朝"_sj, "IPAMincho"},
  };
  auto& engine = platform::FreeTypeFontEngine::Instance();
  for (const auto& c : cases) {
    platform::ResolvedFace face = engine.Resolve(c.face);
    EXPECT_EQ(face.family, c.family) << c.family;
    EXPECT_FALSE(face.file.empty()) << c.family;
  }
}

TEST(FreeTypeFontEngine, FullWidthAdvancesByTheHeightAndHalfWidthByHalf) {
  for (const char* face : {"ＭＳ ゴシック"_sj, "ＭＳ 明朝"_sj}) {
    for (uint32_t quality : {platform::NONANTIALIASED_QUALITY, platform::ANTIALIASED_QUALITY}) {
      auto font = MakeFont(face, 28, platform::FW_NORMAL, quality);
      ASSERT_TRUE(font);
      EXPECT_EQ(platform::MeasureTextLine(*font, "あ"_sj).cx, 28);
      EXPECT_EQ(platform::MeasureTextLine(*font, "A").cx, 14);
      EXPECT_EQ(platform::MeasureTextLine(*font, "あ"_sj).cy, 28);
      EXPECT_EQ(font->Metrics().cell.ascent, 24);
    }
  }
}

TEST(FreeTypeFontEngine, MonochromeQualityDrawsTwoLevelsAndAntialiasedDrawsGrey) {
  for (uint32_t quality : {platform::NONANTIALIASED_QUALITY, platform::ANTIALIASED_QUALITY}) {
    auto font = MakeFont("ＭＳ 明朝"_sj, 28, platform::FW_NORMAL, quality);
    Canvas canvas(40, 32);
    platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 2, 2, "永"_sj, {RGB(255, 255, 255), 0, false});
    int grey = 0, full = 0;
    for (uint32_t p : canvas.pixels) {
      const uint32_t b = p & 0xFF;
      grey += b > 0 && b < 255;
      full += b == 255;
    }
    EXPECT_GT(full, 20);
    if (quality == platform::NONANTIALIASED_QUALITY) {
      EXPECT_EQ(grey, 0);
    } else {
      EXPECT_GT(grey, 20);
    }
  }
}

TEST(FreeTypeFontEngine, BoldHasMoreInkThanRegular) {
  long ink[2];
  for (int bold = 0; bold < 2; ++bold) {
    auto font = MakeFont("ＭＳ ゴシック"_sj, 24, bold ? platform::FW_BOLD : platform::FW_NORMAL);
    Canvas canvas(100, 30);
    platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 0, 0, "文字A"_sj, {RGB(255, 255, 255), 0, false});
    ink[bold] = canvas.Ink();
  }
  EXPECT_GT(ink[1], ink[0] * 11 / 10);
}

TEST(FreeTypeFontEngine, AMixedLineOfHalfWidthKatakanaKanjiAndAsciiDrawsEveryCharacter) {
  // "ｱｲ" (half-width), "漢字", "ok": each character has ink inside its own advance.
  const std::string text = "ｱｲ漢字ok"_sj;
  auto font = MakeFont("ＭＳ ゴシック"_sj, 20);
  ASSERT_EQ(platform::MeasureTextLine(*font, text).cx, 10 + 10 + 20 + 20 + 10 + 10);
  Canvas canvas(90, 24);
  platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 0, 0, text, {RGB(255, 255, 255), 0, false});
  const int32_t edges[] = {0, 10, 20, 40, 60, 70, 80};
  for (int i = 0; i < 6; ++i) EXPECT_GT(canvas.Ink(edges[i], edges[i + 1]), 255 * 8) << i;
}

TEST(FreeTypeFontEngine, AVerticalFaceTurnsDoubleByteGlyphsButNotSingleByteOnes) {
  // "一" is one horizontal stroke: in the vertical face it stands upright. The ink's bounding box
  // tells the two apart.
  auto box = [](const char* face, const char* text) {
    auto font = MakeFont(face, 32);
    Canvas canvas(40, 40);
    platform::DrawTextLine(canvas.Buffer(), nullptr, *font, 4, 4, text, {RGB(255, 255, 255), 0, false});
    int32_t x0 = 99, x1 = -1, y0 = 99, y1 = -1;
    for (int32_t y = 0; y < canvas.height; ++y) {
      for (int32_t x = 0; x < canvas.width; ++x) {
        if (canvas.pixels[static_cast<size_t>(y) * canvas.width + x] & 0xFF) {
          x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
      }
    }
    return std::make_pair(x1 - x0 + 1, y1 - y0 + 1);
  };
  auto flat = box("ＭＳ ゴシック"_sj, "一"_sj);
  auto upright = box("@ＭＳ ゴシック"_sj, "一"_sj);
  EXPECT_GT(flat.first, 3 * flat.second);
  EXPECT_GT(upright.second, 3 * upright.first);
  EXPECT_EQ(box("ＭＳ ゴシック"_sj, "-"), box("@ＭＳ ゴシック"_sj, "-"));
}

TEST(FreeTypeFontEngine, HeightsBeyondTheLimitCannotBeRealised) {
  EXPECT_FALSE(MakeFont("", platform::kMaxFontHeight + 1));
  EXPECT_FALSE(MakeFont("", INT32_MIN));
  EXPECT_TRUE(MakeFont("", -12));
  EXPECT_TRUE(MakeFont("", 0));
}

// The fixed faces lay text on a grid at even heights only: at an odd height hinting rounds their
// half-width advance up (13 px: 7 and 13), and the grid rule says no.
TEST(FreeTypeFontEngine, FixedPitchIsDecidedByTheAdvancesOfTheRealisedFace) {
  struct Case {
    const char* face;
    LONG height;
    bool fixed;
  } cases[] = {
      {"ＭＳ ゴシック"_sj, -16, true},   {"ＭＳ 明朝"_sj, -16, true},    {"ＭＳ ゴシック"_sj, -12, true},
      {"ＭＳ Ｐゴシック"_sj, -16, false}, {"ＭＳ Ｐ明朝"_sj, -16, false}, {"ＭＳ ゴシック"_sj, -13, false},
  };
  for (const Case& c : cases) {
    LOGFONT lf;
    lf.lfHeight = c.height;
    std::strncpy(lf.lfFaceName, c.face, LF_FACESIZE - 1);
    std::optional<Font> font = platform::CreateFontIndirect(&lf);
    ASSERT_TRUE(font.has_value()) << c.face;
    EXPECT_EQ(platform::IsFixedPitch(*font), c.fixed) << platform::FreeTypeFontEngine::FamilyForFaceName(c.face) << " "
                                                       << c.height;
  }
}

}  // namespace
