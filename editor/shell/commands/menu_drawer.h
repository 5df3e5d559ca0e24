// Menus built item by item with the command's icon beside the text and its key after a tab, and
// the toolbar-button catalogue that ties each icon of the strip to a command (its order is stored
// in the settings, as the toolbar's entry numbers).
#pragma once

#include <cstdint>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/settings/menu_drawer_interface.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/shell/commands/icon_bitmap.h"
#include "platform/toolbar.h"

// The catalogue's own mark of the entry that stands for the toolbar's search box.
constexpr uint8_t TBSTYLE_COMBOBOX = 0x40;

class CMenuDrawer : public IMenuDrawer {
 public:
  static constexpr int MAX_MENUITEMS = 400;
  static constexpr int kCatalogueEntries = 385;

  explicit CMenuDrawer(SharedSettings* settings);
  ~CMenuDrawer() override;

  void Bind(HINSTANCE hInstance, HWND hwndOwner, CIconBitmap* icons);
  void ClearItems();
  bool MyAppendMenu(HMENU menu, UINT flags, uintptr_t item, const char* text, bool addKeyName = true,
                    int iconCommand = -1) override;
  bool IsMenuIconOn() const override;

  int FindItem(int commandId) const;
  const char* GetItemText(int commandId) const;
  int GetItemIcon(int commandId) const;
  int GetItemCount() const { return m_nMenuItemNum; }
  static char GetAccessKey(const char* text);
  int FindCatalogueEntry(int commandId) const;
  const TBBUTTON& GetCatalogueEntry(int entry) const { return m_tbMyButton[entry]; }

 private:
  SharedSettings* m_pShareData;
  HINSTANCE m_hInstance = nullptr;
  HWND m_hWndOwner = nullptr;
  int m_nMenuItemNum = 0;
  TBBUTTON m_tbMyButton[kCatalogueEntries];
  int m_nMyButtonNum = kCatalogueEntries;
  CMemory m_cmemMenuItemStr[MAX_MENUITEMS];
  int m_nMenuItemBitmapIdx[MAX_MENUITEMS];
  int m_nMenuItemFuncArr[MAX_MENUITEMS];
  CIconBitmap* m_pIcons = nullptr;
};
