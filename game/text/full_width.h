// ASCII text in its full-width Shift-JIS form, as the page numbers of the save screens show it.
#pragma once

#include <string>
#include <string_view>

// Every character from space to '}' becomes its full-width Shift-JIS character (the double quote,
// apostrophe, backslash and grave accent become the closing and opening quotation marks and the
// yen sign); every other byte, '~' among them, and every double-byte character is copied as it is. The result may be up
// to twice as long as the text.
std::string ToFullWidth(std::string_view text);
