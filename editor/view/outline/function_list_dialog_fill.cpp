// Filling the function list: the plain and Visual Basic lists, the scope tree and the depth tree,
// the caption, the check boxes, the preselected entry and the copied text.
#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/view/outline/function_list_dialog.h"
#include "platform/sjis_literal.h"

using namespace platform;

namespace {

// Scope components are cut to this many bytes (on a whole character).
constexpr size_t kMaxComponent = 63;
// Pixels a list column gets beyond its longest text.
constexpr int kColumnSpare = 16;

const char* CaptionOf(int nOutlineType) {
  switch (nOutlineType) {
    case outline_type::kText:
      return "C 関数一覧"_sj;
    case outline_type::kCpp:
      return "C++ メソッドツリー"_sj;
    case outline_type::kPlsql:
      return "PL/SQL 関数一覧"_sj;
    case outline_type::kTextTree:
      return "テキスト トピックツリー"_sj;
    case outline_type::kJava:
      return "Java メソッドツリー"_sj;
    case outline_type::kCobol:
      return "COBOL アウトライン"_sj;
    case outline_type::kAsm:
      return "アセンブラ アウトライン"_sj;
    case outline_type::kPerl:
      return "Perl 関数一覧"_sj;
    case outline_type::kVisualBasic:
      return "Visual Basic アウトライン"_sj;
    case outline_type::kWzText:
      return "WZ階層付テキスト"_sj;
    case outline_type::kHtml:
      return "HTML";
    case outline_type::kTex:
      return "TeX";
    case outline_type::kRuleFile:
      return "ルールファイル"_sj;
    case outline_type::kBookmarks:
      return "ブックマーク"_sj;
    default:
      return nullptr;
  }
}

std::string VisualBasicLabel(int nKind) {
  static const char* const kKinds[] = {
      "関数"_sj, "ステータス"_sj, "プロパティ 取得"_sj, "プロパティ 設定"_sj, "プロパティ 参照"_sj,
      "定数"_sj, "列挙型"_sj,     "ユーザ定義型"_sj,    "イベント"_sj,
  };
  const int what = nKind & 0x0F;
  if (what < 1 || what > 9) return {};
  std::string kind = kKinds[what - 1];
  if (nKind & outline_kind::kVbDeclaration) kind += "宣言"_sj;
  std::string scope = (nKind & outline_kind::kVbStatic) ? "静的"_sj : "";
  switch (nKind & outline_kind::kVbScopeMask) {
    case outline_kind::kVbPrivate:
      scope += "プライベート"_sj;
      break;
    case outline_kind::kVbFriend:
      scope += "フレンド"_sj;
      break;
    default:
      scope += "パブリック"_sj;
      break;
  }
  return kind + "（"_sj + scope + "）"_sj;
}

const char* PlainLabel(int nKind) {
  switch (nKind) {
    case outline_kind::kDeclaration:
      return "宣言"_sj;
    case outline_kind::kPlsqlFunctionDecl:
      return "関数宣言"_sj;
    case outline_kind::kPlsqlFunction:
      return "関数"_sj;
    case outline_kind::kPlsqlProcedureDecl:
      return "プロシージャ宣言"_sj;
    case outline_kind::kPlsqlProcedure:
      return "プロシージャ"_sj;
    case outline_kind::kPlsqlPackageSpec:
      return "■パッケージ仕様部"_sj;
    case outline_kind::kPlsqlPackageBody:
      return "■パッケージ本体部"_sj;
    case outline_kind::kAsmProc:
      return "PROC";
    case outline_kind::kAsmLabel:
      return "ラベル"_sj;
    case outline_kind::kAsmEndp:
      return "ENDP";
    default:
      return "";
  }
}

// The suffix a scope-tree leaf shows after its name. A namespace's own entry, the place of its
// definition, hangs under the namespace's node, which says what it is.
const char* LeafSuffix(int nKind) {
  switch (nKind) {
    case outline_kind::kDeclaration:
      return "(宣言)"_sj;
    case outline_kind::kClass:
      return " クラス"_sj;
    case outline_kind::kStruct:
      return " 構造体"_sj;
    case outline_kind::kEnum:
      return " 列挙体"_sj;
    case outline_kind::kUnion:
      return " 共用体"_sj;
    default:
      return "";
  }
}

// A qualified name split at every "::" and every backslash (never inside a two-byte character);
// each component at most kMaxComponent bytes, cut on a whole character.
std::vector<std::string> SplitScopes(std::string_view name) {
  std::vector<std::string> parts(1);
  size_t taken = 0;  // bytes of the current component kept so far, before any cut
  bool cut = false;
  for (size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == ':' && i + 1 < name.size() && name[i + 1] == ':') {
      parts.emplace_back();
      taken = 0;
      cut = false;
      i += 2;
      continue;
    }
    if (c == '\\') {
      parts.emplace_back();
      taken = 0;
      cut = false;
      ++i;
      continue;
    }
    const size_t size = IsSjisLeadByte(c) && i + 1 < name.size() ? 2 : 1;
    if (!cut && taken + size <= kMaxComponent) {
      parts.back().append(name.substr(i, size));
      taken += size;
    } else {
      cut = true;
    }
    i += size;
  }
  return parts;
}

