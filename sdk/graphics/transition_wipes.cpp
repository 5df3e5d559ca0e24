// Wipes: staggered bands, and smears that stretch the wipe edge over the rest of the destination.
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

// Band i of c lines starts one unit of f after band i - 1 and grows a line per unit up to c.
// Draws each band's span [a, b) along the axis of length n.
template <class Span>
void Bands(int64_t n, int phase, bool fromStart, int64_t c, Span&& span) {
  const int64_t count = (n + c + 1) / c;
  const int64_t f = (phase * (c + count)) / 256;
  for (int64_t i = 0; i < count && i < f; ++i) {
    const int64_t l = TransitionMin(c, f - i);
    int64_t a = fromStart ? i * c : n - i * c - l;
    int64_t b = a + l;
    if (b > n) b = n - 1;
    if (a < 0) a = 0;
    span(a, b);
  }
}

// The smear along one axis of source length n: shown is [n - e, n) from the end or [0, e) from
// the start; the line at the wipe edge is stretched from the shown part to the destination's
// edge: from the end, over destination 0 .. origin + n - e; from the start, over
// origin + e .. destSize. span(a, b, destPos) draws source lines [a, b) at destPos along the
// axis; smear(line, destPos, length) draws the one line stretched.
template <class Span, class Smear>
void SmearWipe(int64_t n, int64_t origin, int64_t destSize, int phase, bool fromEnd, Span&& span, Smear&& smear) {
  const int64_t e = (n * phase) / 256;
  if (fromEnd) {
    if (e > 0) span(n - e, n, origin + n - e);
    smear(n - e - 1, 0, origin + n - e);
  } else {
    if (e > 0) span(0, e, origin);
    smear(e, origin + e, destSize - e - origin);
  }
}

int DestWidth(CDrawTarget& d) {
  int w = 0, h = 0;
  d.GetSize(&w, &h);
  return w;
}

int DestHeight(CDrawTarget& d) {
  int w = 0, h = 0;
  d.GetSize(&w, &h);
  return h;
}

}  // namespace

int TransBandWipeX(CDrawTarget* s, CDrawTarget* d, int x, int y, int phase, uint8_t fromStart, int mode, int alpha,
                   int bandSize, RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [&](TransitionPieces& p) {
    if (bandSize <= 0) return;
    Bands(p.W(), phase, fromStart != 0, bandSize, [&](int64_t a, int64_t b) { p.DrawInPlace(a, 0, b, p.H()); });
  });
}

int TransBandWipeY(CDrawTarget* s, CDrawTarget* d, int x, int y, int phase, uint8_t fromStart, int mode, int alpha,
                   int bandSize, RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [&](TransitionPieces& p) {
    if (bandSize <= 0) return;
    Bands(p.H(), phase, fromStart != 0, bandSize, [&](int64_t a, int64_t b) { p.DrawInPlace(0, a, p.W(), b); });
  });
}

int TransSmearWipeX(CDrawTarget* s, CDrawTarget* d, int x, int y, int phase, uint8_t fromEnd, int mode, int alpha,
                    RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [&](TransitionPieces& p) {
    SmearWipe(
        p.W(), p.X(), DestWidth(*d), phase, fromEnd != 0,
        [&](int64_t a, int64_t b, int64_t at) { p.Draw(a, 0, b, p.H(), at, p.Y()); },
        [&](int64_t line, int64_t at, int64_t length) {
          // The stretched column is cut to the source.
          p.DrawStretched(TransitionMax(line, 0), 0, TransitionMin(line + 1, p.W()), p.H(), at, p.Y(), length, p.H());
        });
  });
}

int TransSmearWipeY(CDrawTarget* s, CDrawTarget* d, int x, int y, int phase, uint8_t fromEnd, int mode, int alpha,
                    RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [&](TransitionPieces& p) {
    SmearWipe(
        p.H(), p.Y(), DestHeight(*d), phase, fromEnd != 0,
        [&](int64_t a, int64_t b, int64_t at) { p.Draw(0, a, p.W(), b, p.X(), at); },
        [&](int64_t line, int64_t at, int64_t length) {
          p.DrawStretched(0, TransitionMax(line, 0), p.W(), TransitionMin(line + 1, p.H()), p.X(), at, p.W(), length);
        });
  });
}

#define VREL_WIPE_ENTRY(name, call) \
  int name(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) { return call; }

VREL_WIPE_ENTRY(TransBandsRight16, TransBandWipeX(s, d, x, y, phase, 1, mode, alpha, 16, clip))
VREL_WIPE_ENTRY(TransBandsLeft16, TransBandWipeX(s, d, x, y, phase, 0, mode, alpha, 16, clip))
VREL_WIPE_ENTRY(TransBandsRight8, TransBandWipeX(s, d, x, y, phase, 1, mode, alpha, 8, clip))
VREL_WIPE_ENTRY(TransBandsLeft8, TransBandWipeX(s, d, x, y, phase, 0, mode, alpha, 8, clip))
VREL_WIPE_ENTRY(TransBandsDown16, TransBandWipeY(s, d, x, y, phase, 1, mode, alpha, 16, clip))
VREL_WIPE_ENTRY(TransBandsUp16, TransBandWipeY(s, d, x, y, phase, 0, mode, alpha, 16, clip))
VREL_WIPE_ENTRY(TransBandsDown8, TransBandWipeY(s, d, x, y, phase, 1, mode, alpha, 8, clip))
VREL_WIPE_ENTRY(TransBandsUp8, TransBandWipeY(s, d, x, y, phase, 0, mode, alpha, 8, clip))
VREL_WIPE_ENTRY(TransSmearLeft, TransSmearWipeX(s, d, x, y, phase, 1, mode, alpha, clip))
VREL_WIPE_ENTRY(TransSmearRight, TransSmearWipeX(s, d, x, y, phase, 0, mode, alpha, clip))
VREL_WIPE_ENTRY(TransSmearUp, TransSmearWipeY(s, d, x, y, phase, 1, mode, alpha, clip))
VREL_WIPE_ENTRY(TransSmearDown, TransSmearWipeY(s, d, x, y, phase, 0, mode, alpha, clip))
