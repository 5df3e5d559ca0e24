// The frame around the text: the number column with its change, comparison and bookmark marks,
// the ruler with the caret's mark, the vertical guide lines and the caret-line underline.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/color_items.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/pane_drawing.h"
#include "platform/dc_draw.h"
#include "platform/dc_text.h"

namespace {

using pane_drawing::FillBox;
using pane_drawing::ScopedPen;

// The caret mark inverts the XOR of brush and picture, so drawing it twice gives the picture back.
constexpr DWORD kRulerMarkRop = 0x00A50065;
constexpr COLORREF kMarkWithCaret = RGB(0, 0, 0);
constexpr COLORREF kMarkWithoutCaret = RGB(128, 128, 128);

// The one-pixel strokes of the comparison marks, in the number column's first pixels.
void DrawDiffMark(HDC hdc, int state, int middle) {
  switch (state) {
    case CDocLine::DIFF_ADDED:  // a plus
      platform::MoveToEx(hdc, 3, middle, nullptr);
      platform::LineTo(hdc, 6, middle);
      platform::MoveToEx(hdc, 4, middle - 2, nullptr);
      platform::LineTo(hdc, 4, middle + 3);
      break;
    case CDocLine::DIFF_CHANGED:  // an exclamation mark
      platform::MoveToEx(hdc, 3, middle - 4, nullptr);
      platform::LineTo(hdc, 3, middle);
      platform::MoveToEx(hdc, 3, middle + 2, nullptr);
      platform::LineTo(hdc, 3, middle + 3);
      break;
    case CDocLine::DIFF_DELETED:  // a wedge pointing up, two pixels thick
      for (int thick = 0; thick < 2; ++thick) {
        platform::MoveToEx(hdc, 1, middle + 2 + thick, nullptr);
        platform::LineTo(hdc, 4, middle - 1 + thick);
        platform::LineTo(hdc, 7, middle + 2 + thick);
      }
      break;
    case CDocLine::DIFF_DELETED_AFTER:  // a wedge pointing down
      for (int thick = 0; thick < 2; ++thick) {
        platform::MoveToEx(hdc, 1, middle - 2 + thick, nullptr);
        platform::LineTo(hdc, 4, middle + 1 + thick);
        platform::LineTo(hdc, 7, middle - 2 + thick);
      }
      break;
    default:
      break;
  }
}

}  // namespace

int CEditView::LineNumberColorCode(const CDocLine* pDocLine) const {
  if (!pDocLine) return kColorLineNumber;
  int code = kColorLineNumber;
  if (m_pcEditDoc && m_pcEditDoc->m_bIsModified && pDocLine->IsModified()) code = kColorModified;
  const int diff = pDocLine->GetDiffState();
  if (diff != CDocLine::DIFF_NONE) {
    const int diffCode = kColorDiffAdded + std::min(diff, int{CDocLine::DIFF_DELETED}) - 1;
    if (ColorOf(diffCode).bShow) code = diffCode;
  }
  if (pDocLine->IsBookmarked() && ColorOf(kColorBookmark).bShow) code = kColorBookmark;
  return code;
}

