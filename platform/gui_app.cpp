#include "platform/gui_app.h"

#include <QApplication>
#include <QInputDevice>
#include <QPointingDevice>
#include <QThread>

#include <cstdlib>
#include <memory>

namespace platform {
namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says on every fixed-size window that it cannot pass size hints on; that
// is true and of no concern, and it would bury every other line of a test run.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains(QLatin1String("does not support propagateSizeHints"))) return;
  if (previousHandler) previousHandler(type, context, text);
}

}  // namespace

void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  static int argc = 1;
  static char name[] = "vrel";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: windows may be torn down by static destructors. The default input
  // devices are made here, so that the toolkit's own registry of them (built on first use) is
  // destroyed after the application, which deletes the devices.
  static std::unique_ptr<QApplication> app = [] {
    previousHandler = qInstallMessageHandler(FilterMessages);
    auto made = std::make_unique<QApplication>(argc, argv);
    QPointingDevice::primaryPointingDevice();
    QInputDevice::primaryKeyboard();
    return made;
  }();
}

bool IsGuiThread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace platform
