// Layout of tag-marked text with box glyphs of known size. At font size 10 a single-byte character
// measures 8 × 13 (advance 5, plus 3) and a double-byte one 13 × 13; with the default character
// spacing the pen moves by the measured width, and a placed glyph's right edge is left + width - 4.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/text_draw.h"
#include "text_test_util.h"

namespace {

struct Drawn {
  int32_t code;
  RECT rect;
  CTextDrawContext record;
};

class RecordingDraw : public CTextDraw {
 public:
  CDrawTarget* GetSurface() override { return nullptr; }
  void CreateSurface(int32_t width, int32_t height) override { surfaces.push_back({width, height}); }
  void DrawGlyph(const CTextDrawContext& record, int32_t code, RECT& rect) override {
    drawn.push_back({code, rect, record});
    rect.right = rect.left + 100;  // the drawn extent goes back into the glyph list
  }
  void DrawGaiji(const GaijiEntry& entry, int32_t x, int32_t y) override {
    gaiji.push_back({entry.source.right, x, y});
  }

  std::vector<std::pair<int32_t, int32_t>> surfaces;
  std::vector<Drawn> drawn;
  std::vector<std::array<int32_t, 3>> gaiji;
};

class TextDrawLayout : public ::testing::Test {
 protected:
  TextDrawLayout() { renderer.settings.SetFontSize(10); }

  int Run(const std::string& text, bool draw = true) {
    m_text = text;
    renderer.settings.SetText(m_text.c_str());
    return renderer.Layout(draw);
  }
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const Drawn& d : renderer.drawn) codes.push_back(d.code);
    return codes;
  }

  BoxFontScope boxes;
  RecordingDraw renderer;

 private:
  std::string m_text;
};

using Rects = std::vector<RECT>;

TEST_F(TextDrawLayout, PlacesGlyphsOnLinesAndSizesTheCanvas) {
  struct Case {
    const char* text;
    int32_t width;
    Rects glyphs;
    std::pair<int32_t, int32_t> canvas;
  } cases[] = {
      {"AB<HR>", 640, {{0, 0, 4, 13}, {8, 0, 12, 13}}, {16, 15}},
      // An empty line between two lines adds the line height (12).
      {"A<BR><BR>B<HR>", 640, {{0, 0, 4, 13}, {0, 27, 4, 40}}, {8, 42}},
      // The fourth glyph would end beyond the width and starts the next line.
      {"AAAAA<HR>", 30, {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {0, 15, 4, 28}, {8, 15, 12, 28}}, {24, 30}},
      {"A\x82\xA0<HR>", 640, {{0, 0, 4, 13}, {8, 0, 17, 13}}, {21, 15}},
  };
  for (const Case& c : cases) {
    renderer.surfaces.clear();
    renderer.settings.width = c.width;
    ASSERT_EQ(Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
    EXPECT_TRUE(renderer.surfaces.empty());
    renderer.drawn.clear();
    ASSERT_EQ(Run(c.text, true), 0) << c.text;
    ASSERT_EQ(renderer.surfaces.size(), 1u);
    EXPECT_EQ(renderer.surfaces[0], c.canvas) << c.text;
    ASSERT_EQ(renderer.drawn.size(), c.glyphs.size());
    for (size_t i = 0; i < c.glyphs.size(); ++i) EXPECT_EQ(renderer.drawn[i].rect, c.glyphs[i]) << c.text << " " << i;
    // What the glyph drawing wrote back stays in the glyph list.
    EXPECT_EQ(renderer.Glyphs()[0].right, c.glyphs[0].left + 100);
  }
}

TEST_F(TextDrawLayout, NoLineStartCharactersHangOnceOrBreakTogether) {
  renderer.SetNoLineStartChars("、。，．）〕］｝〉》」』】’”ゝゞヽヾ々？！：；ぁぃぅぇぉゃゅょゎァィゥェォャュョヮ"_sj);
  renderer.settings.width = 30;
  struct Case {
    std::string text;
    Rects glyphs;
  } cases[] = {
      // "。" overflows: it hangs past the width at the end of the line; "B" starts the next one.
      {"AAA。B<HR>"_sj, {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {24, 0, 33, 13}, {0, 15, 4, 28}}},
      // "。、" meet the overflow together: the line breaks before the first of them.
      {"AAA。、B<HR>"_sj,
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}, {0, 15, 9, 28}, {13, 15, 22, 28}, {0, 30, 4, 43}}},
      // A "。" that still fits, then one that overflows and hangs.
      {"AA。。<HR>"_sj, {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 25, 13}, {29, 0, 38, 13}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
  }
  EXPECT_TRUE(renderer.IsNoLineStartChar(static_cast<unsigned char>("、"_sj[0]) +
                                         static_cast<unsigned char>("、"_sj[1]) * 256));
  EXPECT_FALSE(renderer.IsNoLineStartChar('A'));
  renderer.SetNoLineStartChars("\x81");  // a lead byte with nothing after it is no character
  EXPECT_FALSE(renderer.IsNoLineStartChar(0x81));
}

