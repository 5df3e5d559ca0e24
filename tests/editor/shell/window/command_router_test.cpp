// Where the edit window's commands go: by notification code and id to the frame's own handling or
// to the document (its active pane) with the code in the high word; the search box's focus marker
// and its history; recent files and folders opened; window items that name their windows.
#include "editor/shell/window/command_router.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/shell/window/window_list_menu.h"
#include "platform/dialog_test.h"
#include "editor/shell/commands/menu_drawer.h"
#include "platform/file_dialog.h"
#include "platform/file_dialog_test.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/win_help.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"
#include "window_fixture.h"

namespace {

class FakeHost : public IEditCommandHost {
 public:
  explicit FakeHost(const FakePane& pane) : m_pane(pane) {}
  HWND Window() const override { return nullptr; }
  HWND SearchBox() const override { return box; }
  std::string SearchBoxText() const override { return boxText; }
  // Recorded with the number of commands the pane had run by then.
  void FocusActivePane() override { events.push_back("focus@" + std::to_string(m_pane.commands.size())); }
  void QuitResidentProcess() override { events.push_back("quit"); }
  void ShowAboutDialog() override { events.push_back("about"); }
  bool ActivateWindow(EditWindowId window) override {
    activated.push_back(window);
    return true;
  }

  HWND box = nullptr;
  std::string boxText;
  std::vector<std::string> events;
  std::vector<EditWindowId> activated;

 private:
  const FakePane& m_pane;
};

// A handle that only has to differ from the box's.
HWND OtherControl() {
  static char control;
  return reinterpret_cast<HWND>(&control);
}

class CommandRouterTest : public WindowFixture {
 protected:
  CommandRouterTest() : WindowFixture("command-router-test") {}
  void SetUp() override {
    WindowFixture::SetUp();
    common().nFileShareMode = 0;
    common().bAlertIfFileNotExist = 0;
    host.box = SomeWindow();
  }
  CCommandRouter Router() { return CCommandRouter(*doc, share, host, windowList); }

