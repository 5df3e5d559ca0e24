// Client points on the screen and back, and the window a window belongs to.
#include "platform/window_qt.h"

namespace platform {

namespace {

// A client point on the screen (toScreen) or a screen point in the client area.
BOOL MapPoint(HWND hwnd, POINT* point, bool toScreen) {
  if (!point) return 0;
  QPoint p(point->x, point->y);
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    const QWidget* widget = child->widget();
    if (!widget) return 0;
    p = toScreen ? widget->mapToGlobal(p) : widget->mapFromGlobal(p);
  } else if (Window* window = WindowFromHandle(hwnd)) {
    // Through the canvas, which may show the client area scaled.
    const Canvas* canvas = window->canvas();
    if (toScreen) {
      p = canvas->mapToGlobal(canvas->mapFromClient ? canvas->mapFromClient(p) : p);
    } else {
      p = canvas->mapFromGlobal(p);
      if (canvas->mapToClient) p = canvas->mapToClient(p);
    }
  } else {
    return 0;
  }
  *point = POINT{p.x(), p.y()};
  return 1;
}

}  // namespace

BOOL ClientToScreen(HWND hwnd, POINT* point) { return MapPoint(hwnd, point, true); }
BOOL ScreenToClient(HWND hwnd, POINT* point) { return MapPoint(hwnd, point, false); }

HWND GetParent(HWND hwnd) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return &child->parent();
  Window* window = WindowFromHandle(hwnd);
  if (!window) return nullptr;
  if (Window* host = window->embeddingWindow()) return host;
  // An owned pop-up is a window of its owner's.
  auto* owner = dynamic_cast<Window*>(window->parentWidget());
  return owner && IsWindow(owner) ? owner : nullptr;
}

}  // namespace platform
