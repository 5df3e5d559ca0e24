#include "editor/view/search/grep_dialog.h"

#include <cstring>
#include <iterator>
#include <mutex>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/file.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kGrepDialogCommand = 30910;
// The combo boxes hold 259 bytes; a confirmed text keeps 258 of them.
constexpr int kComboLimit = kMaxPath - 1;
constexpr int kTextBuffer = kMaxPath - 1;

struct CodeRow {
  const char* label;
  int code;
};
// The code combo's rows and the code each stands for.
const CodeRow kCodeRows[] = {
    {"自動選択"_sj, 99}, {"SJIS", 0},      {"JIS", 1},   {"EUC", 2},
    {"Unicode", 3},      {"UnicodeBE", 6}, {"UTF-8", 4}, {"UTF-7", 5},
};

constexpr DWORD kHelpIds[] = {
    CGrepDialog::kKey,
    kGrepDialogCommand,
    CGrepDialog::kFiles,
    kGrepDialogCommand,
    CGrepDialog::kFolder,
    kGrepDialogCommand,
    CGrepDialog::kSubFolder,
    kGrepDialogCommand,
    CGrepDialog::kRegularExp,
    kGrepDialogCommand,
    CGrepDialog::kCharSet,
    kGrepDialogCommand,
    0,
    0,
};

// A fixed history slot as text, never read past its end.
std::string Slot(const char (&slot)[kMaxPath]) { return std::string(slot, strnlen(slot, kMaxPath)); }

template <size_t N>
std::string FirstEntry(int count, const char (&slots)[N][kMaxPath]) {
  return count > 0 ? Slot(slots[0]) : std::string();
}

template <size_t N>
void FillHistory(HWND dialog, int id, int count, const char (&slots)[N][kMaxPath]) {
  SendDlgItemMessage(dialog, id, CB_RESETCONTENT, 0, 0);
  const int shown = count < 0 ? 0 : (count > static_cast<int>(N) ? static_cast<int>(N) : count);
  for (int i = 0; i < shown; ++i) {
    const std::string text = Slot(slots[i]);
    SendDlgItemMessage(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

std::string ControlText(HWND dialog, int id) {
  char text[kTextBuffer] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

using dlg::Check;
using dlg::Checked;
using dlg::Enable;

// The folder of a file path, ending with "/"; empty for none.
std::string FolderOf(const std::string& path) {
  if (path.empty()) return {};
  std::string folder;
  SplitFolderAndFile(path.c_str(), &folder, nullptr);
  AddTrailingBackslash(folder);
  return folder;
}

std::string NameOf(const std::string& path) {
  std::string name;
  SplitFolderAndFile(path.c_str(), nullptr, &name);
  return name;
}

}  // namespace

HICON LoadGrepIcon(HINSTANCE hInstance, bool bSmall) {
  constexpr int kGrepIconResource = 240;
  return LoadIconFile(hInstance, kGrepIconResource, "my_grepicon.ico", bSmall);
}

bool ResolveGrepFolder(const std::string& typed, std::string* folder) {
  std::string full;
  if (typed.empty() || !GetLongPath(typed.c_str(), full)) return false;
  if (!PathAllows(full, PathMode::kExact, Access::kSearch)) return false;
  AddTrailingBackslash(full);
  if (full.size() >= static_cast<size_t>(kMaxPath)) return false;
  *folder = full;
  return true;
}

void CGrepDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("Grep");
    b.Row([&] {
      b.StaticText(-1, "条件(&N)"_sj).Width(10);
      b.ComboBox(kKey).Width(48);
    });
    b.Row([&] {
      b.StaticText(-1, "ファイル(&F)"_sj).Width(10);
      b.ComboBox(kFiles).Width(36);
      b.CheckBox(kFromThisFile, "現在編集中のファイルから検索(&H)"_sj);
    });
    b.Row([&] {
      b.StaticText(-1, "フォルダ(&D)"_sj).Width(10);
      b.ComboBox(kFolder).Width(36);
      b.PushButton(kBrowse, "参照(&B)..."_sj);
      b.PushButton(kCurrentFolder, "現フォルダ(&C)"_sj);
    });
    b.Row([&] {
      b.CheckBox(kSubFolder, "サブフォルダからも検索(&S)"_sj);
      b.Stretch();
      b.CheckBox(kDefaultFolder, "フォルダの初期値をカレントフォルダにする(&Y)"_sj);
    });
    b.Row([&] {
      b.Group(-1, "検索条件"_sj, [&] {
        b.CheckBox(kWordOnly, "単語単位で探す(&W)"_sj);
        b.CheckBox(kLoHiCase, "英大文字と小文字を区別する(&M)"_sj);
        b.CheckBox(kRegularExp, "正規表現(&E)"_sj);
      });
      b.Group(-1, "結果出力"_sj, [&] {
        b.RadioButton(kOutputLine, "該当行(&L)"_sj).NewGroup();
        b.RadioButton(kOutputMatch, "該当部分(&P)"_sj);
        b.RadioButton(kStyle1, "ノーマル(&1)"_sj).NewGroup();
        b.RadioButton(kStyle2, "ファイル毎(&2)"_sj);
      });
    });
    b.Row([&] {
      b.StaticText(-1, "文字コードセット(&O)"_sj);
      b.DropDownList(kCharSet).Width(16);
    });
    b.Row([&] {
      b.Stretch();
      b.PushButton(IDOK, "検索(&F)"_sj).Default();
      b.PushButton(IDCANCEL, "キャンセル(&X)"_sj);
      b.PushButton(kHelp, "ヘルプ(&H)"_sj);
    });
  });
}

