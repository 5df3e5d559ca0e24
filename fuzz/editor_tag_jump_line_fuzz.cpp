// A tag jump's reading of the caret's line and the lines above it, with the file system replaced
// by a list of names that exist. Whatever the lines hold, a place found must name one of those
// files as the text spells it, with line and column never negative, and the same lines must read
// the same way again.
//
// Input: the names that exist, separated by LF, up to a NUL; then the document's lines separated
// by LF, the last one being the caret's line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/view/search/tag_jump_line.h"
#include "fuzz_support.h"

namespace {

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const size_t lf = text.find('\n');
    pieces.push_back(text.substr(0, lf));
    if (lf == std::string_view::npos) return pieces;
    text.remove_prefix(lf + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::string_view input = fuzz::Text(data, size);
  const size_t nul = input.find('\0');
  if (nul == std::string_view::npos) return 0;
  std::set<std::string> files;
  for (std::string_view name : Split(input.substr(0, nul))) {
    if (!name.empty()) files.emplace(name);
  }
  const std::vector<std::string_view> lines = Split(input.substr(nul + 1));
  const std::string_view current = lines.back();
  const int aboveCount = static_cast<int>(lines.size()) - 1;

  const CTagJumpLineParser parser([&files](const std::string& candidate) { return files.count(candidate) > 0; });
  const auto above = [&lines, aboveCount](int n) -> std::optional<std::string_view> {
    if (n < 1 || n > aboveCount) return std::nullopt;
    return lines[static_cast<size_t>(aboveCount - n)];
  };

  TagJumpPlace place;
  const CTagJumpLineParser::Result result = parser.Parse(current, above, &place);
  if (result == CTagJumpLineParser::Result::kPlace) {
    if (!files.count(place.path)) std::abort();
    if (place.line < 0 || place.column < 0) std::abort();
    bool spelled = false;
    for (std::string_view line : lines) spelled = spelled || line.find(place.path) != std::string_view::npos;
    if (!spelled) std::abort();
  }
  TagJumpPlace again;
  if (parser.Parse(current, above, &again) != result || again.path != place.path || again.line != place.line ||
      again.column != place.column) {
    std::abort();
  }
  return 0;
}
