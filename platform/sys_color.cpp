#include "platform/sys_color.h"

#include <QApplication>
#include <QPalette>

#include "platform/gui_app.h"

namespace platform {
namespace {

bool Known(int index) {
  switch (index) {
    case COLOR_BTNFACE:
    case COLOR_BTNSHADOW:
    case COLOR_BTNHIGHLIGHT:
    case COLOR_3DDKSHADOW:
    case COLOR_3DLIGHT:
    case COLOR_INFOTEXT:
    case COLOR_INFOBK:
      return true;
    default:
      return false;
  }
}

}  // namespace

COLORREF GetSysColor(int index) {
  if (!Known(index)) return 0;
  EnsureGuiApp();
  const QPalette palette = QApplication::palette();
  QColor colour;
  switch (index) {
    case COLOR_BTNFACE:
      colour = palette.color(QPalette::Active, QPalette::Button);
      break;
    case COLOR_BTNSHADOW:
      colour = palette.color(QPalette::Active, QPalette::Dark);
      break;
    case COLOR_BTNHIGHLIGHT:
      colour = palette.color(QPalette::Active, QPalette::Light);
      break;
    case COLOR_3DDKSHADOW:
      colour = palette.color(QPalette::Active, QPalette::Shadow);
      break;
    case COLOR_3DLIGHT:
      colour = palette.color(QPalette::Active, QPalette::Midlight);
      break;
    case COLOR_INFOTEXT:
      colour = palette.color(QPalette::Active, QPalette::ToolTipText);
      break;
    default:
      colour = palette.color(QPalette::Active, QPalette::ToolTipBase);
      break;
  }
  return RGB(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
             static_cast<unsigned>(colour.blue()));
}

HBRUSH GetSysColorBrush(int index) {
  return Known(index) ? reinterpret_cast<HBRUSH>(static_cast<intptr_t>(index) + 1) : nullptr;
}

}  // namespace platform
