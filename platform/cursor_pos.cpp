#include "platform/cursor_pos.h"

#include <QCursor>

#include "platform/window_qt.h"

namespace platform {

bool GetCursorClientPos(HWND hwnd, POINT* point) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !point) return false;
  Canvas* canvas = window->canvas();
  QPoint p = canvas->mapFromGlobal(QCursor::pos());
  if (canvas->mapToClient) p = canvas->mapToClient(p);
  point->x = p.x();
  point->y = p.y();
  return true;
}

bool SetCursorClientPos(HWND hwnd, int x, int y) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  QCursor::setPos(window->canvas()->mapToGlobal(QPoint(x, y)));
  return true;
}

}  // namespace platform
