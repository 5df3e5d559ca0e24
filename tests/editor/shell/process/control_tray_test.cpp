#include "editor/shell/process/control_tray.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/foundation/settings/recent_menus.h"
#include "platform/desktop.h"
#include "platform/dialog_test.h"
#include "platform/foreground_title.h"
#include "platform/file_dialog.h"
#include "platform/foreground_window.h"
#include "platform/gui_app.h"
#include "platform/hot_key.h"
#include "platform/ipc.h"
#include "platform/popup_menu.h"
#include "platform/sjis_literal.h"
#include "platform/tray_icon.h"
#include "platform/tray_icon_test.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/shell/process/fake_process_launcher.h"
#include "tests/scoped_named_objects.h"
#include "tests/scoped_temp_dir.h"

namespace {

using Reason = QSystemTrayIcon::ActivationReason;

class FakeGrepDialog final : public ITrayGrepDialog {
 public:
  bool IsOpen() const override { return open; }
  void Raise() override { ++raised; }
  bool Run(const std::string& seedKey, GrepLaunchRequest* request) override {
    seeds.push_back(seedKey);
    if (confirm) *request = answer;
    return confirm;
  }
  bool open = false;
  bool confirm = true;
  int raised = 0;
  GrepLaunchRequest answer;
  std::vector<std::string> seeds;
};

// Edit windows of this process listed in the record; each answers the file-information request
// with the record given for it.
class EditWindows {
 public:
  explicit EditWindows(CShareData& share) : m_share(share) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "TrayTestEditWindow";
    platform::RegisterClassEx(&wc);
  }
  ~EditWindows() {
    for (size_t i = 0; i < m_windows.size(); ++i) Close(static_cast<int>(i));
    for (EditWindowId id : m_dead) m_share.UnregisterEditWindow(id);
  }
  int Add(const RecentFileRecord& info) {
    HWND hwnd = platform::CreateWindowEx(0, "TrayTestEditWindow", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr,
                                         nullptr);
    const EditWindowId id = platform::ipc::RegisterWindow(hwnd, kEditWindowClass);
    Infos()[hwnd] = {&m_share, info};
    EXPECT_TRUE(m_share.RegisterEditWindow(id));
    m_windows.push_back(hwnd);
    m_ids.push_back(id);
    return static_cast<int>(m_windows.size()) - 1;
  }
  HWND window(int i) const { return m_windows.at(static_cast<size_t>(i)); }
  EditWindowId id(int i) const { return m_ids.at(static_cast<size_t>(i)); }
  // The window ends without leaving the shared list, as a process that was killed.
  void Die(int i) {
    m_dead.push_back(id(i));
    Close(i, false);
  }
  void Close(int i, bool unlist = true) {
    HWND& hwnd = m_windows.at(static_cast<size_t>(i));
    if (!hwnd) return;
    if (unlist) m_share.UnregisterEditWindow(id(i));
    platform::ipc::UnregisterWindow(id(i));
    Infos().erase(hwnd);
    platform::DestroyWindow(hwnd);
    hwnd = nullptr;
  }

 private:
  struct Answer {
    CShareData* share;
    RecentFileRecord info;
  };
  static std::map<HWND, Answer>& Infos() {
    static std::map<HWND, Answer> infos;
    return infos;
  }
  static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MYWM_GETFILEINFO) {
      const auto it = Infos().find(hwnd);
      if (it != Infos().end()) it->second.share->GetShareData()->ExchangeFileInfo = it->second.info;
      return 0;
    }
    if (msg == MYWM_CLOSE) return 1;  // agrees to close
    return platform::DefWindowProc(hwnd, msg, wParam, lParam);
  }

  CShareData& m_share;
  std::vector<HWND> m_windows;
  std::vector<EditWindowId> m_ids;
  std::vector<EditWindowId> m_dead;
};

// The menus the tray shows: each item as (id, text, grey), sub-menus as id 0.
struct ShownItem {
  UINT id;
  std::string text;
  bool grey;
  bool operator==(const ShownItem&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ShownItem& item) {
  return out << "{" << item.id << ", \"" << item.text << "\", " << item.grey << "}";
}

std::vector<ShownItem> ItemsOf(HMENU menu) {
  std::vector<ShownItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    platform::MenuItemInfo info;
    if (!GetMenuItemInfoAt(menu, i, info)) continue;
    if (info.flags & MF_SEPARATOR) {
      items.push_back({0, "-", false});
      continue;
    }
    items.push_back({info.submenu ? 0u : info.id, info.text, (info.flags & MF_GRAYED) != 0});
  }
  return items;
}

class ControlTrayTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    ASSERT_TRUE(RegisterTrayMenuResource());
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    m_previousHook = platform::SetPopupMenuHook([this](HMENU menu, POINT) {
      menus.push_back(ItemsOf(menu));
      return choose ? choose(menu) : 0u;
    });
  }
  void TearDown() override {
    app.reset();
    // The tray's end posts a quit, as the resident's loop needs; it must not end a later test's
    // dialog or loop.
    Pump(std::chrono::milliseconds(5));
    platform::SetPopupMenuHook(m_previousHook);
  }
  HWND MakeTray() {
    app = std::make_unique<CEditApp>(share, launcher);
    HWND hwnd = app->Create(nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
  }
  static void Pump(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    MSG msg;
    while (std::chrono::steady_clock::now() < end) {
      while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
    }
  }
  CommonSettings& common() { return record->Common; }

  const ScopedNamedObjects names{"ControlTray-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  FakeProcessLauncher launcher;
  MessageBoxCapture boxes;
  std::unique_ptr<CEditApp> app;
  std::vector<std::vector<ShownItem>> menus;
  std::function<UINT(HMENU)> choose;

 private:
  platform::PopupMenuHook m_previousHook;
};

TEST_F(ControlTrayTest, OneHiddenTrayWindow) {
  HWND hwnd = MakeTray();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(platform::IsWindowVisible(hwnd));
  EXPECT_EQ(platform::GetWindowText(hwnd), "CEditApp");
  EXPECT_EQ(platform::ipc::GetClassName(app->GetTrayWindowId()), "CEditApp");
  EXPECT_NE(app->GetAccelerators(), nullptr);
  EXPECT_TRUE(boxes.requests.empty());

  // With that window recorded as the resident's, a second tray is refused.
  record->hwndResident = app->GetTrayWindowId();
  CEditApp second(share, launcher);
  EXPECT_EQ(second.Create(nullptr), nullptr);
  record->hwndResident = 0;
}

TEST_F(ControlTrayTest, WithoutANotificationAreaItSaysSoOnceAndGoesOn) {
  common().bTaskTrayUse = 1;
  testing::internal::CaptureStderr();
  HWND hwnd = MakeTray();
  app->SetTrayIcon();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(app->HasTrayIcon());
  EXPECT_NE(said.find("no notification area"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
  EXPECT_TRUE(platform::IsWindow(hwnd));
}

TEST_F(ControlTrayTest, IconWithItsTipWhenTheSettingsAskForOne) {
  platform::tray_icon_test::StandInTray tray;
  struct Case {
    const char* name;
    int use;
    bool shown;
  } cases[] = {{"asked for", 1, true}, {"not asked for", 0, false}};
  for (const Case& c : cases) {
    common().bTaskTrayUse = c.use;
    HWND hwnd = MakeTray();
    platform::tray_icon_test::Shown shown;
    EXPECT_EQ(platform::tray_icon_test::Inspect(hwnd, 0, &shown), c.shown) << c.name;
    EXPECT_EQ(app->HasTrayIcon(), c.shown) << c.name;
    if (c.shown) {
      const uint32_t high = static_cast<uint32_t>(ProductVersionHigh()), low = static_cast<uint32_t>(ProductVersionLow());
      EXPECT_EQ(shown.tip, "tovara " + std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
                               std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF))
          << c.name;
      EXPECT_EQ(shown.callbackMessage, MYWM_NOTIFYICON) << c.name;
    }
    app.reset();
    EXPECT_FALSE(platform::tray_icon_test::Inspect(hwnd, 0, &shown)) << c.name << ": the icon goes with the tray";
  }
}

// What each sequence of the icon's mouse messages does: menus shown and windows started.
TEST_F(ControlTrayTest, ClicksOnTheIcon) {
  HWND hwnd = MakeTray();
  struct Case {
    const char* name;
    std::vector<UINT> messages;
    size_t menus;
    size_t launches;
  } cases[] = {
      {"a click opens the menu", {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1, 0},
      {"a double click starts one window and opens no menu", {WM_LBUTTONDBLCLK, WM_LBUTTONUP}, 0, 1},
      {"a click after a double click opens the menu", {WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP},
       1, 1},
      {"the right button opens the help menu", {WM_RBUTTONUP}, 1, 0},
      {"other buttons do nothing", {WM_MBUTTONUP, WM_LBUTTONDOWN}, 0, 0},
  };
  for (const Case& c : cases) {
    menus.clear();
    launcher.calls.clear();
    for (UINT m : c.messages) platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, m);
    Pump(std::chrono::milliseconds(5));
    EXPECT_EQ(menus.size(), c.menus) << c.name;
    EXPECT_EQ(launcher.calls.size(), c.launches) << c.name;
  }
}

// The whole way from the toolkit's double click: one window, no menu.
TEST_F(ControlTrayTest, ADoubleClickFromTheToolkitStartsExactlyOneWindow) {
  platform::tray_icon_test::StandInTray tray;
  QStyleHints* hints = QGuiApplication::styleHints();
  const int interval = hints->mouseDoubleClickInterval();
  hints->setMouseDoubleClickInterval(100);
  common().bTaskTrayUse = 1;
  HWND hwnd = MakeTray();
  ASSERT_TRUE(app->HasTrayIcon());
  ASSERT_TRUE(platform::tray_icon_test::Activate(hwnd, 0, Reason::Trigger));
  ASSERT_TRUE(platform::tray_icon_test::Activate(hwnd, 0, Reason::DoubleClick));
  Pump(std::chrono::milliseconds(400));
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_TRUE(menus.empty());
  hints->setMouseDoubleClickInterval(interval);
}

// The hot key or a click while a tray menu is open opens no second one.
TEST_F(ControlTrayTest, OneTrayMenuAtATime) {
  HWND hwnd = MakeTray();
  choose = [&](HMENU) {
    platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
    platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_RBUTTONUP);
    return 0u;
  };
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  EXPECT_EQ(menus.size(), 1u);
  choose = nullptr;
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_RBUTTONUP);
  EXPECT_EQ(menus.size(), 2u) << "closed, the menu opens again";
}

