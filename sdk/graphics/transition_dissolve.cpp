// Dissolves: small cells shown or shifted by fresh random draws on every call, so two calls with
// the same arguments draw different pictures. One draw per cell, in row-major order, drawn or not.
#include <cmath>

#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"
#include "sdk/graphics/transition_random.h"

namespace {

int RandomByte() { return TransitionRandom() & 255; }

// Cells that lose the draw show content shifted by up to J - 1 pixels, fewer as the phase grows.
void NoiseCells(TransitionPieces& p) {
  const int phase = p.P();
  const int j = phase < 128 ? 10 : phase < 200 ? 6 : phase < 230 ? 4 : 2;
  p.ForEachCell(4, 2, [&](int x, int y, int cw, int ch) {
    if (RandomByte() <= phase) {
      p.DrawInPlace(x, y, x + cw, y + ch);
      return;
    }
    int64_t a = TransitionRandom() % j;
    int64_t b = TransitionRandom() % j;
    if (x + a + cw > p.W()) a = 0;
    if (y + b + ch > p.H()) b = 0;
    p.Draw(x + a, y + b, x + a + cw, y + b + ch, p.X() + x, p.Y() + y);
  });
}

// A 4 x 2 cell shows when its draw is at most the threshold of its position.
template <class Threshold>
void Dissolve(TransitionPieces& p, Threshold&& threshold) {
  p.ForEachCell(4, 2, [&](int x, int y, int cw, int ch) {
    if (RandomByte() <= threshold(int64_t{x}, int64_t{y})) p.DrawInPlace(x, y, x + cw, y + ch);
  });
}

// Cells inside a circle about the centre, distances in half pixels, with a random fringe.
void DissolveCircle(TransitionPieces& p) {
  const int64_t rad = (p.P() * (int64_t{p.W()} + p.H())) >> 8;
  p.ForEachCell(2, 2, [&](int x, int y, int cw, int ch) {
    const int r = RandomByte();
    const double dx = 2.0 * x - p.W(), dy = 2.0 * y - p.H();
    if (rad - std::sqrt(dx * dx + dy * dy) >= r) p.DrawInPlace(x, y, x + cw, y + ch);
  });
}

}  // namespace

VREL_TRANSITION_ENTRY(TransNoiseCells, NoiseCells(p))
VREL_TRANSITION_ENTRY(TransRandomCells, Dissolve(p, [&](int64_t, int64_t) { return int64_t{p.P()}; }))
VREL_TRANSITION_ENTRY(TransDissolveDown,
                      Dissolve(p, [&](int64_t, int64_t y) { return ((p.H() - y - 1) << 8) / p.H() + 2 * p.P() - 256; }))
VREL_TRANSITION_ENTRY(TransDissolveUp,
                      Dissolve(p, [&](int64_t, int64_t y) { return (y << 8) / p.H() + 2 * p.P() - 256; }))
VREL_TRANSITION_ENTRY(TransDissolveRight,
                      Dissolve(p, [&](int64_t x, int64_t) { return ((p.W() - x - 1) << 8) / p.W() + 2 * p.P() - 256; }))
VREL_TRANSITION_ENTRY(TransDissolveLeft,
                      Dissolve(p, [&](int64_t x, int64_t) { return (x << 8) / p.W() + 2 * p.P() - 256; }))
VREL_TRANSITION_ENTRY(TransDissolveCircle, DissolveCircle(p))
