// A dialog's controls: the toolkit widget of each kind, its messages and its notifications, and
// the one rule that keeps edits within their limits and Shift-JIS.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/beep.h"
#include "platform/dialog_qt.h"
#include "platform/key_map.h"
#include "platform/sjis.h"

namespace platform {
namespace {

bool IsLineBreak(char32_t c) { return c == '\n' || c == QChar::ParagraphSeparator; }

// Shift-JIS bytes of one character; 0 for one without a code.
int CharBytes(char32_t c) {
  if (IsLineBreak(c)) return 2;
  if (c == 0) return 0;
  const uint16_t code = UnicodeToSjisCode(c);
  if (code == 0) return 0;
  return code > 0xFF ? 2 : 1;
}

// "&x" shown as x, "&&" as "&": a label without a control to move to still hides its markers.
QString WithoutAccessMarks(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

// Case-blind comparison of Shift-JIS texts: only single-byte letters fold, never a trail byte.
bool SjisEqualNoCase(std::string_view a, std::string_view b, bool prefixOnly) {
  if (prefixOnly ? a.size() < b.size() : a.size() != b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (IsSjisLead(cb)) {
      if (ca != cb || i + 1 >= b.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    const auto fa = (ca >= 'a' && ca <= 'z') ? ca - 32 : ca;
    const auto fb = (cb >= 'a' && cb <= 'z') ? cb - 32 : cb;
    if (fa != fb) return false;
  }
  return true;
}

// The list search of CB_FINDSTRING and its relatives: from the item after start around to start.
int FindItem(const std::vector<std::string>& items, int start, std::string_view text, bool exact) {
  const int n = static_cast<int>(items.size());
  if (n == 0) return -1;
  const int first = start < 0 || start >= n ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    const int i = (first + k) % n;
    if (SjisEqualNoCase(items[static_cast<size_t>(i)], text, !exact)) return i;
  }
  return -1;
}

LRESULT CopyOut(const std::string& text, LPARAM lParam) {
  auto* out = reinterpret_cast<char*>(lParam);
  if (!out) return -1;
  std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
  return static_cast<LRESULT>(text.size());
}

std::string TextParam(LPARAM lParam) { return lParam ? std::string(reinterpret_cast<const char*>(lParam)) : std::string(); }

// ---- The widgets ----------------------------------------------------------------------------

class CheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  // A click makes a grey box checked, a checked one unchecked.
  void nextCheckState() override {
    const bool wasChecked = checkState() == Qt::Checked;
    setTristate(false);
    setCheckState(wasChecked ? Qt::Unchecked : Qt::Checked);
  }
};

class RadioButton final : public QRadioButton {
 public:
  RadioButton(const QString& text, QWidget* parent, DialogWindow& dialog, int group)
      : QRadioButton(text, parent), m_dialog(dialog), m_group(group) {
    setAutoExclusive(false);
  }

 protected:
  // A click checks the button and unchecks the others of its group; a checked one stays checked.
  void nextCheckState() override {
    for (Control* c : m_dialog.controls()) {
      if (c->kind() == ControlKind::kRadioButton && c->radioGroup() == m_group && c->widget() != this) {
        c->setCheck(BST_UNCHECKED);
      }
    }
    setChecked(true);
  }

 private:
  DialogWindow& m_dialog;
  int m_group;
};

class DropDown final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void showPopup() override {
    // The program may fill the list when it hears that it opens.
    if (control) control->notify(CBN_DROPDOWN);
    QComboBox::showPopup();
  }
  Control* control = nullptr;
};

class MultiLineEditWidget final : public QPlainTextEdit {
 public:
  explicit MultiLineEditWidget(QWidget* parent) : QPlainTextEdit(parent) { setTabChangesFocus(true); }
  Control* control = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    QString text = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) text = QStringLiteral("\n");
    const bool typed = !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                       std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c == '\n' || c == '\t' || c.isSurrogate(); });
    if (!typed) {
      QPlainTextEdit::keyPressEvent(event);
      return;
    }
    const QString fitted = fit(text);
    if (fitted == text) {
      QPlainTextEdit::keyPressEvent(event);
    } else {
      if (!fitted.isEmpty()) insertPlainText(fitted);
      event->accept();
    }
  }

  void inputMethodEvent(QInputMethodEvent* event) override {
    const QString commit = event->commitString();
    const QString fitted = commit.isEmpty() ? commit : fit(commit);
    if (fitted == commit) {
      QPlainTextEdit::inputMethodEvent(event);
      return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fitted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
  }

  void insertFromMimeData(const QMimeData* source) override {
    if (!source || !source->hasText()) return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    const QString fitted = fit(text);
    if (!fitted.isEmpty()) insertPlainText(fitted);
  }

 private:
  QString fit(const QString& text) {
    const int limit = control ? control->limit() : kDefaultEditLimit;
    const int64_t used = ShiftJisBytes(toPlainText()) - ShiftJisBytes(textCursor().selectedText());
    bool refused = false;
    QString fitted = FitShiftJis(text, limit - used, &refused);
    if (refused) RefuseInput();
    return fitted;
  }
};

