// The keyboard as a key-state device, indexed by DirectInput key codes. While the program does not
// have the focus every key reads as up.
#pragma once

#include "sdk/framework/key_buffer.h"

class CDIKeyboard : public CKeyBuffer {
 public:
  CDIKeyboard();

  // 0, or 1 when there is no keyboard to read (every key then reads as up).
  int Update() override;
  // Held keys carry bit 7, as the device reports them.
  bool IsKeyPress(int key) const override;
  bool IsKeyPush(int key) const override;

 private:
  bool m_device = false;
};
