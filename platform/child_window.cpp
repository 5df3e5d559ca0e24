// Child windows: the widgets on a top-level window's canvas that have handles of their own (a
// dialog's controls, the size grip).
#include <QSizeGrip>
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

struct Registry {
  std::mutex mutex;  // the set of handles is read from any thread (IsWindow)
  std::map<const ChildWindow*, std::unique_ptr<ChildWindow>> children;
  std::map<const Window*, std::vector<ChildWindow*>> byParent;  // in the order they were made
};

Registry& Children() {
  static Registry registry;
  return registry;
}

// Takes a child out of the registry; the caller deletes it.
std::unique_ptr<ChildWindow> Take(Registry& r, const ChildWindow* child) {
  auto it = r.children.find(child);
  if (it == r.children.end()) return nullptr;
  std::unique_ptr<ChildWindow> owned = std::move(it->second);
  r.children.erase(it);
  auto siblings = r.byParent.find(&owned->parent());
  if (siblings != r.byParent.end()) {
    std::erase(siblings->second, owned.get());
    if (siblings->second.empty()) r.byParent.erase(siblings);
  }
  return owned;
}

class SizeGrip final : public ChildWindow {
 public:
  SizeGrip(Window& parent, QWidget* widget, int id) : ChildWindow(parent, widget, id) {}
};

}  // namespace

ChildWindow::ChildWindow(Window& parent, QWidget* widget, int id) : m_parent(parent), m_widget(widget), m_id(id) {}

ChildWindow::~ChildWindow() = default;

LRESULT ChildWindow::send(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      setText(lParam ? reinterpret_cast<const char*>(lParam) : "");
      return 1;
    case WM_GETTEXT: {
      // Cut on a whole character, as the caller's buffer of wParam bytes can hold with its NUL.
      auto* out = reinterpret_cast<char*>(lParam);
      if (!out || wParam == 0) return 0;
      const std::string t = text();
      const size_t n = SjisWholePrefix(t, wParam - 1);
      std::memcpy(out, t.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text().size());
    default:
      return 0;
  }
}

void ChildWindow::setText(std::string_view) {}

std::string ChildWindow::text() const { return {}; }

HWND AddChildWindow(std::unique_ptr<ChildWindow> child) {
  if (!child) return nullptr;
  Registry& r = Children();
  std::lock_guard lock(r.mutex);
  ChildWindow* raw = child.get();
  r.byParent[&raw->parent()].push_back(raw);
  r.children.emplace(raw, std::move(child));
  return raw->handle();
}

ChildWindow* ChildFromHandle(HWND hwnd) {
  if (!hwnd || !IsGuiThread()) return nullptr;
  Registry& r = Children();
  std::lock_guard lock(r.mutex);
  auto it = r.children.find(reinterpret_cast<const ChildWindow*>(hwnd));
  return it == r.children.end() ? nullptr : it->second.get();
}

bool IsChildHandle(HWND hwnd) {
  if (!hwnd) return false;
  Registry& r = Children();
  std::lock_guard lock(r.mutex);
  return r.children.count(reinterpret_cast<const ChildWindow*>(hwnd)) != 0;
}

std::vector<ChildWindow*> ChildWindowsOf(const Window& parent) {
  Registry& r = Children();
  std::lock_guard lock(r.mutex);
  auto it = r.byParent.find(&parent);
  return it == r.byParent.end() ? std::vector<ChildWindow*>{} : it->second;
}

void DestroyChildWindow(HWND hwnd) {
  ChildWindow* child = ChildFromHandle(hwnd);
  if (!child) return;
  std::unique_ptr<ChildWindow> owned;
  {
    Registry& r = Children();
    std::lock_guard lock(r.mutex);
    owned = Take(r, child);
  }
  if (!owned) return;
  if (QWidget* widget = owned->widget()) {
    // A widget may be the one whose event is being delivered: then it waits, hidden, for its window.
    widget->hide();
    if (owned->parent().busy() == 0) delete widget;
  }
  Window& parent = owned->parent();
  parent.retireChild(std::move(owned));
}

void ForgetChildWindowsOf(Window& parent) {
  std::vector<std::unique_ptr<ChildWindow>> gone;
  {
    Registry& r = Children();
    std::lock_guard lock(r.mutex);
    auto it = r.byParent.find(&parent);
    if (it == r.byParent.end()) return;
    const std::vector<ChildWindow*> list = it->second;
    for (ChildWindow* child : list) gone.push_back(Take(r, child));
  }
  for (auto& child : gone) parent.retireChild(std::move(child));
}

HWND CreateChildWindow(const char* className, DWORD style, int x, int y, int width, int height, HWND parent, int id) {
  Window* top = TopWindowFromHandle(parent);
  if (!top || !className) return nullptr;
  const QRect rect(x, y, std::max(width, 0), std::max(height, 0));
  if (std::strcmp(className, "ToolbarWindow32") == 0) return CreateToolbarControl(style, parent, id);
  if (std::strcmp(className, "msctls_statusbar32") == 0) return CreateStatusBarControl(style, parent, id);
  if (std::strcmp(className, "msctls_progress32") == 0) return CreateProgressControl(style, rect, parent, id);
  if (std::strcmp(className, "COMBOBOX") == 0) {
    const HWND box = CreateToolbarCombo(style, parent, id);
    if (box) MoveWindow(box, x, y, width, height, 0);
    return box;
  }
  if (std::strcmp(className, "SCROLLBAR") != 0) return nullptr;
  if (!(style & (SBS_SIZEGRIP | SBS_SIZEBOX))) {
    Window* host = WindowFromHandle(parent);
    if (!host) return nullptr;
    return CreateScrollBarControl(*host, style, QRect(x, y, std::max(width, 0), std::max(height, 0)), id);
  }
  auto* grip = new QSizeGrip(top->canvas());
  grip->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  grip->setVisible((style & WS_VISIBLE) != 0);
  grip->raise();
  return AddChildWindow(std::make_unique<SizeGrip>(*top, grip, id));
}

Window* TopWindowFromHandle(HWND hwnd) {
  if (Window* window = WindowFromHandle(hwnd)) return window;
  ChildWindow* child = ChildFromHandle(hwnd);
  return child ? &child->parent() : nullptr;
}

}  // namespace platform
