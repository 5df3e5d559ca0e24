// Where a top-level window lies and how it shows, as one record that a window keeps between runs.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>

#include "platform/window_qt.h"

namespace platform {
namespace {

// Squared distance from a point to a rectangle (0 inside it).
int64_t DistanceSquared(QPoint p, const QRect& r) {
  const int64_t dx = p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
  const int64_t dy = p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
  return dx * dx + dy * dy;
}

}  // namespace

QRect OntoScreen(QRect outer) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty()) return outer;
  QRect nearest;
  int64_t best = INT64_MAX;
  for (QScreen* screen : screens) {
    const QRect work = screen->availableGeometry();
    if (work.intersects(outer)) return outer;
    const int64_t d = DistanceSquared(outer.center(), work);
    if (d < best) {
      best = d;
      nearest = work;
    }
  }
  // Inside the nearest work area; one that does not fit keeps its top left corner in it.
  const int x = std::max(nearest.left(), std::min(outer.left(), nearest.right() + 1 - outer.width()));
  const int y = std::max(nearest.top(), std::min(outer.top(), nearest.bottom() + 1 - outer.height()));
  outer.moveTopLeft(QPoint(x, y));
  return outer;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !placement) return 0;
  QRect normal = window->placeRect();
  if (window->isMaximized() || window->isMinimized()) {
    // The rectangle the window goes back to, shifted and sized as its client area will be.
    const QRect restored = window->normalGeometry();
    const QRect now = window->geometry();
    if (restored.isValid()) {
      normal.translate(restored.topLeft() - now.topLeft());
      normal.setSize(normal.size() + (restored.size() - now.size()));
    }
  }
  *placement = WINDOWPLACEMENT{};
  placement->length = sizeof(WINDOWPLACEMENT);
  // A hidden window reports the state it will show in, so a saved placement never hides it.
  placement->showCmd = window->isMaximized() ? SW_SHOWMAXIMIZED : window->isMinimized() ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = RECT{normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
  return 1;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !placement || placement->length != sizeof(WINDOWPLACEMENT)) return 0;
  const RECT& r = placement->rcNormalPosition;
  const QRect outer = OntoScreen(QRect(r.left, r.top, std::max(r.right - r.left, 0), std::max(r.bottom - r.top, 0)));
  // The normal rectangle is placed in the normal state; the show command then applies.
  if (window->isMaximized() || window->isMinimized()) window->setWindowState(Qt::WindowNoState);
  window->place(outer.topLeft(), outer.size());
  ShowWindow(hwnd, static_cast<int>(placement->showCmd));
  return 1;
}

}  // namespace platform
