// Painting: the whole pane or a part of it, one document line at a time through the colour-state
// machine, the marks of tabs, spaces, line ends, wrap points and the end of the text, and the
// search hits laid over all of it. Every byte is one column of the grid.
#include <algorithm>
#include <cstring>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/text/word_search.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/color_items.h"
#include "editor/view/pane/color_state_walker.h"
#include "editor/view/pane/edit_view.h"
#include "platform/dc_draw.h"
#include "platform/dc_text.h"

namespace {

constexpr char kTabBlanks[] = "        ";
constexpr int kTabMarkMax = 8;
constexpr char kEofMark[] = "[EOF]";
constexpr int kEofColumns = 5;
// How far back a paint looks for the start of a document line (in columns of its text).
constexpr int kStepBackColumns = 260;

// The look of a mark: colours and font.
struct Look {
  COLORREF text;
  COLORREF back;
  bool bold;
  bool underline;
};
Look LookOf(const ColorItem& item) { return {item.colText, item.colBack, item.bBold != 0, item.bUnderline != 0}; }

void Fill(HDC hdc, const RECT& rect, COLORREF colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  platform::Brush brush(colour);
  platform::FillRect(hdc, &rect, &brush);
}

// Draws a few cells of text in a look of their own, only inside clip, and leaves the context's
// colours and font as they were.
void DrawCells(const CEditView& view, HDC hdc, int x, int y, const char* text, int length, const Look& look,
               const RECT& clip, bool opaque) {
  if (clip.right <= clip.left || clip.bottom <= clip.top) return;
  const platform::DCTextState saved = hdc->TextState();
  platform::SetTextColor(hdc, look.text);
  platform::SetBkColor(hdc, look.back);
  if (const platform::Font* font = view.GetFontFor(look.bold, look.underline)) platform::SelectFont(hdc, font);
  platform::ExtTextOutA(hdc, x, y, platform::ETO_CLIPPED | (opaque ? platform::ETO_OPAQUE : 0), &clip, text,
                        static_cast<UINT>(length), view.ColumnWidth());
  hdc->TextState() = saved;
}

// A 1-pixel pen drawing strokes of a mark; bold repeats each stroke one pixel lower (a horizontal
// stroke) or to the right (any other).
class MarkPen {
 public:
  MarkPen(HDC hdc, COLORREF colour, bool bold) : m_hdc(hdc), m_pen(colour), m_bold(bold) {
    m_oldPen = platform::SelectObject(hdc, &m_pen);
    m_oldRop = platform::SetROP2(hdc, platform::R2_COPYPEN);
  }
  ~MarkPen() {
    platform::SelectObject(m_hdc, m_oldPen);
    if (m_oldRop) platform::SetROP2(m_hdc, m_oldRop);
  }
  MarkPen(const MarkPen&) = delete;
  MarkPen& operator=(const MarkPen&) = delete;

  // From (x1, y1) to (x2, y2), both ends drawn.
  void Stroke(int x1, int y1, int x2, int y2) {
    Line(x1, y1, x2, y2);
    if (!m_bold) return;
    const int dx = y1 == y2 ? 0 : 1;
    const int dy = y1 == y2 ? 1 : 0;
    Line(x1 + dx, y1 + dy, x2 + dx, y2 + dy);
  }