void CEditView::PaintLineNumber(HDC hdc, int nLine, int nLineIndex, int y) {
  if (!hdc || !m_pcEditDoc) return;
  const TypeSettings& type = Type();
  const int lineHeight = LineHeight();
  const int columnWidth = ColumnWidth();
  int docLineIndex = -1;
  const CWrapLine* line = Layout().GetLine(nLine, &docLineIndex);
  const CDocLine* docLine = line ? line->m_pDocLine : nullptr;
  const ColorItem& item = ColorOf(LineNumberColorCode(docLine));
  const COLORREF textBack = ColorOf(kColorText).colBack;

  if (ColorOf(kColorLineNumber).bShow) {
    const int numberRight = m_nViewAlignLeftCols * columnWidth;
    FillBox(hdc, numberRight, y, m_nViewAlignLeft, y + lineHeight, textBack);
    FillBox(hdc, 0, y, numberRight, y + lineHeight, item.colBack);
    std::string label;
    if (!type.bCountDocumentLines) {
      label = std::to_string(nLineIndex + 1);
    } else if (line && line->m_nOffset == 0) {
      label = std::to_string(docLineIndex + 1);
    } else {
      label = " ";
    }
    if (type.nLineNumberSeparator == 2) label += type.cLineTermChar;
    // The blank of a continuation line only places what follows it.
    const size_t blanks = std::min(label.find_first_not_of(' '), label.size());
    const platform::Font* font = GetFontFor(item.bBold != 0, item.bUnderline != 0);
    if (font && blanks < label.size()) {
      const int x = (m_nViewAlignLeftCols - 1 - static_cast<int>(label.size() - blanks)) * columnWidth;
      const RECT area{0, y, numberRight, y + lineHeight};
      const platform::Font* oldFont = platform::SelectFont(hdc, font);
      const COLORREF oldText = platform::SetTextColor(hdc, item.colText);
      const int oldMode = platform::SetBkMode(hdc, platform::TRANSPARENT);
      platform::ExtTextOutA(hdc, x, y, platform::ETO_CLIPPED, &area, label.data() + blanks,
                            static_cast<UINT>(label.size() - blanks), columnWidth);
      platform::SetBkMode(hdc, oldMode);
      platform::SetTextColor(hdc, oldText);
      platform::SelectFont(hdc, oldFont);
    }
    if (type.nLineNumberSeparator == 1) {
      ScopedPen pen(hdc, item.colText);
      platform::MoveToEx(hdc, numberRight - 2, y, nullptr);
      platform::LineTo(hdc, numberRight - 2, y + lineHeight);
    }
  } else {
    const int strip = m_nViewAlignLeft - Common().nLineNumberRightSpace;
    FillBox(hdc, 0, y, strip, y + lineHeight, item.colBack);
    FillBox(hdc, std::max(strip, 0), y, m_nViewAlignLeft, y + lineHeight, textBack);
  }

  if (!docLine) return;
  if (docLine->IsBookmarked() && !ColorOf(kColorBookmark).bShow) {
    FillBox(hdc, 1, y, 3, y + lineHeight, item.colText);
  }
  if (docLine->GetDiffState() != CDocLine::DIFF_NONE) {
    ScopedPen pen(hdc, item.colText);
    DrawDiffMark(hdc, docLine->GetDiffState(), y + lineHeight / 2);
  }
}

void CEditView::PaintRuler(HDC hdc) {
  if (!hdc || !m_bDrawSWITCH || !ColorOf(kColorRuler).bShow || !m_pcEditDoc) return;
  const int bottom = m_nViewAlignTop - m_nTopYohaku;
  if (bottom <= 0) return;
  if (m_bRedrawRuler) {
    PaintRulerScale(hdc, bottom);
  } else {
    const bool caretInView = m_nCaretPosX >= m_nViewLeftCol && m_nCaretPosX < m_nViewLeftCol + m_nViewColNum + 2;
    if (!caretInView || (m_nCaretPosX == m_nOldCaretPosX && m_nCaretWidth == m_nOldCaretWidth)) return;
    if (m_nOldCaretPosX >= 0) DrawRulerMark(hdc, m_nOldCaretPosX, m_nOldCaretWidth != 0);
  }
  DrawRulerMark(hdc, m_nCaretPosX, m_nCaretWidth != 0);
  m_nOldCaretPosX = m_nCaretPosX;
  m_nOldCaretWidth = m_nCaretWidth;
  m_bRedrawRuler = false;
  if (hdc == GetViewDC()) {
    const RECT ruler{0, 0, m_nClientWidth, bottom};
    FlushImage(&ruler);
  }
}

