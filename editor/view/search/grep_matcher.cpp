#include "editor/view/search/grep_matcher.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"

namespace {

bool IsLineEndByte(unsigned char c) { return c == '\r' || c == '\n'; }

// The first CR or LF in p[from, to), or to.
int64_t FindLineEndByte(const unsigned char* p, int64_t from, int64_t to) {
  int64_t i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= to; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (mask != 0) return i + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; i < to; ++i)
    if (IsLineEndByte(p[i])) return i;
  return to;
}

#if defined(__SSE2__)
// Bit k set when p[k] is CR or LF, for the 64 bytes at p.
uint64_t LineEndMask64(const unsigned char* p) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const auto bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
    mask |= static_cast<uint64_t>(bits) << (16 * k);
  }
  return mask;
}
#endif

// Line ends in p[from, to) when from is a line start and to is the block's end or a byte that is
// no line end; *pLastStart gets the position after the last of them (untouched without one). The
// bytes are looked at sixty-four at a time, so a line costs a few steps, not a search of its own.
int64_t CountRange(const unsigned char* p, int64_t from, int64_t to, int64_t* pLastStart) {
  int64_t count = 0;
  int64_t next = from;  // line-end bytes before this one are taken (the second of a pair)
  // CR LF and LF CR are one line end each, taken from the left as the reader takes them.
  auto take = [&](int64_t j) {
    if (j < next) return;
    ++count;
    next = j + 1 < to && IsLineEndByte(p[j + 1]) && p[j + 1] != p[j] ? j + 2 : j + 1;
  };
  int64_t i = from;
#if defined(__SSE2__)
  for (; i + 64 <= to; i += 64) {
    for (uint64_t mask = LineEndMask64(p + i); mask != 0; mask &= mask - 1) take(i + __builtin_ctzll(mask));
  }
#endif
  for (; i < to; ++i)
    if (IsLineEndByte(p[i])) take(i);
  if (count > 0 && pLastStart) *pLastStart = next;
  return count;
}

}  // namespace

int64_t CountLineEnds(const char* data, int64_t len) {
  if (!data || len <= 0) return 0;
  return CountRange(reinterpret_cast<const unsigned char*>(data), 0, len, nullptr);
}

// ---------------------------------------------------------------- GrepLineMatcher

GrepLineMatcher::GrepLineMatcher(std::string_view key, CRegexpDll* regexp, bool bCaseSensitive, bool bWordOnly,
                                 bool bOutputLine)
    : m_key(key),
      m_pRegexp(regexp),
      m_bCaseSensitive(bCaseSensitive),
      m_bWordOnly(bWordOnly),
      m_bOutputLine(bOutputLine),
      m_sizes(m_key.data(), static_cast<int>(m_key.size())),
      m_plain(m_key.data(), static_cast<int>(m_key.size()), m_sizes.Get(), bCaseSensitive) {}

void GrepLineMatcher::FindHits(const char* text, int lenWithEol, int textLen, std::vector<GrepHit>& hits) const {
  hits.clear();
  if (!text || textLen < 0 || lenWithEol < textLen) return;
  if (m_pRegexp) {
    FindRegexp(text, lenWithEol, textLen, hits);
  } else if (m_key.empty()) {
    return;
  } else if (m_bWordOnly) {
    FindWords(text, textLen, hits);
  } else {
    FindPlain(text, textLen, hits);
  }
}

void GrepLineMatcher::FindRegexp(const char* text, int lenWithEol, int textLen, std::vector<GrepHit>& hits) const {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  while (pos <= textLen) {
    if (!m_pRegexp->Match(text, lenWithEol, pos)) break;
    const BREGEXP* result = m_pRegexp->GetResult();
    if (!result || !result->startp || !result->endp || !result->startp[0] || !result->endp[0]) break;
    const int64_t start = result->startp[0] - text;
    const int64_t end = result->endp[0] - text;
    // An engine result outside the line is no hit of it.
    if (start < pos || end < start || end > lenWithEol || start > textLen) break;
    hits.push_back({static_cast<int>(start), static_cast<int>(end - start)});
    if (m_bOutputLine) break;
    if (end > start) {
      pos = static_cast<int>(end);
    } else {
      // An empty match moves on by a whole character, never onto a trail byte.
      const int size = SjisCharSize(p, lenWithEol, static_cast<int>(start));
      pos = static_cast<int>(start) + (size > 0 ? size : 1);
    }
  }
}

