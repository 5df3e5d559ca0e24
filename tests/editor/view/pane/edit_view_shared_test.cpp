// The cell size every part of the pane divides by: never below one pixel, whatever the font gives
// and however the type's spacings are set.
#include "view_fixture.h"

namespace {

using SharedCellTest = ViewFixture;

TEST_F(SharedCellTest, CellSizeIsAtLeastOnePixel) {
  struct Case {
    const char* name;
    int charWidth;
    int charSpacing;
    int columnWidth;
    int charHeight;
    int lineSpace;
    int lineHeight;
  };
  const Case cases[] = {
      {"font and spacing add up", 8, 2, 10, 16, 3, 19},
      {"no spacing", 1, 0, 1, 1, 0, 1},
      {"a font of no size", 0, 0, 1, 0, 0, 1},
      {"negative spacing eats the cell", 8, -8, 1, 16, -16, 1},
      {"negative spacing beyond the cell", 8, -100, 1, 16, -100, 1},
      {"negative metrics", -3, 0, 1, -5, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view->m_nCharWidth = c.charWidth;
    view->m_nCharHeight = c.charHeight;
    type().nCharSpacing = c.charSpacing;
    type().nLineSpace = c.lineSpace;
    EXPECT_EQ(view->ColumnWidth(), c.columnWidth);
    EXPECT_EQ(view->LineHeight(), c.lineHeight);
  }
}

// Spacings that would leave no cell still give a pane that lays out and paints.
TEST_F(SharedCellTest, SpacingsThatEatTheCellStillPaint) {
  type().nCharSpacing = -1000;
  type().nLineSpace = -1000;
  SetText("int x;\r\n\tabc\r\n");
  view->SetClientSize(200, 120);
  view->RepaintAll();
  EXPECT_GE(view->m_nViewColNum, 0);
  EXPECT_GE(view->m_nViewRowNum, 0);
  EXPECT_EQ(view->ColumnWidth(), 1);
  EXPECT_EQ(view->LineHeight(), 1);
}

}  // namespace
