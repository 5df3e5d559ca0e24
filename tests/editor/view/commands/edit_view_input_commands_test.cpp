#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "editor/foundation/beep_capture.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/local_time.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kChar = 30200;
constexpr int kCharIme = 30201;
constexpr int kDuplicateLine = 30250;
constexpr int kIndentTab = 30260;
constexpr int kUnindentTab = 30261;
constexpr int kIndentSpace = 30262;
constexpr int kUnindentSpace = 30263;
constexpr int kImeReconversion = 30285;
constexpr int kInsText = 30606;
constexpr int kAddTail = 30607;
constexpr int kInsertDate = 30790;
constexpr int kInsertTime = 30791;
constexpr int kCtrlCodeDialog = 30792;
constexpr int kChgmodIns = 31001;
constexpr int kChgmodEol = 32800;

struct Caret {
  int column;
  int row;
  bool operator==(const Caret&) const = default;
};

void PrintTo(const Caret& c, std::ostream* os) { *os << "(" << c.column << ", " << c.row << ")"; }

// A selection made before the commands run: box or normal, from one display position to another
// (the caret stands at the second).
struct Selection {
  bool box;
  Caret from;
  Caret to;
};

// One command: its id and number argument, or for InsText and AddTail the text.
struct Cmd {
  int id;
  LPARAM argument = 0;
  std::string text = {};
};

// The settings every case starts from: no auto or smart indent, insert mode, tab width 4, a wrap
// width wide enough for every text but the wrapped ones.
struct Settings {
  std::function<void(TypeSettings&, CommonSettings&)> change = nullptr;
  bool overwrite = false;
};

