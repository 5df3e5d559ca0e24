#include "editor/view/search/tag_jump_list_dialog.h"

#include <array>
#include <cstring>
#include <mutex>
#include <string_view>

#include "editor/foundation/settings/recent_list.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/search/tags_file.h"
#include "platform/sjis_literal.h"
#include "platform/timer.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kKeywordLimit = 259;
constexpr int kTagJumpCommand = 30942;

struct Column {
  const char* title;
  int percent;
};

const Column kColumns[] = {
    {"キーワード"_sj, 19}, {"階層"_sj, 6}, {"行番号"_sj, 8}, {"種類"_sj, 9}, {"ファイル名"_sj, 35}, {"備考"_sj, 20},
};

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && SjisMemICmp(a.data(), b.data(), static_cast<int>(a.size())) == 0;
}

void InsertRow(HWND list, int row, const std::string (&cells)[6]) {
  LVITEM item;
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = const_cast<char*>(cells[0].c_str());
  item.lParam = row;
  SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  for (int c = 1; c < 6; ++c) {
    LVITEM sub;
    sub.iSubItem = c;
    sub.pszText = const_cast<char*>(cells[c].c_str());
    SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
  }
}

}  // namespace

void CTagJumpListDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("タグジャンプリスト"_sj);
    b.Resizable();
    b.Row([&] {
      b.StaticText(kKeywordLabel, "キーワード(&K):"_sj);
      b.ComboBox(kKeyword).Width(30);
      b.CheckBox(kIgnoreCase, "英大文字小文字を同一視(&I)"_sj);
      b.CheckBox(kAnywhere, "文字列の途中にマッチ(&A)"_sj);
      b.Stretch();
    });
    b.ListView(kList).Width(90).Lines(14);
    b.Row([&] {
      b.Stretch();
      b.PushButton(IDOK, "OK").Default();
      b.PushButton(IDCANCEL, "キャンセル"_sj);
      b.PushButton(kHelp, "ヘルプ(&H)"_sj);
    });
  });
}

CTagJumpListDialog::CTagJumpListDialog() = default;

CTagJumpListDialog::~CTagJumpListDialog() { StopSearchTimer(); }

INT_PTR CTagJumpListDialog::DoModal(HINSTANCE hInstance, HWND hwndParent, bool bKeywordMode) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  m_bKeywordMode = bKeywordMode;
  if (m_pShareData) {
    m_bTagJumpICase = m_pShareData->m_bTagJumpICase;
    m_bTagJumpAnyWhere = m_pShareData->m_bTagJumpAnyWhere;
  }
  const INT_PTR result = CDialogBase::DoModal(hInstance, hwndParent, kTemplate, 0);
  // A dialog that never ran, or was ended any other way, chose nothing.
  return result == 1 ? 1 : 0;
}

void CTagJumpListDialog::SetFileName(const char* pszPath) {
  m_strFilePath = pszPath ? pszPath : "";
  m_nDepth = TagsBaseDepth(m_strFilePath);
}

void CTagJumpListDialog::SetKeyword(const char* pszKeyword) { m_strKeyword = pszKeyword ? pszKeyword : ""; }

bool CTagJumpListDialog::AddParam(const char* pszKeyword, const char* pszFile, int nLine, int nType,
                                  const char* pszNote, int nDepth) {
  if (!m_cList.Add(pszKeyword, pszFile, nLine, nType, pszNote, nDepth)) return false;
  if (m_nIndex < 0) m_nIndex = 0;
  return true;
}

bool CTagJumpListDialog::GetSelectedParam(char* pszKeyword, char* pszFile, int* pnLine, int* pnType, char* pszNote,
                                          int* pnDepth) const {
  return m_cList.GetAt(m_nIndex, pszKeyword, pszFile, pnLine, pnType, pszNote, pnDepth);
}

