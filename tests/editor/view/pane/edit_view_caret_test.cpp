#include <ostream>
#include <string>
#include <vector>

#include "pane_grid_fixture.h"
#include "platform/scroll_bar.h"
#include "platform/sjis_literal.h"

namespace {

using namespace pane_grid;
using CaretTest = PaneGridFixture;

// "abcd" 0-3, a kanji 4-5, "xy" 6-7, a tab 8-11 (tab width 4), "z" 12.
std::string ClickLine() { return std::string("abcd") + "漢"_sj + "xy\tz\r\n"; }

struct PointCase {
  const char* name;
  int x;  // pixels from the text area's left edge
  int line;
  bool freeCursor;
  int wantColumn;
  int wantLine;
  bool boxDrag = false;
};

void PrintTo(const PointCase& c, std::ostream* os) { *os << c.name; }

class MoveCursorToPointTest : public CaretTest, public testing::WithParamInterface<PointCase> {};

TEST_P(MoveCursorToPointTest, PutsTheCaretOnTheNearestCharacterEdge) {
  const PointCase& c = GetParam();
  Show(ClickLine() + "short\r\nlast", 20, 60);
  common().bIsFreeCursorMode = c.freeCursor;
  view->m_bBeginSelect = view->m_bBeginBoxSelect = c.boxDrag;
  view->MoveCursorToPoint(kLeft + c.x, YOf(c.line));
  EXPECT_EQ(view->m_nCaretPosX, c.wantColumn);
  EXPECT_EQ(view->m_nCaretPosY, c.wantLine);
  EXPECT_EQ(view->m_nCaretPosX_Prev, c.wantColumn);
}

constexpr int kMid = 5;  // the middle of a cell
INSTANTIATE_TEST_SUITE_P(Points, MoveCursorToPointTest,
                         testing::Values(PointCase{"OnASingleByte", 2 * kCell + kMid, 0, false, 2, 0},
                                         PointCase{"LeftHalfOfADoubleByte", 4 * kCell + kMid, 0, false, 4, 0},
                                         PointCase{"RightHalfOfADoubleByte", 5 * kCell + kMid, 0, false, 6, 0},
                                         PointCase{"TabFirstColumn", 8 * kCell + kMid, 0, false, 8, 0},
                                         PointCase{"TabAtNineGoesBefore", 9 * kCell + kMid, 0, false, 8, 0},
                                         PointCase{"TabAtTenGoesAfter", 10 * kCell + kMid, 0, false, 12, 0},
                                         PointCase{"TabLastColumn", 11 * kCell + kMid, 0, false, 12, 0},
                                         PointCase{"LeftOfTheTextArea", -kLeft + 2, 1, false, 0, 1},
                                         PointCase{"FarLeftOfThePane", -500, 1, false, 0, 1},
                                         PointCase{"PastALineEnd", 30 * kCell + kMid, 1, false, 5, 1},
                                         PointCase{"PastALineEndFreeCursor", 30 * kCell + kMid, 1, true, 30, 1},
                                         PointCase{"PastALineEndInABoxDrag", 30 * kCell + kMid, 1, false, 30, 1, true},
                                         PointCase{"PastTheLastLineWithoutEnd", 30 * kCell + kMid, 2, true, 4, 2},
                                         PointCase{"BelowTheText", 3 * kCell + kMid, 9, false, 4, 2}),
                         [](const testing::TestParamInfo<PointCase>& info) { return std::string(info.param.name); });

TEST_F(CaretTest, PointAboveTheTextAreaTakesTheTopLine) {
  Show(ClickLine() + "short\r\n", 20, 60);
  view->MoveCursorToPoint(kLeft + 2 * kCell, kTop - 15);
  EXPECT_EQ(view->m_nCaretPosY, 0);
  EXPECT_EQ(view->m_nCaretPosX, 2);
}

TEST_F(CaretTest, VerticalMovesKeepThePreferredColumn) {
  Show(std::string("abcdefgh\r\nab\r\n") + "漢字漢字"_sj + "\r\nabcdefgh\r\n", 20, 60);
  view->MoveCursorToPoint(XOf(5), YOf(0));
  ASSERT_EQ(view->m_nCaretPosX, 5);
  view->MoveCursorVertically(1, false);
  EXPECT_EQ(view->m_nCaretPosX, 2) << "a short line ends the move at its end";
  EXPECT_EQ(view->m_nCaretPosY, 1);
  view->MoveCursorVertically(1, false);
  EXPECT_EQ(view->m_nCaretPosX, 4) << "column 5 is the second half of a kanji: its start";
  view->MoveCursorVertically(1, false);
  EXPECT_EQ(view->m_nCaretPosX, 5) << "back on a long line, the preferred column again";
  EXPECT_EQ(view->m_nCaretPosY, 3);
  EXPECT_EQ(view->m_nCaretPosX_Prev, 5);
  view->MoveCursorVertically(-3, false);
  EXPECT_EQ(view->m_nCaretPosY, 0);
  EXPECT_EQ(view->m_nCaretPosX, 5);
  EXPECT_EQ(view->MoveCursorVertically(-1, false), 0);
  EXPECT_EQ(view->m_nCaretPosY, 0);
}

TEST_F(CaretTest, FreeCursorKeepsThePreferredColumnPastTheText) {
  Show("abcdefgh\r\nab\r\nab", 20, 60);
  common().bIsFreeCursorMode = 1;
  view->MoveCursorToPoint(XOf(6), YOf(0));
  view->MoveCursorVertically(1, false);
  EXPECT_EQ(view->m_nCaretPosX, 6);
  view->MoveCursorVertically(1, false);
  EXPECT_EQ(view->m_nCaretPosX, 2) << "a last line without line end stops at its end";
}

TEST_F(CaretTest, DownOnTheLastLine) {
  struct Case {
    const char* name;
    const char* text;
    int wantColumn;
    int wantLine;
  };
  for (const Case& c :
       {Case{"WithLineEndGoesToTheRowBelow", "ab\r\ncd\r\n", 0, 2}, Case{"WithoutLineEndStays", "ab\r\ncd", 1, 1}}) {
    SCOPED_TRACE(c.name);
    Show(c.text, 20, 60);
    view->MoveCursorToPoint(XOf(1), YOf(1));
    view->MoveCursorVertically(1, false);
    EXPECT_EQ(view->m_nCaretPosX, c.wantColumn);
    EXPECT_EQ(view->m_nCaretPosY, c.wantLine);
    // Nothing lies below that.
    EXPECT_EQ(view->MoveCursorVertically(1, false), 0);
    EXPECT_EQ(view->m_nCaretPosX, c.wantColumn);
    EXPECT_EQ(view->m_nCaretPosY, c.wantLine);
  }
}

TEST_F(CaretTest, DownWithSelectGrowsTheSelection) {
  Show("abcd\r\nefgh\r\nijkl\r\n", 20, 60);
  view->MoveCursorToPoint(XOf(2), YOf(0));
  view->MoveCursorVertically(1, true);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 2, 1, 2}));
  view->MoveCursorVertically(1, true);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 2, 2, 2}));
  view->MoveCursorVertically(1, false);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(view->m_nCaretPosY, 3);
}

