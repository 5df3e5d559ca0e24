// For the editor's start-up benchmark: the least a window program does, as its baseline. When the
// environment variable VREL_BENCH_BARE_WINDOW is set, the program, having made its application
// object, shows an empty main window, marks its first paint (first_frame_mark.h) and ends; without
// the variable nothing happens. The editor's own first paint is marked by its pane.
#pragma once

namespace platform {

// True when the variable asks for the bare window.
bool BareWindowRequested();

// Shows the empty main window until its first paint has been marked, then closes it. Needs the
// application object (gui_app.h).
void RunBareWindow();

}  // namespace platform
