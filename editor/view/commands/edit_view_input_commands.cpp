// Typing and the other commands that put text in at the caret, and indentation. Every change goes
// through the editing primitives, which record it and mark the document modified; a command that
// ends up changing nothing (a widened box, a refused character) leaves the modified flag alone.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"
#include "platform/local_time.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kFormattedTimeSize = 1024;
// Smart indent leaves longer indentations as they are.
constexpr int kMaxSmartIndentBytes = 1022;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsFullWidthSpace(const char* text, int size) {
  return size == 2 && static_cast<unsigned char>(text[0]) == 0x81 && static_cast<unsigned char>(text[1]) == 0x40;
}

// Whether a whole character of the list is these bytes.
bool ListHoldsChar(std::string_view list, std::string_view ch) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(list.data());
  const int length = static_cast<int>(list.size());
  for (int pos = 0; pos < length;) {
    const int size = SjisCharSize(bytes, length, pos);
    if (list.substr(static_cast<size_t>(pos), static_cast<size_t>(size)) == ch) return true;
    pos += size;
  }
  return false;
}

// The leading run of a line that Enter copies: characters of the type's indent list, blanks and,
// when asked, the full-width space; at most up to the caret.
std::string AutoIndentOf(const TypeSettings& type, const char* text, int length) {
  const std::string_view list(type.szIndentChars, strnlen(type.szIndentChars, sizeof type.szIndentChars));
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  while (pos < length) {
    const int size = SjisCharSize(bytes, length, pos);
    const std::string_view ch(text + pos, static_cast<size_t>(size));
    const bool counts = (!list.empty() && ListHoldsChar(list, ch)) || (size == 1 && IsBlank(text[pos])) ||
                        (type.bAutoIndent_ZENSPACE && IsFullWidthSpace(text + pos, size));
    if (!counts) break;
    pos += size;
  }
  return std::string(text, static_cast<size_t>(pos));
}

// The columns a text covers when it starts at a column.
int ColumnAfter(const char* text, int length, int column, int tabWidth) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (int pos = 0; pos < length;) {
    const int size = SjisCharSize(bytes, length, pos);
    column += text[pos] == '\t' ? tabWidth - column % tabWidth : size;
    pos += size;
  }
  return column;
}

// The words after which a ":" re-indents its line.
bool StartsWithLabel(std::string_view text) {
  for (const std::string_view label : {"case", "default:", "public:", "private:", "protected:"}) {
    if (text.substr(0, label.size()) == label) return true;
  }
  return false;
}

bool IsBracket(char c) { return c == '(' || c == ')' || c == '{' || c == '}'; }

// The offsets of the single-byte brackets of text[0, end), in text order.
std::vector<int> BracketsOf(const char* text, int length, int end) {
  std::vector<int> found;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (int pos = 0; pos < end;) {
    const int size = SjisCharSize(bytes, length, pos);
    if (size == 1 && IsBracket(text[pos])) found.push_back(pos);
    pos += size;
  }
  return found;
}

// The display position of a document position.
POINT WrapPosOf(CWrapLineMgr& layout, int nDocCol, int nDocLine) {
  POINT at{};
  int x = 0;
  int y = 0;
  layout.DocToWrapPos(nDocCol, nDocLine, &x, &y);
  at.x = x;
  at.y = y;
  return at;
}

// Where the completion popup will refresh its offer for the word before the caret; nothing yet.
void RefreshCompletion(CEditView&) {}

enum class NowPart { kDate, kTime };

// The local date or time in the common settings' format.
std::string FormattedNow(NowPart part) {
  SYSTEMTIME now{};
  platform::LocalSystemTimeOf(platform::WallClockNs(), &now);
  char text[kFormattedTimeSize] = {};
  CShareData* share = CShareData::GetInstance();
  if (part == NowPart::kDate) {
    share ? share->FormatDate(now, text, sizeof text) : CShareData::FormatDateWith(now, text, sizeof text, 0, nullptr);
  } else {
    share ? share->FormatTime(now, text, sizeof text) : CShareData::FormatTimeWith(now, text, sizeof text, 0, nullptr);
  }
  return text;
}

}  // namespace

// ---------------------------------------------------------------- shared steps

bool CEditView::RefuseDuringDragSelect() {
  if (!m_bBeginSelect) return false;
  platform::MessageBeep(MB_ICONHAND);
  return true;
}

