// Input-method reconversion: the input method asks for the text around the caret or selection, lets
// the user convert part of it again, and has that part selected before the new text replaces it.
#include <algorithm>
#include <climits>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/edit_view.h"
#include "platform/sjis.h"

namespace {

// Bytes of the line served before the target, and after the target's start.
constexpr int kReconvertReach = 200;

// The UTF-16 units of the Shift-JIS character at text[pos] (its size in *pnSize), appended to out.
int AppendCharUtf16(const char* text, int length, int pos, int* pnSize, std::u16string* out) {
  const int size = CMemory::CharSizeAt(text, length, pos);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text + pos);
  const uint16_t code = size == 2 ? static_cast<uint16_t>(bytes[0] << 8 | bytes[1]) : bytes[0];
  const char32_t cp = platform::SjisCodeToUnicode(code);
  *pnSize = size;
  if (cp > 0xFFFF) {
    if (out) {
      out->push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
    return 2;
  }
  if (out) out->push_back(static_cast<char16_t>(cp));
  return 1;
}

// The byte offset, from `from`, of the character boundary reached after `units` UTF-16 units of
// text[from, end); a unit inside a character's pair counts the whole character.
int BytesForUnits(const char* text, int end, int from, int units) {
  int pos = from;
  int counted = 0;
  while (pos < end && counted < units) {
    int size = 0;
    counted += AppendCharUtf16(text, end, pos, &size, nullptr);
    pos += size;
  }
  return pos - from;
}

}  // namespace

CEditView::ReconvertText CEditView::HandleReconvertString() {
  m_nLastReconvLine = -1;
  m_nLastReconvIndex = -1;
  if (!m_pcEditDoc || m_bBeginBoxSelect) return {};

  // The target: the selection's start and its length up to the end of its document line, or the
  // caret.
  int docLine = m_nCaretPosY_PHY;
  int targetStart = m_nCaretPosX_PHY;
  int targetEnd = targetStart;
  if (IsTextSelected()) {
    int toCol = 0;
    int toLine = 0;
    Layout().WrapToDocPos(m_sSelect.nColumnFrom, m_sSelect.nLineFrom, &targetStart, &docLine);
    Layout().WrapToDocPos(m_sSelect.nColumnTo, m_sSelect.nLineTo, &toCol, &toLine);
    targetEnd = toLine == docLine ? toCol : INT_MAX;
  }
  int length = 0;
  const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(docLine, &length);
  if (!text || length <= 0) return {};
  targetStart = CMemory::CharStartAt(text, length, std::clamp(targetStart, 0, length));
  targetEnd = std::clamp(targetEnd, targetStart, length);

  // The string: whole characters, at most 200 bytes before the target and about 200 after its
  // start; the target is cut to it.
  int stringStart = 0;
  while (targetStart - stringStart > kReconvertReach) stringStart += CMemory::CharSizeAt(text, length, stringStart);
  int stringEnd = targetStart;
  while (stringEnd < length) {
    const int size = CMemory::CharSizeAt(text, length, stringEnd);
    if (stringEnd + size - targetStart > kReconvertReach) break;
    stringEnd += size;
  }
  targetEnd = std::min(targetEnd, stringEnd);

  ReconvertText result;
  int pos = stringStart;
  while (pos < stringEnd) {
    if (pos == targetStart) result.targetStart = static_cast<int>(result.text.size());
    if (pos == targetEnd) result.targetLength = static_cast<int>(result.text.size()) - result.targetStart;
    int size = 0;
    AppendCharUtf16(text, stringEnd, pos, &size, &result.text);
    pos += size;
  }
  if (targetStart == stringEnd) result.targetStart = static_cast<int>(result.text.size());
  if (targetEnd == stringEnd) result.targetLength = static_cast<int>(result.text.size()) - result.targetStart;

  m_nLastReconvLine = docLine;
  m_nLastReconvIndex = stringStart;
  return result;
}

bool CEditView::HandleConfirmReconvert(int start, int length) {
  if (m_nLastReconvLine < 0 || m_nLastReconvIndex < 0 || !m_pcEditDoc) return false;
  const int docLine = m_nLastReconvLine;
  const int stringStart = m_nLastReconvIndex;
  m_nLastReconvLine = -1;
  m_nLastReconvIndex = -1;
  if (IsTextSelected()) ClearSelection(true);

  int lineLength = 0;
  const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(docLine, &lineLength);
  if (!text) return false;
  const int from = std::min(stringStart, lineLength);
  const int rangeStart = from + BytesForUnits(text, lineLength, from, std::max(0, start));
  const int rangeEnd = rangeStart + BytesForUnits(text, lineLength, rangeStart, std::max(0, length));

  SelectRange range;
  Layout().DocToWrapPos(rangeStart, docLine, &range.nColumnFrom, &range.nLineFrom);
  Layout().DocToWrapPos(rangeEnd, docLine, &range.nColumnTo, &range.nLineTo);
  PlaceCursor(range.nColumnFrom, range.nLineFrom, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  if (!range.IsEmpty()) {
    // Drawn after the caret moved, so that a scroll does not paint it first.
    m_sSelectBgn = range;
    m_sSelectOld = SelectRange{range.nLineFrom, range.nColumnFrom, range.nLineFrom, range.nColumnFrom};
    m_sSelect = range;
    InvertSelection();
  }
  return true;
}
