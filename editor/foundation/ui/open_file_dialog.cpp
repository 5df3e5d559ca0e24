#include "editor/foundation/ui/open_file_dialog.h"

#include <cstring>
#include <mutex>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/file_filter_list.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/beep.h"
#include "platform/dialog.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr const char* kTemplateName = "IDD_FILEOPEN";

constexpr int IDC_COMBO_CODE = 1146;
constexpr int IDC_COMBO_MRU = 1167;
constexpr int IDC_COMBO_OPENFOLDER = 1169;
constexpr int IDC_COMBO_EOL = 1147;
constexpr int IDC_STATIC_EOL = 1385;
constexpr int IDC_CHECK_BOM = 1478;

constexpr DWORD kHelpIds[] = {
    IDC_COMBO_CODE, 13103, IDC_COMBO_MRU, 13104, IDC_COMBO_OPENFOLDER, 13105, IDC_COMBO_EOL, 13106, 0, 0,
};

struct CodeRow {
  const char* text;
  int code;
};
constexpr CodeRow kCodeRows[] = {
    {"自動選択"_sj, 99}, {"SJIS", 0},         {"JIS", 1},   {"EUC", 2},
    {"Unicode", 3},     {"UnicodeBE", 6}, {"UTF-8", 4}, {"UTF-7", 5},
};
constexpr CodeRow kEolRows[] = {
    {"変換なし"_sj, CLineEnd::NONE},
    {"CR+LF", CLineEnd::CRLF},
    {"LF (UNIX)", CLineEnd::LF},
    {"CR (Mac)", CLineEnd::CR},
};

struct ErrorName {
  DWORD code;
  const char* name;
};
constexpr ErrorName kErrorNames[] = {
    {CDERR_STRUCTSIZE, "CDERR_STRUCTSIZE     "},      {CDERR_INITIALIZATION, "CDERR_INITIALIZATION "},
    {CDERR_NOTEMPLATE, "CDERR_NOTEMPLATE     "},      {CDERR_NOHINSTANCE, "CDERR_NOHINSTANCE    "},
    {CDERR_LOADSTRFAILURE, "CDERR_LOADSTRFAILURE "},  {CDERR_FINDRESFAILURE, "CDERR_FINDRESFAILURE "},
    {CDERR_LOADRESFAILURE, "CDERR_LOADRESFAILURE "},  {CDERR_LOCKRESFAILURE, "CDERR_LOCKRESFAILURE "},
    {CDERR_MEMALLOCFAILURE, "CDERR_MEMALLOCFAILURE"}, {CDERR_MEMLOCKFAILURE, "CDERR_MEMLOCKFAILURE "},
    {CDERR_NOHOOK, "CDERR_NOHOOK         "},          {FNERR_SUBCLASSFAILURE, "FNERR_SUBCLASSFAILURE"},
    {FNERR_INVALIDFILENAME, "FNERR_INVALIDFILENAME"}, {FNERR_BUFFERTOOSMALL, "FNERR_BUFFERTOOSMALL "},
    {CDERR_DIALOGFAILURE, "CDERR_DIALOGFAILURE  "},
};

// What the dialog running now shares with its hook and the system dialog's procedure.
struct HookShared {
  OPENFILENAME* ofn = nullptr;
  COpenFileDialog* dialog = nullptr;
  HWND hwndStandard = nullptr;
  WNDPROC pPreviousProc = nullptr;
  const char* const* ppszMRU = nullptr;
  const char* const* ppszOPENFOLDER = nullptr;
  int bReadOnly = 0;
  bool bSaveMode = false;
  int nStartCode = 99;
  char szHelpFile[kMaxPath] = {};
  int nHelpContext = 0;
};

HookShared& Shared() {
  static HookShared shared;
  return shared;
}

bool IsBomCode(int code) { return code == 3 || code == 4 || code == 6; }

// A path that does not fit is none: cut, it would name another file.
void CopyPath(char* out, const char* path) {
  const size_t len = ::strnlen(path, kMaxPath);
  if (len < static_cast<size_t>(kMaxPath)) {
    std::memcpy(out, path, len + 1);
  } else {
    out[0] = '\0';
  }
}