CGrepDialog::CGrepDialog() {
  if (!m_pShareData) return;
  m_szText = FirstEntry(m_pShareData->nSearchKeyCount, m_pShareData->szSearchKeys);
  m_szFile = FirstEntry(m_pShareData->nGrepFileCount, m_pShareData->szGrepFiles);
  m_szFolder = FirstEntry(m_pShareData->nGrepFolderCount, m_pShareData->szGrepFolders);
}

int CGrepDialog::DoModal(HINSTANCE hInstance, HWND hwndParent, const char* pszCurrentFilePath) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  m_szCurrentFilePath = pszCurrentFilePath ? pszCurrentFilePath : "";
  if (m_pShareData) {
    const CommonSettings& common = m_pShareData->Common;
    m_bSubFolder = common.bGrepSubFolder != 0;
    m_bLoHiCase = common.bSearchLoHiCase != 0;
    m_bRegularExp = common.bSearchRegularExp != 0;
    m_bGrepOutputLine = common.bGrepOutputLine != 0;
    m_bWordOnly = common.bSearchWordOnly != 0;
    m_nGrepCharSet = common.nGrepCharSet;
    m_nGrepOutputStyle = common.nGrepOutputStyle == 2 ? 2 : 1;
  }
  return CDialogBase::DoModal(hInstance, hwndParent, kTemplate, 0) == 1 ? 1 : 0;
}

GrepLaunchRequest CGrepDialog::Request() const {
  GrepLaunchRequest request;
  request.key = m_szText;
  request.files = m_szFile;
  request.folder = m_szFolder;
  request.code = m_nGrepCharSet;
  request.subFolder = m_bSubFolder;
  request.loHiCase = m_bLoHiCase;
  request.regularExp = m_bRegularExp;
  request.outputLine = m_bGrepOutputLine;
  request.wordOnly = m_bWordOnly;
  request.outputStyle = m_nGrepOutputStyle;
  return request;
}

