// Tabs and spaces. A column counts bytes from the line's start (a double-byte character is two
// columns wide, as it is two bytes) and a tab moves it to the next multiple of the width. Neither
// a tab, a space nor a line end is ever the second byte of a double-byte character, so the lines
// and blanks are found byte by byte.
#include <cstdint>
#include <cstring>

#include "editor/foundation/text/code_writer.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/text_utils.h"

namespace {

// The next tab in [i, end), or end.
int FindTab(const char* p, int i, int end) {
  const void* tab = i < end ? std::memchr(p + i, '\t', static_cast<size_t>(end - i)) : nullptr;
  return tab ? static_cast<int>(static_cast<const char*>(tab) - p) : end;
}

// The next space or tab in [i, end), or end; eight bytes at a time (the test finds the lowest
// matching byte of a word exactly: a borrow only runs upward).
int FindBlank(const char* p, int i, int end) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  while (end - i >= 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    const uint64_t sp = w ^ (kOnes * ' ');
    const uint64_t tab = w ^ (kOnes * '\t');
    const uint64_t hits = ((sp - kOnes) & ~sp & kHighs) | ((tab - kOnes) & ~tab & kHighs);
    if (hits) return i + __builtin_ctzll(hits) / 8;
    i += 8;
  }
  while (i < end && p[i] != ' ' && p[i] != '\t') ++i;
  return i;
}

// Calls line(start, length, lineEndLength) for each line of the text.
template <typename Line>
void ForEachLine(const char* p, int len, Line line) {
  int pos = 0;
  int lineLen = 0;
  CLineEnd eol;
  while (const char* start = GetNextLineOfBuffer(p, len, &pos, &lineLen, &eol)) line(static_cast<int>(start - p), lineLen, eol);
}

}  // namespace

void CMemory::TABToSPACE(int nTabWidth) {
  if (!m_pData || m_nLength == 0 || nTabWidth < 1) return;
  const int64_t width = nTabWidth;
  // The first pass counts what the tabs add; counted in 64 bits, a result beyond what a buffer
  // holds then fails as a failed allocation does, with the text unchanged.
  int64_t added = 0;
  bool anyTab = false;
  ForEachLine(m_pData, m_nLength, [&](int start, int lineLen, const CLineEnd&) {
    int64_t shift = 0;  // columns the tabs before have added beyond their bytes
    for (int t = FindTab(m_pData, start, start + lineLen); t < start + lineLen; t = FindTab(m_pData, t + 1, start + lineLen)) {
      const int64_t column = t - start + shift;
      shift += width - column % width - 1;
      anyTab = true;
    }
    added += shift;
  });
  if (!anyTab) return;
  CodeWriter::Convert(*this, added, [width](const unsigned char* input, int len, char* w, int&) {
    const auto* s = reinterpret_cast<const char*>(input);
    ForEachLine(s, len, [&](int start, int lineLen, const CLineEnd& eol) {
      int64_t column = 0;
      int from = start;
      for (int t = FindTab(s, start, start + lineLen); t < start + lineLen; t = FindTab(s, t + 1, start + lineLen)) {
        std::memmove(w, s + from, static_cast<size_t>(t - from));
        w += t - from;
        column += t - from;
        const int64_t spaces = width - column % width;
        std::memset(w, ' ', static_cast<size_t>(spaces));
        w += spaces;
        column += spaces;
        from = t + 1;
      }
      std::memmove(w, s + from, static_cast<size_t>(start + lineLen - from));
      w += start + lineLen - from;
      std::memcpy(w, eol.GetBytes(), static_cast<size_t>(eol.GetLen()));
      w += eol.GetLen();
    });
    return w;
  });
}

// Never longer than the input: every tab written stands for at least one blank before its stop,
// and the spaces after the last stop for spaces of the input. So it is written in place.
void CMemory::SPACEToTAB(int nTabWidth) {
  if (!m_pData || m_nLength == 0 || nTabWidth < 1) return;
  const int64_t width = nTabWidth;
  char* p = m_pData;
  int w = 0;  // where the output goes on
  const auto put = [&](int from, int count) {
    if (w != from) std::memmove(p + w, p + from, static_cast<size_t>(count));
    w += count;
  };
  ForEachLine(m_pData, m_nLength, [&](int start, int lineLen, const CLineEnd& eol) {
    const int end = start + lineLen;
    int64_t shift = 0;  // columns the tabs before have added beyond their bytes
    int from = start;
    for (int b = FindBlank(p, start, end); b < end; b = FindBlank(p, from, end)) {
      put(from, b - from);
      int r = b;
      const int64_t first = b - start + shift;
      int64_t column = first;
      for (; r < end && (p[r] == ' ' || p[r] == '\t'); ++r) {
        if (p[r] == ' ') {
          ++column;
        } else {
          shift += width - column % width - 1;
          column += width - column % width;
        }
      }
      from = r;
      if (r - b == 1 && p[b] == ' ') {
        put(b, 1);  // a single space stays, even where it reaches a stop
        continue;
      }
      const int64_t tabs = column / width - first / width;
      const int64_t spaces = tabs > 0 ? column % width : column - first;
      std::memset(p + w, '\t', static_cast<size_t>(tabs));
      std::memset(p + w + tabs, ' ', static_cast<size_t>(spaces));
      w += static_cast<int>(tabs + spaces);
    }
    put(from, end - from);
    put(end, eol.GetLen());
  });
  SetLength(w);
}
