#include "platform/x11_connection.h"

#include <QGuiApplication>

namespace platform::x11 {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  return screen ? screen->root : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace platform::x11
