// The process-wide millisecond clock and the timer-resolution requests the display makes while it
// exists. The clock here is one steady millisecond count (injectable for tests), fine-grained
// whatever is requested, so the requests are only counted.
#pragma once

#include <cstdint>

// The clock every timer of the library reads, in milliseconds.
uint32_t TimerNow();

// Set when the fine-grained clock is in use (here: always, once the capabilities are read).
bool UseMultimediaTimer();
// The smallest timer period in milliseconds.
uint32_t TimerMinimumPeriod();

// Reads the timer's capabilities; run once at start-up.
void InitTimeCaps();
// Requests the finest resolution until the matching EndTimePeriod; returns the minimum period.
uint32_t BeginTimePeriod();
void EndTimePeriod();
// The number of requests not yet ended.
int32_t TimePeriodRequests();
