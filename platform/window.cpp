#include "platform/window.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QInputMethodEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/gui_app.h"
#include "platform/ime_composition.h"
#include "platform/key_map.h"
#include "platform/key_text.h"
#include "platform/mem_dc.h"
#include "platform/menu.h"
#include "platform/sjis.h"
#include "platform/window_image.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// The live windows, each with a serial number of its own: a handle outside this map is dead, and
// a new window at a dead one's address is told apart by its serial.
std::mutex liveMutex;
std::unordered_map<const Window*, uint64_t>& Live() {
  static std::unordered_map<const Window*, uint64_t> live;
  return live;
}
uint64_t nextSerial = 1;

BOOL EndWindow(Window* window, bool created);

// Destroyed windows whose toolkit objects were still delivering an event (GUI thread only).
std::vector<QPointer<Window>>& PendingDeletes() {
  static std::vector<QPointer<Window>> pending;
  return pending;
}

std::vector<HWND> LiveWindows() {
  std::lock_guard lock(liveMutex);
  std::vector<HWND> windows;
  for (const auto& [w, serial] : Live()) windows.push_back(const_cast<Window*>(w));
  return windows;
}

// Tells every window when the program as a whole gains or loses the user's attention.
class ActivationFilter final : public QObject {
 public:
  ActivationFilter() : m_active(QGuiApplication::applicationState() == Qt::ApplicationActive) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationStateChange) {
      bool active = static_cast<QApplicationStateChangeEvent*>(event)->applicationState() == Qt::ApplicationActive;
      if (active != m_active) {
        m_active = active;
        SendToEveryWindow(WM_ACTIVATEAPP, active ? 1 : 0, 0);
      }
    }
    return false;
  }

 private:
  bool m_active;
};

// Installs a filter of that kind on the application once. It is a child of the application and
// goes with it, so an application made later gets a filter of its own.
template <class Filter>
void EnsureApplicationFilter() {
  static QPointer<Filter> filter;
  if (filter) return;
  filter = new Filter;
  filter->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(filter);
}

// Keeps the user's input from a disabled window and every widget on it. The toolkit's own
// disabling would grey the window's widgets and disable the windows it owns as well, whereas a
// disabled owner must leave its dialogs usable.
class DisabledInputFilter final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::InputMethod:
      case QEvent::ContextMenu:
      case QEvent::Close:
        break;
      default:
        return false;
    }
    if (!watched->isWidgetType()) return false;
    auto* window = dynamic_cast<Window*>(static_cast<QWidget*>(watched)->window());
    if (!window || window->inputEnabled()) return false;
    // A close request kept from the window must not count as agreed to (the toolkit would hide it).
    event->ignore();
    return true;
  }
};

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (buttons & Qt::BackButton) keys |= MK_XBUTTON1;
  if (buttons & Qt::ForwardButton) keys |= MK_XBUTTON2;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

// The side button's number in the high word of a WM_XBUTTON message; 0 for other buttons.
WPARAM SideButton(Qt::MouseButton button) {
  if (button == Qt::BackButton) return WPARAM{XBUTTON1} << 16;
  if (button == Qt::ForwardButton) return WPARAM{XBUTTON2} << 16;
  return 0;
}

// Wheel distance in the message's units (120 a notch) from what the toolkit reports: the angle
// when it has one, else the pixels of a touchpad, a notch being 48 of them (three lines of
// ordinary text).
int WheelUnits(const QWheelEvent& event) {
  if (const int angle = event.angleDelta().y(); angle != 0) return angle;
  return event.pixelDelta().y() * 5 / 2;
}

LPARAM PointParam(QPoint p) { return MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())); }

}  // namespace

Window* WindowFromHandle(HWND hwnd) {
  if (!hwnd || !IsGuiThread()) return nullptr;
  std::lock_guard lock(liveMutex);
  return Live().count(hwnd) ? hwnd : nullptr;
}

uint64_t LiveSerial(HWND hwnd) {
  std::lock_guard lock(liveMutex);
  auto it = Live().find(hwnd);
  return it == Live().end() ? 0 : it->second;
}

void SendToEveryWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND hwnd : LiveWindows()) SendMessage(hwnd, message, wParam, lParam);
}

void FlushPendingDeletes() {
  auto& pending = PendingDeletes();
  std::vector<QPointer<Window>> keep;
  for (auto& w : std::exchange(pending, {})) {
    if (!w) continue;
    if (w->busy() > 0) {
      keep.push_back(w);
    } else {
      delete w.data();
    }
  }
  pending.insert(pending.end(), keep.begin(), keep.end());
}

// ---- Window ---------------------------------------------------------------------------------

namespace {

// A window with a sizing frame: the user sets its size, and its client area follows.
bool Resizable(const Window& window) { return !window.isPopup() && (window.style() & WS_THICKFRAME) != 0; }

}  // namespace

Window::Window(WNDPROC proc, COLORREF background, DWORD style, QSize clientSize)
    : m_canvas(new Canvas(*this)), m_proc(proc), m_background(background), m_style(style), m_clientSize(clientSize) {
  setCentralWidget(m_canvas);
  applyFlags();
  applyGeometry();
}

Window::~Window() {
  ForgetChildWindowsOf(*this);
  std::lock_guard lock(liveMutex);
  Live().erase(this);
}

Window::BusyScope::BusyScope(Window& w) : window(w) {
  ++window.m_busy;
  for (Window* x = window.embeddingWindow(); x; x = x->embeddingWindow()) {
    ++x->m_busy;
    parents.push_back(x);
  }
}

Window::BusyScope::~BusyScope() {
  --window.m_busy;
  for (Window* x : parents) --x->m_busy;
}

Window* Window::embeddingWindow() const {
  if (isWindow()) return nullptr;
  auto* canvas = dynamic_cast<Canvas*>(parentWidget());
  return canvas ? &canvas->owner() : nullptr;
}

void Window::applyClass(const WindowClassInfo& info) {
  m_classStyle = info.style;
  m_extraBytes.assign(static_cast<size_t>(std::max(info.windowExtra, 0)), 0);
  // Without a class cursor the canvas keeps the toolkit's arrow, unset.
  m_classCursor = info.cursor;
  if (info.cursor) m_canvas->setCursor(QtCursor(info.cursor));
  m_classIcon = info.icon;
}

HICON Window::setIcon(WPARAM which, HICON icon) {
  HICON old = std::exchange(m_icons[which == ICON_BIG ? 1 : 0], icon);
  const HICON shown = m_icons[1] ? m_icons[1] : m_icons[0] ? m_icons[0] : m_classIcon;
  if (shown) {
    ApplyIcon(*this, shown);
  } else {
    setWindowIcon(QIcon());
  }
  return old;
}

void Window::setTopmost(bool topmost) {
  if (topmost == m_topmost) return;
  m_topmost = topmost;
  const bool visible = isVisible();
  applyFlags();
  if (visible) showStyled();
}

bool Window::extraLong(int index, LONG_PTR* value) const {
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > m_extraBytes.size()) return false;
  std::memcpy(value, m_extraBytes.data() + index, sizeof(LONG_PTR));
  return true;
}

bool Window::setExtraLong(int index, LONG_PTR value) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > m_extraBytes.size()) return false;
  std::memcpy(m_extraBytes.data() + index, &value, sizeof(LONG_PTR));
  return true;
}

WindowImage& Window::image() {
  if (!m_image) m_image = std::make_unique<WindowImage>();
  return *m_image;
}

void Window::retireChild(std::unique_ptr<ChildWindow> child) {
  if (child) m_retiredChildren.push_back(std::move(child));
}

void AddLiveWindow(Window* window) {
  EnsureApplicationFilter<ActivationFilter>();
  std::lock_guard lock(liveMutex);
  Live()[window] = nextSerial++;
}

void Window::setInputEnabled(bool enabled) {
  if (!enabled) EnsureApplicationFilter<DisabledInputFilter>();
  m_inputEnabled = enabled;
}

void Window::place(std::optional<QPoint> position, std::optional<QSize> size) {
  if (size) setClientSize(*size);
  if (position) moveTo(*position);
}

