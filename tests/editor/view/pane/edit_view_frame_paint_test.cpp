// The frame as the painter draws it: a whole paint shows ruler and numbers, erasing the caret-line
// underline and the bracket highlight gives back what a paint without them shows.
#include <string>
#include <vector>

#include "pane_frame_fixture.h"
#include "platform/sjis_literal.h"

namespace {

constexpr COLORREF kStringBack = RGB(200, 255, 200);
constexpr COLORREF kUnderline = RGB(0, 0, 255);

class FramePaintTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    Item(2).bShow = 1;
    Item(2).colText = kUnderline;
    Item(27).bShow = 1;
    Item(27).colBack = kStringBack;
    Item(42).bShow = 1;
    Item(42).colBack = RGB(255, 200, 0);
    SetText("int a;\r\n\"(\" x)\r\nlast\r\n");
    // The pane's own geometry from here on.
    view->SetClientSize(kWidth, kHeight);
    view->m_bFocused = true;
  }
  void PaintAll() {
    const RECT all{0, 0, kWidth, kHeight};
    view->PaintView(view->GetViewDC(), &all);
  }
  // A whole paint with neither underline nor bracket pair.
  std::vector<uint32_t> PlainPaint() {
    const int pair[4] = {view->m_nBracketPairPosX_PHY, view->m_nBracketPairPosY_PHY, view->m_nBracketCaretPosX_PHY,
                         view->m_nBracketCaretPosY_PHY};
    view->m_nBracketPairPosX_PHY = view->m_nBracketPairPosY_PHY = -1;
    view->m_nBracketCaretPosX_PHY = view->m_nBracketCaretPosY_PHY = -1;
    view->m_cUnderLine.Lock();
    ClearImage();
    PaintAll();
    view->m_cUnderLine.Unlock();
    std::vector<uint32_t> image = Snapshot();
    view->m_nBracketPairPosX_PHY = pair[0];
    view->m_nBracketPairPosY_PHY = pair[1];
    view->m_nBracketCaretPosX_PHY = pair[2];
    view->m_nBracketCaretPosY_PHY = pair[3];
    return image;
  }
};

TEST_F(FramePaintTest, AWholePaintDrawsRulerNumbersAndUnderline) {
  ClearImage();
  PaintAll();
  EXPECT_EQ(Pixel(0, 0), Item(1).colBack);
  EXPECT_EQ(Pixel(0, RowY(0)), Item(3).colBack);
  EXPECT_EQ(Pixel(view->m_nViewAlignLeft, RowY(view->m_nCaretPosY) + view->m_nCharHeight), kUnderline);
  EXPECT_FALSE(view->m_bRedrawRuler);
}

TEST_F(FramePaintTest, ErasingTheUnderlineGivesThePaintWithoutIt) {
  view->m_nCaretPosY = 1;
  const std::vector<uint32_t> plain = PlainPaint();
  ClearImage();
  PaintAll();
  ASSERT_NE(Snapshot(), plain);
  // A selection that has just started is not on screen yet: the row comes back unselected.
  view->m_sSelect = {1, 0, 1, 4};
  view->m_cUnderLine.Hide(true);
  view->m_sSelect.Clear();
  EXPECT_EQ(Snapshot(), plain);
}

TEST_F(FramePaintTest, ErasedBracketsTakeTheirColoursBack) {
  view->m_nCaretPosX = 1;
  view->m_nCaretPosY = 1;
  view->m_cUnderLine.Lock();  // the underline stays out of the comparison
  const std::vector<uint32_t> plain = PlainPaint();
  view->UpdateBracketPair(true);
  ASSERT_EQ(view->m_nBracketPairPosX_PHY, 5);
  ClearImage();
  PaintAll();
  EXPECT_EQ(Pixel(CellX(1), RowY(1)), Item(42).colBack);
  EXPECT_EQ(Pixel(CellX(5), RowY(1)), Item(42).colBack);
  view->DrawBracketHighlight(false);
  EXPECT_EQ(Pixel(CellX(1), RowY(1)), kStringBack) << "the bracket in the string";
  EXPECT_EQ(Snapshot(), plain);
}

}  // namespace
