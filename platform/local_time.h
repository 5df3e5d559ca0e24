// The calendar clock and the local time zone: what time it is, and a moment (such as a file's
// modification time) as the user's local date and time. Both can be replaced by tests, so that
// names and texts made from dates do not depend on the day or the machine's zone.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

#include "platform/win_types.h"

namespace platform {

// Nanoseconds since 1970-01-01 00:00 UTC.
int64_t WallClockNs();

// The moment in local time (tm_isdst and the zone's name and offset filled); false when the
// system cannot convert it.
bool LocalTimeOf(int64_t epochNs, std::tm* out);
// The same as a SYSTEMTIME (milliseconds from the moment).
bool LocalSystemTimeOf(int64_t epochNs, SYSTEMTIME* out);

struct LocalTimeHooks {
  std::function<int64_t()> now;                     // empty: the system's calendar clock
  std::function<bool(int64_t, std::tm*)> toLocal;  // empty: the system's zone
};

// Installs replacements (empty members restore the real ones) and returns the previous hooks.
LocalTimeHooks SetLocalTimeHooks(LocalTimeHooks hooks);

}  // namespace platform
