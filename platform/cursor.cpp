#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {

class Cursor {
 public:
  explicit Cursor(Qt::CursorShape shape) : m_shape(shape) {}
  Qt::CursorShape shape() const { return m_shape; }

 private:
  Qt::CursorShape m_shape;
};

namespace {

CursorShape lastShape = CursorShape::kArrow;
int changes = 0;

Cursor arrowCursor(Qt::ArrowCursor);
Cursor waitCursor(Qt::WaitCursor);
Cursor sizeWeCursor(Qt::SizeHorCursor);
Cursor sizeNsCursor(Qt::SizeVerCursor);
Cursor sizeAllCursor(Qt::SizeAllCursor);
HCURSOR current = &arrowCursor;
// Whether this layer has the wait cursor set over the application.
bool waitOverride = false;

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

Qt::CursorShape QtCursorShape(HCURSOR cursor) { return cursor ? cursor->shape() : Qt::ArrowCursor; }

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (instance || !name || !IS_INTRESOURCE(name)) return nullptr;
  if (name == IDC_ARROW) return &arrowCursor;
  if (name == IDC_WAIT) return &waitCursor;
  if (name == IDC_SIZEWE) return &sizeWeCursor;
  if (name == IDC_SIZENS) return &sizeNsCursor;
  if (name == IDC_SIZEALL) return &sizeAllCursor;
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  EnsureGuiApp();
  if (!IsGuiThread()) return nullptr;
  const HCURSOR previous = current;
  current = cursor;
  const bool wait = cursor == &waitCursor;
  if (wait != waitOverride) {
    // The override is the application's: it shows over every window, and outside them while the
    // mouse is captured.
    if (wait) {
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
      QGuiApplication::restoreOverrideCursor();
    }
    waitOverride = wait;
  }
  return previous;
}

HCURSOR GetCursor() { return current; }

bool WaitCursorShown() {
  const QCursor* shown = QGuiApplication::overrideCursor();
  return shown && shown->shape() == Qt::WaitCursor;
}

}  // namespace platform