struct InputCase {
  const char* name;
  Settings settings;
  std::string text;
  Caret caret;
  std::optional<Selection> selection;
  std::vector<Cmd> commands;
  std::string after;
  std::optional<Caret> caretAfter = {};
  int beeps = 0;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class InputCommandTest : public EditFixture {
 protected:
  void SetUp() override {
    EditFixture::SetUp();
    type().nWrapColumn = 40;
    type().nTabWidth = 4;
    type().bAutoIndent = 0;
    type().nSmartIndent = 0;
    type().bInsSpace = 0;
    type().bRTrimPrevLine = 0;
    type().szIndentChars[0] = '\0';
    common().bIsFreeCursorMode = 0;
  }

  void PlaceAt(Caret c) {
    view->PlaceCursor(c.column, c.row, true, 20);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
  }
  void Select(const Selection& s) {
    PlaceAt(s.to);
    view->m_bBeginBoxSelect = s.box;
    view->m_sSelectBgn = SelectRange{s.from.row, s.from.column, s.from.row, s.from.column};
    const bool forward = s.from.row < s.to.row || (s.from.row == s.to.row && s.from.column <= s.to.column);
    view->m_sSelect = forward ? SelectRange{s.from.row, s.from.column, s.to.row, s.to.column}
                              : SelectRange{s.to.row, s.to.column, s.from.row, s.from.column};
  }
  Caret Where() const { return Caret{view->m_nCaretPosX, view->m_nCaretPosY}; }
  void Run(const Cmd& c) {
    if (c.id == kInsText) {
      view->RunCommand(c.id, true, reinterpret_cast<LPARAM>(c.text.c_str()), static_cast<LPARAM>(c.text.size()), 1, 0);
    } else if (c.id == kAddTail) {
      view->RunCommand(c.id, true, reinterpret_cast<LPARAM>(c.text.c_str()), static_cast<LPARAM>(c.text.size()), 0, 0);
    } else {
      view->RunCommand(c.id, true, c.argument, 0, 0, 0);
    }
  }
  void Arrange(const InputCase& c) {
    if (c.settings.change) c.settings.change(type(), common());
    SetText(c.text);
    doc->m_bInsMode = !c.settings.overwrite;
    if (c.selection) {
      Select(*c.selection);
    } else {
      PlaceAt(c.caret);
    }
  }
  // Undoes every step; true when the document then holds its first bytes and is unmodified.
  void UndoAll() {
    while (doc->m_cUndoBuffer.CanUndo()) Undo();
  }
  void RedoAll() {
    while (doc->m_cUndoBuffer.CanRedo()) Redo();
  }
};

class InputTable : public InputCommandTest, public testing::WithParamInterface<InputCase> {};

TEST_P(InputTable, ChangesTheBytesAndUndoRestoresThem) {
  const InputCase& c = GetParam();
  Arrange(c);
  BeepCapture beeps;
  for (const Cmd& command : c.commands) Run(command);
  EXPECT_EQ(DocBytes(), c.after);
  if (c.caretAfter) {
    EXPECT_EQ(Where(), *c.caretAfter);
  }
  EXPECT_EQ(static_cast<int>(beeps.beeps.size()), c.beeps);
  const bool changed = c.after != c.text;
  EXPECT_EQ(doc->m_bIsModified, changed) << "only a change marks the document modified";
  EXPECT_EQ(doc->m_cUndoBuffer.CanUndo(), changed);

  UndoAll();
  EXPECT_EQ(DocBytes(), c.text) << "undo gives the original bytes back";
  EXPECT_FALSE(doc->m_bIsModified);
  RedoAll();
  EXPECT_EQ(DocBytes(), c.after) << "redo makes the change again";
  EXPECT_EQ(doc->m_bIsModified, changed);
}

const Settings kAutoIndent{[](TypeSettings& t, CommonSettings&) { t.bAutoIndent = 1; }};
const Settings kSmartIndent{[](TypeSettings& t, CommonSettings&) {
  t.bAutoIndent = 1;
  t.nSmartIndent = 1;
}};
const Settings kSmartIndentWithSpaces{[](TypeSettings& t, CommonSettings&) {
  t.bAutoIndent = 1;
  t.nSmartIndent = 1;
  t.bInsSpace = 1;
}};
const Settings kQuoteIndent{[](TypeSettings& t, CommonSettings&) {
  t.bAutoIndent = 1;
  CopyWholeChars(t.szIndentChars, sizeof t.szIndentChars, "＞"_sj);
}};
const Settings kOverwriteKeepingLineEnds{[](TypeSettings&, CommonSettings& c) { c.bNotOverWriteCRLF = 1; }, true};
const Settings kOverwriteJoiningLines{[](TypeSettings&, CommonSettings& c) { c.bNotOverWriteCRLF = 0; }, true};
const Settings kWrapAtTen{[](TypeSettings& t, CommonSettings&) { t.nWrapColumn = 10; }};
const Settings kSpacesForTabs{[](TypeSettings& t, CommonSettings&) { t.bInsSpace = 1; }};
const Settings kTrimOnEnter{[](TypeSettings& t, CommonSettings&) { t.bRTrimPrevLine = 1; }};

const InputCase kInputCases[] = {
    {"AutoIndentCopiesTheLeadingBlanks", kAutoIndent, "    abc\r\n", {6, 0}, {}, {{kChar, '\r'}},
     "    ab\r\n    c\r\n", Caret{4, 1}},
    {"AutoIndentLeavesOutBlanksAfterTheCaret", kAutoIndent, "    abc\r\n", {2, 0}, {}, {{kChar, '\r'}},
     "  \r\n    abc\r\n", Caret{2, 1}},
    {"AutoIndentCopiesQuoteMarksAndTheBlankAfterThem", kQuoteIndent, "＞＞ quote"_sj, {10, 0}, {}, {{kChar, '\r'}},
     "＞＞ quote\r\n＞＞ "_sj, Caret{5, 1}},
    {"EnterWithoutAutoIndentInsertsTheLineEndOnly", {}, "    abc", {7, 0}, {}, {{kChar, '\r'}}, "    abc\r\n",
     Caret{0, 1}},
    {"EnterUsesTheInputLineEnd", {}, "ab", {1, 0}, {}, {{kChgmodEol, CLineEnd::LF}, {kChar, '\r'}}, "a\nb",
     Caret{0, 1}},
    {"EnterTrimsTheLineItLeaves", kTrimOnEnter, "ab \t　"_sj, {6, 0}, {}, {{kChar, '\r'}}, "ab\r\n", Caret{0, 1}},
    {"SmartIndentPutsAClosingBraceUnderItsOpener", kSmartIndent, "  if (a) {\r\n\t\tx;\r\n\t\t", {8, 2}, {},
     {{kChar, '}'}}, "  if (a) {\r\n\t\tx;\r\n  }", Caret{3, 2}},
    {"SmartIndentLeavesABraceAfterText", kSmartIndent, "{\r\n\tx;", {6, 1}, {}, {{kChar, '}'}}, "{\r\n\tx;}",
     Caret{7, 1}},
    {"SmartIndentAlignsDefaultWithTheSwitch", kSmartIndent, "\tswitch (a) {\r\n\t\t\tdefault", {19, 1}, {},
     {{kChar, ':'}}, "\tswitch (a) {\r\n\tdefault:", Caret{12, 1}},
    {"SmartIndentLeavesOtherLabels", kSmartIndent, "{\r\n\t\t\tlabel", {17, 1}, {}, {{kChar, ':'}},
     "{\r\n\t\t\tlabel:", Caret{18, 1}},
    {"SmartIndentOpensALevelAfterEnterBelowABrace", kSmartIndent, "\tif (a) {", {12, 0}, {}, {{kChar, '\r'}},
     "\tif (a) {\r\n\t\t", Caret{8, 1}},
    {"SmartIndentAlignsElseWithTheClosedBrace", kSmartIndent, "{\r\n\tif (a) {\r\n\t\tx;\r\n\t\t\t} else ",
     {19, 3}, {}, {{kChar, '{'}}, "{\r\n\tif (a) {\r\n\t\tx;\r\n\t} else {", Caret{12, 3}},
    {"SmartIndentWithSpacesFillsToTheNextTabStop", kSmartIndentWithSpaces, "  if (a) {", {10, 0}, {},
     {{kChar, '\r'}}, "  if (a) {\r\n    ", Caret{4, 1}},
    {"SmartIndentSkipsBracesWrittenAsCharacters", kSmartIndent, "{\r\n\tc = '{';\r\n\t", {4, 2}, {},
     {{kChar, '}'}}, "{\r\n\tc = '{';\r\n}", Caret{1, 2}},
    {"SmartIndentLeavesAPreprocessorLine", kSmartIndent, "{\r\n\t#if", {7, 1}, {}, {{kChar, '('}},
     "{\r\n\t#if(", Caret{8, 1}},
    {"ZeroWidthBoxWidenedThenFilled", {}, "abc\r\nd\r\nefg", {}, Selection{true, {1, 0}, {1, 2}},
     {{kChar, ' '}, {kChar, ' '}}, "a bc\r\nd\r\ne fg"},
    {"UnindentTabTakesATabOrUpToATabWidthOfSpaces", {}, "   abc\r\n\tdef\r\n     y\r\nz\r\n", {},
     Selection{false, {0, 0}, {0, 4}}, {{kUnindentTab}}, "abc\r\ndef\r\n y\r\nz\r\n", Caret{0, 4}},
    {"UnindentSpaceTakesOneSpace", {}, "  a\r\n\tb\r\n", {}, Selection{false, {1, 0}, {1, 1}}, {{kUnindentSpace}},
     " a\r\n\tb\r\n", Caret{0, 2}},
    {"OverwriteKeepsTheLineEnd", kOverwriteKeepingLineEnds, "ab\r\ncd", {2, 0}, {}, {{kChar, 'x'}}, "abx\r\ncd",
     Caret{3, 0}},
    {"OverwriteJoinsTheNextLine", kOverwriteJoiningLines, "ab\r\ncd", {2, 0}, {}, {{kChar, 'x'}}, "abxcd",
     Caret{3, 0}},
    {"OverwriteReplacesADoubleByteCharacter", kOverwriteKeepingLineEnds, "a漢b"_sj, {1, 0}, {}, {{kChar, 'x'}},
     "axb", Caret{2, 0}},
    {"DuplicateLineOfAWrappedRowCopiesItsTextOnly", kWrapAtTen, "0123456789abc\r\nz", {3, 0}, {},
     {{kDuplicateLine}}, "01234567890123456789abc\r\nz", Caret{3, 1}},
    {"DuplicateLineOfTheLastRowOfAWrappedLine", kWrapAtTen, "0123456789abc", {1, 1}, {}, {{kDuplicateLine}},
     "0123456789abc\r\nabc", Caret{1, 2}},
    {"DuplicateLineOfTheLastLineAddsALineEnd", {}, "ab\r\ncd", {1, 1}, {}, {{kDuplicateLine}}, "ab\r\ncd\r\ncd",
     Caret{1, 2}},
    {"CharImeInsertsThePairWithoutIndent", kSmartIndent, "    x", {5, 0}, {}, {{kCharIme, 0x82A0}},
     "    xあ"_sj, Caret{7, 0}},
    {"CharImeOfAPairThatIsNoCharacterBeeps", {}, "ab", {1, 0}, {}, {{kCharIme, 0x4181}}, "ab", Caret{1, 0}, 1},
    {"CharImeOfALoneLeadByteBeeps", {}, "ab", {1, 0}, {}, {{kCharIme, 0x82}}, "ab", Caret{1, 0}, 1},
    {"CharImeBelowAPairTypesTheByte", {}, "ab", {1, 0}, {}, {{kCharIme, 'x'}}, "axb", Caret{2, 0}},
    {"InsTextIntoABoxTakesItsFirstLine", {}, "abc\r\ndef\r\nghi", {}, Selection{true, {1, 0}, {2, 1}},
     {{kInsText, 0, "XY\r\nZ"}}, "aXYbc\r\ndXYef\r\nghi", Caret{3, 0}},
    {"InsTextReplacesALineSelection", {}, "abc\r\ndef", {}, Selection{false, {1, 0}, {1, 1}},
     {{kInsText, 0, "X"}}, "aXef", Caret{2, 0}},
    {"InsTextAtTheCaret", {}, "ab", {1, 0}, {}, {{kInsText, 0, "漢\r\nx"_sj}}, "a漢\r\nxb"_sj, Caret{1, 1}},
    {"AddTailAppendsAtTheEnd", {}, "ab\r\ncd", {0, 0}, {}, {{kAddTail, 0, "xyz"}}, "ab\r\ncdxyz", Caret{5, 1}},
    {"AddTailBelowALastLineEnd", {}, "ab\r\n", {1, 0}, {}, {{kAddTail, 0, "x\r\n"}}, "ab\r\nx\r\n", Caret{0, 2}},
    {"CharReplacesALineSelection", {}, "abcd", {}, Selection{false, {1, 0}, {3, 0}}, {{kChar, 'x'}}, "axd",
     Caret{2, 0}},
    {"CharIntoABoxGoesIntoEveryRow", {}, "abc\r\ndef", {}, Selection{true, {1, 0}, {2, 1}}, {{kChar, 'x'}},
     "axbc\r\ndxef", Caret{2, 0}},
    {"IndentTabWithoutSelectionTypesATab", {}, "ab", {1, 0}, {}, {{kIndentTab}}, "a\tb", Caret{4, 0}},
    {"IndentTabWithSpacesFillsToTheTabStop", kSpacesForTabs, "ab", {1, 0}, {}, {{kIndentTab}}, "a   b",
     Caret{4, 0}},
    {"IndentTabOverLinesSkipsEmptyLines", {}, "a\r\n\r\nb\r\nc", {}, Selection{false, {0, 0}, {0, 3}},
     {{kIndentTab}}, "\ta\r\n\r\n\tb\r\nc", Caret{0, 3}},
    {"IndentTabOverALinePartlySelectedTakesIt", {}, "a\r\nb\r\nc", {}, Selection{false, {0, 0}, {1, 1}},
     {{kIndentTab}}, "\ta\r\n\tb\r\nc", Caret{0, 2}},
    {"IndentTabOnlyAtTheStartOfAWrappedLine", kWrapAtTen, "0123456789ab\r\nc", {},
     Selection{false, {0, 0}, {0, 3}}, {{kIndentTab}}, "\t0123456789ab\r\n\tc", Caret{5, 2}},
    {"IndentTabIntoABoxSkipsShortRows", kSpacesForTabs, "abcd\r\nx\r\nefgh", {},
     Selection{true, {2, 0}, {3, 2}}, {{kIndentTab}}, "ab  cd\r\nx\r\nef  gh", Caret{4, 0}},
    {"IndentTabIntoABoxOfShortRowsChangesNothing", kSpacesForTabs, "a\r\nb\r\nc", {},
     Selection{true, {2, 0}, {3, 2}}, {{kIndentTab}}, "a\r\nb\r\nc"},
    {"UnindentOfRowsWithoutIndentChangesNothing", {}, "a\r\nb\r\n", {}, Selection{false, {0, 0}, {0, 2}},
     {{kUnindentTab}}, "a\r\nb\r\n", Caret{0, 2}},
    {"IndentTabWithSpacesReplacesAOneRowSelection", kSpacesForTabs, "abcdef", {}, Selection{false, {1, 0}, {3, 0}},
     {{kIndentTab}}, "a   def", Caret{4, 0}},
    {"IndentTabWithSpacesReplacesAOneRowBox", kSpacesForTabs, "abcdef\r\nxyz", {}, Selection{true, {1, 0}, {3, 0}},
     {{kIndentTab}}, "a   def\r\nxyz", Caret{4, 0}},
    // A box of no width has text in a row where a character stands at its column.
    {"IndentTabWithSpacesIntoAZeroWidthBoxSkipsRowsEndingBeforeIt", kSpacesForTabs, "abc\r\nd\r\nefg", {},
     Selection{true, {1, 0}, {1, 2}}, {{kIndentTab}}, "a   bc\r\nd\r\ne   fg", Caret{4, 0}},
    {"IndentSpaceOverLines", {}, "a\r\nb\r\n", {}, Selection{false, {0, 0}, {0, 2}}, {{kIndentSpace}},
     " a\r\n b\r\n", Caret{0, 2}},
    {"IndentSpaceOnOneLineTypesABlank", {}, "ab", {1, 0}, {}, {{kIndentSpace}}, "a b", Caret{2, 0}},
    {"BoxIndentInOverwriteModeReplacesTheBox", {{}, true}, "abc\r\ndef", {}, Selection{true, {1, 0}, {2, 1}},
     {{kChar, 'x'}}, "axc\r\ndxf", Caret{2, 0}},
    {"UnindentWithoutSelectionTypesTheCharacter", {}, "ab", {1, 0}, {}, {{kUnindentTab}}, "a\tb", Caret{4, 0}},
    {"UnindentOfABoxBeeps", {}, "  a\r\n  b", {}, Selection{true, {0, 0}, {1, 1}}, {{kUnindentSpace}},
     "  a\r\n  b", {}, 1},
    {"CtrlCodeDialogBeepsUntilItsDialogExists", {}, "ab", {1, 0}, {}, {{kCtrlCodeDialog}}, "ab", Caret{1, 0}, 1},
    {"ImeReconversionDoesNothing", {}, "ab", {}, Selection{false, {0, 0}, {2, 0}}, {{kImeReconversion}}, "ab"},
};

INSTANTIATE_TEST_SUITE_P(Input, InputTable, testing::ValuesIn(kInputCases),
                         [](const testing::TestParamInfo<InputCase>& info) { return info.param.name; });

// ---- The box widened by a blank -------------------------------------------------------------------

TEST_F(InputCommandTest, ABlankWidensAZeroWidthBoxWithoutModifyingTheDocument) {
  SetText("abc\r\ndef");
  Select(Selection{true, {1, 0}, {1, 1}});
  view->RunCommand(kChar, true, ' ', 0, 0, 0);
  EXPECT_EQ(DocBytes(), "abc\r\ndef");
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(StepCount(), 0);
  EXPECT_TRUE(view->m_bBeginBoxSelect);
  const SelectRect rect = view->MakeSelectionRect(view->m_sSelect.nLineFrom, view->m_sSelect.nColumnFrom,
                                                  view->m_sSelect.nLineTo, view->m_sSelect.nColumnTo);
  EXPECT_EQ(rect.nLeft, 1);
  EXPECT_EQ(rect.nRight, 40) << "the box reaches the wrap width";
  EXPECT_EQ(rect.nTop, 0);
  EXPECT_EQ(rect.nBottom, 1);
}

TEST_F(InputCommandTest, ABoxIndentShiftsTheBoxAndIsOneUndoStep) {
  SetText("abcd\r\nefgh\r\nijkl");
  Select(Selection{true, {1, 0}, {3, 2}});
  view->RunCommand(kInsText, true, reinterpret_cast<LPARAM>("漢"_sj), -1, 1, 0);
  EXPECT_EQ(DocBytes(), "a漢bcd\r\ne漢fgh\r\ni漢jkl"_sj);
  EXPECT_EQ(StepCount(), 1);
  EXPECT_TRUE(view->m_bBeginBoxSelect);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 3, 2, 5})) << "both sides move by the inserted columns";
  EXPECT_EQ(Where(), (Caret{3, 0}));
}

