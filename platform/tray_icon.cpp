#include "platform/tray_icon.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/tray_icon_test.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// Tests that stand in for a notification area (tray_icon_test.h).
std::atomic<int> standIns{0};

constexpr size_t kTipBytes = 63;

// The tip as the record holds it: up to its NUL, at most 63 bytes, never half a character.
std::string TipText(const char (&tip)[64]) {
  const std::string_view text(tip, ::strnlen(tip, sizeof tip));
  size_t end = 0;
  while (end < text.size()) {
    const size_t step = IsSjisLead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > std::min(text.size(), kTipBytes)) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

// One icon of a window: a child object of the window, so that it goes with it.
class TrayIcon final : public QObject {
 public:
  // real: shown in the desktop's notification area, rather than only kept for a test.
  TrayIcon(Window& window, UINT id, bool real) : QObject(&window), m_window(&window), m_id(id) {
    m_held.setSingleShot(true);
    // Never before the double-click time is over: a coarse timer may come a little early.
    m_held.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_held, &QTimer::timeout, this, [this] { single(); });
    if (real) {
      m_icon = std::make_unique<QSystemTrayIcon>();
      QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                       [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
    }
  }

  UINT id() const { return m_id; }

  void apply(const NOTIFYICONDATA& data) {
    if (data.uFlags & NIF_MESSAGE) m_callback = data.uCallbackMessage;
    if (data.uFlags & NIF_TIP) m_tip = TipText(data.szTip);
    if (data.uFlags & NIF_ICON) m_picture = IconImage(data.hIcon);
    if (!m_icon) return;
    if (data.uFlags & NIF_TIP) m_icon->setToolTip(SjisToQString(m_tip));
    if (data.uFlags & NIF_ICON) m_icon->setIcon(m_picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(m_picture)));
  }

  void show() {
    if (m_icon) m_icon->show();
  }

  void describe(tray_icon_test::Shown* shown) const {
    shown->tip = m_tip;
    shown->callbackMessage = m_callback;
    shown->icon = m_picture;
  }

  void activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
      case QSystemTrayIcon::Trigger:
        // A second click within the double-click time is the double click, whatever the desktop
        // calls it.
        if (m_held.isActive()) {
          twice();
        } else {
          m_held.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        }
        break;
      case QSystemTrayIcon::DoubleClick:
        twice();
        break;
      case QSystemTrayIcon::Context:
        flushHeld();
        post(WM_RBUTTONUP);
        break;
      case QSystemTrayIcon::MiddleClick:
        flushHeld();
        post(WM_MBUTTONUP);
        break;
      default:
        break;
    }
  }

 private:
  void post(UINT mouseMessage) {
    if (m_callback != 0) PostMessage(m_window, m_callback, m_id, static_cast<LPARAM>(mouseMessage));
  }
  void single() {
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
  }
  void twice() {
    m_held.stop();
    post(WM_LBUTTONDBLCLK);
    post(WM_LBUTTONUP);
  }
  // A click still held back keeps its place before what follows it.
  void flushHeld() {
    if (!m_held.isActive()) return;
    m_held.stop();
    single();
  }

  Window* m_window;
  UINT m_id;
  UINT m_callback = 0;
  std::string m_tip;
  QImage m_picture;
  QTimer m_held;
  std::unique_ptr<QSystemTrayIcon> m_icon;  // null while a test stands in for the tray
};

TrayIcon* FindIcon(Window& window, UINT id) {
  for (TrayIcon* icon : ChildrenOfType<TrayIcon>(window)) {
    if (icon->id() == id) return icon;
  }
  return nullptr;
}

// A live top-level window (not a child window or an owned pop-up).
Window* TopLevel(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window && window->isWindow() && !window->embeddingWindow() ? window : nullptr;
}

bool TrayAvailable() { return standIns.load() > 0 || QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data) {
  if (!data || !IsGuiThread()) return 0;
  Window* window = TopLevel(data->hWnd);
  if (!window) return 0;
  TrayIcon* icon = FindIcon(*window, data->uID);
  switch (message) {
    case NIM_ADD: {
      if (icon || !TrayAvailable()) return 0;
      auto* added = new TrayIcon(*window, data->uID, standIns.load() == 0);  // owned by the window
      added->apply(*data);
      added->show();
      return 1;
    }
    case NIM_MODIFY:
      if (!icon) return 0;
      icon->apply(*data);
      return 1;
    case NIM_DELETE:
      if (!icon) return 0;
      delete icon;
      return 1;
    default:
      return 0;
  }
}

namespace tray_icon_test {

StandInTray::StandInTray() { ++standIns; }
StandInTray::~StandInTray() { --standIns; }

bool Inspect(HWND hwnd, UINT id, Shown* shown) {
  Window* window = TopLevel(hwnd);
  TrayIcon* icon = window ? FindIcon(*window, id) : nullptr;
  if (!icon || !shown) return false;
  icon->describe(shown);
  return true;
}

bool Activate(HWND hwnd, UINT id, QSystemTrayIcon::ActivationReason reason) {
  Window* window = TopLevel(hwnd);
  TrayIcon* icon = window ? FindIcon(*window, id) : nullptr;
  if (!icon) return false;
  icon->activated(reason);
  return true;
}

}  // namespace tray_icon_test
}  // namespace platform
