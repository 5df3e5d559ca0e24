// The selection as text, the clipboard in the editor's formats, and conversions of the selection.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/line_trim.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"
#include "platform/clipboard.h"

namespace {

// What the search, replace, grep and tag dialogs are seeded with at most.
constexpr int kSelectionOrWordBytes = 259;

// The code-conversion commands and what each does to the text.
struct CodeConversion {
  int id;
  int (*convert)(CMemory& text);
};
constexpr CodeConversion kCodeConversions[] = {
    {30850, [](CMemory& m) { return m.AutoToSJIS(); }},      {30851, [](CMemory& m) { return m.JIStoSJIS(true); }},
    {30852, [](CMemory& m) { return m.EUCtoSJIS(); }},       {30853, [](CMemory& m) { return m.UNICODEtoSJIS(); }},
    {30854, [](CMemory& m) { return m.UTF8toSJIS(); }},      {30855, [](CMemory& m) { return m.UTF7toSJIS(); }},
    {30856, [](CMemory& m) { return m.UNICODEBEtoSJIS(); }}, {30860, [](CMemory& m) { return m.SJIStoJIS(); }},
    {30861, [](CMemory& m) { return m.SJIStoEUC(); }},       {30862, [](CMemory& m) { return m.SJIStoUTF8(); }},
    {30863, [](CMemory& m) { return m.SJIStoUTF7(); }},
};

// The case and width commands and what each does to the text.
struct TextConversion {
  int id;
  void (*convert)(CMemory& text);
};
constexpr TextConversion kTextConversions[] = {
    {30800, [](CMemory& m) { m.ToLower(); }},
    {30801, [](CMemory& m) { m.ToUpper(); }},
    {30810, [](CMemory& m) { m.ToHalfWidth(0); }},
    {30817, [](CMemory& m) { m.ToHalfWidth(CMemory::HALFWIDTH_KATAKANA); }},
    {30815, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_ALNUM, false); }},
    {30816, [](CMemory& m) { m.ToHalfWidth(CMemory::HALFWIDTH_ALNUM); }},
    {30811, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, false); }},
    {30812, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, false); }},
    {30813, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, true); }},
    {30814, [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, true); }},
};

struct TextOptions {
  bool firstLineOnly = false;
  std::string_view quote;
  bool quoteAsked = false;  // a prefix was given, even an empty one
  int numberWidth = 0;  // the width a line number and its colon are padded to; 0 for none
  bool addLineEnd = false;
  int eolType = -1;  // a CLineEnd code; -1 keeps each line's own
};

void AppendLineEnd(std::string* out, int eolType) {
  if (eolType < 0) {
    out->append("\r\n");
    return;
  }
  const CLineEnd eol(eolType);
  out->append(eol.GetBytes(), static_cast<size_t>(eol.GetLen()));
}

// The byte of a row a column selects from, its line end counted as one byte after the text: a
// column past the line end lies after it.
int RowOffsetAt(const DisplayRow& row, int column) {
  if (row.hasLineEnd && column > row.EndColumn()) return row.length + 1;
  return row.CharAt(column).offset;
}

void AppendBoxText(CWrapLineMgr& layout, const SelectRect& rect, const TextOptions& options, std::string* out) {
  for (int y = rect.nTop; y <= rect.nBottom; ++y) {
    const DisplayRow row = DisplayRow::Of(layout, y);
    if (!row.exists) break;
    const int from = row.CharAt(rect.nLeft).offset;
    const int to = std::max(from, row.CharAt(rect.nRight).offset);
    out->append(reinterpret_cast<const char*>(row.text) + from, static_cast<size_t>(to - from));
    out->append("\r\n");
    if (options.firstLineOnly) break;
  }
}

// A normal selection with its ends in position order.
SelectRange Ordered(const SelectRange& range) {
  if (std::pair(range.nLineTo, range.nColumnTo) < std::pair(range.nLineFrom, range.nColumnFrom)) {
    return SelectRange{range.nLineTo, range.nColumnTo, range.nLineFrom, range.nColumnFrom};
  }
  return range;
}

