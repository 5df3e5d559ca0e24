// The outline commands: the function list shown, refreshed or toggled, and the bookmark list in it.
#include <cstdio>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/outline/function_list_dialog.h"
#include "editor/view/pane/edit_view.h"

namespace {

constexpr int kShow = 0;
constexpr int kToggle = 2;
constexpr int kRefresh = 1;

// The outline a type shows: a C++ outline of a ".c" file is shown as the flat C list.
int ShownOutlineType(int nOutlineType, const char* pszPath) {
  return nOutlineType == outline_type::kCpp && HasExtension(pszPath, "c") ? outline_type::kText : nOutlineType;
}

}  // namespace

LRESULT CEditView::Command_FUNCLIST(int nAction, int nOutlineType) {
  if (!m_pcEditDoc || !m_pFuncList) return 0;
  const int parsed = nOutlineType == -1 ? Type().nDefaultOutline : nOutlineType;
  const int shown = ShownOutlineType(parsed, m_pcEditDoc->m_szFilePath);
  CFuncListDialog& dialog = m_pFuncList->cDialog;
  if (dialog.IsOpen() && dialog.OutlineType() == shown && (nAction == kShow || nAction == kToggle)) {
    if (nAction == kToggle) {
      // Closed as its close button closes it.
      platform::SendMessage(dialog.GetHwnd(), WM_CLOSE, 0, 0);
    } else {
      platform::ShowWindow(dialog.GetHwnd(), SW_SHOW);
      platform::SetFocus(dialog.GetHwnd());
    }
    return 1;
  }

  COutlineItemList& list = m_pFuncList->cList;
  list.Clear();
  ParseOutlineOfType(*m_pcEditDoc, parsed, list);
  snprintf(list.m_szPath, sizeof list.m_szPath, "%s", m_pcEditDoc->m_szFilePath);

  const int nCurLine = m_nCaretPosY + 1;
  if (dialog.IsOpen()) {
    dialog.Redraw(shown, &list, nCurLine);
    platform::ShowWindow(dialog.GetHwnd(), SW_SHOW);
    platform::SetFocus(dialog.GetHwnd());
  } else {
    const HWND owner = m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd;
    dialog.Open(m_hInstance, owner, this, &list, nCurLine, shown, Type().bCountDocumentLines != 0);
  }
  return 1;
}

// ---------------------------------------------------------------- the family's registration table
namespace {

LRESULT Outline(CEditView& view, const CommandCall& call) {
  return view.Command_FUNCLIST(static_cast<int>(call.lparam[0]), -1);
}

LRESULT OutlineToggle(CEditView& view, const CommandCall&) { return view.Command_FUNCLIST(kToggle, -1); }

// The bookmark list is always read again: its lines change without the outline command.
LRESULT BookmarkView(CEditView& view, const CommandCall&) {
  return view.Command_FUNCLIST(kRefresh, outline_type::kBookmarks);
}

constexpr CommandHandlerEntry kOutlineCommands[] = {
    {cmd::kOutline, cmd::kOutline, &Outline},
    {cmd::kOutlineToggle, cmd::kOutlineToggle, &OutlineToggle},
    {cmd::kBookmarkView, cmd::kBookmarkView, &BookmarkView},
};

}  // namespace

std::span<const CommandHandlerEntry> OutlineCommandFamily() { return kOutlineCommands; }
