// The pane's four editing primitives: insert, delete a byte range of one row, delete at the
// cursor, replace a range. Records hold document positions only, so an undo step still applies
// after the wrap width changed; a position is therefore never left inside a CR LF, and a range
// that takes a line end ends at the start of the next line.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"

namespace {

// Replacements over more rows than this take a receiver large enough for most of them at once.
constexpr int kLargeReplaceRows = 2000;
constexpr int kLargeReplaceReserve = 1024000;

// The bytes of a document line's text without its line end, and its line end's length.
int TextLengthOf(CDocLineMgr& lines, int nDocLine, int* pnEolLen) {
  *pnEolLen = 0;
  const CDocLine* line = nDocLine >= 0 ? lines.GetLine(nDocLine) : nullptr;
  if (!line) return 0;
  *pnEolLen = line->m_cLineEnd.GetLen();
  return line->GetLengthWithoutEol();
}

// The column after a row's last character, its line end counted as one: a column at or beyond it
// lies past everything the row holds.
int RowEndColumn(const DisplayRow& row) { return row.CharAt(INT32_MAX / 2).column + (row.hasLineEnd ? 1 : 0); }

// The row's end column, found by walking the row only when the column may reach it: every byte
// covers at least one column, so a column left of the row's byte count lies inside the row. A
// replace-all over many rows then walks none of them.
int RowEndColumnOrBeyond(const DisplayRow& row, int column) {
  const int leastEnd = row.indent + row.length + (row.hasLineEnd ? 1 : 0);
  return column < leastEnd ? INT32_MAX : RowEndColumn(row);
}

// A place where the text a replacement removes is cut into several deletion records: the start
// of a line without text that begins with LF after a line that ends with a lone CR (or begins with
// CR after a lone LF). Put back in one piece, the two would be read as one CR LF (or LF CR),
// leaving a line fewer than before and every later record of the step on the wrong line.
struct LineEndCut {
  POINT at;    // (0, line)
  int offset;  // bytes of the removed text before it
};

std::vector<LineEndCut> FindLineEndCuts(CDocLineMgr& lines, POINT start, POINT end) {
  std::vector<LineEndCut> cuts;
  int offset = 0;
  const CDocLine* line = lines.GetLine(start.y);
  for (int y = start.y; line && line->m_pNext && y + 1 < end.y; ++y, line = line->m_pNext) {
    int length = 0;
    line->GetText(&length);
    offset += length - (y == start.y ? start.x : 0);
    const CDocLine* next = line->m_pNext;
    const int lineEnd = line->m_cLineEnd.GetCode();
    const int nextEnd = next->m_cLineEnd.GetCode();
    const bool pairs = (lineEnd == CLineEnd::CR && (nextEnd == CLineEnd::LF || nextEnd == CLineEnd::LFCR)) ||
                       (lineEnd == CLineEnd::LF && (nextEnd == CLineEnd::CR || nextEnd == CLineEnd::CRLF));
    if (pairs && next->GetLengthWithoutEol() == 0) {
      cuts.push_back(LineEndCut{POINT{0, y + 1}, offset});
    }
  }
  return cuts;
}

}  // namespace

POINT CEditView::DocPosOf(int nX, int nY) {
  int col = 0;
  int line = 0;
  Layout().WrapToDocPos(nX, nY, &col, &line);
  int eol = 0;
  const int text = TextLengthOf(m_pcEditDoc->m_cDocLineMgr, line, &eol);
  if (line < m_pcEditDoc->m_cDocLineMgr.GetLineCount()) col = std::min(col, text);
  return POINT{col, line};
}

