#include "platform/sys_color.h"

#include <QApplication>
#include <QPalette>

#include "platform/gui_app.h"

namespace platform {
namespace {

// Each system colour is the palette's role of the same meaning.
bool RoleOf(int index, QPalette::ColorRole* role) {
  switch (index) {
    case COLOR_BTNFACE:
      *role = QPalette::Button;
      return true;
    case COLOR_BTNSHADOW:
      *role = QPalette::Dark;
      return true;
    case COLOR_BTNTEXT:
      *role = QPalette::ButtonText;
      return true;
    case COLOR_BTNHIGHLIGHT:
      *role = QPalette::Light;
      return true;
    case COLOR_3DDKSHADOW:
      *role = QPalette::Shadow;
      return true;
    case COLOR_3DLIGHT:
      *role = QPalette::Midlight;
      return true;
    case COLOR_INFOTEXT:
      *role = QPalette::ToolTipText;
      return true;
    case COLOR_INFOBK:
      *role = QPalette::ToolTipBase;
      return true;
    default:
      return false;
  }
}

bool Known(int index) {
  QPalette::ColorRole role;
  return RoleOf(index, &role);
}

}  // namespace

COLORREF GetSysColor(int index) {
  QPalette::ColorRole role;
  if (!RoleOf(index, &role)) return 0;
  EnsureGuiApp();
  const QColor colour = QApplication::palette().color(QPalette::Active, role);
  return RGB(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
             static_cast<unsigned>(colour.blue()));
}

HBRUSH GetSysColorBrush(int index) {
  return Known(index) ? reinterpret_cast<HBRUSH>(static_cast<intptr_t>(index) + 1) : nullptr;
}

}  // namespace platform
