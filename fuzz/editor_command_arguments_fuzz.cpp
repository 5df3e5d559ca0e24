// A command text split into a program's arguments (SplitCommandArguments). Every argument is a run
// of the text's own whole characters with the quotes taken out: walking the text's characters
// (quotes dropped), each argument matches the next characters after some blanks, no double-byte
// character is cut between two arguments or between an argument and a blank, and only blanks
// are left over. No argument holds a quote or a NUL, and a text splits the same way twice.
//
// Input: the command text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/text/command_arguments.h"
#include "editor/foundation/text/sjis_char.h"
#include "fuzz_support.h"

namespace {

bool IsBlank(std::string_view character) { return character == " " || character == "\t"; }

// The text's characters up to its first NUL, quotes left out.
std::vector<std::string_view> CharactersWithoutQuotes(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const int len = static_cast<int>(text.size());
  std::vector<std::string_view> characters;
  for (int i = 0; i < len;) {
    const int size = SjisCharSize(p, len, i);
    const std::string_view character = text.substr(static_cast<size_t>(i), static_cast<size_t>(size));
    if (character != "\"") characters.push_back(character);
    i += size;
  }
  return characters;
}

// True when the argument is the characters from *at on, taken whole; *at then moves past them.
bool MatchesAt(const std::vector<std::string_view>& characters, size_t* at, std::string_view argument) {
  size_t k = *at;
  size_t used = 0;
  while (used < argument.size()) {
    if (k == characters.size() || argument.substr(used, characters[k].size()) != characters[k]) return false;
    used += characters[k].size();
    ++k;
  }
  *at = k;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  fuzz::Environment();
  const std::string_view text = fuzz::Text(data, size);
  const std::vector<std::string> arguments = SplitCommandArguments(text);
  if (SplitCommandArguments(text) != arguments) std::abort();

  const std::vector<std::string_view> characters = CharactersWithoutQuotes(text);
  size_t at = 0;
  for (const std::string& argument : arguments) {
    if (argument.find('"') != std::string::npos || argument.find('\0') != std::string::npos) std::abort();
    // Blanks separate arguments, but a quoted blank may also start one: try the argument first.
    while (!MatchesAt(characters, &at, argument)) {
      if (at == characters.size() || !IsBlank(characters[at])) std::abort();
      ++at;
    }
    // An argument ends at a blank or the end (or where an empty one took nothing).
    if (!argument.empty() && at < characters.size() && !IsBlank(characters[at])) std::abort();
  }
  for (; at < characters.size(); ++at) {
    if (!IsBlank(characters[at])) std::abort();
  }
  return 0;
}
