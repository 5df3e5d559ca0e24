// Script errors: one line in the on-screen message log naming the script, the line and its text.
// A report never stops anything; the operation that reported goes on with what it has.
#pragma once

#include <string_view>

// Formats the report for the lexer's current position, appends it to the message log and clears
// the run-through flag. The script text and the read position are left as they are.
void ScriptError(std::string_view message);
