// The half-width and full-width forms of code page 932, the one-byte character set's Japanese
// readings included. Widening takes a one-byte character to the double-byte character that writes
// the same thing: ASCII 0x20-0x7E (the backslash reads as the yen sign, the tilde as the overline,
// and the straight quotes, which the double-byte set lacks, become the closing curly quotes) and the
// half-width katakana and marks 0xA1-0xDF. Narrowing is the inverse, and it also takes hiragana and
// the voiced and semi-voiced kana to the half-width katakana of their base sound, so that a caller
// can add the sound mark itself. A character with no other form comes back as it went in.
//
// Codes are as elsewhere: a one-byte character is its byte, a double-byte one lead << 8 | trail.
#pragma once

#include <cstdint>

namespace platform {

// The full-width character of a one-byte character; the byte itself when it has none.
uint16_t SjisToFullWidth(uint8_t c);

// The one-byte character of a double-byte character; the code itself when it has none.
uint16_t SjisToHalfWidth(uint16_t code);

}  // namespace platform
