// The plane's blits, blends and effects: plain copies go to the surface object's own copy, the
// rest are loops over locked surfaces at the surface's depth.
#include <algorithm>
#include <cstring>

#include "platform/sjis_literal.h"
#include "sdk/framework/app_manager.h"
#include "sdk/framework/error_log.h"
#include "sdk/graphics/plane.h"
#include "sdk/graphics/plane_lock.h"

using namespace platform;

namespace {

struct Factors {
  uint32_t r, g, b;
};

Factors Split(uint32_t word) { return {(word >> 16) & 255, (word >> 8) & 255, word & 255}; }

// A locked surface, unlocked when it goes.
class LockedSurface {
 public:
  // A null surface is not locked.
  explicit LockedSurface(DirectDrawSurface* surface) : m_surface(surface) {
    m_ok = surface != nullptr && LockWholeSurface(surface, &m_desc) == DD_OK;
  }
  ~LockedSurface() {
    if (m_ok) m_surface->Unlock(nullptr);
  }
  LockedSurface(const LockedSurface&) = delete;
  LockedSurface& operator=(const LockedSurface&) = delete;

  bool ok() const { return m_ok; }
  const DDPIXELFORMAT& format() const { return m_desc.ddpfPixelFormat; }
  int bits() const { return static_cast<int>(m_desc.ddpfPixelFormat.dwRGBBitCount); }
  int bytes() const { return bits() / 8; }
  uint8_t* At(int64_t x, int64_t y) const {
    return static_cast<uint8_t*>(m_desc.lpSurface) + y * m_desc.lPitch + x * bytes();
  }

 private:
  DirectDrawSurface* m_surface;
  DDSURFACEDESC m_desc;
  bool m_ok = false;
};

// The destination locked, then the source; a failure is logged and its result kept (2 for
// the destination, 3 for the source), and whatever was locked is let go.
struct LockedPair {
  LockedPair(DirectDrawSurface* d, DirectDrawSurface* s, const char* failure) : dest(d), from(dest.ok() ? s : nullptr) {
    if (!dest.ok() || !from.ok()) ErrorLog::Out(failure);
    result = !dest.ok() ? CPlane::kDestLockFailed : (!from.ok() ? CPlane::kBadSource : 0);
  }
  LockedSurface dest;
  LockedSurface from;
  int result = 0;
};

uint32_t LoadPixel(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, static_cast<size_t>(bytes));
  return v;
}

void Store(uint8_t* p, int bytes, uint32_t v) { std::memcpy(p, &v, static_cast<size_t>(bytes)); }

// The source key: only a source that has one makes anything transparent.
struct Key {
  bool has = false;
  uint32_t value = 0;
};

Key ReadKey(DirectDrawSurface* source) {
  DDCOLORKEY key;
  if (source->GetColorKey(DDCKEY_SRCBLT, &key) != DD_OK) return {};
  return {true, key.dwColorSpaceLowValue};
}

bool Transparent(const Key& key, uint32_t pixel, int bits, uint32_t colourBits) {
  if (!key.has) return false;
  switch (bits) {
    case 8:
      return (pixel & 0xFF) == (key.value & 0xFF);
    case 24:
      return (pixel & 0xFFFFFF) == (key.value & 0xFFFFFF);
    default:
      return (pixel & colourBits) == key.value;
  }
}

uint32_t Blend(uint32_t s, uint32_t d, const DDPIXELFORMAT& f, int bits, const Factors& fs, const Factors& fd) {
  if (bits == 24) {
    auto byte = [&](int shift, uint32_t a, uint32_t b) {
      return ((((s >> shift) & 255) * a + ((d >> shift) & 255) * b) >> 8) << shift;
    };
    return byte(0, fs.b, fd.b) | byte(8, fs.g, fd.g) | byte(16, fs.r, fd.r);
  }
  auto channel = [&](uint32_t mask, uint32_t a, uint32_t b) {
    return static_cast<uint32_t>(((uint64_t{s & mask} * a + uint64_t{d & mask} * b) >> 8) & mask);
  };
  return channel(f.dwRBitMask, fs.r, fd.r) | channel(f.dwGBitMask, fs.g, fd.g) | channel(f.dwBBitMask, fs.b, fd.b);
}

