// Small helpers shared by the test programs.
#pragma once

#include <string>
#include <string_view>

// A UTF-8 literal as a byte string (narrow literals are Shift-JIS in this program).
inline std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }
