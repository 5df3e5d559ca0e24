// More layout cases of the tag-marked renderer with box glyphs of known size: bracket indents
// (explicit and stored), middle alignment with an odd difference, a hanging character followed by
// a tag, replace strings whose tags are only characters, and lines that are placed partly off the
// canvas while drawing. At font size 10 a single-byte character measures 8 × 13, a double-byte
// one 13 × 13; the pen moves by the measured width and a placed glyph's right edge is
// left + width - 4. Line height 12, line spacing 2.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "fuzz_corpus.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"
#include "text_test_util.h"

namespace {

using Rects = std::vector<RECT>;

// Draws into a real memory surface, so that glyphs placed partly outside it go through clipping.
class TagCanvasDraw : public CTextDraw {
 public:
  TagCanvasDraw() { settings.SetFontSize(10); }
  CDrawTarget* GetSurface() override { return &canvas; }
  void CreateSurface(int32_t width, int32_t height) override {
    surfaces.push_back({width, height});
    canvas.Create(width, height, 0);
  }
  int Run(const std::string& text, bool draw) {
    m_text = text;
    settings.SetText(m_text.c_str());
    return Layout(draw);
  }
  CMemPlane canvas;
  std::vector<std::pair<int32_t, int32_t>> surfaces;

 private:
  std::string m_text;
};

class TextDrawTags : public ::testing::Test {
 protected:
  BoxFontScope boxes;
  TagCanvasDraw renderer;
};

TEST_F(TextDrawTags, BracketIndentExplicitStoredAndNotAddedToCentredLines) {
  renderer.settings.width = 30;
  // Stored indent k lives at index k - 1: index 3 holds 2, so a wrong index shows as 16 pixels.
  renderer.storedIndents[2] = 1;
  renderer.storedIndents[3] = 2;
  struct Case {
    const char* text;
    Rects glyphs;
  } cases[] = {
      // k = 2: the overflowing "A" measured 8, so later lines start (4 + 8 - 4) × 2 = 16 in, and
      // the indent counts when a glyph is tested against the width (16 + 8 + 8 > 30).
      {"A<IndentForBracket 2>AAAA<HR>",
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {16, 15, 20, 28}, {16, 30, 20, 43}}},
      // -3 picks stored indent 3, which is 1: one glyph width.
      {"A<IndentForBracket -3>AAAA<HR>",
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {8, 15, 12, 28}, {16, 15, 20, 28}}},
      // A centred line is placed by its width alone: (30 - 16) / 2 = 7, not 7 + the indent.
      {"A<IndentForBracket>AAA<P align=\"center\">A<HR>",
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {7, 15, 11, 28}, {15, 15, 19, 28}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(renderer.Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
  }
}

TEST_F(TextDrawTags, MiddleAlignmentHalvesAnOddDifferenceTowardZero) {
  // Size 15 measures 10 × 18, so the line is 18 high; the middle glyph's 13 leaves 5: d = 2, the
  // glyph goes from 2 to 18 - 2.
  ASSERT_EQ(renderer.Run("<FONT size=\"1\">A</FONT><Middle>A<Top>A<HR>", false), 0);
  EXPECT_EQ(renderer.Glyphs(), (Rects{{0, 0, 6, 18}, {10, 2, 14, 16}, {18, 0, 22, 13}}));
}

TEST_F(TextDrawTags, AHangingCharacterFollowedByATagStaysOnItsLine) {
  renderer.SetNoLineStartChars("、。）」"_sj);
  renderer.settings.width = 30;
  struct Case {
    const char* text;
    Rects glyphs;
    std::pair<int32_t, int32_t> canvas;
  } cases[] = {
      // The look-ahead meets a line break: "。" hangs to 37 and the break still ends the line.
      {"AAA。<BR>B<HR>"_sj,
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {24, 0, 33, 13}, {0, 15, 4, 28}},
       {37, 30}},
      // The look-ahead meets the end of the layout.
      {"AAA。<HR>"_sj, {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {24, 0, 33, 13}}, {37, 15}},
      // The look-ahead reads through a style tag to "」": both may not start a line, so the line
      // breaks before "。".
      {"AAA。<B>」<HR>"_sj,
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {0, 15, 9, 28}, {13, 15, 23, 28}},
       {27, 30}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(renderer.Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
    renderer.surfaces.clear();
    ASSERT_EQ(renderer.Run(c.text, true), 0) << c.text;
    ASSERT_EQ(renderer.surfaces.size(), 1u) << c.text;
    EXPECT_EQ(renderer.surfaces[0], c.canvas) << c.text;
    EXPECT_EQ(renderer.Glyphs().size(), c.glyphs.size()) << c.text;
  }
}

TEST_F(TextDrawTags, AReplaceStringIsEmittedAsCharactersOnly) {
  renderer.replaceStrings = CStringVectorPtr(new std::vector<std::string>{"<BR>",
                                                                          "\x82\xA0"
                                                                          "A"});
  ASSERT_EQ(renderer.Run("<ReplaceString 0><ReplaceString 1><HR>", false), 0);
  EXPECT_EQ(renderer.Glyphs(),
            (Rects{{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {24, 0, 28, 13}, {32, 0, 41, 13}, {45, 0, 49, 13}}));
}

// Right and centred alignment of a line wider than the width put glyphs left of the canvas; drawing
// them must stay inside it (the sanitizers watch), and the glyphs that lie wholly on it are drawn.
TEST_F(TextDrawTags, GlyphsPlacedLeftOfTheCanvasAreClippedWhileDrawing) {
  renderer.SetNoLineStartChars("。"_sj);
  renderer.settings.width = 30;
  // The look-ahead of the hanging "。" reads the closing </P>, which resets the alignment before
  // the line is ended: that line comes out left-aligned.
  ASSERT_EQ(renderer.Run("<P align=\"right\">AAA。</P><HR>"_sj, false), 0);
  EXPECT_EQ(renderer.Glyphs(), (Rects{{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {24, 0, 33, 13}}));
  // Closed by a line break it stays right-aligned: the hanging "。" makes the line 37 wide, and
  // 30 - 37 moves it 7 to the left.
  ASSERT_EQ(renderer.Run("<P align=\"right\">AAA。<BR><HR>"_sj, false), 0);
  EXPECT_EQ(renderer.Glyphs(), (Rects{{-7, 0, -3, 13}, {1, 0, 5, 13}, {9, 0, 13, 13}, {17, 0, 26, 13}}));
  ASSERT_EQ(renderer.Run("<P align=\"right\">AAA。<BR><HR>"_sj, true), 0);
  int w = 0, h = 0;
  renderer.canvas.GetSize(&w, &h);
  EXPECT_EQ(w, 30);
  EXPECT_EQ(h, 15);
  // Ink of the second "A" (drawn at 1) lies on the canvas.
  bool inked = false;
  for (int x = 1; x < 9; ++x)
    for (int y = 0; y < 13; ++y) inked = inked || (renderer.canvas.GetImpl()->GetPixel(x, y) >> 24) != 0;
  EXPECT_TRUE(inked);

  renderer.settings.width = 5;
  EXPECT_EQ(renderer.Run("<P align=\"center\">\x82\xA0\x82\xA0<HR>", true), 0);
}

TEST_F(TextDrawTags, DeepNestingAndUnmatchedClosersAreHarmless) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "<FONT size=\"1\" color=\"#010203\">";
  text += "A";
  for (int i = 0; i < 3100; ++i) text += "</FONT>";
  text += "A<HR>";
  ASSERT_EQ(renderer.Run(text, false), 0);
  // The ladder works from the base size, so nesting does not grow the size: 15 each time, and
  // after every tag is closed (and a hundred closers too many) the base size again.
  EXPECT_EQ(renderer.Glyphs(), (Rects{{0, 0, 6, 18}, {10, 5, 14, 18}}));
  EXPECT_EQ(renderer.Working().size, 10);
  EXPECT_EQ(renderer.Working().color, 0xFFFFFFu);
}

// At sizes 3 and 2 a box glyph has no width but some height (in its measured or its doubled
// drawing): such glyphs take their place in the layout and are drawn as nothing, with nothing read
// of their empty coverage.
TEST_F(TextDrawTags, GlyphsWithoutWidthAreLaidOutAndDrawnAsNothing) {
  const std::vector<uint8_t> bytes = FuzzCorpusBytes("text_draw", "glyph_without_width");
  ASSERT_FALSE(bytes.empty());
  const std::string text(bytes.begin(), bytes.end());
  ASSERT_EQ(renderer.Run(text, true), 0);
  EXPECT_EQ(renderer.Glyphs().size(), 2u);
}

}  // namespace