QWidget* MakeWidget(DialogWindow& dialog, const ControlDecl& decl, QWidget* parent, int radioGroup) {
  const QString text = SjisToQString(decl.text);
  switch (decl.kind) {
    case ControlKind::kPushButton: {
      auto* b = new QPushButton(text, parent);
      b->setAutoDefault(false);
      b->setDefault(decl.isDefault);
      return b;
    }
    case ControlKind::kCheckBox:
      return new CheckBox(text, parent);
    case ControlKind::kRadioButton:
      return new RadioButton(text, parent, dialog, radioGroup);
    case ControlKind::kGroupBox:
      return new QGroupBox(text, parent);
    case ControlKind::kStaticText: {
      auto* l = new QLabel(parent);
      l->setTextFormat(Qt::PlainText);
      return l;
    }
    case ControlKind::kEdit:
      return new QLineEdit(parent);
    case ControlKind::kMultiLineEdit:
      return new MultiLineEditWidget(parent);
    case ControlKind::kDropDownList:
    case ControlKind::kComboBox: {
      auto* c = new DropDown(parent);
      if (decl.kind == ControlKind::kComboBox) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
      }
      return c;
    }
    case ControlKind::kListBox: {
      auto* l = new QListWidget(parent);
      l->setSelectionMode(QAbstractItemView::SingleSelection);
      return l;
    }
    case ControlKind::kListView:
      return MakeListView(parent);
    case ControlKind::kTreeView:
      return MakeTreeView(parent);
    case ControlKind::kUpDown:
      return MakeUpDown(parent);
    case ControlKind::kProgressBar: {
      auto* p = new QProgressBar(parent);
      p->setTextVisible(false);
      p->setRange(0, 100);
      p->setValue(0);
      return p;
    }
  }
  return new QWidget(parent);
}

}  // namespace

// ---- The rule for text going into an edit ---------------------------------------------------

int64_t ShiftJisBytes(const QString& text) {
  int64_t bytes = 0;
  for (const char32_t c : text.toUcs4()) {
    const int n = CharBytes(c);
    bytes += n ? n : 1;  // what has no code is never let in; count it as the '?' it would become
  }
  return bytes;
}

QString FitShiftJis(const QString& inserted, int64_t room, bool* refused) {
  QString out;
  for (const char32_t c : inserted.toUcs4()) {
    const int n = CharBytes(c);
    if (n == 0) {
      *refused = true;
      continue;
    }
    if (n > room) {
      *refused = true;
      break;
    }
    room -= n;
    if (IsLineBreak(c)) {
      out += QChar('\n');
    } else {
      out += QString::fromUcs4(&c, 1);
    }
  }
  return out;
}

void RefuseInput() { MessageBeep(MB_OK); }

