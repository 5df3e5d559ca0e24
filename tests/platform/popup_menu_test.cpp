// Pop-up menus through the hook that takes the user's place, and the URL opener's seam.
#include "platform/popup_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <memory>

#include <string>
#include <vector>

#include "platform/sjis_literal.h"
#include "platform/url_opener.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

// 10 "&Copy", 11 grey "&Paste", a sub-menu with 12 "切り取り(&T)", a separator.
struct TestMenu {
  TestMenu() {
    menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 10, "&Copy");
    AppendMenu(menu, MF_STRING | MF_GRAYED, 11, "&Paste");
    AppendMenu(sub, MF_STRING, 12, "切り取り(&T)"_sj);
    AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "&More");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  }
  ~TestMenu() { DestroyMenu(menu); }
  HMENU menu;
};

class PopupMenuTest : public testing::Test {
 protected:
  void TearDown() override { SetPopupMenuHook({}); }
  ChildWindowFixture windows;
  TestMenu menus;
};

TEST_F(PopupMenuTest, ChoicesAreReturnedOrPosted) {
  struct Case {
    const char* name;
    UINT answer;
    UINT flags;
    BOOL result;
    std::vector<WPARAM> posted;  // WM_COMMAND wParams the window receives
  };
  const Case cases[] = {
      {"chosen, returned", 10, TPM_RETURNCMD, 10, {}},
      {"chosen in a sub-menu, returned", 12, TPM_RETURNCMD | TPM_RIGHTBUTTON, 12, {}},
      {"chosen, posted", 10, 0, 1, {10}},
      {"dismissed", 0, TPM_RETURNCMD, 0, {}},
      {"dismissed, nothing posted", 0, 0, 0, {}},
      {"a grey item cannot be chosen", 11, TPM_RETURNCMD, 0, {}},
      {"an id the menu lacks", 99, 0, 0, {}},
  };
  for (const Case& c : cases) {
    POINT asked{};
    std::string firstText;
    SetPopupMenuHook([&](HMENU m, POINT at) {
      asked = at;
      MenuItemInfo first;
      GetMenuItemInfoAt(m, 0, first);
      firstText = first.text;
      return c.answer;
    });
    EXPECT_EQ(TrackPopupMenu(menus.menu, c.flags, 300, 200, 0, windows.child, nullptr), c.result) << c.name;
    EXPECT_EQ(asked.x, 300) << c.name;
    EXPECT_EQ(asked.y, 200) << c.name;
    EXPECT_EQ(firstText, "&Copy") << c.name;
    PumpTranslated();
    std::vector<WPARAM> posted;
    for (const Seen& s : platform_test::SeenBy(windows.child, [](UINT m) { return m == WM_COMMAND; })) {
      posted.push_back(s.wParam);
    }
    EXPECT_EQ(posted, c.posted) << c.name;
    platform_test::SeenMessages().clear();
  }
}

TEST_F(PopupMenuTest, RefusesWhatIsNotThere) {
  int asked = 0;
  SetPopupMenuHook([&](HMENU, POINT) {
    ++asked;
    return 10u;
  });
  EXPECT_EQ(TrackPopupMenu(nullptr, TPM_RETURNCMD, 0, 0, 0, windows.child, nullptr), 0);
  EXPECT_EQ(TrackPopupMenu(menus.menu, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr), 0);
  EXPECT_EQ(asked, 0);
}

// What a person would see: the items with their ids, and choosing one posts nothing by itself
// (TrackPopupMenu does as its flags say).
TEST_F(PopupMenuTest, TheShownMenuCarriesIdsAndPostsNothing) {
  std::unique_ptr<QMenu> shown(MakePopupQMenu(menus.menu, *TopWindowFromHandle(windows.child)));
  std::vector<UINT> ids;
  std::vector<bool> enabled;
  for (QAction* action : shown->actions()) {
    if (action->isSeparator() || action->menu()) continue;
    ids.push_back(action->property(kMenuIdProperty).toUInt());
    enabled.push_back(action->isEnabled());
  }
  EXPECT_EQ(ids, (std::vector<UINT>{10, 11}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, false}));
  shown->actions().front()->trigger();
  PumpTranslated();
  EXPECT_TRUE(platform_test::SeenBy(windows.child, [](UINT m) { return m == WM_COMMAND; }).empty());
}

TEST(UrlOpenerTest, AddressesReachTheOpenerWhole) {
  struct Case {
    const char* name;
    std::string url;
    bool opened;
  };
  const Case cases[] = {
      {"a web address", "http://x.jp", true},
      {"shell characters stay in the address", "http://x.jp/a$b;c&d!e", true},
      {"mail", "mailto:a@x.jp", true},
      {"empty", "", false},
      {"no scheme", "x.jp/index.html", false},
  };
  std::vector<std::string> given;
  const UrlOpenerHook before = SetUrlOpenerHook([&](const std::string& url) {
    given.push_back(url);
    return true;
  });
  for (const Case& c : cases) {
    given.clear();
    EXPECT_EQ(OpenUrl(c.url), c.opened) << c.name;
    EXPECT_EQ(given, c.opened ? std::vector<std::string>{c.url} : std::vector<std::string>{}) << c.name;
  }
  SetUrlOpenerHook(before);
}

}  // namespace
