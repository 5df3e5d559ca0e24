// A file type's regular-expression keywords and one line, through the painter's questions: the
// type is bound (its patterns compiled), the line begun, and a keyword asked for at every character
// start. Every keyword found must have bytes, lie within the line and carry a colour code that names
// a colour item. The library is loaded from its module file, as the editor loads it.
//
// Input: one byte of flags (bit 0: the type uses its keywords; bits 1-7 switch the colours RK1-RK7
// off), one byte of entry count (at most 100), then per entry a signed byte of colour code, a byte
// of length (modulo 101) and the pattern's bytes (a pattern of 100 bytes fills its field with no
// terminator); the rest is the line, in a buffer of exactly its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "editor/foundation/document/regex_highlighter.h"
#include "editor/foundation/text/sjis_char.h"

namespace {

constexpr int kFirstKeywordColor = 29;

CRegexHighlighter& Highlighter() {
  [[maybe_unused]] static const bool pointed = (CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_REGEXP_LIBRARY), true);
  static CRegexHighlighter highlighter;
  if (!highlighter.IsAvailable()) std::abort();  // a run without the library would test nothing
  return highlighter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 16384) return 0;
  CRegexHighlighter& highlighter = Highlighter();
  static TypeSettings type{};
  std::memset(type.RegexKeywords, 0, sizeof type.RegexKeywords);
  const uint8_t flags = data[0];
  type.bUseRegexKeyword = flags & 1;
  // The same record again: only a new counter recompiles it.
  type.nChangeCounter = (type.nChangeCounter + 1) & 0xFFFFFF;
  for (int code = 0; code < kColorItemCount; ++code) type.Colors[code].bShow = 1;
  for (int k = 0; k < 7; ++k) type.Colors[kFirstKeywordColor + k].bShow = !(flags & (2 << k));

  const int count = data[1] < kRegexKeywordCount ? data[1] : kRegexKeywordCount;
  size_t at = 2;
  for (int i = 0; i < count && at + 2 <= size; ++i) {
    RegexKeywordRecord& entry = type.RegexKeywords[i];
    entry.nColorCode = static_cast<int8_t>(data[at]);
    size_t length = data[at + 1] % (sizeof entry.szPattern + 1);
    at += 2;
    if (length > size - at) length = size - at;
    std::memcpy(entry.szPattern, data + at, length);
    at += length;
  }
  const size_t lineSize = size - at;
  auto line = std::make_unique<char[]>(lineSize ? lineSize : 1);
  if (lineSize) std::memcpy(line.get(), data + at, lineSize);
  const int lineLength = static_cast<int>(lineSize);

  highlighter.BindType(&type);
  if (!highlighter.BeginLine()) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.get());
  for (int column = 0; column < lineLength; column += SjisCharSize(bytes, lineLength, column)) {
    int length = -1, code = -1;
    if (!highlighter.MatchAt(line.get(), column, lineLength, &length, &code)) continue;
    if (length <= 0 || length > lineLength - column) std::abort();
    if (code < 0 || code >= kColorItemCount) std::abort();
  }
  return 0;
}
