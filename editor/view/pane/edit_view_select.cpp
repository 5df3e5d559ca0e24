// The selection of a pane: the anchor it grows from, where a position lies against it, and its
// highlight, drawn by inverting the pane's image so that drawing a part twice takes it away. The
// highlight of one row is a span of columns; a change of the selection inverts the rows whose span
// changed, the old span and the new (what both cover is inverted twice and stays as it was).
#include <algorithm>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "platform/dc_draw.h"
#include "platform/key_state.h"

namespace {

// Position order: line first, then column.
int ComparePoints(int line1, int column1, int line2, int column2) {
  if (line1 != line2) return line1 < line2 ? -1 : 1;
  if (column1 != column2) return column1 < column2 ? -1 : 1;
  return 0;
}

// How a drag from this pane moves the ends of the selection: a move takes both end columns in, a
// copy leaves the start column out.
struct DragEnds {
  bool move = false;
  bool copy = false;
};

int CompareWith(const CEditView& view, int column, int line, const SelectRange& range, bool box, DragEnds drag) {
  if (!range.IsSet()) return -1;
  if (box) {
    const SelectRect rect = view.MakeSelectionRect(range.nLineFrom, range.nColumnFrom, range.nLineTo, range.nColumnTo);
    if (line < rect.nTop) return -1;
    if (line > rect.nBottom) return 1;
    const bool beforeRight = drag.move ? column <= rect.nRight : column < rect.nRight;
    if (!beforeRight) return 1;
    const bool fromLeft = drag.copy ? column > rect.nLeft : column >= rect.nLeft;
    return fromLeft ? 0 : -1;
  }
  if (line < range.nLineFrom) return -1;
  if (line > range.nLineTo) return 1;
  if (line == range.nLineFrom && (drag.copy ? column <= range.nColumnFrom : column < range.nColumnFrom)) return -1;
  if (line == range.nLineTo && (drag.move ? column > range.nColumnTo : column >= range.nColumnTo)) return 1;
  return 0;
}

// A range with its ends in position order.
SelectRange Ordered(const SelectRange& range) {
  if (ComparePoints(range.nLineFrom, range.nColumnFrom, range.nLineTo, range.nColumnTo) <= 0) return range;
  return SelectRange{range.nLineTo, range.nColumnTo, range.nLineFrom, range.nColumnFrom};
}

}  // namespace

SelectRect CEditView::MakeSelectionRect(int nLine1, int nColumn1, int nLine2, int nColumn2) const {
  return SelectRect{std::min(nLine1, nLine2), std::max(nLine1, nLine2), std::min(nColumn1, nColumn2),
                    std::max(nColumn1, nColumn2)};
}

void CEditView::BeginSelectionAtCaret() {
  m_sSelectBgn = SelectRange{m_nCaretPosY, m_nCaretPosX, m_nCaretPosY, m_nCaretPosX};
  m_sSelect = m_sSelectBgn;
  // The new selection is empty and drawn nowhere yet (an empty box's bar included).
  m_bDrawSelectArea = false;
}

void CEditView::ClearSelection(bool bRepaint) {
  m_sSelectOld = m_sSelect;
  m_sSelect.Clear();
  if (bRepaint) {
    InvertSelection();
    m_bDrawSelectArea = false;
  }
  m_nCaretPosX_Prev = m_nCaretPosX;
  m_bSelectingLock = false;
  m_bBeginBoxSelect = false;
  m_bBeginLineSelect = false;
  m_bBeginWordSelect = false;
  m_sSelectOld = SelectRange{0, 0, 0, 0};
  m_cUnderLine.Show(bRepaint);
}

void CEditView::ChangeSelectionTo(int nColumn, int nLine) {
  m_sSelectOld = m_sSelect;
  ComputeSelection(nColumn, nLine, &m_sSelect);
  InvertSelection();
}

