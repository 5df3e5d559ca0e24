#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/view/pane/view_fixture.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kUp = 30311;
constexpr int kDown = 30312;
constexpr int kLeft = 30313;
constexpr int kRight = 30314;
constexpr int kRightSel = 30414;
constexpr int kWordLeft = 30320;
constexpr int kWordRight = 30321;
constexpr int kGoLineTop = 30332;
constexpr int kGoLineEnd = 30333;
constexpr int kGoFileTop = 30350;
constexpr int kGoFileEnd = 30351;
constexpr int kNextParagraph = 30382;
constexpr int kPrevParagraph = 30383;
constexpr int kMoveHistPrev = 30370;
constexpr int kMoveHistNext = 30371;
constexpr int kMoveHistSet = 30372;
constexpr int kSelectAll = 30401;
constexpr int kBeginSelect = 30410;
constexpr int kBeginBoxSelect = 30510;
constexpr int kSearchStartPos = 30909;
constexpr int kBracketPair = 30960;
constexpr int kCancelMode = 31099;

// Rows (one per line; the pane is wide enough that nothing wraps):
//   0 "    indented"  four blanks, then text
//   1 "a<TAB>b"
//   2 "あい"           two double-byte characters
//   3 ""               blank
//   4 "para (two)"
//   5 "second"
//   6 ""               blank
//   7 "last"           no line end
std::string FixtureText() {
  return std::string("    indented\r\na\tb\r\n") + "あい"_sj + "\r\n\r\npara (two)\r\nsecond\r\n\r\nlast";
}

struct Caret {
  int column;
  int row;
  bool operator==(const Caret&) const = default;
};

void PrintTo(const Caret& c, std::ostream* os) { *os << "(" << c.column << ", " << c.row << ")"; }

struct Step {
  int command;
  Caret expected;
  LPARAM argument = 0;
};

struct MoveCase {
  const char* name;
  std::function<void(CommonSettings&)> settings;
  Caret start;
  std::vector<Step> steps;
};

class CursorCommandTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    SetText(FixtureText());
  }
  void PlaceAt(Caret c) {
    view->PlaceCursor(c.column, c.row, true, 20);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
  }
  Caret Where() const { return Caret{view->m_nCaretPosX, view->m_nCaretPosY}; }
  void Run(int command, LPARAM argument = 0) { view->RunCommand(command, true, argument, 0, 0, 0); }
};

class CursorCommandsTest : public CursorCommandTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(CursorCommandsTest, MovesTheCaret) {
  const MoveCase& c = GetParam();
  if (c.settings) c.settings(common());
  PlaceAt(c.start);
  for (size_t i = 0; i < c.steps.size(); ++i) {
    Run(c.steps[i].command, c.steps[i].argument);
    EXPECT_EQ(Where(), c.steps[i].expected) << "after step " << i << " (command " << c.steps[i].command << ")";
  }
}

