#include "editor/view/search/tag_jump_list_dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/foundation/settings/recent_list.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/view/search/tag_search.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "platform/timer.h"
#include "scoped_named_objects.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;
using D = CTagJumpListDialog;

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// A shared record, and a document x.c in a/b/c/ of a temporary tree whose tags files a test writes.
class TagJumpListTest : public testing::Test {
 protected:
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    Pump();
  }
  std::string Root() const { return dir.path().string() + "/"; }
  std::string Doc() const { return Root() + "a/b/c/x.c"; }
  void Tags(const std::string& folder, const std::string& text) const { dir.Write(folder + "tags", text); }

  // Runs f with a hook that acts as the user would on the tag-jump list.
  template <typename F>
  auto WithHook(const std::function<void(HWND)>& act, F run) {
    dt::SetShownHook([&](HWND d) {
      EXPECT_EQ(dt::TemplateOf(d), "228");
      act(d);
    });
    auto result = run();
    dt::SetShownHook(nullptr);
    return result;
  }

  std::vector<std::string> History() {
    std::vector<std::string> out;
    CRecentList list;
    if (!list.BindToShareData(record.get(), CRecentList::kTagJumpKeywords)) return out;
    for (int i = 0; i < list.GetCount(); ++i) out.emplace_back(list.GetItem(i));
    return out;
  }

  const ScopedNamedObjects names{"CTagJumpList-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  ScopedTempDir dir;
};

TEST_F(TagJumpListTest, SeveralHitsShowTheListWithItsSixColumnsAndPickTheDocumentsOwnFile) {
  Tags("a/", "func\tsub/y.cpp\t40;\"\tf\tclass:Y\nfunc\tb/c/X.C\t41;\"\tp\nfunc\tb/c/x.h\t42;\"\tz\n");
  dt::ControlState list;
  bool keywordShown = true;
  int focused = 0;
  TagTarget target;
  const TagLookup found = WithHook(
      [&](HWND d) {
        list = *dt::Query(d, D::kList);
        keywordShown = dt::Query(d, D::kKeyword)->visible || dt::Query(d, D::kIgnoreCase)->visible ||
                       dt::Query(d, D::kAnywhere)->visible || dt::Query(d, D::kKeywordLabel)->visible;
        focused = dt::FocusedControl(d);
        dt::Click(d, IDOK);
      },
      [&] { return FindDirectTag("func", Doc(), nullptr, &target); });

  EXPECT_EQ(list.columns, (std::vector<std::string>{"キーワード"_sj, "階層"_sj, "行番号"_sj, "種類"_sj, "ファイル名"_sj, "備考"_sj}));
  ASSERT_EQ(list.columnWidths.size(), 6u);
  const int whole = list.columnWidths[0] * 100 / 19;
  const int percents[] = {19, 6, 8, 9, 35, 20};
  for (int c = 0; c < 6; ++c) EXPECT_NEAR(list.columnWidths[c], whole * percents[c] / 100, 3) << c;
  EXPECT_EQ(list.rows, (std::vector<std::vector<std::string>>{{"func", "2", "40", "function", "sub/y.cpp", "class:Y"},
                                                              {"func", "2", "41", "prototype", "b/c/X.C", ""},
                                                              {"func", "2", "42", "", "b/c/x.h", ""}}));
  EXPECT_EQ(list.selection, 1) << "the same name and extension, without case";
  EXPECT_EQ(list.focusedRow, 1);
  EXPECT_FALSE(keywordShown) << "list mode hides the keyword controls";
  EXPECT_EQ(focused, D::kList);
  ASSERT_EQ(found, TagLookup::kFound);
  EXPECT_EQ(target.path, Root() + "a/b/c/X.C");
  EXPECT_EQ(target.line, 41);
}

