#include "platform/monitor.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <climits>

#include "platform/gui_app.h"
#include "platform/window.h"

namespace platform {
namespace {

HMONITOR Handle(QScreen* screen) { return reinterpret_cast<HMONITOR>(screen); }

QScreen* ScreenOf(HMONITOR monitor) {
  for (QScreen* screen : QGuiApplication::screens()) {
    if (Handle(screen) == monitor) return screen;
  }
  return nullptr;
}

RECT ToRect(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Distance from a rectangle to the screen along each axis, squared and summed (0 when they touch).
int64_t GapSquared(const RECT& r, const QRect& screen) {
  const RECT s = ToRect(screen);
  const int64_t dx = r.right <= s.left ? s.left - r.right + 1 : (r.left >= s.right ? r.left - s.right + 1 : 0);
  const int64_t dy = r.bottom <= s.top ? s.top - r.bottom + 1 : (r.top >= s.bottom ? r.top - s.bottom + 1 : 0);
  return dx * dx + dy * dy;
}

int64_t SharedArea(const RECT& r, const QRect& screen) {
  const RECT s = ToRect(screen);
  RECT common;
  if (!IntersectRect(&common, &r, &s)) return 0;
  return int64_t{common.right - common.left} * (common.bottom - common.top);
}

HMONITOR Fallback(const RECT& r, DWORD flags) {
  if (flags == MONITOR_DEFAULTTOPRIMARY) return Handle(QGuiApplication::primaryScreen());
  if (flags != MONITOR_DEFAULTTONEAREST) return nullptr;
  QScreen* nearest = nullptr;
  int64_t best = INT64_MAX;
  for (QScreen* screen : QGuiApplication::screens()) {
    const int64_t gap = GapSquared(r, screen->geometry());
    if (gap < best) {
      best = gap;
      nearest = screen;
    }
  }
  return Handle(nearest);
}

}  // namespace

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  if (!rect || !IsGuiThread()) return nullptr;
  // An empty rectangle still names a place: it counts as the pixel at its top left.
  RECT r = *rect;
  if (r.right <= r.left) r.right = r.left + 1;
  if (r.bottom <= r.top) r.bottom = r.top + 1;
  QScreen* most = nullptr;
  int64_t mostArea = 0;
  for (QScreen* screen : QGuiApplication::screens()) {
    const int64_t area = SharedArea(r, screen->geometry());
    if (area > mostArea) {
      mostArea = area;
      most = screen;
    }
  }
  return most ? Handle(most) : Fallback(r, flags);
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
  const RECT r{point.x, point.y, point.x + 1, point.y + 1};
  return MonitorFromRect(&r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r;
  if (!IsGuiThread() || !GetWindowRect(hwnd, &r)) return nullptr;
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (!info || info->cbSize != sizeof(MONITORINFO) || !IsGuiThread()) return 0;
  QScreen* screen = ScreenOf(monitor);
  if (!screen) return 0;
  info->rcMonitor = ToRect(screen->geometry());
  info->rcWork = ToRect(screen->availableGeometry());
  info->dwFlags = screen == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
  return 1;
}

BOOL SystemParametersInfo(UINT action, UINT, void* value, UINT) {
  if (action != SPI_GETWORKAREA || !value || !IsGuiThread()) return 0;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return 0;
  *static_cast<RECT*>(value) = ToRect(primary->availableGeometry());
  return 1;
}

}  // namespace platform
