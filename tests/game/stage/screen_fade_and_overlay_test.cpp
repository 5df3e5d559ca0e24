#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "game/app/info_overlay.h"
#include "game/stage/screen_fade.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/frame_timer.h"

namespace {

TEST(ScreenFade, MovesByItsStepAndStopsAtEitherEnd) {
  struct Case {
    ScreenFade start;
    ScreenFade after;
  } cases[] = {
      {{0, 16}, {16, 16}},    {{250, 16}, {255, 0}}, {{255, 16}, {255, 0}},
      {{10, -16}, {0, 0}},    {{100, 0}, {100, 0}},  {{200, INT_MAX}, {255, 0}},  // no overflow on the way
      {{0, INT_MIN}, {0, 0}},
  };
  for (const auto& c : cases) {
    ScreenFade f = c.start;
    AdvanceFade(f);
    EXPECT_EQ(f.level, c.after.level) << c.start.level << "+" << c.start.step;
    EXPECT_EQ(f.step, c.after.step) << c.start.level << "+" << c.start.step;
  }
  EXPECT_TRUE(ScreenCovered({{255, 0}, {0, 0}}));
  EXPECT_TRUE(ScreenCovered({{0, 0}, {255, 0}}));
  EXPECT_FALSE(ScreenCovered({{254, 0}, {254, 0}}));
}

TEST(InfoOverlay, LinesFollowTheConfiguration) {
  const InfoOverlayFigures f{58, 60, 73, 3, 4};
  struct Case {
    bool fps, cpu, cache;
    std::string text;
  } cases[] = {
      {false, false, false, ""},
      {false, true, false, ""},  // the processor line never shows alone
      {true, false, false, "FPS 58/60\n"},
      {true, true, false, "FPS 58/60\nCPU使用率 73％\n"_sj},
      {false, true, true, "CPU使用率 73％\nキャッシュヒット率 75.00％\n"_sj},
      {true, true, true, "FPS 58/60\nCPU使用率 73％\nキャッシュヒット率 75.00％\n"_sj},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InfoOverlayText(c.fps, c.cpu, c.cache, f), c.text) << c.fps << c.cpu << c.cache;
  }
  EXPECT_EQ(InfoOverlayText(false, false, true, {0, 0, 0, 0, 0}), "キャッシュヒット率 0.00％\n"_sj);
}

TEST(InfoOverlay, TheProcessorLineShowsTheShareOfEachSecondUsed) {
  platform::ManualClock clock(0);
  CFrameTimer timer;
  // 4 ms of work in each 16.7 ms frame: about a quarter of the second is used, three quarters free.
  for (int i = 0; i < 40; ++i) {
    clock.Advance(4);
    timer.WaitFrame();
  }
  const InfoOverlayFigures f = InfoOverlayFiguresOf(timer, 3, 4);
  EXPECT_EQ(f.cpuUsedPercent, 24);
  EXPECT_EQ(InfoOverlayText(true, true, false, f), "FPS 60/60\nCPU使用率 24％\n"_sj);
}

}  // namespace