bool HasScopes(std::string_view name) { return name.find("::") != std::string_view::npos; }

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, const std::string& text, LPARAM number) {
  TVINSERTSTRUCT insert;
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = number;
  return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
}

void AppendFormatted(CMemory& text, const std::string& line) {
  text.Append(line.data(), static_cast<int>(line.size()));
}

}  // namespace

int CFuncListDialog::PreselectedIndex() const {
  const int count = m_pcFuncInfoArr ? m_pcFuncInfoArr->GetCount() : 0;
  if (count == 0) return -1;
  int found = -1;
  for (int i = 0; i < count; ++i) {
    if (m_pcFuncInfoArr->GetAt(i)->m_nDisplayLine <= m_nCurLine) found = i;
  }
  if (found >= 0) return found;
  return m_nCurLine < m_pcFuncInfoArr->GetAt(0)->m_nDisplayLine ? 0 : count - 1;
}

void CFuncListDialog::FillList() {
  if (!m_hWnd) return;
  const HWND list = GetDlgItem(m_hWnd, kList);
  const HWND tree = GetDlgItem(m_hWnd, kTree);
  ShowWindow(list, SW_HIDE);
  ShowWindow(tree, SW_HIDE);
  SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
  SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  m_cmemClipText.Clear();
  m_treeOrder.clear();
  m_bWaitTreeProcess = false;

  if (const char* caption = CaptionOf(m_nOutlineType)) SetWindowText(m_hWnd, caption);
  switch (m_nOutlineType) {
    case outline_type::kCpp:
    case outline_type::kJava:
      FillTreeCpp(true);
      break;
    case outline_type::kCobol:
      FillTreeCpp(false);
      break;
    case outline_type::kTextTree:
    case outline_type::kWzText:
    case outline_type::kHtml:
    case outline_type::kTex:
    case outline_type::kRuleFile:
      FillTreeByDepth();
      break;
    case outline_type::kVisualBasic:
      FillPlainList(true);
      break;
    default:
      FillPlainList(false);
      break;
  }
  ApplyCheckBoxes();

  const HWND combo = GetDlgItem(m_hWnd, kSortCombo);
  const HWND label = GetDlgItem(m_hWnd, kSortLabel);
  if (m_bTreeMode) {
    ShowWindow(tree, SW_SHOW);
    ShowWindow(combo, SW_SHOW);
    ShowWindow(label, SW_SHOW);
    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(m_nSortType), 0);
    if (m_nSortType == 1) SortTree();
    SetFocus(tree);
  } else {
    ShowWindow(combo, SW_HIDE);
    ShowWindow(label, SW_HIDE);
    ShowWindow(list, SW_SHOW);
    SortList(m_nSortCol);
    SetFocus(list);
  }
}

