#include "platform/clock.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace platform {
namespace {

std::mutex hooksMutex;
ClockHooks& Hooks() {
  static ClockHooks hooks;
  return hooks;
}

}  // namespace

uint32_t NowMs() {
  {
    // Asked at every step of long jobs: the hook is copied only when there is one.
    std::unique_lock lock(hooksMutex);
    if (Hooks().now) {
      const std::function<uint32_t()> now = Hooks().now;
      lock.unlock();
      return now();
    }
  }
  static const auto start = std::chrono::steady_clock::now();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  return static_cast<uint32_t>(ms);
}

void SleepMs(uint32_t ms) {
  std::function<void(uint32_t)> sleep;
  {
    std::lock_guard lock(hooksMutex);
    sleep = Hooks().sleep;
  }
  if (sleep) {
    sleep(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

ClockHooks SetClockHooks(ClockHooks hooks) {
  std::lock_guard lock(hooksMutex);
  ClockHooks old = std::move(Hooks());
  Hooks() = std::move(hooks);
  return old;
}

ManualClock::ManualClock(uint32_t start) : m_now(start) {
  m_previous = SetClockHooks({[this] { return m_now; },
                              [this](uint32_t ms) {
                                m_sleeps.push_back(ms);
                                m_now += ms;
                              }});
}

ManualClock::~ManualClock() { SetClockHooks(std::move(m_previous)); }

}  // namespace platform