TEST_F(ControlTrayTest, HelpMenu) {
  HWND hwnd = MakeTray();
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_RBUTTONUP);
  ASSERT_EQ(menus.size(), 1u);
  const std::vector<ShownItem> expected = {
      {31440, "ヘルプ目次(&O)"_sj, false}, {31441, "ヘルプキーワード検索(&S)"_sj, false}, {0, "-", false},
      {31455, "バージョン情報(&A)"_sj, false}, {0, "-", false}, {30195, "トヴァラエディタの全終了(&X)"_sj, false}};
  EXPECT_EQ(menus[0], expected);
}

TEST_F(ControlTrayTest, MainMenuWithoutWindowsOrHistory) {
  HWND hwnd = MakeTray();
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  ASSERT_EQ(menus.size(), 1u);
  const std::vector<ShownItem> expected = {
      {30101, "新規作成(&N)"_sj, false},
      {30102, "開く(&O)..."_sj, false},
      {30910, "Grep(&G)..."_sj, false},
      {0, "-", false},
      {0, "最近使ったファイル(&F)"_sj, true},
      {0, "最近使ったフォルダ(&D)"_sj, true},
      {0, "-", false},
      {30120, "すべて上書き保存(&Z)"_sj, true},
      {31321, "すべてのウィンドウを閉じる(&Q)"_sj, true},
      {0, "-", false},
      {30195, "トヴァラエディタの全終了(&X)"_sj, false},
  };
  EXPECT_EQ(menus[0], expected);
}

