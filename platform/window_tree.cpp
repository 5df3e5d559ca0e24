#include "platform/window_tree.h"

#include "platform/window_qt.h"

namespace platform {
namespace {

// The widget that shows a handle's client area, or null.
QWidget* ClientWidget(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) return window->canvas();
  if (ChildWindow* child = ChildFromHandle(hwnd)) return child->widget();
  return nullptr;
}

}  // namespace

HWND GetParent(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) return window->embeddingWindow();
  if (ChildWindow* child = ChildFromHandle(hwnd)) return &child->parent();
  return nullptr;
}

HWND GetWindow(HWND hwnd, UINT command) {
  Window* window = command == GW_OWNER ? WindowFromHandle(hwnd) : nullptr;
  // A child window lies on its parent's canvas; an owned one is a toolkit window under its owner.
  if (!window || window->embeddingWindow()) return nullptr;
  auto* owner = dynamic_cast<Window*>(window->parentWidget());
  return owner && IsWindow(owner) ? owner : nullptr;
}

BOOL GetClassInfoEx(HINSTANCE, const char* className, WNDCLASSEX* out) {
  WindowClassInfo info;
  if (!className || !out || !FindWindowClass(className, &info)) return 0;
  out->lpfnWndProc = info.proc;
  out->style = info.style;
  out->cbWndExtra = info.windowExtra;
  out->hCursor = info.cursor;
  out->hbrBackground = info.backgroundBrush;
  out->background = info.background;
  out->hIcon = info.icon;
  out->lpszMenuName = nullptr;
  out->lpszClassName = className;
  return 1;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  QWidget* source = from ? ClientWidget(from) : nullptr;
  QWidget* target = to ? ClientWidget(to) : nullptr;
  if ((from && !source) || (to && !target)) return 0;
  const QPoint onScreen = source ? source->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
  const QPoint shift = onScreen - (target ? target->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0));
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += shift.x();
    points[i].y += shift.y();
  }
  return static_cast<int>((static_cast<uint32_t>(shift.x()) & 0xFFFF) | (static_cast<uint32_t>(shift.y()) << 16));
}

}  // namespace platform