// The filters of every dialog but the document's open dialog.
void AddPlainFilters(CFileFilterList& filters, const char* pszUserWildCard) {
  filters.AddEntry("ユーザー指定"_sj, pszUserWildCard);
  filters.AddEntry("テキストファイル"_sj, "*.txt");
  filters.AddEntry("すべてのファイル"_sj, "*.*");
}


// The folder a path starts the dialog in: an existing folder is its own, otherwise the part
// before its last "/" (ending with "/").
std::string StartFolderOf(const char* pszPath) {
  std::string folder;
  std::string name;
  SplitPath(pszPath, nullptr, &folder, &name, nullptr);
  if (!folder.empty()) return folder;
  SplitFolderAndFile(pszPath, &folder, nullptr);
  AddTrailingBackslash(folder);
  return folder;
}

std::string SelectedText(HWND combo) {
  const LRESULT sel = SendMessage(combo, CB_GETCURSEL, 0, 0);
  if (sel < 0) return {};
  const LRESULT len = SendMessage(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
  if (len <= 0) return {};
  std::string text(static_cast<size_t>(len) + 1, '\0');
  SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  return text;
}

void FillList(HWND combo, const char* const* items) {
  for (; items && *items; ++items) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(*items));
}

void StoreDialogRect(HWND hwndStandard, SharedSettings* share) {
  if (hwndStandard && share) GetWindowRect(hwndStandard, &share->Common.rcOpenDialog);
}

}  // namespace

COpenFileDialog::COpenFileDialog() {
  CShareData* share = CShareData::GetInstance();
  m_pShareData = share ? share->GetShareData() : nullptr;
  const std::string folder = CShareData::ExecutableFolder();
  if (folder.size() < sizeof m_szInitialDir) std::memcpy(m_szInitialDir, folder.c_str(), folder.size() + 1);
}

void COpenFileDialog::RegisterTemplates() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    RegisterDialogTemplate(kTemplateName, [](DialogBuilder& b) {
      b.Row([&] {
        b.StaticText(-1, "文字コードセット(&C):"_sj).Width(16);
        b.DropDownList(IDC_COMBO_CODE).Width(14);
        b.StaticText(IDC_STATIC_EOL, "改行コード(&L):"_sj);
        b.DropDownList(IDC_COMBO_EOL).Width(12);
        b.CheckBox(IDC_CHECK_BOM, "BOM(&B)");
        b.Stretch();
      });
      b.Row([&] {
        b.StaticText(-1, "最近のファイル(&F):"_sj).Width(16);
        b.DropDownList(IDC_COMBO_MRU).Width(50);
      });
      b.Row([&] {
        b.StaticText(-1, "最近のフォルダー(&D):"_sj).Width(16);
        b.DropDownList(IDC_COMBO_OPENFOLDER).Width(50);
      });
    });
  });
}

void COpenFileDialog::Setup(HINSTANCE hInstance, HWND hwndParent, const char* pszUserWildCard,
                            const char* pszDefaultPath, const char* const* ppszMRU,
                            const char* const* ppszOPENFOLDER) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  if (pszUserWildCard) CopyWholeChars(m_szDefaultWildCard, sizeof m_szDefaultWildCard, pszUserWildCard);
  if (pszDefaultPath && *pszDefaultPath) {
    const std::string folder = StartFolderOf(pszDefaultPath);
    // A start folder that would not fit is none: never a cut path that names another folder.
    if (folder.size() < sizeof m_szInitialDir) {
      std::memcpy(m_szInitialDir, folder.c_str(), folder.size() + 1);
    } else {
      m_szInitialDir[0] = '\0';
    }
  }
  Shared().ppszMRU = ppszMRU;
  Shared().ppszOPENFOLDER = ppszOPENFOLDER;
}

void COpenFileDialog::InitOpenFileName(char* pszFile, const char* pszFilter) {
  m_ofn = OPENFILENAME{};
  m_ofn.lStructSize = sizeof(OPENFILENAME);
  m_ofn.hwndOwner = m_hwndParent;
  m_ofn.hInstance = m_hInstance;
  m_ofn.lpstrFilter = pszFilter;
  m_ofn.nFilterIndex = 1;
  m_ofn.lpstrFile = pszFile;
  m_ofn.nMaxFile = kMaxPath;
  m_ofn.lpstrInitialDir = m_szInitialDir;
  m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
  m_ofn.lpfnHook = FileDialogHookProc;
  m_ofn.lpTemplateName = kTemplateName;
}

