// The edit window as its panes, its document and its command routing see it; its icons, shared
// roles and place in the window list; and the files dropped on it.
#include <cstring>
#include <string>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/command_catalog.h"
#include "editor/shell/commands/editor_icon_strip.h"
#include "editor/shell/commands/key_bindings.h"
#include "editor/shell/process/control_tray.h"
#include "editor/shell/window/command_state.h"
#include "editor/shell/window/edit_wnd.h"
#include "platform/desktop.h"
#include "platform/drop_files.h"
#include "platform/file_type_icon.h"
#include "platform/ipc.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "platform/status_bar.h"
#include "platform/window_tree.h"

namespace {

constexpr int kAppIconResource = 230;
constexpr char kAppIconFile[] = "my_appicon.ico";
constexpr int kCodeDetect = 99;

// A text cut to a field of the window list: at most 259 bytes, never half a character; null is
// stored empty.
void CopyListText(char (&field)[kMaxPath], const char* text) {
  std::memset(field, 0, sizeof field);
  if (text) CopyWholeChars(field, kMaxPath, text);
}

}  // namespace

// ---- IEditWindow ----------------------------------------------------------------------------------

bool CEditWnd::IsActiveWindow() const { return m_hWnd && platform::GetActiveWindow() == m_hWnd; }

void CEditWnd::TakeFocus() {
  if (HWND pane = ActivePaneWindow()) platform::SetFocus(pane);
  else if (m_hWnd) platform::SetFocus(m_hWnd);
}

void CEditWnd::SetStatusText(int part, const char* text) {
  if (!m_hwndStatusBar || part < 0 || part >= kStatusParts) return;
  // The recording mark is drawn by the frame whatever text the pane gives it.
  if (part == kStatusRecPart) {
    platform::SendMessage(m_hwndStatusBar, SB_SETTEXT, kStatusRecPart | SBT_OWNERDRAW, 0);
    return;
  }
  platform::SendMessage(m_hwndStatusBar, SB_SETTEXT, static_cast<WPARAM>(part) | (part == 0 ? SBT_NOBORDERS : 0),
                        reinterpret_cast<LPARAM>(text ? text : ""));
}

bool CEditWnd::HasFuncKeyBarAtBottom() const {
  return m_pFuncKeyBar->IsOpen() && Settings() && Settings()->Common.nFUNCKEYWND_Place != 0;
}

bool CEditWnd::IsMaximized() const { return m_nWinSizeType == SIZE_MAXIMIZED; }

bool CEditWnd::GetCommandName(int command, char* buffer, int size) const {
  return CCommandCatalog(Settings()).GetCommandName(command, buffer, size);
}

bool CEditWnd::IsCommandEnabled(int command) const {
  const SharedSettings* s = Settings();
  return s ? ::IsCommandEnabled(m_cEditDoc, *s, command) : true;
}

bool CEditWnd::IsCommandChecked(int command) const {
  const SharedSettings* s = Settings();
  return s && ::IsCommandChecked(m_cEditDoc, *s, command);
}

bool CEditWnd::GetKeyBindList(CMemory* out) const {
  const SharedSettings* s = Settings();
  if (!s || !out) return false;
  const CCommandCatalog catalog(s);
  return MakeKeyAssignList(m_hInstance, s->nKeyAssignCount, s->KeyAssigns, *out, &catalog) > 0;
}

int CEditWnd::KeyCommand(int nAccelCmd) const {
  const SharedSettings* s = Settings();
  return s ? FindKeyCommand(nAccelCmd, s->nKeyAssignCount, s->KeyAssigns) : 0;
}

// ---- IDocFrame ------------------------------------------------------------------------------------

bool CEditWnd::IsMinimized() const { return m_hWnd && platform::IsIconic(m_hWnd); }

void CEditWnd::Activate() {
  if (m_id) ActivateEditWindow(m_id);
}

void CEditWnd::SetCaption(const char* text) {
  if (m_hWnd) platform::SetWindowText(m_hWnd, text ? text : "");
}

