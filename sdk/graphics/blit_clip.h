// Clipping and stretch set-up that every blit runs before touching a pixel.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

// What a blit draws: the source and destination rectangles left after clipping and, for a
// stretched blit, the stepping of the source position per destination pixel (Bresenham style:
// the whole step q, the remainder r added to the error e, which moves one more pixel each time it
// reaches 0 and then drops by the divisor). A mirrored blit reads each source row from its right
// end.
struct BlitGeometry {
  RECT s{};
  RECT d{};
  bool oneToOne = true;
  bool mirror = false;
  int32_t ex = 0, rx = 0, dx = 0, qx = 0;
  int32_t ey = 0, ry = 0, dy = 0, qy = 0;
  // Stretched blits: the source rectangle as given; the stepping never reads past its far edge
  // (the right edge, or for a mirrored blit the left edge) or its bottom.
  RECT limit{};
};

// Stretched blits with a side beyond this are refused, which keeps the stepping arithmetic
// within 64 bits.
constexpr int64_t kMaxStretchSide = int64_t{1} << 28;

// Fills g for a blit of sourceRect (null: the whole source surface) to (x, y), stretched to
// destSize (null or the rectangle's own size: 1:1), clipped to clip (null: the destination
// surface; a given clip is narrowed to the destination surface in place). A 1:1 blit also keeps
// the source inside its surface, moving the destination with it. Returns 0 when something is
// left to draw, 1 otherwise.
int ClipBlt(BlitGeometry& g, const RECT& destSurface, const RECT& sourceSurface, int x, int y,
            const RECT* sourceRect, const int* destSize, RECT* clip, bool mirror);
