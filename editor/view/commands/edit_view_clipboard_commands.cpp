// Deleting characters, words and lines; cut, copy and paste; copying names, tags and the key list.
//
// A cut takes the text off the document only once the clipboard has it: a clipboard that refuses
// (another window holds it open) leaves the text where it was, so nothing is ever lost between the
// two. None of these marks the document modified itself; the editing primitives do, on a change.
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/beep.h"
#include "platform/clipboard.h"

namespace {

void Beep() { platform::MessageBeep(MB_ICONHAND); }

// The bytes of a line-end code; CR LF for -1 (no code asked) and for a code outside the table.
CLineEnd LineEndOf(int nEolType) {
  CLineEnd eol;
  if (nEolType < 0 || !eol.Set(nEolType) || eol.GetCode() == CLineEnd::NONE) eol.Set(CLineEnd::CRLF);
  return eol;
}

// The length of a text's first line (up to its first CR or LF).
int FirstLineLength(const char* pText, int nLength) {
  int length = 0;
  while (length < nLength && pText[length] != '\r' && pText[length] != '\n') ++length;
  return length;
}

}  // namespace

void CEditView::SelectSpan(int nColumnFrom, int nLineFrom, int nColumnTo, int nLineTo) {
  m_bBeginBoxSelect = false;
  m_sSelectBgn = SelectRange{nLineFrom, nColumnFrom, nLineFrom, nColumnFrom};
  m_sSelect = m_sSelectBgn;
  m_bDrawSelectArea = false;
  ChangeSelectionTo(nColumnTo, nLineTo);
}

// ---------------------------------------------------------------- deleting

void CEditView::Command_DELETE() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  DeleteAtCursor(true);
}

void CEditView::Command_DELETEBACK() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (IsTextSelected()) {
    DeleteAtCursor(true);
    return;
  }
  const POINT before{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const int oldX = m_nCaretPosX;
  const int oldY = m_nCaretPosY;
  if (!Command_LEFT(false, false)) return;
  // In the free space beyond a row's text there is nothing before the caret to take: the caret
  // only moves. Deleting there would take the line end and join the next line.
  if (m_nCaretPosY == oldY && oldX > DisplayRow::Of(Layout(), oldY).EndColumn()) return;
  AppendCaretMoveRecord(before, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
  DeleteAtCursor(true);
  // The completion popup, once it exists, refreshes here.
}

void CEditView::DeleteToWord(bool bBackward) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (m_bBeginBoxSelect) {
    Beep();
    return;
  }
  const POINT before{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  if (bBackward) {
    Command_WORDLEFT(true);
  } else {
    Command_WORDRIGHT(true);
  }
  if (!IsTextSelected()) {
    Beep();
    return;
  }
  AppendCaretMoveRecord(before, before);
  DeleteAtCursor(true);
}

void CEditView::Command_WORDDELETETOSTART() { DeleteToWord(true); }
void CEditView::Command_WORDDELETETOEND() { DeleteToWord(false); }

void CEditView::Command_WORDCUT() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (IsTextSelected()) {
    CutSelection();
    return;
  }
  const int oldX = m_nCaretPosX;
  const int oldY = m_nCaretPosY;
  Command_SELECTWORD();
  if (!IsTextSelected()) Command_RIGHT(true, false, false);
  // At the document's end nothing is left to take: a cut without a selection would take the
  // whole row, which is not what a word cut asks for.
  if (!IsTextSelected()) {
    Beep();
    return;
  }
  CutOrDeleteMadeSelection(true, oldX, oldY);
}

void CEditView::Command_WORDDELETE() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (!IsTextSelected()) Command_SELECTWORD();
  DeleteAtCursor(true);
}

