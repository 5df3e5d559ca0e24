// The grep dialog (template 132): the key, the file patterns and the folder with their histories,
// the search and output options and the code the files are read in. One per document: what was
// confirmed stays for the next run and for the grep command.
//
// The folder is checked and made absolute without touching the process's current folder: an edit
// window may run inside the game's process, whose relative paths must keep their meaning. A
// relative folder is taken from the editor's own current folder; a confirmed folder ends with "/".
#pragma once

#include <string>

#include "editor/foundation/text/grep_command_text.h"
#include "editor/foundation/ui/dialog_base.h"

class CGrepDialog : public CDialogBase {
 public:
  static constexpr int kTemplate = 132;
  // Controls.
  static constexpr int kKey = 1021;
  static constexpr int kFiles = 1118;
  static constexpr int kFolder = 1119;
  static constexpr int kBrowse = 1121;
  static constexpr int kCurrentFolder = 1277;
  static constexpr int kSubFolder = 1122;
  static constexpr int kFromThisFile = 1076;
  static constexpr int kLoHiCase = 1006;
  static constexpr int kWordOnly = 1400;
  static constexpr int kRegularExp = 1010;
  static constexpr int kOutputLine = 1132;
  static constexpr int kOutputMatch = 1078;
  static constexpr int kStyle1 = 1158;
  static constexpr int kStyle2 = 1282;
  static constexpr int kCharSet = 1217;
  static constexpr int kDefaultFolder = 1123;
  static constexpr int kHelp = 1099;
  // The three texts are the newest entries of their histories; output lines, style 1.
  CGrepDialog();

  // Runs the dialog for the document at that path (empty: the document has no file); the options
  // start as the shared settings hold them. 1 when confirmed: the fields then hold the request.
  int DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszCurrentFilePath);

  // The confirmed texts and options as the grep command hands them on.
  GrepLaunchRequest Request() const;

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnButtonClicked(int wID) override;
  void FillControls() override;
  // Reads and checks the controls; 0 keeps the dialog open (the user has been told why).
  int ReadControls() override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

  std::string m_szText;    // key
  std::string m_szFile;    // file patterns
  std::string m_szFolder;  // folder
  std::string m_szCurrentFilePath;
  bool m_bSubFolder = false;
  bool m_bFromThisText = false;  // search the current file only
  bool m_bLoHiCase = false;
  bool m_bRegularExp = false;
  bool m_bGrepOutputLine = true;
  bool m_bWordOnly = false;
  int m_nGrepCharSet = 0;
  int m_nGrepOutputStyle = 1;

 private:
  // Use-current-file switched on or off: the pattern, folder, browse and subfolder controls follow.
  void ApplyFromThisFile();
  void SetFolderText(std::string folder);
};

// The grep icon, small (16 x 16) or large: "my_grepicon.ico" beside the executable, else icon
// resource 240; what the grep dialog and the grep window show.
HICON LoadGrepIcon(HINSTANCE hInstance, bool bSmall);

// The folder the user typed, made absolute against the editor's current folder (never the
// process's) and ending with "/"; false when it is missing, not a folder, or one the user may not
// list and enter.
bool ResolveGrepFolder(const std::string& typed, std::string* folder);
