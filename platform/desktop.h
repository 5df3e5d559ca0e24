// The desktop as a whole: which window has the user's attention, where the cursor is on the
// screen, the screen's colour depth and the room it has for windows.
#pragma once

#include "platform/win_types.h"

namespace platform {

// The program's window that is active, or null (another program's window, or none).
HWND GetActiveWindow();
// The cursor in screen coordinates; false when there is no screen.
bool GetCursorPos(POINT* point);
// Bits per pixel of the primary screen; 0 when there is none.
int DesktopBitsPerPixel();
// The part of the primary screen that windows may take (without panels and docks); false when
// there is no screen.
bool DesktopAvailableSize(int* width, int* height);

}  // namespace platform
