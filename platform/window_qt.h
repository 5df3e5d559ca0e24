// Inside the platform layer only: the toolkit objects behind a window handle, for the facilities
// that draw into a window or add to it (the presenter paints the back buffer on the canvas, the menu
// facility puts its bar on the window). Nothing outside platform/ includes this header.
#pragma once

#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/window.h"

class QInputMethodEvent;
class QMenu;
class QPainter;

namespace platform {

class Canvas;
class ChildWindow;
class ImeQueryProvider;
class WindowImage;
class Bitmap;
struct WindowClassInfo;

// What HWND points at: the top-level window, whose central widget is the canvas (the client area).
// A dialog is a window too (platform/dialog_qt.h), with its controls on the canvas.
class Window : public QMainWindow {
 public:
  Window(WNDPROC proc, COLORREF background, DWORD style, QSize clientSize);
  ~Window() override;

  Canvas* canvas() const { return m_canvas; }
  // Calls the window procedure as SendMessage does.
  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam);
  // Appends an input message to the queue that GetMessage and PeekMessage read.
  void queue(UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC proc() const { return m_proc; }
  void setProc(WNDPROC proc) { m_proc = proc; }
  LONG_PTR userData() const { return m_userData; }
  void setUserData(LONG_PTR value) { m_userData = value; }
  COLORREF background() const { return m_background; }
  HMENU menu() const { return m_menu; }
  void setMenuHandle(HMENU menu) { m_menu = menu; }
  // The menu the window loaded from its class's menu resource: it goes with the window.
  HMENU classMenu() const { return m_classMenu; }
  void setClassMenu(HMENU menu) { m_classMenu = menu; }

  DWORD style() const { return m_style; }
  // Applies a new style: frameless full screen for WS_POPUP, fixed size with its title-bar buttons
  // otherwise; a visible window stays visible.
  void setStyle(DWORD style);
  QSize clientSize() const { return m_clientSize; }
  void setClientSize(QSize size);
  // Moves a windowed window; a full-screen one keeps the place for when it is windowed again.
  void moveTo(QPoint place);
  // Shows the window as its style asks: over the whole screen for WS_POPUP (a window manager is not
  // needed for that), otherwise at its windowed place.
  virtual void showStyled();
  // Out of the minimised or maximised state, then shown as the style asks.
  void restore();
  bool isPopup() const { return (m_style & WS_POPUP) != 0; }
  // Kept above the windows that are not (SetWindowPos with HWND_TOPMOST); a visible window stays
  // visible.
  bool topmost() const { return m_topmost; }
  void setTopmost(bool topmost);
  // The window's own icons (WM_SETICON, ICON_SMALL or ICON_BIG), null until set; without either the
  // window shows its class's icon. Returns the icon it replaced.
  HICON icon(WPARAM which) const { return m_icons[which == ICON_BIG ? 1 : 0]; }
  HICON setIcon(WPARAM which, HICON icon);
  // Set once DestroyWindow has begun: the window takes no second destruction.
  bool destroying() const { return m_destroying; }
  void setDestroying() { m_destroying = true; }

  // Whether the user's input reaches the window (EnableWindow). A disabled window takes no input of
  // its own, while the windows it owns stay usable: they are windows of their own.
  bool inputEnabled() const { return m_inputEnabled; }
  void setInputEnabled(bool enabled);

  // Moves the window, sizes it, or both: here the position is the frame's and the size the
  // client size (the window manager draws the frame outside it).
  virtual void place(std::optional<QPoint> position, std::optional<QSize> size);
  // The rectangle place takes, as the window stands.
  virtual QRect placeRect() const { return QRect(pos(), m_clientSize); }
  // What GetWindowRect reports: here the frame's rectangle on the screen.
  virtual QRect screenRect() const { return frameGeometry(); }
  // The window-long slots beyond the common ones (a dialog's DWLP_ values, by default the class's
  // extra bytes): false for an index the window does not have.
  virtual bool extraLong(int index, LONG_PTR* value) const;
  virtual bool setExtraLong(int index, LONG_PTR value);

  // What the window takes from its class beyond the procedure: the class style (CS_DBLCLKS), the
  // extra bytes (all zero) and the cursor over the client area.
  void applyClass(const WindowClassInfo& info);
  UINT classStyle() const { return m_classStyle; }
  // The class's cursor; null when the class has none, and the program sets the shape (SetCursor).
  HCURSOR classCursor() const { return m_classCursor; }
  // What answers the input method's queries (platform/ime_query.h); borrowed, null for none.
  ImeQueryProvider* imeProvider() const { return m_imeProvider; }
  void setImeProvider(ImeQueryProvider* provider) { m_imeProvider = provider; }
  // The window this one is a child window of (its widget lies on that window's canvas), or null.
  Window* embeddingWindow() const;

  // The picture of the client area that GetDC and BeginPaint draw into (platform/window_dc.h):
  // made on first use, shown over the canvas after every WM_PAINT.
  WindowImage& image();
  WindowImage* imageIfAny() const { return m_image.get(); }

  // Keeps a child whose handle has ended until the window goes: its widget's signals may still
  // name it while the window's toolkit objects wind down.
  void retireChild(std::unique_ptr<ChildWindow> child);

  // Nesting depth of toolkit events being delivered to this window or any widget inside it: while
  // it is above zero the window cannot be deleted, and DestroyWindow leaves that to the pump.
  int busy() const { return m_busy; }
  // Counts on the window and on every window it is a child window of: deleting a parent deletes
  // its children's widgets too.
  struct BusyScope {
    explicit BusyScope(Window& w);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    Window& window;
    // The windows it is a child window of, as they were when the scope began.
    std::vector<Window*> parents;
  };

 protected:
  friend class Canvas;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // A top-level window hears WM_MOVE (the client area's top-left on the screen) for each new place.
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  // The toolkit's window flags and size rules for the style; the constructor applies the base
  // ones, a derived window applies its own in its constructor.
  virtual void applyFlags();
  virtual void applyGeometry();
  // The canvas changed its size (not while minimised): WM_SIZE with SIZE_RESTORED.
  virtual void clientResized(QSize size);
  // The client size without touching the canvas: for windows that place their canvas themselves.
  void storeClientSize(QSize size) { m_clientSize = size; }

 private:
  void key(QKeyEvent* event, bool down);

  Canvas* m_canvas;
  WNDPROC m_proc;
  LONG_PTR m_userData = 0;
  COLORREF m_background;
  DWORD m_style;
  QSize m_clientSize;
  HMENU m_menu = nullptr;
  HMENU m_classMenu = nullptr;
  // Where the window goes when it is windowed again: the place it left for full screen, or the one
  // asked of it since.
  std::optional<QPoint> m_windowedPlace;
  bool m_wasMinimized = false;
  // Where the client area was last told to stand (WM_MOVE).
  std::optional<QPoint> m_reportedOrigin;
  bool m_destroying = false;
  bool m_inputEnabled = true;
  int m_busy = 0;
  std::vector<std::unique_ptr<ChildWindow>> m_retiredChildren;
  UINT m_classStyle = 0;
  HCURSOR m_classCursor = nullptr;
  HICON m_classIcon = nullptr;
  HICON m_icons[2] = {nullptr, nullptr};
  bool m_topmost = false;
  ImeQueryProvider* m_imeProvider = nullptr;
  std::vector<uint8_t> m_extraBytes;
  std::unique_ptr<WindowImage> m_image;
};

// The client area. Mouse input here becomes mouse messages; painting sends WM_PAINT.
class Canvas final : public QWidget {
 public:
  explicit Canvas(Window& owner);

