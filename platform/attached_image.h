// A window whose picture is a bitmap its owner keeps: the owner draws into that bitmap whenever it
// likes (between paints too) and the window shows it as it stands, without copying it.
//
// While a bitmap is attached:
// - the canvas paints the attached bitmap over the client area, opaque (the toolkit reads its bits
//   in place; the fourth byte of each pixel is no part of the colour); client area beyond the bitmap
//   shows the class background; the caret (and the preedit, platform/ime_query.h) is drawn over it;
// - GetDC and BeginPaint give contexts over the attached bitmap. BeginPaint neither erases nor fills
//   anything (fErase 0): rcPaint is the bounding rectangle of the part to be painted, the context is
//   clipped to it;
// - WM_PAINT comes only for parts that need painting: those marked by InvalidateRect (null: the
//   whole client area), the whole client area once the bitmap is attached, and the part a growing
//   client area adds. Everything else the toolkit repaints (an exposure, a grab, the caret's blink,
//   ShowWindowImage) just shows the bitmap again. UpdateWindow paints what is marked at once. A
//   part counts as painted once its WM_PAINT is sent; the procedure may draw with a context of its
//   own into the bitmap (BeginPaint then only tells it rcPaint).
//
// The bitmap is borrowed: the owner detaches it (or destroys the window) before it frees it, and
// must not replace it while one of its contexts is out. GUI thread only.
#pragma once

#include "platform/mem_dc.h"
#include "platform/window.h"

namespace platform {

// Attaches a 32-bit top-down bitmap (CreateDIBSection32) as the window's picture; null detaches
// it, and the window's own picture (window_dc.h) serves again. False for a handle that is not a
// window of this layer or a bitmap of another kind (nothing changes then).
bool AttachWindowImage(HWND hwnd, Bitmap* bitmap);
// The bitmap attached to the window, or null.
Bitmap* AttachedWindowImage(HWND hwnd);

// Shows what was drawn into the attached bitmap outside a paint: the rectangle (null: the whole
// client area) is shown again at the toolkit's next paint, without WM_PAINT. False for a handle
// that is not a window of this layer.
bool ShowWindowImage(HWND hwnd, const RECT* rect);

// Whether all of the rectangle (null: the whole client area) is still owed a WM_PAINT: what is drawn
// there into the attached bitmap now would be drawn over before it is ever shown. False for a
// handle that is not a window of this layer, or one without an attached bitmap.
bool WindowImageOwesPaint(HWND hwnd, const RECT* rect);

}  // namespace platform
