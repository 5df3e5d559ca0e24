// Turns a hang into a quick failure: while armed, a piece of work that has not finished when its time
// is up ends the test program with a message naming it, instead of leaving the runner to wait for its
// own long timeout. The limit is a hang detector, far above any honest run, not a speed target.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

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
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::chrono::steady_clock::time_point m_deadline;
  std::string m_what;
  bool m_armed = false;
  bool m_stop = false;
  std::thread m_thread;  // last: starts once everything it reads exists
};
