#include "editor/view/search/grep_pattern.h"

#include <cstdint>

#include "editor/foundation/text/sjis_char.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ';' || c == ','; }

// The characters of a text as codes: a one-byte character by its byte (ASCII letters in lower
// case), a double-byte one as lead << 8 | trail.
std::vector<uint16_t> CharCodes(std::string_view text) {
  std::vector<uint16_t> codes;
  codes.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const int len = static_cast<int>(text.size());
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(p, len, at);
    if (size == 2) {
      codes.push_back(static_cast<uint16_t>(p[at] << 8 | p[at + 1]));
    } else {
      unsigned char c = p[at];
      if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
      codes.push_back(c);
    }
    at += size;
  }
  return codes;
}

// The greedy match with one remembered star: a later star makes every earlier choice final, so
// the work stays within pattern length times name length.
bool MatchCodes(const std::vector<uint16_t>& pattern, const std::vector<uint16_t>& name) {
  size_t p = 0;
  size_t n = 0;
  size_t starP = SIZE_MAX;
  size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != SIZE_MAX) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<std::string> SplitGrepPatterns(std::string_view list) {
  std::vector<std::string> pieces;
  std::string piece;
  bool quoted = false;
  const auto* p = reinterpret_cast<const unsigned char*>(list.data());
  const int len = static_cast<int>(list.size());
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(p, len, at);
    const char c = list[static_cast<size_t>(at)];
    if (size == 1 && c == '"') {
      quoted = !quoted;
    } else if (size == 1 && !quoted && IsSeparator(c)) {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
    } else if (size == 1 && c == '\0') {
      // A NUL ends no name the file system can hold; it never becomes part of a piece.
    } else {
      piece.append(list.substr(static_cast<size_t>(at), static_cast<size_t>(size)));
    }
    at += size;
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

bool MatchGrepWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  const std::vector<uint16_t> codes = CharCodes(name);
  if (MatchCodes(CharCodes(pattern), codes)) return true;
  // "name.*" also takes a name without any dot, as "*.*" takes every name.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    for (const uint16_t c : codes)
      if (c == '.') return false;
    return MatchCodes(CharCodes(pattern.substr(0, pattern.size() - 2)), codes);
  }
  return false;
}