 private:
  void Line(int x1, int y1, int x2, int y2) {
    platform::MoveToEx(m_hdc, x1, y1, nullptr);
    platform::LineTo(m_hdc, x2, y2);
    platform::SetPixel(m_hdc, x2, y2, m_pen.Color());
  }
  HDC m_hdc;
  platform::Pen m_pen;
  bool m_bold;
  HPEN m_oldPen = nullptr;
  int m_oldRop = 0;
};

// Limits output to rect (within what was allowed before) while alive.
class ClipScope {
 public:
  ClipScope(HDC hdc, const RECT& rect) : m_hdc(hdc), m_saved(hdc->GetOutputRect()) {
    RECT clip;
    if (!IntersectRect(&clip, &m_saved, &rect)) clip = RECT{0, 0, 0, 0};
    hdc->SetClipRect(&clip);
  }
  ~ClipScope() { m_hdc->SetClipRect(&m_saved); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  HDC m_hdc;
  RECT m_saved;
};

}  // namespace

// The sources of the colour-state machine for this pane as its settings stand.
static CColorStateWalker::Sources WalkerSources(CEditView& view) {
  CColorStateWalker::Sources sources;
  const TypeSettings& type = view.Type();
  sources.type = &type;
  sources.layout = &view.Layout();
  sources.keywords = view.m_pShareData ? &view.m_pShareData->KeywordSets : nullptr;
  // A pane made without a window has no highlighter until its type first uses one.
  if (type.bUseRegexKeyword && !view.m_pRegexKeyword) view.m_pRegexKeyword = std::make_unique<CRegexHighlighter>();
  if (type.bUseRegexKeyword && view.m_pRegexKeyword && view.m_pRegexKeyword->BindType(&type)) {
    sources.regexKeywords = view.m_pRegexKeyword.get();
  }
  const bool haveKey =
      view.m_bCurSrchRegularExp ? view.m_CurRegexp.GetResult() != nullptr : !view.m_szCurSrchKey.empty();
  if (view.m_bCurSrchKeyMark && haveKey && type.Colors[kColorFound].bShow) {
    sources.searchHits = &view;
    sources.regexSearch = view.m_bCurSrchRegularExp;
  }
  return sources;
}

void CEditView::PaintView(HDC hdc, const RECT* pRect) {
  if (!hdc || !m_bDrawSWITCH || !m_pcEditDoc || !hdc->GetBitmap()) return;
  const RECT rcClient{0, 0, m_nClientWidth, m_nClientHeight};
  const RECT rc = pRect ? *pRect : rcClient;
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;

  HideCaretOnce();
  const int nLineHeight = LineHeight();
  const int nColumnWidth = ColumnWidth();
  const int nX = m_nViewAlignLeft - m_nViewLeftCol * nColumnWidth;
  const TypeSettings& type = Type();
  // Recompiles the keywords only after the type changed; also switches them off when the type no
  // longer uses them.
  if (m_pRegexKeyword) m_pRegexKeyword->BindType(&type);
  DrawBracketHighlight(false);

  {
    // Like a window's paint, the text is drawn only inside the rectangle asked for.
    const ClipScope clip(hdc, rc);
    if (m_nTopYohaku > 0) {
      RECT gap{0, m_nViewAlignTop - m_nTopYohaku, m_nClientWidth, m_nViewAlignTop};
      Fill(hdc, gap, ColorOf(kColorText).colBack);
      gap.right = m_nViewAlignLeft - Common().nLineNumberRightSpace;
      Fill(hdc, gap, ColorOf(kColorLineNumber).colBack);
    }

    const platform::DCTextState savedText = hdc->TextState();
    platform::SetBkMode(hdc, platform::TRANSPARENT);
    if (const platform::Font* font = GetFontFor(false, false)) m_pFontOld = platform::SelectFont(hdc, font);
    platform::SetTextColor(hdc, ColorOf(kColorText).colText);
    platform::SetBkColor(hdc, ColorOf(kColorText).colBack);

    // Rows of the rectangle; a row counts when any of its pixels lies inside.
    const int nFirstLine =
        rc.top <= m_nViewAlignTop ? m_nViewTopLine : m_nViewTopLine + (rc.top - m_nViewAlignTop) / nLineHeight;
    const int nLastLine = rc.bottom <= m_nViewAlignTop
                              ? m_nViewTopLine - 1
                              : m_nViewTopLine + (rc.bottom - 1 - m_nViewAlignTop) / nLineHeight;
    const int nLineCount = Layout().GetLineCount();
    int nLine = nFirstLine;
    int y = LineY(nFirstLine);
    // The row after the last line may hold "[EOF]", which that line's painting draws.
    if (nLineCount > 0 && nLine == nLineCount) {
      --nLine;
      y -= nLineHeight;
    }
    // The colour state is known at the start of a document line: start there, unless the line is
    // so long that its start lies too far back.
    int nBack = kStepBackColumns / std::max(Layout().GetWrapWidth(), 1) + 1;
    for (; nBack > 0 && nLine > 0 && nLine < nLineCount; --nBack) {
      const CWrapLine* piece = Layout().GetLine(nLine);
      if (!piece || piece->m_nOffset == 0) break;
      --nLine;
      y -= nLineHeight;
    }

    if (nLineCount == 0) {
      if (m_nViewTopLine == 0 && nFirstLine == 0 && nLastLine >= 0 && ColorOf(kColorEof).bShow) {
        Fill(hdc, RECT{0, y, m_nViewAlignLeft + m_nViewCx, y + nLineHeight}, ColorOf(kColorText).colBack);
        DrawEofMark(hdc, nX, y);
        y += nLineHeight;
      }
    } else {
      const bool bSelected = IsTextSelected();
      int nIndex = nLine;
      while (nIndex < nLineCount && nIndex <= nLastLine) {
        const int nBefore = nIndex;
        if (PaintLine(hdc, nIndex, nX, &nIndex, &y, nLastLine, bSelected)) break;
        if (nIndex == nBefore) break;  // nothing more could be painted
      }
    }

    Fill(hdc, RECT{0, std::max(y, m_nViewAlignTop), m_nViewAlignLeft + m_nViewCx, rc.bottom},
         ColorOf(kColorText).colBack);
    if (m_pFontOld) platform::SelectFont(hdc, m_pFontOld);
    m_pFontOld = nullptr;
    hdc->TextState() = savedText;

    PaintGuideLines(hdc);
    const ColorItem& wrap = ColorOf(kColorWrap);
    if (wrap.bShow) {
      const int x = ColumnX(Layout().GetWrapWidth());
      if (x > m_nViewAlignLeft && x < m_nViewAlignLeft + m_nViewCx && m_nViewCy > 0) {
        MarkPen pen(hdc, wrap.colText, false);
        pen.Stroke(x, m_nViewAlignTop, x, m_nViewAlignTop + m_nViewCy - 1);
      }
    }
  }

  if (rc.top < m_nViewAlignTop - m_nTopYohaku) {
    m_bRedrawRuler = true;
    PaintRuler(hdc);
  }
  // Show does nothing while the underline is locked (its own row is being repainted).
  if (IsActivePane()) m_cUnderLine.Show(true);
  DrawBracketHighlight(true);
  ShowCaretOnce();
}

int CEditView::PaintLine(HDC hdc, int nLine, int nX, int* pnLineIndex, int* pnY, int nLastLine, bool bSelected) {
  if (!hdc || !pnLineIndex || !pnY) return 0;
  CWrapLine* piece = Layout().GetLine(nLine);
  if (!piece || !piece->m_pDocLine) return 0;
  const CDocLine* docLine = piece->m_pDocLine;
  int nLength = 0;
  const char* text = docLine->GetText(&nLength);
  if (!text) nLength = 0;
  const int nEolLength = std::min(docLine->m_cLineEnd.GetLen(), nLength);
  const int nTextLength = nLength - nEolLength;
  const int nLineHeight = LineHeight();
  const int nColumnWidth = ColumnWidth();
  const int nLeft = m_nViewAlignLeft;
  const int nRight = m_nViewAlignLeft + m_nViewCx;
  const int nLastRow = std::min(nLastLine, m_nViewTopLine + m_nViewRowNum);
  const TypeSettings& type = Type();
  const int nTabWidth = std::max(Layout().GetTabWidth(), 1);

  CColorStateWalker walker(WalkerSources(*this));
  walker.BeginLine(text, nLength, nTextLength, piece->m_nColorState);

  int pos = piece->m_nOffset;
  int drawnState = -1;  // the state whose colours the context holds for the pending run
  for (;;) {
    if (*pnLineIndex > nLastRow) return 0;
    const int y = *pnY;
    const int row = *pnLineIndex;
    // Rows above the text area are walked for their colour state only.
    const bool draw = y >= m_nViewAlignTop && y < m_nViewAlignTop + m_nViewCy;
    const auto cellX = [&](int column) { return nX + column * nColumnWidth; };
    const auto rowRect = [&](int fromColumn, int toColumn) {
      return RECT{std::max(cellX(fromColumn), nLeft), y, std::min(cellX(toColumn), nRight), y + nLineHeight};
    };
    if (draw) PaintLineNumber(hdc, row, row, y);

    int col = std::max(piece->m_nIndent, 0);
    if (draw && col > 0) Fill(hdc, rowRect(0, col), ColorOf(kColorText).colBack);
    CWrapLine* next = piece->m_pNext && piece->m_pNext->m_pDocLine == docLine ? piece->m_pNext : nullptr;
    const int pieceEnd = piece->m_nOffset + piece->m_nLength;
    int runStart = pos;
    int runCol = col;
    const auto flush = [&] {
      if (draw && pos > runStart) DrawTextRun(hdc, cellX(runCol), y, text + runStart, pos - runStart);
      runStart = pos;
      runCol = col;
    };
    const auto currentBack = [&] { return hdc->TextState().bkColor; };

    bool atEnd = false;
    while (!(next && pos >= pieceEnd)) {
      walker.Visit(pos);
      if (pos >= nTextLength) {
        atEnd = true;
        break;
      }
      if (walker.DrawState() != drawnState) {
        flush();
        drawnState = walker.DrawState();
        SelectTextColor(hdc, drawnState);
      }
      const auto c = static_cast<unsigned char>(text[pos]);
      const int size = walker.CharSize(pos);
      const bool regexState = walker.State() >= kStateRegexKeyword;
      const bool overlay = walker.InOverlay();
      if (c == '\t') {
        flush();
        const int cells = nTabWidth - col % nTabWidth;
        if (draw) {
          const ColorItem& tab = ColorOf(kColorTab);
          const RECT cellsRect = rowRect(col, col + cells);
          if (!tab.bShow || type.bTabArrow) {
            Fill(hdc, cellsRect, currentBack());
            if (tab.bShow) DrawTabArrow(hdc, cellX(col), y, tab.colText, tab.bBold != 0);
          } else {
            const Look look = LookOf(overlay ? ColorOf(kColorFound) : tab);
            Fill(hdc, cellsRect, look.back);
            // The first characters of the tab text, cut on a whole character.
            const int shown = std::min(cells, kTabMarkMax);
            char mark[kTabMarkMax];
            std::memcpy(mark, kTabBlanks, kTabMarkMax);
            const int len = static_cast<int>(strnlen(type.szTabViewString, sizeof type.szTabViewString));
            std::memcpy(mark, type.szTabViewString, WholeCharsPrefixLength(type.szTabViewString, len, shown));
            DrawCells(*this, hdc, cellX(col), y, mark, shown, look, rowRect(col, col + shown), true);
          }
        }
        col += cells;
        ++pos;
        runStart = pos;
        runCol = col;
      } else if (size == 2 && c == 0x81 && static_cast<unsigned char>(text[pos + 1]) == 0x40 && !regexState) {
        flush();
        if (draw) {
          const ColorItem& wide = ColorOf(kColorWideSpace);
          if (wide.bShow) {
            Look look = LookOf(wide);
            if (overlay) {
              look.text = ColorOf(kColorFound).colText;
              look.back = ColorOf(kColorFound).colBack;
            }
            DrawCells(*this, hdc, cellX(col), y, "\x81\xA0", 2, look, rowRect(col, col + 2), true);
          } else {
            Fill(hdc, rowRect(col, col + 2), currentBack());
          }
        }
        col += 2;
        pos += 2;
        runStart = pos;
        runCol = col;
      } else if (c == ' ' && ColorOf(kColorSpace).bShow && !regexState) {
        flush();
        if (draw) {
          const Look look = LookOf(overlay ? ColorOf(kColorFound) : ColorOf(kColorSpace));
          const RECT cell = rowRect(col, col + 1);
          Fill(hdc, cell, look.back);
          // The lower half of an "o": a dot low in the cell.
          const RECT lower{cell.left, y + m_nCharHeight / 2, cell.right, cell.bottom};
          DrawCells(*this, hdc, cellX(col), y, "o", 1, look, lower, false);
        }
        ++col;
        ++pos;
        runStart = pos;
        runCol = col;
      } else {
        col += size;
        pos += size;
      }
    }
    flush();

    if (!atEnd) {
      // The display line is used up: the text goes on in the next one.
      if (draw) {
        Fill(hdc, RECT{std::max(cellX(col), nLeft), y, nRight, y + nLineHeight}, ColorOf(kColorText).colBack);
        const ColorItem& wrap = ColorOf(kColorWrap);
        if (wrap.bShow) DrawCells(*this, hdc, cellX(col), y, "<", 1, LookOf(wrap), rowRect(col, col + 1), true);
        if (bSelected) InvertSelectionInRow(hdc, row, y);
      }
      *pnY += nLineHeight;
      ++*pnLineIndex;
      piece = next;
      continue;
    }

    if (draw) {
      Fill(hdc, RECT{std::max(cellX(col), nLeft), y, nRight, y + nLineHeight}, ColorOf(kColorText).colBack);
      if (nEolLength > 0) {
        const bool overlay = walker.InOverlay();
        const ColorItem& eol = ColorOf(kColorLineEnd);
        const ColorItem& look = overlay ? ColorOf(kColorFound) : eol;
        const RECT cell = rowRect(col, col + 2);
        Fill(hdc, cell, look.colBack);
        if (eol.bShow && cell.right > cell.left) {
          const ClipScope clip(hdc, cell);
          DrawLineEndMark(hdc, cellX(col), y, docLine->m_cLineEnd.GetCode(), look.colText, look.bBold != 0);
        }
      }
      if (bSelected) InvertSelectionInRow(hdc, row, y);
    }
    *pnY += nLineHeight;
    ++*pnLineIndex;

    // The end of the text shows after the last display line.
    if (piece->m_pNext || !ColorOf(kColorEof).bShow) return 0;
    if (nEolLength == 0 && col < Layout().GetWrapWidth()) {
      if (draw) DrawEofMark(hdc, cellX(col), y);
      return 1;
    }
    if (*pnLineIndex <= nLastRow) {
      const int eofY = *pnY;
      if (eofY >= m_nViewAlignTop && eofY < m_nViewAlignTop + m_nViewCy) {
        Fill(hdc, RECT{0, eofY, nRight, eofY + nLineHeight}, ColorOf(kColorText).colBack);
        DrawEofMark(hdc, nX, eofY);
      }
      *pnY += nLineHeight;
      ++*pnLineIndex;
    }
    return 1;
  }
}

void CEditView::SelectTextColor(HDC hdc, int nState) {
  if (!hdc) return;
  int code;
  if (nState == kStateLineComment || nState == kStateBlockComment1 || nState == kStateBlockComment2) {
    code = kColorComment;
  } else if (nState >= kStateRegexKeyword) {
    code = nState - kStateRegexKeyword;
    if (code >= kColorItemCount) return;
  } else if (nState == kStateNormal || nState == kStateControl || (nState >= kStateNumber && nState <= 24) ||
             (nState >= kStateSingleQuote && nState <= kStateUrl) || nState == kColorBracket) {
    code = nState;
    if (!ColorOf(code).bShow) return;
  } else {
    return;
  }
  const ColorItem& item = ColorOf(code);
  platform::SetTextColor(hdc, item.colText);
  platform::SetBkColor(hdc, item.colBack);
  if (const platform::Font* font = GetFontFor(item.bBold != 0, item.bUnderline != 0)) {
    const platform::Font* old = platform::SelectFont(hdc, font);
    if (!m_pFontOld) m_pFontOld = old;
  }
}

int CEditView::DrawTextRun(HDC hdc, int x, int y, const char* pData, int nLength) {
  if (!hdc || !pData || nLength <= 0) return std::max(nLength, 0);
  const int nColumnWidth = ColumnWidth();
  const int nLeft = m_nViewAlignLeft;
  const int nRight = m_nViewAlignLeft + m_nViewCx;
  if (y < m_nViewAlignTop || x >= nRight || x + nLength * nColumnWidth <= nLeft) return nLength;
  const auto* bytes = reinterpret_cast<const unsigned char*>(pData);
  // Characters wholly left of the text area are skipped whole; a double-byte character is never
  // split, one that straddles the edge is drawn and clipped.
  int from = 0;
  int fromX = x;
  while (from < nLength) {
    const int size = std::max(SjisCharSize(bytes, nLength, from), 1);
    if (fromX + size * nColumnWidth > nLeft) break;
    from += size;
    fromX += size * nColumnWidth;
  }
  int to = from;
  int toX = fromX;
  while (to < nLength && toX < nRight) {
    const int size = std::max(SjisCharSize(bytes, nLength, to), 1);
    to += size;
    toX += size * nColumnWidth;
  }
  if (to > from) {
    const RECT clip{std::max(fromX, nLeft), y, std::min(toX, nRight), y + LineHeight()};
    platform::ExtTextOutA(hdc, fromX, y, platform::ETO_CLIPPED | platform::ETO_OPAQUE, &clip, pData + from,
                          static_cast<UINT>(to - from), nColumnWidth);
  }
  return nLength;
}

void CEditView::DrawLineEndMark(HDC hdc, int x, int y, int nLineEndCode, COLORREF colour, bool bBold) {
  if (!hdc) return;
  const int w = std::max(m_nCharWidth, 2);
  const int h = std::max(m_nCharHeight, 4);
  const int q = std::max(h / 4, 1);
  const int middle = y + h / 2;
  const int centre = x + w / 2;
  MarkPen pen(hdc, colour, bBold);
  switch (nLineEndCode) {
    case CLineEnd::CRLF: {
      const int right = x + w - 1;
      pen.Stroke(right, y + q, right, middle);
      pen.Stroke(right, middle, x, middle);
      pen.Stroke(x, middle, x + q, middle - q);
      pen.Stroke(x, middle, x + q, middle + q);
      break;
    }
    case CLineEnd::LFCR:
      pen.Stroke(centre, y + q, centre + w / 2, y + q);
      pen.Stroke(centre, y + q, centre, y + 3 * h / 4);
      pen.Stroke(centre, y + 3 * h / 4, centre - q, y + 3 * h / 4 - q);
      pen.Stroke(centre, y + 3 * h / 4, centre + q, y + 3 * h / 4 - q);
      break;
    case CLineEnd::LF:
      pen.Stroke(x + w - 1, middle, x, middle);
      pen.Stroke(x, middle, x + q, middle - q);
      pen.Stroke(x, middle, x + q, middle + q);
      break;
    case CLineEnd::CR:
      pen.Stroke(centre, y + q, centre, y + 3 * h / 4);
      pen.Stroke(centre, y + 3 * h / 4, centre - q, y + 3 * h / 4 - q);
      pen.Stroke(centre, y + 3 * h / 4, centre + q, y + 3 * h / 4 - q);
      break;
    default:
      break;
  }
}

void CEditView::DrawTabArrow(HDC hdc, int x, int y, COLORREF colour, bool bBold) {
  if (!hdc) return;
  const int w = std::max(m_nCharWidth, 2);
  const int h = std::max(m_nCharHeight, 4);
  const int q = std::max(h / 4, 1);
  const int middle = y + h / 2;
  const int tip = x + w - 1;
  const RECT cell{x, y, x + ColumnWidth(), y + LineHeight()};
  const ClipScope clip(hdc, RECT{std::max(cell.left, m_nViewAlignLeft), cell.top,
                                 std::min(cell.right, m_nViewAlignLeft + m_nViewCx), cell.bottom});
  MarkPen pen(hdc, colour, bBold);
  pen.Stroke(x, middle, tip, middle);
  pen.Stroke(tip, middle, tip - q, middle - q);
  pen.Stroke(tip, middle, tip - q, middle + q);
}

void CEditView::DrawEofMark(HDC hdc, int x, int y) {
  if (!hdc || y < m_nViewAlignTop) return;
  const int nColumnWidth = ColumnWidth();
  const RECT clip{std::max(x, m_nViewAlignLeft), y,
                  std::min(x + kEofColumns * nColumnWidth, m_nViewAlignLeft + m_nViewCx), y + LineHeight()};
  DrawCells(*this, hdc, x, y, kEofMark, kEofColumns, LookOf(ColorOf(kColorEof)), clip, true);
}

int CEditView::GetColorStateAt(HDC, int nLine, int nColumn) {
  if (!m_pcEditDoc) return kStateNormal;
  const CWrapLine* piece = Layout().GetLine(nLine);
  if (!piece || !piece->m_pDocLine) return kStateNormal;
  const CDocLine* docLine = piece->m_pDocLine;
  // The walk starts where the state is known: the start of the document line.
  const CWrapLine* first = piece;
  while (first->m_pPrev && first->m_pPrev->m_pDocLine == docLine) first = first->m_pPrev;
  int nLength = 0;
  const char* text = docLine->GetText(&nLength);
  if (!text) nLength = 0;
  const int nTextLength = nLength - std::min(docLine->m_cLineEnd.GetLen(), nLength);
  const int target = std::clamp(piece->m_nOffset + std::max(nColumn, 0), 0, nLength);

  CColorStateWalker walker(WalkerSources(*this));
  walker.BeginLine(text, nLength, nTextLength, first->m_nColorState);
  for (int pos = first->m_nOffset;;) {
    walker.Visit(pos);
    if (pos >= nTextLength) break;
    const int size = text[pos] == '\t' ? 1 : walker.CharSize(pos);
    if (pos + size > target) break;
    pos += size;
  }
  return walker.DrawState();
}

bool CEditView::FindNextSearchHit(const char* pLine, int nLength, int nPos, int* pnStart, int* pnEnd) {
  if (!pLine || nPos < 0 || nPos > nLength || !pnStart || !pnEnd) return false;
  if (m_bCurSrchRegularExp) {
    if (!m_CurRegexp.Match(pLine, nLength, nPos)) return false;
    const BREGEXP* result = m_CurRegexp.GetResult();
    if (!result || !result->startp || !result->startp[0] || !result->endp || !result->endp[0]) return false;
    *pnStart = static_cast<int>(result->startp[0] - pLine);
    *pnEnd = static_cast<int>(result->endp[0] - pLine);
    return *pnStart >= nPos && *pnEnd >= *pnStart && *pnEnd <= nLength;
  }
  const int nKey = static_cast<int>(m_szCurSrchKey.size());
  if (nKey == 0 || nKey > nLength - nPos) return false;
  const char* at = pLine + nPos;
  const bool same = m_bCurSrchLoHiCase ? std::memcmp(at, m_szCurSrchKey.data(), nKey) == 0
                                       : SjisMemICmp(at, m_szCurSrchKey.data(), nKey) == 0;
  if (!same) return false;
  if (m_bCurSrchWordOnly) {
    int start = 0;
    int end = 0;
    if (!GetWordRangeInText(pLine, nLength, nPos, &start, &end, nullptr, nullptr)) return false;
    if (start != nPos || end - start != nKey) return false;
  }
  *pnStart = nPos;
  *pnEnd = nPos + nKey;
  return true;
}

void CEditView::SetSearchHighlight(const char* key, bool bRegexp, bool bCaseSensitive, bool bWordOnly) {
  m_szCurSrchKey = key ? key : "";
  m_bCurSrchRegularExp = bRegexp;
  m_bCurSrchLoHiCase = bCaseSensitive;
  m_bCurSrchWordOnly = bWordOnly;
  m_bCurSrchKeyMark = !m_szCurSrchKey.empty();
  if (!bRegexp || !m_bCurSrchKeyMark) return;
  // The pane's own engine holds the pattern for the painter; without the library, or for a pattern
  // it refuses, nothing is highlighted.
  if (m_CurRegexp.Load() != 0 ||
      !m_CurRegexp.Compile(m_szCurSrchKey.c_str(), nullptr, bCaseSensitive ? CRegexpDll::kCaseSensitive : 0)) {
    m_bCurSrchKeyMark = false;
  }
}
