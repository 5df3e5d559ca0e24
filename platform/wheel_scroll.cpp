#include "platform/wheel_scroll.h"

#include <QGuiApplication>
#include <QStyleHints>

#include "platform/gui_app.h"

namespace platform {

std::optional<int> WheelScrollLines() {
  EnsureGuiApp();
  if (!IsGuiThread()) return std::nullopt;
  return QGuiApplication::styleHints()->wheelScrollLines();
}

}  // namespace platform