QValidator::State ShiftJisValidator::validate(QString& input, int& pos) const {
  if (m_control.settingText()) return Acceptable;
  const QString& before = m_control.acceptedText();
  if (input == before) return Acceptable;
  // What changed lies between the part both texts start with and the part both end with.
  qsizetype head = 0;
  const qsizetype shorter = std::min(input.size(), before.size());
  while (head < shorter && input[head] == before[head]) ++head;
  if (head > 0 && input[head - 1].isHighSurrogate()) --head;
  qsizetype tail = 0;
  while (tail < shorter - head && input[input.size() - 1 - tail] == before[before.size() - 1 - tail]) ++tail;
  if (tail > 0 && input[input.size() - tail].isLowSurrogate()) --tail;
  QString inserted = input.mid(head, input.size() - head - tail);
  // One line: what is pasted ends at its first line break.
  for (qsizetype i = 0; i < inserted.size(); ++i) {
    if (inserted[i] == '\r' || inserted[i] == '\n') {
      inserted.truncate(i);
      break;
    }
  }
  const int64_t kept = ShiftJisBytes(before.left(head)) + ShiftJisBytes(before.right(tail));
  bool refused = false;
  const QString fitted = FitShiftJis(inserted, m_control.limit() - kept, &refused);
  if (refused) RefuseInput();
  input = input.left(head) + fitted + input.right(tail);
  pos = static_cast<int>(head + fitted.size());
  return Acceptable;
}

// ---- Control --------------------------------------------------------------------------------

Control::Control(DialogWindow& dialog, const ControlDecl& decl, QWidget* widget, int radioGroup)
    : ChildWindow(dialog, widget, decl.id),
      m_dialog(dialog),
      m_kind(decl.kind),
      m_radioGroup(radioGroup),
      m_isDefault(decl.isDefault),
      m_noPrefix(decl.noPrefix),
      m_rawText(decl.text) {}

DialogWindow& Control::dialog() const { return m_dialog; }

QAbstractButton* Control::button() const { return qobject_cast<QAbstractButton*>(widget()); }
QLineEdit* Control::lineEdit() const {
  if (auto* edit = qobject_cast<QLineEdit*>(widget())) return edit;
  if (auto* c = combo()) return c->lineEdit();
  return nullptr;
}
QPlainTextEdit* Control::multiLineEdit() const { return qobject_cast<QPlainTextEdit*>(widget()); }
QComboBox* Control::combo() const { return qobject_cast<QComboBox*>(widget()); }
QListWidget* Control::list() const { return qobject_cast<QListWidget*>(widget()); }
QProgressBar* Control::progress() const { return qobject_cast<QProgressBar*>(widget()); }
QLabel* Control::label() const { return qobject_cast<QLabel*>(widget()); }
QTreeWidget* Control::listView() const {
  return m_kind == ControlKind::kListView ? qobject_cast<QTreeWidget*>(widget()) : nullptr;
}
QTreeWidget* Control::treeView() const {
  return m_kind == ControlKind::kTreeView ? qobject_cast<QTreeWidget*>(widget()) : nullptr;
}

void Control::notify(WORD code) { m_dialog.notify(*this, code); }

void Control::setText(std::string_view text) {
  if (!widget()) return;
  const QString q = SjisToQString(text);
  switch (m_kind) {
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      button()->setText(q);
      return;
    case ControlKind::kGroupBox:
      static_cast<QGroupBox*>(widget())->setTitle(q);
      return;
    case ControlKind::kStaticText:
      m_rawText = std::string(text);
      // With a control to move to, the label shows the access key itself.
      label()->setText(m_noPrefix || label()->buddy() ? q : WithoutAccessMarks(q));
      return;
    case ControlKind::kEdit: {
      m_settingText = true;
      lineEdit()->setText(q);
      m_acceptedText = lineEdit()->text();
      m_settingText = false;
      notify(EN_CHANGE);
      return;
    }
    case ControlKind::kMultiLineEdit: {
      QString lines = q;
      lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      lines.replace('\r', '\n');
      m_settingText = true;
      multiLineEdit()->setPlainText(lines);
      m_settingText = false;
      return;
    }
    case ControlKind::kComboBox: {
      QuietControls quiet(m_dialog);
      m_settingText = true;
      lineEdit()->setText(q);
      m_acceptedText = lineEdit()->text();
      m_settingText = false;
      return;
    }
    case ControlKind::kDropDownList: {
      QuietControls quiet(m_dialog);
      const int found = FindItem(items(), -1, text, true);
      if (found >= 0) combo()->setCurrentIndex(found);
      return;
    }
    case ControlKind::kListBox:
    case ControlKind::kListView:
    case ControlKind::kTreeView:
    case ControlKind::kUpDown:
    case ControlKind::kProgressBar:
      return;
  }
}

