#include "editor/view/search/replace_dialog.h"

#include <cstdio>
#include <mutex>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/pane/edit_view.h"
#include "platform/foreground_window.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kReplaceTemplate = 137;
constexpr int kSearchNext = 30902;
constexpr int kSearchPrev = 30903;
constexpr int kReplace = 30906;
constexpr int kReplaceAll = 30907;
constexpr int kReplaceAllLine = 30912;
constexpr int kReDraw = 31360;
constexpr int kBookmarkPattern = 30975;
constexpr int kReplaceDialog = 30904;
constexpr char kCaption[] = "tovara";

constexpr DWORD kHelpIds[] = {1021, 0, 1022, 0, 1006, 0, 1400, 0, 1010, 0, 1192, 0, 1307, 0, 1419, 0, 1078, 0,
                              1133, 0, 1324, 0, 1325, 0, 1326, 0, 1418, 0, 1135, 0, 1137, 0, 1087, 0, 1134, 0,
                              1136, 0, 1138, 0, IDCANCEL, 0, 1099, 0, 0, 0};

}  // namespace

void CReplaceDialog::RegisterTemplate() {
  RegisterDialogTemplate(kReplaceTemplate, [](DialogBuilder& b) {
    b.Caption("置換"_sj);
    b.Row([&] {
      b.StaticText(-1, "置換前(&N)"_sj);
      b.ComboBox(1021).Width(40);
    });
    b.Row([&] {
      b.StaticText(-1, "置換後(&P)"_sj);
      b.ComboBox(1022).Width(40);
    });
    b.CheckBox(1418, "クリップボードから貼り付ける(&T)"_sj);
    b.Row([&] {
      b.Column([&] {
        b.CheckBox(1400, "単語単位で探す(&W)"_sj);
        b.CheckBox(1006, "英大文字と小文字を区別する(&C)"_sj);
        b.Row([&] {
          b.CheckBox(1010, "正規表現(&E)"_sj);
          b.StaticText(1065, " ").NoPrefix().Width(24);
        });
        b.CheckBox(1192, "見つからないときにメッセージを表示(&M)"_sj);
        b.CheckBox(1307, "置換ダイアログを自動的に閉じる(&L)"_sj);
        b.CheckBox(1419, "先頭(末尾)から再検索する(&Z)"_sj);
        b.Group(-1, "置換対象"_sj, [&] {
          b.RadioButton(1324, "見つかった文字列(&1)"_sj).NewGroup();
          b.RadioButton(1325, "見つかった文字列の前に挿入(&2)"_sj);
          b.RadioButton(1326, "見つかった文字列の後に追加(&3)"_sj);
        });
        b.Group(-1, "範囲"_sj, [&] {
          b.RadioButton(1078, "ファイル全体(&O)"_sj).NewGroup();
          b.RadioButton(1133, "選択範囲(&S)"_sj);
        });
      });
      b.Column([&] {
        b.PushButton(1135, "上検索(&U)"_sj);
        b.PushButton(1137, "下検索(&D)"_sj).Default();
        b.PushButton(1087, "置換(&R)"_sj);
        b.PushButton(1134, "すべて置換(&A)"_sj);
        b.PushButton(1136, "行すべて置換(&I)"_sj);
        b.PushButton(1138, "該当行マーク(&B)"_sj);
        b.PushButton(IDCANCEL, "キャンセル(&X)"_sj);
        b.PushButton(1099, "ヘルプ(&H)"_sj);
      });
    });
  });
}

CReplaceDialog::CReplaceDialog() = default;

HWND CReplaceDialog::DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key,
                                bool bSelected) {
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
  m_bSelectedArea = m_pShareData ? m_pShareData->Common.bSearchSelectedArea : 0;
  m_bSelected = bSelected;
  if (pane) {
    m_ptEscCaretPos_PHY = pane->DocPosOf(pane->m_nCaretPosX, pane->m_nCaretPosY);
    pane->m_bSearchStartPending = true;
  }
  return CDialogBase::DoModeless(hInstance, hwndParent, kReplaceTemplate, 0, SW_SHOW);
}

INT_PTR CReplaceDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CReplaceDialog::OnDestroy() {
  const INT_PTR result = CDialogBase::OnDestroy();
  m_hWnd = nullptr;
  return result;
}

