// Dialog windows: templates, the window that a template makes, the dialog manager's messages and
// the modal loop.
#include "platform/dialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/dialog_qt.h"
#include "platform/gui_app.h"

namespace platform {
namespace {

// ---- Templates ------------------------------------------------------------------------------

std::mutex templateMutex;

std::map<std::string, DialogTemplateFn, std::less<>>& Templates() {
  static std::map<std::string, DialogTemplateFn, std::less<>> templates;
  return templates;
}

// The key a template is registered under: its number in decimal, or its name.
std::string TemplateKey(const char* name) {
  if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<uintptr_t>(name));
  return name;
}

bool FindTemplate(const std::string& key, DialogTemplate* made) {
  DialogTemplateFn declare;
  {
    std::lock_guard lock(templateMutex);
    auto it = Templates().find(key);
    if (it == Templates().end()) return false;
    declare = it->second;
  }
  DialogBuilder::Impl impl{*made, {&made->root.children}, nullptr};
  DialogBuilder builder(impl);
  declare(builder);
  return true;
}

std::function<void(HWND)>& ShownHookSlot() {
  static std::function<void(HWND)> hook;
  return hook;
}

// ---- The dialog manager's side of a dialog's messages ---------------------------------------

LRESULT DefaultDialogProcessing(DialogWindow& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      dialog.pressButton(IDCANCEL);
      return 0;
    case WM_SETICON:
      return reinterpret_cast<LRESULT>(dialog.setIcon(wParam, reinterpret_cast<HICON>(lParam)));
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(dialog.icon(wParam));
    default:
      return 0;
  }
}

LRESULT DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogWindow* dialog = DialogFromHandle(hwnd);
  if (!dialog) return 0;
  // The procedure may destroy its own dialog: the object stays until the message is answered.
  Window::BusyScope busy(*dialog);
  const DLGPROC proc = dialog->dialogProc();
  const INT_PTR handled = proc ? proc(hwnd, message, wParam, lParam) : 0;
  if (!IsWindow(hwnd)) return handled;
  switch (message) {
    case WM_INITDIALOG:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return handled;
    default:
      break;
  }
  if (handled) return dialog->msgResult();
  return DefaultDialogProcessing(*dialog, message, wParam, lParam);
}

COLORREF DialogBackground() {
  const QColor c = QApplication::palette().color(QPalette::Window);
  return RGB(c.red(), c.green(), c.blue());
}

// A rectangle moved into the work area of the screen under its centre (or the nearest one).
QRect IntoWorkArea(QRect r) {
  QScreen* screen = QGuiApplication::screenAt(r.center());
  if (!screen) {
    r = OntoScreen(r);
    screen = QGuiApplication::screenAt(r.center());
  }
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return r;
  const QRect work = screen->availableGeometry();
  const int x = std::max(work.left(), std::min(r.left(), work.right() + 1 - r.width()));
  const int y = std::max(work.top(), std::min(r.top(), work.bottom() + 1 - r.height()));
  r.moveTopLeft(QPoint(x, y));
  return r;
}

// Whether a label's text has an access key ("&" before a character other than "&").
bool HasAccessKey(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return true;
    ++i;
  }
  return false;
}

DialogWindow* CreateDialogWindow(const char* templateName, HWND owner, DLGPROC proc, LPARAM param,
                                 ModalState* modal) {
  if (!templateName) return nullptr;
  EnsureGuiApp();
  if (!IsGuiThread()) return nullptr;
  const std::string key = TemplateKey(templateName);
  DialogTemplate decl;
  if (!FindTemplate(key, &decl)) return nullptr;
  Window* ownerWindow = TopWindowFromHandle(owner);
  auto* dialog = new DialogWindow(decl, ownerWindow, proc, key);
  const HWND hwnd = dialog;
  AddLiveWindow(dialog);
  dialog->setModal(modal);
  dialog->centre(ownerWindow);
  dialog->reportGeometry();
  if (!IsWindow(hwnd)) return nullptr;
  Control* first = dialog->firstTabStop();
  const LRESULT focusFirst = dialog->send(WM_INITDIALOG, reinterpret_cast<WPARAM>(first ? first->handle() : nullptr), param);
  if (!IsWindow(hwnd)) return nullptr;
  if (focusFirst && first && first->widget()) first->widget()->setFocus(Qt::TabFocusReason);
  return dialog;
}

}  // namespace

