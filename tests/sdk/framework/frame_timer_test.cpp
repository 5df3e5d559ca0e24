#include "sdk/framework/frame_timer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/clock.h"

namespace {

using platform::ManualClock;

// One frame at a rate, as the 16.16 schedule lays them out: frame k ends at k x 1000/fps ms rounded
// down, measured with the integer step 65536000 / fps.
uint32_t FrameLength(uint32_t fps, uint32_t k) {
  uint64_t step = 65536000u / fps;
  return static_cast<uint32_t>(((k * step) >> 16) - (((k - 1) * step) >> 16));
}

TEST(FrameTimer, WaitsOfTheFirstSixtyFramesAtSixtyFps) {
  ManualClock clock(5000);
  CFrameTimer timer;  // 60 frames per second
  for (int i = 0; i < 60; ++i) timer.WaitFrame();
  const std::vector<uint32_t> expected = {16, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16,
                                          17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16,
                                          17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16,
                                          17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16, 17, 17, 16};
  EXPECT_EQ(clock.sleeps(), expected);
  for (uint32_t k = 1; k <= 60; ++k) EXPECT_EQ(expected[k - 1], FrameLength(60, k)) << k;
  // The integer step is a little short of 1000/60 ms: sixty frames take 999 ms, not 1000.
  EXPECT_EQ(std::accumulate(expected.begin(), expected.end(), 0u), 999u);
  EXPECT_EQ(clock.now(), 5999u);
  EXPECT_FALSE(timer.IsSkip());
}

TEST(FrameTimer, WorkIsTakenFromTheSleepAndTheAverageHolds) {
  struct Case {
    uint32_t fps;
    uint32_t work;
  };
  for (Case c : {Case{60, 5}, Case{30, 20}, Case{24, 0}, Case{7, 100}}) {
    SCOPED_TRACE(testing::Message() << c.fps << " fps, " << c.work << " ms work");
    ManualClock clock(100);
    CFrameTimer timer;
    timer.SetFPS(c.fps);
    uint32_t total = 0;
    for (uint32_t k = 1; k <= 3 * c.fps; ++k) {
      clock.Advance(c.work);
      timer.WaitFrame();
      total += FrameLength(c.fps, k);
      ASSERT_EQ(clock.sleeps().back(), FrameLength(c.fps, k) - c.work) << k;
    }
    EXPECT_EQ(clock.now(), 100 + total);
    EXPECT_EQ(timer.GetTotalWork(), 3 * c.fps * c.work);
  }
}

TEST(FrameTimer, ALateFrameIsCaughtUpAndThreeStepsLateSetsSkip) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(50);  // 20 ms frames exactly
  timer.WaitFrame();
  EXPECT_EQ(clock.sleeps().back(), 20u);
  clock.ClearSleeps();

  // 70 ms of work: 50 ms late, under three steps. No sleep, and the lateness is worked off by the
  // following frames running without sleeping.
  clock.Advance(70);
  timer.WaitFrame();
  EXPECT_FALSE(timer.IsSkip());
  EXPECT_TRUE(clock.sleeps().empty());
  timer.WaitFrame();  // 30 ms late now
  timer.WaitFrame();  // 10 ms late
  EXPECT_TRUE(clock.sleeps().empty());
  timer.WaitFrame();  // back on schedule: sleeps the rest of the frame
  EXPECT_EQ(clock.sleeps(), std::vector<uint32_t>{10});

  // 100 ms of work is 80 ms late, at least three steps: skip, until a frame is on time again.
  clock.ClearSleeps();
  clock.Advance(100);
  timer.WaitFrame();
  EXPECT_TRUE(timer.IsSkip());
  clock.Advance(60);
  timer.WaitFrame();
  EXPECT_TRUE(timer.IsSkip());  // 120 ms late now
  for (int i = 0; i < 7 && clock.sleeps().empty(); ++i) timer.WaitFrame();
  EXPECT_FALSE(timer.IsSkip());
}

