// The two text-file lookups of the panes: the keyword help dictionary, whose entries give the
// keyword tip and the first item of the right-click menu, and the word list that completion
// offers from. Both files are Shift-JIS text named in the document type's settings; they are read
// afresh on every lookup (a file edited while the editor runs is used at once), one block at a
// time, so a lookup never holds more than a block and a line of the file.
//
// Paths are exact: one starting with "/" as it is, any other relative to the executable's folder.
// A CR LF ends a line as a "\n" does.
#pragma once

#include <string_view>

class CMemory;

// An entry line of the dictionary: "keys /// description". Lines longer than this (its "\n"
// counted) are read in pieces, each rest as a line of its own.
inline constexpr int kKeywordDictionaryLine = 10239;
// The same for a line of the word list.
inline constexpr int kCompletionWordLine = 1023;

// Owned by each pane; it holds nothing, every lookup reads its file.
class CKeywordDictionary {
 public:
  // The description of the first entry with a key equal to the word, letter case aside (ASCII
  // letters only, never bytes of double-byte characters), into out: the text after the first
  // " /// " up to the first CR or LF, its "\n" pairs (backslash, n) left for the consumer. Keys
  // are the bytes before the " /// " between commas, taken as they are (a blank after a comma
  // belongs to the next key). A line starting with ";" is a comment, a line without " /// " is
  // no entry. False, out untouched, when nothing matches, the word or path is empty, or the file
  // cannot be opened.
  bool Search(std::string_view word, CMemory* out, std::string_view path) const;

  // The words of the list that start with the prefix (letter case aside with ignoreCase, as
  // above; else byte for byte) and are longer than it, in file order, at most maxCount of them (0
  // for no limit). Comment lines (";" first) are no words; a word ends at the first CR or LF of
  // its line. Into out: each word followed by "\n" (out is assigned, empty when nothing matched).
  // Gives the number of words.
  int SearchCandidates(std::string_view prefix, bool ignoreCase, CMemory* out, int maxCount,
                       std::string_view path) const;
};
