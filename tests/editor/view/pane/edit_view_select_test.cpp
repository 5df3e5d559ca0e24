#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "pane_grid_fixture.h"
#include "platform/mem_dc.h"
#include "platform/sjis_literal.h"

namespace {

using namespace pane_grid;
using SelectTest = PaneGridFixture;

// ---- Growing a selection from its anchor ---------------------------------------------------------

struct ComputeCase {
  const char* name;
  SelectRange anchor;
  int line, column;
  SelectRange want;
};
void PrintTo(const ComputeCase& c, std::ostream* os) { *os << c.name; }

class ComputeSelectionTest : public SelectTest, public testing::WithParamInterface<ComputeCase> {};

TEST_P(ComputeSelectionTest, RangeFromAnchorToPoint) {
  const ComputeCase& c = GetParam();
  view->m_sSelectBgn = c.anchor;
  SelectRange got{7, 7, 7, 7};
  view->ComputeSelection(c.column, c.line, &got);
  EXPECT_EQ(got, c.want);
}

constexpr SelectRange kPoint{2, 5, 2, 5};
constexpr SelectRange kWord{2, 5, 2, 9};  // a word selected first
constexpr SelectRange kNone{};
INSTANTIATE_TEST_SUITE_P(Anchors, ComputeSelectionTest,
                         testing::Values(ComputeCase{"PointOnTheAnchor", kPoint, 2, 5, kNone},
                                         ComputeCase{"PointBeforeOnItsLine", kPoint, 2, 1, SelectRange{2, 1, 2, 5}},
                                         ComputeCase{"PointOnALineBefore", kPoint, 0, 9, SelectRange{0, 9, 2, 5}},
                                         ComputeCase{"PointAfter", kPoint, 4, 0, SelectRange{2, 5, 4, 0}},
                                         ComputeCase{"WordBeforeKeepsTheWord", kWord, 1, 3, SelectRange{1, 3, 2, 9}},
                                         ComputeCase{"WordAtItsStart", kWord, 2, 5, kWord},
                                         ComputeCase{"WordInside", kWord, 2, 7, SelectRange{2, 5, 2, 7}},
                                         ComputeCase{"WordAtItsEnd", kWord, 2, 9, kWord},
                                         ComputeCase{"WordAfter", kWord, 3, 2, SelectRange{2, 5, 3, 2}},
                                         ComputeCase{"NoAnchor", kNone, 3, 2, kNone}));

TEST_F(SelectTest, ShiftClickBeforeAnAnchorWordKeepsTheWord) {
  Show("one two three\r\nfour\r\n", 20, 60);
  // The word "two" selected by a double click, then the selection extended to column 1.
  view->m_sSelectBgn = SelectRange{0, 4, 0, 7};
  view->m_sSelect = view->m_sSelectBgn;
  view->ChangeSelectionTo(1, 0);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 1, 0, 7}));
  view->ChangeSelectionTo(2, 1);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 4, 1, 2}));
}

// ---- Where a position lies -----------------------------------------------------------------------

struct PositionCase {
  const char* name;
  bool box;
  bool dragMove;
  int line, column;
  int want;
};
void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }

class PositionInSelectionTest : public SelectTest, public testing::WithParamInterface<PositionCase> {};

TEST_P(PositionInSelectionTest, BeforeInsideOrAfter) {
  const PositionCase& c = GetParam();
  // From (line 1, column 4) to (line 3, column 2): as a box, lines 1-3 and columns 2-4.
  view->m_sSelect = SelectRange{1, 4, 3, 2};
  view->m_bBeginBoxSelect = c.box;
  view->m_bDragSource = c.dragMove;
  EXPECT_EQ(view->IsPositionInSelection(c.column, c.line), c.want);
  // An explicit range knows no drag: the drag cases lie on the ends, which count as after.
  EXPECT_EQ(view->ComparePositionWithRange(c.column, c.line, view->m_sSelect), c.dragMove ? 1 : c.want);
}

