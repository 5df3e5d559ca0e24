// The library's work behind its exported entry points: compiling a command into a record (or
// reusing the record's pattern), matching and substituting over Oniguruma in Shift-JIS.
#pragma once

#include <string_view>

#include "editor/foundation/settings/regexp_library_api.h"

namespace tovara_regexp {

// lineStart is where the line begins (^ and look-behind see the text from there); the search runs
// from targetStart to targetEnd.
int Match(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd, BREGEXP** rxp,
          char* msg);
int Substitute(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
               BREGEXP** rxp, char* msg);
void Free(BREGEXP* rx);
const char* Version();
// Entry points that the editor never calls: an error with its message.
int Unsupported(const char* what, char* msg);
// Whether a line is searched for the text every match holds before the engine runs on it: by
// default while that pays; never or always only to compare the results.
enum class Prefilter { kWhilePaying, kNever, kAlways };
void SetPrefilter(Prefilter mode);
// The error result: text (cut on a whole character) goes to msg, when there is one.
int Fail(char* msg, std::string_view text);

}  // namespace tovara_regexp
