// What the history popups need of the menu drawer, which lives higher up in the editor.
#pragma once

#include "platform/menu.h"

class IMenuDrawer {
 public:
  virtual ~IMenuDrawer() = default;
  // Appends an item; with addAccessKey the text's access key is shown; iconCommand is the command
  // whose icon the item shows, 0 for none.
  virtual bool MyAppendMenu(HMENU menu, UINT flags, UINT id, const char* text, bool addAccessKey = true,
                            int iconCommand = 0) = 0;
  // Whether menus show icons at all.
  virtual bool IsMenuIconOn() const = 0;
};
