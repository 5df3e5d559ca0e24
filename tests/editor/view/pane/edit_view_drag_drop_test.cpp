// Text dragged inside a pane and dropped on it from elsewhere: the pane window takes the toolkit's
// drag events (synthesised, offscreen), and its own drags start through the hook that lets them go
// at a point.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "pane_window_fixture.h"
#include "platform/drag_drop.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kUndo = 30210;
constexpr int kRedo = 30211;

class DragDropPaneTest : public PaneWindowFixture {
 protected:
  void SetUp() override {
    PaneWindowFixture::SetUp();
    common().bUseOLE_DragDrop = 1;
    common().bUseOLE_DropSource = 1;
    common().bAddCRLFWhenCopy = 0;
  }
  void TearDown() override {
    platform::SetDragHook({});
    PaneWindowFixture::TearDown();
  }

  // The middle of a character cell (column, line) in the pane's client area.
  POINT Cell(int column, int line) const {
    return POINT{view->ColumnX(column) + view->ColumnWidth() / 2, view->LineY(line) + view->LineHeight() / 2};
  }
  // The left edge of a cell: where a drop puts the caret before that column.
  POINT Before(int column, int line) const {
    return POINT{view->ColumnX(column) + 1, view->LineY(line) + view->LineHeight() / 2};
  }

  // Selects from (column, line) to (column2, line2) as a normal or box selection.
  void Select(int column, int line, int column2, int line2, bool box) {
    view->ClearSelection(true);
    view->PlaceCursor(column, line, true, 20);
    view->m_bBeginBoxSelect = box;
    view->BeginSelectionAtCaret();
    view->PlaceCursor(column2, line2, true, 20);
    view->ChangeSelectionTo(column2, line2);
  }

  // Drags the selection and lets it go at a point of the pane with the keys given; the effect.
  DWORD DragTo(POINT at, DWORD keyState) {
    hookCalls = 0;
    platform::SetDragHook([&, at, keyState](HWND source, std::string_view text) {
      ++hookCalls;
      dragged = std::string(text);
      EXPECT_EQ(source, view->Window());
      return platform::DragRelease{view->Window(), at, keyState};
    });
    return view->DragSelectedText();
  }

  int StepCount() const { return doc->m_cUndoBuffer.GetCount(); }
  POINT CaretDoc() const { return POINT{view->m_nCaretPosX_PHY, view->m_nCaretPosY_PHY}; }

  int hookCalls = 0;
  std::string dragged;
};

struct MoveCase {
  const char* name;
  const char* text;
  int col1, line1, col2, line2;  // the selection
  bool box;
  int dropCol, dropLine;
  DWORD keys;
  DWORD effect;
  const char* after;
  POINT caret;  // document position after the drop
};

class DragMoveTest : public DragDropPaneTest {
 protected:
  // Drags the case's selection to its drop point: the bytes, the caret, one undo step.
  void CheckMove(const MoveCase& c) {
    SetText(c.text);
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    Select(c.col1, c.line1, c.col2, c.line2, c.box);
    EXPECT_EQ(DragTo(Before(c.dropCol, c.dropLine), c.keys), c.effect) << c.name;
    EXPECT_EQ(hookCalls, 1) << c.name;
    EXPECT_EQ(DocBytes(), c.after) << c.name;
    EXPECT_EQ(CaretDoc().x, c.caret.x) << c.name;
    EXPECT_EQ(CaretDoc().y, c.caret.y) << c.name;
    EXPECT_FALSE(view->IsTextSelected()) << c.name;
    EXPECT_FALSE(view->m_bDragSource) << c.name;
    EXPECT_FALSE(view->m_bDragMode) << c.name;
    // One step takes the whole drop back, and brings it again.
    EXPECT_EQ(StepCount(), 1) << c.name;
    EXPECT_TRUE(doc->m_bIsModified) << c.name;
    view->RunCommand(kUndo, true, 0, 0, 0, 0);
    EXPECT_EQ(DocBytes(), c.text) << c.name;
    EXPECT_FALSE(doc->m_bIsModified) << c.name;
    view->RunCommand(kRedo, true, 0, 0, 0, 0);
    EXPECT_EQ(DocBytes(), c.after) << c.name;
  }
};

