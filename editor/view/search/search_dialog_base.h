// What the find and the replace dialog have alike: the key combo box with its history, the option
// check boxes bound to the shared record, the regular-expression library's version text, the pane
// they work on and its search-start marker. Modeless dialogs; the object outlives its window.
#pragma once

#include <string>

#include "editor/foundation/ui/dialog_base.h"

class CEditView;

// The search options both dialogs show, as the shared record holds them.
struct SearchOptions {
  int bRegularExp = 0;
  int bLoHiCase = 0;
  int bWordOnly = 0;
  int bNotifyNotFound = 0;
};

class CSearchDialogBase : public CDialogBase {
 public:
  // Keys and replacements hold at most this many Shift-JIS bytes (a history entry less its NUL).
  static constexpr int kKeyLimit = 259;

  bool IsOpen() const { return m_hWnd != nullptr; }
  // The pane the dialog's buttons work on.
  void SetPane(CEditView* pane) { m_pcEditView = pane; }
  CEditView* Pane() const { return m_pcEditView; }

  INT_PTR OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) override;
  INT_PTR OnDestroy() override;
  // The buttons both dialogs have: 1010 (the library must be there), help 1099, Cancel.
  INT_PTR OnButtonClicked(int wID) override;

  // A combo box with the byte limit and the extended interface, its list filled from a history
  // (newest first) and its edit holding text.
  static void SetUpKeyCombo(HWND dialog, int id, const char (*history)[260], int count, const char* text);
  // The combo box's text, at most kKeyLimit bytes cut on a whole character.
  static std::string ComboText(HWND dialog, int id);

  char m_szText[260] = {};  // the key
  SearchOptions m_options;
  POINT m_ptEscCaretPos_PHY{};  // the caret's document position at opening

 protected:
  // Activates the open dialog and puts the key into 1021; else takes the shared options, remembers
  // the caret, sets the pane's search-start marker and makes the template (prepare runs first).
  HWND OpenOver(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key, int templateId);
  // 1021 from the search-key history with the key; the option boxes (1006 case, 1400 whole word,
  // 1010 regular expression, 1192 notify, 1065 the library's version or " "). A regular-expression
  // flag shows only while the library is there; whole word is disabled while it is on.
  void FillKeyAndOptions();
  // The option boxes into m_options and the shared record, the key into m_szText. 0 for an empty
  // key, -1 for a regular expression that does not compile (the library's error box, owned by the
  // dialog, has said why), else 1.
  int ReadKeyAndOptions();
  // 1010 switched by the user: on needs the library (which warns when missing; the box goes off
  // again); 1400 follows it.
  void OnRegularExpBox();
  // The first search from the dialog makes the caret position remembered at opening the pane's
  // search start.
  void ConsumeSearchStart();
  // Runs the command on the pane (with the dialog as owner of its message boxes), then ReDraw.
  void RunOnPane(int command);
  // The pane the buttons act on now: the one that opened the dialog.
  virtual CEditView* TargetPane() const { return m_pcEditView; }
  void FocusKey();
  // 1138: bookmarks every matching line; false (nothing ran) for a key that cannot be searched.
  bool RunBookmarks();
  // The command whose help topic the help button shows.
  virtual int HelpCommand() const = 0;

  // Declares the option boxes of both templates (1400, 1006, 1010 with 1065, 1192).
  static void DeclareOptionBoxes(platform::DialogBuilder& b);

  CEditView* m_pcEditView = nullptr;
};
