// Vertical guide lines: single columns and series, read from the pixels of one row of the text
// area.
#include <initializer_list>
#include <vector>

#include "pane_frame_fixture.h"

namespace {

constexpr COLORREF kGuide = RGB(0, 0, 250);

class GuideLinesTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    Item(11).bShow = 1;
    Item(11).colText = kGuide;
    SetText("abc\r\n");
    Arrange();
  }
  void SetGuides(std::initializer_list<int> values) {
    int k = 0;
    for (int& entry : type().nVertLineIdx) entry = 0;
    for (int v : values) type().nVertLineIdx[k++] = v;
  }
  // The columns whose guide lines show in the middle row of the text area.
  std::vector<int> DrawnColumns() {
    ClearImage();
    view->PaintGuideLines(view->GetViewDC());
    std::vector<int> columns;
    const int y = view->m_nViewAlignTop + view->m_nViewCy / 2;
    for (int x = 0; x < kWidth; ++x) {
      if (Pixel(x, y) != kGuide) continue;
      // Each line stands one pixel (the offset) left of its column's cell.
      const int offset = common().nVertLineOffset;
      columns.push_back((x - view->m_nViewAlignLeft - offset) / view->ColumnWidth() + view->m_nViewLeftCol + 1);
      // It runs over the whole text-area height and nowhere else.
      EXPECT_EQ(CountPixels(x, 0, x + 1, kHeight, kGuide), view->m_nViewCy) << x;
    }
    return columns;
  }
};

TEST_F(GuideLinesTest, ValuesAndSeries) {
  struct Case {
    const char* name;
    std::initializer_list<int> values;
    std::vector<int> columns;
  };
  const Case cases[] = {
      {"a column and a series", {10, -20, 60, 5, 0}, {10, 20, 25, 30, 35, 40, 45, 50, 55, 60}},
      {"the first 0 ends the list", {12, 0, 30}, {12}},
      {"a series at entry 9 has no room", {2, 3, 4, 5, 6, 7, 8, 9, -20, 30}, {2, 3, 4, 5, 6, 7, 8, 9}},
      {"a series at entry 10 has no room", {2, 3, 4, 5, 6, 7, 8, 9, 11, -20}, {2, 3, 4, 5, 6, 7, 8, 9, 11}},
      {"a series ending before its start is skipped", {-30, 20, 5, 15}, {15}},
      {"a series with step 0 is skipped, its entries used", {-10, 40, 0, 15}, {15}},
      {"a series with a negative step is skipped", {-10, 40, -5, 15}, {15}},
      {"a series may end off its steps", {-40, 52, 5}, {40, 45, 50}},
      {"columns beyond the visible ones", {5, 200}, {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetGuides(c.values);
    EXPECT_EQ(DrawnColumns(), c.columns);
  }
}

TEST_F(GuideLinesTest, ScrolledSeriesStartsRightOfTheLeftColumn) {
  SetGuides({-20, 60, 5});
  view->m_nViewLeftCol = 22;
  // Column 25's line stands at the right edge of column 24, the third visible column.
  EXPECT_EQ(DrawnColumns(), (std::vector<int>{25, 30, 35, 40, 45, 50, 55, 60}));
  view->m_nViewLeftCol = 24;
  // Column 25's line would be the text area's left edge minus one: not drawn.
  EXPECT_EQ(DrawnColumns(), (std::vector<int>{30, 35, 40, 45, 50, 55, 60}));
}

TEST_F(GuideLinesTest, WrapWidthEndsAValue) {
  type().nWrapColumn = 30;
  Relayout();
  SetGuides({10, 45, -20, 60, 5, 28});
  // 45 lies beyond the wrap width; the series stops there; columns read left to right.
  EXPECT_EQ(DrawnColumns(), (std::vector<int>{10, 20, 25, 28, 30}));
}

TEST_F(GuideLinesTest, NothingWhileHidden) {
  SetGuides({10, 20});
  Item(11).bShow = 0;
  EXPECT_TRUE(DrawnColumns().empty());
}

}  // namespace
