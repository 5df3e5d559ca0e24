#include "sdk/graphics/blit_clip.h"

#include <algorithm>

namespace {

// Rectangles in 64 bits: a position plus a size from callers may leave the 32-bit range.
struct Rect64 {
  int64_t left, top, right, bottom;
};

RECT Narrow(const Rect64& r) {
  return RECT{static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
              static_cast<LONG>(r.bottom)};
}

// Moves the stretched blit's first destination pixel from `start` to the clip edge `edge`: the
// error runs over the skipped pixels and the source start advances by the whole pixels crossed.
void SkipStretched(int64_t edge, int64_t& start, int64_t& error, int64_t remainder,
                   int64_t divisor, int64_t& sourceStart, int64_t direction) {
  const int64_t k = edge - start;
  if (k <= 0) return;
  int64_t e = error + remainder * k;
  if (e > 0) {
    const int64_t q = e / divisor + 1;
    sourceStart += direction * q;
    e -= divisor * q;
  }
  error = e;
  start = edge;
}

int ClipOneToOne(BlitGeometry& g, const Rect64& c, const RECT& sourceSurface, int64_t x, int64_t y,
                 Rect64 s, bool mirror) {
  // Keep the source inside its surface; the destination moves with the edge that leads.
  if (!mirror && s.left < 0) {
    x -= s.left;
    s.left = 0;
  }
  if (mirror && s.right > sourceSurface.right) {
    x += s.right - sourceSurface.right;
    s.right = sourceSurface.right;
  }
  if (s.top < 0) {
    y -= s.top;
    s.top = 0;
  }
  s.left = std::max<int64_t>(s.left, 0);
  s.right = std::min<int64_t>(s.right, sourceSurface.right);
  s.bottom = std::min<int64_t>(s.bottom, sourceSurface.bottom);
  const int64_t sw = s.right - s.left;
  const int64_t sh = s.bottom - s.top;
  if (sw <= 0 || sh <= 0) return 1;

  Rect64 d{x, y, x + sw, y + sh};
  // A mirrored blit takes the columns cut on one side from the other end of the source.
  if (const int64_t k = c.left - x; k > 0) {
    if (mirror)
      s.right -= k;
    else
      s.left += k;
    d.left = c.left;
  }
  if (c.top > y) {
    s.top += c.top - y;
    d.top = c.top;
  }
  if (const int64_t k = x + sw - c.right; k > 0) {
    if (mirror)
      s.left += k;
    else
      s.right -= k;
    d.right = c.right;
  }
  if (const int64_t k = y + sh - c.bottom; k > 0) {
    s.bottom -= k;
    d.bottom = c.bottom;
  }
  if (s.left >= s.right || s.top >= s.bottom) return 1;
  g.s = Narrow(s);
  g.d = Narrow(d);
  return 0;
}

int ClipStretched(BlitGeometry& g, const Rect64& c, const RECT& sourceSurface, int64_t x,
                  int64_t y, Rect64 s, int64_t w, int64_t h, bool mirror) {
  const int64_t sw = s.right - s.left;
  const int64_t sh = s.bottom - s.top;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return 1;
  if (w > kMaxStretchSide || h > kMaxStretchSide || sw > kMaxStretchSide || sh > kMaxStretchSide)
    return 1;
  // Nothing of the source rectangle lies on its surface.
  if (s.right <= 0 || s.bottom <= 0 || s.left >= sourceSurface.right ||
      s.top >= sourceSurface.bottom)
    return 1;
  g.limit = Narrow(s);

  // A mirrored blit doubles remainder and divisor while the error starts at minus the size, so
  // the source is sampled at pixel centres.
  const int64_t scale = mirror ? 2 : 1;
  int64_t ex = -w, ey = -h;
  const int64_t rx = sw * scale, ry = sh * scale;
  const int64_t dx = w * scale, dy = h * scale;
  Rect64 d{x, y, x + w, y + h};
  if (mirror)
    SkipStretched(c.left, d.left, ex, rx, dx, s.right, -1);
  else
    SkipStretched(c.left, d.left, ex, rx, dx, s.left, 1);
  SkipStretched(c.top, d.top, ey, ry, dy, s.top, 1);
  d.right = std::min(d.right, c.right);
  d.bottom = std::min(d.bottom, c.bottom);
  if (s.left >= s.right || s.top >= s.bottom || d.left >= d.right || d.top >= d.bottom) return 1;

  g.s = Narrow(s);
  g.d = Narrow(d);
  g.qx = static_cast<int32_t>(rx / dx);
  g.rx = static_cast<int32_t>(rx % dx);
  g.dx = static_cast<int32_t>(dx);
  g.ex = static_cast<int32_t>(ex - 1);
  g.qy = static_cast<int32_t>(ry / dy);
  g.ry = static_cast<int32_t>(ry % dy);
  g.dy = static_cast<int32_t>(dy);
  g.ey = static_cast<int32_t>(ey - 1);
  return 0;
}

}  // namespace

int ClipBlt(BlitGeometry& g, const RECT& destSurface, const RECT& sourceSurface, int x, int y,
            const RECT* sourceRect, const int* destSize, RECT* clip, bool mirror) {
  g = BlitGeometry{};
  g.mirror = mirror;
  if (mirror && sourceRect != nullptr && sourceRect->left > sourceRect->right) return 1;
  const RECT& sr = sourceRect != nullptr ? *sourceRect : sourceSurface;
  const Rect64 s{sr.left, sr.top, sr.right, sr.bottom};

  RECT c = clip != nullptr ? *clip : destSurface;
  c.left = std::max<LONG>(c.left, 0);
  c.top = std::max<LONG>(c.top, 0);
  c.right = std::min(c.right, destSurface.right);
  c.bottom = std::min(c.bottom, destSurface.bottom);
  if (clip != nullptr) *clip = c;
  const Rect64 c64{c.left, c.top, c.right, c.bottom};

  g.oneToOne = destSize == nullptr ||
               (destSize[0] == s.right - s.left && destSize[1] == s.bottom - s.top);
  if (g.oneToOne) return ClipOneToOne(g, c64, sourceSurface, x, y, s, mirror);
  return ClipStretched(g, c64, sourceSurface, x, y, s, destSize[0], destSize[1], mirror);
}