// The tab's end depends on the type's tab width, so that case is written apart.
const MoveCase kMoveCases[] = {
    {"RightAtLineEndWithFreeCursorGoesOneColumnOn",
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; },
     {12, 0},
     {{kRight, {13, 0}}}},
    {"RightAtLineEndWithoutFreeCursorGoesToTheNextLine",
     [](CommonSettings& s) { s.bIsFreeCursorMode = 0; },
     {12, 0},
     {{kRight, {0, 1}}}},
    {"RightOnTheLastRowWithoutLineEndStays",
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; },
     {4, 7},
     {{kRight, {4, 7}}}},
    {"LeftAtTheDocumentStartDoesNothing", nullptr, {0, 0}, {{kLeft, {0, 0}}}},
    {"LeftOverADoubleByteCharacterMovesTwoColumns", nullptr, {4, 2}, {{kLeft, {2, 2}}}},
    {"LeftAtARowStartGoesToThePreviousLineEnd", nullptr, {0, 3}, {{kLeft, {4, 2}}}},
    {"LeftBeyondTheTextMovesOneColumn", [](CommonSettings& s) { s.bIsFreeCursorMode = 1; }, {9, 5}, {{kLeft, {8, 5}}}},
    {"GoLineTopTogglesBetweenTextAndRowStart",
     nullptr,
     {8, 0},
     {{kGoLineTop, {4, 0}}, {kGoLineTop, {0, 0}}, {kGoLineTop, {4, 0}}}},
    {"GoLineTopWithBitOneGoesStraightToTheRowStart", nullptr, {8, 0}, {{kGoLineTop, {0, 0}, 1}}},
    {"GoLineEndStopsBeforeTheLineEnd", nullptr, {0, 4}, {{kGoLineEnd, {10, 4}}}},
    {"GoNextParagraphStoppingAtBothEndsLandsOnTheBlankLine",
     [](CommonSettings& s) { s.bStopsBothEndsWhenSearchParagraph = 1; },
     {2, 4},
     {{kNextParagraph, {0, 6}}}},
    {"GoNextParagraphLandsOnTheNextParagraph",
     [](CommonSettings& s) { s.bStopsBothEndsWhenSearchParagraph = 0; },
     {0, 4},
     {{kNextParagraph, {0, 7}}}},
    {"GoPrevParagraphLandsOnThePreviousParagraphStart",
     [](CommonSettings& s) { s.bStopsBothEndsWhenSearchParagraph = 0; },
     {0, 7},
     {{kPrevParagraph, {0, 4}}, {kPrevParagraph, {0, 0}}}},
    {"HeldDownMovesOneRowThenThreeARepeat",
     [](CommonSettings& s) {
       s.nRepeatedScrollLineNum = 3;
       s.nRepeatedScroll_Smooth = 0;
     },
     {0, 0},
     {{kDown, {0, 1}}, {kDown, {0, 4}}, {kDown, {0, 7}}}},
    {"HeldDownStepsOneRowAtATimeWhenSmooth",
     [](CommonSettings& s) {
       s.nRepeatedScrollLineNum = 3;
       s.nRepeatedScroll_Smooth = 1;
     },
     {0, 0},
     {{kDown, {0, 1}}, {kDown, {0, 4}}}},
    {"HeldUpStopsAtTheFirstRow",
     [](CommonSettings& s) { s.nRepeatedScrollLineNum = 3; },
     {0, 2},
     {{kUp, {0, 1}}, {kUp, {0, 0}}}},
    {"DownKeepsThePreferredColumnAcrossAShortRow",
     [](CommonSettings& s) { s.bIsFreeCursorMode = 0; },
     {8, 4},
     {{kDown, {6, 5}}, {kUp, {8, 4}}}},
    {"GoFileEndThenGoFileTop", nullptr, {3, 2}, {{kGoFileEnd, {4, 7}}, {kGoFileTop, {0, 0}}}},
    {"WordRightSkipsBlanksAndLeavesTheRowWithoutFreeSpace",
     [](CommonSettings& s) { s.bIsFreeCursorMode = 1; },
     {0, 4},
     {{kWordRight, {5, 4}}, {kWordRight, {6, 4}}, {kWordRight, {9, 4}}, {kWordRight, {10, 4}}, {kWordRight, {0, 5}}}},
    {"WordRightStoppingAtBothEndsStopsOnTheBlankAfterAWord",
     [](CommonSettings& s) { s.bStopsBothEndsWhenSearchWord = 1; },
     {0, 4},
     {{kWordRight, {4, 4}}, {kWordRight, {5, 4}}}},
    {"WordLeftAtARowStartGoesToThePreviousRow",
     nullptr,
     {6, 4},
     {{kWordLeft, {5, 4}}, {kWordLeft, {0, 4}}, {kWordLeft, {0, 3}}}},
    {"BracketPairJumpsBothWays", nullptr, {5, 4}, {{kBracketPair, {9, 4}}, {kBracketPair, {5, 4}}}},
};

INSTANTIATE_TEST_SUITE_P(Table, CursorCommandsTest, testing::ValuesIn(kMoveCases),
                         [](const testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });


TEST_F(CursorCommandTest, RightPastATabLandsOnTheNextTabStop) {
  PlaceAt({1, 1});
  Run(kRight);
  EXPECT_EQ(Where(), (Caret{view->Layout().GetTabWidth(), 1}));
}

TEST_F(CursorCommandTest, WordRightIntoAnIndentedRowPassesItsIndent) {
  for (const int stopBoth : {0, 1}) {
    common().bStopsBothEndsWhenSearchWord = stopBoth;
    SetText("ab\r\n  cd\r\n");
    PlaceAt({2, 0});
    Run(kWordRight);
    EXPECT_EQ(Where(), (Caret{2, 1})) << "stopping at both ends: " << stopBoth;
  }
}

