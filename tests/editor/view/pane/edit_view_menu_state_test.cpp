// What a pane tells the menus of its state: its cursor history, the remembered search start, the
// incremental search's mode and direction, and what the wrap-width toggle would do next.
#include <gtest/gtest.h>

#include "editor/view/commands/wrap_toggle.h"
#include "editor/view/pane/edit_view.h"
#include "view_fixture.h"

namespace {

class PaneMenuStateTest : public ViewFixture {
 protected:
  PaneMenuStateTest() : ViewFixture("pane-menu-state-test") {}
};

TEST_F(PaneMenuStateTest, CursorHistoryAndSearchStart) {
  SetText("abc\r\ndef\r\n");
  EXPECT_FALSE(view->HasCursorHistory(false));
  EXPECT_FALSE(view->HasCursorHistory(true));
  view->RunCommand(30372, true, 0, 0, 0, 0);  // remember this place
  EXPECT_TRUE(view->HasCursorHistory(false));
  EXPECT_FALSE(view->HasCursorHistory(true));
  view->RunCommand(30370, true, 0, 0, 0, 0);  // back to it
  EXPECT_TRUE(view->HasCursorHistory(true));

  EXPECT_FALSE(view->HasSearchStart());
  view->m_nSrchStartPosX_PHY = 0;
  EXPECT_FALSE(view->HasSearchStart()) << "both coordinates";
  view->m_nSrchStartPosY_PHY = 1;
  EXPECT_TRUE(view->HasSearchStart());
}

TEST_F(PaneMenuStateTest, IncrementalSearchMarksItsOwnCommand) {
  struct Case {
    int mode, direction, checked;
  };
  const Case cases[] = {{0, 1, 0},     {1, 1, 30981}, {1, 0, 30982}, {2, 1, 30983},
                        {2, 0, 30984}, {3, 1, 30985}, {3, 0, 30986}, {4, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.direction));
    view->m_nISearchMode = c.mode;
    view->m_nISearchDirection = c.direction;
    for (int command = 30981; command <= 30986; ++command)
      EXPECT_EQ(view->IsISearchChecked(command), command == c.checked) << command;
  }
}

TEST_F(PaneMenuStateTest, WrapToggleFollowsThePaneAndTheType) {
  SetText("abc\r\n");
  const int columns = view->m_nViewColNum;
  ASSERT_GT(columns, 20);
  type().nWrapColumn = 10240;
  Relayout();
  EXPECT_EQ(view->NextWrapToggle(), kWrapToggleWindowWidth) << "no wrapping anywhere: the pane's width";
  type().nWrapColumn = 20;
  Relayout();
  EXPECT_EQ(view->NextWrapToggle(), kWrapToggleWindowWidth) << "the type's width: the pane's next";
  ASSERT_TRUE(doc->m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, columns));
  EXPECT_EQ(view->NextWrapToggle(), kWrapToggleOff);
  ASSERT_TRUE(doc->m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, 10240));
  EXPECT_EQ(view->NextWrapToggle(), kWrapToggleTypeWidth);
}

}  // namespace