void Window::clientResized(QSize size) {
  if (Resizable(*this)) m_clientSize = size;
  send(WM_SIZE, isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(size.width(), size.height()));
}

LRESULT Window::send(UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard lock(liveMutex);
    if (!Live().count(this)) return 0;  // destroyed: its procedure has seen WM_NCDESTROY
  }
  return m_proc ? m_proc(this, message, wParam, lParam) : DefWindowProc(this, message, wParam, lParam);
}

void Window::queue(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsWindow(this)) QueueMessage(MSG{this, message, wParam, lParam});
}

void Window::setStyle(DWORD style) {
  const bool visible = isVisible();
  if (!isPopup() && (style & WS_POPUP) && visible) m_windowedPlace = pos();
  m_style = style;
  applyFlags();
  applyGeometry();
  if (visible) showStyled();
}

void Window::moveTo(QPoint place) {
  if (isPopup()) {
    m_windowedPlace = place;
  } else {
    move(place);
  }
}

void Window::setClientSize(QSize size) {
  m_clientSize = size.expandedTo(QSize(0, 0));
  if (isPopup()) return;
  m_canvas->setFixedSize(m_clientSize);
  if (!Resizable(*this)) return;
  // The window fits around the client size asked, then the user may drag it to any other.
  layout()->activate();
  resize(sizeHint());
  m_canvas->setMinimumSize(0, 0);
  m_canvas->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void Window::showStyled() {
  if (isPopup()) {
    // A window manager makes a full-screen window cover the screen; without one the window would
    // keep whatever size it has, so it covers the screen itself.
    if (const QScreen* s = screen()) setGeometry(s->geometry());
    showFullScreen();
    return;
  }
  if (windowState() & Qt::WindowFullScreen) setWindowState(windowState() & ~Qt::WindowFullScreen);
  show();
  // Once shown: only the system window knows its frame, which the place includes.
  if (m_windowedPlace) move(*std::exchange(m_windowedPlace, std::nullopt));
}

void Window::restore() {
  setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  showStyled();
}

void Window::applyFlags() {
  Qt::WindowFlags flags = Qt::Window;
  if (isPopup()) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint;
    if ((m_style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (m_style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (m_style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (m_style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  }
  if (m_topmost) flags |= Qt::WindowStaysOnTopHint;
  // Changing the flags hides the window; setStyle shows it again.
  if (flags != windowFlags()) setWindowFlags(flags);
}

void Window::applyGeometry() {
  if (isPopup()) {
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    m_canvas->setMinimumSize(0, 0);
    m_canvas->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else if (Resizable(*this)) {
    // A window with a sizing frame starts at its client size and follows the user's drags.
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setClientSize(m_clientSize);
  } else {
    // The canvas keeps the client size and the window fits around it (and a menu bar, if any).
    m_canvas->setFixedSize(m_clientSize);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

bool Window::event(QEvent* event) {
  BusyScope busy(*this);
  const bool activation = event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate;
  // Only a window of its own hears it: a child window takes part in its parent's activation.
  if (activation && isWindow() && !destroying()) {
    const bool active = event->type() == QEvent::WindowActivate;
    // Losing it, the window is told which of the program's windows takes it (null for none of
    // ours); the toolkit has made that one active already.
    Window* other = active ? nullptr : dynamic_cast<Window*>(QApplication::activeWindow());
    send(WM_ACTIVATE, MAKEWPARAM(active ? WA_ACTIVE : WA_INACTIVE, isMinimized() ? 1 : 0),
         reinterpret_cast<LPARAM>(other && other != this && IsWindow(other) ? other : nullptr));
  }
  return QMainWindow::event(event);
}

void Window::closeEvent(QCloseEvent* event) {
  // The user's close request is only a message: the window procedure decides what happens.
  event->ignore();
  send(WM_CLOSE, 0, 0);
}

void Window::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    bool minimized = isMinimized();
    if (minimized && !m_wasMinimized) {
      m_wasMinimized = true;
      send(WM_SIZE, SIZE_MINIMIZED, 0);
    } else if (!minimized && m_wasMinimized) {
      m_wasMinimized = false;
      QSize client = m_canvas->size();
      send(WM_SIZE, isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(client.width(), client.height()));
    }
  }
  QMainWindow::changeEvent(event);
}

void Window::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // Child windows move only with their parent's layout; a minimised window has no place to tell.
  if (!isWindow() || isMinimized() || !IsWindow(this)) return;
  const QPoint origin = m_canvas->mapToGlobal(QPoint(0, 0));
  if (m_reportedOrigin == origin) return;
  m_reportedOrigin = origin;
  send(WM_MOVE, 0, MAKELPARAM(static_cast<unsigned>(origin.x()), static_cast<unsigned>(origin.y())));
}

void Window::key(QKeyEvent* event, bool down) {
  const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
  const KeyCode code = LayoutKeyCode(KeyCodeFromQtKey(event->key(), keypad), event->nativeScanCode(), keypad,
                                     CurrentKeyboardLayout());
  if (code.vk == 0) {
    event->ignore();
    return;
  }
  // The toolkit repeats a held key as release-press pairs; a held key repeats only its key-down.
  if (!down && event->isAutoRepeat()) return;
  LPARAM lParam = 1 | (static_cast<LPARAM>(code.scanCode) << 16) | (code.extended ? LPARAM{1} << 24 : 0);
  if (!down || event->isAutoRepeat()) lParam |= LPARAM{1} << 30;
  if (!down) lParam |= LPARAM{1} << 31;
  queue(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(code.vk), lParam);
  // With Alt the key chooses (a menu's access key) rather than types.
  if (down && !(event->modifiers() & Qt::AltModifier)) {
    RememberKeyText(*this, static_cast<WPARAM>(code.vk), lParam, QStringToSjis(event->text()));
  }
}

void Window::keyPressEvent(QKeyEvent* event) { key(event, true); }
void Window::keyReleaseEvent(QKeyEvent* event) { key(event, false); }
// Tab is a key like any other here, not a move between controls.
bool Window::focusNextPrevChild(bool) { return false; }

// ---- Canvas ---------------------------------------------------------------------------------

Canvas::Canvas(Window& owner) : QWidget(&owner), m_owner(owner) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool Canvas::event(QEvent* event) {
  Window::BusyScope busy(m_owner);
  return QWidget::event(event);
}

void Canvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const COLORREF bg = m_owner.background();
  const QRegion shown = event->region();
  const WindowImage* image = m_owner.imageIfAny();
  const Bitmap* attached = image ? image->attached() : nullptr;
  QRegion background = shown;
  if (attached) {
    background -= QRect(0, 0, attached->Width(), attached->Height());
    // Only what is owed a paint is painted; the rest of the bitmap is already what it should be.
    m_paintRegion = shown & m_invalid;
    m_invalid -= shown;
  } else {
    if (picturePlace) background -= picturePlace();
    m_paintRegion = shown;
  }
  const QColor colour(GetRValue(bg), GetGValue(bg), GetBValue(bg));
  for (const QRect& r : background) painter.fillRect(r, colour);
  if (!m_paintRegion.isEmpty()) {
    m_painter = &painter;
    m_owner.send(WM_PAINT, 0, 0);
    m_painter = nullptr;
  }
  // What the procedure drew through its device contexts (platform/window_dc.h), or the bitmap it
  // keeps (platform/attached_image.h).
  if (const WindowImage* drawn = m_owner.imageIfAny()) drawn->paint(painter, shown);
  PaintPreedit(m_owner, painter);
  PaintCaret(m_owner, painter);
  m_paintRegion = QRegion();
}

void Canvas::resizeEvent(QResizeEvent* event) {
  // Client area a growing window adds has never been painted.
  if (const WindowImage* image = m_owner.imageIfAny(); image && image->attached()) {
    m_invalid += QRegion(rect()) - QRegion(QRect(QPoint(0, 0), event->oldSize()));
  }
  if (m_owner.isMinimized()) return;
  m_owner.clientResized(size());
}

void Canvas::invalidate(const QRect* rect) {
  const QRect part = rect ? *rect & this->rect() : this->rect();
  m_invalid += part;
  update(part);
}

void Canvas::beginAttached(bool attached) {
  m_invalid = QRegion();
  if (attached) invalidate(nullptr);
  else update();
}

void Canvas::mouse(QMouseEvent* event, UINT message, WPARAM extra) {
  QPoint p = event->position().toPoint();
  Canvas* target = this;
  // The toolkit's grab brings the mouse to the capturing canvas; input handed to another canvas of
  // the program is brought there too.
  if (Window* capture = CaptureWindow(); capture && capture != &m_owner) {
    target = capture->canvas();
    p = target->mapFromGlobal(mapToGlobal(p));
  }
  if (target->mapToClient) p = target->mapToClient(p);
  NoteMouseWindow(target->m_owner);
  target->m_owner.queue(message, MouseKeys(event->buttons(), event->modifiers()) | extra, PointParam(p));
}

void Canvas::mousePressEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      mouse(event, WM_LBUTTONDOWN);
      break;
    case Qt::RightButton:
      mouse(event, WM_RBUTTONDOWN);
      break;
    case Qt::MiddleButton:
      mouse(event, WM_MBUTTONDOWN);
      break;
    case Qt::BackButton:
    case Qt::ForwardButton:
      mouse(event, WM_XBUTTONDOWN, SideButton(event->button()));
      break;
    default:
      event->ignore();
      break;
  }
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      mouse(event, WM_LBUTTONUP);
      break;
    case Qt::RightButton:
      mouse(event, WM_RBUTTONUP);
      break;
    case Qt::MiddleButton:
      mouse(event, WM_MBUTTONUP);
      break;
    case Qt::BackButton:
    case Qt::ForwardButton:
      mouse(event, WM_XBUTTONUP, SideButton(event->button()));
      break;
    default:
      event->ignore();
      break;
  }
}

// Unless the window's class asks for double clicks, the second click is a click.
void Canvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!(m_owner.classStyle() & CS_DBLCLKS)) {
    mousePressEvent(event);
    return;
  }
  switch (event->button()) {
    case Qt::LeftButton:
      mouse(event, WM_LBUTTONDBLCLK);
      break;
    case Qt::RightButton:
      mouse(event, WM_RBUTTONDBLCLK);
      break;
    case Qt::MiddleButton:
      mouse(event, WM_MBUTTONDBLCLK);
      break;
    case Qt::BackButton:
    case Qt::ForwardButton:
      mouse(event, WM_XBUTTONDBLCLK, SideButton(event->button()));
      break;
    default:
      event->ignore();
      break;
  }
}

