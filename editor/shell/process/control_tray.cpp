#include "editor/shell/process/control_tray.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/html_help_dll.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/open_file_dialog.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/key_bindings.h"
#include "platform/desktop.h"
#include "platform/foreground_window.h"
#include "platform/hot_key.h"
#include "platform/ipc.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"
#include "platform/session_end.h"
#include "platform/sjis_literal.h"
#include "platform/tray_icon.h"
#include "platform/win_help.h"
#include "platform/window_tree.h"

namespace {

using Entry = platform::MenuResourceEntry;
using Kind = Entry::Kind;

// One popup; its items are made each time a tray menu opens.
constexpr Entry kTrayMenu[] = {{Kind::kPopup, 0, "tray"}, {Kind::kEnd, 0, nullptr}};

constexpr const char* kCaption = "tovara";
constexpr int kAppIconResource = 230;
constexpr char kAppIconFile[] = "my_appicon.ico";
constexpr int kTipBytes = 63;
// The title of the common settings sheet: while it is in front the hot key is its own.
constexpr const char* kCommonSettingsTitle = "共通設定"_sj;

constexpr int kFirstWindowCommand = 10000;
constexpr int kFirstRecentFileCommand = 11000;
constexpr int kFirstRecentFolderCommand = 12000;
constexpr int kRecentFileCommandSlots = 1000;

// HTML help's commands and its keyword request.
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_KEYWORD_LOOKUP = 0x000D;
struct HH_AKLINK {
  int32_t cbStruct = sizeof(HH_AKLINK);
  int32_t fReserved = 0;
  const char* pszKeywords = nullptr;
  const char* pszUrl = nullptr;
  const char* pszMsgText = nullptr;
  const char* pszMsgTitle = nullptr;
  const char* pszWindow = nullptr;
  int32_t fIndexOnFail = 1;
};

const char* CodeName(int code) {
  const char* name = CharCodeName(code);
  return name ? name : "";
}

bool IsExistingFolder(const char* path) { return IsExistingFile(path, false) && !IsExistingFile(path, true); }

}  // namespace

bool RegisterTrayMenuResource() { return platform::RegisterMenuResource(kTrayMenuResourceName, kTrayMenu); }

CEditApp::CEditApp(CShareData& share, platform::ProcessLauncher& launcher)
    : m_share(share),
      m_pShareData(share.GetShareData()),
      m_launcher(share, launcher),
      m_CMenuDrawer(share.GetShareData()) {
  RebuildAccelerators("CEditApp::CEditApp()");
}

CEditApp::~CEditApp() {
  if (m_hWnd) platform::DestroyWindow(m_hWnd);
  if (m_hAccel) DestroyAcceleratorTable(m_hAccel);
}

bool CEditApp::RebuildAccelerators(const char* where) {
  if (m_hAccel) DestroyAcceleratorTable(m_hAccel);
  m_hAccel = nullptr;
  if (m_pShareData) {
    // The count comes from shared memory: never past the table.
    const int count = std::clamp<int>(m_pShareData->nKeyAssignCount, 0, kKeyAssignSlots);
    m_hAccel = CreateKeyAccelerators(count, m_pShareData->KeyAssigns);
  }
  if (m_hAccel) return true;
  ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, kCaption,
                 "%s\nアクセラレータ テーブルが作成できません。\nシステムリソースが不足しています。"_sj, where);
  return false;
}

HWND CEditApp::Create(HINSTANCE hInstance) {
  m_hInstance = hInstance;
  if (m_pShareData && m_pShareData->hwndResident != 0 && platform::ipc::IsLive(m_pShareData->hwndResident) &&
      platform::ipc::GetClassName(m_pShareData->hwndResident) == kTrayWindowClass)
    return nullptr;

  WNDCLASSEX wc;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = hInstance;
  wc.hIcon = platform::LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kTrayWindowClass;
  WNDCLASSEX existing;
  if (!platform::GetClassInfoEx(hInstance, kTrayWindowClass, &existing) && !platform::RegisterClassEx(&wc))
    ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, kCaption, "%s",
                   "CEditApp::Create()\nウィンドウクラスを登録できませんでした。"_sj);

  platform::CreateWindowEx(0, kTrayWindowClass, kTrayWindowClass, 0, CW_USEDEFAULT, 0, 100, 100, nullptr, nullptr,
                           hInstance, this);
  if (!m_hWnd) return nullptr;
  m_hIcons.Load(hInstance);
  m_CMenuDrawer.Bind(hInstance, m_hWnd, &m_hIcons);
  SetTrayIcon();
  return m_hWnd;
}

