#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "editor/foundation/beep_capture.h"
#include "editor/foundation/clipboard_plain.h"
#include "platform/clipboard.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kDelete = 30221;
constexpr int kDeleteBack = 30222;
constexpr int kWordDeleteToStart = 30230;
constexpr int kWordDeleteToEnd = 30231;
constexpr int kWordCut = 30232;
constexpr int kWordDelete = 30233;
constexpr int kLineCutToStart = 30240;
constexpr int kLineCutToEnd = 30241;
constexpr int kLineDeleteToStart = 30242;
constexpr int kLineDeleteToEnd = 30243;
constexpr int kCutLine = 30244;
constexpr int kDeleteLine = 30245;
constexpr int kCut = 30601;
constexpr int kCopy = 30602;
constexpr int kCopyCRLF = 30603;
constexpr int kPaste = 30604;
constexpr int kPasteBox = 30605;
constexpr int kCopyAddCRLF = 30608;
constexpr int kCopyPath = 30620;
constexpr int kCopyTag = 30621;
constexpr int kCopyFilename = 30622;
constexpr int kCopyKeyBindList = 30630;

struct Caret {
  int column;
  int row;
  bool operator==(const Caret&) const = default;
};

void PrintTo(const Caret& c, std::ostream* os) { *os << "(" << c.column << ", " << c.row << ")"; }

// Holds the clipboard open for another owner of this process while it lives: every open by the
// pane fails meanwhile, as when another window is in the middle of using the clipboard.
class ClipboardHeldElsewhere {
 public:
  ClipboardHeldElsewhere() : m_held(platform::OpenClipboard(Owner()) != 0) {}
  ~ClipboardHeldElsewhere() {
    if (m_held) platform::CloseClipboard();
  }
  ClipboardHeldElsewhere(const ClipboardHeldElsewhere&) = delete;
  ClipboardHeldElsewhere& operator=(const ClipboardHeldElsewhere&) = delete;
  bool Held() const { return m_held; }

 private:
  // A handle no pane has; only compared, never used as a window.
  static HWND Owner() {
    static char tag;
    return reinterpret_cast<HWND>(&tag);
  }
  bool m_held;
};

class ClipboardCommandTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 10;
    type().nTabWidth = 4;
    Relayout();
    SetClipboardPlain("");
  }

  void Run(int command) { view->RunCommand(command, true, 0, 0, 0, 0); }
  void PlaceAt(Caret c) {
    view->PlaceCursor(c.column, c.row, true, 20);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
  }
  Caret Where() const { return Caret{view->m_nCaretPosX, view->m_nCaretPosY}; }
  void Select(Caret from, Caret to) {
    PlaceAt(from);
    view->BeginSelectionAtCaret();
    PlaceAt(to);
    view->ChangeSelectionTo(to.column, to.row);
  }
  // A selection from `from` to `to`, else the caret at `from`.
  void SelectOrPlace(Caret from, const std::optional<Caret>& to) {
    if (to) {
      Select(from, *to);
    } else {
      PlaceAt(from);
    }
  }
  // A box selection, as BeginBoxSelect and a caret move make it.
  void SelectBox(Caret from, Caret to) {
    PlaceAt(from);
    view->Command_BEGINBOXSELECT();
    PlaceAt(to);
    view->ChangeSelectionTo(to.column, to.row);
    view->m_bSelectingLock = false;
  }

};

// ---- Deleting -------------------------------------------------------------------------------------

struct DeleteCase {
  const char* name;
  std::string text;
  Caret caret;
  int command;
  std::string after;  // the bytes afterwards; the text itself when nothing may change
  Caret caretAfter;
  int beeps = 0;
  std::function<void(CommonSettings&)> settings = nullptr;
  std::optional<Caret> caretAfterUndo = std::nullopt;  // the caret itself when not given
};

class DeleteCommandTable : public ClipboardCommandTest, public testing::WithParamInterface<DeleteCase> {};

// Every deletion is one undo step that gives back the bytes and the caret exactly; one that beeps
// changes nothing and leaves no step.
TEST_P(DeleteCommandTable, DeletesAndUndoesExactly) {
  const DeleteCase& c = GetParam();
  if (c.settings) c.settings(common());
  SetText(c.text);
  PlaceAt(c.caret);
  BeepCapture beeps;
  Run(c.command);
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(Where(), c.caretAfter);
  EXPECT_EQ(beeps.beeps.size(), static_cast<size_t>(c.beeps));
  const bool changed = c.after != c.text;
  EXPECT_EQ(doc->m_bIsModified, changed);
  EXPECT_EQ(StepCount(), changed ? 1 : 0);
  if (!changed) return;
  Undo();
  EXPECT_EQ(DocBytes(), c.text);
  EXPECT_EQ(Where(), c.caretAfterUndo.value_or(c.caret)) << "undo puts the caret back";
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_EQ(DocBytes(), c.after);
}

