// The number column: the colour a row takes from its line's marks, the bookmark bar, the
// comparison marks, the separator and the strip shown when line numbers are hidden.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pane_frame_fixture.h"

namespace {

constexpr int kLNO = 3, kMOD = 4, kDFA = 39, kDFC = 40, kDFD = 41, kMRK = 43;
constexpr COLORREF kTextBack = RGB(250, 250, 240);

COLORREF InkOf(int code) { return RGB(10 + code, 0, 0); }
COLORREF BackOf(int code) { return RGB(0, 100 + code, 0); }

class LineNumberTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    for (int code : {kLNO, kMOD, kDFA, kDFC, kDFD, kMRK}) {
      Item(code).colText = InkOf(code);
      Item(code).colBack = BackOf(code);
    }
    Item(0).colBack = kTextBack;
    for (int code : {kDFA, kDFC, kDFD, kMRK}) Item(code).bShow = 1;
    common().nLineNumberRightSpace = 5;
    SetText("one\r\ntwo\r\nthree\r\n");
    for (int i = 0; i < 3; ++i) DocLine(i)->SetModified(false);
    Arrange();
    ClearImage();
  }
  void ResetMarks() {
    for (int code : {kDFA, kDFC, kDFD, kMRK}) Item(code).bShow = 1;
    doc->m_bIsModified = false;
    for (int i = 0; i < 3; ++i) {
      DocLine(i)->SetModified(false);
      DocLine(i)->SetBookmark(false);
      DocLine(i)->SetDiffState(CDocLine::DIFF_NONE);
    }
    ClearImage();
  }
  int Middle(int line) const { return RowY(line) + view->LineHeight() / 2; }
  void PaintRow(int line) { view->PaintLineNumber(view->GetViewDC(), line, line, RowY(line)); }
  // The pixels of a colour in the first eight pixel columns of a row.
  std::set<std::pair<int, int>> MarkPixels(int line, COLORREF colour) const {
    std::set<std::pair<int, int>> pixels;
    for (int y = RowY(line); y < RowY(line) + view->LineHeight(); ++y)
      for (int x = 0; x < 8; ++x)
        if (Pixel(x, y) == colour) pixels.insert({x, y - Middle(line)});
    return pixels;
  }
};

