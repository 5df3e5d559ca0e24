// Status bar controls: CreateStatusWindow (or CreateWindowEx of "msctls_statusbar32") with a window
// as parent; a row of parts along the bottom of the parent's client area that show texts.
//
// Contract:
// - The bar sizes itself when it is made and whenever it is sent WM_SIZE: the parent's whole
//   width, kStatusBarHeight high, at the bottom of the parent's client area. GetWindowRect tells
//   its height to the parent's layout.
// - SB_SETPARTS: wParam parts (1 to 256), lParam their right edges in the bar's coordinates (-1:
//   to the bar's right end); a part's text outlives a change of the parts. SB_GETPARTS copies up to
//   wParam edges to lParam (when not null) and returns the count. SB_GETRECT gives part wParam's
//   rectangle in lParam. With SBARS_SIZEGRIP the bar has the toolkit's size grip at its right end,
//   GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) wide (it hides itself while the
//   window is maximised); parts reaching under it stay under it.
// - SB_SETTEXT: the part in the low byte of wParam, SBT_NOBORDERS or SBT_OWNERDRAW in its high
//   byte; lParam the Shift-JIS text, or for SBT_OWNERDRAW a value of the program's. SB_GETTEXT
//   copies the text to lParam (a buffer the caller sized with SB_GETTEXTLENGTH) and returns, as
//   SB_GETTEXTLENGTH does, the length in the low word and the part's flags in the high word.
// - An owner-drawn part is drawn by the parent at every paint of the part: WM_DRAWITEM (wParam the
//   bar's id) with a DRAWITEMSTRUCT: CtlID the bar's id, itemID the part, hwndItem the bar, hDC a
//   memory device context over a picture of the bar filled with the button face colour, with the
//   bar's font ("ＭＳ Ｐゴシック" 12 pixels) selected when the desktop has it, rcItem
//   the part's rectangle inside its border in the bar's coordinates, itemData the value given. What
//   the parent draws inside rcItem is what the part shows.
// - A double click and a right-button release on the bar send WM_NOTIFY (wParam the bar's id) to
//   the parent with an NMMOUSE: code NM_DBLCLK or NM_RCLICK, dwItemSpec the part under the mouse
//   (-1 for none), pt the point in the bar's coordinates. They are sent once the toolkit has
//   finished with the click, so the parent may open a menu or rebuild the bar. Other clicks on the
//   bar are the bar's: the parent hears no mouse message from it.
// - A "msctls_progress32" made with the bar as parent lies on the bar at the rectangle asked (in
//   the bar's coordinates), hidden until ShowWindow; it takes PBM_SETRANGE, PBM_SETRANGE32,
//   PBM_SETPOS and PBM_GETPOS, sent or posted.
// GUI thread only.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

constexpr DWORD SBARS_SIZEGRIP = 0x0100;

constexpr UINT SB_SETTEXT = WM_USER + 1;
constexpr UINT SB_GETTEXT = WM_USER + 2;
constexpr UINT SB_GETTEXTLENGTH = WM_USER + 3;
constexpr UINT SB_SETPARTS = WM_USER + 4;
constexpr UINT SB_GETPARTS = WM_USER + 6;
constexpr UINT SB_GETRECT = WM_USER + 10;

constexpr WPARAM SBT_OWNERDRAW = 0x1000;
constexpr WPARAM SBT_NOBORDERS = 0x0100;

struct NMMOUSE {
  NMHDR hdr;
  uintptr_t dwItemSpec = 0;
  uintptr_t dwItemData = 0;
  POINT pt{};
  LPARAM dwHitInfo = 0;
};

namespace platform {

constexpr int kStatusBarHeight = 22;
constexpr int kMaxStatusParts = 256;

// A status bar on the parent (style WS_CHILD, WS_VISIBLE, SBARS_SIZEGRIP), its one part holding
// the text; null when the parent is not a window.
HWND CreateStatusWindow(LONG style, const char* text, HWND parent, UINT id);

}  // namespace platform
