// Words and search on the document lines. A line is searched in its full text, line end included.
#include <cstring>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/plain_matcher.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/text/word_search.h"

namespace {

struct LineText {
  const char* text = nullptr;
  int len = 0;
};

LineText TextOf(const CDocLine* line) {
  LineText t;
  t.text = line->GetText(&t.len);
  if (!t.text) t.text = "";
  return t;
}

// A column on a trail byte means its character's start.
int SnapToCharStart(const CDocLine* line, int col) {
  const LineText t = TextOf(line);
  return CMemory::CharStartAt(t.text, t.len, col);
}

int CharSizeAt(const LineText& t, int pos) {
  return SjisCharSize(reinterpret_cast<const unsigned char*>(t.text), t.len, pos);
}

bool IsBlankClass(int cls) { return cls == CharClass::kTab || cls == CharClass::kSpace; }

bool SameWord(const char* word, const char* pattern, int len, bool caseSensitive) {
  return caseSensitive ? std::memcmp(word, pattern, len) == 0 : SjisMemICmp(word, pattern, len) == 0;
}

// Whether the word at col of the line is the pattern; its range when it is.
bool WordIsPattern(const LineText& t, int col, const char* pattern, int patternLen, bool caseSensitive, int* start,
                   int* end) {
  int s = 0, e = 0;
  if (!GetWordRangeInText(t.text, t.len, col, &s, &e, nullptr, nullptr)) return false;
  if (e - s != patternLen || !SameWord(t.text + s, pattern, patternLen, caseSensitive)) return false;
  *start = s;
  *end = e;
  return true;
}

// The first word of the line from col that is the pattern: the word at col, then the word at each
// next word start. Every next word start begins a run of the line's cut into runs (a blank run is
// passed over), so from the first of them on, one scan of each run gives both the word and the
// next start.
bool FindWordForward(const LineText& t, int col, const char* pattern, int patternLen, bool caseSensitive, int* start,
                     int* end) {
  if (WordIsPattern(t, col, pattern, patternLen, caseSensitive, start, end)) return true;
  int p = 0;
  if (!GetNextWordPosInText(t.text, t.len, col, &p, false, false)) return false;
  while (p < t.len) {
    const int cls = GetCharClass(t.text, t.len, p);
    if (cls == CharClass::kCR || cls == CharClass::kLF) return false;
    int run = cls;
    int e = p + CharSizeAt(t, p);
    for (int joined; e < t.len && (joined = JoinCharClass(run, GetCharClass(t.text, t.len, e))) >= 0;) {
      run = joined;
      e += CharSizeAt(t, e);
    }
    if (e - p == patternLen && SameWord(t.text + p, pattern, patternLen, caseSensitive)) {
      *start = p;
      *end = e;
      return true;
    }
    while (e < t.len && IsBlankClass(GetCharClass(t.text, t.len, e))) e += CharSizeAt(t, e);
    p = e;
  }
  return false;
}

// Every match of the engine in the line from column 0, each search starting where the one before
// ended (after an empty match one character further, which is then that match's end), the last
// that starts before limit.
bool LastRegexpMatchBefore(CRegexpDll& regexp, const LineText& t, int limit, int* start, int* end) {
  bool found = false;
  int pos = 0;
  while (pos <= t.len && regexp.Match(t.text, t.len, pos)) {
    const BREGEXP* rx = regexp.GetResult();
    const int s = static_cast<int>(rx->startp[0] - t.text);
    int e = static_cast<int>(rx->endp[0] - t.text);
    if (s >= limit) break;
    const bool empty = e == s;
    if (empty && s < t.len) e = s + SjisCharSize(reinterpret_cast<const unsigned char*>(t.text), t.len, s);
    *start = s;
    *end = e;
    found = true;
    if (empty && s >= t.len) break;
    pos = e;
  }
  return found;
}

// The plain matcher of one call. Matching with case compares bytes and needs no character sizes
// beyond the pattern's last (PlainMatcher); ignoring case, the sizes are worked out once.
struct PlainSearch {
  PlainSearch(const char* pattern, int len, bool caseSensitive)
      : sizes(BuildCharSizeTable(pattern, caseSensitive ? 0 : len)),
        matcher(pattern, len, caseSensitive ? nullptr : sizes.Get(), caseSensitive) {}
  const CharSizeTable sizes;
  const PlainMatcher matcher;
};

}  // namespace

bool CDocLineMgr::GetWordRange(int nLine, int nCol, int* pnStart, int* pnEnd, CMemory* pcmemWord,
                               CMemory* pcmemWordLeft) {
  CDocLine* line = GetLine(nLine);
  if (!line) return false;
  const LineText t = TextOf(line);
  return GetWordRangeInText(t.text, t.len, nCol, pnStart, pnEnd, pcmemWord, pcmemWordLeft);
}

