#include "sdk/framework/di_keyboard.h"

#include <cstring>

#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/window_application.h"

namespace {

// The table index of the key that a key message is about.
int KeyIndex(LPARAM lParam) {
  const int scan = static_cast<int>((lParam >> 16) & 0xFF);
  const bool extended = ((lParam >> 24) & 1) != 0;
  return scan | (extended ? 0x80 : 0);
}

constexpr LPARAM kPreviouslyDown = LPARAM{1} << 30;

}  // namespace

CDIKeyboard::CDIKeyboard() {
  m_device = GetAppWindowHandle() != nullptr;
  if (!m_device) {
    ErrorLog::Out("DirectInputの初期化CreateDeviceに失敗"_sj);
    return;
  }
  AddWindowHook(this);
}

CDIKeyboard::~CDIKeyboard() {
  if (m_device) RemoveWindowHook(this);
}

LRESULT CDIKeyboard::OnWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // An auto-repeat says the key was already down: it is no new press.
      if (!(lParam & kPreviouslyDown)) {
        m_live[KeyIndex(lParam)] = 0x80;
        m_pressed[KeyIndex(lParam)] = 0x80;
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      m_live[KeyIndex(lParam)] = 0;
      break;
    case WM_ACTIVATEAPP:
    case WM_CANCELMODE:
      // A release that happens in another program, or in a message box, never reaches us.
      if (message == WM_CANCELMODE || wParam == 0) {
        std::memset(m_live, 0, sizeof m_live);
        std::memset(m_pressed, 0, sizeof m_pressed);
      }
      break;
    default:
      break;
  }
  return 0;
}

int CDIKeyboard::Update() {
  if (!m_device) return 1;
  Flip();
  // A key pressed since the last poll reads as held in this one even when it is already up again,
  // so that a press and its release taken in by one pump are still a push.
  uint8_t* current = Current();
  for (int k = 0; k < kKeys; ++k) current[k] = m_live[k] | m_pressed[k];
  std::memcpy(m_pushed, m_pressed, kKeys);
  std::memset(m_pressed, 0, sizeof m_pressed);
  return 0;
}

bool CDIKeyboard::IsKeyPress(int key) const { return InTable(key) && (Current()[key] & 0x80) != 0; }

bool CDIKeyboard::IsKeyPush(int key) const {
  // A new press is a push even when the key already read as held: its release was lost on the way
  // (the window changed under it), and the key would never push again.
  return InTable(key) && (Current()[key] & 0x80) != 0 && ((Previous()[key] & 0x80) == 0 || m_pushed[key] != 0);
}
