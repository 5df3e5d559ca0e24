// The matchers of grep, over Shift-JIS text and without a window.
//
// GrepLineMatcher finds the hits of one line in the three modes (regular expression, whole word,
// plain text with or without case). GrepBlockSearch is the plain search over a
// block of whole lines of a file (case-insensitive for ASCII letters when asked): it finds the
// key over the whole block (as memmem does, by its first and last bytes sixteen places at a time)
// and works out the hit's line (line ends counted as the file reader splits lines) and its
// character alignment from the line's start only for hits, so lines without a hit cost nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/text/plain_matcher.h"
#include "editor/foundation/text/word_search.h"

class CRegexpDll;

struct GrepHit {
  int offset = 0;  // from the line's start
  int length = 0;
  bool operator==(const GrepHit&) const = default;
};

class GrepLineMatcher {
 public:
  // regexp: an engine holding the compiled key (not owned), or null for the other modes.
  // bOutputLine: a line yields its first hit only (whole words excepted: every word is a hit).
  GrepLineMatcher(std::string_view key, CRegexpDll* regexp, bool bCaseSensitive, bool bWordOnly, bool bOutputLine);

  // The hits of a line: text holds the line with its line end, textLen bytes of it before the line
  // end. hits is emptied first.
  void FindHits(const char* text, int lenWithEol, int textLen, std::vector<GrepHit>& hits) const;

 private:
  void FindRegexp(const char* text, int lenWithEol, int textLen, std::vector<GrepHit>& hits) const;
  void FindWords(const char* text, int textLen, std::vector<GrepHit>& hits) const;
  void FindPlain(const char* text, int textLen, std::vector<GrepHit>& hits) const;

  std::string m_key;
  CRegexpDll* m_pRegexp;
  bool m_bCaseSensitive;
  bool m_bWordOnly;
  bool m_bOutputLine;
  CharSizeTable m_sizes;
  PlainMatcher m_plain;
};

// A hit found by GrepBlockSearch.
struct GrepBlockHit {
  int64_t line = 0;        // lines before the hit's line, counted from the block's start
  int64_t lineStart = 0;   // the hit's line in the block
  int lineLength = 0;      // without its line end
  int offset = 0;          // of the hit from the line's start
};

class GrepBlockSearch {
 public:
  GrepBlockSearch(std::string_view key, bool bOutputLine, bool bCaseSensitive = true);

  // Whether a key can be searched so: not empty, no CR or LF in it, and made of whole characters
  // (a lead byte at its end would match half of a character).
  static bool Suits(std::string_view key);

  // Starts a block of text that begins at a line start.
  void Begin(const char* data, int64_t len);
  // The next hit, or false at the block's end.
  bool Next(GrepBlockHit& hit);
  // Lines (line ends) in the whole block; counts what is left after the last hit.
  int64_t CountAllLines();

 private:
  // Counts line ends from the counted position up to `to`, which is no line-end byte.
  void CountTo(int64_t to);
  int64_t LineEndAt(int64_t from) const;
  // The first place of the key at or after from (any byte, aligned or not), or -1.
  int64_t FindKey(int64_t from) const;
  bool SameAt(const unsigned char* p) const;

  std::string m_key;
  bool m_bOutputLine;
  bool m_bFold;
  std::string m_folded;                 // the key, its one-byte letters in lower case without case
  std::vector<unsigned char> m_foldMask;  // 0x20 on those letters' bytes, else 0
  const char* m_pData = nullptr;
  int64_t m_nLen = 0;
  int64_t m_nSearchFrom = 0;   // where memmem looks next
  int64_t m_nCounted = 0;      // line ends are counted up to here
  int64_t m_nLines = 0;        // line ends before m_nCounted
  int64_t m_nLineStart = 0;    // the start of the line that holds m_nCounted
  int64_t m_nAligned = 0;      // a character start in that line at or before the next hit
};

// Line ends in data[0, len), paired as the file reader pairs CR LF and LF CR; data starts at a
// line start.
int64_t CountLineEnds(const char* data, int64_t len);
