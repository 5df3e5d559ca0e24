// The modeless progress-and-cancel dialog of long jobs. The job shows it, fills the template's
// own controls, and between units of work pumps messages and reads m_bCanceled; destroying the
// object closes the dialog. While it is shown, its owner takes no input: the job pumps messages,
// and the user must not close or command the window the job works on.
//
// Templates (our own captions; every one has IDCANCEL):
//   134 grep: folder 1123, hit count 1124, current file 1310, check box 1477 (results shown at once)
//   160 replace all: progress bar 1195, count 1197
//   191 an outside program: message 1330
//   192 printing: document name 1331, page 1332
//   5113 a long replace in the text: progress bar 1311
#pragma once

#include "editor/foundation/ui/dialog_base.h"

class CCancelDialog : public CDialogBase {
 public:
  CCancelDialog();
  ~CCancelDialog() override;

  // Shows the template modelessly over the parent (which may be null) and disables the parent.
  HWND DoModeless(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete);

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  // Cancel sets the flag and leaves the dialog open; nothing else is handled.
  INT_PTR OnButtonClicked(int wID) override;
  const DWORD* GetHelpIds() override;

  // Registers the five templates; DoModeless does it before the first dialog.
  static void RegisterTemplates();

  int m_bCanceled = 0;

 private:
  HWND m_hwndDisabledOwner = nullptr;
};
