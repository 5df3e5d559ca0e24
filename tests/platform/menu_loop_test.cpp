// The menu loop of a window's bar: what the window hears while the user opens its menus, the
// popups it rebuilds before they show, and the text in the bar's corner.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <QFontInfo>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui_app.h"
#include "platform/menu.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "platform/window_qt.h"

using namespace platform;

namespace {

std::vector<MSG> heard;
int rebuilds = 0;

HMENU GetSubMenuOfBar(HWND hwnd, int position) {
  MenuItemInfo item;
  return GetMenuItemInfoAt(GetMenu(hwnd), position, item) ? item.submenu : nullptr;
}

// Rebuilds its first popup on every opening, as an edit window does: the items and their states
// come from the moment, here from the number of openings so far.
LRESULT LoopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERMENULOOP || message == WM_EXITMENULOOP || message == WM_INITMENUPOPUP ||
      message == WM_MENUSELECT)
    heard.push_back(MSG{hwnd, message, wParam, lParam});
  if (message == WM_INITMENUPOPUP && LOWORD(static_cast<uintptr_t>(lParam)) == 0 &&
      reinterpret_cast<HMENU>(wParam) == GetSubMenuOfBar(hwnd, 0)) {
    auto popup = reinterpret_cast<HMENU>(wParam);
    while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
    ++rebuilds;
    AppendMenu(popup, MF_STRING, 30101, "新規作成(&N)"_sj);
    AppendMenu(popup, MF_STRING | (rebuilds % 2 ? MF_GRAYED : MF_CHECKED), 30103, "Save");
    HMENU recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, 11000, "a.txt");
    AppendMenu(popup, MF_POPUP, reinterpret_cast<uintptr_t>(recent), "Recent");
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  for (int i = 0; i < 5; ++i)
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

std::vector<UINT> Messages() {
  std::vector<UINT> out;
  for (const MSG& m : heard) out.push_back(m.message);
  return out;
}

long Count(UINT message) {
  return std::count_if(heard.begin(), heard.end(), [message](const MSG& m) { return m.message == message; });
}

class MenuLoop : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    UseMenuBars();
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = LoopProc;
      wc.lpszClassName = "MenuLoopClass";
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = CreateWindowEx(0, "MenuLoopClass", "loop", WS_CAPTION | WS_VISIBLE, 0, 0, 300, 120, nullptr, nullptr,
                          nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    HMENU bar = CreateMenu();
    file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 1, "stale");  // replaced at the first opening
    edit = CreatePopupMenu();
    AppendMenu(edit, MF_STRING, 30210, "Undo");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(file), "File");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(edit), "Edit");
    ASSERT_TRUE(SetMenu(hwnd, bar));
    heard.clear();
    rebuilds = 0;
  }
  void TearDown() override {
    SimulateMenuClose(hwnd);
    Pump();
    HMENU bar = GetMenu(hwnd);
    DestroyWindow(hwnd);
    DestroyMenu(bar);
    Pump();
    SetMenuBackend({});
    SetMenuItemObserver({});
  }
  QMenu* BarMenu(int index) {
    auto* bar = qobject_cast<QMenuBar*>(hwnd->menuWidget());
    return bar->actions()[index]->menu();
  }

  HWND hwnd = nullptr;
  HMENU file = nullptr;
  HMENU edit = nullptr;
};

TEST_F(MenuLoop, APopupShowsWhatTheWindowRebuiltBeforeItOpened) {
  SimulateMenuOpen(hwnd, 0);
  Pump();
  ASSERT_EQ(Messages(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP}));
  EXPECT_EQ(heard[1].wParam, reinterpret_cast<WPARAM>(file));
  EXPECT_EQ(heard[1].lParam, MAKELPARAM(0, 0));
  QMenu* shown = BarMenu(0);
  const QList<QAction*> items = shown->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), QString::fromUtf8(u8"新規作成(&N)"));
  EXPECT_EQ(items[1]->text(), "Save");
  EXPECT_FALSE(items[1]->isEnabled());  // the first rebuild greys it
  ASSERT_NE(items[2]->menu(), nullptr);
  EXPECT_EQ(items[2]->menu()->actions().size(), 1);

  SimulateMenuClose(hwnd);
  Pump();
  EXPECT_EQ(Messages().back(), static_cast<UINT>(WM_EXITMENULOOP));
  EXPECT_EQ(Count(WM_EXITMENULOOP), 1);

  // The next opening rebuilds again: the popup shows the new state, not the old one.
  heard.clear();
  SimulateMenuOpen(hwnd, 0);
  Pump();
  EXPECT_EQ(rebuilds, 2);
  ASSERT_EQ(BarMenu(0)->actions().size(), 3);
  EXPECT_TRUE(BarMenu(0)->actions()[1]->isEnabled());
  EXPECT_TRUE(BarMenu(0)->actions()[1]->isChecked());
  // A rebuilt item's command still goes to the window.
  BarMenu(0)->actions()[0]->trigger();
  MSG msg;
  bool command = false;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    command = command || (msg.message == WM_COMMAND && msg.wParam == 30101);
    DispatchMessage(&msg);
  }
  EXPECT_TRUE(command);
}