TEST_F(TextDrawLayout, ParagraphAlignmentAppliesToTheLineItCloses) {
  struct Case {
    const char* text;
    int32_t width;
    Rects glyphs;
  } cases[] = {
      {"<P align=\"center\">AB</P>AB<HR>", 30, {{7, 0, 11, 13}, {15, 0, 19, 13}, {0, 15, 4, 28}, {8, 15, 12, 28}}},
      {"<P align=\"right\">AB</P><HR>", 30, {{14, 0, 18, 13}, {22, 0, 26, 13}}},
      {"<p ALIGN=\"right\"  align=\"left\">AB<HR>", 30, {{0, 0, 4, 13}, {8, 0, 12, 13}}},
      // The alignment is taken before the character that ends the line is read.
      {"<P align=\"center\">AAAA<HR>", 30, {{3, 0, 7, 13}, {11, 0, 15, 13}, {19, 0, 23, 13}, {11, 15, 15, 28}}},
      // Centring rounds toward minus infinity: (7 - 8) / 2 = -1. The glyph wider than the line
      // first ends an empty line.
      {"<P align=\"center\">A<HR>", 7, {{-1, 12, 3, 25}}},
  };
  for (const Case& c : cases) {
    renderer.settings.width = c.width;
    ASSERT_EQ(Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
  }
}

TEST_F(TextDrawLayout, EveryTagOnASmallExample) {
  auto gaiji = new GaijiList;
  gaiji->entries.push_back({nullptr, {10, 10, 16, 15}, 0, 0, false});
  renderer.gaijiList = CRingPtr<GaijiList>(gaiji);
  renderer.replaceStrings = CStringVectorPtr(new std::vector<std::string>{"XY", "", "Z\x82"});
  renderer.settings.width = 30;
  struct Case {
    const char* text;
    std::vector<int32_t> codes;
    Rects glyphs;
  } cases[] = {
      {"&lt;&gt; &amp;<HR>", {'<', '>', '&'}, {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}}},
      // A blank before a tag is swallowed with it; one between characters is a character.
      {"A <B>B</B> C<HR>", {'A', 'B', ' ', 'C'}, {{0, 0, 4, 13}, {8, 0, 13, 13}, {17, 0, 21, 13}, {0, 15, 4, 28}}},
      {"<html><body><head><title>T</title></head><!-- note -->A</body></html><P>A<HR>",
       {'A', 'A'},
       {{0, 0, 4, 13}, {8, 0, 12, 13}}},
      // Size 15 (ladder step 1 of base 10) measures 10 × 18; the line is 18 high and both sit on its bottom.
      {"<FONT size=\"1\">A</FONT>A<HR>", {'A', 'A'}, {{0, 0, 6, 18}, {10, 5, 14, 18}}},
      {"<FONT size=\"2\">A</FONT><Top>A<Middle>A<Bottom>A<HR>",
       {'A', 'A', 'A', 'A'},
       {{0, 0, 9, 23}, {13, 0, 17, 13}, {21, 5, 25, 18}, {0, 25, 4, 38}}},
      {"<GAIJI 0>A<HR>", {'A'}, {{0, 8, 6, 13}, {8, 0, 12, 13}}},
      {"<ReplaceString 0><ReplaceString 1><ReplaceString 2><HR>",
       {'X', 'Y', 'Z'},
       {{0, 0, 4, 13}, {8, 0, 12, 13}, {16, 0, 20, 13}}},
      {"<if 3>A<else>B<endif>C<HR>", {'A', 'C'}, {{0, 0, 4, 13}, {8, 0, 12, 13}}},
      {"<ruby>A</ruby><HR>", {'A'}, {{0, 0, 4, 13}}},
      // Bracket indent: the lines after the first start one glyph width in.
      {"\x81\x75<IndentForBracket>AAA<HR>",
       {0x7581, 'A', 'A', 'A'},
       {{0, 0, 9, 13}, {13, 0, 17, 13}, {21, 0, 25, 13}, {8, 15, 12, 28}}},
      {"<I>A</I><U>A</U><S>A</S>\r\nA<VDATA=\"2, 5 ,-7\"><Select 1>A</Select 1><HR>",
       {'A', 'A', 'A', 'A', 'A'},
       {{0, 0, 6, 13}, {10, 0, 14, 13}, {18, 0, 22, 13}, {0, 15, 4, 28}, {8, 15, 12, 28}}},
  };
  for (const Case& c : cases) {
    renderer.drawn.clear();
    renderer.gaiji.clear();
    ASSERT_EQ(Run(c.text, false), 0) << c.text;
    EXPECT_EQ(renderer.Glyphs(), c.glyphs) << c.text;
    ASSERT_EQ(Run(c.text, true), 0) << c.text;
    EXPECT_EQ(Codes(), c.codes) << c.text;
  }
  // The gaiji was drawn at its placed corner.
  ASSERT_EQ(Run("<GAIJI 0>A<HR>"), 0);
  ASSERT_EQ(renderer.gaiji.size(), 1u);
  EXPECT_EQ(renderer.gaiji.back(), (std::array<int32_t, 3>{16, 0, 8}));

  // Styles reach the glyph's record; the font tag's stacks restore the previous values.
  renderer.drawn.clear();
  ASSERT_EQ(Run("<FONT color=\"#FF8000\" face=\"ＭＳ 明朝\">A</FONT>A<I><U><S>A<HR>"_sj), 0);
  ASSERT_EQ(renderer.drawn.size(), 3u);
  EXPECT_EQ(renderer.drawn[0].record.color, 0x0080FFu);
  EXPECT_EQ(renderer.drawn[0].record.face, 2);
  EXPECT_EQ(renderer.drawn[1].record.color, 0xFFFFFFu);
  EXPECT_EQ(renderer.drawn[1].record.face, 0);
  EXPECT_TRUE(renderer.drawn[2].record.italic && renderer.drawn[2].record.underline && renderer.drawn[2].record.strike);
  EXPECT_FALSE(renderer.drawn[0].record.italic || renderer.drawn[0].record.underline ||
               renderer.drawn[0].record.strike);

  // Results for the owner.
  ASSERT_EQ(Run("<!-- first --><!--second-->AAAA<Select 1>AA</Select 1>A\r\n\r\nA<VDATA=\"2,5,-7\"><ruby><HR>", false),
            0);
  EXPECT_EQ(renderer.Comment(), "second");
  EXPECT_EQ(renderer.Spans(), (std::vector<int32_t>{-1, -1, 4, 6}));
  EXPECT_EQ(renderer.DataVector(2), (std::vector<int32_t>{5, -7}));
  EXPECT_EQ(renderer.SourceLine(), 3);
  ASSERT_EQ(renderer.UnknownTags().size(), 1u);
  EXPECT_EQ(std::string(renderer.UnknownTags()[0], 5), "ruby>");
  // Unmatched </FONT> changes nothing.
  ASSERT_EQ(Run("</FONT>A<HR>"), 0);
  EXPECT_EQ(renderer.drawn.back().record.size, 10);
  // With the switch off an unknown tag is text.
  renderer.skipUnknownTags = false;
  ASSERT_EQ(Run("<a><HR>", false), 0);
  EXPECT_EQ(renderer.Glyphs().size(), 3u);
}

