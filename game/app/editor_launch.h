// Opening the current script in the built-in editor (debug mode): the game waits while it runs.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

class CEditorProcessFactory;

// The script as the editor must name it. The game finds its files without regard to the case of
// letters; the editor names exactly one file. So this is the file the game reads, found as the game
// finds it, made absolute, in the editor's exact form, enclosed in double quotes (its own quotes
// doubled) when it holds a space. False when Shift-JIS cannot spell that file's name exactly.
bool EditorScriptName(std::string_view scriptPath, std::string& name);

// The editor's command line for a script name and a line: "<name> -Y=<line>".
std::string EditorCommandLine(std::string_view editorName, int line);

// Asks the factory for an editor process for the script and runs it until the editor closes.
// Nothing happens when the factory makes none or fails in any way; the game goes on. A script
// whose name the editor cannot take opens nothing, and a line in the message log says so. True
// when an editor ran.
bool LaunchEditor(const CEditorProcessFactory& factory, HINSTANCE instance, std::string_view scriptPath, int line);