// ---- Builder --------------------------------------------------------------------------------

DialogBuilder::Options& DialogBuilder::Options::Default() {
  if (m_builder.m_impl.last) m_builder.m_impl.last->isDefault = true;
  return *this;
}
DialogBuilder::Options& DialogBuilder::Options::NewGroup() {
  if (m_builder.m_impl.last) m_builder.m_impl.last->newGroup = true;
  return *this;
}
DialogBuilder::Options& DialogBuilder::Options::Width(int characters) {
  if (m_builder.m_impl.last) m_builder.m_impl.last->width = std::max(characters, 0);
  return *this;
}
DialogBuilder::Options& DialogBuilder::Options::Lines(int lines) {
  if (m_builder.m_impl.last) m_builder.m_impl.last->lines = std::max(lines, 0);
  return *this;
}
DialogBuilder::Options& DialogBuilder::Options::NoPrefix() {
  if (m_builder.m_impl.last) m_builder.m_impl.last->noPrefix = true;
  return *this;
}
DialogBuilder::Options& DialogBuilder::Options::Disabled() {
  if (m_builder.m_impl.last) m_builder.m_impl.last->disabled = true;
  return *this;
}

void DialogBuilder::Caption(std::string_view text) { m_impl.made.caption = std::string(text); }
void DialogBuilder::Resizable() { m_impl.made.resizable = true; }

namespace {

// Adds a box and fills it with what the function declares.
ControlDecl& AddBox(DialogBuilder::Impl& impl, ControlDecl decl, const std::function<void()>& contents) {
  std::vector<ControlDecl>& box = *impl.boxes.back();
  box.push_back(std::move(decl));
  ControlDecl& added = box.back();
  impl.boxes.push_back(&added.children);
  if (contents) contents();
  impl.boxes.pop_back();
  // The box's own vector did not change while its contents were declared, so this still holds.
  impl.last = &box.back();
  return box.back();
}

}  // namespace

void DialogBuilder::Row(const std::function<void()>& contents) {
  AddBox(m_impl, ControlDecl{ControlDecl::Node::kRow}, contents);
  m_impl.last = nullptr;
}

void DialogBuilder::Column(const std::function<void()>& contents) {
  AddBox(m_impl, ControlDecl{ControlDecl::Node::kColumn}, contents);
  m_impl.last = nullptr;
}

void DialogBuilder::Overlay(const std::function<void()>& contents) {
  AddBox(m_impl, ControlDecl{ControlDecl::Node::kOverlay}, contents);
  m_impl.last = nullptr;
}

DialogBuilder::Options& DialogBuilder::Group(int id, std::string_view text, const std::function<void()>& contents) {
  ControlDecl decl;
  decl.kind = ControlKind::kGroupBox;
  decl.id = id;
  decl.text = std::string(text);
  AddBox(m_impl, std::move(decl), contents);
  return m_options;
}

void DialogBuilder::Stretch() {
  m_impl.boxes.back()->push_back(ControlDecl{ControlDecl::Node::kStretch});
  m_impl.last = nullptr;
}

namespace {

DialogBuilder::Options& Add(DialogBuilder::Impl& impl, DialogBuilder::Options& options, ControlKind kind, int id,
                            std::string_view text) {
  ControlDecl decl;
  decl.kind = kind;
  decl.id = id;
  decl.text = std::string(text);
  impl.boxes.back()->push_back(std::move(decl));
  impl.last = &impl.boxes.back()->back();
  return options;
}

}  // namespace

