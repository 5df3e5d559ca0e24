#include "editor/foundation/settings/comment_delimiters.h"

#include <cstring>
#include <type_traits>

#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"

static_assert(sizeof(CLineCommentSet) == 72 && std::is_standard_layout_v<CLineCommentSet> &&
              std::is_trivially_copyable_v<CLineCommentSet>);
static_assert(sizeof(CCommentDelimiters) == 80 && std::is_standard_layout_v<CCommentDelimiters> &&
              std::is_trivially_copyable_v<CCommentDelimiters>);

namespace {

// Stores text when it has 1-15 bytes; returns the stored length (0 when it was refused).
int StoreText(char (&slot)[16], const char* text) {
  const size_t len = text ? std::strlen(text) : 0;
  if (len == 0 || len > 15) {
    std::memset(slot, 0, sizeof(slot));
    return 0;
  }
  std::memset(slot, 0, sizeof(slot));
  std::memcpy(slot, text, len);
  return static_cast<int>(len);
}

// The shared record may hold anything another process wrote: a length is used only within its slot.
int UsableLength(int32_t stored) { return stored > 0 && stored <= 15 ? stored : 0; }

bool TextAt(const char* text, int length, int offset, int lineLength, const char* line) {
  if (length <= 0 || !line || offset < 0 || offset > lineLength || lineLength - offset < length) return false;
  return SjisMemICmp(line + offset, text, length) == 0;
}

}  // namespace

CLineCommentSet::CLineCommentSet() {
  std::memset(m_szText, 0, sizeof(m_szText));
  for (int i = 0; i < kCount; ++i) {
    m_nColumn[i] = -1;
    m_nLength[i] = 0;
  }
}

void CLineCommentSet::Set(int index, const char* text, int column) {
  if (index < 0 || index >= kCount) return;
  m_nLength[index] = StoreText(m_szText[index], text);
  m_nColumn[index] = m_nLength[index] ? column : -1;
}

bool CLineCommentSet::MatchAt(int offset, int lineLength, const char* line) const {
  for (int i = 0; i < kCount; ++i) {
    const int len = UsableLength(m_nLength[i]);
    if (len == 0 || (m_nColumn[i] >= 0 && m_nColumn[i] != offset)) continue;
    if (TextAt(m_szText[i], len, offset, lineLength, line)) return true;
  }
  return false;
}

const char* CLineCommentSet::GetText(int index) const { return index >= 0 && index < kCount ? m_szText[index] : ""; }
int CLineCommentSet::GetColumn(int index) const { return index >= 0 && index < kCount ? m_nColumn[index] : -1; }
int CLineCommentSet::GetLength(int index) const {
  return index >= 0 && index < kCount ? UsableLength(m_nLength[index]) : 0;
}

CCommentDelimiters::CCommentDelimiters() {
  std::memset(m_szStart, 0, sizeof(m_szStart));
  std::memset(m_szEnd, 0, sizeof(m_szEnd));
  for (int i = 0; i < kPairs; ++i) m_nStartLength[i] = m_nEndLength[i] = 0;
}

void CCommentDelimiters::SetPair(int index, const char* start, const char* end) {
  if (index < 0 || index >= kPairs) return;
  m_nStartLength[index] = StoreText(m_szStart[index], start);
  m_nEndLength[index] = StoreText(m_szEnd[index], end);
}

bool CCommentDelimiters::MatchStart(int pair, int offset, int lineLength, const char* line) const {
  if (pair < 0 || pair >= kPairs || UsableLength(m_nEndLength[pair]) == 0) return false;
  return TextAt(m_szStart[pair], UsableLength(m_nStartLength[pair]), offset, lineLength, line);
}

int CCommentDelimiters::FindEnd(int pair, int from, int lineLength, const char* line) const {
  if (pair < 0 || pair >= kPairs || !line || lineLength <= 0) return lineLength < 0 ? 0 : lineLength;
  const int len = UsableLength(m_nEndLength[pair]);
  if (len == 0) return lineLength;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line);
  for (int pos = from < 0 ? 0 : from; lineLength - pos >= len;) {
    if (SjisMemICmp(line + pos, m_szEnd[pair], len) == 0) return pos + len;
    pos += SjisCharSize(bytes, lineLength, pos);
  }
  return lineLength;
}

const char* CCommentDelimiters::GetStart(int pair) const { return pair >= 0 && pair < kPairs ? m_szStart[pair] : ""; }
const char* CCommentDelimiters::GetEnd(int pair) const { return pair >= 0 && pair < kPairs ? m_szEnd[pair] : ""; }
int CCommentDelimiters::GetStartLength(int pair) const {
  return pair >= 0 && pair < kPairs ? UsableLength(m_nStartLength[pair]) : 0;
}
int CCommentDelimiters::GetEndLength(int pair) const {
  return pair >= 0 && pair < kPairs ? UsableLength(m_nEndLength[pair]) : 0;
}
