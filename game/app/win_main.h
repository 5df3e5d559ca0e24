// The life of the game process: read the gallery records and the configuration, make sure only one
// copy runs, run the game on this thread, and write everything back at the end.
#pragma once

#include "platform/win_types.h"

// Returns 0 in every case. A copy that finds another one running only raises that copy's window
// and writes nothing: the files belong to the running copy.
int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
