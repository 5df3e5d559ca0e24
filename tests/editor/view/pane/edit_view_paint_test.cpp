#include <functional>
#include <string>
#include <vector>

#include "paint_fixture.h"
#include "platform/dc_draw.h"

namespace {

// How a piece of a line shows.
enum Kind {
  kChars,     // characters in the item's colours, one column a byte (no ink for control codes)
  kTabMark,   // a tab: the tab text in the item's colours over the cells to the next stop
  kWideMark,  // a double-byte space: the square mark over two columns
};

struct Piece {
  std::string text;
  int item;
  Kind kind = kChars;
};

struct Line {
  std::vector<Piece> pieces;
  std::string eol;
};

// The item a painter state is drawn with.
int ItemOfState(int state) {
  if (state == CEditView::kStateBlockComment1 || state == CEditView::kStateBlockComment2) return kCMT;
  if (state >= CEditView::kStateRegexKeyword) return state - CEditView::kStateRegexKeyword;
  return state;
}

using PaintTest = PaintFixture;

// One document holding every kind of token, mark, line end and a search hit; each cell is read back by its
// pixels and compared with the item that must have drawn it, and with GetColorStateAt.
TEST_F(PaintTest, EveryCellShowsTheColoursOfItsToken) {
  const std::vector<Line> lines = {
      {{{"int", kKW1}, {" x = ", kTXT}, {"12", kNUM}, {";", kTXT}, {"// n", kCMT}, {"ot", kFND}, {"e", kCMT}}, "\r\n"},
      {{{"return", kKW2},
        {" ", kTXT},
        {"'a'", kSQT},
        {" ", kTXT},
        {"\"b\\\"c\"", kWQT},
        {" ", kTXT},
        {"foo", kRK1},
        {";", kTXT}},
       "\n"},
      {{{"/* x */", kCMT}, {" abc123 ", kTXT}, {"0x1F", kNUM}}, "\r"},
      {{{"http://x.jp", kURL}, {" ", kTXT}, {"me@x.jp", kURL}}, "\n\r"},
      {{{"\t", kTAB, kTabMark}, {"T", kTXT}, {"\t", kTAB, kTabMark}}, "\r\n"},
      {{{"A", kTXT}, {"\x81\x40", kZEN, kWideMark}, {"B", kTXT}}, "\r\n"},
      {{{"C", kTXT}, {"\x01\x02", kCTL}, {"D", kTXT}}, "\r\n"},
      {{{"/* ", kCMT}, {"\x01", kCTL}, {" */", kCMT}}, "\r\n"},
      {{{"int", kKW1}, {"//c", kCMT}}, "\r\n"},
      {{{"g", kKW3}, {"ot", kFND}, {"o", kKW3}, {" ", kTXT}, {"(* open", kCMT}}, "\r\n"},
      {{{"still *)", kCMT}, {" ", kTXT}, {"int", kKW1}}, "\r\n"},
      {{{std::string(27, 'z'), kTXT}, {" ", kTXT}, {"123456", kNUM}, {" end", kTXT}}, "\r\n"},
      {{{"\x88\x9f", kTXT}, {"abc", kTXT}}, "\r\n"},
      {{{"end", kTXT}}, ""},
  };
  std::string text;
  for (const Line& line : lines) {
    for (const Piece& piece : line.pieces) text += piece.text;
    text += line.eol;
  }
  SetText(text);
  view->SetSearchHighlight("ot", false, true, false);
  Repaint();

  int row = 0;
  for (const Line& line : lines) {
    int column = 0;
    int offset = 0;  // byte offset within the display line
    for (const Piece& piece : line.pieces) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(piece.text.data());
      for (size_t i = 0; i < piece.text.size();) {
        if (column == kWrap) {
          SCOPED_TRACE("wrap mark of row " + std::to_string(row));
          // Its left edge carries the line at the wrap column.
          EXPECT_EQ(Hex(Pixel(X(column), Y(row))), Hex(TextOf(kRAP)));
          EXPECT_EQ(Hex(Pixel(X(column + 1) - 1, Y(row))), Hex(BackOf(kRAP)));
          EXPECT_EQ(Hex(Ink(row, column)), Hex(TextOf(kRAP)));
          ++row;
          column = 0;
          offset = 0;
        }
        SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column) + " of \"" + piece.text + "\"");
        int size = bytes[i] >= 0x81 && i + 1 < piece.text.size() ? 2 : 1;
        int width = size;
        if (piece.kind == kTabMark) width = kTab - column % kTab;
        EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(piece.item)));
        const bool inked = !(bytes[i] < 0x20 && piece.kind == kChars);
        EXPECT_EQ(Hex(Ink(row, column)), Hex(inked ? TextOf(piece.item) : BackOf(piece.item)));
        if (piece.kind == kChars) {
          // What the painter drew agrees with the state the pane reports there.
          EXPECT_EQ(ItemOfState(view->GetColorStateAt(view->GetViewDC(), row, offset)), piece.item);
        }
        if (piece.kind == kTabMark && width > 1) {
          // The tab text's blanks after its first character.
          EXPECT_EQ(Hex(Back(row, column + 1)), Hex(BackOf(kTAB)));
        }
        column += width;
        offset += size;
        i += size;
      }
    }
    SCOPED_TRACE("end of row " + std::to_string(row));
    if (!line.eol.empty()) {
      EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(kEOL)));
      EXPECT_TRUE(CellsHold(row, column, 2, TextOf(kEOL)));
      EXPECT_EQ(Hex(Back(row, column + 2)), Hex(BackOf(kTXT)));
    } else {
      EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(kEOF)));
      EXPECT_EQ(Hex(Ink(row, column)), Hex(TextOf(kEOF)));
      EXPECT_EQ(Hex(Back(row, column + 5)), Hex(BackOf(kTXT)));
    }
    ++row;
  }
  // Below the text: the text background.
  EXPECT_EQ(Hex(Back(row, 0)), Hex(BackOf(kTXT)));
}

}  // namespace