TEST_F(DragMoveTest, SelectionsMovedAndCopiedInsideThePane) {
  const char* lines = "abcdef\r\nghijkl\r\nmnopqr\r\n";
  const MoveCase cases[] = {
      // The caret goes back to the drop point, which the deletion on the line above leaves in place.
      {"moved down", lines, 1, 0, 3, 0, false, 2, 2, MK_LBUTTON, DROPEFFECT_MOVE,
       "adef\r\nghijkl\r\nmnbcopqr\r\n", {2, 2}},
      {"moved down from several lines", lines, 1, 0, 1, 1, false, 3, 2, MK_LBUTTON, DROPEFFECT_MOVE,
       "ahijkl\r\nmnobcdef\r\ngpqr\r\n", {1, 2}},
      {"moved right on its own line", lines, 1, 0, 3, 0, false, 5, 0, MK_LBUTTON, DROPEFFECT_MOVE,
       "adebcf\r\nghijkl\r\nmnopqr\r\n", {5, 0}},
      {"moved up", lines, 3, 2, 5, 2, false, 1, 0, MK_LBUTTON, DROPEFFECT_MOVE,
       "apqbcdef\r\nghijkl\r\nmnor\r\n", {3, 0}},
      {"moved up from several lines", lines, 4, 1, 2, 2, false, 2, 0, MK_LBUTTON, DROPEFFECT_MOVE,
       "abkl\r\nmncdef\r\nghijopqr\r\n", {2, 1}},
      {"Ctrl copies", lines, 1, 0, 3, 0, false, 2, 1, MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY,
       "abcdef\r\nghbcijkl\r\nmnopqr\r\n", {4, 1}},
      // A copy counts the selection's start before it and its end after it: the drop's own Ctrl
      // says so, whatever the keyboard is thought to hold.
      {"Ctrl copies to its own start", lines, 1, 0, 3, 0, false, 1, 0, MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY,
       "abcbcdef\r\nghijkl\r\nmnopqr\r\n", {3, 0}},
      {"Ctrl copies to its own end", lines, 1, 0, 3, 0, false, 3, 0, MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY,
       "abcbcdef\r\nghijkl\r\nmnopqr\r\n", {5, 0}},
  };
  for (const MoveCase& c : cases) CheckMove(c);
}

TEST_F(DragMoveTest, BoxesMovedAndCopiedInsideThePane) {
  const char* grid =
      "aaaaaaaa\r\n"
      "bbbbbbbb\r\n"
      "cc12cccc\r\n"
      "dd34dddd\r\n"
      "ee56eeee\r\n"
      "ffffffff\r\n"
      "gggggggg\r\n"
      "hhhhhhhh\r\n"
      "iiiiiiii\r\n";
  const MoveCase cases[] = {
      {"box moved below itself", grid, 2, 2, 4, 4, true, 1, 6, MK_LBUTTON, DROPEFFECT_MOVE,
       "aaaaaaaa\r\nbbbbbbbb\r\ncccccc\r\ndddddd\r\neeeeee\r\nffffffff\r\ng12ggggggg\r\nh34hhhhhhh\r\ni56iiiiiii\r\n",
       {1, 6}},
      {"box moved left on its own rows", grid, 2, 2, 4, 4, true, 0, 3, MK_LBUTTON, DROPEFFECT_MOVE,
       "aaaaaaaa\r\nbbbbbbbb\r\ncccccc\r\n12dddddd\r\n34eeeeee\r\n56ffffffff\r\ngggggggg\r\nhhhhhhhh\r\niiiiiiii\r\n",
       {0, 3}},
      // Pasted first, the rows would split the box's text and its deletion take the wrong bytes.
      {"box moved up over its own rows", grid, 2, 2, 4, 4, true, 3, 1, MK_LBUTTON, DROPEFFECT_MOVE,
       "aaaaaaaa\r\nbbb12bbbbb\r\nccc34ccc\r\nddd56ddd\r\neeeeee\r\nffffffff\r\ngggggggg\r\nhhhhhhhh\r\niiiiiiii\r\n",
       {3, 1}},
      {"box copied with Ctrl to its own left column", grid, 2, 2, 4, 4, true, 2, 2, MK_LBUTTON | MK_CONTROL,
       DROPEFFECT_COPY,
       "aaaaaaaa\r\nbbbbbbbb\r\ncc1212cccc\r\ndd3434dddd\r\nee5656eeee\r\nffffffff\r\ngggggggg\r\nhhhhhhhh\r\n"
       "iiiiiiii\r\n",
       {2, 2}},
      {"box copied with Ctrl", grid, 2, 2, 4, 4, true, 6, 0, MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY,
       "aaaaaa12aa\r\nbbbbbb34bb\r\ncc12cc56cc\r\ndd34dddd\r\nee56eeee\r\nffffffff\r\ngggggggg\r\nhhhhhhhh\r\niiiiiiii\r\n",
       {6, 0}},
  };
  for (const MoveCase& c : cases) CheckMove(c);
}