void CEditView::PaintRulerScale(HDC hdc, int bottom) {
  const ColorItem& ruler = ColorOf(kColorRuler);
  const int wrapWidth = Layout().GetWrapWidth();
  const int left = m_nViewAlignLeft;
  const int right = m_nViewAlignLeft + m_nViewCx;
  FillBox(hdc, 0, 0, m_nClientWidth, bottom, ruler.colBack);

  ScopedPen pen(hdc, ruler.colText);
  const int wrapEdge = ColumnX(wrapWidth);
  const int baseEnd = std::min(wrapEdge + 1, right);
  if (baseEnd > left) {
    platform::MoveToEx(hdc, left, bottom - 1, nullptr);
    platform::LineTo(hdc, baseEnd, bottom - 1);
  }

  // The labels: the font module's own face stands for the ruler's sans-serif one.
  LOGFONT lf;
  lf.lfHeight = 1 - Common().nRulerHeight;
  lf.lfWeight = platform::FW_NORMAL;
  lf.lfOutPrecision = 3;   // stroke
  lf.lfClipPrecision = 2;  // stroke
  lf.lfQuality = static_cast<BYTE>(platform::DRAFT_QUALITY);
  lf.lfPitchAndFamily = 0x22;  // variable pitch, Swiss
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
  const std::optional<platform::Font> font =
      lf.lfHeight < 0 ? platform::CreateFontIndirect(&lf) : std::optional<platform::Font>{};
  const platform::Font* oldFont = platform::SelectFont(hdc, font ? &*font : nullptr);
  const COLORREF oldText = platform::SetTextColor(hdc, ruler.colText);
  const int oldMode = platform::SetBkMode(hdc, platform::TRANSPARENT);

  const int tickBase = bottom - 2;
  const int last = std::min(m_nViewLeftCol + m_nViewColNum + 1, wrapWidth);
  for (int t = std::max(m_nViewLeftCol, 0); t <= last; ++t) {
    const int x = ColumnX(t);
    if (t == wrapWidth) {
      platform::MoveToEx(hdc, x, bottom - 1, nullptr);
      platform::LineTo(hdc, x, -1);
    }
    if (t % 10 == 0) {
      platform::MoveToEx(hdc, x, tickBase, nullptr);
      platform::LineTo(hdc, x, -1);
      if (font) {
        const std::string label = std::to_string(t / 10);
        platform::TextOutA(hdc, x + 2, -1, label.data(), static_cast<int>(label.size()));
      }
    } else {
      platform::MoveToEx(hdc, x, tickBase, nullptr);
      platform::LineTo(hdc, x, tickBase - (t % 5 == 0 ? 6 : 3));
    }
  }

  platform::SetBkMode(hdc, oldMode);
  platform::SetTextColor(hdc, oldText);
  platform::SelectFont(hdc, oldFont);
}

void CEditView::DrawRulerMark(HDC hdc, int nColumn, bool bCaretExists) {
  const int bottom = m_nViewAlignTop - m_nTopYohaku;
  const int columnWidth = ColumnWidth();
  const int x = ColumnX(nColumn);
  // Kept inside the text area's columns, so that a caret scrolled out of view marks nothing over
  // the number column's part of the ruler.
  const int from = std::max(x + 1, m_nViewAlignLeft);
  const int to = std::min(x + columnWidth - 1, m_nViewAlignLeft + m_nViewCx);
  if (to <= from || bottom <= 1) return;
  platform::Brush brush = platform::CreateSolidBrush(bCaretExists ? kMarkWithCaret : kMarkWithoutCaret);
  HBRUSH oldBrush = platform::SelectObject(hdc, &brush);
  platform::PatBlt(hdc, from, 0, to - from, bottom - 1, kRulerMarkRop);
  platform::SelectObject(hdc, oldBrush);
}

