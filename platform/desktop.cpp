#include "platform/desktop.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWindow>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {

HWND GetActiveWindow() {
  if (!IsGuiThread()) return nullptr;
  QWidget* active = QApplication::activeWindow();
  // A window whose style changed (into or out of full screen) is shown again under the same focus
  // window, and the toolkit then forgets to name it active: the focus window still says which it is.
  if (!active)
    if (QWindow* focus = QGuiApplication::focusWindow())
      for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowHandle() == focus) active = top;
  return WindowFromHandle(dynamic_cast<Window*>(active));
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

bool DesktopAvailableSize(int* width, int* height) {
  EnsureGuiApp();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || !width || !height) return false;
  const QRect room = screen->availableGeometry();
  *width = room.width();
  *height = room.height();
  return true;
}

}  // namespace platform
