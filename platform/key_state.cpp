#include "platform/key_state.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>

#include "platform/gui_app.h"

namespace platform {
namespace {

struct Held {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

Held& TheHeld() {
  static Held held;
  return held;
}

// Watches every key event the toolkit delivers in the program, whichever widget takes it.
class KeyWatcher final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        const bool down = event->type() == QEvent::KeyPress;
        switch (static_cast<QKeyEvent*>(event)->key()) {
          case Qt::Key_Shift: TheHeld().shift = down; break;
          case Qt::Key_Control: TheHeld().control = down; break;
          case Qt::Key_Alt: TheHeld().alt = down; break;
          default: break;
        }
        break;
      }
      case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive) {
          TheHeld() = Held{};
        }
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }
};

void InstallKeyWatcher() {
  auto* app = QCoreApplication::instance();
  app->installEventFilter(new KeyWatcher(app));  // a child of the application: it goes with it
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallKeyWatcher)

SHORT GetKeyState(int virtualKey) {
  if (!IsGuiThread()) return 0;
  // Without a screen there is no keyboard to ask: what it answers is left over from earlier events.
  const Qt::KeyboardModifiers desktop = HasScreen() ? QGuiApplication::queryKeyboardModifiers() : Qt::NoModifier;
  const Held& held = TheHeld();
  bool down = false;
  switch (virtualKey) {
    case VK_SHIFT: down = held.shift || (desktop & Qt::ShiftModifier); break;
    case VK_CONTROL: down = held.control || (desktop & Qt::ControlModifier); break;
    case VK_MENU: down = held.alt || (desktop & Qt::AltModifier); break;
    default: break;
  }
  return down ? static_cast<SHORT>(0x8000) : 0;
}

}  // namespace platform
