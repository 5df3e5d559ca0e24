// The ruler: background, base line, ticks and labels read by pixels, and the caret's mark, which
// restores the ruler when drawn again.
#include <string>

#include "pane_frame_fixture.h"

namespace {

constexpr COLORREF kRulerInk = RGB(200, 0, 0);
constexpr COLORREF kRulerBack = RGB(0xEF, 0xEF, 0xEF);

class RulerTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    Item(1).bShow = 1;
    Item(1).colText = kRulerInk;
    Item(1).colBack = kRulerBack;
    SetText("abc\r\n");
    Arrange();
    view->m_nCaretPosX = 33;
    view->m_nCaretWidth = 2;
    ClearImage();
  }
  int Bottom() const { return view->m_nViewAlignTop - view->m_nTopYohaku; }
  void PaintWhole() {
    view->m_bRedrawRuler = true;
    view->PaintRuler(view->GetViewDC());
  }
  // Ruler ink in pixel column x above the base line.
  int TickLength(int x) const { return CountPixels(x, 0, x + 1, Bottom() - 1, kRulerInk); }
};

TEST_F(RulerTest, TicksGrowAtFivesAndTensWithTheLabelsOfTens) {
  PaintWhole();
  ASSERT_EQ(Bottom(), 13);
  for (int t = 1; t < 96; ++t) {
    if (t % 10 == 1) continue;  // the label of the ten before reaches into this column
    SCOPED_TRACE("column " + std::to_string(t));
    const int expected = t % 10 == 0 ? Bottom() - 1 : t % 5 == 0 ? 6 : 3;
    EXPECT_EQ(TickLength(CellX(t)), expected);
    // Ticks hang from two pixels above the ruler's bottom.
    EXPECT_EQ(Pixel(CellX(t), Bottom() - 2), kRulerInk);
  }
  // The label "1" of column 10: one box glyph of the 12-pixel ruler face (ruler height - 1), two
  // pixels right of the tick, from the ruler's top.
  const int x = CellX(10);
  EXPECT_EQ(Pixel(x + 3, 0), kRulerInk);
  EXPECT_EQ(Pixel(x + 6 - 1, 9), kRulerInk);
  EXPECT_NE(Pixel(x + 5, 2), kRulerInk) << "the box glyph's hole";
  EXPECT_EQ(Pixel(x + 3, 10), kRulerBack) << "the glyph is 10 pixels high";
  EXPECT_EQ(Pixel(x + 2, 5), kRulerBack);
  EXPECT_EQ(Pixel(x + 7, 5), kRulerBack) << "the glyph is 4 pixels wide";
}

TEST_F(RulerTest, BackgroundAndBaseLineSpanTheirAreas) {
  PaintWhole();
  const int left = view->m_nViewAlignLeft;
  const int right = left + view->m_nViewCx;
  // The background runs across the whole pane, the number column's part too.
  EXPECT_EQ(CountPixels(0, 0, left, Bottom(), kRulerBack), left * Bottom());
  EXPECT_EQ(Pixel(kWidth - 1, 0), kRulerBack);
  EXPECT_EQ(Pixel(0, Bottom()), kPaper) << "nothing below the ruler";
  // The base line: from the text area's left edge to its right edge for a wide wrap width.
  EXPECT_EQ(CountPixels(left, Bottom() - 1, right, Bottom(), kRulerInk), right - left);
  EXPECT_EQ(Pixel(left - 1, Bottom() - 1), kRulerBack);
  EXPECT_EQ(Pixel(right, Bottom() - 1), kRulerBack);
}

TEST_F(RulerTest, WrapColumnEndsTheScale) {
  type().nWrapColumn = 50;
  Relayout();
  ASSERT_EQ(doc->m_cLayoutMgr.GetWrapWidth(), 50);
  ClearImage();
  PaintWhole();
  const int wrapX = CellX(50);
  EXPECT_EQ(CountPixels(wrapX, 0, wrapX + 1, Bottom(), kRulerInk), Bottom()) << "full height";
  EXPECT_EQ(Pixel(wrapX, Bottom() - 1), kRulerInk);
  EXPECT_EQ(Pixel(wrapX + 1, Bottom() - 1), kRulerBack) << "the base line stops one pixel past the edge";
  for (int t = 52; t < 60; ++t) EXPECT_EQ(TickLength(CellX(t)), 0) << t;
}

