// The toolbar control: QToolButtons laid out in rows on a widget of the parent's canvas. The
// buttons' states are the program's: the toolkit's own toggling of a clicked button is taken back,
// and clicks, drop-downs and tips go to the parent as the program expects them.
#include "platform/toolbar.h"

#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/dialog.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// A bar button that tells its owner of presses on its drop-down part and of tips about to show.
class ToolButton final : public QToolButton {
 public:
  explicit ToolButton(QWidget* parent) : QToolButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
    setIconSize(QSize(16, 16));
  }

  // Whether a press is the drop-down's: with the arrow only a press on it, else any.
  std::function<bool(QPoint)> isDropDownPress;
  std::function<void()> dropDown;
  // The tip's text (the toolkit's); empty shows none.
  std::function<QString()> tipText;

  QRect arrowRect() {
    QStyleOptionToolButton option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && isEnabled() && isDropDownPress && isDropDownPress(event->position().toPoint())) {
      event->accept();
      if (dropDown) dropDown();
      return;
    }
    QToolButton::mousePressEvent(event);
  }

  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      const QString text = tipText ? tipText() : QString();
      if (text.isEmpty()) {
        QToolTip::hideText();
      } else {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this);
      }
      return true;
    }
    return QToolButton::event(event);
  }
};

struct Entry {
  TBBUTTON button{};
  std::optional<int> width;  // set with TBIF_SIZE; else the style's
  QRect rect;
  QPointer<ToolButton> widget;  // null for a gap
};

