// Small helpers shared by the test programs.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A UTF-8 literal as a byte string (narrow literals are Shift-JIS in this program).
inline std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

// Bytes as lower-case hex, two digits each, for a report line between processes.
inline std::string HexBytes(std::string_view bytes) {
  std::string out;
  char two[3];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02x", c);
    out += two;
  }
  return out;
}
