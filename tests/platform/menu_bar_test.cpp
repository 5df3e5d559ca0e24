// Menus of the menu facility shown as a window's menu bar.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>
#include <vector>

#include "platform/gui_app.h"
#include "platform/menu.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
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

std::vector<MSG> commands;
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) commands.push_back(MSG{hwnd, message, wParam, lParam});
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  for (int i = 0; i < 5; ++i)
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

QAction* ActionOf(QMenu* menu, const char8_t* utf8) {
  for (QAction* a : menu->actions())
    if (a->text() == QString::fromUtf8(utf8)) return a;
  return nullptr;
}

// A window whose class names a registered menu resource gets that menu as its bar; the bar follows
// every change of the model at once, queues the chosen command, and goes with the window.
class ResourceBar : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    UseMenuBars();
    using K = MenuResourceEntry::Kind;
    const MenuResourceEntry table[] = {{K::kPopup, 0, "設定(&C)"_sj},
                                       {K::kPopup, 0, "画面(&G)"_sj},
                                       {K::kItem, 40020, "フルスクリーン(&F)"_sj},
                                       {K::kItem, 40021, "ウインドウ(&W)"_sj},
                                       {K::kEnd, 0, nullptr},
                                       {K::kSeparator, 0, nullptr},
                                       {K::kItem, 40102, "チップスを表示する"_sj},
                                       {K::kEnd, 0, nullptr},
                                       {K::kItem, 40001, "終了(&X)"_sj}};
    ASSERT_TRUE(RegisterMenuResource("TEST_BAR", table));
    static bool registered = false;
    if (!registered) {
      WNDCLASSEX wc;
      wc.lpfnWndProc = RecordingProc;
      wc.lpszClassName = "ResourceBarClass";
      wc.lpszMenuName = "TEST_BAR";
      ASSERT_NE(RegisterClassEx(&wc), 0);
      registered = true;
    }
    hwnd = CreateWindowEx(0, "ResourceBarClass", "bar", WS_CAPTION | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                          nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    menu = GetMenu(hwnd);
    ASSERT_NE(menu, nullptr);
    QMenuBar* bar = qobject_cast<QMenuBar*>(hwnd->menuWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);
    settings = bar->actions()[0]->menu();
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(settings->actions().size(), 3);
    screen = settings->actions()[0]->menu();
    ASSERT_NE(screen, nullptr);
    quit = bar->actions()[1];
    commands.clear();
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
    Pump();
    SetMenuBackend({});
    SetMenuItemObserver({});
  }

  HWND hwnd = nullptr;
  HMENU menu = nullptr;
  QMenu* settings = nullptr;
  QMenu* screen = nullptr;
  QAction* quit = nullptr;
};

TEST_F(ResourceBar, CaptionsMnemonicsAndSeparatorsShowAsTheTableHasThem) {
  EXPECT_EQ(settings->title(), QString::fromUtf8(u8"設定(&C)"));
  EXPECT_EQ(screen->title(), QString::fromUtf8(u8"画面(&G)"));
  EXPECT_TRUE(settings->actions()[1]->isSeparator());
  EXPECT_EQ(settings->actions()[2]->text(), QString::fromUtf8(u8"チップスを表示する"));
  EXPECT_EQ(quit->text(), QString::fromUtf8(u8"終了(&X)"));
  EXPECT_EQ(quit->menu(), nullptr);  // a command right on the bar
  ASSERT_EQ(screen->actions().size(), 2);
  for (QAction* a : screen->actions()) {
    EXPECT_TRUE(a->isEnabled());
    EXPECT_FALSE(a->isChecked());
  }
}

TEST_F(ResourceBar, ChecksGreyAndTextFollowTheModelAtOnce) {
  QAction* full = ActionOf(screen, u8"フルスクリーン(&F)");
  QAction* tips = ActionOf(settings, u8"チップスを表示する");
  ASSERT_NE(full, nullptr);
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(CheckMenuItem(menu, 40020, MF_CHECKED), static_cast<int>(MF_UNCHECKED));
  EXPECT_TRUE(full->isChecked());
  EXPECT_EQ(CheckMenuItem(menu, 40020, MF_UNCHECKED), static_cast<int>(MF_CHECKED));
  EXPECT_FALSE(full->isChecked());
  EXPECT_EQ(EnableMenuItem(menu, 40102, MF_GRAYED), static_cast<int>(MF_ENABLED));
  EXPECT_FALSE(tips->isEnabled());
  EXPECT_TRUE(ModifyMenu(menu, 40102, MF_STRING | MF_GRAYED, 40102, "NO DATA"));
  EXPECT_EQ(tips->text(), "NO DATA");
  EXPECT_FALSE(tips->isEnabled());
  // Ids the menu lacks change nothing.
  EXPECT_EQ(CheckMenuItem(menu, 40004, MF_CHECKED), -1);
  // A redrawn bar shows the same states.
  ASSERT_TRUE(DrawMenuBar(hwnd));
  QMenuBar* bar = qobject_cast<QMenuBar*>(hwnd->menuWidget());
  QAction* again = ActionOf(bar->actions()[0]->menu(), u8"NO DATA");
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->isEnabled());
}

