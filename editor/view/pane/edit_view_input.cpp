// Mouse input of a pane: clicks and drags become caret moves and selections, bound buttons become
// commands, the wheel scrolls, and the mouse cursor tells what lies under the pointer.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/text_scanners.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/mouse_capture.h"
#include "platform/url_opener.h"

namespace {

// How far from the position a URL may start and still be found.
constexpr int kUrlReach = 200;

// The mouse entries of the key table.
constexpr int kMouseEntries = 5;

constexpr int kModifierAlt = 4;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool AltHeld() { return (GetModifierKeyState() & kModifierAlt) != 0; }

// A URL or mail address found in a document line: its byte start and length.
struct UrlSpan {
  int docLine = -1;
  int start = 0;
  int length = 0;
};

// The URL covering byte nDocCol of the document line, found as the painter finds them: characters are
// walked from the line's start, so a trail byte is never taken for the start of a URL.
bool FindUrlInDocLine(CDocLineMgr& lines, int nDocLine, int nDocCol, UrlSpan* span) {
  int length = 0;
  const char* text = lines.GetLineTextNoLineEnd(nDocLine, &length);
  if (!text || length <= 0 || nDocCol < 0 || nDocCol >= length) return false;
  const int from = nDocCol - kUrlReach;
  int pos = 0;
  while (pos <= nDocCol) {
    if (pos >= from) {
      int urlLength = 0;
      if (IsURLAt(text + pos, length - pos, &urlLength) && urlLength > 0) {
        if (nDocCol < pos + urlLength) {
          *span = UrlSpan{nDocLine, pos, urlLength};
          return true;
        }
        pos += urlLength;
        continue;
      }
    }
    pos += CMemory::CharSizeAt(text, length, pos);
  }
  return false;
}

// The address the desktop opens for a URL as written in the text.
std::string AddressToOpen(const char* url, int length) {
  std::string address(url, static_cast<size_t>(length));
  int mailLength = 0;
  if (address.compare(0, 7, "mailto:") != 0 && IsMailAddressAt(url, length, &mailLength) && mailLength == length) {
    return "mailto:" + address;
  }
  if (address.compare(0, 6, "ttp://") == 0) return "h" + address;
  if (address.compare(0, 5, "tp://") == 0) return "ht" + address;
  return address;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Positions under the pointer.

namespace {

// The display position of the cell under a point (no clamping).
void PointToCell(const CEditView& view, int x, int y, int* pnColumn, int* pnLine) {
  *pnLine = view.m_nViewTopLine + FloorDiv(y - view.m_nViewAlignTop, view.LineHeight());
  *pnColumn = view.m_nViewLeftCol + FloorDiv(x - view.m_nViewAlignLeft, view.ColumnWidth());
}

// The x of column 0 of the pane's grid: a point there puts the caret at the start of its row.
int RowStartX(const CEditView& view) { return view.m_nViewAlignLeft - view.m_nViewLeftCol * view.ColumnWidth(); }

// The word around a display position, in cells; false when there is none.
bool WordRangeAt(CEditView& view, int nColumn, int nLine, SelectRange* range) {
  CWrapLineMgr& layout = view.Layout();
  if (nLine < 0 || nLine >= layout.GetLineCount()) return false;
  const int offset = view.LineColumnToOffset(nLine, nColumn);
  int lineFrom = 0;
  int offsetFrom = 0;
  int lineTo = 0;
  int offsetTo = 0;
  if (!layout.GetWordRange(nLine, offset, &lineFrom, &offsetFrom, &lineTo, &offsetTo, nullptr, nullptr)) return false;
  range->nLineFrom = lineFrom;
  range->nColumnFrom = view.LineOffsetToColumn(lineFrom, offsetFrom);
  range->nLineTo = lineTo;
  range->nColumnTo = view.LineOffsetToColumn(lineTo, offsetTo);
  return true;
}

// Whether the position comes before another one.
bool Before(int nLine1, int nColumn1, int nLine2, int nColumn2) {
  return nLine1 < nLine2 || (nLine1 == nLine2 && nColumn1 < nColumn2);
}

}  // namespace

bool CEditView::IsUrlAtCaret(int nColumn, int nLine, int* pnUrlLine, int* pnUrlStart, int* pnUrlLength,
                             CMemory* pcmemUrl) {
  if (!m_pcEditDoc || nLine < 0 || nLine >= Layout().GetLineCount() || nColumn < 0) return false;
  int docCol = 0;
  int docLine = 0;
  Layout().WrapToDocPos(nColumn, nLine, &docCol, &docLine);
  UrlSpan span;
  if (!FindUrlInDocLine(m_pcEditDoc->m_cDocLineMgr, docLine, docCol, &span)) return false;
  int column = 0;
  int line = 0;
  Layout().DocToWrapPos(span.start, span.docLine, &column, &line);
  const CWrapLine* piece = Layout().GetLine(line);
  // A URL starting where a display line wraps belongs to the line that shows its first byte.
  if (piece && span.start >= piece->m_nOffset + piece->m_nLength) {
    const CWrapLine* next = Layout().GetLine(line + 1);
    if (next && next->m_pDocLine == piece->m_pDocLine) {
      ++line;
      piece = next;
    }
  }
  if (pnUrlLine) *pnUrlLine = line;
  if (pnUrlStart) *pnUrlStart = span.start - (piece ? piece->m_nOffset : 0);
  if (pnUrlLength) *pnUrlLength = span.length;
  if (pcmemUrl) {
    int length = 0;
    const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(span.docLine, &length);
    pcmemUrl->Assign(text + span.start, span.length);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Buttons.

bool CEditView::RunMouseBinding(int entry, bool bSend) {
  if (!m_pShareData || entry < 0 || entry >= kMouseEntries || entry >= m_pShareData->nKeyAssignCount) return false;
  const int command = m_pShareData->KeyAssigns[entry].nCommands[GetModifierKeyState() & 7];
  if (command == 0) return false;
  const HWND target = m_pEditWnd ? m_pEditWnd->Window() : nullptr;
  if (!target) {
    RunCommand(static_cast<int>(MAKEWPARAM(static_cast<unsigned>(command), kSourceMouse)), true, 0, 0, 0, 0);
    return true;
  }
  const WPARAM wParam = MAKEWPARAM(static_cast<unsigned>(command), kSourceMouse);
  if (bSend) {
    platform::SendMessage(target, WM_COMMAND, wParam, 0);
  } else {
    platform::PostMessage(target, WM_COMMAND, wParam, 0);
  }
  return true;
}

void CEditView::HandleLButtonDown(WPARAM fwKeys, int x, int y) {
  // The completion popup and the incremental search, which a click also ends, come with their
  // own parts.
  if (!m_pcEditDoc || Layout().GetLineCount() == 0 || m_nCaretWidth == 0) return;

  if (m_dwTipTimer == 0 && m_pcTipWnd) m_pcTipWnd->HideTip();
  m_dwTipTimer = platform::NowMs();

  const bool leftOfText = x < m_nViewAlignLeft;
  const bool inTextRows = y >= m_nViewAlignTop;
  const bool rightOfText = x >= m_nViewAlignLeft + m_nViewCx;
  const auto moveCaretToPoint = [&] {
    if (leftOfText) {
      MoveCursorToPoint(RowStartX(*this), y);
    } else {
      MoveCursorToPoint(x, y);
    }
  };
  const auto startDrag = [&] {
    m_ptMouseRollPos = POINT{x, y};
    m_bBeginSelect = true;
    if (m_hWnd) platform::SetCapture(m_hWnd);
    HideCaretOnce();
  };

  // A click inside the selection drags its text; one that nobody took (a click without a drag
  // among them) puts the caret there instead.
  const CommonSettings& common = Common();
  if (common.bUseOLE_DragDrop == 1 && common.bUseOLE_DropSource && x >= m_nViewAlignLeft - ColumnWidth()) {
    int column = 0;
    int line = 0;
    PointToCell(*this, x, y, &column, &line);
    if (IsTextSelected() && IsPositionInSelection(column, line) == 0) {
      if (DragSelectedText() == DROPEFFECT_NONE && IsTextSelected()) {
        ClearSelection(true);
        moveCaretToPoint();
      }
      return;
    }
  }

  if (AltHeld()) {
    if (IsTextSelected()) ClearSelection(true);
    if (inTextRows && !rightOfText) moveCaretToPoint();
    startDrag();
    m_bBeginBoxSelect = true;
    m_bBeginLineSelect = false;
    m_bBeginWordSelect = false;
    BeginSelectionAtCaret();
    m_cUnderLine.Hide(true);
    m_cUnderLine.Lock();
    if (leftOfText && inTextRows) MoveCursorVertically(1, true);
    return;
  }

  if (!inTextRows || rightOfText) return;
  startDrag();
  m_bBeginLineSelect = false;
  m_bBeginWordSelect = false;
  if (fwKeys & MK_SHIFT) {
    if (IsTextSelected() && m_bBeginBoxSelect) {
      ClearSelection(true);
      BeginSelectionAtCaret();
    } else if (!IsTextSelected()) {
      BeginSelectionAtCaret();
    }
    moveCaretToPoint();
  } else {
    if (IsTextSelected()) ClearSelection(true);
    moveCaretToPoint();
    BeginSelectionAtCaret();
  }
  const int where = IsPositionInSelection(m_nCaretPosX, m_nCaretPosY);
  ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);

  if (fwKeys & MK_CONTROL) {
    m_bBeginWordSelect = true;
    if (!IsTextSelected()) {
      // The word at the caret, and it becomes the anchor a drag extends from.
      SelectRange word;
      if (WordRangeAt(*this, m_nCaretPosX, m_nCaretPosY, &word) && !word.IsEmpty()) {
        m_sSelectBgn = word;
        m_sSelectOld = m_sSelect;
        m_sSelect = word;
        InvertSelection();
      }
    } else {
      // Both ends grow to whole words; the word at the end the click did not move is the anchor.
      SelectRange grown = m_sSelect;
      SelectRange word;
      SelectRange startWord{m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineFrom, m_sSelect.nColumnFrom};
      SelectRange endWord{m_sSelect.nLineTo, m_sSelect.nColumnTo, m_sSelect.nLineTo, m_sSelect.nColumnTo};
      if (WordRangeAt(*this, m_sSelect.nColumnFrom, m_sSelect.nLineFrom, &word)) {
        startWord = word;
        grown.nLineFrom = word.nLineFrom;
        grown.nColumnFrom = word.nColumnFrom;
      }
      // The selection's end lies just after its last character: the word containing it is the one
      // of that character.
      int endColumn = m_sSelect.nColumnTo;
      int endLine = m_sSelect.nLineTo;
      if (Before(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, endLine, endColumn) && endColumn > 0) --endColumn;
      if (WordRangeAt(*this, endColumn, endLine, &word)) {
        endWord = word;
        if (Before(grown.nLineTo, grown.nColumnTo, word.nLineTo, word.nColumnTo)) {
          grown.nLineTo = word.nLineTo;
          grown.nColumnTo = word.nColumnTo;
        }
      }
      m_sSelectBgn = where < 0 ? endWord : startWord;
      m_sSelectOld = m_sSelect;
      m_sSelect = grown;
      InvertSelection();
    }
  }

  if (leftOfText) {
    // The whole row with its line end.
    m_bBeginLineSelect = true;
    CWrapLineMgr& layout = Layout();
    const int line = m_nCaretPosY;
    int column = m_nCaretPosX;
    int target = line;
    if (line + 1 < layout.GetLineCount()) {
      const CWrapLine* next = layout.GetLine(line + 1);
      target = line + 1;
      column = next ? next->m_nIndent : 0;
    } else if (const CWrapLine* last = layout.GetLine(line); last && last->m_cLineEnd.GetLen() > 0) {
      target = line + 1;
      column = 0;
    } else if (last) {
      int length = 0;
      layout.GetLineText(line, &length);
      column = LineOffsetToColumn(line, length);
    }
    PlaceCursor(column, target, true, 1000);
    m_nCaretPosX_Prev = m_nCaretPosX;
    ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);
    m_sSelectBgn.nLineTo = m_sSelect.nLineTo;
    m_sSelectBgn.nColumnTo = m_sSelect.nColumnTo;
  } else if (ColorOf(kStateUrl).bShow && common.bSelectClickedURL == 1) {
    int urlLine = 0;
    int urlStart = 0;
    int urlLength = 0;
    if (IsUrlAtCaret(m_nCaretPosX, m_nCaretPosY, &urlLine, &urlStart, &urlLength, nullptr)) {
      SelectRange url;
      url.nLineFrom = urlLine;
      url.nColumnFrom = LineOffsetToColumn(urlLine, urlStart);
      int docCol = 0;
      int docLine = 0;
      Layout().WrapToDocPos(url.nColumnFrom, urlLine, &docCol, &docLine);
      Layout().DocToWrapPos(docCol + urlLength, docLine, &url.nColumnTo, &url.nLineTo);
      m_sSelectBgn = url;
      m_sSelectOld = m_sSelect;
      m_sSelect = url;
      InvertSelection();
    }
  }
}

void CEditView::HandleMouseMove(WPARAM, int x, int y) {
  if (m_bBeginSelect) {
    platform::SetCursor(platform::LoadCursor(nullptr, IDC_IBEAM));
    if (m_bBeginBoxSelect) {
      MoveCursorToPoint(x, y);
      ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);
    } else if (m_bBeginLineSelect && x < m_nViewAlignLeft) {
      // The row under the pointer is taken whole: above the rows the drag began on, the caret goes
      // to its start; otherwise to the start of the row below it.
      const int row = m_nViewTopLine + (y - m_nViewAlignTop) / LineHeight();
      MoveCursorToPoint(RowStartX(*this), row < m_sSelectBgn.nLineFrom ? y : y + LineHeight());
      ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);
    } else {
      MoveCursorToPoint(x, y);
      int column = m_nCaretPosX;
      int line = m_nCaretPosY;
      SelectRange computed;
      ComputeSelection(column, line, &computed);
      SelectRange word;
      if (m_bBeginWordSelect && computed != m_sSelect && WordRangeAt(*this, column, line, &word)) {
        // The moving end snaps to the word under the caret: its end when the word reaches past the
        // computed end, otherwise its start.
        if (ComparePositionWithRange(word.nColumnTo, word.nLineTo, computed) > 0) {
          column = word.nColumnTo;
          line = word.nLineTo;
        } else {
          column = word.nColumnFrom;
          line = word.nLineFrom;
        }
      }
      ChangeSelectionTo(column, line);
    }
    m_ptMouseRollPos = POINT{x, y};
    return;
  }