TEST_F(RulerTest, ScrolledLabelsShowTensOfTheColumn) {
  view->m_nViewLeftCol = 95;
  view->m_nCaretPosX = 96;
  PaintWhole();
  const int x = CellX(100);
  EXPECT_EQ(TickLength(CellX(95)), 6);
  EXPECT_EQ(Pixel(x, 0), kRulerInk);
  // "10": two glyphs.
  EXPECT_EQ(Pixel(x + 3, 0), kRulerInk);
  EXPECT_EQ(Pixel(x + 8, 0), kRulerBack);
  EXPECT_EQ(Pixel(x + 9, 0), kRulerInk);
}

TEST_F(RulerTest, CaretMarkInvertsItsCellWithTheCaretsBrush) {
  struct Case {
    const char* name;
    int caretWidth;
    COLORREF inside;  // the background under the mark
  };
  const Case cases[] = {
      {"caret: black brush inverts", 2, RGB(0x10, 0x10, 0x10)},
      {"no caret: grey brush", 0, RGB(0x90, 0x90, 0x90)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view->m_nCaretWidth = c.caretWidth;
    ClearImage();
    PaintWhole();
    const int x = CellX(33);
    EXPECT_EQ(Pixel(x + 2, 5), c.inside);
    // One pixel narrower than the column on each side; down to one pixel above the bottom.
    EXPECT_EQ(CountPixels(x + 1, 0, x + 5, Bottom() - 1, c.inside), 4 * (Bottom() - 1));
    EXPECT_EQ(Pixel(x + 5, 5), kRulerBack);
    EXPECT_EQ(Pixel(x + 2, Bottom() - 1), kRulerInk) << "the base line stays";
    EXPECT_EQ(view->m_nOldCaretPosX, 33);
    EXPECT_EQ(view->m_nOldCaretWidth, c.caretWidth);
    EXPECT_FALSE(view->m_bRedrawRuler);
  }
}

TEST_F(RulerTest, CaretMarkDrawnTwiceRestoresTheRuler) {
  PaintWhole();
  const std::vector<uint32_t> ruler = Snapshot();
  for (const bool caret : {true, false}) {
    for (const int column : {10, 11, 40, 99}) {  // over labels, ticks and the last columns
      view->DrawRulerMark(view->GetViewDC(), column, caret);
      EXPECT_NE(Snapshot(), ruler) << column;
      view->DrawRulerMark(view->GetViewDC(), column, caret);
      EXPECT_EQ(Snapshot(), ruler) << column;
    }
  }
}

TEST_F(RulerTest, MovingTheCaretRedrawsOnlyTheMarkAsAWholePaintWould) {
  struct Move {
    const char* name;
    int column;
    int caretWidth;
  };
  const Move moves[] = {
      {"to another column", 47, 2},
      {"onto a label", 10, 2},
      {"caret destroyed in place", 33, 0},
      {"to the first column past the visible ones", 101, 2},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.name);
    view->m_nCaretPosX = 33;
    view->m_nCaretWidth = 2;
    ClearImage();
    PaintWhole();
    view->m_nCaretPosX = m.column;
    view->m_nCaretWidth = m.caretWidth;
    view->PaintRuler(view->GetViewDC());
    const std::vector<uint32_t> moved = Snapshot();
    ClearImage();
    PaintWhole();
    EXPECT_EQ(moved, Snapshot());
  }
}

TEST_F(RulerTest, CaretFarOutsideTheColumnsLeavesTheMark) {
  PaintWhole();
  const std::vector<uint32_t> before = Snapshot();
  view->m_nCaretPosX = view->m_nViewLeftCol + view->m_nViewColNum + 2;
  view->PaintRuler(view->GetViewDC());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(view->m_nOldCaretPosX, 33);
}

TEST_F(RulerTest, NothingWhileHiddenOrPaintingIsOff) {
  Item(1).bShow = 0;
  PaintWhole();
  EXPECT_EQ(Pixel(0, 0), kPaper);
  Item(1).bShow = 1;
  view->m_bDrawSWITCH = 0;
  PaintWhole();
  EXPECT_EQ(Pixel(0, 0), kPaper);
  EXPECT_TRUE(view->m_bRedrawRuler);
}

}  // namespace

namespace {

TEST_F(RulerTest, LabelFaceFollowsTheRulerHeight) {
  common().nRulerHeight = 21;
  Arrange();
  PaintWhole();
  // The font module's own face stands for the requested one, a pixel lower than the ruler.
  EXPECT_EQ(fonts.engine.lastFace, "Arial");
  const int x = CellX(20);
  EXPECT_EQ(CountPixels(x + 3, 0, x + 4, Bottom() - 1, kRulerInk), 20 - 2) << "glyph rows of a 20-pixel face";
}

}  // namespace