const DeleteCase kDeleteCases[] = {
    {"DeleteTakesTheCharacterAtTheCaret", "abc", {1, 0}, kDelete, "ac", {1, 0}},
    {"DeleteAtTheLineEndJoinsTheNextLine", "ab\r\ncd", {2, 0}, kDelete, "abcd", {2, 0}},
    {"DeleteBackAtALineStartJoinsItToThePreviousLine", "ab\r\ncd", {0, 1}, kDeleteBack, "abcd", {2, 0}},
    {"DeleteBackAtTheFirstRowsStartDoesNothing", "ab\r\ncd", {0, 0}, kDeleteBack, "ab\r\ncd", {0, 0}},
    {"DeleteBackTakesADoubleByteCharacterWhole", "a"_sj + std::string("あ"_sj) + "b", {3, 0}, kDeleteBack, "ab",
     {1, 0}},
    {"DeleteBackInTheFreeSpaceOnlyMovesTheCaret",
     "ab\r\ncd",
     {5, 0},
     kDeleteBack,
     "ab\r\ncd",
     {4, 0},
     0,
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; }},
    // Rows 0 and 1 are one document line wrapped at column 10.
    {"DeleteBackAtAContinuationRowTakesTheCharacterBeforeTheWrap", "0123456789abc", {0, 1}, kDeleteBack,
     "012345678abc", {9, 0}},
    {"DeleteAtTheEndOfAWrappedRowTakesTheNextRowsFirstCharacter", "0123456789abc", {0, 1}, kDelete,
     "0123456789bc", {0, 1}},
    {"WordDeleteToEndTakesUpToTheNextWord", "foo bar", {1, 0}, kWordDeleteToEnd, "fbar", {1, 0}},
    {"WordDeleteToStartTakesTheWordBeforeTheCaret", "foo bar", {6, 0}, kWordDeleteToStart, "foo r", {4, 0}},
    {"WordDeleteToEndAtTheEndBeeps", "foo", {3, 0}, kWordDeleteToEnd, "foo", {3, 0}, 1},
    {"WordDeleteToStartAtTheStartBeeps", "foo", {0, 0}, kWordDeleteToStart, "foo", {0, 0}, 1},
    // The word is selected first, which puts the caret at its end: undo comes back there.
    {"WordDeleteTakesTheWordAtTheCaret", "foo bar", {5, 0}, kWordDelete, "foo ", {4, 0}, 0, nullptr, Caret{7, 0}},
    {"LineDeleteToStartTakesTheLineUpToTheCaret", "abc\r\ndef", {2, 1}, kLineDeleteToStart, "abc\r\nf", {0, 1}},
    {"LineDeleteToStartAtTheLineStartBeeps", "abc\r\ndef", {0, 1}, kLineDeleteToStart, "abc\r\ndef", {0, 1}, 1},
    // Rows 0 and 1 are one document line wrapped at column 10.
    {"LineDeleteToStartReachesBackOverAWrap", "0123456789abcd\r\nx", {2, 1}, kLineDeleteToStart, "cd\r\nx", {0, 0}},
    {"LineDeleteToEndKeepsTheLineEnd", "abc\r\ndef", {1, 0}, kLineDeleteToEnd, "a\r\ndef", {1, 0}},
    {"LineDeleteToEndReachesOverAWrap", "0123456789abcd\r\nx", {2, 0}, kLineDeleteToEnd, "01\r\nx", {2, 0}},
    {"LineDeleteToEndAtTheLineEndBeeps", "abc\r\ndef", {3, 0}, kLineDeleteToEnd, "abc\r\ndef", {3, 0}, 1},
    {"DeleteLineTakesTheRowAndItsLineEnd", "a\r\nbbb\r\nc\r\n", {2, 1}, kDeleteLine, "a\r\nc\r\n", {1, 1}},
    {"DeleteLineKeepsTheColumnInFreeCursorMode",
     "a\r\nbbb\r\nc\r\n",
     {2, 1},
     kDeleteLine,
     "a\r\nc\r\n",
     {2, 1},
     0,
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; }},
    {"DeleteLineOnTheLastRowLeavesAnEmptyRow", "a\r\nbb", {1, 1}, kDeleteLine, "a\r\n", {0, 1}},
    {"DeleteLineOnTheRowAfterTheLastBeeps", "a\r\n", {0, 1}, kDeleteLine, "a\r\n", {0, 1}, 1},
};

