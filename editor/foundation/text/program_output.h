// What an outside program printed, made the editor's text, so that a program writing UTF-8 and one
// writing Shift-JIS give the same bytes: a text that is valid UTF-8 and not plain ASCII is UTF-8
// (what a program prints under a UTF-8 locale, kanji-only names among them, which the detection's
// scores alone would take for Shift-JIS); any other text's code is detected as a file's is
// (code_detect.h). Either is converted to Shift-JIS. Output of 256 MiB or more is taken as
// Shift-JIS unchanged.
#pragma once

#include <string>
#include <string_view>

std::string ProgramOutputToSjis(std::string_view output);
