// A command text split into a program's arguments, as a user writes them in an options field or a
// command line: blanks (space, tab) outside double quotes separate arguments; double quotes group
// blanks into an argument and are removed ("" alone is an empty argument, a quote left open runs
// to the end). Characters are whole Shift-JIS characters: a blank or quote is never a trail byte.
// The text ends at its first NUL, which no argument can carry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitCommandArguments(std::string_view commandText);
