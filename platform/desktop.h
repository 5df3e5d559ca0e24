// The desktop as a whole: which window has the user's attention, where the cursor is on the
// screen, and the screen's colour depth.
#pragma once

#include "platform/win_types.h"

namespace platform {

// The program's window that is active, or null (another program's window, or none).
HWND GetActiveWindow();
// The cursor in screen coordinates; false when there is no screen.
bool GetCursorPos(POINT* point);
// Bits per pixel of the primary screen; 0 when there is none.
int DesktopBitsPerPixel();

}  // namespace platform
