// Inverted strips shown over a window and the child windows inside it: the drag bars of a window
// that holds other windows (a splitter dragging the bar between its panes) must show over those
// windows, while the window's own picture (platform/window_dc.h) lies under them.
//
// The strips are kept as a region of the window's client area: inverting a rectangle adds to the
// region what it did not hold and takes away what it did, so each pixel shows inverted exactly when
// it lies in an odd number of the rectangles inverted so far, and inverting the same rectangles again
// restores what they covered, as an XOR drawing does. The inversion is applied to whatever shows
// under it each time that repaints; nothing is written into any window's picture. The strips take
// no mouse input; each inversion puts them above every child window the window has then. GUI thread
// only.
#pragma once

#include "platform/window.h"

namespace platform {

// Inverts the rectangle (client coordinates; the part outside the client area is kept for when
// the window grows). 0 for a handle that is not a window of this layer or an empty rectangle.
BOOL InvertOverWindow(HWND hwnd, const RECT& rect);
// Takes every strip away. 0 for a handle that is not a window of this layer.
BOOL ClearInvertedStrips(HWND hwnd);

}  // namespace platform
