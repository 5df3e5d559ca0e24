// Lines, fills and raster operations on a memory device context, and moving a block of its
// picture: what a pane draws between its text runs (backgrounds, marks, inverted selections, a
// caret mark on the ruler) and how it scrolls its own picture.
//
// Every operation works on 32-bit pixels only and changes their colour bytes, never the alpha
// byte, so that an operation that inverts (XOR, NOT) restores every pixel exactly when it is done
// twice. Output is limited to the context's output rectangle (platform/mem_dc.h). Each returns
// FALSE without a context or a 32-bit bitmap selected, and for a value it does not know.
#pragma once

#include <optional>

#include "platform/mem_dc.h"
#include "platform/win_types.h"

namespace platform {

// What a solid brush or pen draws with.
class SolidColor {
 public:
  COLORREF Color() const { return m_color; }

 protected:
  explicit SolidColor(COLORREF color) : m_color(color & 0x00FFFFFF) {}

 private:
  COLORREF m_color;
};

// A solid brush. The caller owns it and selects it by address (HBRUSH).
class Brush : public SolidColor {
 public:
  explicit Brush(COLORREF color) : SolidColor(color) {}
};

// A solid pen one pixel wide, owned and selected like a brush (HPEN).
class Pen : public SolidColor {
 public:
  explicit Pen(COLORREF color) : SolidColor(color) {}
};

constexpr int PS_SOLID = 0;

// Mixes of a pen with what lies under it (SetROP2).
constexpr int R2_NOT = 6;         // inverts what is there, whatever the pen's colour
constexpr int R2_XORPEN = 7;      // pen XOR what is there
constexpr int R2_COPYPEN = 13;    // the pen's colour

// Raster operations of PatBlt: brush (P) and what is there (D).
constexpr DWORD PATCOPY = 0x00F00021;    // P
constexpr DWORD PATINVERT = 0x005A0049;  // P XOR D
constexpr DWORD DSTINVERT = 0x00550009;  // NOT D

inline Brush CreateSolidBrush(COLORREF color) { return Brush(color); }

// A pen of style PS_SOLID and width 0 or 1 (both one pixel); empty for anything else.
std::optional<Pen> CreatePen(int style, int width, COLORREF color);

// Select a pen or brush (null: the default black pen, white brush) and return the one selected
// before (null when it was the default); null without a context.
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);

// Sets how lines mix with what is there, one of the sixteen binary mixes 1 .. 16 (R2_ values);
// returns the mix before, 0 for a value outside them (nothing changes).
int SetROP2(HDC dc, int mix);
int GetROP2(HDC dc);

// Moves the line start to (x, y), storing the former one in previous when given.
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);

// Draws a line of the selected pen from the line start up to (x, y), the end point itself not
// drawn, each pixel once and mixed by the ROP2 mix; (x, y) becomes the line start.
BOOL LineTo(HDC dc, int x, int y);

// Fills [left, right) x [top, bottom) with the brush's colour (the mix and the selected brush do
// not matter). A system colour number + 1 given as the brush takes that colour. An empty
// rectangle draws nothing.
BOOL FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Paints the w x h block at (x, y) (a negative size extends left or up) with the selected brush
// combined with what is there by the raster operation: PATCOPY, PATINVERT, DSTINVERT, or any
// other operation of brush and destination alone (the ruler's caret mark inverts P XOR D,
// 0x00A50065). Operations that read a source are refused.
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);

// Moves the part of the picture inside scroll (the whole picture when null) by (dx, dy). Pixels
// are read from scroll and written only where scroll and clip (everything when null) overlap, so
// nothing outside the scrolled area changes. The uncovered part keeps its old pixels for the
// caller to repaint; update, when given, receives the rectangle that bounds it inside scroll and
// clip (empty when nothing was uncovered).
BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, RECT* update);

}  // namespace platform
