#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/message_box_capture.h"
#include "platform/sjis_literal.h"
#include "search_fixture.h"

namespace {

using Span = std::pair<Pos, Pos>;

class SearchCommandTest : public SearchFixture {};

// ---- SearchNext and SearchPrev ----------------------------------------------------------------

struct FindCase {
  const char* name;
  std::string text;
  Pos caret;
  std::optional<Span> selection;  // selected before the search (normal, outside select mode)
  std::string key;
  bool regexp = false;
  bool caseSensitive = false;
  bool wordOnly = false;
  bool wrap = false;
  int command = 30902;
  std::optional<Span> found;  // the selected hit; none: not found
  std::string status;         // "" when the status line must say nothing
};

class FindCommandTable : public SearchCommandTest, public testing::WithParamInterface<FindCase> {};

TEST_P(FindCommandTable, SelectsTheHitOrReports) {
  const FindCase& c = GetParam();
  SetText(c.text);
  if (c.selection) {
    Select(c.selection->first, c.selection->second);
  } else {
    PlaceAt(c.caret);
  }
  const Pos before = Where();
  SetKey(c.key, c.regexp, c.caseSensitive, c.wordOnly);
  common().bSearchAll = c.wrap;
  editWindow.status.clear();
  BeepCapture beeps;
  Run(c.command);
  EXPECT_EQ(Selected(), c.found);
  if (c.found) {
    EXPECT_EQ(Where(), c.found->first) << "the caret goes to the hit's start";
    EXPECT_TRUE(beeps.beeps.empty());
  } else {
    EXPECT_EQ(Where(), before) << "the caret stays where it was";
    EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONHAND});
  }
  EXPECT_EQ(Status(), c.status);
}

const std::string kNotFound = "▽見つかりませんでした"_sj;
const std::string kNotFoundBack = "△見つかりませんでした"_sj;
const std::string kWrapped = "▼先頭から再検索しました"_sj;
const std::string kWrappedBack = "▲末尾から再検索しました"_sj;