TEST_F(CaretTest, ClampPositionToEnd) {
  struct Case {
    const char* name;
    const char* text;
    int column, line;
    bool changed;
    int wantColumn, wantLine;
  };
  for (const Case& c : {Case{"InsideTheText", "ab\r\ncd", 5, 0, false, 5, 0},
                        Case{"BelowALastLineWithoutEnd", "ab\r\ncd", 7, 4, true, 2, 1},
                        Case{"BelowALastLineWithEnd", "ab\r\ncd\r\n", 7, 4, true, 0, 2},
                        Case{"OnTheRowBelowTheLastLine", "ab\r\ncd\r\n", 0, 2, false, 0, 2},
                        Case{"EmptyDocument", "", 3, 3, true, 0, 0},
                        Case{"LastLineFillingTheWrapWidth", "abcdefghij", 3, 1, true, 0, 1}}) {
    SCOPED_TRACE(c.name);
    Show(c.text, 20, 60, 4, 10);
    int column = c.column;
    int line = c.line;
    EXPECT_EQ(view->ClampPositionToEnd(&column, &line), c.changed);
    EXPECT_EQ(column, c.wantColumn);
    EXPECT_EQ(line, c.wantLine);
  }
}

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line\n";
  return text;
}

TEST_F(CaretTest, ScrollScaleKeepsTheRangeWithin16Bits) {
  struct Case {
    int lines;
    int scale;
  };
  for (const Case& c : {Case{100, 1}, Case{65533, 1}, Case{65534, 2}, Case{70000, 2}, Case{131070, 3}}) {
    SCOPED_TRACE(c.lines);
    Show(Lines(c.lines), 20, 60);
    view->UpdateScrollBars();
    EXPECT_EQ(view->m_nVScrollRate, c.scale);
  }
}

