// The grep file patterns over arbitrary bytes. Input: the pattern list up to the first 0xFF byte,
// the file name after it. Every piece of the list is matched against the name; a piece never keeps
// a double quote or a separator outside quotes, and "*" alone matches every name.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/view/search/grep_pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\xFF');
  const std::string_view list = input.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  for (const std::string& piece : SplitGrepPatterns(list)) {
    if (piece.empty() || piece.find('"') != std::string::npos) __builtin_trap();
    MatchGrepWildcard(piece, name);
  }
  if (!MatchGrepWildcard("*", name) || !MatchGrepWildcard("*.*", name)) __builtin_trap();
  // A name without wildcards matches itself.
  if (name.find_first_of("*?") == std::string_view::npos && !MatchGrepWildcard(name, name)) __builtin_trap();
  return 0;
}
