// The keyboard as a key-state device, indexed by DirectInput key codes (the scan-code numbering:
// the scan code, plus 0x80 for a key with the extended prefix). Fed by the key messages of the
// application window; while the program does not have the focus every key reads as up, and a key
// held when a message box comes up reads as up until it is pressed again.
#pragma once

#include "sdk/framework/key_buffer.h"
#include "sdk/framework/window_hook.h"

class CDIKeyboard : public CKeyBuffer, public IWindowHook {
 public:
  // Hooks the calling thread's application window; without one there is no keyboard to read.
  CDIKeyboard();
  ~CDIKeyboard() override;

  // 0, or 1 when there is no keyboard to read (every key then reads as up).
  int Update() override;
  // Held keys carry bit 7, as the device reports them.
  bool IsKeyPress(int key) const override;
  bool IsKeyPush(int key) const override;

  // Always 0: the window procedure still sees every message.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool m_device = false;
  uint8_t m_live[kKeys] = {};     // what the messages said since the last poll
  uint8_t m_pressed[kKeys] = {};  // keys newly pressed since the last poll
  uint8_t m_pushed[kKeys] = {};   // keys newly pressed before the last poll
};
