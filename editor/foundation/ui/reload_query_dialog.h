// The question shown when a document's file was changed on disk by another program (template
// 225): the path (1440), the question (1441), and what to do: reload (1433), only notify from now
// on (1435), stop watching (1438) or nothing (Cancel).
#pragma once

#include "editor/foundation/ui/dialog_base.h"

class CReloadQueryDialog : public CDialogBase {
 public:
  static constexpr int kCancel = 0;
  static constexpr int kReload = 1;
  static constexpr int kNotifyOnly = 2;
  static constexpr int kStopWatching = 3;

  // Runs the question for the path; a modified document is warned that reloading loses its
  // changes. Returns one of the four answers (kCancel also when the dialog could not run).
  int DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszPath, bool bModified);

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnButtonClicked(int wID) override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

 private:
  const char* m_pszPath = "";
  bool m_bModified = false;
  int m_nAnswer = kCancel;
};
