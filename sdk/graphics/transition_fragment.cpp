// Fragments: cells that start displaced, turned about the centre or dropped, and converge on their
// places as the phase grows. The displacements come from the phase, the cell's place and the fixed
// cosine and random tables only, so a phase always draws the same picture. Products that outgrow
// 32 bits on large sources are formed in 64 bits.
#include <cmath>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "sdk/graphics/transition.h"
#include "sdk/graphics/transition_frame.h"
#include "sdk/graphics/transition_random.h"

namespace {

// What every fragment cell sees: the tables, the remaining travel and the turning angle, and the
// cosines that depend on the phase alone, looked up once per call rather than once per cell.
struct Fragments {
  Fragments(TransitionPieces& pieces, std::span<const uint8_t> table, const CCosTable& cosine, int64_t travel)
      : p(pieces),
        r(table),
        c(cosine),
        l(travel - ((p.P() * travel) >> 8)),
        m(2 * (256 - int64_t{p.P()})),
        cosM(C(m)),
        sinM(C(m - 128)),
        cosQuarterM(C(m >> 2)),
        cosSwing(C(-2 * int64_t{p.P()})),
        sinSwing(C(-2 * int64_t{p.P()} - 128)) {}

  TransitionPieces& p;
  std::span<const uint8_t> r;
  const CCosTable& c;
  int64_t l;  // remaining travel: w + h shrinking to 0
  int64_t m;  // turning angle index: 2 (256 - p)
  int64_t cosM, sinM;  // C(m), C(m - 128)
  int64_t cosQuarterM;  // C(m / 4)
  int64_t cosSwing, sinSwing;  // C(-2p), C(-2p - 128)

  int64_t R(int64_t i) const { return r[static_cast<size_t>(i & 255)]; }
  int64_t C(int64_t i) const { return c[static_cast<int>(i & 511)]; }
  // A cell corner's offset from the source centre.
  int64_t U(int x) const { return x - (p.W() / 2); }
  int64_t V(int y) const { return y - (p.H() / 2); }
};

struct Unit {
  int64_t n;   // trunc of the distance from the centre
  int64_t un;  // the direction scaled to length 256, or 0 at the centre
  int64_t vn;
};

// a / b truncated toward zero, in 32 bits when both fit: the same quotient, found faster, which
// counts at one division pair per cell.
int64_t Quotient(int64_t a, int64_t b) {
  if (a >= INT32_MIN && a <= INT32_MAX && b <= INT32_MAX) return static_cast<int32_t>(a) / static_cast<int32_t>(b);
  return a / b;
}

Unit UnitOffset(int64_t u, int64_t v) {
  const auto n = static_cast<int64_t>(std::sqrt(static_cast<double>(u * u + v * v)));
  if (n == 0) return Unit{0, 0, 0};
  return Unit{n, Quotient(u * 256, n), Quotient(v * 256, n)};
}

// UnitOffset of the cells x0, x0 + cw, ... (count of them) of grid row y: the square root and
// the two quotients are what the outward moves cost. With SSE2 two cells go at a time, in double:
// on a source up to 2^20 a side the sum of squares is exact, the square root is the same
// correctly rounded one, and a correctly rounded quotient of integers below 2^30 lands on an
// integer only when the exact quotient is that integer, so truncating gives the same units.
void UnitOffsets(const Fragments& f, int64_t x0, int cw, int64_t y, int count, Unit* out) {
  int k = 0;
#if defined(__SSE2__)
  constexpr int64_t kExact = int64_t{1} << 20;
  if (f.p.W() <= kExact && f.p.H() <= kExact) {
    const double v = static_cast<double>(f.V(static_cast<int>(y)));
    const __m128d vv = _mm_set1_pd(v * v);
    const __m128d v256 = _mm_set1_pd(v * 256);
    const __m128d k256 = _mm_set1_pd(256);
    for (; k + 2 <= count; k += 2) {
      const int64_t x = x0 + int64_t{k} * cw;
      const __m128d u = _mm_set_pd(static_cast<double>(f.U(static_cast<int>(x + cw))),
                                   static_cast<double>(f.U(static_cast<int>(x))));
      const __m128i n = _mm_cvttpd_epi32(_mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(u, u), vv)));
      const __m128d dn = _mm_cvtepi32_pd(n);
      int32_t ns[4], uns[4], vns[4];
      _mm_storeu_si128(reinterpret_cast<__m128i*>(ns), n);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(uns), _mm_cvttpd_epi32(_mm_div_pd(_mm_mul_pd(u, k256), dn)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(vns), _mm_cvttpd_epi32(_mm_div_pd(v256, dn)));
      for (int i = 0; i < 2; ++i) out[k + i] = ns[i] == 0 ? Unit{0, 0, 0} : Unit{ns[i], uns[i], vns[i]};
    }
  }
