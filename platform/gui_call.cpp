#include "platform/gui_call.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/gui_app.h"

namespace platform {

bool CallOnGuiThread(std::function<void()> fn) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || !fn) return false;
  if (IsGuiThread()) {
    fn();
    return true;
  }
  return QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

}  // namespace platform
