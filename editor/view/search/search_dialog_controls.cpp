#include "editor/view/search/search_dialog_controls.h"

#include <cstring>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/pane/edit_view.h"

namespace search_dialog {

SearchOptions OptionsOf(const SharedSettings* shared) {
  SearchOptions o;
  if (!shared) return o;
  o.bRegularExp = shared->Common.bSearchRegularExp;
  o.bLoHiCase = shared->Common.bSearchLoHiCase;
  o.bWordOnly = shared->Common.bSearchWordOnly;
  o.bNotifyNotFound = shared->Common.bSearchNOTIFYNOTFOUND;
  return o;
}

void StoreOptions(const SearchOptions& o, SharedSettings* shared) {
  if (!shared) return;
  shared->Common.bSearchRegularExp = o.bRegularExp;
  shared->Common.bSearchLoHiCase = o.bLoHiCase;
  shared->Common.bSearchWordOnly = o.bWordOnly;
  shared->Common.bSearchNOTIFYNOTFOUND = o.bNotifyNotFound;
}

void SetUpKeyCombo(HWND dialog, int id, const char (*history)[260], int count, const char* text) {
  platform::SendDlgItemMessage(dialog, id, CB_LIMITTEXT, kKeyLimit, 0);
  platform::SendDlgItemMessage(dialog, id, CB_SETEXTENDEDUI, 1, 0);
  platform::SendDlgItemMessage(dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; history && i < count && i < kHistorySlots; ++i) {
    const std::string entry(history[i], strnlen(history[i], sizeof history[i]));
    platform::SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  platform::SetDlgItemText(dialog, id, text ? text : "");
}

std::string ComboText(HWND dialog, int id) {
  char text[kKeyLimit + 1] = {};
  platform::GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

void FillOptionBoxes(HWND dialog, const SearchOptions& o) {
  using platform::CheckDlgButton;
  CheckDlgButton(dialog, 1006, o.bLoHiCase ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, 1400, o.bWordOnly ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, 1192, o.bNotifyNotFound ? BST_CHECKED : BST_UNCHECKED);
  // The version text says at once whether the library is there; no warning while filling.
  const bool library = ShowRegexDllVersion(dialog, 1065, false);
  const bool regexp = library && o.bRegularExp;
  CheckDlgButton(dialog, 1010, regexp ? BST_CHECKED : BST_UNCHECKED);
  platform::EnableWindow(platform::GetDlgItem(dialog, 1400), regexp ? 0 : 1);
}

SearchOptions ReadOptionBoxes(HWND dialog) {
  SearchOptions o;
  o.bLoHiCase = platform::IsDlgButtonChecked(dialog, 1006) == BST_CHECKED;
  o.bWordOnly = platform::IsDlgButtonChecked(dialog, 1400) == BST_CHECKED;
  o.bRegularExp = platform::IsDlgButtonChecked(dialog, 1010) == BST_CHECKED;
  o.bNotifyNotFound = platform::IsDlgButtonChecked(dialog, 1192) == BST_CHECKED;
  return o;
}

void OnRegularExpBox(HWND dialog) {
  if (platform::IsDlgButtonChecked(dialog, 1010) == BST_CHECKED) {
    CRegexpDll regexp;
    if (!LoadRegexDllOrWarn(dialog, regexp, true)) platform::CheckDlgButton(dialog, 1010, BST_UNCHECKED);
  }
  const bool on = platform::IsDlgButtonChecked(dialog, 1010) == BST_CHECKED;
  platform::EnableWindow(platform::GetDlgItem(dialog, 1400), on ? 0 : 1);
}

int CheckKey(HWND dialog, const std::string& key, const SearchOptions& o) {
  if (key.empty()) return 0;
  if (o.bRegularExp &&
      !CheckRegexSyntax(key.c_str(), dialog, true, o.bLoHiCase ? CRegexpDll::kCaseSensitive : 0)) {
    return -1;
  }
  return 1;
}

void ConsumeSearchStart(CEditView* pane, POINT caretAtOpening) {
  if (!pane || !pane->m_bSearchStartPending) return;
  pane->m_nSrchStartPosX_PHY = caretAtOpening.x;
  pane->m_nSrchStartPosY_PHY = caretAtOpening.y;
  pane->m_bSearchStartPending = false;
}

}  // namespace search_dialog
