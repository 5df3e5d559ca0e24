// Conversions of the selected text, trimming blanks, sorting and merging lines, and decoding
// Base64 or uuencoded text into a file.
//
// Sorting and merging work on whole document lines and put them back as one replacement, so that
// one undo step gives the old bytes back exactly.
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/line_order.h"
#include "editor/view/pane/display_row.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kLTrim = 30280;
constexpr int kRTrim = 30281;

// The last component of a path a uuencoded "begin" line names: a decoded file goes where the user
// chooses, never where the sender's folders would put it. "." and ".." name no file.
std::string LastPathComponent(std::string_view path) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(path.data());
  const int length = static_cast<int>(path.size());
  size_t start = 0;
  // Walked by character: 0x5C may be the trail byte of a double-byte character.
  for (int pos = 0; pos < length;) {
    const int size = SjisCharSize(bytes, length, pos);
    if (size == 1 && (path[static_cast<size_t>(pos)] == '/' || path[static_cast<size_t>(pos)] == '\\')) {
      start = static_cast<size_t>(pos) + 1;
    }
    pos += size;
  }
  const std::string_view name = path.substr(start);
  if (name == "." || name == "..") return {};
  return std::string(name);
}

}  // namespace

// ---------------------------------------------------------------- conversions

void CEditView::Command_CONVERT(int nFuncCode) {
  if (!m_pcEditDoc || !IsTextSelected()) return;
  ConvertSelection(nFuncCode);
}

void CEditView::Command_TRIM(bool bLeft) {
  if (!m_pcEditDoc) return;
  const bool madeSelection = !IsTextSelected();
  if (madeSelection) {
    const int row = m_nCaretPosY;
    m_bBeginBoxSelect = false;
    m_sSelectBgn = SelectRange{row, 0, row, 0};
    m_sSelect = SelectRange{row, 0, row, Layout().GetWrapWidth()};
  }
  ConvertSelection(bLeft ? kLTrim : kRTrim);
  if (madeSelection) ClearSelection(true);
}

// ---------------------------------------------------------------- sort and merge

bool CEditView::SelectedDocLines(bool bBox, int* pnFirst, int* pnLast) {
  CDocLineMgr& lines = m_pcEditDoc->m_cDocLineMgr;
  const int count = lines.GetLineCount();
  if (count == 0) return false;
  int first = 0;
  int last = 0;
  if (bBox) {
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    const int rows = Layout().GetLineCount();
    first = Layout().GetDocLineIndex(std::min(rect.nTop, rows - 1));
    last = Layout().GetDocLineIndex(std::min(rect.nBottom, rows - 1));
  } else {
    SelectRange range = m_sSelect;
    if (std::pair(range.nLineTo, range.nColumnTo) < std::pair(range.nLineFrom, range.nColumnFrom)) {
      range = SelectRange{range.nLineTo, range.nColumnTo, range.nLineFrom, range.nColumnFrom};
    }
    const POINT start = DocPosOf(range.nColumnFrom, range.nLineFrom);
    const POINT end = DocPosOf(range.nColumnTo, range.nLineTo);
    first = start.y;
    last = std::min<int>(end.y, count - 1);
    // A line the selection only reaches the start of stays where it is; so does a last line
    // without a line end, which cannot be followed by another.
    const CDocLine* endLine = end.y < count ? lines.GetLine(end.y) : nullptr;
    const bool endCounts = endLine && end.x > 0 && endLine->m_cLineEnd.GetCode() != CLineEnd::NONE;
    if (end.y >= count || !endCounts) last = std::min<int>(end.y - 1, count - 1);
  }
  if (first < 0 || last <= first) return false;
  *pnFirst = first;
  *pnLast = last;
  return true;
}

