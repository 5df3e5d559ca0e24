// Reveals by a growing shape: squares from the centre or a corner, discs from an edge or the
// centre drawn as one-pixel rows, and squares growing inside every cell of a grid.
#include <cmath>

#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

using std::int64_t;

int64_t SquareSide(const TransitionPieces& p) { return (p.P() * TransitionMax(p.W(), p.H())) >> 8; }

void SquareCentre(TransitionPieces& p) {
  const int64_t s = SquareSide(p), half = s >> 1;
  const int64_t left = TransitionMax(0, (p.W() >> 1) - half);
  const int64_t top = TransitionMax(0, (p.H() >> 1) - half);
  const int64_t width = left + s > p.W() ? p.W() - left : s;
  const int64_t height = top + s > p.H() ? p.H() - top : s;
  p.DrawInPlace(left, top, left + width, top + height);
}

// A square of side s grown from a corner: right / bottom set = from that edge.
void SquareCorner(TransitionPieces& p, bool right, bool bottom) {
  const int64_t s = SquareSide(p);
  const int64_t left = right ? TransitionMax(0, p.W() - s) : 0;
  const int64_t top = bottom ? TransitionMax(0, p.H() - s) : 0;
  p.DrawInPlace(left, top, left + TransitionMin(s, p.W() - left), top + TransitionMin(s, p.H() - top));
}

// The disc's diameter from the phase and the farthest reach it must cover.
struct Disc {
  int64_t r;   // radius in rows
  int64_t r2;  // (D * D) / 4
};

Disc MakeDisc(int64_t diameter) { return Disc{diameter >> 1, (diameter * diameter) / 4}; }

// 2 * sqrt(a * a + (b * b) / 4), truncated: the reach of a disc centred on the middle of an edge
// of length b, a being the source's extent away from that edge.
int64_t EdgeReach(int64_t a, int64_t b) {
  return static_cast<int64_t>(2 * std::sqrt(static_cast<double>(a * a + (b * b) / 4)));
}

int64_t Chord(const Disc& d, int64_t k) {
  return static_cast<int64_t>(2 * std::sqrt(static_cast<double>(d.r2 - k * k)));
}

int64_t HalfChord(const Disc& d, int64_t k) {
  return static_cast<int64_t>(std::sqrt(static_cast<double>(d.r2 - k * k)));
}

// Row y showing a chord of width c centred on the middle column.
void CentredChord(TransitionPieces& p, int64_t y, int64_t c) {
  const int64_t left = TransitionMax(0, (p.W() >> 1) - (c >> 1));
  p.DrawInPlace(left, y, left + TransitionMin(c, p.W() - left), y + 1);
}

void CircleTop(TransitionPieces& p) {
  const Disc d = MakeDisc((p.P() * EdgeReach(p.H(), p.W())) >> 8);
  for (int64_t k = 0; k < d.r && k < p.H(); ++k) CentredChord(p, k, Chord(d, k));
}

void CircleBottom(TransitionPieces& p) {
  const Disc d = MakeDisc((p.P() * EdgeReach(p.H(), p.W())) >> 8);
  // Row h - k for k = 0 lies below the source.
  for (int64_t k = 1; k < d.r && k <= p.H(); ++k) CentredChord(p, p.H() - k, Chord(d, k));
}

// The rows (h >> 1) - r .. (h >> 1) + r - 1 that lie in the source, with k from the middle row.
template <class F>
void DiscRows(const TransitionPieces& p, const Disc& d, F&& f) {
  const int64_t mid = p.H() >> 1;
  const int64_t first = TransitionMax(0, mid - d.r), last = TransitionMin(p.H() - 1, mid + d.r - 1);
  for (int64_t y = first; y <= last; ++y) f(y, y - mid);
}

void CircleLeft(TransitionPieces& p) {
  const Disc d = MakeDisc((p.P() * EdgeReach(p.W(), p.H())) >> 8);
  DiscRows(p, d, [&](int64_t y, int64_t k) { p.DrawInPlace(0, y, TransitionMin(p.W(), HalfChord(d, k)), y + 1); });
}

void CircleRight(TransitionPieces& p) {
  const Disc d = MakeDisc((p.P() * EdgeReach(p.W(), p.H())) >> 8);
  DiscRows(p, d, [&](int64_t y, int64_t k) {
    const int64_t c = HalfChord(d, k);
    const int64_t left = TransitionMax(0, p.W() - c);
    p.DrawInPlace(left, y, left + TransitionMin(c, p.W() - left), y + 1);
  });
}

void CircleCentre(TransitionPieces& p) {
  const Disc d = MakeDisc((p.P() * (int64_t{p.W()} + p.H())) >> 8);
  DiscRows(p, d, [&](int64_t y, int64_t k) { CentredChord(p, y, Chord(d, k)); });
}

// In every c x c cell a square of side s grows from the cell's top-left corner.
void GrowCells(TransitionPieces& p, int c, int shift) {
  const int64_t s = p.P() >> shift;
  if (s == 0) return;
  p.ForEachCell(c, c, [&](int x, int y, int, int) {
    p.DrawInPlace(x, y, x + TransitionMin(s, p.W() - x), y + TransitionMin(s, p.H() - y));
  });
}

}  // namespace

VREL_TRANSITION_ENTRY(TransSquareCentre, SquareCentre(p))
VREL_TRANSITION_ENTRY(TransSquareTopLeft, SquareCorner(p, false, false))
VREL_TRANSITION_ENTRY(TransSquareTopRight, SquareCorner(p, true, false))
VREL_TRANSITION_ENTRY(TransSquareBottomLeft, SquareCorner(p, false, true))
VREL_TRANSITION_ENTRY(TransSquareBottomRight, SquareCorner(p, true, true))
VREL_TRANSITION_ENTRY(TransCircleTop, CircleTop(p))
VREL_TRANSITION_ENTRY(TransCircleBottom, CircleBottom(p))
VREL_TRANSITION_ENTRY(TransCircleLeft, CircleLeft(p))
VREL_TRANSITION_ENTRY(TransCircleRight, CircleRight(p))
VREL_TRANSITION_ENTRY(TransCircleCentre, CircleCentre(p))
VREL_TRANSITION_ENTRY(TransGrowCells4, GrowCells(p, 4, 6))
VREL_TRANSITION_ENTRY(TransGrowCells8, GrowCells(p, 8, 5))
VREL_TRANSITION_ENTRY(TransGrowCells16, GrowCells(p, 16, 4))
