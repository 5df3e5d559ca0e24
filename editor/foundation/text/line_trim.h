// Trimming the blanks (TAB, space and the full-width space 0x81 0x40) at either end of every line
// of a text. Each line keeps its own line end, byte for byte.
#pragma once

#include <string>
#include <string_view>

enum class TrimSide { kLeading, kTrailing };

std::string TrimLineBlanks(std::string_view text, TrimSide side);
