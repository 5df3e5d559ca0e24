#include "sdk/framework/di_keyboard.h"

#include <cstring>

#include "platform/keyboard.h"
#include "sdk/framework/error_log.h"

CDIKeyboard::CDIKeyboard() {
  m_device = platform::StartKeyboardTracking();
  if (!m_device) ErrorLog::Out("DirectInputの初期化CreateDeviceに失敗");
}

static_assert(platform::kKeyCodes == CKeyBuffer::kKeys);

int CDIKeyboard::Update() {
  if (!m_device) return 1;
  Flip();
  uint8_t state[platform::kKeyCodes];
  platform::ReadKeyboardState(state);
  std::memcpy(Current(), state, kKeys);
  return 0;
}

bool CDIKeyboard::IsKeyPress(int key) const { return InTable(key) && (Current()[key] & 0x80) != 0; }

bool CDIKeyboard::IsKeyPush(int key) const {
  return InTable(key) && (Current()[key] & 0x80) != 0 && (Previous()[key] & 0x80) == 0;
}
