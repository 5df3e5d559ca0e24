#include "editor/view/outline/function_list_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

constexpr int kCutCommand = 30601;
constexpr int kCopyCommand = 30602;
constexpr int kBookmarkSetCommand = 30970;
constexpr int kReDrawCommand = 31360;
// The outline command's mode that parses again even when the dialog shows the same outline.
constexpr LPARAM kRefreshMode = 1;
// clang-format off
constexpr DWORD kHelpIds[] = {
    CFuncListDialog::kCopy, 12200, IDOK, 12201, IDCANCEL, 12202, CFuncListDialog::kHelp, 12203,
    CFuncListDialog::kAutoClose, 12204, CFuncListDialog::kList, 12205, CFuncListDialog::kTree, 12206,
    CFuncListDialog::kFocusOnJump, 12207, CFuncListDialog::kMarkUpBlank, 12208, CFuncListDialog::kSortCombo, 12209,
    0, 0
};
// clang-format on

void SetColumnTitle(HWND list, int column, const char* title) {
  LVCOLUMN header;
  header.mask = LVCF_TEXT;
  header.pszText = const_cast<char*>(title);
  SendMessage(list, LVM_SETCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
}

}  // namespace

void CFuncListDialog::RegisterTemplate() {
  RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("アウトライン解析"_sj);
    b.Resizable();
    b.Row([&] {
      b.StaticText(kSortLabel, "ソート(&S)"_sj);
      b.DropDownList(kSortCombo);
      b.Stretch();
    });
    b.Overlay([&] {
      b.ListView(kList).Width(60).Lines(16);
      b.TreeView(kTree).Width(60).Lines(16);
    });
    b.Row([&] {
      b.CheckBox(kRememberPos, "位置と大きさを記憶(&R)"_sj);
      b.Stretch();
      b.PushButton(kCopy, "コピー(&C)"_sj);
      b.PushButton(IDOK, "ジャンプ(&J)"_sj).Default();
      b.PushButton(IDCANCEL, "閉じる(&X)"_sj);
      b.PushButton(kHelp, "ヘルプ(&H)"_sj);
    });
    b.Row([&] {
      b.CheckBox(kAutoClose, "ジャンプで閉じる(&L)"_sj);
      b.CheckBox(kFocusOnJump, "ジャンプでフォーカス移動(&F)"_sj);
      b.CheckBox(kMarkUpBlank, "空行を無視(&B)"_sj);
      b.Stretch();
    });
  });
}

HWND CFuncListDialog::Open(HINSTANCE hInstance, HWND hwndParent, CEditView* pane, COutlineItemList* list, int nCurLine,
                           int nOutlineType, bool bLineNumIsCRLF) {
  static std::once_flag registered;
  std::call_once(registered, RegisterTemplate);
  // The settings of the record attached now (the object may be older than the attachment).
  if (CShareData* share = CShareData::GetInstance()) m_pShareData = share->GetShareData();
  m_pcEditView = pane;
  m_pcFuncInfoArr = list;
  m_nCurLine = nCurLine;
  m_nOutlineType = nOutlineType;
  m_bLineNumIsCRLF = bLineNumIsCRLF;
  m_bWaitTreeProcess = false;
  return DoModeless(hInstance, hwndParent, kTemplate, 0, SW_SHOW);
}

void CFuncListDialog::Redraw(int nOutlineType, COutlineItemList* list, int nCurLine) {
  m_nOutlineType = nOutlineType;
  m_pcFuncInfoArr = list;
  m_nCurLine = nCurLine;
  if (m_hWnd) FillList();
}

