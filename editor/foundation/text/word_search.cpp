#include "editor/foundation/text/word_search.h"

#include <new>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/plain_matcher.h"
#include "editor/foundation/text/sjis_char.h"

namespace {

const unsigned char* Bytes(const char* p) { return reinterpret_cast<const unsigned char*>(p); }

bool IsKana(int cls) { return cls == CharClass::kHiragana || cls == CharClass::kKatakana; }
bool IsBlank(int cls) { return cls == CharClass::kTab || cls == CharClass::kSpace; }

constexpr int SingleByteClassOf(unsigned c) {
  if (c == '\t') return CharClass::kTab;
  if (c == '\r') return CharClass::kCR;
  if (c == '\n') return CharClass::kLF;
  if (c == ' ') return CharClass::kSpace;
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
    return CharClass::kAsciiWord;
  }
  if (c >= 0xA1 && c <= 0xDF) return CharClass::kHalfWidth;
  return CharClass::kOtherSingle;
}

struct SingleByteClasses {
  uint8_t of[256];
  constexpr SingleByteClasses() : of() {
    for (unsigned c = 0; c < 256; ++c) of[c] = static_cast<uint8_t>(SingleByteClassOf(c));
  }
};
constexpr SingleByteClasses kSingleByteClasses;

int DoubleByteClass(unsigned code) {
  if (code >= 0x8800) return CharClass::kOtherDouble;  // kanji and the rest: most of a Japanese text
  if (code == 0x8140) return CharClass::kWideSpace;
  if (code == 0x815B) return CharClass::kLongVowel;
  if (code == 0x8151 || (code >= 0x824F && code <= 0x8258) || (code >= 0x8260 && code <= 0x8279) ||
      (code >= 0x8281 && code <= 0x829A)) {
    return CharClass::kWideAlnum;
  }
  if (code >= 0x8141 && code <= 0x81FD) return CharClass::kWideSymbol;
  if (code >= 0x829F && code <= 0x82F1) return CharClass::kHiragana;
  if (code >= 0x8340 && code <= 0x8396) return CharClass::kKatakana;
  if (code >= 0x839F && code <= 0x83D6) return CharClass::kGreek;
  if ((code >= 0x8440 && code <= 0x8460) || (code >= 0x8470 && code <= 0x8491)) return CharClass::kCyrillic;
  if (code >= 0x849F && code <= 0x879C) return CharClass::kSpecialSymbol;
  return CharClass::kOtherDouble;
}

bool IsLead(const char* text, int pos) { return IsSjisLeadByte(static_cast<unsigned char>(text[pos])); }


// The start of the character before pos, itself a character start.
int PrevCharStart(const char* text, int len, int pos) {
  if (pos <= 1 || !IsLead(text, pos - 2)) return pos - 1;
  return static_cast<int>(CMemory::PrevCharPos(text, len, text + pos) - text);
}

int CharSize(const char* text, int len, int pos) { return SjisCharSize(Bytes(text), len, pos); }

}  // namespace

int GetCharClass(const char* pText, int nLen, int nPos) {
  if (!pText || nPos < 0 || nPos >= nLen) return CharClass::kEnd;
  const unsigned char* p = Bytes(pText);
  if (SjisCharSize(p, nLen, nPos) == 2) return DoubleByteClass((p[nPos] << 8) | p[nPos + 1]);
  return kSingleByteClasses.of[p[nPos]];
}

int JoinCharClass(int nRunClass, int nClass) {
  if (nClass == nRunClass) return nRunClass;
  if (nRunClass == CharClass::kLongVowel && IsKana(nClass)) return nClass;
  if (nClass == CharClass::kLongVowel && IsKana(nRunClass)) return nRunClass;
  return -1;
}

