#include "sdk/framework/window.h"

#include <array>
#include <atomic>
#include <utility>

#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/ime_switch.h"
#include "sdk/framework/win_main_args.h"

namespace {

// Only the first registration attempt of the process is made; later windows use that class.
std::atomic<bool> registrationPending{true};

}  // namespace

LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<CWindow*>(platform::GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (!window) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  return window->m_hooks.Dispatch(hwnd, message, wParam, lParam, window->m_previousProc);
}

void GetScreenSize(int* width, int* height) {
  if (width) *width = platform::GetSystemMetrics(SM_CXSCREEN);
  if (height) *height = platform::GetSystemMetrics(SM_CYSCREEN);
}

CWindow::~CWindow() {
  m_hooks.Remove(this);
  if (m_hwnd) platform::DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
}

bool CWindow::IsStandardClass(std::string_view className) {
  static constexpr std::array<std::string_view, 7> standard = {"BUTTON",    "COMBOBOX",  "EDIT",  "LISTBOX",
                                                               "MDICLIENT", "SCROLLBAR", "STATIC"};
  for (std::string_view name : standard) {
    if (className == name) return true;
  }
  return false;
}

int CWindow::Create(const CWindowOption& option, HWND parent) {
  // A second Create (an application run again) must not leave the first window behind, still
  // pointing at this object and holding a second copy of the own hook.
  if (m_hwnd) {
    m_hooks.Remove(this);
    HWND old = std::exchange(m_hwnd, nullptr);
    platform::SetWindowLongPtr(old, GWLP_USERDATA, 0);
    platform::DestroyWindow(old);
  }
  m_minimised = false;

  m_fullScreen = IsFullScreen();
  m_option = option;
  bool standard = IsStandardClass(option.className);
  if (!standard && registrationPending.exchange(false)) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hIcon = platform::LoadIcon(AppInstanceHandle, "MAIN");
    wc.background = m_backgroundSelector ? RGB(255, 255, 255) : RGB(0, 0, 0);
    wc.lpszMenuName = "IDR_MENU";
    wc.lpszClassName = option.className.c_str();
    if (platform::LoadMenu(AppInstanceHandle, "IDR_MENU")) m_hasMenu = true;
    if (!platform::RegisterClassEx(&wc)) {
      ErrorLog::Out("CWindow::CreateでRegisterClassEx失敗"_sj);
      return 1;
    }
  }

  int screenWidth = 0, screenHeight = 0;
  GetScreenSize(&screenWidth, &screenHeight);
  HWND hwnd = nullptr;
  if (m_fullScreen) {
    hwnd = platform::CreateWindowEx(0, option.className.c_str(), option.caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                                    screenWidth, screenHeight, parent, nullptr, AppInstanceHandle, nullptr);
  } else {
    RECT rect;
    AdjustRect(&rect, option);
    hwnd = platform::CreateWindowEx(
        0, option.className.c_str(), option.caption.c_str(), option.style | (parent ? WS_CHILD : 0), CW_USEDEFAULT,
        CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, AppInstanceHandle, nullptr);
  }
  if (!hwnd) {
    ErrorLog::Out("CWindow::CreateでCreateWindowに失敗。"_sj);
    return 1;
  }
  m_hwnd = hwnd;

  if (option.width != 0 && option.height != 0) {
    // Centred; the halves round toward minus infinity when the window is larger than the screen.
    if (!m_fullScreen) SetPos((screenWidth - option.width) >> 1, (screenHeight - option.height) >> 1);
    platform::ShowWindow(hwnd, SW_SHOW);
  }
  platform::SetFocus(hwnd);
  platform::SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (standard) {
    // The standard class keeps its own procedure behind the hooks.
    m_previousProc = reinterpret_cast<WNDPROC>(
        platform::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)));
  } else {
    m_previousProc = nullptr;
  }
  m_hooks.Add(this);
  return 0;
}

int CWindow::SetPos(int x, int y) {
  if (!m_hwnd || m_fullScreen) return 0;
  return platform::SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE) ? 0 : 1;
}

void CWindow::SetSize(int width, int height) {
  if (width == m_option.width && height == m_option.height) return;
  m_option.width = width;
  m_option.height = height;
  m_sizeChanged = true;
}

void CWindow::ChangeScreen() {
  bool fullScreen = IsFullScreen();
  if (fullScreen == m_fullScreen && !m_sizeChanged) return;
  m_fullScreen = fullScreen;
  m_sizeChanged = false;
  if (!m_hwnd) return;
  if (fullScreen) {
    platform::SetWindowLongPtr(m_hwnd, GWL_STYLE, WS_POPUP);
    platform::SetMenu(m_hwnd, platform::GetMenu(m_hwnd));
    platform::ShowWindow(m_hwnd, SW_SHOW);
    DisableIME();
  } else {
    int screenWidth = 0, screenHeight = 0;
    GetScreenSize(&screenWidth, &screenHeight);
    int x = (screenWidth - m_option.width) >> 1;
    int y = (screenHeight - m_option.height) >> 1;
    RECT rect;
    AdjustRect(&rect, m_option);
    platform::SetWindowPos(m_hwnd, nullptr, x, y, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
    platform::SetWindowLongPtr(m_hwnd, GWL_STYLE, static_cast<LONG_PTR>(m_option.style));
    platform::SetMenu(m_hwnd, platform::GetMenu(m_hwnd));
    platform::ShowWindow(m_hwnd, SW_SHOW);
    EnableIME();
  }
}

void CWindow::AdjustRect(RECT* rect, const CWindowOption& option) const {
  *rect = RECT{0, 0, option.width, option.height};
  DWORD style = option.style;
  bool menu = false;
  if (style & WS_SYSMENU) {
    menu = m_hasMenu || (m_hwnd && platform::GetMenu(m_hwnd));
    if (!menu) style &= ~WS_SYSMENU;
  }
  platform::AdjustWindowRect(rect, style, menu ? 1 : 0);
}

LRESULT CWindow::OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_DESTROY:
      platform::ShowWindow(m_hwnd, SW_HIDE);
      platform::SetWindowLongPtr(m_hwnd, GWL_STYLE, WS_POPUP);
      platform::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      break;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED) m_minimised = false;
      if (wParam == SIZE_MINIMIZED) m_minimised = true;
      break;
    case WM_ACTIVATEAPP:
      if (wParam) m_minimised = false;
      break;
    case WM_NCDESTROY:
      m_hwnd = nullptr;
      break;
    default:
      break;
  }
  return 0;
}