  if (!m_bHokan) {
    POINT screen{};
    platform::GetCursorPos(&screen);
    if (m_dwTipTimer == 0) {
      if (screen.x != m_poTipCurPos.x || screen.y != m_poTipCurPos.y) {
        if (m_pcTipWnd) m_pcTipWnd->HideTip();
        m_dwTipTimer = platform::NowMs();
      }
    } else {
      m_dwTipTimer = platform::NowMs();
    }
  }

  if (!m_bDragMode) {
    const CommonSettings& common = Common();
    int column = 0;
    int line = 0;
    PointToCell(*this, x, y, &column, &line);
    HCURSOR cursor = nullptr;
    if (x < m_nViewAlignLeft) {
      cursor = y < m_nViewAlignTop ? platform::LoadCursor(nullptr, IDC_ARROW)
                                   : platform::LoadCursor(m_hInstance, MAKEINTRESOURCE(platform::kCursorLineNumbers));
    } else if (y < m_nViewAlignTop) {
      cursor = platform::LoadCursor(nullptr, IDC_ARROW);
    } else if (common.bUseOLE_DragDrop && common.bUseOLE_DropSource && IsTextSelected() &&
               IsPositionInSelection(column, line) == 0) {
      cursor = platform::LoadCursor(nullptr, IDC_ARROW);
    } else if (ColorOf(kStateUrl).bShow && IsUrlAtCaret(column, line, nullptr, nullptr, nullptr, nullptr)) {
      cursor = platform::LoadCursor(m_hInstance, MAKEINTRESOURCE(platform::kCursorLink));
    } else if (m_nISearchMode != 0) {
      const int id = m_nISearchDirection == 0 ? platform::kCursorSearchBackward : platform::kCursorSearchForward;
      cursor = platform::LoadCursor(m_hInstance, MAKEINTRESOURCE(id));
    } else {
      cursor = platform::LoadCursor(nullptr, IDC_IBEAM);
    }
    platform::SetCursor(cursor);
  } else if (Common().bUseOLE_DragDrop == 1) {
    MoveCursorToPoint(x, y);
  }
}