TEST_F(CursorCommandTest, GoFileEndPassesAFinalLineEndAsDownDoes) {
  SetText("abc\r\nde\r\n");
  PlaceAt({1, 0});
  Run(kGoFileEnd);
  EXPECT_EQ(Where(), (Caret{0, 2}));
  PlaceAt({1, 0});
  Run(30451);  // GoFileEnd_Sel: the final line end is selected too
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 1, 2, 0}));
}

// In select mode the jumps without a _Sel twin extend the selection as the plain moves do.
TEST_F(CursorCommandTest, BracketPairAndHistoryJumpsExtendInSelectMode) {
  PlaceAt({2, 5});
  Run(kMoveHistSet);
  PlaceAt({5, 4});
  Run(kBeginSelect);
  Run(kBracketPair);
  EXPECT_EQ(Where(), (Caret{9, 4}));
  EXPECT_EQ(view->m_sSelect, (SelectRange{4, 5, 4, 9}));
  Run(kMoveHistPrev);
  EXPECT_EQ(Where(), (Caret{2, 5}));
  EXPECT_EQ(view->m_sSelect, (SelectRange{4, 5, 5, 2}));
  EXPECT_TRUE(view->m_bSelectingLock);
}

TEST_F(CursorCommandTest, GoFileTopInABoxKeepsItsColumn) {
  common().bFontIs_FIXED_PITCH = 1;
  PlaceAt({3, 5});
  Run(kBeginBoxSelect);
  Run(kGoFileTop);
  EXPECT_EQ(Where(), (Caret{3, 0}));
  EXPECT_TRUE(view->m_bBeginBoxSelect);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 3, 5, 3}));
}

TEST_F(CursorCommandTest, BeginBoxSelectWithAProportionalFontDoesNothing) {
  common().bFontIs_FIXED_PITCH = 0;
  PlaceAt({3, 5});
  Run(kBeginBoxSelect);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_FALSE(view->m_bBeginBoxSelect);
  EXPECT_FALSE(view->m_bSelectingLock);
}

TEST_F(CursorCommandTest, SelectModeMakesPlainMovesExtendUntilCancelled) {
  PlaceAt({0, 4});
  Run(kBeginSelect);
  Run(kDown);
  Run(kRight);
  EXPECT_EQ(view->m_sSelect, (SelectRange{4, 0, 5, 1}));
  Run(kCancelMode);
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_FALSE(view->m_bSelectingLock);
  Run(kRightSel);
  Run(kLeft);  // without select: the selection goes and the caret stands at its start
  EXPECT_FALSE(view->IsTextSelected());
  EXPECT_EQ(Where(), (Caret{1, 5}));
}

TEST_F(CursorCommandTest, SelectAllCoversEveryRowAndKeepsTheCaret) {
  PlaceAt({2, 5});
  Run(kSelectAll);
  EXPECT_EQ(view->m_sSelect, (SelectRange{0, 0, view->Layout().GetLineCount(), 0}));
  EXPECT_EQ(Where(), (Caret{2, 5}));
  EXPECT_EQ(view->m_cHistory.GetCount(), 1);
}

TEST_F(CursorCommandTest, HistoryGoesBackAndForth) {
  PlaceAt({2, 5});
  Run(kMoveHistSet);
  PlaceAt({2, 2});
  Run(kMoveHistPrev);
  EXPECT_EQ(Where(), (Caret{2, 5}));
  Run(kMoveHistNext);
  EXPECT_EQ(Where(), (Caret{2, 2}));
  Run(kMoveHistNext);  // nothing newer
  EXPECT_EQ(Where(), (Caret{2, 2}));
}

TEST_F(CursorCommandTest, HistoryEntryBeyondAShortenedDocumentLandsAtItsEnd) {
  PlaceAt({3, 7});
  Run(kMoveHistSet);
  PlaceAt({0, 0});
  SetText("ab\r\ncd\r\nef");
  Run(kMoveHistPrev);
  EXPECT_EQ(Where(), (Caret{2, 2}));
  EXPECT_EQ(view->m_nCaretPosY_PHY, 2);
  EXPECT_EQ(view->m_nCaretPosX_PHY, 2);
}

TEST_F(CursorCommandTest, HistoryEntryBeyondAShortenedLineLandsAtItsEnd) {
  common().bIsFreeCursorMode = 0;
  PlaceAt({10, 0});
  Run(kMoveHistSet);
  PlaceAt({0, 1});
  SetText("ab\r\ncd\r\nef");
  Run(kMoveHistPrev);
  EXPECT_EQ(Where(), (Caret{2, 0}));
  EXPECT_EQ(view->m_nCaretPosX_PHY, 2);
}

