// The document's open and save dialogs (the file dialog object over the recent files and folders)
// and its font chooser.
#include <cstring>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/ui/open_file_dialog.h"
#include "platform/font_dialog.h"
#include "platform/foreground_window.h"

namespace {

// The histories the dialog offers. The paths point into the shared record, which outlives the
// dialog; the lists are read under no lock, as the menus read them.
struct DialogHistories {
  explicit DialogHistories(CShareData* share) : files(share), folders(share) {
    filePaths.resize(files.List().GetCapacity() + 1);
    folderPaths.resize(folders.List().GetCapacity() + 1);
    files.GetPathList(filePaths.data());
    folders.GetPathList(folderPaths.data());
  }
  CRecentFileMenu files;
  CRecentFolderMenu folders;
  std::vector<const char*> filePaths;
  std::vector<const char*> folderPaths;
};

}  // namespace

COpenFileDialog& CEditDoc::FileDialog() {
  if (!m_pOpenFileDialog) m_pOpenFileDialog = std::make_unique<COpenFileDialog>();
  return *m_pOpenFileDialog;
}

bool CEditDoc::ShowOpenDialog(HWND hwndOwner, const char* pszStartFolder, char* pszPath, int* pnCharCode,
                              bool* pbReadOnly) {
  if (hwndOwner) SetForegroundWindow(hwndOwner);
  // The start: the given folder, else the document's file, else the editor's current folder.
  std::string start;
  if (pszStartFolder && pszStartFolder[0]) {
    start = pszStartFolder;
  } else if (m_szFilePath[0]) {
    start = m_szFilePath;
  } else {
    start = EditorCurrentFolder();
  }
  if (start.size() >= static_cast<size_t>(kMaxPath)) start.clear();

  DialogHistories histories(CShareData::GetInstance());
  COpenFileDialog& dialog = FileDialog();
  dialog.Setup(nullptr, hwndOwner, m_szDefaultWildCard.c_str(), start.c_str(), histories.filePaths.data(),
               histories.folderPaths.data());
  return dialog.RunOpenDialog(pszPath, pnCharCode, pbReadOnly);
}

bool CEditDoc::ShowSaveDialog(char* pszPath, int* pnCharCode, int* pnSaveLineEnd, bool* pbBom) {
  std::string start = m_szFilePath[0] ? std::string(m_szFilePath) : EditorCurrentFolder();
  if (start.size() >= static_cast<size_t>(kMaxPath)) start.clear();

  DialogHistories histories(CShareData::GetInstance());
  COpenFileDialog& dialog = FileDialog();
  dialog.Setup(nullptr, FrameWindow(), m_szDefaultWildCard.c_str(), start.c_str(), histories.filePaths.data(),
               histories.folderPaths.data());
  CLineEnd lineEnd;
  if (pnSaveLineEnd) lineEnd.Set(*pnSaveLineEnd);
  if (!dialog.RunSaveDialog(pszPath, pnCharCode, pnSaveLineEnd ? &lineEnd : nullptr, pbBom)) return false;
  if (pnSaveLineEnd) *pnSaveLineEnd = lineEnd.GetCode();
  return true;
}

bool CEditDoc::ChooseFontDialog(LOGFONT* font) {
  if (!font) return false;
  // The editor lays text on a grid of cells: only the faces our font module judges fixed.
  CHOOSEFONT chooser;
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = DocumentWindow();
  chooser.lpLogFont = font;
  chooser.Flags = CF_SCREENFONTS | CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT;
  return platform::ChooseFont(&chooser) != 0;
}
