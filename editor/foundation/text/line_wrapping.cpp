// How a document line is cut into display lines (tabs, double-width characters, words kept
// together, the Japanese line-head and line-end rules, hanging punctuation and line ends,
// continuation indents), the comment and string state each piece starts in, and the two ways of
// applying it: to the whole document, and to the lines an edit touched.
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

// Progress moves, and messages get through, once per this many document lines.
constexpr int kProgressLines = 1024;

// A continuation indent must leave at least this many cells of the width.
constexpr int kMinCellsAfterIndent = 6;

// Protected runs: characters that stay together on one display line.
enum RunKind : int { kNoRun = 0, kWordRun = 1, kHeadRun = 2, kTailRun = 3, kHangingRun = 4 };

// "#", "$", digits, "@", letters, "\\" and "_".
constexpr bool IsWordChar(unsigned char c) {
  return c == '#' || c == '$' || (c >= '0' && c <= '9') || c == '@' || (c >= 'A' && c <= 'Z') || c == '\\' ||
         c == '_' || (c >= 'a' && c <= 'z');
}

struct WordTable {
  bool word[256] = {};
  constexpr WordTable() {
    for (int c = 0; c < 256; ++c) word[c] = IsWordChar(static_cast<unsigned char>(c));
  }
};
constexpr WordTable kWordTable;

// True when the character (size 1 or 2) is an entry of the NUL-terminated run of entries of that
// size.
bool InList(const std::string& list, const char* pChar, int nSize) {
  if (nSize != 1 && nSize != 2) return false;
  const size_t n = list.size();
  for (size_t i = 0; i + nSize <= n; i += nSize) {
    if (std::memcmp(list.data() + i, pChar, nSize) == 0) return true;
  }
  return false;
}

// A character that starts at least this far from the width fits, and no rule looks at it (the
// line-head and line-end rules start 4 cells before the width).
constexpr int kQuietMargin = 4;

// Cells a tab takes from column x.
inline int TabCells(int x, int tab) { return tab - x % tab; }

}  // namespace

// ---- Settings ----------------------------------------------------------------------------------

bool CWrapLineMgr::IsFixedPunctuation(const char* pChar, int nSize) {
  static const char kOne[] = "\xA1\xA4,.";                         // ｡ ､ , .
  static const char kTwo[] = "\x81\x42\x81\x41\x81\x43\x81\x44";  // 。 、 ， ．
  if (nSize == 1) return pChar[0] != 0 && std::memchr(kOne, pChar[0], 4) != nullptr;
  if (nSize != 2) return false;
  for (int i = 0; i < 8; i += 2) {
    if (kTwo[i] == pChar[0] && kTwo[i + 1] == pChar[1]) return true;
  }
  return false;
}

bool CWrapLineMgr::InUserCharSetA(const char* pChar, int nSize) const {
  return InList(nSize == 1 ? m_strHead1 : m_strHead2, pChar, nSize);
}

bool CWrapLineMgr::InUserCharSetB(const char* pChar, int nSize) const {
  return InList(nSize == 1 ? m_strTail1 : m_strTail2, pChar, nSize);
}

bool CWrapLineMgr::InPunctuationSubset(const char* pChar, int nSize) const {
  return InList(nSize == 1 ? m_strKuto1 : m_strKuto2, pChar, nSize);
}

void CWrapLineMgr::RebuildCharLists(const char* pszHead, int nHeadSize, const char* pszTail, int nTailSize) {
  m_strHead1.clear();
  m_strHead2.clear();
  m_strTail1.clear();
  m_strTail2.clear();
  m_strKuto1.clear();
  m_strKuto2.clear();
  // The record's texts may lack their NUL: nothing past their field is read.
  const int headLen = static_cast<int>(strnlen(pszHead, nHeadSize));
  const auto* head = reinterpret_cast<const unsigned char*>(pszHead);
  for (int i = 0; i < headLen;) {
    const int size = SjisCharSize(head, headLen, i);
    const char* ch = pszHead + i;
    if (IsFixedPunctuation(ch, size)) {
      std::string& kuto = size == 1 ? m_strKuto1 : m_strKuto2;
      if (!InList(kuto, ch, size)) kuto.append(ch, size);
    } else {
      (size == 1 ? m_strHead1 : m_strHead2).append(ch, size);
    }
    i += size;
  }
  const int tailLen = static_cast<int>(strnlen(pszTail, nTailSize));
  const auto* tail = reinterpret_cast<const unsigned char*>(pszTail);
  for (int i = 0; i < tailLen;) {
    const int size = SjisCharSize(tail, tailLen, i);
    (size == 1 ? m_strTail1 : m_strTail2).append(pszTail + i, size);
    i += size;
  }
}

