#include "platform/menu.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "platform/bitmap_resource.h"

namespace {

TEST(Menu, ItemsSubMenusAndRefusals) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(sub, MF_STRING | MF_CHECKED, 101, "&One\tCtrl+1"));
  ASSERT_TRUE(AppendMenu(sub, MF_SEPARATOR, 0, "ignored"));
  ASSERT_TRUE(InsertMenu(sub, 101, MF_STRING | MF_GRAYED, 100, "Zero"));
  ASSERT_TRUE(InsertMenu(sub, 99, MF_BYPOSITION | MF_STRING | MF_MENUBREAK, 102, "Two"));
  ASSERT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "&File"));
  EXPECT_FALSE(AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "again"));  // already a child
  EXPECT_EQ(GetMenuItemCount(sub), 4);
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 0, info));
  EXPECT_EQ(info.id, 100u);
  EXPECT_TRUE(info.flags & MF_GRAYED);
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 1, info));
  EXPECT_EQ(info.text, "&One\tCtrl+1");
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 2, info));
  EXPECT_TRUE(info.flags & MF_SEPARATOR);
  EXPECT_EQ(info.text, "");
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 3, info));
  EXPECT_EQ(info.id, 102u);
  EXPECT_FALSE(GetMenuItemInfoAt(sub, 4, info));
  platform::MenuIcon icon;
  icon.pixels[0] = 0x123456;
  EXPECT_TRUE(SetMenuItemIcon(sub, 1, icon));
  ASSERT_TRUE(GetMenuItemInfoAt(sub, 1, info));
  EXPECT_TRUE(info.hasIcon);
  EXPECT_EQ(info.icon.pixels[0], 0x123456u);
  ASSERT_TRUE(GetMenuItemInfoAt(bar, 0, info));
  EXPECT_EQ(info.submenu, sub);
  // Destroying the bar frees its sub-menus; stale handles are refused.
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(DestroyMenu(bar));
  EXPECT_EQ(GetMenuItemCount(sub), -1);
  EXPECT_FALSE(AppendMenu(sub, MF_STRING, 1, "x"));
}

// A bar with a popup holding a nested popup, as a resource would make it.
struct StateMenu {
  StateMenu() {
    AppendMenu(inner, MF_STRING, 201, "Inner");
    AppendMenu(sub, MF_STRING, 101, "One");
    AppendMenu(sub, MF_SEPARATOR, 0, nullptr);
    AppendMenu(sub, MF_STRING | MF_GRAYED, 102, "Two");
    AppendMenu(sub, MF_POPUP, reinterpret_cast<uintptr_t>(inner), "Nested");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "Menu");
    AppendMenu(bar, MF_STRING, 301, "Quit");
  }
  ~StateMenu() { DestroyMenu(bar); }
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  HMENU inner = CreatePopupMenu();
};