void AppendNormalText(CWrapLineMgr& layout, const SelectRange& selection, const TextOptions& options,
                      std::string* out) {
  const SelectRange range = Ordered(selection);
  const bool decorated = options.quoteAsked || options.numberWidth > 0;
  for (int y = range.nLineFrom; y <= range.nLineTo; ++y) {
    CWrapLine* piece = nullptr;
    int bytes = 0;
    if (!layout.GetLineTextAndNode(y, &bytes, &piece) || !piece) break;
    const DisplayRow row = DisplayRow::Of(layout, y);
    const int rowBytes = row.length + (row.hasLineEnd ? 1 : 0);
    const int start = y == range.nLineFrom ? RowOffsetAt(row, range.nColumnFrom) : 0;
    const int end = y == range.nLineTo ? RowOffsetAt(row, range.nColumnTo) : rowBytes;
    if (end > start) {
      out->append(options.quote);
      if (options.numberWidth > 0) {
        char number[32];
        const int length = std::snprintf(number, sizeof number, " %d:", y + 1);
        out->append(static_cast<size_t>(std::max(0, options.numberWidth - length)), ' ');
        out->append(number, static_cast<size_t>(std::max(0, length)));
      }
      const char* text = reinterpret_cast<const char*>(row.text);
      const int textEnd = std::min(end, row.length);
      out->append(text + start, static_cast<size_t>(std::max(0, textEnd - start)));
      if (!row.hasLineEnd) {
        // A wrap point or the end of the text: a line end only when one was asked for.
        if (end == row.length && (options.addLineEnd || decorated)) AppendLineEnd(out, options.eolType);
      } else if (end > row.length) {
        // The row keeps one byte of its line end; the line's own line end gives back all of them.
        if (options.eolType < 0) {
          out->append(piece->m_cLineEnd.GetBytes(), static_cast<size_t>(piece->m_cLineEnd.GetLen()));
        } else {
          AppendLineEnd(out, options.eolType);
        }
      }
    }
    if (options.firstLineOnly) break;
  }
}

// The text of the pane's selection, a box or normal.
void AppendSelectionText(const CEditView& view, const TextOptions& options, std::string* out) {
  const SelectRange& range = view.m_sSelect;
  if (view.m_bBeginBoxSelect) {
    AppendBoxText(view.Layout(),
                  view.MakeSelectionRect(range.nLineFrom, range.nColumnFrom, range.nLineTo, range.nColumnTo), options,
                  out);
  } else {
    AppendNormalText(view.Layout(), range, options, out);
  }
}

bool IsBlank(const char* text, int size) {
  return (size == 1 && (text[0] == ' ' || text[0] == '\t')) ||
         (size == 2 && static_cast<unsigned char>(text[0]) == 0x81 && static_cast<unsigned char>(text[1]) == 0x40);
}

// The word at a display position (line, byte offset) and its part left of it; false for none.
bool WordAt(CWrapLineMgr& layout, int line, int offset, CMemory* word, CMemory* wordLeft) {
  int lineFrom = 0;
  int offsetFrom = 0;
  int lineTo = 0;
  int offsetTo = 0;
  return layout.GetWordRange(line, offset, &lineFrom, &offsetFrom, &lineTo, &offsetTo, word, wordLeft);
}

// The bytes of a text format up to its first NUL.
std::string_view UpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

// ---- The selection as text -----------------------------------------------------------------------

int CEditView::GetSelectedText(CMemory* pcmemBuf, bool bFirstLineOnly, const char* pszQuote, bool bWithLineNumber,
                               bool bAddCRLFWhenCopy, int nEolType) {
  if (!pcmemBuf) return 0;
  pcmemBuf->Clear();
  if (!m_pcEditDoc || !IsTextSelected()) return 0;
  TextOptions options;
  options.firstLineOnly = bFirstLineOnly;
  options.quote = pszQuote ? std::string_view(pszQuote) : std::string_view();
  options.quoteAsked = pszQuote != nullptr;
  options.numberWidth = bWithLineNumber ? GetLineNumberDigits() + 1 : 0;
  options.addLineEnd = bAddCRLFWhenCopy;
  options.eolType = nEolType;
  // Built whole and handed over once: the buffer grows exactly to each request.
  std::string text;
  AppendSelectionText(*this, options, &text);
  pcmemBuf->Assign(text.data(), static_cast<int>(text.size()));
  return 1;
}