TEST_F(DragDropPaneTest, TheOwnSelectionDroppedOnItselfIsRefused) {
  const char* text = "abcdef\r\nghijkl\r\n";
  struct Case {
    const char* name;
    bool box;
    int col1, line1, col2, line2;
    int dropCol, dropLine;
  };
  const Case cases[] = {
      {"inside a normal selection", false, 1, 0, 4, 0, 2, 0},
      {"at a normal selection's start", false, 1, 0, 4, 0, 1, 0},
      {"at a normal selection's end", false, 1, 0, 4, 0, 4, 0},
      {"at a box's right column", true, 1, 0, 4, 1, 4, 1},
      {"inside a box", true, 1, 0, 4, 1, 3, 1},
  };
  for (const Case& c : cases) {
    SetText(text);
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    Select(c.col1, c.line1, c.col2, c.line2, c.box);
    EXPECT_EQ(DragTo(Before(c.dropCol, c.dropLine), MK_LBUTTON), DROPEFFECT_NONE) << c.name;
    EXPECT_EQ(hookCalls, 1) << c.name;
    EXPECT_EQ(DocBytes(), text) << c.name;
    EXPECT_EQ(StepCount(), 0) << c.name;
    EXPECT_FALSE(doc->m_bIsModified) << c.name;
    EXPECT_FALSE(view->m_bDragMode) << c.name;
  }
}

TEST_F(DragDropPaneTest, AClickInTheSelectionDragsItsText) {
  SetText("abcdef\r\nghijkl\r\n");
  Select(1, 0, 4, 0, false);
  // Let go where it was taken: nothing moves, and the click puts the caret there instead.
  const POINT click = Before(2, 0);
  platform::SetDragHook([&](HWND, std::string_view text) {
    dragged = std::string(text);
    return platform::DragRelease{view->Window(), click, MK_LBUTTON};
  });
  platform::SendMessage(view->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
  EXPECT_EQ(dragged, "bcd");
  EXPECT_EQ(DocBytes(), "abcdef\r\nghijkl\r\n");
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(view->m_nCaretPosX, 2);
  EXPECT_EQ(view->m_nCaretPosY, 0);

  // Let go on the next line: the text moves.
  Select(1, 0, 4, 0, false);
  const POINT drop = Before(3, 1);
  platform::SetDragHook([&](HWND, std::string_view) { return platform::DragRelease{view->Window(), drop, MK_LBUTTON}; });
  platform::SendMessage(view->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Cell(2, 0).x, Cell(2, 0).y));
  EXPECT_EQ(DocBytes(), "aef\r\nghibcdjkl\r\n");

  // A cancelled drag leaves the text and puts the caret at the click.
  Select(0, 1, 3, 1, false);
  platform::SetDragHook([](HWND, std::string_view) { return platform::DragRelease{}; });
  platform::SendMessage(view->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Before(1, 1).x, Before(1, 1).y));
  EXPECT_EQ(DocBytes(), "aef\r\nghibcdjkl\r\n");
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(view->m_nCaretPosX, 1);
  EXPECT_EQ(view->m_nCaretPosY, 1);
}

