// Each timer is a toolkit timer on the GUI thread that queues WM_TIMER into our own message queue.
#include "platform/timer.h"

#include <QTimer>
#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

constexpr UINT kMinimumElapse = 10;

struct Timer {
  uint64_t serial = 0;  // of the window: a later window at the same address has no timers
  TIMERPROC proc = nullptr;
  std::unique_ptr<QTimer> qt;
};

using Key = std::pair<HWND, UINT_PTR>;

std::map<Key, Timer>& Timers() {
  static std::map<Key, Timer> timers;
  return timers;
}

bool IsTimerMessage(const MSG& m, HWND hwnd, UINT_PTR id) {
  return m.hwnd == hwnd && m.message == WM_TIMER && m.wParam == id;
}

void Fire(HWND hwnd, UINT_PTR id) {
  auto& timers = Timers();
  auto it = timers.find({hwnd, id});
  if (it == timers.end()) return;
  if (LiveSerial(hwnd) != it->second.serial) {
    // The window is gone; its timer goes once the toolkit has left this timer's signal.
    it->second.qt.release()->deleteLater();
    timers.erase(it);
    return;
  }
  if (IsMessageQueued([&](const MSG& m) { return IsTimerMessage(m, hwnd, id); })) return;
  QueueMessage(MSG{hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(it->second.proc)});
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (!IsGuiThread() || id == 0) return 0;
  const uint64_t serial = LiveSerial(hwnd);
  if (serial == 0) return 0;
  Timer& timer = Timers()[{hwnd, id}];
  if (timer.serial != serial) {
    // New, or left behind by a window that had the same address.
    timer.serial = serial;
    timer.qt = std::make_unique<QTimer>();
    QObject::connect(timer.qt.get(), &QTimer::timeout, [hwnd, id] { Fire(hwnd, id); });
  }
  timer.proc = proc;
  timer.qt->start(static_cast<int>(std::clamp<UINT>(elapse, kMinimumElapse, INT32_MAX)));
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!IsGuiThread()) return 0;
  auto& timers = Timers();
  auto it = timers.find({hwnd, id});
  if (it == timers.end()) return 0;
  const bool running = LiveSerial(hwnd) == it->second.serial;
  // Called from inside the timer's own signal the toolkit timer must outlive the call.
  it->second.qt->stop();
  it->second.qt.release()->deleteLater();
  timers.erase(it);
  DropQueuedMessagesIf([&](const MSG& m) { return IsTimerMessage(m, hwnd, id); });
  return running ? 1 : 0;
}

}  // namespace platform
