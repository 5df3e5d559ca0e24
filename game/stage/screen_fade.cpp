#include "game/stage/screen_fade.h"

void AdvanceFade(ScreenFade& fade) {
  if (fade.step == 0) return;
  // In 64 bits: a step from a script can be anything, and the sum must not overflow.
  int64_t level = int64_t{fade.level} + fade.step;
  if (level > 255) {
    fade.level = 255;
    fade.step = 0;
  } else if (level < 0) {
    fade.level = 0;
    fade.step = 0;
  } else {
    fade.level = static_cast<int32_t>(level);
  }
}
