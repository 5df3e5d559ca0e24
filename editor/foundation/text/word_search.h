// Words and plain search over Shift-JIS text: the class of a character, the words built from runs of
// one class, and the plain matcher, which finds a pattern only where the text's characters line up
// with the pattern's. The document lines' search (CDocLineMgr::FindText) runs on these.
#pragma once

#include <cstdint>
#include <memory>

class CMemory;

// The class of a character: one-byte characters by their byte, double-byte ones by their code.
namespace CharClass {
enum : int {
  kEnd = 0,             // at or past the end of the text
  kTab = 1,
  kCR = 2,
  kLF = 3,
  kSpace = 4,
  kAsciiWord = 5,       // ASCII letters and digits, "_"
  kHalfWidth = 6,       // half-width katakana and punctuation 0xA1-0xDF
  kOtherSingle = 7,     // any other one-byte character
  kWideSpace = 12,      // 0x8140
  kLongVowel = 13,      // 0x815B
  kWideAlnum = 14,      // full-width letters and digits, full-width low line
  kWideSymbol = 15,     // other symbols 0x8141-0x81FD
  kHiragana = 16,
  kKatakana = 17,
  kGreek = 18,
  kCyrillic = 19,
  kSpecialSymbol = 20,  // line drawing and special symbols 0x849F-0x879C
  kOtherDouble = 21,    // kanji and the rest
};
}  // namespace CharClass

int GetCharClass(const char* pText, int nLen, int nPos);

// The class a run of class nRunClass has after the character of class nClass joins it, or -1 when
// that character starts a new run. Equal classes join; a long-vowel mark joins kana on either side,
// and the run then goes on as kana.
int JoinCharClass(int nRunClass, int nClass);

// The word around a position: the run of joined characters that holds it, the text cut into runs
// from its start. False at or past the end and on CR or LF. The optional texts get the word and the
// part of it left of the position. A position on a trail byte means its character.
bool GetWordRangeInText(const char* pText, int nLen, int nPos, int* pnStart, int* pnEnd, CMemory* pcmemWord,
                        CMemory* pcmemWordLeft);

// The start of the next word after the run that begins at nPos. Blanks (tab and space) after the run
// are the result with bStopAtBlanks; without it they are passed over. False when the text ends first.
bool FindNextWordStartInText(const char* pText, int nLen, int nPos, int* pnNext, bool bStopAtBlanks);

// The next (or, backward, the previous) word start from a column of a line's full text: what
// CDocLineMgr::GetNextWordPos gives on a document line.
bool GetNextWordPosInText(const char* pText, int nLen, int nCol, int* pnColNew, bool bBackward, bool bStopAtBlanks);

// For every byte of a pattern, the size (1 or 2) of the character it belongs to. Short patterns keep
// their table inside; Get() is null when a long pattern's table could not be allocated.
class CharSizeTable {
 public:
  CharSizeTable(const char* pPattern, int nLen);
  const uint8_t* Get() const { return m_pHeap ? m_pHeap.get() : m_nLen <= kInline ? m_local : nullptr; }

 private:
  static constexpr int kInline = 64;
  int m_nLen = 0;
  uint8_t m_local[kInline];  // only the pattern's part is written
  std::unique_ptr<uint8_t[]> m_pHeap;
};
inline CharSizeTable BuildCharSizeTable(const char* pPattern, int nLen) { return CharSizeTable(pPattern, nLen); }

// The first match of the pattern in pText[0, nTextLen) that starts at a character start at or after
// nStart (itself taken as a character start), or null. Characters match when they have the same
// size and the same bytes; with bCaseSensitive false a one-byte ASCII letter also matches its other
// case. pnCharSizes is the pattern's BuildCharSizeTable, or null to work it out here.
const char* FindPlainText(const char* pText, int nTextLen, int nStart, const char* pPattern, int nPatternLen,
                          const uint8_t* pnCharSizes, bool bCaseSensitive);
