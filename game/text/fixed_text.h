// Copying text into the fixed-size character fields of the engine's records, and reading it back.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Length of the longest prefix of text that has at most maxBytes bytes and does not end inside a
// double-byte character. A lead byte without its trail byte at the end of the text is dropped.
size_t SjisFitLength(std::string_view text, size_t maxBytes);

// Copies src into dst (size bytes) with a terminating zero. Text that does not fit is cut at the
// last whole character: a double-byte character is never split, so the field stays valid Shift-JIS.
// The rest of the field is zeroed, so no stale byte stays behind in a record that is saved whole.
// Returns false when the text had to be cut.
bool CopyFixedText(char* dst, size_t size, std::string_view src);

template <size_t N>
bool CopyFixedText(char (&dst)[N], std::string_view src) {
  return CopyFixedText(dst, N, src);
}

// The text of a fixed field up to its first zero byte, never past its end.
std::string_view FixedText(std::span<const char> field);
