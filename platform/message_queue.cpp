// The GUI thread's message queue. Input that the toolkit delivers is appended by the window's event
// handlers; posted messages travel as toolkit events (so that posting from any thread wakes a
// waiting pump) and join the queue when the toolkit delivers them.
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/clock.h"
#include "platform/gui_app.h"
#include "platform/ime_composition.h"
#include "platform/ready_pipe.h"
#include "platform/timer.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

QEvent::Type PostedType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

class PostedEvent final : public QEvent {
 public:
  PostedEvent(const MSG& msg, uint64_t serial, bool quit) : QEvent(PostedType()), msg(msg), serial(serial), quit(quit) {}
  MSG msg;
  uint64_t serial;  // of the window it was posted to: a later window at the same address is another
  bool quit;
};

// Touched on the GUI thread only.
struct QueueState {
  std::deque<MSG> messages;
  bool quit = false;
  int exitCode = 0;
};

QueueState& Queue() {
  static QueueState queue;
  return queue;
}

void SetQuit(int exitCode) {
  Queue().quit = true;
  Queue().exitCode = exitCode;
}

// The serial a message to the handle carries: a window's own, or for a control its window's (GUI
// thread only).
uint64_t PostSerial(HWND hwnd) {
  const uint64_t serial = LiveSerial(hwnd);
  if (serial != 0 || !IsChildHandle(hwnd) || !IsGuiThread()) return serial;
  Window* top = TopWindowFromHandle(hwnd);
  return top ? LiveSerial(top) : 0;
}

class Receiver final : public QObject {
 protected:
  bool event(QEvent* event) override {
    if (event->type() != PostedType()) return QObject::event(event);
    auto* posted = static_cast<PostedEvent*>(event);
    if (posted->quit) {
      SetQuit(static_cast<int>(posted->msg.wParam));
    } else if (!posted->msg.hwnd || PostSerial(posted->msg.hwnd) == posted->serial) {
      QueueMessage(posted->msg);
    }
    return true;
  }
};

// The object that posted messages are addressed to; lives on the GUI thread. Null before the
// toolkit's application exists.
Receiver* TheReceiver() {
  static std::mutex mutex;
  static Receiver* receiver = nullptr;  // lives as long as the process
  std::lock_guard lock(mutex);
  if (!receiver) {
    auto* app = QCoreApplication::instance();
    if (!app) return nullptr;
    receiver = new Receiver;
    receiver->moveToThread(app->thread());
  }
  return receiver;
}

bool Matches(const MSG& m, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return m.message >= filterMin && m.message <= filterMax;
}

// The first matching message.
bool Take(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  auto& q = Queue();
  for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
    if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove) q.messages.erase(it);
    return true;
  }
  return false;
}

// WM_QUIT, once PostQuitMessage has asked for it.
bool TakeQuit(MSG* msg, bool remove) {
  auto& q = Queue();
  if (!q.quit) return false;
  *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.exitCode), 0};
  if (remove) q.quit = false;
  return true;
}

void ProcessToolkitEvents(QEventLoop::ProcessEventsFlags flags) {
  QCoreApplication::processEvents(flags);
  // The toolkit deletes what was let go of outside its own event handlers only when an event loop
  // of its own returns, and the program runs none: without this the menus of every rebuilt bar
  // stayed for the whole session (and were looked at again on every pump).
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  FlushPendingDeletes();
}

}  // namespace

void QueueMessage(const MSG& msg) { Queue().messages.push_back(msg); }

void QueueMessageFirst(const MSG& msg) { Queue().messages.push_front(msg); }

void DropQueuedMessages(HWND hwnd) {
  DropQueuedMessagesIf([hwnd](const MSG& m) { return m.hwnd == hwnd; });
}

bool IsMessageQueued(const std::function<bool(const MSG&)>& match) {
  const auto& messages = Queue().messages;
  return std::any_of(messages.begin(), messages.end(), match);
}

void DropQueuedMessagesIf(const std::function<bool(const MSG&)>& match) { std::erase_if(Queue().messages, match); }

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  uint64_t serial = hwnd ? PostSerial(hwnd) : 0;
  if (hwnd && serial == 0) return 0;
  Receiver* receiver = TheReceiver();
  if (!receiver) return 0;
  QCoreApplication::postEvent(receiver, new PostedEvent(MSG{hwnd, message, wParam, lParam}, serial, false));
  return 1;
}

void PostQuitMessage(int exitCode) {
  if (IsGuiThread()) {
    SetQuit(exitCode);
  } else if (Receiver* receiver = TheReceiver()) {
    QCoreApplication::postEvent(receiver, new PostedEvent(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0}, 0, true));
  }
}

std::optional<int> PendingQuitCode() {
  if (!IsGuiThread() || !Queue().quit) return std::nullopt;
  return Queue().exitCode;
}

// The quit message comes only when nothing else is waiting, toolkit events included.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg || !IsGuiThread()) return -1;
  for (;;) {
    if (Take(msg, hwnd, filterMin, filterMax, true)) return 1;
    ProcessToolkitEvents(QEventLoop::AllEvents);
    if (Take(msg, hwnd, filterMin, filterMax, true)) return 1;
    if (TakeQuit(msg, true)) return 0;
    MarkInputIdle();
    ProcessToolkitEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg || !IsGuiThread()) return 0;
  bool remove = (removeFlags & PM_REMOVE) != 0;
  if (Take(msg, hwnd, filterMin, filterMax, remove)) return 1;
  ProcessToolkitEvents(QEventLoop::AllEvents);
  if (Take(msg, hwnd, filterMin, filterMax, remove)) return 1;
  if (TakeQuit(msg, remove)) return 1;
  MarkInputIdle();
  return 0;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  Window* window = WindowFromHandle(msg->hwnd);
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    // A timer with a procedure of its own: the procedure takes it instead of the window.
    if (!window) return 0;
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, NowMs());
    return 0;
  }
  if (window && msg->message == WM_IME_COMPOSITION) return DispatchComposition(*window, *msg);
  if (window) return window->send(msg->message, msg->wParam, msg->lParam);
  ChildWindow* child = ChildFromHandle(msg->hwnd);
  return child ? child->send(msg->message, msg->wParam, msg->lParam) : 0;
}

}  // namespace platform