TEST_F(ControlTrayTest, MainMenuListsTheLiveWindows) {
  HWND hwnd = MakeTray();
  EditWindows windows(share);
  RecentFileRecord a = kEmptyRecentFileRecord;
  std::strcpy(a.szPath, "/d/a.txt");
  a.nCharCode = 1;
  RecentFileRecord untitled = kEmptyRecentFileRecord;
  untitled.bModified = 1;
  windows.Add(a);
  windows.Add(untitled);
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  ASSERT_EQ(menus.size(), 1u);
  const std::vector<ShownItem>& shown = menus[0];
  ASSERT_EQ(shown.size(), 14u);
  EXPECT_EQ(shown[7], (ShownItem{30120, "すべて上書き保存(&Z)"_sj, false}));
  EXPECT_EQ(shown[8], (ShownItem{31321, "すべてのウィンドウを閉じる(&Q)"_sj, false}));
  EXPECT_EQ(shown[9], (ShownItem{0, "-", false}));
  // The newest first, each under 10000 + its list position.
  EXPECT_EQ(shown[10], (ShownItem{10000, "&1 "_sj + std::string("（無題） *"_sj), false}));
  EXPECT_EQ(shown[11], (ShownItem{10001, "&2 /d/a.txt    [JIS]", false}));
  EXPECT_EQ(shown[13], (ShownItem{30195, "トヴァラエディタの全終了(&X)"_sj, false}));
}

// A window that died while listed gets no item; the others keep the access key of their list
// position, as their ids do.
TEST_F(ControlTrayTest, WindowItemsTakeTheAccessKeyOfTheirPosition) {
  HWND hwnd = MakeTray();
  EditWindows windows(share);
  RecentFileRecord a = kEmptyRecentFileRecord;
  std::strcpy(a.szPath, "/d/a.txt");
  RecentFileRecord b = kEmptyRecentFileRecord;
  std::strcpy(b.szPath, "/d/b.txt");
  windows.Add(a);
  windows.Add(b);
  windows.Die(1);  // the newest: position 0
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  ASSERT_EQ(menus.size(), 1u);
  const std::vector<ShownItem>& shown = menus[0];
  ASSERT_EQ(shown.size(), 13u);
  EXPECT_EQ(shown[10], (ShownItem{10001, "&2 /d/a.txt  ", false}));
}

// The list changes between the menu and the click: an item still names the window it was made for,
// and the item of a window that has gone activates nothing.
TEST_F(ControlTrayTest, WindowItemsActivateTheWindowTheyNamed) {
  struct Case {
    const char* name;
    UINT chosen;
    bool firstShown;
  } cases[] = {
      {"the closed window's item", 10001, false},
      {"the moved window's item", 10002, true},
  };
  HWND hwnd = MakeTray();
  for (const Case& c : cases) {
    EditWindows windows(share);
    for (int i = 0; i < 3; ++i) windows.Add(kEmptyRecentFileRecord);
    // Positions 0, 1, 2 are windows 2, 1, 0; window 1 closes while the menu is open, and window 0
    // moves up to position 1.
    choose = [&](HMENU) {
      windows.Close(1);
      return c.chosen;
    };
    platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
    Pump(std::chrono::milliseconds(20));
    EXPECT_EQ(platform::IsWindowVisible(windows.window(0)), c.firstShown) << c.name;
    EXPECT_FALSE(platform::IsWindowVisible(windows.window(2))) << c.name;
    choose = nullptr;
  }
}

TEST_F(ControlTrayTest, NewWindowStartsInTheFirstExistingRecentFolder) {
  ScopedTempDir dir;
  std::filesystem::create_directories(dir.File("there"));
  HWND hwnd = MakeTray();
  CRecentFolderMenu folders(&share);
  ASSERT_TRUE(folders.AddFolder(dir.File("there").c_str()));
  ASSERT_TRUE(folders.AddFolder(dir.File("gone").c_str()));  // the newest, but not there
  choose = [](HMENU) { return 30101u; };
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].text, "-CODE=0");
  EXPECT_EQ(launcher.calls[0].folder, dir.File("there"));
}

TEST_F(ControlTrayTest, RecentFileReopens) {
  struct Case {
    const char* name;
    int restore;
    std::string expected;
  } cases[] = {
      {"the path quoted, with its code", 0, "\"/my docs/a.txt\" -CODE=2"},
      {"where it was left", 1, "\"/my docs/a.txt\" -X=4 -Y=8 -VX=1 -VY=3 -CODE=2"},
  };
  HWND hwnd = MakeTray();
  RecentFileRecord file = kEmptyRecentFileRecord;
  std::strcpy(file.szPath, "/my docs/a.txt");
  file.nX = 3;
  file.nY = 7;
  file.nViewLeftCol = 0;
  file.nViewTopLine = 2;
  file.nCharCode = 2;
  ASSERT_TRUE(CRecentFileMenu(&share).AddRecord(&file));
  choose = [](HMENU) { return 11000u; };
  for (const Case& c : cases) {
    launcher.calls.clear();
    common().m_bRestoreCurPosition = c.restore;
    platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
    ASSERT_EQ(launcher.calls.size(), 1u) << c.name;
    EXPECT_EQ(launcher.calls[0].text, c.expected) << c.name;
  }
}

