// The arguments the program was started with, kept for the code that asks for them later.
#pragma once

#include "platform/win_types.h"

// The instance handle: read by window creation, the single-instance check and the game.
extern HINSTANCE AppInstanceHandle;

// Stores the four values and records the start directory for relative paths.
void SetWinMainArgs(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