void CEditWnd::SetWindowListEntry(const char* tabCaption, const char* path, bool grepWindow) {
  UpdateWindowListEntry(path, tabCaption, grepWindow);
}

void CEditWnd::SetIcons(HICON small, HICON big) {
  ReplaceWindowIcon(big, ICON_BIG);
  ReplaceWindowIcon(small, ICON_SMALL);
}

CJobProgressBar* CEditWnd::ShowProgress() {
  if (!m_hwndProgress) return nullptr;
  platform::ShowWindow(m_hwndProgress, SW_SHOW);
  if (!m_pProgress) m_pProgress = std::make_unique<CStatusProgress>(m_hwndProgress);
  return m_pProgress.get();
}

void CEditWnd::HideProgress() {
  if (m_hwndProgress) platform::ShowWindow(m_hwndProgress, SW_HIDE);
}

void CEditWnd::RestartFunctionKeys() {
  if (m_pFuncKeyBar->IsOpen()) {
    m_pFuncKeyBar->SetTimer(false);
    m_pFuncKeyBar->SetTimer(IsActiveWindow());
  }
}

bool CEditWnd::IsTopMost() const {
  return m_hWnd && (platform::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// ---- IEditCommandHost -----------------------------------------------------------------------------

std::string CEditWnd::SearchBoxText() const {
  if (!m_hwndSearchBox) return {};
  std::string text = platform::GetWindowText(m_hwndSearchBox);
  char cut[kMaxPath];
  CopyListText(cut, text.c_str());
  return cut;
}

void CEditWnd::FocusActivePane() {
  if (HWND pane = ActivePaneWindow()) platform::SetFocus(pane);
}

void CEditWnd::QuitResidentProcess() { QuitEditorProcesses(m_share, nullptr, 0); }

void CEditWnd::ShowAboutDialog() {}

bool CEditWnd::ActivateWindow(EditWindowId window) { return ActivateEditWindow(window); }

// ---- Icons ----------------------------------------------------------------------------------------

void CEditWnd::LoadAppIcons(HICON* phIconBig, HICON* phIconSmall) {
  RegisterEditorAppIcon();
  if (phIconBig) *phIconBig = LoadIconFile(nullptr, kAppIconResource, kAppIconFile, false);
  if (phIconSmall) *phIconSmall = LoadIconFile(nullptr, kAppIconResource, kAppIconFile, true);
}

void CEditWnd::LoadFileTypeIcons(const char* pszPath, HICON* phIconBig, HICON* phIconSmall) {
  HICON big = pszPath && *pszPath ? platform::FileTypeIcon(pszPath, 32) : nullptr;
  HICON small = pszPath && *pszPath ? platform::FileTypeIcon(pszPath, 16) : nullptr;
  if (!big || !small) {
    LoadAppIcons(phIconBig, phIconSmall);
    return;
  }
  if (phIconBig) *phIconBig = big;
  if (phIconSmall) *phIconSmall = small;
}

void CEditWnd::ReplaceWindowIcon(HICON hIcon, WPARAM which) {
  if (!m_hWnd || !hIcon) return;
  platform::SendMessage(m_hWnd, WM_SETICON, which, reinterpret_cast<LPARAM>(hIcon));
  // Icons here are shared by whoever loaded them: the replaced one is not ours to destroy.
  m_hIcons[which == ICON_BIG ? 1 : 0] = hIcon;
}

// ---- Shared roles ---------------------------------------------------------------------------------

void CEditWnd::SetAsOutputWindow() {
  SharedSettings* s = Settings();
  if (!s || !m_id) return;
  if (s->hwndOutput && s->hwndOutput != m_id && IsEditWindow(s->hwndOutput)) return;
  s->hwndOutput = m_id;
  m_cEditDoc.m_bOutputWindow = true;
  m_cEditDoc.SetModified(false, false);
  m_cEditDoc.UpdateCaption(false);
}

void CEditWnd::ReleaseOutputWindow() {
  SharedSettings* s = Settings();
  if (!s || !m_id || s->hwndOutput != m_id) return;
  s->hwndOutput = 0;
  m_cEditDoc.m_bOutputWindow = false;
  m_cEditDoc.UpdateCaption(false);
}

void CEditWnd::UpdateWindowListEntry(const char* pszPath, const char* pszTabCaption, bool bGrepWindow) {
  SharedSettings* s = Settings();
  if (!s || !m_id) return;
  {
    CShareData::RecordLock lock(m_share);
    const int count = std::clamp(s->nEditWindowCount, 0, kEditWindowSlots);
    for (int i = 0; i < count; ++i) {
      EditWindowEntry& entry = s->EditWindowList[i];
      if (entry.hwnd != m_id) continue;
      CopyListText(entry.szFilePath, pszPath);
      CopyListText(entry.szTabCaption, pszTabCaption);
      entry.bGrepWindow = bGrepWindow ? 1 : 0;
      break;
    }
  }
  m_share.PostToAllEditWindows(MYWM_TAB_WINDOW_NOTIFY, 4, static_cast<LPARAM>(m_id), m_id);
}

void CEditWnd::SetTopMost(int mode) {
  if (!m_hWnd) return;
  bool on;
  switch (mode) {
    case 0: on = !IsTopMost(); break;
    case 1: on = true; break;
    case 2: on = false; break;
    default: return;
  }
  platform::SetWindowPos(m_hWnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- Dropped files --------------------------------------------------------------------------------

bool CEditWnd::IsDocumentInUse() const {
  const SharedSettings* s = Settings();
  return m_cEditDoc.m_bIsModified || m_cEditDoc.m_szFilePath[0] || m_cEditDoc.m_bGrepWindow ||
         (s && m_id && s->hwndOutput == m_id);
}

void CEditWnd::LoadFileHere(const char* path) {
  char buffer[kMaxPath] = {};
  std::snprintf(buffer, sizeof buffer, "%s", path);
  bool openedElsewhere = false;
  const SharedSettings* s = Settings();
  m_cEditDoc.FileRead(buffer, &openedElsewhere, kCodeDetect, false, s && s->Common.bQueryIfCodeChange);
  Activate();
}

void CEditWnd::OnDropFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = platform::DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[kMaxPath];
    if (platform::DragQueryFile(drop, i, path, sizeof path) > 0) files.emplace_back(path);
  }
  OnDropFiles(files);
  platform::DragFinish(drop);
}

void CEditWnd::OnDropFiles(const std::vector<std::string>& files) {
  const SharedSettings* s = Settings();
  if (!s) return;
  // The counts compare as the 16-bit numbers the settings dialog stores.
  int count = s->Common.bDropFileAndClose ? 1 : static_cast<int>(files.size());
  count = std::min(count, static_cast<int>(static_cast<uint16_t>(s->Common.nDropFileNumMax)));
  count = std::min(count, static_cast<int>(files.size()));
  for (int i = 0; i < count; ++i) {
    std::string path;
    if (!GetLongPath(files[static_cast<size_t>(i)].c_str(), path)) continue;
    EditWindowId owner = 0;
    if (m_share.FindEditWindowByPath(path.c_str(), &owner)) {
      const RecentFileRecord info = m_share.AskWindowFileInfo(owner);
      ActivateEditWindow(owner);
      CRecentFileMenu(&m_share).AddRecord(&info);
      continue;
    }
    if (!IsDocumentInUse()) {
      LoadFileHere(path.c_str());
      continue;
    }
    if (s->Common.bDropFileAndClose) {
      if (m_cEditDoc.QueryClose()) {
        m_cEditDoc.ClearDocument();
        m_cEditDoc.ResetAllViews();
        m_cEditDoc.UpdateCaption(false);
        LoadFileHere(path.c_str());
      }
      return;
    }
    if (s->nEditWindowCount >= kEditWindowLimit) {
      ShowWindowCountLimit(nullptr);
      return;
    }
    IDocLauncher* launcher = GetDocLauncher();
    if (!launcher) continue;
    const std::string text = path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
    launcher->LaunchEditorProcess(text.c_str(), kCodeDetect, false, false, nullptr);
  }
}
