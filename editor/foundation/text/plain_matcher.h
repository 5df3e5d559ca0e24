// The plain matcher behind FindPlainText, set up once for a pattern so that a search over many lines
// pays for the setup once. Candidates are the places where the pattern's first and last bytes fit,
// found sixty-four at a time; only those at a character start are compared character by character.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class CDocLine;

class PlainMatcher {
 public:
  // The pattern and its size table (BuildCharSizeTable) must outlive the matcher; a null table is
  // worked out as the characters are compared.
  PlainMatcher(const char* pPattern, int nLen, const uint8_t* pnCharSizes, bool bCaseSensitive);

  // The first match in pText[0, nLen) at a character start at or after nStart, or -1. nStart is
  // taken as a character start.
  int Find(const char* pText, int nLen, int nStart) const;
  // The first match in the line or in the lines after it, from nStart in the first and from 0 in
  // the others: its column, with line and index moved on to its line; -1 with line null when none.
  int FindInLines(CDocLine*& line, int& index, int nStart) const;
  int Length() const { return m_nLen; }

 private:
  bool MatchesAt(const unsigned char* text, int len, int pos) const;
  // The first match among the candidates at + each bit of bits, in order; known is a character
  // start at or before them, moved on as they are looked at.
  int FirstOf(const unsigned char* text, int len, int& known, int at, uint64_t bits) const;
  int FindScalar(const unsigned char* text, int len, int& known, int start, int limit) const;
#if defined(__SSE2__)
  struct Vectors {
    __m128i firstMask, firstByte, lastMask, lastByte;
  };
  Vectors MakeVectors() const;
  template <bool kFold>
  int FindSse2(const unsigned char* text, int len, int start, const Vectors& v) const;
  template <bool kFold>
  int FindInBounds(const unsigned char* text, int len, int start, int limit, const Vectors& v) const;
  template <bool kFold>
  int FindInLinesSse2(CDocLine*& line, int& index, int col) const;
#endif

  const unsigned char* m_pPattern;
  int m_nLen;
  const uint8_t* m_pnSizes;
  bool m_bCaseSensitive;
  // A text byte b fits the pattern's first (last) byte when (b | mask) == byte; a mask is 0x20 only
  // for a one-byte letter whose case is ignored.
  unsigned char m_firstMask = 0;
  unsigned char m_firstByte = 0;
  unsigned char m_lastMask = 0;
  unsigned char m_lastByte = 0;
  bool m_bFold = false;
  bool m_bLastLoneLead = false;  // the pattern ends in a lead byte that is a character of its own
};