void Canvas::mouseMoveEvent(QMouseEvent* event) { mouse(event, WM_MOUSEMOVE); }

// A touchpad reports many small distances: they add up here, and the whole notches among them go
// out in one message, so the distance is always a multiple of 120 as a window may expect. A turn
// the other way, or the start of a new gesture, drops what was left over.
void Canvas::wheelEvent(QWheelEvent* event) {
  const int units = WheelUnits(*event);
  if (units == 0) {
    event->ignore();
    return;
  }
  if (event->phase() == Qt::ScrollBegin || (units > 0) != (m_wheelRest > 0)) m_wheelRest = 0;
  m_wheelRest += units;
  // At most what the message's 16 bits can carry.
  const int notches = std::clamp(m_wheelRest / WHEEL_DELTA, -273, 273);
  if (notches == 0) return;
  m_wheelRest -= notches * WHEEL_DELTA;
  QPoint p = event->position().toPoint();
  if (mapToClient) p = mapToClient(p);
  const int16_t delta = static_cast<int16_t>(notches * WHEEL_DELTA);
  const WPARAM wParam = MouseKeys(event->buttons(), event->modifiers()) |
                        (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16);
  m_owner.queue(WM_MOUSEWHEEL, wParam, PointParam(p));
}

void Canvas::inputMethodEvent(QInputMethodEvent* event) {
  if (!testAttribute(Qt::WA_InputMethodEnabled)) {
    event->ignore();
    return;
  }
  InputMethodToMessages(m_owner, *event);
  event->accept();
}