TEST(Menu, StatesByCommandAndByPosition) {
  struct Case {
    const char* name;
    int (*change)(HMENU, UINT, UINT);
    UINT item, flags;
    int previous;    // what the change returns
    int stateAfter;  // GetMenuState of the same item afterwards (by the same addressing)
  };
  const Case cases[] = {
      {"check an item of a sub-menu", CheckMenuItem, 101, MF_CHECKED, MF_UNCHECKED, MF_CHECKED},
      {"check an item of a nested sub-menu", CheckMenuItem, 201, MF_BYCOMMAND | MF_CHECKED, MF_UNCHECKED, MF_CHECKED},
      {"check an item on the bar", CheckMenuItem, 301, MF_CHECKED, MF_UNCHECKED, MF_CHECKED},
      {"uncheck an unchecked item", CheckMenuItem, 101, MF_UNCHECKED, MF_UNCHECKED, 0},
      {"check an id the menu lacks", CheckMenuItem, 40004, MF_CHECKED, -1, -1},
      {"enable a grey item", EnableMenuItem, 102, MF_ENABLED, MF_GRAYED, 0},
      {"grey an item", EnableMenuItem, 101, MF_GRAYED, MF_ENABLED, MF_GRAYED},
      {"disable an item", EnableMenuItem, 201, MF_DISABLED, MF_ENABLED, MF_DISABLED},
      {"enable an id the menu lacks", EnableMenuItem, 999, MF_ENABLED, -1, -1},
      {"check by position", CheckMenuItem, 2, MF_BYPOSITION | MF_CHECKED, MF_UNCHECKED, MF_CHECKED | MF_GRAYED},
      {"a position past the end", CheckMenuItem, 4, MF_BYPOSITION | MF_CHECKED, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StateMenu m;
    HMENU target = (c.flags & MF_BYPOSITION) ? m.sub : m.bar;
    EXPECT_EQ(c.change(target, c.item, c.flags), c.previous);
    EXPECT_EQ(GetMenuState(target, c.item, c.flags & MF_BYPOSITION), c.stateAfter);
  }
  StateMenu m;
  EXPECT_EQ(GetMenuState(m.bar, 0, MF_BYPOSITION) & MF_POPUP, MF_POPUP);
  EXPECT_EQ(GetMenuState(m.sub, 1, MF_BYPOSITION), static_cast<int>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(nullptr, 101, 0), -1);
}

TEST(Menu, ModifyChangesTextAndIdButNeverMakesOrBreaksASubMenu) {
  StateMenu m;
  EXPECT_EQ(CheckMenuItem(m.bar, 101, MF_CHECKED), 0);
  ASSERT_TRUE(ModifyMenu(m.bar, 101, MF_BYCOMMAND | MF_STRING, 105, "Five"));
  platform::MenuItemInfo info;
  ASSERT_TRUE(GetMenuItemInfoAt(m.sub, 0, info));
  EXPECT_EQ(info.id, 105u);
  EXPECT_EQ(info.text, "Five");
  EXPECT_EQ(info.flags, MF_STRING);  // the new flags replace the old, the check mark with them
  EXPECT_EQ(GetMenuState(m.bar, 101, 0), -1);
  ASSERT_TRUE(ModifyMenu(m.sub, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, 106, "Six"));
  EXPECT_EQ(GetMenuState(m.bar, 106, 0), static_cast<int>(MF_GRAYED));
  ASSERT_TRUE(ModifyMenu(m.bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<uintptr_t>(m.sub), "Renamed"));
  ASSERT_TRUE(GetMenuItemInfoAt(m.bar, 0, info));
  EXPECT_EQ(info.text, "Renamed");
  EXPECT_EQ(info.submenu, m.sub);
  EXPECT_FALSE(ModifyMenu(m.bar, 0, MF_BYPOSITION | MF_STRING, 7, "x"));  // would orphan the sub-menu
  EXPECT_FALSE(ModifyMenu(m.bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<uintptr_t>(m.inner), "x"));
  EXPECT_FALSE(ModifyMenu(m.bar, 301, MF_POPUP, reinterpret_cast<uintptr_t>(m.inner), "x"));
  EXPECT_FALSE(ModifyMenu(m.bar, 777, MF_STRING, 7, "x"));
  ASSERT_TRUE(ModifyMenu(m.bar, 301, MF_SEPARATOR, 0, "ignored"));
  ASSERT_TRUE(GetMenuItemInfoAt(m.bar, 1, info));
  EXPECT_EQ(info.flags, MF_SEPARATOR);
  EXPECT_EQ(info.text, "");
}

TEST(Menu, EveryChangedItemIsReportedOnceWithItsKey) {
  std::vector<platform::MenuItemInfo> seen;
  platform::SetMenuItemObserver([&seen](const platform::MenuItemInfo& item) { seen.push_back(item); });
  StateMenu m;
  platform::MenuItemInfo one;
  ASSERT_TRUE(GetMenuItemInfoAt(m.sub, 0, one));
  EXPECT_NE(one.key, 0u);
  CheckMenuItem(m.bar, 101, MF_CHECKED);
  CheckMenuItem(m.bar, 101, MF_CHECKED);  // no change, no report
  EnableMenuItem(m.bar, 101, MF_GRAYED);
  ModifyMenu(m.bar, 101, MF_STRING, 101, "Uno");
  platform::SetMenuItemObserver({});
  ASSERT_EQ(seen.size(), 3u);
  for (const auto& item : seen) EXPECT_EQ(item.key, one.key);
  EXPECT_EQ(seen[0].flags, MF_CHECKED);
  EXPECT_EQ(seen[1].flags, MF_CHECKED | MF_GRAYED);
  EXPECT_EQ(seen[2].text, "Uno");
}

TEST(MenuResource, ATableBuildsAFreshTreeOnEveryLoad) {
  using E = platform::MenuResourceEntry;
  using K = E::Kind;
  const E table[] = {{K::kPopup, 0, "&File"},  {K::kItem, 11, "&Open"}, {K::kSeparator, 0, nullptr},
                     {K::kPopup, 0, "Recent"}, {K::kItem, 12, "a"},     {K::kEnd, 0, nullptr},
                     {K::kEnd, 0, nullptr},    {K::kItem, 13, "E&xit"}};
  ASSERT_TRUE(platform::RegisterMenuResource("TEST_TREE", table));
  HMENU bar = platform::LoadMenuResourceByName("TEST_TREE");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  platform::MenuItemInfo file, exit, open, sep, recent, a;
  ASSERT_TRUE(GetMenuItemInfoAt(bar, 0, file));
  ASSERT_TRUE(GetMenuItemInfoAt(bar, 1, exit));
  EXPECT_EQ(file.text, "&File");
  EXPECT_EQ(exit.id, 13u);
  EXPECT_EQ(exit.text, "E&xit");
  ASSERT_EQ(GetMenuItemCount(file.submenu), 3);
  ASSERT_TRUE(GetMenuItemInfoAt(file.submenu, 0, open));
  ASSERT_TRUE(GetMenuItemInfoAt(file.submenu, 1, sep));
  ASSERT_TRUE(GetMenuItemInfoAt(file.submenu, 2, recent));
  EXPECT_EQ(open.id, 11u);
  EXPECT_EQ(sep.flags, MF_SEPARATOR);
  ASSERT_EQ(GetMenuItemCount(recent.submenu), 1);
  ASSERT_TRUE(GetMenuItemInfoAt(recent.submenu, 0, a));
  EXPECT_EQ(a.id, 12u);
  // A second load is a menu of its own: a check on one leaves the other alone.
  HMENU other = platform::LoadMenuResourceByName("TEST_TREE");
  ASSERT_NE(other, bar);
  CheckMenuItem(bar, 12, MF_CHECKED);
  EXPECT_EQ(GetMenuState(other, 12, 0), 0);
  DestroyMenu(bar);
  DestroyMenu(other);
  EXPECT_EQ(platform::LoadMenuResourceByName("NO_SUCH_MENU"), nullptr);
}

TEST(MenuResource, BadTablesAreRefusedAndLeaveTheOldOne) {
  using E = platform::MenuResourceEntry;
  using K = E::Kind;
  const E good[] = {{K::kItem, 1, "one"}};
  ASSERT_TRUE(platform::RegisterMenuResource("TEST_BAD", good));
  struct Case {
    const char* name;
    std::vector<E> table;
  } cases[] = {
      {"a popup that never closes", {{K::kPopup, 0, "p"}, {K::kItem, 1, "x"}}},
      {"an end without its popup", {{K::kItem, 1, "x"}, {K::kEnd, 0, nullptr}}},
      {"an item without a caption", {{K::kItem, 1, nullptr}}},
      {"a popup without a caption", {{K::kPopup, 0, nullptr}, {K::kEnd, 0, nullptr}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(platform::RegisterMenuResource("TEST_BAD", c.table));
    HMENU menu = platform::LoadMenuResourceByName("TEST_BAD");
    EXPECT_EQ(GetMenuState(menu, 1, 0), 0);
    platform::MenuItemInfo info;
    ASSERT_TRUE(GetMenuItemInfoAt(menu, 0, info));
    EXPECT_EQ(info.text, "one");
    DestroyMenu(menu);
  }
  EXPECT_FALSE(platform::RegisterMenuResource("", good));
}

TEST(BitmapResource, RegisteredBytesDecodeAndBadOnesAreRefused) {
  // A 2 x 1 24-bit BMP: blue, then red.
  const uint8_t bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,   0, 40, 0, 0, 0,   2, 0, 0,
                         0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,   8, 0,  0, 0, 0,   0, 0, 0,
                         0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 255, 0, 0,  0, 0, 255, 0, 0};
  {
    // The registry keeps the picture, not the caller's bytes.
    std::vector<uint8_t> bytes(std::begin(bmp), std::end(bmp));
    ASSERT_TRUE(platform::RegisterBitmapResource(4242, bytes));
    std::fill(bytes.begin(), bytes.end(), 0);
  }
  auto b = platform::LoadBitmapResource(4242);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 2);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(b->Row(0))[0] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(b->Row(0))[1] & 0xFFFFFF, 0xFF0000u);
  // Each load is a bitmap of its own: drawing into one leaves the next load as registered.
  reinterpret_cast<uint32_t*>(b->Row(0))[0] = 0x123456;
  auto again = platform::LoadBitmapResource(4242);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(again->Row(0))[0] & 0xFFFFFF, 0x0000FFu);
  const uint8_t junk[] = {1, 2, 3};
  EXPECT_FALSE(platform::RegisterBitmapResource(4243, junk));
  EXPECT_EQ(platform::LoadBitmapResource(4243), nullptr);
  EXPECT_EQ(platform::LoadBitmapFile("/no/such/file.bmp"), nullptr);
}

}  // namespace
