// The screen's colour depth as the program sees it, measured once and kept until the display
// changes mode: the depth of the full-screen mode it holds, else the desktop's.
#pragma once

// The cached depth, measured first when nothing is cached.
int GetDisplayBpp();
// Measures the depth into the cache; a screen that reports no depth (it is still switching) is
// measured once more a second later, and that value is kept whatever it is.
void GetDesktopBpp();