INT_PTR CTagJumpListDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  const HWND list = GetDlgItem(hwndDlg, kList);
  for (int c = 0; c < 6; ++c) {
    LVCOLUMN column;
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | LVCF_PERCENT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[c].percent;
    column.pszText = const_cast<char*>(kColumns[c].title);
    column.iSubItem = c;
    SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

  if (m_bKeywordMode) {
    const HWND combo = GetDlgItem(hwndDlg, kKeyword);
    SendMessage(combo, CB_LIMITTEXT, kKeywordLimit, 0);
    if (m_pShareData) {
      CRecentList history;
      if (history.BindToShareData(m_pShareData, CRecentList::kTagJumpKeywords)) {
        for (int i = 0; i < history.GetCount(); ++i) {
          if (const char* item = history.GetItem(i)) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
      }
    }
    if (!m_strKeyword.empty()) {
      SetWindowText(combo, m_strKeyword.c_str());
    } else if (SendMessage(combo, CB_GETCOUNT, 0, 0) > 0) {
      SendMessage(combo, CB_SETCURSEL, 0, 0);
    }
    CheckDlgButton(hwndDlg, kIgnoreCase, m_bTagJumpICase ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwndDlg, kAnywhere, m_bTagJumpAnyWhere ? BST_CHECKED : BST_UNCHECKED);
    StartSearchTimer();
  } else {
    for (const int id : {kKeywordLabel, kKeyword, kIgnoreCase, kAnywhere}) ShowWindow(GetDlgItem(hwndDlg, id), SW_HIDE);
    UpdateData();
  }

  CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
  // The keyword takes the typing in keyword mode; the list otherwise.
  SetFocus(GetDlgItem(hwndDlg, m_bKeywordMode ? kKeyword : kList));
  return 0;
}

INT_PTR CTagJumpListDialog::OnDestroy() {
  StopSearchTimer();
  return CDialogBase::OnDestroy();
}

void CTagJumpListDialog::StartSearchTimer() {
  if (!m_hWnd) return;
  m_nTimerId = SetTimer(m_hWnd, kSearchTimer, kSearchDelay, nullptr);
}

void CTagJumpListDialog::StopSearchTimer() {
  if (m_nTimerId != 0 && m_hWnd) KillTimer(m_hWnd, m_nTimerId);
  m_nTimerId = 0;
}

INT_PTR CTagJumpListDialog::OnTimer(WPARAM wParam) {
  if (wParam != kSearchTimer) return 1;
  StopSearchTimer();
  RunKeywordSearch();
  return 1;
}

void CTagJumpListDialog::RunKeywordSearch() {
  char keyword[kKeywordLimit + 1] = {};
  GetDlgItemText(m_hWnd, kKeyword, keyword, sizeof keyword);
  m_bTagJumpICase = IsDlgButtonChecked(m_hWnd, kIgnoreCase) == BST_CHECKED;
  m_bTagJumpAnyWhere = IsDlgButtonChecked(m_hWnd, kAnywhere) == BST_CHECKED;
  FindTagsByKeyword(m_strFilePath, keyword, m_bTagJumpICase != 0, m_bTagJumpAnyWhere != 0, m_cList);
  m_nIndex = m_cList.GetCount() > 0 ? 0 : -1;
  UpdateData();
}

int CTagJumpListDialog::InitialSelection() const {
  std::string_view baseName;
  std::string_view baseExt;
  SplitTagFileName(m_strFilePath, &baseName, &baseExt);
  char file[260];
  int sameName = -1;
  for (int i = 0; i < m_cList.GetCount(); ++i) {
    if (!m_cList.GetAt(i, nullptr, file, nullptr, nullptr, nullptr, nullptr)) break;
    std::string_view name;
    std::string_view ext;
    SplitTagFileName(file, &name, &ext);
    if (!SameNoCase(name, baseName)) continue;
    if (SameNoCase(ext, baseExt)) return i;
    if (sameName < 0) sameName = i;
  }
  return sameName >= 0 ? sameName : 0;
}

void CTagJumpListDialog::UpdateData() {
  const HWND list = GetDlgItem(m_hWnd, kList);
  SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
  char keyword[260];
  char file[260];
  char note[260];
  int line = 0;
  int type = 0;
  int depth = 0;
  int row = 0;
  for (; m_cList.GetAt(row, keyword, file, &line, &type, note, &depth); ++row) {
    const std::string cells[6] = {keyword,
                                  std::to_string(depth),
                                  std::to_string(line),
                                  std::string(TagKindName(file, type)),
                                  file,
                                  note};
    InsertRow(list, row, cells);
  }
  if (m_cList.IsDropped()) {
    const std::string cells[6] = {"(通知)"_sj, "", "", "", "(これ以降は切り捨てました)"_sj, ""};
    InsertRow(list, row, cells);
  }
  if (m_cList.GetCount() == 0) return;
  const int selected = InitialSelection();
  LVITEM state;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
  SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), 0);
}

