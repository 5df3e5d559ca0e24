#include "editor/foundation/text/program_output.h"

#include "editor/foundation/text/memory.h"

namespace {

// Far beyond any tool's messages, and far below the buffer's limit however a conversion grows it.
constexpr size_t kMaxConverted = size_t{256} << 20;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Strict UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF) with at least one
// character beyond ASCII. Shift-JIS Japanese fails it within a few characters: its trail bytes
// and lone lead bytes in 0x81-0xBF break the sequences.
bool IsNonAsciiUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  bool beyondAscii = false;
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t length;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) secondLow = 0xA0;
      if (c == 0xED) secondHigh = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) secondLow = 0x90;
      if (c == 0xF4) secondHigh = 0x8F;
    } else {
      return false;
    }
    if (n - i < length || p[i + 1] < secondLow || p[i + 1] > secondHigh) return false;
    for (size_t k = 2; k < length; ++k) {
      if (!IsContinuation(p[i + k])) return false;
    }
    beyondAscii = true;
    i += length;
  }
  return beyondAscii;
}

}  // namespace

std::string ProgramOutputToSjis(std::string_view output) {
  if (output.empty() || output.size() >= kMaxConverted) return std::string(output);
  CMemory text(output.data(), static_cast<int>(output.size()));
  if (IsNonAsciiUtf8(output)) {
    text.UTF8toSJIS();
  } else {
    text.AutoToSJIS();
  }
  return std::string(text.View());
}