#endif
  for (; k < count; ++k) out[k] = UnitOffset(f.U(static_cast<int>(x0 + int64_t{k} * cw)), f.V(static_cast<int>(y)));
}

// A cell's destination point relative to (X, Y): {x + dx, y + dy}.
struct Point64 {
  int64_t x;
  int64_t y;
};

// Where the cell at (x, y) goes; d is its UnitOffset when the move asks for units.
using Move = Point64 (*)(const Fragments& f, int x, int y, const Unit& d);

// Runs a fragment effect over cw x ch cells, each drawn where move(f, x, y, d) puts it; the move
// is a template argument so that it is compiled into the cell loop.
template <Move move, bool withUnits = false>
void FragmentCells(TransitionPieces& p, int cw, int ch) {
  InitTransitionRandomTable();
  const std::span<const uint8_t> table = TransitionRandomTable();
  if (table.size() < 256) return;  // no table: nothing drawn for this call
  const Fragments f(p, table, TransitionCosTable(), int64_t{p.W()} + p.H());
  // A stretch of cells at a time: their places first, then their drawing.
  constexpr int kStretch = 64;
  Unit units[kStretch] = {};
  Point64 at[kStretch];
  for (int64_t y = 0; y < p.H(); y += ch) {
    const int h = static_cast<int>(TransitionMin(ch, p.H() - y));
    for (int64_t x0 = 0; x0 < p.W(); x0 += int64_t{kStretch} * cw) {
      const int count = static_cast<int>((TransitionMin(p.W(), x0 + int64_t{kStretch} * cw) - x0 + cw - 1) / cw);
      if constexpr (withUnits) UnitOffsets(f, x0, cw, y, count, units);
      for (int k = 0; k < count; ++k)
        at[k] = move(f, static_cast<int>(x0 + int64_t{k} * cw), static_cast<int>(y), units[k]);
      p.DrawCellRow(x0, y, cw, h, at, count);
    }
  }
}

Point64 Scatter(const Fragments& f, int x, int y, const Unit&) {
  return {x + ((f.l * f.R(x + y)) >> 8), y + ((f.l * f.R(x + y + 1)) >> 8)};
}

// The outward random displacement along the cell's direction d from the centre.
Point64 Outward(const Fragments& f, int x, int y, const Unit& d) {
  return {(f.R(x + 13 * int64_t{y}) * d.un * f.l) >> 16, (f.R(x + 19 * int64_t{y} + 1) * d.vn * f.l) >> 16};
}

Point64 Explode(const Fragments& f, int x, int y, const Unit& unit) {
  const Point64 d = Outward(f, x, y, unit);
  return {x + d.x, y + d.y};
}

Point64 ExplodeSwing(const Fragments& f, int x, int y, const Unit& unit) {
  const Point64 d = Outward(f, x, y, unit);
  return {x + ((d.x * f.cosSwing) >> 16), y + ((d.y * f.sinSwing) >> 16)};
}

Point64 RadialSwing(const Fragments& f, int x, int y, const Unit& d) {
  const int64_t u = f.U(x), v = f.V(y);
  if (d.n == 0) return {x, y};
  const int64_t a = ((f.sinM * u * 256) >> 16) / d.n;
  const int64_t b = ((f.cosM * v * 256) >> 16) / d.n;
  return {x + ((a * f.l) >> 8), y + ((b * f.l) >> 8)};
}

Point64 RadialZoom(const Fragments& f, int x, int y, const Unit&) {
  // The x factor turns by m / 4, the y factor by m - 128: the two axes move differently.
  constexpr int64_t kScale = 16777216;
  return {x + MulDiv64(f.l, f.U(x) * f.cosQuarterM, kScale), y + MulDiv64(f.l, f.V(y) * f.sinM, kScale)};
}

