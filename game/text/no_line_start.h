// The characters that may not begin a line of game text: closing brackets and punctuation, small
// kana and iteration marks. The text boxes' renderer and the backlog's line cutting both keep them
// with the line before.
#pragma once

#include <string_view>

// The characters, double-byte Shift-JIS one after the other.
extern const char* const kNoLineStartChars;

// True when the text begins with one of them.
bool StartsWithNoLineStartChar(std::string_view text);
