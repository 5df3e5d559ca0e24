#include "game/app/frame_rate_adapter.h"

#include <gtest/gtest.h>

namespace {

// Runs n frames of the same lateness; returns how many of them changed the rate.
int RunFrames(FrameRateAdapter& a, int n, bool late) {
  int changes = 0;
  for (int i = 0; i < n; ++i) changes += a.Step(late);
  return changes;
}

TEST(FrameRateAdapter, DropsAfter360LateFramesAtSixty) {
  FrameRateAdapter a(60);
  EXPECT_EQ(RunFrames(a, 359, true), 0);
  EXPECT_EQ(a.fps(), 60);
  EXPECT_EQ(a.accumulator(), 1);
  EXPECT_TRUE(a.Step(true));
  EXPECT_EQ(a.fps(), 59);
  EXPECT_EQ(a.accumulator(), 360);
}

TEST(FrameRateAdapter, RisesAfter361PunctualFrames) {
  FrameRateAdapter a(59);
  EXPECT_EQ(RunFrames(a, 360, false), 0);
  EXPECT_EQ(a.accumulator(), 720);  // the band's edge itself does not count
  EXPECT_TRUE(a.Step(false));
  EXPECT_EQ(a.fps(), 60);
  EXPECT_EQ(a.accumulator(), 360);
  // At the top the accumulator still restarts, but the rate stays.
  EXPECT_EQ(RunFrames(a, 361, false), 0);
  EXPECT_EQ(a.fps(), 60);
  EXPECT_EQ(a.accumulator(), 360);
}

TEST(FrameRateAdapter, MixedFramesStayInsideTheDeadBand) {
  FrameRateAdapter a(60);
  for (int i = 0; i < 10000; ++i) EXPECT_FALSE(a.Step(i % 2 == 0));
  EXPECT_EQ(a.fps(), 60);
}

TEST(FrameRateAdapter, StepsAreTruncatedTowardZero) {
  struct Case {
    int fps;
    bool late;
    int accumulator;  // after one frame from 360
  } cases[] = {
      {60, false, 361}, {60, true, 359},
      {50, false, 361}, {50, true, 358},  // 60/50 = 1.2
      {59, true, 358},                    // 358.98 truncated
      {10, false, 366}, {10, true, 354},
      {25, false, 362}, {25, true, 357},  // 2.4
  };
  for (const auto& c : cases) {
    FrameRateAdapter a(c.fps);
    a.Step(c.late);
    EXPECT_EQ(a.accumulator(), c.accumulator) << c.fps << (c.late ? " late" : " punctual");
  }
}

TEST(FrameRateAdapter, NeverLeavesTenToSixty) {
  FrameRateAdapter a(60);
  RunFrames(a, 200000, true);
  EXPECT_EQ(a.fps(), 10);
  FrameRateAdapter b(10);
  RunFrames(b, 200000, false);
  EXPECT_EQ(b.fps(), 60);
}

TEST(FrameRateAdapter, ConfiguredRatesOutsideTheRange) {
  struct Case {
    int configured;
    int usable;
  } cases[] = {{0, 60}, {-5, 60}, {1, 10}, {10, 10}, {45, 45}, {60, 60}, {120, 60}};
  for (const auto& c : cases) EXPECT_EQ(FrameRateAdapter::UsableFps(c.configured), c.usable) << c.configured;
}

}  // namespace
