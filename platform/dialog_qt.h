// Inside the platform layer only: the window behind a dialog's handle, its controls, and the
// templates they are made from (platform/dialog.h is the interface).
#pragma once

#include <QPointer>
#include <QString>
#include <QValidator>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/window_qt.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QTreeWidget;

namespace platform {

// One declaration of a template: a control, or a box that holds others.
struct ControlDecl {
  enum class Node { kControl, kRow, kColumn, kOverlay, kStretch };
  ControlDecl() = default;
  explicit ControlDecl(Node n) : node(n) {}
  Node node = Node::kControl;
  ControlKind kind = ControlKind::kStaticText;
  int id = 0;
  std::string text;  // Shift-JIS
  bool isDefault = false;
  bool newGroup = false;
  bool noPrefix = false;
  bool disabled = false;
  int width = 0;  // average characters, 0 for the natural width
  int lines = 0;
  std::vector<ControlDecl> children;  // of a row, a column or a group box
};

struct DialogTemplate {
  std::string caption;  // Shift-JIS
  bool resizable = false;
  ControlDecl root{ControlDecl::Node::kColumn};
};

struct DialogBuilder::Impl {
  DialogTemplate& made;
  std::vector<std::vector<ControlDecl>*> boxes;  // the box being filled is the last
  ControlDecl* last = nullptr;
};

// The edit limit when none is set.
constexpr int kDefaultEditLimit = 32767;

// The one rule for text going into an edit: of what is inserted, the characters that have a
// Shift-JIS code, as far as `room` bytes hold them (a line break counting as CR LF). `refused` is
// set when anything was left out.
QString FitShiftJis(const QString& inserted, int64_t room, bool* refused);
// Shift-JIS bytes of a text, a line break counting as CR LF.
int64_t ShiftJisBytes(const QString& text);
// What the user is told when input is refused.
void RefuseInput();

// A progress bar's range and position as the program set them, and its messages (PBM_SETRANGE,
// PBM_SETRANGE32, PBM_SETPOS, PBM_GETPOS) shown on the toolkit's bar; 0 for any other message.
// Dialogs' bars and the status bar's share them.
struct ProgressState {
  int min = 0;
  int max = 100;
  int pos = 0;
};
LRESULT ProgressMessage(ProgressState& state, QProgressBar& bar, UINT message, WPARAM wParam, LPARAM lParam);

class DialogWindow;

class Control final : public ChildWindow {
 public:
  Control(DialogWindow& dialog, const ControlDecl& decl, QWidget* widget, int radioGroup);

  DialogWindow& dialog() const;
  ControlKind kind() const { return m_kind; }
  int radioGroup() const { return m_radioGroup; }
  bool isDefault() const { return m_isDefault; }
  bool noPrefix() const { return m_noPrefix; }
  int limit() const { return m_limit; }
  void setLimit(int limit) { m_limit = limit; }
  // The text a one-line edit (or a combo's edit) last took, which the validator compares with.
  QString& acceptedText() { return m_acceptedText; }
  // Set while the program (not the user) changes the control's text.
  bool settingText() const { return m_settingText; }

  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override;
  void setText(std::string_view text) override;
  std::string text() const override;
  bool placedByLayout() const override { return true; }

  UINT check() const;
  void setCheck(UINT state);
  std::vector<std::string> items() const;
  int selection() const;
  void setSelection(int index);
  int progressMin() const { return m_progress.min; }
  int progressMax() const { return m_progress.max; }
  int progressPos() const { return m_progress.pos; }

  // The user's actions, with their notifications (the test calls drive these).
  void userClick();
  void userSelect(int index);
  void userDoubleClick(int index);
  void userDropDown();

  QAbstractButton* button() const;
  QLineEdit* lineEdit() const;  // a one-line edit, or a combo box's edit
  QPlainTextEdit* multiLineEdit() const;
  QComboBox* combo() const;
  QListWidget* list() const;
  QProgressBar* progress() const;
  QLabel* label() const;
  QTreeWidget* listView() const;
  QTreeWidget* treeView() const;

  void notify(WORD code);

 private:
  LRESULT comboMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT listMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT itemMessage(int operation, WPARAM wParam, LPARAM lParam);
  int itemCount() const;
  QString itemText(int index) const;

  DialogWindow& m_dialog;
  ControlKind m_kind;
  int m_radioGroup;
  bool m_isDefault;
  bool m_noPrefix;
  int m_limit = kDefaultEditLimit;
  QString m_acceptedText;
  bool m_settingText = false;
  std::string m_rawText;  // a static's or group's text as set, with its "&"
  ProgressState m_progress;
};

// Keeps a one-line edit within its limit and to characters with a Shift-JIS code.
class ShiftJisValidator final : public QValidator {
 public:
  ShiftJisValidator(Control& control, QObject* parent) : QValidator(parent), m_control(control) {}
  State validate(QString& input, int& pos) const override;

 private:
  Control& m_control;
};

// What a running modal loop keeps of its dialog.
struct ModalState {
  bool ended = false;
  INT_PTR result = 0;
};

class DialogWindow final : public Window {
 public:
  DialogWindow(const DialogTemplate& decl, Window* owner, DLGPROC proc, std::string templateName);
  ~DialogWindow() override;

