// What the document asks of a pane through its pane port.
#include <string>

#include "editor/foundation/text/memory.h"
#include "platform/sjis_literal.h"
#include "view_fixture.h"

namespace {

using PanePortTest = ViewFixture;

TEST_F(PanePortTest, MarksCarryTheThreeRangesAndUnsetOnesStayUnset) {
  view->m_sSelect = SelectRange{1, 2, 3, 4};
  view->m_sSelectBgn = SelectRange{1, 2, 1, 2};
  const PaneMarks marks = view->GetMarks();
  EXPECT_EQ(marks.ranges[0].x, 2);
  EXPECT_EQ(marks.ranges[0].y, 1);
  EXPECT_EQ(marks.ranges[1].x, 4);
  EXPECT_EQ(marks.ranges[1].y, 3);
  EXPECT_EQ(marks.ranges[4].y, -1) << "no drawn range";

  view->m_sSelect.Clear();
  view->m_sSelectBgn.Clear();
  view->m_sSelectOld = SelectRange{7, 7, 7, 7};
  view->RestoreMarks(marks);
  EXPECT_EQ(view->m_sSelect, (SelectRange{1, 2, 3, 4}));
  EXPECT_EQ(view->m_sSelectBgn, (SelectRange{1, 2, 1, 2}));
  EXPECT_EQ(view->m_sSelectOld, (SelectRange{7, 7, 7, 7})) << "an unset range restores nothing";
}

TEST_F(PanePortTest, SelectedFirstLineOrWordAtCaretCutOnWholeCharacters) {
  SetText("alpha beta\r\n漢字かな\r\n"_sj);
  CMemory out;
  struct Case {
    const char* name;
    SelectRange selection;
    int caretColumn;
    int caretLine;
    int maxBytes;
    std::string expected;
  };
  const Case cases[] = {
      {"selection's first line", {0, 6, 1, 2}, 0, 0, 100, "beta"},
      {"word at the caret", {}, 2, 0, 100, "alpha"},
      {"cut at the limit", {0, 0, 0, 10}, 0, 0, 3, "alp"},
      {"never half a kanji", {1, 0, 1, 8}, 0, 0, 5, "漢字"_sj},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view->m_sSelect = c.selection;
    view->m_nCaretPosX = c.caretColumn;
    view->m_nCaretPosY = c.caretLine;
    view->GetSelectedTextOrWord(&out, c.maxBytes);
    EXPECT_EQ(out.View(), c.expected);
  }
}

TEST_F(PanePortTest, FocusLossDropsTheCaretAndTopLeftIsNeverNegative) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(300, 'x') + "\r\n";
  type().nWrapColumn = 400;
  SetText(text);
  view->m_nCaretWidth = 2;
  view->OnFocusLost();
  EXPECT_EQ(view->m_nCaretWidth, 0);
  view->SetViewTopLeft(-3, -4);
  EXPECT_EQ(view->ViewTopLine(), 0);
  EXPECT_EQ(view->ViewLeftColumn(), 0);
  view->SetViewTopLeft(5, 6);
  EXPECT_EQ(view->ViewTopLine(), 5);
  EXPECT_EQ(view->ViewLeftColumn(), 6);
}

}  // namespace
