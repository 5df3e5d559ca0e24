#include "editor/view/search/find_dialog.h"

#include <cstring>
#include <mutex>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/pane/edit_view.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kFindTemplate = 109;
constexpr int kSearchNext = 30902;
constexpr int kSearchPrev = 30903;
constexpr int kReDraw = 31360;
constexpr int kBookmarkPattern = 30975;
constexpr int kSearchDialog = 30901;
constexpr char kCaption[] = "tovara";

constexpr DWORD kHelpIds[] = {1021, 0, 1006, 0, 1400, 0, 1010, 0, 1192, 0, 1304, 0, 1419, 0,
                              1135, 0, 1137, 0, 1138, 0, IDCANCEL, 0, 1099, 0, 0, 0};

}  // namespace

void CFindDialog::RegisterTemplate() {
  RegisterDialogTemplate(kFindTemplate, [](DialogBuilder& b) {
    b.Caption("検索"_sj);
    b.Row([&] {
      b.StaticText(-1, "条件(&N)"_sj);
      b.ComboBox(1021).Width(40);
    });
    b.Row([&] {
      b.Column([&] {
        b.CheckBox(1400, "単語単位で探す(&W)"_sj);
        b.CheckBox(1006, "英大文字と小文字を区別する(&C)"_sj);
        b.Row([&] {
          b.CheckBox(1010, "正規表現(&E)"_sj);
          b.StaticText(1065, " ").NoPrefix().Width(24);
        });
        b.CheckBox(1192, "見つからないときにメッセージを表示(&M)"_sj);
        b.CheckBox(1304, "検索ダイアログを自動的に閉じる(&L)"_sj);
        b.CheckBox(1419, "先頭(末尾)から再検索する(&Z)"_sj);
      });
      b.Column([&] {
        b.PushButton(1135, "上検索(&U)"_sj);
        b.PushButton(1137, "下検索(&D)"_sj).Default();
        b.PushButton(1138, "該当行マーク(&B)"_sj);
        b.PushButton(IDCANCEL, "キャンセル(&X)"_sj);
        b.PushButton(1099, "ヘルプ(&H)"_sj);
      });
    });
  });
}

CFindDialog::CFindDialog() = default;

HWND CFindDialog::DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  m_pcEditView = pane;
  std::snprintf(m_szText, sizeof m_szText, "%s", key ? key : "");
  if (m_hWnd) {
    ShowWindow(m_hWnd, SW_SHOW);
    SetFocus(m_hWnd);
    SetDlgItemText(m_hWnd, 1021, m_szText);
    return m_hWnd;
  }
  m_options = search_dialog::OptionsOf(m_pShareData);
  if (pane) {
    const POINT caret = pane->DocPosOf(pane->m_nCaretPosX, pane->m_nCaretPosY);
    m_ptEscCaretPos_PHY = caret;
    pane->m_bSearchStartPending = true;
  }
  return CDialogBase::DoModeless(hInstance, hwndParent, kFindTemplate, 0, SW_SHOW);
}

INT_PTR CFindDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CFindDialog::OnDestroy() {
  const INT_PTR result = CDialogBase::OnDestroy();
  m_hWnd = nullptr;
  return result;
}

void CFindDialog::FillControls() {
  const SharedSettings* shared = m_pShareData;
  search_dialog::SetUpKeyCombo(m_hWnd, 1021, shared ? shared->szSearchKeys : nullptr,
                               shared ? shared->nSearchKeyCount : 0, m_szText);
  search_dialog::FillOptionBoxes(m_hWnd, m_options);
  CheckDlgButton(m_hWnd, 1304, shared && shared->Common.bAutoCloseDlgFind ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, 1419, shared && shared->Common.bSearchAll ? BST_CHECKED : BST_UNCHECKED);
}

int CFindDialog::ReadControls() {
  m_options = search_dialog::ReadOptionBoxes(m_hWnd);
  if (SharedSettings* shared = m_pShareData) {
    search_dialog::StoreOptions(m_options, shared);
    shared->Common.bAutoCloseDlgFind = IsDlgButtonChecked(m_hWnd, 1304) == BST_CHECKED;
    shared->Common.bSearchAll = IsDlgButtonChecked(m_hWnd, 1419) == BST_CHECKED;
  }
  const std::string key = search_dialog::ComboText(m_hWnd, 1021);
  std::snprintf(m_szText, sizeof m_szText, "%s", key.c_str());
  const int checked = search_dialog::CheckKey(m_hWnd, key, m_options);
  if (checked <= 0) return checked;
  if (CShareData* share = CShareData::GetInstance()) share->AddSearchKey(m_szText);
  const SharedSettings* shared = m_pShareData;
  search_dialog::SetUpKeyCombo(m_hWnd, 1021, shared ? shared->szSearchKeys : nullptr,
                               shared ? shared->nSearchKeyCount : 0, m_szText);
  return 1;
}

void CFindDialog::RunSearch(bool bForward) {
  if (ReadControls() <= 0) {
    ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s", "検索条件を指定してください。"_sj);
    return;
  }
  CEditView* pane = m_pcEditView;
  if (!pane) return;
  search_dialog::ConsumeSearchStart(pane, m_ptEscCaretPos_PHY);
  pane->RunCommand(bForward ? kSearchNext : kSearchPrev, true, reinterpret_cast<LPARAM>(m_hWnd), 0, 0, 0);
  pane->RunCommand(kReDraw, true, 0, 0, 0, 0);
  if (m_pShareData && m_pShareData->Common.bAutoCloseDlgFind) {
    Close(0);
  } else if (bForward && m_hWnd) {
    SetFocus(GetDlgItem(m_hWnd, 1021));
  }
}

INT_PTR CFindDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case 1010:
      search_dialog::OnRegularExpBox(m_hWnd);
      return 1;
    case 1135:
      RunSearch(false);
      return 1;
    case 1137:
      RunSearch(true);
      return 1;
    case 1138:
      if (ReadControls() <= 0 || !m_pcEditView) return 1;
      m_pcEditView->RunCommand(kBookmarkPattern, false, 0, 0, 0, 0);
      if (m_pShareData && m_pShareData->Common.bAutoCloseDlgFind) {
        Close(0);
      } else if (m_hWnd) {
        SetFocus(GetDlgItem(m_hWnd, 1021));
      }
      return 1;
    case 1099:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, CommandToHelpId(kSearchDialog));
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

const DWORD* CFindDialog::GetHelpIds() { return kHelpIds; }
