#include "platform/foreground_window.h"

#include "platform/window_qt.h"

namespace platform {

BOOL SetForegroundWindow(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  window->raise();
  window->activateWindow();
  return 1;
}

}  // namespace platform