INSTANTIATE_TEST_SUITE_P(Positions, PositionInSelectionTest,
                         testing::Values(PositionCase{"LineBefore", false, false, 0, 9, -1},
                                         PositionCase{"FromLineBeforeColumn", false, false, 1, 3, -1},
                                         PositionCase{"FromColumn", false, false, 1, 4, 0},
                                         PositionCase{"MiddleLineStart", false, false, 2, 0, 0},
                                         PositionCase{"BeforeToColumn", false, false, 3, 1, 0},
                                         PositionCase{"ToColumnIsAfter", false, false, 3, 2, 1},
                                         PositionCase{"LineAfter", false, false, 4, 0, 1},
                                         PositionCase{"BoxAboveIsBefore", true, false, 0, 3, -1},
                                         PositionCase{"BoxLeftIsBefore", true, false, 2, 1, -1},
                                         PositionCase{"BoxLeftEdgeInside", true, false, 2, 2, 0},
                                         PositionCase{"BoxRightEdgeIsAfter", true, false, 2, 4, 1},
                                         PositionCase{"BoxRightIsAfter", true, false, 1, 9, 1},
                                         PositionCase{"BoxBelowIsAfter", true, false, 4, 0, 1}));

// While this pane is the source of a drag moving the text (Control up), both end columns count
// as inside, so the text is never dropped onto its own ends.
INSTANTIATE_TEST_SUITE_P(DragMove, PositionInSelectionTest,
                         testing::Values(PositionCase{"ToColumnInside", false, true, 3, 2, 0},
                                         PositionCase{"BoxRightEdgeInside", true, true, 2, 4, 0}));

TEST_F(SelectTest, WithoutSelectionEveryPositionIsBefore) {
  view->m_sSelect.Clear();
  EXPECT_EQ(view->IsPositionInSelection(0, 0), -1);
  EXPECT_EQ(view->IsPositionInSelection(50, 50), -1);
  EXPECT_EQ(view->ComparePositionWithRange(3, 3, SelectRange{}), -1);
  EXPECT_EQ(view->ComparePositionWithRange(3, 3, SelectRange{0, 0, 5, 0}), 0);
}

TEST_F(SelectTest, MakeSelectionRectOrdersCorners) {
  const SelectRect rect = view->MakeSelectionRect(5, 2, 1, 8);
  EXPECT_EQ(rect.nTop, 1);
  EXPECT_EQ(rect.nBottom, 5);
  EXPECT_EQ(rect.nLeft, 2);
  EXPECT_EQ(rect.nRight, 8);
}

TEST_F(SelectTest, ClearSelectionEndsEveryMode) {
  Show("abcdef\r\nghij\r\n", 20, 60);
  PutCaret(3, 1);
  view->m_nCaretPosX_Prev = 9;
  view->BeginSelectionAtCaret();
  EXPECT_EQ(view->m_sSelectBgn, (SelectRange{1, 3, 1, 3}));
  view->ChangeSelectionTo(1, 0);
  view->m_bSelectingLock = view->m_bBeginBoxSelect = view->m_bBeginLineSelect = view->m_bBeginWordSelect = true;
  view->ClearSelection(true);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_FALSE(view->m_bSelectingLock || view->m_bBeginBoxSelect || view->m_bBeginLineSelect ||
               view->m_bBeginWordSelect);
  EXPECT_FALSE(view->m_bDrawSelectArea);
  EXPECT_EQ(view->m_nCaretPosX_Prev, 3);
  EXPECT_EQ(view->m_sSelectOld, (SelectRange{0, 0, 0, 0}));
}

// ---- What each row highlights --------------------------------------------------------------------

struct SpanCase {
  const char* name;
  bool box;
  SelectRange range;
  int line;
  bool shows;
  int from, to;
};
void PrintTo(const SpanCase& c, std::ostream* os) { *os << c.name; }

class SelectionSpanTest : public SelectTest, public testing::WithParamInterface<SpanCase> {};

TEST_P(SelectionSpanTest, ColumnsOfARow) {
  const SpanCase& c = GetParam();
  // 0 "abcde" + CR LF; 1 "0123456789" wrapped | 2 "xy" + LF; 3 "" + LF; 4 "last" (no line end).
  Show("abcde\r\n0123456789xy\n\nlast", 20, 60, 4, 10);
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 5);
  view->m_bBeginBoxSelect = c.box;
  int from = -1;
  int to = -1;
  ASSERT_EQ(view->SelectionSpanInRow(c.line, c.range, &from, &to), c.shows);
  if (!c.shows) return;
  EXPECT_EQ(from, c.from);
  EXPECT_EQ(to, c.to);
}