INT_PTR CFuncListDialog::OnInitDialog(HWND hwndDlg, WPARAM wParam, LPARAM lParam) {
  m_hWnd = hwndDlg;
  const HWND list = GetDlgItem(hwndDlg, kList);
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  static const std::pair<const char*, int> kColumns[] = {{"行"_sj, 15}, {"関数名"_sj, 55}, {"", 30}};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMN column;
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | LVCF_PERCENT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[c].second;
    column.pszText = const_cast<char*>(kColumns[c].first);
    column.iSubItem = c;
    SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  const HWND combo = GetDlgItem(hwndDlg, kSortCombo);
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("デフォルト"_sj));
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("アルファベット順"_sj));

  POINT origin{};
  if (m_pShareData && m_pShareData->Common.bRememberOutlineWindowPos && m_pShareData->Common.widthOutlineWindow > 0 &&
      m_pShareData->Common.heightOutlineWindow > 0 && FrameOrigin(&origin)) {
    const CommonSettings& c = m_pShareData->Common;
    m_nWidth = c.widthOutlineWindow;
    m_nHeight = c.heightOutlineWindow;
    m_nXPos = origin.x + c.xOutlineWindowPos;
    m_nYPos = origin.y + c.yOutlineWindowPos;
  }
  return CDialogBase::OnInitDialog(hwndDlg, wParam, lParam);
}

INT_PTR CFuncListDialog::OnDestroy() {
  POINT origin{};
  WINDOWPLACEMENT placement;
  placement.length = sizeof placement;
  if (m_pShareData && m_pShareData->Common.bRememberOutlineWindowPos && FrameOrigin(&origin) &&
      GetWindowPlacement(m_hWnd, &placement)) {
    CommonSettings& c = m_pShareData->Common;
    const RECT& rc = placement.rcNormalPosition;
    c.widthOutlineWindow = rc.right - rc.left;
    c.heightOutlineWindow = rc.bottom - rc.top;
    c.xOutlineWindowPos = rc.left - origin.x;
    c.yOutlineWindowPos = rc.top - origin.y;
  }
  m_bWaitTreeProcess = false;
  return CDialogBase::OnDestroy();
}

bool CFuncListDialog::FrameOrigin(POINT* origin) const {
  const IEditWindow* frame = m_pcEditView ? m_pcEditView->EditWindow() : nullptr;
  const HWND window = frame ? frame->Window() : nullptr;
  if (!window) return false;
  WINDOWPLACEMENT placement;
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return false;
  origin->x = placement.rcNormalPosition.left;
  origin->y = placement.rcNormalPosition.top;
  return true;
}

INT_PTR CFuncListDialog::OnSize(WPARAM wParam, LPARAM lParam) {
  // The template's rows keep the check boxes at the bottom, the buttons above them and the list
  // or tree filling the rest; the base keeps the placement.
  return CDialogBase::OnSize(wParam, lParam);
}

void CFuncListDialog::SortList(int nColumn) {
  m_nSortCol = std::clamp(nColumn, 0, 2);
  const HWND list = GetDlgItem(m_hWnd, kList);
  const bool bookmarks = m_nOutlineType == outline_type::kBookmarks;
  const char* name = bookmarks ? "テキスト"_sj : "関数名"_sj;
  const char* nameSorted = bookmarks ? "テキスト *"_sj : "関数名 *"_sj;
  SetColumnTitle(list, 0, m_nSortCol == 0 ? "行 *"_sj : "行"_sj);
  SetColumnTitle(list, 1, m_nSortCol == 1 ? nameSorted : name);
  SetColumnTitle(list, 2, m_nSortCol == 2 ? "*" : "");
  SendMessage(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareItems));
  const int rows = static_cast<int>(SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
  if (rows <= 0) return;
  // The last row first, then two rows above the selection: the selection shows near the top.
  SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), 0);
  const int selected = static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected >= 0) SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::max(selected - 2, 0)), 0);
}

