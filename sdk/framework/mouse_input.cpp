#include "sdk/framework/mouse_input.h"

#include "platform/cursor_pos.h"
#include "platform/window.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/window_application.h"

CMouseInput::CMouseInput() { AddWindowHook(this); }

CMouseInput::~CMouseInput() { RemoveWindowHook(this); }

LRESULT CMouseInput::OnWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_MOUSEMOVE:
      m_right = (wParam & MK_RBUTTON) != 0;
      m_left = (wParam & MK_LBUTTON) != 0;
      break;
    case WM_LBUTTONDOWN: m_left = m_leftPressed = true; break;
    case WM_LBUTTONUP: m_left = false; break;
    case WM_RBUTTONDOWN: m_right = m_rightPressed = true; break;
    case WM_RBUTTONUP: m_right = false; break;
    case WM_MOUSEWHEEL: m_wheel = static_cast<uint16_t>(m_wheel + HIWORD(wParam)); break;
    case WM_CANCELMODE:
      // A message box takes the buttons: their releases go to it, and no edge of theirs is ours.
      m_left = m_right = false;
      m_leftPressed = m_rightPressed = false;
      m_cancelled = true;
      break;
    default: break;
  }
  return 0;
}

int CMouseInput::LiveXY(int* x, int* y) {
  POINT p;
  HWND window = GetAppWindowHandle();
  if (!platform::GetCursorClientPos(window, &p)) return 1;
  *x = p.x;
  *y = p.y;
  if (!IsFullScreen() && !m_keepWhenOutside) {
    RECT client;
    platform::GetClientRect(window, &client);
    if (p.x < 0 || p.x >= client.right || p.y < 0 || p.y >= client.bottom) {
      m_left = m_right = false;
      m_leftPressed = m_rightPressed = false;
    }
  }
  return 0;
}

int CMouseInput::LiveInfo(int* x, int* y, int* buttons) {
  if (LiveXY(x, y) != 0) return 1;
  // A button pressed since the last look reads as held even when it is already up again: a press
  // and its release taken in by one pump are still a click, seen over two polls.
  *buttons = (m_right || m_rightPressed ? 1 : 0) + (m_left || m_leftPressed ? 2 : 0);
  m_leftPressed = m_rightPressed = false;
  return 0;
}

int CMouseInput::GetXY(int* x, int* y) { return LiveXY(x, y); }

int CMouseInput::GetInfo(int* x, int* y, int* buttons) { return LiveInfo(x, y, buttons); }

bool CMouseInput::GetButtonPush(bool* left, bool* right) {
  *left = m_left && !m_previousLeft;
  *right = m_right && !m_previousRight;
  m_previousLeft = m_left;
  m_previousRight = m_right;
  return *left;
}

void CMouseInput::ClearPrevious() { m_previousLeft = m_previousRight = false; }

int CMouseInput::SetXY(int x, int y) { return platform::SetCursorClientPos(GetAppWindowHandle(), x, y) ? 0 : 1; }

int CMouseInputEx::GetXY(int* x, int* y) {
  *x = m_x;
  *y = m_y;
  return 0;
}

int CMouseInputEx::GetInfo(int* x, int* y, int* buttons) {
  *x = m_x;
  *y = m_y;
  *buttons = m_buttons;
  return 0;
}

bool CMouseInputEx::GetButtonPush(bool* left, bool* right) {
  *left = m_currentLeft && !m_previousLeft;
  *right = m_currentRight && !m_previousRight;
  return *left;
}

bool CMouseInputEx::GetButtonRelease(bool* left, bool* right) const {
  *left = !m_currentLeft && m_previousLeft;
  *right = !m_currentRight && m_previousRight;
  return *left;
}

void CMouseInputEx::ClearPrevious() {
  m_currentLeft = m_currentRight = false;
  m_previousLeft = m_previousRight = false;
}

int CMouseInputEx::SetXY(int x, int y) {
  m_x = x;
  m_y = y;
  return CMouseInput::SetXY(x, y);
}

int CMouseInputEx::Update() {
  if (m_guard > 0) --m_guard;
  m_previousRight = m_currentRight;
  m_previousLeft = m_currentLeft;
  int x = 0, y = 0, buttons = 0;
  if (LiveInfo(&x, &y, &buttons) != 0) {
    m_currentRight = m_currentLeft = false;
    return 1;
  }
  m_x = x;
  m_y = y;
  m_buttons = buttons;
  m_currentRight = (buttons & 1) != 0;
  m_currentLeft = (buttons & 2) != 0;
  if (TakeCancelled()) {
    m_previousRight = m_currentRight;
    m_previousLeft = m_currentLeft;
  }
  return 0;
}