TEST_F(TextDrawLayout, FontLadderAndConditions) {
  struct Ladder {
    int n;
    int32_t size;
  } ladder[] = {{-4, 7}, {-3, 9}, {-2, 14}, {-1, 18}, {0, 28},   {1, 42},
                {2, 56}, {3, 84}, {4, 112}, {5, 140}, {-5, -140}};
  renderer.settings.SetFontSize(28);
  for (const Ladder& l : ladder) {
    const std::string text = "<FONT size=\"" + std::to_string(l.n) + "\">A<HR>";
    ASSERT_EQ(Run(text), 0) << l.n;
    ASSERT_EQ(renderer.drawn.size(), 1u) << l.n;
    EXPECT_EQ(renderer.drawn.back().record.size, l.size) << l.n;
    renderer.drawn.clear();
  }

  struct FalseFor3 : CTextDrawCondition {
    bool Evaluate(int32_t n) override { return n != 3; }
  };
  renderer.condition = CRingPtr<CTextDrawCondition>(new FalseFor3);
  struct Case {
    const char* text;
    int result;
    std::vector<int32_t> codes;
  } cases[] = {
      {"<if 3>A<else>B<endif><HR>", 0, {'B'}},
      {"<if 4>A<else>B<endif><HR>", 0, {'A'}},
      // Nested sections and tags directly after one another.
      {"<if 3><if 4>A<else>B<endif><endif>C<HR>", 0, {'C'}},
      {"<if 3>A<else><if 3>B<else>C<endif><endif>D<HR>", 0, {'C', 'D'}},
      {"<if 3>A<HR>", 4, {}},
      {"<else>A<HR>", 4, {}},
  };
  for (const Case& c : cases) {
    renderer.drawn.clear();
    EXPECT_EQ(Run(c.text), c.result) << c.text;
    EXPECT_EQ(Codes(), c.codes) << c.text;
  }
}