std::string Control::text() const {
  if (!widget()) return {};
  switch (m_kind) {
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      return QStringToSjis(button()->text());
    case ControlKind::kGroupBox:
      return QStringToSjis(static_cast<QGroupBox*>(widget())->title());
    case ControlKind::kStaticText:
      return m_rawText;
    case ControlKind::kEdit:
    case ControlKind::kComboBox:
      return QStringToSjis(lineEdit()->text());
    case ControlKind::kMultiLineEdit: {
      QString lines = multiLineEdit()->toPlainText();
      lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
      return QStringToSjis(lines);
    }
    case ControlKind::kDropDownList:
      return combo()->currentIndex() >= 0 ? QStringToSjis(combo()->currentText()) : std::string();
    case ControlKind::kListBox:
    case ControlKind::kListView:
    case ControlKind::kTreeView:
    case ControlKind::kUpDown:
    case ControlKind::kProgressBar:
      return {};
  }
  return {};
}

UINT Control::check() const {
  QAbstractButton* b = button();
  if (!b) return BST_UNCHECKED;
  if (auto* box = qobject_cast<QCheckBox*>(b); box && box->checkState() == Qt::PartiallyChecked) return BST_INDETERMINATE;
  return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void Control::setCheck(UINT state) {
  QAbstractButton* b = button();
  if (!b || m_kind == ControlKind::kPushButton) return;
  QuietControls quiet(m_dialog);
  if (auto* box = qobject_cast<QCheckBox*>(b)) {
    box->setTristate(state == BST_INDETERMINATE);
    box->setCheckState(state == BST_INDETERMINATE ? Qt::PartiallyChecked : state == BST_CHECKED ? Qt::Checked : Qt::Unchecked);
    return;
  }
  b->setChecked(state == BST_CHECKED);
}

std::vector<std::string> Control::items() const {
  std::vector<std::string> out;
  if (listView()) {
    for (std::vector<std::string>& row : ListViewState(*this).rows) out.push_back(row.empty() ? std::string() : std::move(row[0]));
    return out;
  }
  if (treeView()) {
    for (TreeViewRow& row : TreeViewState(*this)) out.push_back(std::move(row.text));
    return out;
  }
  for (int i = 0; i < itemCount(); ++i) out.push_back(QStringToSjis(itemText(i)));
  return out;
}

int Control::selection() const {
  if (QComboBox* c = combo()) return c->currentIndex();
  if (QListWidget* l = list()) {
    const QList<QListWidgetItem*> selected = l->selectedItems();
    return selected.isEmpty() ? -1 : l->row(selected.first());
  }
  if (QTreeWidget* v = listView()) {
    const QList<QTreeWidgetItem*> selected = v->selectedItems();
    return selected.isEmpty() ? -1 : v->indexOfTopLevelItem(selected.first());
  }
  if (treeView()) {
    const std::vector<TreeViewRow> rows = TreeViewState(*this);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].selected) return static_cast<int>(i);
    }
  }
  return -1;
}

void Control::setSelection(int index) {
  QuietControls quiet(m_dialog);
  if (QComboBox* c = combo()) {
    m_settingText = true;
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    if (m_kind == ControlKind::kComboBox && index < 0) c->lineEdit()->clear();
    m_settingText = false;
    if (c->lineEdit()) m_acceptedText = c->lineEdit()->text();
  } else if (QListWidget* l = list()) {
    if (index >= 0 && index < l->count()) {
      l->setCurrentRow(index);
    } else {
      l->clearSelection();
      l->setCurrentRow(-1);
    }
  }
}

void Control::userClick() {
  if (QAbstractButton* b = button()) {
    b->click();
  } else if (combo()) {
    userDropDown();
  }
}

void Control::userSelect(int index) {
  if (QComboBox* c = combo()) {
    c->hidePopup();
    setSelection(index);
    notify(CBN_SELCHANGE);
  } else if (list()) {
    setSelection(index);
    notify(LBN_SELCHANGE);
  } else if (listView()) {
    ListViewUserSelect(*this, index);
  } else if (treeView()) {
    TreeViewUserSelect(*this, index);
  }
}

void Control::userDoubleClick(int index) {
  if (listView()) {
    ListViewUserDoubleClick(*this, index);
    return;
  }
  if (treeView()) {
    TreeViewUserDoubleClick(*this, index);
    return;
  }
  if (!list()) return;
  userSelect(index);
  notify(LBN_DBLCLK);
}