void CEditView::PaintGuideLines(HDC hdc) {
  const ColorItem& guide = ColorOf(kColorGuide);
  if (!hdc || !guide.bShow || !m_pcEditDoc) return;
  const TypeSettings& type = Type();
  const int wrapWidth = Layout().GetWrapWidth();
  const int columnWidth = ColumnWidth();
  const int left = m_nViewAlignLeft;
  const int right = m_nViewAlignLeft + m_nViewCx;
  const int origin = left + Common().nVertLineOffset - columnWidth * (m_nViewLeftCol + 1);
  ScopedPen pen(hdc, guide.colText);
  // False once the column lies beyond the wrap width or right of the text area.
  auto drawAt = [&](int column) {
    if (column > wrapWidth) return false;
    const int x = origin + columnWidth * column;
    if (x > right) return false;
    if (x > left) {
      platform::MoveToEx(hdc, x, m_nViewAlignTop, nullptr);
      platform::LineTo(hdc, x, m_nViewAlignTop + m_nViewCy);
    }
    return true;
  };
  constexpr int kEntries = static_cast<int>(sizeof(TypeSettings::nVertLineIdx) / sizeof(int32_t));
  for (int i = 0; i < kEntries && type.nVertLineIdx[i] != 0; ++i) {
    const int value = type.nVertLineIdx[i];
    if (value > 0) {
      drawAt(value);
      continue;
    }
    if (i + 2 >= kEntries) break;  // a series needs two more entries
    const int first = -value;
    const int lastColumn = type.nVertLineIdx[i + 1];
    const int step = type.nVertLineIdx[i + 2];
    i += 2;
    if (lastColumn < first || step <= 0) continue;
    int column = first;
    if (column <= m_nViewLeftCol) column += ((m_nViewLeftCol - column) / step + 1) * step;
    for (; column <= lastColumn && drawAt(column); column += step) {
    }
  }
}

void CEditView::DrawCursorLineUnderline(bool bRepaint) {
  const ColorItem& underline = ColorOf(kColorUnderline);
  if (!underline.bShow || IsTextSelected()) return;
  const int y = LineY(m_nCaretPosY) + m_nCharHeight;
  m_nOldUnderLineY = y == -1 ? -2 : y;
  HDC hdc = GetViewDC();
  if (!bRepaint || !hdc || !m_bDrawSWITCH || m_bDoing_UndoRedo) return;
  if (y < m_nViewAlignTop || y >= m_nViewAlignTop + m_nViewCy) return;
  {
    ScopedPen pen(hdc, underline.colText);
    platform::MoveToEx(hdc, m_nViewAlignLeft, y, nullptr);
    platform::LineTo(hdc, m_nViewAlignLeft + m_nViewCx, y);
  }
  const RECT row{m_nViewAlignLeft, y, m_nViewAlignLeft + m_nViewCx, y + 1};
  FlushImage(&row);
}

void CEditView::EraseCursorLineUnderline(bool bRepaint) {
  if (!ColorOf(kColorUnderline).bShow || m_nOldUnderLineY == -1) return;
  const int y = m_nOldUnderLineY;
  m_nOldUnderLineY = -1;
  HDC hdc = GetViewDC();
  if (!bRepaint || !hdc || !m_bDrawSWITCH || m_bDoing_UndoRedo) return;
  if (y < m_nViewAlignTop || y >= m_nViewAlignTop + m_nViewCy) return;
  // Only the underline's pixel row is painted again, as if nothing were selected: a selection
  // that is starting has not been drawn yet.
  const RECT row{m_nViewAlignLeft, y, m_nViewAlignLeft + m_nViewCx, y + 1};
  const SelectRange selection = m_sSelect;
  const bool selectionDrawn = m_bDrawSelectArea;
  m_sSelect.Clear();
  m_bDrawSelectArea = false;
  m_cUnderLine.Lock();
  hdc->SetClipRect(&row);
  PaintView(hdc, &row);
  hdc->SetClipRect(nullptr);
  m_cUnderLine.Unlock();
  m_sSelect = selection;
  m_bDrawSelectArea = selectionDrawn;
  FlushImage(&row);
}

void CCursorLineUnderline::Show(bool repaint) {
  if (IsLocked() || !m_pView) return;
  m_pView->DrawCursorLineUnderline(repaint);
}

void CCursorLineUnderline::Hide(bool repaint) {
  if (IsLocked() || !m_pView) return;
  m_pView->EraseCursorLineUnderline(repaint);
}