INSTANTIATE_TEST_SUITE_P(Table, DeleteCommandTable, testing::ValuesIn(kDeleteCases),
                         [](const testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardCommandTest, DeleteLineWithASelectionBeepsAndKeepsIt) {
  for (const int command : {kDeleteLine, kCutLine}) {
    SetText("abc\r\ndef");
    Select({1, 0}, {2, 1});
    SetClipboardPlain("before");
    BeepCapture beeps;
    Run(command);
    EXPECT_EQ(beeps.beeps.size(), 1u) << "command " << command;
    EXPECT_EQ(DocBytes(), "abc\r\ndef") << "command " << command;
    EXPECT_TRUE(view->IsTextSelected()) << "command " << command;
    EXPECT_EQ(ClipboardPlain(), "before") << "command " << command;
  }
}

TEST_F(ClipboardCommandTest, DeletionsTakeTheSelectionFirst) {
  for (const int command : {kDelete, kDeleteBack, kWordDelete, kLineDeleteToStart, kLineDeleteToEnd}) {
    SetText("abc def\r\nghi");
    Select({1, 0}, {2, 1});
    Run(command);
    EXPECT_EQ(DocBytes(), "ai") << "command " << command;
    EXPECT_EQ(Where(), (Caret{1, 0})) << "command " << command;
  }
}

TEST_F(ClipboardCommandTest, WordDeletesBeepOnABoxSelection) {
  for (const int command : {kWordDeleteToStart, kWordDeleteToEnd}) {
    SetText("abc def\r\nghi jkl");
    SelectBox({1, 0}, {5, 1});
    BeepCapture beeps;
    Run(command);
    EXPECT_EQ(beeps.beeps.size(), 1u) << "command " << command;
    EXPECT_EQ(DocBytes(), "abc def\r\nghi jkl") << "command " << command;
  }
}

// ---- Box paste ------------------------------------------------------------------------------------

struct BoxPasteCase {
  const char* name;
  std::string text;
  Caret caret;
  std::string pasted;
  std::string after;
};

class BoxPasteTable : public ClipboardCommandTest, public testing::WithParamInterface<BoxPasteCase> {};

// One step: every line at the caret's column of the rows below one another, the caret back where it
// was; undo gives back the bytes exactly.
TEST_P(BoxPasteTable, PastesEveryLineAtTheCaretsColumn) {
  const BoxPasteCase& c = GetParam();
  SetText(c.text);
  PlaceAt(c.caret);
  RunEdit([&c](CEditView& pane) { pane.PasteBoxText(c.pasted.data(), static_cast<int>(c.pasted.size())); });
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(Where(), c.caret);
  EXPECT_TRUE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), c.text);
  EXPECT_EQ(Where(), c.caret);
  EXPECT_FALSE(doc->m_bIsModified);
  Redo();
  EXPECT_EQ(DocBytes(), c.after);
}

const BoxPasteCase kBoxPasteCases[] = {
    {"ThreeLinesAtTheLastRowAddTwoRows", "ab\r\ncd", {1, 1}, "X\r\nY\r\nZ\r\n", "ab\r\ncXd\r\n Y\r\n Z"},
    {"ShortRowsArePaddedWithSpaces", "abcd\r\n\r\nabcd", {2, 0}, "12\r\n34\r\n56", "ab12cd\r\n  34\r\nab56cd"},
    {"EveryKindOfLineEndEndsALine", "a\r\nb\r\nc\r\nd", {1, 0}, "W\nX\rY\n\rZ", "aW\r\nbX\r\ncY\r\ndZ"},
    {"AnEmptyLineLeavesItsRowAlone", "ab\r\ncd\r\nef", {1, 0}, "X\r\n\r\nZ", "aXb\r\ncd\r\neZf"},
    {"AtTheRowAfterAFinalLineEnd", "ab\r\n", {0, 1}, "X\r\nY", "ab\r\nX\r\nY"},
    {"DoubleByteTextIntoAShorterRow", "abcd\r\nx", {3, 0}, "あ\r\nい"_sj,
     "abc"_sj + std::string("あ"_sj) + "d\r\nx  " + std::string("い"_sj)},
};

INSTANTIATE_TEST_SUITE_P(Table, BoxPasteTable, testing::ValuesIn(kBoxPasteCases),
                         [](const testing::TestParamInfo<BoxPasteCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardCommandTest, BoxPasteOfEmptyLinesChangesNothingAndLeavesNoStep) {
  SetText("ab\r\ncd");
  PlaceAt({1, 0});
  RunEdit([](CEditView& pane) { pane.PasteBoxText("\r\n\r\n", 4); });
  EXPECT_EQ(DocBytes(), "ab\r\ncd");
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 0);
}

