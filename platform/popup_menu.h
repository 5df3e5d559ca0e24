// A menu of the menu facility (menu.h) shown as a pop-up at a point, for the user to choose from:
// the right-click menus.
//
// TrackPopupMenu shows the menu at the screen point and waits until the user chooses an item or
// dismisses it. With TPM_RETURNCMD it returns the chosen command id (0 when nothing was chosen) and
// sends nothing; without, it queues WM_COMMAND with the id for the window, as the menu bar does,
// and returns 1 when an item was chosen, 0 otherwise. A grey item, a sub-menu's own item and an id
// the menu lacks cannot be chosen. GUI thread only; 0 for a handle that is not a live window or a
// menu that is not live.
//
// While a hook is installed it takes the user's place: it gets the menu (to read it with
// GetMenuItemInfoAt) and the point, and answers with the command id it chooses, or 0. Nothing is
// shown then, so tests never wait on a menu.
#pragma once

#include <functional>

#include "platform/menu.h"
#include "platform/win_types.h"

// TrackPopupMenu flags. Alignment and the button that chooses are the toolkit's.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

namespace platform {

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND hwnd, const RECT* rect);

using PopupMenuHook = std::function<UINT(HMENU menu, POINT at)>;
// Installs a hook (an empty one restores showing the menu) and returns the previous one.
PopupMenuHook SetPopupMenuHook(PopupMenuHook hook);

}  // namespace platform