void Control::userDropDown() {
  if (QComboBox* c = combo()) c->showPopup();
}

LRESULT Control::send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!widget()) return 0;
  switch (m_kind) {
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      if (message == BM_GETCHECK) return check();
      if (message == BM_SETCHECK) {
        setCheck(static_cast<UINT>(wParam));
        return 0;
      }
      break;
    case ControlKind::kEdit:
    case ControlKind::kMultiLineEdit:
      if (message == EM_LIMITTEXT) {
        m_limit = wParam == 0 || wParam > INT_MAX ? INT_MAX : static_cast<int>(wParam);
        return 0;
      }
      if (message == EM_GETLIMITTEXT) return m_limit;
      break;
    case ControlKind::kDropDownList:
    case ControlKind::kComboBox:
      if (message >= CB_LIMITTEXT && message <= CB_FINDSTRINGEXACT) return comboMessage(message, wParam, lParam);
      break;
    case ControlKind::kListBox:
      if (message >= LB_ADDSTRING && message <= LB_FINDSTRINGEXACT) return listMessage(message, wParam, lParam);
      break;
    case ControlKind::kProgressBar:
      if (message >= PBM_SETRANGE && message <= PBM_GETPOS) return ProgressMessage(m_progress, *progress(), message, wParam, lParam);
      break;
    case ControlKind::kListView:
      if (message >= LVM_GETITEMCOUNT && message <= LVM_GETEXTENDEDLISTVIEWSTYLE) return ListViewMessage(*this, message, wParam, lParam);
      break;
    case ControlKind::kTreeView:
      if (message >= TVM_INSERTITEM && message <= TVM_SORTCHILDRENCB) return TreeViewMessage(*this, message, wParam, lParam);
      break;
    case ControlKind::kUpDown:
    case ControlKind::kGroupBox:
    case ControlKind::kStaticText:
      break;
  }
  return ChildWindow::send(message, wParam, lParam);
}

namespace {

// The item messages of list boxes and combo boxes, which mean the same for both.
enum class ItemOp { kAdd, kInsert, kDelete, kReset, kCount, kGetSel, kSetSel, kGetText, kGetTextLen, kFind, kFindExact, kSelect, kGetData, kSetData, kNone };

ItemOp ComboItemOp(UINT message) {
  switch (message) {
    case CB_ADDSTRING: return ItemOp::kAdd;
    case CB_INSERTSTRING: return ItemOp::kInsert;
    case CB_DELETESTRING: return ItemOp::kDelete;
    case CB_RESETCONTENT: return ItemOp::kReset;
    case CB_GETCOUNT: return ItemOp::kCount;
    case CB_GETCURSEL: return ItemOp::kGetSel;
    case CB_SETCURSEL: return ItemOp::kSetSel;
    case CB_GETLBTEXT: return ItemOp::kGetText;
    case CB_GETLBTEXTLEN: return ItemOp::kGetTextLen;
    case CB_FINDSTRING: return ItemOp::kFind;
    case CB_FINDSTRINGEXACT: return ItemOp::kFindExact;
    case CB_SELECTSTRING: return ItemOp::kSelect;
    case CB_GETITEMDATA: return ItemOp::kGetData;
    case CB_SETITEMDATA: return ItemOp::kSetData;
    default: return ItemOp::kNone;
  }
}

ItemOp ListItemOp(UINT message) {
  switch (message) {
    case LB_ADDSTRING: return ItemOp::kAdd;
    case LB_INSERTSTRING: return ItemOp::kInsert;
    case LB_DELETESTRING: return ItemOp::kDelete;
    case LB_RESETCONTENT: return ItemOp::kReset;
    case LB_GETCOUNT: return ItemOp::kCount;
    case LB_GETCURSEL: return ItemOp::kGetSel;
    case LB_SETCURSEL: return ItemOp::kSetSel;
    case LB_GETTEXT: return ItemOp::kGetText;
    case LB_GETTEXTLEN: return ItemOp::kGetTextLen;
    case LB_FINDSTRING: return ItemOp::kFind;
    case LB_FINDSTRINGEXACT: return ItemOp::kFindExact;
    case LB_SELECTSTRING: return ItemOp::kSelect;
    case LB_GETITEMDATA: return ItemOp::kGetData;
    case LB_SETITEMDATA: return ItemOp::kSetData;
    default: return ItemOp::kNone;
  }
}

}  // namespace

