// Device contexts of a window: memory device contexts (platform/mem_dc.h) over the picture of the
// window's client area. The window keeps that picture, 32 bits a pixel, the size of its client
// area, and shows it: after each WM_PAINT the canvas draws it. So what a window procedure draws
// through these contexts is what the window shows, and tests read its pixels with GetPixel.
//
// The picture is made on the first GetDC or BeginPaint, filled with the class background. It
// follows the client size, keeping what was drawn where the two sizes overlap and filling the rest
// with the background; while a context is out it keeps its size. A client area without pixels gives
// a context without a bitmap, which can still measure text. GUI thread only.
#pragma once

#include "platform/mem_dc.h"
#include "platform/window.h"

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = 0;
  RECT rcPaint;
  BOOL fRestore = 0;
  BOOL fIncUpdate = 0;
  BYTE rgbReserved[32] = {};
};

namespace platform {

// A new context over the window's picture; null for a handle that is not a window of this layer.
// Each is released with ReleaseDC; the window's destruction releases those still out.
HDC GetDC(HWND hwnd);
// 1 when the context was the window's and is now released; the window is shown anew.
int ReleaseDC(HWND hwnd, HDC dc);

// For WM_PAINT: a context clipped to the part being painted, which is first filled with the class
// background (fErase 1); rcPaint is that part (the whole client area when the window is not being
// painted by the toolkit). A window showing an attached bitmap (attached_image.h) is not filled
// (fErase 0). EndPaint releases the context.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

}  // namespace platform
