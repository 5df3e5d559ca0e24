// Reading the system's font configuration on a helper thread while the program starts. The first
// text the toolkit lays out (the window's menu bar, before the first frame) and the first font the
// game's text engine matches both wait for that configuration: dozens of small files parsed and the
// font caches read. Started early, it runs beside the toolkit's start instead of before the first
// frame. Without the call the configuration is read on first use, as before; with it, a first use
// that comes before the helper is done reads it too and one of the two results is kept (the font
// library settles the race itself). Either way every user sees the same configuration.
#pragma once

namespace platform {

// Call once, early in main. Returns at once; the process waits for the helper at exit.
void StartLoadingFontConfig();

}  // namespace platform
