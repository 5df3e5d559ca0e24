// Pins the calendar clock to a moment and reads every moment in UTC as the local time, for the
// life of the object, so that names and texts made from dates are the same on every machine.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/local_time.h"

class LocalTimePin {
 public:
  // year, month and day (and the time) in UTC.
  LocalTimePin(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    m_now = NsOf(year, month, day, hour, minute, second);
    platform::LocalTimeHooks hooks;
    hooks.now = [this] { return m_now; };
    hooks.toLocal = [](int64_t ns, std::tm* out) {
      time_t s = static_cast<time_t>(ns / 1'000'000'000);
      if (ns % 1'000'000'000 < 0) --s;
      return ::gmtime_r(&s, out) != nullptr;
    };
    m_previous = platform::SetLocalTimeHooks(hooks);
  }
  ~LocalTimePin() { platform::SetLocalTimeHooks(m_previous); }
  LocalTimePin(const LocalTimePin&) = delete;
  LocalTimePin& operator=(const LocalTimePin&) = delete;

  static int64_t NsOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<int64_t>(::timegm(&tm)) * 1'000'000'000;
  }

 private:
  int64_t m_now = 0;
  platform::LocalTimeHooks m_previous;
};
