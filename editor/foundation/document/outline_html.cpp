// The HTML outline: every element but the few that never hold anything, at the depth of the
// elements still open around it.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"

using namespace outline_scan;

namespace {

constexpr int kMaxOpen = 32;
constexpr int kMaxName = 31;

// Names are compared in lower case, as they are kept.
bool IsAnyOf(std::string_view lowerName, std::initializer_list<std::string_view> names) {
  for (const std::string_view n : names) {
    if (lowerName == n) return true;
  }
  return false;
}

class HtmlOutline {
 public:
  HtmlOutline(const LineWalk& lines, COutlineItemList& list) : m_lines(lines), m_list(list) {}
  void Line(const char* text, int len, int line);

 private:
  // Reads the tag whose "<" is at pos; the position to go on from.
  int Tag(const char* text, int len, int line, int pos);

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  bool m_bInComment = false;
  BoundedText<kMaxName> m_open[kMaxOpen];
  int m_nOpen = 0;
};

void HtmlOutline::Line(const char* text, int len, int line) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  while (pos < len) {
    if (m_bInComment) {
      const std::string_view rest(text + pos, static_cast<size_t>(len - pos));
      const size_t end = rest.find("-->");
      if (end == std::string_view::npos) return;
      m_bInComment = false;
      pos += static_cast<int>(end) + 3;
      continue;
    }
    if (s[pos] != '<') {
      // "<" is below every second byte of a two-byte character: a byte search finds only real ones.
      const void* lt = std::memchr(text + pos, '<', static_cast<size_t>(len - pos));
      if (!lt) return;
      pos = static_cast<int>(static_cast<const char*>(lt) - text);
    }
    if (std::string_view(text + pos, static_cast<size_t>(len - pos)).starts_with("<!--")) {
      m_bInComment = true;
      pos += 4;
      continue;
    }
    pos = Tag(text, len, line, pos);
  }
}

int HtmlOutline::Tag(const char* text, int len, int line, int lt) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int pos = lt + 1;
  const bool closing = pos < len && s[pos] == '/';
  if (closing) ++pos;
  if (pos >= len || !IsAsciiAlpha(s[pos])) return lt + 1;
  const int nameStart = pos;
  while (pos < len && IsAsciiAlnum(s[pos])) ++pos;
  // The name in lower case, for every comparison.
  char lower[kMaxName];
  const int nameLen = std::min(pos - nameStart, kMaxName);
  for (int i = 0; i < nameLen; ++i) lower[i] = static_cast<char>(s[nameStart + i] | (IsAsciiAlpha(s[nameStart + i]) ? 0x20 : 0));
  const std::string_view lowerName(lower, static_cast<size_t>(nameLen));
  const std::string_view name(text + nameStart, static_cast<size_t>(nameLen));

  if (closing) {
    for (int i = m_nOpen - 1; i >= 0; --i) {
      if (m_open[i].View() == lowerName) {
        m_nOpen = i;
        break;
      }
    }
    return pos;
  }
  if (IsAnyOf(lowerName, {"br", "area", "base", "frame", "param"})) return pos;

  // The end of the tag on its line; a tag that goes on in the next line has nothing after it here.
  // ">", "<", CR and LF are below every second byte of a two-byte character: byte searches find
  // only real ones.
  const void* found = std::memchr(text + pos, '>', static_cast<size_t>(len - pos));
  const int gt = found ? static_cast<int>(static_cast<const char*>(found) - text) : LengthWithoutLineEnd(text, len);
  const bool hasEnd = found != nullptr;
  const bool empty = hasEnd && gt > nameStart && s[gt - 1] == '/';

  BoundedText<kMaxName> item;
  const int depth = m_nOpen;
  if (IsAnyOf(lowerName, {"hr", "meta", "link", "input", "img"})) {
    item.Append(text + nameStart, gt - nameStart);
    Record(m_lines, m_list, line, lt, item.View(), outline_kind::kPlain, depth);
    return hasEnd ? gt + 1 : gt;
  }
  item.Append(name);
  if (!empty) {
    item.Append(" ", 1);
    if (hasEnd) {
      int end = gt + 1;
      while (end < len && s[end] != '<' && !IsLineEnd(s[end])) ++end;
      item.Append(text + gt + 1, end - gt - 1);
    }
    if (m_nOpen < kMaxOpen) {
      m_open[m_nOpen].Clear();
      m_open[m_nOpen].Append(lowerName);
      ++m_nOpen;
    }
  }
  Record(m_lines, m_list, line, lt, item.View(), outline_kind::kPlain, depth);
  return hasEnd ? gt + 1 : gt;
}

}  // namespace

void ParseOutlineHtml(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  HtmlOutline outline(lines, list);
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
