#include "editor/foundation/text/plain_matcher.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether pos starts a character, the text read from known (a character start at or before pos),
// and moves known on to pos or to the start of the character that holds it. The byte after a byte
// that is no lead byte starts a character, and from there lead bytes pair off two by two (a lead
// byte is also a trail byte), so only the lead bytes just before pos are looked at.
bool StartsCharacter(const unsigned char* text, int& known, int pos) {
  int q = pos;
  while (q > known && IsSjisLeadByte(text[q - 1])) --q;
  if (((pos - q) & 1) == 0 || !IsSjisTrailByte(text[pos])) {
    known = pos;
    return true;
  }
  known = pos - 1;
  return false;
}

}  // namespace

PlainMatcher::PlainMatcher(const char* pPattern, int nLen, const uint8_t* pnCharSizes, bool bCaseSensitive)
    : m_pPattern(reinterpret_cast<const unsigned char*>(pPattern)), m_nLen(pPattern && nLen > 0 ? nLen : 0),
      m_pnSizes(pnCharSizes), m_bCaseSensitive(bCaseSensitive) {
  if (m_nLen == 0) return;
  // b | 0x20 takes both cases of a letter to its small letter, and nothing else there.
  const unsigned char first = m_pPattern[0];
  const bool foldFirst = !bCaseSensitive && IsAsciiLetter(first);
  m_firstMask = foldFirst ? 0x20 : 0;
  m_firstByte = foldFirst ? (first | 0x20) : first;
  const unsigned char last = m_pPattern[m_nLen - 1];
  bool lastAlone = false;  // not the trail byte of a pair; asked only where it counts
  if (IsSjisLeadByte(last) || (!bCaseSensitive && IsAsciiLetter(last))) {
    int lastStart = 0;
    for (int i = 0; i < m_nLen; i += SjisCharSize(m_pPattern, m_nLen, i)) lastStart = i;
    lastAlone = lastStart == m_nLen - 1;
  }
  const bool foldLast = !bCaseSensitive && lastAlone && IsAsciiLetter(last);
  m_lastMask = foldLast ? 0x20 : 0;
  m_lastByte = foldLast ? (last | 0x20) : last;
  m_bFold = foldFirst || foldLast;
  m_bLastLoneLead = lastAlone && IsSjisLeadByte(last);
}

bool PlainMatcher::MatchesAt(const unsigned char* text, int len, int pos) const {
  const unsigned char* t = text + pos;
  if (m_bCaseSensitive) {
    // Equal bytes from a character start cut into the same characters as the pattern, but for a
    // lead byte that ends the pattern as a character of its own: in the text a trail byte may
    // follow it.
    for (int i = 0; i < m_nLen; ++i) {
      if (t[i] != m_pPattern[i]) return false;
    }
    return !(m_bLastLoneLead && pos + m_nLen < len && IsSjisTrailByte(t[m_nLen]));
  }
  for (int i = 0; i < m_nLen;) {
    const int size = m_pnSizes ? m_pnSizes[i] : SjisCharSize(m_pPattern, m_nLen, i);
    if (SjisCharSize(text, len, pos + i) != size) return false;
    if (size == 2) {
      if (t[i] != m_pPattern[i] || t[i + 1] != m_pPattern[i + 1]) return false;
    } else if (AsciiToUpper(static_cast<char>(t[i])) != AsciiToUpper(static_cast<char>(m_pPattern[i]))) {
      return false;
    }
    i += size;
  }
  return true;
}

int PlainMatcher::FirstOf(const unsigned char* text, int len, int& known, int at, uint64_t bits) const {
  for (; bits; bits &= bits - 1) {
    const int pos = at + __builtin_ctzll(bits);
    if (StartsCharacter(text, known, pos) && MatchesAt(text, len, pos)) return pos;
  }
  return -1;
}

int PlainMatcher::FindScalar(const unsigned char* text, int len, int& known, int start, int limit) const {
  const unsigned char* last = text + m_nLen - 1;
  for (int s = start; s < limit; ++s) {
    if ((text[s] | m_firstMask) == m_firstByte && (last[s] | m_lastMask) == m_lastByte &&
        FirstOf(text, len, known, s, 1) >= 0) {
      return s;
    }
  }
  return -1;
}

#if defined(__SSE2__)

namespace {

// Where the bytes of [p, p + 32) fit: bit i for p[i].
template <bool kFold>
__attribute__((no_sanitize_address)) inline uint32_t Fits32(const unsigned char* p, __m128i mask, __m128i byte) {
  __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  if constexpr (kFold) {
    lo = _mm_or_si128(lo, mask);
    hi = _mm_or_si128(hi, mask);
  }
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(lo, byte))) |
         static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(hi, byte))) << 16;
}

