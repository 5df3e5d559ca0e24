#include "platform/popup_menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>
#include <utility>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// Touched on the GUI thread only.
PopupMenuHook& Hook() {
  static PopupMenuHook hook;
  return hook;
}

// Whether a person could choose the command in the menu.
bool Choosable(HMENU menu, UINT id) {
  if (id == 0) return false;
  const int state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != -1 && !(state & (MF_GRAYED | MF_DISABLED | MF_POPUP | MF_SEPARATOR));
}

UINT ShowAndWait(HMENU menu, Window& window, QPoint at) {
  std::unique_ptr<QMenu> shown(MakePopupQMenu(menu, window));
  QPointer<QAction> chosen = shown->exec(at);
  return chosen ? chosen->property(kMenuIdProperty).toUInt() : 0;
}

}  // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  if (!IsGuiThread() || GetMenuItemCount(menu) < 0) return 0;
  Window* window = TopWindowFromHandle(hwnd);
  if (!window) return 0;
  const UINT id = Hook() ? Hook()(menu, POINT{x, y}) : ShowAndWait(menu, *window, QPoint(x, y));
  if (!Choosable(menu, id)) return 0;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  PostMessage(hwnd, WM_COMMAND, id & 0xFFFF, 0);
  return 1;
}

PopupMenuHook SetPopupMenuHook(PopupMenuHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace platform
