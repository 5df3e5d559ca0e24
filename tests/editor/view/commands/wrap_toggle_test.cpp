// The wrap-width toggle's next width from the pane's width and the current and the type's widths.
#include "editor/view/commands/wrap_toggle.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kOff = 10240;

TEST(WrapToggle, NextStep) {
  struct Case {
    const char* name;
    int pane, current, type;
    WrapToggle toggle;
    int width;
  };
  const Case cases[] = {
      {"wrapped at the pane's width: off", 100, 100, 80, kWrapToggleOff, kOff},
      {"wrapped at the type's width: the pane's", 100, 80, 80, kWrapToggleWindowWidth, 100},
      {"off, the type wraps: the type's", 100, kOff, 80, kWrapToggleTypeWidth, 80},
      {"off, the type does not wrap: the pane's", 100, kOff, kOff, kWrapToggleWindowWidth, 100},
      {"another width: the pane's", 100, 60, kOff, kWrapToggleWindowWidth, 100},
      {"narrow pane, wrapped: off", 10, 40, 80, kWrapToggleOff, kOff},
      {"narrow pane, off: the type's", 10, kOff, 80, kWrapToggleTypeWidth, 80},
      {"narrow pane, off, the type does not wrap: nothing", 10, kOff, kOff, kWrapToggleNone, kOff},
      {"narrow pane at its own width: off", 10, 10, 80, kWrapToggleOff, kOff},
      {"eleven columns are wide enough", 11, kOff, kOff, kWrapToggleWindowWidth, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WrapToggleStep step = NextWrapToggleStep(c.pane, c.current, c.type);
    EXPECT_EQ(step.toggle, c.toggle);
    EXPECT_EQ(step.width, c.width);
  }
}

// Repeated in a 100-column pane on a type that wraps at 80 the toggle goes round.
TEST(WrapToggle, GoesRound) {
  int width = 80;
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) seen.push_back(width = NextWrapToggleStep(100, width, 80).width);
  EXPECT_EQ(seen, (std::vector<int>{100, kOff, 80, 100}));
}

}  // namespace
