// The Shift-JIS scanning functions that the tag parser and the configuration reader are built
// from, each run over the whole text as a parser runs it: until the end, or until it stops moving.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "sdk/graphics/text_scan.h"

namespace {

// Calls step with a cursor from the text's start until it reports the end or does not move.
template <class Step>
void Scan(const std::string& text, Step step) {
  const char* cursor = text.c_str();
  while (true) {
    const char* before = cursor;
    if (!step(cursor) || cursor == before) break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(fuzz::Text(data, size));
  int n = 0;
  COLORREF colour = 0;
  char buffer[9];
  Scan(text, [](const char*& c) { return !SkipSpace(c) && *c != '\0' && ++c; });
  Scan(text, [](const char*& c) { return !SkipSpaceComma(c) && *c != '\0' && ++c; });
  Scan(text, [](const char*& c) { return IsToken(c, "font") || IsToken(c, "<") || (*c != '\0' && ++c); });
  Scan(text, [](const char*& c) { return SkipToString(c, ">") == 0; });
  Scan(text, [&](const char*& c) { return CopyToString(c, "\"", buffer, sizeof buffer) == 0; });
  Scan(text, [&](const char*& c) { return CopyToString(c, "\x82\xa0", buffer, 1) == 0; });
  Scan(text, [&](const char*& c) { return GetNum(c, n) != -1 && (*c != '\0' && ++c); });
  Scan(text, [&](const char*& c) { return GetQuotedNum(c, n) != -1 && (*c != '\0' && ++c); });
  Scan(text, [&](const char*& c) { return GetQuotedColor(c, colour) != -1 && (*c != '\0' && ++c); });
  Scan(text, [&](const char*& c) { return GetFieldNum(c, n, false) == 0; });
  Scan(text, [&](const char*& c) { return GetFieldNum(c, n, true) == 0; });

  // Replacement of the text's own first bytes by its next ones, exactly and without case.
  const std::string from = text.substr(0, 2);
  const std::string to = text.substr(std::min<size_t>(2, text.size()), 3);
  for (bool exact : {true, false}) {
    std::string copy = text;
    if (!from.empty()) ReplaceAll(copy, from, to, exact);
  }
  return 0;
}
