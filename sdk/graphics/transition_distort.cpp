// Distortions drawn line by line: bulges stretching every row or column about the centre line,
// rows jittered by fresh random shifts, and rows shifted along a cosine wave.
#include <cmath>

#include "sdk/graphics/cos_table.h"
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"
#include "sdk/graphics/transition_random.h"

namespace {

// The stretch of line i of n: 1 at the edges up to 1 + 2k in the middle line, k = (256 - p) / 256.
double BulgeStretch(const CCosTable& cosine, int64_t i, int64_t n, int phase) {
  const double k = (256 - phase) / 256.0;
  const int64_t a = cosine[static_cast<int>((((i * 256) / n) - 128) & 511)];
  return 1 + static_cast<double>(2 * a) * k / 65536;
}

void BulgeRows(TransitionPieces& p) {
  static const CCosTable cosine;
  for (int64_t i = 0; i < p.H(); ++i) {
    const double s = BulgeStretch(cosine, i, p.H(), p.P());
    const int64_t shift = static_cast<int64_t>((s - 1) * (p.W() >> 1));
    p.DrawStretched(0, i, p.W(), i + 1, p.X() - shift, p.Y() + i, static_cast<int64_t>(p.W() * s), 1);
  }
}

void BulgeColumns(TransitionPieces& p) {
  static const CCosTable cosine;
  for (int64_t j = 0; j < p.W(); ++j) {
    const double s = BulgeStretch(cosine, j, p.W(), p.P());
    const int64_t shift = static_cast<int64_t>((s - 1) * (p.H() >> 1));
    p.DrawStretched(j, 0, j + 1, p.H(), p.X() + j, p.Y() - shift, 1, static_cast<int64_t>(p.H() * s));
  }
}

void JitterRows(TransitionPieces& p) {
  const int q = 256 - p.P();
  for (int64_t i = 0; i < p.H(); ++i)
    p.Draw(0, i, p.W(), i + 1, p.X() + (TransitionRandom() % q) - (q >> 1), p.Y() + i);
}

// Every row shifted by the cosine of its angle index (8y for the ripples) times the amplitude,
// 255 - p (doubled for the waves); the inverse forms start half a turn on.
void Wave(TransitionPieces& p, int64_t rowStep, int64_t offset, int doubling) {
  static const CCosTable cosine;
  const int64_t amplitude = 255 - p.P();
  for (int64_t y = 0; y < p.H(); ++y) {
    const int64_t c = cosine[static_cast<int>((rowStep * y + offset) & 511)];
    p.Draw(0, y, p.W(), y + 1, p.X() + (((c * amplitude) << doubling) >> 16), p.Y() + y);
  }
}

}  // namespace

VREL_TRANSITION_ENTRY(TransBulgeRows, BulgeRows(p))
VREL_TRANSITION_ENTRY(TransBulgeColumns, BulgeColumns(p))
VREL_TRANSITION_ENTRY(TransJitterRows, JitterRows(p))
VREL_TRANSITION_ENTRY(TransWave, Wave(p, 1, 0, 1))
VREL_TRANSITION_ENTRY(TransWaveInverse, Wave(p, 1, -256, 1))
VREL_TRANSITION_ENTRY(TransRipple, Wave(p, 8, 0, 0))
VREL_TRANSITION_ENTRY(TransRippleInverse, Wave(p, 8, -256, 0))
