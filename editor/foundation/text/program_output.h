// What an outside program printed, made the editor's text: its code is detected as a file's is
// (code_detect.h) and converted to Shift-JIS, so a program writing UTF-8 and one writing Shift-JIS
// give the same bytes. Output of 256 MiB or more is taken as Shift-JIS unchanged.
#pragma once

#include <string>
#include <string_view>

std::string ProgramOutputToSjis(std::string_view output);
