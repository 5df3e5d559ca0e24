// The jump commands: the jump dialog and the jump to a line (by display row, document line or the
// PL/SQL count), and the bookmarks: toggled, walked, cleared and set by the search key.
#include <algorithm>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/outline/jump_dialog.h"
#include "editor/view/outline/jump_target.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kJump = 30921;

// The nearest bookmarked line after (forward) or before nLine, not nLine itself. A line before
// the first or after the last (the caret below the text, or the restart of a wrap) finds the first
// or the last line itself too.
bool FindBookmarkFrom(CDocLineMgr& lines, int nLine, bool bForward, int* pnFound) {
  const int count = lines.GetLineCount();
  if (count <= 0) return false;
  if (nLine >= 0 && nLine < count) return lines.FindBookmark(nLine, bForward, pnFound);
  if (bForward && nLine >= count) return false;
  if (!bForward && nLine < 0) return false;
  const int edge = bForward ? 0 : count - 1;
  const CDocLine* line = lines.GetLine(edge);
  if (line && line->IsBookmarked()) {
    *pnFound = edge;
    return true;
  }
  return lines.FindBookmark(edge, bForward, pnFound);
}

}  // namespace

// ---------------------------------------------------------------- jumps

void CEditView::Command_JUMP_DIALOG() {
  if (!m_pcEditDoc || !m_pJumpDialog) return;
  const HWND owner = m_pEditWnd && m_pEditWnd->Window() ? m_pEditWnd->Window() : m_hWnd;
  if (m_pJumpDialog->DoModal(m_hInstance, owner, m_pcEditDoc, Type().nDefaultOutline,
                             Type().bCountDocumentLines != 0) != 1) return;
  CEditView* active = PartnerPane(m_pcEditDoc->GetActivePane());
  (active ? *active : *this).RunCommand(kJump, true, 0, 0, 0, 0);
}

void CEditView::Command_JUMP() {
  const bool documentLines = !m_pShareData || m_pShareData->bLineNumIsCRLF != 0;
  const bool typeCountsDocumentLines = Type().bCountDocumentLines != 0;
  JumpRequest request;
  if (m_pJumpDialog) {
    request = m_pJumpDialog->Request(documentLines, typeCountsDocumentLines);
  } else {
    request.bDocumentLines = documentLines;
    request.bPlsqlBaseInDocumentLines = typeCountsDocumentLines;
  }
  JumpTo(request);
}

void CEditView::JumpTo(const JumpRequest& request) {
  if (!m_pcEditDoc) return;
  const int row = JumpTargetRow(m_pcEditDoc->m_cDocLineMgr, Layout(), request);
  if (row < 0) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  if (IsTextSelected()) ClearSelection(true);
  AddCursorHistory();
  PlaceCursor(0, row, true, 6);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

// ---------------------------------------------------------------- bookmarks

void CEditView::RepaintDocumentPanes() {
  bool listed = false;
  for (IDocPane* pane : m_pcEditDoc->Ports().panes) {
    if (!pane) continue;
    listed = listed || pane == this;
    pane->Redraw();
  }
  if (!listed) RepaintAll();
}

void CEditView::Command_BOOKMARKSET() {
  if (!m_pcEditDoc) return;
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  int first = m_nCaretPosY_PHY;
  int last = m_nCaretPosY_PHY;
  if (IsTextSelected() && m_sSelect.nLineFrom < m_sSelect.nLineTo) {
    int column = 0;
    Layout().WrapToDocPos(m_sSelect.nColumnFrom, m_sSelect.nLineFrom, &column, &first);
    Layout().WrapToDocPos(0, m_sSelect.nLineTo, &column, &last);
  }
  // The selection's last row may lie past the last line (after a final line end): no line there.
  last = std::min(last, lines.GetLineCount() - 1);
  for (int i = std::max(first, 0); i <= last; ++i) {
    if (CDocLine* line = lines.GetLine(i)) line->SetBookmark(!line->IsBookmarked());
  }
  RepaintDocumentPanes();
}

void CEditView::MoveToBookmark(bool bForward) {
  if (!m_pcEditDoc) return;
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  const int start = m_nCaretPosY_PHY;
  int found = -1;
  bool hit = FindBookmarkFrom(lines, start, bForward, &found);
  bool wrapped = false;
  if (!hit && Common().bSearchAll) {
    wrapped = true;
    hit = FindBookmarkFrom(lines, bForward ? -1 : lines.GetLineCount(), bForward, &found);
  }
  if (!hit) {
    ShowStatusMessage(bForward ? "▽見つかりませんでした"_sj : "△見つかりませんでした"_sj);
    if (Common().bSearchNOTIFYNOTFOUND) {
      ShowMessageBox(
          m_hWnd, MB_ICONINFORMATION, kCaption, "%s",
          bForward ? "後方(↓) にブックマークが見つかりません。"_sj : "前方(↑) にブックマークが見つかりません。"_sj);
    }
    return;
  }
  MoveCaretToDocPos(0, found, m_bSelectingLock);
  if (wrapped && bForward && found < start) ShowStatusMessage("▼先頭から再検索しました"_sj);
  if (wrapped && !bForward && found > start) ShowStatusMessage("▲末尾から再検索しました"_sj);
}

void CEditView::Command_BOOKMARKNEXT() { MoveToBookmark(true); }
void CEditView::Command_BOOKMARKPREV() { MoveToBookmark(false); }

void CEditView::Command_BOOKMARKRESET() {
  if (!m_pcEditDoc) return;
  m_pcEditDoc->m_cDocLineMgr.ClearAllBookmarks();
  RepaintDocumentPanes();
}

void CEditView::Command_BOOKMARKPATTERN(bool bWarn) {
  if (!m_pcEditDoc || !RefreshSearchKey(nullptr, bWarn)) return;
  m_pcEditDoc->m_cDocLineMgr.BookmarkMatchingLines(m_szCurSrchKey.c_str(), m_bCurSrchRegularExp != 0,
                                                   m_bCurSrchLoHiCase != 0, m_bCurSrchWordOnly != 0, &m_CurRegexp);
  RepaintDocumentPanes();
}

// ---------------------------------------------------------------- the family's registration table
namespace {

LRESULT BookmarkPattern(CEditView& view, const CommandCall& call) {
  view.Command_BOOKMARKPATTERN(call.bRedraw);
  return 1;
}

constexpr CommandHandlerEntry kJumpCommands[] = {
    {30920, 30920, &PlainHandler<&CEditView::Command_JUMP_DIALOG>},
    {30921, 30921, &PlainHandler<&CEditView::Command_JUMP>},
    {30970, 30970, &PlainHandler<&CEditView::Command_BOOKMARKSET>},
    {30971, 30971, &PlainHandler<&CEditView::Command_BOOKMARKNEXT>},
    {30972, 30972, &PlainHandler<&CEditView::Command_BOOKMARKPREV>},
    {30973, 30973, &PlainHandler<&CEditView::Command_BOOKMARKRESET>},
    {30975, 30975, &BookmarkPattern},
};

}  // namespace

std::span<const CommandHandlerEntry> JumpCommandFamily() { return kJumpCommands; }