void CEditView::HandleLButtonUp(WPARAM, int, int) {
  if (!m_bBeginSelect) return;
  if (m_hWnd && platform::GetCapture() == m_hWnd) platform::ReleaseCapture();
  ShowCaretOnce();
  m_bBeginSelect = false;
  if (m_sSelect.IsSet() && m_sSelect.IsEmpty()) ClearSelection(true);
  m_cUnderLine.Unlock();
}

void CEditView::HandleLButtonDblClk(WPARAM, int x, int y) {
  if (!m_pcEditDoc) return;
  CMemory url;
  if (ColorOf(kStateUrl).bShow && IsUrlAtCaret(m_nCaretPosX, m_nCaretPosY, nullptr, nullptr, nullptr, &url)) {
    platform::OpenUrl(AddressToOpen(url.GetPtr(), url.GetLength()));
    return;
  }
  if ((m_pcEditDoc->m_bGrepWindow || m_pcEditDoc->m_bOutputWindow) && Common().bGTJW_LDBLCLK) {
    RunCommand(cmd::kTagJump, true, 0, 0, 0, 0);
    return;
  }
  RunMouseBinding(0, true);
  m_ptMouseRollPos = POINT{x, y};
  m_bBeginSelect = true;
  m_bBeginBoxSelect = AltHeld() && Common().bFontIs_FIXED_PITCH;
  m_bBeginLineSelect = false;
  m_bBeginWordSelect = true;
  if (m_hWnd) platform::SetCapture(m_hWnd);
  HideCaretOnce();
  if (IsTextSelected()) {
    m_sSelectBgn.nLineTo = m_sSelect.nLineTo;
    m_sSelectBgn.nColumnTo = m_sSelect.nColumnTo;
  } else {
    BeginSelectionAtCaret();
  }
}