bool CEditApp::RunMessageLoop() {
  MSG msg;
  while (m_hWnd) {
    const BOOL got = platform::GetMessage(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return true;
}

void CEditApp::SetTrayIcon() {
  if (!m_pShareData || m_pShareData->Common.bTaskTrayUse != 1 || !m_hWnd || m_bCreatedTrayIcon) return;
  HICON icon = LoadIconFile(m_hInstance, kAppIconResource, kAppIconFile, true);
  const uint32_t high = static_cast<uint32_t>(ProductVersionHigh());
  const uint32_t low = static_cast<uint32_t>(ProductVersionLow());
  char tip[kTipBytes + 1];
  std::snprintf(tip, sizeof tip, "%s %u.%u.%u.%u", kCaption, high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF);
  if (NotifyTray(m_hWnd, NIM_ADD, 0, icon, tip)) {
    m_bCreatedTrayIcon = true;
    return;
  }
  if (!m_bToldNoTray) {
    std::fputs("tovara: the desktop has no notification area; the resident runs without a tray icon\n", stderr);
    m_bToldNoTray = true;
  }
}

bool CEditApp::NotifyTray(HWND hwnd, DWORD message, UINT id, HICON icon, const char* tip) {
  NOTIFYICONDATA data;
  data.hWnd = hwnd;
  data.uID = id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = MYWM_NOTIFYICON;
  data.hIcon = icon;
  if (tip) std::strncpy(data.szTip, tip, kTipBytes);
  return platform::Shell_NotifyIcon(message, &data) != 0;
}

LRESULT CEditApp::WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CEditApp* app = nullptr;
  if (uMsg == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
    app = create ? static_cast<CEditApp*>(create->lpCreateParams) : nullptr;
  } else {
    app = reinterpret_cast<CEditApp*>(platform::GetWindowLongPtr(hwnd, GWLP_USERDATA));
  }
  if (!app) return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  return app->DispatchEvent(hwnd, uMsg, wParam, lParam);
}

void CEditApp::RegisterTrayHotKey() {
  if (!m_pShareData) return;
  const uint16_t mods = m_pShareData->Common.wTrayMenuHotKeyMods;
  m_uHotKeyMods = ((mods & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) | ((mods & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                  ((mods & HOTKEYF_ALT) ? MOD_ALT : 0);
  m_uHotKeyCode = m_pShareData->Common.wTrayMenuHotKeyCode;
  // Where the desktop hands no keys over this fails, and the menu is still a click away.
  m_bHotKeyRegistered = platform::RegisterHotKey(m_hWnd, kTrayHotKeyId, m_uHotKeyMods, m_uHotKeyCode) != 0;
}

void CEditApp::UnregisterTrayHotKey() {
  if (m_bHotKeyRegistered) platform::UnregisterHotKey(m_hWnd, kTrayHotKeyId);
  m_bHotKeyRegistered = false;
}

bool CEditApp::WriteSettings() {
  if (m_settingsFile.empty()) return m_share.SaveToIni();
  return m_share.IOSettings(false, m_settingsFile);
}

LRESULT CEditApp::DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      m_hWnd = hwnd;
      platform::SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      m_windowId = platform::ipc::RegisterWindow(hwnd, kTrayWindowClass);
      platform::SetSessionEndWindow(hwnd, true);
      RegisterTrayHotKey();
      return 0;
    case WM_DESTROY:
      UnregisterTrayHotKey();
      if (m_bCreatedTrayIcon) NotifyTray(hwnd, NIM_DELETE, 0, nullptr, nullptr);
      m_bCreatedTrayIcon = false;
      if (m_windowId) platform::ipc::UnregisterWindow(m_windowId);
      m_windowId = 0;
      platform::SetWindowLongPtr(hwnd, GWLP_USERDATA, 0);
      m_hWnd = nullptr;
      platform::PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      if (CloseAllEditWindows()) platform::DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return CloseAllEditWindows() ? 1 : 0;
    case WM_ENDSESSION:
      if (wParam) {
        UnregisterTrayHotKey();
        WriteSettings();
      }
      return 0;
    case WM_COMMAND:
      return 0;
    case WM_HOTKEY: {
      HWND front = platform::GetActiveWindow();
      if (front && platform::GetWindowText(front) == kCommonSettingsTitle) return -1;
      const UINT mods = LOWORD(static_cast<DWORD>(lParam));
      const UINT key = HIWORD(static_cast<DWORD>(lParam));
      if (static_cast<int>(wParam) == kTrayHotKeyId && mods == m_uHotKeyMods && key == m_uHotKeyCode)
        platform::PostMessage(hwnd, MYWM_NOTIFYICON, 0, WM_LBUTTONUP);
      return 0;
    }
    case MYWM_NOTIFYICON:
      OnTrayNotify(lParam);
      return 0;
    case MYWM_NOTIFYCLOSE: {
      const bool stay = m_pShareData && m_pShareData->Common.bTaskTrayStay && m_bCreatedTrayIcon;
      if (!stay && m_share.GetEditWindowCount() == 0) platform::SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    }
    case MYWM_HTMLHELP:
      return reinterpret_cast<LRESULT>(OnHtmlHelp());
    case MYWM_CHANGESETTING:
      UnregisterTrayHotKey();
      RegisterTrayHotKey();
      RebuildAccelerators("CEditApp::DispatchEvent()");
      return 0;
    default:
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  }
}

HWND CEditApp::OnHtmlHelp() {
  if (!m_pShareData) return nullptr;
  // The file, its NUL, then the keyword: both inside the exchange area, however it was filled.
  const char* text = m_pShareData->szExchangeText;
  const size_t fileLength = strnlen(text, kExchangeTextSize);
  if (fileLength + 1 >= static_cast<size_t>(kExchangeTextSize)) return nullptr;
  const std::string file(text, fileLength);
  const char* keywordStart = text + fileLength + 1;
  const std::string keyword(keywordStart, strnlen(keywordStart, kExchangeTextSize - fileLength - 1));
  OpenHtmlHelp(nullptr, file.c_str(), HH_DISPLAY_TOPIC, 0, false);
  HH_AKLINK link;
  link.pszKeywords = keyword.c_str();
  return OpenHtmlHelp(nullptr, file.c_str(), HH_KEYWORD_LOOKUP, reinterpret_cast<uintptr_t>(&link), false);
}

void CEditApp::OnTrayNotify(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      m_bLDClick = false;
      return;
    case WM_LBUTTONUP: {
      if (m_bLDClick) {
        m_bLDClick = false;
        return;
      }
      platform::SetForegroundWindow(m_hWnd);
      const int command = ShowMainMenu();
      if (command > 0) OnMainMenuCommand(command);
      return;
    }
    case WM_LBUTTONDBLCLK:
      m_bLDClick = true;
      LaunchNewEditor();
      platform::PostMessage(m_hWnd, WM_CANCELMODE, 0, 0);
      return;
    case WM_RBUTTONUP: {
      platform::SetForegroundWindow(m_hWnd);
      switch (ShowHelpMenu()) {
        case 31440: {
          char help[kMaxPath];
          GetHelpFilePath(help, sizeof help);
          OpenHelpContents(m_hWnd, help);
          break;
        }
        case 31441: {
          char help[kMaxPath];
          GetHelpFilePath(help, sizeof help);
          platform::WinHelp(m_hWnd, help, HELP_KEY, reinterpret_cast<uintptr_t>(""));
          break;
        }
        case 30195:
          QuitResidentProcess();
          break;
        default:  // the about dialog comes with the small dialogs
          break;
      }
      return;
    }
    default:
      return;
  }
}

HMENU CEditApp::LoadTrayPopup(HMENU* menu) {
  *menu = platform::LoadMenuResourceByName(kTrayMenuResourceName);
  if (!*menu) return nullptr;
  platform::MenuItemInfo first;
  if (!GetMenuItemInfoAt(*menu, 0, first) || !first.submenu) return nullptr;
  m_CMenuDrawer.ClearItems();
  while (GetMenuItemCount(first.submenu) > 0)
    if (!DeleteMenu(first.submenu, 0, MF_BYPOSITION)) return nullptr;
  return first.submenu;
}

int CEditApp::TrackTrayMenu(HMENU popup) {
  m_bUseTrayMenu = true;
  POINT at{0, 0};
  platform::GetCursorPos(&at);
  platform::SetForegroundWindow(m_hWnd);
  const int chosen = platform::TrackPopupMenu(popup, TPM_BOTTOMALIGN | TPM_RIGHTALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON,
                                              at.x, at.y - 4, 0, m_hWnd, nullptr);
  platform::PostMessage(m_hWnd, WM_USER + 1, 0, 0);
  m_bUseTrayMenu = false;
  return chosen;
}

void CEditApp::AddItem(HMENU menu, int id, const char* text, UINT flags) {
  if (id == 0)
    m_CMenuDrawer.MyAppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  else
    m_CMenuDrawer.MyAppendMenu(menu, flags, static_cast<uintptr_t>(id), text, false);
}

int CEditApp::ShowTrayMenu(const std::function<void(HMENU)>& fill) {
  if (m_bUseTrayMenu) return -1;
  HMENU menu = nullptr;
  HMENU popup = LoadTrayPopup(&menu);
  int chosen = 0;
  if (popup) {
    fill(popup);
    chosen = TrackTrayMenu(popup);
  }
  if (menu) DestroyMenu(menu);
  return chosen;
}

int CEditApp::ShowMainMenu() {
  return ShowTrayMenu([this](HMENU popup) {
    AddItem(popup, 30101, "新規作成(&N)"_sj);
    AddItem(popup, 30102, "開く(&O)..."_sj);
    AddItem(popup, 30910, "Grep(&G)..."_sj);
    AddItem(popup, 0, nullptr);

    CRecentFileMenu files(&m_share);
    HMENU filesPopup = files.CreatePopup(m_CMenuDrawer);
    m_CMenuDrawer.MyAppendMenu(popup, MF_POPUP | (files.GetCount() == 0 ? MF_GRAYED : 0),
                               reinterpret_cast<uintptr_t>(filesPopup), "最近使ったファイル(&F)"_sj, false);
    CRecentFolderMenu folders(&m_share);
    HMENU foldersPopup = folders.CreatePopup(m_CMenuDrawer);
    m_CMenuDrawer.MyAppendMenu(popup, MF_POPUP | (folders.List().GetCount() == 0 ? MF_GRAYED : 0),
                               reinterpret_cast<uintptr_t>(foldersPopup), "最近使ったフォルダ(&D)"_sj, false);
    AddItem(popup, 0, nullptr);

    m_windowItems.fill(0);
    std::vector<EditWindowEntry> live;
    for (const EditWindowEntry& entry : m_share.GetEditWindowList(false))
      if (entry.nWindowNumber >= 0 && entry.nWindowNumber < kEditWindowSlots && IsEditWindow(entry.hwnd))
        live.push_back(entry);
    const UINT grey = live.empty() ? MF_GRAYED : MF_STRING;
    AddItem(popup, 30120, "すべて上書き保存(&Z)"_sj, grey);
    AddItem(popup, 31321, "すべてのウィンドウを閉じる(&Q)"_sj, grey);
    if (!live.empty()) {
      AddItem(popup, 0, nullptr);
      m_share.ExpandNicknameSources();
      int place = 0;
      for (const EditWindowEntry& entry : live) {
        const RecentFileRecord info = m_share.AskWindowFileInfo(entry.hwnd);
        const std::string text = TrayWindowItemText(place++, info, &m_share);
        AddItem(popup, kFirstWindowCommand + entry.nWindowNumber, text.c_str());
        m_windowItems[static_cast<size_t>(entry.nWindowNumber)] = entry.hwnd;
      }
    }
    AddItem(popup, 0, nullptr);
    AddItem(popup, 30195, "トヴァラエディタの全終了(&X)"_sj);
  });
}

int CEditApp::ShowHelpMenu() {
  return ShowTrayMenu([this](HMENU popup) {
    AddItem(popup, 31440, "ヘルプ目次(&O)"_sj);
    AddItem(popup, 31441, "ヘルプキーワード検索(&S)"_sj);
    AddItem(popup, 0, nullptr);
    AddItem(popup, 31455, "バージョン情報(&A)"_sj);
    AddItem(popup, 0, nullptr);
    AddItem(popup, 30195, "トヴァラエディタの全終了(&X)"_sj);
  });
}

void CEditApp::OnMainMenuCommand(int command) {
  switch (command) {
    case 30101:
      LaunchNewEditor();
      return;
    case 30102: {
      CRecentFolderMenu folders(&m_share);
      const char* first = folders.List().GetCount() > 0 ? folders.GetPath(0) : nullptr;
      OpenFileFromDialog(first ? first : "");
      return;
    }
    case 30120:
      m_share.PostToAllEditWindows(WM_COMMAND, 30121, 0, 0);
      return;
    case 30195:
      QuitResidentProcess();
      return;
    case 31321:
      CloseAllEditWindows();
      return;
    case 30910:
      LaunchGrep();
      return;
    default:
      break;
  }
  if (command >= kFirstWindowCommand && command < kFirstWindowCommand + kEditWindowSlots) {
    // The item names the window it was made for: the list may have changed since, and a window
    // that has gone is not replaced by whichever holds its place now.
    const EditWindowId window = m_windowItems[static_cast<size_t>(command - kFirstWindowCommand)];
    if (window != 0 && IsEditWindow(window)) ActivateEditWindow(window);
    return;
  }
  if (command >= kFirstRecentFileCommand && command < kFirstRecentFileCommand + kRecentFileCommandSlots) {
    CRecentFileMenu files(&m_share);
    RecentFileRecord record;
    if (!files.GetRecord(command - kFirstRecentFileCommand, &record)) return;
    if (m_pShareData && m_pShareData->Common.m_bRestoreCurPosition) {
      LaunchEditorForFile(m_hWnd, record, false, false);
    } else {
      record.szPath[kMaxPath - 1] = '\0';
      LaunchEditorProcess(m_hWnd, PathToken(record.szPath).c_str(), record.nCharCode, false, false, nullptr);
    }
    return;
  }
  if (command >= kFirstRecentFolderCommand && command < kFirstRecentFolderCommand + kRecentFileCommandSlots) {
    CRecentFolderMenu folders(&m_share);
    const int n = command - kFirstRecentFolderCommand;
    if (n >= folders.List().GetCount()) return;
    const char* folder = folders.GetPath(n);
    if (!folder) return;
    const std::string start(folder);  // no network shares to connect here
    OpenFileFromDialog(start.c_str());
  }
}

void CEditApp::OpenFileFromDialog(const char* startFolder) {
  CRecentFileMenu files(&m_share);
  CRecentFolderMenu folders(&m_share);
  std::vector<const char*> mru(static_cast<size_t>(files.List().GetCapacity()) + 1, nullptr);
  files.GetPathList(mru.data());
  std::vector<const char*> opened(static_cast<size_t>(folders.List().GetCapacity()) + 1, nullptr);
  folders.GetPathList(opened.data());

  COpenFileDialog dialog;
  dialog.Setup(m_hInstance, nullptr, "*.*", startFolder, mru.data(), opened.data());
  char path[kMaxPath] = {};
  int code = kDetectCharCode;
  bool readOnly = false;
  if (!dialog.RunOpenDialog(path, &code, &readOnly) || !m_hWnd) return;

  EditWindowId window = 0;
  if (m_share.FindEditWindowByPath(path, &window)) {
    const RecentFileRecord info = m_share.AskWindowFileInfo(window);
    if (code == kDetectCharCode) {
      const int detected = CMemory::DetectFileCode(path);
      if (detected >= 0) code = detected;
    }
    // A failed detection names no code to compare with: the window comes to the front as it stands.
    if (code != kDetectCharCode && code != info.nCharCode)
      ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\n\n既に開いているファイルを違う文字コードで開く場合は、\n一旦閉じてからでないと開けません。\n\n"
                     "現在の文字コードセット＝%s\n新しい文字コードセット＝%s"_sj,
                     path, CodeName(info.nCharCode), CodeName(code));
    ActivateEditWindow(window);
    return;
  }
  LaunchEditorProcess(m_hWnd, PathToken(path).c_str(), code, readOnly, false, nullptr);
}