void CTagJumpListDialog::Choose() {
  StopSearchTimer();
  const HWND list = GetDlgItem(m_hWnd, kList);
  const int row = static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  // The notice row, or no row, chooses nothing.
  if (row < 0 || row >= m_cList.GetCount()) {
    m_nIndex = -1;
    Close(0);
    return;
  }
  m_nIndex = row;
  if (m_bKeywordMode && m_pShareData) {
    m_pShareData->m_bTagJumpICase = IsDlgButtonChecked(m_hWnd, kIgnoreCase) == BST_CHECKED;
    m_pShareData->m_bTagJumpAnyWhere = IsDlgButtonChecked(m_hWnd, kAnywhere) == BST_CHECKED;
    char keyword[kKeywordLimit + 1] = {};
    GetDlgItemText(m_hWnd, kKeyword, keyword, sizeof keyword);
    m_strKeyword = keyword;
    if (CShareData* share = CShareData::GetInstance()) {
      CShareData::RecordLock lock(*share);
      CRecentList history;
      if (history.BindToShareData(m_pShareData, CRecentList::kTagJumpKeywords)) history.AppendItem(keyword);
    }
  }
  Close(1);
}

INT_PTR CTagJumpListDialog::OnButtonClicked(int wID) {
  switch (wID) {
    case IDOK:
      Choose();
      return 1;
    case IDCANCEL:
      StopSearchTimer();
      m_nIndex = -1;
      Close(0);
      return 1;
    case kHelp:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(CommandToHelpId(kTagJumpCommand)));
      return 1;
    case kIgnoreCase:
    case kAnywhere:
      StartSearchTimer();
      return 1;
    default:
      return 0;
  }
}

INT_PTR CTagJumpListDialog::OnNotify(WPARAM wParam, LPARAM lParam) {
  const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (!hdr || static_cast<int>(wParam) != kList || hdr->code != NM_DBLCLK) return 0;
  const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
  if (activate->iItem >= 0 && activate->iItem < m_cList.GetCount()) Choose();
  return 1;
}

INT_PTR CTagJumpListDialog::OnSelChange(HWND, int wID) {
  if (wID == kKeyword && m_bKeywordMode) StartSearchTimer();
  return 0;
}

INT_PTR CTagJumpListDialog::OnComboEditChange(HWND, int wID) {
  if (wID == kKeyword && m_bKeywordMode) StartSearchTimer();
  return 0;
}

const DWORD* CTagJumpListDialog::GetHelpIds() {
  static const std::array<DWORD, 12> ids = [] {
    const auto topic = static_cast<DWORD>(CommandToHelpId(kTagJumpCommand));
    return std::array<DWORD, 12>{kList, topic, kKeyword, topic, kIgnoreCase, topic, kAnywhere, topic, kHelp, topic, 0, 0};
  }();
  return ids.data();
}
