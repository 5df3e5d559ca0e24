// The find dialog (template 109): the search key with its history and the search options, which
// go to the shared record at once so that every window searches alike; its buttons run the
// pane's searches. Modeless; one per document.
#pragma once

#include "editor/foundation/ui/dialog_base.h"
#include "editor/view/search/search_dialog_controls.h"

class CEditView;

class CFindDialog : public CDialogBase {
 public:
  CFindDialog();

  // Opens the dialog over the pane with the key in 1021 (remembering the caret and setting the
  // pane's search-start marker); when it is open, activates it and puts the key into 1021.
  HWND DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key);
  bool IsOpen() const { return m_hWnd != nullptr; }
  void SetPane(CEditView* pane) { m_pcEditView = pane; }
  CEditView* Pane() const { return m_pcEditView; }

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnDestroy() override;
  INT_PTR OnButtonClicked(int wID) override;
  // 0 for an empty key, -1 for a pattern that does not compile, else 1 (key added to the history).
  int ReadControls() override;
  void FillControls() override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

  char m_szText[260] = {};
  search_dialog::SearchOptions m_options;
  POINT m_ptEscCaretPos_PHY{};  // the caret's document position at opening

 private:
  // 1135 and 1137.
  void RunSearch(bool bForward);
  CEditView* m_pcEditView = nullptr;
};