void CEditView::ReplaceDocLines(int nFirst, int nLast, const std::string& text, bool bBox) {
  const SelectRange oldSelect = m_sSelect;
  const SelectRange oldSelectBgn = m_sSelectBgn;
  const SelectRect rect =
      MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
  const int firstRow = std::min(m_sSelect.nLineFrom, m_sSelect.nLineTo);
  const bool caretToStart = bBox || m_nCaretPosY == firstRow;

  int fromColumn = 0;
  int fromRow = 0;
  int toColumn = 0;
  int toRow = 0;
  Layout().DocToWrapPos(0, nFirst, &fromColumn, &fromRow);
  Layout().DocToWrapPos(0, nLast + 1, &toColumn, &toRow);
  m_bBeginBoxSelect = false;
  ReplaceRangeUndoable(fromRow, fromColumn, toRow, toColumn, nullptr, text.data(), static_cast<int>(text.size()),
                       false);
  const POINT endDoc{m_nCaretPosX_PHY, m_nCaretPosY_PHY};
  if (bBox) {
    m_bBeginBoxSelect = true;
    m_sSelectBgn = oldSelectBgn;
    m_sSelect = oldSelect;
    PlaceCursor(rect.nLeft, rect.nTop, false, 20);
  } else {
    m_sSelectBgn = SelectRange{fromRow, fromColumn, fromRow, fromColumn};
    m_sSelect = SelectRange{fromRow, fromColumn, m_nCaretPosY, m_nCaretPosX};
    if (caretToStart) PlaceCursor(fromColumn, fromRow, false, 20);
  }
  AppendCaretMoveRecord(endDoc, POINT{m_nCaretPosX_PHY, m_nCaretPosY_PHY});
  m_nCaretPosX_Prev = m_nCaretPosX;
  RepaintAll();
}

void CEditView::Command_SORT(bool bAscending) {
  if (!m_pcEditDoc || !IsTextSelected()) return;
  const bool box = m_bBeginBoxSelect;
  int first = 0;
  int last = 0;
  if (!SelectedDocLines(box, &first, &last)) return;
  CHourglassCursor hourglass(m_hWnd);

  int left = 0;
  int right = 0;
  if (box) {
    const SelectRect rect =
        MakeSelectionRect(m_sSelect.nLineFrom, m_sSelect.nColumnFrom, m_sSelect.nLineTo, m_sSelect.nColumnTo);
    left = rect.nLeft;
    right = rect.nRight > rect.nLeft ? rect.nRight : Layout().GetWrapWidth();
  }
  CDocLineMgr& docLines = m_pcEditDoc->m_cDocLineMgr;
  std::vector<OrderedLine> lines;
  lines.reserve(static_cast<size_t>(last - first + 1));
  for (int n = first; n <= last; ++n) {
    int length = 0;
    const char* text = docLines.GetLineText(n, &length);
    const std::string_view whole(text ? text : "", static_cast<size_t>(text ? length : 0));
    std::string_view key = whole;
    if (box) {
      const DisplayRow row = DisplayRow::OfDocLine(docLines, Layout().GetTabWidth(), n);
      const int from = row.CharAt(left).offset;
      const int to = std::max(from, row.CharAt(right).offset);
      key = whole.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }
    lines.push_back(OrderedLine{whole, key});
  }
  const CLineEnd newLineEnd(m_pcEditDoc->m_nNewLineType);
  const std::string sorted = SortLines(lines, !bAscending,
                                       std::string_view(newLineEnd.GetBytes(), static_cast<size_t>(newLineEnd.GetLen())));
  ReplaceDocLines(first, last, sorted, box);
}

void CEditView::Command_MERGE() {
  if (!m_pcEditDoc || !IsTextSelected() || m_bBeginBoxSelect) return;
  int first = 0;
  int last = 0;
  int removed = 0;
  if (SelectedDocLines(false, &first, &last)) {
    CDocLineMgr& docLines = m_pcEditDoc->m_cDocLineMgr;
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<size_t>(last - first + 1));
    for (int n = first; n <= last; ++n) {
      int length = 0;
      const char* text = docLines.GetLineText(n, &length);
      lines.emplace_back(text ? text : "", static_cast<size_t>(text ? length : 0));
    }
    const std::string merged = MergeEqualLines(lines, &removed);
    ReplaceDocLines(first, last, merged, false);
  }
  if (removed == 0) {
    ShowMessageBox(m_hWnd, MB_ICONINFORMATION, "tovara", "%s", "マージ可能な行がみつかりませんでした。"_sj);
  } else {
    ShowMessageBox(m_hWnd, MB_TOPMOST, "tovara", "%d行をマージしました。"_sj, removed);
  }
}

