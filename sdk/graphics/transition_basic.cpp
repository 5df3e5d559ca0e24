// The one-step effects: the mirrors, the cross-fade, and the mosaic and inversion passes.
#include <climits>

#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

void MirrorX(TransitionPieces& p) {
  for (int64_t i = 0; i < p.W(); ++i) p.Draw(i, 0, i + 1, p.H(), p.X() + p.W() - 1 - i, p.Y());
}

void MirrorY(TransitionPieces& p) {
  for (int64_t i = 0; i < p.H(); ++i) p.Draw(0, i, p.W(), i + 1, p.X(), p.Y() + p.H() - 1 - i);
}

int Saturate(int64_t v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }

// The whole source with the mode, then a pass of the destination over the source's area (cut to
// the clip); the source's far edges past the int range are held at its end.
template <class Pass>
int WholeThenPass(TransitionPieces& p, Pass&& pass) {
  const TransitionCall& c = p.Call();
  TransitionDraw(c, nullptr, c.x, c.y, nullptr);
  RECT area;
  SetRect(&area, c.x, c.y, Saturate(p.X() + p.W()), Saturate(p.Y() + p.H()));
  if (c.clip != nullptr) IntersectRect(&area, &area, c.clip);
  return pass(*c.dest, area);
}

}  // namespace

VREL_TRANSITION_ENTRY(TransMirrorX, MirrorX(p))
VREL_TRANSITION_ENTRY(TransMirrorY, MirrorY(p))

int TransCrossFade(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) {
  if (phase > 0 && !TransitionModeValid(mode)) return -1;
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [&](TransitionPieces&) {
    switch (mode) {
      case 0:
        return d->BlendBltFastRatio(s, x, y, phase, nullptr, nullptr, clip);
      case 1:
        return d->BlendBltRatio(s, x, y, phase, nullptr, nullptr, clip);
      case 2:
        return d->BlendBltAlphaRatio(s, x, y, phase, nullptr, nullptr, clip);
      default:
        return d->BlendBltNatural(s, x, y, phase, nullptr, nullptr, clip);
    }
  });
}

int TransMosaic(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [](TransitionPieces& p) {
    return WholeThenPass(
        p, [&](CDrawTarget& dest, const RECT& area) { return dest.MosaicBlt(((255 - p.P()) >> 2) + 1, &area); });
  });
}

int TransInvert(CDrawTarget* d, CDrawTarget* s, int x, int y, int phase, int mode, int alpha, RECT* clip) {
  return RunTransition({d, s, x, y, phase, mode, alpha, clip}, [](TransitionPieces& p) {
    return WholeThenPass(p, [](CDrawTarget& dest, const RECT& area) { return dest.FlushBlt(&area); });
  });
}