void CReplaceDialog::FillControls() {
  const SharedSettings* shared = m_pShareData;
  search_dialog::SetUpKeyCombo(m_hWnd, 1021, shared ? shared->szSearchKeys : nullptr,
                               shared ? shared->nSearchKeyCount : 0, m_szText);
  const char* replacement = shared && shared->nReplaceKeyCount > 0 ? shared->szReplaceKeys[0] : m_szText2;
  search_dialog::SetUpKeyCombo(m_hWnd, 1022, shared ? shared->szReplaceKeys : nullptr,
                               shared ? shared->nReplaceKeyCount : 0, replacement);
  search_dialog::FillOptionBoxes(m_hWnd, m_options);
  CheckDlgButton(m_hWnd, 1307, shared && shared->Common.bAutoCloseDlgReplace ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, 1419, shared && shared->Common.bSearchAll ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(m_hWnd, 1324, 1326, 1324 + (m_nReplaceTarget >= 0 && m_nReplaceTarget <= 2 ? m_nReplaceTarget : 0));
  CheckDlgButton(m_hWnd, 1418, m_nPaste ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(m_hWnd, 1022), m_nPaste ? 0 : 1);
  // A selection at opening means the selection is the area.
  CheckRadioButton(m_hWnd, 1078, 1133, m_bSelected ? 1133 : 1078);
  UpdateStepButtons();
}

void CReplaceDialog::UpdateStepButtons() {
  const BOOL wholeFile = IsDlgButtonChecked(m_hWnd, 1078) == BST_CHECKED;
  for (const int id : {1135, 1137, 1087}) EnableWindow(GetDlgItem(m_hWnd, id), wholeFile);
}

void CReplaceDialog::TurnPasteOff() {
  m_nPaste = 0;
  if (!m_hWnd) return;
  CheckDlgButton(m_hWnd, 1418, BST_UNCHECKED);
  EnableWindow(GetDlgItem(m_hWnd, 1022), 1);
}

int CReplaceDialog::ReadControls() {
  m_options = search_dialog::ReadOptionBoxes(m_hWnd);
  m_bSelectedArea = IsDlgButtonChecked(m_hWnd, 1133) == BST_CHECKED;
  m_nPaste = IsDlgButtonChecked(m_hWnd, 1418) == BST_CHECKED;
  EnableWindow(GetDlgItem(m_hWnd, 1022), m_nPaste ? 0 : 1);
  m_nReplaceTarget = IsDlgButtonChecked(m_hWnd, 1325) == BST_CHECKED   ? 1
                     : IsDlgButtonChecked(m_hWnd, 1326) == BST_CHECKED ? 2
                                                                       : 0;
  if (SharedSettings* shared = m_pShareData) {
    search_dialog::StoreOptions(m_options, shared);
    shared->Common.bSearchSelectedArea = m_bSelectedArea;
    shared->Common.bAutoCloseDlgReplace = IsDlgButtonChecked(m_hWnd, 1307) == BST_CHECKED;
    shared->Common.bSearchAll = IsDlgButtonChecked(m_hWnd, 1419) == BST_CHECKED;
  }
  const std::string key = search_dialog::ComboText(m_hWnd, 1021);
  const std::string replacement = search_dialog::ComboText(m_hWnd, 1022);
  std::snprintf(m_szText, sizeof m_szText, "%s", key.c_str());
  std::snprintf(m_szText2, sizeof m_szText2, "%s", replacement.c_str());
  const int checked = search_dialog::CheckKey(m_hWnd, key, m_options);
  if (checked <= 0) return checked;
  if (CShareData* share = CShareData::GetInstance()) {
    share->AddSearchKey(m_szText);
    share->AddReplaceKey(m_szText2);
  }
  return 1;
}

void CReplaceDialog::RunReplaceAll(bool bWholeLines) {
  if (ReadControls() < 1) {
    ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s", "置換条件を指定してください。"_sj);
    return;
  }
  CEditView* pane = m_pcEditView;
  if (!pane) return;
  search_dialog::ConsumeSearchStart(pane, m_ptEscCaretPos_PHY);
  pane->RunCommand(bWholeLines ? kReplaceAllLine : kReplaceAll, true, 0, 0, 0, 0);
  pane->RunCommand(kReDraw, true, 0, 0, 0, 0);
  if (!m_hWnd) return;
  SetForegroundWindow(m_hWnd);
  ShowMessageBox(m_hWnd, MB_OK | MB_TOPMOST, kCaption, "%d%sを置換しました。"_sj, m_nReplaceCnt,
                 bWholeLines ? "行"_sj : "箇所"_sj);
  if (!m_bCanceled && m_pShareData && m_pShareData->Common.bAutoCloseDlgReplace) Close(0);
}

INT_PTR CReplaceDialog::OnButtonClicked(int wID) {
  CEditView* pane = m_pcEditView;
  switch (wID) {
    case 1010:
      search_dialog::OnRegularExpBox(m_hWnd);
      return 1;
    case 1418:
      if (IsDlgButtonChecked(m_hWnd, 1418) == BST_CHECKED) {
        CMemory text;
        if (!pane || !pane->GetClipboardText(&text, nullptr) || text.GetLength() == 0) {
          ShowMessageBox(m_hWnd, MB_OK, kCaption, "%s", "クリップボードに有効なデータがありません！"_sj);
          CheckDlgButton(m_hWnd, 1418, BST_UNCHECKED);
        }
      }
      m_nPaste = IsDlgButtonChecked(m_hWnd, 1418) == BST_CHECKED;
      EnableWindow(GetDlgItem(m_hWnd, 1022), m_nPaste ? 0 : 1);
      return 1;
    case 1078:
    case 1133:
      UpdateStepButtons();
      return 1;
    case 1135:
    case 1087:
    case 1137:
      if (ReadControls() < 1) {
        ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s", "文字列を指定してください。"_sj);
        return 1;
      }
      if (!pane) return 1;
      search_dialog::ConsumeSearchStart(pane, m_ptEscCaretPos_PHY);
      pane->RunCommand(wID == 1135 ? kSearchPrev : wID == 1087 ? kReplace : kSearchNext, true,
                       reinterpret_cast<LPARAM>(m_hWnd), 0, 0, 0);
      pane->RunCommand(kReDraw, true, 0, 0, 0, 0);
      if (wID == 1137 && m_hWnd) SetFocus(GetDlgItem(m_hWnd, 1021));
      return 1;
    case 1134:
    case 1136:
      RunReplaceAll(wID == 1136);
      return 1;
    case 1138:
      if (ReadControls() < 1 || !pane) return 1;
      pane->RunCommand(kBookmarkPattern, false, 0, 0, 0, 0);
      if (m_hWnd) SetFocus(GetDlgItem(m_hWnd, 1021));
      return 1;
    case 1099:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, CommandToHelpId(kReplaceDialog));
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

const DWORD* CReplaceDialog::GetHelpIds() { return kHelpIds; }