bool CEditView::CopySelectedLines(const char* pszQuote, bool bWithLineNumber) {
  if (!m_pcEditDoc || !IsTextSelected()) return false;
  int from = 0;
  int to = 0;
  if (m_bBeginBoxSelect) {
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    from = rect.nTop;
    to = rect.nBottom + 1;
  } else {
    from = std::min(m_sSelect.nLineFrom, m_sSelect.nLineTo);
    const bool reversed = m_sSelect.nLineTo < m_sSelect.nLineFrom;
    to = reversed ? m_sSelect.nLineFrom : m_sSelect.nLineTo;
    const int toColumn = reversed ? m_sSelect.nColumnFrom : m_sSelect.nColumnTo;
    if (toColumn != 0) ++to;
  }
  m_bBeginBoxSelect = false;
  m_sSelectBgn = SelectRange{from, 0, from, 0};
  m_sSelect = SelectRange{from, 0, to, 0};
  RepaintAll();

  CMemory text;
  GetSelectedText(&text, false, pszQuote, bWithLineNumber, Common().bAddCRLFWhenCopy != 0, -1);
  if (!SetClipboardText(text.GetPtr(), text.GetLength(), false)) {
    platform::MessageBeep(MB_ICONHAND);
    return false;
  }
  return true;
}

void CEditView::SelectionOrWord(CMemory* out, int maxBytes, bool bAddCRLFWhenCopy) const {
  out->Clear();
  if (!m_pcEditDoc) return;
  std::string text;
  if (IsTextSelected()) {
    TextOptions options;
    options.addLineEnd = bAddCRLFWhenCopy;
    AppendSelectionText(*this, options, &text);
  } else {
    const DisplayRow row = DisplayRow::Of(Layout(), m_nCaretPosY);
    CMemory word;
    if (row.exists && WordAt(Layout(), m_nCaretPosY, row.CharAt(m_nCaretPosX).offset, &word, nullptr)) {
      text.assign(word.View());
    }
  }
  // A NUL ends it too: the seed goes on as a C string.
  const size_t lineEnd = text.find_first_of(std::string_view("\r\n\0", 3));
  if (lineEnd != std::string::npos) text.resize(lineEnd);
  out->Assign(text.data(), WholeCharsPrefixLength(text.data(), static_cast<int>(text.size()), std::max(0, maxBytes)));
}

void CEditView::GetSelectionOrWord(CMemory* pcmemBuf) {
  if (pcmemBuf) SelectionOrWord(pcmemBuf, kSelectionOrWordBytes, Common().bAddCRLFWhenCopy != 0);
}

int CEditView::GetWordBeforeCaret(CMemory* pcmemWord) {
  if (!pcmemWord) return 0;
  pcmemWord->Clear();
  if (!m_pcEditDoc) return 0;
  int line = m_nCaretPosY;
  DisplayRow row = DisplayRow::Of(Layout(), line);
  int offset = row.exists ? row.CharAt(m_nCaretPosX).offset : 0;
  if (offset == 0) {
    // A word goes on from the row above only across a wrap point.
    if (line == 0) return 0;
    --line;
    row = DisplayRow::Of(Layout(), line);
    if (!row.exists || row.hasLineEnd) return 0;
    offset = row.length;
  }
  if (offset <= 0) return 0;
  const char* text = reinterpret_cast<const char*>(row.text);
  const char* previous = CMemory::PrevCharPos(text, row.length, text + offset);
  const int start = static_cast<int>(previous - text);
  const int size = offset - start;
  if (size <= 0 || IsBlank(previous, size)) return 0;
  CMemory word;
  CMemory wordLeft;
  if (!WordAt(Layout(), line, start, &word, &wordLeft)) return 0;
  std::string result(wordLeft.View());
  result.append(previous, static_cast<size_t>(size));
  pcmemWord->Assign(result.data(), static_cast<int>(result.size()));
  return pcmemWord->GetLength();
}

// ---- Conversions ---------------------------------------------------------------------------------