DialogBuilder::Options& DialogBuilder::PushButton(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kPushButton, id, text);
}
DialogBuilder::Options& DialogBuilder::CheckBox(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kCheckBox, id, text);
}
DialogBuilder::Options& DialogBuilder::RadioButton(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kRadioButton, id, text);
}
DialogBuilder::Options& DialogBuilder::StaticText(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kStaticText, id, text);
}
DialogBuilder::Options& DialogBuilder::Edit(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kEdit, id, text);
}
DialogBuilder::Options& DialogBuilder::MultiLineEdit(int id, std::string_view text) {
  return Add(m_impl, m_options, ControlKind::kMultiLineEdit, id, text);
}
DialogBuilder::Options& DialogBuilder::DropDownList(int id) {
  return Add(m_impl, m_options, ControlKind::kDropDownList, id, {});
}
DialogBuilder::Options& DialogBuilder::ComboBox(int id) { return Add(m_impl, m_options, ControlKind::kComboBox, id, {}); }
DialogBuilder::Options& DialogBuilder::ListBox(int id) { return Add(m_impl, m_options, ControlKind::kListBox, id, {}); }
DialogBuilder::Options& DialogBuilder::ListView(int id) { return Add(m_impl, m_options, ControlKind::kListView, id, {}); }
DialogBuilder::Options& DialogBuilder::TreeView(int id) { return Add(m_impl, m_options, ControlKind::kTreeView, id, {}); }
DialogBuilder::Options& DialogBuilder::UpDown(int id) { return Add(m_impl, m_options, ControlKind::kUpDown, id, {}); }
DialogBuilder::Options& DialogBuilder::ProgressBar(int id) {
  return Add(m_impl, m_options, ControlKind::kProgressBar, id, {});
}

bool RegisterDialogTemplate(int id, DialogTemplateFn declare) {
  return RegisterDialogTemplate(std::to_string(static_cast<WORD>(id)), std::move(declare));
}

bool RegisterDialogTemplate(std::string_view name, DialogTemplateFn declare) {
  if (name.empty() || !declare) return false;
  std::lock_guard lock(templateMutex);
  Templates()[std::string(name)] = std::move(declare);
  return true;
}

std::function<void(HWND)>& DialogShownHook() { return ShownHookSlot(); }

// ---- DialogWindow ---------------------------------------------------------------------------

