// The replace dialog (template 137): key, replacement, the search options (to the shared record at
// once), the area (whole file or the selection), the replace mode and the clipboard as the
// replacement; its buttons run the pane's search and replace commands, which read the mode and the
// paste flag here and leave the count and the cancelled flag of a replace-all. Modeless; one per
// document.
#pragma once

#include <cstdint>

#include "editor/view/search/search_dialog_base.h"

class CReplaceDialog : public CSearchDialogBase {
 public:
  // Opens the dialog over the pane with the key in 1021; bSelected: a selection exists (the
  // selected-area radio is chosen and the single-step buttons are disabled). When it is open,
  // activates it and puts the key into 1021.
  HWND DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key, bool bSelected);
  // The replace commands found no text on the clipboard: the paste box goes off, 1022 on.
  void TurnPasteOff();

  INT_PTR OnButtonClicked(int wID) override;
  // 0 for an empty key, -1 for a pattern that does not compile, else 1 (key and replacement added
  // to their histories).
  int ReadControls() override;
  void FillControls() override;
  const DWORD* GetHelpIds() override;

  static void RegisterTemplate();

  char m_szText2[260] = {};  // the replacement
  int m_bSelectedArea = 0;
  bool m_bSelected = false;  // a selection existed at opening
  int m_nReplaceTarget = 0;  // 0 the match, 1 before it, 2 after it
  int m_nPaste = 0;          // the clipboard's text is the replacement
  int m_nReplaceCnt = 0;     // replacements of the last replace-all
  uint8_t m_bCanceled = 0;   // the last replace-all was cancelled

 private:
  int HelpCommand() const override;
  // The document's active pane: the dialog follows the pane the user works in.
  CEditView* TargetPane() const override;
  // Enables 1135, 1137 and 1087 exactly while whole file is chosen.
  void UpdateStepButtons();
  // 1134 and 1136.
  void RunReplaceAll(bool bWholeLines);
};
