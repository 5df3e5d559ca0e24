// Reveals by ordered 4 x 4 patterns over cells of 1, 2, 4 or 8 pixels.
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

using Pattern = int[4][4];

// Clockwise from the top-left corner inward.
constexpr Pattern kSpiral = {{0, 1, 2, 3}, {11, 12, 13, 4}, {10, 15, 14, 5}, {9, 8, 7, 6}};
// Clockwise outward from the upper-left of the four middle cells.
constexpr Pattern kCentre = {{6, 7, 8, 9}, {5, 0, 1, 10}, {4, 3, 2, 11}, {15, 14, 13, 12}};

// The cell size is a constant so that the pattern lookup is shifts, not divisions: the one-pixel
// forms visit every pixel of the source.
template <int c>
void Dither(TransitionPieces& p, const Pattern& t) {
  const int s = p.P() >> 4;
  if constexpr (c == 1) {
    for (int64_t y = 0; y < p.H(); ++y) {
      const int* row = t[y & 3];
      p.DrawRowPixels(y, [&](int64_t x) { return s >= row[x & 3]; });
    }
    return;
  }
  p.ForEachCell(c, c, [&](int x, int y, int cw, int ch) {
    if (s >= t[(y / c) & 3][(x / c) & 3]) p.DrawInPlace(x, y, x + cw, y + ch);
  });
}

}  // namespace

VREL_TRANSITION_ENTRY(TransDitherSpiral1, Dither<1>(p, kSpiral))
VREL_TRANSITION_ENTRY(TransDitherCentre1, Dither<1>(p, kCentre))
VREL_TRANSITION_ENTRY(TransDitherSpiral2, Dither<2>(p, kSpiral))
VREL_TRANSITION_ENTRY(TransDitherCentre2, Dither<2>(p, kCentre))
VREL_TRANSITION_ENTRY(TransDitherSpiral4, Dither<4>(p, kSpiral))
VREL_TRANSITION_ENTRY(TransDitherCentre4, Dither<4>(p, kCentre))
VREL_TRANSITION_ENTRY(TransDitherSpiral8, Dither<8>(p, kSpiral))
VREL_TRANSITION_ENTRY(TransDitherCentre8, Dither<8>(p, kCentre))
