#include "editor/foundation/ui/wnd.h"

#include <cstring>

#include "platform/message_box.h"

using namespace platform;

namespace {

// The object whose window is being made: set just before the window is created, taken by the
// window's first message.
CWnd* g_pcWndUnderConstruction = nullptr;

}  // namespace

CWnd::CWnd() { std::strcpy(m_szClassInheritances, "CWnd"); }

CWnd::~CWnd() {
  // Only the window still bound to this object is destroyed: a handle forgotten too late (a
  // derived OnNcDestroy that did not forget it) may already name another window.
  if (IsWindow(m_hWnd) && GetWindowLongPtr(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
    SetWindowLongPtr(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

void CWnd::AppendClassInheritance(const char* pszClassName) {
  const size_t used = std::strlen(m_szClassInheritances);
  const size_t room = sizeof m_szClassInheritances - 1 - used;
  const size_t name = std::strlen(pszClassName);
  if (2 + name > room) return;
  std::memcpy(m_szClassInheritances + used, "::", 2);
  std::memcpy(m_szClassInheritances + used + 2, pszClassName, name + 1);
}

ATOM CWnd::RegisterWC(HICON hIcon, HICON hIconSm, HCURSOR hCursor, HBRUSH hbrBackground, const char* lpszMenuName,
                      const char* lpszClassName) {
  WNDCLASSEX wc;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 32;
  wc.hInstance = m_hInstance;
  wc.hIcon = hIcon;
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.lpszMenuName = lpszMenuName;
  wc.lpszClassName = lpszClassName;
  wc.hIconSm = hIconSm;
  return RegisterClassEx(&wc);
}

HWND CWnd::Create(DWORD dwExStyle, const char* lpClassName, const char* lpWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HMENU hMenu) {
  PreCreate();
  g_pcWndUnderConstruction = this;
  m_hWnd = CreateWindowEx(dwExStyle, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, m_hwndParent, hMenu,
                          m_hInstance, this);
  // A creation that failed before the window's first message must not leave this object waiting
  // to be bound to whatever unbound window speaks next.
  g_pcWndUnderConstruction = nullptr;
  if (!m_hWnd) {
    MessageBox(m_hwndParent, "CWnd::Create()\n\n::CreateWindowEx failed.", "error", MB_OK);
    return nullptr;
  }
  AfterCreate();
  return m_hWnd;
}

LRESULT CWnd::WindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pcWnd;
  if (g_pcWndUnderConstruction && GetWindowLongPtr(hwnd, GWLP_USERDATA) == 0) {
    pcWnd = g_pcWndUnderConstruction;
    SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pcWnd));
    pcWnd->m_hWnd = hwnd;
    g_pcWndUnderConstruction = nullptr;
  } else {
    pcWnd = reinterpret_cast<CWnd*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  }
  if (!pcWnd) return DefWindowProc(hwnd, uMsg, wParam, lParam);
  return pcWnd->DispatchEvent(hwnd, uMsg, wParam, lParam);
}

LRESULT CWnd::DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_NCDESTROY: return OnNcDestroy(hwnd, uMsg, wParam, lParam);
    case WM_CREATE: return OnCreate(hwnd, uMsg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, uMsg, wParam, lParam);
    case WM_PAINT: return OnPaint(hwnd, uMsg, wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(hwnd, uMsg, wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(hwnd, uMsg, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(hwnd, uMsg, wParam, lParam);
    case WM_RBUTTONDOWN: return OnRButtonDown(hwnd, uMsg, wParam, lParam);
    case WM_RBUTTONUP: return OnRButtonUp(hwnd, uMsg, wParam, lParam);
    case WM_RBUTTONDBLCLK: return OnRButtonDblClk(hwnd, uMsg, wParam, lParam);
    case WM_MBUTTONDOWN: return OnMButtonDown(hwnd, uMsg, wParam, lParam);
    case WM_MBUTTONUP: return OnMButtonUp(hwnd, uMsg, wParam, lParam);
    case WM_MBUTTONDBLCLK: return OnMButtonDblClk(hwnd, uMsg, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, uMsg, wParam, lParam);
    case WM_MOUSEWHEEL: return OnMouseWheel(hwnd, uMsg, wParam, lParam);
    case WM_TIMER: return OnTimer(hwnd, uMsg, wParam, lParam);
    case WM_SIZE: return OnSize(hwnd, uMsg, wParam, lParam);
    case WM_MOVE: return OnMove(hwnd, uMsg, wParam, lParam);
    case WM_CLOSE: return OnClose(hwnd, uMsg, wParam, lParam);
    case WM_DESTROY: return OnDestroy(hwnd, uMsg, wParam, lParam);
    case WM_QUERYENDSESSION: return OnQueryEndSession(hwnd, uMsg, wParam, lParam);
    case WM_MEASUREITEM: return OnMeasureItem(hwnd, uMsg, wParam, lParam);
    case WM_MENUCHAR: return OnMenuChar(hwnd, uMsg, wParam, lParam);
    case WM_NOTIFY: return OnNotify(hwnd, uMsg, wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(hwnd, uMsg, wParam, lParam);
    case WM_MDIACTIVATE: return OnMDIActivate(hwnd, uMsg, wParam, lParam);
    default:
      if (uMsg >= WM_APP && uMsg <= 0xBFFF) return OnAppMessage(hwnd, uMsg, wParam, lParam);
      return CallDefWndProc(hwnd, uMsg, wParam, lParam);
  }
}

LRESULT CWnd::OnAppMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CallDefWndProc(hwnd, uMsg, wParam, lParam);
}

void CWnd::PreCreate() {}

void CWnd::AfterCreate() { ShowWindow(m_hWnd, SW_SHOW); }

LRESULT CWnd::OnNcDestroy(HWND, UINT, WPARAM, LPARAM) {
  m_hWnd = nullptr;
  return 0;
}

LRESULT CWnd::OnDefaultMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CallDefWndProc(hwnd, uMsg, wParam, lParam);
}

LRESULT CWnd::CallDefWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, uMsg, wParam, lParam);
}