INSTANTIATE_TEST_SUITE_P(Spans, SelectionSpanTest,
                         testing::Values(SpanCase{"OneLine", false, {0, 1, 0, 3}, 0, true, 1, 3},
                                         SpanCase{"EmptyRange", false, {0, 2, 0, 2}, 0, false, 0, 0},
                                         SpanCase{"FirstRowTakesTheLineEndCell", false, {0, 2, 2, 1}, 0, true, 2, 6},
                                         SpanCase{"WrappedRowHasNoLineEndCell", false, {0, 2, 2, 1}, 1, true, 0, 10},
                                         SpanCase{"LastRowToTheColumn", false, {0, 2, 2, 1}, 2, true, 0, 1},
                                         SpanCase{"RowOutside", false, {0, 2, 2, 1}, 3, false, 0, 0},
                                         SpanCase{"EmptyLineShowsItsLineEnd", false, {2, 0, 4, 0}, 3, true, 0, 1},
                                         SpanCase{"ToTheRowStartShowsNothing", false, {2, 0, 4, 0}, 4, false, 0, 0},
                                         SpanCase{"BackwardRangeIsOrdered", false, {2, 1, 0, 2}, 0, true, 2, 6},
                                         SpanCase{"BoxIgnoresTheText", true, {0, 7, 3, 2}, 0, true, 2, 7},
                                         SpanCase{"BoxOnAnEmptyLine", true, {0, 7, 3, 2}, 3, true, 2, 7},
                                         SpanCase{"BoxStopsAtTheTextEnd", true, {2, 1, 4, 6}, 4, true, 1, 4},
                                         SpanCase{"BoxRightOfTheTextEnd", true, {2, 5, 4, 6}, 4, false, 0, 0},
                                         SpanCase{"EmptyBox", true, {0, 3, 2, 3}, 1, true, 3, 3}));

TEST_F(SelectTest, BoxShowsNothingOnTheRowAfterAFinalLineEnd) {
  Show("abc\r\nde\r\n", 20, 60);
  view->m_bBeginBoxSelect = true;
  int from = 0;
  int to = 0;
  EXPECT_TRUE(view->SelectionSpanInRow(1, SelectRange{0, 1, 2, 3}, &from, &to));
  EXPECT_FALSE(view->SelectionSpanInRow(2, SelectRange{0, 1, 2, 3}, &from, &to));
}

TEST_F(SelectTest, RowRectanglesStayInTheTextArea) {
  Show(std::string(40, 'a') + "\r\n", 20, 30, 4, 200);
  view->m_nViewLeftCol = 5;
  RECT rect{};
  const int y = kTop;
  ASSERT_TRUE(view->SelectionRectInRow(0, y, SelectRange{0, 2, 0, 8}, &rect));
  EXPECT_EQ(rect.left, kLeft) << "columns left of the view are cut";
  EXPECT_EQ(rect.right, kLeft + 3 * kCell);
  EXPECT_EQ(rect.top, kTop);
  EXPECT_EQ(rect.bottom, kTop + kRow);
  ASSERT_TRUE(view->SelectionRectInRow(0, y, SelectRange{0, 30, 0, 40}, &rect));
  EXPECT_EQ(rect.right, kLeft + 30 * kCell) << "and right of the text area";
  EXPECT_FALSE(view->SelectionRectInRow(0, y, SelectRange{0, 1, 0, 4}, &rect));
  // An empty box: a bar a third of a column wide.
  view->m_bBeginBoxSelect = true;
  ASSERT_TRUE(view->SelectionRectInRow(0, y, SelectRange{0, 7, 0, 7}, &rect));
  EXPECT_EQ(rect.left, kLeft + 2 * kCell);
  EXPECT_EQ(rect.right, kLeft + 2 * kCell + kCell / 3);
}

// ---- Incremental highlight -----------------------------------------------------------------------

// The pane's image filled with a pattern of distinct colours, so that any pixel inverted once too
// often or too rarely shows.
class HighlightTest : public SelectTest {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  void SetUp() override {
    SelectTest::SetUp();
    type().Colors[2].bShow = 0;  // no caret-line underline between the inversions
    if (!view->GetViewDC()) {
      // A pane given no client size has no image: it gets one of the fixture's size.
      view->m_pViewImage = platform::CreateDIBSection32(kWidth, kHeight);
      view->m_hdcView = std::make_unique<platform::MemDC>();
      view->m_hdcView->SelectBitmap(view->m_pViewImage.get());
    }
  }
  platform::Bitmap* Image() { return view->GetViewDC()->GetBitmap(); }