TEST_F(ControlTrayTest, OpeningAFileShownInAnotherCodeOnlyActivatesItsWindow) {
  namespace dt = platform::dialog_test;
  ScopedTempDir dir;
  dir.Write("a.txt", "plain text\r\n");
  HWND hwnd = MakeTray();
  EditWindows windows(share);
  RecentFileRecord shownAs = kEmptyRecentFileRecord;
  std::strcpy(shownAs.szPath, dir.File("a.txt").c_str());
  shownAs.nCharCode = 2;  // EUC
  windows.Add(shownAs);
  dt::SetShownHook([&](HWND d) {
    EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, dir.File("a.txt")));
    dt::Click(d, IDOK);
  });
  choose = [](HMENU) { return 30102u; };
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  dt::SetShownHook(nullptr);
  Pump(std::chrono::milliseconds(20));
  EXPECT_TRUE(launcher.calls.empty());
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text,
            dir.File("a.txt") +
                "\n\n既に開いているファイルを違う文字コードで開く場合は、\n一旦閉じてからでないと開けません。\n\n"
                "現在の文字コードセット＝EUC\n新しい文字コードセット＝SJIS"_sj);
  EXPECT_TRUE(platform::IsWindowVisible(windows.window(0))) << "activated";
}

TEST_F(ControlTrayTest, OpeningAFileNotOpenStartsAWindow) {
  namespace dt = platform::dialog_test;
  ScopedTempDir dir;
  dir.Write("my file.txt", "x\r\n");
  HWND hwnd = MakeTray();
  dt::SetShownHook([&](HWND d) {
    EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, dir.File("my file.txt")));
    dt::Click(d, platform::kFileDialogReadOnly);
    dt::Click(d, IDOK);
  });
  choose = [](HMENU) { return 30102u; };
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  dt::SetShownHook(nullptr);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].text, "\"" + dir.File("my file.txt") + "\" -R");
}

TEST_F(ControlTrayTest, HotKey) {
  HWND hwnd = MakeTray();
  common().wTrayMenuHotKeyMods = HOTKEYF_CONTROL | HOTKEYF_ALT;
  common().wTrayMenuHotKeyCode = 'Z';
  platform::SendMessage(hwnd, MYWM_CHANGESETTING, 0, 0);  // takes the new keys
  const LPARAM registered = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z');
  struct Case {
    const char* name;
    WPARAM id;
    LPARAM keys;
    size_t menus;
  } cases[] = {
      {"the registered keys open the menu", kTrayHotKeyId, registered, 1},
      {"another id", kTrayHotKeyId + 1, registered, 0},
      {"other modifiers", kTrayHotKeyId, MAKELPARAM(MOD_CONTROL, 'Z'), 0},
  };
  for (const Case& c : cases) {
    menus.clear();
    EXPECT_EQ(platform::SendMessage(hwnd, WM_HOTKEY, c.id, c.keys), 0) << c.name;
    Pump(std::chrono::milliseconds(20));
    EXPECT_EQ(menus.size(), c.menus) << c.name;
  }
}

TEST_F(ControlTrayTest, HotKeyBelongsToTheCommonSettingsSheetInFront) {
  HWND hwnd = MakeTray();
  WNDCLASSEX wc;
  wc.lpfnWndProc = platform::DefWindowProc;
  wc.lpszClassName = "TrayTestSheet";
  platform::RegisterClassEx(&wc);
  HWND sheet = platform::CreateWindowEx(0, "TrayTestSheet", "共通設定"_sj, WS_VISIBLE, 0, 0, 80, 60, nullptr, nullptr,
                                        nullptr, nullptr);
  platform::SetForegroundWindow(sheet);
  Pump(std::chrono::milliseconds(50));
  ASSERT_EQ(platform::GetActiveWindow(), sheet);
  const LPARAM keys = MAKELPARAM(0, common().wTrayMenuHotKeyCode);
  EXPECT_EQ(platform::SendMessage(hwnd, WM_HOTKEY, kTrayHotKeyId, keys), -1);
  Pump(std::chrono::milliseconds(20));
  EXPECT_TRUE(menus.empty());
  platform::DestroyWindow(sheet);
}

