// The caret of a pane, its scroll origin and scroll bars, the partner panes that scroll with it,
// and the conversions between columns and byte offsets.
#include <algorithm>
#include <cstdlib>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/caret.h"
#include "platform/dc_draw.h"
#include "platform/ime_query.h"
#include "platform/scroll_bar.h"
#include "platform/window.h"

namespace {

// The largest scroll-bar range a position message can carry.
constexpr int kMaxScrollRange = 65535;

// Moves the part of the pane's image inside area by (dx, dy) pixels and repaints the strips it
// uncovered. With a window, what is waiting to be painted is painted first, so that it moves
// with the rest instead of being painted later at its old place.
void ScrollViewImage(CEditView& view, int dx, int dy, const RECT& area) {
  if ((dx == 0 && dy == 0) || area.right <= area.left || area.bottom <= area.top) return;
  if (view.m_hWnd) platform::UpdateWindow(view.m_hWnd);
  if (view.GetViewDC()) platform::ScrollDC(view.GetViewDC(), dx, dy, &area, &area, nullptr);
  view.FlushImage(&area);
  if (dy != 0) {
    const int h = std::min(std::abs(dy), static_cast<int>(area.bottom - area.top));
    const RECT strip = dy > 0 ? RECT{area.left, area.top, area.right, area.top + h}
                              : RECT{area.left, area.bottom - h, area.right, area.bottom};
    view.InvalidateClient(&strip);
  }
  if (dx != 0) {
    const int w = std::min(std::abs(dx), static_cast<int>(area.right - area.left));
    const RECT strip = dx > 0 ? RECT{area.left, area.top, area.left + w, area.bottom}
                              : RECT{area.right - w, area.top, area.right, area.bottom};
    view.InvalidateClient(&strip);
  }
}

RECT TextArea(const CEditView& view) {
  return RECT{view.m_nViewAlignLeft, view.m_nViewAlignTop, view.m_nViewAlignLeft + view.m_nViewCx,
              view.m_nViewAlignTop + view.m_nViewCy};
}

// Draws the ruler again (all of it when it is marked for repaint, else its caret mark).
void RepaintRuler(CEditView& view) {
  if (!view.m_bDrawSWITCH || !view.GetViewDC()) return;
  view.PaintRuler(view.GetViewDC());
  const RECT ruler{0, 0, view.m_nClientWidth, std::max(0, view.m_nViewAlignTop - view.m_nTopYohaku)};
  view.FlushImage(&ruler);
}

}  // namespace

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
  const int x = m_nViewAlignLeft + (m_nCaretPosX - m_nViewLeftCol) * ColumnWidth();
  const int y = m_nViewAlignTop + (m_nCaretPosY - m_nViewTopLine) * LineHeight() + m_nCharHeight - height;
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
        const RECT text = TextArea(*this);
        const int dy = scrollRows * LineHeight();
        if (scrollCols == 0) {
          // The number column moves with its lines.
          ScrollViewImage(*this, 0, dy, RECT{0, text.top, text.right, text.bottom});
        } else {
          ScrollViewImage(*this, scrollCols * ColumnWidth(), dy, text);
          ScrollViewImage(*this, 0, dy, RECT{0, text.top, text.left, text.bottom});
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
    RepaintRuler(*this);
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

// ---- Scrolling -----------------------------------------------------------------------------------

int CEditView::ScrollToTopLine(int nLine) {
  if (!m_pcEditDoc) return 0;
  // In a pane taller than the text the upper bound is negative: 0 wins.
  nLine = std::max(0, std::min(nLine, Layout().GetLineCount() - m_nViewRowNum + 2));
  const int scrollRows = m_nViewTopLine - nLine;
  if (scrollRows == 0) return 0;
  m_nViewTopLine = nLine;
  if (m_bDrawSWITCH) {
    if (std::abs(scrollRows) < m_nViewRowNum) {
      const RECT text = TextArea(*this);
      ScrollViewImage(*this, 0, scrollRows * LineHeight(), RECT{0, text.top, text.right, text.bottom});
      if (m_hWnd) platform::UpdateWindow(m_hWnd);
    } else {
      InvalidateClient(nullptr);
    }
  }
  UpdateScrollBars();
  UpdateCaret();
  return scrollRows;
}

int CEditView::ScrollToLeftColumn(int nColumn) {
  if (!m_pcEditDoc) return 0;
  nColumn = std::max(0, std::min(nColumn, Layout().GetWrapWidth() - m_nViewColNum));
  const int scrollCols = m_nViewLeftCol - nColumn;
  if (scrollCols == 0) return 0;
  m_nViewLeftCol = nColumn;
  if (m_bDrawSWITCH) {
    if (std::abs(scrollCols) < m_nViewColNum) {
      ScrollViewImage(*this, scrollCols * ColumnWidth(), 0, TextArea(*this));
      if (m_hWnd) platform::UpdateWindow(m_hWnd);
    } else {
      InvalidateClient(nullptr);
    }
  }
  m_bRedrawRuler = true;
  RepaintRuler(*this);
  UpdateScrollBars();
  UpdateCaret();
  return scrollCols;
}

void CEditView::FollowVertically(int nAmount) {
  if (!Common().bSplitterWndVScroll || nAmount == 0) return;
  CEditView* partner = PartnerPane(m_nMyIndex ^ 1);
  if (partner && partner != this) partner->ScrollToTopLine(m_nViewTopLine);
}

void CEditView::FollowHorizontally(int nAmount) {
  if (!Common().bSplitterWndHScroll || nAmount == 0) return;
  CEditView* partner = PartnerPane(m_nMyIndex ^ 2);
  if (partner && partner != this) partner->ScrollToLeftColumn(m_nViewLeftCol);
  m_bRedrawRuler = true;
  RepaintRuler(*this);
}

void CEditView::OnVScrollBar(int nCode, int nPos) {
  if (!m_pcEditDoc) return;
  int line = m_nViewTopLine;
  switch (nCode) {
    case SB_LINEUP:
      line -= Common().nRepeatedScrollLineNum;
      break;
    case SB_LINEDOWN:
      line += Common().nRepeatedScrollLineNum;
      break;
    case SB_PAGEUP:
      line -= m_nViewRowNum;
      break;
    case SB_PAGEDOWN:
      line += m_nViewRowNum;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      line = nPos;
      break;
    case SB_TOP:
      line = 0;
      break;
    case SB_BOTTOM:
      line = std::max(0, Layout().GetLineCount() - m_nViewRowNum);
      break;
    default:
      return;
  }
  ScrollToTopLine(line);
}

void CEditView::OnHScrollBar(int nCode, int nPos) {
  if (!m_pcEditDoc) return;
  m_bRedrawRuler = true;
  int column = m_nViewLeftCol;
  switch (nCode) {
    case SB_LINELEFT:
      column -= 4;
      break;
    case SB_LINERIGHT:
      column += 4;
      break;
    case SB_PAGELEFT:
      column -= m_nViewColNum;
      break;
    case SB_PAGERIGHT:
      column += m_nViewColNum;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      column = nPos;
      break;
    case SB_LEFT:
      column = 0;
      break;
    case SB_RIGHT:
      column = std::max(0, Layout().GetWrapWidth() - m_nViewColNum);
      break;
    default:
      return;
  }
  ScrollToLeftColumn(column);
}

void CEditView::UpdateScrollBars() {
  if (!m_bDrawSWITCH || !m_pcEditDoc) return;
  // A scroll bar's positions travel in 16 bits: a longer text scrolls by several lines a step.
  const int range = Layout().GetLineCount() + 2;
  const int scale = range > kMaxScrollRange ? std::max(2, range / (kMaxScrollRange + 1) + 1) : 1;
  m_nVScrollRate = scale;
  if (m_hwndVScrollBar) {
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = range / scale - 1;
    info.nPage = static_cast<UINT>(std::max(0, m_nViewRowNum / scale));
    info.nPos = m_nViewTopLine / scale;
    platform::SetScrollInfo(m_hwndVScrollBar, SB_CTL, &info, 1);
  }
  if (m_nViewRowNum >= range) ScrollToTopLine(0);

  if (m_hwndHScrollBar) {
    const int wrap = Layout().GetWrapWidth();
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = wrap - 1;
    info.nPage = static_cast<UINT>(std::max(0, m_nViewColNum));
    info.nPos = m_nViewLeftCol;
    platform::SetScrollInfo(m_hwndHScrollBar, SB_CTL, &info, 1);
    if (m_nViewColNum >= wrap) ScrollToLeftColumn(0);
  }
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
