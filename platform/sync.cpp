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

void AutoResetEvent::Set() {
  // Notified under the lock: a waiter that wakes may destroy the event at once, and must not find
  // this call still using it.
  std::lock_guard lock(m_mutex);
  m_signalled = true;
  m_cv.notify_one();
}

void AutoResetEvent::Reset() {
  std::lock_guard lock(m_mutex);
  m_signalled = false;
}

bool AutoResetEvent::Wait(uint32_t ms) {
  std::unique_lock lock(m_mutex);
  auto signalled = [this] { return m_signalled; };
  if (ms == kInfinite) {
    m_cv.wait(lock, signalled);
  } else if (!m_cv.wait_for(lock, std::chrono::milliseconds(ms), signalled)) {
    return false;
  }
  m_signalled = false;
  return true;
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
