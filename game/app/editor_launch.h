// Opening the current script in the built-in editor (debug mode): the game waits while it runs.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

class CEditorProcessFactory;

// The editor's command line for a script and a line: "<path> -Y=<line>".
std::string EditorCommandLine(std::string_view scriptPath, int line);

// Asks the factory for an editor process for the script and runs it until the editor closes.
// Nothing happens when the factory makes none or fails in any way; the game goes on. True when an
// editor ran.
bool LaunchEditor(const CEditorProcessFactory& factory, HINSTANCE instance, std::string_view scriptPath, int line);