void CEditView::HandleRButtonUp(WPARAM fwKeys, int x, int y) {
  HandleLButtonUp(fwKeys, x, y);
  RunMouseBinding(1, false);
}

void CEditView::HandleMButtonDown(WPARAM, int, int) { RunMouseBinding(2, false); }
void CEditView::HandleXButton1Down(WPARAM, int, int) { RunMouseBinding(3, false); }
void CEditView::HandleXButton2Down(WPARAM, int, int) { RunMouseBinding(4, false); }

// ---------------------------------------------------------------------------------------------
// Wheel.

void CEditView::HandleMouseWheel(WPARAM wParam) {
  const int delta = static_cast<int16_t>(HIWORD(wParam));
  if (delta == 0 || !m_pcEditDoc) return;
  // -1 is a page, whatever its size; other settings are kept to 1-30 lines.
  int lines = GetWheelSettings()->WheelScrollLines().value_or(6);
  lines = lines == -1 ? std::max(1, m_nViewRowNum) : std::clamp(lines, 1, 30);
  // A message may carry several notches at once.
  const int notches = std::max(1, std::abs(delta) / WHEEL_DELTA);
  const int step = delta > 0 ? -1 : 1;
  int scrolled = 0;
  for (int i = 0; i < lines * notches; ++i) scrolled += ScrollToTopLine(m_nViewTopLine + step);
  FollowVertically(scrolled);
}