int CFuncListDialog::CompareItems(LPARAM first, LPARAM second, LPARAM sortParam) {
  const auto* dialog = reinterpret_cast<const CFuncListDialog*>(sortParam);
  const COutlineItemList* list = dialog ? dialog->m_pcFuncInfoArr : nullptr;
  const COutlineItem* a = list ? list->GetAt(static_cast<int>(first)) : nullptr;
  const COutlineItem* b = list ? list->GetAt(static_cast<int>(second)) : nullptr;
  if (!a || !b) return 0;
  switch (dialog->m_nSortCol) {
    case 1: {
      const std::string_view x = a->m_cName.View();
      const std::string_view y = b->m_cName.View();
      // string_view compares its chars as unsigned bytes (char_traits<char>::compare is memcmp).
      const int c = x.compare(y);
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case 2:
      return a->m_nKind < b->m_nKind ? -1 : (a->m_nKind > b->m_nKind ? 1 : 0);
    default:
      return a->m_nFileLine < b->m_nFileLine ? -1 : (a->m_nFileLine > b->m_nFileLine ? 1 : 0);
  }
}

int CFuncListDialog::CompareTreeOrder(LPARAM first, LPARAM second, LPARAM sortParam) {
  const auto* dialog = reinterpret_cast<const CFuncListDialog*>(sortParam);
  // Scope nodes are numbered apart from the entries; their place is the one they were made at.
  const auto place = [dialog](LPARAM number) -> LPARAM {
    const auto it = dialog->m_treeOrder.find(number);
    return it == dialog->m_treeOrder.end() ? number : it->second;
  };
  const LPARAM a = place(first);
  const LPARAM b = place(second);
  return a < b ? -1 : (a > b ? 1 : 0);
}

void CFuncListDialog::SortTree() {
  const HWND tree = GetDlgItem(m_hWnd, kTree);
  if (m_nSortType == 1) {
    SendMessage(tree, TVM_SORTCHILDREN, 1, reinterpret_cast<LPARAM>(TVI_ROOT));
  } else {
    TVSORTCB sort;
    sort.hParent = TVI_ROOT;
    sort.lpfnCompare = &CompareTreeOrder;
    sort.lParam = reinterpret_cast<LPARAM>(this);
    SendMessage(tree, TVM_SORTCHILDRENCB, 1, reinterpret_cast<LPARAM>(&sort));
  }
}

int CFuncListDialog::ReadControls() {
  if (!m_hWnd || !m_pcFuncInfoArr) return -1;
  LPARAM index = -1;
  if (m_bTreeMode) {
    const HWND tree = GetDlgItem(m_hWnd, kTree);
    const auto selected = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return -1;
    TVITEM item;
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = selected;
    if (!SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    index = item.lParam;
  } else {
    const HWND list = GetDlgItem(m_hWnd, kList);
    const int row = static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return -1;
    LVITEM item;
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    index = item.lParam;
  }
  // Scope nodes carry negative numbers; an index from the controls is checked against the list.
  if (index < 0 || index > INT32_MAX) return -1;
  const COutlineItem* entry = m_pcFuncInfoArr->GetAt(static_cast<int>(index));
  return entry ? entry->m_nFileLine : -1;
}

bool CFuncListDialog::JumpToItem(bool bCloseOrFocus) {
  const int line = ReadControls();
  if (line <= 0) return false;
  const IEditWindow* frame = m_pcEditView ? m_pcEditView->EditWindow() : nullptr;
  const HWND window = frame ? frame->Window() : nullptr;
  CShareData* share = CShareData::GetInstance();
  if (!window || !share || !share->GetShareData()) return false;
  {
    CShareData::ExchangeLock lock(*share);
    WriteExchangePosition(*share->GetShareData(), 0, line - 1);
    SendMessage(window, MYWM_SETCARETPOS, 0, 0);
  }
  if (bCloseOrFocus && m_pShareData) {
    if (m_pShareData->Common.bAutoCloseDlgFuncList) {
      Close(0);
    } else if (m_pShareData->Common.bFunclistSetFocusOnJump) {
      FocusPane();
    }
  }
  return true;
}

void CFuncListDialog::FocusPane() {
  if (m_pcEditView && m_pcEditView->Window()) SetFocus(m_pcEditView->Window());
}

void CFuncListDialog::CopyToClipboard() {
  SetClipboardText(m_hWnd, m_cmemClipText.GetPtr() ? m_cmemClipText.GetPtr() : "", m_cmemClipText.GetLength());
}

void CFuncListDialog::OnKey(int nVirtualKey) {
  IEditWindow* frame = m_pcEditView ? m_pcEditView->EditWindow() : nullptr;
  if (!frame) return;
  const int command = frame->KeyCommand(GetModifierKeyState() * 256 + (nVirtualKey & 0xFF));
  CEditView* pane = m_pcEditView;
  switch (command) {
    case kCutCommand:
    case kCopyCommand:
      CopyToClipboard();
      break;
    case cmd::kOutline:
    case cmd::kOutlineToggle:
    case cmd::kBookmarkView:
      pane->RunCommand(command, true, 0, 0, 0, 0);
      break;
    case kBookmarkSetCommand:
      JumpToItem(false);
      pane->RunCommand(command, true, 0, 0, 0, 0);
      break;
    case kReDrawCommand:
      pane->RunCommand(m_nOutlineType == outline_type::kBookmarks ? cmd::kBookmarkView : cmd::kOutline, true,
                       kRefreshMode, 0, 0, 0);
      break;
    default:
      break;
  }
}

INT_PTR CFuncListDialog::OnNotify(WPARAM wParam, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header) return 0;
  const int id = static_cast<int>(wParam);
  if (id == kList) {
    switch (header->code) {
      case NM_DBLCLK:
        JumpToItem(true);
        return 1;
      case LVN_COLUMNCLICK:
        SortList(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return 1;
      case LVN_KEYDOWN:
        OnKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
        return 1;
      default:
        return 0;
    }
  }
  if (id == kTree) {
    switch (header->code) {
      case NM_DBLCLK:
        // The tree takes the focus back after its double click: the focus question is asked
        // again once it lets the focus go.
        if (JumpToItem(true) && m_hWnd) m_bWaitTreeProcess = true;
        return 1;
      case NM_KILLFOCUS:
        if (m_bWaitTreeProcess) {
          m_bWaitTreeProcess = false;
          if (m_pShareData && m_pShareData->Common.bFunclistSetFocusOnJump) FocusPane();
        }
        return 1;
      case TVN_KEYDOWN:
        OnKey(reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey);
        return 1;
      default:
        return 0;
    }
  }
  return 0;
}

INT_PTR CFuncListDialog::OnSelChange(HWND, int wID) {
  if (wID != kSortCombo) return 0;
  const int chosen = static_cast<int>(SendDlgItemMessage(m_hWnd, kSortCombo, CB_GETCURSEL, 0, 0));
  if (chosen < 0 || chosen > 1 || chosen == m_nSortType) return 1;
  m_nSortType = chosen;
  SortTree();
  return 1;
}

INT_PTR CFuncListDialog::OnButtonClicked(int wID) {
  const auto checked = [this](int id) { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED ? 1 : 0; };
  const auto refocus = [this] { SetFocus(GetDlgItem(m_hWnd, m_bTreeMode ? kTree : kList)); };
  switch (wID) {
    case IDOK:
      JumpToItem(true);
      return 1;
    case IDCANCEL:
      Close(0);
      return 1;
    case kCopy:
      CopyToClipboard();
      return 1;
    case kHelp:
      WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXT, static_cast<uintptr_t>(CommandToHelpId(cmd::kOutline)));
      return 1;
    case kAutoClose:
      if (m_pShareData) m_pShareData->Common.bAutoCloseDlgFuncList = checked(kAutoClose);
      EnableWindow(GetDlgItem(m_hWnd, kFocusOnJump), !checked(kAutoClose));
      refocus();
      return 1;
    case kFocusOnJump:
      if (m_pShareData) m_pShareData->Common.bFunclistSetFocusOnJump = checked(kFocusOnJump);
      refocus();
      return 1;
    case kMarkUpBlank:
      if (m_pShareData) m_pShareData->Common.bMarkUpBlankLineEnable = checked(kMarkUpBlank);
      if (m_nOutlineType == outline_type::kBookmarks && m_pcEditView) {
        m_pcEditView->RunCommand(cmd::kBookmarkView, true, 0, 0, 0, 0);
      } else {
        refocus();
      }
      return 1;
    case kRememberPos:
      if (m_pShareData) m_pShareData->Common.bRememberOutlineWindowPos = checked(kRememberPos);
      return 1;
    default:
      return CDialogBase::OnButtonClicked(wID);
  }
}

const DWORD* CFuncListDialog::GetHelpIds() { return kHelpIds; }
