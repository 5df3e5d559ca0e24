#include "platform/gui_app.h"

#include <QApplication>
#include <QThread>

#include <cstdlib>
#include <memory>

namespace platform {

void EnsureGuiApp() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  static int argc = 1;
  static char name[] = "vrel";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: windows may be torn down by static destructors.
  static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
}

bool IsGuiThread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace platform
