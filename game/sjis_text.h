// Bounded copies of Shift-JIS text into fixed buffers: a text that does not fit is cut before the
// character that would not fit, never between a lead byte and its trail byte.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Length of the longest prefix of text that has at most maxBytes bytes and does not end inside a
// double-byte character. A lead byte without its trail byte at the end of the text is dropped.
size_t SjisFitLength(std::string_view text, size_t maxBytes);

// Copies text into dst (its size counts the terminating zero), zero-filling the rest of dst so that
// no stale byte stays behind. Returns false when the text had to be cut.
bool CopySjisText(std::span<char> dst, std::string_view text);

// The text of a fixed buffer up to its first zero byte, never past its end.
std::string_view FixedText(std::span<const char> buffer);