TEST_F(CaretTest, NeverScrollsPastTwoEmptyRows) {
  Show(Lines(99), 20, 60);  // 99 lines and the row after the last line end
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 99);
  const int lastTop = 99 + 2 - 20;
  view->PlaceCursor(0, 99, true, 20);
  EXPECT_EQ(view->m_nViewTopLine, lastTop);
  view->ScrollToTopLine(0);
  view->MoveCursorToPoint(XOf(0), YOf(500));
  EXPECT_EQ(view->m_nViewTopLine, lastTop);
  view->ScrollToTopLine(0);
  EXPECT_EQ(view->ScrollToTopLine(1000), -lastTop);
  EXPECT_EQ(view->m_nViewTopLine, lastTop);
  view->OnVScrollBar(SB_PAGEDOWN, 0);
  EXPECT_EQ(view->m_nViewTopLine, lastTop);
  view->OnVScrollBar(SB_BOTTOM, 0);
  EXPECT_EQ(view->m_nViewTopLine, 99 - 20);
  view->OnVScrollBar(SB_THUMBTRACK, 40);
  EXPECT_EQ(view->m_nViewTopLine, 40);
  view->OnVScrollBar(SB_TOP, 0);
  EXPECT_EQ(view->m_nViewTopLine, 0);
}

TEST_F(CaretTest, AShortTextInATallPaneStaysAtTheTop) {
  Show("one\r\ntwo\r\nthree", 50, 60, 4, 40);
  view->ScrollToTopLine(10);
  EXPECT_EQ(view->m_nViewTopLine, 0);
  for (const int code : {SB_BOTTOM, SB_PAGEDOWN, SB_LINEDOWN}) {
    view->OnVScrollBar(code, 0);
    EXPECT_EQ(view->m_nViewTopLine, 0) << code;
  }
  view->OnVScrollBar(SB_THUMBTRACK, 7);
  EXPECT_EQ(view->m_nViewTopLine, 0);
  view->MoveCursorToPoint(XOf(2), YOf(40));
  EXPECT_EQ(view->m_nViewTopLine, 0);
  EXPECT_EQ(view->m_nCaretPosY, 2);
  // The same across: a wrap width narrower than the pane never scrolls it.
  view->ScrollToLeftColumn(30);
  EXPECT_EQ(view->m_nViewLeftCol, 0);
  view->OnHScrollBar(SB_RIGHT, 0);
  EXPECT_EQ(view->m_nViewLeftCol, 0);
}

TEST_F(CaretTest, CaretKeepsItsMarginsFromTheEdges) {
  Show(Lines(200), 20, 30, 4, 200);
  // Keyboard moves keep 20 / 20 = 1 row above and below and two more at the bottom.
  view->PlaceCursor(0, 17, true, 20);
  EXPECT_EQ(view->m_nViewTopLine, 0);
  view->PlaceCursor(0, 18, true, 20);
  EXPECT_EQ(view->m_nViewTopLine, 1);
  view->PlaceCursor(0, 1, true, 20);
  EXPECT_EQ(view->m_nViewTopLine, 0);
  // Four columns on the right, and back on the left.
  view->PlaceCursor(27, 1, true, 20);
  EXPECT_EQ(view->m_nViewLeftCol, 1);
  view->PlaceCursor(2, 1, true, 20);
  EXPECT_EQ(view->m_nViewLeftCol, 0);
  // Without repaint the top line stays; the amount is still told.
  EXPECT_EQ(view->PlaceCursor(0, 100, false, 20), -(100 + 3 - 20));
  EXPECT_EQ(view->m_nViewTopLine, 0);
  EXPECT_EQ(view->m_nCaretPosY, 100);
  EXPECT_EQ(view->m_nCaretPosY_PHY, 100);
}

