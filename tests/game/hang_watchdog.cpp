#include "game/hang_watchdog.h"

#include <cstdio>
#include <cstdlib>

HangWatchdog::HangWatchdog(std::chrono::milliseconds limit) : m_limit(limit), m_thread([this] { Watch(); }) {}

HangWatchdog::~HangWatchdog() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void HangWatchdog::Arm(std::string what) {
  {
    std::lock_guard lock(m_mutex);
    m_what = std::move(what);
    m_deadline = std::chrono::steady_clock::now() + m_limit;
    m_armed = true;
  }
  m_changed.notify_all();
}

void HangWatchdog::Disarm() {
  {
    std::lock_guard lock(m_mutex);
    m_armed = false;
  }
  m_changed.notify_all();
}

void HangWatchdog::Watch() {
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    if (!m_armed) {
      m_changed.wait(lock);
    } else if (m_changed.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed &&
               std::chrono::steady_clock::now() >= m_deadline) {
      std::fprintf(stderr, "hang: %s did not return within %lld ms\n", m_what.c_str(),
                   static_cast<long long>(m_limit.count()));
      std::fflush(stderr);
      std::abort();
    }
  }
}
