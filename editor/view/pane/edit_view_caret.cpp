// The caret of a pane: its shape, where it is placed (scrolling the view to keep it in sight), how
// it moves between lines, and the conversions between columns and byte offsets.
#include <algorithm>
#include <cstdlib>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/caret.h"
#include "platform/ime_query.h"
#include "platform/window.h"

// ---- Caret ---------------------------------------------------------------------------------------

void CEditView::UpdateCaret() {
  const bool activeWindow = !m_pEditWnd || m_pEditWnd->IsActiveWindow();
  if (!activeWindow || !IsActivePane()) {
    m_nCaretWidth = 0;
    return;
  }
  const bool insert = m_pcEditDoc->m_bInsMode;
  int width = 0;
  int height = 0;
  switch (Common().nCaretType & 0x0F) {
    case 0:  // upright bar
      height = m_nCharHeight;
      width = insert ? 2 : CaretCellWidth();
      break;
    case 1:  // block
      height = insert ? std::max(1, m_nCharHeight / 2) : m_nCharHeight;
      width = CaretCellWidth();
      break;
    default:
      break;
  }
  if (width <= 0 || height <= 0) {
    // A caret type this pane does not know: no caret at all.
    if (m_nCaretWidth != 0) {
      HideCaretOnce();
      if (m_hWnd) platform::DestroyCaret();
    }
    m_nCaretWidth = 0;
    m_nCaretHeight = 0;
    return;
  }
  if (m_nCaretWidth == 0) {
    if (m_hWnd) platform::CreateCaret(m_hWnd, nullptr, width, height);
    m_bCaretShowFlag = false;
  } else if (m_nCaretWidth == width && m_nCaretHeight == height) {
    HideCaretOnce();
  } else {
    if (m_hWnd) {
      platform::DestroyCaret();
      platform::CreateCaret(m_hWnd, nullptr, width, height);
    }
    m_bCaretShowFlag = false;
  }
  // The caret stands on the bottom of its character cell.
  const int x = ColumnX(m_nCaretPosX);
  const int y = LineY(m_nCaretPosY) + m_nCharHeight - height;
  if (m_hWnd) platform::SetCaretPos(x, y);
  m_ptCaretPixel = POINT{x, y};
  m_nCaretWidth = width;
  m_nCaretHeight = height;
  if (x >= m_nViewAlignLeft && y >= m_nViewAlignTop) ShowCaretOnce();
  SetImeCompositionPos();
}

int CEditView::CaretCellWidth() {
  const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
  const DisplayRow::Hit hit = row.CharAt(m_nCaretPosX);
  const bool oneColumn = hit.size == 0 || row.text[hit.offset] == '\t';
  return (oneColumn ? 1 : hit.size) * ColumnWidth();
}

void CEditView::SetImeCompositionPos() {
  // The character cell the caret stands in, whatever the caret's shape.
  const int top = m_ptCaretPixel.y + m_nCaretHeight - m_nCharHeight;
  m_rcImeComposition = RECT{m_ptCaretPixel.x, top, m_ptCaretPixel.x + std::max(1, m_nCaretWidth), top + m_nCharHeight};
  // The input method asks the window's query provider for the rectangle when told it moved.
  if (m_hWnd) platform::UpdateImeQueries(m_hWnd);
}

void CEditView::SetImeCompositionFont() {
  // The input method reads the pane's font from the window's query provider, asked anew.
  if (m_hWnd) platform::UpdateImeQueries(m_hWnd);
}

void CEditView::ShowCaretOnce() {
  if (m_bCaretShowFlag) return;
  if (m_hWnd) platform::ShowCaret(m_hWnd);
  m_bCaretShowFlag = true;
}

void CEditView::HideCaretOnce() {
  if (!m_bCaretShowFlag) return;
  if (m_hWnd) platform::HideCaret(m_hWnd);
  m_bCaretShowFlag = false;
}

// ---- Placing the caret ---------------------------------------------------------------------------