bool CDocLineMgr::GetNextWordPos(int nLine, int nCol, int* pnColNew, bool bBackward, bool bStopAtBlanks) {
  CDocLine* line = GetLine(nLine);
  if (!line) return false;
  const LineText t = TextOf(line);
  return GetNextWordPosInText(t.text, t.len, nCol, pnColNew, bBackward, bStopAtBlanks);
}

bool CDocLineMgr::FindText(int nLine, int nCol, const char* pszPattern, bool bForward, bool bRegexp,
                           bool bCaseSensitive, bool bWholeWord, int* pnLineFound, int* pnColFrom, int* pnColTo,
                           CRegexpDll* pRegexp) {
  CDocLine* line = GetLine(nLine);
  if (!line) return false;
  if (nCol < 0) nCol = 0;
  const int patternLen = pszPattern ? static_cast<int>(std::strlen(pszPattern)) : 0;
  if (bRegexp ? !pRegexp || !pRegexp->IsAvailable() : patternLen == 0) return false;

  int n = nLine;
  int start = 0, end = 0;
  bool found = false;
  if (bRegexp) {
    if (bForward) {
      for (int col = nCol; line; line = line->m_pNext, ++n, col = 0) {
        const LineText t = TextOf(line);
        if (col > line->GetLengthWithoutEol() || !pRegexp->Match(t.text, t.len, col)) continue;
        const BREGEXP* rx = pRegexp->GetResult();
        start = static_cast<int>(rx->startp[0] - t.text);
        end = static_cast<int>(rx->endp[0] - t.text);
        found = true;
        break;
      }
    } else {
      for (int limit = nCol; line; line = line->m_pPrev, --n, limit = INT32_MAX) {
        if ((found = LastRegexpMatchBefore(*pRegexp, TextOf(line), limit, &start, &end))) break;
      }
    }
    // A match in the line end is reported at the line end's start.
    if (found && start > line->GetLengthWithoutEol()) start = line->GetLengthWithoutEol();
  } else if (bWholeWord) {
    // A word equal to the pattern is a plain match too, so the words are walked only in lines that
    // hold one (forward, the first line always: its word at the column may start before it).
    const PlainSearch search(pszPattern, patternLen, bCaseSensitive);
    if (bForward) {
      for (int col = SnapToCharStart(line, nCol); line; line = line->m_pNext, ++n, col = 0) {
        if (n != nLine && search.matcher.FindInLines(line, n, 0) < 0) break;
        if ((found = FindWordForward(TextOf(line), col, pszPattern, patternLen, bCaseSensitive, &start, &end))) break;
      }
    } else {
      for (int col = nCol; line; line = line->m_pPrev, --n, col = line ? line->GetLengthWithoutEol() : 0) {
        const LineText t = TextOf(line);
        if (search.matcher.Find(t.text, t.len, 0) < 0) continue;
        while (!found && GetNextWordPosInText(t.text, t.len, col, &col, true, false)) {
          found = WordIsPattern(t, col, pszPattern, patternLen, bCaseSensitive, &start, &end);
        }
        if (found) break;
      }
    }
  } else {
    const PlainSearch search(pszPattern, patternLen, bCaseSensitive);
    const PlainMatcher& matcher = search.matcher;
    if (bForward) {
      start = matcher.FindInLines(line, n, SnapToCharStart(line, nCol));
      found = start >= 0;
    } else {
      // Each line is read forward, and the last match that starts before the limit is kept; a
      // match is looked for again only after the one before it.
      for (int limit = nCol; line; line = line->m_pPrev, --n, limit = INT32_MAX) {
        const LineText t = TextOf(line);
        for (int pos = 0, s; (s = matcher.Find(t.text, t.len, pos)) >= 0 && s < limit; pos = s + patternLen) {
          start = s;
          found = true;
        }
        if (found) break;
      }
    }
    end = start + patternLen;
  }
  if (!found) return false;
  // The next search starts where this one ended: keep the cursor there.
  SetCursorAt(line, n);
  if (pnLineFound) *pnLineFound = n;
  if (pnColFrom) *pnColFrom = start;
  if (pnColTo) *pnColTo = end;
  return true;
}

void CDocLineMgr::BookmarkMatchingLines(const char* pszPattern, bool bRegexp, bool bCaseSensitive, bool bWholeWord,
                                        CRegexpDll* pRegexp) {
  const int patternLen = pszPattern ? static_cast<int>(std::strlen(pszPattern)) : 0;
  if (bRegexp ? !pRegexp || !pRegexp->IsAvailable() : patternLen == 0) return;
  const PlainSearch search(pszPattern, patternLen, bCaseSensitive);
  for (CDocLine* line = m_pHead; line; line = line->m_pNext) {
    if (line->IsBookmarked()) continue;
    const LineText t = TextOf(line);
    int start = 0, end = 0;
    const bool match = bRegexp ? pRegexp->Match(t.text, t.len, 0)
                               : search.matcher.Find(t.text, t.len, 0) >= 0 &&
                                     (!bWholeWord ||
                                      FindWordForward(t, 0, pszPattern, patternLen, bCaseSensitive, &start, &end));
    if (match) line->SetBookmark(true);
  }
}