DialogWindow::DialogWindow(const DialogTemplate& decl, Window* owner, DLGPROC proc, std::string templateName)
    : Window(DialogWindowProc, DialogBackground(),
             WS_CAPTION | WS_SYSMENU | (decl.resizable ? WS_THICKFRAME | WS_MAXIMIZEBOX : 0), QSize(0, 0)),
      m_templateName(std::move(templateName)),
      m_resizable(decl.resizable),
      m_proc(proc) {
  if (owner) setParent(owner);
  applyFlags();
  applyGeometry();
  setWindowTitle(SjisToQString(decl.caption));
  canvas()->setFocusPolicy(Qt::NoFocus);
  canvas()->setMouseTracking(false);

  auto* layout = new QVBoxLayout(canvas());
  int radioGroup = 0;
  bool inRadioRun = false;
  for (const ControlDecl& child : decl.root.children) build(child, canvas(), layout, radioGroup, inRadioRun);

  // Tab follows the declarations; a label's access key moves to the next control that takes Tab.
  QWidget* previous = nullptr;
  for (Control* c : m_controls) {
    QWidget* w = c->widget();
    if (!w || w->focusPolicy() == Qt::NoFocus) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
  for (size_t i = 0; i < m_controls.size(); ++i) {
    Control* c = m_controls[i];
    if (c->kind() != ControlKind::kStaticText || c->noPrefix() || !HasAccessKey(c->text())) continue;
    for (size_t j = i + 1; j < m_controls.size(); ++j) {
      QWidget* w = m_controls[j]->widget();
      if (w && w->focusPolicy() != Qt::NoFocus) {
        c->label()->setBuddy(w);
        break;
      }
    }
    c->setText(c->text());  // shown again now that it has a buddy
  }

  layout->activate();
  adjustSize();
  if (!m_resizable) setFixedSize(size());
  // The client area is laid out now, not when the dialog first shows.
  QMainWindow::layout()->activate();
}

DialogWindow::~DialogWindow() {
  // The controls' widgets go while their Control objects (which their signals name) still exist.
  qDeleteAll(canvas()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void DialogWindow::build(const ControlDecl& decl, QWidget* parent, QBoxLayout* layout, int& radioGroup,
                         bool& inRadioRun) {
  switch (decl.node) {
    case ControlDecl::Node::kRow:
    case ControlDecl::Node::kColumn: {
      auto* box = decl.node == ControlDecl::Node::kRow ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                       : static_cast<QBoxLayout*>(new QVBoxLayout);
      layout->addLayout(box);
      for (const ControlDecl& child : decl.children) build(child, parent, box, radioGroup, inRadioRun);
      return;
    }
    case ControlDecl::Node::kOverlay: {
      // Every child goes into the grid's one cell; each is built into a box first, as a row's are.
      auto* grid = new QGridLayout;
      grid->setContentsMargins(0, 0, 0, 0);
      layout->addLayout(grid);
      for (const ControlDecl& child : decl.children) {
        QVBoxLayout scratch;
        build(child, parent, &scratch, radioGroup, inRadioRun);
        while (QLayoutItem* item = scratch.takeAt(0)) grid->addItem(item, 0, 0);
      }
      return;
    }
    case ControlDecl::Node::kStretch:
      layout->addStretch(1);
      return;
    case ControlDecl::Node::kControl:
      break;
  }
  if (decl.kind == ControlKind::kRadioButton) {
    if (!inRadioRun || decl.newGroup) ++radioGroup;
    inRadioRun = true;
  } else {
    inRadioRun = false;
  }
  Control* control = CreateControl(*this, decl, parent, radioGroup);
  m_controls.push_back(control);
  layout->addWidget(control->widget());
  if (decl.kind == ControlKind::kGroupBox) {
    auto* inner = new QVBoxLayout(control->widget());
    bool innerRun = false;
    for (const ControlDecl& child : decl.children) build(child, control->widget(), inner, radioGroup, innerRun);
  }
}

Control* DialogWindow::control(int id) const {
  for (Control* c : m_controls) {
    if (c->id() == id && IsChildHandle(c->handle())) return c;
  }
  return nullptr;
}

Control* DialogWindow::controlOf(const QWidget* widget) const {
  for (; widget && widget != this; widget = widget->parentWidget()) {
    for (Control* c : m_controls) {
      if (c->widget() == widget) return c;
    }
  }
  return nullptr;
}

Control* DialogWindow::firstTabStop() const {
  for (Control* c : m_controls) {
    QWidget* w = c->widget();
    if (w && w->focusPolicy() != Qt::NoFocus && w->isEnabled() && !w->isHidden()) return c;
  }
  return nullptr;
}

void DialogWindow::notify(Control& control, WORD code) {
  if (m_quiet > 0) return;
  send(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(control.id()), code), reinterpret_cast<LPARAM>(control.handle()));
}

void DialogWindow::pressButton(int id) {
  Control* c = control(id);
  if (c && c->button() && !c->widget()->isEnabled()) {
    RefuseInput();
    return;
  }
  send(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), reinterpret_cast<LPARAM>(c ? c->handle() : nullptr));
}

void DialogWindow::pressEnter() {
  for (Control* c : m_controls) {
    if (c->kind() == ControlKind::kPushButton && c->isDefault()) {
      pressButton(c->id());
      return;
    }
  }
  pressButton(IDOK);
}

void DialogWindow::sendHelp() {
  HELPINFO info;
  Control* focused = controlOf(focusWidget());
  info.iCtrlId = focused ? focused->id() : 0;
  info.hItemHandle = focused ? focused->handle() : this;
  const QPoint mouse = QCursor::pos();
  info.MousePos = POINT{mouse.x(), mouse.y()};
  send(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void DialogWindow::sendContextMenu(Control& control, QPoint globalPos) {
  send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control.handle()),
       MAKELPARAM(static_cast<unsigned>(globalPos.x()), static_cast<unsigned>(globalPos.y())));
}

void DialogWindow::reportGeometry() {
  if (!IsWindow(this)) return;  // still being made: the first report comes when it is live
  const WPARAM type = isMinimized() ? SIZE_MINIMIZED : isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
  // The client area is the whole of the window's geometry (a dialog has no menu bar).
  const QSize client = geometry().size();
  const QPoint origin = geometry().topLeft();
  // Recorded before sending: the procedure may move the dialog again while it handles one.
  const bool sized = !m_reportedSize || *m_reportedSize != client || m_reportedType != type;
  const bool moved = !m_reportedPos || *m_reportedPos != origin;
  m_reportedSize = client;
  m_reportedType = type;
  m_reportedPos = origin;
  const HWND self = this;
  if (sized) send(WM_SIZE, type, MAKELPARAM(static_cast<unsigned>(client.width()), static_cast<unsigned>(client.height())));
  if (moved && IsWindow(self)) {
    send(WM_MOVE, 0, MAKELPARAM(static_cast<unsigned>(origin.x()), static_cast<unsigned>(origin.y())));
  }
}

void DialogWindow::centre(Window* owner) {
  const QSize size = geometry().size();
  QRect area;
  if (owner) {
    area = owner->screenRect();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  const QPoint topLeft = area.center() - QPoint(size.width() / 2, size.height() / 2);
  setGeometry(IntoWorkArea(QRect(topLeft, size)));
}

void DialogWindow::place(std::optional<QPoint> position, std::optional<QSize> size) {
  const QRect now = geometry();
  const QSize wanted = size ? size->expandedTo(minimumSize()).boundedTo(maximumSize()) : now.size();
  setGeometry(QRect(position ? *position : now.topLeft(), wanted));
  // A hidden window lays its contents out only when it shows; the client area must be right at once.
  if (!isVisible()) {
    layout()->invalidate();
    layout()->activate();
  }
  reportGeometry();
}

bool DialogWindow::extraLong(int index, LONG_PTR* value) const {
  switch (index) {
    case DWLP_MSGRESULT:
      *value = m_msgResult;
      return true;
    case DWLP_DLGPROC:
      *value = reinterpret_cast<LONG_PTR>(m_proc);
      return true;
    case DWLP_USER:
      *value = m_user;
      return true;
    default:
      return false;
  }
}

bool DialogWindow::setExtraLong(int index, LONG_PTR value) {
  switch (index) {
    case DWLP_MSGRESULT:
      m_msgResult = value;
      return true;
    case DWLP_DLGPROC:
      m_proc = reinterpret_cast<DLGPROC>(value);
      return true;
    case DWLP_USER:
      m_user = value;
      return true;
    default:
      return false;
  }
}

void DialogWindow::changeEvent(QEvent* event) {
  // Not the plain window's minimise messages: a dialog reports every state with its size.
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) reportGeometry();
}

void DialogWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  reportGeometry();
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  reportGeometry();
}