INSTANTIATE_TEST_SUITE_P(
    Cases, FindCommandTable,
    testing::Values(
        FindCase{"CaretInsideAMatchFindsTheNextOne",
                 "foo foo foo",
                 {1, 0},
                 {},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30902,
                 Span{{4, 0}, {7, 0}},
                 ""},
        FindCase{"ASelectedMatchFindsTheFollowingOne",
                 "foo foo foo",
                 {},
                 Span{{4, 0}, {7, 0}},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30902,
                 Span{{8, 0}, {11, 0}},
                 ""},
        FindCase{"AHitOnALaterLine",
                 "abc\r\nx漢foo"_sj,
                 {0, 0},
                 {},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30902,
                 Span{{3, 1}, {6, 1}},
                 ""},
        FindCase{"AKanjiKey",
                 "かな漢字かな漢字"_sj,
                 {2, 0},
                 {},
                 "漢字"_sj,
                 false,
                 false,
                 false,
                 false,
                 30902,
                 Span{{4, 0}, {8, 0}},
                 ""},
        FindCase{"WithoutCaseAnyCaseMatches",
                 "FOO foo",
                 {0, 0},
                 {},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30902,
                 Span{{0, 0}, {3, 0}},
                 ""},
        FindCase{"WithCaseOnlyTheSameCase",
                 "FOO foo",
                 {0, 0},
                 {},
                 "foo",
                 false,
                 true,
                 false,
                 false,
                 30902,
                 Span{{4, 0}, {7, 0}},
                 ""},
        FindCase{"WholeWordsOnly",
                 "foobar foo",
                 {0, 0},
                 {},
                 "foo",
                 false,
                 false,
                 true,
                 false,
                 30902,
                 Span{{7, 0}, {10, 0}},
                 ""},
        FindCase{"ARegularExpression",
                 "a1 b22 c333",
                 {0, 0},
                 {},
                 "[0-9]{2,}",
                 true,
                 false,
                 false,
                 false,
                 30902,
                 Span{{4, 0}, {6, 0}},
                 ""},
        FindCase{"WrapsAroundWithItsStatus",
                 "foo bar",
                 {4, 0},
                 {},
                 "foo",
                 false,
                 false,
                 false,
                 true,
                 30902,
                 Span{{0, 0}, {3, 0}},
                 kWrapped},
        FindCase{
            "NoWrapBeepsAndSaysSo", "foo bar", {4, 0}, {}, "foo", false, false, false, false, 30902, {}, kNotFound},
        FindCase{"AnEmptyKeyFindsNothing", "foo", {0, 0}, {}, "", false, false, false, true, 30902, {}, kNotFound},
        FindCase{"BackwardFindsTheOneBefore",
                 "foo foo",
                 {7, 0},
                 {},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30903,
                 Span{{4, 0}, {7, 0}},
                 ""},
        FindCase{"BackwardFromASelectionStartsAtTheCaret",
                 "foo foo foo",
                 {},
                 Span{{4, 0}, {7, 0}},
                 "foo",
                 false,
                 false,
                 false,
                 false,
                 30903,
                 Span{{4, 0}, {7, 0}},
                 ""},
        FindCase{"BackwardWrapsFromTheEnd",
                 "foo bar",
                 {0, 0},
                 {},
                 "bar",
                 false,
                 false,
                 false,
                 true,
                 30903,
                 Span{{4, 0}, {7, 0}},
                 kWrappedBack},
        FindCase{"BackwardWrapsFromTheEndOfATextEndingInALineEnd",
                 "foo bar\r\n",
                 {0, 0},
                 {},
                 "bar",
                 false,
                 false,
                 false,
                 true,
                 30903,
                 Span{{4, 0}, {7, 0}},
                 kWrappedBack},
        FindCase{"BackwardFromBelowTheLastRowSearchesTheLastRow",
                 "foo bar\r\n",
                 {0, 1},
                 {},
                 "bar",
                 false,
                 false,
                 false,
                 false,
                 30903,
                 Span{{4, 0}, {7, 0}},
                 ""},
        FindCase{"LineEndAnchorOnTheLastLineWithoutALineEnd",
                 "ab\r\ncd",
                 {0, 1},
                 {},
                 "$",
                 true,
                 false,
                 false,
                 false,
                 30902,
                 Span{{2, 1}, {2, 1}},
                 ""},
        FindCase{"LineEndAnchorBackwardOnTheLastLineWithoutALineEnd",
                 "ab\r\ncd",
                 {2, 1},
                 {},
                 "c.$",
                 true,
                 false,
                 false,
                 false,
                 30903,
                 Span{{0, 1}, {2, 1}},
                 ""},
        FindCase{"BackwardWithoutWrapBeeps",
                 "foo bar",
                 {3, 0},
                 {},
                 "bar",
                 false,
                 false,
                 false,
                 false,
                 30903,
                 {},
                 kNotFoundBack}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST_F(SearchCommandTest, AnEmptyRegexpMatchAdvancesOneWholeCharacterEachTime) {
  SetText("ab漢c"_sj);
  PlaceAt({0, 0});
  SetKey("x*", true);
  // Columns: a 0, b 1, the kanji 2-3, c 4, the end 5; never the kanji's second half.
  for (const int column : {0, 1, 2, 4, 5}) {
    Run(kSearchNext);
    ASSERT_EQ(Selected(), (Span{{column, 0}, {column, 0}})) << "at column " << column;
  }
  {
    BeepCapture beeps;
    Run(kSearchNext);
    EXPECT_EQ(Where(), (Pos{5, 0}));
    EXPECT_EQ(beeps.beeps.size(), 1u) << "nothing lies after the end";
  }
  Run(kSearchNext);
  EXPECT_EQ(Selected(), (Span{{5, 0}, {5, 0}})) << "the search starts at the caret again";
  common().bSearchAll = 1;
  Run(kSearchNext);
  EXPECT_EQ(Selected(), (Span{{0, 0}, {0, 0}})) << "with wrap around it starts again";
  EXPECT_EQ(Status(), "▼先頭から再検索しました"_sj);
}

// Hanging punctuation may stand past the widest row's last column; the wrap backward starts after
// it, not at the width.
TEST_F(SearchCommandTest, BackwardWrapFindsPunctuationHangingPastTheWidestRow) {
  type().nWrapColumn = 10240;
  type().bKinsokuKuto = 1;
  std::snprintf(type().szKinsokuHead, sizeof type().szKinsokuHead, "%s", "。"_sj);
  type().bKinsokuHead = 0;
  type().bKinsokuTail = 0;
  type().bEnglishWordWrap = 0;
  SetText(std::string(10240, 'a') + "。"_sj);
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 1) << "the full stop hangs on the row";
  PlaceAt({0, 0});
  SetKey("。"_sj);
  common().bSearchAll = 1;
  Run(kSearchPrev);
  EXPECT_EQ(Selected(), (Span{{10240, 0}, {10242, 0}}));
  EXPECT_EQ(Status(), "▲末尾から再検索しました"_sj);
}

TEST_F(SearchCommandTest, NotFoundShowsTheMessageOnlyFromTheInterfaceWithNotifyOn) {
  SetText("abc");
  SetKey("zz");
  common().bSearchNOTIFYNOTFOUND = 1;
  {
    MessageBoxCapture boxes;
    Run(kSearchNext);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "後方(↓) に文字列 'zz' が１つも見つかりません。"_sj);
    EXPECT_EQ(boxes.requests[0].caption, "tovara");
    EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_ICONINFORMATION));
    Run(kSearchPrev);
    ASSERT_EQ(boxes.requests.size(), 2u);
    EXPECT_EQ(boxes.requests[1].text, "前方(↑) に文字列 'zz' が１つも見つかりません。"_sj);
  }
  {
    MessageBoxCapture boxes;
    view->RunCommand(kSearchNext, false, 0, 0, 0, 0);  // a macro step
    EXPECT_TRUE(boxes.requests.empty());
  }
  {
    MessageBoxCapture boxes;
    const char* own = "own text";
    Run(kSearchNext, 0, reinterpret_cast<LPARAM>(own));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "own text");
  }
}

