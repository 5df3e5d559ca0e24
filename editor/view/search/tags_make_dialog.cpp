#include "editor/view/search/tags_make_dialog.h"

#include <array>
#include <cstring>
#include <mutex>
#include <string>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/beep.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kTagMakeCommand = 30943;

}  // namespace

void CTagsMakeDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("タグファイルの作成"_sj);
    b.Row([&] {
      b.StaticText(-1, "タグ作成フォルダ(&F):"_sj);
      b.ComboBox(kFolder).Width(48);
      b.PushButton(kBrowse, "参照(&B)..."_sj);
    });
    b.CheckBox(kSubfolders, "サブフォルダも対象にする(&S)"_sj);
    b.Row([&] {
      b.StaticText(-1, "コマンドライン(&O):"_sj);
      b.Edit(kOptions).Width(48);
    });
    b.Row([&] {
      b.Stretch();
      b.PushButton(IDOK, "作成"_sj).Default();
      b.PushButton(IDCANCEL, "キャンセル"_sj);
      b.PushButton(kHelp, "ヘルプ(&H)"_sj);
    });
  });
}

CTagsMakeDialog::CTagsMakeDialog() = default;

INT_PTR CTagsMakeDialog::DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszPath) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  CopyWholeChars(m_szPath, sizeof m_szPath, pszPath ? pszPath : "");
  if (m_pShareData) {
    CopyWholeChars(m_szTagsCmdLine, sizeof m_szTagsCmdLine, m_pShareData->szTagsCmdLine);
    m_nTagsOpt = m_pShareData->nTagsOpt;
  }
  return CDialogBase::DoModal(hInstance, hwndParent, kTemplate, 0) == 1 ? 1 : 0;
}

INT_PTR CTagsMakeDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  SendDlgItemMessage(hwndDlg, kFolder, CB_LIMITTEXT, kFolderLimit, 0);
  SendDlgItemMessage(hwndDlg, kOptions, EM_LIMITTEXT, kOptionsLimit, 0);
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

void CTagsMakeDialog::FillControls() {
  SetDlgItemText(m_hWnd, kFolder, m_szPath);
  CheckDlgButton(m_hWnd, kSubfolders, (m_nTagsOpt & 1) ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemText(m_hWnd, kOptions, m_szTagsCmdLine);
}

int CTagsMakeDialog::ReadControls() {
  GetDlgItemText(m_hWnd, kFolder, m_szPath, sizeof m_szPath);
  // The folder is taken with its final "/" as long as the field holds one.
  if (AppendCharIfMissing(m_szPath, sizeof m_szPath, '/') < 0) return 0;
  m_nTagsOpt = IsDlgButtonChecked(m_hWnd, kSubfolders) == BST_CHECKED ? 1 : 0;
  GetDlgItemText(m_hWnd, kOptions, m_szTagsCmdLine, sizeof m_szTagsCmdLine);
  if (m_pShareData) {
    m_pShareData->nTagsOpt = m_nTagsOpt;
    CopyWholeChars(m_pShareData->szTagsCmdLine, sizeof m_pShareData->szTagsCmdLine, m_szTagsCmdLine);
  }
  return 1;
}

INT_PTR CTagsMakeDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case kBrowse: {
      char current[kFolderLimit + 1] = {};
      GetDlgItemText(m_hWnd, kFolder, current, sizeof current);
      std::string chosen;
      if (SelectFolderDialog(m_hWnd, "タグ作成フォルダの選択"_sj, current, chosen)) {
        AddTrailingBackslash(chosen);
        SetDlgItemText(m_hWnd, kFolder, chosen.c_str());
      }
      return 1;
    }
    case kHelp:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(CommandToHelpId(kTagMakeCommand)));
      return 1;
    case IDOK:
      if (!ReadControls()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 1;
      }
      Close(1);
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return 0;
  }
}

const DWORD* CTagsMakeDialog::GetHelpIds() {
  static const std::array<DWORD, 10> ids = [] {
    const auto topic = static_cast<DWORD>(CommandToHelpId(kTagMakeCommand));
    return std::array<DWORD, 10>{kFolder, topic, kBrowse, topic, kSubfolders, topic, kOptions, topic, 0, 0};
  }();
  return ids.data();
}
