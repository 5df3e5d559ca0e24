// Menus of the menu facility shown as a window's menu bar.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "platform/gui_app.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "platform/window_qt.h"

using namespace platform;

namespace {

WPARAM lastCommand = 0;
LRESULT CommandProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) lastCommand = wParam;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(MenuBar, ItemsShowTheirLabelsIconsAndStatesAndPostTheirCommand) {
  EnsureGuiApp();
  UseMenuBars();
  WNDCLASSEX wc;
  wc.lpfnWndProc = CommandProc;
  wc.lpszClassName = "MenuBarTestClass";
  RegisterClassEx(&wc);
  HWND hwnd =
      CreateWindowEx(0, "MenuBarTestClass", "menus", WS_CAPTION, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING | MF_OWNERDRAW, 30101, "&New\tCtrl+N");
  MenuIcon icon;
  icon.pixels.fill(0x00FF00);
  SetMenuItemIcon(file, 0, icon);
  AppendMenu(file, MF_SEPARATOR, 0, nullptr);
  AppendMenu(file, MF_STRING | MF_GRAYED | MF_CHECKED, 30185, "Read only");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(file), "&File");
  ASSERT_TRUE(SetMenu(hwnd, bar));

  QMenuBar* qbar = hwnd->menuBar();
  ASSERT_EQ(qbar->actions().size(), 1);
  QMenu* qfile = qbar->actions()[0]->menu();
  ASSERT_NE(qfile, nullptr);
  EXPECT_EQ(qbar->actions()[0]->text(), "&File");
  const auto items = qfile->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "&New\tCtrl+N");
  EXPECT_FALSE(items[0]->icon().isNull());
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_FALSE(items[2]->isEnabled());
  EXPECT_TRUE(items[2]->isChecked());
  EXPECT_TRUE(items[2]->icon().isNull());

  items[0]->trigger();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(lastCommand, 30101u);

  SetMenu(hwnd, nullptr);
  DestroyWindow(hwnd);
  DestroyMenu(bar);
  SetMenuBackend({});
}

}  // namespace