void CEditView::PlaceCaretAtDoc(int nDocCol, int nDocLine, bool bRepaint) {
  int x = 0;
  int y = 0;
  Layout().DocToWrapPos(nDocCol, nDocLine, &x, &y);
  PlaceCursor(x, y, bRepaint, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::AppendCaretMoveRecord(POINT before, POINT after) {
  if (m_bDoing_UndoRedo || !m_pcOpeBlk) return;
  auto ope = std::make_unique<COpeRecord>();
  ope->m_nKind = COpeRecord::OPE_MOVECARET;
  ope->m_nCaretPosX_PHY_Before = before.x;
  ope->m_nCaretPosY_PHY_Before = before.y;
  ope->m_nCaretPosX_PHY_After = after.x;
  ope->m_nCaretPosY_PHY_After = after.y;
  m_pcOpeBlk->AppendOpe(ope.release());
}

void CEditView::RepaintRows(int nFrom, int nTo) {
  if (!m_bDrawSWITCH) return;
  const int first = std::max(nFrom, m_nViewTopLine);
  const int last = nTo < 0 ? m_nViewTopLine + m_nViewRowNum : std::min(nTo, m_nViewTopLine + m_nViewRowNum);
  if (last < first) return;
  RECT rect{0, LineY(first), m_nClientWidth, nTo < 0 ? m_nClientHeight : LineY(last + 1)};
  rect.bottom = std::min<LONG>(rect.bottom, m_nClientHeight);
  if (rect.bottom <= rect.top) return;
  InvalidateClient(&rect);
}

void CEditView::RepaintAfterEdit(int nFrom, int nTo, bool bRedraw) {
  // A new width of the number column lays every pane out again, which repaints them.
  if (m_pcEditDoc->UpdatePanesTextAreaLeft(bRedraw)) {
    UpdateCaret();
    return;
  }
  if (bRedraw) RepaintRows(nFrom, nTo);
}

bool CEditView::MarkModifiedByEdit(bool bRedraw) {
  if (m_bDoing_UndoRedo || m_pcEditDoc->m_bIsModified) return false;
  m_pcEditDoc->SetModified(true, bRedraw);
  return true;
}

// ---- Insert --------------------------------------------------------------------------------------

void CEditView::InsertTextUndoable(int nX, int nY, const char* pData, int nDataLen, int* pnNewLine, int* pnNewPos,
                                   COpeRecord* pcOpe, bool bRedraw) {
  if (pnNewLine) *pnNewLine = nY;
  if (pnNewPos) *pnNewPos = nX;
  if (!m_pcEditDoc || nDataLen < 0 || (nDataLen > 0 && !pData)) return;
  if (IsTextSelected()) {
    DeleteAtCursor(bRedraw);
    nX = m_nCaretPosX;
    nY = m_nCaretPosY;
  }
  nX = std::max(0, nX);
  nY = std::clamp(nY, 0, Layout().GetLineCount());

  // Past the row's text (free cursor, a box) blanks reach the column; the bytes then go in at
  // the end of the text, before the line end.
  const DisplayRow row = DisplayRow::Of(Layout(), nY);
  int offset = 0;
  int blanks = 0;
  if (row.exists) {
    const DisplayRow::Hit hit = row.CharAt(nX);
    offset = hit.offset;
    if (hit.size == 0) blanks = std::max(0, nX - hit.column);
  } else {
    blanks = nX;
  }
  // The text goes in as given unless blanks lead it.
  std::string withBlanks;
  std::string_view bytes(pData ? pData : "", static_cast<size_t>(nDataLen));
  if (blanks > 0) {
    withBlanks.assign(static_cast<size_t>(blanks), ' ');
    withBlanks.append(bytes);
    bytes = withBlanks;
  }

  POINT before{};
  if (row.exists) {
    int docLine = 0;
    const CWrapLine* piece = Layout().GetLine(nY, &docLine);
    before = POINT{piece->m_nOffset + offset, docLine};
  } else {
    before = DocPosOf(0, nY);
  }
  if (pcOpe && !m_bDoing_UndoRedo) {
    pcOpe->m_nCaretPosX_PHY_Before = before.x;
    pcOpe->m_nCaretPosY_PHY_Before = before.y;
  }

  int removedAfter = 0;
  int affected = 0;
  int newLine = 0;
  int newOffset = 0;
  if (bytes.empty() || !Layout().InsertData(nY, offset, bytes.data(), static_cast<int>(bytes.size()), &removedAfter,
                                            &affected, &newLine, &newOffset)) {
    return;
  }
  // The end in document terms (for the record), before the wrap rule may move it to the next
  // row's start.
  const bool recording = pcOpe && !m_bDoing_UndoRedo;
  POINT end{};
  if (recording) {
    int docLine = 0;
    const CWrapLine* piece = Layout().GetLine(newLine, &docLine);
    end = piece ? POINT{piece->m_nOffset + newOffset, docLine} : DocPosOf(0, newLine);
    int eol = 0;
    const int text = TextLengthOf(m_pcEditDoc->m_cDocLineMgr, end.y, &eol);
    if (piece && end.x > text) end = POINT{0, end.y + 1};
  }
  // Where the caller's caret goes; a replay asks for none and paints nothing until its end.
  const bool placed = pnNewLine || pnNewPos || bRedraw;
  int newPos = placed ? LineOffsetToColumn(newLine, newOffset) : 0;
  if (placed && newPos >= Layout().GetWrapWidth()) {
    if (Type().bKinsokuRet || Type().bKinsokuKuto) {
      if (Layout().IsWrapPoint(newLine, newOffset)) {
        ++newLine;
        newPos = 0;
      }
    } else {
      ++newLine;
      newPos = DisplayRow::Of(Layout(), newLine).indent;
    }
  }
  if (pnNewLine) *pnNewLine = newLine;
  if (pnNewPos) *pnNewPos = newPos;

  // Edited lines take the modified colour in the number column only while the document is
  // modified: the first change shows it on every row.
  const bool marked = MarkModifiedByEdit(bRedraw);
  RepaintAfterEdit(marked ? 0 : nY, affected != 0 || marked ? -1 : newLine, bRedraw);

  if (recording) {
    pcOpe->m_nKind = COpeRecord::OPE_INSERT;
    pcOpe->m_nRangeEndX_PHY = end.x;
    pcOpe->m_nRangeEndY_PHY = end.y;
    // Undo removes up to the range end; a caller that puts the caret elsewhere changes only this.
    pcOpe->m_nCaretPosX_PHY_After = end.x;
    pcOpe->m_nCaretPosY_PHY_After = end.y;
    pcOpe->m_nTextLen = static_cast<int>(bytes.size());
  }
  m_nCaretPosX_Prev = m_nCaretPosX;
}

// ---- Delete --------------------------------------------------------------------------------------

void CEditView::DeleteRangeUndoable(int nX, int nY, int nDelLen, CMemory* pcMem, COpeRecord* pcOpe) {
  if (!m_pcEditDoc || nDelLen <= 0) return;
  const int offset = LineColumnToOffset(nY, nX);
  int docLine = 0;
  const CWrapLine* piece = Layout().GetLine(nY, &docLine);
  if (!piece) return;
  const POINT start{piece->m_nOffset + offset, docLine};
  int eol = 0;
  const int text = TextLengthOf(m_pcEditDoc->m_cDocLineMgr, docLine, &eol);
  CMemory removed;
  CMemory* receiver = pcMem ? pcMem : &removed;
  int removedAfter = 0;
  int createdAfter = 0;
  int affected = 0;
  if (!Layout().DeleteData(nY, offset, nDelLen, &removedAfter, &createdAfter, &affected, receiver)) return;
  if (pcOpe && !m_bDoing_UndoRedo) {
    pcOpe->m_nKind = COpeRecord::OPE_DELETE;
    pcOpe->m_nCaretPosX_PHY_Before = start.x;
    pcOpe->m_nCaretPosY_PHY_Before = start.y;
    // The range is the bytes that went (the count may end inside a character, which goes whole or
    // not at all); taking the line end, it ends at the next line's start.
    const bool joins = start.x + receiver->GetLength() > text;
    pcOpe->m_nRangeEndX_PHY = joins ? 0 : start.x + receiver->GetLength();
    pcOpe->m_nRangeEndY_PHY = joins ? docLine + 1 : docLine;
    delete pcOpe->m_pText;
    pcOpe->m_pText = new CMemory(*receiver);
    pcOpe->m_nTextLen = receiver->GetLength();
  }
  PlaceCaretAtDoc(start.x, start.y, false);
}

void CEditView::DeleteAtCursor(bool bRedraw) {
  if (!m_pcEditDoc) return;
  if (IsTextSelected() && !m_bBeginBoxSelect) {
    ReplaceRangeUndoable(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo, nullptr,
                         nullptr, 0, bRedraw);
    return;
  }
  if (IsTextSelected()) {
    CHourglassCursor hourglass(m_hWnd);
    const POINT oldCaret{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
    m_bDrawSWITCH = 0;
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    ClearSelection(false);
    bool changed = false;
    for (int y = std::min(rect.nBottom, Layout().GetLineCount() - 1); y >= rect.nTop; --y) {
      const DisplayRow row = DisplayRow::Of(Layout(), y);
      const DisplayRow::Hit from = row.CharAt(rect.nLeft);
      const DisplayRow::Hit to = row.CharAt(rect.nRight);
      if (from.size == 0 || to.offset <= from.offset) continue;
      // The caret's records bracket the deletions only when there are some: a box without text
      // leaves no undo step.
      if (!changed) AppendCaretMoveRecord(oldCaret, oldCaret);
      std::unique_ptr<COpeRecord> ope = m_bDoing_UndoRedo ? nullptr : std::make_unique<COpeRecord>();
      CMemory removed;
      DeleteRangeUndoable(from.column, y, to.offset - from.offset, &removed, ope.get());
      changed = true;
      if (ope) {
        const POINT left = DocPosOf(rect.nLeft, y);
        ope->m_nCaretPosX_PHY_After = left.x;
        ope->m_nCaretPosY_PHY_After = left.y;
        if (m_pcOpeBlk) m_pcOpeBlk->AppendOpe(ope.release());
      }
    }
    m_bDrawSWITCH = 1;
    if (changed) MarkModifiedByEdit(bRedraw);
    m_pcEditDoc->UpdatePanesTextAreaLeft(false);
    if (bRedraw) InvalidateClient(nullptr);
    PlaceCursor(rect.nLeft, rect.nTop, bRedraw, 20);
    m_nCaretPosX_Prev = m_nCaretPosX;
    if (changed) AppendCaretMoveRecord(oldCaret, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
    return;
  }

  // No selection: the character at the caret, or the whole line end there (the next line joins).
  const POINT at = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  int eol = 0;
  const int text = TextLengthOf(lines, at.y, &eol);
  if (at.y >= lines.GetLineCount()) return;
  int count = 0;
  if (at.x < text) {
    int length = 0;
    const char* bytes = lines.GetLineTextNoLineEnd(at.y, &length);
    count = SjisCharSize(reinterpret_cast<const unsigned char*>(bytes), length, at.x);
  } else {
    count = eol;  // none at the end of the last line
  }
  if (count <= 0) return;
  int x = 0;
  int y = 0;
  Layout().DocToWrapPos(at.x, at.y, &x, &y);
  std::unique_ptr<COpeRecord> ope = m_bDoing_UndoRedo ? nullptr : std::make_unique<COpeRecord>();
  CMemory removed;
  DeleteRangeUndoable(x, y, count, &removed, ope.get());
  if (ope) {
    ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
    ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
    if (m_pcOpeBlk) m_pcOpeBlk->AppendOpe(ope.release());
  }
  const bool marked = MarkModifiedByEdit(bRedraw);
  RepaintAfterEdit(marked ? 0 : y, -1, bRedraw);
  // The row after a last line without a line end holds nothing to stand on.
  int column = m_nCaretPosX;
  int line = m_nCaretPosY;
  ClampPositionToEnd(&column, &line);
  PlaceCursor(column, line, bRedraw, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

// ---- Replace -------------------------------------------------------------------------------------

void CEditView::ReplaceRangeUndoable(int nDelLineFrom, int nDelColFrom, int nDelLineTo, int nDelColTo,
                                     CMemory* pcmemCopyOfDeleted, const char* pInsData, int nInsDataLen, bool bRedraw) {
  if (!m_pcEditDoc || nInsDataLen < 0 || (nInsDataLen > 0 && !pInsData)) return;
  const int count = Layout().GetLineCount();
  // A start past everything its row holds begins the next row.
  if (nDelLineFrom < count - 1) {
    if (nDelColFrom >= RowEndColumnOrBeyond(DisplayRow::Of(Layout(), nDelLineFrom), nDelColFrom)) {
      if (nDelLineTo == nDelLineFrom) {
        ++nDelLineTo;
        nDelColTo = 0;
      }
      ++nDelLineFrom;
      nDelColFrom = 0;
    }
  }
  if (nDelLineTo < count) {
    nDelColTo = std::min(nDelColTo, RowEndColumnOrBeyond(DisplayRow::Of(Layout(), nDelLineTo), nDelColTo));
  }
  if (nDelLineTo == nDelLineFrom) nDelColTo = std::max(nDelColTo, nDelColFrom);

  // The range in document terms is for the records; a replay makes none.
  const bool recording = !m_bDoing_UndoRedo;
  const POINT oldCaret{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  // The ends in document terms as the edit takes them, converted once for it and the records.
  POINT docFrom{};
  POINT docTo{};
  Layout().WrapToDocPos(nDelColFrom, nDelLineFrom, &docFrom.x, &docFrom.y);
  Layout().WrapToDocPos(nDelColTo, nDelLineTo, &docTo.x, &docTo.y);
  POINT start{};
  POINT end{};
  if (recording) {
    CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
    int eol = 0;
    const int fromText = TextLengthOf(lines, docFrom.y, &eol);
    start = docFrom.y < lines.GetLineCount() ? POINT{std::min(docFrom.x, fromText), docFrom.y} : docFrom;
    const int toText = TextLengthOf(lines, docTo.y, &eol);
    end = docTo.y < lines.GetLineCount() && docTo.x > toText ? POINT{0, docTo.y + 1} : docTo;
  }
  std::vector<LineEndCut> cuts;
  if (recording) {
    AppendCaretMoveRecord(oldCaret, oldCaret);
    cuts = FindLineEndCuts(m_pcEditDoc->m_cDocLineMgr, start, end);
  }

  auto removed = std::make_unique<CMemory>();
  // A receiver with room to spare is copied into the record, which keeps only what it holds.
  const bool reserved = nDelLineTo - nDelLineFrom > kLargeReplaceRows;
  if (reserved) removed->AllocBuffer(kLargeReplaceReserve);
  WrapReplaceArg arg;
  arg.nDelLineFrom = nDelLineFrom;
  arg.nDelColFrom = nDelColFrom;
  arg.nDelLineTo = nDelLineTo;
  arg.nDelColTo = nDelColTo;
  arg.pDeletedText = removed.get();
  arg.pInsText = pInsData;
  arg.nInsLen = nInsDataLen;
  if (!Layout().ReplaceConvertedText(&arg, docFrom.x, docFrom.y, docTo.x, docTo.y)) return;

  // An empty range replaced by nothing changed nothing.
  const bool changed = removed->GetLength() > 0 || nInsDataLen > 0;
  const bool marked = changed && MarkModifiedByEdit(bRedraw);
  if (IsTextSelected()) ClearSelection(bRedraw);
  RepaintAfterEdit(marked ? 0 : nDelLineFrom,
                   arg.nAddLineNum != 0 || marked ? -1 : std::max(arg.nModLineTo, nDelLineFrom), bRedraw);
  if (pcmemCopyOfDeleted) pcmemCopyOfDeleted->AssignFrom(*removed);

  if (recording && m_pcOpeBlk) {
    // In document terms as the edit left it: through the display position the end would snap to
    // the start of a character the inserted bytes made with the bytes after them.
    const POINT newEnd{arg.nNewDocCol, arg.nNewDocLine};
    if (removed->GetLength() > 0) {
      // One deletion record per piece between the cuts, each as the document stands after the
      // pieces before it went (they all closed up at the start).
      POINT from = start;
      int fromOffset = 0;
      const LineEndCut whole{end, removed->GetLength()};
      for (size_t i = 0; i <= cuts.size(); ++i) {
        const LineEndCut& cut = i < cuts.size() ? cuts[i] : whole;
        auto deletion = std::make_unique<COpeRecord>();
        deletion->m_nKind = COpeRecord::OPE_DELETE;
        deletion->m_nCaretPosX_PHY_Before = start.x;
        deletion->m_nCaretPosY_PHY_Before = start.y;
        deletion->m_nCaretPosX_PHY_After = start.x;
        deletion->m_nCaretPosY_PHY_After = start.y;
        const POINT rangeEnd = cut.at.y > from.y ? POINT{cut.at.x, start.y + cut.at.y - from.y}
                                                 : POINT{start.x + cut.at.x - from.x, start.y};
        deletion->m_nRangeEndX_PHY = rangeEnd.x;
        deletion->m_nRangeEndY_PHY = rangeEnd.y;
        const int offset = std::clamp(cut.offset, fromOffset, removed->GetLength());
        if (cuts.empty() && !reserved) {
          // The whole text in one record: it takes the receiver rather than a copy of it.
          deletion->m_pText = removed.release();
        } else {
          deletion->m_pText = new CMemory(removed->GetPtr() + fromOffset, offset - fromOffset);
        }
        deletion->m_nTextLen = offset - fromOffset;
        m_pcOpeBlk->AppendOpe(deletion.release());
        from = cut.at;
        fromOffset = offset;
      }
    }
    if (nInsDataLen > 0) {
      auto insertion = std::make_unique<COpeRecord>();
      insertion->m_nKind = COpeRecord::OPE_INSERT;
      insertion->m_nCaretPosX_PHY_Before = start.x;
      insertion->m_nCaretPosY_PHY_Before = start.y;
      insertion->m_nRangeEndX_PHY = newEnd.x;
      insertion->m_nRangeEndY_PHY = newEnd.y;
      insertion->m_nCaretPosX_PHY_After = newEnd.x;
      insertion->m_nCaretPosY_PHY_After = newEnd.y;
      insertion->m_nTextLen = nInsDataLen;
      m_pcOpeBlk->AppendOpe(insertion.release());
    }
  }
  PlaceCursor(arg.nNewPos, arg.nNewLine, bRedraw, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  AppendCaretMoveRecord(oldCaret, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}
