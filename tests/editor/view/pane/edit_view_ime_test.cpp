// Input-method reconversion of a pane without a window: the text served around the caret or the
// selection, and the range the input method confirms.
#include <string>

#include "editor/view/pane/edit_view.h"
#include "platform/sjis_literal.h"
#include "view_fixture.h"

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}
std::u16string Repeat(const std::u16string& piece, int times) {
  std::u16string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

class ReconvertTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    type().nWrapColumn = 1000;  // long lines stay one display line
  }
  // A selection from one display position to another (the caret ends at the second).
  void Select(int line1, int column1, int line2, int column2) {
    view->ClearSelection(true);
    view->PlaceCursor(column1, line1, true, 1000);
    view->BeginSelectionAtCaret();
    view->PlaceCursor(column2, line2, true, 1000);
    view->ChangeSelectionTo(column2, line2);
  }
};

TEST_F(ReconvertTest, TheTextAroundTheTarget) {
  const std::string kanji150 = Repeat("漢"_sj, 150);
  struct Case {
    const char* name;
    std::string text;
    int line1, column1, line2, column2;  // a selection, or the caret when both ends are equal
    std::u16string expected;
    int targetStart;
    int targetLength;
  };
  const Case cases[] = {
      {"the caret in a line", "abc def", 0, 4, 0, 4, u"abc def", 4, 0},
      {"the caret after kanji", "漢字かな"_sj, 0, 4, 0, 4, u"漢字かな", 2, 0},
      {"a selection", "漢字かな"_sj, 0, 4, 0, 8, u"漢字かな", 2, 2},
      {"a selection over two lines ends with the first", "ab漢字\r\ncd"_sj, 0, 2, 1, 1, u"ab漢字", 2, 2},
      {"200 bytes before the caret", Repeat("a", 250), 0, 250, 0, 250, Repeat(u"a", 200), 200, 0},
      // 200 bytes back is the trail byte of a kanji: that kanji is left out.
      {"whole characters before", "a" + kanji150 + "b", 0, 302, 0, 302, Repeat(u"漢", 99) + u"b", 100, 0},
      {"200 bytes after the caret", Repeat("x", 300), 0, 0, 0, 0, Repeat(u"x", 200), 0, 0},
      {"whole characters after", "a" + kanji150, 0, 0, 0, 0, u"a" + Repeat(u"漢", 99), 0, 0},
      {"a long selection is cut to the text", Repeat("x", 300), 0, 0, 0, 300, Repeat(u"x", 200), 0, 200},
      {"half-width katakana", "ｱｲｳ"_sj, 0, 1, 0, 2, u"ｱｲｳ", 1, 1},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    if (c.line1 == c.line2 && c.column1 == c.column2) {
      view->ClearSelection(true);
      view->PlaceCursor(c.column1, c.line1, true, 1000);
    } else {
      Select(c.line1, c.column1, c.line2, c.column2);
    }
    const CEditView::ReconvertText result = view->HandleReconvertString();
    EXPECT_EQ(result.text, c.expected) << c.name;
    EXPECT_EQ(result.targetStart, c.targetStart) << c.name;
    EXPECT_EQ(result.targetLength, c.targetLength) << c.name;
  }
}

TEST_F(ReconvertTest, NothingOnAnEmptyLineOrInBoxMode) {
  SetText("\r\nabc");
  view->PlaceCursor(0, 0, true, 1000);
  EXPECT_TRUE(view->HandleReconvertString().text.empty());
  EXPECT_FALSE(view->HandleConfirmReconvert(0, 1));

  view->PlaceCursor(1, 1, true, 1000);
  view->m_bBeginBoxSelect = true;
  EXPECT_TRUE(view->HandleReconvertString().text.empty());
  EXPECT_FALSE(view->HandleConfirmReconvert(0, 1));
}

TEST_F(ReconvertTest, ConfirmSelectsTheRangeOfTheServedText) {
  struct Case {
    const char* name;
    std::string text;
    int caretColumn;
    int start;
    int length;
    SelectRange selection;
  };
  const Case cases[] = {
      {"kanji", "漢字かな"_sj, 0, 2, 2, {0, 4, 0, 8}},
      {"from a text that starts inside the line", Repeat("a", 250), 250, 1, 3, {0, 51, 0, 54}},
      {"mixed widths", "aかbき"_sj, 4, 1, 3, {0, 1, 0, 6}},
      {"a range past the text ends with it", "ab漢"_sj, 0, 1, 10, {0, 1, 0, 4}},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    view->ClearSelection(true);
    view->PlaceCursor(c.caretColumn, 0, true, 1000);
    view->HandleReconvertString();
    ASSERT_TRUE(view->HandleConfirmReconvert(c.start, c.length)) << c.name;
    EXPECT_EQ(view->m_sSelect, c.selection) << c.name;
    EXPECT_EQ(view->m_nCaretPosX, c.selection.nColumnFrom) << c.name;
    // Once confirmed, the reconversion is over.
    EXPECT_FALSE(view->HandleConfirmReconvert(c.start, c.length)) << c.name;
  }
}

TEST_F(ReconvertTest, ConfirmWithoutARequestDoesNothing) {
  SetText("abc");
  view->PlaceCursor(1, 0, true, 1000);
  EXPECT_FALSE(view->HandleConfirmReconvert(0, 2));
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(view->m_nCaretPosX, 1);
}

}  // namespace
