// Which window has the keyboard, and the messages that tell a window it came or went.
#include <QApplication>
#include <QPointer>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// The window that lost the keyboard last, for the WM_SETFOCUS that follows.
QPointer<Window> lastLost;

HWND HandleOfWidget(QWidget* widget) {
  if (!widget) return nullptr;
  if (auto* canvas = dynamic_cast<Canvas*>(widget)) {
    return IsWindow(&canvas->owner()) ? static_cast<HWND>(&canvas->owner()) : nullptr;
  }
  // A control of a dialog, or a widget inside one (a combo box's edit).
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    auto* canvas = dynamic_cast<Canvas*>(w->parentWidget());
    if (!canvas) continue;
    for (ChildWindow* child : ChildWindowsOf(canvas->owner())) {
      if (child->widget() == w) return child->handle();
    }
    return nullptr;
  }
  return nullptr;
}

}  // namespace

HWND GetFocus() {
  if (!IsGuiThread()) return nullptr;
  return HandleOfWidget(QApplication::focusWidget());
}

void CanvasFocusChanged(Canvas& canvas, bool gained, Qt::FocusReason reason) {
  // A menu takes the keyboard only for as long as it is open, as a menu loop does.
  if (reason == Qt::PopupFocusReason) return;
  Window& window = canvas.owner();
  // A window on its way out hears only its destruction.
  if (!IsWindow(&window) || window.destroying()) return;
  if (gained) {
    Window* previous = lastLost.data();
    lastLost = nullptr;
    window.send(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous != &window && IsWindow(previous) ? previous : nullptr),
                0);
  } else {
    lastLost = &window;
    window.send(WM_KILLFOCUS, reinterpret_cast<WPARAM>(HandleOfWidget(QApplication::focusWidget())), 0);
  }
}

}  // namespace platform
