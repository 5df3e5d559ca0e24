// The find dialog (template 109): the search key with its history and the search options, which
// go to the shared record at once so that every window searches alike; its buttons run the
// pane's searches. Modeless; one per document.
#pragma once

#include "editor/view/search/search_dialog_base.h"

class CFindDialog : public CSearchDialogBase {
 public:
  // Opens the dialog over the pane with the key in 1021 (remembering the caret and setting the
  // pane's search-start marker); when it is open, activates it and puts the key into 1021.
  HWND DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key);

  INT_PTR OnButtonClicked(int wID) override;
  // 0 for an empty key, -1 for a pattern that does not compile, else 1 (key added to the history).
  int ReadControls() override;
  void FillControls() override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

 private:
  int HelpCommand() const override;
  // 1135 and 1137.
  void RunSearch(bool bForward);
  // After a search or the bookmarks: closed when asked, else the focus back to the key.
  void CloseOrRefocus(bool bRefocus);
};