namespace {

// A cell expected at a display row and column: the item of its background and of its ink (-1: the
// cell holds no ink, its centre shows the background).
struct CellCheck {
  int row;
  int column;
  int back;
  int ink;
};

struct EdgeCase {
  const char* name;
  std::function<void(PaintFixture&, TypeSettings&, CEditView&)> setup;
  std::string text;
  std::vector<CellCheck> cells;
};

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name; }

class PaintEdgeTest : public PaintFixture, public testing::WithParamInterface<EdgeCase> {};

TEST_P(PaintEdgeTest, CellsShowTheirItems) {
  const EdgeCase& c = GetParam();
  if (c.setup) c.setup(*this, type(), *view);
  SetText(c.text);
  Repaint();
  for (const CellCheck& cell : c.cells) {
    SCOPED_TRACE("row " + std::to_string(cell.row) + " column " + std::to_string(cell.column));
    EXPECT_EQ(Hex(Back(cell.row, cell.column)), Hex(BackOf(cell.back)));
    EXPECT_EQ(Hex(Ink(cell.row, cell.column)), Hex(cell.ink < 0 ? BackOf(cell.back) : TextOf(cell.ink)));
  }
}

void Search(CEditView& view, const char* key, bool regexp, bool caseSensitive, bool wordOnly) {
  view.SetSearchHighlight(key, regexp, caseSensitive, wordOnly);
  ASSERT_TRUE(view.m_bCurSrchKeyMark) << key;
}

