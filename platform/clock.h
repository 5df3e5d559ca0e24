// The millisecond clock and sleep that every timer of the program reads. Both can be replaced by
// tests, so that frame pacing and fades are checked against an exact, simulated time.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick count.
uint32_t NowMs();

// Gives the processor away for ms milliseconds.
void SleepMs(uint32_t ms);

struct ClockHooks {
  std::function<uint32_t()> now;         // empty: the steady clock
  std::function<void(uint32_t)> sleep;  // empty: a real sleep
};

// Installs replacements (empty members restore the real ones) and returns the previous hooks.
ClockHooks SetClockHooks(ClockHooks hooks);

// A simulated clock for tests: time moves only when the program sleeps or the test advances it.
// Installs itself on construction and restores the previous hooks on destruction.
class ManualClock {
 public:
  explicit ManualClock(uint32_t start = 0);
  ~ManualClock();
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  uint32_t now() const { return m_now; }
  void Advance(uint32_t ms) { m_now += ms; }
  // Every sleep requested while installed, in order.
  const std::vector<uint32_t>& sleeps() const { return m_sleeps; }
  void ClearSleeps() { m_sleeps.clear(); }

 private:
  uint32_t m_now;
  std::vector<uint32_t> m_sleeps;
  ClockHooks m_previous;
};

}  // namespace platform
