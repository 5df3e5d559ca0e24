#include "sdk/framework/time_period.h"

#include <atomic>

#include "platform/clock.h"

namespace {

// What the timer reports of itself: the steady clock counts single milliseconds.
constexpr uint32_t kClockPeriod = 1;

std::atomic<bool> useMultimediaTimer{false};
std::atomic<uint32_t> minimumPeriod{1};
std::atomic<int32_t> periodRequests{0};

// Reads the capabilities; false when they cannot be read.
bool ReadTimeCaps(uint32_t* period) {
  *period = kClockPeriod;
  return true;
}

// The clock needs no resolution change: asking for one is a no-op.
void BeginPeriod(uint32_t) {}
void EndPeriod(uint32_t) {}

const bool timeCapsRead = (InitTimeCaps(), true);

}  // namespace

uint32_t TimerNow() { return platform::NowMs(); }
bool UseMultimediaTimer() { return useMultimediaTimer; }
uint32_t TimerMinimumPeriod() { return minimumPeriod; }
int32_t TimePeriodRequests() { return periodRequests; }

void InitTimeCaps() {
  uint32_t period = 0;
  if (!ReadTimeCaps(&period) || period > 9) {
    minimumPeriod = 1;
    useMultimediaTimer = false;
  } else {
    minimumPeriod = period;
    useMultimediaTimer = true;
  }
}

uint32_t BeginTimePeriod() {
  uint32_t period = 0;
  if (!ReadTimeCaps(&period)) {
    useMultimediaTimer = false;
    minimumPeriod = 1;
    return 1;
  }
  if (period >= 10) {
    minimumPeriod = 1;
    useMultimediaTimer = false;
  } else {
    minimumPeriod = period;
    useMultimediaTimer = true;
  }
  if (periodRequests++ == 0 && useMultimediaTimer) BeginPeriod(minimumPeriod);
  return minimumPeriod;
}

void EndTimePeriod() {
  if (periodRequests-- == 1 && useMultimediaTimer) EndPeriod(minimumPeriod);
}