  FakeHost host{ports.panes[0]};
  CWindowListMenu windowList;
};

TEST_F(CommandRouterTest, CodesAndIds) {
  constexpr int kCtrlU = 2 * 256 + 'U';  // bound to LineCutToStart (30240) by default
  constexpr int kUnbound = 7 * 256 + 'U';
  struct Case {
    const char* name;
    bool boxHadFocus;
    int code;
    int id;
    HWND control;
    std::vector<int> paneCommands;
    std::vector<std::string> events;
    int focusAfter;
  };
  const Case cases[] = {
      {"menu command to the pane", false, 0, 30602, nullptr, {30602}, {}, 0},
      {"toolbar command keeps its code", false, 2, 30602, nullptr, {0x20000 | 30602}, {}, 0},
      {"accelerator through the key bindings", false, 1, kCtrlU, nullptr, {0x10000 | 30240}, {}, 0},
      {"accelerator without a binding runs nothing", false, 1, kUnbound, nullptr, {}, {}, 0},
      {"a command from the box's focus leaves it first", true, 0, 30602, nullptr, {30602}, {"focus@0"}, 30908},
      {"an accelerator leaves the box first", true, 1, kCtrlU, nullptr, {0x10000 | 30240}, {"focus@0"}, 30908},
      {"the box's own command stays in the box", true, 0, 30908, nullptr, {30908}, {}, 30908},
      {"ExitAll", false, 0, 30195, nullptr, {}, {"quit"}, 0},
      {"ExitAll from the box's focus", true, 0, 30195, nullptr, {}, {"quit"}, 30908},
      {"About", false, 0, 31455, nullptr, {}, {"about"}, 0},
      {"the box takes the focus", false, 3, 0, SomeWindow(), {}, {}, 30908},
      {"another control's focus is no sign", false, 3, 0, OtherControl(), {}, {}, 0},
      {"the box loses the focus", true, 4, 0, SomeWindow(), {}, {}, 0},
      {"other codes are ignored", true, 5, 30602, SomeWindow(), {}, {}, 30908},
      {"the box's notification 1 is no key", false, 1, kCtrlU, SomeWindow(), {}, {}, 0},
      {"another control's notification 1 is no key", false, 1, kCtrlU, OtherControl(), {}, {}, 0},
      {"the box's notification 2 runs nothing", false, 2, 30602, SomeWindow(), {}, {}, 0},
      {"a toolbar button's click runs its command", false, 0, 30602, OtherControl(), {30602}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ports.panes[0].commands.clear();
    host.events.clear();
    CCommandRouter router = Router();
    if (c.boxHadFocus) router.OnCommand(kSearchBoxGotFocus, 0, host.box);
    router.OnCommand(c.code, c.id, c.control);
    EXPECT_EQ(ports.panes[0].commands, c.paneCommands);
    EXPECT_EQ(host.events, c.events);
    EXPECT_EQ(router.SearchBoxFocus(), c.focusAfter);
  }
}

TEST_F(CommandRouterTest, LeavingTheSearchBoxKeepsItsTextInTheHistory) {
  CCommandRouter router = Router();
  struct Case {
    const char* name;
    std::string text;
    std::string firstKey;
  };
  const Case cases[] = {{"a text", "needle", "needle"}, {"an empty box adds nothing", "", "needle"},
                        {"a second text goes first", "hay", "hay"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.boxText = c.text;
    router.OnCommand(kSearchBoxGotFocus, 0, host.box);
    router.OnCommand(kSearchBoxLostFocus, 0, host.box);
    EXPECT_EQ(router.SearchBoxFocus(), 0);
    EXPECT_STREQ(record->szSearchKeys[0], c.firstKey.c_str());
  }
  EXPECT_EQ(record->nSearchKeyCount, 2);
}

TEST_F(CommandRouterTest, HelpCommandsAskTheHelpFile) {
  std::vector<platform::WinHelpRequest> requests;
  const platform::WinHelpHook previous = platform::SetWinHelpHook([&](const platform::WinHelpRequest& r) {
    requests.push_back(r);
    return BOOL{1};
  });
  CCommandRouter router = Router();
  router.OnCommand(0, 31440, nullptr);
  router.OnCommand(0, 31441, nullptr);
  platform::SetWinHelpHook(previous);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].command, HELP_COMMAND);
  EXPECT_TRUE(requests[0].helpFile.ends_with("tovara.hlp")) << requests[0].helpFile;
  EXPECT_EQ(requests[1].command, HELP_KEY);
  EXPECT_STREQ(reinterpret_cast<const char*>(requests[1].data), "");
  EXPECT_TRUE(ports.panes[0].commands.empty());
}

TEST_F(CommandRouterTest, RecentFileOpensIntoTheEmptyDocument) {
  ScopedTempDir folder;
  folder.Write("a.txt", "alpha\r\n");
  folder.Write("b.txt", "beta\r\n");
  for (const char* name : {"a.txt", "b.txt"}) {
    RecentFileRecord recent = kEmptyRecentFileRecord;
    std::strcpy(recent.szPath, folder.File(name).c_str());
    ASSERT_TRUE(CRecentFileMenu(&share).AddRecord(&recent));
  }
  CCommandRouter router = Router();
  router.OnCommand(0, 11002, nullptr);  // no third file
  EXPECT_STREQ(doc->m_szFilePath, "");
  router.OnCommand(0, 11001, nullptr);  // the older one
  EXPECT_STREQ(doc->m_szFilePath, folder.File("a.txt").c_str());
  EXPECT_FALSE(doc->m_bReadOnly);
  EXPECT_TRUE(ports.panes[0].commands.empty());
}

TEST_F(CommandRouterTest, RecentFolderOpensTheDialogThere) {
  namespace dt = platform::dialog_test;
  platform::EnsureGuiApp();
  ScopedTempDir folder;
  std::filesystem::create_directories(folder.File("sub"));
  folder.Write("sub/c.txt", "gamma\r\n");
  ASSERT_TRUE(CRecentFolderMenu(&share).AddFolder((folder.File("sub") + "/").c_str()));
  std::string shown;
  dt::SetShownHook([&](HWND d) {
    shown = platform::file_dialog_test::ShownFolder(d);
    SetDlgItemText(d, platform::kFileDialogName, "");
    EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, "c.txt"));
    dt::Click(d, platform::kFileDialogReadOnly);
    dt::Click(d, IDOK);
  });
  CCommandRouter router = Router();
  router.OnCommand(0, 12001, nullptr);  // no second folder: no dialog
  EXPECT_TRUE(shown.empty());
  router.OnCommand(0, 12000, nullptr);
  dt::SetShownHook(nullptr);
  EXPECT_EQ(shown.substr(0, folder.File("sub").size()), folder.File("sub"));
  EXPECT_STREQ(doc->m_szFilePath, folder.File("sub/c.txt").c_str());
  EXPECT_TRUE(doc->m_bReadOnly) << "as the dialog chose";
}

// The list changes between the menu and the click: each item still names the window it was made
// for, and the item of a window that has gone activates nothing.
TEST_F(CommandRouterTest, WindowItemsActivateTheWindowTheyNamed) {
  ListedWindows listed(share, 3);
  const EditWindowId ids[3] = {listed.id(0), listed.id(1), listed.id(2)};
  // The newest first: positions 0, 1, 2 are windows 2, 1, 0.
  CMenuDrawer drawer(record.get());
  HMENU popup = CreatePopupMenu();
  windowList.Build(popup, share.GetEditWindowList(true), ids[0], share, drawer,
                   [](EditWindowId) { return kEmptyRecentFileRecord; });
  ASSERT_EQ(windowList.WindowOf(10001), ids[1]);

  // Window 1 closes: window 0 moves up to position 1.
  listed.Close(1);
  ASSERT_EQ(share.GetEditWindowList(false).at(1).hwnd, ids[0]);

  CCommandRouter router = Router();
  router.OnCommand(0, 10001, nullptr);
  EXPECT_TRUE(host.activated.empty()) << "the closed window's item activates no other window";
  router.OnCommand(0, 10002, nullptr);
  router.OnCommand(0, 10000, nullptr);
  EXPECT_EQ(host.activated, (std::vector<EditWindowId>{ids[0], ids[2]}));
  EXPECT_TRUE(ports.panes[0].commands.empty());

  // An id no item was made for: the window at that position now.
  host.activated.clear();
  windowList = CWindowListMenu();
  router.OnCommand(0, 10001, nullptr);
  EXPECT_EQ(host.activated, (std::vector<EditWindowId>{ids[0]}));

  DestroyMenu(popup);
}

}  // namespace
