#include "platform/desktop.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {

HWND GetActiveWindow() {
  if (!IsGuiThread()) return nullptr;
  auto* window = dynamic_cast<Window*>(QApplication::activeWindow());
  return WindowFromHandle(window);
}

bool GetCursorPos(POINT* point) {
  if (!point || !IsGuiThread() || !QGuiApplication::primaryScreen()) return false;
  const QPoint p = QCursor::pos();
  *point = POINT{p.x(), p.y()};
  return true;
}

int DesktopBitsPerPixel() {
  EnsureGuiApp();
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : 0;
}

}  // namespace platform
