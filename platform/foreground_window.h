// Bringing a window to the front.
#pragma once

#include "platform/win_types.h"

namespace platform {

// Raises the window above the others and gives it the input focus, as far as the window manager
// lets a program do so. GUI thread only; 0 for a handle that is not a live window.
BOOL SetForegroundWindow(HWND hwnd);

}  // namespace platform