TEST_F(InputCommandTest, ALineIndentSelectsTheWholeRowsItIndented) {
  struct RowsCase {
    const char* name;
    std::string text;
    Selection selection;
    SelectRange selected;
  };
  const RowsCase cases[] = {
      {"rows before a line end", "a\r\nb\r\nc\r\n", {false, {1, 0}, {0, 2}}, {0, 0, 2, 0}},
      {"partly selected last row", "a\r\nb\r\nc\r\n", {false, {1, 0}, {1, 1}}, {0, 0, 2, 0}},
      {"up to the last line's end", "a\r\nb", {false, {0, 0}, {1, 1}}, {0, 0, 1, 5}},
  };
  for (const RowsCase& c : cases) {
    SetText(c.text);
    Select(c.selection);
    view->RunCommand(kIndentTab, true, 0, 0, 0, 0);
    EXPECT_EQ(view->m_sSelect, c.selected) << c.name;
    EXPECT_FALSE(view->m_bBeginBoxSelect) << c.name;
    EXPECT_EQ(Where(), (Caret{c.selected.nColumnTo, c.selected.nLineTo})) << c.name;
  }
}

// ---- Drag-selection -----------------------------------------------------------------------------

TEST_F(InputCommandTest, TextCommandsBeepDuringADragSelection) {
  const std::string text = "ab\r\ncd";
  const int ids[] = {kChar,      kCharIme,     kDuplicateLine, kIndentTab, kUnindentTab, kIndentSpace,
                     kUnindentSpace, kInsText, kAddTail,       kInsertDate, kInsertTime,  kCtrlCodeDialog};
  for (const int id : ids) {
    SetText(text);
    PlaceAt(Caret{1, 0});
    view->m_bBeginSelect = true;
    BeepCapture beeps;
    const LPARAM argument = id == kCharIme ? 0x82A0 : id == kChar ? 'x' : 0;
    if (id == kInsText || id == kAddTail) {
      view->RunCommand(id, true, reinterpret_cast<LPARAM>("x"), 1, 1, 0);
    } else {
      view->RunCommand(id, true, argument, 0, 0, 0);
    }
    view->m_bBeginSelect = false;
    EXPECT_EQ(DocBytes(), text) << "command " << id;
    EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONHAND}) << "command " << id;
  }
}

