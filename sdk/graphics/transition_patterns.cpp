// Reveals by ordered 4 x 4 patterns over cells of 1, 2, 4 or 8 pixels.
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

using Pattern = int[4][4];

// Clockwise from the top-left corner inward.
constexpr Pattern kSpiral = {{0, 1, 2, 3}, {11, 12, 13, 4}, {10, 15, 14, 5}, {9, 8, 7, 6}};
// Clockwise outward from the upper-left of the four middle cells.
constexpr Pattern kCentre = {{6, 7, 8, 9}, {5, 0, 1, 10}, {4, 3, 2, 11}, {15, 14, 13, 12}};

void Dither(TransitionPieces& p, const Pattern& t, int c) {
  const int s = p.P() >> 4;
  p.ForEachCell(c, c, [&](int x, int y, int cw, int ch) {
    if (s >= t[(y / c) & 3][(x / c) & 3]) p.DrawInPlace(x, y, x + cw, y + ch);
  });
}

}  // namespace

VREL_TRANSITION_ENTRY(TransDitherSpiral1, Dither(p, kSpiral, 1))
VREL_TRANSITION_ENTRY(TransDitherCentre1, Dither(p, kCentre, 1))
VREL_TRANSITION_ENTRY(TransDitherSpiral2, Dither(p, kSpiral, 2))
VREL_TRANSITION_ENTRY(TransDitherCentre2, Dither(p, kCentre, 2))
VREL_TRANSITION_ENTRY(TransDitherSpiral4, Dither(p, kSpiral, 4))
VREL_TRANSITION_ENTRY(TransDitherCentre4, Dither(p, kCentre, 4))
VREL_TRANSITION_ENTRY(TransDitherSpiral8, Dither(p, kSpiral, 8))
VREL_TRANSITION_ENTRY(TransDitherCentre8, Dither(p, kCentre, 8))
