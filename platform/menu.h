// Menus built item by item, as the editor builds its popups: text items with an optional 16 x 16
// icon and the "text\tkey" label, separators, sub-menus, grey and ticked items, column breaks.
//
// Contract: a menu owns its items and the sub-menus appended to it with MF_POPUP; DestroyMenu frees
// a menu and its sub-menus and refuses a handle that is not a live menu. Append and insert refuse
// a null or destroyed menu, and a sub-menu that is already some menu's child. MF_OWNERDRAW means
// "show the item's icon". The queries serve tests and the layer that shows the menu; the item's
// text is Shift-JIS.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/win_types.h"
#include "platform/window.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_BYPOSITION = 0x0400;

namespace platform {

// A menu icon: 16 x 16 pixels, 0x00RRGGBB, with a mask (true = transparent).
struct MenuIcon {
  std::array<uint32_t, 16 * 16> pixels{};
  std::array<bool, 16 * 16> transparent{};
};

struct MenuItemInfo {
  UINT flags = 0;
  UINT id = 0;  // the command, or 0
  std::string text;
  HMENU submenu = nullptr;
  bool hasIcon = false;
  MenuIcon icon;
};

}  // namespace platform

HMENU CreateMenu();
HMENU CreatePopupMenu();
bool DestroyMenu(HMENU menu);
// item is the command id, or the sub-menu for MF_POPUP.
bool AppendMenu(HMENU menu, UINT flags, uintptr_t item, const char* text);
// Inserts before the item at position (MF_BYPOSITION) or before the item with that command id;
// a position at the end appends.
bool InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t item, const char* text);
// Gives the item at position its icon; false for no such item.
bool SetMenuItemIcon(HMENU menu, int position, const platform::MenuIcon& icon);
int GetMenuItemCount(HMENU menu);
bool GetMenuItemInfoAt(HMENU menu, int position, platform::MenuItemInfo& out);

namespace platform {

// Shows menus of this facility as the windows' menu bars (through the window layer's menu backend):
// each item with its icon, its "text\tkey" label, its grey and ticked states; choosing an item
// posts WM_COMMAND with its id to the window. LoadMenu then has no resources of its own.
void UseMenuBars();

}  // namespace platform
