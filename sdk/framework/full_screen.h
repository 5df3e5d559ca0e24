// The process-wide full-screen flag: written by the display when it switches between window and
// full screen, read by window creation, the screen change and the mouse.
#pragma once

bool IsFullScreen();
void SetFullScreen(bool fullScreen);
