// The edit window's menu bar (menu resource 102): eight popups whose items are made afresh each
// time one opens, so that texts and lists follow the moment (recording, bars, wrapping, split,
// recent files and folders, macros, custom menus, open windows); then every item of the opening
// popup is greyed and checked by the command rules (command_state.h).
#pragma once

#include "editor/shell/window/window_list_menu.h"
#include "platform/menu.h"

class CEditDoc;
class CMenuDrawer;

// The resource the edit window's class names, and its popups: file, edit, convert, search, tools,
// settings, window, help.
constexpr int kEditMenuResourceId = 102;
constexpr const char* kEditMenuResourceName = "102";
constexpr int kEditMenuPopupCount = 8;

// Registers menu resource 102 with the eight titled popups, left empty: their items are made when
// each opens.
bool RegisterEditMenuResource();

class CEditMenuBar {
 public:
  CEditMenuBar(CEditDoc& doc, CShareData& share, CMenuDrawer& drawer);

  // Where the window list asks each window for its file (by default the window itself, through the
  // shared exchange area).
  void SetFileInfoSource(CWindowListMenu::FileInfoSource source) { m_fileInfo = std::move(source); }

  // WM_INITMENUPOPUP: a top-level popup of the bar (at its position 0-7, not the system menu) is
  // made afresh; then, outside print preview, every item of the popup is greyed or checked by the
  // rules (submenus and the system menu too).
  void OnInitMenuPopup(HMENU bar, HMENU popup, int position, bool systemMenu);
  // Empties the popup and fills it with the items of the bar's popup at that position; false for
  // a position outside 0-7 (the popup is then left alone).
  bool FillPopup(HMENU popup, int position);
  // Greys every item whose command is disabled and checks every item whose command is on; items
  // already grey or checked stay so.
  void ApplyCommandStates(HMENU popup) const;

  // The window list as a popup at that screen point (the edit window's own list when no tab bar
  // shows one); the command chosen, 0 for none. The caller sends it to the frame as WM_COMMAND.
  int TrackWindowListMenu(HWND owner, POINT at);

  // The window items of the last window popup, for the command that chooses one.
  const CWindowListMenu& WindowList() const { return m_windowList; }

 private:
  class Filler;

  CEditDoc& m_doc;
  CShareData& m_share;
  CMenuDrawer& m_drawer;
  CWindowListMenu m_windowList;
  CWindowListMenu::FileInfoSource m_fileInfo;
};