void CEditApp::LaunchGrep() {
  if (!m_pGrepDialog) return;
  if (m_pGrepDialog->IsOpen()) {
    m_pGrepDialog->Raise();
    return;
  }
  std::string seed;
  if (m_pShareData && m_pShareData->nSearchKeyCount > 0)
    seed.assign(m_pShareData->szSearchKeys[0], strnlen(m_pShareData->szSearchKeys[0], kMaxPath));
  GrepLaunchRequest request;
  if (!m_pGrepDialog->Run(seed, &request) || !m_hWnd) return;
  LaunchEditorProcess(nullptr, GrepLaunchText(request).c_str(), 0, false, false, nullptr);
}

bool CEditApp::LaunchNewEditor() {
  std::string folder;
  CRecentFolderMenu folders(&m_share);
  const int count = folders.List().GetCount();
  for (int i = 0; i < count; ++i) {
    const char* path = folders.GetPath(i);
    if (path && IsExistingFolder(path)) {
      folder = path;
      break;
    }
  }
  return LaunchEditorProcess(m_hWnd, nullptr, 0, false, false, folder.c_str());
}

void CEditApp::QuitResidentProcess() {
  if (m_pShareData && m_pShareData->Common.bExitConfirm && m_share.GetEditWindowCount() > 0) {
    const int answer = platform::MessageBox(nullptr, "現在開いている編集用のウィンドウをすべて閉じて終了しますか?"_sj,
                                            kCaption, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
  }
  if (!CloseAllEditWindows()) return;
  const EditWindowId resident = m_pShareData ? m_pShareData->hwndResident : 0;
  if (resident != 0 && resident != m_windowId)
    platform::ipc::PostMessage(resident, WM_CLOSE, 0, 0);
  else if (m_hWnd)
    platform::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
}

bool CEditApp::CloseAllEditWindows() { return m_share.RequestCloseAllEditWindows(); }
