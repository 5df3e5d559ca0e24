// A key combination the whole desktop hands to a window, whichever window has the keyboard:
// RegisterHotKey and UnregisterHotKey.
//
// Contract:
// - RegisterHotKey(window, id, modifiers, key) takes the combination of the MOD_ bits (MOD_ALT,
//   MOD_CONTROL, MOD_SHIFT, MOD_WIN; MOD_NOREPEAT is accepted and ignored) and a virtual-key code
//   (letters, digits, F1 to F24, the named keys, the number pad; an OEM key by the character it
//   has on a US keyboard) for a live top-level window, under an id of the window's choice. Each
//   press of the combination, held Caps Lock and Num Lock aside, then posts WM_HOTKEY to the
//   window: wParam the id, lParam MAKELPARAM(modifiers, key) as registered.
// - Only an X11 desktop hands keys over this way. Elsewhere (no screen, Wayland) RegisterHotKey
//   fails, and so it does for an id the window already registered, a combination this program or
//   another one holds already, a key the keyboard lacks, and off the GUI thread.
// - UnregisterHotKey gives the combination back; false when the window has no such id. A window's
//   combinations go with it when DestroyWindow ends it.
#pragma once

#include "platform/win_types.h"

constexpr UINT WM_HOTKEY = 0x0312;

constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr UINT MOD_WIN = 0x0008;
constexpr UINT MOD_NOREPEAT = 0x4000;

namespace platform {

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND hwnd, int id);

}  // namespace platform
