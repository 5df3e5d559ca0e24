// Operations that change one memory surface in place or take its alpha from elsewhere. One body
// serves both kernel classes. Lookup tables are built per call: 256 entries cost nothing next to
// a surface, and no state is shared between surfaces or calls.
#include <algorithm>
#include <array>
#include <vector>

#include "sdk/graphics/blit_clip.h"
#include "sdk/graphics/displacement_map.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

// Calls fn(row pointer at the left edge, pixel count, y) for each row of rect clipped to the
// surface (null = the whole surface); an empty intersection calls nothing.
template <class Fn>
void EachRow(const CMemPlaneImpl& plane, const RECT* rect, Fn fn) {
  RECT r;
  plane.ClipRect(&r, rect);
  if (r.left >= r.right) return;
  for (LONG y = r.top; y < r.bottom; ++y)
    fn(plane.GetRow(y) + r.left, static_cast<size_t>(r.right - r.left), y, r.left);
}

// Ratios in 256ths outside 0..256 would overflow the channel; they mean "none" and "all".
int ClampRatio(int ratio) { return std::clamp(ratio, 0, 256); }

// Entry k: the alpha byte floor(k * ratio / 256) in place, colour bytes 0.
std::array<uint32_t, 256> AlphaScaleTable(int ratio) {
  std::array<uint32_t, 256> t{};
  for (uint32_t k = 0; k < 256; ++k)
    t[k] = ((k * static_cast<uint32_t>(ratio)) << 16) & 0xFF000000;
  return t;
}

bool SameSize(const CMemPlaneImpl& a, const CMemPlaneImpl& b) {
  return a.Width() == b.Width() && a.Height() == b.Height();
}

}  // namespace

int CMemPlaneImpl::AlphaScale(int ratio, const RECT* rect) {
  ratio = ClampRatio(ratio);
  if (ratio == 256) return 0;
  const auto table = AlphaScaleTable(ratio);
  EachRow(*this, rect, [&](uint32_t* p, size_t n, LONG, LONG) {
    for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0x00FFFFFF) + table[p[i] >> 24];
  });
  return 0;
}

int CMemPlaneImpl::AlphaInvert(const RECT* rect) {
  EachRow(*this, rect, [](uint32_t* p, size_t n, LONG, LONG) {
    for (size_t i = 0; i < n; ++i) p[i] ^= 0xFF000000;
  });
  return 0;
}

int CMemPlaneImpl::AlphaCopy(CMemPlane* source, int ratio, const RECT* rect) {
  if (source == nullptr || !SameSize(*this, *source->GetImpl())) return 1;
  const CMemPlaneImpl& src = *source->GetImpl();
  const auto table = AlphaScaleTable(ClampRatio(ratio));
  EachRow(*this, rect, [&](uint32_t* p, size_t n, LONG y, LONG left) {
    const uint32_t* s = src.GetRow(y) + left;
    for (size_t i = 0; i < n; ++i) p[i] = (s[i] & 0x00FFFFFF) + table[s[i] >> 24];
  });
  return 0;
}

int CMemPlaneImpl::AlphaGradient(CMemPlane* mask, int lower, int upper, int alphaLower,
                                 int alphaUpper, const RECT* rect) {
  if (mask == nullptr || !SameSize(*this, *mask->GetImpl())) return 1;
  const CMemPlaneImpl& m = *mask->GetImpl();
  // The ramp: alphaLower up to mask value `lower`, a straight line (truncated toward zero) up to
  // `upper`, alphaUpper from there on.
  std::array<uint32_t, 256> ramp{};
  const auto alphaByte = [](int64_t a) { return static_cast<uint32_t>(a) << 24; };
  if (lower >= 0)
    for (int i = 0; i <= std::min(lower, 255); ++i) ramp[i] = alphaByte(alphaLower);
  int64_t g = 1;
  for (int64_t i = std::max<int64_t>(int64_t{lower} + 1, 0); i < upper && i < 256; ++i, ++g) {
    const int64_t span = int64_t{upper} - lower;
    ramp[i] = alphaByte(alphaLower + (int64_t{alphaUpper} - alphaLower) * g / span);
  }
  if (upper < 256)
    for (int i = std::max(upper, 0); i < 256; ++i) ramp[i] = alphaByte(alphaUpper);
  EachRow(*this, rect, [&](uint32_t* p, size_t n, LONG y, LONG left) {
    const uint32_t* k = m.GetRow(y) + left;
    for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0x00FFFFFF) + ramp[k[i] & 0xFF];
  });
  return 0;
}

