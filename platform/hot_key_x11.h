// Inside the layer: what a hot key is on X11, apart from the server (platform/hot_key.h).
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace platform::x11 {

// The X keysym of a virtual-key code; 0 for a key without one.
uint32_t KeysymOfVirtualKey(UINT virtualKey);

// The X modifier mask of MOD_ bits (Shift, Control, Mod1 for Alt, Mod4 for the Windows key).
uint16_t ModifierMask(UINT modifiers);

// The masks of the locks that must not matter: none, Caps Lock, Num Lock (Mod2), both.
inline constexpr uint16_t kLockMasks[] = {0, 0x0002, 0x0010, 0x0012};

// Whether a key press (its keycode and modifier state) is the combination of keycode and mask.
bool IsHotKeyPress(uint8_t keycode, uint16_t state, uint8_t wantedKeycode, uint16_t wantedMask);

}  // namespace platform::x11
