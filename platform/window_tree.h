// Where windows stand among each other: the window a child window lies in, the window a window is
// owned by, whether a window class is there, and points carried from one window's client
// coordinates to another's. GUI thread only.
#pragma once

#include "platform/window.h"

namespace platform {

// The window whose client area a child window (WS_CHILD, or a control) lies in; null for a window
// that is not a child window and for a handle that is not a window of this layer.
HWND GetParent(HWND hwnd);

// What GetWindow is asked for; only the owner is answered.
constexpr UINT GW_OWNER = 4;
// GW_OWNER: the window a top-level window was made for (a dialog's owner, the parent of a WS_POPUP
// window), while it lives. Null for a child window, a window made without one, a handle that is
// not a window of this layer, and any other request.
HWND GetWindow(HWND hwnd, UINT command);

// Fills the class's values (procedure, style, extra bytes, cursor, background, icon, name)
// and returns 1 when a class of that name is registered; 0 otherwise, leaving out as it is.
BOOL GetClassInfoEx(HINSTANCE instance, const char* className, WNDCLASSEX* out);

// Carries the points from the client coordinates of one window to those of another; a null handle
// stands for the screen. 0 (the points unchanged) when a handle is neither null nor a window of
// this layer; otherwise the horizontal shift in the low word and the vertical in the high word, as
// signed 16-bit numbers.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);

}  // namespace platform