int CMemPlaneImpl::FadeEffect(int ratio, const RECT* rect) {
  const uint32_t r = static_cast<uint32_t>(ClampRatio(ratio));
  EachRow(*this, rect, [&](uint32_t* p, size_t n, LONG, LONG) { Rows().fade(p, n, r); });
  return 0;
}

int CMemPlaneImpl::NegateEffect(const RECT* rect) {
  EachRow(*this, rect, [](uint32_t* p, size_t n, LONG, LONG) {
    for (size_t i = 0; i < n; ++i) p[i] ^= 0x00FFFFFF;
  });
  return 0;
}

int CMemPlaneImpl::MosaicEffect(int blockSize, const RECT* rect) {
  if (blockSize <= 0) return -2;
  RECT r;
  ClipRect(&r, rect);
  for (LONG top = r.top, bottom; top < r.bottom; top = bottom) {
    bottom = top + std::min<LONG>(blockSize, r.bottom - top);
    for (LONG left = r.left, right; left < r.right; left = right) {
      right = left + std::min<LONG>(blockSize, r.right - left);
      const uint32_t v = GetRow(top)[left];
      for (LONG y = top; y < bottom; ++y) std::fill(GetRow(y) + left, GetRow(y) + right, v);
    }
  }
  return 0;
}

int CMemPlaneImpl::SmoothEffect(const RECT* rect) {
  RECT r;
  ClipRect(&r, rect);
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  if (r.right - r.left < 4 || r.bottom - r.top < 4) return 2;
  // Packed-pixel arithmetic: each colour byte loses its low three bits so that eight weighted
  // neighbours add up without spilling into the next byte; the sums wrap at 2^32.
  constexpr uint32_t M1 = 0xFFF8F8F8, M2 = 0x7FF8F8F8, M4 = 0x3FF8F8F8;
  const size_t w = static_cast<size_t>(r.right - r.left);
  std::vector<uint32_t> buffer(GetRow(r.top) + r.left, GetRow(r.top) + r.right);
  for (LONG y = r.top + 1; y <= r.bottom - 2; ++y) {
    uint32_t* above = GetRow(y - 1) + r.left;
    const uint32_t* row = GetRow(y) + r.left;
    const uint32_t* below = GetRow(y + 1) + r.left;
    for (size_t x = 0; x < w; ++x) {
      const uint32_t c = row[x], a = above[x], b = below[x];
      uint32_t sum = 4 * (c & M4) + (b & M1) + (a & M1);
      if (x == 0)
        sum += 2 * (row[x + 1] & M2);
      else if (x == w - 1)
        sum += 2 * (row[x - 1] & M2);
      else
        sum += (row[x + 1] & M1) + (row[x - 1] & M1);
      above[x] = buffer[x];
      buffer[x] = sum >> 3;
    }
  }
  std::copy(buffer.begin(), buffer.end(), GetRow(r.bottom - 2) + r.left);
  std::copy(buffer.begin(), buffer.end(), GetRow(r.bottom - 1) + r.left);
  return 0;
}

int CMemPlaneImpl::DisplaceBlt(CMemPlane* source, const DisplacementMap* map, int x, int y,
                               const RECT* sourceRect, RECT* clip) {
  if (source == nullptr || map == nullptr) return 1;
  const CMemPlaneImpl& src = *source->GetImpl();
  const LONG top = sourceRect != nullptr ? sourceRect->top : 0;
  const LONG left = sourceRect != nullptr ? sourceRect->left : 0;
  BlitGeometry g;
  if (ClipBlt(g, m_rect, src.GetSurfaceRect(), x, y, sourceRect, nullptr, clip, false) != 0)
    return 0;
  for (LONG i = g.d.top; i < g.d.bottom; ++i) {
    uint32_t* d = GetRow(i);
    for (LONG j = g.d.left; j < g.d.right; ++j) {
      const auto* e = map->At(int64_t{g.s.left} - left + (j - g.d.left),
                              int64_t{g.s.top} - top + (i - g.d.top));
      if (e == nullptr) continue;
      const int64_t sy = int64_t{i} + (g.s.top - g.d.top) + e->dy;
      const int64_t sx = int64_t{j} + (g.s.left - g.d.left) + e->dx;
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      d[j] = src.GetRow(static_cast<int>(sy))[sx];
    }
  }
  return 0;
}
