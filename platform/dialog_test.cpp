#include "platform/dialog_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>

#include "platform/dialog_qt.h"
#include "platform/key_map.h"
#include "platform/sjis.h"

namespace platform::dialog_test {
namespace {

// The control, when the user could reach it.
Control* Reachable(HWND dialog, int id) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !d->inputEnabled() || !d->isVisible()) return nullptr;
  Control* c = d->control(id);
  if (!c || !c->widget() || !c->widget()->isEnabled() || !c->widget()->isVisible()) return nullptr;
  return c;
}

QWidget* TextTarget(Control& c) {
  if (QLineEdit* edit = c.lineEdit()) return edit;
  return c.multiLineEdit();
}

void SendKey(QWidget* target, int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
}

bool TypeText(HWND dialog, int id, const QString& text) {
  Control* c = Reachable(dialog, id);
  QWidget* target = c ? TextTarget(*c) : nullptr;
  if (!target) return false;
  // The user clicks after the text, then types.
  target->setFocus(Qt::MouseFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->end(false);
  if (auto* edit = qobject_cast<QPlainTextEdit*>(target)) edit->moveCursor(QTextCursor::End);
  for (const char32_t ch : text.toUcs4()) {
    const QString one = QString::fromUcs4(&ch, 1);
    if (ch >= 0x20 && ch < 0x7F) {
      SendKey(target, ch >= 'a' && ch <= 'z' ? static_cast<int>(ch - 32) : static_cast<int>(ch), one);
    } else if (ch == '\n') {
      SendKey(target, Qt::Key_Return, QStringLiteral("\r"));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(one);
      QApplication::sendEvent(target, &commit);
    }
  }
  return true;
}

}  // namespace

ShownHook SetShownHook(ShownHook hook) {
  ShownHook old = std::move(DialogShownHook());
  DialogShownHook() = std::move(hook);
  return old;
}

bool Click(HWND dialog, int id) {
  Control* c = Reachable(dialog, id);
  if (!c || (!c->button() && !c->combo())) return false;
  c->userClick();
  return true;
}

bool Type(HWND dialog, int id, std::string_view text) { return TypeText(dialog, id, QString::fromStdString(SjisToUtf8(text))); }

bool TypeUtf8(HWND dialog, int id, std::string_view utf8) {
  return TypeText(dialog, id, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

bool Paste(HWND dialog, int id, std::string_view utf8) {
  Control* c = Reachable(dialog, id);
  if (!c) return false;
  QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  if (QLineEdit* edit = c->lineEdit()) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->paste();
    return true;
  }
  if (QPlainTextEdit* edit = c->multiLineEdit()) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->paste();
    return true;
  }
  return false;
}

bool Select(HWND dialog, int id, int index) {
  Control* c = Reachable(dialog, id);
  if (!c || (!c->combo() && !c->list() && !c->listView() && !c->treeView())) return false;
  if (index < 0 || index >= static_cast<int>(c->items().size())) return false;
  c->userSelect(index);
  return true;
}

bool DoubleClick(HWND dialog, int id, int index) {
  Control* c = Reachable(dialog, id);
  if (!c || (!c->list() && !c->listView() && !c->treeView()) || index < 0 || index >= static_cast<int>(c->items().size())) {
    return false;
  }
  c->userDoubleClick(index);
  return true;
}

bool ClickHeader(HWND dialog, int id, int column) {
  Control* c = Reachable(dialog, id);
  if (!c || !c->listView() || column < 0 || column >= c->listView()->columnCount()) return false;
  ListViewUserClickHeader(*c, column);
  return true;
}

bool Spin(HWND dialog, int id, bool up) {
  Control* c = Reachable(dialog, id);
  if (!c || c->kind() != ControlKind::kUpDown) return false;
  UpDownUserClick(*c, up);
  return true;
}

bool KeyDown(HWND dialog, int id, int virtualKey, unsigned modifiers) {
  Control* c = Reachable(dialog, id);
  if (!c) return false;
  // The toolkit's key that makes this code.
  int qtKey = 0;
  for (int candidate : {static_cast<int>(Qt::Key_Return), static_cast<int>(Qt::Key_Escape), static_cast<int>(Qt::Key_Tab),
                        static_cast<int>(Qt::Key_Backspace), static_cast<int>(Qt::Key_Delete), static_cast<int>(Qt::Key_Insert),
                        static_cast<int>(Qt::Key_Home), static_cast<int>(Qt::Key_End), static_cast<int>(Qt::Key_PageUp),
                        static_cast<int>(Qt::Key_PageDown), static_cast<int>(Qt::Key_Left), static_cast<int>(Qt::Key_Right),
                        static_cast<int>(Qt::Key_Up), static_cast<int>(Qt::Key_Down), static_cast<int>(Qt::Key_Space)}) {
    if (KeyCodeFromQtKey(candidate, false).vk == virtualKey) qtKey = candidate;
  }
  if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) qtKey = virtualKey;
  for (int f = 0; f < 24 && qtKey == 0; ++f) {
    if (KeyCodeFromQtKey(Qt::Key_F1 + f, false).vk == virtualKey) qtKey = Qt::Key_F1 + f;
  }
  if (qtKey == 0) return false;
  QWidget* target = c->widget();
  if (QWidget* text = TextTarget(*c)) target = text;
  target->setFocus(Qt::MouseFocusReason);
  Qt::KeyboardModifiers held = Qt::NoModifier;
  const std::pair<unsigned, std::pair<int, Qt::KeyboardModifier>> mods[] = {
      {kShift, {Qt::Key_Shift, Qt::ShiftModifier}}, {kControl, {Qt::Key_Control, Qt::ControlModifier}}, {kAlt, {Qt::Key_Alt, Qt::AltModifier}}};
  for (const auto& [bit, key] : mods) {
    if (!(modifiers & bit)) continue;
    held |= key.second;
    QKeyEvent press(QEvent::KeyPress, key.first, held);
    QApplication::sendEvent(target, &press);
  }
  QString text;
  if (qtKey >= 'A' && qtKey <= 'Z' && !(held & (Qt::ControlModifier | Qt::AltModifier))) {
    text = QChar((held & Qt::ShiftModifier) ? qtKey : qtKey + 32);
  } else if (qtKey >= '0' && qtKey <= '9' && !(held & (Qt::ControlModifier | Qt::AltModifier))) {
    text = QChar(qtKey);
  }
  SendKey(target, qtKey, text, held);
  for (auto it = std::rbegin(mods); it != std::rend(mods); ++it) {
    if (!(modifiers & it->first)) continue;
    held &= ~it->second.second;
    QKeyEvent release(QEvent::KeyRelease, it->second.first, held);
    QApplication::sendEvent(target, &release);
  }
  return true;
}

