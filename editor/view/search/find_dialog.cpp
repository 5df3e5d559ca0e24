#include "editor/view/search/find_dialog.h"

#include <mutex>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/view/pane/edit_view.h"
#include "platform/sjis_literal.h"

using namespace platform;

namespace {

constexpr int kFindTemplate = 109;
constexpr int kSearchNext = 30902;
constexpr int kSearchPrev = 30903;
constexpr int kSearchDialog = 30901;
constexpr char kCaption[] = "tovara";

// (control id, help id) pairs; no control has a topic of its own.
// clang-format off
constexpr DWORD kHelpIds[] = {
    1021, 0, 1006, 0, 1400, 0, 1010, 0, 1192, 0, 1304, 0, 1419, 0, 1135, 0, 1137, 0, 1138, 0,
    IDCANCEL, 0, 1099, 0, 0, 0
};
// clang-format on

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
        DeclareOptionBoxes(b);
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

HWND CFindDialog::DoModeless(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, const char* key) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  return OpenOver(hInstance, hwndParent, pane, key, kFindTemplate);
}

void CFindDialog::FillControls() {
  FillKeyAndOptions();
  CheckDlgButton(m_hWnd, 1304, m_pShareData && m_pShareData->Common.bAutoCloseDlgFind ? BST_CHECKED : BST_UNCHECKED);
}

int CFindDialog::ReadControls() {
  const int result = ReadKeyAndOptions();
  if (m_pShareData) m_pShareData->Common.bAutoCloseDlgFind = IsDlgButtonChecked(m_hWnd, 1304) == BST_CHECKED;
  if (result <= 0) return result;
  if (CShareData* share = CShareData::GetInstance()) share->AddSearchKey(m_szText);
  const SharedSettings* shared = m_pShareData;
  SetUpKeyCombo(m_hWnd, 1021, shared ? shared->szSearchKeys : nullptr, shared ? shared->nSearchKeyCount : 0, m_szText);
  return 1;
}

void CFindDialog::CloseOrRefocus(bool bRefocus) {
  if (m_pShareData && m_pShareData->Common.bAutoCloseDlgFind) {
    Close(0);
  } else if (bRefocus) {
    FocusKey();
  }
}

void CFindDialog::RunSearch(bool bForward) {
  if (ReadControls() <= 0) {
    ShowMessageBox(m_hWnd, MB_OK, kCaption, "%s", "検索条件を指定してください。"_sj);
    return;
  }
  ConsumeSearchStart();
  RunOnPane(bForward ? kSearchNext : kSearchPrev);
  CloseOrRefocus(bForward);
}

INT_PTR CFindDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case 1135:
      RunSearch(false);
      return 1;
    case 1137:
      RunSearch(true);
      return 1;
    case 1138:
      if (RunBookmarks()) CloseOrRefocus(true);
      return 1;
    default:
      return CSearchDialogBase::OnButtonClicked(wID);
  }
}

const DWORD* CFindDialog::GetHelpIds() { return kHelpIds; }

int CFindDialog::HelpCommand() const { return kSearchDialog; }