int Control::itemCount() const {
  if (QComboBox* c = combo()) return c->count();
  return list() ? list()->count() : 0;
}

QString Control::itemText(int index) const {
  if (QComboBox* c = combo()) return c->itemText(index);
  return list()->item(index)->text();
}

LRESULT Control::comboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_LIMITTEXT:
      m_limit = wParam == 0 || wParam > INT_MAX ? INT_MAX : static_cast<int>(wParam);
      return 1;
    case CB_SETEXTENDEDUI:
      return CB_OKAY;
    default:
      return itemMessage(static_cast<int>(ComboItemOp(message)), wParam, lParam);
  }
}

LRESULT Control::listMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return itemMessage(static_cast<int>(ListItemOp(message)), wParam, lParam);
}

LRESULT Control::itemMessage(int operation, WPARAM wParam, LPARAM lParam) {
  QComboBox* c = combo();
  QListWidget* l = list();
  QuietControls quiet(m_dialog);
  const int index = static_cast<int>(static_cast<intptr_t>(wParam));
  const int count = itemCount();
  const bool valid = index >= 0 && index < count;
  const LRESULT error = -1;  // CB_ERR and LB_ERR alike
  switch (static_cast<ItemOp>(operation)) {
    case ItemOp::kAdd:
    case ItemOp::kInsert: {
      const bool append = static_cast<ItemOp>(operation) == ItemOp::kAdd || index == -1;
      if (!append && (index < 0 || index > count)) return error;
      const int at = append ? count : index;
      const QString text = SjisToQString(TextParam(lParam));
      if (c) {
        c->insertItem(at, text);
      } else {
        l->insertItem(at, text);
      }
      return at;
    }
    case ItemOp::kDelete:
      if (!valid) return error;
      m_settingText = true;
      if (c) {
        c->removeItem(index);
      } else {
        delete l->takeItem(index);
      }
      m_settingText = false;
      return itemCount();
    case ItemOp::kReset:
      m_settingText = true;
      if (c) {
        c->clear();
        if (c->lineEdit()) c->lineEdit()->clear();
      } else {
        l->clear();
      }
      m_settingText = false;
      return 0;
    case ItemOp::kCount:
      return count;
    case ItemOp::kGetSel:
      return selection();
    case ItemOp::kSetSel:
      setSelection(valid ? index : -1);
      return valid ? index : error;
    case ItemOp::kGetText:
      return valid ? CopyOut(QStringToSjis(itemText(index)), lParam) : error;
    case ItemOp::kGetTextLen:
      return valid ? static_cast<LRESULT>(QStringToSjis(itemText(index)).size()) : error;
    case ItemOp::kFind:
    case ItemOp::kFindExact:
      return FindItem(items(), index, TextParam(lParam), static_cast<ItemOp>(operation) == ItemOp::kFindExact);
    case ItemOp::kSelect: {
      const int found = FindItem(items(), index, TextParam(lParam), false);
      if (found >= 0) setSelection(found);
      return found;
    }
    case ItemOp::kGetData:
      if (!valid) return error;
      return static_cast<LRESULT>((c ? c->itemData(index, Qt::UserRole) : l->item(index)->data(Qt::UserRole)).toLongLong());
    case ItemOp::kSetData:
      if (!valid) return error;
      if (c) {
        c->setItemData(index, QVariant::fromValue<qlonglong>(lParam), Qt::UserRole);
      } else {
        l->item(index)->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(lParam));
      }
      return 1;
    case ItemOp::kNone:
      return 0;
  }
  return 0;
}

// ---- What list views and tree views share -----------------------------------------------------

void SendControlNotify(Control& control, NMHDR& hdr, UINT code) {
  hdr.hwndFrom = control.handle();
  hdr.idFrom = static_cast<uintptr_t>(control.id());
  hdr.code = code;
  if (control.dialog().quiet() > 0) return;
  control.dialog().send(WM_NOTIFY, static_cast<WPARAM>(control.id()), reinterpret_cast<LPARAM>(&hdr));
}

