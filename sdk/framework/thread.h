// The library's thread base: a body run on a thread of its own (or on the calling thread), a valid
// flag that tells the body to keep going, and an auto-reset event to wake it.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/sync.h"

class CThread {
 public:
  CThread() = default;
  CThread(const CThread&) = delete;
  CThread& operator=(const CThread&) = delete;

  // The thread's work.
  virtual void ThreadBody() = 0;
  // Stops any running thread, then runs the body on a new one. 1 when no thread could be started.
  virtual int CreateThread();
  // Invalidates, then waits for the thread to end. 0 when there was no thread or it ended; 1 when
  // it could not be waited for (the thread stopping itself: it is let go to end on its own).
  virtual int StopThread();
  // Runs the body on the calling thread; 0.
  virtual int RunThread();
  virtual bool IsThreadStarted() const { return m_started; }
  virtual bool IsThreadValid() const { return m_valid; }
  // Clears the valid flag and wakes the body; may be called from any thread.
  virtual void InvalidateThread();
  // 1 when the event was signalled within ms milliseconds (negative: no limit), 0 on time-out,
  // -1 when there is no event (no body running).
  virtual int WaitThreadEvent(int milliseconds);
  // Stops the thread (with this class's InvalidateThread: the derived part is gone by then).
  virtual ~CThread();

 protected:
  // Before the body: a fresh event, started and valid set.
  virtual void OnStartThread();
  // After the body: the event closed, started cleared.
  virtual void OnEndThread();

 private:
  std::shared_ptr<platform::AutoResetEvent> Event() const;

  std::atomic<bool> m_started{false};
  std::atomic<bool> m_valid{false};
  platform::Thread m_thread;
  mutable std::mutex m_eventMutex;
  std::shared_ptr<platform::AutoResetEvent> m_event;
};
