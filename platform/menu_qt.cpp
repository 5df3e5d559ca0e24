// The menu model shown through Qt: a menu bar of QMenus and QActions built from the model when a
// menu is attached, kept in step with each changed item through the model's observer.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QLabel>
#include <QFontDatabase>
#include <unordered_map>

#include "platform/gui_app.h"
#include "platform/gui_call.h"
#include "platform/menu.h"
#include "platform/simulated_input.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

constexpr const char* kIdProperty = kMenuIdProperty;

QIcon IconOf(const MenuIcon& icon) {
  QImage image(16, 16, QImage::Format_ARGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int i = y * 16 + x;
      image.setPixel(x, y, icon.transparent[i] ? 0u : (0xFF000000u | icon.pixels[i]));
    }
  return QIcon(QPixmap::fromImage(image));
}

// The actions that show each model item, by the item's key (GUI thread only). Entries of deleted
// actions go when their key is next looked at or the next bar is built.
std::unordered_multimap<uint64_t, QPointer<QAction>>& Shown() {
  static std::unordered_multimap<uint64_t, QPointer<QAction>> shown;
  return shown;
}

QString TextOf(const MenuItemInfo& item) { return SjisToQString(item.text); }

// The item's state on its action. Only a checked item is checkable, so an unchecked one shows no
// empty box beside its text.
void Apply(QAction& action, const MenuItemInfo& item) {
  if (item.submenu) {
    action.setText(TextOf(item));
    action.setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    return;
  }
  action.setSeparator((item.flags & MF_SEPARATOR) != 0);
  if (item.flags & MF_SEPARATOR) return;
  action.setText(TextOf(item));
  action.setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  const bool checked = (item.flags & MF_CHECKED) != 0;
  action.setCheckable(checked);
  action.setChecked(checked);
  action.setProperty(kIdProperty, item.id);
}

constexpr const char* kHandleProperty = "vrelMenuHandle";
constexpr const char* kLoopProperty = "vrelMenuLoop";

HMENU HandleOf(const QObject* menu) {
  return reinterpret_cast<HMENU>(menu->property(kHandleProperty).value<quintptr>());
}

void Fill(QWidget* target, HMENU menu, Window& window, int depth, bool bar);

// The popup's actions made again from the model, after its owner changed the items.
void Refill(QMenu& shown, Window& window, int depth) {
  shown.clear();
  for (QMenu* sub : shown.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) sub->deleteLater();
  Fill(&shown, HandleOf(&shown), window, depth, true);
}

// WM_MENUSELECT for the action under the mouse: a command by its id, a sub-menu by its place.
void SendSelect(Window& window, QMenu& shown, QAction* action) {
  if (!action || action->isSeparator()) return;
  UINT flags = MF_HILITE;
  if (!action->isEnabled()) flags |= MF_GRAYED;
  if (action->isChecked()) flags |= MF_CHECKED;
  unsigned item = action->property(kIdProperty).toUInt();
  if (action->menu()) {
    flags |= MF_POPUP;
    item = static_cast<unsigned>(shown.actions().indexOf(action));
  }
  window.send(WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(HandleOf(&shown)));
}

// The menu loop: the window hears WM_ENTERMENULOOP when a menu of its bar first opens and
// WM_EXITMENULOOP once none is open any more (moving from one menu of the bar to the next stays
// inside the loop); WM_INITMENUPOPUP before each popup shows, which then shows the items as the
// window left them.
void WatchPopup(QMenu& shown, Window& window, int position, int depth) {
  HWND hwnd = &window;
  QPointer<QMenu> guard(&shown);
  QObject::connect(&shown, &QMenu::aboutToShow, &shown, [hwnd, guard, position, depth] {
    Window* w = WindowFromHandle(hwnd);
    QMenuBar* bar = w ? qobject_cast<QMenuBar*>(w->menuWidget()) : nullptr;
    if (!w || !guard || !bar) return;
    if (!bar->property(kLoopProperty).toBool()) {
      bar->setProperty(kLoopProperty, true);
      w->send(WM_ENTERMENULOOP, 0, 0);
    }
    w->send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(HandleOf(guard)), MAKELPARAM(static_cast<unsigned>(position), 0));
    if (guard && WindowFromHandle(hwnd)) Refill(*guard, *w, depth);
  });
  QObject::connect(&shown, &QMenu::hovered, &shown, [hwnd, guard](QAction* action) {
    if (Window* w = WindowFromHandle(hwnd); w && guard) SendSelect(*w, *guard, action);
  });
  QObject::connect(&shown, &QMenu::aboutToHide, &shown, [hwnd] {
    // Looked at once the toolkit has opened whatever comes next.
    QTimer::singleShot(0, [hwnd] {
      Window* w = WindowFromHandle(hwnd);
      QMenuBar* bar = w ? qobject_cast<QMenuBar*>(w->menuWidget()) : nullptr;
      if (!bar || !bar->property(kLoopProperty).toBool() || IsMenuOpen(hwnd)) return;
      bar->setProperty(kLoopProperty, false);
      w->send(WM_EXITMENULOOP, 0, 0);
    });
  });
}