  Window& owner() const { return m_owner; }
  // The painter of the paint in progress: set while WM_PAINT is being sent, null otherwise. The
  // part being painted has already been filled with the class background, except where a
  // picture covers it (see picturePlace).
  QPainter* activePainter() const { return m_painter; }
  // The part of the canvas that the paint in progress covers.
  const QRegion& paintRegion() const { return m_paintRegion; }
  // Where a presenter's picture lies on the canvas, which its WM_PAINT paints whole: the class
  // background is not filled there first. Empty means nowhere.
  std::function<QRect()> picturePlace;
  // Maps a point on the canvas to the client coordinates that mouse messages carry. A presenter
  // that scales its picture sets it; empty means the identity.
  std::function<QPoint(QPoint)> mapToClient;
  // The other way: the first canvas point that shows a client point.
  std::function<QPoint(QPoint)> mapFromClient;

  // While the window shows an attached bitmap (platform/attached_image.h), WM_PAINT comes only for
  // the part still owed one: what was invalidated, and client area the bitmap never showed yet.
  // Marks a part (the whole client area for null) and schedules a paint.
  void invalidate(const QRect* rect);
  // Attaching or detaching: with a bitmap the whole client area is owed a paint.
  void beginAttached(bool attached);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  // extra: bits for wParam beyond the key state (the side button's number).
  void mouse(QMouseEvent* event, UINT message, WPARAM extra = 0);