const EdgeCase kEdgeCases[] = {
    {"QuoteEscapeOneDoublesTheQuote",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.nQuoteEscape = 1; },
     "'it''s' x",
     {{0, 0, kSQT, kSQT}, {0, 3, kSQT, kSQT}, {0, 6, kSQT, kSQT}, {0, 8, kTXT, kTXT}}},
    {"QuoteEscapeZeroBackslashKeepsTheStringOpen",
     nullptr,
     "'a\\'b' x",
     {{0, 3, kSQT, kSQT}, {0, 5, kSQT, kSQT}, {0, 7, kTXT, kTXT}}},
    {"OtherQuoteEscapeNeverEndsAString",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.nQuoteEscape = 2; },
     "'a' int\r\nx",
     {{0, 4, kSQT, kSQT}, {0, 6, kSQT, kSQT}, {1, 0, kSQT, kSQT}}},
    {"HidingKeywordSetOneHidesAllSets",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kKW1].bShow = 0; },
     "return int",
     {{0, 0, kTXT, kTXT}, {0, 7, kTXT, kTXT}}},
    {"HiddenSetIsSkippedForTheNext",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kKW2].bShow = 0; },
     "return goto",
     {{0, 0, kTXT, kTXT}, {0, 7, kKW3, kKW3}}},
    {"UnchosenSetEndsTheSearch",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.nKeywordSelect[1] = -1; },
     "goto return",
     {{0, 0, kTXT, kTXT}, {0, 5, kTXT, kTXT}}},
    {"WordInsideAWordIsNoKeyword",
     nullptr,
     "xint int_ _int",
     {{0, 1, kTXT, kTXT}, {0, 5, kTXT, kTXT}, {0, 11, kTXT, kTXT}}},
    {"NumberAfterAStringStartsAWord", nullptr, "'a'12", {{0, 3, kNUM, kNUM}}},
    {"WideTabShowsEightCharactersOverAllItsColumns",
     [](PaintFixture&, TypeSettings& t, CEditView&) {
       t.nTabWidth = 12;
       std::snprintf(t.szTabViewString, sizeof t.szTabViewString, "%s", "^abcdefghijk");
     },
     "\tX",
     {{0, 0, kTAB, kTAB}, {0, 7, kTAB, kTAB}, {0, 8, kTAB, -1}, {0, 11, kTAB, -1}, {0, 12, kTXT, kTXT}}},
    {"ShortTabTextIsPaddedWithBlanks",
     [](PaintFixture&, TypeSettings& t, CEditView&) {
       std::snprintf(t.szTabViewString, sizeof t.szTabViewString, "%s", ">");
     },
     "\tX",
     {{0, 0, kTAB, kTAB}, {0, 1, kTAB, kTAB}, {0, 3, kTAB, kTAB}, {0, 4, kTXT, kTXT}}},
    {"TabArrowOverTheCurrentBackground",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.bTabArrow = 1; },
     "/*\t*/",
     {{0, 3, kCMT, -1}, {0, 4, kCMT, kCMT}}},
    {"HiddenTabIsBlank",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kTAB].bShow = 0; },
     "'\t'",
     {{0, 1, kSQT, -1}, {0, 3, kSQT, -1}, {0, 4, kSQT, kSQT}}},
    {"ShownSpaceIsMarked",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kSPC].bShow = 1; },
     "a b",
     {{0, 0, kTXT, kTXT}, {0, 1, kSPC, -1}, {0, 2, kTXT, kTXT}}},
    {"HiddenWideSpaceIsBlank",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kZEN].bShow = 0; },
     "//\x81\x40",
     {{0, 2, kCMT, -1}, {0, 3, kCMT, -1}}},
    {"WideSpaceInsideARegexKeywordIsText",
     [](PaintFixture& f, TypeSettings&, CEditView&) {
       f.SetRegexKeywords({{"/a\x81\x40\x62/k", kRK2}});
     },
     "a\x81\x40\x62",
     {{0, 1, kRK2, kRK2}, {0, 3, kRK2, kRK2}}},
    {"HiddenControlItemDrawsTheState",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kCTL].bShow = 0; },
     "//\x01x",
     {{0, 2, kCMT, -1}, {0, 3, kCMT, kCMT}}},
    {"LoneLeadByteIsAControlCode", nullptr, "a\x81", {{0, 1, kCTL, -1}}},
    {"LastLineWithLineEndShowsEofBelow", nullptr, "ab\r\n", {{0, 2, kEOL, -1}, {1, 0, kEOF, kEOF}}},
    {"EmptyDocumentShowsEofFirst", nullptr, "", {{0, 0, kEOF, kEOF}, {0, 5, kTXT, -1}}},
    {"LineFillingTheWidthShowsEofBelow", nullptr, std::string(30, 'x'), {{0, 29, kTXT, kTXT}, {1, 0, kEOF, kEOF}}},
    {"HiddenEofShowsNothing",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kEOF].bShow = 0; },
     "a",
     {{0, 1, kTXT, -1}}},
    {"HiddenWrapMarkIsBlank",
     [](PaintFixture&, TypeSettings& t, CEditView&) { t.Colors[kRAP].bShow = 0; },
     std::string(32, 'x'),
     {{0, 30, kTXT, -1}, {1, 1, kTXT, kTXT}}},
    {"PlainSearchHitInsideAStringLetsTheStringResume",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "bc", false, true, false); },
     "\"abcd\"",
     {{0, 1, kWQT, kWQT}, {0, 2, kFND, kFND}, {0, 3, kFND, kFND}, {0, 4, kWQT, kWQT}, {0, 5, kWQT, kWQT}}},
    {"CaseSensitiveSearchMissesOtherCase",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "AB", false, true, false); },
     "ab AB",
     {{0, 0, kTXT, kTXT}, {0, 3, kFND, kFND}}},
    {"CaseInsensitiveSearchFindsBoth",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "AB", false, false, false); },
     "ab AB",
     {{0, 0, kFND, kFND}, {0, 3, kFND, kFND}}},
    {"WholeWordSearchSkipsPartsOfWords",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "ab", false, true, true); },
     "abc ab xab",
     {{0, 0, kTXT, kTXT}, {0, 4, kFND, kFND}, {0, 8, kTXT, kTXT}}},
    {"AdjacentHitsJoin",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "ab", false, true, false); },
     "xababx",
     {{0, 0, kTXT, kTXT}, {0, 1, kFND, kFND}, {0, 3, kFND, kFND}, {0, 4, kFND, kFND}, {0, 5, kTXT, kTXT}}},
    {"HitOverATabAndAWideSpace",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "a\t\x81\x40", false, true, false); },
     "a\t\x81\x40",
     {{0, 0, kFND, kFND}, {0, 1, kFND, kFND}, {0, 4, kFND, kFND}}},
    {"RegexSearchHits",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "[0-9]+", true, true, false); },
     "ab 123 c9",
     {{0, 0, kTXT, kTXT}, {0, 3, kFND, kFND}, {0, 5, kFND, kFND}, {0, 6, kTXT, kTXT}, {0, 8, kFND, kFND}}},
    {"RegexHitReachingTheLineEnd",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "b$", true, true, false); },
     "ab\r\nb\r\n",
     {{0, 1, kFND, kFND}, {0, 2, kFND, -1}, {1, 0, kFND, kFND}}},
    {"RegexHitEndingALastLineWithoutALineEnd",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "b$", true, true, false); },
     "ab\r\nxb",
     {{0, 1, kFND, kFND}, {1, 0, kTXT, kTXT}, {1, 1, kFND, kFND}}},
    {"EmptyRegexHitsStartNothing",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "^", true, true, false); },
     "ab\r\ncd",
     {{0, 0, kTXT, kTXT}, {1, 0, kTXT, kTXT}, {1, 2, kEOF, kEOF}}},
    {"RegexThatMatchesEmptyOrMoreHighlightsOnlyItsBytes",
     [](PaintFixture&, TypeSettings&, CEditView& v) { Search(v, "a*", true, true, false); },
     "xaay",
     {{0, 0, kTXT, kTXT}, {0, 1, kFND, kFND}, {0, 2, kFND, kFND}, {0, 3, kTXT, kTXT}}},
    {"EmptyRegexKeywordStartsNothing",
     [](PaintFixture& f, TypeSettings&, CEditView&) {
       f.SetRegexKeywords({{"/a*/k", kRK2}});
     },
     "xaay\r\nq",
     {{0, 0, kTXT, kTXT}, {0, 1, kRK2, kRK2}, {0, 2, kRK2, kRK2}, {0, 3, kTXT, kTXT}, {1, 0, kTXT, kTXT}}},
    {"HiddenFoundItemShowsNoHits",
     [](PaintFixture&, TypeSettings& t, CEditView& v) {
       Search(v, "ab", false, true, false);
       t.Colors[kFND].bShow = 0;
     },
     "ab",
     {{0, 0, kTXT, kTXT}}},
    {"HighlightOffShowsNoHits",
     [](PaintFixture&, TypeSettings&, CEditView& v) {
       Search(v, "ab", false, true, false);
       v.SetSearchHighlightOn(false);
     },
     "ab",
     {{0, 0, kTXT, kTXT}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PaintEdgeTest, testing::ValuesIn(kEdgeCases),
                         [](const testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

using PaintViewTest = PaintFixture;

// Every pixel of the image, for comparing two paints.
std::vector<COLORREF> Pixels(CEditView& view) {
  std::vector<COLORREF> pixels;
  const platform::Bitmap* image = view.GetViewImage();
  for (int y = 0; y < image->Height(); ++y) {
    for (int x = 0; x < image->Width(); ++x) pixels.push_back(platform::GetPixel(view.GetViewDC(), x, y));
  }
  return pixels;
}

void Scribble(CEditView& view, const RECT& rect) {
  platform::Brush brush(0x123456);
  platform::FillRect(view.GetViewDC(), &rect, &brush);
}

TEST_F(PaintViewTest, PaintingOneRowRepaintsItFromItsDocumentLine) {
  // The second row continues a number begun on the first: its colour comes from the line's start.
  SetText(std::string(28, 'z') + " 123456 z\r\n/* a\r\nb */ c");
  Repaint();
  const std::vector<COLORREF> whole = Pixels(*view);
  for (int row = 0; row < 5; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const RECT rect{0, Y(row), view->m_nClientWidth, Y(row + 1)};
    // The whole row but the strip under the scroll bar, which the pane never paints.
    Scribble(*view, RECT{0, rect.top, view->m_nViewAlignLeft + view->m_nViewCx, rect.bottom});
    view->PaintView(view->GetViewDC(), &rect);
    EXPECT_TRUE(Pixels(*view) == whole);
  }
  EXPECT_EQ(Hex(Back(1, 0)), Hex(BackOf(kNUM)));
  EXPECT_EQ(Hex(Back(3, 0)), Hex(BackOf(kCMT)));
}

// The row below a final line end or a full last line holds only "[EOF]": painting that row alone
// draws the mark again, as does painting any row of an empty document.
TEST_F(PaintViewTest, PaintingTheEofRowAloneDrawsTheMark) {
  for (const std::string text :
       {std::string("ab\r\ncd\r\n"), std::string("ab\r\ncd"), std::string(kWrap, 'x'), std::string()}) {
    SCOPED_TRACE("text of " + std::to_string(text.size()) + " bytes");
    SetText(text);
    Repaint();
    const std::vector<COLORREF> whole = Pixels(*view);
    for (int row = 0; row < 4; ++row) {
      SCOPED_TRACE("row " + std::to_string(row));
      const RECT rect{0, Y(row), view->m_nClientWidth, Y(row + 1)};
      Scribble(*view, RECT{0, rect.top, view->m_nViewAlignLeft + view->m_nViewCx, rect.bottom});
      view->PaintView(view->GetViewDC(), &rect);
      EXPECT_TRUE(Pixels(*view) == whole);
    }
  }
}

TEST_F(PaintViewTest, PaintStaysInsideItsRectangle) {
  SetText("abc\r\ndef");
  Repaint();
  const RECT outside{0, Y(0), view->m_nClientWidth, Y(1)};
  Scribble(*view, outside);
  const RECT rect{0, Y(1), view->m_nClientWidth, Y(2)};
  view->PaintView(view->GetViewDC(), &rect);
  EXPECT_EQ(Hex(Back(0, 1)), Hex(0x123456));
  EXPECT_EQ(Hex(Ink(1, 1)), Hex(TextOf(kTXT)));
}

TEST_F(PaintViewTest, ScrolledLinesStartWhereTheirDocumentLineStarts) {
  SetText(std::string(28, 'z') + " 123456 z\r\nx");
  view->m_nViewTopLine = 1;
  Repaint();
  EXPECT_EQ(Hex(Back(1, 0)), Hex(BackOf(kNUM)));
  EXPECT_EQ(Hex(Back(1, 4)), Hex(BackOf(kNUM)));
  EXPECT_EQ(Hex(Back(1, 5)), Hex(BackOf(kTXT)));
  EXPECT_EQ(Hex(Back(2, 0)), Hex(BackOf(kTXT)));
  EXPECT_EQ(Hex(Back(2, 1)), Hex(BackOf(kEOF)));
}

TEST_F(PaintViewTest, ScrolledColumnsClipADoubleByteCharacterAtTheEdge) {
  SetText(
      "\x88\x9f"
      "ab");
  view->m_nViewLeftCol = 1;
  Repaint();
  // The right half of the character is the first visible column; nothing of it lands left of the
  // text area.
  EXPECT_EQ(Hex(Pixel(X(1) + 1, Y(0) + 1)), Hex(TextOf(kTXT)));
  EXPECT_NE(Hex(Pixel(X(1) - 1, Y(0) + 1)), Hex(TextOf(kTXT)));
  EXPECT_EQ(Hex(Ink(0, 2)), Hex(TextOf(kTXT)));
  EXPECT_EQ(Hex(Back(0, 4)), Hex(BackOf(kEOF)));
}

TEST_F(PaintViewTest, DisabledPaintingLeavesTheImage) {
  SetText("abc");
  Scribble(*view, RECT{0, 0, view->m_nClientWidth, view->m_nClientHeight});
  view->m_bDrawSWITCH = 0;
  Repaint();
  EXPECT_EQ(Hex(Ink(0, 0)), Hex(0x123456));
  view->m_bDrawSWITCH = 1;
  Repaint();
  EXPECT_EQ(Hex(Ink(0, 0)), Hex(TextOf(kTXT)));
}

TEST_F(PaintViewTest, LineEndMarksDifferByKind) {
  SetText("a\r\na\n\ra\na\r");
  Repaint();
  std::vector<std::vector<COLORREF>> marks;
  for (int row = 0; row < 4; ++row) {
    std::vector<COLORREF> cell;
    for (int y = Y(row); y < Y(row + 1); ++y) {
      for (int x = X(1); x < X(3); ++x) cell.push_back(Pixel(x, y));
    }
    EXPECT_TRUE(CellsHold(row, 1, 2, TextOf(kEOL))) << row;
    for (const auto& other : marks) EXPECT_FALSE(cell == other) << row;
    marks.push_back(cell);
  }
}

TEST_F(PaintViewTest, BoldMarksAreThicker) {
  type().Colors[kEOL].bBold = 1;
  SetText("a\n");
  Repaint();
  int bold = 0;
  for (int y = Y(0); y < Y(1); ++y) {
    for (int x = X(1); x < X(3); ++x) bold += Pixel(x, y) == TextOf(kEOL);
  }
  type().Colors[kEOL].bBold = 0;
  Repaint();
  int thin = 0;
  for (int y = Y(0); y < Y(1); ++y) {
    for (int x = X(1); x < X(3); ++x) thin += Pixel(x, y) == TextOf(kEOL);
  }
  EXPECT_GT(bold, thin);
  EXPECT_GT(thin, 0);
}

TEST_F(PaintViewTest, RegexSearchThatDoesNotCompileShowsNothing) {
  view->SetSearchHighlight("a(", true, true, false);
  EXPECT_FALSE(view->m_bCurSrchKeyMark);
  view->SetSearchHighlight("", false, true, false);
  EXPECT_FALSE(view->m_bCurSrchKeyMark);
}

}  // namespace
