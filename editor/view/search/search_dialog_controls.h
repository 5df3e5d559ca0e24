// What the find and the replace dialog do alike: the key combo boxes with their histories, the
// option check boxes bound to the shared record, the regular-expression library's version text
// and the search-start marker of the pane they work on.
#pragma once

#include <string>

#include "editor/foundation/ui/dialog_base.h"

class CEditView;
struct SharedSettings;

namespace search_dialog {

// Keys and replacements hold at most this many Shift-JIS bytes (one history entry less its NUL).
constexpr int kKeyLimit = 259;

// The search options both dialogs show, as the shared record holds them.
struct SearchOptions {
  int bRegularExp = 0;
  int bLoHiCase = 0;
  int bWordOnly = 0;
  int bNotifyNotFound = 0;
};
SearchOptions OptionsOf(const SharedSettings* shared);
void StoreOptions(const SearchOptions& options, SharedSettings* shared);

// A combo box with the byte limit and the extended interface, its list filled from a history
// (newest first) and its edit holding text.
void SetUpKeyCombo(HWND dialog, int id, const char (*history)[260], int count, const char* text);
// The combo box's text, at most kKeyLimit bytes cut on a whole character.
std::string ComboText(HWND dialog, int id);

// The option boxes: 1006 case, 1400 whole word, 1010 regular expression, 1192 notify; 1065 the
// library's version (" " without it). A regular-expression flag shows only while the library is
// there; whole word is disabled while it is on.
void FillOptionBoxes(HWND dialog, const SearchOptions& options);
SearchOptions ReadOptionBoxes(HWND dialog);
// 1010 switched by the user: on needs the library (which warns when missing; the box goes off
// again); 1400 follows it.
void OnRegularExpBox(HWND dialog);

// Checks a key read from the dialog: 0 empty, -1 a regular expression that does not compile (the
// library's error box is shown, owned by the dialog), 1 good.
int CheckKey(HWND dialog, const std::string& key, const SearchOptions& options);

// The first search from a dialog makes the caret position remembered at its opening the pane's
// search start.
void ConsumeSearchStart(CEditView* pane, POINT caretAtOpening);

}  // namespace search_dialog
