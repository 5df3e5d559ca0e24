// The regular-expression keywords of one file type, for one pane's painter: the type's up to 100
// patterns compiled once through the loaded regular-expression library, and per line the answer
// whether a keyword starts exactly at a byte column, how long it is and which colour item it takes.
//
// A pattern is written in the library's slash form with the Shift-JIS option ("/body/k",
// "m/body/k", "m#body#k", each also with "i" after the "k"). A pattern that is malformed, refused
// by the library, tied to a colour code outside 0-43 or to a keyword colour that is switched off is
// disabled; the others still work. Without the library nothing is ever a keyword.
//
// Each pattern is searched at most once per position the painter reaches: a match found ahead is
// remembered until the painter gets there, and a pattern with no match left in the line rests until
// the next line. A match of no bytes is never a keyword (the painter could not step past it); the
// search goes on from the next character.
#pragma once

#include <array>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/shared_settings.h"

class CRegexHighlighter : public CRegexpDll {
 public:
  // Slot states.
  static constexpr int kSearching = 0;
  static constexpr int kAhead = 4;     // the next match lies at the stored column
  static constexpr int kDisabled = 5;  // for the rest of the line, or for good as a base state

  CRegexHighlighter();
  ~CRegexHighlighter() override;

  // Forgets the bound type and its patterns. Returns 1.
  int ResetPatterns();
  // Binds the type's record (inside the shared settings) and compiles its patterns when the type
  // or its change counter differs from the last compilation. 1 while the type uses regular-
  // expression keywords; 0 when it does not or the record is null (the binding is then dropped).
  int BindType(const TypeSettings* type);
  // 1 when compiled; 0 when the type does not use the keywords or the library is missing.
  int CompilePatterns();
  // Starts a line: every pattern searches afresh. 0 when nothing can match.
  int BeginLine();
  // Whether a keyword starts at the byte column of line[0, lineLength): its length in bytes
  // (at least 1) and its colour code (0-43). The first pattern in list order that matches here
  // wins.
  bool MatchAt(const char* line, int column, int lineLength, int* matchLength, int* colorCode) {
    // Asked at every character of every painted line; most columns lie before any stored match.
    return column >= m_nQuietBefore && MatchAtSlots(line, column, lineLength, matchLength, colorCode);
  }
  // 1 when the text has one of the accepted forms with a non-empty body, else 0.
  static int IsPatternWellFormed(const char* pattern);

 protected:
  int DeinitDll() override;

 private:
  struct Slot {
    BREGEXP* compiled = nullptr;  // owned; released with the library's BRegfree
    int state = kDisabled;
    int column = -1;  // of the match found on this line; -1 for none yet
    int length = 0;
    int lineStartOnly = 0;
    int baseState = kDisabled;
    int colorCode = 0;  // read once at compilation
  };

  void ReleasePatterns();
  bool MatchAtSlots(const char* line, int column, int lineLength, int* matchLength, int* colorCode);
  // Searches the slot's pattern from the column on and stores the first match of at least one
  // byte; the state says what was found.
  void SearchFrom(Slot& slot, const char* line, int column, int lineLength);

  BMatchFunc m_pfnMatch = nullptr;  // the library's, while enabled
  int m_nTypeIndex = -1;
  int m_bEnabled = 0;
  const TypeSettings* m_pTypeSettings = nullptr;
  int m_nCompiledCounter = 0;
  int m_nPatternCount = 0;
  std::array<Slot, kRegexKeywordCount> m_slots{};
  // No slot can answer or needs a search at a column before this one (the nearest match stored
  // ahead); 0 while some slot has yet to search.
  int m_nQuietBefore = 0;
  // The library's last message while compiling or matching the keywords.
  char m_szKeywordMsg[kBRegexpMessageSize] = {};
};
