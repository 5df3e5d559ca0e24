// Scroll-bar controls: child windows of the class "SCROLLBAR" (without SBS_SIZEGRIP or SBS_SIZEBOX,
// which make the size grip, window.h), made by CreateWindowEx with a parent window.
//
// The control keeps a range (nMin..nMax), a page (nPage, at most the range's size) and a position,
// which lies between nMin and nMax - nPage + 1 (nMax for an empty page). Its own clicks and keys do
// not move it: they are sent to the parent as WM_VSCROLL (SBS_VERT) or WM_HSCROLL (SBS_HORZ) with
// the SB_ code in the low word of wParam and the control's handle in lParam, and the parent moves
// the control with SetScrollInfo. While the thumb is dragged, SB_THUMBTRACK tells each place
// (GetScrollInfo's nTrackPos, with SIF_TRACKPOS, gives it in full; the high word of wParam holds
// its low 16 bits), and the release sends SB_THUMBPOSITION, then SB_ENDSCROLL; the thumb then
// shows the position as the parent set it. Line and page steps, and the ends, send their code
// followed by SB_ENDSCROLL. GUI thread only.
#pragma once

#include "platform/win_types.h"

// Scroll-bar control styles.
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;

// Which scroll bar the calls are about: only the control itself (SB_CTL) is one here.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;

// Parent notifications.
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;

// SB_ codes of WM_VSCROLL and WM_HSCROLL.
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

// What SCROLLINFO's fMask names.
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;  // accepted; the control stays as it is
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;  // read only: the thumb's place while it is dragged, else the position
};

namespace platform {

// Sets what the mask names (the position is then brought within the range) and returns the
// position; 0 for a handle that is not a scroll-bar control or a bar other than SB_CTL.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
// Fills in what the mask names; FALSE as SetScrollInfo fails.
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// The position alone: the previous one is returned.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);

}  // namespace platform