void GrepLineMatcher::FindWords(const char* text, int textLen, std::vector<GrepHit>& hits) const {
  const int keyLen = static_cast<int>(m_key.size());
  int pos = 0;
  int start = 0;
  int end = 0;
  while (pos < textLen && GetWordRangeInText(text, textLen, pos, &start, &end, nullptr, nullptr)) {
    if (end - start == keyLen) {
      const bool same = m_bCaseSensitive ? std::memcmp(text + start, m_key.data(), static_cast<size_t>(keyLen)) == 0
                                         : SjisMemICmp(text + start, m_key.data(), keyLen) == 0;
      if (same) hits.push_back({start, keyLen});
    }
    if (end <= pos) break;
    pos = end;
  }
}

void GrepLineMatcher::FindPlain(const char* text, int textLen, std::vector<GrepHit>& hits) const {
  const int keyLen = static_cast<int>(m_key.size());
  int pos = 0;
  while (pos <= textLen - keyLen) {
    const int at = m_plain.Find(text, textLen, pos);
    if (at < 0) break;
    hits.push_back({at, keyLen});
    if (m_bOutputLine) break;
    pos = at + keyLen;
  }
}

// ---------------------------------------------------------------- GrepBlockSearch

GrepBlockSearch::GrepBlockSearch(std::string_view key, bool bOutputLine, bool bCaseSensitive)
    : m_key(key), m_bOutputLine(bOutputLine), m_bFold(!bCaseSensitive) {
  // Without case a one-byte ASCII letter of the key also takes its other case: such bytes are
  // compared with bit 5 set on both sides. A trail byte that looks like a letter is compared as
  // it is.
  m_folded = m_key;
  m_foldMask.assign(m_key.size(), 0);
  const auto* p = reinterpret_cast<const unsigned char*>(m_key.data());
  const int len = static_cast<int>(m_key.size());
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(p, len, at);
    const unsigned char c = p[at];
    if (m_bFold && size == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
      m_foldMask[static_cast<size_t>(at)] = 0x20;
      m_folded[static_cast<size_t>(at)] = static_cast<char>(c | 0x20);
    }
    at += size;
  }
}

bool GrepBlockSearch::SameAt(const unsigned char* p) const {
  const auto* key = reinterpret_cast<const unsigned char*>(m_folded.data());
  const size_t m = m_folded.size();
  if (!m_bFold) return std::memcmp(p, key, m) == 0;
  for (size_t j = 0; j < m; ++j)
    if (static_cast<unsigned char>(p[j] | m_foldMask[j]) != key[j]) return false;
  return true;
}

int64_t GrepBlockSearch::FindKey(int64_t from) const {
  const auto* p = reinterpret_cast<const unsigned char*>(m_pData);
  const auto m = static_cast<int64_t>(m_folded.size());
  const int64_t len = m_nLen;
  if (m <= 0 || len - from < m) return -1;
  const auto* key = reinterpret_cast<const unsigned char*>(m_folded.data());
  const unsigned char firstMask = m_foldMask[0];
  const unsigned char lastMask = m_foldMask[static_cast<size_t>(m - 1)];
  if (m == 1 && firstMask == 0) {
    const void* r = std::memchr(p + from, key[0], static_cast<size_t>(len - from));
    return r ? static_cast<const unsigned char*>(r) - p : -1;
  }
  const int64_t last = len - m;  // the last place the key fits
  int64_t i = from;
#if defined(__SSE2__)
  // Candidates are the places where the key's first and last bytes fit, sixteen at a time; only
  // those are compared whole.
  const __m128i fm = _mm_set1_epi8(static_cast<char>(firstMask));
  const __m128i fb = _mm_set1_epi8(static_cast<char>(key[0]));
  const __m128i lm = _mm_set1_epi8(static_cast<char>(lastMask));
  const __m128i lb = _mm_set1_epi8(static_cast<char>(key[m - 1]));
  for (; i + 15 <= last; i += 16) {
    const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), fm);
    const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + m - 1)), lm);
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, fb), _mm_cmpeq_epi8(b, lb))));
    while (mask != 0) {
      const int bit = __builtin_ctz(mask);
      if (SameAt(p + i + bit)) return i + bit;
      mask &= mask - 1;
    }
  }
