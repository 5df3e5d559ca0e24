// The scroll origin of a pane: scrolling by block moves of its image, the scroll bars, and the
// partner panes that scroll with it.
#include <algorithm>
#include <cstdlib>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/edit_view.h"
#include "platform/dc_draw.h"
#include "platform/scroll_bar.h"
#include "platform/window.h"

namespace {

// The largest scroll-bar range a position message can carry.
constexpr int kMaxScrollRange = 65535;

}  // namespace

// Moves the part of the pane's image inside area by (dx, dy) pixels and repaints the strips it
// uncovered. With a window, what is waiting to be painted is painted first, so that it moves
// with the rest instead of being painted later at its old place.
void CEditView::ScrollImage(int dx, int dy, const RECT& area) {
  if ((dx == 0 && dy == 0) || area.right <= area.left || area.bottom <= area.top) return;
  if (m_hWnd) platform::UpdateWindow(m_hWnd);
  if (GetViewDC()) platform::ScrollDC(GetViewDC(), dx, dy, &area, &area, nullptr);
  FlushImage(&area);
  if (dy != 0) {
    const int h = std::min(std::abs(dy), static_cast<int>(area.bottom - area.top));
    const RECT strip = dy > 0 ? RECT{area.left, area.top, area.right, area.top + h}
                              : RECT{area.left, area.bottom - h, area.right, area.bottom};
    InvalidateClient(&strip);
  }
  if (dx != 0) {
    const int w = std::min(std::abs(dx), static_cast<int>(area.right - area.left));
    const RECT strip = dx > 0 ? RECT{area.left, area.top, area.left + w, area.bottom}
                              : RECT{area.right - w, area.top, area.right, area.bottom};
    InvalidateClient(&strip);
  }
}

RECT CEditView::TextAreaRect() const {
  return RECT{m_nViewAlignLeft, m_nViewAlignTop, m_nViewAlignLeft + m_nViewCx, m_nViewAlignTop + m_nViewCy};
}

// Draws the ruler again (all of it when it is marked for repaint, else its caret mark); PaintRuler
// shows what it drew on the view's own image.
void CEditView::RepaintRulerNow() {
  if (m_bDrawSWITCH) PaintRuler(GetViewDC());
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
      const RECT text = TextAreaRect();
      ScrollImage(0, scrollRows * LineHeight(), RECT{0, text.top, text.right, text.bottom});
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
      ScrollImage(scrollCols * ColumnWidth(), 0, TextAreaRect());
      if (m_hWnd) platform::UpdateWindow(m_hWnd);
    } else {
      InvalidateClient(nullptr);
    }
  }
  m_bRedrawRuler = true;
  RepaintRulerNow();
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
  RepaintRulerNow();
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
