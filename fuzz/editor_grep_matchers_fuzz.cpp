// The grep matchers over a random file body. Input: one byte of mode (bit 0 case, bit 1 whole
// word, bit 2 output lines, bit 3 regular expression), the key up to the first NUL, the body after
// it. Every hit lies inside its line; in the plain mode the block search over the whole body
// finds exactly the hits of the line matcher.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/view/search/grep_matcher.h"

namespace {

CRegexpDll& Regexp() {
  [[maybe_unused]] static const bool pointed = (CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY), true);
  static CRegexpDll regexp;
  if (regexp.Load() != 0) std::abort();  // a run without the library would test nothing
  return regexp;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  const uint8_t mode = data[0];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t nul = input.find('\0');
  if (nul == std::string::npos || nul > 64) return 0;
  const std::string key = input.substr(0, nul);
  const std::string body = input.substr(nul + 1);
  const bool caseSensitive = mode & 1;
  const bool word = mode & 2;
  const bool outputLine = mode & 4;
  const bool regexp = mode & 8;
  CRegexpDll* engine = nullptr;
  if (regexp) {
    engine = &Regexp();
    if (!engine->Compile(key.c_str(), nullptr, caseSensitive ? CRegexpDll::kCaseSensitive : 0)) return 0;
  }
  GrepLineMatcher matcher(key, engine, caseSensitive, word, outputLine);

  struct Found {
    int64_t line;
    int offset;
  };
  std::vector<Found> lineHits;
  std::vector<GrepHit> hits;
  const int len = static_cast<int>(body.size());
  int64_t line = 0;
  for (int pos = 0; pos < len; ++line) {
    int end = pos;
    while (end < len && !IsLineEnd(body[end])) ++end;
    int next = end;
    if (next < len) next += next + 1 < len && IsLineEnd(body[next + 1]) && body[next + 1] != body[next] ? 2 : 1;
    // The line in a buffer of its own size, so a read past it is caught.
    std::vector<char> own(body.begin() + pos, body.begin() + next);
    matcher.FindHits(own.data(), next - pos, end - pos, hits);
    for (const GrepHit& h : hits) {
      if (h.offset < 0 || h.length < 0 || h.offset > end - pos || h.offset + h.length > next - pos) __builtin_trap();
      lineHits.push_back({line, h.offset});
    }
    pos = next;
  }

  if (!regexp && !word && GrepBlockSearch::Suits(key)) {
    std::vector<char> own(body.begin(), body.end());
    GrepBlockSearch search(key, outputLine, caseSensitive);
    search.Begin(own.data(), static_cast<int64_t>(own.size()));
    GrepBlockHit hit;
    size_t i = 0;
    while (search.Next(hit)) {
      if (i >= lineHits.size() || lineHits[i].line != hit.line || lineHits[i].offset != hit.offset) __builtin_trap();
      ++i;
    }
    if (i != lineHits.size()) __builtin_trap();
    if (search.CountAllLines() != CountLineEnds(own.data(), static_cast<int64_t>(own.size()))) __builtin_trap();
  }
  return 0;
}
