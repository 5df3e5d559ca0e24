#include "platform/gui_app.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDevice>
#include <QPointingDevice>
#include <QThread>

#include <cstdlib>

#include "platform/window_qt.h"

namespace platform {
namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says on every fixed-size window that it cannot pass size hints on; that
// is true and of no concern, and it would bury every other line of a test run. So are its notes
// that it cannot raise a window or grab the keyboard, which a dialog's dropped-down list asks for.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains(QLatin1String("does not support propagateSizeHints")) ||
      text.contains(QLatin1String("does not support raise()")) ||
      text.contains(QLatin1String("does not support grabbing the keyboard"))) {
    return;
  }
  if (previousHandler) previousHandler(type, context, text);
}

// Counts every event delivered to a widget of one of our windows as the window being busy, so that
// a window destroyed from inside a control's own event (a button's click ending its dialog) is
// deleted only once that event is over.
class Application final : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    if (receiver->isWidgetType()) {
      if (auto* window = dynamic_cast<Window*>(static_cast<QWidget*>(receiver)->window())) {
        Window::BusyScope busy(*window);
        return QApplication::notify(receiver, event);
      }
    }
    return QApplication::notify(receiver, event);
  }
};

QApplication* MakeApp() {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  // The toolkit keeps a reference to the argument count and the arguments for its whole life.
  static int argc = 1;
  static char name[] = "vrel";
  static char* argv[] = {name, nullptr};
  if (!previousHandler) previousHandler = qInstallMessageHandler(FilterMessages);
  auto* app = new Application(argc, argv);
  // The default input devices are made here, so that the toolkit's own registry of them (built on
  // first use) outlives the application, which deletes the devices.
  QPointingDevice::primaryPointingDevice();
  QInputDevice::primaryKeyboard();
  return app;
}

}  // namespace

GuiApp::GuiApp() {
  if (QCoreApplication::instance()) return;
  MakeApp();
  m_owner = true;
}

GuiApp::~GuiApp() {
  if (!m_owner) return;
  FlushPendingDeletes();
  delete QCoreApplication::instance();
}

void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  // Reachable through the toolkit's own instance pointer to the end; see GuiApp for why it is
  // never destroyed from here.
  MakeApp();
}

bool IsGuiThread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

bool HasScreen() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app && QGuiApplication::platformName() != "offscreen" && QGuiApplication::platformName() != "minimal";
}

}  // namespace platform
