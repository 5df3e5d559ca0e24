#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>

#include "editor/foundation/message_box_capture.h"
#include "jump_fixture.h"
#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"

namespace {

class BookmarkTest : public JumpFixture {};

constexpr char kSixLines[] = "line1\r\nline2\r\nline3\r\nline4\r\nline5\r\nline6\r\n";

TEST_F(BookmarkTest, SetTogglesEveryLineASelectionTouchesEvenEndingAtColumnZero) {
  SetText(kSixLines);
  Mark({3});
  Select({2, 2}, {0, 4});  // from the middle of line 3 to column 0 of line 5
  Run(kBookmarkSet);
  EXPECT_EQ(Bookmarks(), (std::set<int>{2, 4})) << "lines 3 and 5 on, line 4 off again";
}

TEST_F(BookmarkTest, SetWithoutASelectionOverRowsTogglesTheCaretsLine) {
  SetText(kSixLines);
  Select({1, 1}, {3, 1});  // within one row
  Run(kBookmarkSet);
  EXPECT_EQ(Bookmarks(), (std::set<int>{1}));
  Run(kBookmarkSet);
  EXPECT_EQ(Bookmarks(), (std::set<int>{}));
}

TEST_F(BookmarkTest, ResetClearsEveryBookmark) {
  SetText(kSixLines);
  Mark({0, 3, 5});
  Run(kBookmarkReset);
  EXPECT_TRUE(Bookmarks().empty());
}

struct WalkCase {
  const char* name;
  int caretLine;
  bool wrap;
  int command;
  std::optional<int> reached;  // none: the caret stays
  std::string status;
};

class BookmarkWalkTable : public BookmarkTest, public testing::WithParamInterface<WalkCase> {};

TEST_P(BookmarkWalkTable, GoesToTheNextMarkedLineOrReports) {
  const WalkCase& c = GetParam();
  SetText(kSixLines);
  Mark({1, 4});
  common().bSearchAll = c.wrap ? 1 : 0;
  PlaceAt({3, c.caretLine});
  editWindow.status[0] = "";
  Run(c.command);
  const Pos expected = c.reached ? Pos{0, *c.reached} : Pos{3, c.caretLine};
  EXPECT_EQ(Where(), expected);
  EXPECT_EQ(Status(), c.status);
  EXPECT_FALSE(Selected());
}

INSTANTIATE_TEST_SUITE_P(
    Walks, BookmarkWalkTable,
    testing::Values(WalkCase{"NextBetween", 2, false, 30971, 4, ""},
                    WalkCase{"NextFromTheLastWrapsToTheFirst", 4, true, 30971, 1, "▼先頭から再検索しました"_sj},
                    WalkCase{"NextFromTheLastWithoutWrap", 4, false, 30971, std::nullopt, "▽見つかりませんでした"_sj},
                    WalkCase{"NextFromBelowTheText", 6, true, 30971, 1, "▼先頭から再検索しました"_sj},
                    WalkCase{"PrevBetween", 3, false, 30972, 1, ""},
                    WalkCase{"PrevFromTheFirstWrapsToTheLast", 1, true, 30972, 4, "▲末尾から再検索しました"_sj},
                    WalkCase{"PrevFromTheFirstWithoutWrap", 0, false, 30972, std::nullopt, "△見つかりませんでした"_sj},
                    WalkCase{"PrevFromBelowTheText", 6, false, 30972, 4, ""}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST_F(BookmarkTest, SelectModeExtendsTheSelectionToTheMark) {
  SetText(kSixLines);
  Mark({4});
  PlaceAt({2, 1});
  Run(kBeginSelect);
  Run(kBookmarkNext);
  ASSERT_TRUE(Selected());
  EXPECT_EQ(*Selected(), std::make_pair(Pos{2, 1}, Pos{0, 4}));
  EXPECT_EQ(Where(), (Pos{0, 4}));
}

TEST_F(BookmarkTest, NotFoundIsAlsoAMessageWhenTheSettingsAskForIt) {
  SetText(kSixLines);
  PlaceAt({0, 2});
  {
    MessageBoxCapture boxes;
    Run(kBookmarkNext);
    Run(kBookmarkPrev);
    EXPECT_TRUE(boxes.requests.empty());
  }
  common().bSearchNOTIFYNOTFOUND = 1;
  MessageBoxCapture boxes;
  Run(kBookmarkNext);
  Run(kBookmarkPrev);
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].text, "後方(↓) にブックマークが見つかりません。"_sj);
  EXPECT_EQ(boxes.requests[1].text, "前方(↑) にブックマークが見つかりません。"_sj);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_ICONINFORMATION));
}

struct PatternCase {
  const char* name;
  std::string key;
  bool regexp;
  bool caseSensitive;
  bool wordOnly;
  std::set<int> marked;  // line 5 is marked before
};

class BookmarkPatternTable : public BookmarkTest, public testing::WithParamInterface<PatternCase> {};

TEST_P(BookmarkPatternTable, MarksEveryMatchingLineAndKeepsTheOthers) {
  const PatternCase& c = GetParam();
  SetText("foo1\r\nbar\r\nFOO22\r\nfood\r\nfoo x\r\nbaz\r\n");
  Mark({5});
  SetKey(c.key, c.regexp, c.caseSensitive, c.wordOnly);
  Run(kBookmarkPattern);
  EXPECT_EQ(Bookmarks(), c.marked);
}

INSTANTIATE_TEST_SUITE_P(Keys, BookmarkPatternTable,
                         testing::Values(PatternCase{"RegularExpression", "^foo[0-9]+$", true, false, false, {0, 2, 5}},
                                         PatternCase{
                                             "RegularExpressionWithCase", "^foo[0-9]+$", true, true, false, {0, 5}},
                                         PatternCase{"PlainWithoutCase", "foo", false, false, false, {0, 2, 3, 4, 5}},
                                         PatternCase{"WholeWord", "foo", false, false, true, {4, 5}},
                                         PatternCase{"ABrokenExpressionMarksNothing", "(", true, false, false, {5}}),
                         [](const testing::TestParamInfo<PatternCase>& info) { return std::string(info.param.name); });

TEST_F(BookmarkTest, TheFindDialogsMarkButtonMarksTheLinesOfItsKey) {
  SetText(kSixLines);
  Run(kSearchDialog);
  const HWND find = dialogs->Find().GetHwnd();
  ASSERT_NE(find, nullptr);
  platform::SetDlgItemText(find, 1021, "line[35]");
  if (platform::dialog_test::Query(find, 1010)->check != BST_CHECKED) {
    ASSERT_TRUE(platform::dialog_test::Click(find, 1010));
  }
  ASSERT_TRUE(platform::dialog_test::Click(find, 1138));
  EXPECT_EQ(Bookmarks(), (std::set<int>{2, 4}));
}

}  // namespace
