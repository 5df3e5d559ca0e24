// Text output into a memory device context: the selected font, text and background colours, the
// background mode, and the output and measuring of one line.
#pragma once

#include "platform/font.h"
#include "platform/mem_dc.h"
#include "platform/win_types.h"

namespace platform {

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Each returns what was set before.
const Font* SelectFont(HDC dc, const Font* font);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);

// Writes length bytes of Shift-JIS text with the cell's top-left corner at (x, y), limited to the
// output rectangle. The selected bitmap must hold 32-bit pixels. FALSE without a font or such a
// bitmap, or for a negative length.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);

// The extent of length bytes of text in the selected font; works without a bitmap.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size);

}  // namespace platform