TEST_F(TagJumpListTest, InitialSelectionPrefersNameAndExtensionThenNameThenTheFirstRow) {
  struct Case {
    const char* name;
    std::vector<std::string> files;
    int selected;
  };
  const std::vector<Case> cases = {
      {"name and extension", {"a.c", "x.h", "x.c"}, 2},
      {"the name alone", {"a.c", "X.H", "x.hpp"}, 1},
      {"the first row", {"a.c", "y.c"}, 0},
      {"a name longer than the document's is another", {"xx.c", "x"}, 1},
  };
  for (const Case& c : cases) {
    std::string text;
    for (size_t i = 0; i < c.files.size(); ++i) text += "t\t" + c.files[i] + "\t" + std::to_string(i + 1) + ";\"\tf\n";
    Tags("a/b/c/", text);
    int selection = -2;
    TagTarget target;
    const TagLookup found = WithHook(
        [&](HWND d) {
          selection = dt::Query(d, D::kList)->selection;
          dt::Click(d, IDOK);
        },
        [&] { return FindDirectTag("t", Doc(), nullptr, &target); });
    EXPECT_EQ(selection, c.selected) << c.name;
    ASSERT_EQ(found, TagLookup::kFound) << c.name;
    EXPECT_EQ(target.path, Root() + "a/b/c/" + c.files[static_cast<size_t>(c.selected)]) << c.name;
  }
}

TEST_F(TagJumpListTest, CancelAndDoubleClickAndASingleHitWithoutTheList) {
  Tags("a/b/c/", "t\tone.c\t1;\"\tf\nt\ttwo.c\t2;\"\tf\nu\tonly.c\t3;\"\tf\n");
  struct Case {
    const char* name;
    std::function<void(HWND)> act;
    TagLookup result;
    std::string path;
  };
  const Case cases[] = {
      {"cancel", [](HWND d) { dt::Click(d, IDCANCEL); }, TagLookup::kCancelled, ""},
      {"Esc", [](HWND d) { dt::PressKey(d, dt::Key::kEscape); }, TagLookup::kCancelled, ""},
      {"double click", [](HWND d) { dt::DoubleClick(d, D::kList, 1); }, TagLookup::kFound, "two.c"},
      {"select then Enter", [](HWND d) { dt::Select(d, D::kList, 1), dt::PressKey(d, dt::Key::kEnter); },
       TagLookup::kFound, "two.c"},
  };
  for (const Case& c : cases) {
    TagTarget target;
    EXPECT_EQ(WithHook(c.act, [&] { return FindDirectTag("t", Doc(), nullptr, &target); }), c.result) << c.name;
    if (c.result == TagLookup::kFound) {
      EXPECT_EQ(target.path, Root() + "a/b/c/" + c.path) << c.name;
    }
  }
  bool shown = false;
  TagTarget target;
  EXPECT_EQ(WithHook([&](HWND d) { shown = true, dt::Click(d, IDCANCEL); },
                     [&] { return FindDirectTag("u", Doc(), nullptr, &target); }),
            TagLookup::kFound);
  EXPECT_FALSE(shown) << "one hit needs no choice";
  EXPECT_EQ(target.path, Root() + "a/b/c/only.c");
  EXPECT_EQ(FindDirectTag("none", Doc(), nullptr, &target), TagLookup::kNotFound);
  EXPECT_EQ(FindDirectTag("", Doc(), nullptr, &target), TagLookup::kNotFound);
}

