// The commands that move the caret, scroll the pane without moving the text position, make
// selections and walk the cursor history. They run on every key press.
#include <algorithm>
#include <span>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"
#include "platform/window.h"

namespace {

// Blanks a line may start with: space, tab and the double-byte space.
int BlankSizeAt(const unsigned char* text, int length, int pos) {
  if (pos >= length) return 0;
  if (text[pos] == ' ' || text[pos] == '\t') return 1;
  if (pos + 1 < length && text[pos] == 0x81 && text[pos + 1] == 0x40) return 2;
  return 0;
}

// The byte offset of the first non-blank of a row's text; -1 when it holds only blanks.
int FirstNonBlank(const DisplayRow& row) {
  int pos = 0;
  while (pos < row.length) {
    const int blank = BlankSizeAt(row.text, row.length, pos);
    if (blank == 0) return pos;
    pos += blank;
  }
  return -1;
}

// A document line holding only blanks before its line end; a missing line counts as blank.
bool IsBlankDocLine(CEditDoc& doc, int docLine) {
  if (docLine < 0 || docLine >= doc.m_cDocLineMgr.GetLineCount()) return true;
  return FirstNonBlank(DisplayRow::OfDocLine(doc.m_cDocLineMgr, 1, docLine)) < 0;
}

// The column a row's last character starts at (the row's start column when it is empty).
int LastCharColumn(const DisplayRow& row) {
  const int end = row.EndColumn();
  return end > row.indent ? row.CharAt(end - 1).column : row.indent;
}

// Shows the steps of a held key one by one.
void UpdateNow(const CEditView& view) {
  if (view.m_hWnd) platform::UpdateWindow(view.m_hWnd);
}

}  // namespace

void CEditView::AddCursorHistory() {
  if (!m_pcEditDoc) return;
  int column = 0;
  int line = 0;
  Layout().WrapToDocPos(m_nCaretPosX, m_nCaretPosY, &column, &line);
  m_cHistory.Add({column, line});
}

void CEditView::BeforeMove(bool bSelect) {
  if (bSelect) {
    if (!IsTextSelected()) BeginSelectionAtCaret();
  } else if (IsTextSelected()) {
    ClearSelection(true);
  }
}

