#include "platform/sys_color.h"

#include <QApplication>
#include <QPalette>

#include "platform/gui_app.h"

namespace platform {
namespace {

bool Known(int index) { return index == COLOR_BTNFACE || index == COLOR_INFOTEXT || index == COLOR_INFOBK; }

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