// The clip (null: all) cut to the destination.
RECT ClipRect(const RECT* clip, int width, int height) {
  RECT c = clip ? *clip : RECT{0, 0, width, height};
  c.left = std::max(c.left, 0);
  c.top = std::max(c.top, 0);
  c.right = std::min(c.right, width);
  c.bottom = std::min(c.bottom, height);
  return c;
}

// The source rectangle (null: all) placed at (x, y), cut first to the source and then to the
// clip, so that no loop reads outside the source. False when nothing is left.
bool ClipUnstretched(RECT& sr, int64_t& x, int64_t& y, const RECT& clip, int sw, int sh) {
  if (sr.left < 0) {
    x -= sr.left;
    sr.left = 0;
  }
  if (sr.top < 0) {
    y -= sr.top;
    sr.top = 0;
  }
  sr.right = std::min(sr.right, sw);
  sr.bottom = std::min(sr.bottom, sh);
  const int64_t right = x + (int64_t{sr.right} - sr.left);
  const int64_t bottom = y + (int64_t{sr.bottom} - sr.top);
  if (right < clip.left || bottom < clip.top || x >= clip.right || y >= clip.bottom) return false;
  if (clip.left > x) {
    sr.left += static_cast<LONG>(clip.left - x);
    x = clip.left;
  }
  if (clip.top > y) {
    sr.top += static_cast<LONG>(clip.top - y);
    y = clip.top;
  }
  if (right > clip.right) sr.right -= static_cast<LONG>(right - clip.right);
  if (bottom > clip.bottom) sr.bottom -= static_cast<LONG>(bottom - clip.bottom);
  return sr.right > sr.left && sr.bottom > sr.top;
}

}  // namespace

DirectDrawSurface* CPlane::SourceSurface(CDrawTarget* source) const {
  if (source == nullptr || source->GetType() != kTypePlane) return nullptr;
  DirectDrawSurface* s = static_cast<CPlane*>(source)->GetSurface();
  if (s == nullptr) return nullptr;
  DDPIXELFORMAT a, b;
  m_surface->GetPixelFormat(&a);
  s->GetPixelFormat(&b);
  if (a.dwRGBBitCount != b.dwRGBBitCount || a.dwRBitMask != b.dwRBitMask || a.dwGBitMask != b.dwGBitMask ||
      a.dwBBitMask != b.dwBBitMask)
    return nullptr;
  return s;
}

template <bool kKeyed>
int CPlane::CopyClipped(CDrawTarget* source, int x, int y, const RECT* sourceRect, RECT* clip) {
  if (!m_surface) return kNoSurface;
  if (CAppManager::GetDirectDraw() == nullptr) return kNoDirectDraw;
  DirectDrawSurface* src = SourceSurface(source);
  if (src == nullptr) return kBadSource;
  RECT sr = sourceRect ? *sourceRect : RECT{0, 0, src->Width(), src->Height()};
  int64_t dx = x, dy = y;
  if (!ClipUnstretched(sr, dx, dy, ClipRect(clip, m_width, m_height), src->Width(), src->Height())) return 0;
  return m_surface->BltFast(static_cast<int>(dx), static_cast<int>(dy), src, &sr,
                            (kKeyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY) | DDBLTFAST_WAIT);
}

template <bool kKeyed>
int CPlane::BlendClipped(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                         const RECT* sourceRect, RECT* clip) {
  if (!m_surface) return kNoSurface;
  if (CAppManager::GetDirectDraw() == nullptr) return kNoDirectDraw;
  DirectDrawSurface* src = SourceSurface(source);
  if (src == nullptr) return kBadSource;
  RECT sr = sourceRect ? *sourceRect : RECT{0, 0, src->Width(), src->Height()};
  int64_t dx = x, dy = y;
  if (!ClipUnstretched(sr, dx, dy, ClipRect(clip, m_width, m_height), src->Width(), src->Height())) return 0;
  const Key key = kKeyed ? ReadKey(src) : Key{};
  const LockedPair locks(m_surface.get(), src, "CPlane::BlendBltでSurfaceのLockに失敗"_sj);
  if (locks.result != 0) return locks.result;
  const LockedSurface& dest = locks.dest;
  const LockedSurface& from = locks.from;
  const int bits = dest.bits();
  if (bits != 16 && bits != 24 && bits != 32) return 0;
  const Factors fs = Split(sourceFactor), fd = Split(destFactor);
  const uint32_t colourBits = ColourBits(dest.format());
  const int bytes = dest.bytes();
  for (int64_t row = 0; row < sr.bottom - sr.top; ++row) {
    const uint8_t* s = from.At(sr.left, sr.top + row);
    uint8_t* d = dest.At(dx, dy + row);
    for (int64_t col = 0; col < sr.right - sr.left; ++col, s += bytes, d += bytes) {
      const uint32_t sp = LoadPixel(s, bytes);
      if (Transparent(key, sp, bits, colourBits)) continue;
      Store(d, bytes, Blend(sp, LoadPixel(d, bytes), dest.format(), bits, fs, fd));
    }
  }
  return 0;
}