void CEditView::ComputeSelection(int nColumn, int nLine, SelectRange* pRange) const {
  const SelectRange& anchor = m_sSelectBgn;
  pRange->Clear();
  if (!anchor.IsSet()) return;
  const int toFrom = ComparePoints(nLine, nColumn, anchor.nLineFrom, anchor.nColumnFrom);
  if (anchor.IsEmpty()) {
    if (toFrom == 0) return;
    *pRange = toFrom < 0 ? SelectRange{nLine, nColumn, anchor.nLineFrom, anchor.nColumnFrom}
                         : SelectRange{anchor.nLineFrom, anchor.nColumnFrom, nLine, nColumn};
    return;
  }
  // An anchor word or line stays selected whole, whichever way the selection grows from it.
  if (toFrom < 0) {
    *pRange = SelectRange{nLine, nColumn, anchor.nLineTo, anchor.nColumnTo};
  } else if (toFrom == 0) {
    *pRange = anchor;
  } else {
    *pRange = SelectRange{anchor.nLineFrom, anchor.nColumnFrom, nLine, nColumn};
  }
}

int CEditView::IsPositionInSelection(int nColumn, int nLine) const {
  if (m_bDragSource) return IsPositionInDraggedSelection(nColumn, nLine, platform::GetKeyState(VK_CONTROL) < 0);
  return CompareWith(*this, nColumn, nLine, m_sSelect, m_bBeginBoxSelect, DragEnds{});
}

int CEditView::IsPositionInDraggedSelection(int nColumn, int nLine, bool bCtrl) const {
  DragEnds drag;
  drag.copy = bCtrl;
  drag.move = !bCtrl;
  return CompareWith(*this, nColumn, nLine, m_sSelect, m_bBeginBoxSelect, drag);
}

int CEditView::ComparePositionWithRange(int nColumn, int nLine, const SelectRange& range) const {
  return CompareWith(*this, nColumn, nLine, range, m_bBeginBoxSelect, DragEnds{});
}

// ---- Highlight -----------------------------------------------------------------------------------

bool CEditView::SelectionSpanInRow(int nLine, const SelectRange& range, int* pnFrom, int* pnTo) {
  if (!range.IsSet() || !m_pcEditDoc) return false;
  if (m_bBeginBoxSelect) {
    const SelectRect rect = MakeSelectionRect(range.nLineFrom, range.nColumnFrom, range.nLineTo, range.nColumnTo);
    if (nLine < rect.nTop || nLine > rect.nBottom) return false;
    *pnFrom = rect.nLeft;
    *pnTo = rect.nRight;
    // Nothing is highlighted right of where the text ends, nor below it.
    const int count = Layout().GetLineCount();
    const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
    const int endLine = count == 0 ? 0 : (last.exists && !last.hasLineEnd ? count - 1 : count);
    if (nLine > endLine) return false;
    if (nLine == endLine) {
      const int endColumn = nLine == count ? 0 : last.EndColumn();
      if (*pnFrom >= endColumn) return false;
      *pnTo = std::min(*pnTo, endColumn);
    }
    return true;
  }
  const SelectRange ordered = Ordered(range);
  if (nLine < ordered.nLineFrom || nLine > ordered.nLineTo) return false;
  if (ordered.nLineFrom == ordered.nLineTo) {
    *pnFrom = ordered.nColumnFrom;
    *pnTo = ordered.nColumnTo;
    return *pnTo > *pnFrom;
  }
  const DisplayRow row = DisplayRow::Of(Layout(), nLine);
  // A row that ends its document line shows the line end's cell selected too.
  const int rowEnd = row.EndColumn() + (row.hasLineEnd ? 1 : 0);
  *pnFrom = nLine == ordered.nLineFrom ? ordered.nColumnFrom : row.indent;
  *pnTo = nLine == ordered.nLineTo ? ordered.nColumnTo : rowEnd;
  return *pnTo > *pnFrom;
}

