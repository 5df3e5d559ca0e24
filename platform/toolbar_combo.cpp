// The combo box a toolbar carries (the search box): an editable QComboBox on the bar's widget,
// whose focus changes go to the bar's parent as the bar would pass them on, and whose Return and
// Tab come to the program's loop as key messages of the box.
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QValidator>
#include <climits>
#include <cstring>

#include "platform/dialog.h"
#include "platform/dialog_qt.h"
#include "platform/key_map.h"
#include "platform/toolbar.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// Keeps the box's text within its limit in Shift-JIS bytes.
class ByteLimit final : public QValidator {
 public:
  explicit ByteLimit(QObject* parent) : QValidator(parent) {}
  int limit = INT_MAX;
  State validate(QString& input, int&) const override { return ShiftJisBytes(input) <= limit ? Acceptable : Invalid; }
};

class ToolbarCombo final : public ChildWindow, public QObject {
 public:
  ToolbarCombo(Window& top, QComboBox* box, int id, HWND notify)
      : ChildWindow(top, box, id), m_box(box), m_notify(notify), m_limit(new ByteLimit(box)) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setValidator(m_limit);
    box->installEventFilter(this);
  }

  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (!m_box) return 0;
    const QSignalBlocker quiet(m_box);
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
      case CB_LIMITTEXT:
        m_limit->limit = wParam == 0 || wParam > INT_MAX ? INT_MAX : static_cast<int>(wParam);
        return 1;
      case CB_RESETCONTENT:
        m_box->clear();
        m_box->clearEditText();
        return CB_OKAY;
      case CB_ADDSTRING:
        m_box->addItem(SjisToQString(text ? text : ""));
        return m_box->count() - 1;
      case CB_GETCOUNT:
        return m_box->count();
      case CB_SETCURSEL: {
        const auto index = static_cast<intptr_t>(wParam);
        if (index < 0 || index >= m_box->count()) {
          m_box->setCurrentIndex(-1);
          return CB_ERR;
        }
        m_box->setCurrentIndex(static_cast<int>(index));
        return index;
      }
      case CB_GETCURSEL:
        return m_box->currentIndex();
      case WM_SETFONT:
        return 0;
      default:
        return ChildWindow::send(message, wParam, lParam);
    }
  }

  void setText(std::string_view text) override {
    if (m_box) m_box->setEditText(SjisToQString(text));
  }
  std::string text() const override { return m_box ? QStringToSjis(m_box->currentText()) : std::string(); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::FocusIn:
        PostMessage(m_notify, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id()), CBN_SETFOCUS),
                    reinterpret_cast<LPARAM>(handle()));
        return false;
      case QEvent::FocusOut:
        PostMessage(m_notify, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id()), CBN_KILLFOCUS),
                    reinterpret_cast<LPARAM>(handle()));
        return false;
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int qt = key->key();
        if (qt != Qt::Key_Return && qt != Qt::Key_Enter && qt != Qt::Key_Tab) return false;
        const KeyCode code = KeyCodeFromQtKey(qt, false);
        const LPARAM lParam = 1 | (static_cast<LPARAM>(code.scanCode) << 16) | (code.extended ? LPARAM{1} << 24 : 0);
        PostMessage(handle(), WM_KEYDOWN, static_cast<WPARAM>(code.vk), lParam);
        return true;
      }
      default:
        return false;
    }
  }

 private:
  QPointer<QComboBox> m_box;
  HWND m_notify;
  ByteLimit* m_limit;
};

}  // namespace

HWND CreateToolbarCombo(DWORD style, HWND toolbar, int id) {
  HWND notify = nullptr;
  QWidget* bar = ToolbarWidgetOf(toolbar, &notify);
  Window* top = TopWindowFromHandle(toolbar);
  if (!bar || !top) return nullptr;
  auto* box = new QComboBox(bar);
  // The list is a pop-up of its own: the box keeps to the bar's row whatever height is asked.
  box->setMaximumHeight(kButtonHeight);
  const HWND hwnd = AddChildWindow(std::make_unique<ToolbarCombo>(*top, box, id, notify));
  box->setVisible((style & WS_VISIBLE) != 0);
  return hwnd;
}

}  // namespace platform
