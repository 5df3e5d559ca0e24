// Where the mouse cursor is, in the client coordinates of a window: the coordinates of the picture
// the window shows, also when the picture is shown scaled (full screen).
#pragma once

#include "platform/win_types.h"

namespace platform {

// False when hwnd is not a live window.
bool GetCursorClientPos(HWND hwnd, POINT* point);
// Moves the cursor to a client position of the window; false when hwnd is not a live window.
bool SetCursorClientPos(HWND hwnd, int x, int y);

}  // namespace platform
