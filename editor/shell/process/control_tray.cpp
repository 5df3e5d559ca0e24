#include "editor/shell/process/control_tray.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "editor/foundation/settings/html_help_dll.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/key_bindings.h"
#include "platform/clipboard_keeper.h"
#include "platform/foreground_title.h"
#include "platform/foreground_window.h"
#include "platform/hot_key.h"
#include "platform/ipc.h"
#include "platform/message_box.h"
#include "platform/session_end.h"
#include "platform/sjis_literal.h"
#include "platform/tray_icon.h"
#include "platform/win_help.h"
#include "platform/window_tree.h"

namespace {

constexpr const char* kCaption = "tovara";
constexpr int kAppIconResource = 230;
constexpr char kAppIconFile[] = "my_appicon.ico";
constexpr int kTipBytes = 63;
// The title of the common settings sheet: while it is in front the hot key is its own.
constexpr const char* kCommonSettingsTitle = "共通設定"_sj;

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

}  // namespace

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
  if (!m_bSettingsWritable) return false;
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
      // The sheet is another process's window as often as one of this process's.
      const std::optional<std::string> front = platform::ForegroundWindowTitle();
      if (front && *front == kCommonSettingsTitle) return -1;
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
    case WM_COPYDATA:  // a window's copied text, handed over as its process ends
      return platform::KeepClipboard(wParam, lParam);
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

void QuitEditorProcesses(CShareData& share, HWND residentHere, EditWindowId residentHereId) {
  const SharedSettings* settings = share.GetShareData();
  if (settings && settings->Common.bExitConfirm && share.GetEditWindowCount() > 0) {
    const int answer = platform::MessageBox(nullptr, "現在開いている編集用のウィンドウをすべて閉じて終了しますか?"_sj,
                                            kCaption, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
  }
  if (!share.RequestCloseAllEditWindows()) return;
  const EditWindowId resident = settings ? settings->hwndResident : 0;
  if (resident != 0 && resident != residentHereId)
    platform::ipc::PostMessage(resident, WM_CLOSE, 0, 0);
  else if (residentHere)
    platform::PostMessage(residentHere, WM_CLOSE, 0, 0);
}

void CEditApp::QuitResidentProcess() { QuitEditorProcesses(m_share, m_hWnd, m_windowId); }

bool CEditApp::CloseAllEditWindows() { return m_share.RequestCloseAllEditWindows(); }