// The cell's corner turned about the centre by the angle of m; the cell itself is not turned.
Point64 Turned(const Fragments& f, int x, int y, const Unit&) {
  const int64_t u = f.U(x), v = f.V(y);
  const int64_t cs = f.cosM, sn = f.sinM;
  return {(f.p.W() / 2) + ((u * cs) >> 16) - ((sn * v) >> 16), (f.p.H() / 2) + ((v * cs) >> 16) + ((u * sn) >> 16)};
}

Point64 RotateScatter(const Fragments& f, int x, int y, const Unit& unit) {
  const Point64 at = Turned(f, x, y, unit);
  const Point64 d = Outward(f, x, y, unit);
  return {at.x + ((d.x * f.cosM) >> 16), at.y + ((d.y * f.sinM) >> 16)};
}

// The random offsets of the settling 4 x 4 cells.
struct SettleOffsets {
  int64_t a;
  int64_t b;
};

SettleOffsets Settled(const Fragments& f, int x, int y) {
  return {f.R(13 * int64_t{y >> 2} + (x >> 2)), f.R(19 * int64_t{y >> 2} + (x >> 2))};
}

Point64 Settle(const Fragments& f, int x, int y, const Unit&) {
  const SettleOffsets o = Settled(f, x, y);
  const int64_t k = (f.p.P() >> 1) + 1;
  return {x + (o.a - 128) / k, y + (o.b - 128) / k};
}

Point64 SettleFall(const Fragments& f, int x, int y, const Unit&) {
  const SettleOffsets o = Settled(f, x, y);
  const int64_t q = 256 - f.p.P();
  return {x + ((q * (o.a - 128)) >> 11), y + ((q * o.b) >> 11)};
}

// c x c blocks slide down into place, each starting at its own moment: a block shows its top l
// rows at the bottom of its place.
void BlockDrop(TransitionPieces& p, int c) {
  InitTransitionRandomTable();
  const std::span<const uint8_t> r = TransitionRandomTable();
  if (r.size() < 256) return;
  p.ForEachCell(c, c, [&](int x, int y, int cw, int ch) {
    const int64_t v = p.P() + (r[static_cast<size_t>((13 * int64_t{y} + (x >> 3)) & 255)] >> 1);
    const int64_t l = TransitionMin(c == 8 ? (v >> 4) - 8 : (v >> 3) - 16, c);
    if (l <= 0) return;
    p.Draw(x, y, x + cw, y + TransitionMin(l, ch), p.X() + x, p.Y() + y + c - l);
  });
}

}  // namespace

VREL_TRANSITION_ENTRY(TransScatter, FragmentCells<Scatter>(p, 4, 2))
VREL_TRANSITION_ENTRY(TransExplode, FragmentCells<Explode, true>(p, 4, 2))
VREL_TRANSITION_ENTRY(TransExplodeFine, FragmentCells<Explode, true>(p, 2, 2))
VREL_TRANSITION_ENTRY(TransExplodeSwing, FragmentCells<ExplodeSwing, true>(p, 4, 2))
VREL_TRANSITION_ENTRY(TransRadialSwing, FragmentCells<RadialSwing, true>(p, 4, 2))
VREL_TRANSITION_ENTRY(TransRadialZoom, FragmentCells<RadialZoom>(p, 4, 2))
VREL_TRANSITION_ENTRY(TransRotate2, FragmentCells<Turned>(p, 2, 2))
VREL_TRANSITION_ENTRY(TransRotate4, FragmentCells<Turned>(p, 4, 4))
VREL_TRANSITION_ENTRY(TransRotate8, FragmentCells<Turned>(p, 8, 8))
VREL_TRANSITION_ENTRY(TransRotateScatter, FragmentCells<RotateScatter, true>(p, 4, 4))
VREL_TRANSITION_ENTRY(TransBlockDrop8, BlockDrop(p, 8))
VREL_TRANSITION_ENTRY(TransBlockDrop16, BlockDrop(p, 16))
VREL_TRANSITION_ENTRY(TransSettle, FragmentCells<Settle>(p, 4, 4))
VREL_TRANSITION_ENTRY(TransSettleFall, FragmentCells<SettleFall>(p, 4, 4))