TEST_F(CaretTest, ScrollBarsStepByTheirCodes) {
  Show(Lines(300), 20, 30, 4, 200);
  common().nRepeatedScrollLineNum = 3;
  struct Step {
    bool vertical;
    int code;
    int position;
    int want;  // top line or left column after the step
  };
  // One after the other, from the top left corner.
  for (const Step& step :
       {Step{true, SB_LINEDOWN, 0, 3}, Step{true, SB_PAGEDOWN, 0, 23}, Step{true, SB_LINEUP, 0, 20},
        Step{true, SB_PAGEUP, 0, 0}, Step{true, SB_PAGEUP, 0, 0}, Step{true, SB_ENDSCROLL, 0, 0},
        Step{false, SB_LINERIGHT, 0, 4}, Step{false, SB_PAGERIGHT, 0, 34}, Step{false, SB_RIGHT, 0, 200 - 30},
        Step{false, SB_THUMBPOSITION, 500, 200 - 30}, Step{false, SB_LINELEFT, 0, 200 - 34},
        Step{false, SB_THUMBTRACK, 7, 7}, Step{false, SB_LEFT, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << (step.vertical ? "vertical " : "horizontal ") << step.code);
    if (step.vertical) {
      view->OnVScrollBar(step.code, step.position);
      EXPECT_EQ(view->m_nViewTopLine, step.want);
    } else {
      view->OnHScrollBar(step.code, step.position);
      EXPECT_EQ(view->m_nViewLeftCol, step.want);
    }
  }
}

// ---- Partner panes -------------------------------------------------------------------------------

class PartnerTest : public CaretTest {
 protected:
  void SetUp() override {
    CaretTest::SetUp();
    DocPorts ports = doc->Ports();
    for (size_t i = 1; i < 4; ++i) {
      panes[i - 1] = std::make_unique<CEditView>();
      panes[i - 1]->SetEditWindow(&editWindow);
      panes[i - 1]->AttachDocument(doc.get(), static_cast<int>(i));
      panes[i - 1]->m_nMyIndex = static_cast<int>(i);
      Bind(*panes[i - 1]);
      ports.panes[i] = panes[i - 1].get();
    }
    doc->SetPorts(ports);
  }
  void TearDown() override {
    doc->SetPorts(DocPorts{});
    for (auto& pane : panes) pane.reset();
    CaretTest::TearDown();
  }
  CEditView& Pane(int index) { return index == 0 ? *view : *panes[static_cast<size_t>(index - 1)]; }

  std::array<std::unique_ptr<CEditView>, 3> panes;
};

TEST_F(PartnerTest, PartnersFollowBySetting) {
  struct Case {
    bool vertical;
    bool horizontal;
  };
  for (const Case& c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << "V " << c.vertical << " H " << c.horizontal);
    Show(Lines(200), 20, 30, 4, 200);
    for (int i = 0; i < 4; ++i) {
      Grid(Pane(i), 20, 30);
      Pane(i).ScrollToTopLine(0);
      Pane(i).ScrollToLeftColumn(0);
    }
    common().bSplitterWndVScroll = c.vertical;
    common().bSplitterWndHScroll = c.horizontal;
    view->PlaceCursor(60, 100, true, 20);
    const int top = view->m_nViewTopLine;
    const int left = view->m_nViewLeftCol;
    ASSERT_GT(top, 0);
    ASSERT_GT(left, 0);
    EXPECT_EQ(Pane(1).m_nViewTopLine, c.vertical ? top : 0) << "the pane beside follows vertically";
    EXPECT_EQ(Pane(1).m_nViewLeftCol, 0);
    EXPECT_EQ(Pane(2).m_nViewTopLine, 0);
    EXPECT_EQ(Pane(2).m_nViewLeftCol, c.horizontal ? left : 0) << "the pane below follows horizontally";
    EXPECT_EQ(Pane(3).m_nViewTopLine, 0) << "the diagonal pane follows nobody";
    EXPECT_EQ(Pane(3).m_nViewLeftCol, 0);
    // Scroll-bar moves leave the following to the message handler.
    Pane(3).OnVScrollBar(SB_PAGEDOWN, 0);
    EXPECT_EQ(Pane(2).m_nViewTopLine, 0);
  }
}

// ---- Caret shapes --------------------------------------------------------------------------------