void CFuncListDialog::ApplyCheckBoxes() {
  if (!m_pShareData) return;
  const CommonSettings& c = m_pShareData->Common;
  CheckDlgButton(m_hWnd, kAutoClose, c.bAutoCloseDlgFuncList ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, kFocusOnJump, c.bFunclistSetFocusOnJump ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, kMarkUpBlank, c.bMarkUpBlankLineEnable ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, kRememberPos, c.bRememberOutlineWindowPos ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(m_hWnd, kFocusOnJump), !c.bAutoCloseDlgFuncList);
  const bool bookmarks = m_nOutlineType == outline_type::kBookmarks;
  ShowWindow(GetDlgItem(m_hWnd, kMarkUpBlank), bookmarks ? SW_SHOW : SW_HIDE);
  EnableWindow(GetDlgItem(m_hWnd, kMarkUpBlank), bookmarks);
}

void CFuncListDialog::FillPlainList(bool bVisualBasic) {
  m_bTreeMode = false;
  const HWND list = GetDlgItem(m_hWnd, kList);
  const int count = m_pcFuncInfoArr ? m_pcFuncInfoArr->GetCount() : 0;
  for (int i = 0; i < count; ++i) {
    const COutlineItem* item = m_pcFuncInfoArr->GetAt(i);
    const std::string line = std::to_string(m_bLineNumIsCRLF ? item->m_nFileLine : item->m_nDisplayLine);
    const std::string name(item->m_cName.View());
    const std::string label = bVisualBasic ? VisualBasicLabel(item->m_nKind) : PlainLabel(item->m_nKind);
    LVITEM row;
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = i;
    row.pszText = const_cast<char*>(line.c_str());
    row.lParam = i;
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&row));
    const std::string* cells[] = {&name, &label};
    for (int c = 1; c < 3; ++c) {
      LVITEM sub;
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(cells[c - 1]->c_str());
      SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
    std::string copied =
        std::string(m_pcFuncInfoArr->m_szPath) + "(" + std::to_string(item->m_nFileLine) + "): " + name;
    if (!label.empty()) copied += "(" + label + ")";
    AppendFormatted(m_cmemClipText, copied + "\r\n");
  }
  // Every column as wide as its longest text, with room to spare.
  for (int c = 0; c < 3; ++c) {
    SendMessage(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE);
    const auto fitted = static_cast<int>(SendMessage(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    SendMessage(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), fitted + kColumnSpare);
  }
  const int selected = PreselectedIndex();
  if (selected >= 0) {
    LVITEM state;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
    SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), 0);
  }
}

