// The editor's command-line text from the arguments a process was started with.
//
// A person's start (`tovara notes.txt -Y=5`) gives arguments in the system's UTF-8; the editor's
// grammar is one Shift-JIS text. The editor's own launches (the resident, further windows, grep)
// already have that text and pass it whole after a private marker.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "editor/foundation/text/grep_command_text.h"  // DoubleQuotes

// The first argument of the editor's own launches: the text is the next argument as it stands.
inline constexpr char kEditorLaunchMarker[] = "--tovara-launched-with";

// The text of the arguments after the program's name (args[0]). After the marker: the next
// argument as it stands (empty when there is none). Otherwise the arguments joined by single
// spaces, each converted to Shift-JIS; one that holds a space and starts with neither "-" nor a
// double quote is enclosed in double quotes, its own quotes doubled, so that it stays one token.
// An argument that Shift-JIS cannot spell exactly is left out, and one message box names every
// such argument; an empty argument adds nothing.
std::string JoinEditorArguments(std::span<const char* const> args);

