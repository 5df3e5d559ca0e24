// Copying text into the fixed-size character fields of the engine's records.
#pragma once

#include <cstddef>
#include <string_view>

// Copies src into dst (size bytes) with a terminating zero. Text that does not fit is cut at the
// last whole character: a double-byte character is never split, so the field stays valid Shift-JIS.
void CopyFixedText(char* dst, size_t size, std::string_view src);

template <size_t N>
void CopyFixedText(char (&dst)[N], std::string_view src) {
  CopyFixedText(dst, N, src);
}
