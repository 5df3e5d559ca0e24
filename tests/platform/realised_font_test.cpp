// A realised face's glyph cache: each character is rendered once and found again by its code, also
// across the bound at which the cache starts afresh.
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "platform/font.h"
#include "platform/sjis.h"

namespace {

// Glyphs that name their code point: advance and width follow from it, and renders are counted.
class CountingFace final : public platform::FontFace {
 public:
  explicit CountingFace(int* renders) : m_renders(renders) { m_metrics.cell = platform::CellMetricsForHeight(20); }
  const platform::FontMetrics& Metrics() const override { return m_metrics; }
  platform::Glyph RenderGlyph(char32_t codePoint) override {
    ++*m_renders;
    platform::Glyph g;
    g.advance = static_cast<int32_t>(codePoint % 1000) + 1;
    g.width = static_cast<int32_t>(codePoint % 7) + 1;
    g.height = 1;
    g.coverage.assign(static_cast<size_t>(g.width), 255);
    return g;
  }

 private:
  int* m_renders;
  platform::FontMetrics m_metrics{};
};

// Boxes of a size set by the test, fully inked.
class SizedFace final : public platform::FontFace {
 public:
  SizedFace(int32_t width, int32_t height) : m_width(width), m_height(height) {
    m_metrics.cell = platform::CellMetricsForHeight(4);
  }
  const platform::FontMetrics& Metrics() const override { return m_metrics; }
  platform::Glyph RenderGlyph(char32_t) override {
    platform::Glyph g;
    g.advance = 1;
    g.width = m_width;
    g.height = m_height;
    g.coverage.assign(static_cast<size_t>(std::max(m_width, 0)) * static_cast<size_t>(std::max(m_height, 0)), 255);
    return g;
  }

 private:
  int32_t m_width, m_height;
  platform::FontMetrics m_metrics{};
};

// Small sizes give boxes without width or height: they have no ink to run through, and are not
// taken for two-level glyphs with rows of runs.
TEST(RealisedFont, EmptyBoxesHaveNoInkRuns) {
  const struct {
    int32_t width, height;
    bool twoLevel;
  } kCases[] = {{0, 3, false}, {3, 0, false}, {0, 0, false}, {2, 1, true}};
  for (const auto& c : kCases) {
    platform::RealisedFont font(std::make_unique<SizedFace>(c.width, c.height), false);
    const platform::Glyph& g = font.GetGlyph('a');
    EXPECT_EQ(g.twoLevel, c.twoLevel) << c.width << "x" << c.height;
    if (c.twoLevel) {
      EXPECT_EQ(g.spans, (std::vector<uint16_t>{0, 2}));
      EXPECT_EQ(g.rowSpans, (std::vector<uint32_t>{0, 2}));
    } else {
      EXPECT_TRUE(g.spans.empty()) << c.width << "x" << c.height;
      EXPECT_TRUE(g.rowSpans.empty()) << c.width << "x" << c.height;
    }
  }
}

int32_t Advance(uint16_t code) { return static_cast<int32_t>(platform::SjisCodeToUnicode(code) % 1000) + 1; }

TEST(RealisedFont, GlyphsAreRenderedOnceAndFoundByTheirCode) {
  int renders = 0;
  platform::RealisedFont font(std::make_unique<CountingFace>(&renders), false);
  // Single bytes and double bytes of many lead bytes: more than the cache holds at once.
  std::vector<uint16_t> codes;
  for (uint16_t c = 0x21; c < 0x7F; ++c) codes.push_back(c);
  for (unsigned lead : {0x81u, 0x82u, 0x83u, 0x88u, 0x89u, 0x8Au, 0x8Bu, 0x8Cu, 0x8Du, 0x8Eu, 0x8Fu, 0x90u,
                        0x91u, 0x92u, 0x93u, 0x94u, 0x95u, 0x96u, 0x97u, 0x98u, 0xE0u, 0xE1u, 0xE2u, 0xE3u}) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
    }
  }
  ASSERT_GT(codes.size(), 4096u + 300u);
  for (uint16_t code : codes) {
    const int before = renders;
    EXPECT_EQ(font.GetGlyph(code).advance, Advance(code)) << code;
    EXPECT_EQ(renders, before + 1) << code;
    // Found again without rendering, also after a neighbour of another page.
    EXPECT_EQ(font.GetGlyph(code).advance, Advance(code)) << code;
    EXPECT_EQ(renders, before + 1) << code;
  }
  // After the cache started afresh, early characters are rendered again, as themselves.
  const int rendered = renders;
  for (size_t i = 0; i < 300; ++i) EXPECT_EQ(font.GetGlyph(codes[i]).advance, Advance(codes[i])) << codes[i];
  EXPECT_EQ(renders, rendered + 300);
  // Control characters take no room and are not rendered.
  const int before = renders;
  EXPECT_EQ(font.GetGlyph('\r').advance, 0);
  EXPECT_EQ(font.GetGlyph(0x7F).width, 0);
  EXPECT_EQ(renders, before);
}

// Advances set by the test: half for single-byte code points, full for the rest, and one code
// point with an advance of its own.
class GridFace final : public platform::FontFace {
 public:
  GridFace(int32_t half, int32_t full, char32_t odd, int32_t oddAdvance)
      : m_half(half), m_full(full), m_odd(odd), m_oddAdvance(oddAdvance) {
    m_metrics.cell = platform::CellMetricsForHeight(12);
  }
  const platform::FontMetrics& Metrics() const override { return m_metrics; }
  platform::Glyph RenderGlyph(char32_t codePoint) override {
    platform::Glyph g;
    g.advance = codePoint == m_odd ? m_oddAdvance : codePoint < 0x100 ? m_half : m_full;
    return g;
  }

 private:
  int32_t m_half, m_full;
  char32_t m_odd;
  int32_t m_oddAdvance;
  platform::FontMetrics m_metrics{};
};

TEST(RealisedFont, FixedPitchNeedsEqualAsciiAndFullWidthOfTwice) {
  const struct {
    const char* name;
    int32_t half, full;
    char32_t odd;
    int32_t oddAdvance;
    bool fixed;
  } kCases[] = {
      {"a grid", 6, 12, 0, 0, true},
      {"full width one more", 6, 13, 0, 0, false},
      {"a wider W", 6, 12, U'W', 7, false},
      {"a narrower tilde", 6, 12, U'~', 5, false},
      {"a wider space", 6, 12, U' ', 7, false},
      {"a narrower kana", 6, 12, U'\u3042', 11, false},   // あ
      {"a narrower kanji", 6, 12, U'\u4E9C', 11, false},  // 亜
      {"no width at all", 0, 0, 0, 0, false},
      {"controls take no part", 6, 12, U'\t', 9, true},
  };
  for (const auto& c : kCases) {
    const platform::Font font(platform::FontDesc{}, std::make_shared<platform::RealisedFont>(
                                                        std::make_unique<GridFace>(c.half, c.full, c.odd, c.oddAdvance), false));
    EXPECT_EQ(platform::IsFixedPitch(font), c.fixed) << c.name;
  }
}

}  // namespace