void CEditView::CutOrDeleteMadeSelection(bool bCut, int nOldX, int nOldY) {
  if (!bCut) {
    DeleteAtCursor(true);
    return;
  }
  if (CutSelection()) return;
  ClearSelection(true);
  PlaceCursor(nOldX, nOldY, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::CutOrDeleteLinePart(bool bCut, bool bToEnd) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (IsTextSelected()) {
    if (bCut) {
      CutSelection();
    } else {
      DeleteAtCursor(true);
    }
    return;
  }
  // The document line's start, or the end of its text (before its line end), as a display position.
  int length = 0;
  if (!m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(m_nCaretPosY_PHY, &length)) {
    Beep();
    return;
  }
  int column = 0;
  int line = 0;
  Layout().DocToWrapPos(bToEnd ? length : 0, m_nCaretPosY_PHY, &column, &line);
  const bool nothing = bToEnd ? line < m_nCaretPosY || (line == m_nCaretPosY && m_nCaretPosX >= column)
                              : line > m_nCaretPosY || (line == m_nCaretPosY && column >= m_nCaretPosX);
  if (nothing) {
    Beep();
    return;
  }
  const int oldX = m_nCaretPosX;
  const int oldY = m_nCaretPosY;
  if (bToEnd) {
    SelectSpan(oldX, oldY, column, line);
  } else {
    SelectSpan(column, line, oldX, oldY);
  }
  CutOrDeleteMadeSelection(bCut, oldX, oldY);
}

void CEditView::Command_LINECUTTOSTART() { CutOrDeleteLinePart(true, false); }
void CEditView::Command_LINEDELETETOSTART() { CutOrDeleteLinePart(false, false); }
void CEditView::Command_LINECUTTOEND() { CutOrDeleteLinePart(true, true); }
void CEditView::Command_LINEDELETETOEND() { CutOrDeleteLinePart(false, true); }

void CEditView::RemoveCaretRow(bool bCut) {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (IsTextSelected() || !DisplayRow::Of(Layout(), m_nCaretPosY).exists) {
    Beep();
    return;
  }
  const POINT before{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const int oldX = m_nCaretPosX;
  const int oldY = m_nCaretPosY;
  if (bCut) {
    // One column at the caret, which the line copy widens to the whole row, its line end with it.
    // The row goes only once the clipboard has taken it; a refusal has beeped already.
    SelectSpan(oldX, oldY, oldX + 1, oldY);
    if (!CopySelectedLines(nullptr, false)) {
      ClearSelection(true);
      PlaceCursor(oldX, oldY, true, 20);
      m_nCaretPosX_Prev = m_nCaretPosX;
      return;
    }
  } else {
    SelectSpan(0, oldY, 0, oldY + 1);
  }
  DeleteAtCursor(true);

  // Back to the old column on the row that took the removed one's place.
  const DisplayRow row = DisplayRow::Of(Layout(), oldY);
  int column = row.CharAt(oldX).column;
  const bool lastWithoutEnd = row.exists && !row.hasLineEnd && oldY == Layout().GetLineCount() - 1;
  if (Common().bIsFreeCursorMode && row.exists && !lastWithoutEnd) column = oldX;
  PlaceCursor(column, oldY, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  AppendCaretMoveRecord(before, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
}

void CEditView::Command_CUTLINE() { RemoveCaretRow(true); }
void CEditView::Command_DELETELINE() { RemoveCaretRow(false); }

// ---------------------------------------------------------------- cut and copy

bool CEditView::CutSelection() {
  CMemory text;
  if (!GetSelectedText(&text, false, nullptr, false, Common().bAddCRLFWhenCopy != 0, -1) ||
      !SetClipboardText(text.GetPtr(), text.GetLength(), m_bBeginBoxSelect)) {
    Beep();
    return false;
  }
  DeleteAtCursor(true);
  return true;
}

void CEditView::Command_CUT() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  if (!IsTextSelected()) {
    Command_CUTLINE();
    return;
  }
  CutSelection();
}

void CEditView::Command_COPY(bool bIgnoreLockAndDisable, bool bAddCRLFWhenCopy, int nEolType) {
  if (!m_pcEditDoc) return;
  CMemory text;
  bool box = false;
  if (IsTextSelected()) {
    GetSelectedText(&text, false, nullptr, false, bAddCRLFWhenCopy, nEolType);
    box = m_bBeginBoxSelect;
  } else {
    // The caret's row, with its own line end or the one asked for.
    const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
    if (row.exists) {
      text.Assign(reinterpret_cast<const char*>(row.text), row.length);
      if (row.hasLineEnd) {
        const CLineEnd eol = nEolType < 0 ? Layout().GetLine(m_nCaretPosY)->m_cLineEnd : LineEndOf(nEolType);
        text.Append(eol.GetBytes(), eol.GetLen());
      } else if (bAddCRLFWhenCopy) {
        const CLineEnd eol = LineEndOf(nEolType);
        text.Append(eol.GetBytes(), eol.GetLen());
      }
    }
  }
  if (text.GetLength() == 0 || !SetClipboardText(text.GetPtr(), text.GetLength(), box)) {
    Beep();
    return;
  }
  if (bIgnoreLockAndDisable) return;
  m_bSelectingLock = false;
  if (Common().bCopyAndDisablSelection && IsTextSelected()) ClearSelection(true);
}

void CEditView::Command_COPYLINES() {
  if (m_pcEditDoc && IsTextSelected()) CopySelectedLines(nullptr, false);
}

void CEditView::Command_COPYLINESASPASSAGE() {
  if (m_pcEditDoc && IsTextSelected()) CopySelectedLines(Common().szInyouKigou, false);
}

void CEditView::Command_COPYLINESWITHLINENUMBER() {
  if (m_pcEditDoc && IsTextSelected()) CopySelectedLines(nullptr, true);
}

// ---------------------------------------------------------------- paste

void CEditView::Command_PASTE() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  CHourglassCursor hourglass(m_hWnd);
  CMemory text;
  bool box = false;
  if (!GetClipboardText(&text, &box) || text.GetLength() == 0) {
    Beep();
    return;
  }
  if (Common().bAutoColmnPaste && box) {
    Command_PASTEBOX();
    return;
  }
  if (IsTextSelected() && m_bBeginBoxSelect) {
    IndentLines(text.GetPtr(), FirstLineLength(text.GetPtr(), text.GetLength()), false);
    return;
  }
  if (IsTextSelected()) {
    const DisplayRow row = DisplayRow::Of(Layout(), m_sSelect.nLineFrom);
    const int rowEnd = row.EndColumn() + (row.hasLineEnd ? 1 : 0);
    const bool coversNothing = m_sSelect.nLineFrom == m_sSelect.nLineTo && m_sSelect.nColumnFrom >= rowEnd;
    if (!coversNothing) {
      ReplaceRangeUndoable(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo, nullptr,
                           text.GetPtr(), text.GetLength(), true);
      return;
    }
    const int column = m_sSelect.nColumnFrom;
    const int line = m_sSelect.nLineFrom;
    ClearSelection(true);
    PlaceCursor(column, line, true, 20);
  }
  InsertAtCaret(text.GetPtr(), text.GetLength(), true);
}

void CEditView::Command_PASTEBOX() {
  if (!m_pcEditDoc || RefuseDuringDragSelect()) return;
  // Columns line up with characters only in a fixed-pitch font.
  if (!Common().bFontIs_FIXED_PITCH) return;
  CMemory text;
  if (!GetClipboardText(&text, nullptr) || text.GetLength() == 0) {
    Beep();
    return;
  }
  if (IsTextSelected()) DeleteAtCursor(false);
  PasteBoxText(text.GetPtr(), text.GetLength());
}

void CEditView::PasteBoxText(const char* pszText, int nTextLen) {
  if (!m_pcEditDoc || !pszText) return;
  if (nTextLen < 0) nTextLen = static_cast<int>(strlen(pszText));
  if (nTextLen == 0) return;
  const int column = m_nCaretPosX;
  const int top = m_nCaretPosY;
  const POINT before{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const CLineEnd inputEol = LineEndOf(m_pcEditDoc->m_nNewLineType);

  const int drawSwitch = m_bDrawSWITCH;
  m_bDrawSWITCH = 0;
  // Appends an insert record of the text at a display position to the open step.
  bool changed = false;
  const auto insert = [this, &changed](int x, int y, const char* data, int length) {
    auto ope = std::make_unique<COpeRecord>();
    InsertTextUndoable(x, y, data, length, nullptr, nullptr, ope.get(), false);
    if (ope->m_nKind != COpeRecord::OPE_INSERT) return;
    changed = true;
    if (m_pcOpeBlk && !m_bDoing_UndoRedo) m_pcOpeBlk->AppendOpe(ope.release());
  };
  int start = 0;
  for (int y = top; start < nTextLen; ++y) {
    int end = start;
    while (end < nTextLen && pszText[end] != '\r' && pszText[end] != '\n') ++end;
    int next = end;
    if (next < nTextLen) {
      const bool pair = next + 1 < nTextLen && pszText[next] != pszText[next + 1] &&
                        (pszText[next + 1] == '\r' || pszText[next + 1] == '\n');
      next += pair ? 2 : 1;
    }
    // A line without text pads nothing: the row is left as it is.
    if (end > start) insert(column, y, pszText + start, end - start);
    // The next line needs a row below this one: the last row gets the input line end.
    if (next < nTextLen) {
      const DisplayRow row = DisplayRow::Of(Layout(), y);
      if (!row.exists) {
        insert(0, y, inputEol.GetBytes(), inputEol.GetLen());
      } else if (!row.hasLineEnd && y == Layout().GetLineCount() - 1) {
        insert(row.EndColumn(), y, inputEol.GetBytes(), inputEol.GetLen());
      }
    }
    start = next;
  }
  m_bDrawSWITCH = drawSwitch;
  m_pcEditDoc->UpdatePanesTextAreaLeft(false);
  PlaceCursor(column, top, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  // Lines without text change nothing, and leave no step behind.
  if (changed) AppendCaretMoveRecord(before, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
  if (m_bDrawSWITCH) InvalidateClient(nullptr);
}

// ---------------------------------------------------------------- names, tags and keys

bool CEditView::SetClipboardPlainText(const char* pText, int nLength) {
  if (!platform::OpenClipboard(m_hWnd)) return false;
  platform::EmptyClipboard();
  const BOOL stored = platform::SetClipboardData(CF_OEMTEXT, std::string_view(pText, static_cast<size_t>(nLength)));
  platform::CloseClipboard();
  return stored != 0;
}

void CEditView::CopyDocumentText(const char* pText, int nLength) {
  if (!SetClipboardText(pText, nLength, false)) Beep();
}

void CEditView::Command_COPYPATH() {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') {
    Beep();
    return;
  }
  const char* path = m_pcEditDoc->m_szFilePath;
  CopyDocumentText(path, static_cast<int>(strnlen(path, sizeof m_pcEditDoc->m_szFilePath)));
}

void CEditView::Command_COPYFILENAME() {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') {
    Beep();
    return;
  }
  const char* name = m_pcEditDoc->GetFileName();
  CopyDocumentText(name, static_cast<int>(strlen(name)));
}

void CEditView::Command_COPYTAG() {
  if (!m_pcEditDoc || m_pcEditDoc->m_szFilePath[0] == '\0') {
    Beep();
    return;
  }
  const std::string path(m_pcEditDoc->m_szFilePath, strnlen(m_pcEditDoc->m_szFilePath, sizeof m_pcEditDoc->m_szFilePath));
  const std::string tag =
      path + " (" + std::to_string(m_nCaretPosY_PHY + 1) + "," + std::to_string(m_nCaretPosX_PHY + 1) + "): ";
  CopyDocumentText(tag.data(), static_cast<int>(tag.size()));
}

void CEditView::Command_COPYKEYBINDLIST() {
  CMemory list;
  if (!m_pEditWnd || !m_pEditWnd->GetKeyBindList(&list) || !SetClipboardPlainText(list.GetPtr(), list.GetLength())) {
    Beep();
  }
}

// ---------------------------------------------------------------- registration

namespace {

// Copy, CopyCRLF and CopyAddCRLF: one handler, the line end added to a copied row and the line
// ends written chosen by the id.
template <int kEolType, bool kAlwaysAddLineEnd>
LRESULT Copy(CEditView& v, const CommandCall&) {
  v.Command_COPY(false, kAlwaysAddLineEnd || v.Common().bAddCRLFWhenCopy != 0, kEolType);
  return 1;
}

constexpr CommandHandlerEntry kClipboardCommands[] = {
    {30221, 30221, &PlainHandler<&CEditView::Command_DELETE>},
    {30222, 30222, &PlainHandler<&CEditView::Command_DELETEBACK>},
    {30230, 30230, &PlainHandler<&CEditView::Command_WORDDELETETOSTART>},
    {30231, 30231, &PlainHandler<&CEditView::Command_WORDDELETETOEND>},
    {30232, 30232, &PlainHandler<&CEditView::Command_WORDCUT>},
    {30233, 30233, &PlainHandler<&CEditView::Command_WORDDELETE>},
    {30240, 30240, &PlainHandler<&CEditView::Command_LINECUTTOSTART>},
    {30241, 30241, &PlainHandler<&CEditView::Command_LINECUTTOEND>},
    {30242, 30242, &PlainHandler<&CEditView::Command_LINEDELETETOSTART>},
    {30243, 30243, &PlainHandler<&CEditView::Command_LINEDELETETOEND>},
    {30244, 30244, &PlainHandler<&CEditView::Command_CUTLINE>},
    {30245, 30245, &PlainHandler<&CEditView::Command_DELETELINE>},
    {30601, 30601, &PlainHandler<&CEditView::Command_CUT>},
    {30602, 30602, &Copy<-1, false>},
    {30603, 30603, &Copy<CLineEnd::CRLF, false>},
    {30604, 30604, &PlainHandler<&CEditView::Command_PASTE>},
    {30605, 30605, &PlainHandler<&CEditView::Command_PASTEBOX>},
    {30608, 30608, &Copy<-1, true>},
    {30610, 30610, &PlainHandler<&CEditView::Command_COPYLINES>},
    {30611, 30611, &PlainHandler<&CEditView::Command_COPYLINESASPASSAGE>},
    {30612, 30612, &PlainHandler<&CEditView::Command_COPYLINESWITHLINENUMBER>},
    {30620, 30620, &PlainHandler<&CEditView::Command_COPYPATH>},
    {30621, 30621, &PlainHandler<&CEditView::Command_COPYTAG>},
    {30622, 30622, &PlainHandler<&CEditView::Command_COPYFILENAME>},
    {30630, 30630, &PlainHandler<&CEditView::Command_COPYKEYBINDLIST>},
};

}  // namespace

std::span<const CommandHandlerEntry> ClipboardCommandFamily() { return kClipboardCommands; }