  // Written after the text is shown (which may paint).
  void FillPattern() {
    platform::Bitmap* image = Image();
    for (int y = 0; y < image->Height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(image->Row(y));
      for (int x = 0; x < image->Width(); ++x) row[x] = static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
    }
    base = Pixels(image);
  }
  static std::vector<uint32_t> Pixels(const platform::Bitmap* image) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image->Height(); ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(image->Row(y));
      pixels.insert(pixels.end(), row, row + image->Width());
    }
    return pixels;
  }
  // The pattern with the selection inverted row by row, as the painter inverts it.
  std::vector<uint32_t> FreshHighlight() {
    auto image = platform::CreateDIBSection32(Image()->Width(), Image()->Height());
    platform::MemDC dc;
    dc.SelectBitmap(image.get());
    for (int y = 0; y < image->Height(); ++y) {
      std::copy_n(base.begin() + static_cast<ptrdiff_t>(y) * image->Width(), image->Width(),
                  reinterpret_cast<uint32_t*>(image->Row(y)));
    }
    for (int line = view->m_nViewTopLine; line <= view->m_nViewTopLine + view->m_nViewRowNum; ++line) {
      view->InvertSelectionInRow(&dc, line, kTop + (line - view->m_nViewTopLine) * kRow);
    }
    return Pixels(image.get());
  }
  // Where the pane's image differs from what was expected: the first pixel, for the message.
  std::string FirstDifference(const std::vector<uint32_t>& want) {
    const std::vector<uint32_t> got = Pixels(Image());
    for (size_t i = 0; i < got.size(); ++i) {
      if (got[i] != want[i]) {
        return "differs at (" + std::to_string(i % Image()->Width()) + ", " + std::to_string(i / Image()->Width()) +
               ")";
      }
    }
    return "";
  }

  std::vector<uint32_t> base;
};

const char* HighlightText() {
  return "abcdef\r\n"
         "\tgh\r\n"
         "\r\n"
         "0123456789ABCDEFGHIJ"
         "KLM\r\n"  // wraps at 20 columns
         "short\r\n"
         "last line";
}

struct Move {
  int column;
  int line;
};

TEST_F(HighlightTest, ChangesOfANormalSelectionEqualAFreshHighlight) {
  Show(HighlightText(), 7, 16, 4, 20);
  for (const int left : {0, 3}) {
    SCOPED_TRACE(testing::Message() << "left column " << left);
    view->m_nViewLeftCol = left;
    FillPattern();
    PutCaret(3, 1);
    view->BeginSelectionAtCaret();
    for (const Move& move :
         {Move{5, 3}, Move{2, 2}, Move{0, 0}, Move{7, 1}, Move{9, 6}, Move{18, 3}, Move{3, 1}, Move{4, 5}}) {
      view->ChangeSelectionTo(move.column, move.line);
      const std::string where = FirstDifference(FreshHighlight());
      EXPECT_EQ(where, "") << "after a move to column " << move.column << ", line " << move.line;
    }
    view->ClearSelection(true);
    EXPECT_EQ(FirstDifference(base), "") << "clearing takes the highlight away";
  }
}

TEST_F(HighlightTest, ChangesOfABoxEqualAFreshHighlight) {
  Show(HighlightText(), 7, 16, 4, 20);
  for (const int top : {0, 2}) {
    SCOPED_TRACE(testing::Message() << "top line " << top);
    view->m_nViewTopLine = top;
    FillPattern();
    PutCaret(2, 1);
    view->BeginSelectionAtCaret();
    view->m_bBeginBoxSelect = true;
    for (const Move& move : {Move{6, 3}, Move{4, 5}, Move{1, 2}, Move{8, 6}, Move{2, 6}, Move{2, 4}, Move{17, 0}}) {
      view->ChangeSelectionTo(move.column, move.line);
      const std::string where = FirstDifference(FreshHighlight());
      EXPECT_EQ(where, "") << "after a move to column " << move.column << ", line " << move.line;
    }
    view->ClearSelection(true);
    EXPECT_EQ(FirstDifference(base), "") << "clearing takes the highlight away";
  }
}

}  // namespace
