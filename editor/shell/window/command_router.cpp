#include "editor/shell/window/command_router.h"

#include <cstring>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/key_bindings.h"
#include "editor/shell/window/window_list_menu.h"
#include "platform/win_help.h"

namespace {

constexpr int kExitAll = 30195;
constexpr int kHelpContents = 31440;
constexpr int kHelpSearch = 31441;
constexpr int kAbout = 31455;
constexpr int kRecentFileFirst = 11000;
constexpr int kRecentFileLast = 11998;
constexpr int kRecentFolderFirst = 12000;
constexpr int kRecentFolderLast = 12998;
constexpr int kCodeDetect = 99;

}  // namespace

CCommandRouter::CCommandRouter(CEditDoc& doc, CShareData& share, IEditCommandHost& host,
                               const CWindowListMenu& windowList)
    : m_doc(doc), m_share(share), m_host(host), m_windowList(windowList) {}

void CCommandRouter::OnCommand(int code, int id, HWND control) {
  const bool fromSearchBox = control && control == m_host.SearchBox();
  switch (code) {
    case kSearchBoxGotFocus:
      if (fromSearchBox) m_nSearchBoxFocus = kSearchBoxCommand;
      return;
    case kSearchBoxLostFocus:
      if (!fromSearchBox) return;
      m_nSearchBoxFocus = 0;
      if (const std::string text = m_host.SearchBoxText(); !text.empty()) m_share.AddSearchKey(text.c_str());
      return;
    case kCommandFromAccelerator: {
      // A control's notification 1 (a list selection in the search box) is no key: its id would be
      // taken for a key and run whatever that key is bound to.
      if (control) return;
      const SharedSettings* record = m_share.GetShareData();
      if (!record) return;
      const int command = FindKeyCommand(id, record->nKeyAssignCount, record->KeyAssigns);
      if (command == 0) return;
      LeaveSearchBox(command);
      m_doc.HandleCommand(kCommandFromAccelerator << 16 | command);
      return;
    }
    case kCommandFromMenu:
    case kCommandFromControl:
      // The search box's other notifications are the box's own business.
      if (fromSearchBox) return;
      OnFrameCommand(code, id);
      return;
    default:
      return;
  }
}

void CCommandRouter::OnFrameCommand(int code, int id) {
  if (id == kExitAll) {
    m_host.QuitResidentProcess();
  } else if (id == kHelpContents) {
    char helpFile[kMaxPath];
    GetHelpFilePath(helpFile, sizeof helpFile);
    OpenHelpContents(m_host.Window(), helpFile);
  } else if (id == kHelpSearch) {
    char helpFile[kMaxPath];
    GetHelpFilePath(helpFile, sizeof helpFile);
    platform::WinHelp(m_host.Window(), helpFile, HELP_KEY, reinterpret_cast<uintptr_t>(""));
  } else if (id == kAbout) {
    m_host.ShowAboutDialog();
  } else if (id >= kWindowListFirstId && id <= kWindowListLastId) {
    ActivateListedWindow(id);
  } else if (id >= kRecentFileFirst && id <= kRecentFileLast) {
    OpenRecentFile(id - kRecentFileFirst);
  } else if (id >= kRecentFolderFirst && id <= kRecentFolderLast) {
    OpenFromRecentFolder(id - kRecentFolderFirst);
  } else {
    LeaveSearchBox(id);
    m_doc.HandleCommand(code << 16 | id);
  }
}

// The item names the window it was made for: a window that closed meanwhile is not replaced by
// whichever window now holds its list position.
void CCommandRouter::ActivateListedWindow(int id) {
  EditWindowId window = m_windowList.WindowOf(id);
  if (window == 0) {
    // No menu item made this id: the window at that position of the list now, as it stands.
    const int position = id - kWindowListFirstId;
    for (const EditWindowEntry& entry : m_share.GetEditWindowList(false))
      if (entry.nWindowNumber == position) window = entry.hwnd;
  }
  if (IsEditWindow(window)) m_host.ActivateWindow(window);
}

void CCommandRouter::OpenRecentFile(int index) {
  RecentFileRecord record;
  if (!CRecentFileMenu(&m_share).GetRecord(index, &record)) return;
  record.szPath[kMaxPath - 1] = '\0';
  m_doc.OpenFile(record.szPath, kCodeDetect, false);
}

// Folders are local paths here: there is no network share to connect first.
void CCommandRouter::OpenFromRecentFolder(int index) {
  CRecentFolderMenu folders(&m_share);
  if (index >= folders.List().GetCount()) return;
  const char* listed = folders.GetPath(index);
  if (!listed) return;
  // Another process may change the list while the dialog is open.
  char folder[kMaxPath] = {};
  std::strncpy(folder, listed, kMaxPath - 1);
  char path[kMaxPath] = {};
  int code = kCodeDetect;
  bool readOnly = false;
  if (!m_doc.ShowOpenDialog(m_host.Window(), folder, path, &code, &readOnly)) return;
  m_doc.OpenFile(path, code, readOnly);
}

void CCommandRouter::LeaveSearchBox(int command) {
  if (m_nSearchBoxFocus == kSearchBoxCommand && command != kSearchBoxCommand) m_host.FocusActivePane();
}