TEST_F(InputCommandTest, ModeCommandsWorkDuringADragSelection) {
  SetText("ab");
  view->m_bBeginSelect = true;
  BeepCapture beeps;
  view->RunCommand(kChgmodIns, true, 0, 0, 0, 0);
  view->RunCommand(kChgmodEol, true, CLineEnd::CR, 0, 0, 0);
  view->m_bBeginSelect = false;
  EXPECT_TRUE(beeps.beeps.empty());
  EXPECT_FALSE(doc->m_bInsMode);
  EXPECT_EQ(doc->m_nNewLineType, CLineEnd::CR);
}

// ---- Modes ----------------------------------------------------------------------------------------

TEST_F(InputCommandTest, ChgmodInsTogglesTheModeAndShowsIt) {
  SetText("ab");
  view->RunCommand(kChgmodIns, true, 0, 0, 0, 0);
  EXPECT_FALSE(doc->m_bInsMode);
  EXPECT_EQ(editWindow.status[6], "上書"_sj);
  view->RunCommand(kChgmodIns, true, 0, 0, 0, 0);
  EXPECT_TRUE(doc->m_bInsMode);
  EXPECT_EQ(editWindow.status[6], "挿入"_sj);
  EXPECT_FALSE(doc->m_bIsModified);
}

