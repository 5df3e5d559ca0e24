#include "platform/local_time.h"

#include <chrono>
#include <utility>

namespace platform {
namespace {

LocalTimeHooks& Hooks() {
  static LocalTimeHooks hooks;
  return hooks;
}

// Whole seconds rounded toward the past, so that a moment before 1970 falls in its own second.
time_t SecondsOf(int64_t epochNs) {
  int64_t seconds = epochNs / 1'000'000'000;
  if (epochNs % 1'000'000'000 < 0) --seconds;
  return static_cast<time_t>(seconds);
}

}  // namespace

int64_t WallClockNs() {
  if (Hooks().now) return Hooks().now();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool LocalTimeOf(int64_t epochNs, std::tm* out) {
  if (!out) return false;
  if (Hooks().toLocal) return Hooks().toLocal(epochNs, out);
  const time_t seconds = SecondsOf(epochNs);
  return ::localtime_r(&seconds, out) != nullptr;
}

bool LocalSystemTimeOf(int64_t epochNs, SYSTEMTIME* out) {
  std::tm tm{};
  if (!out || !LocalTimeOf(epochNs, &tm)) return false;
  // A year the structure cannot hold is no date of a file this program writes.
  if (tm.tm_year < 1601 - 1900 || tm.tm_year > 30827 - 1900) return false;
  int64_t within = epochNs % 1'000'000'000;
  if (within < 0) within += 1'000'000'000;
  const int64_t ms = within / 1'000'000;
  out->wYear = static_cast<WORD>(tm.tm_year + 1900);
  out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  out->wDay = static_cast<WORD>(tm.tm_mday);
  out->wHour = static_cast<WORD>(tm.tm_hour);
  out->wMinute = static_cast<WORD>(tm.tm_min);
  out->wSecond = static_cast<WORD>(tm.tm_sec);
  out->wMilliseconds = static_cast<WORD>(ms);
  return true;
}

LocalTimeHooks SetLocalTimeHooks(LocalTimeHooks hooks) { return std::exchange(Hooks(), std::move(hooks)); }

}  // namespace platform
