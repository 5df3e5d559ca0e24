// The Shift-JIS character rules that every scan of the editor's text follows: a character is two
// bytes when a lead byte is followed, within the text, by a trail byte; every other byte is a
// character of its own.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/sjis.h"

inline bool IsSjisLeadByte(unsigned char c) { return platform::IsSjisLead(c); }
inline bool IsSjisTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
// Half-width katakana, the one-byte characters above 0x7F.
inline bool IsHalfwidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// Size of the character at text[pos] of a text of len bytes: 2 or 1 (0 at or past the end).
inline int SjisCharSize(const unsigned char* text, int len, int pos) {
  if (pos >= len) return 0;
  return pos + 1 < len && IsSjisLeadByte(text[pos]) && IsSjisTrailByte(text[pos + 1]) ? 2 : 1;
}

// The same over a NUL-terminated text: the terminator is never a trail byte, so a lead byte
// before it stands alone.
inline int SjisCharSizeZ(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  if (p[0] == 0) return 0;
  return IsSjisLeadByte(p[0]) && IsSjisTrailByte(p[1]) ? 2 : 1;
}

// The bytes of the longest run of whole characters of text[0, len) that is at most limit bytes.
inline int WholeCharsPrefixLength(const char* text, int len, int limit) {
  // A text that fits is whole: its last character never reaches past its end.
  if (len >= 0 && len <= limit) return len;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int n = 0;
  while (n < len) {
    const int step = SjisCharSize(p, len, n);
    if (n + step > limit) break;
    n += step;
  }
  return n;
}

// Copies the longest run of whole characters of a NUL-terminated text that leaves room for a NUL
// in size bytes, and the NUL (nothing for a size below 1).
inline void CopyWholeChars(char* out, int size, const char* text) {
  if (size < 1) return;
  int len = 0;
  while (len < size && text[len]) ++len;
  const int kept = WholeCharsPrefixLength(text, len, size - 1);
  for (int i = 0; i < kept; ++i) out[i] = text[i];
  out[kept] = '\0';
}

// The start of the character that holds byte pos, knowing that one starts at from (from <= pos):
// after a byte that cannot lead a character starts, and from there the lead bytes (all of which
// can trail too) pair off, so only the count of those just before pos matters.
inline int SjisCharStartFrom(const unsigned char* text, int from, int pos) {
  int j = pos;
  while (j > from && IsSjisLeadByte(text[j - 1])) --j;
  return (pos - j) % 2 == 0 || !IsSjisTrailByte(text[pos]) ? pos : pos - 1;
}

// The cell column of byte nByte (a character start) of a text whose first byte stands at column
// x: a character other than a tab takes as many cells as it has bytes and a tab reaches the next
// multiple of the tab width, and a tab byte never trails, so only the tabs are stepped over.
inline int SjisCellOfByte(const unsigned char* text, int nByte, int x, int nTabWidth) {
  int from = 0;
  while (from < nByte) {
    const void* tab = std::memchr(text + from, '\t', static_cast<size_t>(nByte - from));
    if (!tab) break;
    const int at = static_cast<int>(static_cast<const unsigned char*>(tab) - text);
    x += at - from;
    x += nTabWidth - x % nTabWidth;
    from = at + 1;
  }
  return x + (nByte - from);
}
