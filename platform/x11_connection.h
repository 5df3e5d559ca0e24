// Inside the layer: the toolkit's own connection to an X11 server, for the few things only the
// server can tell or do (hot keys, the desktop's active window).
#pragma once

#include <xcb/xcb.h>

namespace platform::x11 {

// The toolkit's X connection; null when it does not run on X11 (offscreen, Wayland).
xcb_connection_t* Connection();
// The first screen's root window; XCB_WINDOW_NONE when the server lists no screen.
xcb_window_t RootWindow(xcb_connection_t* connection);

}  // namespace platform::x11
