// Every per-frame step of the game is written for 60 frames per second and scaled by 60 / fps, with
// fps the current adaptive rate; an unusable rate counts as the nearest usable one.
#pragma once

#include "game/app/config.h"
#include "game/app/frame_rate_adapter.h"

inline double FrameScale() { return 60.0 / FrameRateAdapter::UsableFps(Config.fps); }