// The sheet usually stands in an edit window's process: what the desktop says is in front counts.
TEST_F(ControlTrayTest, HotKeyBelongsToAnotherProcesssCommonSettingsSheetInFront) {
  HWND hwnd = MakeTray();
  common().wTrayMenuHotKeyMods = HOTKEYF_CONTROL | HOTKEYF_ALT;
  common().wTrayMenuHotKeyCode = 'Z';
  platform::SendMessage(hwnd, MYWM_CHANGESETTING, 0, 0);
  const LPARAM keys = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z');
  struct Case {
    const char* name;
    std::optional<std::string> front;  // the desktop's window in front, by its title
    LRESULT answer;
    size_t menus;
  } cases[] = {
      {"the sheet of another process", std::string("共通設定"_sj), -1, 0},
      {"another window of that process", std::string("タイプ別設定"_sj), 0, 1},
      {"a title the sheet's begins", std::string("共通設定 - x"_sj), 0, 1},
      {"nothing can tell", std::nullopt, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const platform::ForegroundTitleHook before = platform::SetForegroundTitleHook([&] { return c.front; });
    menus.clear();
    EXPECT_EQ(platform::SendMessage(hwnd, WM_HOTKEY, kTrayHotKeyId, keys), c.answer);
    Pump(std::chrono::milliseconds(20));
    platform::SetForegroundTitleHook(before);
    EXPECT_EQ(menus.size(), c.menus);
  }
}

TEST_F(ControlTrayTest, EndOfTheSessionWritesTheSettings) {
  ScopedTempDir dir;
  HWND hwnd = MakeTray();
  struct Case {
    const char* name;
    WPARAM ending;
    bool written;
  } cases[] = {{"the session goes on", 0, false}, {"the session ends", 1, true}};
  for (const Case& c : cases) {
    const std::string file = dir.File(std::string("s") + std::to_string(c.ending) + ".ini");
    app->SetSettingsFile(file);
    common().nCaretType = 1;
    platform::SendMessage(hwnd, WM_ENDSESSION, c.ending, 0);
    EXPECT_EQ(std::filesystem::exists(file), c.written) << c.name;
    if (!c.written) continue;
    // The file holds the record: read back into a fresh one.
    auto read = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*read);
    read->Common.nCaretType = 0;
    const ScopedNamedObjects otherNames("ControlTray-read");
    CShareData other;
    other.Attach(read.get(), otherNames.c_str());
    ASSERT_TRUE(other.IOSettings(true, file)) << c.name;
    EXPECT_EQ(read->Common.nCaretType, 1) << c.name;
    share.Attach(record.get(), names.c_str());
  }
}

TEST_F(ControlTrayTest, LastWindowClosedEndsTheResidentUnlessItStays) {
  platform::tray_icon_test::StandInTray tray;
  struct Case {
    const char* name;
    int useTray;
    int stay;
    bool windowLeft;
    bool ends;
  } cases[] = {
      {"no stay", 1, 0, false, true},
      {"stay with an icon", 1, 1, false, false},
      {"stay without an icon", 0, 1, false, true},
      {"a window still listed", 1, 0, true, false},
  };
  for (const Case& c : cases) {
    common().bTaskTrayUse = c.useTray;
    common().bTaskTrayStay = c.stay;
    HWND hwnd = MakeTray();
    EditWindows windows(share);
    if (c.windowLeft) windows.Add(kEmptyRecentFileRecord);
    platform::SendMessage(hwnd, MYWM_NOTIFYCLOSE, 0, 0);
    EXPECT_EQ(!platform::IsWindow(hwnd), c.ends) << c.name;
    EXPECT_EQ(app->GetTrayHwnd() == nullptr, c.ends) << c.name;
    app.reset();
    Pump(std::chrono::milliseconds(5));
  }
}

