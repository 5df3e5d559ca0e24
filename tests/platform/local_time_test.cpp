#include "platform/local_time.h"

#include <gtest/gtest.h>

#include "game/fixtures/time_zone_scope.h"

namespace {

constexpr int64_t kNewYear2006Utc = 1136073600LL * 1'000'000'000;

TEST(LocalTime, FollowsTheZone) {
  struct Case {
    const char* zone;
    int64_t ns;
    SYSTEMTIME expected;
  };
  const Case cases[] = {
      {"UTC0", kNewYear2006Utc + 1'500'000'000, {2006, 1, 0, 1, 0, 0, 1, 500}},
      {"JST-9", kNewYear2006Utc, {2006, 1, 0, 1, 9, 0, 0, 0}},
      {"UTC0", -1, {1969, 12, 3, 31, 23, 59, 59, 999}},  // before 1970: the second before
  };
  for (const Case& c : cases) {
    TimeZoneScope zone(c.zone);
    SYSTEMTIME t;
    ASSERT_TRUE(platform::LocalSystemTimeOf(c.ns, &t)) << c.zone;
    EXPECT_EQ(t.wYear, c.expected.wYear) << c.zone;
    EXPECT_EQ(t.wMonth, c.expected.wMonth);
    EXPECT_EQ(t.wDayOfWeek, c.expected.wDayOfWeek);
    EXPECT_EQ(t.wDay, c.expected.wDay);
    EXPECT_EQ(t.wHour, c.expected.wHour);
    EXPECT_EQ(t.wMinute, c.expected.wMinute);
    EXPECT_EQ(t.wSecond, c.expected.wSecond);
    EXPECT_EQ(t.wMilliseconds, c.expected.wMilliseconds);
  }
}

TEST(LocalTime, HooksReplaceTheClockAndTheZone) {
  platform::LocalTimeHooks hooks;
  hooks.now = [] { return kNewYear2006Utc; };
  hooks.toLocal = [](int64_t ns, std::tm* out) {
    const time_t s = static_cast<time_t>(ns / 1'000'000'000) + 3600;
    return ::gmtime_r(&s, out) != nullptr;
  };
  const platform::LocalTimeHooks previous = platform::SetLocalTimeHooks(hooks);
  SYSTEMTIME t;
  const bool converted = platform::LocalSystemTimeOf(platform::WallClockNs(), &t);
  platform::SetLocalTimeHooks(previous);
  ASSERT_TRUE(converted);
  EXPECT_EQ(t.wYear, 2006);
  EXPECT_EQ(t.wHour, 1);
  EXPECT_NE(platform::WallClockNs(), kNewYear2006Utc) << "the real clock is back";
}

}  // namespace