// The same for [p, p + 64).
template <bool kFold>
__attribute__((no_sanitize_address)) inline uint64_t Fits64(const unsigned char* p, __m128i mask, __m128i byte) {
  return Fits32<kFold>(p, mask, byte) | static_cast<uint64_t>(Fits32<kFold>(p + 32, mask, byte)) << 32;
}

}  // namespace

// Sixty-four places a step. Most lines are shorter than a step, and a line that takes a path of its
// own by its length, or a loop that ends after one step or after two, costs more in mispredicted
// branches than the search itself; so the last step reads on past the text's end, into bytes whose
// results are masked off, when those bytes lie in the page of the text's last byte (where reading
// cannot fault). A text near a page's end takes FindInBounds.
template <bool kFold>
__attribute__((no_sanitize_address)) inline int PlainMatcher::FindSse2(const unsigned char* text, int len, int start,
                                                                       const Vectors& v) const {
  const int limit = len - m_nLen + 1;  // past the last place a match can start
  if (start >= limit) return -1;
  const auto end = reinterpret_cast<uintptr_t>(text) + static_cast<uintptr_t>(len);
  if ((end - 1) >> 12 != (end + 63) >> 12) return FindInBounds<kFold>(text, len, start, limit, v);
  const unsigned char* last = text + m_nLen - 1;
  int known = start;
  for (int s = start; s < limit; s += 64) {
    uint64_t bits = Fits64<kFold>(text + s, v.firstMask, v.firstByte) & Fits64<kFold>(last + s, v.lastMask, v.lastByte);
    if (limit - s < 64) bits &= (uint64_t{1} << (limit - s)) - 1;
    if (bits) {
      const int found = FirstOf(text, len, known, s, bits);
      if (found >= 0) return found;
    }
  }
  return -1;
}

// The same without reading past the text, thirty-two places a step: the last step ends at the
// limit, over places already seen, and a text shorter than a step is tried one place at a time.
template <bool kFold>
__attribute__((noinline)) int PlainMatcher::FindInBounds(const unsigned char* text, int len, int start, int limit,
                                                         const Vectors& v) const {
  int known = start;
  if (limit - start < 32) return FindScalar(text, len, known, start, limit);
  const unsigned char* last = text + m_nLen - 1;
  int s = start;
  for (;; s += 32) {
    const int at = limit - s >= 32 ? s : limit - 32;
    uint32_t bits = Fits32<kFold>(text + at, v.firstMask, v.firstByte) & Fits32<kFold>(last + at, v.lastMask, v.lastByte);
    bits &= 0xFFFFFFFFu << (s - at);
    if (bits) {
      const int found = FirstOf(text, len, known, at, bits);
      if (found >= 0) return found;
    }
    if (limit - s <= 32) return -1;
  }
}

PlainMatcher::Vectors PlainMatcher::MakeVectors() const {
  return {_mm_set1_epi8(static_cast<char>(m_firstMask)), _mm_set1_epi8(static_cast<char>(m_firstByte)),
          _mm_set1_epi8(static_cast<char>(m_lastMask)), _mm_set1_epi8(static_cast<char>(m_lastByte))};
}

// The line loop and the search inside one function, so that a line costs no call and no setup.
template <bool kFold>
int PlainMatcher::FindInLinesSse2(CDocLine*& line, int& index, int col) const {
  const Vectors v = MakeVectors();
  for (; line; line = line->m_pNext, ++index, col = 0) {
    const CMemory* text = line->m_pLine;
    if (!text || !text->GetPtr() || text->GetLength() < m_nLen) continue;
    const int found =
        FindSse2<kFold>(reinterpret_cast<const unsigned char*>(text->GetPtr()), text->GetLength(), col, v);
    if (found >= 0) return found;
  }
  return -1;
}

#endif

int PlainMatcher::Find(const char* pText, int nLen, int nStart) const {
  if (!pText || m_nLen == 0 || nLen < m_nLen) return -1;
  if (nStart < 0) nStart = 0;
  const auto* text = reinterpret_cast<const unsigned char*>(pText);
#if defined(__SSE2__)
  const Vectors v = MakeVectors();
  return m_bFold ? FindSse2<true>(text, nLen, nStart, v) : FindSse2<false>(text, nLen, nStart, v);
#else
  int known = nStart;
  return FindScalar(text, nLen, known, nStart, nLen - m_nLen + 1);
#endif
}

int PlainMatcher::FindInLines(CDocLine*& line, int& index, int nStart) const {
  if (m_nLen == 0) {
    line = nullptr;
    return -1;
  }
  if (nStart < 0) nStart = 0;
#if defined(__SSE2__)
  return m_bFold ? FindInLinesSse2<true>(line, index, nStart) : FindInLinesSse2<false>(line, index, nStart);
#else
  for (; line; line = line->m_pNext, ++index, nStart = 0) {
    int len = 0;
    const char* text = line->GetText(&len);
    const int found = Find(text, len, nStart);
    if (found >= 0) return found;
  }
  return -1;
#endif
}