// ---------------------------------------------------------------- decoding into a file

void CEditView::Command_BASE64DECODE() { DecodeSelectionToFile(false); }
void CEditView::Command_UUDECODE() { DecodeSelectionToFile(true); }

void CEditView::DecodeSelectionToFile(bool bUuencoded) {
  if (!m_pcEditDoc || !IsTextSelected()) {
    platform::MessageBeep(MB_ICONHAND);
    return;
  }
  CMemory bytes;
  GetSelectedText(&bytes, false, nullptr, false, Common().bAddCRLFWhenCopy != 0, -1);
  std::string proposedName;
  if (bUuencoded) {
    std::string name;
    bytes.Uudecode(name);
    proposedName = LastPathComponent(name);
  } else {
    bytes.Base64Decode();
  }
  SaveDecodedBytes(bytes, proposedName);
}

void CEditView::SaveDecodedBytes(const CMemory& bytes, const std::string& proposedName) {
  char path[kMaxPath] = {};
  if (proposedName.size() < sizeof path) proposedName.copy(path, proposedName.size());
  if (!m_pcEditDoc->ShowSaveDialog(path, nullptr, nullptr, nullptr)) return;
  // Replaced in one step: a failed write leaves the file that was there whole.
  platform::AtomicFileWriter writer(path, platform::PathMode::kExact);
  platform::WriteStatus status = platform::WriteStatus::kCannotCreate;
  if (writer.IsOpen()) {
    writer.Write(bytes.View());
    status = writer.Commit();
  }
  if (status == platform::WriteStatus::kOk) return;
  platform::MessageBeep(MB_ICONHAND);
  ShowMessageBox(m_hWnd, MB_ICONERROR, "tovara",
                 status == platform::WriteStatus::kCannotCreate ? "ファイルの作成に失敗しました。\n\n%s"_sj
                                                                : "ファイルの書き込みに失敗しました。\n\n%s"_sj,
                 path);
}

// ---------------------------------------------------------------- registration

namespace {

LRESULT Convert(CEditView& v, const CommandCall& call) {
  v.Command_CONVERT(call.nCommand);
  return 1;
}

template <bool kLeft>
LRESULT Trim(CEditView& v, const CommandCall&) {
  v.Command_TRIM(kLeft);
  return 1;
}

template <bool kAscending>
LRESULT Sort(CEditView& v, const CommandCall&) {
  v.Command_SORT(kAscending);
  return 1;
}

constexpr CommandHandlerEntry kConvertCommands[] = {
    {30800, 30801, &Convert},  // ToLower, ToUpper
    {30810, 30817, &Convert},  // the width conversions
    {30830, 30831, &Convert},  // TABToSPACE, SPACEToTAB
    {30850, 30856, &Convert},  // to Shift-JIS
    {30860, 30863, &Convert},  // from Shift-JIS
    {kLTrim, kLTrim, &Trim<true>},
    {kRTrim, kRTrim, &Trim<false>},
    {30282, 30282, &Sort<true>},
    {30283, 30283, &Sort<false>},
    {30284, 30284, &PlainHandler<&CEditView::Command_MERGE>},
    {30870, 30870, &PlainHandler<&CEditView::Command_BASE64DECODE>},
    {30880, 30880, &PlainHandler<&CEditView::Command_UUDECODE>},
};

}  // namespace

std::span<const CommandHandlerEntry> ConvertCommandFamily() { return kConvertCommands; }