void DialogWindow::clientResized(QSize) { reportGeometry(); }

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  // Keys that the focused control left alone.
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    event->ignore();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Escape:
      pressButton(IDCANCEL);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      pressEnter();
      return;
    case Qt::Key_F1:
      sendHelp();
      return;
    default:
      event->ignore();
      return;
  }
}

void DialogWindow::keyReleaseEvent(QKeyEvent* event) { event->ignore(); }

bool DialogWindow::focusNextPrevChild(bool next) { return QMainWindow::focusNextPrevChild(next); }

void DialogWindow::applyFlags() {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  if (m_resizable) flags |= Qt::WindowMaximizeButtonHint;
  if (flags != windowFlags()) setWindowFlags(flags);
}

void DialogWindow::applyGeometry() {
  // The controls' layout gives the size; the window fits around it.
  layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  canvas()->setMinimumSize(0, 0);
  canvas()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

DialogWindow* DialogFromHandle(HWND hwnd) { return dynamic_cast<DialogWindow*>(WindowFromHandle(hwnd)); }

// ---- The functions --------------------------------------------------------------------------

INT_PTR DialogBoxParam(HINSTANCE, const char* templateName, HWND owner, DLGPROC proc, LPARAM param) {
  if (!templateName) return -1;
  EnsureGuiApp();
  if (!IsGuiThread()) return -1;
  const std::string key = TemplateKey(templateName);
  {
    std::lock_guard lock(templateMutex);
    if (!Templates().count(key)) return -1;
  }
  const std::function<void(HWND)> hook = ShownHookSlot();
  if (!hook && !HasScreen()) {
    std::fprintf(stderr, "dialog %s: no screen to show it on, answered IDCANCEL\n", key.c_str());
    return IDCANCEL;
  }

  ModalState state;
  DialogWindow* dialog = CreateDialogWindow(templateName, owner, proc, param, &state);
  if (!dialog) return -1;
  const HWND hwnd = dialog;
  Window* ownerWindow = TopWindowFromHandle(owner);
  const QPointer<Window> ownerGuard(ownerWindow);
  const bool disabledOwner = ownerWindow && EnableWindow(ownerWindow, 0) == 0;

  bool quit = false;
  if (!state.ended) {
    dialog->show();
    dialog->activateWindow();
    if (hook) {
      const QPointer<DialogWindow> guard(dialog);
      QMetaObject::invokeMethod(
          dialog, [guard, hook, hwnd] { if (guard && IsWindow(hwnd)) hook(hwnd); }, Qt::QueuedConnection);
    }
    MSG msg;
    while (!state.ended && IsWindow(hwnd)) {
      const BOOL got = GetMessage(&msg, nullptr, 0, 0);
      if (got == 0) {
        // The quit is the outer loop's too: it goes back into the queue.
        quit = true;
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (!IsDialogMessage(hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  }
  const INT_PTR result = quit ? 0 : state.result;
  // The owner first, so that it takes the activation back from the dialog.
  if (disabledOwner && ownerGuard && IsWindow(ownerWindow)) EnableWindow(ownerWindow, 1);
  if (DialogWindow* still = DialogFromHandle(hwnd)) {
    still->setModal(nullptr);
    DestroyWindow(hwnd);
  }
  return result;
}

HWND CreateDialogParam(HINSTANCE, const char* templateName, HWND owner, DLGPROC proc, LPARAM param) {
  return CreateDialogWindow(templateName, owner, proc, param, nullptr);
}

BOOL EndDialog(HWND hwnd, INT_PTR result) {
  DialogWindow* dialog = DialogFromHandle(hwnd);
  if (!dialog) return 0;
  if (ModalState* state = dialog->modal()) {
    state->ended = true;
    state->result = result;
    // Wakes the loop, which may be waiting for a message.
    PostMessage(hwnd, WM_NULL, 0, 0);
  } else {
    dialog->hide();
  }
  return 1;
}

void EmbedInDialog(HWND hwnd, QWidget* widget, int place) {
  DialogWindow* window = DialogFromHandle(hwnd);
  auto* layout = window ? qobject_cast<QBoxLayout*>(window->canvas()->layout()) : nullptr;
  if (!layout || !widget) return;
  layout->insertWidget(place, widget, 1);
  layout->activate();
  window->adjustSize();
  window->centre(dynamic_cast<Window*>(window->parentWidget()));
}

BOOL IsDialogMessage(HWND hwnd, MSG* msg) {
  DialogWindow* dialog = DialogFromHandle(hwnd);
  if (!dialog && msg && msg->hwnd == hwnd && ChildFromHandle(hwnd)) {
    // A control outside a dialog (a toolbar's search box) takes the messages queued for it.
    DispatchMessage(msg);
    return 1;
  }
  if (!dialog || !msg || TopWindowFromHandle(msg->hwnd) != dialog) return 0;
  // Enter and Esc sent to a control as keys act as they do when pressed there.
  auto* control = dynamic_cast<Control*>(ChildFromHandle(msg->hwnd));
  if (msg->message == WM_KEYDOWN && control && control->kind() != ControlKind::kMultiLineEdit) {
    if (msg->wParam == VK_RETURN) {
      dialog->pressEnter();
      return 1;
    }
    if (msg->wParam == VK_ESCAPE) {
      dialog->pressButton(IDCANCEL);
      return 1;
    }
  }
  DispatchMessage(msg);
  return 1;
}

HWND GetDlgItem(HWND hwnd, int id) {
  DialogWindow* dialog = DialogFromHandle(hwnd);
  Control* c = dialog ? dialog->control(id) : nullptr;
  return c ? c->handle() : nullptr;
}

int GetDlgCtrlID(HWND control) {
  ChildWindow* child = ChildFromHandle(control);
  return child ? child->id() : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessage(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, const char* text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowText(control, text ? text : "") : 0;
}

UINT GetDlgItemText(HWND dialog, int id, char* text, int size) {
  if (!text || size <= 0) return 0;
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    text[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(SendMessage(control, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  const std::string text = isSigned ? std::to_string(static_cast<int32_t>(value)) : std::to_string(value);
  return SetDlgItemText(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = 0;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  const std::string text = GetWindowText(control);
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (isSigned && i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  const size_t digits = i;
  uint64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > 0xFFFFFFFFull) return 0;
    ++i;
  }
  if (i == digits) return 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return 0;
  if (isSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
  if (translated) *translated = 1;
  return negative ? static_cast<UINT>(-static_cast<int64_t>(value)) : static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  SendMessage(control, BM_SETCHECK, check, 0);
  return 1;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? static_cast<UINT>(SendMessage(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND hwnd, int first, int last, int check) {
  DialogWindow* dialog = DialogFromHandle(hwnd);
  if (!dialog) return 0;
  for (Control* c : dialog->controls()) {
    if (c->id() < first || c->id() > last || !c->button() || !IsChildHandle(c->handle())) continue;
    c->setCheck(c->id() == check ? BST_CHECKED : BST_UNCHECKED);
  }
  return 1;
}

}  // namespace platform