TEST_F(SearchCommandTest, SelectModeExtendsTheSelectionOrRestoresIt) {
  SetText("ab foo x foo");
  PlaceAt({0, 0});
  view->Command_BEGINSELECT();
  PlaceAt({1, 0});
  view->ChangeSelectionTo(1, 0);
  SetKey("foo");
  Run(kSearchNext);
  EXPECT_EQ(Selected(), (Span{{0, 0}, {6, 0}})) << "extended to the hit's end";
  EXPECT_EQ(Where(), (Pos{3, 0}));
  SetKey("zz");
  Run(kSearchNext);
  EXPECT_EQ(Selected(), (Span{{0, 0}, {6, 0}})) << "a failed search keeps the selection";
}

// ---- SearchClearMark ------------------------------------------------------------------------------

TEST_F(SearchCommandTest, ClearMarkPutsTheSelectionAtTheTopOfTheHistory) {
  for (int i = 29; i >= 0; --i) share.AddSearchKey(("k" + std::to_string(i)).c_str());
  ASSERT_EQ(record->nSearchKeyCount, 30);
  ASSERT_STREQ(record->szSearchKeys[0], "k0");
  common().bSearchRegularExp = 1;
  common().bSearchWordOnly = 1;
  SetText("k5 new");
  Select({0, 0}, {2, 0});
  Run(kSearchClearMark);
  EXPECT_EQ(record->nSearchKeyCount, 30);
  std::vector<std::string> expected = {"k5"};
  for (int i = 0; i < 30; ++i)
    if (i != 5) expected.push_back("k" + std::to_string(i));
  std::vector<std::string> history;
  for (int i = 0; i < record->nSearchKeyCount; ++i) history.push_back(record->szSearchKeys[i]);
  EXPECT_EQ(history, expected) << "an equal entry moves to the top";
  EXPECT_EQ(common().bSearchRegularExp, 0);
  EXPECT_EQ(common().bSearchWordOnly, 0);
  EXPECT_TRUE(view->m_bCurSrchKeyMark);
  EXPECT_EQ(view->m_szCurSrchKey, "k5");

  Select({3, 0}, {6, 0});
  Run(kSearchClearMark);
  history.clear();
  for (int i = 0; i < record->nSearchKeyCount; ++i) history.push_back(record->szSearchKeys[i]);
  expected.insert(expected.begin(), "new");
  expected.pop_back();
  EXPECT_EQ(history, expected) << "a new key pushes the 30th out";

  view->ClearSelection(true);
  Run(kSearchClearMark);
  EXPECT_FALSE(view->m_bCurSrchKeyMark) << "without a selection the highlight goes";
  EXPECT_EQ(record->nSearchKeyCount, 30);
}

// ---- Replace ----------------------------------------------------------------------------------------

struct ReplaceCase {
  const char* name;
  int mode;
  bool regexp;
  std::string key;
  std::string replacement;
  std::string afterFirst;
  std::string afterSecond;
  bool paste = false;  // the clipboard holds the replacement
};

class ReplaceCommandTable : public SearchCommandTest, public testing::WithParamInterface<ReplaceCase> {};

