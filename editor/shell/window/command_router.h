// Where the edit window's commands go. Menus, the toolbar, accelerators and popups all arrive here
// as (notification code, id, control): a few frame-level ids and ranges are handled here (leaving
// every window, help, about, the window list, recent files and folders), the search box's focus is
// followed, and every other command goes to the document, which hands it to the active pane.
#pragma once

#include <string>

#include "editor/foundation/settings/share_data.h"
#include "platform/win_types.h"

class CEditDoc;
class CWindowListMenu;

// Notification codes of the WM_COMMAND that matter here.
constexpr int kCommandFromMenu = 0;
constexpr int kCommandFromAccelerator = 1;
constexpr int kCommandFromControl = 2;
constexpr int kSearchBoxGotFocus = 3;   // CBN_SETFOCUS
constexpr int kSearchBoxLostFocus = 4;  // CBN_KILLFOCUS
// The search box's own command, and the focus marker's value while the box has the focus.
constexpr int kSearchBoxCommand = 30908;

// What the routing needs of the edit window around it; the window implements it, tests fake it.
class IEditCommandHost {
 public:
  virtual ~IEditCommandHost() = default;
  // The frame: the owner of the dialogs the commands open.
  virtual HWND Window() const = 0;
  // The toolbar's search box; null while there is none.
  virtual HWND SearchBox() const = 0;
  // The box's text, at most 259 bytes.
  virtual std::string SearchBoxText() const = 0;
  virtual void FocusActivePane() = 0;
  // Ends the resident process and every edit window.
  virtual void QuitResidentProcess() = 0;
  // The about dialog, modally.
  virtual void ShowAboutDialog() = 0;
  // Brings that edit window (of any process) to the front; false when it is gone.
  virtual bool ActivateWindow(EditWindowId window) = 0;
};

class CCommandRouter {
 public:
  // windowList: the window items the menus last made, whose clicks name their windows.
  CCommandRouter(CEditDoc& doc, CShareData& share, IEditCommandHost& host, const CWindowListMenu& windowList);

  // WM_COMMAND: the notification code (the high word of wParam), the id and the control.
  void OnCommand(int code, int id, HWND control);

  // kSearchBoxCommand while the search box has the focus, else 0.
  int SearchBoxFocus() const { return m_nSearchBoxFocus; }

 private:
  void OnFrameCommand(int code, int id);
  void ActivateListedWindow(int id);
  void OpenRecentFile(int index);
  void OpenFromRecentFolder(int index);
  // Commands for the pane leave the search box first.
  void LeaveSearchBox(int command);

  CEditDoc& m_doc;
  CShareData& m_share;
  IEditCommandHost& m_host;
  const CWindowListMenu& m_windowList;
  int m_nSearchBoxFocus = 0;
};
