// The quadrilateral-mapping blits and the rotate-zoom blit built on them. The destination quad is
// drawn in three bands of rows between its corners sorted by y; along its left and right outline
// the destination x and the source point are stepped per row in fixed point with 20 fraction
// bits, and each row's span is filled by stepping the source point from the left edge's value to
// the right edge's. All the arithmetic is in 64 bits, so corner coordinates anywhere in the
// 32-bit range neither overflow nor make the loops run over rows or columns outside the clip.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "sdk/graphics/cos_table.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

constexpr int kFractionBits = 20;
constexpr int64_t kOne = int64_t{1} << kFractionBits;

// Corner numbers: 0 left-top, 1 right-top, 2 left-bottom, 3 right-bottom. Each corner's two
// neighbours along the outline, then the corner opposite it.
constexpr int kNeighbours[4][3] = {{1, 2, 3}, {0, 3, 2}, {0, 3, 1}, {1, 2, 0}};

int64_t IntegerPart(int64_t fixed) { return fixed >> kFractionBits; }

// One side of the quad walked from the top corner: the corners of its path in order, the edge it
// is on, and the stepped values.
struct Chain {
  std::array<int, 4> path{};  // top, the near end, the opposite corner, the far end
  int edge = 0;               // the chain runs from path[edge] to path[edge + 1]
  int64_t x = 0, u = 0, v = 0;
  int64_t dx = 0, du = 0, dv = 0;

  int EdgeEnd() const { return path[edge + 1]; }

  // Takes up the current edge: the source point restarts at the edge's first corner while x
  // carries on from where the chain arrived. Each edge steps by its own height, so an edge that
  // spans two bands stays one straight line.
  void TakeEdge(const POINT* d, const POINT* s) {
    const int a = path[edge];
    const int b = path[edge + 1];
    u = int64_t{s[a].x} * kOne;
    v = int64_t{s[a].y} * kOne;
    const int64_t h = int64_t{d[b].y} - d[a].y;
    if (h > 0) {
      dx = (int64_t{d[b].x} - d[a].x) * kOne / h;
      du = (int64_t{s[b].x} - s[a].x) * kOne / h;
      dv = (int64_t{s[b].y} - s[a].y) * kOne / h;
    } else {
      dx = du = dv = 0;
    }
  }

  // k rows at once: the same values as k single steps.
  void Step(int64_t k) {
    x += dx * k;
    u += du * k;
    v += dv * k;
  }
};

struct Span {
  const CMemPlaneImpl& source;
  CMemPlaneImpl& dest;
  const RECT& clip;
  bool keyed;
  int direction;

  void Draw(int64_t y, const Chain& left, const Chain& right) const {
    const int64_t xl = IntegerPart(left.x);
    const int64_t xr = IntegerPart(right.x);
    const int64_t width = xr - xl;
    if (width <= 0) return;
    int64_t du = 0, dv = 0;
    if (width > 1) {
      const int64_t n = direction == 0 ? width - 1 : width;
      du = (right.u - left.u) / n;
      dv = (right.v - left.v) / n;
    }
    const int64_t first = std::max<int64_t>(xl, clip.left);
    const int64_t end = std::min<int64_t>(xr, clip.right);
    if (first >= end) return;
    int64_t u = left.u + du * (first - xl);
    int64_t v = left.v + dv * (first - xl);
    const int64_t sw = source.Width();
    const int64_t sh = source.Height();
    const uint32_t key = source.GetColorKey();
    uint32_t* row = dest.GetRow(static_cast<int>(y));
    for (int64_t x = first; x < end; ++x, u += du, v += dv) {
      const int64_t sx = IntegerPart(u);
      const int64_t sy = IntegerPart(v);
      if (sx < 0 || sy < 0 || sx >= sw || sy >= sh) continue;
      const uint32_t pixel = source.GetRow(static_cast<int>(sy))[sx];
      if (keyed && pixel == key) continue;
      row[x] = pixel;
    }
  }
};