TEST_F(InputCommandTest, ChgmodEolTakesTheFourLineEndsAndIgnoresOthers) {
  struct EolCase {
    LPARAM type;
    int expected;
  };
  const EolCase cases[] = {{CLineEnd::LF, CLineEnd::LF},     {CLineEnd::LFCR, CLineEnd::LFCR},
                           {0, CLineEnd::LFCR},              {5, CLineEnd::LFCR},
                           {CLineEnd::CR, CLineEnd::CR},     {CLineEnd::CRLF, CLineEnd::CRLF}};
  SetText("ab");
  for (const EolCase& c : cases) {
    view->RunCommand(kChgmodEol, true, c.type, 0, 0, 0);
    EXPECT_EQ(doc->m_nNewLineType, c.expected) << "type " << c.type;
  }
  EXPECT_EQ(editWindow.status[2], "CRLF");
  // An ignored type still refreshes the status bar.
  doc->m_nNewLineType = CLineEnd::LF;
  view->RunCommand(kChgmodEol, true, 7, 0, 0, 0);
  EXPECT_EQ(doc->m_nNewLineType, CLineEnd::LF);
  EXPECT_EQ(editWindow.status[2], "LF");
}

TEST_F(InputCommandTest, UnindentWithoutSelectionSaysItNeedsOne) {
  SetText("ab");
  PlaceAt(Caret{1, 0});
  view->RunCommand(kUnindentSpace, true, 0, 0, 0, 0);
  EXPECT_EQ(DocBytes(), "a b");
  EXPECT_EQ(editWindow.status[0], "★逆インデントは選択時のみ"_sj);
}

