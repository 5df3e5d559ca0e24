// The menu model shown through Qt: a menu bar rebuilt from the model whenever a menu is attached.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

#include "platform/menu.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

QIcon IconOf(const MenuIcon& icon) {
  QImage image(16, 16, QImage::Format_ARGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int i = y * 16 + x;
      image.setPixel(x, y, icon.transparent[i] ? 0u : (0xFF000000u | icon.pixels[i]));
    }
  return QIcon(QPixmap::fromImage(image));
}

void Fill(QWidget* target, HMENU menu, Window& window, int depth) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MenuItemInfo item;
    if (!GetMenuItemInfoAt(menu, i, item)) break;
    if (item.flags & MF_SEPARATOR) {
      auto* separator = new QAction(target);
      separator->setSeparator(true);
      target->addAction(separator);
      continue;
    }
    const QString text = QString::fromStdString(SjisToUtf8(item.text));
    if ((item.flags & MF_POPUP) && item.submenu && depth < 16) {
      auto* sub = new QMenu(text, target);
      Fill(sub, item.submenu, window, depth + 1);
      target->addAction(sub->menuAction());
      continue;
    }
    auto* action = new QAction(text, target);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    if (item.flags & MF_CHECKED) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    if ((item.flags & MF_OWNERDRAW) && item.hasIcon) action->setIcon(IconOf(item.icon));
    const UINT id = item.id;
    HWND hwnd = &window;
    QObject::connect(action, &QAction::triggered, [hwnd, id] { PostMessage(hwnd, WM_COMMAND, id, 0); });
    target->addAction(action);
  }
}

}  // namespace

void UseMenuBars() {
  MenuBackend backend;
  backend.attach = [](Window& window, HMENU menu) {
    QMenuBar* bar = window.menuBar();
    bar->clear();
    if (menu) Fill(bar, menu, window, 0);
    bar->setVisible(menu != nullptr);
  };
  SetMenuBackend(std::move(backend));
}

}  // namespace platform
