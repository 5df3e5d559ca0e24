// A file type's comment delimiters: up to three line-comment texts, each valid anywhere or only at
// one byte offset of the line, and two block-comment pairs. Both records live in the type settings
// of the shared settings, so their layout is fixed; letters match without regard to ASCII case.
#pragma once

#include <cstdint>

class CLineCommentSet {
 public:
  static constexpr int kCount = 3;
  static constexpr int kTextSize = 16;  // 15 bytes and the NUL

  CLineCommentSet();

  // A text of 1-15 bytes is kept with its column (negative: any column); any other text clears the
  // entry. An index outside 0-2 changes nothing.
  void Set(int index, const char* text, int column);
  // True when a delimiter that counts at this offset stands there, wholly before the line's end.
  bool MatchAt(int offset, int lineLength, const char* line) const;

  const char* GetText(int index) const;
  int GetColumn(int index) const;
  int GetLength(int index) const;

 private:
  char m_szText[kCount][kTextSize];
  int32_t m_nColumn[kCount];
  int32_t m_nLength[kCount];
};

class CCommentDelimiters {
 public:
  static constexpr int kPairs = 2;
  static constexpr int kTextSize = 16;

  CCommentDelimiters();

  // Each text of 1-15 bytes is kept; an empty or longer one is stored empty (each independently).
  void SetPair(int index, const char* start, const char* end);
  // True when the pair is complete and its start text stands at the offset.
  bool MatchStart(int pair, int offset, int lineLength, const char* line) const;
  // The offset just past the first end text at a character start from the given offset on; the
  // line length when the line holds none.
  int FindEnd(int pair, int from, int lineLength, const char* line) const;

  const char* GetStart(int pair) const;
  const char* GetEnd(int pair) const;
  int GetStartLength(int pair) const;
  int GetEndLength(int pair) const;

 private:
  char m_szStart[kPairs][kTextSize];
  char m_szEnd[kPairs][kTextSize];
  int32_t m_nStartLength[kPairs];
  int32_t m_nEndLength[kPairs];
};
