// Whether the modifier keys are held: GetKeyState for VK_SHIFT, VK_CONTROL and VK_MENU (Alt).
//
// Contract: GetKeyState(vk) has its high bit set (it is negative) while the key is held, and is 0
// otherwise and for every other key. A key counts as held from the press that reached a window of
// the program (simulated input included) to its release; losing the user's attention to another
// program releases them all, and where the desktop tells the state itself (not the offscreen
// platform), a key it reports held counts too. On the GUI thread only; elsewhere 0.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

using SHORT = int16_t;

namespace platform {

SHORT GetKeyState(int virtualKey);

}  // namespace platform