// A bar built anew (the window changes its screen mode) lets go of the old menus at the next pump:
// over a long session they would pile up on the bar.
TEST_F(ResourceBar, ARebuiltBarLeavesNothingBehind) {
  QMenuBar* bar = qobject_cast<QMenuBar*>(hwnd->menuWidget());
  const QPointer<QMenu> old(settings);
  const auto count = [bar] { return bar->findChildren<QObject*>().size(); };
  ASSERT_TRUE(SetMenu(hwnd, menu));
  Pump();
  EXPECT_TRUE(old.isNull());
  const auto once = count();
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(SetMenu(hwnd, menu));
    Pump();
  }
  EXPECT_EQ(count(), once);
}

TEST_F(ResourceBar, AChosenItemIsQueuedForThePumpAndKeepsItsMark) {
  CheckMenuItem(menu, 40021, MF_CHECKED);
  SimulateMenuCommand(hwnd, 40021);
  SimulateMenuCommand(hwnd, 40001);
  EXPECT_TRUE(commands.empty());  // nothing runs until the pump takes it
  Pump();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, 40021u);
  EXPECT_EQ(commands[0].lParam, 0);
  EXPECT_EQ(commands[1].wParam, 40001u);
  EXPECT_TRUE(ActionOf(screen, u8"ウインドウ(&W)")->isChecked());  // the program sets marks, not the click
  // A grey item and an id the bar lacks do nothing.
  EnableMenuItem(menu, 40020, MF_GRAYED);
  SimulateMenuCommand(hwnd, 40020);
  SimulateMenuCommand(hwnd, 40004);
  Pump();
  EXPECT_EQ(commands.size(), 2u);
}

TEST_F(ResourceBar, AnOpenMenuIsSeenUntilItCloses) {
  EXPECT_FALSE(IsMenuOpen(hwnd));
  SimulateMenuOpen(hwnd, 0);
  Pump();
  EXPECT_TRUE(IsMenuOpen(hwnd));
  SimulateMenuClose(hwnd);
  Pump();
  EXPECT_FALSE(IsMenuOpen(hwnd));
  EXPECT_FALSE(IsMenuOpen(nullptr));
}

TEST_F(ResourceBar, TheClassMenuGoesWithTheWindow) {
  DestroyWindow(hwnd);
  hwnd = nullptr;
  EXPECT_EQ(GetMenuItemCount(menu), -1);
}

}  // namespace

// A class or a LoadMenu may name its menu by number, as resources named by id are: the number is
// looked up as its decimal text and never read as a string. No name gives no bar.
TEST(MenuBar, MenuNamedByNumberIsTheResourceOfItsDecimalText) {
  EnsureGuiApp();
  UseMenuBars();
  using K = MenuResourceEntry::Kind;
  const MenuResourceEntry table[] = {{K::kPopup, 0, "File"}, {K::kItem, 7, "Go"}, {K::kEnd, 0, nullptr}};
  ASSERT_TRUE(RegisterMenuResource("4711", table));
  struct Case {
    const char* name;
    const char* className;
    bool hasBar;
  };
  const Case cases[] = {{"number", "NumberMenuClass", true},
                        {"text", "TextMenuClass", true},
                        {"none", "NoMenuClass", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WNDCLASSEX wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = c.className;
    if (std::string_view(c.name) == "number") wc.lpszMenuName = MAKEINTRESOURCE(4711);
    if (std::string_view(c.name) == "text") wc.lpszMenuName = "4711";
    ASSERT_NE(RegisterClassEx(&wc), 0);
    HWND hwnd = CreateWindowEx(0, c.className, "m", WS_CAPTION, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    HMENU menu = GetMenu(hwnd);
    EXPECT_EQ(menu != nullptr, c.hasBar);
    if (menu) EXPECT_EQ(GetMenuItemCount(menu), 1);
    DestroyWindow(hwnd);
  }
  HMENU loaded = LoadMenu(nullptr, MAKEINTRESOURCE(4711));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(GetMenuItemCount(loaded), 1);
  DestroyMenu(loaded);
  EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCE(4712)), nullptr);
}
