// The resident process's visible face: a hidden window of class "CEditApp" with an icon in the
// desktop's notification area. A left click (or the hot key) opens the menu that starts new
// windows, opens files, starts a grep, reopens recent files and folders, saves or closes every
// window, switches to an open window and ends everything; a right click opens a small help menu;
// a double click starts a new window. The object also keeps the process's accelerator table, starts
// every new edit-window process (through CEditorLauncher), ends the resident when the last edit
// window closes (unless told to stay) and shows help on behalf of edit windows.
//
// Without a notification area the resident runs without an icon: it says so once on standard
// error and never waits for one.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "editor/shell/commands/icon_bitmap.h"
#include "editor/shell/commands/menu_drawer.h"
#include "editor/shell/process/editor_launcher.h"
#include "editor/shell/process/tray_command_text.h"
#include "platform/accelerator.h"
#include "platform/process.h"
#include "platform/window.h"

// The tray's private messages and its hot key's id.
constexpr UINT MYWM_NOTIFYICON = 0x8064;
constexpr int kTrayHotKeyId = 0x1234;
// Menu resource 113: one popup, whose items the tray replaces each time a menu opens.
constexpr const char* kTrayMenuResourceName = "113";
constexpr const char* kTrayWindowClass = "CEditApp";

// The hot-key control's modifier bits, as the settings store them.
constexpr uint16_t HOTKEYF_SHIFT = 0x01;
constexpr uint16_t HOTKEYF_CONTROL = 0x02;
constexpr uint16_t HOTKEYF_ALT = 0x04;

// Registers menu resource 113.
bool RegisterTrayMenuResource();

// The grep dialog the tray runs for its Grep command; the search issue provides it.
class ITrayGrepDialog {
 public:
  virtual ~ITrayGrepDialog() = default;
  virtual bool IsOpen() const = 0;
  // Restores the open dialog and brings it to the top.
  virtual void Raise() = 0;
  // Runs the dialog modally without a parent, seeded with the key and an empty folder; false when
  // it was cancelled. The request comes back filled.
  virtual bool Run(const std::string& seedKey, GrepLaunchRequest* request) = 0;
};

// Ends every edit window and then the resident process, after the question when the settings ask
// for it: from the tray or from any edit window's ExitAll. A refused question or a window that
// does not close keeps everything. residentHere is the calling process's own tray window, if any.
void QuitEditorProcesses(CShareData& share, HWND residentHere, EditWindowId residentHereId);

class CEditApp {
 public:
  // Builds the accelerator table from the key assignments into the process's slot (0 stays in the
  // record's hSharedAccel: a table is local to its process); a failure is said and the tray goes on.
  CEditApp(CShareData& share, platform::ProcessLauncher& launcher);
  ~CEditApp();
  CEditApp(const CEditApp&) = delete;
  CEditApp& operator=(const CEditApp&) = delete;

  // The hidden tray window, with its icon when the settings ask for one; null when a tray window
  // is already recorded and alive (hwndResident) or the window cannot be made.
  HWND Create(HINSTANCE hInstance);
  // Runs the pump while the tray window exists.
  bool RunMessageLoop();

  HWND GetTrayHwnd() const { return m_hWnd; }
  // The tray window as other processes reach it (what the resident stores in hwndResident).
  EditWindowId GetTrayWindowId() const { return m_windowId; }
  CEditorLauncher& Launcher() { return m_launcher; }
  HACCEL GetAccelerators() const { return m_hAccel; }
  bool HasTrayIcon() const { return m_bCreatedTrayIcon; }

  bool LaunchEditorProcess(HWND owner, const char* text, int code, bool readOnly, bool wait, const char* folder) {
    return m_launcher.Launch(owner, text, code, readOnly, wait, folder);
  }
  bool LaunchEditorForFile(HWND owner, const RecentFileRecord& record, bool readOnly, bool wait) {
    return m_launcher.LaunchForFile(owner, record, readOnly, wait);
  }
  void LaunchGrep();
  bool LaunchNewEditor();
  void QuitResidentProcess();
  bool CloseAllEditWindows();

  void SetTrayIcon();
  static bool NotifyTray(HWND hwnd, DWORD message, UINT id, HICON icon, const char* tip);

  // Where the tray's Grep command gets its dialog; null leaves the command doing nothing.
  void SetGrepDialog(ITrayGrepDialog* dialog) { m_pGrepDialog = dialog; }
  // The file WM_ENDSESSION writes the settings to; empty (the default) for the settings file.
  void SetSettingsFile(std::string path) { m_settingsFile = std::move(path); }
  // False: the settings file is the user's unreadable one, and the end of the session leaves it.
  void SetSettingsWritable(bool writable) { m_bSettingsWritable = writable; }

  LRESULT DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  bool RebuildAccelerators(const char* where);
  void RegisterTrayHotKey();
  void UnregisterTrayHotKey();
  void OnTrayNotify(LPARAM mouseMessage);
  // The popup of menu 113, emptied; the caller destroys the menu.
  HMENU LoadTrayPopup(HMENU* menu);
  // Shows the popup at the cursor; the chosen command, 0 for none.
  int TrackTrayMenu(HMENU popup);
  // Menu 113's popup filled by fill and shown; -1 at once while another tray menu is open.
  int ShowTrayMenu(const std::function<void(HMENU)>& fill);
  // An item without its key name; id 0 is a separator.
  void AddItem(HMENU menu, int id, const char* text, UINT flags = MF_STRING);
  int ShowMainMenu();
  int ShowHelpMenu();
  void OnMainMenuCommand(int command);
  void OpenFileFromDialog(const char* startFolder);
  // Help for an edit window: the file and, after its NUL, the keyword in the exchange area.
  HWND OnHtmlHelp();
  bool WriteSettings();

  CShareData& m_share;
  SharedSettings* m_pShareData;
  CEditorLauncher m_launcher;
  CMenuDrawer m_CMenuDrawer;
  CIconBitmap m_hIcons;
  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  EditWindowId m_windowId = 0;
  HACCEL m_hAccel = nullptr;
  bool m_bCreatedTrayIcon = false;
  bool m_bToldNoTray = false;
  bool m_bUseTrayMenu = false;  // a tray menu is open
  bool m_bLDClick = false;      // the button-up that ends a double click opens nothing
  UINT m_uHotKeyMods = 0;
  UINT m_uHotKeyCode = 0;
  bool m_bHotKeyRegistered = false;
  ITrayGrepDialog* m_pGrepDialog = nullptr;
  std::string m_settingsFile;
  bool m_bSettingsWritable = true;
  // The window each window item of the last main menu was made for, by list position.
  std::array<EditWindowId, kEditWindowSlots> m_windowItems{};
};
