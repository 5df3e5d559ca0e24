#include "game/hang_watchdog.h"

#include <cstdio>
#include <cstdlib>

HangWatchdog::HangWatchdog(std::chrono::milliseconds limit) : m_limit(limit), m_thread([this] { Watch(); }) {}

HangWatchdog::~HangWatchdog() {
  m_stop = true;
  m_changed.Set();
  m_thread.join();
}

void HangWatchdog::Arm(std::string what) {
  {
    std::lock_guard lock(m_whatMutex);
    m_what = std::move(what);
  }
  m_armed = true;
  m_changed.Set();
}

void HangWatchdog::Disarm() {
  m_armed = false;
  m_changed.Set();
}

void HangWatchdog::Watch() {
  while (!m_stop) {
    const uint32_t wait = m_armed ? static_cast<uint32_t>(m_limit.count()) : platform::kInfinite;
    // A change wakes the watch early and the state is read again with a fresh clock.
    if (m_changed.Wait(wait) || !m_armed || m_stop) continue;
    std::lock_guard lock(m_whatMutex);
    std::fprintf(stderr, "hang: %s did not return within %lld ms\n", m_what.c_str(),
                 static_cast<long long>(m_limit.count()));
    std::fflush(stderr);
    std::abort();
  }
}
