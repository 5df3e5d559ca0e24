#include "editor/view/search/search_dialog_base.h"

#include <cstdio>
#include <cstring>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/pane/edit_view.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kReDraw = 31360;
constexpr int kBookmarkPattern = 30975;

}  // namespace

INT_PTR CSearchDialogBase::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CSearchDialogBase::OnDestroy() {
  const INT_PTR result = CDialogBase::OnDestroy();
  m_hWnd = nullptr;
  return result;
}

HWND CSearchDialogBase::OpenOver(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key,
                                 int templateId) {
  m_pcEditView = pane;
  std::snprintf(m_szText, sizeof m_szText, "%s", key ? key : "");
  if (m_hWnd) {
    ShowWindow(m_hWnd, SW_SHOW);
    SetFocus(m_hWnd);
    SetDlgItemText(m_hWnd, 1021, m_szText);
    return m_hWnd;
  }
  if (const SharedSettings* shared = m_pShareData) {
    m_options.bRegularExp = shared->Common.bSearchRegularExp;
    m_options.bLoHiCase = shared->Common.bSearchLoHiCase;
    m_options.bWordOnly = shared->Common.bSearchWordOnly;
    m_options.bNotifyNotFound = shared->Common.bSearchNOTIFYNOTFOUND;
  }
  if (pane) {
    m_ptEscCaretPos_PHY = pane->DocPosOf(pane->m_nCaretPosX, pane->m_nCaretPosY);
    pane->m_bSearchStartPending = true;
  }
  return CDialogBase::DoModeless(hInstance, hwndParent, templateId, 0, SW_SHOW);
}

void CSearchDialogBase::SetUpKeyCombo(HWND dialog, int id, const char (*history)[260], int count, const char* text) {
  SendDlgItemMessage(dialog, id, CB_LIMITTEXT, kKeyLimit, 0);
  SendDlgItemMessage(dialog, id, CB_SETEXTENDEDUI, 1, 0);
  SendDlgItemMessage(dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; history && i < count && i < kHistorySlots; ++i) {
    const std::string entry(history[i], strnlen(history[i], sizeof history[i]));
    SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  SetDlgItemText(dialog, id, text ? text : "");
}

std::string CSearchDialogBase::ComboText(HWND dialog, int id) {
  char text[kKeyLimit + 1] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

void CSearchDialogBase::FillKeyAndOptions() {
  const SharedSettings* shared = m_pShareData;
  SetUpKeyCombo(m_hWnd, 1021, shared ? shared->szSearchKeys : nullptr, shared ? shared->nSearchKeyCount : 0, m_szText);
  CheckDlgButton(m_hWnd, 1006, m_options.bLoHiCase ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, 1400, m_options.bWordOnly ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, 1192, m_options.bNotifyNotFound ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, 1419, shared && shared->Common.bSearchAll ? BST_CHECKED : BST_UNCHECKED);
  // The version text says at once whether the library is there; no warning while filling.
  const bool regexp = ShowRegexDllVersion(m_hWnd, 1065, false) && m_options.bRegularExp;
  CheckDlgButton(m_hWnd, 1010, regexp ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(m_hWnd, 1400), regexp ? 0 : 1);
}

int CSearchDialogBase::ReadKeyAndOptions() {
  m_options.bLoHiCase = IsDlgButtonChecked(m_hWnd, 1006) == BST_CHECKED;
  m_options.bWordOnly = IsDlgButtonChecked(m_hWnd, 1400) == BST_CHECKED;
  m_options.bRegularExp = IsDlgButtonChecked(m_hWnd, 1010) == BST_CHECKED;
  m_options.bNotifyNotFound = IsDlgButtonChecked(m_hWnd, 1192) == BST_CHECKED;
  if (SharedSettings* shared = m_pShareData) {
    shared->Common.bSearchRegularExp = m_options.bRegularExp;
    shared->Common.bSearchLoHiCase = m_options.bLoHiCase;
    shared->Common.bSearchWordOnly = m_options.bWordOnly;
    shared->Common.bSearchNOTIFYNOTFOUND = m_options.bNotifyNotFound;
    shared->Common.bSearchAll = IsDlgButtonChecked(m_hWnd, 1419) == BST_CHECKED;
  }
  const std::string key = ComboText(m_hWnd, 1021);
  std::snprintf(m_szText, sizeof m_szText, "%s", key.c_str());
  if (key.empty()) return 0;
  const int options = m_options.bLoHiCase ? CRegexpDll::kCaseSensitive : 0;
  if (m_options.bRegularExp && !CheckRegexSyntax(m_szText, m_hWnd, true, options)) return -1;
  return 1;
}

void CSearchDialogBase::OnRegularExpBox() {
  if (IsDlgButtonChecked(m_hWnd, 1010) == BST_CHECKED) {
    CRegexpDll regexp;
    if (!LoadRegexDllOrWarn(m_hWnd, regexp, true)) CheckDlgButton(m_hWnd, 1010, BST_UNCHECKED);
  }
  const bool on = IsDlgButtonChecked(m_hWnd, 1010) == BST_CHECKED;
  EnableWindow(GetDlgItem(m_hWnd, 1400), on ? 0 : 1);
}

void CSearchDialogBase::ConsumeSearchStart() {
  CEditView* pane = TargetPane();
  if (!pane || !pane->m_bSearchStartPending) return;
  pane->m_nSrchStartPosX_PHY = m_ptEscCaretPos_PHY.x;
  pane->m_nSrchStartPosY_PHY = m_ptEscCaretPos_PHY.y;
  pane->m_bSearchStartPending = false;
}

void CSearchDialogBase::RunOnPane(int command) {
  CEditView* pane = TargetPane();
  if (!pane) return;
  pane->RunCommand(command, true, reinterpret_cast<LPARAM>(m_hWnd), 0, 0, 0);
  pane->RunCommand(kReDraw, true, 0, 0, 0, 0);
}

void CSearchDialogBase::FocusKey() {
  if (m_hWnd) SetFocus(GetDlgItem(m_hWnd, 1021));
}

bool CSearchDialogBase::RunBookmarks() {
  CEditView* pane = TargetPane();
  if (ReadControls() < 1 || !pane) return false;
  pane->RunCommand(kBookmarkPattern, false, 0, 0, 0, 0);
  return true;
}

INT_PTR CSearchDialogBase::OnButtonClicked(int wID) {
  switch (wID) {
    case 1010:
      OnRegularExpBox();
      return 1;
    case 1099:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, CommandToHelpId(HelpCommand()));
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

void CSearchDialogBase::DeclareOptionBoxes(DialogBuilder& b) {
  b.CheckBox(1400, "単語単位で探す(&W)"_sj);
  b.CheckBox(1006, "英大文字と小文字を区別する(&C)"_sj);
  b.Row([&] {
    b.CheckBox(1010, "正規表現(&E)"_sj);
    b.StaticText(1065, " ").NoPrefix().Width(24);
  });
  b.CheckBox(1192, "見つからないときにメッセージを表示(&M)"_sj);
}
