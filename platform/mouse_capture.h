// The mouse capture: while a window has it, every mouse message of the program's windows goes to
// that window, in its client coordinates (negative or beyond its size outside it), and the mouse is
// grabbed so that moves and buttons outside the program's windows reach it too. Wheel messages are
// not captured. The capture ends with ReleaseCapture, with another SetCapture, or when the window is
// destroyed. GUI thread only.
#pragma once

#include "platform/window.h"

namespace platform {

// Returns the window that had the capture before, or null. A handle that is not a live window of
// this layer takes nothing.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
// The window that has the capture, or null.
HWND GetCapture();

}  // namespace platform