#define TOVARA_DEFAULT_HANDLER(name)                                         \
  LRESULT CWnd::name(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) { \
    return OnDefaultMessage(hwnd, uMsg, wParam, lParam);                     \
  }
TOVARA_DEFAULT_HANDLER(OnCreate)
TOVARA_DEFAULT_HANDLER(OnCommand)
TOVARA_DEFAULT_HANDLER(OnPaint)
TOVARA_DEFAULT_HANDLER(OnLButtonDown)
TOVARA_DEFAULT_HANDLER(OnLButtonUp)
TOVARA_DEFAULT_HANDLER(OnLButtonDblClk)
TOVARA_DEFAULT_HANDLER(OnRButtonDown)
TOVARA_DEFAULT_HANDLER(OnRButtonUp)
TOVARA_DEFAULT_HANDLER(OnRButtonDblClk)
TOVARA_DEFAULT_HANDLER(OnMButtonDown)
TOVARA_DEFAULT_HANDLER(OnMButtonUp)
TOVARA_DEFAULT_HANDLER(OnMButtonDblClk)
TOVARA_DEFAULT_HANDLER(OnMouseMove)
TOVARA_DEFAULT_HANDLER(OnMouseWheel)
TOVARA_DEFAULT_HANDLER(OnTimer)
TOVARA_DEFAULT_HANDLER(OnSize)
TOVARA_DEFAULT_HANDLER(OnMove)
TOVARA_DEFAULT_HANDLER(OnClose)
TOVARA_DEFAULT_HANDLER(OnDestroy)
TOVARA_DEFAULT_HANDLER(OnQueryEndSession)
TOVARA_DEFAULT_HANDLER(OnMeasureItem)
TOVARA_DEFAULT_HANDLER(OnMenuChar)
TOVARA_DEFAULT_HANDLER(OnNotify)
TOVARA_DEFAULT_HANDLER(OnDrawItem)
TOVARA_DEFAULT_HANDLER(OnMDIActivate)
#undef TOVARA_DEFAULT_HANDLER