void CFuncListDialog::FillTreeCpp(bool bSuffixes) {
  m_bTreeMode = true;
  const HWND tree = GetDlgItem(m_hWnd, kTree);
  // The nodes a component finds under a parent: scope nodes made here, and leaves whose text is
  // what a scope of that name looks for. The first one made wins, as a walk of the children would.
  std::map<std::pair<HTREEITEM, std::string>, HTREEITEM> scopes;
  HTREEITEM global = nullptr;
  LPARAM nextScopeNumber = kFirstScopeNumber;
  HTREEITEM preselected = nullptr;
  const int selectedIndex = PreselectedIndex();
  const int count = m_pcFuncInfoArr ? m_pcFuncInfoArr->GetCount() : 0;
  for (int i = 0; i < count; ++i) {
    const COutlineItem* item = m_pcFuncInfoArr->GetAt(i);
    const std::string_view name = item->m_cName.View();
    HTREEITEM parent = TVI_ROOT;
    std::string leafName;
    if (HasScopes(name)) {
      std::vector<std::string> parts = SplitScopes(name);
      leafName = std::move(parts.back());
      parts.pop_back();
      for (const std::string& part : parts) {
        const auto key = std::make_pair(parent, part);
        const auto found = scopes.find(key);
        if (found != scopes.end()) {
          parent = found->second;
          continue;
        }
        std::string text = part;
        if (bSuffixes) text += item->m_nKind == outline_kind::kNamespace ? " 名前空間"_sj : " クラス"_sj;
        m_treeOrder.emplace(nextScopeNumber, static_cast<int>(m_treeOrder.size()));
        const HTREEITEM node = InsertNode(tree, parent, text, nextScopeNumber++);
        scopes.emplace(key, node);
        parent = node;
      }
    } else {
      leafName = std::string(name);
      if (item->m_nKind < outline_kind::kClass || item->m_nKind > outline_kind::kNamespace) {
        if (!global) {
          m_treeOrder.emplace(nextScopeNumber, static_cast<int>(m_treeOrder.size()));
          global = InsertNode(tree, TVI_ROOT, "グローバル"_sj, nextScopeNumber++);
          if (!bSuffixes) scopes.emplace(std::make_pair(TVI_ROOT, std::string("グローバル"_sj)), global);
        }
        parent = global;
      }
    }
    const char* suffix = bSuffixes ? LeafSuffix(item->m_nKind) : "";
    m_treeOrder.emplace(i, static_cast<int>(m_treeOrder.size()));
    const HTREEITEM leaf = InsertNode(tree, parent, leafName + suffix, i);
    // A class leaf "A クラス" is the scope a later "A::f" goes under; without suffixes the bare name is.
    if (!bSuffixes || suffix[0] == ' ') scopes.emplace(std::make_pair(parent, leafName), leaf);
    if (i == selectedIndex) preselected = leaf;

    std::string copied = std::string(m_pcFuncInfoArr->m_szPath) + "(" + std::to_string(item->m_nFileLine) +
                         "): " + std::string(name) + " " +
                         (item->m_nKind == outline_kind::kDeclaration ? "(宣言)"_sj : "");
    AppendFormatted(m_cmemClipText, copied + "\r\n");
  }
  for (auto root = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); root;
       root =
           reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)))) {
    SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  }
  if (preselected) SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(preselected));
}

void CFuncListDialog::FillTreeByDepth() {
  m_bTreeMode = true;
  const HWND tree = GetDlgItem(m_hWnd, kTree);
  // The last node made at each depth. A new node forgets the ones deeper than itself, so an entry
  // several levels deeper than the one before goes under the nearest shallower node of its own
  // section, never under one of an earlier section.
  std::vector<HTREEITEM> lastAtDepth;
  HTREEITEM preselected = nullptr;
  const int count = m_pcFuncInfoArr ? m_pcFuncInfoArr->GetCount() : 0;
  for (int i = 0; i < count; ++i) {
    const COutlineItem* item = m_pcFuncInfoArr->GetAt(i);
    const int depth = std::max(item->m_nDepth, 0);
    HTREEITEM parent = TVI_ROOT;
    for (int d = std::min(depth, static_cast<int>(lastAtDepth.size())) - 1; d >= 0; --d) {
      if (lastAtDepth[static_cast<size_t>(d)]) {
        parent = lastAtDepth[static_cast<size_t>(d)];
        break;
      }
    }
    const HTREEITEM node = InsertNode(tree, parent, std::string(item->m_cName.View()), i);
    if (lastAtDepth.size() <= static_cast<size_t>(depth)) lastAtDepth.resize(static_cast<size_t>(depth) + 1);
    lastAtDepth[static_cast<size_t>(depth)] = node;
    std::fill(lastAtDepth.begin() + depth + 1, lastAtDepth.end(), nullptr);
    if (item->m_nDisplayLine <= m_nCurLine) preselected = node;

    if (item->m_nKind != outline_kind::kPlaceholder) {
      std::string copied(static_cast<size_t>(depth) * 2, ' ');
      copied.append(item->m_cName.View());
      AppendFormatted(m_cmemClipText, copied + "\r\n");
    }
  }
  if (preselected) SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(preselected));
}