namespace {

// One axis of a stretch: the first destination pixel, how many, and the stepping through the
// source.
struct Axis {
  int64_t dest = 0, count = 0, src = 0, step = 0, rem = 0, err = 0, d = 0;
};

// False when nothing of the axis is left inside the clip.
bool StretchAxis(int64_t pos, int64_t destSize, int64_t srcStart, int64_t srcSize, int64_t clipLo, int64_t clipHi,
                 Axis& a) {
  a.d = destSize;
  a.src = srcStart;
  a.err = -destSize;
  int64_t lo = pos;
  if (clipLo > lo) {
    a.err += (clipLo - lo) * srcSize;
    if (a.err > 0) {
      const int64_t q = a.err / destSize + 1;
      a.src += q;
      a.err -= q * destSize;
    }
    lo = clipLo;
  }
  const int64_t hi = std::min(pos + destSize, clipHi);
  if (hi <= lo || srcSize <= 0) return false;
  a.dest = lo;
  a.count = hi - lo;
  a.step = srcSize / destSize;
  a.rem = srcSize - a.step * destSize;
  a.err -= 1;
  return true;
}

void Advance(int64_t& src, int64_t& err, const Axis& a) {
  src += a.step;
  err += a.rem;
  if (err >= 0) {
    ++src;
    err -= a.d;
  }
}

}  // namespace

template <bool kKeyed, bool kBlend>
int CPlane::Stretch(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                    const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (!m_surface) return kNoSurface;
  if (CAppManager::GetDirectDraw() == nullptr) return kNoDirectDraw;
  DirectDrawSurface* src = SourceSurface(source);
  if (src == nullptr) return kBadSource;
  const RECT sr = sourceRect ? *sourceRect : RECT{0, 0, src->Width(), src->Height()};
  const int64_t dw = destSize[0], dh = destSize[1];
  if (dw <= 0 || dh <= 0) return kNothingStretched;
  const RECT c = ClipRect(clip, m_width, m_height);
  Axis ax, ay;
  if (!StretchAxis(x, dw, sr.left, int64_t{sr.right} - sr.left, c.left, c.right, ax) ||
      !StretchAxis(y, dh, sr.top, int64_t{sr.bottom} - sr.top, c.top, c.bottom, ay))
    return kNothingStretched;
  const Key key = kKeyed ? ReadKey(src) : Key{};
  const LockedPair locks(m_surface.get(), src, "CPlane::BltRでSurfaceのLockに失敗"_sj);
  if (locks.result != 0) return locks.result;
  const LockedSurface& dest = locks.dest;
  const LockedSurface& from = locks.from;
  const int bits = dest.bits();
  if (kBlend ? (bits != 16 && bits != 24 && bits != 32) : (bits != 8 && bits != 16 && bits != 24 && bits != 32))
    return 0;
  const Factors fs = Split(sourceFactor), fd = Split(destFactor);
  const uint32_t colourBits = ColourBits(dest.format());
  const int bytes = dest.bytes();
  // A source rectangle reaching outside the source reads nothing there.
  const int64_t sw = src->Width(), sh = src->Height();
  int64_t sy = ay.src, ey = ay.err;
  for (int64_t row = 0; row < ay.count; ++row, Advance(sy, ey, ay)) {
    if (sy < 0 || sy >= sh) continue;
    uint8_t* d = dest.At(ax.dest, ay.dest + row);
    int64_t sx = ax.src, ex = ax.err;
    for (int64_t col = 0; col < ax.count; ++col, d += bytes, Advance(sx, ex, ax)) {
      if (sx < 0 || sx >= sw) continue;
      const uint32_t sp = LoadPixel(from.At(sx, sy), bytes);
      if (Transparent(key, sp, bits, colourBits)) continue;
      Store(d, bytes, kBlend ? Blend(sp, LoadPixel(d, bytes), dest.format(), bits, fs, fd) : sp);
    }
  }
  return 0;
}

