// The TeX outline: chapters, sections and slides, numbered from the first heading's level.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"

using namespace outline_scan;

namespace {

constexpr int kMaxCommand = 31;
constexpr int kMaxTitle = 255;
constexpr int kCounters = 8;

class TexOutline {
 public:
  TexOutline(const LineWalk& lines, COutlineItemList& list) : m_lines(lines), m_list(list) {}
  void Line(const char* text, int len, int line);

 private:
  void Heading(int level, bool starred, std::string_view title, int line);

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  bool m_bFirst = true;
  int m_nDepth = 0;  // of the reference heading (the last one not starred)
  int m_nLevel = 0;
  int m_counters[kCounters] = {};
};

// The position of the byte c at or after pos, on a character start; len when there is none.
int FindByte(const unsigned char* s, int len, int pos, unsigned char c) {
  while (pos < len && s[pos] != c) pos += SjisCharSize(s, len, pos);
  return pos;
}

void TexOutline::Line(const char* text, int len, int line) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  len = LengthWithoutLineEnd(text, len);
  // "%" ends the line; an escaped "\%" is a percent sign, while "\\%" is a line break and then a
  // comment.
  for (int pos = 0; pos < len; pos += SjisCharSize(s, len, pos)) {
    if (s[pos] == '\\' && pos + 1 < len && (s[pos + 1] == '%' || s[pos + 1] == '\\')) {
      ++pos;
    } else if (s[pos] == '%') {
      len = pos;
      break;
    }
  }
  int pos = 0;
  while (pos < len) {
    if (s[pos] != '\\') {
      pos += SjisCharSize(s, len, pos);
      continue;
    }
    const int nameStart = pos + 1;
    const int brace = FindByte(s, len, nameStart, '{');
    if (brace >= len || brace - nameStart > kMaxCommand) {
      pos = nameStart;
      continue;
    }
    std::string_view name(text + nameStart, static_cast<size_t>(brace - nameStart));
    const bool starred = name.ends_with('*');
    if (starred) name.remove_suffix(1);
    int level = 0;
    int titleStart = brace + 1;
    if (name == "chapter") {
      level = 1;
    } else if (name == "section") {
      level = 2;
    } else if (name == "subsection") {
      level = 3;
    } else if (name == "subsubsection") {
      level = 4;
    } else if (name == "begin") {
      const std::string_view rest(text + brace, static_cast<size_t>(len - brace));
      if (rest.starts_with("{slide}")) {
        // The slide's title is in the next pair of braces.
        const int open = FindByte(s, len, brace + 7, '{');
        if (open < len) {
          level = 1;
          titleStart = open + 1;
        }
      }
    }
    if (level == 0) {
      pos = nameStart;
      continue;
    }
    const int close = FindByte(s, len, titleStart, '}');
    Heading(level, starred, std::string_view(text + titleStart, static_cast<size_t>(close - titleStart)), line);
    pos = close < len ? close + 1 : len;
  }
}

void TexOutline::Heading(int level, bool starred, std::string_view title, int line) {
  int depth = 0;
  if (!m_bFirst) depth = std::clamp(m_nDepth + level - m_nLevel, 0, kCounters - 1);
  BoundedText<kMaxTitle + 64> item;
  if (!starred) {
    if (m_bFirst || depth > m_nDepth) {
      m_counters[depth] = 1;
    } else {
      ++m_counters[depth];
    }
    for (int d = 0; d <= depth; ++d) {
      char number[16];
      std::snprintf(number, sizeof number, "%d.", m_counters[d]);
      item.Append(number);
    }
    item.Append(" ", 1);
    m_bFirst = false;
    m_nDepth = depth;
    m_nLevel = level;
  }
  BoundedText<kMaxTitle> cut;
  cut.Append(title);
  item.Append(cut.View());
  Record(m_lines, m_list, line, 0, item.View(), outline_kind::kPlain, depth);
}

}  // namespace

void ParseOutlineTex(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  TexOutline outline(lines, list);
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
