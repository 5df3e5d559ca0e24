// What the history popups need of the menu drawer, which lives higher up in the editor.
#pragma once

#include <cstdint>

#include "platform/menu.h"

class IMenuDrawer {
 public:
  virtual ~IMenuDrawer() = default;
  // Appends an item (item: the command id, or the sub-menu for MF_POPUP); with addKeyName the
  // command's key follows the text. iconCommand names the command whose icon the item shows: -1
  // the item's own command, 0 none.
  virtual bool MyAppendMenu(HMENU menu, UINT flags, uintptr_t item, const char* text, bool addKeyName = true,
                            int iconCommand = -1) = 0;
  // Whether menus show icons at all.
  virtual bool IsMenuIconOn() const = 0;
};