namespace {
bool SameSize(const RECT* sourceRect, CDrawTarget* source, const int* destSize) {
  int w = 0, h = 0;
  if (sourceRect) {
    w = sourceRect->right - sourceRect->left;
    h = sourceRect->bottom - sourceRect->top;
  } else if (source) {
    source->GetSize(&w, &h);
  }
  return destSize[0] == w && destSize[1] == h;
}
}  // namespace

int CPlane::Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (destSize && !(m_surface && SameSize(sourceRect, source, destSize)))
    return Stretch<true, false>(source, x, y, 0, 0, sourceRect, destSize, clip);
  return CopyClipped<true>(source, x, y, sourceRect, clip);
}

int CPlane::BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (destSize && !(m_surface && SameSize(sourceRect, source, destSize)))
    return Stretch<false, false>(source, x, y, 0, 0, sourceRect, destSize, clip);
  return CopyClipped<false>(source, x, y, sourceRect, clip);
}

int CPlane::BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                     const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (destSize && !(m_surface && SameSize(sourceRect, source, destSize)))
    return Stretch<true, true>(source, x, y, destFactor, sourceFactor, sourceRect, destSize, clip);
  return BlendClipped<true>(source, x, y, destFactor, sourceFactor, sourceRect, clip);
}

int CPlane::BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                         const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (destSize && !(m_surface && SameSize(sourceRect, source, destSize)))
    return Stretch<false, true>(source, x, y, destFactor, sourceFactor, sourceRect, destSize, clip);
  return BlendClipped<false>(source, x, y, destFactor, sourceFactor, sourceRect, clip);
}

namespace {

// An effect on the rectangle (null: all) cut to the surface: 1 when nothing is left or the lock
// fails (its text logged), else 0 after body (locked surface, rectangle) ran at a depth it knows.
template <class Body>
int Effect(DirectDrawSurface* surface, const RECT* rect, const char* lockFailure, Body body) {
  const RECT r = ClipRect(rect, surface->Width(), surface->Height());
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  LockedSurface s(surface);
  if (!s.ok()) {
    ErrorLog::Out(lockFailure);
    return 1;
  }
  const int bits = s.bits();
  if (bits == 8 || bits == 16 || bits == 24 || bits == 32) body(s, r);
  return 0;
}

}  // namespace

int CPlane::MosaicBlt(int blockSize, const RECT* rect) {
  if (!m_surface) return kNoSurface;
  if (blockSize <= 0) return -2;
  return Effect(m_surface.get(), rect, "CPlane::MosaicBltでSurfaceのLockに失敗"_sj,
                [&](const LockedSurface& s, const RECT& r) {
                  const int bytes = s.bytes();
                  for (int64_t by = r.top; by < r.bottom; by += blockSize) {
                    const int64_t ey = std::min<int64_t>(by + blockSize, r.bottom);
                    for (int64_t bx = r.left; bx < r.right; bx += blockSize) {
                      const int64_t ex = std::min<int64_t>(bx + blockSize, r.right);
                      const uint32_t v = LoadPixel(s.At(bx, by), bytes);
                      for (int64_t yy = by; yy < ey; ++yy)
                        for (int64_t xx = bx; xx < ex; ++xx) Store(s.At(xx, yy), bytes, v);
                    }
                  }
                });
}

int CPlane::FlushBlt(const RECT* rect) {
  if (!m_surface) return kNoSurface;
  return Effect(m_surface.get(), rect, "CPlane::FlushBltでSurfaceのLockに失敗"_sj,
                [](const LockedSurface& s, const RECT& r) {
                  const int bits = s.bits(), bytes = s.bytes();
                  // 32 bits keep the top byte; every other depth inverts all its bits.
                  const uint32_t flip = bits == 32 ? 0x00FFFFFFu : (uint32_t{1} << bits) - 1;
                  for (int64_t y = r.top; y < r.bottom; ++y)
                    for (int64_t x = r.left; x < r.right; ++x)
                      Store(s.At(x, y), bytes, LoadPixel(s.At(x, y), bytes) ^ flip);
                });
}