TEST_F(ClipboardCommandTest, BoxPasteTakesTheInputLineEndForNewRows) {
  SetText("ab");
  doc->m_nNewLineType = CLineEnd::LF;
  PlaceAt({2, 0});
  RunEdit([](CEditView& pane) { pane.PasteBoxText("X\r\nY", 4); });
  EXPECT_EQ(DocBytes(), "abX\n  Y");
}

// ---- Drag in progress -----------------------------------------------------------------------------

class DragRefusalTable : public ClipboardCommandTest, public testing::WithParamInterface<int> {};

// While the mouse drags a selection, a command that would change the text beeps and leaves it; once
// the drag is over the same command changes it.
TEST_P(DragRefusalTable, BeepsAndKeepsTheTextWhileDragging) {
  const int command = GetParam();
  const std::string text = "abc def\r\nghi";
  SetText(text);
  SetClipboardPlain("Q\r\nR");
  PlaceAt({5, 0});
  BeepCapture beeps;
  view->m_bBeginSelect = true;
  Run(command);
  view->m_bBeginSelect = false;
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(DocBytes(), text);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 0);

  PlaceAt({5, 0});
  Run(command);
  EXPECT_NE(DocBytes(), text) << "without a drag the command changes the text";
}

INSTANTIATE_TEST_SUITE_P(Table, DragRefusalTable,
                         testing::Values(kDelete, kDeleteBack, kWordDeleteToStart, kWordDeleteToEnd, kWordCut,
                                         kWordDelete, kLineCutToStart, kLineCutToEnd, kLineDeleteToStart,
                                         kLineDeleteToEnd, kCutLine, kDeleteLine, kCut, kPaste, kPasteBox));

// ---- Copy -----------------------------------------------------------------------------------------

struct CopyCase {
  const char* name;
  std::string text;
  Caret from;
  std::optional<Caret> to;  // a selection from `from` to here; none: the caret at `from`
  int command;
  std::string copied;  // "before" when the clipboard must keep what it had
  int beeps = 0;
  std::function<void(CommonSettings&)> settings = nullptr;
};

class CopyCommandTable : public ClipboardCommandTest, public testing::WithParamInterface<CopyCase> {};

TEST_P(CopyCommandTable, PutsTheTextOnTheClipboard) {
  const CopyCase& c = GetParam();
  if (c.settings) c.settings(common());
  SetText(c.text);
  SelectOrPlace(c.from, c.to);
  SetClipboardPlain("before");
  BeepCapture beeps;
  Run(c.command);
  EXPECT_EQ(ClipboardPlain(), c.copied);
  EXPECT_EQ(beeps.beeps.size(), static_cast<size_t>(c.beeps));
  EXPECT_EQ(DocBytes(), c.text);
  EXPECT_FALSE(doc->m_bIsModified);
}

const CopyCase kCopyCases[] = {
    {"TheLastLineWithoutALineEndIsCopiedWithNone", "ab\r\ncd", {1, 1}, std::nullopt, kCopy, "cd"},
    {"ARowIsCopiedWithItsOwnLineEnd", "ab\nc", {0, 0}, std::nullopt, kCopy, "ab\n"},
    {"CopyCRLFEndsTheRowWithCrLf", "ab\nc", {0, 0}, std::nullopt, kCopyCRLF, "ab\r\n"},
    {"CopyAddCRLFAddsALineEndToTheLastLine", "ab\r\ncd", {1, 1}, std::nullopt, kCopyAddCRLF, "cd\r\n"},
    // Rows 0 and 1 are one document line wrapped at column 10.
    {"AWrappedRowIsCopiedAlone", "0123456789abc", {1, 0}, std::nullopt, kCopy, "0123456789"},
    {"AWrappedRowGetsALineEndWithTheSetting",
     "0123456789abc",
     {1, 0},
     std::nullopt,
     kCopy,
     "0123456789\r\n",
     0,
     [](CommonSettings& s) { s.bAddCRLFWhenCopy = 1; }},
    {"TheRowAfterTheLastHasNothingToCopy", "ab\r\n", {0, 1}, std::nullopt, kCopy, "before", 1},
    {"ASelectionIsCopiedWithItsOwnLineEnds", "abc\ndef", {1, 0}, Caret{2, 1}, kCopy, "bc\nde"},
    {"CopyCRLFWritesEveryLineEndOfTheSelectionAsCrLf", "abc\ndef\rg", {1, 0}, Caret{1, 2}, kCopyCRLF,
     "bc\r\ndef\r\ng"},
};

