#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/clock.h"
#include "sdk/framework/step_counter.h"
#include "sdk/framework/time_period.h"
#include "sdk/framework/timer.h"

namespace {

TEST(Timer, CountsAndHoldsStillWhilePaused) {
  platform::ManualClock clock(1000);
  CTimer timer;
  clock.Advance(250);
  EXPECT_EQ(timer.Get(), 250u);
  EXPECT_EQ(timer.Pause(), 1250u);  // the first pause returns when it stopped
  clock.Advance(500);
  EXPECT_EQ(timer.Get(), 250u);
  EXPECT_EQ(timer.Pause(), 1u);  // a second pause returns the count before it, nothing else
  clock.Advance(100);
  EXPECT_EQ(timer.Get(), 250u);
  timer.Reset();  // the only way out of a pause
  clock.Advance(30);
  EXPECT_EQ(timer.Get(), 30u);
}

TEST(Timer, CountsAcrossTheClockWrapping) {
  platform::ManualClock clock(0xFFFFFF00u);
  CTimer timer;
  clock.Advance(0x200);
  EXPECT_EQ(timer.Get(), 0x200u);
}

// The values after each Inc.
std::vector<int> Steps(int start, int end, int step, int calls, std::vector<bool>* reached = nullptr) {
  CStepCounter counter(start, end, step);
  std::vector<int> values;
  for (int i = 0; i < calls; ++i) {
    counter.Inc();
    values.push_back(counter.GetValue());
    if (reached) reached->push_back(counter.IsReached());
  }
  return values;
}

TEST(StepCounter, MovesByItsStepOrOneEveryNCallsAndStopsAtTheEnd) {
  std::vector<bool> reached;
  EXPECT_EQ(Steps(0, 10, 4, 4, &reached), (std::vector<int>{4, 8, 10, 10}));
  EXPECT_EQ(reached, (std::vector<bool>{false, false, true, true}));
  reached.clear();
  EXPECT_EQ(Steps(-255, -252, -3, 10, &reached), (std::vector<int>{-255, -255, -254, -254, -254, -253, -253, -253, -252, -252}));
  EXPECT_EQ(reached, (std::vector<bool>{false, false, false, false, false, false, false, false, true, true}));
  EXPECT_EQ(Steps(3, 9, 0, 5), (std::vector<int>{3, 3, 3, 3, 3}));
  EXPECT_EQ(Steps(5, 2, 1, 1), (std::vector<int>{2}));               // starting past the end: at the end at once
  EXPECT_EQ(Steps(INT_MAX - 1, INT_MAX, 100, 2), (std::vector<int>{INT_MAX, INT_MAX}));  // no wrap-around
  EXPECT_EQ(Steps(0, 5, INT_MIN, 2), (std::vector<int>{0, 0}));
}

TEST(StepCounter, ClimbsToTheEndOneEveryThirdCall) {
  CStepCounter counter(-255, 255, -3);
  int calls = 0;
  while (!counter.IsReached()) {
    counter.Inc();
    ++calls;
    ASSERT_LE(calls, 2000);
  }
  EXPECT_EQ(calls, 3 * 510);
  EXPECT_EQ(counter.GetValue(), 255);
  counter.Reset();
  EXPECT_EQ(counter.GetValue(), -255);
  EXPECT_FALSE(counter.IsReached());
}

TEST(TimePeriod, RequestsAreCountedAndTheClockIsFine) {
  EXPECT_TRUE(UseMultimediaTimer());
  int32_t before = TimePeriodRequests();
  EXPECT_EQ(BeginTimePeriod(), 1u);
  EXPECT_EQ(BeginTimePeriod(), 1u);
  EXPECT_EQ(TimePeriodRequests(), before + 2);
  EndTimePeriod();
  EndTimePeriod();
  EXPECT_EQ(TimePeriodRequests(), before);
  platform::ManualClock clock(77);
  EXPECT_EQ(TimerNow(), 77u);
}

}  // namespace