void Canvas::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  CanvasFocusChanged(*this, true, event->reason());
}

void Canvas::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  CanvasFocusChanged(*this, false, event->reason());
}

QVariant Canvas::inputMethodQuery(Qt::InputMethodQuery query) const {
  QVariant answer = InputMethodAnswer(m_owner, query);
  return answer.isValid() ? answer : QWidget::inputMethodQuery(query);
}

// The window decides whether Tab moves between widgets (a dialog's controls) or is a key.
bool Canvas::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }

// ---- The window functions -------------------------------------------------------------------

bool SendCreateMessages(Window& window, const CREATESTRUCT& create) {
  const auto param = reinterpret_cast<LPARAM>(&create);
  if (!window.send(WM_NCCREATE, 0, param)) {
    // Refused before it was made: only the end of the handle follows.
    EndWindow(&window, false);
    return false;
  }
  if (window.send(WM_CREATE, 0, param) == -1) {
    DestroyWindow(&window);
    return false;
  }
  return IsWindow(&window) != 0;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  if (!className) return nullptr;
  EnsureGuiApp();
  if (!IsGuiThread()) return nullptr;
  WindowClassInfo info;
  const bool registered = FindWindowClass(className, &info);
  // A combo box on a control (the toolbar's search box) is that control's; the standard class
  // elsewhere stays a plain window that can be subclassed.
  const bool onControl = IsChildHandle(parent) && std::strcmp(className, "COMBOBOX") == 0;
  if (parent && (!registered || onControl || std::strcmp(className, "SCROLLBAR") == 0)) {
    return CreateChildWindow(className, style, x, y, width, height, parent,
                             static_cast<int>(reinterpret_cast<intptr_t>(menu)));
  }
  if (!registered) return nullptr;
  const CREATESTRUCT create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                            className, exStyle};
  if (parent) {
    HWND hwnd = CreateSubWindow(info, exStyle, style, x, y, width, height, parent,
                                static_cast<int>(reinterpret_cast<intptr_t>(menu)));
    Window* window = WindowFromHandle(hwnd);
    if (!window) return nullptr;
    window->setWindowTitle(SjisToQString(windowName ? windowName : ""));
    if (!SendCreateMessages(*window, create)) return nullptr;
    if (style & WS_VISIBLE) window->showStyled();
    return hwnd;
  }
  auto* window =
      new Window(info.proc, ClassBackground(info), style, QSize(std::max(width, 0), std::max(height, 0)));
  AddLiveWindow(window);
  window->applyClass(info);
  window->setWindowTitle(SjisToQString(windowName ? windowName : ""));
  ApplyIcon(*window, info.icon);
  if (!menu) {
    menu = LoadMenuResource(info.menuName);
    window->setClassMenu(menu);
  }
  if (menu) AttachMenu(*window, menu);
  if (!SendCreateMessages(*window, create)) return nullptr;
  if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) window->moveTo(QPoint(x, y));
  if (style & WS_VISIBLE) window->showStyled();
  return window;
}

