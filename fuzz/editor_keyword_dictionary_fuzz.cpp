// The keyword dictionary and the completion word list: a random file looked up with a random word,
// the dictionary's entry and the word list's candidates in both case modes, with a small maximum
// and without one. What the lookups give must hold what they promise: a description without line
// ends, candidates that are longer than the prefix and start with it, each ended by one "\n", as
// many as counted and never more than asked; the candidates that match byte for byte are among
// those that match with letter case aside.
//
// Input: one byte (bits 0-2 the maximum count), the word up to the first NUL, then the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/view/completion/keyword_dictionary.h"
#include "fuzz_support.h"

namespace {

// Checks the candidates and gives them as found.
std::string_view CheckCandidates(const CMemory& out, int count, std::string_view prefix, bool ignoreCase, int max) {
  const std::string_view words = out.View();
  if (count < 0 || (max > 0 && count > max)) std::abort();
  if ((count == 0) != words.empty()) std::abort();
  int seen = 0;
  for (size_t start = 0; start < words.size();) {
    const size_t nl = words.find('\n', start);
    if (nl == std::string_view::npos) std::abort();
    const std::string_view word = words.substr(start, nl - start);
    if (word.size() <= prefix.size() || word.find('\r') != std::string_view::npos) std::abort();
    const bool starts = ignoreCase ? SjisMemICmp(word.data(), prefix.data(), static_cast<int>(prefix.size())) == 0
                                   : std::memcmp(word.data(), prefix.data(), prefix.size()) == 0;
    if (!starts) std::abort();
    ++seen;
    start = nl + 1;
  }
  if (seen != count) std::abort();
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 65536) return 0;
  const ScopedTempDir& folder = fuzz::Environment();
  const int max = data[0] & 7;
  const std::string_view rest = fuzz::Text(data + 1, size - 1);
  const size_t nul = rest.find('\0');
  const std::string word(rest.substr(0, nul));
  const std::string_view file = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  fuzz::WriteFile("keywords.txt", {reinterpret_cast<const uint8_t*>(file.data()), file.size()});
  const std::string path = folder.path().string() + "/keywords.txt";

  const CKeywordDictionary dictionary;
  CMemory text;
  if (dictionary.Search(word, &text, path)) {
    if (word.empty() || text.View().find_first_of("\r\n") != std::string_view::npos) std::abort();
  }

  for (const bool ignoreCase : {false, true}) {
    CMemory some;
    const int count = dictionary.SearchCandidates(word, ignoreCase, &some, max, path);
    CheckCandidates(some, count, word, ignoreCase, max);
  }
  CMemory exact;
  CMemory folded;
  const std::string_view exactWords =
      CheckCandidates(exact, dictionary.SearchCandidates(word, false, &exact, 0, path), word, false, 0);
  const std::string_view foldedWords =
      CheckCandidates(folded, dictionary.SearchCandidates(word, true, &folded, 0, path), word, true, 0);
  // In file order, the byte-for-byte words are a subsequence of the others.
  size_t at = 0;
  for (size_t start = 0; start < exactWords.size();) {
    const size_t nl = exactWords.find('\n', start);
    const std::string_view entry = exactWords.substr(start, nl - start + 1);
    at = foldedWords.find(entry, at);
    if (at == std::string_view::npos) std::abort();
    at += entry.size();
    start = nl + 1;
  }
  return 0;
}