TEST_F(DragDropPaneTest, TheDraggedTextGoesOutAsPlainTextAndThePrivateBlock) {
  // Another window of the program takes what the pane's drag carries.
  struct Taker final : platform::DropTarget {
    bool DragEnter(const platform::DropData& d, DWORD, POINT, DWORD* effect) override {
      data = d;
      *effect = DROPEFFECT_COPY;
      return true;
    }
    DWORD DragOver(DWORD, POINT) override { return DROPEFFECT_COPY; }
    void DragLeave() override {}
    DWORD Drop(const platform::DropData&, DWORD, POINT) override { return DROPEFFECT_COPY; }
    platform::DropData data;
  } taker;
  ASSERT_TRUE(platform::RegisterDropTarget(top, &taker));
  SetText("ab\x82\xa0" "cd\r\nef\r\n");
  Select(1, 0, 1, 1, false);
  platform::SetDragHook([&](HWND, std::string_view) { return platform::DragRelease{top, POINT{5, 5}, MK_LBUTTON}; });
  EXPECT_EQ(view->DragSelectedText(), DROPEFFECT_COPY);
  platform::RevokeDropTarget(top);
  const std::string selected("b\x82\xa0" "cd\r\ne");
  EXPECT_EQ(taker.data.text, std::u16string(u"bあcd\r\ne"));
  EXPECT_FALSE(taker.data.sameWindow);
  const std::string* block = taker.data.Format(PrivateClipFormat());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(*block, MakePrivateClipBlock(selected));
  // A copy to another window leaves the pane's text and selection.
  EXPECT_EQ(DocBytes(), "ab\x82\xa0" "cd\r\nef\r\n");
  EXPECT_TRUE(view->IsTextSelected());
}

TEST_F(DragDropPaneTest, ADropFromAnotherProgramIsTypedInAsOneStep) {
  struct Case {
    const char* name;
    platform::ForeignDrag drag;
    const char* after;
    POINT caret;
  };
  const UINT own = PrivateClipFormat();
  const Case cases[] = {
      {"plain text", platform::ForeignDrag{reinterpret_cast<const char*>(u8"X\r\nあ")},
       "abcX\r\n\x82\xa0" "def\r\nghijkl\r\n", {2, 1}},
      {"a character without a code becomes the geta mark", platform::ForeignDrag{reinterpret_cast<const char*>(u8"xé")},
       "abcx\x81\xac" "def\r\nghijkl\r\n", {6, 0}},
      {"the private block byte for byte, up to its NUL",
       platform::ForeignDrag{std::string("other"), {{own, MakePrivateClipBlock(std::string_view("p\x82\xa0\0q", 5))}}},
       "abcp\x82\xa0" "def\r\nghijkl\r\n", {6, 0}},
      {"a private block longer than its data: the plain text",
       platform::ForeignDrag{std::string("plain"), {{own, std::string("\xff\0\0\0" "ab", 6)}}},
       "abcplaindef\r\nghijkl\r\n", {8, 0}},
  };
  for (const Case& c : cases) {
    SetText("abcdef\r\nghijkl\r\n");
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    // A selection of the pane is dropped, not replaced.
    Select(0, 1, 2, 1, false);
    EXPECT_EQ(platform::DropFromOutside(view->Window(), Before(3, 0), c.drag), DROPEFFECT_COPY) << c.name;
    EXPECT_EQ(DocBytes(), c.after) << c.name;
    EXPECT_FALSE(view->IsTextSelected()) << c.name;
    EXPECT_EQ(CaretDoc().x, c.caret.x) << c.name;
    EXPECT_EQ(CaretDoc().y, c.caret.y) << c.name;
    EXPECT_EQ(StepCount(), 1) << c.name;
    EXPECT_FALSE(view->m_bDragMode) << c.name;
    view->RunCommand(kUndo, true, 0, 0, 0, 0);
    EXPECT_EQ(DocBytes(), "abcdef\r\nghijkl\r\n") << c.name;
    EXPECT_FALSE(doc->m_bIsModified) << c.name;
  }
}

