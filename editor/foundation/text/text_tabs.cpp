// Tabs and spaces. A column counts bytes from the line's start (a double-byte character is two
// columns wide, as it is two bytes) and a tab moves it to the next multiple of the width. Lines end
// at each CR or LF (a line end of two bytes starts a line after its first byte that is empty up to
// the second, which changes no column). Neither a tab, a space nor a line end is ever the second
// byte of a double-byte character, so they are found byte by byte, 64 bytes at a time.
#include <cstdint>
#include <cstring>

#include "editor/foundation/text/byte_blocks.h"
#include "editor/foundation/text/code_writer.h"
#include "editor/foundation/text/forward_copy.h"
#include "editor/foundation/text/memory.h"

namespace {

inline bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
inline bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

// Calls visit(position) for each tab, CR and LF; visit returns where to go on.
template <typename Visit>
void ForEachTabOrLineEnd(const unsigned char* s, int len, Visit visit) {
  using namespace byte_lanes;
  ForEachMatch(
      s, len, [](Lane x) { return Or(Equal(x, '\t'), Or(Equal(x, '\r'), Equal(x, '\n'))); },
      [](unsigned char c) { return c == '\t' || IsLineEnd(c); }, visit);
}

// The same for each space, tab, CR and LF.
template <typename Visit>
void ForEachBlankOrLineEnd(const unsigned char* s, int len, Visit visit) {
  using namespace byte_lanes;
  ForEachMatch(
      s, len, [](Lane x) { return Or(Or(Equal(x, ' '), Equal(x, '\t')), Or(Equal(x, '\r'), Equal(x, '\n'))); },
      [](unsigned char c) { return IsBlank(c) || IsLineEnd(c); }, visit);
}

// The spaces a tab at the column becomes.
inline int64_t TabSpaces(int64_t column, int64_t width) { return width - column % width; }

}  // namespace

void CMemory::TABToSPACE(int nTabWidth) {
  if (!m_pData || m_nLength == 0 || nTabWidth < 1) return;
  const int64_t width = nTabWidth;
  // The first pass counts what the tabs add; counted in 64 bits, a result beyond what a buffer
  // holds then fails as a failed allocation does, with the text unchanged, and one that fits is
  // written, close to the largest size too.
  int64_t added = 0;
  bool anyTab = false;
  {
    int lineStart = 0;
    int64_t shift = 0;  // columns the line's tabs so far have added beyond their bytes
    ForEachTabOrLineEnd(reinterpret_cast<const unsigned char*>(m_pData), m_nLength, [&](int at) {
      if (m_pData[at] == '\t') {
        const int64_t extra = TabSpaces(at - lineStart + shift, width) - 1;
        shift += extra;
        added += extra;
        anyTab = true;
      } else {
        lineStart = at + 1;
        shift = 0;
      }
      return at + 1;
    });
  }
  if (!anyTab) return;
  const int64_t ahead = RoomAhead(m_nLength, added, kMaxDataLength);
  const bool lagged = ahead > added;
  CodeWriter::Convert(*this, ahead, [width, lagged](const unsigned char* s, int len, char* w, int&) {
    const char* text = reinterpret_cast<const char*>(s);
    const char* end = text + len;
    const auto copy = [&](int from, int to) {
      w = CopyForward(w, text + from, to - from, ForwardCopyEnd(lagged, text + from, to - from, end));
    };
    int from = 0;  // the start of the text not yet copied
    int lineStart = 0;
    int64_t shift = 0;
    ForEachTabOrLineEnd(s, len, [&](int at) {
      if (s[at] == '\t') {
        copy(from, at);
        const int64_t spaces = TabSpaces(at - lineStart + shift, width);
        std::memset(w, ' ', static_cast<size_t>(spaces));
        w += spaces;
        shift += spaces - 1;
        from = at + 1;
      } else {
        lineStart = at + 1;
        shift = 0;
      }
      return at + 1;
    });
    copy(from, len);
    return w;
  });
}

// Each maximal run of blanks, from column s to column e, becomes a tab for every stop passed in
// (s, e] and spaces from the last stop to e; a run of one space stays. The result is never longer
// than the input: every tab written stands for at least one blank before its stop, and the spaces
// after the last stop for spaces of the input.
void CMemory::SPACEToTAB(int nTabWidth) {
  if (!m_pData || m_nLength == 0 || nTabWidth < 1) return;
  const int64_t width = nTabWidth;
  const int64_t ahead = RoomAhead(m_nLength, 0, kMaxDataLength);
  const bool lagged = ahead > 0;
  CodeWriter::Convert(*this, ahead, [width, lagged](const unsigned char* s, int len, char* w, int&) {
    const char* text = reinterpret_cast<const char*>(s);
    const char* end = text + len;
    const auto copy = [&](int from, int to) {
      w = CopyForward(w, text + from, to - from, ForwardCopyEnd(lagged, text + from, to - from, end));
    };
    int from = 0;  // the start of the text not yet copied
    int lineStart = 0;
    int64_t shift = 0;  // columns the line's tabs so far have added beyond their bytes
    ForEachBlankOrLineEnd(s, len, [&](int at) {
      if (IsLineEnd(s[at])) {
        lineStart = at + 1;
        shift = 0;
        return at + 1;
      }
      if (s[at] == ' ' && (at + 1 == len || !IsBlank(s[at + 1]))) return at + 1;  // a single space stays
      copy(from, at);
      const int64_t first = at - lineStart + shift;
      int64_t column = first;
      int r = at;
      for (; r < len && IsBlank(s[r]); ++r) {
        const int64_t step = s[r] == ' ' ? 1 : TabSpaces(column, width);
        shift += step - 1;
        column += step;
      }
      const int64_t tabs = column / width - first / width;
      const int64_t spaces = tabs > 0 ? column % width : column - first;
      std::memset(w, '\t', static_cast<size_t>(tabs));
      std::memset(w + tabs, ' ', static_cast<size_t>(spaces));
      w += tabs + spaces;
      from = r;
      return r;
    });
    copy(from, len);
    return w;
  });
}
