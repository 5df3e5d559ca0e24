// Every per-frame step of the game is written for 60 frames per second and scaled by 60 / fps, with
// fps the current adaptive rate; an unusable rate counts as the nearest usable one.
#pragma once

#include <cstdint>

#include "game/app/config.h"
#include "game/app/frame_rate_adapter.h"

inline double FrameScale() { return 60.0 / FrameRateAdapter::UsableFps(Config.fps); }

// One frame's length at the current rate, in whole milliseconds.
inline uint32_t FrameMs() { return static_cast<uint32_t>(1000 / FrameRateAdapter::UsableFps(Config.fps)); }
