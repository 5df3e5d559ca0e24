// The file patterns of grep: the list the user types ("*.c;*.h !test*.c") split into pieces, and
// the match of one piece against a file name.
//
// A name matches a piece character by character in Shift-JIS: "*" stands for any run of
// characters, "?" for exactly one (a double-byte character counts once), and ASCII letters match
// without case, as names are compared everywhere else the user types them. "*.*" matches every
// name, with a dot or without one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pieces of a pattern list: separated by blanks, ";" and "," outside double quotes, every
// double-quote character then removed; empty pieces are dropped. A piece starting with "!" is an
// exclusion; the caller strips it.
std::vector<std::string> SplitGrepPatterns(std::string_view list);

// Whether the name matches the wildcard pattern.
bool MatchGrepWildcard(std::string_view pattern, std::string_view name);