int QuadMapCore(CMemPlaneImpl& dest, CMemPlane* sourcePlane, const POINT* s, const POINT* d, const RECT* clipRect,
                int direction, bool keyed) {
  if (sourcePlane == nullptr) return 1;
  if (s == nullptr || d == nullptr) return 0;
  const CMemPlaneImpl& source = *sourcePlane->GetImpl();
  if (dest.GetPixels() == nullptr || source.GetPixels() == nullptr) return 0;
  RECT clip;
  dest.ClipRect(&clip, clipRect);
  if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

  // Corners from the top, equal rows from the left.
  std::array<int, 4> order{0, 1, 2, 3};
  std::stable_sort(order.begin(), order.end(),
                   [d](int a, int b) { return d[a].y != d[b].y ? d[a].y < d[b].y : d[a].x < d[b].x; });
  const int top = order[0];
  const int n1 = kNeighbours[top][0];
  const int n2 = kNeighbours[top][1];
  const int opposite = kNeighbours[top][2];
  const int64_t turn = (int64_t{d[n1].y} - d[top].y) * (int64_t{d[n2].x} - d[top].x) -
                       (int64_t{d[n2].y} - d[top].y) * (int64_t{d[n1].x} - d[top].x);
  const int leftEnd = turn < 0 ? n2 : n1;
  const int rightEnd = turn < 0 ? n1 : n2;
  // A crossed quad: the second corner from the top is the one opposite the top.
  if (order[1] != leftEnd && order[1] != rightEnd) return 0;

  Chain left;
  left.path = {top, leftEnd, opposite, rightEnd};
  Chain right;
  right.path = {top, rightEnd, opposite, leftEnd};
  left.x = right.x = int64_t{d[top].x} * kOne;
  left.TakeEdge(d, s);
  right.TakeEdge(d, s);
  if (d[order[1]].y == d[top].y) right.x = int64_t{d[order[1]].x} * kOne;

  const Span span{source, dest, clip, keyed, direction};
  for (int band = 0; band < 3; ++band) {
    const int corner = order[band];
    if (band > 0) {
      for (Chain* chain : {&left, &right}) {
        if (chain->edge < 2 && chain->EdgeEnd() == corner) {
          ++chain->edge;
          chain->TakeEdge(d, s);
        }
      }
    }
    const int64_t y0 = d[corner].y;
    const int64_t y1 = d[order[band + 1]].y;
    // Rows above the clip are stepped over in one go; below it nothing more is drawn.
    const int64_t first = std::max<int64_t>(y0, clip.top);
    if (first >= y1) {
      left.Step(y1 - y0);
      right.Step(y1 - y0);
      continue;
    }
    left.Step(first - y0);
    right.Step(first - y0);
    const int64_t end = std::min<int64_t>(y1, clip.bottom);
    for (int64_t y = first; y < end; ++y) {
      left.Step(1);
      right.Step(1);
      span.Draw(y, left, right);
    }
    if (end < y1) break;
  }
  return 0;
}

// Corners of a rectangle: inclusive ones for the keyed forms, the rectangle's own edges for the
// Fast forms.
std::array<POINT, 4> RectCorners(const RECT& r, bool inclusive) {
  const LONG right = inclusive ? r.right - 1 : r.right;
  const LONG bottom = inclusive ? r.bottom - 1 : r.bottom;
  return {POINT{r.left, r.top}, POINT{right, r.top}, POINT{r.left, bottom}, POINT{right, bottom}};
}

constexpr int kBadAnchor = 2;

