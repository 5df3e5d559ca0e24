#include "platform/clock.h"

#include <gtest/gtest.h>

TEST(Clock, ManualClockMovesOnlyBySleepsAndAdvances) {
  platform::ManualClock clock(1000);
  EXPECT_EQ(platform::NowMs(), 1000u);
  platform::SleepMs(17);
  clock.Advance(3);
  EXPECT_EQ(platform::NowMs(), 1020u);
  EXPECT_EQ(clock.sleeps(), std::vector<uint32_t>{17});
}

TEST(Clock, RealClockIsRestoredAfterManualClock) {
  { platform::ManualClock clock(0xFFFFFFF0u); }
  uint32_t a = platform::NowMs();
  platform::SleepMs(2);
  EXPECT_GE(platform::NowMs() - a, 2u);
}
