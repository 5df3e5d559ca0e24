// The keyboard as a table of held keys indexed by the DirectInput key codes (the PC scan-code
// numbering), filled from the toolkit's key events of every window of the program. Auto-repeated
// presses are not new presses, and every key counts as released once the program loses the focus.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/dik_codes.h"

namespace platform {

constexpr int kKeyCodes = 256;

// Starts following the keyboard (once per process; later calls do nothing). False when the
// program has no GUI application to follow.
bool StartKeyboardTracking();

// The held state of every key: 0x80 while held, else 0.
void ReadKeyboardState(uint8_t (&state)[kKeyCodes]);

// Synthetic toolkit input, for tests and for whoever drives the program without a person. The key
// is named as in a key sequence ("Esc", "Up", "F1", "A", "8", "Return", "Enter") or is one of the
// modifiers "Shift", "Ctrl", "Alt".
constexpr unsigned kKeyOnKeypad = 1;
constexpr unsigned kKeyRightSide = 2;  // the right one of two modifiers
constexpr unsigned kKeyAutoRepeat = 4;
void SendKeyEvent(std::string_view keyName, bool press, unsigned flags = 0);
void SendFocusLoss();

}  // namespace platform
