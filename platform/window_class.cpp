// Window classes, icon resources and the menu facility's plug: what a window takes from its class.
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sys_color.h"
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

// A window's extra bytes are kept with it; more than this is no class's need.
constexpr int kMaxWindowExtra = 256;

std::mutex registryMutex;

std::map<std::string, WindowClassInfo, std::less<>>& Classes() {
  static std::map<std::string, WindowClassInfo, std::less<>> classes = [] {
    std::map<std::string, WindowClassInfo, std::less<>> standard;
    for (const char* name : {"BUTTON", "COMBOBOX", "EDIT", "LISTBOX", "MDICLIENT", "SCROLLBAR", "STATIC"}) {
      standard[name] = WindowClassInfo{DefWindowProc, nullptr, RGB(255, 255, 255), {}};
    }
    // A static control lies on the button face, as a pane's corner box or a label beside controls.
    standard["STATIC"].backgroundBrush = GetSysColorBrush(COLOR_BTNFACE);
    return standard;
  }();
  return classes;
}

std::map<std::string, std::unique_ptr<Icon>, std::less<>>& Icons() {
  static std::map<std::string, std::unique_ptr<Icon>, std::less<>> icons;
  return icons;
}

// A resource named by number is found under the number's decimal text; no name is the empty one.
// The number lives in the pointer itself, which must never be read as text.
std::string ResourceName(const char* name) {
  if (!name) return {};
  if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<uintptr_t>(name));
  return name;
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
  it->second = WindowClassInfo{windowClass->lpfnWndProc,
                               windowClass->hIcon,
                               windowClass->background,
                               ResourceName(windowClass->lpszMenuName),
                               windowClass->style,
                               std::clamp(windowClass->cbWndExtra, 0, kMaxWindowExtra),
                               windowClass->hCursor,
                               windowClass->hbrBackground};
  // Atoms count from the first number that is not a standard class's.
  return static_cast<ATOM>(0xC000 + classes.size());
}

COLORREF ClassBackground(const WindowClassInfo& info) {
  if (!info.backgroundBrush) return info.background;
  return GetSysColor(static_cast<int>(reinterpret_cast<intptr_t>(info.backgroundBrush)) - 1);
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

namespace {

// The system's standard icons, drawn here at the big icon size (32 x 32): the toolkit's own come
// from the desktop's icon theme, which differs from machine to machine and must not outlive the
// application object it was loaded with.
QImage DrawStandardIcon(int id) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor white(255, 255, 255);
  switch (id) {
    case 32512: {  // application: a window with its title bar
      p.setPen(QPen(QColor(40, 40, 40), 1));
      p.setBrush(white);
      p.drawRect(QRectF(3.5, 5.5, 25, 21));
      p.fillRect(QRectF(4, 6, 24, 5), QColor(0, 84, 166));
      break;
    }
    case 32513: {  // hand (error): a red disc with a white cross
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(200, 30, 30));
      p.drawEllipse(QRectF(1, 1, 30, 30));
      p.setPen(QPen(white, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(10, 10), QPointF(22, 22));
      p.drawLine(QPointF(22, 10), QPointF(10, 22));
      break;
    }
    case 32514: {  // question: a blue disc with a white question mark
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 90, 200));
      p.drawEllipse(QRectF(1, 1, 30, 30));
      p.setPen(QPen(white, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      QPainterPath hook;
      hook.moveTo(11, 12);
      hook.cubicTo(11, 5, 21, 5, 21, 11);
      hook.cubicTo(21, 15, 16, 15, 16, 20);
      p.drawPath(hook);
      p.setPen(Qt::NoPen);
      p.setBrush(white);
      p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
      break;
    }
    case 32515: {  // exclamation (warning): a yellow triangle with a black mark
      QPainterPath triangle;
      triangle.moveTo(16, 2);
      triangle.lineTo(30.5, 29);
      triangle.lineTo(1.5, 29);
      triangle.closeSubpath();
      p.setPen(QPen(QColor(90, 70, 0), 1.5));
      p.setBrush(QColor(250, 200, 20));
      p.drawPath(triangle);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(20, 20, 20));
      p.drawRoundedRect(QRectF(14.2, 10, 3.6, 11), 1.5, 1.5);
      p.drawEllipse(QPointF(16, 24.5), 2, 2);
      break;
    }
    case 32516: {  // asterisk (information): a blue disc with a white "i"
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 90, 200));
      p.drawEllipse(QRectF(1, 1, 30, 30));
      p.setBrush(white);
      p.drawEllipse(QPointF(16, 9), 2.5, 2.5);
      p.drawRoundedRect(QRectF(14, 13.5, 4, 12), 1.5, 1.5);
      break;
    }
    default:
      return QImage();
  }
  return image;
}

HICON StandardIcon(int id) {
  QImage image = DrawStandardIcon(id);
  if (image.isNull()) return nullptr;
  std::lock_guard lock(registryMutex);
  // Apart from the registered icons, whose names are the program's to choose.
  static std::map<int, std::unique_ptr<Icon>> standard;
  auto& icon = standard[id];
  if (!icon) icon = std::make_unique<Icon>(std::move(image));
  return icon.get();
}

}  // namespace

HICON LoadIcon(HINSTANCE, const char* name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) return StandardIcon(static_cast<int>(reinterpret_cast<uintptr_t>(name)));
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

HMENU LoadMenu(HINSTANCE, const char* name) { return name ? LoadMenuResource(ResourceName(name)) : nullptr; }

}  // namespace platform
