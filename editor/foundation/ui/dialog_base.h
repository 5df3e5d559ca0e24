// The base of the editor's dialog boxes: one dialog procedure binds a dialog window to its object
// and turns messages into virtual calls; the object runs its dialog modally or modelessly, keeps
// the dialog's placement from one run to the next, can keep a size grip in the lower right corner,
// and answers F1 and right clicks from its table of control and help ids.
#pragma once

#include "editor/foundation/text/editor_path.h"
#include "platform/dialog.h"

struct SharedSettings;

class CDialogBase {
 public:
  CDialogBase();
  // Closes a dialog that is still open.
  virtual ~CDialogBase();
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;

  // Runs the dialog of the template number; returns what it ended with (-1 when the template is
  // unknown). The parameter is kept for the derived class.
  INT_PTR DoModal(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete, LPARAM lParam);
  // Makes the dialog modeless and shows it with the show command; the window, or null.
  HWND DoModeless(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete, LPARAM lParam, int nCmdShow);
  // Ends a modal dialog with the value or destroys a modeless one; 0 when there is no dialog.
  BOOL Close(int nModalRetVal);
  // The size grip in the lower right corner; derived dialogs make it in OnInitDialog, the first
  // OnSize places it.
  void CreateSizeGrip();
  HWND GetHwnd() const { return m_hWnd; }

  // The one dialog procedure of every dialog.
  static INT_PTR DialogProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

  virtual INT_PTR DispatchEvent(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnDestroy();
  virtual INT_PTR OnNotify(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnSize(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnMove(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnDrawItem(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnTimer(WPARAM wParam);
  virtual INT_PTR OnKeyDown(WPARAM wParam, LPARAM lParam);
  // Moves the controls' values into the object (derived dialogs); 1.
  virtual int ReadControls();
  // Moves the object's values into the controls, from OnInitDialog.
  virtual void FillControls();
  virtual INT_PTR OnButtonClicked(int wID);
  virtual INT_PTR OnSelChange(HWND hwndCtl, int wID);
  virtual INT_PTR OnComboEditChange(HWND hwndCtl, int wID);
  virtual INT_PTR OnEditChange(HWND hwndCtl, int wID);
  virtual INT_PTR OnDoubleClick(int wID);
  virtual INT_PTR OnKillFocus(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnActivate(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnVKeyToItem(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnCharToItem(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnHelp(WPARAM wParam, LPARAM lParam);
  virtual INT_PTR OnContextMenu(WPARAM wParam, LPARAM lParam);
  // (control id, help id) pairs ending in a pair of zeros.
  virtual const DWORD* GetHelpIds();

 protected:
  // Saves the window rectangle (screen coordinates) as the placement to restore.
  void SavePlacementRect();

  HINSTANCE m_hInstance = nullptr;
  HWND m_hwndParent = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hwndSizeBox = nullptr;
  LPARAM m_lParam = 0;
  int m_bModal = 0;
  int m_nShowCmd = SW_SHOW;
  int m_nWidth = -1;
  int m_nHeight = -1;
  int m_nXPos = -1;
  int m_nYPos = -1;
  char m_szHelpFile[kMaxPath] = {};
  SharedSettings* m_pShareData = nullptr;
  int m_bInited = 0;
};

// The button and enable calls every dialog makes, as booleans.
namespace dlg {
inline bool Checked(HWND dialog, int id) { return platform::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void Check(HWND dialog, int id, bool on) {
  platform::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}
inline void Enable(HWND dialog, int id, bool on) {
  platform::EnableWindow(platform::GetDlgItem(dialog, id), on ? 1 : 0);
}
}  // namespace dlg
