// One display line as the caret and the selection see it: its text without the line end, the
// column it starts at (its indent) and the columns its characters cover. A tab reaches the next
// multiple of the tab width counted from the left edge, a double-byte character covers two
// columns, every other byte one. A line that does not exist is an empty row at column 0.
#pragma once

#include <algorithm>
#include <cstring>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"

struct DisplayRow {
  const unsigned char* text = nullptr;
  int length = 0;  // bytes of text, the line end left out
  int indent = 0;
  int tabWidth = 8;
  bool exists = false;
  bool hasLineEnd = false;

  static DisplayRow Of(CWrapLineMgr& layout, int line) {
    DisplayRow row;
    row.tabWidth = layout.GetTabWidth() > 0 ? layout.GetTabWidth() : 1;
    CWrapLine* piece = nullptr;
    int bytes = 0;
    const char* text = line >= 0 ? layout.GetLineTextAndNode(line, &bytes, &piece) : nullptr;
    if (!piece || !text) return row;
    row.exists = true;
    row.text = reinterpret_cast<const unsigned char*>(text);
    row.hasLineEnd = piece->m_cLineEnd.GetCode() != CLineEnd::NONE;
    // The piece holding the line end keeps its first byte; the rest is not the row's.
    row.length = bytes - (row.hasLineEnd && bytes > 0 ? 1 : 0);
    row.indent = piece->m_nIndent;
    return row;
  }

  // A document line from column 0, as if it were one row.
  static DisplayRow OfDocLine(CDocLineMgr& lines, int tabWidth, int docLine) {
    DisplayRow row;
    row.tabWidth = tabWidth > 0 ? tabWidth : 1;
    int bytes = 0;
    const char* text = docLine >= 0 ? lines.GetLineTextNoLineEnd(docLine, &bytes) : nullptr;
    if (!text) return row;
    row.exists = true;
    row.text = reinterpret_cast<const unsigned char*>(text);
    row.length = bytes;
    return row;
  }

  // The character at byte pos when it starts at column x: its columns, and its bytes in *size.
  int CellsAt(int pos, int x, int* size) const {
    *size = SjisCharSize(text, length, pos);
    return text[pos] == '\t' ? tabWidth - x % tabWidth : *size;
  }

  // Where a column falls in the text.
  struct Hit {
    int offset = 0;  // byte of the character holding the column; the text length past the text
    int column = 0;  // the column that character starts at; the end column past the text
    int cells = 0;   // its columns (0 past the text)
    int size = 0;    // its bytes (0 past the text)
  };
  // A column left of the indent falls on the first character. Between tabs a column moves as
  // bytes do, so only the tabs are stepped over one by one.
  Hit CharAt(int column) const {
    Hit hit;
    int x = indent;
    for (int from = 0; from < length;) {
      const void* tab = std::memchr(text + from, '\t', static_cast<size_t>(length - from));
      const int stretchEnd = tab ? static_cast<int>(static_cast<const unsigned char*>(tab) - text) : length;
      if (stretchEnd > from && column < x + (stretchEnd - from)) {
        const int at = SjisCharStartFrom(text, from, from + std::max(0, column - x));
        const int size = SjisCharSize(text, length, at);
        return Hit{at, x + (at - from), size, size};
      }
      x += stretchEnd - from;
      if (!tab) break;
      const int cells = tabWidth - x % tabWidth;
      if (x + cells > column) return Hit{stretchEnd, x, cells, 1};
      x += cells;
      from = stretchEnd + 1;
    }
    hit.offset = length;
    hit.column = x;
    return hit;
  }

  // The column the character at a byte offset starts at (the end column for an offset past the
  // text; an offset inside a character counts as that character).
  int ColumnOf(int offset) const {
    if (length <= 0) return indent;
    const int at = offset >= length ? length : SjisCharStartFrom(text, 0, std::max(0, offset));
    return SjisCellOfByte(text, at, indent, tabWidth);
  }

  int EndColumn() const { return CharAt(kBeyond).column; }

  static constexpr int kBeyond = 0x7FFFFFFF;
};
