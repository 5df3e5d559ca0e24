// Client points on the screen and back, and the window a window belongs to.
#include "platform/window_qt.h"

namespace platform {

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  if (!point) return 0;
  QPoint p(point->x, point->y);
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    if (!child->widget()) return 0;
    p = child->widget()->mapToGlobal(p);
  } else if (Window* window = WindowFromHandle(hwnd)) {
    const Canvas* canvas = window->canvas();
    if (canvas->mapFromClient) p = canvas->mapFromClient(p);
    p = canvas->mapToGlobal(p);
  } else {
    return 0;
  }
  *point = POINT{p.x(), p.y()};
  return 1;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  if (!point) return 0;
  QPoint p(point->x, point->y);
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    if (!child->widget()) return 0;
    p = child->widget()->mapFromGlobal(p);
  } else if (Window* window = WindowFromHandle(hwnd)) {
    const Canvas* canvas = window->canvas();
    p = canvas->mapFromGlobal(p);
    if (canvas->mapToClient) p = canvas->mapToClient(p);
  } else {
    return 0;
  }
  *point = POINT{p.x(), p.y()};
  return 1;
}

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