class ToolbarControl final : public ChildWindow {
 public:
  ToolbarControl(Window& top, QWidget* bar, int id, HWND notify, DWORD style)
      : ChildWindow(top, bar, id), m_bar(bar), m_notify(notify), m_style(style) {}

  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case TB_BUTTONSTRUCTSIZE:
        return 0;
      case TB_ADDBUTTONS:
        return add(static_cast<int>(wParam), reinterpret_cast<const TBBUTTON*>(lParam));
      case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(m_entries.size());
      case TB_ENABLEBUTTON:
        return setState(static_cast<int>(wParam), TBSTATE_ENABLED, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
      case TB_CHECKBUTTON:
        return setState(static_cast<int>(wParam), TBSTATE_CHECKED, LOWORD(static_cast<uintptr_t>(lParam)) != 0);
      case TB_GETSTATE: {
        const Entry* e = find(static_cast<int>(wParam));
        return e ? e->button.fsState : -1;
      }
      case TB_GETITEMRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        if (!out || wParam >= m_entries.size()) return 0;
        const QRect r = m_entries[wParam].rect;
        *out = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        return 1;
      }
      case TB_SETBUTTONINFO: {
        const auto* info = reinterpret_cast<const TBBUTTONINFO*>(lParam);
        Entry* e = find(static_cast<int>(wParam));
        if (!info || !e) return 0;
        if (info->dwMask & TBIF_SIZE) e->width = info->cx;
        layout();
        return 1;
      }
      case TB_SETSTYLE:
        m_style = static_cast<DWORD>(lParam);
        refreshAll();
        return 0;
      case TB_GETSTYLE:
        return static_cast<LRESULT>(m_style);
      case TB_SETEXTENDEDSTYLE: {
        const DWORD before = m_exStyle;
        m_exStyle = static_cast<DWORD>(lParam);
        refreshAll();
        return static_cast<LRESULT>(before);
      }
      case TB_GETEXTENDEDSTYLE:
        return static_cast<LRESULT>(m_exStyle);
      case WM_SIZE:
        autoSize();
        return 0;
      default:
        return ChildWindow::send(message, wParam, lParam);
    }
  }

  HWND notifyWindow() const { return m_notify; }
  QWidget* bar() const { return m_bar; }

  void setIcons(std::vector<QIcon> icons) {
    m_icons = std::move(icons);
    for (Entry& e : m_entries) applyIcon(e);
  }

  // Fits the bar to its parent's width and its rows' height.
  void autoSize() {
    if (!m_bar) return;
    const QWidget* host = m_bar->parentWidget();
    m_bar->setGeometry(0, 0, host ? host->width() : m_bar->width(), height());
  }

 private:
  LRESULT add(int count, const TBBUTTON* buttons) {
    if (count < 0 || (count > 0 && !buttons) || !m_bar) return 0;
    for (int i = 0; i < count; ++i) {
      Entry e;
      e.button = buttons[i];
      if (!(e.button.fsStyle & TBSTYLE_SEP)) makeButton(e);
      m_entries.push_back(std::move(e));
      if (m_entries.back().widget) refresh(m_entries.back());
    }
    layout();
    return 1;
  }

  void makeButton(Entry& e) {
    auto* b = new ToolButton(m_bar);
    e.widget = b;
    const int command = e.button.idCommand;
    QObject::connect(b, &QToolButton::clicked, b, [this, command] { clicked(command); });
    b->isDropDownPress = [this, command](QPoint at) {
      const Entry* entry = find(command);
      if (!entry || !(entry->button.fsStyle & TBSTYLE_DROPDOWN)) return false;
      if (!(m_exStyle & TBSTYLE_EX_DRAWDDARROWS)) return true;
      return entry->widget && entry->widget->arrowRect().contains(at);
    };
    b->dropDown = [this, command] { dropDown(command); };
    b->tipText = [this, command] { return tipText(command); };
    b->show();
  }

  void applyIcon(Entry& e) {
    if (!e.widget) return;
    const int index = e.button.iBitmap;
    e.widget->setIcon(index >= 0 && static_cast<size_t>(index) < m_icons.size() ? m_icons[index] : QIcon());
  }

  // The button shows its entry's state and the bar's styles.
  void refresh(Entry& e) {
    if (!e.widget) return;
    ToolButton& b = *e.widget;
    b.setEnabled((e.button.fsState & TBSTATE_ENABLED) != 0);
    b.setChecked((e.button.fsState & TBSTATE_CHECKED) != 0);
    b.setAutoRaise((m_style & TBSTYLE_FLAT) != 0);
    const bool arrow = (e.button.fsStyle & TBSTYLE_DROPDOWN) && (m_exStyle & TBSTYLE_EX_DRAWDDARROWS);
    if (arrow && !b.menu()) {
      // The toolkit draws the arrow only for a button with a menu; this one never opens, as the
      // press on the arrow is taken before it.
      b.setMenu(new QMenu(&b));
      b.setPopupMode(QToolButton::MenuButtonPopup);
    } else if (!arrow && b.menu()) {
      b.setPopupMode(QToolButton::DelayedPopup);
      delete b.menu();
      b.setMenu(nullptr);
    }
    applyIcon(e);
  }

  void refreshAll() {
    for (Entry& e : m_entries) refresh(e);
    layout();
    if (m_bar) m_bar->update();
  }

  int widthOf(const Entry& e) const {
    if (e.width) return *e.width;
    if (e.button.fsStyle & TBSTYLE_SEP) return e.button.iBitmap > 0 ? e.button.iBitmap : kSeparatorWidth;
    const bool arrow = (e.button.fsStyle & TBSTYLE_DROPDOWN) && (m_exStyle & TBSTYLE_EX_DRAWDDARROWS);
    return kButtonWidth + (arrow ? kDropDownArrowWidth : 0);
  }

  void layout() {
    int x = 0;
    int y = kToolbarMargin;
    m_rows = 1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
      Entry& e = m_entries[i];
      e.rect = QRect(x, y, widthOf(e), kButtonHeight);
      if (e.widget) e.widget->setGeometry(e.rect);
      x += e.rect.width();
      if ((e.button.fsState & TBSTATE_WRAP) && i + 1 < m_entries.size()) {
        x = 0;
        y += kButtonHeight;
        ++m_rows;
      }
    }
    autoSize();
  }

  int height() const { return m_rows * kButtonHeight + 2 * kToolbarMargin; }

  Entry* find(int command) {
    for (Entry& e : m_entries)
      if (e.button.idCommand == command) return &e;
    return nullptr;
  }

  LRESULT setState(int command, uint8_t bit, bool on) {
    Entry* e = find(command);
    if (!e) return 0;
    e->button.fsState = static_cast<uint8_t>(on ? (e->button.fsState | bit) : (e->button.fsState & ~bit));
    refresh(*e);
    return 1;
  }

  void clicked(int command) {
    // The pushed-in state is the program's to set: the toolkit's toggle goes back.
    if (Entry* e = find(command)) refresh(*e);
    PostMessage(m_notify, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(command), BN_CLICKED),
                reinterpret_cast<LPARAM>(handle()));
  }

  void dropDown(int command) {
    // Sent once the toolkit is done with the press: the parent's answer is usually a menu of its
    // own, and the command it runs may rebuild this bar.
    const HWND self = handle();
    QMetaObject::invokeMethod(
        m_bar,
        [self, command] {
          auto* bar = dynamic_cast<ToolbarControl*>(ChildFromHandle(self));
          if (!bar) return;
          const Entry* e = bar->find(command);
          if (!e) return;
          NMTOOLBAR notice;
          notice.hdr = NMHDR{self, static_cast<uintptr_t>(bar->id()), TBN_DROPDOWN};
          notice.iItem = command;
          notice.tbButton = e->button;
          notice.rcButton = RECT{e->rect.left(), e->rect.top(), e->rect.left() + e->rect.width(),
                                 e->rect.top() + e->rect.height()};
          SendMessage(bar->m_notify, WM_NOTIFY, static_cast<WPARAM>(bar->id()), reinterpret_cast<LPARAM>(&notice));
        },
        Qt::QueuedConnection);
  }

  QString tipText(int command) {
    if (!(m_style & TBSTYLE_TOOLTIPS)) return {};
    NMTTDISPINFO tip;
    tip.hdr = NMHDR{handle(), static_cast<uintptr_t>(command), TTN_NEEDTEXT};
    tip.lpszText = tip.szText;
    SendMessage(m_notify, WM_NOTIFY, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&tip));
    if (!tip.lpszText) return {};
    const std::string_view text(tip.lpszText, strnlen(tip.lpszText, kToolTipBytes));
    return SjisToQString(text.substr(0, SjisWholePrefix(text, kToolTipBytes)));
  }

  QPointer<QWidget> m_bar;
  HWND m_notify;
  DWORD m_style;
  DWORD m_exStyle = 0;
  std::vector<Entry> m_entries;
  std::vector<QIcon> m_icons;
  int m_rows = 1;
};

