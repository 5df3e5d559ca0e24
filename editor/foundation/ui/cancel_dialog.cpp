#include "editor/foundation/ui/cancel_dialog.h"

#include <mutex>

#include "platform/sjis_literal.h"

using namespace platform;

namespace {

constexpr DWORD kHelpIds[] = {0, 0};

void CancelRow(DialogBuilder& b) {
  b.Row([&] {
    b.Stretch();
    b.PushButton(IDCANCEL, "キャンセル"_sj);
    b.Stretch();
  });
}

}  // namespace

void CCancelDialog::RegisterTemplates() {
  RegisterDialogTemplate(134, [](DialogBuilder& b) {
    b.Caption("Grep を実行しています"_sj);
    b.Row([&] {
      b.StaticText(-1, "フォルダ:"_sj);
      b.StaticText(1123, "").NoPrefix().Width(48);
    });
    b.Row([&] {
      b.StaticText(-1, "ファイル:"_sj);
      b.StaticText(1310, "").NoPrefix().Width(48);
    });
    b.Row([&] {
      b.StaticText(-1, "見つかった数:"_sj);
      b.StaticText(1124, "0").NoPrefix().Width(12);
      b.Stretch();
    });
    b.CheckBox(1477, "結果をその都度表示する(&R)"_sj);
    CancelRow(b);
  });
  RegisterDialogTemplate(160, [](DialogBuilder& b) {
    b.Caption("すべて置換しています"_sj);
    b.Row([&] {
      b.StaticText(-1, "置換した数:"_sj);
      b.StaticText(1197, "0").NoPrefix().Width(12);
      b.Stretch();
    });
    b.ProgressBar(1195).Width(40);
    CancelRow(b);
  });
  RegisterDialogTemplate(191, [](DialogBuilder& b) {
    b.Caption("実行しています"_sj);
    b.StaticText(1330, "").NoPrefix().Width(40);
    CancelRow(b);
  });
  RegisterDialogTemplate(192, [](DialogBuilder& b) {
    b.Caption("印刷しています"_sj);
    b.Row([&] {
      b.StaticText(-1, "文書:"_sj);
      b.StaticText(1331, "").NoPrefix().Width(36);
    });
    b.Row([&] {
      b.StaticText(-1, "ページ:"_sj);
      b.StaticText(1332, "").NoPrefix().Width(36);
    });
    CancelRow(b);
  });
  RegisterDialogTemplate(5113, [](DialogBuilder& b) {
    b.Caption("置換しています"_sj);
    b.ProgressBar(1311).Width(40);
    CancelRow(b);
  });
}

CCancelDialog::CCancelDialog() = default;

CCancelDialog::~CCancelDialog() {
  // The owner takes input again before the dialog goes, so that it is the one activated.
  if (m_hwndDisabledOwner) EnableWindow(m_hwndDisabledOwner, 1);
}

HWND CCancelDialog::DoModeless(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplates);
  m_bCanceled = 0;
  HWND hwnd = CDialogBase::DoModeless(hInstance, hwndParent, nDlgTemplete, 0, SW_SHOW);
  // The job pumps messages: its window must not take the user's commands meanwhile.
  if (hwnd && hwndParent && EnableWindow(hwndParent, 0) == 0) m_hwndDisabledOwner = hwndParent;
  return hwnd;
}

INT_PTR CCancelDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  HICON information = LoadIcon(nullptr, IDI_INFORMATION);
  SendMessage(hwndDlg, WM_SETICON, ICON_SMALL, 0);
  SendMessage(hwndDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(information));
  SendMessage(hwndDlg, WM_SETICON, ICON_BIG, 0);
  SendMessage(hwndDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(information));
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CCancelDialog::OnButtonClicked(int wID) {
  if (wID == IDCANCEL) {
    m_bCanceled = 1;
    return 1;
  }
  return 0;
}

const DWORD* CCancelDialog::GetHelpIds() { return kHelpIds; }
