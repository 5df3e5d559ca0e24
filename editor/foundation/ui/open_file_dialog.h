// The editor's open and save dialogs over the system's (platform/file_dialog.h). Two plain calls
// ask for a path only (settings files, macros); two extended ones serve documents: the open
// dialog adds a character-code list (with detection), the recent files and recent folders and
// keeps the read-only check box; the save dialog adds the character-code list, a line-end
// conversion list and a byte-order-mark check box. The additions are the template
// "IDD_FILEOPEN", below the system dialog's own controls:
//   1146 character code, 1167 recent files, 1169 recent folders, 1147 line-end conversion (save
//   only) with its label 1385, 1478 byte-order mark (save only).
// Picking a recent file puts it into the name field (1148); picking a recent folder moves the
// dialog there at once. Moving or sizing the dialog keeps its rectangle in the shared setting
// rcOpenDialog. Help (the Help button, F1 and right clicks on the additions) goes to WinHelp.
//
// Paths are exact Shift-JIS paths with "/" (at most 259 bytes). The dialogs never change the
// process's current folder, so there is none to keep; the keep-folder flags are taken and unused.
// A call that ends without a file leaves every argument as it was; a failure to show the dialog
// beeps and says so (caption "tovara"), a cancel says nothing.
//
// One file dialog at a time per process: the hook and the dialog share process-wide values.
#pragma once

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/line_end.h"
#include "platform/file_dialog.h"

struct SharedSettings;

class COpenFileDialog {
 public:
  COpenFileDialog();
  COpenFileDialog(const COpenFileDialog&) = delete;
  COpenFileDialog& operator=(const COpenFileDialog&) = delete;

  // Keeps the instance and owner; a given pattern replaces "*.*" as the user-defined filter; a
  // path that is not empty makes its folder the start folder (an existing folder is its own);
  // the two lists (null-terminated arrays of paths, or null) are offered by the extended dialogs
  // run next, and must live until they end.
  void Setup(HINSTANCE hInstance, HWND hwndParent, const char* pszUserWildCard, const char* pszDefaultPath,
             const char* const* ppszMRU = nullptr, const char* const* ppszOPENFOLDER = nullptr);

  // An existing file to open; the path (260 bytes) comes back. A path naming a file fills the
  // name field, one naming a folder leaves it empty.
  bool SelectOpenPath(char* pszPath, bool bKeepFolder = false);
  // A name to write (asking before it overwrites a file or makes a new one).
  bool SelectSavePath(char* pszPath, bool bKeepFolder = false);
  // The document's open dialog: the path (260 bytes), the code chosen (99 for detection) and the
  // read-only choice (read-only checked at the start when it is true); either may be null.
  bool RunOpenDialog(char* pszPath, int* pnCharCode, bool* pbReadOnly);
  // The document's save dialog: the path (in and out), the code (a given one is selected; the
  // list has no detection), the line-end conversion (asking for it shows the list at "変換なし")
  // and the byte-order mark (giving it shows the box, usable for the Unicode codes and UTF-8).
  // Without a code and a line end the dialog has no additions.
  bool RunSaveDialog(char* pszPath, int* pnCharCode, CLineEnd* pcEol, bool* pbBom);

  // Registers "IDD_FILEOPEN"; the calls do it before the first dialog.
  static void RegisterTemplates();
  // The template's dialog procedure, and the system dialog's procedure while it runs.
  static INT_PTR FileDialogHookProc(HWND hdlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
  static LRESULT FileDialogParentProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

 private:
  static constexpr int kTextSize = kMaxPath + 1;

  void InitOpenFileName(char* pszFile, const char* pszFilter);
  bool Run(bool bSave, char* pszPath);
  void ReportError();

  HINSTANCE m_hInstance = nullptr;
  HWND m_hwndParent = nullptr;
  SharedSettings* m_pShareData = nullptr;
  char m_szDefaultWildCard[kTextSize] = "*.*";
  char m_szInitialDir[kTextSize] = {};
  OPENFILENAME m_ofn;
  int m_nCharCode = 99;
  CLineEnd m_cEol;
  int m_bUseEol = 0;
  int m_bBom = 0;
  int m_bUseBom = 0;
};