  // The template the dialog was made from: its number as text ("134") or its name.
  const std::string& templateName() const { return m_templateName; }
  DLGPROC dialogProc() const { return m_proc; }
  LONG_PTR msgResult() const { return m_msgResult; }
  ModalState* modal() const { return m_modal; }
  void setModal(ModalState* state) { m_modal = state; }
  const std::vector<Control*>& controls() const { return m_controls; }
  Control* control(int id) const;
  Control* controlOf(const QWidget* widget) const;
  // The first control that takes Tab (WM_INITDIALOG's wParam), or null.
  Control* firstTabStop() const;

  // While above zero, the program is changing controls: they send no notifications.
  int& quiet() { return m_quiet; }
  void notify(Control& control, WORD code);
  // WM_COMMAND as Enter, Esc or the close button send it for that button id.
  void pressButton(int id);
  void pressEnter();
  void sendHelp();
  void sendContextMenu(Control& control, QPoint globalPos);

  // WM_SIZE and WM_MOVE for what changed since they were last sent.
  void reportGeometry();
  // Centred on the owner (or the screen), on the screen.
  void centre(Window* owner);

  // A dialog is placed and measured by its client area: the frame is the window manager's, and
  // its size is not known before the dialog shows (nor at once after, on X11), so a rectangle
  // that included it would not come back the same.
  void place(std::optional<QPoint> position, std::optional<QSize> size) override;
  QRect placeRect() const override { return geometry(); }
  QRect screenRect() const override { return geometry(); }
  bool extraLong(int index, LONG_PTR* value) const override;
  bool setExtraLong(int index, LONG_PTR value) override;

 protected:
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void applyFlags() override;
  void applyGeometry() override;
  void clientResized(QSize size) override;

 private:
  void build(const ControlDecl& decl, QWidget* parent, class QBoxLayout* layout, int& radioGroup, bool& inRadioRun);

  std::string m_templateName;
  bool m_resizable;
  DLGPROC m_proc;
  LONG_PTR m_msgResult = 0;
  LONG_PTR m_user = 0;
  ModalState* m_modal = nullptr;
  std::vector<Control*> m_controls;  // in declaration order; owned as child windows
  int m_quiet = 0;
  std::optional<QSize> m_reportedSize;
  WPARAM m_reportedType = SIZE_RESTORED;
  std::optional<QPoint> m_reportedPos;
};

// The list view's side (dialog_list_view.cpp): its widget, the signals that become its
// notifications, its messages, and what tests read of it.
QWidget* MakeListView(QWidget* parent);
void ConnectListView(Control& control);
LRESULT ListViewMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam);
struct ListViewContents {
  std::vector<std::string> columns;  // the headers
  std::vector<int> widths;           // pixels
  std::vector<std::vector<std::string>> rows;
  int focused = -1;
};
ListViewContents ListViewState(const Control& control);
// The user's selection of a row (LVN_ITEMCHANGED) and double click on one (NM_DBLCLK).
void ListViewUserSelect(Control& control, int row);
void ListViewUserDoubleClick(Control& control, int row);

void ListViewUserClickHeader(Control& control, int column);

// What list views and tree views share: a notification to the dialog (none while the program
// changes controls), a text copied out as Shift-JIS cut on a whole character (the bytes copied),
// and a key pressed in them told as LVN_KEYDOWN or TVN_KEYDOWN. The key's own handling follows
// unless the result is true (the toolkit's copy key, which would put a cell's text on the
// clipboard behind the procedure's back).
void SendControlNotify(Control& control, NMHDR& hdr, UINT code);
LRESULT CopyShiftJisOut(const QString& text, char* out, int size);
bool NotifyKeyDown(Control& control, const class QKeyEvent& event, UINT code);

// The tree view's side (dialog_tree_view.cpp).
QWidget* MakeTreeView(QWidget* parent);
void ConnectTreeView(Control& control);
LRESULT TreeViewMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam);
struct TreeViewRow {
  HTREEITEM item = nullptr;
  int depth = 0;  // 0 for the top level
  std::string text;
  bool expanded = false;
  bool selected = false;
};
// Every item, collapsed or not, parents before their children, siblings in order.
std::vector<TreeViewRow> TreeViewState(const Control& control);
// The user's selection of an item (TVN_SELCHANGED) and double click on one (NM_DBLCLK), by its
// place in TreeViewState.
void TreeViewUserSelect(Control& control, int index);
void TreeViewUserDoubleClick(Control& control, int index);

// The up-down control's side (dialog_up_down.cpp): the user clicks an arrow.
QWidget* MakeUpDown(QWidget* parent);
void ConnectUpDown(Control& control);
void UpDownUserClick(Control& control, bool up);

// While one lives, the program is changing the dialog's controls: they send no notifications.
class QuietControls {
 public:
  explicit QuietControls(DialogWindow& dialog) : m_dialog(dialog) { ++m_dialog.quiet(); }
  ~QuietControls() { --m_dialog.quiet(); }
  QuietControls(const QuietControls&) = delete;
  QuietControls& operator=(const QuietControls&) = delete;

 private:
  DialogWindow& m_dialog;
};

// Puts a toolkit dialog made part of the window (a file, folder or font browser) into a dialog's
// top box at a place, where it takes the room the dialog has; then sizes and centres the dialog.
void EmbedInDialog(HWND dialog, QWidget* widget, int place);

DialogWindow* DialogFromHandle(HWND hwnd);
// Makes the widget of a declared control on the parent and registers it as the dialog's child.
Control* CreateControl(DialogWindow& dialog, const ControlDecl& decl, QWidget* parent, int radioGroup);
// The test's shown-hook (platform/dialog_test.h).
std::function<void(HWND)>& DialogShownHook();

}  // namespace platform
