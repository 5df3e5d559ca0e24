// Runs catalogue entries on recording targets for the transition tests.
#pragma once

#include <vector>

#include "recording_target.h"
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_random.h"

namespace transition_test {

// Entries whose drawing range ends in a pass of the destination, or that blend the whole source
// with the phase, rather than drawing pieces with the mode.
constexpr int kCrossFade = 54;
constexpr int kMosaic = 69;
constexpr int kInvert = 70;

struct Run {
  int w = 13;
  int h = 7;
  int x = 5;
  int y = 3;
  int phase = 128;
  int mode = 0;
  int alpha = 77;
  const RECT* clip = nullptr;
  int destW = 40;
  int destH = 30;
};

struct Recorded {
  int result = 0;
  std::vector<RecordedCall> calls;
  int sourceQueries = 0;
  int destQueries = 0;
};

inline Recorded Record(int entry, const Run& run) {
  RecordingTarget dest(run.destW, run.destH);
  RecordingTarget source(run.w, run.h);
  RECT clip{};
  if (run.clip) clip = *run.clip;
  Recorded out;
  out.result = TransitionBltLookup(entry)(&dest, &source, run.x, run.y, run.phase, run.mode, run.alpha,
                                          run.clip ? &clip : nullptr);
  out.calls = std::move(dest.calls);
  out.sourceQueries = source.sizeQueries;
  out.destQueries = dest.sizeQueries;
  return out;
}

// The random entries draw from the transitions' own generator: a fixed start makes them repeat.
inline void Reseed(uint32_t seed = 20240601) {
  InitTransitionRandomTable();
  TransitionSeedRandom(seed);
}

inline const char* ModeOp(int mode) {
  static const char* const ops[] = {"BltFast", "Blt", "BlendBltAlphaRatio", "BltNatural"};
  return ops[mode];
}

}  // namespace transition_test