// ---- Date and time --------------------------------------------------------------------------------

class FixedClock {
 public:
  FixedClock() {
    platform::LocalTimeHooks hooks;
    hooks.now = [] { return int64_t{1'797'000'000} * 1'000'000'000; };
    hooks.toLocal = [](int64_t, std::tm* out) {
      *out = std::tm{};
      out->tm_year = 2026 - 1900;
      out->tm_mon = 11;
      out->tm_mday = 11;
      out->tm_wday = 5;
      out->tm_hour = 9;
      out->tm_min = 5;
      out->tm_sec = 7;
      return true;
    };
    m_previous = platform::SetLocalTimeHooks(hooks);
  }
  ~FixedClock() { platform::SetLocalTimeHooks(m_previous); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

 private:
  platform::LocalTimeHooks m_previous;
};

TEST_F(InputCommandTest, InsertDateAndTimeUseTheCommonFormatsAtTheClock) {
  struct TimeCase {
    const char* name;
    int command;
    int formatType;
    const char* format;
    std::string inserted;
  };
  const TimeCase cases[] = {
      {"long date", kInsertDate, 0, "", "2026年12月11日"_sj},
      {"own date", kInsertDate, 1, "yyyy/MM/dd", "2026/12/11"},
      {"long time", kInsertTime, 0, "", "9:05:07"},
      {"own time", kInsertTime, 1, "HH'h'mm", "09h05"},
  };
  FixedClock clock;
  for (const TimeCase& c : cases) {
    common().nDateFormatType = c.formatType;
    CopyWholeChars(common().szDateFormat, sizeof common().szDateFormat, c.format);
    common().nTimeFormatType = c.formatType;
    CopyWholeChars(common().szTimeFormat, sizeof common().szTimeFormat, c.format);
    SetText("<>");
    doc->m_cUndoBuffer.Clear();
    doc->SetModified(false, false);
    PlaceAt(Caret{1, 0});
    view->RunCommand(c.command, true, 0, 0, 0, 0);
    EXPECT_EQ(DocBytes(), "<" + c.inserted + ">") << c.name;
    EXPECT_EQ(StepCount(), 1) << c.name;
    Undo();
    EXPECT_EQ(DocBytes(), "<>") << c.name;
  }
}

}  // namespace
