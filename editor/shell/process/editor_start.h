// What the program does once at start, on the game's route and the editor's alike, so that either
// can open the editor: the editor's resources (menus 102 and 113, the application icon, dialog
// 175), the menus drawn as window menu bars, and the editor's process factory behind the game's.
#pragma once

#include <cstdio>

#include "platform/win_types.h"

void PrepareEditor();

// The editor's route: the factory's process for the command line, run. What escapes the process
// (an exception the editor did not report itself) ends it with one line on errors and status 1,
// never with the runtime's abort; otherwise the status is 0.
int RunEditorCommandLine(HINSTANCE instance, const char* commandLine, std::FILE* errors);
