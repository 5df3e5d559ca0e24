#include "sdk/graphics/clip_stretch_blt.h"

#include "sdk/graphics/blit_clip.h"
#include "sdk/graphics/mem_plane.h"

int ClipStretchBlt(CMemPlane* dest, CMemPlane* source, int x, int y, BltClipInfo* out,
                   const RECT* sourceRect, const SIZE* destSize, const RECT* clip) {
  if (dest == nullptr || source == nullptr || out == nullptr) return 1;
  const RECT& destSurface = dest->GetImpl()->GetSurfaceRect();
  const RECT& sourceSurface = source->GetImpl()->GetSurfaceRect();
  const RECT& s = sourceRect != nullptr ? *sourceRect : sourceSurface;
  // In 64 bits: a caller's rectangle may span the whole coordinate range.
  const int64_t sw = int64_t{s.right} - s.left;
  const int64_t sh = int64_t{s.bottom} - s.top;
  const bool sameSize = destSize == nullptr || (destSize->cx == sw && destSize->cy == sh);
  const int size[2] = {destSize != nullptr ? destSize->cx : 0, destSize != nullptr ? destSize->cy : 0};
  // The caller steps a stretched blit up to the source rectangle's far edges, so it must lie on
  // its surface; a 1:1 one is cut to its surface by the clipping.
  if (!sameSize && (s.left < 0 || s.top < 0 || s.right > sourceSurface.right ||
                    s.bottom > sourceSurface.bottom))
    return 1;
  RECT c = clip != nullptr ? *clip : destSurface;
  BlitGeometry g;
  if (ClipBlt(g, destSurface, sourceSurface, x, y, &s, sameSize ? nullptr : size, &c, false) != 0) return 1;
  out->sameSize = sameSize;
  out->source = g.s;
  out->dest = g.d;
  out->clip = c;
  if (!sameSize) {
    out->xError = g.ex;
    out->xRemainder = g.rx;
    out->destWidth = g.dx;
    out->xStep = g.qx;
    out->yError = g.ey;
    out->yRemainder = g.ry;
    out->destHeight = g.dy;
    out->yStep = g.qy;
  }
  return 0;
}
