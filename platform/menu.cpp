#include "platform/menu.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class Menu {
 public:
  std::vector<MenuItemInfo> items;
  Menu* parent = nullptr;
};

namespace {

std::recursive_mutex registryLock;
// Live menus own themselves here; a handle found nowhere in this map is refused.
std::map<Menu*, std::unique_ptr<Menu>>& LiveMenus() {
  static std::map<Menu*, std::unique_ptr<Menu>> menus;
  return menus;
}

bool IsLive(HMENU m) { return m && LiveMenus().contains(m); }

HMENU NewMenu() {
  std::lock_guard guard(registryLock);
  auto menu = std::make_unique<Menu>();
  HMENU handle = menu.get();
  LiveMenus().emplace(handle, std::move(menu));
  return handle;
}

void Destroy(HMENU m) {
  for (MenuItemInfo& item : m->items)
    if (item.submenu && IsLive(item.submenu)) Destroy(item.submenu);
  LiveMenus().erase(m);
}

bool Insert(HMENU menu, size_t at, UINT flags, uintptr_t item, const char* text) {
  if (!IsLive(menu)) return false;
  MenuItemInfo info;
  info.flags = flags;
  if (flags & MF_POPUP) {
    auto* sub = reinterpret_cast<HMENU>(item);
    if (!IsLive(sub) || sub->parent || sub == menu) return false;
    sub->parent = menu;
    info.submenu = sub;
  } else {
    info.id = static_cast<UINT>(item);
  }
  if (!(flags & MF_SEPARATOR) && text) info.text = text;
  if (at > menu->items.size()) at = menu->items.size();
  menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(info));
  return true;
}

}  // namespace
}  // namespace platform

HMENU CreateMenu() { return platform::NewMenu(); }
HMENU CreatePopupMenu() { return platform::NewMenu(); }

bool DestroyMenu(HMENU menu) {
  std::lock_guard guard(platform::registryLock);
  if (!platform::IsLive(menu)) return false;
  if (menu->parent && platform::IsLive(menu->parent))
    for (auto& item : menu->parent->items)
      if (item.submenu == menu) item.submenu = nullptr;
  platform::Destroy(menu);
  return true;
}

bool AppendMenu(HMENU menu, UINT flags, uintptr_t item, const char* text) {
  std::lock_guard guard(platform::registryLock);
  return platform::IsLive(menu) && platform::Insert(menu, menu->items.size(), flags, item, text);
}

bool InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t item, const char* text) {
  std::lock_guard guard(platform::registryLock);
  if (!platform::IsLive(menu)) return false;
  size_t at = menu->items.size();
  if (flags & MF_BYPOSITION) {
    at = position;
  } else {
    for (size_t i = 0; i < menu->items.size(); ++i)
      if (!menu->items[i].submenu && menu->items[i].id == position) {
        at = i;
        break;
      }
  }
  return platform::Insert(menu, at, flags & ~MF_BYPOSITION, item, text);
}

bool SetMenuItemIcon(HMENU menu, int position, const platform::MenuIcon& icon) {
  std::lock_guard guard(platform::registryLock);
  if (!platform::IsLive(menu) || position < 0 || position >= static_cast<int>(menu->items.size())) return false;
  menu->items[position].hasIcon = true;
  menu->items[position].icon = icon;
  return true;
}

int GetMenuItemCount(HMENU menu) {
  std::lock_guard guard(platform::registryLock);
  return platform::IsLive(menu) ? static_cast<int>(menu->items.size()) : -1;
}

bool GetMenuItemInfoAt(HMENU menu, int position, platform::MenuItemInfo& out) {
  std::lock_guard guard(platform::registryLock);
  if (!platform::IsLive(menu) || position < 0 || position >= static_cast<int>(menu->items.size())) return false;
  out = menu->items[position];
  return true;
}
