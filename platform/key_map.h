// From the toolkit's key numbers to the keyboard's Windows numbers: the virtual-key code that
// WM_KEYDOWN carries and the set-1 scan code of the key (what a scan-code keyboard table indexes).
#pragma once

#include <cstdint>

namespace platform {

struct KeyCode {
  int vk = 0;             // 0: the key has no code here and makes no message
  uint8_t scanCode = 0;   // set-1 make code
  bool extended = false;  // the key sends a prefix byte (arrows, the right-hand Ctrl and Alt, ...)
};

// The number that scan-code keyboard tables use for the key: the scan code, plus 0x80 for a key
// with the prefix (so Pause, which sends E1 1D 45, is 0xC5 and Num Lock is 0x45).
constexpr int KeyTableIndex(KeyCode code) { return code.scanCode | (code.extended ? 0x80 : 0); }

// qtKey is the toolkit's key number (Qt::Key); keypad tells that the key is on the numeric pad.
// Shifted symbols map to the key that types them on a US layout ('!' is the 1 key).
KeyCode KeyCodeFromQtKey(int qtKey, bool keypad);

}  // namespace platform
