// Toolbar controls: children of the class "ToolbarWindow32" made by CreateWindowEx with a window as
// parent, each a row (or rows) of buttons that show icons of a strip and stand for commands.
//
// Contract:
// - The bar lies along the top of its parent's client area. It sizes itself when it is made and
//   whenever it is sent WM_SIZE: the parent's whole width, as high as its rows of buttons (a
//   button is kButtonWidth x kButtonHeight, with kToolbarMargin above and below the rows).
//   GetWindowRect tells the height to the parent's layout.
// - TB_ADDBUTTONS (wParam the count, lParam the TBBUTTON array) appends buttons; TB_BUTTONSTRUCTSIZE
//   is accepted. A button's iBitmap picks its icon from the strip given with SetToolbarIcons; the
//   disabled look is the toolkit's own rendering of the same icon. A TBSTYLE_SEP entry is a gap of
//   iBitmap pixels (kSeparatorWidth when 0) that holds no button; TBSTATE_WRAP on an entry ends
//   its row.
// - A click on an enabled button posts WM_COMMAND to the parent: the command id in the low word,
//   BN_CLICKED (0) in the high word, the bar's handle in lParam. A click never changes the
//   button's pushed-in state: TB_CHECKBUTTON sets it (wParam the command, low word of lParam on
//   or off), as TB_ENABLEBUTTON sets whether it can be clicked; both return FALSE for a command
//   the bar lacks. TB_GETSTATE gives the TBSTATE_ bits of a command's button, or -1. The mouse
//   over the bar is the bar's: the parent hears no mouse message from it.
// - A TBSTYLE_DROPDOWN button: with TBSTYLE_EX_DRAWDDARROWS (TB_SETEXTENDEDSTYLE) it shows an
//   arrow at its right; a press on the arrow (or anywhere on a drop-down button without the
//   arrows) sends WM_NOTIFY with an NMTOOLBAR (code TBN_DROPDOWN, iItem the command, rcButton in
//   the bar's coordinates) once the toolkit has finished with the press; a click elsewhere is a
//   click as above.
// - With TBSTYLE_TOOLTIPS, when a tip is about to show over a button the parent gets WM_NOTIFY
//   with an NMTTDISPINFO (code TTN_NEEDTEXT, idFrom the command); the tip shows the Shift-JIS text
//   that lpszText points at when the parent returns (cut to 1024 bytes on a whole character;
//   nothing for an empty text).
// - TBSTYLE_FLAT (also set later with TB_SETSTYLE: a child keeps no GWL_STYLE) draws the buttons
//   without a raised frame until the mouse is over them.
// - TB_GETITEMRECT (wParam the index, lParam a RECT) gives a button's rectangle in the bar;
//   TB_SETBUTTONINFO with TBIF_SIZE (wParam the command) sets a button's or a gap's width and
//   moves the entries after it.
// - A "COMBOBOX" made with the bar as parent (CBS_DROPDOWN: an editable box with a list) lies on
//   the bar; MoveWindow places it in the bar's coordinates, at its own height whatever height is
//   asked (its list is a pop-up of its own). It takes CB_LIMITTEXT (Shift-JIS bytes),
//   CB_RESETCONTENT, CB_ADDSTRING, CB_GETCOUNT, CB_SETCURSEL, CB_GETCURSEL, WM_SETTEXT,
//   WM_GETTEXT and WM_SETFONT (accepted; the toolkit's font stays). Gaining and losing the
//   keyboard posts WM_COMMAND with CBN_SETFOCUS or CBN_KILLFOCUS (the box's id, its handle) to
//   the bar's parent, as a bar passes its children's commands on. Return and Tab pressed in the
//   box are queued as WM_KEYDOWN for the box's handle (so the program's loop sees them, and
//   IsDialogMessage of the box takes them), every other key is the box's own.
// GUI thread only.
#pragma once

#include <cstdint>

#include "platform/dialog.h"  // the box's CB_ messages, BN_CLICKED
#include "platform/mem_dc.h"
#include "platform/win_types.h"

// A button of the bar: its icon, command, state and style.
struct TBBUTTON {
  int32_t iBitmap;
  int32_t idCommand;
  uint8_t fsState;
  uint8_t fsStyle;
  intptr_t dwData;
  intptr_t iString;
};

constexpr uint8_t TBSTATE_CHECKED = 0x01;
constexpr uint8_t TBSTATE_PRESSED = 0x02;
constexpr uint8_t TBSTATE_ENABLED = 0x04;
constexpr uint8_t TBSTATE_WRAP = 0x20;
constexpr uint8_t TBSTYLE_BUTTON = 0x00;
constexpr uint8_t TBSTYLE_SEP = 0x01;
constexpr uint8_t TBSTYLE_DROPDOWN = 0x08;

// Bar styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x00000001;

// Bar messages.
constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_ADDBUTTONS = WM_USER + 20;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETSTYLE = WM_USER + 56;
constexpr UINT TB_GETSTYLE = WM_USER + 57;
constexpr UINT TB_SETBUTTONINFO = WM_USER + 66;
constexpr UINT TB_SETEXTENDEDSTYLE = WM_USER + 84;
constexpr UINT TB_GETEXTENDEDSTYLE = WM_USER + 85;

constexpr DWORD TBIF_SIZE = 0x00000040;

struct TBBUTTONINFO {
  UINT cbSize = sizeof(TBBUTTONINFO);
  DWORD dwMask = 0;
  int idCommand = 0;
  int iImage = 0;
  uint8_t fsState = 0;
  uint8_t fsStyle = 0;
  WORD cx = 0;
  uintptr_t lParam = 0;
  char* pszText = nullptr;
  int cchText = 0;
};

// Notifications.
constexpr UINT TBN_DROPDOWN = static_cast<UINT>(-710);
constexpr UINT TTN_NEEDTEXT = static_cast<UINT>(-520);
constexpr LRESULT TBDDRET_DEFAULT = 0;

struct NMTOOLBAR {
  NMHDR hdr;
  int iItem = 0;
  TBBUTTON tbButton{};
  int cchText = 0;
  char* pszText = nullptr;
  RECT rcButton{};
};

struct NMTTDISPINFO {
  NMHDR hdr;
  char* lpszText = nullptr;  // the parent points it at its own text, or fills szText
  char szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};

// Combo-box style and the notifications of the bar's box.
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;

namespace platform {

constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kDropDownArrowWidth = 12;
constexpr int kSeparatorWidth = 8;
constexpr int kToolbarMargin = 2;
constexpr int kToolTipBytes = 1024;

// The icons of a bar: cells of cellSize x cellSize pixels, cellsPerRow to a row of the strip,
// counted row by row; pixels of the transparent colour (0x00RRGGBB) let the bar show through.
struct ToolbarIconStrip {
  const Bitmap* strip = nullptr;  // 32 bits per pixel; copied by SetToolbarIcons
  int cellSize = 16;
  int cellsPerRow = 32;
  uint32_t transparent = 0;
};

// Gives the bar its icons (the buttons it has and those it gets). False for a handle that is not
// a bar or a strip that is not 32 bits per pixel.
bool SetToolbarIcons(HWND toolbar, const ToolbarIconStrip& icons);

}  // namespace platform
