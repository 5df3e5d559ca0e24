#include "editor/foundation/ui/reload_query_dialog.h"

#include <mutex>

#include "platform/sjis_literal.h"

using namespace platform;

namespace {

constexpr int kTemplate = 225;
constexpr int kPathText = 1440;
constexpr int kQuestionText = 1441;
constexpr int kReloadButton = 1433;
constexpr int kNotifyButton = 1435;
constexpr int kStopButton = 1438;
constexpr DWORD kHelpIds[] = {0, 0};

}  // namespace

void CReloadQueryDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("ファイル更新の確認"_sj);
    b.StaticText(-1, "このファイルは他のプログラムによって更新されています。"_sj);
    b.StaticText(kPathText, "").NoPrefix().Width(60);
    b.StaticText(kQuestionText, "").NoPrefix().Width(60);
    b.Row([&] {
      b.PushButton(kReloadButton, "再ロード(&R)"_sj).Default();
      b.PushButton(kNotifyButton, "以後通知のみ(&N)"_sj);
      b.PushButton(kStopButton, "以後更新を監視しない(&S)"_sj);
      b.PushButton(IDCANCEL, "キャンセル"_sj);
    });
  });
}

int CReloadQueryDialog::DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszPath, bool bModified) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  m_pszPath = pszPath ? pszPath : "";
  m_bModified = bModified;
  m_nAnswer = kCancel;
  // The answer is what a button chose; a dialog that never ran (no screen) or was ended any other
  // way is a Cancel.
  CDialogBase::DoModal(hInstance, hwndParent, kTemplate, 0);
  return m_nAnswer;
}

INT_PTR CReloadQueryDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  SetDlgItemText(hwndDlg, kPathText, m_pszPath);
  SetDlgItemText(hwndDlg, kQuestionText,
                 m_bModified ? "再ロードを行うと変更が失われますがよろしいですか?"_sj : "再ロードしますか?"_sj);
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CReloadQueryDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case kReloadButton:
      m_nAnswer = kReload;
      break;
    case kNotifyButton:
      m_nAnswer = kNotifyOnly;
      break;
    case kStopButton:
      m_nAnswer = kStopWatching;
      break;
    default:
      m_nAnswer = kCancel;
      break;
  }
  Close(m_nAnswer);
  return 1;
}

const DWORD* CReloadQueryDialog::GetHelpIds() { return kHelpIds; }