void CWrapLineMgr::RebuildByteClasses() {
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    m_byteClass[b] = static_cast<uint8_t>((c == '\t' ? kClassTab : 0) | (IsWordChar(c) ? kClassWord : 0) |
                                          (IsSjisLeadByte(c) ? kClassLead : 0) |
                                          (IsSjisTrailByte(c) ? kClassTrail : 0));
  }
  auto mark = [this](char c, uint8_t kind) {
    const auto b = static_cast<unsigned char>(c);
    const uint8_t bits = kClassTrigger | kind;
    m_byteClass[b] |= bits;
    // Delimiters match without regard to the case of ASCII letters.
    if (b >= 'a' && b <= 'z') m_byteClass[b - 'a' + 'A'] |= bits;
    if (b >= 'A' && b <= 'Z') m_byteClass[b - 'A' + 'a'] |= bits;
  };
  if (m_bColorComments) {
    for (int i = 0; i < CLineCommentSet::kCount; ++i) {
      if (m_cLineComments.GetLength(i) > 0) mark(m_cLineComments.GetText(i)[0], kClassLineComment);
    }
    for (int i = 0; i < CCommentDelimiters::kPairs; ++i) {
      if (m_cBlockComments.GetStartLength(i) > 0 && m_cBlockComments.GetEndLength(i) > 0) {
        mark(m_cBlockComments.GetStart(i)[0], kClassBlockComment);
      }
    }
  }
  if (m_bColorSingleQuotes) mark('\'', 0);
  if (m_bColorDoubleQuotes) mark('"', 0);
}

bool CWrapLineMgr::SetWrapSettings(bool bRewrap, CJobProgressBar* pBar, const TypeSettings& type) {
  // The record is shared memory any process may have written: only widths the arithmetic can carry
  // are taken (narrower ones than SetTabAndWrapWidth accepts still wrap soundly).
  m_nWrapWidth = std::clamp(type.nWrapColumn, 1, kMaxWrapWidth);
  m_bWordWrap = type.bEnglishWordWrap;
  m_nTabWidth = std::clamp(type.nTabWidth, kMinTabWidth, kMaxTabWidth);
  m_nQuoteEscape = type.nQuoteEscape;
  m_cLineComments = type.LineComments;
  m_cBlockComments = type.BlockComments;
  m_bColorComments = type.Colors[COLOR_LINE_COMMENT].bShow;
  m_bColorSingleQuotes = type.Colors[COLOR_SINGLE_QUOTE].bShow;
  m_bColorDoubleQuotes = type.Colors[COLOR_DOUBLE_QUOTE].bShow;
  m_bKinsokuHead = type.bKinsokuHead;
  m_bKinsokuTail = type.bKinsokuTail;
  m_bKinsokuRet = type.bKinsokuRet;
  m_bKinsokuKuto = type.bKinsokuKuto;
  switch (type.nIndentLayout) {
    case 1: m_pfnIndent = &CWrapLineMgr::IndentAfterTab; break;
    case 2: m_pfnIndent = &CWrapLineMgr::IndentAfterLeadingChars; break;
    default: m_pfnIndent = &CWrapLineMgr::IndentNone; break;
  }
  m_bIndentZenSpace = type.bAutoIndent_ZENSPACE;
  m_strIndentChars.assign(type.szIndentChars, strnlen(type.szIndentChars, sizeof type.szIndentChars));
  RebuildCharLists(type.szKinsokuHead, sizeof type.szKinsokuHead, type.szKinsokuTail, sizeof type.szKinsokuTail);
  RebuildByteClasses();
  return bRewrap ? RewrapAll(pBar) : true;
}