void CEditView::ConvertText(CMemory* pcMem, int nFuncCode) {
  if (!pcMem) return;
  for (const CodeConversion& conversion : kCodeConversions) {
    if (conversion.id == nFuncCode) {
      conversion.convert(*pcMem);
      return;
    }
  }
  for (const TextConversion& conversion : kTextConversions) {
    if (conversion.id == nFuncCode) {
      conversion.convert(*pcMem);
      return;
    }
  }
  switch (nFuncCode) {
    case 30830: pcMem->TABToSPACE(Layout().GetTabWidth()); return;
    case 30831: pcMem->SPACEToTAB(Layout().GetTabWidth()); return;
    case 30280:
    case 30281: {
      const std::string trimmed =
          TrimLineBlanks(pcMem->View(), nFuncCode == 30280 ? TrimSide::kLeading : TrimSide::kTrailing);
      pcMem->Assign(trimmed.data(), static_cast<int>(trimmed.size()));
      return;
    }
    default: return;  // no conversion: the text stays as it is
  }
}

void CEditView::ConvertSelection(int nFuncCode) {
  if (!m_pcEditDoc || !IsTextSelected()) return;
  CHourglassCursor hourglass(m_hWnd);
  if (m_bBeginBoxSelect) {
    ConvertBoxSelection(nFuncCode);
  } else {
    ConvertNormalSelection(nFuncCode);
  }
}