BOOL DestroyWindow(HWND hwnd) {
  if (ChildFromHandle(hwnd)) {
    DestroyChildWindow(hwnd);
    return 1;
  }
  return EndWindow(WindowFromHandle(hwnd), true);
}

namespace {

// Ends a live window: with its WM_DESTROY when it was made, only WM_NCDESTROY when its creation was
// refused.
BOOL EndWindow(Window* window, bool created) {
  if (!window || window->destroying()) return 0;
  window->setDestroying();
  // The windows it owns (its dialogs) go first, as they would go with it anyway.
  for (Window* owned : window->findChildren<Window*>(Qt::FindDirectChildrenOnly)) DestroyWindow(owned);
  window->hide();
  if (created) window->send(WM_DESTROY, 0, 0);
  // The procedure may still read its children while it handles WM_DESTROY; then they go, each
  // hearing its own destruction.
  for (Window* child : window->canvas()->findChildren<Window*>(Qt::FindDirectChildrenOnly)) DestroyWindow(child);
  ForgetChildWindowsOf(*window);
  window->send(WM_NCDESTROY, 0, 0);
  {
    std::lock_guard lock(liveMutex);
    Live().erase(window);
  }
  DropQueuedMessages(window);
  // After the destroy messages, which may still look at the menu.
  if (window->classMenu()) DestroyMenu(window->classMenu());
  window->setClassMenu(nullptr);
  if (window->busy() > 0) {
    PendingDeletes().emplace_back(window);
  } else {
    delete window;
  }
  return 1;
}

}  // namespace

