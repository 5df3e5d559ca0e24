#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>

#include "platform/cursor_images.h"
#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {

// A shape of the toolkit's, or a picture of the editor's own with its hot spot.
class Cursor {
 public:
  explicit Cursor(Qt::CursorShape shape) : m_shape(shape) {}
  explicit Cursor(int resource) : m_shape(Qt::BitmapCursor), m_resource(resource) {}

  QCursor toQt() const {
    if (m_shape != Qt::BitmapCursor) return QCursor(m_shape);
    // Drawn on use: a pixmap needs the application, which a static outlives.
    const CursorImage picture = EditorCursorImage(m_resource);
    return QCursor(QPixmap::fromImage(picture.image), picture.hotSpot.x(), picture.hotSpot.y());
  }

 private:
  Qt::CursorShape m_shape;
  int m_resource = 0;
};

namespace {

CursorShape lastShape = CursorShape::kArrow;
int changes = 0;

Cursor arrowCursor(Qt::ArrowCursor);
Cursor iBeamCursor(Qt::IBeamCursor);
Cursor waitCursor(Qt::WaitCursor);
HCURSOR current = &arrowCursor;
// Whether this layer has the wait cursor set over the application.
bool waitOverride = false;

// The editor's own, drawn here.
Cursor linkCursor(kCursorLink);
Cursor lineNumbersCursor(kCursorLineNumbers);
Cursor searchForwardCursor(kCursorSearchForward);
Cursor searchBackwardCursor(kCursorSearchBackward);

// The window the mouse's input last went to, and the property of a canvas that names the cursor
// this layer set on it last (so that an unchanged one is not set again at every move).
QPointer<Window> mouseWindow;
constexpr const char* kShownCursorProperty = "vrelShownCursor";

void ShowOverMouseWindow(HCURSOR cursor) {
  Window* window = mouseWindow.data();
  if (!window || !cursor || window->classCursor() || !IsWindow(window)) return;
  Canvas* canvas = window->canvas();
  const auto id = reinterpret_cast<quintptr>(cursor);
  if (canvas->property(kShownCursorProperty).value<quintptr>() == id && canvas->testAttribute(Qt::WA_SetCursor)) return;
  canvas->setCursor(cursor->toQt());
  canvas->setProperty(kShownCursorProperty, QVariant::fromValue(id));
}

}  // namespace

void SetWindowCursor(HWND window, CursorShape shape) {
  Window* w = WindowFromHandle(window);
  if (!w) return;
  lastShape = shape;
  const Qt::CursorShape wanted = shape == CursorShape::kPointingHand ? Qt::PointingHandCursor : Qt::ArrowCursor;
  if (w->canvas()->cursor().shape() == wanted && w->canvas()->testAttribute(Qt::WA_SetCursor)) return;
  w->canvas()->setCursor(wanted);
  w->canvas()->setProperty(kShownCursorProperty, QVariant());
  ++changes;
}

CursorShape LastCursorShape() { return lastShape; }
int CursorChanges() { return changes; }

QCursor QtCursor(HCURSOR cursor) { return cursor ? cursor->toQt() : QCursor(Qt::ArrowCursor); }

void NoteMouseWindow(Window& window) { mouseWindow = &window; }

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (!name || !IS_INTRESOURCE(name)) return nullptr;
  switch (reinterpret_cast<uintptr_t>(name)) {
    case kCursorLink:
      return &linkCursor;
    case kCursorLineNumbers:
      return &lineNumbersCursor;
    case kCursorSearchForward:
      return &searchForwardCursor;
    case kCursorSearchBackward:
      return &searchBackwardCursor;
    default:
      break;
  }
  if (instance) return nullptr;
  if (name == IDC_ARROW) return &arrowCursor;
  if (name == IDC_IBEAM) return &iBeamCursor;
  if (name == IDC_WAIT) return &waitCursor;
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
  if (!wait) ShowOverMouseWindow(cursor);
  return previous;
}

HCURSOR GetCursor() { return current; }

bool WaitCursorShown() {
  const QCursor* shown = QGuiApplication::overrideCursor();
  return shown && shown->shape() == Qt::WaitCursor;
}

}  // namespace platform
