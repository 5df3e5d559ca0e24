// Menus: built item by item, as the editor builds its popups (text items with an optional 16 x 16
// icon and the "text\tkey" label, separators, sub-menus, grey and ticked items, column breaks), or
// loaded by name from a menu resource registered from a table, as the game's window gets its bar.
//
// Contract: a menu owns its items and the sub-menus appended to it with MF_POPUP; DestroyMenu frees
// a menu and its sub-menus and refuses a handle that is not a live menu. Append and insert refuse
// a null or destroyed menu, and a sub-menu that is already some menu's child. MF_OWNERDRAW means
// "show the item's icon". The item's text is Shift-JIS; "&" marks the mnemonic that follows it
// and "&&" is a plain "&".
//
// Items are found by command id (MF_BYCOMMAND, the default: the menu and its sub-menus, depth
// first, the first item with that id) or by position in the menu itself (MF_BYPOSITION). A change
// of an item's check mark, grey state or text shows at once in a bar that shows the menu, also in
// an open popup; items added after the menu went on a window show after DrawMenuBar or SetMenu.
// Everything here may be called from any thread; the bar follows on the GUI thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win_types.h"
#include "platform/window.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
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
  // Names the item for its whole life, whatever is inserted before it; never 0, never reused.
  uint64_t key = 0;
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

// MF_CHECKED or MF_UNCHECKED, found as flags say (MF_BYCOMMAND or MF_BYPOSITION). The previous
// state (MF_CHECKED or MF_UNCHECKED), or -1 when the menu has no such item.
int CheckMenuItem(HMENU menu, UINT item, UINT flags);
// MF_ENABLED, MF_GRAYED or MF_DISABLED (both grey the item). The previous state of those bits, or
// -1 when the menu has no such item.
int EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Gives the item new flags (MF_STRING or MF_SEPARATOR with the grey and check bits), a new id and
// a new text. A sub-menu item keeps its sub-menu and takes only the new text, and only when flags
// hold MF_POPUP with the same sub-menu as newItem; an item does not become a sub-menu. False when
// there is no such item or the change is refused.
bool ModifyMenu(HMENU menu, UINT item, UINT flags, uintptr_t newItem, const char* text);
// Takes the item (found as flags say) out of its menu: DeleteMenu destroys a sub-menu it holds,
// RemoveMenu leaves that sub-menu alone for the caller to own. False when there is no such item.
bool DeleteMenu(HMENU menu, UINT item, UINT flags);
bool RemoveMenu(HMENU menu, UINT item, UINT flags);
// The item's flags (MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_SEPARATOR, MF_POPUP, ...), or -1 when
// the menu has no such item.
int GetMenuState(HMENU menu, UINT item, UINT flags);

namespace platform {

// One line of a menu resource, read in order like the lines of a resource script: kPopup opens a
// sub-menu with its caption (closed by kEnd), kItem is a command with its id and caption,
// kSeparator a line. An item outside every popup stands directly on the bar.
struct MenuResourceEntry {
  enum class Kind : uint8_t { kPopup, kEnd, kItem, kSeparator };
  Kind kind = Kind::kItem;
  UINT id = 0;
  const char* text = nullptr;  // Shift-JIS
};

// Registers (or replaces) the menu resource of that name. False, and nothing registered, for an
// empty name or a table whose popups do not close, an end without its popup, or an item without
// a caption.
bool RegisterMenuResource(std::string_view name, std::span<const MenuResourceEntry> entries);
// A new menu built from the registered resource; the caller owns it (a window given it by its
// class destroys it with itself). Null when no resource has that name.
HMENU LoadMenuResourceByName(std::string_view name);

// Shows menus of this facility as the windows' menu bars (through the window layer's menu backend):
// each item with its icon, its "text\tkey" label, its grey and ticked states; choosing an item
// queues WM_COMMAND with its id (low word; wParam's high word and lParam are 0) for the window,
// so the pump hands it on between whatever the program does, never in the middle of it. LoadMenu
// finds the registered resources.
void UseMenuBars();

// Whether a menu of the window's bar is open (the user is choosing). False for a window without a
// bar or a handle that is not a live window. GUI thread.
bool IsMenuOpen(HWND hwnd);

// Redraws the bar from its menu (needed only for items added after the menu went on the window).
bool DrawMenuBar(HWND hwnd);

// For the layer that shows menus: told of every changed item (its state, id or text), on the thread
// that changed it. One observer; an empty function removes it.
using MenuItemObserver = std::function<void(const MenuItemInfo& item)>;
void SetMenuItemObserver(MenuItemObserver observer);

}  // namespace platform
