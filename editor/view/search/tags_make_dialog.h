// The tags-making dialog (template 229): the folder to make a "tags" file in, whether its
// subfolders are taken too, and the tags program's extra options.
#pragma once

#include "editor/foundation/ui/dialog_base.h"

class CTagsMakeDialog : public CDialogBase {
 public:
  static constexpr int kTemplate = 229;
  static constexpr int kFolder = 1473;
  static constexpr int kBrowse = 1471;
  static constexpr int kSubfolders = 1472;
  static constexpr int kOptions = 1327;
  static constexpr int kHelp = 1099;
  static constexpr int kFolderLimit = 261;
  static constexpr int kOptionsLimit = 260;

  CTagsMakeDialog();

  // Runs the dialog over the folder (exact path); 1 on OK, with the folder (ending with "/") in
  // m_szPath, and the subfolder bit and the options stored in the shared settings.
  INT_PTR DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszPath);

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnButtonClicked(int wID) override;
  const DWORD* GetHelpIds() override;
  int ReadControls() override;
  void FillControls() override;

  static void RegisterTemplate();

  char m_szPath[kFolderLimit + 1] = {};
  char m_szTagsCmdLine[kOptionsLimit + 1] = {};
  int m_nTagsOpt = 0;
};
