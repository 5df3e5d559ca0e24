#include "platform/simulated_input.h"

#include <QApplicationStateChangeEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include "platform/window_qt.h"

namespace platform {
namespace {

Qt::MouseButton QtButton(MouseButton button) {
  switch (button) {
    case MouseButton::Right: return Qt::RightButton;
    case MouseButton::Middle: return Qt::MiddleButton;
    case MouseButton::X1: return Qt::BackButton;
    case MouseButton::X2: return Qt::ForwardButton;
    default: return Qt::LeftButton;
  }
}

// Buttons held down, as the toolkit reports them with each mouse event.
Qt::MouseButtons& HeldButtons() {
  static Qt::MouseButtons held;
  return held;
}

Qt::KeyboardModifiers QtModifiers(unsigned modifiers) {
  Qt::KeyboardModifiers out;
  if (modifiers & kSimShift) out |= Qt::ShiftModifier;
  if (modifiers & kSimControl) out |= Qt::ControlModifier;
  if (modifiers & kSimAlt) out |= Qt::AltModifier;
  return out;
}

template <class F>
void Later(Window* window, F action) {
  QPointer<Window> guard(window);
  QMetaObject::invokeMethod(
      window, [guard, action] { if (guard) action(*guard); }, Qt::QueuedConnection);
}

}  // namespace

void SimulateCloseButton(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) Later(window, [](Window& w) { w.close(); });
}

void SimulateMinimize(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) Later(window, [](Window& w) { w.showMinimized(); });
}

void SimulateRestore(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) Later(window, [](Window& w) { w.restore(); });
}

void SimulateAppActive(bool active) {
  auto* app = QCoreApplication::instance();
  if (!app) return;
  QMetaObject::invokeMethod(
      app,
      [active] {
        QApplicationStateChangeEvent event(active ? Qt::ApplicationActive : Qt::ApplicationInactive);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
      },
      Qt::QueuedConnection);
}

void SimulateMouseButton(HWND hwnd, MouseButton button, bool down, int x, int y, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  Qt::MouseButton b = QtButton(button);
  if (down) {
    HeldButtons() |= b;
  } else {
    HeldButtons() &= ~Qt::MouseButtons(b);
  }
  QPointF local(x, y);
  QCoreApplication::postEvent(window->canvas(),
                              new QMouseEvent(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local,
                                              window->canvas()->mapToGlobal(local), b, HeldButtons(), QtModifiers(modifiers)));
}

void SimulateMouseDoubleClick(HWND hwnd, MouseButton button, int x, int y, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  const Qt::MouseButton b = QtButton(button);
  HeldButtons() |= b;
  QPointF local(x, y);
  QCoreApplication::postEvent(window->canvas(), new QMouseEvent(QEvent::MouseButtonDblClick, local,
                                                                window->canvas()->mapToGlobal(local), b, HeldButtons(),
                                                                QtModifiers(modifiers)));
}

void SimulateMouseMove(HWND hwnd, int x, int y, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  QPointF local(x, y);
  QCoreApplication::postEvent(window->canvas(), new QMouseEvent(QEvent::MouseMove, local, window->canvas()->mapToGlobal(local),
                                                                Qt::NoButton, HeldButtons(), QtModifiers(modifiers)));
}

void SimulateWheel(HWND hwnd, int delta, int x, int y, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  QPointF local(x, y);
  QCoreApplication::postEvent(window->canvas(),
                              new QWheelEvent(local, window->canvas()->mapToGlobal(local), QPoint(), QPoint(0, delta),
                                              HeldButtons(), QtModifiers(modifiers), Qt::NoScrollPhase, false));
}

void SimulateWheelPixels(HWND hwnd, int pixels, int x, int y, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  QPointF local(x, y);
  QCoreApplication::postEvent(window->canvas(),
                              new QWheelEvent(local, window->canvas()->mapToGlobal(local), QPoint(0, pixels), QPoint(),
                                              HeldButtons(), QtModifiers(modifiers), Qt::ScrollUpdate, false));
}

void SimulateKey(HWND hwnd, int qtKey, bool down, bool keypad, bool autoRepeat) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  QCoreApplication::postEvent(window, new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey,
                                                    keypad ? Qt::KeypadModifier : Qt::NoModifier, QString(), autoRepeat));
}

void SimulateTypedKey(HWND hwnd, int qtKey, std::string_view sjisText, unsigned modifiers) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return;
  const QString text = SjisToQString(sjisText);
  const Qt::KeyboardModifiers held = QtModifiers(modifiers);
  QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, qtKey, held, text));
  QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, qtKey, held, text));
}

}  // namespace platform