bool GetWordRangeInText(const char* pText, int nLen, int nPos, int* pnStart, int* pnEnd, CMemory* pcmemWord,
                        CMemory* pcmemWordLeft) {
  if (!pText || nPos < 0 || nPos >= nLen) return false;
  const int pos = CMemory::CharStartAt(pText, nLen, nPos);
  const int cls = GetCharClass(pText, nLen, pos);
  if (cls == CharClass::kCR || cls == CharClass::kLF) return false;

  // Back to the start of the run, as a cut into runs from the text's start makes it: a long-vowel
  // mark after kana goes with that kana, so marks between katakana and hiragana end the katakana.
  int start = pos;
  while (start > 0) {
    const int prev = PrevCharStart(pText, nLen, start);
    const int prevClass = GetCharClass(pText, nLen, prev);
    const int here = GetCharClass(pText, nLen, start);
    if (prevClass == CharClass::kLongVowel && IsKana(here)) {
      int marks = prev;
      while (marks > 0 &&
             GetCharClass(pText, nLen, PrevCharStart(pText, nLen, marks)) == CharClass::kLongVowel) {
        marks = PrevCharStart(pText, nLen, marks);
      }
      if (marks > 0) {
        const int before = GetCharClass(pText, nLen, PrevCharStart(pText, nLen, marks));
        if (IsKana(before) && before != here) break;
      }
      start = marks;
      continue;
    }
    if (JoinCharClass(prevClass, here) < 0) break;
    start = prev;
  }

  int run = GetCharClass(pText, nLen, start);
  int end = start + CharSize(pText, nLen, start);
  while (end < nLen) {
    const int joined = JoinCharClass(run, GetCharClass(pText, nLen, end));
    if (joined < 0) break;
    run = joined;
    end += CharSize(pText, nLen, end);
  }

  if (pnStart) *pnStart = start;
  if (pnEnd) *pnEnd = end;
  if (pcmemWord) pcmemWord->Assign(pText + start, end - start);
  if (pcmemWordLeft) pcmemWordLeft->Assign(pText + start, pos - start);
  return true;
}

bool FindNextWordStartInText(const char* pText, int nLen, int nPos, int* pnNext, bool bStopAtBlanks) {
  if (!pText || nPos < 0 || nPos >= nLen) return false;
  const int pos = CMemory::CharStartAt(pText, nLen, nPos);
  int run = GetCharClass(pText, nLen, pos);
  int p = pos + CharSize(pText, nLen, pos);
  while (p < nLen) {
    const int cls = GetCharClass(pText, nLen, p);
    const int joined = JoinCharClass(run, cls);
    if (joined >= 0) {
      run = joined;
      p += CharSize(pText, nLen, p);
      continue;
    }
    if (IsBlank(cls) && !bStopAtBlanks) {
      while (p < nLen && IsBlank(GetCharClass(pText, nLen, p))) p += CharSize(pText, nLen, p);
      if (p >= nLen) return false;
    }
    if (pnNext) *pnNext = p;
    return true;
  }
  return false;
}

bool GetNextWordPosInText(const char* pText, int nLen, int nCol, int* pnColNew, bool bBackward, bool bStopAtBlanks) {
  if (!pText) nLen = 0;
  if (!bBackward) {
    if (nCol >= nLen) nCol = nLen - 1;
    if (nCol < 0) return false;
    nCol = CMemory::CharStartAt(pText, nLen, nCol);
    const int cls = GetCharClass(pText, nLen, nCol);
    if (cls == CharClass::kCR || cls == CharClass::kLF) return false;
    return FindNextWordStartInText(pText, nLen, nCol, pnColNew, bStopAtBlanks);
  }

  if (nCol > nLen) nCol = nLen - 1;
  if (nCol <= 0) return false;
  int pos = nCol < nLen ? CMemory::CharStartAt(pText, nLen, nCol) : nCol;
  int run = GetCharClass(pText, nLen, pos);
  bool stepped = false;
  while (pos > 0) {
    const int prev = PrevCharStart(pText, nLen, pos);
    const int cls = GetCharClass(pText, nLen, prev);
    const int joined = JoinCharClass(run, cls);
    if (joined >= 0) {
      run = joined;
    } else if (!stepped || (IsBlank(run) && !bStopAtBlanks)) {
      run = cls;
    } else {
      break;
    }
    pos = prev;
    stepped = true;
  }
  if (pnColNew) *pnColNew = pos;
  return true;
}

CharSizeTable::CharSizeTable(const char* pPattern, int nLen) : m_nLen(nLen > 0 && pPattern ? nLen : 0) {
  uint8_t* sizes = m_local;
  if (m_nLen > kInline) {
    m_pHeap.reset(new (std::nothrow) uint8_t[m_nLen]);
    sizes = m_pHeap.get();
    if (!sizes) return;
  }
  const unsigned char* p = Bytes(pPattern);
  for (int i = 0; i < m_nLen;) {
    const int size = SjisCharSize(p, m_nLen, i);
    for (int k = 0; k < size; ++k) sizes[i + k] = static_cast<uint8_t>(size);
    i += size;
  }
}

const char* FindPlainText(const char* pText, int nTextLen, int nStart, const char* pPattern, int nPatternLen,
                          const uint8_t* pnCharSizes, bool bCaseSensitive) {
  const PlainMatcher matcher(pPattern, nPatternLen, pnCharSizes, bCaseSensitive);
  const int found = matcher.Find(pText, nTextLen, nStart);
  return found < 0 ? nullptr : pText + found;
}