TEST_F(DragDropPaneTest, DropsThePaneRefuses) {
  struct Case {
    const char* name;
    std::function<void()> setUp;
    platform::ForeignDrag drag;
  };
  const platform::ForeignDrag text{std::string("x")};
  const Case cases[] = {
      {"a read-only document", [&] { doc->m_bReadOnly = true; }, text},
      {"a document missing its write lock", [&] { doc->m_nLockMode = 1; }, text},
      {"a list of files", [] {}, platform::ForeignDrag{std::nullopt, {}, {"/tmp/a.txt"}}},
      {"files with their names as text", [] {}, platform::ForeignDrag{std::string("/tmp/a.txt"), {}, {"/tmp/a.txt"}}},
      {"no text at all", [] {}, platform::ForeignDrag{}},
      {"a broken private block alone", [] {},
       platform::ForeignDrag{std::nullopt, {{PrivateClipFormat(), std::string("\x09\0\0\0" "ab", 6)}}}},
      {"drag and drop switched off", [&] { common().bUseOLE_DragDrop = 0; }, text},
  };
  for (const Case& c : cases) {
    SetText("abc\r\n");
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    doc->m_bReadOnly = false;
    doc->m_nLockMode = CEditDoc::kLockNone;
    common().bUseOLE_DragDrop = 1;
    c.setUp();
    EXPECT_EQ(platform::DropFromOutside(view->Window(), Before(1, 0), c.drag), DROPEFFECT_NONE) << c.name;
    EXPECT_EQ(DocBytes(), "abc\r\n") << c.name;
    EXPECT_EQ(StepCount(), 0) << c.name;
    EXPECT_FALSE(doc->m_bIsModified) << c.name;
    EXPECT_FALSE(view->m_bDragMode) << c.name;
  }
  doc->m_bReadOnly = false;
  doc->m_nLockMode = CEditDoc::kLockNone;
}

TEST_F(DragDropPaneTest, ADragThatLeavesLetsThePaneGo) {
  SetText("abc\r\n");
  DWORD effect = DROPEFFECT_NONE;
  platform::DropData data;
  data.text = u"x";
  ASSERT_TRUE(view->HandleDragEnter(data, MK_LBUTTON, Before(2, 0), &effect));
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  EXPECT_TRUE(view->m_bDragMode);
  // The caret follows the pointer while the drag is over the pane.
  EXPECT_EQ(view->HandleDragOver(MK_LBUTTON, Before(1, 0)), DROPEFFECT_COPY);
  EXPECT_EQ(view->m_nCaretPosX, 1);
  view->HandleDragLeave();
  EXPECT_FALSE(view->m_bDragMode);
  EXPECT_EQ(view->HandleDragOver(MK_LBUTTON, Before(2, 0)), DROPEFFECT_NONE);
  EXPECT_EQ(DocBytes(), "abc\r\n");
}

TEST_F(DragDropPaneTest, ADropNeedsNoEnterBeforeIt) {
  // The drop brings its own text: a pane told of nothing before still takes it.
  SetText("abc\r\n");
  doc->m_cUndoBuffer.Clear();
  platform::DropData data;
  data.text = u"xy";
  EXPECT_EQ(view->HandleDrop(data, 0, Before(1, 0)), DROPEFFECT_COPY);
  EXPECT_EQ(DocBytes(), "axybc\r\n");
  EXPECT_EQ(StepCount(), 1);
  EXPECT_FALSE(view->m_bDragMode);
}

}  // namespace