TEST(FrameTimer, AStallRestartsTheScheduleWithoutSkip) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(50);
  timer.WaitFrame();
  clock.ClearSleeps();
  clock.Advance(20 + 400);  // 400 ms late
  timer.WaitFrame();
  EXPECT_FALSE(timer.IsSkip());
  EXPECT_TRUE(clock.sleeps().empty());
  timer.WaitFrame();  // the schedule starts from the stalled frame: a whole frame's sleep
  EXPECT_EQ(clock.sleeps(), std::vector<uint32_t>{20});
}

TEST(FrameTimer, LateFramesOfASecondAreCountedForTheNext) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(20);  // 50 ms frames
  for (int i = 0; i < 20; ++i) {
    if (i == 3 || i == 10) clock.Advance(50 + 160);  // more than three steps late, short of a stall
    timer.WaitFrame();
    EXPECT_EQ(timer.IsSkip(), i == 3 || i == 10) << i;
  }
  EXPECT_EQ(timer.GetLateLastSecond(), 0u);
  timer.WaitFrame();  // the first frame of the next second takes the count over
  EXPECT_EQ(timer.GetLateLastSecond(), 2u);
}

TEST(FrameTimer, MeasuredRateAndFreeTime) {
  ManualClock clock(0);
  CFrameTimer timer;
  for (int i = 0; i < 15; ++i) {
    clock.Advance(4);
    timer.WaitFrame();
    EXPECT_EQ(timer.GetRealFPS(), 0u);
    EXPECT_EQ(timer.GetCPUPower(), 0u);
  }
  clock.Advance(4);
  timer.WaitFrame();
  // 16 calls: the rate over the last 15 frames, which took frames 2..16 of the schedule.
  uint32_t span = 0;
  for (uint32_t k = 2; k <= 16; ++k) span += FrameLength(60, k);
  EXPECT_EQ(timer.GetRealFPS(), (15000 + span / 2) / span);
  // Slots 1..15 hold 4 ms of work each (slot 0 is not written before the 32nd call).
  EXPECT_EQ(timer.GetCPUPower(), 100 - 60 * (15 * 4) / 160);

  for (int i = 0; i < 40; ++i) {
    clock.Advance(4);
    timer.WaitFrame();
  }
  EXPECT_EQ(timer.GetRealFPS(), 60u);
  EXPECT_EQ(timer.GetCPUPower(), 100 - 60 * (16 * 4) / 160);  // 76
  EXPECT_EQ(timer.GetCPUUsage(), 60u * (16 * 4) / 160);       // 24: the two shares make the whole second
}

TEST(FrameTimer, UsageCountsFromTheSixteenthFrame) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(10);
  for (int i = 0; i < 15; ++i) {
    clock.Advance(99);
    timer.WaitFrame();
    EXPECT_EQ(timer.GetCPUUsage(), 0u) << i;
  }
  for (int i = 0; i < 20; ++i) {
    clock.Advance(99);
    timer.WaitFrame();
  }
  EXPECT_EQ(timer.GetCPUUsage(), 99u);
  EXPECT_EQ(timer.GetCPUPower(), 1u);
}

TEST(FrameTimer, WithoutPacingNothingSleepsAndAllTimeIsFree) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(0);
  for (int i = 0; i < 20; ++i) {
    clock.Advance(10);
    timer.WaitFrame();
  }
  EXPECT_TRUE(clock.sleeps().empty());
  EXPECT_EQ(timer.GetCPUPower(), 100u);
  EXPECT_EQ(timer.GetRealFPS(), 100u);  // one call each 10 ms
  EXPECT_EQ(timer.GetFPS(), 0u);
}

TEST(FrameTimer, StatisticsOfAnEarlierRateDoNotLeakIntoANewOne) {
  ManualClock clock(0);
  CFrameTimer timer;
  timer.SetFPS(10);
  for (int i = 0; i < 40; ++i) {
    clock.Advance(95);  // nearly the whole 100 ms frame is work
    timer.WaitFrame();
  }
  EXPECT_EQ(timer.GetCPUPower(), 5u);
  // At 60 fps with no work, a stale 95 ms in the rings would make the busy share wrap around.
  timer.SetFPS(60);
  for (int i = 0; i < 16; ++i) timer.WaitFrame();
  EXPECT_EQ(timer.GetCPUPower(), 100u);
}

}  // namespace