TEST_F(LineNumberTest, RowColourFollowsTheLinesMarks) {
  struct Case {
    const char* name;
    bool docModified;
    bool lineModified;
    int diff;
    bool bookmark;
    int hiddenItem;  // -1: none
    int code;
    bool bar;  // the 2-pixel bookmark bar
  };
  const Case cases[] = {
      {"plain", false, false, 0, false, -1, kLNO, false},
      {"modified line of an unmodified document", false, true, 0, false, -1, kLNO, false},
      {"unmodified line of a modified document", true, false, 0, false, -1, kLNO, false},
      {"modified line of a modified document", true, true, 0, false, -1, kMOD, false},
      {"added", false, false, CDocLine::DIFF_ADDED, false, -1, kDFA, false},
      {"changed", false, false, CDocLine::DIFF_CHANGED, false, -1, kDFC, false},
      {"deleted", false, false, CDocLine::DIFF_DELETED, false, -1, kDFD, false},
      {"deleted after", false, false, CDocLine::DIFF_DELETED_AFTER, false, -1, kDFD, false},
      {"comparison over a modified line", true, true, CDocLine::DIFF_CHANGED, false, -1, kDFC, false},
      {"comparison item hidden", false, false, CDocLine::DIFF_ADDED, false, kDFA, kLNO, false},
      {"comparison item hidden over a modified line", true, true, CDocLine::DIFF_ADDED, false, kDFA, kMOD, false},
      {"bookmark over a comparison", false, false, CDocLine::DIFF_ADDED, true, -1, kMRK, false},
      {"bookmark with its item hidden", false, false, 0, true, kMRK, kLNO, true},
      {"bookmark hidden over a modified line", true, true, 0, true, kMRK, kMOD, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetMarks();
    doc->m_bIsModified = c.docModified;
    DocLine(1)->SetModified(c.lineModified);
    DocLine(1)->SetDiffState(c.diff);
    DocLine(1)->SetBookmark(c.bookmark);
    if (c.hiddenItem >= 0) Item(c.hiddenItem).bShow = 0;
    PaintRow(1);
    const int y = RowY(1);
    const int numberRight = view->m_nViewAlignLeftCols * view->ColumnWidth();
    EXPECT_EQ(Pixel(0, y), BackOf(c.code));
    EXPECT_EQ(Pixel(0, y + view->LineHeight() - 1), BackOf(c.code));
    EXPECT_EQ(Pixel(numberRight - 3, y), BackOf(c.code));
    // The separator line two pixels left of the number area's edge, in the item's ink.
    EXPECT_EQ(CountPixels(numberRight - 2, y, numberRight - 1, y + view->LineHeight(), InkOf(c.code)),
              view->LineHeight());
    EXPECT_EQ(Pixel(numberRight - 1, y), BackOf(c.code));
    // The gap up to the text area in the text's background.
    EXPECT_EQ(CountPixels(numberRight, y, view->m_nViewAlignLeft, y + view->LineHeight(), kTextBack),
              5 * view->LineHeight());
    EXPECT_EQ(Pixel(view->m_nViewAlignLeft, y), kPaper);
    // The bar (the wedges of deleted lines reach into its pixels too).
    const int bar = CountPixels(1, y, 3, y + view->LineHeight(), InkOf(c.code));
    if (c.diff < CDocLine::DIFF_DELETED) EXPECT_EQ(bar, c.bar ? 2 * view->LineHeight() : 0);
    // Rows are painted one at a time.
    EXPECT_EQ(Pixel(0, y - 1), kPaper);
    EXPECT_EQ(Pixel(0, y + view->LineHeight()), kPaper);
  }
}

TEST_F(LineNumberTest, ComparisonMarksInTheItemsInk) {
  using Pixels = std::set<std::pair<int, int>>;
  Pixels up, down;
  for (int thick = 0; thick < 2; ++thick) {
    for (int x = 1; x < 7; ++x) {
      const int rise = x < 4 ? 4 - x : x - 4;
      up.insert({x, -1 + rise + thick});
      down.insert({x, 1 - rise + thick});
    }
  }
  struct Case {
    const char* name;
    int state;
    int code;
    Pixels pixels;  // relative to the row's middle
  };
  const Case cases[] = {
      {"added: a plus", CDocLine::DIFF_ADDED, kDFA, {{3, 0}, {4, 0}, {5, 0}, {4, -2}, {4, -1}, {4, 1}, {4, 2}}},
      {"changed: an exclamation mark", CDocLine::DIFF_CHANGED, kDFC, {{3, -4}, {3, -3}, {3, -2}, {3, -1}, {3, 2}}},
      {"deleted: a wedge up", CDocLine::DIFF_DELETED, kDFD, up},
      {"deleted after: a wedge down", CDocLine::DIFF_DELETED_AFTER, kDFD, down},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearImage();
    DocLine(2)->SetDiffState(c.state);
    PaintRow(2);
    EXPECT_EQ(MarkPixels(2, InkOf(c.code)), c.pixels);
    // Hidden comparison items leave the line number's colours, but the mark stays.
    Item(c.code).bShow = 0;
    ClearImage();
    PaintRow(2);
    EXPECT_EQ(MarkPixels(2, InkOf(kLNO)), c.pixels);
    Item(c.code).bShow = 1;
  }
}

TEST_F(LineNumberTest, SeparatorKinds) {
  const int numberRight = view->m_nViewAlignLeftCols * view->ColumnWidth();
  for (const int kind : {0, 1, 2}) {
    SCOPED_TRACE(kind);
    type().nLineNumberSeparator = kind;
    ClearImage();
    PaintRow(0);
    const int line = CountPixels(numberRight - 2, RowY(0), numberRight - 1, RowY(1), InkOf(kLNO));
    EXPECT_EQ(line, kind == 1 ? view->LineHeight() : 0);
  }
}

TEST_F(LineNumberTest, HiddenNumbersLeaveAnEightPixelStrip) {
  Item(kLNO).bShow = 0;
  Arrange();
  ASSERT_EQ(view->m_nViewAlignLeft, 8 + 5);
  struct Case {
    const char* name;
    bool markShown;
    COLORREF strip;
    int bar;
  };
  const Case cases[] = {
      {"bookmark with its colour shown colours the strip", true, BackOf(kMRK), 0},
      {"bookmark with its colour hidden draws the bar", false, BackOf(kLNO), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Item(kMRK).bShow = c.markShown ? 1 : 0;
    DocLine(0)->SetBookmark(true);
    ClearImage();
    PaintRow(0);
    PaintRow(1);
    const int y = RowY(0);
    const int h = view->LineHeight();
    EXPECT_EQ(CountPixels(0, y, 8, y + h, c.strip), 8 * h - c.bar * h);
    EXPECT_EQ(CountPixels(1, y, 3, y + h, c.markShown ? InkOf(kMRK) : InkOf(kLNO)), c.bar * h);
    EXPECT_EQ(CountPixels(8, y, 13, y + h, kTextBack), 5 * h);
    // The unmarked row below: the line number's background.
    EXPECT_EQ(CountPixels(0, RowY(1), 8, RowY(1) + h, BackOf(kLNO)), 8 * h);
  }
}

}  // namespace

namespace {

// The numbers themselves, counted in glyphs of the box font: every glyph is a box, so a number
// shows as many inked cells as it has characters, right-aligned one column before the number
// area's end.
class LineNumberTextTest : public LineNumberTest {
 protected:
  // The columns of the number area holding a glyph in a row.
  std::vector<int> InkedColumns(int line) const {
    std::vector<int> columns;
    for (int k = 0; k < view->m_nViewAlignLeftCols; ++k) {
      if (Pixel(k * view->ColumnWidth() + 2, RowY(line) + 5) == InkOf(kLNO)) columns.push_back(k);
    }
    return columns;
  }
};

TEST_F(LineNumberTextTest, NumbersEndOneColumnBeforeTheAreasEnd) {
  ASSERT_NE(view->GetFontFor(false, false), nullptr);
  std::string text;
  for (int i = 0; i < 12; ++i) text += "x\r\n";
  SetText(text);
  Arrange(5);
  ClearImage();
  for (int line : {0, 8, 9, 11}) PaintRow(line);
  EXPECT_EQ(InkedColumns(0), (std::vector<int>{3}));
  EXPECT_EQ(InkedColumns(8), (std::vector<int>{3}));
  EXPECT_EQ(InkedColumns(9), (std::vector<int>{2, 3}));
  EXPECT_EQ(InkedColumns(11), (std::vector<int>{2, 3}));
  // The terminator character is appended.
  type().nLineNumberSeparator = 2;
  ClearImage();
  PaintRow(9);
  EXPECT_EQ(InkedColumns(9), (std::vector<int>{1, 2, 3}));
}

TEST_F(LineNumberTextTest, CountingDocumentLinesLeavesContinuationsBlank) {
  ASSERT_NE(view->GetFontFor(false, false), nullptr);
  type().nWrapColumn = 10;
  // Document line 0 takes several display lines, then eight more document lines.
  std::string text = "0123456789012345678901234567890123456789";
  for (int i = 1; i < 9; ++i) text += "\r\nx";
  SetText(text);
  Arrange(5);
  const int last = doc->m_cLayoutMgr.GetLineCount() - 1;
  ASSERT_GE(last, 9) << "two digits when display lines are counted";
  ASSERT_EQ(doc->m_cLayoutMgr.GetDocLineIndex(last), 8);
  struct Case {
    const char* name;
    bool countDocumentLines;
    int separator;
    std::vector<std::vector<int>> rows;  // inked columns of rows 0, 1 and the last
  };
  const Case cases[] = {
      {"display lines", false, 1, {{3}, {3}, {2, 3}}},
      {"document lines", true, 1, {{3}, {}, {3}}},
      {"document lines with the terminator", true, 2, {{2, 3}, {3}, {2, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    type().bCountDocumentLines = c.countDocumentLines ? 1 : 0;
    type().nLineNumberSeparator = c.separator;
    ClearImage();
    for (int line : {0, 1, last}) PaintRow(line);
    EXPECT_EQ(InkedColumns(0), c.rows[0]);
    EXPECT_EQ(InkedColumns(1), c.rows[1]);
    EXPECT_EQ(InkedColumns(last), c.rows[2]);
  }
}

}  // namespace
