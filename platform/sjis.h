// Shift-JIS (code page 932) inside the program, UTF-8 at the operating-system boundary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Unicode code point of one CP932 character (a single byte, or lead << 8 | trail);
// 0xFFFD when the code has no mapping.
char32_t SjisCodeToUnicode(uint16_t code);

// CP932 code (single byte, or lead << 8 | trail) of a code point; 0 when it has none.
uint16_t UnicodeToSjisCode(char32_t cp);

// Whole-string conversions. Unmappable characters become '?' (to Shift-JIS) or U+FFFD (to UTF-8);
// a lead byte at the very end of the input is dropped, never paired with what follows the string.
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace platform
