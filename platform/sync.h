// Threads, auto-reset events and re-entrant locks: what the library's thread base and its
// critical sections stand on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// A wait without a time limit.
constexpr uint32_t kInfinite = 0xFFFFFFFF;

// A small number naming the calling thread for the life of the process; never 0, never reused.
uint32_t GetCurrentThreadId();

// An event that wakes one waiter and resets itself; created not signalled.
class AutoResetEvent {
 public:
  AutoResetEvent() = default;
  AutoResetEvent(const AutoResetEvent&) = delete;
  AutoResetEvent& operator=(const AutoResetEvent&) = delete;

  void Set();
  void Reset();
  // True when the event was (or became) signalled within ms milliseconds (kInfinite: no limit);
  // a successful wait consumes the signal.
  bool Wait(uint32_t ms);

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_signalled = false;
};

// A lock that the thread holding it may take again; each Enter needs its Leave.
class RecursiveLock {
 public:
  RecursiveLock() = default;
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void Enter() { m_mutex.lock(); }
  void Leave() { m_mutex.unlock(); }
  bool TryEnter() { return m_mutex.try_lock(); }

  // Lets std::lock_guard and std::unique_lock hold it.
  void lock() { Enter(); }
  void unlock() { Leave(); }
  bool try_lock() { return TryEnter(); }

 private:
  std::recursive_mutex m_mutex;
};

// One thread of execution. The owner joins it (or lets it go with Detach) before destruction.
class Thread {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread();

  // Starts body on a new thread. False when the system could not start one (or one is running).
  bool Start(std::function<void()> body);
  // Waits for the thread to end. Refuses (false) on the thread itself and when there is none.
  bool Join();
  // Forgets the thread; it runs to its end on its own.
  void Detach();

  bool IsRunning() const { return m_thread.joinable(); }
  // True when called on this object's thread.
  bool IsCurrent() const;
  // The started thread's GetCurrentThreadId; 0 when none was started.
  uint32_t Id() const { return m_id; }

 private:
  std::mutex m_startMutex;
  std::thread m_thread;
  uint32_t m_id = 0;
};

}  // namespace platform
