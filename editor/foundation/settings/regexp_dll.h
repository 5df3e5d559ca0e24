// The editor's regular expressions through the run-time library "BREGEXP.DLL": turns a pattern, an
// optional replacement and two option bits into the library's command, adjusts patterns that end
// with the line-end anchor so that they see the line end, and matches or substitutes in one line.
// A line without a line end (the text's last line) is matched with the pattern as written, whose
// anchor stands at the line's end there. Every operation returns false while the library is not
// loaded.
#pragma once

#include <string>

#include "editor/foundation/settings/dll_loader.h"
#include "editor/foundation/settings/regexp_library_api.h"

class CRegexpDll : public CDllLoader {
 public:
  // Option bits.
  static constexpr int kCaseSensitive = 1;
  static constexpr int kGlobal = 2;
  // Pattern flags.
  static constexpr int kAnalysed = 1;
  static constexpr int kStartsWithLineStart = 2;
  static constexpr int kEndsWithLineEnd = 4;
  static constexpr int kOnlyAnchors = 8;
  static constexpr int kHasLookAhead = 16;

  CRegexpDll();
  ~CRegexpDll() override;

  bool Compile(const char* pattern, const char* replacement, int options);
  // True when the compiled pattern matches in text[column, length); the match lies in GetResult().
  // The text is one line: its line end, when it has one, closes it.
  bool Match(const char* text, int length, int column);
  // True when the substitution changed something; the output lies in GetResult().
  bool Replace(const char* text, int length, int column);

  // The pattern's length; sets the pattern flags.
  int CheckPatternAnchors(const char* pattern);
  std::string BuildCommandString(const char* pattern, const char* replacement, const char* suffix, int options) const;
  std::string MakePattern(const char* pattern, const char* replacement, int options);

  // The record of the last Match or Replace (after Compile, null when nothing is compiled).
  const BREGEXP* GetResult() const { return m_pResult; }
  int GetPatternFlags() const { return m_nFlags; }
  const char* GetLastTarget() const { return m_pszLastTarget; }
  const char* GetErrorText() const { return m_szMsg; }
  // The library's version text; empty while it is not loaded.
  const char* GetVersion() const;

 protected:
  // The loaded library's entry points (null while it is not loaded), for wrappers that keep
  // records of their own.
  BMatchFunc MatchEntry() const { return IsAvailable() ? m_BMatch : nullptr; }
  BRegfreeFunc FreeEntry() const { return IsAvailable() ? m_BRegfree : nullptr; }

  int InitDll() override;
  int DeinitDll() override;
  const char* GetDllName(const char* arg) override;

 private:
  // A test match of a command against a text with a record of its own: the engine's result, and
  // where the match lies.
  int TestMatch(const char* command, const char* text, int length, int* start = nullptr, int* end = nullptr,
                int* groups = nullptr);
  bool MatchesEmptyAt(const std::string& command, const char* text, int length, int at);
  bool CompileRecord(const std::string& command, bool substitute, BREGEXP** record);
  // The record that matches in the line.
  BREGEXP** RecordFor(const char* text, int length);
  void ReleaseCompiled();

  BMatchFunc m_BMatch = nullptr;
  BSubstFunc m_BSubst = nullptr;
  BTransFunc m_BTrans = nullptr;
  BSplitFunc m_BSplit = nullptr;
  BRegfreeFunc m_BRegfree = nullptr;
  BRegexpVersionFunc m_BRegexpVersion = nullptr;
  BMatchExFunc m_BMatchEx = nullptr;
  BSubstExFunc m_BSubstEx = nullptr;

  BREGEXP* m_pRegExp = nullptr;
  // The pattern as written, kept only when its line-end anchor was rewritten: the rewritten one
  // needs line-end characters, which a last line may lack.
  BREGEXP* m_pRegExpWithoutLineEnd = nullptr;
  const BREGEXP* m_pResult = nullptr;
  int m_nFlags = kAnalysed;
  const char* m_pszLastTarget = nullptr;
  char m_szMsg[kBRegexpMessageSize] = {};
};
