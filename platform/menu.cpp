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
uint64_t nextKey = 1;

std::mutex observerLock;
MenuItemObserver& Observer() {
  static MenuItemObserver observer;
  return observer;
}

// Outside the registry lock: the observer may read menus itself.
void Notify(const MenuItemInfo& item) {
  MenuItemObserver observer;
  {
    std::lock_guard guard(observerLock);
    observer = Observer();
  }
  if (observer) observer(item);
}

struct MenuResource {
  std::vector<MenuResourceEntry> entries;
  std::vector<std::unique_ptr<std::string>> texts;  // what the entries' text pointers point at
};

std::map<std::string, MenuResource, std::less<>>& Resources() {
  static std::map<std::string, MenuResource, std::less<>> resources;
  return resources;
}
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
  info.key = nextKey++;
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

// The item as flags find it: by position in the menu, or by command id in the menu and its
// sub-menus, depth first. Null when there is none.
MenuItemInfo* Find(HMENU menu, UINT item, UINT flags, int depth = 0) {
  if (!IsLive(menu)) return nullptr;
  if (flags & MF_BYPOSITION) return item < menu->items.size() ? &menu->items[item] : nullptr;
  for (MenuItemInfo& info : menu->items) {
    if (info.submenu) {
      // A menu resource nests a few levels; the bound keeps a cycle made by hand from recursing.
      if (depth < 16)
        if (MenuItemInfo* found = Find(info.submenu, item, flags, depth + 1)) return found;
    } else if (!(info.flags & MF_SEPARATOR) && info.id == item) {
      return &info;
    }
  }
  return nullptr;
}

// Sets the bits of mask in the item to those of value; the previous bits, or -1 without the item.
int ChangeState(HMENU menu, UINT item, UINT flags, UINT mask, UINT value) {
  MenuItemInfo changed;
  int previous = -1;
  {
    std::lock_guard guard(registryLock);
    MenuItemInfo* info = Find(menu, item, flags);
    if (!info) return -1;
    previous = static_cast<int>(info->flags & mask);
    if (static_cast<UINT>(previous) == (value & mask)) return previous;
    info->flags = (info->flags & ~mask) | (value & mask);
    changed = *info;
  }
  Notify(changed);
  return previous;
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

int CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  return platform::ChangeState(menu, item, flags, MF_CHECKED, flags);
}

int EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  return platform::ChangeState(menu, item, flags, MF_GRAYED | MF_DISABLED, flags);
}

bool ModifyMenu(HMENU menu, UINT item, UINT flags, uintptr_t newItem, const char* text) {
  platform::MenuItemInfo changed;
  {
    std::lock_guard guard(platform::registryLock);
    platform::MenuItemInfo* info = platform::Find(menu, item, flags);
    if (!info) return false;
    const UINT kept = MF_OWNERDRAW & info->flags;
    if (info->submenu) {
      if (!(flags & MF_POPUP) || reinterpret_cast<HMENU>(newItem) != info->submenu) return false;
      info->text = text ? text : "";
    } else {
      if (flags & MF_POPUP) return false;
      info->flags = (flags & ~MF_BYPOSITION) | kept;
      info->id = static_cast<UINT>(newItem);
      info->text = (flags & MF_SEPARATOR) || !text ? "" : text;
    }
    changed = *info;
  }
  platform::Notify(changed);
  return true;
}

namespace platform {
namespace {

// Takes the item out of the menu that holds it (found as flags say); its sub-menu is destroyed
// when destroy is set, else it stands alone again. False when there is no such item.
bool Take(HMENU menu, UINT item, UINT flags, bool destroy, int depth = 0) {
  if (!IsLive(menu)) return false;
  auto& items = menu->items;
  for (size_t i = 0; i < items.size(); ++i) {
    MenuItemInfo& info = items[i];
    const bool match = (flags & MF_BYPOSITION) ? i == item : !info.submenu && !(info.flags & MF_SEPARATOR) && info.id == item;
    if (!match) {
      if (!(flags & MF_BYPOSITION) && info.submenu && depth < 16 && Take(info.submenu, item, flags, destroy, depth + 1))
        return true;
      continue;
    }
    if (HMENU sub = info.submenu; sub && IsLive(sub)) {
      sub->parent = nullptr;
      if (destroy) Destroy(sub);
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

}  // namespace
}  // namespace platform

bool DeleteMenu(HMENU menu, UINT item, UINT flags) {
  std::lock_guard guard(platform::registryLock);
  return platform::Take(menu, item, flags, true);
}

bool RemoveMenu(HMENU menu, UINT item, UINT flags) {
  std::lock_guard guard(platform::registryLock);
  return platform::Take(menu, item, flags, false);
}

int GetMenuState(HMENU menu, UINT item, UINT flags) {
  std::lock_guard guard(platform::registryLock);
  const platform::MenuItemInfo* info = platform::Find(menu, item, flags);
  return info ? static_cast<int>(info->flags & ~MF_BYPOSITION) : -1;
}

namespace platform {

void SetMenuItemObserver(MenuItemObserver observer) {
  std::lock_guard guard(observerLock);
  Observer() = std::move(observer);
}

bool RegisterMenuResource(std::string_view name, std::span<const MenuResourceEntry> entries) {
  if (name.empty()) return false;
  MenuResource resource;
  int depth = 0;
  for (const MenuResourceEntry& entry : entries) {
    switch (entry.kind) {
      case MenuResourceEntry::Kind::kPopup:
        ++depth;
        break;
      case MenuResourceEntry::Kind::kEnd:
        if (--depth < 0) return false;
        break;
      case MenuResourceEntry::Kind::kItem:
        break;
      case MenuResourceEntry::Kind::kSeparator:
        resource.entries.push_back({entry.kind, 0, nullptr});
        continue;
    }
    if (entry.kind != MenuResourceEntry::Kind::kEnd && !entry.text) return false;
    MenuResourceEntry copy = entry;
    if (entry.text) {
      resource.texts.push_back(std::make_unique<std::string>(entry.text));
      copy.text = resource.texts.back()->c_str();
    }
    resource.entries.push_back(copy);
  }
  if (depth != 0) return false;
  std::lock_guard guard(registryLock);
  Resources()[std::string(name)] = std::move(resource);
  return true;
}

HMENU LoadMenuResourceByName(std::string_view name) {
  std::lock_guard guard(registryLock);
  auto it = Resources().find(name);
  if (it == Resources().end()) return nullptr;
  // The registration checked that every popup closes, so the stack never runs dry.
  std::vector<HMENU> open{CreateMenu()};
  for (const MenuResourceEntry& entry : it->second.entries) {
    switch (entry.kind) {
      case MenuResourceEntry::Kind::kPopup: {
        HMENU popup = CreatePopupMenu();
        AppendMenu(open.back(), MF_POPUP, reinterpret_cast<uintptr_t>(popup), entry.text);
        open.push_back(popup);
        break;
      }
      case MenuResourceEntry::Kind::kEnd:
        open.pop_back();
        break;
      case MenuResourceEntry::Kind::kItem:
        AppendMenu(open.back(), MF_STRING, entry.id, entry.text);
        break;
      case MenuResourceEntry::Kind::kSeparator:
        AppendMenu(open.back(), MF_SEPARATOR, 0, nullptr);
        break;
    }
  }
  return open.front();
}

}  // namespace platform
