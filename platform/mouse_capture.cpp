#include "platform/mouse_capture.h"

#include <QPointer>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// The capture, told apart from a later window at the same address by its serial.
HWND captured = nullptr;
uint64_t capturedSerial = 0;

void Ungrab() {
  if (Window* w = CaptureWindow()) {
    if (QWidget::mouseGrabber() == w->canvas()) w->canvas()->releaseMouse();
  }
  captured = nullptr;
  capturedSerial = 0;
}

}  // namespace

Window* CaptureWindow() {
  if (!captured || LiveSerial(captured) != capturedSerial) return nullptr;
  return WindowFromHandle(captured);
}

HWND SetCapture(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return nullptr;
  const HWND previous = CaptureWindow();
  Ungrab();
  captured = hwnd;
  capturedSerial = LiveSerial(hwnd);
  // Only a shown widget can hold the toolkit's grab; the messages of the program's own windows are
  // captured either way.
  if (HasScreen() && window->canvas()->isVisible()) window->canvas()->grabMouse();
  return previous;
}

BOOL ReleaseCapture() {
  if (!IsGuiThread()) return 0;
  Ungrab();
  return 1;
}

HWND GetCapture() { return IsGuiThread() ? CaptureWindow() : nullptr; }

}  // namespace platform
