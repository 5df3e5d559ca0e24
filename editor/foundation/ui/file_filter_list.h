// The filter list of the open and save dialogs: (description, patterns) pairs turned into the
// NUL-separated text that the dialogs take (platform/file_dialog.h).
#pragma once

#include <string>
#include <vector>

class CFileFilterList {
 public:
  static constexpr int kDescriptionSize = 64;
  static constexpr int kPatternSize = 193;
  static constexpr int kFilterSize = 4096;

  CFileFilterList() = default;

  // Appends an entry, the description cut to 63 and the patterns to 192 bytes on a whole
  // character; false for an empty or missing description or pattern text.
  bool AddEntry(const char* pszDescription, const char* pszPatterns);
  // Appends an entry whose patterns are made from a list of extensions (MakeWildcards).
  bool AddExtensions(const char* pszDescription, const char* pszExtensions);
  // The pieces of the list between blanks, ";" and "," become "*." and the piece ("*" and the
  // piece when it starts with "."), joined by ";": "c cpp .h" gives "*.c;*.cpp;*.h".
  static void MakeWildcards(const char* pszExtensions, std::string& out);
  // Every entry as "description (patterns)" and the patterns, each text ended by a NUL, and one
  // more NUL after the last (two NULs for no entry). The whole fits 4096 bytes: entries that would
  // not are left out. A "|" in a text is a character like any other.
  const char* BuildFilterString();

  int GetCount() const { return static_cast<int>(m_entries.size()); }

 private:
  struct Entry {
    char description[kDescriptionSize];
    char patterns[kPatternSize];
  };
  static_assert(sizeof(Entry) == kDescriptionSize + kPatternSize);
  std::vector<Entry> m_entries;
  char m_szFilter[kFilterSize] = {};
};