INSTANTIATE_TEST_SUITE_P(Table, CopyCommandTable, testing::ValuesIn(kCopyCases),
                         [](const testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardCommandTest, CopyEndsSelectModeAndWithTheSettingDropsTheSelection) {
  SetText("abc def");
  Select({1, 0}, {3, 0});
  view->m_bSelectingLock = true;
  Run(kCopy);
  EXPECT_FALSE(view->m_bSelectingLock);
  EXPECT_TRUE(view->IsTextSelected());

  common().bCopyAndDisablSelection = 1;
  Run(kCopy);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(ClipboardPlain(), "bc");
}

TEST_F(ClipboardCommandTest, CopyLinesCopiesTheSelectedRowsWhole) {
  struct Variant {
    int command;
    std::string copied;
  };
  view->Command_SETMSGQUOTESTR("> ");
  for (const Variant& v : {Variant{30610, "b1\r\nc1\r\n"}, Variant{30611, "> b1\r\n> c1\r\n"},
                         Variant{30612, "  2:b1\r\n  3:c1\r\n"}}) {
    SetText("a1\r\nb1\r\nc1\r\nd1");
    Select({1, 1}, {1, 2});
    SetClipboardPlain("before");
    Run(v.command);
    EXPECT_EQ(ClipboardPlain(), v.copied) << "command " << v.command;
  }
}

TEST_F(ClipboardCommandTest, CopyLinesWithoutASelectionDoesNothing) {
  SetText("a1\r\nb1");
  PlaceAt({1, 1});
  SetClipboardPlain("before");
  BeepCapture beeps;
  for (const int command : {30610, 30611, 30612}) Run(command);
  EXPECT_EQ(ClipboardPlain(), "before");
  EXPECT_TRUE(beeps.beeps.empty());
}

// ---- Cut ------------------------------------------------------------------------------------------

TEST_F(ClipboardCommandTest, CutTakesTheSelectionAndUndoBringsItBack) {
  SetText("abc\r\ndef");
  Select({1, 0}, {2, 1});
  Run(kCut);
  EXPECT_EQ(DocBytes(), "af");
  EXPECT_EQ(ClipboardPlain(), "bc\r\nde");
  EXPECT_TRUE(doc->m_bIsModified);
  Undo();
  EXPECT_EQ(DocBytes(), "abc\r\ndef");
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(ClipboardCommandTest, CutLineTakesTheRowAsAWholeLine) {
  SetText("a\r\nbbb\r\nc");
  PlaceAt({2, 1});
  Run(kCutLine);
  EXPECT_EQ(DocBytes(), "a\r\nc");
  EXPECT_EQ(ClipboardPlain(), "bbb\r\n");
  EXPECT_EQ(Where(), (Caret{1, 1}));
  // Pasted at a row's start it is a row again.
  PlaceAt({0, 0});
  Run(kPaste);
  EXPECT_EQ(DocBytes(), "bbb\r\na\r\nc");
}

TEST_F(ClipboardCommandTest, CutLineOnTheLastRowLeavesAnEmptyRow) {
  SetText("a\r\nbb");
  PlaceAt({1, 1});
  Run(kCutLine);
  EXPECT_EQ(DocBytes(), "a\r\n");
  EXPECT_EQ(ClipboardPlain(), "bb");
  EXPECT_EQ(Where(), (Caret{0, 1}));
  EXPECT_EQ(doc->m_cLayoutMgr.GetLineCount(), 1);
}

// CutLine copies its row as CopyLines does: a row without a line end of its own (the last one, or
// one that wraps) gets one on the clipboard only with the setting.
TEST_F(ClipboardCommandTest, ARowWithoutALineEndIsCopiedWholeAsTheSettingSays) {
  struct Case {
    const char* name;
    int command;
    std::string text;
    Caret caret;
    std::optional<Caret> selectTo;
    bool addLineEnd;
    std::string copied;
    std::string after;
  };
  const Case cases[] = {
      {"CutLine of the last row", kCutLine, "a\r\nbb", {1, 1}, std::nullopt, false, "bb", "a\r\n"},
      {"CutLine of the last row, asked", kCutLine, "a\r\nbb", {1, 1}, std::nullopt, true, "bb\r\n", "a\r\n"},
      // Rows 0 and 1 are one document line wrapped at column 10.
      {"CutLine of a wrapped row", kCutLine, "0123456789abc", {3, 0}, std::nullopt, false, "0123456789", "abc"},
      {"CutLine of a wrapped row, asked", kCutLine, "0123456789abc", {3, 0}, std::nullopt, true, "0123456789\r\n",
       "abc"},
      {"CopyLines of the last row", 30610, "a\r\nbb", {0, 0}, Caret{1, 1}, false, "a\r\nbb", "a\r\nbb"},
      {"CopyLines of the last row, asked", 30610, "a\r\nbb", {0, 0}, Caret{1, 1}, true, "a\r\nbb\r\n", "a\r\nbb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    common().bAddCRLFWhenCopy = c.addLineEnd ? 1 : 0;
    SetText(c.text);
    SelectOrPlace(c.caret, c.selectTo);
    SetClipboardPlain("before");
    BeepCapture beeps;
    Run(c.command);
    EXPECT_EQ(ClipboardPlain(), c.copied);
    EXPECT_EQ(DocBytes(), c.after);
    EXPECT_TRUE(beeps.beeps.empty());
  }
}

TEST_F(ClipboardCommandTest, CutWithoutASelectionCutsTheRow) {
  SetText("a\r\nbb\r\nc");
  PlaceAt({1, 1});
  Run(kCut);
  EXPECT_EQ(DocBytes(), "a\r\nc");
  EXPECT_EQ(ClipboardPlain(), "bb\r\n");
}

struct RefusedCutCase {
  const char* name;
  int command;
  std::optional<Caret> selectTo;  // a selection from the caret to here
  bool box = false;
};

class RefusedCutTable : public ClipboardCommandTest, public testing::WithParamInterface<RefusedCutCase> {};

// A clipboard that will not take the text: the command beeps, the text stays and the document is
// not modified; nothing is left to undo.
TEST_P(RefusedCutTable, KeepsTheTextAndTheDocumentUnmodified) {
  const RefusedCutCase& c = GetParam();
  const std::string text = "abc def\r\nghi jkl\r\nmno";
  SetText(text);
  const Caret caret{5, 1};
  if (c.box) {
    SelectBox(caret, *c.selectTo);
  } else {
    SelectOrPlace(caret, c.selectTo);
  }
  const Caret before = Where();
  BeepCapture beeps;
  {
    ClipboardHeldElsewhere held;
    ASSERT_TRUE(held.Held());
    Run(c.command);
  }
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(DocBytes(), text);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 0);
  EXPECT_EQ(Where(), before);
  EXPECT_EQ(view->IsTextSelected(), c.selectTo.has_value());
}

const RefusedCutCase kRefusedCutCases[] = {
    {"Cut", kCut, Caret{2, 2}},
    {"CutOfABox", kCut, Caret{2, 2}, true},
    {"CutLine", kCutLine, std::nullopt},
    {"CutWithoutASelection", kCut, std::nullopt},
    {"WordCut", kWordCut, std::nullopt},
    {"LineCutToStart", kLineCutToStart, std::nullopt},
    {"LineCutToEnd", kLineCutToEnd, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Table, RefusedCutTable, testing::ValuesIn(kRefusedCutCases),
                         [](const testing::TestParamInfo<RefusedCutCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardCommandTest, LineCutsPutTheirPartOnTheClipboard) {
  SetText("abc def\r\nghi");
  PlaceAt({4, 0});
  Run(kLineCutToEnd);
  EXPECT_EQ(ClipboardPlain(), "def");
  EXPECT_EQ(DocBytes(), "abc \r\nghi");
  Run(kLineCutToStart);
  EXPECT_EQ(ClipboardPlain(), "abc ");
  EXPECT_EQ(DocBytes(), "\r\nghi");
}

TEST_F(ClipboardCommandTest, WordCutTakesTheWordAtTheCaret) {
  SetText("foo  bar");
  PlaceAt({6, 0});
  Run(kWordCut);
  EXPECT_EQ(ClipboardPlain(), "bar");
  EXPECT_EQ(DocBytes(), "foo  ");
  PlaceAt({0, 0});
  Run(kWordCut);
  EXPECT_EQ(ClipboardPlain(), "foo");
  EXPECT_EQ(DocBytes(), "  ");
}

// At the document's end there is neither a word nor a character: the row stays.
TEST_F(ClipboardCommandTest, WordCutAtTheEndBeepsAndKeepsTheRow) {
  SetText("ab\r\ncd");
  PlaceAt({2, 1});
  SetClipboardPlain("before");
  BeepCapture beeps;
  Run(kWordCut);
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(DocBytes(), "ab\r\ncd");
  EXPECT_EQ(ClipboardPlain(), "before");
}

// ---- Paste ----------------------------------------------------------------------------------------

struct PasteCase {
  const char* name;
  std::string text;
  Caret from;
  std::optional<Caret> to;  // a selection from `from` to here
  std::string clipboard;
  std::string after;
  Caret caretAfter;
  std::function<void(CommonSettings&)> settings = nullptr;
};

class PasteCommandTable : public ClipboardCommandTest, public testing::WithParamInterface<PasteCase> {};

TEST_P(PasteCommandTable, PastesAsOneUndoStep) {
  const PasteCase& c = GetParam();
  if (c.settings) c.settings(common());
  SetText(c.text);
  SelectOrPlace(c.from, c.to);
  SetClipboardPlain(c.clipboard);
  Run(kPaste);
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(Where(), c.caretAfter);
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), c.text);
  EXPECT_FALSE(doc->m_bIsModified);
}

const PasteCase kPasteCases[] = {
    {"AtTheCaret", "ab\r\ncd", {1, 0}, std::nullopt, "X\r\nY", "aX\r\nYb\r\ncd", {1, 1}},
    {"OverASelection", "abc\r\ndef", {1, 0}, Caret{2, 1}, "XY", "aXYf", {3, 0}},
    // Free cursor: the selection lies beyond the end of its one row and covers no text.
    {"ASelectionOverNothingGoesAndTheTextGoesAtItsStart",
     "ab\r\ncd",
     {4, 0},
     Caret{6, 0},
     "XY",
     "ab  XY\r\ncd",
     {6, 0},
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; }},
};

INSTANTIATE_TEST_SUITE_P(Table, PasteCommandTable, testing::ValuesIn(kPasteCases),
                         [](const testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

// Other programs see the text up to its NUL; the editor's own paste gets every byte.
TEST_F(ClipboardCommandTest, ANulSurvivesCopyAndPasteInTheEditor) {
  const std::string text("a\0b\r\n", 5);
  SetText(text);
  Select({0, 0}, {3, 0});
  Run(kCopy);
  EXPECT_EQ(ClipboardPlain(), "a");
  view->ClearSelection(true);
  PlaceAt({0, 1});
  Run(kPaste);
  EXPECT_EQ(DocBytes(), text + std::string("a\0b", 3));
}

TEST_F(ClipboardCommandTest, PasteOfAnEmptyClipboardBeeps) {
  SetText("ab");
  SetClipboardPlain("");
  BeepCapture beeps;
  Run(kPaste);
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(DocBytes(), "ab");
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(ClipboardCommandTest, ABoxCopyIsPastedAsABox) {
  SetText("abcd\r\nefgh\r\nij");
  SelectBox({1, 0}, {3, 1});
  Run(kCopy);
  view->ClearSelection(true);
  PlaceAt({1, 2});
  Run(kPaste);
  EXPECT_EQ(DocBytes(), "abcd\r\nefgh\r\nibcj\r\n fg");
  EXPECT_EQ(Where(), (Caret{1, 2}));
  Undo();
  EXPECT_EQ(DocBytes(), "abcd\r\nefgh\r\nij");
}

TEST_F(ClipboardCommandTest, WithoutAutoBoxPasteABoxCopyIsPastedAsText) {
  common().bAutoColmnPaste = 0;
  SetText("abcd\r\nefgh\r\nij");
  SelectBox({1, 0}, {3, 1});
  Run(kCopy);
  view->ClearSelection(true);
  PlaceAt({1, 2});
  Run(kPaste);
  EXPECT_EQ(DocBytes(), "abcd\r\nefgh\r\nibc\r\nfg\r\nj");
}

// Into a box selection only the text's first line goes, into every row; box text too when it is
// not pasted as a box.
TEST_F(ClipboardCommandTest, PasteIntoABoxPutsTheFirstLineIntoEveryRow) {
  common().bAutoColmnPaste = 0;
  for (const bool copiedAsBox : {true, false}) {
    SetText("abcd\r\nefgh\r\nijkl");
    ASSERT_TRUE(view->SetClipboardText("XY\r\nZW\r\n", 8, copiedAsBox));
    SelectBox({1, 0}, {2, 2});
    Run(kPaste);
    EXPECT_EQ(DocBytes(), "aXYbcd\r\neXYfgh\r\niXYjkl") << "copied as a box: " << copiedAsBox;
    EXPECT_EQ(StepCount(), 1);
    Undo();
    EXPECT_EQ(DocBytes(), "abcd\r\nefgh\r\nijkl");
    doc->m_cUndoBuffer.Clear();
  }
}

TEST_F(ClipboardCommandTest, PasteBoxOfThreeLinesAtTheLastRowAddsTwoRows) {
  SetText("ab\r\ncd");
  PlaceAt({1, 1});
  SetClipboardPlain("X\r\nY\r\nZ");
  Run(kPasteBox);
  EXPECT_EQ(DocBytes(), "ab\r\ncXd\r\n Y\r\n Z");
  EXPECT_EQ(doc->m_cLayoutMgr.GetLineCount(), 4);
  EXPECT_EQ(Where(), (Caret{1, 1}));
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), "ab\r\ncd");
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(ClipboardCommandTest, PasteBoxTakesTheSelectionFirst) {
  SetText("abcd\r\nefgh");
  Select({1, 0}, {3, 0});
  SetClipboardPlain("X\r\nY");
  Run(kPasteBox);
  EXPECT_EQ(DocBytes(), "aXd\r\neYfgh");
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), "abcd\r\nefgh");
}

TEST_F(ClipboardCommandTest, PasteBoxNeedsAFixedPitchFont) {
  common().bFontIs_FIXED_PITCH = 0;
  SetText("ab");
  SetClipboardPlain("X\r\nY");
  Run(kPasteBox);
  EXPECT_EQ(DocBytes(), "ab");
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(ClipboardCommandTest, PasteBoxOfAnEmptyClipboardBeepsAndLeavesTheDocumentUnmodified) {
  SetText("ab");
  SetClipboardPlain("");
  BeepCapture beeps;
  Run(kPasteBox);
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 0);
}

// ---- File name, path and tag ----------------------------------------------------------------------

struct NameCase {
  const char* name;
  int command;
  std::string text;
  Caret caret;
  std::string copied;
};

class NameCommandTable : public ClipboardCommandTest, public testing::WithParamInterface<NameCase> {};

TEST_P(NameCommandTable, CopiesTheDocumentsName) {
  const NameCase& c = GetParam();
  doc->SetFilePath(("/home/user/" + std::string("資料"_sj) + "/notes.txt").c_str());
  SetText(c.text);
  PlaceAt(c.caret);
  BeepCapture beeps;
  Run(c.command);
  EXPECT_TRUE(beeps.beeps.empty());
  CMemory text;
  ASSERT_TRUE(view->GetClipboardText(&text, nullptr));
  EXPECT_EQ(std::string(text.View()), c.copied);
}

const NameCase kNameCases[] = {
    {"CopyPath", kCopyPath, "ab", {0, 0}, "/home/user/" + std::string("資料"_sj) + "/notes.txt"},
    {"CopyFilename", kCopyFilename, "ab", {0, 0}, "notes.txt"},
    {"CopyTag", kCopyTag, "ab\r\ncd", {1, 1}, "/home/user/" + std::string("資料"_sj) + "/notes.txt (2,2): "},
    // The column of the tag counts bytes of the document line, not display columns of the row.
    {"CopyTagCountsBytesOfTheWholeLine", kCopyTag, "0123456789a" + std::string("あ"_sj) + "b", {3, 1},
     "/home/user/" + std::string("資料"_sj) + "/notes.txt (1,14): "},
};

INSTANTIATE_TEST_SUITE_P(Table, NameCommandTable, testing::ValuesIn(kNameCases),
                         [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardCommandTest, AnUntitledDocumentHasNoNameToCopy) {
  SetText("ab");
  SetClipboardPlain("before");
  for (const int command : {kCopyPath, kCopyFilename, kCopyTag}) {
    BeepCapture beeps;
    Run(command);
    EXPECT_EQ(beeps.beeps.size(), 1u) << "command " << command;
  }
  EXPECT_EQ(ClipboardPlain(), "before");
}

// ---- Key list -------------------------------------------------------------------------------------

TEST_F(ClipboardCommandTest, CopyKeyBindListPutsTheListAsPlainText) {
  editWindow.keyBindList = "F1\tHelp\r\nCtrl+C\tCopy\r\n";
  BeepCapture beeps;
  Run(kCopyKeyBindList);
  EXPECT_TRUE(beeps.beeps.empty());
  EXPECT_EQ(ClipboardPlain(), editWindow.keyBindList);
}

TEST_F(ClipboardCommandTest, CopyKeyBindListBeepsWithoutAListOrAClipboard) {
  SetClipboardPlain("before");
  BeepCapture beeps;
  Run(kCopyKeyBindList);  // the edit window has no list
  EXPECT_EQ(beeps.beeps.size(), 1u);
  editWindow.keyBindList = "F1\tHelp\r\n";
  {
    ClipboardHeldElsewhere held;
    ASSERT_TRUE(held.Held());
    Run(kCopyKeyBindList);
  }
  EXPECT_EQ(beeps.beeps.size(), 2u);
  EXPECT_EQ(ClipboardPlain(), "before");
}

}  // namespace