// Each Replace changes the hit it finds and selects the next, so two of them change the two hits
// once each and the third finds nothing.
TEST_P(ReplaceCommandTable, ReplacesEachHitOnce) {
  const ReplaceCase& c = GetParam();
  SetText("ab ab");
  PlaceAt({0, 0});
  SetKey(c.key, c.regexp);
  if (c.paste) {
    SetClipboardPlain(c.replacement);
    dialogs->Replace().m_nPaste = 1;
  } else {
    SetReplacement(c.replacement);
  }
  dialogs->Replace().m_nReplaceTarget = c.mode;
  common().bSearchNOTIFYNOTFOUND = 1;
  MessageBoxCapture boxes;
  Run(kReplace);
  EXPECT_EQ(DocBytes(), c.afterFirst);
  ASSERT_TRUE(Selected()) << "the next hit is selected";
  Run(kReplace);
  EXPECT_EQ(DocBytes(), c.afterSecond);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "最後まで置換しました。"_sj);
  Run(kReplace);
  EXPECT_EQ(DocBytes(), c.afterSecond) << "nothing is left to replace";
  EXPECT_EQ(StepCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceCommandTable,
                         testing::Values(ReplaceCase{"TheMatch", 0, false, "ab", "X", "X ab", "X X"},
                                         ReplaceCase{"InsertBefore", 1, false, "ab", "X", "Xab ab", "Xab Xab"},
                                         ReplaceCase{"AddAfter", 2, false, "ab", "X", "abX ab", "abX abX"},
                                         ReplaceCase{"RegexpGroups", 0, true, "a(b)", "[$1]", "[b] ab", "[b] [b]"},
                                         ReplaceCase{"RegexpInsertBefore", 1, true, "a(b)", "<$1>", "<b>ab ab",
                                                     "<b>ab <b>ab"},
                                         ReplaceCase{"RegexpAddAfter", 2, true, "ab", "!", "ab! ab", "ab! ab!"},
                                         ReplaceCase{"KanjiByKanji", 0, false, "ab", "漢"_sj, "漢 ab"_sj, "漢 漢"_sj},
                                         ReplaceCase{"PasteTheMatch", 0, false, "ab", "X", "X ab", "X X", true},
                                         ReplaceCase{"PasteBefore", 1, false, "ab", "X", "Xab ab", "Xab Xab", true},
                                         ReplaceCase{"PasteAfter", 2, false, "ab", "X", "abX ab", "abX abX", true}),
                         [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

// An empty hit takes the character after it along (a line end too), so each Replace moves on one
// whole character and never replaces the same place twice; after the last place the end is told.
struct EmptyHitCase {
  const char* name;
  std::string text;
  std::string key;
  std::vector<std::string> afterEach;
};

class ReplaceEmptyHitTable : public SearchCommandTest, public testing::WithParamInterface<EmptyHitCase> {};

TEST_P(ReplaceEmptyHitTable, EachReplaceMovesOn) {
  const EmptyHitCase& c = GetParam();
  SetText(c.text);
  PlaceAt({0, 0});
  SetKey(c.key, true);
  SetReplacement("-");
  common().bSearchNOTIFYNOTFOUND = 1;
  BeepCapture beeps;
  MessageBoxCapture boxes;
  for (const std::string& after : c.afterEach) {
    Run(kReplace);
    ASSERT_EQ(DocBytes(), after);
  }
  ASSERT_EQ(boxes.requests.size(), 1u) << "the end is told once, after the last place";
  EXPECT_EQ(boxes.requests[0].text, "最後まで置換しました。"_sj);
  EXPECT_EQ(StepCount(), static_cast<int>(c.afterEach.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceEmptyHitTable,
    testing::Values(
        EmptyHitCase{"BetweenCharacters", "a漢b"_sj, "x*", {"-a漢b"_sj, "-a-漢b"_sj, "-a-漢-b"_sj, "-a-漢-b-"_sj}},
        EmptyHitCase{"LineEnds", "ab\r\ncd\r\n", "$", {"ab-\r\ncd\r\n", "ab-\r\ncd-\r\n"}},
        EmptyHitCase{"LineEndsWithoutAFinalOne", "ab\r\ncd", "$", {"ab-\r\ncd", "ab-\r\ncd-"}}),
    [](const testing::TestParamInfo<EmptyHitCase>& info) { return std::string(info.param.name); });

TEST_F(SearchCommandTest, InsertBeforeLeavesTheCaretAfterTheHit) {
  SetText("ab");
  PlaceAt({0, 0});
  SetKey("ab");
  SetReplacement("X");
  dialogs->Replace().m_nReplaceTarget = 1;
  BeepCapture beeps;
  Run(kReplace);
  EXPECT_EQ(DocBytes(), "Xab");
  EXPECT_EQ(Where(), (Pos{3, 0}));
  EXPECT_FALSE(Selected());
}

TEST_F(SearchCommandTest, PasteModeWithAnEmptyClipboardSaysSoAndTurnsPasteOff) {
  SetText("ab ab");
  SetKey("ab");
  SetReplacement("X");
  Run(kReplaceDialog);
  CReplaceDialog& dialog = dialogs->Replace();
  ASSERT_TRUE(dialog.IsOpen());
  HWND hwnd = dialog.GetHwnd();
  platform::CheckDlgButton(hwnd, 1418, BST_CHECKED);
  platform::EnableWindow(platform::GetDlgItem(hwnd, 1022), 0);
  dialog.m_nPaste = 1;
  for (const int command : {kReplace, kReplaceAll}) {
    MessageBoxCapture boxes;
    Run(command);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "クリップボードに有効なデータがありません！"_sj);
    EXPECT_EQ(DocBytes(), "ab ab");
    EXPECT_EQ(dialog.m_nPaste, 0);
    EXPECT_EQ(platform::IsDlgButtonChecked(hwnd, 1418), BST_UNCHECKED);
    EXPECT_TRUE(platform::IsWindowEnabled(platform::GetDlgItem(hwnd, 1022)));
    dialog.m_nPaste = 1;
  }
  SetClipboardPlain("Z");
  Run(kReplaceAll);
  EXPECT_EQ(DocBytes(), "Z Z") << "with text on the clipboard it is the replacement";
  EXPECT_EQ(dialog.m_nReplaceCnt, 2);
}

// ---- ReplaceAll -------------------------------------------------------------------------------------

struct ReplaceAllCase {
  const char* name;
  std::string text;
  std::string key;
  bool regexp;
  std::string replacement;
  int command;
  std::string after;
  int count;
};

class ReplaceAllCommandTable : public SearchCommandTest, public testing::WithParamInterface<ReplaceAllCase> {};

// The whole text, one undo step, the count left in the replace dialog; empty matches end.
TEST_P(ReplaceAllCommandTable, ReplacesEveryHitAsOneStep) {
  const ReplaceAllCase& c = GetParam();
  SetText(c.text);
  PlaceAt({0, 0});
  SetKey(c.key, c.regexp);
  SetReplacement(c.replacement);
  Run(c.command);
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(dialogs->Replace().m_nReplaceCnt, c.count);
  EXPECT_EQ(dialogs->Replace().m_bCanceled, 0);
  EXPECT_FALSE(Selected());
  EXPECT_EQ(StepCount(), c.after == c.text ? 0 : 1);
  Undo();
  EXPECT_EQ(DocBytes(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllCommandTable,
    testing::Values(
        ReplaceAllCase{"Literal", "a-a\r\naa\r\n", "a", false, "bb", 30907, "bb-bb\r\nbbbb\r\n", 4},
        ReplaceAllCase{"ByAReplacementHoldingTheKey", "aXa", "a", false, "aa", 30907, "aaXaa", 2},
        ReplaceAllCase{"ByNothing", "xaxa", "x", false, "", 30907, "aa", 2},
        ReplaceAllCase{"KanjiNeverSplit", "\x88\x9f\x88\x9f", "\x9f\x88", false, "Z", 30907, "\x88\x9f\x88\x9f", 0},
        ReplaceAllCase{"RegexpGroups", "ab12cd3", "([a-z]+)([0-9]+)", true, "$2$1", 30907, "12ab3cd", 2},
        ReplaceAllCase{"EmptyMatchesByNothingEnd", "ab", "x*", true, "", 30907, "ab", 3},
        ReplaceAllCase{"LineEnds", "ab\r\ncd\r\n", "$", true, "!", 30907, "ab!\r\ncd!\r\n", 2},
        ReplaceAllCase{"LineEndsWithoutAFinalOne", "ab\r\ncd", "$", true, "!", 30907, "ab!\r\ncd!", 2},
        ReplaceAllCase{"TextBeforeTheLineEndOfTheLastLine", "ab\r\nab", "b$", true, "B", 30907, "aB\r\naB", 2},
        ReplaceAllCase{"EmptyLinesWithoutAFinalLineEnd", "a\r\n\r\n\r\nb", "^$", true, "-", 30907, "a\r\n-\r\n-\r\nb",
                       2},
        ReplaceAllCase{"EmptyLastLine", "a\r\n\r\n", "^$", true, "-", 30907, "a\r\n-\r\n", 1},
        ReplaceAllCase{"WholeLinesLineEndsWithoutAFinalOne", "ab\r\ncd", "$", true, "!", 30912, "ab!\r\ncd!", 2},
        ReplaceAllCase{"EmptyMatchesBetweenCharacters", "a漢"_sj, "x*", true, "-", 30907, "-a-漢-"_sj, 3},
        ReplaceAllCase{"NoEmptyMatchRightAfterAReplacedOne", "aab aab", "a*", true, "-", 30907, "-b- -b-", 4},
        ReplaceAllCase{"LineStarts", "a\r\nb\r\n", "^", true, "> ", 30907, "> a\r\n> b\r\n", 2},
        ReplaceAllCase{"WholeLinesCountLines", "a1a2\r\nb\r\na3\r\n", "a", true, "X", 30912, "X1X2\r\nb\r\nX3\r\n", 2},
        ReplaceAllCase{"WholeLinesPlainTakesTheRestOfTheLine", "xa1\r\na2\r\n", "a", false, "Z", 30912, "xZ\r\nZ\r\n",
                       2}),
    [](const testing::TestParamInfo<ReplaceAllCase>& info) { return std::string(info.param.name); });

TEST_F(SearchCommandTest, ReplaceAllInsideAThreeLineSelectionThatGrows) {
  SetText("a\r\na\r\na\r\na\r\n");
  Select({0, 0}, {1, 2});
  SetKey("a");
  common().bSearchSelectedArea = 1;
  dialogs->Replace().m_nPaste = 1;
  SetClipboardPlain("x\r\ny");
  Run(kReplaceAll);
  EXPECT_EQ(DocBytes(), "x\r\ny\r\nx\r\ny\r\nx\r\ny\r\na\r\n") << "the fourth line is outside";
  EXPECT_EQ(dialogs->Replace().m_nReplaceCnt, 3);
  EXPECT_EQ(Selected(), (Span{{0, 0}, {1, 5}})) << "the area is selected again, grown with the text";
  EXPECT_EQ(StepCount(), 1);
  Undo();
  EXPECT_EQ(DocBytes(), "a\r\na\r\na\r\na\r\n");
}

TEST_F(SearchCommandTest, ReplaceAllEndsWhereAHitWouldReachPastTheArea) {
  SetText("aa aa aa");
  Select({0, 0}, {4, 0});  // "aa a"
  SetKey("aa");
  SetReplacement("b");
  common().bSearchSelectedArea = 1;
  Run(kReplaceAll);
  EXPECT_EQ(DocBytes(), "b aa aa");
  EXPECT_EQ(dialogs->Replace().m_nReplaceCnt, 1);
  EXPECT_EQ(Selected(), (Span{{0, 0}, {3, 0}}));
}

// A box of rows 0-1 and columns 1-3 over three rows of "aaaa": only the hits that lay inside it
// are replaced, also when each replacement moves the rest of its row.
struct BoxCase {
  const char* name;
  std::string replacement;
  std::string after;
};

class ReplaceAllInABoxTable : public SearchCommandTest, public testing::WithParamInterface<BoxCase> {};

TEST_P(ReplaceAllInABoxTable, ReplacesOnlyInsideItsColumns) {
  const BoxCase& c = GetParam();
  SetText("aaaa\r\naaaa\r\naaaa\r\n");
  PlaceAt({1, 0});
  view->Command_BEGINBOXSELECT();
  PlaceAt({3, 1});
  view->ChangeSelectionTo(3, 1);
  SetKey("a");
  SetReplacement(c.replacement);
  common().bSearchSelectedArea = 1;
  Run(kReplaceAll);
  EXPECT_EQ(DocBytes(), c.after);
  EXPECT_EQ(dialogs->Replace().m_nReplaceCnt, 4);
  EXPECT_EQ(StepCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllInABoxTable,
                         testing::Values(BoxCase{"SameLength", "b", "abba\r\nabba\r\naaaa\r\n"},
                                         BoxCase{"Longer", "bb", "abbbba\r\nabbbba\r\naaaa\r\n"},
                                         BoxCase{"Kanji", "漢"_sj, "a漢漢a\r\na漢漢a\r\naaaa\r\n"_sj},
                                         BoxCase{"Nothing", "", "aa\r\naa\r\naaaa\r\n"}),
                         [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
