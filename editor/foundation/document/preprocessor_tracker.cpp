#include "editor/foundation/document/preprocessor_tracker.h"

#include <cstring>

#include "editor/foundation/document/outline_parsers.h"

namespace {

bool IsScanBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int SkipScanBlanks(const char* p, int len, int pos) {
  while (pos < len && IsScanBlank(p[pos])) ++pos;
  return pos;
}

// The directive word at pos is name, followed by something other than a letter, digit or "_".
bool IsDirective(const char* p, int len, int pos, const char* name) {
  const int n = static_cast<int>(std::strlen(name));
  if (len - pos < n || std::memcmp(p + pos, name, static_cast<size_t>(n)) != 0) return false;
  if (pos + n == len) return true;
  const unsigned char c = static_cast<unsigned char>(p[pos + n]);
  return !((c | 0x20) >= 'a' && (c | 0x20) <= 'z') && !(c >= '0' && c <= '9') && c != '_';
}

}  // namespace

int CPreprocessorTracker::ScanLine(const char* pText, int nLen) {
  if (m_bContinuation) {
    m_bContinuation = EndsWithLineContinuation(pText, nLen);
    return -1;
  }
  const int start = SkipScanBlanks(pText, nLen, 0);
  if (start >= nLen || pText[start] != '#') return m_nDisabledMask != 0 ? -1 : start;

  m_bContinuation = EndsWithLineContinuation(pText, nLen);
  const int word = SkipScanBlanks(pText, nLen, start + 1);
  const bool isIf = word + 2 < nLen && std::memcmp(pText + word, "if", 2) == 0 && (pText[word + 2] == ' ' || pText[word + 2] == '\t');
  if (isIf || IsDirective(pText, nLen, word, "ifdef") || IsDirective(pText, nLen, word, "ifndef")) {
    const bool disabled = isIf && [&] {
      const int value = SkipScanBlanks(pText, nLen, word + 2);
      return value < nLen && pText[value] == '0';
    }();
    // A level past the maximum owns no bit: its branches are read, and the bits of the levels
    // around it stay theirs.
    m_nCurrentBit = m_nDepth < kMaxDepth ? 1u << m_nDepth : 0u;
    ++m_nDepth;
    if (disabled) m_nDisabledMask |= m_nCurrentBit;
  } else if (IsDirective(pText, nLen, word, "else")) {
    if (m_nDepth > 0) m_nDisabledMask ^= m_nCurrentBit;
  } else if (IsDirective(pText, nLen, word, "endif")) {
    if (m_nDepth > 0) {
      m_nDisabledMask &= ~m_nCurrentBit;
      --m_nDepth;
      m_nCurrentBit = m_nDepth > 0 && m_nDepth <= kMaxDepth ? 1u << (m_nDepth - 1) : 0u;
    }
  }
  return -1;
}
