// What the pane draws between paints (selection inversions, block moves when it scrolls) leaves
// its image as a fresh paint of the whole pane would.
#include <string>
#include <vector>

#include "platform/sjis_literal.h"
#include "view_fixture.h"

namespace {

class DrawBetweenPaintsTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    // Marks that follow the caret (the underline of its line, a bracket pair) are not what these
    // tests look at.
    type().Colors[2].bShow = 0;
    type().Colors[42].bShow = 0;
    type().nWrapColumn = 30;
    type().nTabWidth = 4;
    // Narrower than the wrap width, so that it scrolls across too.
    view->SetClientSize(160, 400);
    SetText(Text());
    view->RepaintAll();
  }

  static std::string Text() {
    std::string text;
    for (int i = 0; i < 60; ++i) {
      text += "line " + std::to_string(i) + "\t/* x */ \"str\" " + "漢字"_sj + " 0x1F\r\n";
      if (i % 7 == 3) text += "\r\n";
      if (i % 11 == 5) text += "a line long enough to wrap at thirty columns, twice over\n";
    }
    return text + "last line";
  }

  // The rows below the ruler: the text and number areas.
  std::vector<uint32_t> TextRows() const {
    const platform::Bitmap* image = view->GetViewImage();
    std::vector<uint32_t> pixels;
    for (int y = view->m_nViewAlignTop; y < image->Height(); ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(image->Row(y));
      pixels.insert(pixels.end(), row, row + image->Width());
    }
    return pixels;
  }
  std::vector<uint32_t> FreshPaint() {
    const RECT all{0, 0, view->m_nClientWidth, view->m_nClientHeight};
    view->PaintView(view->GetViewDC(), &all);
    return TextRows();
  }
  // The first pixel where the image before a fresh paint differs from it, for the message.
  std::string CompareWithFreshPaint() {
    const std::vector<uint32_t> drawn = TextRows();
    const std::vector<uint32_t> fresh = FreshPaint();
    const int width = view->GetViewImage()->Width();
    for (size_t i = 0; i < drawn.size(); ++i) {
      if (drawn[i] != fresh[i]) {
        return "differs at (" + std::to_string(static_cast<int>(i) % width) + ", " +
               std::to_string(static_cast<int>(i) / width + view->m_nViewAlignTop) + ")";
      }
    }
    return "";
  }

  struct Move {
    int column;
    int line;
  };
  void Select(bool box, std::initializer_list<Move> moves) {
    view->m_nCaretPosX = 3;
    view->m_nCaretPosY = 2;
    view->BeginSelectionAtCaret();
    view->m_bBeginBoxSelect = box;
    for (const Move& move : moves) {
      view->ChangeSelectionTo(move.column, move.line);
      EXPECT_EQ(CompareWithFreshPaint(), "") << "after a move to column " << move.column << ", line " << move.line;
    }
  }
};

TEST_F(DrawBetweenPaintsTest, NormalSelectionChanges) {
  ASSERT_GT(view->m_nViewRowNum, 10);
  Select(false, {{9, 4}, {2, 7}, {0, 0}, {12, 2}, {1, 2}, {25, 9}, {3, 2}, {6, 3}});
  view->ClearSelection(true);
  EXPECT_EQ(CompareWithFreshPaint(), "");
}

TEST_F(DrawBetweenPaintsTest, BoxSelectionChanges) {
  Select(true, {{9, 4}, {5, 8}, {1, 3}, {12, 1}, {4, 0}, {28, 6}});
  view->ClearSelection(true);
  EXPECT_EQ(CompareWithFreshPaint(), "");
}

TEST_F(DrawBetweenPaintsTest, SelectionScrolledInto) {
  view->ScrollToLeftColumn(2);
  view->ScrollToTopLine(5);
  Select(false, {{9, 8}, {0, 3}, {4, 40}});
  view->ClearSelection(true);
  Select(true, {{9, 8}, {1, 4}});
  view->ClearSelection(true);
  EXPECT_EQ(CompareWithFreshPaint(), "");
}

TEST_F(DrawBetweenPaintsTest, ScrollingMovesTheImage) {
  struct Step {
    const char* name;
    int top;
    int left;
  };
  view->m_nCaretPosX = 3;
  view->m_nCaretPosY = 2;
  view->BeginSelectionAtCaret();
  view->ChangeSelectionTo(6, 9);
  for (const Step& step : {Step{"down a few rows", 3, 0}, Step{"up one", 2, 0}, Step{"right", 2, 4}, Step{"left", 2, 1},
                           Step{"a page and more", 40, 1}, Step{"back", 1, 0}}) {
    SCOPED_TRACE(step.name);
    view->ScrollToTopLine(step.top);
    view->ScrollToLeftColumn(step.left);
    ASSERT_EQ(view->m_nViewTopLine, step.top);
    ASSERT_EQ(view->m_nViewLeftCol, step.left);
    EXPECT_EQ(CompareWithFreshPaint(), "");
  }
  // The caret placed out of view scrolls both ways at once.
  const int top = view->m_nViewTopLine;
  const int left = view->m_nViewLeftCol;
  view->PlaceCursor(26, 35, true, 20);
  ASSERT_NE(view->m_nViewTopLine, top);
  ASSERT_NE(view->m_nViewLeftCol, left);
  EXPECT_EQ(CompareWithFreshPaint(), "");
}

}  // namespace
