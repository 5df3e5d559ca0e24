#include "editor/view/search/replace_dialog.h"

#include <cstdio>
#include <mutex>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/view/pane/edit_view.h"
#include "platform/foreground_window.h"
#include "platform/sjis_literal.h"

using namespace platform;

namespace {

constexpr int kReplaceTemplate = 137;
constexpr int kSearchNext = 30902;
constexpr int kSearchPrev = 30903;
constexpr int kReplace = 30906;
constexpr int kReplaceAll = 30907;
constexpr int kReplaceAllLine = 30912;
constexpr int kReplaceDialog = 30904;
constexpr char kCaption[] = "tovara";

// (control id, help id) pairs; no control has a topic of its own.
// clang-format off
constexpr DWORD kHelpIds[] = {
    1021, 0, 1022, 0, 1006, 0, 1400, 0, 1010, 0, 1192, 0, 1307, 0, 1419, 0, 1078, 0, 1133, 0,
    1324, 0, 1325, 0, 1326, 0, 1418, 0, 1135, 0, 1137, 0, 1087, 0, 1134, 0, 1136, 0, 1138, 0,
    IDCANCEL, 0, 1099, 0, 0, 0
};
// clang-format on

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
        DeclareOptionBoxes(b);
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

HWND CReplaceDialog::DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key,
                                bool bSelected) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  if (!IsOpen()) {
    m_bSelectedArea = m_pShareData ? m_pShareData->Common.bSearchSelectedArea : 0;
    m_bSelected = bSelected;
  }
  return OpenOver(hInstance, hwndParent, pane, key, kReplaceTemplate);
}

void CReplaceDialog::FillControls() {
  const SharedSettings* shared = m_pShareData;
  FillKeyAndOptions();
  const char* replacement = shared && shared->nReplaceKeyCount > 0 ? shared->szReplaceKeys[0] : m_szText2;
  SetUpKeyCombo(m_hWnd, 1022, shared ? shared->szReplaceKeys : nullptr, shared ? shared->nReplaceKeyCount : 0,
                replacement);
  CheckDlgButton(m_hWnd, 1307, shared && shared->Common.bAutoCloseDlgReplace ? BST_CHECKED : BST_UNCHECKED);
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
  const int result = ReadKeyAndOptions();
  m_bSelectedArea = IsDlgButtonChecked(m_hWnd, 1133) == BST_CHECKED;
  m_nPaste = IsDlgButtonChecked(m_hWnd, 1418) == BST_CHECKED;
  EnableWindow(GetDlgItem(m_hWnd, 1022), m_nPaste ? 0 : 1);
  m_nReplaceTarget = IsDlgButtonChecked(m_hWnd, 1325) == BST_CHECKED   ? 1
                     : IsDlgButtonChecked(m_hWnd, 1326) == BST_CHECKED ? 2
                                                                       : 0;
  if (SharedSettings* shared = m_pShareData) {
    shared->Common.bSearchSelectedArea = m_bSelectedArea;
    shared->Common.bAutoCloseDlgReplace = IsDlgButtonChecked(m_hWnd, 1307) == BST_CHECKED;
  }
  const std::string replacement = ComboText(m_hWnd, 1022);
  std::snprintf(m_szText2, sizeof m_szText2, "%s", replacement.c_str());
  if (result <= 0) return result;
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
  if (!TargetPane()) return;
  ConsumeSearchStart();
  RunOnPane(bWholeLines ? kReplaceAllLine : kReplaceAll);
  if (!m_hWnd) return;
  SetForegroundWindow(m_hWnd);
  ShowMessageBox(m_hWnd, MB_OK | MB_TOPMOST, kCaption, "%d%sを置換しました。"_sj, m_nReplaceCnt,
                 bWholeLines ? "行"_sj : "箇所"_sj);
  if (!m_bCanceled && m_pShareData && m_pShareData->Common.bAutoCloseDlgReplace) Close(0);
}

INT_PTR CReplaceDialog::OnButtonClicked(int wID) {
  CEditView* pane = TargetPane();
  switch (wID) {
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
      ConsumeSearchStart();
      RunOnPane(wID == 1135 ? kSearchPrev : wID == 1087 ? kReplace : kSearchNext);
      if (wID == 1137) FocusKey();
      return 1;
    case 1134:
    case 1136:
      RunReplaceAll(wID == 1136);
      return 1;
    case 1138:
      if (RunBookmarks()) FocusKey();
      return 1;
    default:
      return CSearchDialogBase::OnButtonClicked(wID);
  }
}

const DWORD* CReplaceDialog::GetHelpIds() { return kHelpIds; }

int CReplaceDialog::HelpCommand() const { return kReplaceDialog; }

CEditView* CReplaceDialog::TargetPane() const {
  CEditDoc* doc = m_pcEditView ? m_pcEditView->m_pcEditDoc : nullptr;
  if (!doc) return m_pcEditView;
  const int index = doc->GetActivePane();
  IDocPane* active = index >= 0 && index < 4 ? doc->Ports().panes[static_cast<size_t>(index)] : nullptr;
  auto* pane = dynamic_cast<CEditView*>(active);
  return pane ? pane : m_pcEditView;
}