int CEditView::PlaceCursor(int nColumn, int nLine, bool bRepaint, int nDivisor) {
  if (!m_pcEditDoc || m_nViewColNum <= 0) return 0;
  m_cUnderLine.Hide(bRepaint);

  const int margin = m_bBeginSelect ? 0 : std::max(1, m_nViewRowNum / std::max(1, nDivisor));
  ClampPositionToEnd(&nColumn, &nLine);

  // Horizontal: keep four columns between the caret and either edge where the text allows it.
  const int wrap = Layout().GetWrapWidth();
  int left = m_nViewLeftCol;
  if (wrap > m_nViewColNum && nColumn > m_nViewLeftCol + m_nViewColNum - 4) {
    left = nColumn - m_nViewColNum + 4;
  } else if (m_nViewLeftCol > 0 && nColumn < m_nViewLeftCol + 4) {
    left = std::max(0, nColumn - 4);
  }
  const int scrollCols = m_nViewLeftCol - left;

  // Vertical: keep the margin above and below, never showing more than two empty rows after the
  // last line.
  const int count = Layout().GetLineCount();
  int top = m_nViewTopLine;
  if (nLine < m_nViewTopLine + margin) {
    top = nLine < margin ? 0 : nLine - margin;
  } else if (nLine >= m_nViewTopLine + m_nViewRowNum - margin - 2) {
    if (nLine <= count - margin - 2) {
      top = nLine + margin + 2 - m_nViewRowNum;
    } else if (m_nViewRowNum < count + 2) {
      top = count + 2 - m_nViewRowNum;
    }
  }
  const int scrollRows = m_nViewTopLine - top;

  m_nViewLeftCol = left;
  if (bRepaint) {
    m_nViewTopLine = top;
    if (m_bDrawSWITCH && (scrollCols != 0 || scrollRows != 0)) {
      if (std::abs(scrollCols) >= m_nViewColNum || std::abs(scrollRows) >= m_nViewRowNum) {
        InvalidateClient(nullptr);
      } else {
        const RECT text = TextAreaRect();
        const int dy = scrollRows * LineHeight();
        if (scrollCols == 0) {
          // The number column moves with its lines.
          ScrollImage(0, dy, RECT{0, text.top, text.right, text.bottom});
        } else {
          ScrollImage(scrollCols * ColumnWidth(), dy, text);
          ScrollImage(0, dy, RECT{0, text.top, text.left, text.bottom});
        }
      }
    }
    UpdateScrollBars();
  }

  m_nCaretPosX = nColumn;
  m_nCaretPosY = nLine;
  Layout().WrapToDocPos(nColumn, nLine, &m_nCaretPosX_PHY, &m_nCaretPosY_PHY);
  if (scrollCols != 0) m_bRedrawRuler = true;

  if (bRepaint) {
    UpdateCaret();
    RepaintRulerNow();
    m_cUnderLine.Show(true);
    ShowCaretPosition();
    FollowVertically(-scrollRows);
    FollowHorizontally(-scrollCols);
  }
  DrawBracketHighlight(false);
  UpdateBracketPair(true);
  DrawBracketHighlight(true);
  return scrollRows;
}

bool CEditView::ClampPositionToEnd(int* pnColumn, int* pnLine) {
  const int column = *pnColumn;
  const int line = *pnLine;
  *pnColumn = std::max(0, *pnColumn);
  *pnLine = std::max(0, *pnLine);
  const int count = m_pcEditDoc ? Layout().GetLineCount() : 0;
  if (count == 0) {
    *pnColumn = 0;
    *pnLine = 0;
  } else if (*pnLine >= count) {
    const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
    const int end = last.EndColumn();
    if (!last.hasLineEnd && end < Layout().GetWrapWidth()) {
      *pnColumn = end;
      *pnLine = count - 1;
    } else {
      // The row where "[EOF]" stands.
      *pnColumn = 0;
      *pnLine = count;
    }
  }
  return *pnColumn != column || *pnLine != line;
}