void CEditView::ConvertBoxSelection(int nFuncCode) {
  const SelectRect rect =
      MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
  m_bDrawSWITCH = 0;
  ClearSelection(false);
  bool changed = false;
  // From the bottom up, so that a row that wraps anew moves no row still to come.
  for (int y = std::min(rect.nBottom, Layout().GetLineCount() - 1); y >= rect.nTop; --y) {
    const DisplayRow row = DisplayRow::Of(Layout(), y);
    const DisplayRow::Hit from = row.CharAt(rect.nLeft);
    if (from.size == 0) continue;
    const int to = row.CharAt(rect.nRight).offset;
    const char* text = reinterpret_cast<const char*>(row.text);
    const std::string_view piece(text + from.offset, static_cast<size_t>(std::max(0, to - from.offset)));
    const std::string_view cut = piece.substr(0, piece.find_first_of("\r\n"));
    if (cut.empty()) continue;
    CMemory converted(cut.data(), static_cast<int>(cut.size()));
    ConvertText(&converted, nFuncCode);
    // A row the conversion leaves as it is gets no records: only a change marks the document.
    if (converted.View() == cut) continue;

    std::unique_ptr<COpeRecord> deletion = m_bDoing_UndoRedo ? nullptr : std::make_unique<COpeRecord>();
    CMemory removed;
    DeleteRangeUndoable(from.column, y, static_cast<int>(cut.size()), &removed, deletion.get());
    if (!changed) MarkModifiedByEdit(true);
    if (deletion) {
      deletion->m_nCaretPosX_PHY_After = deletion->m_nCaretPosX_PHY_Before;
      deletion->m_nCaretPosY_PHY_After = deletion->m_nCaretPosY_PHY_Before;
      if (m_pcOpeBlk) m_pcOpeBlk->AppendOpe(deletion.release());
    }
    const POINT caretBefore{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
    AppendCaretMoveRecord(caretBefore, caretBefore);
    std::unique_ptr<COpeRecord> insertion = m_bDoing_UndoRedo ? nullptr : std::make_unique<COpeRecord>();
    int newLine = y;
    int newColumn = from.column;
    InsertTextUndoable(from.column, y, converted.GetPtr(), converted.GetLength(), &newLine, &newColumn, insertion.get(),
                       false);
    if (insertion && m_pcOpeBlk) m_pcOpeBlk->AppendOpe(insertion.release());
    PlaceCursor(newColumn, newLine, false, 20);
    AppendCaretMoveRecord(caretBefore, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
    changed = true;
  }
  m_bDrawSWITCH = 1;
  if (changed) m_pcEditDoc->UpdatePanesTextAreaLeft(false);
  RepaintClient();
  PlaceCursor(rect.nLeft, rect.nTop, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

void CEditView::ConvertNormalSelection(int nFuncCode) {
  const SelectRange range = Ordered(m_sSelect);
  // The selection's own bytes: a line end at a wrap point would split the line it came from.
  CMemory text;
  GetSelectedText(&text, false, nullptr, false, false, -1);
  CMemory converted(text);
  ConvertText(&converted, nFuncCode);
  if (CMemory::SameContent(converted, text)) return;

  const bool caretOnFirstLine = m_nCaretPosY == range.nLineFrom;
  const POINT start = DocPosOf(range.nColumnFrom, range.nLineFrom);
  ReplaceRangeUndoable(range.nLineFrom, range.nColumnFrom, range.nLineTo, range.nColumnTo, nullptr, converted.GetPtr(),
                       converted.GetLength(), false);
  const POINT endDoc{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  const int endColumn = m_nCaretPosX;
  const int endLine = m_nCaretPosY;
  int startColumn = 0;
  int startLine = 0;
  Layout().DocToWrapPos(start.x, start.y, &startColumn, &startLine);
  m_sSelectBgn = SelectRange{startLine, startColumn, startLine, startColumn};
  m_sSelect = SelectRange{startLine, startColumn, endLine, endColumn};
  if (caretOnFirstLine) {
    PlaceCursor(startColumn, startLine, false, 20);
    AppendCaretMoveRecord(endDoc, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
  }
  m_nCaretPosX_Prev = m_nCaretPosX;
  RepaintAll();
}

// ---- The clipboard -------------------------------------------------------------------------------

bool CEditView::SetClipboardText(const char* pszText, int nTextLen, bool bColumnSelect) {
  if (nTextLen < 0 || (nTextLen > 0 && !pszText)) return false;
  if (!platform::OpenClipboard(m_hWnd)) return false;
  platform::EmptyClipboard();
  const std::string_view text(nTextLen > 0 ? pszText : "", static_cast<size_t>(nTextLen));
  // Other programs get the text up to its first NUL; the editor's windows all of it.
  std::string plain(UpToNul(text));
  plain.push_back('\0');
  const bool plainSet = platform::SetClipboardData(CF_OEMTEXT, plain) != 0;
  const bool privateSet = platform::SetClipboardData(PrivateClipFormat(), MakePrivateClipBlock(text)) != 0;
  bool markerSet = true;
  if (bColumnSelect) markerSet = platform::SetClipboardData(BoxClipFormat(), std::string_view("\0", 1)) != 0;
  platform::CloseClipboard();
  return markerSet && (plainSet || privateSet);
}

bool CEditView::GetClipboardText(CMemory* pcmemBuf, bool* pbColumnSelect) {
  if (pbColumnSelect) *pbColumnSelect = false;
  if (!pcmemBuf) return false;
  const UINT privateFormat = PrivateClipFormat();
  // Registered here too, so that the marker's name is known when the formats are walked.
  BoxClipFormat();
  if (!platform::IsClipboardFormatAvailable(CF_OEMTEXT) && !platform::IsClipboardFormatAvailable(privateFormat)) {
    return false;
  }
  if (!platform::OpenClipboard(m_hWnd)) return false;
  if (pbColumnSelect) {
    for (UINT format = platform::EnumClipboardFormats(0); format != 0;
         format = platform::EnumClipboardFormats(format)) {
      if (platform::GetClipboardFormatName(format) == kBoxClipFormatName) {
        *pbColumnSelect = true;
        break;
      }
    }
  }
  std::optional<std::string> text;
  if (const std::optional<std::string> block = platform::GetClipboardData(privateFormat)) {
    // A block whose length runs past its data came from someone else: the plain text is used.
    if (const std::optional<std::string_view> bytes = ReadPrivateClipBlock(*block)) text.emplace(*bytes);
  }
  if (!text) {
    if (const std::optional<std::string> units = platform::GetClipboardData(CF_UNICODETEXT)) {
      // Converted here rather than by the clipboard so that a character without a code becomes
      // the editor's geta mark.
      CMemory converted(units->data(), static_cast<int>(units->size()));
      converted.UNICODEtoSJIS();
      text.emplace(UpToNul(converted.View()));
    } else if (const std::optional<std::string> oem = platform::GetClipboardData(CF_OEMTEXT)) {
      text.emplace(UpToNul(*oem));
    }
  }
  platform::CloseClipboard();
  if (!text) return false;
  pcmemBuf->Assign(text->data(), static_cast<int>(text->size()));
  return true;
}
