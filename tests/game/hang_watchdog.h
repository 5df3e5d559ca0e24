// Turns a hang into a quick failure: while armed, a piece of work that has not finished when its time
// is up ends the test program with a message naming it, instead of leaving the runner to wait for its
// own long timeout. The limit is a hang detector, far above any honest run, not a speed target.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "platform/sync.h"

class HangWatchdog {
 public:
  explicit HangWatchdog(std::chrono::milliseconds limit);
  ~HangWatchdog();
  HangWatchdog(const HangWatchdog&) = delete;
  HangWatchdog& operator=(const HangWatchdog&) = delete;

  // Starts the clock for the work described by what; an armed watchdog restarts it.
  void Arm(std::string what);
  void Disarm();

 private:
  void Watch();

  const std::chrono::milliseconds m_limit;
  platform::AutoResetEvent m_changed;  // set on every Arm, Disarm and at the end: the clock restarts
  std::atomic<bool> m_armed = false;
  std::atomic<bool> m_stop = false;
  std::mutex m_whatMutex;
  std::string m_what;
  std::thread m_thread;  // last: starts once everything it reads exists
};
