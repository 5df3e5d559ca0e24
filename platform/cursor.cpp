#include "platform/cursor.h"

#include <QCursor>

#include "platform/window_qt.h"

namespace platform {
namespace {

CursorShape lastShape = CursorShape::kArrow;
int changes = 0;

}  // namespace

void SetWindowCursor(HWND window, CursorShape shape) {
  Window* w = WindowFromHandle(window);
  if (!w) return;
  lastShape = shape;
  const Qt::CursorShape wanted = shape == CursorShape::kPointingHand ? Qt::PointingHandCursor : Qt::ArrowCursor;
  if (w->canvas()->cursor().shape() == wanted && w->canvas()->testAttribute(Qt::WA_SetCursor)) return;
  w->canvas()->setCursor(wanted);
  ++changes;
}

CursorShape LastCursorShape() { return lastShape; }
int CursorChanges() { return changes; }

}  // namespace platform
