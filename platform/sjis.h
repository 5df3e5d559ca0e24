// Shift-JIS (code page 932) inside the program, UTF-8 at the operating-system boundary.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The length of the longest prefix of the text that ends on a whole character and holds at most
// limit bytes.
constexpr size_t SjisWholePrefix(std::string_view text, size_t limit) {
  size_t n = 0;
  while (n < text.size()) {
    const size_t step = IsSjisLead(static_cast<unsigned char>(text[n])) && n + 1 < text.size() ? 2 : 1;
    if (n + step > limit) break;
    n += step;
  }
  return n;
}

// Unicode code point of one CP932 character (a single byte, or lead << 8 | trail);
// 0xFFFD when the code has no mapping.
char32_t SjisCodeToUnicode(uint16_t code);

// CP932 code (single byte, or lead << 8 | trail) of a code point; 0 when it has none. This is
// CP932's own encoder, which also takes the code points that its decoder never gives: U+301C and
// U+FF5E both encode to 8160, U+00A5 to 5C, U+2014 to 815C; an IBM extension character encodes to
// its IBM row (FA40-FC4B) even where an NEC row (ED40-EEFC) decodes to it too.
uint16_t UnicodeToSjisCode(char32_t cp);

// The two directions as flat tables for loops over whole texts: the decode table is indexed by the
// code and holds 0xFFFD where the code has no character (a lone lead byte among them); the encode
// table is indexed by the BMP code point and holds 0 where it has no code (and for U+0000).
std::span<const uint16_t, 0x10000> SjisDecodeTable();
std::span<const uint16_t, 0x10000> SjisEncodeTable();

// Whole-string conversions. Unmappable characters become '?' (to Shift-JIS) or U+FFFD (to UTF-8);
// a lead byte at the very end of the input is dropped, never paired with what follows the string.
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace platform