BOOL IsWindow(HWND hwnd) {
  if (!hwnd) return 0;
  {
    std::lock_guard lock(liveMutex);
    if (Live().count(hwnd)) return 1;
  }
  return IsChildHandle(hwnd) ? 1 : 0;
}

BOOL ShowWindow(HWND hwnd, int command) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    QWidget* widget = child->widget();
    if (!widget) return 0;
    BOOL wasVisible = widget->isHidden() ? 0 : 1;
    widget->setVisible(command != SW_HIDE);
    return wasVisible;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  BOOL wasVisible = window->isVisible() ? 1 : 0;
  // For this one showing only: a pop-up keeps its own wish never to take the activation.
  const bool quiet = command == SW_SHOWNOACTIVATE || command == SW_SHOWNA || command == SW_SHOWMINNOACTIVE;
  const bool wasQuiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
  if (quiet) window->setAttribute(Qt::WA_ShowWithoutActivating, true);
  switch (command) {
    case SW_HIDE:
      window->hide();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      window->showMinimized();
      break;
    case SW_MAXIMIZE:
      window->showMaximized();
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      window->restore();
      break;
    default:
      window->showStyled();
      break;
  }
  if (quiet) window->setAttribute(Qt::WA_ShowWithoutActivating, wasQuiet);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return child->widget() && child->widget()->isVisible() ? 1 : 0;
  Window* window = WindowFromHandle(hwnd);
  return window && window->isVisible() ? 1 : 0;
}

BOOL IsIconic(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window && window->isMinimized() ? 1 : 0;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
      window->setTopmost(insertAfter == HWND_TOPMOST);
    } else if (insertAfter == HWND_TOP && window->isVisible()) {
      window->raise();
    }
  }
  std::optional<QSize> size;
  std::optional<QPoint> position;
  if (!(flags & SWP_NOSIZE)) size = QSize(std::max(cx, 0), std::max(cy, 0));
  if (!(flags & SWP_NOMOVE)) position = QPoint(x, y);
  if (size || position) window->place(position, size);
  if (flags & SWP_HIDEWINDOW) window->hide();
  if (flags & SWP_SHOWWINDOW) window->showStyled();
  return 1;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    QWidget* widget = child->widget();
    if (!widget || child->placedByLayout()) return 0;
    widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    widget->raise();
    if (repaint) widget->update();
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  window->place(QPoint(x, y), QSize(std::max(width, 0), std::max(height, 0)));
  if (repaint) window->canvas()->update();
  return 1;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    QWidget* widget = child->widget();
    if (!widget) return 0;
    BOOL wasDisabled = widget->isEnabled() ? 0 : 1;
    widget->setEnabled(enable != 0);
    return wasDisabled;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  BOOL wasDisabled = window->inputEnabled() ? 0 : 1;
  window->setInputEnabled(enable != 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return child->widget() && child->widget()->isEnabled() ? 1 : 0;
  Window* window = WindowFromHandle(hwnd);
  return window && window->inputEnabled() ? 1 : 0;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    if (!child->widget() || !rect) return 0;
    *rect = RECT{0, 0, child->widget()->width(), child->widget()->height()};
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window || !rect) return 0;
  // A hidden full-screen window has no screen to fill yet: it reports the size it was given.
  QSize size = window->isVisible() || !window->isPopup() ? window->canvas()->size() : window->clientSize();
  *rect = RECT{0, 0, size.width(), size.height()};
  return 1;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    QWidget* widget = child->widget();
    if (!widget || !rect) return 0;
    QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    *rect = RECT{origin.x(), origin.y(), origin.x() + widget->width(), origin.y() + widget->height()};
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window || !rect) return 0;
  QRect frame = window->screenRect();
  *rect = RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
  return 1;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL) { return rect ? 1 : 0; }