bool CEditView::SelectionRectInRow(int nLine, int nY, const SelectRange& range, RECT* pRect) {
  int from = 0;
  int to = 0;
  if (!SelectionSpanInRow(nLine, range, &from, &to)) return false;
  if (nLine < m_nViewTopLine || nLine > m_nViewTopLine + m_nViewRowNum) return false;
  const int width = ColumnWidth();
  const int lastColumn = m_nViewLeftCol + m_nViewColNum + 1;
  RECT rect{};
  if (from == to) {
    // An empty box: a bar a third of a column wide.
    if (from < m_nViewLeftCol || from > lastColumn) return false;
    rect.left = ColumnX(from);
    rect.right = rect.left + std::max(1, width / 3);
  } else {
    from = std::max(from, m_nViewLeftCol);
    to = std::min(to, lastColumn);
    if (to <= from) return false;
    rect.left = ColumnX(from);
    rect.right = ColumnX(to);
  }
  rect.top = nY;
  rect.bottom = nY + LineHeight();
  // Only the text area is ever highlighted.
  rect.left = std::max<LONG>(rect.left, m_nViewAlignLeft);
  rect.right = std::min<LONG>(rect.right, m_nViewAlignLeft + m_nViewCx);
  rect.top = std::max<LONG>(rect.top, m_nViewAlignTop);
  rect.bottom = std::min<LONG>(rect.bottom, m_nViewAlignTop + m_nViewCy);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return false;
  *pRect = rect;
  return true;
}

namespace {

void InvertRect(HDC hdc, const RECT& rect) {
  platform::PatBlt(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, platform::DSTINVERT);
}

void Include(RECT* bounds, const RECT& rect) {
  if (bounds->right <= bounds->left) {
    *bounds = rect;
    return;
  }
  bounds->left = std::min(bounds->left, rect.left);
  bounds->top = std::min(bounds->top, rect.top);
  bounds->right = std::max(bounds->right, rect.right);
  bounds->bottom = std::max(bounds->bottom, rect.bottom);
}

}  // namespace

void CEditView::InvertSelection() {
  if (m_bDrawSWITCH && m_pcEditDoc && GetViewDC()) {
    m_cUnderLine.Hide(true);
    // An empty box shows as a bar once drawn; one that was just begun has not been.
    const bool oldShown = m_bDrawSelectArea || !(m_bBeginBoxSelect && m_sSelectOld.IsSet() &&
                                                 m_sSelectOld.nColumnFrom == m_sSelectOld.nColumnTo);
    RECT changed{};
    for (int line = m_nViewTopLine; line <= m_nViewTopLine + m_nViewRowNum; ++line) {
      const int y = LineY(line);
      RECT before{};
      RECT after{};
      const bool had = oldShown && SelectionRectInRow(line, y, m_sSelectOld, &before);
      const bool has = SelectionRectInRow(line, y, m_sSelect, &after);
      if (had && has && before.left == after.left && before.right == after.right) continue;
      if (had) {
        InvertRect(GetViewDC(), before);
        Include(&changed, before);
      }
      if (has) {
        InvertRect(GetViewDC(), after);
        Include(&changed, after);
      }
    }
    if (changed.right > changed.left) FlushImage(&changed);
  }
  m_bDrawSelectArea = true;
  ShowSelectionSize();
}

void CEditView::InvertSelectionLine(int nLine, const SelectRange& range) {
  if (!m_bDrawSWITCH || !GetViewDC()) return;
  m_cUnderLine.Hide(true);
  RECT rect{};
  const int y = LineY(nLine);
  if (!SelectionRectInRow(nLine, y, range, &rect)) return;
  InvertRect(GetViewDC(), rect);
  FlushImage(&rect);
}

void CEditView::InvertSelectionInRow(HDC hdc, int nLine, int nY) {
  RECT rect{};
  if (!IsTextSelected() || !SelectionRectInRow(nLine, nY, m_sSelect, &rect)) return;
  InvertRect(hdc, rect);
  m_bDrawSelectArea = true;
}
