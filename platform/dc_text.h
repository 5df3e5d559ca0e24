// Text output into a memory device context: the selected font, text and background colours, the
// background mode, the output and measuring of one line, and of a text laid out in a rectangle.
#pragma once

#include <optional>

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

// ExtTextOutA options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Writes count bytes of Shift-JIS text as TextOutA does, with options over rect (ignored when
// rect is null): ETO_OPAQUE first fills rect with the background colour, ETO_CLIPPED keeps the text
// inside it. Every byte advances the pen by byteAdvance pixels, whatever the glyphs' own widths
// (a double-byte character by twice that), so that text lands on a grid of cells with no width
// table; 0 takes the glyphs' own advances. An opaque background mode paints the text's cells too.
// FALSE as for TextOutA, and for a negative byteAdvance or options other than these two.
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, int byteAdvance);

// The extent of length bytes of text in the selected font; works without a bitmap.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size);

// DrawTextA formats. The text starts at the rectangle's top left; other formats are not offered.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_EXTERNALLEADING = 0x0200;
constexpr UINT DT_CALCRECT = 0x0400;

// Lays out length bytes of Shift-JIS text (-1: up to its NUL) in the rectangle and draws it there
// with the selected font and colours, cut at the rectangle; returns the height of the text, 0 on
// failure (no font, no text pointer, no rectangle).
// - A line ends at CR, LF or CR LF; a line break at the very end adds no line.
// - DT_WORDBREAK: a line that would run past the rectangle's right edge breaks after the last space
//   or at the last double-byte character boundary that keeps it inside; the spaces at a break are
//   dropped. A single-byte word wider than the rectangle stays whole.
// - DT_EXPANDTABS: a tab moves to the next multiple of eight widths of "x"; otherwise it is drawn
//   as any control character: without a glyph or room.
// - DT_EXTERNALLEADING: lines are as high as the font's cells in any case (the faces have no
//   external leading).
// - DT_CALCRECT: draws nothing; the rectangle's right edge becomes left + the widest line and its
//   bottom top + the height.
// An "&" is drawn as itself (there are no mnemonic prefixes).
int DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format);

// The font a LOGFONT describes: its face name, height (negative: the magnitude; 0: the default),
// weight (0: normal), italic, underline and strike-out bytes, and quality. Empty when it cannot be
// realised. The font is the caller's, selected by address.
std::optional<Font> CreateFontIndirect(const LOGFONT* logFont);

}  // namespace platform