TEST_F(TextDrawLayout, EmptyAndUnfinishedTexts) {
  ASSERT_EQ(Run("<HR>"), 0);
  EXPECT_TRUE(renderer.Glyphs().empty());
  EXPECT_EQ(renderer.surfaces, (std::vector<std::pair<int32_t, int32_t>>{{1, 1}}));
  ASSERT_EQ(Run("<BR><BR><HR>"), 0);
  EXPECT_EQ(renderer.surfaces.back(), (std::pair<int32_t, int32_t>{1, 1}));
  renderer.surfaces.clear();
  EXPECT_EQ(Run("AB"), 3);
  EXPECT_TRUE(renderer.surfaces.empty());
  EXPECT_TRUE(renderer.drawn.empty());
  // Lines completed before an error keep their placed rectangles, the unfinished one its measured ones.
  EXPECT_EQ(Run("A<BR>B<FONT"), 3);
  EXPECT_EQ(renderer.Glyphs(), (Rects{{0, 0, 4, 13}, {0, 0, 8, 13}}));
}

TEST_F(TextDrawLayout, VerticalWritingTurnsTheCanvasAndTheFirstLineBecomesTheRightmostColumn) {
  renderer.vertical = true;
  ASSERT_EQ(Run("AB<BR>A<HR>"), 0);
  // Lines: y 0..13 and 15..28, total 30; widest 16.
  EXPECT_EQ(renderer.surfaces.back(), (std::pair<int32_t, int32_t>{30, 16}));
  ASSERT_EQ(renderer.drawn.size(), 3u);
  EXPECT_EQ(renderer.drawn[0].rect, (RECT{17, 0, 30, 4}));
  EXPECT_EQ(renderer.drawn[1].rect, (RECT{17, 8, 30, 12}));
  EXPECT_EQ(renderer.drawn[2].rect, (RECT{2, 0, 15, 4}));
  // Bottom and top alignment change places in vertical writing.
  ASSERT_EQ(Run("<FONT size=\"2\">A</FONT>A<Top>A<HR>", false), 0);
  EXPECT_EQ(renderer.Glyphs()[1], (RECT{13, 0, 17, 13}));
  EXPECT_EQ(renderer.Glyphs()[2], (RECT{21, 10, 25, 23}));
}

TEST_F(TextDrawLayout, HostileInputIsRefusedWithoutHarm) {
  renderer.replaceStrings = CStringVectorPtr(new std::vector<std::string>{"\x82"});
  std::string longComment = "<!--";
  for (int i = 0; i < 300; ++i) longComment += "\x82\xA0";
  longComment += "-->A<HR>";
  struct Case {
    std::string text;
    int result;
  } cases[] = {
      {"<FONT size=\"99999999999999999999\">A<HR>", -1},
      {"<FONT size=\"-99999999999\">A<HR>", -1},
      {"<FONT size=\"1\"", 3},
      {"<FONT", 3},
      {"<FONT bogus=\"1\">A<HR>", 3},
      {"<FONT face=\"Arial\">A<HR>", 3},
      {"<FONT face=\"\">A<HR>", 0},
      {"<FONT color=\"FF0000\">A<HR>", 3},
      {"<VDATA=\"16,1\"><HR>", 3},
      {"<VDATA=\"-1,1\"><HR>", 3},
      {"<VDATA=\"99999999999,1\"><HR>", 3},
      {"<VDATA=\"2\"><HR>", 3},
      {"<VDATA=\"2,", 3},
      {"<IndentForBracket -17><HR>", 3},
      {"<IndentForBracket -16>A<HR>", 0},
      {"<IndentForBracket "
       "99999999999>AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA<HR>",
       0},
      {"<Select 99999999999>A<HR>", 3},
      {"<Select 1024>A<HR>", 3},
      {"</Select 1023>A<HR>", 0},
      {"<Select -1>A<HR>", 3},
      {"<GAIJI 5>A<HR>", -1},
      {"<GAIJI -1>A<HR>", 3},
      {"<GAIJI 2147483647>A<HR>", -1},
      {"<ReplaceString 1>A<HR>", 3},
      {"<ReplaceString 0>A<HR>", 0},  // a lone lead byte emits nothing
      {"<!-- never closed", 3},
      {"<head> never closed", 3},
      {"<P align=\"left\"", 3},
      {"<P align=\"justify\">", 3},
      {"<ruby", 3},
      {"<if 1", 3},
      {"<if -1>", 3},
      {longComment, 0},
      {"A\x82", 3},
      {"A<BR>\x82", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.text), c.result) << c.text;
  }
  ASSERT_EQ(Run(longComment), 0);
  EXPECT_EQ(renderer.Comment().size(), 254u);  // 127 whole characters
  // A lead byte at the very end is dropped, not paired with the terminating zero.
  renderer.drawn.clear();
  EXPECT_EQ(Run("A\x82"), 3);
  EXPECT_EQ(renderer.Glyphs().size(), 1u);
}

}  // namespace
