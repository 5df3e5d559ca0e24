// Which pane inherits which view state when panes appear or disappear, and which pane is made
// active: each pane object carries a state of its own before the change, and afterwards each
// shown pane is asked whose state it has.
#include <gtest/gtest.h>
#include <string>

#include "splitter_fixture.h"

namespace splitter_test {
namespace {

// A pane's own state: its top line and caret tell whose it is.
int TopLineOf(int pane) { return 10 * pane + 1; }
int CaretLineOf(int pane) { return 10 * pane + 4; }

class SplitterStateTest : public SplitterFixture {
 protected:
  void SetUp() override {
    SplitterFixture::SetUp();
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetText(text);
  }
  void MarkEachPane() {
    for (int i = 0; i < 4; ++i) {
      Pane(i).m_nViewTopLine = TopLineOf(i);
      Pane(i).m_nCaretPosY = CaretLineOf(i);
      Pane(i).m_nCaretPosX = i;
    }
  }
  // From the layout at (fromX, fromY) with each pane marked and that pane active, to (x, y).
  void Change(int fromX, int fromY, int active, int x, int y) {
    SplitAndSettle(fromX, fromY);
    MarkEachPane();
    splitter.SetActivePaneIndex(active);
    PaneMessages().clear();
    SplitAndSettle(x, y);
  }
  // Whose state the pane has: the index whose mark it carries, or -1.
  int WhoseState(int pane) {
    for (int i = 0; i < 4; ++i) {
      if (Pane(pane).m_nViewTopLine == TopLineOf(i) && Pane(pane).m_nCaretPosY == CaretLineOf(i) &&
          Pane(pane).m_nCaretPosX == i) {
        return i;
      }
    }
    return -1;
  }
};

struct CopyCase {
  const char* name;
  int fromX, fromY;          // the layout before
  int active;                // active pane before the change
  int x, y;                  // requested
  std::array<int, 4> whose;  // whose state each pane has afterwards (panes hidden: -2, not looked at)
};

class StateCopyTable : public SplitterStateTest, public testing::WithParamInterface<CopyCase> {};

TEST_P(StateCopyTable, ThePanesTakeTheStatesOfTheTable) {
  const CopyCase& c = GetParam();
  Change(c.fromX, c.fromY, c.active, c.x, c.y);
  for (int i = 0; i < 4; ++i) {
    if (c.whose[static_cast<size_t>(i)] == -2) continue;
    EXPECT_EQ(WhoseState(i), c.whose[static_cast<size_t>(i)]) << "pane " << i;
  }
}

constexpr int kHidden = -2;

// The splitter is 640 x 480: 1 to 31 close a bar at the leading edge, 470 and 620 lie beyond the
// trailing one.
INSTANTIATE_TEST_SUITE_P(
    Layouts, StateCopyTable,
    testing::Values(
        // To one pane.
        CopyCase{"left_right_closed_at_the_left", 300, 0, 0, 31, 0, {1, kHidden, kHidden, kHidden}},
        CopyCase{"left_right_removed_active_right", 300, 0, 1, 0, 0, {1, kHidden, kHidden, kHidden}},
        CopyCase{"left_right_removed_active_left", 300, 0, 0, 0, 0, {0, kHidden, kHidden, kHidden}},
        CopyCase{"left_right_off_the_right_end", 300, 0, 0, 620, 0, {0, kHidden, kHidden, kHidden}},
        CopyCase{"upper_lower_closed_at_the_top", 0, 200, 0, 0, 20, {2, kHidden, kHidden, kHidden}},
        CopyCase{"upper_lower_removed_active_lower", 0, 200, 2, 0, 0, {2, kHidden, kHidden, kHidden}},
        CopyCase{"upper_lower_off_the_bottom", 0, 200, 0, 0, 470, {0, kHidden, kHidden, kHidden}},
        CopyCase{"four_both_closed", 300, 200, 0, 20, 20, {3, kHidden, kHidden, kHidden}},
        CopyCase{"four_rows_closed", 300, 200, 1, 0, 20, {2, kHidden, kHidden, kHidden}},
        CopyCase{"four_columns_closed", 300, 200, 2, 20, 0, {1, kHidden, kHidden, kHidden}},
        CopyCase{"four_removed_active_3", 300, 200, 3, 0, 0, {3, kHidden, kHidden, kHidden}},
        CopyCase{"four_removed_active_0", 300, 200, 0, 0, 0, {0, kHidden, kHidden, kHidden}},
        // To upper and lower.
        CopyCase{"four_columns_closed_to_rows", 300, 200, 0, 20, 200, {1, kHidden, 3, kHidden}},
        CopyCase{"four_to_rows_active_right", 300, 200, 3, 0, 200, {1, kHidden, 3, kHidden}},
        CopyCase{"four_to_rows_active_left", 300, 200, 2, 0, 200, {0, kHidden, 2, kHidden}},
        // To left and right.
        CopyCase{"one_to_columns", 0, 0, 0, 300, 0, {0, 0, kHidden, kHidden}},
        CopyCase{"four_rows_closed_to_columns", 300, 200, 0, 300, 20, {2, 3, kHidden, kHidden}},
        CopyCase{"four_to_columns_active_lower", 300, 200, 2, 300, 0, {2, 3, kHidden, kHidden}},
        CopyCase{"four_to_columns_active_upper", 300, 200, 1, 300, 0, {0, 1, kHidden, kHidden}},
        // To four panes.
        CopyCase{"one_to_four", 0, 0, 0, 300, 200, {0, 0, 0, 0}},
        CopyCase{"columns_to_four", 300, 0, 1, 300, 200, {0, 1, 0, 1}},
        CopyCase{"rows_to_four", 0, 200, 2, 300, 200, {0, 0, 2, 2}},
        // The same layout again copies nothing.
        CopyCase{"four_again", 300, 200, 3, 310, 210, {0, 1, 2, 3}}),
    [](const testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterStateTest, ToggleSplitVTwiceKeepsTheActivePanesStateInPaneZero) {
  MarkEachPane();
  splitter.ToggleSplitV();
  Pump();
  EXPECT_EQ(splitter.GetLayoutKind(), 2);
  splitter.SetActivePaneIndex(2);
  Pane(2).m_nViewTopLine = 77;
  Pane(2).m_nCaretPosY = 90;
  splitter.ToggleSplitV();
  Pump();
  EXPECT_EQ(splitter.GetLayoutKind(), 0);
  EXPECT_EQ(Pane(0).m_nViewTopLine, 77);
  EXPECT_EQ(Pane(0).m_nCaretPosY, 90);
}

TEST_F(SplitterStateTest, TheLowerPaneContinuesTheTextWhereTheUpperOneEnds) {
  Pane(0).m_nViewTopLine = 5;
  Pane(0).m_nCaretPosY = 6;
  SplitAndSettle(0, 200);
  // Pane 0 is 200 pixels high now; its visible rows are counted at that height.
  ASSERT_GT(Pane(0).m_nViewRowNum, 0);
  EXPECT_EQ(Pane(0).m_nClientHeight, 200);
  EXPECT_EQ(Pane(2).m_nViewTopLine, 5 + Pane(0).m_nViewRowNum);
  EXPECT_EQ(Pane(2).m_nCaretPosY, 6);
  // The caret lies above the lower pane's text: the upper pane stays active.
  EXPECT_EQ(splitter.m_nActivePane, 0);
}

TEST_F(SplitterStateTest, TheLowerPaneBecomesActiveOnlyWhenTheCaretLiesInIt) {
  Pane(0).m_nViewTopLine = 0;
  Pane(0).m_nCaretPosY = 150;
  SplitAndSettle(0, 200);
  EXPECT_LT(Pane(2).m_nViewTopLine, 150);
  EXPECT_EQ(splitter.m_nActivePane, 2);
}

struct ActivateCase {
  const char* name;
  int fromX, fromY;
  int active;
  int x, y;
  int activated;
};

class ActivateTable : public SplitterStateTest, public testing::WithParamInterface<ActivateCase> {};

TEST_P(ActivateTable, ThePaneOfTheTableIsAskedAndAnswers) {
  const ActivateCase& c = GetParam();
  Change(c.fromX, c.fromY, c.active, c.x, c.y);
  ASSERT_EQ(PaneMessages().size(), 1u);
  EXPECT_EQ(PaneMessages()[0].message, MYWM_SETACTIVEPANE);
  EXPECT_EQ(PaneMessages()[0].pane, c.activated);
  EXPECT_EQ(splitter.m_nActivePane, c.activated);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ActivateTable,
                         testing::Values(ActivateCase{"to_one", 300, 200, 3, 0, 0, 0},
                                         ActivateCase{"to_rows_from_lower_right", 300, 200, 3, 0, 200, 2},
                                         ActivateCase{"to_rows_from_lower_left", 300, 200, 2, 0, 200, 2},
                                         // From the upper right the states move left; the lower pane's caret (pane 3's
                                         // mark) lies below its top line.
                                         ActivateCase{"to_rows_caret_in_lower", 300, 200, 1, 0, 200, 2},
                                         ActivateCase{"to_columns_from_lower_right", 300, 200, 3, 300, 0, 1},
                                         ActivateCase{"to_columns_from_upper_right", 300, 200, 1, 300, 0, 1},
                                         ActivateCase{"to_columns_from_lower_left", 300, 200, 2, 300, 0, 0},
                                         ActivateCase{"to_four_keeps_it", 300, 0, 1, 300, 200, 1},
                                         ActivateCase{"to_four_keeps_the_lower", 0, 200, 2, 300, 200, 2}),
                         [](const testing::TestParamInfo<ActivateCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterStateTest, TheRightPaneStaysWhenTheLeftBarIsDraggedToTheLeadingEdge) {
  SplitAndSettle(300, 0);
  MarkEachPane();
  platform::SendMessage(splitter.GetHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(301, 100));
  platform::SendMessage(splitter.GetHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 100));
  platform::SendMessage(splitter.GetHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 100));
  Pump();
  EXPECT_EQ(splitter.GetLayoutKind(), 0);
  EXPECT_EQ(WhoseState(0), 1);
}

TEST_F(SplitterStateTest, APaneObjectMissingStopsTheSecondCopy) {
  SplitAndSettle(300, 200);
  MarkEachPane();
  // Pane 0 has no object: neither 1 -> 0 nor (all four being needed) 3 -> 2 can happen.
  splitter.AttachPanes(windows, {nullptr, panes[1], panes[2], panes[3]});
  splitter.SetActivePaneIndex(1);
  SplitAndSettle(0, 200);
  EXPECT_EQ(WhoseState(2), 2);
}

TEST_F(SplitterStateTest, PanesWithoutWindowsAreSizedToTheirPlaces) {
  SplitAndSettle(300, 200);
  const int sizes[4][2] = {{300, 200}, {337, 200}, {300, 277}, {337, 277}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Pane(i).m_nClientWidth, sizes[i][0]) << i;
    EXPECT_EQ(Pane(i).m_nClientHeight, sizes[i][1]) << i;
  }
}

}  // namespace
}  // namespace splitter_test