bool PressKey(HWND dialog, Key key) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !d->isVisible()) return false;
  QWidget* target = d->focusWidget();
  if (!target) target = d;
  switch (key) {
    case Key::kEnter: SendKey(target, Qt::Key_Return, QStringLiteral("\r")); break;
    case Key::kEscape: SendKey(target, Qt::Key_Escape, QString(QChar(0x1B))); break;
    case Key::kTab: SendKey(target, Qt::Key_Tab, QStringLiteral("\t")); break;
    case Key::kBackTab: SendKey(target, Qt::Key_Backtab, {}, Qt::ShiftModifier); break;
    case Key::kF1: SendKey(target, Qt::Key_F1); break;
  }
  return true;
}

bool ContextMenu(HWND dialog, int id) {
  Control* c = Reachable(dialog, id);
  if (!c) return false;
  QWidget* target = c->widget();
  if (auto* list = c->list()) target = list->viewport();
  if (auto* view = c->listView()) target = view->viewport();
  const QPoint local = target->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
  QApplication::sendEvent(target, &event);
  return true;
}

bool CloseButton(HWND dialog) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !d->isVisible()) return false;
  d->close();
  return true;
}

bool MoveTo(HWND dialog, int x, int y) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !d->isVisible() || !d->inputEnabled()) return false;
  d->setGeometry(QRect(QPoint(x, y), d->geometry().size()));
  return true;
}

bool ResizeTo(HWND dialog, int width, int height) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !d->isVisible() || !d->inputEnabled() || d->minimumSize() == d->maximumSize()) return false;
  d->resize(QSize(width, height).expandedTo(d->minimumSize()));
  return true;
}

std::vector<ControlState> Controls(HWND dialog) {
  std::vector<ControlState> out;
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d) return out;
  for (Control* c : d->controls()) {
    if (!IsChildHandle(c->handle()) || !c->widget()) continue;
    ControlState s;
    s.kind = c->kind();
    s.id = c->id();
    s.text = c->text();
    s.enabled = c->widget()->isEnabled();
    s.visible = !c->widget()->isHidden();
    s.focused = d->focusWidget() && d->controlOf(d->focusWidget()) == c;
    s.isDefault = c->isDefault();
    s.check = c->check();
    s.items = c->items();
    s.selection = c->selection();
    if (c->lineEdit() || c->multiLineEdit()) s.limit = c->limit();
    s.progressMin = c->progressMin();
    s.progressMax = c->progressMax();
    s.progressPos = c->progressPos();
    if (c->listView()) {
      ListViewContents contents = ListViewState(*c);
      s.columns = std::move(contents.columns);
      s.columnWidths = std::move(contents.widths);
      s.rows = std::move(contents.rows);
      s.focusedRow = contents.focused;
    }
    if (c->treeView()) {
      for (TreeViewRow& row : TreeViewState(*c)) {
        s.tree.push_back({row.item, row.depth, std::move(row.text), row.expanded, row.selected});
      }
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::optional<ControlState> Query(HWND dialog, int id) {
  for (ControlState& s : Controls(dialog)) {
    if (s.id == id) return s;
  }
  return std::nullopt;
}

std::vector<HWND> OpenDialogs() {
  std::vector<HWND> out;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* d = dynamic_cast<DialogWindow*>(w);
    if (d && IsWindow(d)) out.push_back(d);
  }
  return out;
}

std::string TemplateOf(HWND dialog) {
  DialogWindow* d = DialogFromHandle(dialog);
  return d ? d->templateName() : std::string();
}

int FocusedControl(HWND dialog) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d) return 0;
  Control* c = d->controlOf(d->focusWidget());
  return c ? c->id() : 0;
}

bool SaveImage(HWND dialog, const char* pngPath) {
  DialogWindow* d = DialogFromHandle(dialog);
  if (!d || !pngPath) return false;
  return d->canvas()->grab().save(QString::fromUtf8(pngPath), "PNG");
}

}  // namespace platform::dialog_test
