// Reveals drawn as one-pixel lines: interlaced wipes, torn wipes, blinds and slanted stripes.
#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"

namespace {

// Lines along one axis: Across draws a span of line i; "rows" draws row i over columns [a, b),
// "columns" column i over rows [a, b). along is the length of a line, count the number of lines.
struct Lines {
  TransitionPieces& p;
  bool rows;
  int64_t along() const { return rows ? p.W() : p.H(); }
  int64_t count() const { return rows ? p.H() : p.W(); }
  void Span(int64_t i, int64_t a, int64_t b) const {
    if (i >= count()) return;  // lines past the source edge draw nothing
    if (rows)
      p.DrawInPlace(a, i, b, i + 1);
    else
      p.DrawInPlace(i, a, i + 1, b);
  }
};

// Even lines wipe in from the start, odd lines from the end (one unit longer).
void Interlace(TransitionPieces& p, bool rows) {
  const Lines l{p, rows};
  const int64_t n = l.along(), e = (p.P() * n) >> 8;
  for (int64_t i = 0; i < l.count(); i += 2) {
    l.Span(i, 0, TransitionMin(n, e));
    l.Span(i + 1, n - e - 1, n);
  }
}

// Lines 0 and 2 of every 4 in the first half of the phase, lines 1 and 3 in the second.
void Interlace4(TransitionPieces& p, bool rows) {
  const Lines l{p, rows};
  const int64_t n = l.along();
  const int64_t d = (p.P() * n) >> 7;
  for (int64_t i = 0; i < l.count(); i += 4) {
    l.Span(i, 0, TransitionMin(n, d));
    l.Span(i + 2, TransitionMax(0, n - d - 1), n);
  }
  if (p.P() <= 128) return;
  const int64_t f = ((p.P() - 128) * n) >> 7;
  for (int64_t k = 3; k - 3 < l.count(); k += 4) {
    l.Span(k - 2, 0, TransitionMin(n, f));
    l.Span(k, TransitionMax(0, n - f - 1), n);
  }
}

// The six torn rows' sideways shifts.
void TearShifts(int64_t w, int64_t (&o)[6]) {
  const int64_t a = w / 9, b = (2 * w) / 9, c = w / 3;
  const int64_t shifts[6] = {-a, a, -b, b, -c, c};
  for (int j = 0; j < 6; ++j) o[j] = shifts[j];
}

void TornRow(TransitionPieces& p, int64_t row, int64_t shift) {
  if (row < 0 || row >= p.H()) return;
  p.Draw(0, row, p.W(), row + 1, p.X() + shift, p.Y() + row);
}

void TearDown(TransitionPieces& p) {
  const int64_t e = (p.P() * int64_t{p.H()}) >> 8;
  int64_t o[6];
  TearShifts(p.W(), o);
  p.DrawInPlace(0, 0, p.W(), TransitionMin(p.H(), e));
  for (int j = 0; j < 6; ++j) TornRow(p, e + j, o[j]);
}

void TearUp(TransitionPieces& p) {
  const int64_t t = p.H() - ((p.P() * int64_t{p.H()}) >> 8);
  int64_t o[6];
  TearShifts(p.W(), o);
  p.DrawInPlace(0, t, p.W(), p.H());
  for (int j = 0; j < 6; ++j) TornRow(p, t - 1 - j, o[j]);
}

// Line i shows when s >= its place in the period (or, reversed, its distance from the end).
void Blinds(TransitionPieces& p, bool rows, int period, bool reverse) {
  const Lines l{p, rows};
  const int64_t s = p.P() >> (period == 8 ? 5 : 4);
  const int64_t mask = period - 1;
  for (int64_t i = 0; i < l.count(); ++i) {
    const int64_t place = reverse ? mask - (i & mask) : (i & mask);
    if (s >= place) l.Span(i, 0, l.along());
  }
}

// Stripes of period P and width s per row, the row's start moving left by y mod (P - 1).
void Slant(TransitionPieces& p, int period) {
  const int64_t s = p.P() >> (period == 8 ? 5 : 4);
  if (s == 0) return;
  for (int64_t y = 0; y < p.H(); ++y) {
    for (int64_t q = -(y % (period - 1)); q < p.W(); q += period) {
      const int64_t left = TransitionMax(q, 0), right = TransitionMin(q + s, p.W());
      p.DrawInPlace(left, y, right, y + 1);
    }
  }
}

}  // namespace

VREL_TRANSITION_ENTRY(TransInterlaceRows, Interlace(p, true))
VREL_TRANSITION_ENTRY(TransInterlaceColumns, Interlace(p, false))
VREL_TRANSITION_ENTRY(TransInterlaceRows4, Interlace4(p, true))
VREL_TRANSITION_ENTRY(TransInterlaceColumns4, Interlace4(p, false))
VREL_TRANSITION_ENTRY(TransTearDown, TearDown(p))
VREL_TRANSITION_ENTRY(TransTearUp, TearUp(p))
VREL_TRANSITION_ENTRY(TransBlindsX8, Blinds(p, false, 8, false))
VREL_TRANSITION_ENTRY(TransBlindsX8Reverse, Blinds(p, false, 8, true))
VREL_TRANSITION_ENTRY(TransBlindsX16, Blinds(p, false, 16, false))
VREL_TRANSITION_ENTRY(TransBlindsX16Reverse, Blinds(p, false, 16, true))
VREL_TRANSITION_ENTRY(TransBlindsY8, Blinds(p, true, 8, false))
VREL_TRANSITION_ENTRY(TransBlindsY8Reverse, Blinds(p, true, 8, true))
VREL_TRANSITION_ENTRY(TransBlindsY16, Blinds(p, true, 16, false))
VREL_TRANSITION_ENTRY(TransBlindsY16Reverse, Blinds(p, true, 16, true))
VREL_TRANSITION_ENTRY(TransSlant8, Slant(p, 8))
VREL_TRANSITION_ENTRY(TransSlant16, Slant(p, 16))