void CEditView::AfterMove(bool bSelect) {
  if (bSelect) ChangeSelectionTo(m_nCaretPosX, m_nCaretPosY);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::MoveCaretToDocPos(int nDocColumn, int nDocLine, bool bSelect) {
  BeforeMove(bSelect);
  nDocColumn = std::max(nDocColumn, 0);
  nDocLine = std::max(nDocLine, 0);
  // A remembered place may lie beyond a line the text has since lost bytes of: the line's end,
  // never between the bytes of its line end.
  int length = 0;
  if (m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(nDocLine, &length)) nDocColumn = std::min(nDocColumn, length);
  int column = 0;
  int line = 0;
  // A line the document no longer has gives the row after the last; PlaceCursor clamps it to the
  // document's end.
  Layout().DocToWrapPos(nDocColumn, nDocLine, &column, &line);
  PlaceCursor(column, line, true, 20);
  AfterMove(bSelect);
}

// ---------------------------------------------------------------- vertical moves

int CEditView::Command_UP(bool bSelect, bool bRepeat) {
  if (!m_pcEditDoc) return 0;
  const int steps = std::max(Common().nRepeatedScrollLineNum, 1);
  if (Common().nRepeatedScroll_Smooth == 0) return MoveCursorVertically(bRepeat ? -steps : -1, bSelect);
  const int before = m_nCaretPosY;
  int scrolled = MoveCursorVertically(-1, bSelect);
  if (bRepeat && m_nCaretPosY != before) {
    for (int i = 1; i < steps; ++i) {
      UpdateNow(*this);
      scrolled += MoveCursorVertically(-1, bSelect);
    }
  }
  return scrolled;
}

int CEditView::Command_DOWN(bool bSelect, bool bRepeat) {
  if (!m_pcEditDoc) return 0;
  const int steps = std::max(Common().nRepeatedScrollLineNum, 1);
  if (Common().nRepeatedScroll_Smooth == 0) return MoveCursorVertically(bRepeat ? steps : 1, bSelect);
  const int before = m_nCaretPosY;
  int scrolled = MoveCursorVertically(1, bSelect);
  if (bRepeat && m_nCaretPosY != before) {
    for (int i = 1; i < steps; ++i) {
      UpdateNow(*this);
      scrolled += MoveCursorVertically(1, bSelect);
    }
  }
  return scrolled;
}

void CEditView::Command_UP2(bool bSelect) { MoveCursorVertically(-2, bSelect); }
void CEditView::Command_DOWN2(bool bSelect) { MoveCursorVertically(2, bSelect); }
void CEditView::Command_HALFPAGEUP(bool bSelect) { MoveCursorVertically(-(m_nViewRowNum / 2), bSelect); }
void CEditView::Command_HALFPAGEDOWN(bool bSelect) { MoveCursorVertically(m_nViewRowNum / 2, bSelect); }

void CEditView::MovePageKeepingRow(int nRows, bool bSelect) {
  const int oldTop = m_nViewTopLine;
  const int oldCaret = m_nCaretPosY;
  const int drawSwitch = m_bDrawSWITCH;
  m_bDrawSWITCH = 0;
  MoveCursorVertically(nRows, bSelect);
  const int maxTop = std::max(0, Layout().GetLineCount() - m_nViewRowNum + 2);
  const int newTop = std::clamp(m_nCaretPosY + oldTop - oldCaret, 0, maxTop);
  const int scrolled = oldTop - newTop;
  m_nViewTopLine = newTop;
  m_bDrawSWITCH = drawSwitch;
  if (m_bDrawSWITCH) InvalidateClient(nullptr);
  UpdateScrollBars();
  UpdateCaret();
  ShowCaretPosition();
  FollowVertically(-scrolled);
}

void CEditView::Command_1PAGEUP(bool bSelect) {
  if (!m_pcEditDoc) return;
  const int rows = m_nViewRowNum - 1;
  if (m_nViewTopLine < rows) {
    MoveCursorVertically(-rows, bSelect);
    return;
  }
  MovePageKeepingRow(-rows, bSelect);
}

void CEditView::Command_1PAGEDOWN(bool bSelect) {
  if (!m_pcEditDoc) return;
  if (Layout().GetLineCount() < m_nViewTopLine + m_nViewRowNum) {
    MoveCursorVertically(m_nViewRowNum, bSelect);
    Command_DOWN(bSelect, true);
    return;
  }
  MovePageKeepingRow(m_nViewRowNum - 1, bSelect);
}

// ---------------------------------------------------------------- horizontal moves

void CEditView::CollapseSelection(bool bToEnd) {
  int column = bToEnd ? m_sSelect.nColumnTo : m_sSelect.nColumnFrom;
  int line = bToEnd ? m_sSelect.nLineTo : m_sSelect.nLineFrom;
  if (m_bBeginBoxSelect) {
    const SelectRect box =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    column = bToEnd ? box.nRight : box.nLeft;
    line = bToEnd ? box.nBottom : box.nTop;
  }
  ClearSelection(true);
  // A row past the last one is clamped to the document's end.
  PlaceCursor(column, line, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

bool CEditView::MoveLeftOnce(bool bSelect) {
  if (!bSelect && IsTextSelected()) {
    CollapseSelection(false);
    return true;
  }
  const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
  int column = 0;
  int line = m_nCaretPosY;
  if (m_nCaretPosX <= row.indent) {
    if (m_nCaretPosY <= 0) return false;
    line = m_nCaretPosY - 1;
    const DisplayRow above = DisplayRow::Of(Layout(), line);
    column = above.hasLineEnd || !above.exists ? above.EndColumn() : LastCharColumn(above);
  } else if (m_nCaretPosX > row.EndColumn()) {
    column = m_nCaretPosX - 1;  // free cursor beyond the text
  } else {
    column = row.CharAt(m_nCaretPosX - 1).column;
  }
  BeforeMove(bSelect);
  PlaceCursor(column, line, true, 20);
  AfterMove(bSelect);
  return true;
}

int CEditView::Command_LEFT(bool bSelect, bool bRepeat) {
  if (!m_pcEditDoc) return 0;
  bool moved = MoveLeftOnce(bSelect);
  if (bRepeat && moved) moved = MoveLeftOnce(bSelect);
  return moved ? 1 : 0;
}

void CEditView::MoveRightOnce(bool bSelect, bool bKeepSelection) {
  if (!bKeepSelection && !bSelect && IsTextSelected()) {
    CollapseSelection(true);
    return;
  }
  const int count = Layout().GetLineCount();
  const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
  const int end = row.EndColumn();
  int column = m_nCaretPosX;
  int line = m_nCaretPosY;
  if (m_nCaretPosX < end) {
    const DisplayRow::Hit hit = row.CharAt(m_nCaretPosX);
    column = hit.column > m_nCaretPosX ? hit.column : hit.column + hit.cells;
  } else if ((Common().bIsFreeCursorMode || m_bBeginBoxSelect) && row.hasLineEnd) {
    column = m_nCaretPosX + 1;
  } else if (m_nCaretPosY < count - 1 || (m_nCaretPosY == count - 1 && row.hasLineEnd)) {
    line = m_nCaretPosY + 1;
    column = DisplayRow::Of(Layout(), line).indent;
  }
  // A column at the wrap width belongs to the next row unless punctuation may hang there.
  if (line == m_nCaretPosY && column >= Layout().GetWrapWidth()) {
    const bool noHanging = !Type().bKinsokuRet && !Type().bKinsokuKuto;
    if (noHanging || Layout().IsWrapPoint(line, LineColumnToOffset(line, column))) {
      line = m_nCaretPosY + 1;
      column = 0;
    }
  }
  if (!bKeepSelection) BeforeMove(bSelect);
  PlaceCursor(column, line, true, 20);
  if (bKeepSelection) {
    m_nCaretPosX_Prev = m_nCaretPosX;
  } else {
    AfterMove(bSelect);
  }
}

void CEditView::Command_RIGHT(bool bSelect, bool bKeepSelection, bool bRepeat) {
  if (!m_pcEditDoc) return;
  MoveRightOnce(bSelect, bKeepSelection);
  if (bRepeat) MoveRightOnce(bSelect, bKeepSelection);
}

void CEditView::Command_WORDLEFT(bool bSelect) {
  if (!m_pcEditDoc) return;
  int line = 0;
  int offset = 0;
  if (!Layout().GetNextWordPos(m_nCaretPosY, LineColumnToOffset(m_nCaretPosY, m_nCaretPosX), &line, &offset, true,
                               Common().bStopsBothEndsWhenSearchWord != 0)) {
    // At the row's start: to the previous row's end, never into the free space beyond it.
    const int freeCursor = Common().bIsFreeCursorMode;
    Common().bIsFreeCursorMode = 0;
    Command_LEFT(bSelect, false);
    Common().bIsFreeCursorMode = freeCursor;
    return;
  }
  BeforeMove(bSelect);
  PlaceCursor(LineOffsetToColumn(line, offset), line, true, 20);
  AfterMove(bSelect);
}

void CEditView::Command_WORDRIGHT(bool bSelect) {
  if (!m_pcEditDoc) return;
  int line = 0;
  int offset = 0;
  const bool stopBoth = Common().bStopsBothEndsWhenSearchWord != 0;
  if (Layout().GetNextWordPos(m_nCaretPosY, LineColumnToOffset(m_nCaretPosY, m_nCaretPosX), &line, &offset, false,
                              stopBoth)) {
    BeforeMove(bSelect);
    PlaceCursor(LineOffsetToColumn(line, offset), line, true, 20);
    AfterMove(bSelect);
    return;
  }
  const int rowBefore = m_nCaretPosY;
  const int freeCursor = Common().bIsFreeCursorMode;
  Common().bIsFreeCursorMode = 0;
  Command_RIGHT(bSelect, false, false);
  Common().bIsFreeCursorMode = freeCursor;
  // Onto a row that starts with blanks: the word after its indent is meant.
  if (m_nCaretPosY == rowBefore) return;
  const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
  if (BlankSizeAt(row.text, row.length, 0) == 0) return;
  if (!Layout().GetNextWordPos(m_nCaretPosY, 0, &line, &offset, false, stopBoth)) return;
  BeforeMove(bSelect);
  PlaceCursor(LineOffsetToColumn(line, offset), line, true, 20);
  AfterMove(bSelect);
}

void CEditView::Command_GOLINETOP(bool bSelect, int nOption) {
  if (!m_pcEditDoc) return;
  if (nOption & 4) bSelect = true;
  int line = m_nCaretPosY;
  if (nOption & 8) {
    int column = 0;
    Layout().DocToWrapPos(0, m_nCaretPosY_PHY, &column, &line);
  }
  const int rowStart = DisplayRow::Of(Layout(), line).indent;
  int column = rowStart;
  if (!(nOption & 1)) {
    // The first non-blank; on the document line, rows of blanks are passed while looking for it.
    int target = line;
    const int docLine = Layout().GetDocLineIndex(line);
    for (;;) {
      const DisplayRow row = DisplayRow::Of(Layout(), target);
      const int text = FirstNonBlank(row);
      if (text >= 0) {
        column = row.ColumnOf(text);
        line = target;
        break;
      }
      if (!(nOption & 8) || !row.exists || Layout().GetDocLineIndex(target + 1) != docLine) break;
      ++target;
    }
    // Standing there already: the row's start, so that the key toggles.
    if (column == m_nCaretPosX && line == m_nCaretPosY) column = DisplayRow::Of(Layout(), line).indent;
  }
  BeforeMove(bSelect);
  PlaceCursor(column, line, true, 20);
  AfterMove(bSelect);
}

void CEditView::Command_GOLINEEND(bool bSelect) {
  if (!m_pcEditDoc) return;
  const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
  const bool lastRow = m_nCaretPosY >= Layout().GetLineCount() - 1;
  const int column = row.hasLineEnd || lastRow ? row.EndColumn() : LastCharColumn(row);
  BeforeMove(bSelect);
  PlaceCursor(column, m_nCaretPosY, true, 20);
  AfterMove(bSelect);
}

void CEditView::Command_GOFILETOP(bool bSelect) {
  if (!m_pcEditDoc) return;
  AddCursorHistory();
  const bool box = m_bBeginBoxSelect && bSelect;
  const int column = box ? m_nCaretPosX : 0;
  BeforeMove(bSelect);
  PlaceCursor(column, 0, true, 20);
  AfterMove(bSelect);
}

void CEditView::Command_GOFILEEND(bool bSelect) {
  if (!m_pcEditDoc) return;
  AddCursorHistory();
  const bool box = m_bBeginBoxSelect && bSelect;
  // The row Down stops at: past a final line end (or a full last row) lies the empty end row.
  const int count = Layout().GetLineCount();
  int line = std::max(count - 1, 0);
  if (count > 0) {
    const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
    if (last.hasLineEnd || last.EndColumn() >= Layout().GetWrapWidth()) line = count;
  }
  const int column = box ? m_nCaretPosX : DisplayRow::Of(Layout(), line).EndColumn();
  BeforeMove(bSelect);
  PlaceCursor(column, line, true, 20);
  AfterMove(bSelect);
}

// ---------------------------------------------------------------- paragraphs

void CEditView::Command_GONEXTPARAGRAPH(bool bSelect) {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  const int lines = doc.m_cDocLineMgr.GetLineCount();
  const bool blank = IsBlankDocLine(doc, m_nCaretPosY_PHY);
  int target = m_nCaretPosY_PHY;
  while (target < lines && IsBlankDocLine(doc, target) == blank) ++target;
  if (!blank && !Common().bStopsBothEndsWhenSearchParagraph) {
    while (target < lines && IsBlankDocLine(doc, target)) ++target;
  }
  int column = 0;
  int row = 0;
  Layout().DocToWrapPos(0, target, &column, &row);
  if (row != m_nCaretPosY) MoveCursorVertically(row - m_nCaretPosY, bSelect);
}

void CEditView::Command_GOPREVPARAGRAPH(bool bSelect) {
  if (!m_pcEditDoc) return;
  CEditDoc& doc = *m_pcEditDoc;
  const bool blank = IsBlankDocLine(doc, m_nCaretPosY_PHY - 1);
  int above = m_nCaretPosY_PHY - 1;
  while (above >= 0 && IsBlankDocLine(doc, above) == blank) --above;
  if (blank && !Common().bStopsBothEndsWhenSearchParagraph) {
    while (above >= 0 && !IsBlankDocLine(doc, above)) --above;
  }
  int column = 0;
  int row = 0;
  Layout().DocToWrapPos(0, above + 1, &column, &row);
  if (row != m_nCaretPosY) MoveCursorVertically(row - m_nCaretPosY, bSelect);
}

// ---------------------------------------------------------------- scrolling

void CEditView::Command_CURLINECENTER() {
  if (!m_pcEditDoc) return;
  const int top = std::max(m_nCaretPosY - m_nViewRowNum / 2, 0);
  const int scrolled = m_nViewTopLine - top;
  m_nViewTopLine = top;
  if (m_bDrawSWITCH) InvalidateClient(nullptr);
  UpdateScrollBars();
  UpdateCaret();
  FollowVertically(-scrolled);
}

void CEditView::Command_F_WNDSCROLLDOWN() {
  if (!m_pcEditDoc) return;
  int margin = m_nViewRowNum / 20;
  margin = margin == 0 ? 3 : margin + 2;
  const bool nearBottom = m_nCaretPosY >= m_nViewTopLine + m_nViewRowNum - margin;
  if (nearBottom) m_cUnderLine.Hide(true);
  const int scrolled = ScrollToTopLine(m_nViewTopLine - 1);
  FollowVertically(-scrolled);
  if (!IsTextSelected() && m_nCaretPosY > m_nViewTopLine + m_nViewRowNum - margin) {
    const int count = Layout().GetLineCount();
    const int delta = m_nCaretPosY > count - margin ? count - m_nCaretPosY - margin : -1;
    MoveCursorVertically(delta, false);
    ShowCaretPosition();
  }
  if (nearBottom) m_cUnderLine.Show(true);
}

void CEditView::Command_F_WNDSCROLLUP() {
  if (!m_pcEditDoc) return;
  const int margin = std::max(m_nViewRowNum / 20, 1);
  const int scrolled = ScrollToTopLine(m_nViewTopLine + 1);
  FollowVertically(-scrolled);
  if (!IsTextSelected() && m_nCaretPosY < m_nViewTopLine + margin) {
    MoveCursorVertically(m_nViewTopLine == 1 ? margin + 1 : 1, false);
    ShowCaretPosition();
  }
}

// ---------------------------------------------------------------- cursor history

void CEditView::Command_MOVEHISTSET() { AddCursorHistory(); }

void CEditView::Command_MOVEHISTPREV() {
  if (!m_pcEditDoc) return;
  if (!m_cHistory.CanGoNext()) {
    // Standing at the newest place: keep where the caret is, so that MoveHistNext comes back.
    AddCursorHistory();
    m_cHistory.GoPrev();
  }
  if (!m_cHistory.CanGoPrev()) return;
  CCursorHistory::Position position;
  if (!m_cHistory.GoPrev() || !m_cHistory.GetCurrent(&position)) {
    ShowMessageBox(m_hWnd, MB_OK, "PrevValid", "Inconsistent Implementation");
    return;
  }
  MoveCaretToDocPos(position.nColumn, position.nLine, m_bSelectingLock);
}

void CEditView::Command_MOVEHISTNEXT() {
  if (!m_pcEditDoc || !m_cHistory.CanGoNext()) return;
  CCursorHistory::Position position;
  if (!m_cHistory.GoNext() || !m_cHistory.GetCurrent(&position)) {
    ShowMessageBox(m_hWnd, MB_OK, "NextValid", "Inconsistent Implementation");
    return;
  }
  MoveCaretToDocPos(position.nColumn, position.nLine, m_bSelectingLock);
}

// ---------------------------------------------------------------- selections

void CEditView::Command_SELECTWORD() {
  if (!m_pcEditDoc) return;
  ClearSelection(true);
  int lineFrom = 0;
  int offsetFrom = 0;
  int lineTo = 0;
  int offsetTo = 0;
  CMemory word;
  CMemory wordLeft;
  if (!Layout().GetWordRange(m_nCaretPosY, LineColumnToOffset(m_nCaretPosY, m_nCaretPosX), &lineFrom, &offsetFrom,
                             &lineTo, &offsetTo, &word, &wordLeft)) {
    return;
  }
  const int columnFrom = LineOffsetToColumn(lineFrom, offsetFrom);
  const int columnTo = LineOffsetToColumn(lineTo, offsetTo);
  PlaceCursor(columnTo, lineTo, true, 20);
  m_sSelectBgn = SelectRange{lineFrom, columnFrom, lineFrom, columnFrom};
  m_sSelect = m_sSelectBgn;
  m_bDrawSelectArea = false;
  ChangeSelectionTo(columnTo, lineTo);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::Command_SELECTALL() {
  if (!m_pcEditDoc) return;
  ClearSelection(true);
  AddCursorHistory();
  m_sSelectBgn = SelectRange{0, 0, 0, 0};
  m_sSelect = m_sSelectBgn;
  m_bDrawSelectArea = false;
  ChangeSelectionTo(0, Layout().GetLineCount());
}

void CEditView::Command_BEGINSELECT() {
  if (!IsTextSelected()) BeginSelectionAtCaret();
  m_bSelectingLock = !m_bSelectingLock;
}

void CEditView::Command_BEGINBOXSELECT() {
  // Columns line up with characters only in a fixed-pitch font.
  if (!Common().bFontIs_FIXED_PITCH) return;
  ClearSelection(true);
  BeginSelectionAtCaret();
  m_bSelectingLock = true;
  m_bBeginBoxSelect = true;
}

void CEditView::Command_CANCELMODE() {
  ClearSelection(true);
  m_bSelectingLock = false;
}

// ---------------------------------------------------------------- other moves

void CEditView::Command_SEARCHSTARTPOS() {
  if (!m_pcEditDoc) return;
  if (m_nSrchStartPosX_PHY < 0 || m_nSrchStartPosY_PHY < 0) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  MoveCaretToDocPos(m_nSrchStartPosX_PHY, m_nSrchStartPosY_PHY, false);
}

void CEditView::Command_BRACKETPAIR() {
  if (!m_pcEditDoc) return;
  int column = 0;
  int line = 0;
  int flags = 1 | 2;  // the whole document; the character before the caret when the caret's is none
  if (!FindMatchingBracket(m_nCaretPosX, m_nCaretPosY, &column, &line, &flags)) return;
  // No _Sel twin: the pane's select mode decides, as for the plain moves.
  const bool select = m_bSelectingLock;
  BeforeMove(select);
  PlaceCursor(column, line, true, 20);
  AfterMove(select);
}

// ---------------------------------------------------------------- registration

namespace {

// The plain command moves in the pane's select mode; its _Sel twin always selects.
bool SelectOf(const CEditView& view, bool twin) { return twin || view.m_bSelectingLock; }

template <bool kSel>
LRESULT Up(CEditView& v, const CommandCall& c) {
  return v.Command_UP(SelectOf(v, kSel), c.bRepeat), 1;
}
template <bool kSel>
LRESULT Down(CEditView& v, const CommandCall& c) {
  return v.Command_DOWN(SelectOf(v, kSel), c.bRepeat), 1;
}
template <bool kSel>
LRESULT Left(CEditView& v, const CommandCall& c) {
  return v.Command_LEFT(SelectOf(v, kSel), c.bRepeat), 1;
}
template <bool kSel>
LRESULT Right(CEditView& v, const CommandCall& c) {
  return v.Command_RIGHT(SelectOf(v, kSel), false, c.bRepeat), 1;
}

// A move that takes only the select flag.
template <void (CEditView::*kMove)(bool), bool kSel>
LRESULT Move(CEditView& v, const CommandCall&) {
  (v.*kMove)(SelectOf(v, kSel));
  return 1;
}

template <bool kSel>
LRESULT GoLineTop(CEditView& v, const CommandCall& c) {
  // The plain command's option bits come as its argument; the twin selects with none.
  v.Command_GOLINETOP(SelectOf(v, kSel), kSel ? 0 : static_cast<int>(c.lparam[0]));
  return 1;
}

constexpr CommandHandlerEntry kCursorCommands[] = {
    {30311, 30311, &Up<false>},
    {30411, 30411, &Up<true>},
    {30312, 30312, &Down<false>},
    {30412, 30412, &Down<true>},
    {30313, 30313, &Left<false>},
    {30413, 30413, &Left<true>},
    {30314, 30314, &Right<false>},
    {30414, 30414, &Right<true>},
    {30315, 30315, &Move<&CEditView::Command_UP2, false>},
    {30415, 30415, &Move<&CEditView::Command_UP2, true>},
    {30316, 30316, &Move<&CEditView::Command_DOWN2, false>},
    {30416, 30416, &Move<&CEditView::Command_DOWN2, true>},
    {30320, 30320, &Move<&CEditView::Command_WORDLEFT, false>},
    {30420, 30420, &Move<&CEditView::Command_WORDLEFT, true>},
    {30321, 30321, &Move<&CEditView::Command_WORDRIGHT, false>},
    {30421, 30421, &Move<&CEditView::Command_WORDRIGHT, true>},
    {30332, 30332, &GoLineTop<false>},
    {30432, 30432, &GoLineTop<true>},
    {30333, 30333, &Move<&CEditView::Command_GOLINEEND, false>},
    {30433, 30433, &Move<&CEditView::Command_GOLINEEND, true>},
    {30340, 30340, &Move<&CEditView::Command_HALFPAGEUP, false>},
    {30440, 30440, &Move<&CEditView::Command_HALFPAGEUP, true>},
    {30341, 30341, &Move<&CEditView::Command_HALFPAGEDOWN, false>},
    {30441, 30441, &Move<&CEditView::Command_HALFPAGEDOWN, true>},
    {30342, 30342, &Move<&CEditView::Command_1PAGEUP, false>},
    {30442, 30442, &Move<&CEditView::Command_1PAGEUP, true>},
    {30343, 30343, &Move<&CEditView::Command_1PAGEDOWN, false>},
    {30443, 30443, &Move<&CEditView::Command_1PAGEDOWN, true>},
    {30350, 30350, &Move<&CEditView::Command_GOFILETOP, false>},
    {30450, 30450, &Move<&CEditView::Command_GOFILETOP, true>},
    {30351, 30351, &Move<&CEditView::Command_GOFILEEND, false>},
    {30451, 30451, &Move<&CEditView::Command_GOFILEEND, true>},
    {30382, 30382, &Move<&CEditView::Command_GONEXTPARAGRAPH, false>},
    {30482, 30482, &Move<&CEditView::Command_GONEXTPARAGRAPH, true>},
    {30383, 30383, &Move<&CEditView::Command_GOPREVPARAGRAPH, false>},
    {30483, 30483, &Move<&CEditView::Command_GOPREVPARAGRAPH, true>},
    {30360, 30360, &PlainHandler<&CEditView::Command_CURLINECENTER>},
    {30370, 30370, &PlainHandler<&CEditView::Command_MOVEHISTPREV>},
    {30371, 30371, &PlainHandler<&CEditView::Command_MOVEHISTNEXT>},
    {30372, 30372, &PlainHandler<&CEditView::Command_MOVEHISTSET>},
    {30380, 30380, &PlainHandler<&CEditView::Command_F_WNDSCROLLDOWN>},
    {30381, 30381, &PlainHandler<&CEditView::Command_F_WNDSCROLLUP>},
    {30400, 30400, &PlainHandler<&CEditView::Command_SELECTWORD>},
    {30401, 30401, &PlainHandler<&CEditView::Command_SELECTALL>},
    {30410, 30410, &PlainHandler<&CEditView::Command_BEGINSELECT>},
    {30510, 30510, &PlainHandler<&CEditView::Command_BEGINBOXSELECT>},
    {30909, 30909, &PlainHandler<&CEditView::Command_SEARCHSTARTPOS>},
    {30960, 30960, &PlainHandler<&CEditView::Command_BRACKETPAIR>},
    {31099, 31099, &PlainHandler<&CEditView::Command_CANCELMODE>},
};

}  // namespace

std::span<const CommandHandlerEntry> CursorCommandFamily() { return kCursorCommands; }