// The four destination corners of a rotate-zoom blit, or false for an unknown anchor.
bool ZoomCorners(const CMemPlaneImpl& source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
                 std::array<POINT, 4>* corners) {
  if (anchor < 0 || anchor > 4) return false;
  int w = 0, h = 0;
  if (sourceRect != nullptr) {
    w = sourceRect->right - sourceRect->left;
    h = sourceRect->bottom - sourceRect->top;
  } else {
    source.GetSize(&w, &h);
  }
  const int64_t W = MulDiv(w, zoom, 65536);
  const int64_t H = MulDiv(h, zoom, 65536);
  const std::array<int64_t, 2> start{x, y};
  const std::array<std::array<int64_t, 2>, 4> unturned{
      {{start[0], start[1]}, {start[0] + W, start[1]}, {start[0], start[1] + H}, {start[0] + W, start[1] + H}}};
  const std::array<int64_t, 2> pivot =
      anchor == 4 ? std::array<int64_t, 2>{x + (W >> 1), y + (H >> 1)} : unturned[anchor];
  const CCosTable table;
  const int64_t c = table[-angle];
  const int64_t m = table[-angle - CCosTable::kQuarterTurn];
  for (int i = 0; i < 4; ++i) {
    const int64_t dx = unturned[i][0] - pivot[0];
    const int64_t dy = unturned[i][1] - pivot[1];
    (*corners)[i] = POINT{static_cast<LONG>(pivot[0] + ((c * dx - m * dy) >> 16)),
                          static_cast<LONG>(pivot[1] + ((c * dy + m * dx) >> 16))};
  }
  return true;
}

int Zoom(CMemPlaneImpl& dest, CMemPlane* source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
         const RECT* clip, bool fast) {
  if (source == nullptr) return 1;
  std::array<POINT, 4> corners;
  if (!ZoomCorners(*source->GetImpl(), sourceRect, x, y, angle, zoom, anchor, &corners)) return kBadAnchor;
  return fast ? dest.RectToQuadBltFast(source, sourceRect, corners.data(), clip)
              : dest.RectToQuadBlt(source, sourceRect, corners.data(), clip);
}

}  // namespace

int CMemPlaneImpl::QuadMapBlt(CMemPlane* source, const POINT* sourceQuad, const POINT* destQuad, const RECT* clip,
                              int direction) {
  return QuadMapCore(*this, source, sourceQuad, destQuad, clip, direction, true);
}

int CMemPlaneImpl::QuadMapBltFast(CMemPlane* source, const POINT* sourceQuad, const POINT* destQuad, const RECT* clip,
                                  int direction) {
  return QuadMapCore(*this, source, sourceQuad, destQuad, clip, direction, false);
}

int CMemPlaneImpl::RectToQuadBlt(CMemPlane* source, const RECT* sourceRect, const POINT* destQuad, const RECT* clip) {
  if (source == nullptr) return 1;
  const auto s = RectCorners(sourceRect ? *sourceRect : source->GetImpl()->GetSurfaceRect(), true);
  return QuadMapBlt(source, s.data(), destQuad, clip, 0);
}

int CMemPlaneImpl::RectToQuadBltFast(CMemPlane* source, const RECT* sourceRect, const POINT* destQuad,
                                     const RECT* clip) {
  if (source == nullptr) return 1;
  const auto s = RectCorners(sourceRect ? *sourceRect : source->GetImpl()->GetSurfaceRect(), false);
  return QuadMapBltFast(source, s.data(), destQuad, clip, 0);
}

int CMemPlaneImpl::QuadToRectBlt(CMemPlane* source, const POINT* sourceQuad, const RECT* destRect, const RECT* clip) {
  const auto d = RectCorners(destRect ? *destRect : GetSurfaceRect(), true);
  return QuadMapBlt(source, sourceQuad, d.data(), clip, 1);
}

int CMemPlaneImpl::QuadToRectBltFast(CMemPlane* source, const POINT* sourceQuad, const RECT* destRect,
                                     const RECT* clip) {
  const auto d = RectCorners(destRect ? *destRect : GetSurfaceRect(), false);
  return QuadMapBltFast(source, sourceQuad, d.data(), clip, 1);
}

int CMemPlaneImpl::ZoomBlt(CMemPlane* source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
                           const RECT* clip) {
  return Zoom(*this, source, sourceRect, x, y, angle, zoom, anchor, clip, false);
}

int CMemPlaneImpl::ZoomBltFast(CMemPlane* source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
                               const RECT* clip) {
  return Zoom(*this, source, sourceRect, x, y, angle, zoom, anchor, clip, true);
}
