// Window classes, icon resources and the menu facility's plug: what a window takes from its class.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <map>
#include <memory>
#include <mutex>

#include "platform/window_qt.h"

namespace platform {

class Icon {
 public:
  explicit Icon(QImage image) : m_image(std::move(image)) {}
  const QImage& image() const { return m_image; }
  void setImage(QImage image) { m_image = std::move(image); }

 private:
  QImage m_image;
};

namespace {

std::mutex registryMutex;

std::map<std::string, WindowClassInfo, std::less<>>& Classes() {
  static std::map<std::string, WindowClassInfo, std::less<>> classes = [] {
    std::map<std::string, WindowClassInfo, std::less<>> standard;
    for (const char* name : {"BUTTON", "COMBOBOX", "EDIT", "LISTBOX", "MDICLIENT", "SCROLLBAR", "STATIC"}) {
      standard[name] = WindowClassInfo{DefWindowProc, nullptr, RGB(255, 255, 255), {}};
    }
    return standard;
  }();
  return classes;
}

std::map<std::string, std::unique_ptr<Icon>, std::less<>>& Icons() {
  static std::map<std::string, std::unique_ptr<Icon>, std::less<>> icons;
  return icons;
}

MenuBackend& Backend() {
  static MenuBackend backend;
  return backend;
}

}  // namespace

ATOM RegisterClassEx(const WNDCLASSEX* windowClass) {
  if (!windowClass || !windowClass->lpfnWndProc || !windowClass->lpszClassName || !*windowClass->lpszClassName) {
    return 0;
  }
  std::lock_guard lock(registryMutex);
  auto& classes = Classes();
  auto [it, added] = classes.try_emplace(windowClass->lpszClassName);
  if (!added) return 0;
  it->second = WindowClassInfo{windowClass->lpfnWndProc, windowClass->hIcon, windowClass->background,
                               windowClass->lpszMenuName ? windowClass->lpszMenuName : ""};
  // Atoms count from the first number that is not a standard class's.
  return static_cast<ATOM>(0xC000 + classes.size());
}

bool FindWindowClass(std::string_view name, WindowClassInfo* info) {
  std::lock_guard lock(registryMutex);
  auto it = Classes().find(name);
  if (it == Classes().end()) return false;
  *info = it->second;
  return true;
}

bool RegisterIconResource(std::string_view name, std::span<const uint8_t> imageFile) {
  QImage image;
  if (imageFile.empty() || !image.loadFromData(imageFile.data(), static_cast<int>(imageFile.size()))) return false;
  std::lock_guard lock(registryMutex);
  // A name registered again keeps its handle, which classes may hold, and takes the new picture.
  auto& icon = Icons()[std::string(name)];
  if (icon) {
    icon->setImage(std::move(image));
  } else {
    icon = std::make_unique<Icon>(std::move(image));
  }
  return true;
}

HICON LoadIcon(HINSTANCE, const char* name) {
  if (!name) return nullptr;
  std::lock_guard lock(registryMutex);
  auto it = Icons().find(std::string_view(name));
  return it == Icons().end() ? nullptr : it->second.get();
}

QImage IconImage(HICON icon) {
  if (!icon) return QImage();
  std::lock_guard lock(registryMutex);
  return icon->image();
}

void ApplyIcon(Window& window, HICON icon) {
  if (!icon) return;
  window.setWindowIcon(QIcon(QPixmap::fromImage(IconImage(icon))));
}

void SetMenuBackend(MenuBackend backend) {
  std::lock_guard lock(registryMutex);
  Backend() = std::move(backend);
}

HMENU LoadMenuResource(std::string_view name) {
  std::function<HMENU(std::string_view)> load;
  {
    std::lock_guard lock(registryMutex);
    load = Backend().load;
  }
  return load && !name.empty() ? load(name) : nullptr;
}

void AttachMenu(Window& window, HMENU menu) {
  std::function<void(Window&, HMENU)> attach;
  {
    std::lock_guard lock(registryMutex);
    attach = Backend().attach;
  }
  window.setMenuHandle(menu);
  if (attach) attach(window, menu);
}

HMENU LoadMenu(HINSTANCE, const char* name) { return name ? LoadMenuResource(name) : nullptr; }

}  // namespace platform