void CEditView::MoveCursorToPoint(int x, int y) {
  if (!m_pcEditDoc) return;
  const int line = std::max(0, m_nViewTopLine + (y - m_nViewAlignTop) / LineHeight());
  // A point over the number column lies left of every column.
  int column = std::max(0, m_nViewLeftCol + (x - m_nViewAlignLeft) / ColumnWidth());
  const int count = Layout().GetLineCount();
  if (line < count) {
    const DisplayRow row = DisplayRow::Of(Layout(), line);
    const DisplayRow::Hit hit = row.CharAt(column);
    if (hit.size > 0) {
      // The right half of a wide character (double-byte or tab) puts the caret after it.
      const int toEnd = hit.column + hit.cells - column;
      const bool afterIt = hit.cells > 1 && column >= row.indent && 2 * toEnd <= hit.cells;
      column = afterIt ? hit.column + hit.cells : hit.column;
    } else if (!row.hasLineEnd && line == count - 1) {
      column = hit.column;
    } else if (Common().bIsFreeCursorMode || (m_bBeginSelect && m_bBeginBoxSelect)) {
      column = std::clamp(column, 0, Layout().GetWrapWidth());
    } else {
      column = hit.column;
    }
  }
  PlaceCursor(column, line, true, 1000);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

int CEditView::MoveCursorVertically(int nDelta, bool bSelect) {
  if (!m_pcEditDoc) return 0;
  const int count = Layout().GetLineCount();
  int target = 0;
  bool toEofRow = false;
  if (nDelta <= 0) {
    if (m_nCaretPosY <= 0) return 0;
    target = std::max(0, m_nCaretPosY + nDelta);
  } else {
    if (count == 0 || m_nCaretPosY >= count) return 0;
    if (m_nCaretPosY >= count - 1) {
      const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
      if (!last.hasLineEnd && last.EndColumn() < Layout().GetWrapWidth()) return 0;
      target = count;
      toEofRow = true;
    } else {
      target = std::min(count - 1, m_nCaretPosY + nDelta);
    }
  }

  if (bSelect) {
    if (!IsTextSelected()) BeginSelectionAtCaret();
  } else if (IsTextSelected()) {
    ClearSelection(true);
  }

  int column = 0;
  if (!toEofRow) {
    const DisplayRow row = DisplayRow::Of(Layout(), target);
    const DisplayRow::Hit hit = row.CharAt(m_nCaretPosX_Prev);
    column = hit.column;
    if (hit.size == 0) {
      const bool lastWithoutEnd = !row.hasLineEnd && target == count - 1;
      const bool free = Common().bIsFreeCursorMode || (m_bBeginBoxSelect && IsTextSelected());
      if (free && !lastWithoutEnd) column = m_nCaretPosX_Prev;
    }
  }
  const int scrolled = PlaceCursor(column, target, m_bDrawSWITCH != 0, 20);
  if (bSelect) ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);
  return scrolled;
}

// ---- Columns and offsets -------------------------------------------------------------------------

int CEditView::LineColumnToOffset(int nLine, int nColumn) {
  if (!m_pcEditDoc) return 0;
  return DisplayRow::Of(Layout(), nLine).CharAt(nColumn).offset;
}

int CEditView::LineColumnToOffsetEx(int nLine, int nColumn, int* pnEndColumn) {
  if (pnEndColumn) *pnEndColumn = 0;
  if (!m_pcEditDoc) return 0;
  const DisplayRow::Hit hit = DisplayRow::Of(Layout(), nLine).CharAt(nColumn);
  if (pnEndColumn && hit.size == 0) *pnEndColumn = hit.column;
  return hit.offset;
}

int CEditView::LineOffsetToColumn(int nLine, int nOffset) {
  if (!m_pcEditDoc) return 0;
  return DisplayRow::Of(Layout(), nLine).ColumnOf(nOffset);
}

int CEditView::DocLineColumnToOffset(int nDocLine, int nColumn) {
  if (!m_pcEditDoc) return 0;
  return DisplayRow::OfDocLine(m_pcEditDoc->m_cDocLineMgr, Layout().GetTabWidth(), nDocLine).CharAt(nColumn).offset;
}

int CEditView::DocLineOffsetToColumn(int nDocLine, int nOffset) {
  if (!m_pcEditDoc) return 0;
  return DisplayRow::OfDocLine(m_pcEditDoc->m_cDocLineMgr, Layout().GetTabWidth(), nDocLine).ColumnOf(nOffset);
}