INT_PTR CGrepDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  for (const bool small : {true, false}) {
    if (HICON icon = LoadGrepIcon(m_hInstance, small))
      SendMessage(hwndDlg, WM_SETICON, small ? ICON_SMALL : ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  for (const int id : {kKey, kFiles, kFolder}) SendDlgItemMessage(hwndDlg, id, CB_LIMITTEXT, kComboLimit, 0);
  SendDlgItemMessage(hwndDlg, kKey, CB_SETEXTENDEDUI, 1, 0);
  SendDlgItemMessage(hwndDlg, kCharSet, CB_RESETCONTENT, 0, 0);
  for (const CodeRow& row : kCodeRows) {
    const LRESULT index = SendDlgItemMessage(hwndDlg, kCharSet, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.label));
    SendDlgItemMessage(hwndDlg, kCharSet, CB_SETITEMDATA, static_cast<WPARAM>(index), row.code);
  }
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

void CGrepDialog::FillControls() {
  HWND dialog = m_hWnd;
  const bool hasFile = !m_szCurrentFilePath.empty();
  if (m_pShareData) {
    FillHistory(dialog, kKey, m_pShareData->nSearchKeyCount, m_pShareData->szSearchKeys);
    FillHistory(dialog, kFiles, m_pShareData->nGrepFileCount, m_pShareData->szGrepFiles);
    FillHistory(dialog, kFolder, m_pShareData->nGrepFolderCount, m_pShareData->szGrepFolders);
    if (hasFile && (m_pShareData->nGrepFolderCount <= 0 || m_pShareData->Common.bGrepDefaultFolder))
      m_szFolder = FolderOf(m_szCurrentFilePath);
    Check(dialog, kDefaultFolder, m_pShareData->Common.bGrepDefaultFolder != 0);
  }
  SetDlgItemText(dialog, kKey, m_szText.c_str());
  SetDlgItemText(dialog, kFiles, m_szFile.c_str());
  SetDlgItemText(dialog, kFolder, m_szFolder.c_str());

  Check(dialog, kSubFolder, m_bSubFolder);
  Check(dialog, kLoHiCase, m_bLoHiCase);
  Check(dialog, kRegularExp, m_bRegularExp);
  Check(dialog, kWordOnly, m_bWordOnly);
  Enable(dialog, kWordOnly, !m_bRegularExp);
  // Each pair one by one: their ids are not in order, so no range names them.
  Check(dialog, kOutputLine, m_bGrepOutputLine);
  Check(dialog, kOutputMatch, !m_bGrepOutputLine);
  Check(dialog, kStyle1, m_nGrepOutputStyle != 2);
  Check(dialog, kStyle2, m_nGrepOutputStyle == 2);

  const LRESULT rows = SendDlgItemMessage(dialog, kCharSet, CB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < rows; ++row) {
    if (SendDlgItemMessage(dialog, kCharSet, CB_GETITEMDATA, static_cast<WPARAM>(row), 0) == m_nGrepCharSet) {
      SendDlgItemMessage(dialog, kCharSet, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
      break;
    }
  }

  Enable(dialog, kFromThisFile, hasFile);
  if (!hasFile) m_bFromThisText = false;
  Check(dialog, kFromThisFile, m_bFromThisText);
  ApplyFromThisFile();
}

void CGrepDialog::ApplyFromThisFile() {
  HWND dialog = m_hWnd;
  const bool on = Checked(dialog, kFromThisFile) && !m_szCurrentFilePath.empty();
  if (on) {
    SetDlgItemText(dialog, kFiles, ("\"" + NameOf(m_szCurrentFilePath) + "\"").c_str());
    SetDlgItemText(dialog, kFolder, FolderOf(m_szCurrentFilePath).c_str());
    Check(dialog, kSubFolder, false);
  }
  for (const int id : {kFiles, kFolder, kBrowse, kSubFolder}) Enable(dialog, id, !on);
}

void CGrepDialog::SetFolderText(std::string folder) {
  AddTrailingBackslash(folder);
  SetDlgItemText(m_hWnd, kFolder, folder.c_str());
}

INT_PTR CGrepDialog::OnButtonClicked(int wID) {
  HWND dialog = m_hWnd;
  switch (wID) {
    case kHelp:
      WinHelp(dialog, m_szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(CommandToHelpId(kGrepDialogCommand)));
      return 1;
    case kFromThisFile:
      ApplyFromThisFile();
      return 1;
    case kBrowse: {
      std::string start = ControlText(dialog, kFolder);
      if (start.empty()) start = EditorCurrentFolder();
      std::string chosen;
      if (SelectFolderDialog(dialog, "検索するフォルダを選んでください"_sj, start.c_str(), chosen))
        SetFolderText(chosen);
      return 1;
    }
    case kCurrentFolder:
      SetFolderText(m_szCurrentFilePath.empty() ? EditorCurrentFolder() : FolderOf(m_szCurrentFilePath));
      return 1;
    case kRegularExp:
      if (Checked(dialog, kRegularExp)) {
        // Without the library there is no regular expression to search with.
        CRegexpDll probe;
        if (!LoadRegexDllOrWarn(dialog, probe, true)) Check(dialog, kRegularExp, false);
      }
      Enable(dialog, kWordOnly, !Checked(dialog, kRegularExp));
      return 1;
    case kDefaultFolder:
      if (m_pShareData) m_pShareData->Common.bGrepDefaultFolder = Checked(dialog, kDefaultFolder) ? 1 : 0;
      return 1;
    case IDOK:
      if (ReadControls()) Close(1);
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

int CGrepDialog::ReadControls() {
  HWND dialog = m_hWnd;
  m_bSubFolder = Checked(dialog, kSubFolder);
  m_bFromThisText = Checked(dialog, kFromThisFile);
  m_bLoHiCase = Checked(dialog, kLoHiCase);
  m_bRegularExp = Checked(dialog, kRegularExp);
  m_bWordOnly = Checked(dialog, kWordOnly);
  m_bGrepOutputLine = Checked(dialog, kOutputLine);
  m_nGrepOutputStyle = Checked(dialog, kStyle2) ? 2 : 1;
  const LRESULT row = SendDlgItemMessage(dialog, kCharSet, CB_GETCURSEL, 0, 0);
  if (row != CB_ERR)
    m_nGrepCharSet =
        static_cast<int>(SendDlgItemMessage(dialog, kCharSet, CB_GETITEMDATA, static_cast<WPARAM>(row), 0));
  if (m_pShareData) {
    CommonSettings& common = m_pShareData->Common;
    common.bGrepSubFolder = m_bSubFolder;
    common.bSearchRegularExp = m_bRegularExp;
    common.nGrepCharSet = m_nGrepCharSet;
    common.bSearchLoHiCase = m_bLoHiCase;
    common.bGrepOutputLine = m_bGrepOutputLine;
    common.nGrepOutputStyle = m_nGrepOutputStyle;
    common.bSearchWordOnly = m_bWordOnly;
  }

  m_szText = ControlText(dialog, kKey);
  m_szFile = ControlText(dialog, kFiles);
  const std::string typedFolder = ControlText(dialog, kFolder);
  if (m_szFile.empty()) m_szFile = "*.*";
  if (typedFolder.empty()) {
    ShowMessageBox(dialog, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s", "検索対象フォルダを指定してください。"_sj);
    return 0;
  }
  std::string folder;
  if (!ResolveGrepFolder(typedFolder, &folder)) {
    ShowMessageBox(dialog, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s", "検索対象フォルダが正しくありません。"_sj);
    return 0;
  }
  m_szFolder = folder;
  SetDlgItemText(dialog, kFolder, m_szFolder.c_str());

  if (!m_szText.empty()) {
    if (m_bRegularExp &&
        !CheckRegexSyntax(m_szText.c_str(), dialog, true, m_bLoHiCase ? CRegexpDll::kCaseSensitive : 0)) {
      return 0;
    }
    if (CShareData* share = CShareData::GetInstance()) share->AddSearchKey(m_szText.c_str());
  }
  if (CShareData* share = CShareData::GetInstance()) {
    share->AddGrepFile(m_szFile.c_str());
    share->AddGrepFolder(m_szFolder.c_str());
  }
  return 1;
}

const DWORD* CGrepDialog::GetHelpIds() { return kHelpIds; }