// The resident's loop runs until its window ends: here the last edit window's notice ends it.
TEST_F(ControlTrayTest, MessageLoopEndsWithTheTrayWindow) {
  HWND hwnd = MakeTray();
  platform::PostMessage(hwnd, MYWM_NOTIFYCLOSE, 0, 0);
  EXPECT_TRUE(app->RunMessageLoop());
  EXPECT_FALSE(platform::IsWindow(hwnd));
  EXPECT_EQ(app->GetTrayWindowId(), 0u);
}

TEST_F(ControlTrayTest, GrepFromTheTray) {
  HWND hwnd = MakeTray();
  FakeGrepDialog grep;
  app->SetGrepDialog(&grep);
  share.AddSearchKey("older");
  share.AddSearchKey("newest");
  grep.answer = {"k\"q", "*.c", "/src", 0, true, false, false, false, false, 1};
  choose = [](HMENU) { return 30910u; };
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  ASSERT_EQ(grep.seeds.size(), 1u);
  EXPECT_EQ(grep.seeds[0], "newest");
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].text, "-GREPMODE -GKEY=\"k\"\"q\" -GFILE=\"*.c\" -GFOLDER=\"/src\" -GCODE=0 -GOPT=S1 -CODE=0");

  // Cancelled: nothing starts; already open: raised, not run again.
  grep.confirm = false;
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  grep.open = true;
  platform::SendMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(grep.seeds.size(), 2u);
  EXPECT_EQ(grep.raised, 1);
}

TEST_F(ControlTrayTest, AcceleratorFailuresAreSaid) {
  record->nKeyAssignCount = 0;
  HWND hwnd = MakeTray();
  EXPECT_EQ(app->GetAccelerators(), nullptr);
  platform::SendMessage(hwnd, MYWM_CHANGESETTING, 0, 0);
  ASSERT_EQ(boxes.requests.size(), 2u);
  const char* tail = "\nアクセラレータ テーブルが作成できません。\nシステムリソースが不足しています。"_sj;
  EXPECT_EQ(boxes.requests[0].text, std::string("CEditApp::CEditApp()") + tail);
  EXPECT_EQ(boxes.requests[1].text, std::string("CEditApp::DispatchEvent()") + tail);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_TRUE(platform::IsWindow(hwnd)) << "the tray goes on";

  // A count beyond the table is held to it.
  record->nKeyAssignCount = 1 << 30;
  CShareData::SetDefaultKeyAssignments(*record);
  record->nKeyAssignCount = 1 << 30;
  platform::SendMessage(hwnd, MYWM_CHANGESETTING, 0, 0);
  EXPECT_NE(app->GetAccelerators(), nullptr);
}

TEST_F(ControlTrayTest, HelpForAnEditWindowTakesTheAbsentPath) {
  HWND hwnd = MakeTray();
  const char request[] = "/help/tovara.chm\0keyword";
  std::memcpy(record->szExchangeText, request, sizeof request);
  EXPECT_EQ(platform::SendMessage(hwnd, MYWM_HTMLHELP, 0, 0), 0);
  // An exchange area without a terminator is read no further than its end.
  std::memset(record->szExchangeText, 'x', sizeof record->szExchangeText);
  EXPECT_EQ(platform::SendMessage(hwnd, MYWM_HTMLHELP, 0, 0), 0);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(ControlTrayTest, QuitAsksFirstWhenWindowsAreOpen) {
  struct Case {
    const char* name;
    int answer;
    bool ends;
  } cases[] = {{"no", IDNO, false}, {"yes", IDYES, true}};
  for (const Case& c : cases) {
    common().bExitConfirm = 1;
    HWND hwnd = MakeTray();
    record->hwndResident = app->GetTrayWindowId();
    EditWindows windows(share);
    windows.Add(kEmptyRecentFileRecord);
    MessageBoxCapture answers(c.answer);
    app->QuitResidentProcess();
    Pump(std::chrono::milliseconds(50));
    ASSERT_EQ(answers.requests.size(), 1u) << c.name;
    EXPECT_EQ(answers.requests[0].text, "現在開いている編集用のウィンドウをすべて閉じて終了しますか?"_sj);
    EXPECT_EQ(!platform::IsWindow(hwnd), c.ends) << c.name;
    record->hwndResident = 0;
    app.reset();
  }
}

}  // namespace