TEST_F(MenuLoop, PopupsTellTheirPlaceAndHoveredItemsAreSelected) {
  SimulateMenuOpen(hwnd, 1);
  Pump();
  ASSERT_EQ(Messages(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP}));
  EXPECT_EQ(heard[1].wParam, reinterpret_cast<WPARAM>(edit));
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(heard[1].lParam)), 1);
  EXPECT_EQ(rebuilds, 0);  // only the first popup is rebuilt by this window

  heard.clear();
  QMenu* shown = BarMenu(1);
  shown->setActiveAction(shown->actions()[0]);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard[0].message, static_cast<UINT>(WM_MENUSELECT));
  EXPECT_EQ(LOWORD(heard[0].wParam), 30210);
  EXPECT_EQ(HIWORD(heard[0].wParam) & MF_HILITE, MF_HILITE);
  EXPECT_EQ(HIWORD(heard[0].wParam) & MF_POPUP, 0u);
  EXPECT_EQ(heard[0].lParam, reinterpret_cast<LPARAM>(edit));

  // A sub-menu: its place in its popup, and its own WM_INITMENUPOPUP when it opens.
  SimulateMenuClose(hwnd);
  Pump();
  SimulateMenuOpen(hwnd, 0);
  Pump();
  heard.clear();
  QMenu* fileShown = BarMenu(0);
  QAction* recent = fileShown->actions()[2];
  fileShown->setActiveAction(recent);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard[0].message, static_cast<UINT>(WM_MENUSELECT));
  EXPECT_EQ(LOWORD(heard[0].wParam), 2);
  EXPECT_EQ(HIWORD(heard[0].wParam) & MF_POPUP, MF_POPUP);
  heard.clear();
  recent->menu()->popup(QPoint(0, 0));
  Pump();
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard[0].message, static_cast<UINT>(WM_INITMENUPOPUP));
  MenuItemInfo item;
  ASSERT_TRUE(GetMenuItemInfoAt(file, 2, item));
  EXPECT_EQ(heard[0].wParam, reinterpret_cast<WPARAM>(item.submenu));
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(heard[0].lParam)), 2);
  // Still one loop: no second entry.
  EXPECT_EQ(Count(WM_ENTERMENULOOP), 0);
}

TEST_F(MenuLoop, DeletedItemsTakeTheirSubMenusWithThem) {
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 5, "five");
  AppendMenu(edit, MF_POPUP, reinterpret_cast<uintptr_t>(sub), "Sub");
  AppendMenu(edit, MF_STRING, 6, "six");
  struct Case {
    const char* name;
    UINT item;
    UINT flags;
    bool found;
    int left;  // items of edit afterwards
  };
  const Case cases[] = {
      {"by command, found in a sub-menu's owner", 6, MF_BYCOMMAND, true, 2},
      {"an id no menu has", 4242, MF_BYCOMMAND, false, 2},
      {"the sub-menu by its place", 1, MF_BYPOSITION, true, 1},
      {"a place past the end", 3, MF_BYPOSITION, false, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeleteMenu(edit, c.item, c.flags), c.found) << c.name;
    EXPECT_EQ(GetMenuItemCount(edit), c.left) << c.name;
  }
  EXPECT_EQ(GetMenuItemCount(sub), -1);  // destroyed with its item
  // RemoveMenu leaves the sub-menu to the caller.
  HMENU kept = CreatePopupMenu();
  AppendMenu(edit, MF_POPUP, reinterpret_cast<uintptr_t>(kept), "Kept");
  EXPECT_TRUE(RemoveMenu(edit, 1, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(kept), 0);
  EXPECT_TRUE(AppendMenu(file, MF_POPUP, reinterpret_cast<uintptr_t>(kept), "Again"));
}

TEST_F(MenuLoop, TheCornerShowsTheCaptionMessage) {
  const std::string message = "検索文字列が見つかりません"_sj;
  ASSERT_TRUE(SetMenuBarCornerText(hwnd, message));
  auto* bar = qobject_cast<QMenuBar*>(hwnd->menuWidget());
  auto* label = qobject_cast<QLabel*>(bar->cornerWidget(Qt::TopRightCorner));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QString::fromUtf8(u8"検索文字列が見つかりません"));
  EXPECT_TRUE(label->font().fixedPitch() || QFontInfo(label->font()).fixedPitch());
  // A second message replaces the first in the same label.
  ASSERT_TRUE(SetMenuBarCornerText(hwnd, "abc"));
  EXPECT_EQ(bar->cornerWidget(Qt::TopRightCorner), label);
  EXPECT_EQ(label->text(), "abc");
  EXPECT_FALSE(SetMenuBarCornerText(nullptr, "x"));
}

}  // namespace