bool CWrapLineMgr::SetTabAndWrapWidth(CJobProgressBar* pBar, int nTabWidth, int nWrapWidth) {
  if (nTabWidth < kMinTabWidth || nTabWidth > kMaxTabWidth || nWrapWidth < kMinWrapWidth ||
      nWrapWidth > kMaxWrapWidth) {
    return false;
  }
  m_nTabWidth = nTabWidth;
  m_nWrapWidth = nWrapWidth;
  return RewrapAll(pBar);
}

// ---- Rules -------------------------------------------------------------------------------------

bool CWrapLineMgr::CheckBreakRule(int r, int a, int b) {
  return (r == 1 && a == 1) || (r == 2 && a == 2) || (r == 2 && a == 1 && b == 2) || (r == 3 && a == 2 && b == 2);
}

int CWrapLineMgr::FindQuoteEnd(char cQuote, int nFrom, int nLineLen, const char* pLine) const {
  if (!pLine || nLineLen <= 0) return nLineLen < 0 ? 0 : nLineLen;
  if (m_nQuoteEscape != 0 && m_nQuoteEscape != 1) return nLineLen;
  const auto* s = reinterpret_cast<const unsigned char*>(pLine);
  const auto q = static_cast<unsigned char>(cQuote);
  for (int pos = std::max(nFrom, 0); pos < nLineLen;) {
    const int size = SjisCharSize(s, nLineLen, pos);
    if (size == 2) {
      pos += 2;
      continue;
    }
    if (m_nQuoteEscape == 0 && s[pos] == '\\') {
      // The escaped character goes whole: a backslash before a double-byte character must not
      // leave its trail byte to be read as a quote.
      ++pos;
      if (pos < nLineLen) pos += SjisCharSize(s, nLineLen, pos);
      continue;
    }
    if (s[pos] == q) {
      if (m_nQuoteEscape == 1 && pos + 1 < nLineLen && s[pos + 1] == q) {
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    ++pos;
  }
  return nLineLen;
}

bool CWrapLineMgr::AdvanceColorState(int* pnState, int* pnEnd, int nOffset, int nLineLen, const char* pLine) const {
  switch (*pnState) {
    case COLOR_NORMAL: {
      const unsigned cls = nOffset < nLineLen ? m_byteClass[static_cast<unsigned char>(pLine[nOffset])] : 0;
      if (!(cls & kClassTrigger)) return false;
      if (m_bColorComments) {
        if ((cls & kClassLineComment) && m_cLineComments.MatchAt(nOffset, nLineLen, pLine)) {
          *pnState = COLOR_LINE_COMMENT;
          return false;
        }
        for (int pair = 0; pair < CCommentDelimiters::kPairs && (cls & kClassBlockComment); ++pair) {
          if (m_cBlockComments.MatchStart(pair, nOffset, nLineLen, pLine)) {
            *pnState = pair == 0 ? COLOR_BLOCK_COMMENT1 : COLOR_BLOCK_COMMENT2;
            *pnEnd = m_cBlockComments.FindEnd(pair, nOffset + m_cBlockComments.GetStartLength(pair), nLineLen, pLine);
            return false;
          }
        }
      }
      if (pLine[nOffset] == '\'' && m_bColorSingleQuotes) {
        *pnState = COLOR_SINGLE_QUOTE;
        *pnEnd = FindQuoteEnd('\'', nOffset + 1, nLineLen, pLine);
      } else if (pLine[nOffset] == '"' && m_bColorDoubleQuotes) {
        *pnState = COLOR_DOUBLE_QUOTE;
        *pnEnd = FindQuoteEnd('"', nOffset + 1, nLineLen, pLine);
      }
      return false;
    }
    case COLOR_SINGLE_QUOTE:
    case COLOR_DOUBLE_QUOTE:
    case COLOR_BLOCK_COMMENT1:
    case COLOR_BLOCK_COMMENT2:
      if (*pnEnd < 0) {
        // Opened on an earlier line: where it ends is looked for from this line's start.
        if (*pnState == COLOR_SINGLE_QUOTE || *pnState == COLOR_DOUBLE_QUOTE) {
          *pnEnd = FindQuoteEnd(*pnState == COLOR_SINGLE_QUOTE ? '\'' : '"', nOffset, nLineLen, pLine);
        } else {
          *pnEnd = m_cBlockComments.FindEnd(*pnState == COLOR_BLOCK_COMMENT1 ? 0 : 1, nOffset, nLineLen, pLine);
        }
        return false;
      }
      // An end that a character straddles (a delimiter ending in a lead byte) closes at the next
      // character rather than never.
      if (*pnEnd <= nOffset) {
        *pnState = COLOR_NORMAL;
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---- Indent rules ------------------------------------------------------------------------------

int CWrapLineMgr::IndentNone(const CWrapLine* /*pLine*/) const { return 0; }

int CWrapLineMgr::IndentAfterTab(const CWrapLine* pLine) const {
  if (pLine->m_nOffset != 0) return pLine->m_nIndent;
  const auto* s = reinterpret_cast<const unsigned char*>(pLine->GetText());
  const int len = pLine->m_nLength;
  int x = 0;
  int afterTab = 0;
  for (int pos = 0; pos < len;) {
    if (s[pos] == '\t') {
      x += TabCells(x, m_nTabWidth);
      afterTab = x;
      ++pos;
    } else {
      const int size = SjisCharSize(s, len, pos);
      x += size;
      pos += size;
    }
  }
  return m_nWrapWidth - afterTab < kMinCellsAfterIndent ? pLine->m_nIndent : afterTab;
}

int CWrapLineMgr::IndentAfterLeadingChars(const CWrapLine* pLine) const {
  if (pLine->m_nOffset != 0) return pLine->m_nIndent;
  const auto* s = reinterpret_cast<const unsigned char*>(pLine->GetText());
  const int len = pLine->m_nLength;
  const int listLen = static_cast<int>(m_strIndentChars.size());
  const auto* list = reinterpret_cast<const unsigned char*>(m_strIndentChars.data());
  int x = 0;
  for (int pos = 0; pos < len;) {
    const int size = SjisCharSize(s, len, pos);
    bool leading = false;
    if (size == 1 && (s[pos] == '\t' || s[pos] == ' ')) {
      leading = true;
    } else if (size == 2 && s[pos] == 0x81 && s[pos + 1] == 0x40 && m_bIndentZenSpace) {
      leading = true;
    } else {
      for (int i = 0; i < listLen && !leading;) {
        const int listSize = SjisCharSize(list, listLen, i);
        leading = listSize == size && std::memcmp(list + i, s + pos, size) == 0;
        i += listSize;
      }
    }
    if (!leading) return m_nWrapWidth - x < kMinCellsAfterIndent ? pLine->m_nIndent : x;
    x += s[pos] == '\t' ? TabCells(x, m_nTabWidth) : size;
    pos += size;
  }
  // Nothing but leading characters: no indent.
  return 0;
}

// ---- Cutting one line --------------------------------------------------------------------------

bool CWrapLineMgr::CharStartsAt(const unsigned char* s, int nFrom, int nPos) const {
  // After any byte that cannot lead, a character starts; from there the lead bytes (which can all
  // be trail bytes too) pair off, so only the count of those just before the byte matters.
  int j = nPos;
  while (j > nFrom && (m_byteClass[s[j - 1]] & kClassLead)) --j;
  return (nPos - j) % 2 == 0 || !(m_byteClass[s[nPos]] & kClassTrail);
}

template <class Emit>
void CWrapLineMgr::WrapDocLine(const CDocLine* pDocLine, int32_t& state, Emit&& emit) const {
  int n = 0;
  const char* text = pDocLine->GetText(&n);
  if (!text) n = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const int eolLen = std::min(pDocLine->m_cLineEnd.GetLen(), n);
  const int textLen = n - eolLen;
  // The text and the first byte of the line end are laid out; the line end counts as one
  // character.
  const int scanEnd = n - std::max(eolLen - 1, 0);
  const int eolPos = eolLen > 0 ? textLen : -1;
  const int W = m_nWrapWidth;
  const int T = m_nTabWidth;

  if (state == COLOR_LINE_COMMENT) state = COLOR_NORMAL;
  // A line that ends well short of the width and opens no comment or string is one piece: no rule
  // reaches it, and the steps below would only walk it to its end. Most lines of most files are
  // such, and an edit cuts its line again.
  if (state == COLOR_NORMAL && scanEnd > 0 && scanEnd <= W - kQuietMargin) {
    unsigned classes = 0;
    int i = 0;
    for (; i + 8 <= scanEnd; i += 8) {
      classes |= m_byteClass[s[i]] | m_byteClass[s[i + 1]] | m_byteClass[s[i + 2]] | m_byteClass[s[i + 3]] |
                 m_byteClass[s[i + 4]] | m_byteClass[s[i + 5]] | m_byteClass[s[i + 6]] | m_byteClass[s[i + 7]];
    }
    for (; i < scanEnd; ++i) classes |= m_byteClass[s[i]];
    // Every character but a tab takes as many cells as it has bytes; the line end takes one.
    const int cells = classes & kClassTab ? SjisCellOfByte(s, textLen, 0, T) + (scanEnd - textLen) : scanEnd;
    if (!(classes & kClassTrigger) && cells <= W - kQuietMargin) {
      emit(0, scanEnd, 0, state);
      return;
    }
  }
  int32_t end = -1;
  int c = 0;  // start of the open piece
  int x = 0;  // column reached
  int d = 0;  // indent of the open piece
  int runKind = kNoRun;
  int runEnd = 0;
  int32_t pieceState = state;

  auto sizeAt = [&](int p) { return p < textLen ? SjisCharSize(s, textLen, p) : 1; };
  auto cellsAt = [&](int p, int col) {
    return p < textLen && s[p] == '\t' ? TabCells(col, T) : sizeAt(p);
  };
  auto close = [&](int p) {
    const CWrapLine* made = emit(c, p - c, d, pieceState);
    pieceState = state;
    d = (this->*m_pfnIndent)(made);
    x = d;
    c = p;
  };

  for (int p = 0; p < scanEnd;) {
    // Far from the width no rule can apply and every character fits: characters that are no tab
    // and open no comment or string only move the column. The stretch stops where a protected
    // run or an open string or comment ends, for the full steps to see that offset.
    if (x <= W - kQuietMargin && (state == COLOR_NORMAL || state == COLOR_LINE_COMMENT || end >= 0)) {
      // Offsets the full steps must see: the end of the text, of a protected run, of an open
      // string or comment (all at character starts).
      int hardLimit = textLen;
      if (runKind != kNoRun) hardLimit = std::min(hardLimit, runEnd);
      if (state != COLOR_NORMAL && state != COLOR_LINE_COMMENT) hardLimit = std::min(hardLimit, end);
      // Quiet characters take as many cells as bytes, so the last quiet column is a byte limit.
      const int limit = std::min(hardLimit, p + (W - kQuietMargin - x) + 1);
      const unsigned stop = kClassTab | (state == COLOR_NORMAL ? kClassTrigger : 0);
      // Only the bytes that may stop the stretch are looked for; whether one starts a character
      // is asked only when it could be a trail byte.
      const int from = p;
      int i = p;
      for (;;) {
        while (i + 8 <= limit && !((m_byteClass[s[i]] | m_byteClass[s[i + 1]] | m_byteClass[s[i + 2]] |
                                     m_byteClass[s[i + 3]] | m_byteClass[s[i + 4]] | m_byteClass[s[i + 5]] |
                                     m_byteClass[s[i + 6]] | m_byteClass[s[i + 7]]) &
                                    stop)) {
          i += 8;
        }
        while (i < limit && !(m_byteClass[s[i]] & stop)) ++i;
        if (i >= limit || !(m_byteClass[s[i]] & kClassTrail) || CharStartsAt(s, from, i)) break;
        ++i;
      }
      // A character that starts at the last quiet column goes whole.
      if (i >= limit) {
        i = limit;
        if (i > from && !CharStartsAt(s, from, i)) ++i;
      }
      if (runKind == kNoRun && m_bWordWrap && i > from && kWordTable.word[s[i - 1]] && CharStartsAt(s, from, i - 1)) {
        if (kWordTable.word[s[i]]) {
          // A word that goes on past the stretch is for the word rule to place, from its start.
          while (i - 1 > from && kWordTable.word[s[i - 2]] && CharStartsAt(s, from, i - 2)) --i;
          --i;
        } else if (x + (i - from) > W - kQuietMargin) {
          // Where a word ends near the width, the rules stay off.
          runKind = kWordRun;
          runEnd = i;
        }
      }
      x += i - from;
      p = i;
      if (p >= scanEnd) break;
    }

    const int k = sizeAt(p);
    if (runKind != kNoRun) {
      if (p >= runEnd) {
        // A break right after hanging punctuation, unless a line end hangs after it too.
        if (runKind == kHangingRun && p == runEnd && !(m_bKinsokuRet && p == eolPos)) close(p);
        runKind = kNoRun;
      }
    } else {
      const int left = W - x;
      if (m_bWordWrap && k == 1 && kWordTable.word[s[p]]) {
        int e = p + 1;
        while (e < textLen && kWordTable.word[s[e]]) ++e;
        runKind = kWordRun;
        runEnd = e;
        if (x + (e - p) >= W && p > c) close(p);
      }
      if (runKind == kNoRun && m_bKinsokuKuto && left < 2 && left < k && InPunctuationSubset(text + p, k)) {
        runKind = kHangingRun;
        runEnd = p + k;
      }
      if (runKind == kNoRun && left < 4 && d < x && (m_bKinsokuHead || m_bKinsokuTail)) {
        // The break test needs the character after this one; at the very end there is none, and
        // nothing to keep together.
        const int next = p + k;
        if (next < scanEnd && CheckBreakRule(left, cellsAt(p, x), cellsAt(next, x + cellsAt(p, x)))) {
          const int nextSize = sizeAt(next);
          if (m_bKinsokuHead && InUserCharSetA(text + next, nextSize) && !InUserCharSetA(text + p, k) &&
              !InPunctuationSubset(text + p, k)) {
            close(p);
            runKind = kHeadRun;
            runEnd = next + nextSize;
          } else if (m_bKinsokuTail && InUserCharSetB(text + p, k)) {
            close(p);
            runKind = kTailRun;
            runEnd = p + k;
          }
        }
      }
    }
    // Only a trigger byte can open anything, and only the end found can close it.
    if (state == COLOR_NORMAL ? (m_byteClass[s[p]] & kClassTrigger) != 0
                              : state != COLOR_LINE_COMMENT && (end < 0 || end <= p)) {
      while (AdvanceColorState(&state, &end, p, n, text)) {
      }
    }
    if (p < textLen && s[p] == '\t') {
      // A tab that does not fit opens the next display line, unless that is where it stands
      // already: an indent near the width would otherwise leave it no line at all.
      if (x + TabCells(x, T) > W && p > c) close(p);
      x += TabCells(x, T);
      ++p;
    } else {
      const bool fits = x + k <= W || runKind == kHangingRun || (m_bKinsokuRet && p == eolPos);
      if (!fits && p > c) close(p);
      x += k;
      p += k;
    }
  }
  if (scanEnd > c) emit(c, scanEnd - c, d, pieceState);
  if (state == COLOR_LINE_COMMENT) state = COLOR_NORMAL;
}

// ---- Whole document and touched lines ----------------------------------------------------------

bool CWrapLineMgr::RewrapAll(CJobProgressBar* pBar) {
  if (pBar) {
    pBar->SetRange(0, 100);
    pBar->SetPos(0);
    if (!PumpJobMessages()) return false;
  }
  FreeAllLines();
  ResetList();
  if (m_nTabWidth >= m_nWrapWidth) m_nTabWidth = 4;
  int32_t state = COLOR_NORMAL;
  if (m_pDocLineMgr) {
    const int count = m_pDocLineMgr->GetLineCount();
    int done = 0;
    for (CDocLine* line = m_pDocLineMgr->GetFirstLine(); line; line = line->m_pNext) {
      WrapDocLine(line, state, [this, line](int offset, int length, int indent, int32_t st) -> const CWrapLine* {
        CWrapLine* piece = CreateLine(line, offset, length, st, indent);
        LinkAfter(m_pLast, piece);
        return piece;
      });
      ++done;
      if (pBar && done % kProgressLines == 0) {
        pBar->SetPos(static_cast<int>(static_cast<int64_t>(done) * 100 / count));
        if (!PumpJobMessages()) {
          m_nEndColorState = state;
          return false;
        }
      }
    }
  }
  ClearCache();
  m_nEndColorState = state;
  if (!pBar) return true;
  pBar->SetPos(0);
  return PumpJobMessages();
}

int CWrapLineMgr::RewrapRange(CWrapLine* pAfter, int nAfterIndex, int nFirstDocLine, int nDocLines, int nEditLine,
                              int nEditCol, int nColorState, int* pnUpdated) {
  if (pnUpdated) *pnUpdated = 0;
  if (!m_pDocLineMgr) return 0;
  // Pieces are about to appear after pAfter: a cursor beyond it would lose its index.
  if (m_pCache && m_nCacheIndex > nAfterIndex) ClearCache();
  CDocLine* line = m_pDocLineMgr->GetLine(nFirstDocLine);
  int32_t state = nColorState;
  int docLine = nFirstDocLine;
  CWrapLine* at = pAfter;
  int createdAfter = 0;
  for (int i = 0; i < nDocLines && line; ++i, line = line->m_pNext, ++docLine) {
    WrapDocLine(line, state, [&](int offset, int length, int indent, int32_t st) -> const CWrapLine* {
      CWrapLine* piece = CreateLine(line, offset, length, st, indent);
      LinkAfter(at, piece);
      at = piece;
      if (docLine > nEditLine || (docLine == nEditLine && offset + length > nEditCol)) ++createdAfter;
      return piece;
    });
  }

  const int updated = CarryColorState(line, at, state);
  if (pnUpdated) *pnUpdated = updated;
  return createdAfter;
}

int CWrapLineMgr::CarryColorState(CDocLine* line, CWrapLine* at, int32_t state) {
  // The lines after keep their pieces; only the colour state each piece starts in may have
  // changed, and only until a line starts in the state its pieces recorded.
  int updated = 0;
  CWrapLine* next = at ? at->m_pNext : m_pFirst;
  struct Cut {
    int offset, length, indent;
    int32_t state;
  };
  std::vector<Cut> cuts;
  for (; line && next; line = line->m_pNext) {
    const int32_t lineState = state == COLOR_LINE_COMMENT ? COLOR_NORMAL : state;
    if (next->m_nColorState == lineState) break;
    cuts.clear();
    CWrapLine probe;
    probe.m_pDocLine = line;
    WrapDocLine(line, state, [&](int offset, int length, int indent, int32_t st) -> const CWrapLine* {
      cuts.push_back({offset, length, indent, st});
      probe.m_nOffset = offset;
      probe.m_nLength = length;
      probe.m_nIndent = indent;
      return &probe;
    });
    // The pieces the line has now: they were cut under the same settings, so they agree with the
    // cuts; should they not, the line is cut again here.
    CWrapLine* piece = next;
    size_t matched = 0;
    for (CWrapLine* p = next; p && p->m_pDocLine == line && matched < cuts.size(); p = p->m_pNext, ++matched) {
      const Cut& cut = cuts[matched];
      if (p->m_nOffset != cut.offset || p->m_nLength != cut.length || p->m_nIndent != cut.indent) break;
    }
    int have = 0;
    for (CWrapLine* p = next; p && p->m_pDocLine == line; p = p->m_pNext) ++have;
    if (matched == cuts.size() && have == static_cast<int>(cuts.size())) {
      for (const Cut& cut : cuts) {
        piece->m_nColorState = cut.state;
        at = piece;
        piece = piece->m_pNext;
        ++updated;
      }
    } else {
      for (int i = 0; i < have; ++i) piece = RemoveLine(piece);
      for (const Cut& cut : cuts) {
        CWrapLine* made = CreateLine(line, cut.offset, cut.length, cut.state, cut.indent);
        LinkAfter(at, made);
        at = made;
        ++updated;
      }
    }
    next = at ? at->m_pNext : m_pFirst;
  }
  // Lines without pieces at the end of the text still carry the state to its end.
  if (!next) {
    for (; line; line = line->m_pNext) {
      WrapDocLine(line, state, [&](int offset, int length, int indent, int32_t st) -> const CWrapLine* {
        CWrapLine* made = CreateLine(line, offset, length, st, indent);
        LinkAfter(at, made);
        at = made;
        ++updated;
        return made;
      });
    }
  }
  if (!line) m_nEndColorState = state == COLOR_LINE_COMMENT ? COLOR_NORMAL : state;
  return updated;
}

bool CWrapLineMgr::RecutInPlace(const EditAnchor& anchor, CDocLine* pDocLine, int nEditCol, int* pnRemovedAfter,
                                int* pnCreatedAfter) {
  CWrapLine* first = anchor.pAfter ? anchor.pAfter->m_pNext : m_pFirst;
  if (!pDocLine || !first || first->m_pDocLine != pDocLine) return false;
  struct Cut {
    int offset, length, indent;
    int32_t state;
  };
  // A line wider than a few pieces is cut again the long way.
  constexpr int kMostPieces = 4;
  Cut cuts[kMostPieces];
  int made = 0;
  int32_t state = anchor.nState;
  CWrapLine probe;
  probe.m_pDocLine = pDocLine;
  WrapDocLine(pDocLine, state, [&](int offset, int length, int indent, int32_t st) -> const CWrapLine* {
    if (made < kMostPieces) cuts[made] = Cut{offset, length, indent, st};
    ++made;
    probe.m_nOffset = offset;
    probe.m_nLength = length;
    probe.m_nIndent = indent;
    return &probe;
  });
  int have = 0;
  for (const CWrapLine* p = first; p && p->m_pDocLine == pDocLine && have <= made; p = p->m_pNext) ++have;
  if (made > kMostPieces || have != made) return false;

  // As many pieces as before: they take the new cuts where they stand.
  const int textLength = pDocLine->GetLengthWithoutEol();
  int removedAfter = 0;
  int createdAfter = 0;
  CWrapLine* piece = first;
  CWrapLine* at = first;
  for (int i = 0; i < made; ++i, piece = piece->m_pNext) {
    const Cut& cut = cuts[i];
    if (piece->m_nOffset > nEditCol) ++removedAfter;
    if (cut.offset + cut.length > nEditCol) ++createdAfter;
    piece->m_nOffset = cut.offset;
    piece->m_nLength = cut.length;
    piece->m_nIndent = cut.indent;
    piece->m_nColorState = cut.state;
    piece->m_cLineEnd = cut.offset + cut.length > textLength ? pDocLine->m_cLineEnd : CLineEnd();
    at = piece;
  }
  // Where the pieces' removal and cutting again would have left the cursor.
  SetCache(anchor.pAfter, anchor.nAfterIndex, anchor.nAfterDoc);
  CarryColorState(pDocLine->m_pNext, at, state);
  if (pnRemovedAfter) *pnRemovedAfter = removedAfter;
  if (pnCreatedAfter) *pnCreatedAfter = createdAfter;
  return true;
}
