// The frame every blit kernel shares: clip, then walk the destination rectangle applying one
// pixel operation, 1:1 or stretched, reading the source left to right or mirrored.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "sdk/graphics/blit_clip.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace blit_frame {

template <class Op>
concept HasRow = requires(const Op& op, uint32_t* d, const uint32_t* s, size_t n) {
  op.Row(d, s, n);
};

template <class Op>
concept HasBlocks = requires(const Op& op, const blit_rows::Block* b, size_t n, ptrdiff_t pitch) {
  op.Blocks(b, n, pitch, pitch);
};

template <class Op>
void OneToOne(const BlitGeometry& g, const CMemPlaneImpl& dst, const CMemPlaneImpl& src,
              const Op& op) {
  const size_t w = static_cast<size_t>(g.d.right - g.d.left);
  for (LONG row = 0; row < g.d.bottom - g.d.top; ++row) {
    uint32_t* d = dst.GetRow(g.d.top + row) + g.d.left;
    if (g.mirror) {
      const uint32_t* s = src.GetRow(g.s.top + row) + g.s.right - 1;
      for (size_t i = 0; i < w; ++i) d[i] = op(*(s - i), d[i]);
    } else {
      const uint32_t* s = src.GetRow(g.s.top + row) + g.s.left;
      if constexpr (HasRow<Op>) {
        op.Row(d, s, w);
      } else {
        for (size_t i = 0; i < w; ++i) d[i] = op(s[i], d[i]);
      }
    }
  }
}

// A run of n pixels: the row function for runs long enough to pay for its call, the operation
// pixel by pixel below that.
template <class Op>
void Span(uint32_t* d, const uint32_t* s, size_t n, const Op& op) {
  if constexpr (HasRow<Op>) {
    if (n >= blit_rows::kRowFunctionLength) {
      op.Row(d, s, n);
      return;
    }
  }
  for (size_t i = 0; i < n; ++i) d[i] = op(s[i], d[i]);
}

// Source positions are kept as indices: a source rectangle reaching past its surface is read
// only where it lies on it, and the stepping never passes the rectangle's far edge. An operation
// with a row function gets the samples of a row gathered into runs, so that it blends them with
// the row function rather than pixel by pixel; a surface stretched onto itself keeps the order of
// reads and writes pixel by pixel.
template <class Op>
void Stretched(const BlitGeometry& g, const CMemPlaneImpl& dst, const CMemPlaneImpl& src,
               const Op& op) {
  const bool gather = HasRow<Op> && src.GetPixels() != dst.GetPixels();
  const int64_t step = g.mirror ? -1 : 1;
  const int64_t firstColumn = g.mirror ? int64_t{g.s.right} - 1 : g.s.left;
  int64_t row = g.s.top;
  int32_t ey = g.ey;
  for (LONG y = g.d.top; y < g.d.bottom; ++y) {
    const int64_t sy = std::min<int64_t>(row, int64_t{g.limit.bottom} - 1);
    if (sy >= 0 && sy < src.Height()) {
      const uint32_t* s = src.GetRow(static_cast<int>(sy));
      uint32_t* d = dst.GetRow(y);
      int64_t column = firstColumn;
      int32_t ex = g.ex;
      uint32_t run[256];
      size_t runLength = 0;
      LONG runStart = 0;
      for (LONG x = g.d.left; x < g.d.right; ++x) {
        const int64_t sx = g.mirror ? std::max<int64_t>(column, g.limit.left)
                                    : std::min<int64_t>(column, int64_t{g.limit.right} - 1);
        const bool onSource = sx >= 0 && sx < src.Width();
        if (gather) {
          if (onSource) {
            if (runLength == 0) runStart = x;
            run[runLength++] = s[sx];
          }
          if (runLength > 0 && (!onSource || runLength == std::size(run))) {
            Span(d + runStart, run, runLength, op);
            runLength = 0;
          }
        } else if (onSource) {
          d[x] = op(s[sx], d[x]);
        }
        column += step * g.qx;
        ex += g.rx;
        if (ex >= 0) {
          column += step;
          ex -= g.dx;
        }
      }
      if (runLength > 0) Span(d + runStart, run, runLength, op);
    }
    row += g.qy;
    ey += g.ry;
    if (ey >= 0) {
      ++row;
      ey -= g.dy;
    }
  }
}

template <class Op>
int Run(CMemPlaneImpl& dst, CMemPlane* source, int x, int y, const RECT* sourceRect,
        const int* destSize, RECT* clip, bool mirror, const Op& op) {
  if (source == nullptr) return 1;
  const CMemPlaneImpl& src = *source->GetImpl();
  BlitGeometry g;
  if (ClipBlt(g, dst.GetSurfaceRect(), src.GetSurfaceRect(), x, y, sourceRect, destSize, clip,
              mirror) != 0)
    return 0;
  if (g.oneToOne)
    OneToOne(g, dst, src, op);
  else
    Stretched(g, dst, src, op);
  return 0;
}

}  // namespace blit_frame