void CEditView::InsertAtCaret(const char* pData, int nDataLen, bool bRepaintCaret) {
  if (!pData || nDataLen <= 0) return;
  auto ope = std::make_unique<COpeRecord>();
  int newLine = m_nCaretPosY;
  int newPos = m_nCaretPosX;
  InsertTextUndoable(m_nCaretPosX, m_nCaretPosY, pData, nDataLen, &newLine, &newPos, ope.get(), true);
  PlaceCursor(newPos, newLine, bRepaintCaret, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  if (ope->m_nKind == COpeRecord::OPE_INSERT && m_pcOpeBlk && !m_bDoing_UndoRedo) m_pcOpeBlk->AppendOpe(ope.release());
}

void CEditView::TypeText(const char* pData, int nDataLen) {
  if (IsTextSelected()) {
    if (m_bBeginBoxSelect) {
      // A box takes the typed character in every row; a pair goes in as text.
      if (nDataLen == 1) {
        Command_INDENTSPACE(pData[0]);
      } else {
        IndentLines(pData, nDataLen, false);
      }
      return;
    }
    DeleteAtCursor(true);
  } else if (!IsInsertMode()) {
    // Overwrite takes the character under the caret; the line end only when the settings allow.
    const POINT at = DocPosOf(m_nCaretPosX, m_nCaretPosY);
    int length = 0;
    const bool atLineEnd =
        !m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(at.y, &length) || at.x >= length;
    if (!(atLineEnd && Common().bNotOverWriteCRLF)) DeleteAtCursor(true);
  }
  InsertAtCaret(pData, nDataLen, true);
}

void CEditView::SelectWholeRows(int nFirst, int nEnd, POINT oldCaret, bool bChanged) {
  // A last line without a line end has no row below it: the selection stops at its end.
  int endColumn = 0;
  const int count = Layout().GetLineCount();
  if (nEnd >= count && count > 0) {
    const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
    nEnd = last.hasLineEnd ? count : count - 1;
    endColumn = last.hasLineEnd ? 0 : last.EndColumn();
  }
  m_sSelectBgn = SelectRange{nFirst, 0, nFirst, 0};
  m_sSelect = SelectRange{nFirst, 0, nEnd, endColumn};
  m_bBeginBoxSelect = false;
  PlaceCursor(endColumn, nEnd, false, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  // A caret move alone is no step: undo and redo of it would only move the save point.
  if (bChanged) AppendCaretMoveRecord(oldCaret, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}

// ---------------------------------------------------------------- typing

void CEditView::Command_CHAR(int nCode) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  const char ch = static_cast<char>(nCode & 0xFF);
  const bool enter = ch == '\r' || ch == '\n';
  if (!enter) {
    const bool box = IsTextSelected() && m_bBeginBoxSelect;
    TypeText(&ch, 1);
    if (box) return;
  } else {
    const CLineEnd lineEnd(m_pcEditDoc->m_nNewLineType);
    std::string text(lineEnd.GetBytes(), static_cast<size_t>(lineEnd.GetLen()));
    if (IsTextSelected()) DeleteAtCursor(true);
    if (Type().bAutoIndent) {
      const POINT at = DocPosOf(m_nCaretPosX, m_nCaretPosY);
      int length = 0;
      const char* line = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(at.y, &length);
      if (line) text += AutoIndentOf(Type(), line, std::min(length, at.x));
    }
    InsertAtCaret(text.data(), static_cast<int>(text.size()), true);
  }
  if (Type().nSmartIndent == 1) SmartIndentCpp(ch);
  if (enter && Type().bRTrimPrevLine) RTrimPrevLine();
  RefreshCompletion(*this);
}

void CEditView::Command_CHARIME(int nCode) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  const auto lead = static_cast<unsigned char>((nCode >> 8) & 0xFF);
  const auto trail = static_cast<unsigned char>(nCode & 0xFF);
  if (lead == 0) {
    // A lone lead byte would take the next character typed as its trail byte.
    if (IsSjisLeadByte(trail)) {
      platform::MessageBeep(MB_ICONHAND);
      return;
    }
    Command_CHAR(trail);
    return;
  }
  if (!IsSjisLeadByte(lead) || !IsSjisTrailByte(trail)) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  TypeText(pair, 2);
  RefreshCompletion(*this);
}

// ---------------------------------------------------------------- inserted text

void CEditView::Command_INSTEXT(bool bRedraw, const char* pszText, int nTextLen, bool bNoWaitCursor) {
  if (!m_pcEditDoc || RefuseDuringDragSelect() || !pszText) return;
  if (nTextLen < 0) nTextLen = static_cast<int>(strlen(pszText));
  std::optional<CHourglassCursor> hourglass;
  if (!bNoWaitCursor) hourglass.emplace(m_hWnd);
  if (IsTextSelected() && m_bBeginBoxSelect) {
    // Every row of the box gets the text's first line.
    const char* end = std::find_if(pszText, pszText + nTextLen, [](char c) { return c == '\r' || c == '\n'; });
    IndentLines(pszText, static_cast<int>(end - pszText), false);
    return;
  }
  if (IsTextSelected()) {
    ReplaceRangeUndoable(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo, nullptr,
                         pszText, nTextLen, bRedraw);
    return;
  }
  InsertAtCaret(pszText, nTextLen, bRedraw);
}

void CEditView::Command_ADDTAIL(const char* pszData, int nDataLen) {
  if (!m_pcEditDoc || RefuseDuringDragSelect() || !pszData) return;
  if (nDataLen < 0) nDataLen = static_cast<int>(strlen(pszData));
  if (IsTextSelected()) ClearSelection(true);
  // The end of the document: after the last line's text, or the row below a last line end.
  const int count = Layout().GetLineCount();
  int column = 0;
  int line = 0;
  if (count > 0) {
    const DisplayRow last = DisplayRow::Of(Layout(), count - 1);
    line = last.hasLineEnd ? count : count - 1;
    column = last.hasLineEnd ? 0 : last.EndColumn();
  }
  PlaceCursor(column, line, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  InsertAtCaret(pszData, nDataLen, true);
}

void CEditView::Command_DUPLICATELINE() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (IsTextSelected()) ClearSelection(true);
  const int y = m_nCaretPosY;
  const DisplayRow row = DisplayRow::Of(Layout(), y);
  if (!row.exists) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  const POINT oldCaret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  const int oldColumn = m_nCaretPosX;
  const int rowEnd = row.EndColumn();
  const POINT rowStart = DocPosOf(row.indent, y);
  AppendCaretMoveRecord(oldCaret, rowStart);
  PlaceCursor(row.indent, y, false, 20);

  std::string bytes(reinterpret_cast<const char*>(row.text), static_cast<size_t>(row.length));
  const CWrapLine* piece = Layout().GetLine(y);
  bool endsLine = row.hasLineEnd;
  if (row.hasLineEnd) {
    bytes.append(piece->m_cLineEnd.GetBytes(), static_cast<size_t>(piece->m_cLineEnd.GetLen()));
  } else if (y == Layout().GetLineCount() - 1) {
    const CLineEnd lineEnd(m_pcEditDoc->m_nNewLineType);
    bytes.append(lineEnd.GetBytes(), static_cast<size_t>(lineEnd.GetLen()));
    endsLine = true;
  }
  InsertAtCaret(bytes.data(), static_cast<int>(bytes.size()), false);

  // The caret stays on the text it stood on, which is now one copy further down.
  const POINT moved =
      endsLine ? POINT{oldCaret.x - rowStart.x, oldCaret.y + 1} : POINT{oldCaret.x + row.length, oldCaret.y};
  POINT at = WrapPosOf(Layout(), moved.x, moved.y);
  if (oldColumn > rowEnd) at.x += oldColumn - rowEnd;  // free cursor past the text
  PlaceCursor(at.x, at.y, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  AppendCaretMoveRecord(rowStart, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}

void CEditView::Command_INSERTDATE() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  const std::string text = FormattedNow(NowPart::kDate);
  Command_INSTEXT(true, text.c_str(), -1, true);
}

void CEditView::Command_INSERTTIME() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  const std::string text = FormattedNow(NowPart::kTime);
  Command_INSTEXT(true, text.c_str(), -1, true);
}

void CEditView::Command_CTRLCODEDIALOG() {
  // The control-code dialog does not exist yet; its code would go to Command_CHAR.
  platform::MessageBeep(MB_ICONHAND);
}

void CEditView::Command_CHGMODINS() {
  if (!m_pcEditDoc) return;
  SetInsertMode(!IsInsertMode());
  UpdateCaret();
  ShowCaretPosition();
}

void CEditView::Command_CHGMODEOL(int nEolType) {
  if (!m_pcEditDoc) return;
  if (nEolType >= CLineEnd::CRLF && nEolType <= CLineEnd::CR) m_pcEditDoc->m_nNewLineType = nEolType;
  ShowCaretPosition();
}

void CEditView::Command_IME_RECONVERSION() {
  // The input method cannot be asked to reconvert a text it was handed, so the reconversion
  // command finds it without the capability and does nothing. A reconversion the input method
  // starts itself is served by the pane's input-method queries.
}

// ---------------------------------------------------------------- indentation

void CEditView::Command_INDENTTAB() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  const bool selected = IsTextSelected();
  const bool oneRow = selected && m_sSelect.nLineFrom == m_sSelect.nLineTo;
  if (!Type().bInsSpace) {
    if (!selected || oneRow) {
      Command_CHAR('\t');
    } else {
      Command_INDENTSPACE('\t');
    }
    return;
  }
  const SelectRect rect =
      MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
  const int column = !selected ? m_nCaretPosX : m_bBeginBoxSelect ? rect.nLeft : m_sSelect.nColumnFrom;
  const int tab = std::max(Layout().GetTabWidth(), 1);
  const std::string spaces(static_cast<size_t>(tab - column % tab), ' ');
  const int count = static_cast<int>(spaces.size());
  if (!selected || !oneRow) {
    IndentLines(spaces.data(), count, true);
  } else if (m_bBeginBoxSelect && rect.nLeft == rect.nRight) {
    Command_INDENTSPACE('\t');
  } else if (m_bBeginBoxSelect) {
    ReplaceRangeUndoable(rect.nTop, rect.nLeft, rect.nTop, rect.nRight, nullptr, spaces.data(), count, true);
  } else {
    ReplaceRangeUndoable(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo, nullptr,
                         spaces.data(), count, true);
  }
}