  Window& m_owner;
  QPainter* m_painter = nullptr;
  QRegion m_paintRegion;
  // Wheel distance short of a whole notch, in the message's units.
  int m_wheelRest = 0;
  // The part owed a WM_PAINT while a bitmap is attached.
  QRegion m_invalid;
};

// A child window: a dialog's control or a size grip, shown by a widget on a top-level window's
// canvas. Its handle is the address of this object, which is never a live Window: WindowFromHandle
// gives null for it, ChildFromHandle finds it.
class ChildWindow {
 public:
  ChildWindow(Window& parent, QWidget* widget, int id);
  virtual ~ChildWindow();
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  HWND handle() const { return reinterpret_cast<HWND>(const_cast<ChildWindow*>(this)); }
  Window& parent() const { return m_parent; }
  QWidget* widget() const { return m_widget; }
  int id() const { return m_id; }
  // What SendMessage to the handle does; by default WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH
  // over setText and text, 0 for everything else.
  virtual LRESULT send(UINT message, WPARAM wParam, LPARAM lParam);
  // The window text, Shift-JIS.
  virtual void setText(std::string_view text);
  virtual std::string text() const;
  // Whether a layout places the widget: MoveWindow then leaves it where it is.
  virtual bool placedByLayout() const { return false; }

 private:
  Window& m_parent;
  QPointer<QWidget> m_widget;
  int m_id;
};

// Takes the child in; it lives until DestroyWindow of its handle or of its parent.
HWND AddChildWindow(std::unique_ptr<ChildWindow> child);
// The child behind a handle, or null (also off the GUI thread).
ChildWindow* ChildFromHandle(HWND hwnd);
// Safe from any thread.
bool IsChildHandle(HWND hwnd);
// The children of a window in the order they were made.
std::vector<ChildWindow*> ChildWindowsOf(const Window& parent);
// Ends a child's handle and removes its widget (left, hidden, to its parent when that is busy).
void DestroyChildWindow(HWND hwnd);
// Ends the handles of every child of a window; their widgets go with the window.
void ForgetChildWindowsOf(Window& parent);
// CreateWindowEx with a parent.
HWND CreateChildWindow(const char* className, DWORD style, int x, int y, int width, int height, HWND parent, int id);
// A "SCROLLBAR" control (platform/scroll_bar.h) on the parent's canvas.
HWND CreateScrollBarControl(Window& parent, DWORD style, QRect rect, int id);
// The surface of a control drawn by this layer (a toolbar, a status bar): the mouse over it is the
// control's own, never passed on to the canvas below as the window's clicks.
class ControlSurface : public QWidget {
 public:
  explicit ControlSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
  void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
};

// The frame's controls: a toolbar (platform/toolbar.h) and a status bar (platform/status_bar.h) on
// a window's canvas, the combo box a toolbar carries, and a progress bar on a control or a window.
HWND CreateToolbarControl(DWORD style, HWND parent, int id);
HWND CreateToolbarCombo(DWORD style, HWND toolbar, int id);
HWND CreateStatusBarControl(DWORD style, HWND parent, int id);
HWND CreateProgressControl(DWORD style, QRect rect, HWND parent, int id);
// The toolbar's widget and the window it tells of clicks; null for a handle that is not a toolbar.
QWidget* ToolbarWidgetOf(HWND toolbar, HWND* notify);
// CreateWindowEx with a parent, for a registered class: a child window (WS_CHILD) or a pop-up
// owned by the parent (WS_POPUP); null otherwise, or when the parent is not a window.
HWND CreateSubWindow(const WindowClassInfo& info, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                     HWND parent, int id);
// What CreateWindowEx does once the window is live: WM_NCCREATE and WM_CREATE with the
// CREATESTRUCT; false (the window destroyed) when the procedure refuses.
bool SendCreateMessages(Window& window, const CREATESTRUCT& create);
// The window that has the mouse captured (platform/mouse_capture.h), or null.
Window* CaptureWindow();
// The toolkit's cursor of a cursor handle (the arrow for null).
QCursor QtCursor(HCURSOR cursor);
// The keyboard came to a canvas or left it: WM_SETFOCUS or WM_KILLFOCUS to its window, except
// while a pop-up menu has the keyboard for a moment.
void CanvasFocusChanged(Canvas& canvas, bool gained, Qt::FocusReason reason);
// The window that the mouse's input last went to: SetCursor shapes the cursor over it.
void NoteMouseWindow(Window& window);
// The top-level window of a handle: the window itself, or a child's parent; null for neither.
Window* TopWindowFromHandle(HWND hwnd);

// Draws the caret (platform/caret.h) over what a paint of the window's canvas has drawn, when the
// window owns it and it is in its "on" phase.
void PaintCaret(const Window& window, QPainter& painter);

// The input method's composition (platform/ime_composition.h): an event of the window's canvas
// made into messages; the dispatch of a queued WM_IME_COMPOSITION with its committed text; and
// DefWindowProc's handling of it.
void InputMethodToMessages(Window& window, const QInputMethodEvent& event);
LRESULT DispatchComposition(Window& window, const MSG& msg);
void DefaultComposition(HWND hwnd, LPARAM lParam);
// Draws the window's preedit over what a paint of its canvas has drawn, where the window has an
// input-method provider (platform/ime_query.h).
void PaintPreedit(Window& window, QPainter& painter);
// The answer of the window's provider to a query of the input method (platform/ime_query.h);
// invalid where the toolkit's own answer stands.
QVariant InputMethodAnswer(Window& window, Qt::InputMethodQuery query);
// The range of the served reconversion text that an input-method event replaces, as start and
// length; none when it replaces nothing or the window has no provider.
std::optional<std::pair<int, int>> ReplacedRange(Window& window, const QInputMethodEvent& event);

// The window behind a handle, or null for a handle that is not a live window (or off the GUI thread).
Window* WindowFromHandle(HWND hwnd);
// Makes a new window live: it gets its serial and its handle works.
void AddLiveWindow(Window* window);
// The serial number of a live window, never reused; 0 for a handle that is not a live window.
uint64_t LiveSerial(HWND hwnd);

// What the menu facility plugs in: LoadMenu's resources, and putting a menu on a window (a null
// menu takes the bar away).
struct MenuBackend {
  std::function<HMENU(std::string_view name)> load;
  std::function<void(Window& window, HMENU menu)> attach;
};
void SetMenuBackend(MenuBackend backend);
// The property of a menu action that holds its command id.
inline constexpr const char* kMenuIdProperty = "vrelMenuId";
// A pop-up QMenu of the menu's items as the bar shows them, whose actions post nothing when chosen
// (platform/popup_menu.h reads the chosen one's id); the caller owns it.
QMenu* MakePopupQMenu(HMENU menu, Window& window);

// Shared by the window's own sources.
struct WindowClassInfo {
  WNDPROC proc = nullptr;
  HICON icon = nullptr;
  COLORREF background = 0;
  std::string menuName;
  UINT style = 0;
  int windowExtra = 0;
  HCURSOR cursor = nullptr;
  HBRUSH backgroundBrush = nullptr;
};
// The colour a class background stands for: the system colour of its brush, else its colour.
COLORREF ClassBackground(const WindowClassInfo& info);
bool FindWindowClass(std::string_view name, WindowClassInfo* info);
void ApplyIcon(Window& window, HICON icon);
// The picture of an icon; null for a null handle.
QImage IconImage(HICON icon);
HMENU LoadMenuResource(std::string_view name);
void AttachMenu(Window& window, HMENU menu);
void QueueMessage(const MSG& msg);
// Ahead of everything waiting (GUI thread only).
void QueueMessageFirst(const MSG& msg);
void DropQueuedMessages(HWND hwnd);
// Whether a message that matches is waiting in the queue; and dropping every one that matches.
bool IsMessageQueued(const std::function<bool(const MSG&)>& match);
void DropQueuedMessagesIf(const std::function<bool(const MSG&)>& match);
// Deletes the destroyed windows that were still busy when DestroyWindow ended them.
void FlushPendingDeletes();
// The outer rectangle moved onto the nearest screen's work area when it lies off every screen.
QRect OntoScreen(QRect outer);
// Calls back with whether the window is visible (IsWindowVisible) now and whenever it is shown or
// hidden, for as long as the window lives; false for a handle that is not a live window.
bool WatchVisibility(HWND hwnd, std::function<void(bool visible)> changed);
// The direct children of an object that are of a class of the layer's own (one without the
// toolkit's type information, which the toolkit's own child lookups need).
template <class T>
std::vector<T*> ChildrenOfType(const QObject& parent) {
  std::vector<T*> out;
  for (QObject* child : parent.children()) {
    if (auto* t = dynamic_cast<T*>(child)) out.push_back(t);
  }
  return out;
}
// Sends the message to every live window (GUI thread only).
void SendToEveryWindow(UINT message, WPARAM wParam, LPARAM lParam);
// The program's Shift-JIS text as the toolkit's, and back.
QString SjisToQString(std::string_view sjis);
std::string QStringToSjis(const QString& text);

}  // namespace platform