LRESULT CopyShiftJisOut(const QString& text, char* out, int size) {
  if (!out || size <= 0) return 0;
  const std::string sjis = QStringToSjis(text);
  const size_t n = SjisWholePrefix(sjis, static_cast<size_t>(size - 1));
  std::memcpy(out, sjis.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

bool NotifyKeyDown(Control& control, const QKeyEvent& event, UINT code) {
  static_assert(sizeof(NMLVKEYDOWN) == sizeof(NMTVKEYDOWN));
  const KeyCode key = KeyCodeFromQtKey(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
  if (key.vk != 0) {
    NMLVKEYDOWN nm;
    nm.wVKey = static_cast<WORD>(key.vk);
    SendControlNotify(control, nm.hdr, code);
  }
  return event.matches(QKeySequence::Copy);
}

// ---- Making a control -----------------------------------------------------------------------

Control* CreateControl(DialogWindow& dialog, const ControlDecl& decl, QWidget* parent, int radioGroup) {
  QWidget* widget = MakeWidget(dialog, decl, parent, radioGroup);
  auto owned = std::make_unique<Control>(dialog, decl, widget, radioGroup);
  Control* control = owned.get();
  if (auto* dropDown = dynamic_cast<DropDown*>(widget)) dropDown->control = control;
  if (auto* edit = dynamic_cast<MultiLineEditWidget*>(widget)) edit->control = control;
  AddChildWindow(std::move(owned));

  // Hidden controls keep their place, as they do in a dialog laid out by coordinates.
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);

  const QFontMetrics metrics(widget->font());
  if (decl.width > 0) widget->setMinimumWidth(decl.width * metrics.averageCharWidth());
  if (decl.lines > 0) widget->setMinimumHeight(decl.lines * metrics.lineSpacing() + 2 * widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4);
  if (decl.disabled) widget->setEnabled(false);

  switch (decl.kind) {
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      QObject::connect(control->button(), &QAbstractButton::clicked, widget, [control] { control->notify(BN_CLICKED); });
      break;
    case ControlKind::kEdit: {
      QLineEdit* edit = control->lineEdit();
      edit->setValidator(new ShiftJisValidator(*control, edit));
      QObject::connect(edit, &QLineEdit::textChanged, widget, [control](const QString& text) {
        control->acceptedText() = text;
        if (!control->settingText()) control->notify(EN_CHANGE);
      });
      break;
    }
    case ControlKind::kMultiLineEdit:
      QObject::connect(control->multiLineEdit(), &QPlainTextEdit::textChanged, widget, [control] {
        if (!control->settingText()) control->notify(EN_CHANGE);
      });
      break;
    case ControlKind::kComboBox: {
      QLineEdit* edit = control->lineEdit();
      edit->setValidator(new ShiftJisValidator(*control, edit));
      QObject::connect(edit, &QLineEdit::textChanged, widget, [control](const QString& text) { control->acceptedText() = text; });
      QObject::connect(edit, &QLineEdit::textEdited, widget, [control] { control->notify(CBN_EDITCHANGE); });
      [[fallthrough]];
    }
    case ControlKind::kDropDownList:
      QObject::connect(control->combo(), &QComboBox::activated, widget, [control] { control->notify(CBN_SELCHANGE); });
      break;
    case ControlKind::kListBox:
      QObject::connect(control->list(), &QListWidget::itemSelectionChanged, widget, [control] { control->notify(LBN_SELCHANGE); });
      QObject::connect(control->list(), &QListWidget::itemDoubleClicked, widget, [control] { control->notify(LBN_DBLCLK); });
      break;
    case ControlKind::kListView:
      ConnectListView(*control);
      break;
    case ControlKind::kTreeView:
      ConnectTreeView(*control);
      break;
    case ControlKind::kUpDown:
      ConnectUpDown(*control);
      break;
    case ControlKind::kGroupBox:
    case ControlKind::kStaticText:
    case ControlKind::kProgressBar:
      break;
  }

  // A right click on anything but an edit asks the dialog for its context menu; an edit keeps its own.
  if (decl.kind != ControlKind::kEdit && decl.kind != ControlKind::kMultiLineEdit && decl.kind != ControlKind::kComboBox) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget, [control, widget](const QPoint& pos) {
      control->dialog().sendContextMenu(*control, widget->mapToGlobal(pos));
    });
  }

  control->setText(decl.text);
  return control;
}

}  // namespace platform
