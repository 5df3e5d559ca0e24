// The caret and the scroll bars of a pane that has a window: the system caret and the scroll-bar
// controls follow the pane.
#include <Qt>
#include <string>

#include "pane_grid_fixture.h"
#include "platform/caret.h"
#include "platform/recording_window.h"
#include "platform/scroll_bar.h"
#include "platform/simulated_input.h"

namespace {

using namespace pane_grid;

class CaretWindowTest : public PaneGridFixture {
 protected:
  void SetUp() override {
    PaneGridFixture::SetUp();
    vbar = platform::CreateWindowEx(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 180, 0, 16, 120,
                                    windows.child, reinterpret_cast<HMENU>(intptr_t{3}), nullptr, nullptr);
    hbar = platform::CreateWindowEx(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 104, 180, 16,
                                    windows.child, reinterpret_cast<HMENU>(intptr_t{4}), nullptr, nullptr);
    ASSERT_NE(vbar, nullptr);
    ASSERT_NE(hbar, nullptr);
  }
  void TearDown() override {
    platform::DestroyCaret();
    view->m_hWnd = nullptr;
    view->m_hwndVScrollBar = nullptr;
    view->m_hwndHScrollBar = nullptr;
    PaneGridFixture::TearDown();
  }
  static SCROLLINFO InfoOf(HWND bar) {
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    EXPECT_TRUE(platform::GetScrollInfo(bar, SB_CTL, &info));
    return info;
  }

  platform_test::ChildWindowFixture windows;
  HWND vbar = nullptr;
  HWND hbar = nullptr;
};

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line\n";
  return text;
}

TEST_F(CaretWindowTest, ScrollBarsShowTheScaledRangeAndPosition) {
  Show(Lines(70000), 20, 30, 4, 200);
  view->m_hwndVScrollBar = vbar;
  view->m_hwndHScrollBar = hbar;
  view->ScrollToTopLine(1001);
  view->ScrollToLeftColumn(17);
  const SCROLLINFO v = InfoOf(vbar);
  EXPECT_EQ(view->m_nVScrollRate, 2);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, 70002 / 2 - 1);
  EXPECT_EQ(v.nPage, 10u);
  EXPECT_EQ(v.nPos, 500);
  const SCROLLINFO h = InfoOf(hbar);
  EXPECT_EQ(h.nMax, 199);
  EXPECT_EQ(h.nPage, 30u);
  EXPECT_EQ(h.nPos, 17);
  // The thumb's position comes back multiplied by the scale.
  view->OnVScrollBar(SB_THUMBTRACK, v.nPos * view->m_nVScrollRate);
  EXPECT_EQ(view->m_nViewTopLine, 1000);
}

TEST_F(CaretWindowTest, TheSystemCaretFollowsThePane) {
  Show("a\tbc\r\ndef\r\n", 20, 30, 4, 200);
  view->m_hWnd = windows.child;
  PutCaret(1, 1);
  view->UpdateCaret();
  POINT at{};
  ASSERT_TRUE(platform::GetCaretPos(&at));
  EXPECT_EQ(at.x, kLeft + kCell);
  EXPECT_EQ(at.y, kTop + kRow);
  EXPECT_TRUE(view->m_bCaretShowFlag);
  // Overwrite mode on the tab: a caret one column wide, made anew.
  doc->m_bInsMode = false;
  PutCaret(1, 0);
  view->UpdateCaret();
  EXPECT_EQ(view->m_nCaretWidth, kCell);
  ASSERT_TRUE(platform::GetCaretPos(&at));
  EXPECT_EQ(at.x, kLeft + kCell);
  EXPECT_EQ(at.y, kTop);
  EXPECT_TRUE(view->m_bCaretShowFlag);
  // Show and hide never nest: one hide after two shows hides it.
  view->ShowCaretOnce();
  view->HideCaretOnce();
  EXPECT_FALSE(view->m_bCaretShowFlag);
  view->ShowCaretOnce();
  EXPECT_TRUE(view->m_bCaretShowFlag);
}

// A drag that copies (Control held) may drop the text at its own start: the start column counts as
// before the selection there, while a move takes both end columns in.
TEST_F(CaretWindowTest, DragFromThePaneMovesTheSelectionEnds) {
  view->m_sSelect = SelectRange{1, 4, 3, 2};
  view->m_bDragSource = true;
  struct Case {
    int column, line;
    int move, copy;
  };
  for (const bool box : {false, true}) {
    view->m_bBeginBoxSelect = box;
    // As a box: lines 1-3, columns 2-4.
    const Case edges[] = {{box ? 2 : 4, 1, 0, -1}, {box ? 4 : 2, 3, 0, 1}, {3, 2, 0, 0}};
    for (const Case& c : edges) {
      SCOPED_TRACE(testing::Message() << (box ? "box " : "normal ") << c.column << ", " << c.line);
      EXPECT_EQ(view->IsPositionInSelection(c.column, c.line), c.move);
      platform::SimulateKey(windows.child, Qt::Key_Control, true);
      platform_test::PumpTranslated();
      EXPECT_EQ(view->IsPositionInSelection(c.column, c.line), c.copy);
      platform::SimulateKey(windows.child, Qt::Key_Control, false);
      platform_test::PumpTranslated();
    }
  }
  view->m_bDragSource = false;
}

}  // namespace