HWND SetFocus(HWND hwnd) {
  const HWND previous = GetFocus();
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    QWidget* widget = child->widget();
    if (!widget) return nullptr;
    widget->setFocus(Qt::OtherFocusReason);
    return previous;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return nullptr;
  window->activateWindow();
  window->canvas()->setFocus(Qt::OtherFocusReason);
  return previous;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return index == GWLP_ID ? child->id() : 0;
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  if (LONG_PTR value = 0; window->extraLong(index, &value)) return value;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(window->proc());
    case GWL_STYLE:
      return static_cast<LONG_PTR>(window->style() | (window->isVisible() ? WS_VISIBLE : 0));
    case GWL_EXSTYLE:
      return window->topmost() ? WS_EX_TOPMOST : 0;
    case GWLP_USERDATA:
      return window->userData();
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  LONG_PTR old = GetWindowLongPtr(hwnd, index);
  if (window->setExtraLong(index, value)) return old;
  switch (index) {
    case GWLP_WNDPROC:
      window->setProc(reinterpret_cast<WNDPROC>(value));
      break;
    case GWL_STYLE: {
      auto style = static_cast<DWORD>(value);
      window->setStyle(style & ~WS_VISIBLE);
      break;
    }
    case GWLP_USERDATA:
      window->setUserData(value);
      break;
    default:
      return 0;
  }
  return old;
}

BOOL SetWindowText(HWND hwnd, std::string_view text) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    child->setText(text);
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  window->setWindowTitle(SjisToQString(text));
  return 1;
}

std::string GetWindowText(HWND hwnd) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return child->text();
  Window* window = WindowFromHandle(hwnd);
  return window ? QStringToSjis(window->windowTitle()) : std::string();
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    if (!child->widget()) return 0;
    child->widget()->update();
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  const std::optional<QRect> part =
      rect ? std::optional(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top))
           : std::nullopt;
  if (window->imageIfAny() && window->imageIfAny()->attached()) {
    window->canvas()->invalidate(part ? &*part : nullptr);
  } else if (part) {
    window->canvas()->update(*part);
  } else {
    window->canvas()->update();
  }
  return 1;
}

BOOL UpdateWindow(HWND hwnd) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) {
    if (!child->widget()) return 0;
    child->widget()->repaint();
    return 1;
  }
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  window->canvas()->repaint();
  return 1;
}

int GetSystemMetrics(int index) {
  EnsureGuiApp();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 0;
  switch (index) {
    case SM_CXSCREEN:
      return screen->geometry().width();
    case SM_CYSCREEN:
      return screen->geometry().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The window manager draws the real frame; these are the sizes the program spaces its own
    // drawing with (the gaps between a status bar's parts, its grip).
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    default:
      return 0;
  }
}

HMENU GetMenu(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window ? window->menu() : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  AttachMenu(*window, menu);
  return 1;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (ChildWindow* child = ChildFromHandle(hwnd)) return child->send(message, wParam, lParam);
  Window* window = WindowFromHandle(hwnd);
  return window ? window->send(message, wParam, lParam) : 0;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) DestroyWindow(hwnd);
  if (message == WM_IME_COMPOSITION) DefaultComposition(hwnd, lParam);
  if (message == WM_SETICON || message == WM_GETICON) {
    Window* window = WindowFromHandle(hwnd);
    if (!window) return 0;
    const HICON icon = message == WM_SETICON ? window->setIcon(wParam, reinterpret_cast<HICON>(lParam)) : window->icon(wParam);
    return reinterpret_cast<LRESULT>(icon);
  }
  return message == WM_NCCREATE ? 1 : 0;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : DefWindowProc(hwnd, message, wParam, lParam);
}

QString SjisToQString(std::string_view sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }

std::string QStringToSjis(const QString& text) { return Utf8ToSjis(text.toStdString()); }

}  // namespace platform