#endif
  for (; i <= last; ++i)
    if (static_cast<unsigned char>(p[i] | firstMask) == key[0] && SameAt(p + i)) return i;
  return -1;
}

bool GrepBlockSearch::Suits(std::string_view key) {
  if (key.empty()) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(key.data());
  const int len = static_cast<int>(key.size());
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(p, len, at);
    if (size == 1 && (IsLineEndByte(p[at]) || IsSjisLeadByte(p[at]))) return false;
    at += size;
  }
  return true;
}

void GrepBlockSearch::Begin(const char* data, int64_t len) {
  m_pData = data;
  m_nLen = data && len > 0 ? len : 0;
  m_nSearchFrom = 0;
  m_nCounted = 0;
  m_nLines = 0;
  m_nLineStart = 0;
  m_nAligned = 0;
}

void GrepBlockSearch::CountTo(int64_t to) {
  if (to <= m_nCounted) return;
  const auto* p = reinterpret_cast<const unsigned char*>(m_pData);
  int64_t lastStart = -1;
  m_nLines += CountRange(p, m_nCounted, to, &lastStart);
  if (lastStart >= 0) {
    m_nLineStart = lastStart;
    m_nAligned = lastStart;
  }
  m_nCounted = to;
}

int64_t GrepBlockSearch::LineEndAt(int64_t from) const {
  return FindLineEndByte(reinterpret_cast<const unsigned char*>(m_pData), from, m_nLen);
}

bool GrepBlockSearch::Next(GrepBlockHit& hit) {
  const auto keyLen = static_cast<int64_t>(m_key.size());
  const auto* p = reinterpret_cast<const unsigned char*>(m_pData);
  while (keyLen > 0 && m_nSearchFrom + keyLen <= m_nLen) {
    const int64_t at = FindKey(m_nSearchFrom);
    if (at < 0) {
      m_nSearchFrom = m_nLen;
      return false;
    }
    CountTo(at);
    // Walk the characters from the last known character start of the line: a hit that begins on
    // a trail byte lies inside a character and is none.
    int64_t pos = m_nAligned;
    while (pos < at) pos += pos + 1 < m_nLen && IsSjisLeadByte(p[pos]) && IsSjisTrailByte(p[pos + 1]) ? 2 : 1;
    m_nAligned = pos;
    if (pos != at) {
      m_nSearchFrom = at + 1;
      continue;
    }
    const int64_t lineEnd = LineEndAt(at + keyLen);
    hit.line = m_nLines;
    hit.lineStart = m_nLineStart;
    hit.lineLength = static_cast<int>(lineEnd - m_nLineStart);
    hit.offset = static_cast<int>(at - m_nLineStart);
    if (m_bOutputLine) {
      m_nSearchFrom = lineEnd;
    } else {
      m_nSearchFrom = at + keyLen;
      m_nAligned = at + keyLen;
    }
    return true;
  }
  return false;
}

int64_t GrepBlockSearch::CountAllLines() {
  const auto* p = reinterpret_cast<const unsigned char*>(m_pData);
  if (m_nCounted < m_nLen) {
    m_nLines += CountRange(p, m_nCounted, m_nLen, nullptr);
    m_nCounted = m_nLen;
  }
  return m_nLines;
}
