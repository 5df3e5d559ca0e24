// The screen size of vrel.xml brought within what the desktop can show: a window of 32,767 x 19
// would open off the desktop's edges, and a side below one pixel has no picture at all.
#pragma once

#include <cstdint>
#include <string>

// Clamps each side to 1..room (no upper bound for a room side of 0 or less). Returns the message
// log's line when the size changed, else an empty text.
std::string FitScreenSize(int32_t* width, int32_t* height, int32_t roomWidth, int32_t roomHeight);

// Fits the configured screen to the room the primary screen has for windows, before the window is
// made, and writes the line to the message log. The size in vrel.xml is left as it is.
void FitConfiguredScreenToDesktop();