TEST_F(TagJumpListTest, KeywordModeSearchesWhenItsTimerFiresAndShowsTheNoticeRowPastOneHundred) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "k" + std::to_string(1000 + i) + "\tk.c\t" + std::to_string(i + 1) + ";\"\tf\n";
  Tags("a/b/", text);
  struct Seen {
    size_t rowsAtOpen = 99;
    int focused = 0;
    std::string keyword;
    std::vector<std::vector<std::string>> rows;
  };
  // Choosing the notice row chooses nothing.
  Seen seen;
  TagTarget choice;
  const TagLookup onNotice = WithHook(
      [&](HWND d) {
        seen.rowsAtOpen = dt::Query(d, D::kList)->rows.size();
        seen.focused = dt::FocusedControl(d);
        seen.keyword = dt::Query(d, D::kKeyword)->text;
        SendMessage(d, WM_TIMER, D::kSearchTimer, 0);
        seen.rows = dt::Query(d, D::kList)->rows;
        dt::Select(d, D::kList, 100);
        dt::Click(d, IDOK);
      },
      [&] { return ChooseKeywordTag("k", Doc(), nullptr, &choice); });
  EXPECT_EQ(seen.rowsAtOpen, 0u) << "nothing before the timer";
  EXPECT_EQ(seen.focused, D::kKeyword);
  EXPECT_EQ(seen.keyword, "k");
  ASSERT_EQ(seen.rows.size(), 101u);
  EXPECT_EQ(seen.rows[0], (std::vector<std::string>{"k1000", "1", "1", "function", "k.c", ""}));
  EXPECT_EQ(seen.rows[100], (std::vector<std::string>{"(通知)"_sj, "", "", "", "(これ以降は切り捨てました)"_sj, ""}));
  EXPECT_EQ(onNotice, TagLookup::kCancelled);
  EXPECT_TRUE(History().empty()) << "nothing chosen, nothing kept";

  // A real row: the options and the keyword are kept.
  record->m_bTagJumpICase = 0;
  const TagLookup onRow = WithHook(
      [&](HWND d) {
        dt::Click(d, D::kIgnoreCase);
        SendMessage(d, WM_TIMER, D::kSearchTimer, 0);
        dt::Select(d, D::kList, 3);
        dt::Click(d, IDOK);
      },
      [&] { return ChooseKeywordTag("k100", Doc(), nullptr, &choice); });
  ASSERT_EQ(onRow, TagLookup::kFound);
  EXPECT_EQ(choice.path, Root() + "a/b/k.c") << "joined to the folder of the tags file one level up";
  EXPECT_EQ(choice.line, 4);
  EXPECT_EQ(record->m_bTagJumpICase, 1);
  EXPECT_EQ(History(), (std::vector<std::string>{"k100"}));
}

TEST_F(TagJumpListTest, TypingRestartsTheSearchTimerWhichRefillsTheList) {
  Tags("a/b/c/", "alpha\ta.c\t1;\"\tf\nbeta\tb.c\t2;\"\tf\n");
  std::vector<std::string> afterTyping = {"x"};
  std::vector<std::string> afterWait;
  TagTarget choice;
  const TagLookup found = WithHook(
      [&](HWND d) {
        dt::Type(d, D::kKeyword, "be");
        afterTyping = dt::Query(d, D::kList)->items;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (dt::Query(d, D::kList)->items.empty() && std::chrono::steady_clock::now() < deadline) {
          Pump();
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        afterWait = dt::Query(d, D::kList)->items;
        dt::Click(d, IDOK);
      },
      [&] { return ChooseKeywordTag("", Doc(), nullptr, &choice); });
  EXPECT_TRUE(afterTyping.empty());
  EXPECT_EQ(afterWait, (std::vector<std::string>{"beta"}));
  ASSERT_EQ(found, TagLookup::kFound);
  EXPECT_EQ(choice.path, Root() + "a/b/c/b.c");
  EXPECT_EQ(History(), (std::vector<std::string>{"be"}));
}

TEST_F(TagJumpListTest, KeywordModeStartsFromTheHistoryWhenNoKeywordIsGiven) {
  {
    CRecentList list;
    ASSERT_TRUE(list.BindToShareData(record.get(), CRecentList::kTagJumpKeywords));
    list.AppendItem("older");
    list.AppendItem("newest");
  }
  dt::ControlState combo;
  TagTarget choice;
  WithHook(
      [&](HWND d) {
        combo = *dt::Query(d, D::kKeyword);
        dt::Click(d, IDCANCEL);
      },
      [&] { return ChooseKeywordTag("", Doc(), nullptr, &choice); });
  EXPECT_EQ(combo.items, (std::vector<std::string>{"newest", "older"}));
  EXPECT_EQ(combo.text, "newest");
  EXPECT_EQ(combo.limit, 259);
}

}  // namespace
