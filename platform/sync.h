// Threads, auto-reset events and re-entrant locks: what the library's thread base and its
// critical sections stand on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// A wait without a time limit.
constexpr uint32_t kInfinite = 0xFFFFFFFF;

// A small number naming the calling thread for the life of the process; never 0, never reused.
uint32_t GetCurrentThreadId();

// What the two kinds of event below share: a count of signals that waits consume one at a time,
// and the waits that watch more than one event at once.
class EventBase {
 public:
  EventBase(const EventBase&) = delete;
  EventBase& operator=(const EventBase&) = delete;

  // Drops every signal not yet consumed.
  void Reset();
  // True when the event was (or became) signalled within ms milliseconds (kInfinite: no limit);
  // a successful wait consumes one signal.
  bool Wait(uint32_t ms);

 protected:
  // cap: the most signals the event keeps (1 for an auto-reset event).
  explicit EventBase(uint32_t cap) : m_cap(cap) {}
  ~EventBase() = default;
  void Signal(uint32_t n);
  uint32_t Pending();

 private:
  struct Watcher;
  friend int WaitForFirst(EventBase& first, EventBase& second, uint32_t ms);
  bool TryTake();

  std::mutex m_mutex;
  std::condition_variable m_cv;
  uint32_t m_count = 0;
  const uint32_t m_cap;
  std::vector<Watcher*> m_watchers;
};

// An event that wakes one waiter and resets itself; created not signalled. Signals do not add up.
class AutoResetEvent : public EventBase {
 public:
  AutoResetEvent() : EventBase(1) {}
  void Set() { Signal(1); }
};

// An event that counts its signals: n signals let n waits through, so a waiter that comes late
// still sees every one of them.
class CountingEvent : public EventBase {
 public:
  CountingEvent() : EventBase(UINT32_MAX) {}
  void Set(uint32_t n = 1) { Signal(n); }
  // The signals not yet consumed.
  uint32_t Count() { return Pending(); }
};

// Waits until either event is signalled and consumes that one signal: 0 for the first event, 1 for
// the second (the first wins when both are), -1 when ms milliseconds pass first.
int WaitForFirst(EventBase& first, EventBase& second, uint32_t ms);

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
