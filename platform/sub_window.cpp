// Windows made with a parent: child windows inside the parent's client area, and pop-up windows
// owned by the parent (see window.h). Both are windows of this layer like any other, with a
// procedure, messages and a handle; only their place and frame differ.
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "platform/window_qt.h"

namespace platform {
namespace {

class SubWindow final : public Window {
 public:
  SubWindow(const WindowClassInfo& info, DWORD exStyle, DWORD style, Window& parent, int id, QRect rect)
      : Window(info.proc, ClassBackground(info), style, rect.size()), m_exStyle(exStyle), m_id(id) {
    if (isChild()) {
      setParent(parent.canvas(), Qt::Widget);
    } else {
      setParent(&parent, popupFlags());
      // A pop-up shows over its owner and leaves the activation where it is.
      setAttribute(Qt::WA_ShowWithoutActivating);
    }
    // The keyboard stays where it is when the window is clicked; SetFocus still gives it.
    canvas()->setFocusPolicy(Qt::NoFocus);
    applyFlags();
    applyGeometry();
    setGeometry(rect);
    fitCanvas();
  }

  bool extraLong(int index, LONG_PTR* value) const override {
    if (index != GWLP_ID) return Window::extraLong(index, value);
    *value = m_id;
    return true;
  }
  bool setExtraLong(int index, LONG_PTR value) override {
    if (index != GWLP_ID) return Window::setExtraLong(index, value);
    m_id = static_cast<int>(value);
    return true;
  }

  // A child's place is in its parent's client coordinates, a pop-up's on the screen; the size is
  // the whole window's, frame included.
  void place(std::optional<QPoint> position, std::optional<QSize> size) override {
    QRect r = geometry();
    if (position) r.moveTopLeft(*position);
    if (size) r.setSize(size->expandedTo(QSize(0, 0)));
    setGeometry(r);
    fitCanvas();
  }
  QRect placeRect() const override { return geometry(); }
  QRect screenRect() const override { return QRect(mapToGlobal(QPoint(0, 0)), size()); }
  void showStyled() override {
    show();
    raise();
  }

 protected:
  void applyFlags() override {
    const Qt::WindowFlags wanted = isChild() ? Qt::WindowFlags(Qt::Widget) : popupFlags();
    if (windowFlags() != wanted) setWindowFlags(wanted);
  }
  void applyGeometry() override {
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    canvas()->setMinimumSize(0, 0);
    canvas()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const int b = border();
    setContentsMargins(b, b, b, b);
    fitCanvas();
  }
  void paintEvent(QPaintEvent* event) override {
    if (!border()) return;
    QPainter painter(this);
    for (const QRect& r : event->region()) painter.fillRect(r, palette().color(QPalette::WindowText));
  }
  void resizeEvent(QResizeEvent* event) override {
    Window::resizeEvent(event);
    fitCanvas();
  }

 private:
  bool isChild() const { return (style() & WS_CHILD) != 0; }
  int border() const { return (style() & WS_BORDER) ? 1 : 0; }
  Qt::WindowFlags popupFlags() const {
    // A tool window is the kind a tip is: placed exactly where asked, never managed.
    if (m_exStyle & WS_EX_TOOLWINDOW) return Qt::ToolTip | Qt::FramelessWindowHint;
    return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
  }
  // The canvas is the client area: the window less its frame. It is placed here rather than left to
  // the layout, which only runs once the window shows, so that a hidden window has its client size.
  void fitCanvas() {
    const int b = border();
    const QSize inner = (size() - QSize(2 * b, 2 * b)).expandedTo(QSize(0, 0));
    canvas()->setGeometry(QRect(QPoint(b, b), inner));
    storeClientSize(inner);
  }

  DWORD m_exStyle;
  int m_id;
};

int UsedOrZero(int value) { return value == CW_USEDEFAULT ? 0 : value; }

}  // namespace

HWND CreateSubWindow(const WindowClassInfo& info, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                     HWND parent, int id) {
  Window* host = WindowFromHandle(parent);
  if (!host || !(style & (WS_CHILD | WS_POPUP))) return nullptr;
  // A window cannot be both: the child's meaning wins.
  if (style & WS_CHILD) style &= ~WS_POPUP;
  const QRect rect(UsedOrZero(x), UsedOrZero(y), std::max(UsedOrZero(width), 0), std::max(UsedOrZero(height), 0));
  // Owned by its parent widget, as every window of this layer is owned by the toolkit's tree.
  auto* window = new SubWindow(info, exStyle, style, *host, id, rect);
  AddLiveWindow(window);
  window->applyClass(info);
  return window;
}

}  // namespace platform
