// Clipping of a blit from one memory surface onto another without drawing it: the overlap and,
// for a stretched blit, the stepping of the source per destination pixel, for code that walks
// the pixels itself (the game's compositor).
#pragma once

#include <cstdint>

#include "platform/win_types.h"

class CMemPlane;

struct BltClipInfo {
  bool sameSize = false;  // no stretch
  RECT source{};          // the part of the source that is drawn, inside the source surface
  RECT dest{};            // where it lands
  RECT clip{};            // the clip, inside the destination surface
  // Stretched only (left as they were for a 1:1 blit). Per destination pixel the source moves by
  // the step; the error grows by the remainder and, once it reaches 0, the source moves one more
  // pixel and the error drops by the unclipped destination size.
  int32_t xError = 0;
  int32_t xRemainder = 0;
  int32_t destWidth = 0;
  int32_t xStep = 0;
  int32_t yError = 0;
  int32_t yRemainder = 0;
  int32_t destHeight = 0;
  int32_t yStep = 0;
};

// sourceRect (null: the whole source) drawn at (x, y), stretched to destSize (null: its own
// size), clipped to clip (null: the whole destination). 0 when something is left to draw and out
// is filled; 1 when nothing is (out unchanged). A 1:1 source rectangle reaching beyond its
// surface is cut to it, the destination moving with it; a stretched one must lie inside its
// surface, else nothing is drawn.
int ClipStretchBlt(CMemPlane* dest, CMemPlane* source, int x, int y, BltClipInfo* out,
                   const RECT* sourceRect, const SIZE* destSize, const RECT* clip);
