// Scanning of Shift-JIS text through a cursor that the functions advance: blanks, tokens, searches
// that never start inside a double-byte character, signed numbers, quoted colours and replacement.
// The tag parser of the text renderer and the configuration reader are built from them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/win_types.h"

// Skips tab, line feed, carriage return and space. True when the cursor then stands on the zero.
bool SkipSpace(const char*& cursor);

// Skips blanks and commas. True when the cursor then stands on the zero.
bool SkipSpaceComma(const char*& cursor);

// Matches the token after any blanks, ASCII letters without regard to case. On a match the cursor
// moves past it; otherwise (and for a null token) the cursor stays and the result is false.
bool IsToken(const char*& cursor, const char* token);

// Searches s from the cursor without starting a match on a trail byte: 0 and the cursor after the
// match, or 1 and the cursor unchanged when the text ends first.
int SkipToString(const char*& cursor, const char* s);

// As SkipToString, and copies the bytes before the match into buffer (size bytes, always
// terminated; a longer stretch is cut, never in the middle of a double-byte character).
int CopyToString(const char*& cursor, const char* s, char* buffer, size_t size);

// Blanks, an optional sign and decimal digits: -1 at the end of the text, 1 when no digit
// followed (value 0), else 0.
int GetNum(const char*& cursor, int& value);

// A decimal number between quotation marks: -1 at the end, 3 when a quote is missing, 1 when no
// digit followed, else 0.
int GetQuotedNum(const char*& cursor, int& value);

// "#RRGGBB" between quotation marks into a COLORREF (red in the low byte): -1 at the end, 3 when
// the opening quote, the hash sign or the closing quote is missing, 1 when no digit, else 0.
int GetQuotedColor(const char*& cursor, COLORREF& colour);

// One number of a comma- or tab-separated list. Without field mode commas and blanks before it are
// skipped (1 at the end of the text, 2 when no number); in field mode a separator at the cursor is
// an empty field worth 0, and one separator after the number is consumed (2 when no number).
int GetFieldNum(const char*& cursor, int& value, bool fieldMode);

// Replaces every occurrence of from by to, left to right, stepping over double-byte characters
// whole; with exact false ASCII letters compare without regard to case.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool exact);
