// The number column: the colour a row takes from its line's marks, the bookmark bar, the
// comparison marks, the separator and the strip shown when line numbers are hidden.
#include <set>
#include <string>
#include <utility>

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