// bar: the items of a menu bar (or one of its popups), which post their commands and tell the
// window of the menu loop; else a pop-up menu's, whose chooser reads the chosen action.
void Fill(QWidget* target, HMENU menu, Window& window, int depth, bool bar) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MenuItemInfo item;
    if (!GetMenuItemInfoAt(menu, i, item)) break;
    QAction* action = nullptr;
    if ((item.flags & MF_POPUP) && item.submenu && depth < 16) {
      auto* sub = new QMenu(TextOf(item), target);
      sub->setProperty(kHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(item.submenu)));
      Fill(sub, item.submenu, window, depth + 1, bar);
      if (bar) WatchPopup(*sub, window, i, depth + 1);
      action = sub->menuAction();
      action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    } else {
      action = new QAction(target);
      Apply(*action, item);
      if ((item.flags & MF_OWNERDRAW) && item.hasIcon) action->setIcon(IconOf(item.icon));
      if (bar) {
        HWND hwnd = &window;
        QObject::connect(action, &QAction::triggered, action, [hwnd, action] {
          // Qt flips a checkable action's mark itself, but the mark is the program's to set: only
          // a checked item is checkable, so the mark goes back on.
          action->setChecked(action->isCheckable());
          PostMessage(hwnd, WM_COMMAND, action->property(kIdProperty).toUInt() & 0xFFFF, 0);
        });
      }
    }
    Shown().emplace(item.key, action);
    target->addAction(action);
  }
}

}  // namespace

QMenu* MakePopupQMenu(HMENU menu, Window& window) {
  auto* shown = new QMenu(window.canvas());
  // The caller reads which was chosen: the bar's way of posting the command would send it twice.
  Fill(shown, menu, window, 0, false);
  return shown;
}

namespace {

QMenuBar* BarOf(Window& window) { return qobject_cast<QMenuBar*>(window.menuWidget()); }

// Empties the bar; its actions and menus go once the toolkit is done with them (a menu may be
// closing as this runs).
void Clear(QMenuBar& bar) {
  for (QAction* action : bar.actions()) {
    bar.removeAction(action);
    if (action->parent() == &bar) action->deleteLater();
  }
  for (QMenu* menu : bar.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) menu->deleteLater();
  std::erase_if(Shown(), [](const auto& entry) { return entry.second.isNull(); });
}

void Attach(Window& window, HMENU menu) {
  QMenuBar* bar = window.menuBar();  // made when the window has none
  Clear(*bar);
  if (menu) Fill(bar, menu, window, 0, true);
  bar->setVisible(menu != nullptr);
}

void ShowChange(const MenuItemInfo& item) {
  auto [from, to] = Shown().equal_range(item.key);
  for (auto it = from; it != to;) {
    if (it->second.isNull()) {
      it = Shown().erase(it);
    } else {
      Apply(*it->second, item);
      ++it;
    }
  }
}

// The action of the command id on the window's bar, or null.
QAction* FindAction(Window& window, UINT id) {
  QMenuBar* bar = BarOf(window);
  if (!bar) return nullptr;
  for (QAction* action : bar->findChildren<QAction*>()) {
    const QVariant value = action->property(kIdProperty);
    if (value.isValid() && value.toUInt() == id && !action->isSeparator() && !action->menu()) return action;
  }
  return nullptr;
}

}  // namespace

void UseMenuBars() {
  MenuBackend backend;
  backend.load = [](std::string_view name) { return LoadMenuResourceByName(name); };
  backend.attach = [](Window& window, HMENU menu) { Attach(window, menu); };
  SetMenuBackend(std::move(backend));
  SetMenuItemObserver([](const MenuItemInfo& item) {
    if (IsGuiThread()) {
      ShowChange(item);
    } else {
      CallOnGuiThread([item] { ShowChange(item); });
    }
  });
}

bool IsMenuOpen(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  QMenuBar* bar = window ? BarOf(*window) : nullptr;
  if (!bar) return false;
  for (QMenu* menu : bar->findChildren<QMenu*>())
    if (menu->isVisible()) return true;
  return false;
}

bool DrawMenuBar(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !window->menu()) return false;
  Attach(*window, window->menu());
  return true;
}

bool SetMenuBarCornerText(HWND hwnd, std::string_view text) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  QMenuBar* bar = window->menuBar();  // made when the window has none; shown with a menu
  auto* label = qobject_cast<QLabel*>(bar->cornerWidget(Qt::TopRightCorner));
  if (!label) {
    label = new QLabel(bar);
    label->setObjectName("vrelCornerText");
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(0, 0, 5, 0);
    bar->setCornerWidget(label, Qt::TopRightCorner);
  }
  label->setText(SjisToQString(text));
  label->show();
  return true;
}

// ---- the menu part of simulated input ----

void SimulateMenuCommand(HWND hwnd, UINT id) {
  Window* window = WindowFromHandle(hwnd);
  QAction* action = window ? FindAction(*window, id) : nullptr;
  if (action) QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
}

void SimulateMenuOpen(HWND hwnd, int barIndex) {
  Window* window = WindowFromHandle(hwnd);
  QMenuBar* bar = window ? BarOf(*window) : nullptr;
  if (!bar || barIndex < 0 || barIndex >= bar->actions().size()) return;
  QPointer<QMenu> menu = bar->actions()[barIndex]->menu();
  if (!menu) return;
  QMetaObject::invokeMethod(
      menu,
      [menu] {
        if (menu) menu->popup(menu->parentWidget()->mapToGlobal(QPoint(0, 0)));
      },
      Qt::QueuedConnection);
}

void SimulateMenuClose(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  QMenuBar* bar = window ? BarOf(*window) : nullptr;
  if (!bar) return;
  for (QMenu* menu : bar->findChildren<QMenu*>()) {
    QPointer<QMenu> guard(menu);
    QMetaObject::invokeMethod(
        menu,
        [guard] {
          if (guard) guard->hide();
        },
        Qt::QueuedConnection);
  }
}

}  // namespace platform
