#include "platform/sync.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace platform {
namespace {

std::atomic<uint32_t> nextThreadId{1};
thread_local uint32_t currentThreadId = 0;

uint32_t NewThreadId() { return nextThreadId.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

uint32_t GetCurrentThreadId() {
  if (currentThreadId == 0) currentThreadId = NewThreadId();
  return currentThreadId;
}

// A WaitForFirst in progress, known to both events it watches.
struct EventBase::Watcher {
  std::mutex mutex;
  std::condition_variable cv;
  bool pinged = true;  // look at the events before the first wait
};

void EventBase::Signal(uint32_t n) {
  // Notified under the lock: a waiter that wakes may destroy the event at once, and must not find
  // this call still using it.
  std::lock_guard lock(m_mutex);
  m_count = n > m_cap - m_count ? m_cap : m_count + n;
  if (n == 1) {
    m_cv.notify_one();
  } else {
    m_cv.notify_all();
  }
  for (Watcher* w : m_watchers) {
    std::lock_guard wl(w->mutex);
    w->pinged = true;
    w->cv.notify_one();
  }
}

void EventBase::Reset() {
  std::lock_guard lock(m_mutex);
  m_count = 0;
}

uint32_t EventBase::Pending() {
  std::lock_guard lock(m_mutex);
  return m_count;
}

bool EventBase::TryTake() {
  std::lock_guard lock(m_mutex);
  if (m_count == 0) return false;
  --m_count;
  return true;
}

bool EventBase::Wait(uint32_t ms) {
  std::unique_lock lock(m_mutex);
  auto signalled = [this] { return m_count > 0; };
  if (ms == kInfinite) {
    m_cv.wait(lock, signalled);
  } else if (!m_cv.wait_for(lock, std::chrono::milliseconds(ms), signalled)) {
    return false;
  }
  --m_count;
  return true;
}

int WaitForFirst(EventBase& first, EventBase& second, uint32_t ms) {
  EventBase::Watcher watcher;
  EventBase* events[2] = {&first, &second};
  for (EventBase* e : events) {
    std::lock_guard lock(e->m_mutex);
    e->m_watchers.push_back(&watcher);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  int result = -1;
  for (;;) {
    {
      std::unique_lock lock(watcher.mutex);
      auto pinged = [&] { return watcher.pinged; };
      if (ms == kInfinite) {
        watcher.cv.wait(lock, pinged);
      } else if (!watcher.cv.wait_until(lock, deadline, pinged)) {
        break;
      }
      watcher.pinged = false;
    }
    if (first.TryTake()) {
      result = 0;
      break;
    }
    if (&second != &first && second.TryTake()) {
      result = 1;
      break;
    }
  }
  for (EventBase* e : events) {
    std::lock_guard lock(e->m_mutex);
    std::erase(e->m_watchers, &watcher);
  }
  return result;
}

Thread::~Thread() {
  // A thread left running would take the process down with std::terminate; letting it go is the
  // lesser harm, and every owner in the program joins before it gets here.
  if (m_thread.joinable()) m_thread.detach();
}

bool Thread::Start(std::function<void()> body) {
  if (m_thread.joinable() || !body) return false;
  uint32_t id = NewThreadId();
  // The new thread waits until this object knows it, so that its body may already ask IsCurrent or
  // Join on it.
  std::lock_guard started(m_startMutex);
  try {
    m_thread = std::thread([this, id, body = std::move(body)] {
      currentThreadId = id;
      { std::lock_guard wait(m_startMutex); }
      body();
    });
  } catch (const std::system_error&) {
    return false;
  }
  m_id = id;
  return true;
}

bool Thread::Join() {
  if (!m_thread.joinable() || IsCurrent()) return false;
  m_thread.join();
  return true;
}

void Thread::Detach() {
  if (m_thread.joinable()) m_thread.detach();
}

bool Thread::IsCurrent() const { return m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id(); }

}  // namespace platform
