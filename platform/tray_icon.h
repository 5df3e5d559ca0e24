// An icon of a window in the desktop's notification area (the system tray): Shell_NotifyIcon.
//
// Contract:
// - NIM_ADD shows an icon for (window, id) with what uFlags names of the record: the icon
//   (NIF_ICON), the tip (NIF_TIP, Shift-JIS, cut at its first NUL and at 63 bytes on a whole
//   character) and the callback message (NIF_MESSAGE). It fails when the window is not a live
//   top-level window, when that window already has an icon of that id, off the GUI thread, and
//   when the desktop has no notification area (always so without a screen): the caller then goes
//   on without an icon, nothing waits for one to appear.
// - NIM_MODIFY changes what uFlags names of an icon that exists; NIM_DELETE removes it. Both fail
//   for an icon that does not exist. An icon goes with its window when DestroyWindow ends it.
// - The icon's picture is copied: the caller may let go of its icon handle after the call.
// - A person's clicks on the icon are posted to the window as the callback message (none without
//   NIF_MESSAGE), wParam the icon's id and lParam a mouse message:
//   a single left click gives WM_LBUTTONDOWN, then WM_LBUTTONUP, held back for the desktop's
//   double-click time; a double click within that time gives WM_LBUTTONDBLCLK, then WM_LBUTTONUP,
//   and the held-back single click is dropped (so a double click never also counts as a click);
//   a right click (the context request) gives WM_RBUTTONUP and a middle click WM_MBUTTONUP, after
//   a single click still held back.
// - The desktop re-creating its notification area is the toolkit's business: the icon comes back
//   by itself.
#pragma once

#include <cstdint>

#include "platform/window.h"

// Shell_NotifyIcon's commands.
constexpr DWORD NIM_ADD = 0x00000000;
constexpr DWORD NIM_MODIFY = 0x00000001;
constexpr DWORD NIM_DELETE = 0x00000002;

// Which fields of NOTIFYICONDATA count.
constexpr UINT NIF_MESSAGE = 0x00000001;
constexpr UINT NIF_ICON = 0x00000002;
constexpr UINT NIF_TIP = 0x00000004;

struct NOTIFYICONDATA {
  DWORD cbSize = sizeof(NOTIFYICONDATA);
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[64] = {};
};

namespace platform {

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data);

}  // namespace platform
