// The caret-line underline: where it is drawn, when it is only remembered, the lock, and erasing it
// by painting its pixel row again.
#include "pane_frame_fixture.h"

namespace {

constexpr COLORREF kUnderline = RGB(0, 0, 255);

class UnderlineTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    Item(2).bShow = 1;
    Item(2).colText = kUnderline;
    SetText("one\r\ntwo\r\nthree\r\n");
    Arrange();
    view->m_nCaretPosY = 2;
    ClearImage();
  }
  void Reset() {
    Item(2).bShow = 1;
    view->m_bDrawSWITCH = 1;
    view->m_bDoing_UndoRedo = false;
    view->m_nViewTopLine = 0;
    view->m_nCaretPosY = 2;
    view->m_sSelect.Clear();
    while (view->m_cUnderLine.IsLocked()) view->m_cUnderLine.Unlock();
    view->m_nOldUnderLineY = -1;
    ClearImage();
  }
  int UnderlineY() const { return RowY(view->m_nCaretPosY) + view->m_nCharHeight; }
  int DrawnPixels() const { return CountPixels(0, 0, kWidth, kHeight, kUnderline); }
};

TEST_F(UnderlineTest, DrawnUnderTheCaretLinesCharactersAcrossTheTextArea) {
  view->m_cUnderLine.Show(true);
  const int y = UnderlineY();
  EXPECT_EQ(view->m_nOldUnderLineY, y);
  EXPECT_EQ(CountPixels(view->m_nViewAlignLeft, y, view->m_nViewAlignLeft + view->m_nViewCx, y + 1, kUnderline),
            view->m_nViewCx);
  EXPECT_EQ(DrawnPixels(), view->m_nViewCx);
  // Scrolled: the row on screen counts.
  ClearImage();
  view->m_nViewTopLine = 1;
  view->m_cUnderLine.Show(true);
  EXPECT_EQ(view->m_nOldUnderLineY, view->m_nViewAlignTop + view->LineHeight() + view->m_nCharHeight);
  EXPECT_EQ(Pixel(view->m_nViewAlignLeft, view->m_nOldUnderLineY), kUnderline);
}

TEST_F(UnderlineTest, WhenItIsOnlyRememberedOrNotAtAll) {
  struct Case {
    const char* name;
    void (*setUp)(CEditView&, TypeSettings&);
    bool repaint;
    bool stored;
  };
  const Case cases[] = {
      {"without repaint", [](CEditView&, TypeSettings&) {}, false, true},
      {"painting off", [](CEditView& v, TypeSettings&) { v.m_bDrawSWITCH = 0; }, true, true},
      {"undo running", [](CEditView& v, TypeSettings&) { v.m_bDoing_UndoRedo = true; }, true, true},
      {"caret line scrolled above", [](CEditView& v, TypeSettings&) { v.m_nViewTopLine = 3; }, true, true},
      {"caret line below the rows", [](CEditView& v, TypeSettings&) { v.m_nCaretPosY = 200; }, true, true},
      {"a selection",
       [](CEditView& v, TypeSettings&) {
         v.m_sSelect = {0, 0, 1, 0};
       },
       true, false},
      {"underline hidden", [](CEditView&, TypeSettings& t) { t.Colors[2].bShow = 0; }, true, false},
      {"locked", [](CEditView& v, TypeSettings&) { v.m_cUnderLine.Lock(); }, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    c.setUp(*view, type());
    view->m_cUnderLine.Show(c.repaint);
    EXPECT_EQ(DrawnPixels(), 0);
    if (c.stored) {
      EXPECT_EQ(view->m_nOldUnderLineY, UnderlineY());
    } else {
      EXPECT_EQ(view->m_nOldUnderLineY, -1);
    }
  }
}

TEST_F(UnderlineTest, APositionOfMinusOneIsStoredAsMinusTwo) {
  Item(1).bShow = 0;  // no ruler: the text area starts at the top
  Arrange();
  ASSERT_EQ(view->m_nViewAlignTop, 0);
  ASSERT_EQ(view->LineHeight(), view->m_nCharHeight + 1);
  view->m_nViewTopLine = 3;  // the caret line is the row above the pane
  view->DrawCursorLineUnderline(true);
  EXPECT_EQ(view->m_nOldUnderLineY, -2);
  EXPECT_EQ(DrawnPixels(), 0);
}

TEST_F(UnderlineTest, LockCountsAndNeverGoesBelowZero) {
  CCursorLineUnderline& underline = view->m_cUnderLine;
  underline.Unlock();
  underline.Unlock();
  underline.Lock();
  EXPECT_TRUE(underline.IsLocked());
  underline.Lock();
  underline.Unlock();
  EXPECT_TRUE(underline.IsLocked());
  underline.Show(true);
  EXPECT_EQ(DrawnPixels(), 0);
  underline.Unlock();
  EXPECT_FALSE(underline.IsLocked());
  underline.Show(true);
  EXPECT_EQ(DrawnPixels(), view->m_nViewCx);
  // Hiding while locked keeps it.
  underline.Lock();
  underline.Hide(true);
  EXPECT_EQ(view->m_nOldUnderLineY, UnderlineY());
  underline.Unlock();
}

TEST_F(UnderlineTest, ErasingForgetsItAndRestoresWhatItBorrowed) {
  view->m_cUnderLine.Show(true);
  ASSERT_NE(view->m_nOldUnderLineY, -1);
  // A selection that is starting when the underline is hidden.
  const SelectRange selection{2, 0, 2, 3};
  view->m_sSelect = selection;
  view->m_bDrawSelectArea = true;
  view->m_cUnderLine.Hide(true);
  EXPECT_EQ(view->m_nOldUnderLineY, -1);
  EXPECT_EQ(view->m_sSelect, selection);
  EXPECT_TRUE(view->m_bDrawSelectArea);
  EXPECT_FALSE(view->m_cUnderLine.IsLocked());
  const RECT output = view->GetViewDC()->GetOutputRect();
  EXPECT_EQ(output.right - output.left, kWidth) << "no clip left behind";
  EXPECT_EQ(output.bottom - output.top, kHeight);
  // Nothing stored: nothing to do.
  view->m_cUnderLine.Hide(true);
  EXPECT_EQ(view->m_nOldUnderLineY, -1);
  // Without repaint the position is forgotten all the same.
  view->m_sSelect.Clear();
  view->m_cUnderLine.Show(true);
  view->m_cUnderLine.Hide(false);
  EXPECT_EQ(view->m_nOldUnderLineY, -1);
  EXPECT_EQ(DrawnPixels(), view->m_nViewCx) << "the picture is left for a later paint";
}

}  // namespace