// Runs the prepared call on a copy of the path, which comes back only with a choice.
bool COpenFileDialog::Run(bool bSave, char* pszPath) {
  RegisterTemplates();
  HookShared& shared = Shared();
  shared.ofn = &m_ofn;
  shared.dialog = this;
  shared.hwndStandard = nullptr;
  shared.bSaveMode = bSave;
  shared.nStartCode = m_nCharCode;
  GetHelpFilePath(shared.szHelpFile, sizeof shared.szHelpFile);
  const BOOL chosen = bSave ? GetSaveFileName(&m_ofn) : GetOpenFileName(&m_ofn);
  shared.ofn = nullptr;
  shared.dialog = nullptr;
  if (!chosen) {
    ReportError();
    return false;
  }
  std::memcpy(pszPath, m_ofn.lpstrFile, std::strlen(m_ofn.lpstrFile) + 1);
  return true;
}

void COpenFileDialog::ReportError() {
  const DWORD code = CommDlgExtendedError();
  if (code == 0) return;
  const char* name = "UNKNOWN_ERRORCODE";
  for (const ErrorName& e : kErrorNames) {
    if (e.code == code) name = e.name;
  }
  MessageBeep(MB_ICONHAND);
  ShowMessageBox(m_hwndParent, MB_TOPMOST | MB_ICONHAND, "tovara", "ダイアログが開けません。\n\nエラー:%s"_sj, name);
}

bool COpenFileDialog::SelectOpenPath(char* pszPath, bool /*bKeepFolder*/) {
  if (!pszPath) return false;
  CFileFilterList filters;
  AddPlainFilters(filters, m_szDefaultWildCard);
  // The name field shows a file's path; a folder (or a path without a name) leaves it empty.
  char szFile[kMaxPath] = {};
  std::string name;
  SplitFolderAndFile(pszPath, nullptr, &name);
  if (!name.empty() && !(IsExistingFile(pszPath, false) && !IsExistingFile(pszPath, true))) {
    CopyPath(szFile, pszPath);
  }
  InitOpenFileName(szFile, filters.BuildFilterString());
  m_ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  return Run(false, pszPath);
}

bool COpenFileDialog::SelectSavePath(char* pszPath, bool /*bKeepFolder*/) {
  if (!pszPath) return false;
  CFileFilterList filters;
  AddPlainFilters(filters, m_szDefaultWildCard);
  char szFile[kMaxPath] = {};
  CopyPath(szFile, pszPath);
  InitOpenFileName(szFile, filters.BuildFilterString());
  m_ofn.Flags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  return Run(true, pszPath);
}

bool COpenFileDialog::RunOpenDialog(char* pszPath, int* pnCharCode, bool* pbReadOnly) {
  if (!pszPath) return false;
  CFileFilterList filters;
  filters.AddEntry("すべてのファイル"_sj, "*.*");
  filters.AddEntry("テキストファイル"_sj, "*.txt");
  if (m_pShareData) {
    for (const TypeSettings& type : m_pShareData->TypeList) {
      // The record is shared with other processes: its texts are read within their fields.
      const std::string name(type.szTypeName, ::strnlen(type.szTypeName, sizeof type.szTypeName));
      const std::string exts(type.szTypeExts, ::strnlen(type.szTypeExts, sizeof type.szTypeExts));
      filters.AddExtensions(name.c_str(), exts.c_str());
    }
  }
  char szFile[kMaxPath] = {};
  InitOpenFileName(szFile, filters.BuildFilterString());
  const bool readOnly = pbReadOnly && *pbReadOnly;
  m_ofn.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE |
                OFN_ENABLEHOOK | OFN_SHOWHELP | (readOnly ? OFN_READONLY : 0);
  m_nCharCode = 99;
  m_bUseEol = 0;
  m_bUseBom = 0;
  Shared().bReadOnly = readOnly ? 1 : 0;
  Shared().nHelpContext = CommandToHelpId(30102);
  if (!Run(false, pszPath)) return false;
  if (pnCharCode) *pnCharCode = m_nCharCode;
  if (pbReadOnly) *pbReadOnly = Shared().bReadOnly != 0;
  return true;
}