ToolbarControl* ToolbarOf(HWND hwnd) { return dynamic_cast<ToolbarControl*>(ChildFromHandle(hwnd)); }

}  // namespace

HWND CreateToolbarControl(DWORD style, HWND parent, int id) {
  Window* host = WindowFromHandle(parent);
  if (!host) return nullptr;
  auto* bar = new ControlSurface(host->canvas());
  auto control = std::make_unique<ToolbarControl>(*host, bar, id, parent, style);
  ToolbarControl* raw = control.get();
  const HWND hwnd = AddChildWindow(std::move(control));
  raw->autoSize();
  bar->setVisible((style & WS_VISIBLE) != 0);
  bar->raise();
  return hwnd;
}

QWidget* ToolbarWidgetOf(HWND toolbar, HWND* notify) {
  ToolbarControl* bar = ToolbarOf(toolbar);
  if (!bar) return nullptr;
  if (notify) *notify = bar->notifyWindow();
  return bar->bar();
}

bool SetToolbarIcons(HWND toolbar, const ToolbarIconStrip& icons) {
  ToolbarControl* bar = ToolbarOf(toolbar);
  if (!bar || !icons.strip || icons.strip->BitCount() != 32 || icons.cellSize <= 0 || icons.cellsPerRow <= 0)
    return false;
  const Bitmap& strip = *icons.strip;
  const int columns = std::min(icons.cellsPerRow, strip.Width() / icons.cellSize);
  const int rows = strip.Height() / icons.cellSize;
  std::vector<QIcon> made;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      QImage cell(icons.cellSize, icons.cellSize, QImage::Format_ARGB32);
      for (int y = 0; y < icons.cellSize; ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(strip.Row(row * icons.cellSize + y)) + column * icons.cellSize;
        auto* target = reinterpret_cast<uint32_t*>(cell.scanLine(y));
        for (int x = 0; x < icons.cellSize; ++x) {
          const uint32_t rgb = source[x] & 0xFFFFFF;
          target[x] = rgb == icons.transparent ? 0u : (0xFF000000u | rgb);
        }
      }
      made.emplace_back(QPixmap::fromImage(cell));
    }
  }
  bar->setIcons(std::move(made));
  return true;
}

}  // namespace platform