struct ShapeCase {
  const char* name;
  int caretType;
  bool insert;
  int column;  // on "a", a kanji, a tab, "b": a 0, kanji 1-2, tab 3, b 4, line end 5
  int wantWidth;
  int wantHeight;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class CaretShapeTest : public CaretTest, public testing::WithParamInterface<ShapeCase> {};

TEST_P(CaretShapeTest, ShapeFollowsTypeModeAndCharacter) {
  const ShapeCase& c = GetParam();
  Show(std::string("a") + "漢"_sj + "\tb\r\n", 20, 60, 4);
  common().nCaretType = c.caretType;
  doc->m_bInsMode = c.insert;
  PutCaret(c.column, 0);
  view->UpdateCaret();
  EXPECT_EQ(view->m_nCaretWidth, c.wantWidth);
  EXPECT_EQ(view->m_nCaretHeight, c.wantHeight);
  if (c.wantWidth == 0) return;
  EXPECT_TRUE(view->m_bCaretShowFlag);
  // On the bottom of the character cell.
  EXPECT_EQ(view->m_ptCaretPixel.x, kLeft + c.column * kCell);
  EXPECT_EQ(view->m_ptCaretPixel.y, kTop + kRow - c.wantHeight);
  // The input method is told the character cell.
  const RECT ime = view->ImeCompositionRect();
  EXPECT_EQ(ime.left, kLeft + c.column * kCell);
  EXPECT_EQ(ime.top, kTop);
  EXPECT_EQ(ime.bottom, kTop + kRow);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CaretShapeTest,
                         testing::Values(ShapeCase{"BarInsert", 0, true, 1, 2, kRow},
                                         ShapeCase{"BarOverwriteDoubleByte", 0, false, 1, 2 * kCell, kRow},
                                         ShapeCase{"BarOverwriteSingleByte", 0, false, 0, kCell, kRow},
                                         ShapeCase{"BarOverwriteTab", 0, false, 3, kCell, kRow},
                                         ShapeCase{"BarOverwriteLineEnd", 0, false, 5, kCell, kRow},
                                         ShapeCase{"BlockInsert", 1, true, 1, 2 * kCell, kRow / 2},
                                         ShapeCase{"BlockOverwrite", 1, false, 4, kCell, kRow},
                                         ShapeCase{"HighBitsIgnored", 0x10, true, 0, 2, kRow},
                                         ShapeCase{"UnknownType", 2, true, 0, 0, 0}),
                         [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

TEST_F(CaretTest, NoCaretOutsideTheActiveWindowOrPane) {
  Show("abc\r\n", 20, 60);
  view->UpdateCaret();
  ASSERT_EQ(view->m_nCaretWidth, 2);
  editWindow.active = false;
  view->UpdateCaret();
  EXPECT_EQ(view->m_nCaretWidth, 0);
  editWindow.active = true;
  doc->SetActivePane(1);
  view->UpdateCaret();
  EXPECT_EQ(view->m_nCaretWidth, 0);
}

TEST_F(CaretTest, CaretLeftOfTheViewIsNotShown) {
  Show(Lines(5), 20, 30, 4, 200);
  view->ScrollToLeftColumn(20);
  PutCaret(3, 1);
  view->HideCaretOnce();
  view->UpdateCaret();
  EXPECT_FALSE(view->m_bCaretShowFlag);
  EXPECT_EQ(view->m_ptCaretPixel.x, kLeft - 17 * kCell);
}

// ---- Columns and offsets -------------------------------------------------------------------------

TEST_F(CaretTest, ColumnConversions) {
  // Document line 0 wraps at 10 columns: "ab\t" (tab 2-3), kanji 4-5, "cdef" 6-9 | "gh" on the
  // next display line.
  Show(std::string("ab\t") + "漢"_sj + "cdefgh\r\nxy", 20, 60, 4, 10);
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 3);
  struct Case {
    const char* name;
    int line, column, offset;
  };
  for (const Case& c : {Case{"Start", 0, 0, 0}, Case{"InsideTheTab", 0, 3, 2}, Case{"SecondHalfOfKanji", 0, 5, 3},
                        Case{"AfterKanji", 0, 6, 5}, Case{"LeftOfTheText", 0, -3, 0}, Case{"ContinuationLine", 1, 1, 1},
                        Case{"PastTheText", 1, 9, 2}, Case{"PastLast", 2, 7, 2}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(view->LineColumnToOffset(c.line, c.column), c.offset);
  }
  int end = -1;
  EXPECT_EQ(view->LineColumnToOffsetEx(0, 3, &end), 2);
  EXPECT_EQ(end, 0) << "inside the text";
  EXPECT_EQ(view->LineColumnToOffsetEx(1, 9, &end), 2);
  EXPECT_EQ(end, 2) << "the column where the text ends";

  for (const Case& c :
       {Case{"Start", 0, 0, 0}, Case{"Tab", 0, 2, 2}, Case{"Kanji", 0, 4, 3}, Case{"KanjiTrailByte", 0, 4, 4},
        Case{"AfterKanji", 0, 6, 5}, Case{"End", 1, 2, 2}, Case{"PastTheEnd", 1, 2, 9}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(view->LineOffsetToColumn(c.line, c.offset), c.column);
  }

  // The document line is counted from column 0 across its display lines: "gh" at 10 and 11.
  EXPECT_EQ(view->DocLineColumnToOffset(0, 10), 9);
  EXPECT_EQ(view->DocLineColumnToOffset(0, 5), 3);
  EXPECT_EQ(view->DocLineColumnToOffset(0, 40), 11);
  EXPECT_EQ(view->DocLineOffsetToColumn(0, 10), 11);
  EXPECT_EQ(view->DocLineOffsetToColumn(0, 3), 4);
  EXPECT_EQ(view->DocLineOffsetToColumn(1, 1), 1);
  EXPECT_EQ(view->DocLineOffsetToColumn(5, 1), 0) << "no such line";
}

}  // namespace
