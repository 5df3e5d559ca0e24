// The window list's items: their labels (access keys, grep keys cut on whole characters, the output
// window, nicknames, "&" doubled, the modified mark and the code's tag), their ids and check mark,
// and the window each item remembers.
#include "editor/shell/window/window_list_menu.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/shell/commands/menu_drawer.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"

namespace {

using namespace std::string_literals;

RecentFileRecord Info(const char* path, bool modified = false, int code = 0) {
  RecentFileRecord info = kEmptyRecentFileRecord;
  std::strcpy(info.szPath, path);
  info.bModified = modified;
  info.nCharCode = code;
  return info;
}

RecentFileRecord GrepInfo(const std::string& key) {
  RecentFileRecord info = kEmptyRecentFileRecord;
  info.bGrepWindow = 1;
  std::memcpy(info.szGrepText, key.data(), key.size());
  return info;
}

class WindowListMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
  }
  const ScopedNamedObjects names{"window-list-menu-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
};

TEST_F(WindowListMenuTest, Labels) {
  record->nNicknameCount = 1;
  std::strcpy(record->szNicknameFrom[0], "/home/user/");
  std::strcpy(record->szNicknameTo[0], "~/");
  share.ExpandNicknameSources();
  const std::string kanji = "表"_sj;
  struct Case {
    const char* name;
    int place;
    RecentFileRecord info;
    bool output;
    std::string expected;
  };
  const Case cases[] = {
      {"untitled", 0, Info(""), false, "&1 "s + "(無題)"_sj + "  "},
      {"modified, with its code", 1, Info("/a/b.txt", true, 1), false, "&2 /a/b.txt *  [JIS]"},
      {"UTF-8", 2, Info("/a/b.txt", false, 4), false, "&3 /a/b.txt    [UTF-8]"},
      {"big-endian Unicode", 3, Info("/a/b.txt", false, 6), false, "&4 /a/b.txt    [UniBE]"},
      {"an unknown code has no tag", 4, Info("/a/b.txt", false, 9), false, "&5 /a/b.txt  "},
      {"ampersands doubled", 5, Info("/a/R&D.txt"), false, "&6 /a/R&&D.txt  "},
      {"nickname applied", 6, Info("/home/user/n.txt"), false, "&7 ~/n.txt  "},
      {"the output window", 7, Info("/a/out.txt"), true, "&8 "s + "アウトプット"_sj},
      {"a short grep key", 8, GrepInfo("key"), false, "&9 "s + "【Grep】"_sj + "\"key\""},
      {"a grep key of 64 bytes", 9, GrepInfo(std::string(64, 'k')), false,
       "&A "s + "【Grep】"_sj + "\"" + std::string(64, 'k') + "\""},
      {"a longer grep key is cut", 10, GrepInfo(std::string(70, 'k')), false,
       "&B "s + "【Grep】"_sj + "\"" + std::string(64, 'k') + "・・・"_sj + "\""},
      {"the cut keeps a double-byte character whole", 11, GrepInfo(std::string(63, 'k') + kanji + "x"), false,
       "&C "s + "【Grep】"_sj + "\"" + std::string(63, 'k') + "・・・"_sj + "\""},
      {"the last access key", 34, Info("/z"), false, "&Z /z  "},
      {"past Z no access key", 35, Info("/z"), false, "/z  "},
      {"far past Z", 255, Info("/z"), false, "/z  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WindowListItemText(c.place, c.info, c.output, &share), c.expected);
  }
}

TEST_F(WindowListMenuTest, ItemsNameTheirWindows) {
  CMenuDrawer drawer(record.get());
  record->nKeyAssignCount = 0;
  record->hwndOutput = 30;
  const std::map<EditWindowId, RecentFileRecord> infos = {
      {10, Info("/a/one.txt")}, {20, Info("/a/two.txt", true)}, {30, Info("/a/out.txt")}};
  // In menu order, each with its position in the shared list.
  std::vector<EditWindowEntry> windows(3);
  windows[0].nWindowNumber = 2, windows[0].hwnd = 10;
  windows[1].nWindowNumber = 0, windows[1].hwnd = 20;
  windows[2].nWindowNumber = 1, windows[2].hwnd = 30;
  HMENU popup = CreatePopupMenu();
  CWindowListMenu list;
  list.Build(popup, windows, 20, share, drawer, [&](EditWindowId id) { return infos.at(id); });
  struct Item {
    UINT id;
    std::string text;
    bool checked;
  };
  const Item expected[] = {
      {10002, "&1 /a/one.txt  ", false},
      {10000, "&2 /a/two.txt *", true},
      {10001, "&3 "s + "アウトプット"_sj, false},
  };
  ASSERT_EQ(GetMenuItemCount(popup), 3);
  for (int i = 0; i < 3; ++i) {
    platform::MenuItemInfo info;
    ASSERT_TRUE(GetMenuItemInfoAt(popup, i, info));
    EXPECT_EQ(info.id, expected[i].id) << i;
    EXPECT_EQ(info.text, expected[i].text) << i;
    EXPECT_EQ((info.flags & MF_CHECKED) != 0, expected[i].checked) << i;
  }
  EXPECT_EQ(list.WindowOf(10002), 10u);
  EXPECT_EQ(list.WindowOf(10000), 20u);
  EXPECT_EQ(list.WindowOf(10001), 30u);
  EXPECT_EQ(list.WindowOf(10003), 0u) << "no item";
  EXPECT_EQ(list.WindowOf(9999), 0u);
  EXPECT_EQ(list.WindowOf(10256), 0u) << "past the list's capacity";

  // A new build forgets the old items; an entry whose position is outside the list is skipped.
  windows.resize(1);
  windows[0].nWindowNumber = 256;
  HMENU again = CreatePopupMenu();
  list.Build(again, windows, 20, share, drawer, [&](EditWindowId id) { return infos.at(id); });
  EXPECT_EQ(GetMenuItemCount(again), 0);
  EXPECT_EQ(list.WindowOf(10002), 0u);
  DestroyMenu(again);
  DestroyMenu(popup);
}

TEST(WindowListMenuAnchor, CursorOrPaneCornerKeptInTheWorkArea) {
  const RECT pane{100, 50, 700, 450};
  const RECT work{0, 0, 1024, 600};
  struct Case {
    const char* name;
    bool atCursor;
    POINT cursor;
    RECT pane;
    POINT expected;
  };
  const Case cases[] = {
      {"at the cursor", true, {300, 200}, pane, {300, 200}},
      {"the cursor left of the work area", true, {-40, 200}, pane, {0, 200}},
      {"the cursor below the work area", true, {300, 700}, pane, {300, 600}},
      {"150 left of the pane's corner", false, {0, 0}, pane, {550, 50}},
      {"a narrow pane: its left edge", false, {0, 0}, RECT{100, 50, 200, 450}, {100, 50}},
      {"a pane off the work area's left", false, {0, 0}, RECT{-300, 50, -100, 450}, {0, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const POINT at = WindowListMenuAnchor(c.atCursor, c.cursor, c.pane, work);
    EXPECT_EQ(at.x, c.expected.x);
    EXPECT_EQ(at.y, c.expected.y);
  }
}

}  // namespace