TEST_F(CursorCommandTest, NewTextPutsTheHistoryBackToItsNewestEntry) {
  PlaceAt({2, 5});
  Run(kMoveHistSet);
  PlaceAt({1, 2});
  Run(kMoveHistSet);
  Run(kMoveHistPrev);
  ASSERT_TRUE(view->m_cHistory.CanGoNext());
  view->ResetForNewText();
  EXPECT_FALSE(view->m_cHistory.CanGoNext());
  EXPECT_EQ(view->m_cHistory.GetIndex(), view->m_cHistory.GetCount());
}

TEST_F(CursorCommandTest, SearchStartPosBeepsWithoutAStartAndGoesThereWithOne) {
  BeepCapture beeps;
  PlaceAt({2, 5});
  Run(kSearchStartPos);
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(Where(), (Caret{2, 5}));
  view->m_nSrchStartPosX_PHY = 3;
  view->m_nSrchStartPosY_PHY = 0;
  Run(kSearchStartPos);
  EXPECT_EQ(Where(), (Caret{3, 0}));
  EXPECT_EQ(beeps.beeps.size(), 1u);
}

// A document taller than the pane: "line 0" .. "line 99".
class PageCommandTest : public CursorCommandTest {
 protected:
  void SetUp() override {
    CursorCommandTest::SetUp();
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetText(text);
    rows = view->m_nViewRowNum;
    ASSERT_GT(rows, 20);
  }
  int Top() const { return view->m_nViewTopLine; }
  int rows = 0;
};

TEST_F(PageCommandTest, PageDownAndUpKeepTheCaretsScreenRow) {
  PlaceAt({2, 5});
  const int screenRow = view->m_nCaretPosY - Top();
  Run(30343);  // 1PageDown
  EXPECT_EQ(Where(), (Caret{2, 5 + rows - 1}));
  EXPECT_EQ(view->m_nCaretPosY - Top(), screenRow);
  Run(30342);  // 1PageUp
  EXPECT_EQ(Where(), (Caret{2, 5}));
  EXPECT_EQ(view->m_nCaretPosY - Top(), screenRow);
}

TEST_F(PageCommandTest, PageDownWithTheLastRowInSightEndsOnIt) {
  Run(kGoFileEnd);
  PlaceAt({0, 90});
  ASSERT_LT(view->Layout().GetLineCount(), Top() + rows);
  Run(30343);
  EXPECT_EQ(view->m_nCaretPosY, view->Layout().GetLineCount());  // the row after the final line end
}

TEST_F(PageCommandTest, HalfPagesMoveHalfTheVisibleRows) {
  PlaceAt({0, 40});
  Run(30341);  // HalfPageDown
  EXPECT_EQ(view->m_nCaretPosY, 40 + rows / 2);
  Run(30340);  // HalfPageUp
  EXPECT_EQ(view->m_nCaretPosY, 40);
}

TEST_F(PageCommandTest, CurLineCenterPutsTheCaretRowInTheMiddle) {
  PlaceAt({0, 60});
  Run(30360);
  EXPECT_EQ(Top(), 60 - rows / 2);
  EXPECT_EQ(view->m_nCaretPosY, 60);
  PlaceAt({0, 3});
  Run(30360);
  EXPECT_EQ(Top(), 0);
}

TEST_F(PageCommandTest, WindowScrollsPushTheCaretAlongAtTheEdges) {
  PlaceAt({0, 0});
  Run(30381);  // F_WndScrollUp: the view moves down a row, the caret out of the top margin
  EXPECT_EQ(Top(), 1);
  const int margin = std::max(rows / 20, 1);
  EXPECT_EQ(view->m_nCaretPosY, margin + 1);
  Run(30380);  // F_WndScrollDown: back; the caret is far from the bottom and stays
  EXPECT_EQ(Top(), 0);
  EXPECT_EQ(view->m_nCaretPosY, margin + 1);

  PlaceAt({0, 50});
  const int top = Top();
  const int bottomMargin = rows / 20 == 0 ? 3 : rows / 20 + 2;
  PlaceAt({0, top + rows - bottomMargin});
  ASSERT_EQ(Top(), top);
  Run(30380);
  EXPECT_EQ(Top(), top - 1);
  EXPECT_EQ(view->m_nCaretPosY, top + rows - bottomMargin - 1);
}

}  // namespace
