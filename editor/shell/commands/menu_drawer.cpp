#include "editor/shell/commands/menu_drawer.h"

#include <cstring>
#include <string>

#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/shell/commands/icon_commands.h"
#include "editor/shell/commands/key_bindings.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kDropDownCommand = 30108;
constexpr int kSearchBoxCommand = 30908;
constexpr int kMaxItemText = 255;

}  // namespace

CMenuDrawer::CMenuDrawer(SharedSettings* settings) : m_pShareData(settings) {
  m_tbMyButton[0] = TBBUTTON{0, 0, 0, TBSTYLE_SEP, 0, 0};
  for (int i = 1; i < kCatalogueEntries; ++i) {
    const int command = kIconCommands[i - 1];
    uint8_t style = 0;
    if (command == kDropDownCommand)
      style = TBSTYLE_DROPDOWN;
    else if (command == kSearchBoxCommand)
      style = TBSTYLE_COMBOBOX;
    m_tbMyButton[i] = TBBUTTON{i - 1, command, TBSTATE_ENABLED, style, 0, 0};
  }
  m_tbMyButton[kCatalogueEntries - 1] = TBBUTTON{0, 0x8000, TBSTATE_ENABLED | TBSTATE_WRAP, TBSTYLE_SEP, 0, 0};
  for (int i = 0; i < MAX_MENUITEMS; ++i) {
    m_nMenuItemBitmapIdx[i] = -1;
    m_nMenuItemFuncArr[i] = 0;
  }
}

CMenuDrawer::~CMenuDrawer() = default;

void CMenuDrawer::Bind(HINSTANCE hInstance, HWND hwndOwner, CIconBitmap* icons) {
  m_hInstance = hInstance;
  m_hWndOwner = hwndOwner;
  m_pIcons = icons;
}

void CMenuDrawer::ClearItems() {
  for (int i = 0; i < MAX_MENUITEMS; ++i) {
    m_cmemMenuItemStr[i].Clear();
    m_nMenuItemFuncArr[i] = 0;
    m_nMenuItemBitmapIdx[i] = -1;
  }
  m_nMenuItemNum = 0;
}

bool CMenuDrawer::IsMenuIconOn() const { return m_pShareData && m_pShareData->Common.bMenuIcon; }

bool CMenuDrawer::MyAppendMenu(HMENU menu, UINT flags, uintptr_t item, const char* text, bool addKeyName,
                               int iconCommand) {
  const char* source = text ? text : "";
  std::string label(source, WholeCharsPrefixLength(source, static_cast<int>(std::strlen(source)), kMaxItemText));
  int icon = -1;
  bool record = false;
  const int commandId = (flags & MF_POPUP) ? 0 : static_cast<int>(item);
  if (commandId != 0) {
    if (addKeyName && m_pShareData)
      GetMenuLabelWithKey(m_hInstance, m_pShareData->nKeyAssignCount, m_pShareData->KeyAssigns, commandId, label, true);
    if (m_nMenuItemNum + 1 > MAX_MENUITEMS) {
      ShowMessageBox(nullptr, MB_ICONSTOP | MB_TOPMOST, "tovara",
                     "CMenuDrawer::MyAppendMenu()エラー\n\nCMenuDrawerが管理できるメニューアイテムの上限はCMenuDrawer::"
                     "MAX_MENUITEMS==%dです。\n"_sj,
                     MAX_MENUITEMS);
    } else {
      record = true;
      const int wanted = iconCommand == -1 ? commandId : iconCommand;
      if (wanted != 0) {
        const int entry = FindCatalogueEntry(wanted);
        if (entry > 0) icon = m_tbMyButton[entry].iBitmap;
      }
      m_cmemMenuItemStr[m_nMenuItemNum].AssignString(label.c_str());
      m_nMenuItemFuncArr[m_nMenuItemNum] = commandId;
      m_nMenuItemBitmapIdx[m_nMenuItemNum] = icon;
      ++m_nMenuItemNum;
    }
  }
  UINT menuFlags = flags & ~MF_OWNERDRAW;
  if (record && IsMenuIconOn()) menuFlags |= MF_OWNERDRAW;
  const int position = GetMenuItemCount(menu);
  if (!AppendMenu(menu, menuFlags, item, label.c_str())) return false;
  platform::MenuIcon picture;
  if ((menuFlags & MF_OWNERDRAW) && icon >= 0 && m_pIcons &&
      m_pIcons->GetMenuIcon(icon, picture, (flags & MF_GRAYED) != 0))
    SetMenuItemIcon(menu, position, picture);
  return true;
}

int CMenuDrawer::FindItem(int commandId) const {
  for (int i = 0; i < m_nMenuItemNum; ++i)
    if (m_nMenuItemFuncArr[i] == commandId) return i;
  return -1;
}

const char* CMenuDrawer::GetItemText(int commandId) const {
  const int i = FindItem(commandId);
  return i < 0 ? nullptr : (m_cmemMenuItemStr[i].GetPtr() ? m_cmemMenuItemStr[i].GetPtr() : "");
}

int CMenuDrawer::GetItemIcon(int commandId) const {
  const int i = FindItem(commandId);
  return i < 0 ? -1 : m_nMenuItemBitmapIdx[i];
}

char CMenuDrawer::GetAccessKey(const char* text) {
  if (!text) return 0;
  const int len = static_cast<int>(std::strlen(text));
  for (int i = 0; i < len;) {
    const int step = SjisCharSize(reinterpret_cast<const unsigned char*>(text), len, i);
    if (step == 1 && text[i] == '&') {
      if (i + 1 < len && text[i + 1] == '&') {
        i += 2;
        continue;
      }
      if (i + 1 >= len) return 0;
      const char c = text[i + 1];
      return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    i += step;
  }
  return 0;
}

int CMenuDrawer::FindCatalogueEntry(int commandId) const {
  for (int i = 1; i < m_nMyButtonNum; ++i)
    if (m_tbMyButton[i].idCommand == commandId) return i;
  return -1;
}
