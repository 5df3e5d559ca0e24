// Texts kept in the fixed-size fields of the shared record.
#pragma once

#include <cstddef>
#include <cstring>

// Copies text into the field, cut to N - 1 bytes and always terminated. For defaults and other
// texts the program itself supplies; texts from outside are cut on a whole character instead.
template <size_t N>
void CopyText(char (&dest)[N], const char* text) {
  const size_t n = strnlen(text, N - 1);
  std::memcpy(dest, text, n);
  dest[n] = '\0';
}