bool COpenFileDialog::RunSaveDialog(char* pszPath, int* pnCharCode, CLineEnd* pcEol, bool* pbBom) {
  if (!pszPath) return false;
  CFileFilterList filters;
  AddPlainFilters(filters, m_szDefaultWildCard);
  char szFile[kMaxPath] = {};
  CopyPath(szFile, pszPath);
  InitOpenFileName(szFile, filters.BuildFilterString());
  m_ofn.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_SHOWHELP |
                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (pnCharCode || pcEol) m_ofn.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
  if (pnCharCode) m_nCharCode = *pnCharCode;
  m_bUseEol = pcEol ? 1 : 0;
  m_cEol.Set(CLineEnd::NONE);
  m_bUseBom = pbBom ? 1 : 0;
  m_bBom = pbBom && *pbBom ? 1 : 0;
  Shared().bReadOnly = 0;
  Shared().nHelpContext = CommandToHelpId(30104);
  if (!Run(true, pszPath)) return false;
  if (pnCharCode) *pnCharCode = m_nCharCode;
  if (pcEol) *pcEol = m_cEol;
  if (pbBom) *pbBom = m_bBom != 0;
  return true;
}

INT_PTR COpenFileDialog::FileDialogHookProc(HWND hdlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HookShared& shared = Shared();
  switch (uMsg) {
    case WM_INITDIALOG: {
      SetWindowLongPtr(hdlg, DWLP_USER, lParam);
      auto* ofn = reinterpret_cast<OPENFILENAME*>(lParam);
      COpenFileDialog* self = reinterpret_cast<COpenFileDialog*>(ofn->lCustData);
      shared.ofn = ofn;
      shared.dialog = self;
      shared.hwndStandard = GetFileDialog(hdlg);
      const HWND hwndCode = GetDlgItem(hdlg, IDC_COMBO_CODE);
      const HWND hwndMru = GetDlgItem(hdlg, IDC_COMBO_MRU);
      const HWND hwndFolders = GetDlgItem(hdlg, IDC_COMBO_OPENFOLDER);
      const HWND hwndEol = GetDlgItem(hdlg, IDC_COMBO_EOL);
      for (HWND combo : {hwndCode, hwndMru, hwndFolders, hwndEol}) SendMessage(combo, CB_SETEXTENDEDUI, 1, 0);

      if (self->m_bUseEol) {
        for (const CodeRow& row : kEolRows) {
          const auto i = SendMessage(hwndEol, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text));
          SendMessage(hwndEol, CB_SETITEMDATA, static_cast<WPARAM>(i), row.code);
        }
        SendMessage(hwndEol, CB_SETCURSEL, 0, 0);
      } else {
        ShowWindow(hwndEol, SW_HIDE);
        ShowWindow(GetDlgItem(hdlg, IDC_STATIC_EOL), SW_HIDE);
      }
      const HWND hwndBom = GetDlgItem(hdlg, IDC_CHECK_BOM);
      if (self->m_bUseBom) {
        const bool usable = IsBomCode(self->m_nCharCode);
        EnableWindow(hwndBom, usable ? 1 : 0);
        CheckDlgButton(hdlg, IDC_CHECK_BOM, usable && self->m_bBom ? BST_CHECKED : BST_UNCHECKED);
      } else {
        ShowWindow(hwndBom, SW_HIDE);
      }

      if (shared.hwndStandard) {
        shared.pPreviousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
            shared.hwndStandard, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&COpenFileDialog::FileDialogParentProc)));
      }

      int selected = 0;
      const int firstRow = shared.bSaveMode ? 1 : 0;
      for (int row = firstRow; row < static_cast<int>(std::size(kCodeRows)); ++row) {
        const auto i = SendMessage(hwndCode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kCodeRows[row].text));
        SendMessage(hwndCode, CB_SETITEMDATA, static_cast<WPARAM>(i), kCodeRows[row].code);
        if (kCodeRows[row].code == self->m_nCharCode) selected = row - firstRow;
      }
      SendMessage(hwndCode, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);

      CheckDlgButton(shared.hwndStandard, kFileDialogReadOnly, shared.bReadOnly ? BST_CHECKED : BST_UNCHECKED);
      FillList(hwndMru, shared.ppszMRU);
      FillList(hwndFolders, shared.ppszOPENFOLDER);
      return 1;
    }

    case WM_COMMAND: {
      COpenFileDialog* self = shared.dialog;
      if (!self || HIWORD(wParam) != CBN_SELCHANGE) return 0;
      const int id = LOWORD(wParam);
      const HWND combo = reinterpret_cast<HWND>(lParam);
      if (id == IDC_COMBO_CODE) {
        if (!self->m_bUseBom) return 0;
        const LRESULT sel = SendMessage(combo, CB_GETCURSEL, 0, 0);
        const int code = sel < 0 ? -1 : static_cast<int>(SendMessage(combo, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
        const HWND hwndBom = GetDlgItem(hdlg, IDC_CHECK_BOM);
        if (IsBomCode(code)) {
          EnableWindow(hwndBom, 1);
          // The value given stays for the code the dialog started with; otherwise the usual one:
          // a mark for UTF-16, none for UTF-8.
          const bool mark = code == shared.nStartCode ? self->m_bBom != 0 : code != 4;
          CheckDlgButton(hdlg, IDC_CHECK_BOM, mark ? BST_CHECKED : BST_UNCHECKED);
        } else {
          EnableWindow(hwndBom, 0);
          CheckDlgButton(hdlg, IDC_CHECK_BOM, BST_UNCHECKED);
        }
        return 0;
      }
      if (id == IDC_COMBO_MRU || id == IDC_COMBO_OPENFOLDER) {
        const std::string text = SelectedText(combo);
        SetDlgItemText(shared.hwndStandard, kFileDialogName, text.c_str());
        // Enter on the name moves the dialog into the folder.
        if (id == IDC_COMBO_OPENFOLDER) {
          PostMessage(GetDlgItem(shared.hwndStandard, kFileDialogName), WM_KEYDOWN, VK_RETURN, 0);
        }
      }
      return 0;
    }

    case WM_NOTIFY: {
      auto* notify = reinterpret_cast<OFNOTIFY*>(lParam);
      COpenFileDialog* self = shared.dialog;
      if (!self || !notify || notify->hdr.code != CDN_FILEOK) return 0;
      const HWND hwndCode = GetDlgItem(hdlg, IDC_COMBO_CODE);
      const LRESULT sel = SendMessage(hwndCode, CB_GETCURSEL, 0, 0);
      if (sel >= 0) self->m_nCharCode = static_cast<int>(SendMessage(hwndCode, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
      if (self->m_bUseEol) {
        const HWND hwndEol = GetDlgItem(hdlg, IDC_COMBO_EOL);
        const LRESULT eol = SendMessage(hwndEol, CB_GETCURSEL, 0, 0);
        if (eol >= 0) self->m_cEol.Set(static_cast<int32_t>(SendMessage(hwndEol, CB_GETITEMDATA, static_cast<WPARAM>(eol), 0)));
      }
      if (self->m_bUseBom) self->m_bBom = IsDlgButtonChecked(hdlg, IDC_CHECK_BOM) == BST_CHECKED ? 1 : 0;
      return 0;
    }

    case WM_SIZE:
      if (shared.dialog) StoreDialogRect(shared.hwndStandard, shared.dialog->m_pShareData);
      return 0;

    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      if (info) WinHelp(info->hItemHandle, shared.szHelpFile, HELP_WM_HELP, reinterpret_cast<uintptr_t>(kHelpIds));
      return 1;
    }
    case WM_CONTEXTMENU:
      WinHelp(reinterpret_cast<HWND>(wParam), shared.szHelpFile, HELP_CONTEXTMENU, reinterpret_cast<uintptr_t>(kHelpIds));
      return 1;

    case WM_DESTROY:
      if (shared.hwndStandard && shared.pPreviousProc) {
        SetWindowLongPtr(shared.hwndStandard, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shared.pPreviousProc));
      }
      shared.hwndStandard = nullptr;
      shared.pPreviousProc = nullptr;
      return 0;

    default:
      return 0;
  }
}

LRESULT COpenFileDialog::FileDialogParentProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HookShared& shared = Shared();
  switch (uMsg) {
    case WM_MOVE:
      if (shared.dialog) StoreDialogRect(hwnd, shared.dialog->m_pShareData);
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kFileDialogHelp) {
        WinHelp(hwnd, shared.szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(shared.nHelpContext));
      } else if (LOWORD(wParam) == kFileDialogReadOnly) {
        shared.bReadOnly = IsDlgButtonChecked(hwnd, kFileDialogReadOnly) == BST_CHECKED ? 1 : 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProc(shared.pPreviousProc, hwnd, uMsg, wParam, lParam);
}