void CEditView::Command_INDENTSPACE(char cChar) {
  if (!m_pcEditDoc) return;
  if (IsBlank(cChar) && IsTextSelected() && m_bBeginBoxSelect) {
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    if (rect.nLeft == rect.nRight) {
      // A blank typed into a box of no width opens it up to the wrap width instead.
      m_sSelectOld = m_sSelect;
      m_sSelect = SelectRange{rect.nTop, rect.nLeft, rect.nBottom, Layout().GetWrapWidth()};
      InvertSelection();
      ShowSelectionSize();
      return;
    }
  }
  IndentLines(&cChar, 1, false);
}

void CEditView::IndentLines(const char* pData, int nDataLen, bool bSkipEmpty) {
  // Nothing to put in: a box would only be padded with blanks.
  if (!m_pcEditDoc || !pData || nDataLen <= 0) return;
  if (!IsTextSelected()) {
    InsertAtCaret(pData, nDataLen, true);
    return;
  }
  CHourglassCursor hourglass(m_hWnd);
  const POINT oldCaret{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const bool wasModified = m_pcEditDoc->m_bIsModified;
  m_bDrawSWITCH = 0;
  // Rows that take nothing change nothing: caret moves are recorded only around an insert, so a
  // command that inserts nowhere leaves no step to undo.
  bool changed = false;
  const auto appendInsert = [this, &changed, oldCaret](std::unique_ptr<COpeRecord> ope, bool bBox) {
    if (ope->m_nKind != COpeRecord::OPE_INSERT) return;
    if (!changed && bBox) AppendCaretMoveRecord(oldCaret, oldCaret);
    changed = true;
    if (m_pcOpeBlk && !m_bDoing_UndoRedo) m_pcOpeBlk->AppendOpe(ope.release());
  };

  if (m_bBeginBoxSelect) {
    if (!IsInsertMode()) {
      const SelectRange box = m_sSelect;
      DeleteAtCursor(false);
      m_sSelect = box;
      m_bBeginBoxSelect = true;
    }
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    ClearSelection(false);
    if (nDataLen == 1 && IsBlank(pData[0])) bSkipEmpty = true;
    // Bottom up: a row that grows past the wrap width pushes only the rows below it down, and
    // those are done, so every row takes the text at the column it showed.
    for (int y = std::min(rect.nBottom, Layout().GetLineCount() - 1); y >= rect.nTop; --y) {
      if (bSkipEmpty) {
        const DisplayRow::Hit hit = DisplayRow::Of(Layout(), y).CharAt(rect.nLeft);
        // A box of no width looks at the character at its column.
        if (hit.size == 0 || hit.column >= std::max(rect.nRight, rect.nLeft + 1)) continue;
      }
      auto ope = std::make_unique<COpeRecord>();
      int newLine = 0;
      int newPos = 0;
      InsertTextUndoable(rect.nLeft, y, pData, nDataLen, &newLine, &newPos, ope.get(), false);
      appendInsert(std::move(ope), true);
    }
    const int wrap = Layout().GetWrapWidth();
    const int shift = ColumnAfter(pData, nDataLen, rect.nLeft, std::max(Layout().GetTabWidth(), 1)) - rect.nLeft;
    const int left = std::min(rect.nLeft + shift, wrap);
    const int right = std::min(rect.nRight + shift, wrap);
    PlaceCursor(left, rect.nTop, false, 20);
    m_nCaretPosX_Prev = m_nCaretPosX;
    m_sSelectBgn = SelectRange{rect.nBottom, right, rect.nBottom, right};
    m_sSelect = SelectRange{rect.nTop, left, rect.nBottom, right};
    m_bBeginBoxSelect = true;
    if (changed) AppendCaretMoveRecord(oldCaret, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
  } else {
    const int first = m_sSelect.nLineFrom;
    int end = m_sSelect.nLineTo + (m_sSelect.nColumnTo != 0 ? 1 : 0);
    ClearSelection(false);
    for (int y = first; y < end; ++y) {
      int docLine = 0;
      const CWrapLine* piece = Layout().GetLine(y, &docLine);
      if (!piece) break;
      const CDocLine* line = m_pcEditDoc->m_cDocLineMgr.GetLine(docLine);
      if (piece->m_nOffset != 0 || !line || line->GetLengthWithoutEol() == 0) continue;
      const int rowsBefore = Layout().GetLineCount();
      auto ope = std::make_unique<COpeRecord>();
      int newLine = 0;
      int newPos = 0;
      InsertTextUndoable(0, y, pData, nDataLen, &newLine, &newPos, ope.get(), false);
      appendInsert(std::move(ope), false);
      end += Layout().GetLineCount() - rowsBefore;
    }
    SelectWholeRows(first, end, oldCaret, changed);
  }

  m_bDrawSWITCH = 1;
  m_pcEditDoc->UpdatePanesTextAreaLeft(false);
  RepaintAll();
  m_bDrawSelectArea = IsTextSelected();
  if (!wasModified && m_pcEditDoc->m_bIsModified) m_pcEditDoc->UpdateCaption(false);
}

void CEditView::Command_UNINDENT(char cChar) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (!IsTextSelected()) {
    Command_CHAR(cChar);
    ShowStatusMessage("★逆インデントは選択時のみ"_sj);
    return;
  }
  if (m_bBeginBoxSelect) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  CHourglassCursor hourglass(m_hWnd);
  const POINT oldCaret{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const int tab = std::max(Layout().GetTabWidth(), 1);
  const int first = m_sSelect.nLineFrom;
  int end = m_sSelect.nLineTo + (m_sSelect.nColumnTo != 0 ? 1 : 0);
  ClearSelection(false);
  m_bDrawSWITCH = 0;
  bool changed = false;
  for (int y = first; y < end; ++y) {
    int docLine = 0;
    const CWrapLine* piece = Layout().GetLine(y, &docLine);
    if (!piece) break;
    if (piece->m_nOffset != 0) continue;
    int length = 0;
    const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(docLine, &length);
    int count = 0;
    if (cChar == '\t' && length > 0 && text[0] == '\t') {
      count = 1;
    } else if (cChar == '\t') {
      while (count < length && count < tab && text[count] == ' ') ++count;
    } else if (length > 0 && text[0] == ' ') {
      count = 1;
    }
    if (count == 0) continue;
    const int rowsBefore = Layout().GetLineCount();
    auto ope = std::make_unique<COpeRecord>();
    CMemory removed;
    DeleteRangeUndoable(0, y, count, &removed, ope.get());
    changed = true;
    if (m_pcOpeBlk && !m_bDoing_UndoRedo) {
      ope->m_nCaretPosX_PHY_After = ope->m_nCaretPosX_PHY_Before;
      ope->m_nCaretPosY_PHY_After = ope->m_nCaretPosY_PHY_Before;
      m_pcOpeBlk->AppendOpe(ope.release());
    }
    end += Layout().GetLineCount() - rowsBefore;
  }
  SelectWholeRows(first, end, oldCaret, changed);
  m_bDrawSWITCH = 1;
  if (changed) MarkModifiedByEdit(true);
  m_pcEditDoc->UpdatePanesTextAreaLeft(false);
  RepaintAll();
  m_bDrawSelectArea = IsTextSelected();
}

// ---------------------------------------------------------------- smart indent and trimming

void CEditView::SmartIndentCpp(char cChar) {
  if (!m_pcEditDoc) return;
  char ch = cChar;
  if (ch != '\r' && ch != '(' && ch != ')' && ch != ':' && ch != '{' && ch != '}') return;
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  const POINT caret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  int length = 0;
  const char* raw = lines.GetLineTextNoLineEnd(caret.y, &length);
  if (!raw) return;
  const std::string line(raw, static_cast<size_t>(length));

  // p: the character that decides, and what stands before it.
  int p = 0;
  if (ch == '\r') {
    p = std::min<int>(caret.x, length);
    while (p < length && IsBlank(line[p])) ++p;
    if (p < length && (line[p] == ')' || line[p] == '}')) ch = line[p];
  } else {
    p = caret.x - 1;
    if (p < 0 || p >= length || line[p] != ch) return;
  }
  int firstText = 0;
  while (firstText < p && IsBlank(line[firstText])) ++firstText;
  if (firstText < p) {
    if (ch == '(' || ch == '{') {
      if (line[firstText] == '#') return;
    } else if (ch == ':') {
      if (!StartsWithLabel(std::string_view(line).substr(firstText))) return;
    } else {
      return;
    }
  } else if (ch == ':') {
    return;
  }
  const int oldEnd = firstText;

  // The opener this line belongs under, searched back to the start of the document.
  int matchLine = -1;
  int depth = 0;
  for (int y = caret.y; y >= 0 && matchLine < 0; --y) {
    int size = 0;
    const char* text = y == caret.y ? line.data() : lines.GetLineTextNoLineEnd(y, &size);
    if (y == caret.y) size = length;
    if (!text) continue;
    const std::vector<int> brackets = BracketsOf(text, size, y == caret.y ? p : size);
    for (auto it = brackets.rbegin(); it != brackets.rend(); ++it) {
      const int i = *it;
      const char c = text[i];
      if (i > 0 && i + 1 < size && text[i - 1] == '\'' && text[i + 1] == '\'') continue;  // a character literal
      if (y == caret.y) {
        // "} else {" lines up as its closing brace does.
        if ((ch == '{' && c == '}') || (ch == '(' && c == ')')) {
          ch = c;
          continue;
        }
        if (c == ch && (c == '(' || c == '{')) return;
      }
      if (c == ')' || c == '}') {
        ++depth;
      } else if (depth == 0) {
        matchLine = y;
        break;
      } else {
        --depth;
      }
    }
  }

  std::string indent;
  if (matchLine < 0) {
    if (ch == '\r') return;
  } else {
    int size = 0;
    const char* text = lines.GetLineTextNoLineEnd(matchLine, &size);
    int blanks = 0;
    while (blanks < size && IsBlank(text[blanks])) ++blanks;
    indent.assign(text, static_cast<size_t>(blanks));
    if (ch == '\r' || ch == '(' || ch == '{') {
      if (!Type().bInsSpace) {
        indent += '\t';
      } else {
        const int tab = std::max(Layout().GetTabWidth(), 1);
        const int width = ColumnAfter(indent.data(), static_cast<int>(indent.size()), 0, tab);
        indent.append(static_cast<size_t>(tab - width % tab), ' ');
      }
    }
  }

  if (oldEnd > kMaxSmartIndentBytes) return;
  if (std::string_view(line).substr(0, static_cast<size_t>(oldEnd)) == indent) return;
  const POINT from = WrapPosOf(Layout(), 0, caret.y);
  const POINT to = WrapPosOf(Layout(), oldEnd, caret.y);
  ReplaceRangeUndoable(from.y, from.x, to.y, to.x, nullptr, indent.data(), static_cast<int>(indent.size()), true);
  const int column = std::max(0, static_cast<int>(indent.size()) + caret.x - oldEnd);
  PlaceCaretAtDoc(column, caret.y, true);
  AppendCaretMoveRecord(caret, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}

void CEditView::RTrimPrevLine() {
  if (!m_pcEditDoc) return;
  const POINT caret = DocPosOf(m_nCaretPosX, m_nCaretPosY);
  if (caret.y <= 0) return;
  int length = 0;
  const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(caret.y - 1, &length);
  if (!text) return;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  int trailStart = 0;
  for (int pos = 0; pos < length;) {
    const int size = SjisCharSize(bytes, length, pos);
    const bool blank = (size == 1 && IsBlank(text[pos])) || IsFullWidthSpace(text + pos, size);
    pos += size;
    if (!blank) trailStart = pos;
  }
  if (trailStart >= length) return;
  const POINT from = WrapPosOf(Layout(), trailStart, caret.y - 1);
  const POINT to = WrapPosOf(Layout(), length, caret.y - 1);
  ReplaceRangeUndoable(from.y, from.x, to.y, to.x, nullptr, nullptr, 0, true);
  PlaceCaretAtDoc(caret.x, caret.y, true);
  AppendCaretMoveRecord(POINT{trailStart, caret.y - 1}, caret);
}

// The family's registration table.
namespace {

LRESULT Char(CEditView& view, const CommandCall& call) {
  view.Command_CHAR(static_cast<int>(call.lparam[0]));
  return 1;
}

LRESULT CharIme(CEditView& view, const CommandCall& call) {
  view.Command_CHARIME(static_cast<int>(call.lparam[0]));
  return 1;
}

LRESULT InsText(CEditView& view, const CommandCall& call) {
  view.Command_INSTEXT(call.bRedraw, call.Text(0), static_cast<int>(call.lparam[1]), call.lparam[2] != 0);
  return 1;
}

LRESULT AddTail(CEditView& view, const CommandCall& call) {
  view.Command_ADDTAIL(call.Text(0), static_cast<int>(call.lparam[1]));
  return 1;
}

template <char Blank>
LRESULT Unindent(CEditView& view, const CommandCall&) {
  view.Command_UNINDENT(Blank);
  return 1;
}

LRESULT IndentSpace(CEditView& view, const CommandCall&) {
  if (view.m_bBeginSelect) {
    platform::MessageBeep(MB_ICONHAND);
    return 1;
  }
  view.Command_INDENTSPACE(' ');
  return 1;
}

LRESULT ChgmodEOL(CEditView& view, const CommandCall& call) {
  view.Command_CHGMODEOL(static_cast<int>(call.lparam[0]));
  return 1;
}

constexpr CommandHandlerEntry kInputCommands[] = {
    {cmd::kChar, cmd::kChar, &Char},
    {cmd::kCharIme, cmd::kCharIme, &CharIme},
    {30250, 30250, &PlainHandler<&CEditView::Command_DUPLICATELINE>},
    {30260, 30260, &PlainHandler<&CEditView::Command_INDENTTAB>},
    {30261, 30261, &Unindent<'\t'>},
    {cmd::kIndentSpace, cmd::kIndentSpace, &IndentSpace},
    {30263, 30263, &Unindent<' '>},
    {30285, 30285, &PlainHandler<&CEditView::Command_IME_RECONVERSION>},
    {cmd::kInsText, cmd::kInsText, &InsText},
    {30607, 30607, &AddTail},
    {30790, 30790, &PlainHandler<&CEditView::Command_INSERTDATE>},
    {30791, 30791, &PlainHandler<&CEditView::Command_INSERTTIME>},
    {30792, 30792, &PlainHandler<&CEditView::Command_CTRLCODEDIALOG>},
    {31001, 31001, &PlainHandler<&CEditView::Command_CHGMODINS>},
    {cmd::kChgmodEOL, cmd::kChgmodEOL, &ChgmodEOL},
};

}  // namespace

std::span<const CommandHandlerEntry> InputCommandFamily() { return kInputCommands; }
