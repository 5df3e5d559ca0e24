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

// The keyboard layout the virtual-key codes follow. Under the Japanese (JIS) layout a key's code
// is that of its place on the keyboard, not of the character the toolkit reports: the key right
// of P types "@" and is VK_OEM_3 (0xC0), then "[" VK_OEM_4 (0xDB); right of L ";" VK_OEM_PLUS
// (0xBB), ":" VK_OEM_1 (0xBA), "]" VK_OEM_6 (0xDD); "^" right of "-" is VK_OEM_7 (0xDE); the yen
// key VK_OEM_5 (0xDC) and the ro key VK_OEM_102 (0xE2); the digits, letters and ",./" keep their
// places' codes whatever Shift makes them type.
enum class KeyboardLayout { kUs, kJis };

// Japanese when the input method's language (the desktop's, by default its locale) is Japanese.
// GUI thread.
KeyboardLayout CurrentKeyboardLayout();

// The code of a key of the main block by its place: nativeScanCode is the toolkit's native code
// of the key (an X or Wayland keycode: the kernel's key number plus 8). Under kJis the typing
// keys take their places' codes and scan codes; under either layout the yen and ro keys, which
// only Japanese keyboards have, take theirs. Keys of the pad, keys elsewhere and a native code
// of 0 (a synthesised event) keep the code given.
KeyCode LayoutKeyCode(KeyCode code, uint32_t nativeScanCode, bool keypad, KeyboardLayout layout);

}  // namespace platform
