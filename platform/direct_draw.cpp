#include "platform/direct_draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/image_limits.h"

namespace platform {

namespace {

DDPIXELFORMAT FormatFor(int bitCount) {
  DDPIXELFORMAT f;
  switch (bitCount) {
    case 8:
      f.dwRGBBitCount = 8;
      break;
    case 16:
      f = {16, 0x7C00, 0x03E0, 0x001F};
      break;
    case 24:
      f = {24, 0xFF0000, 0x00FF00, 0x0000FF};
      break;
    default:
      f = {32, 0xFF0000, 0x00FF00, 0x0000FF};
      break;
  }
  return f;
}

// A 3-3-2 palette, so that every colour has a near entry.
struct PaletteInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

bool Inside(const RECT& r, int width, int height) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width && r.bottom <= height;
}

uint32_t ReadPixel(const uint8_t* row, int x, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, row + static_cast<size_t>(x) * bytes, bytes);
  return v;
}

void WritePixel(uint8_t* row, int x, int bytes, uint32_t v) {
  std::memcpy(row + static_cast<size_t>(x) * bytes, &v, bytes);
}

}  // namespace

DirectDrawSurface::DirectDrawSurface(std::unique_ptr<Bitmap> bitmap, const DDPIXELFORMAT& format, DWORD caps)
    : m_bitmap(std::move(bitmap)), m_format(format), m_caps(caps) {
  m_dc.SelectBitmap(m_bitmap.get());
}

DirectDrawSurface::~DirectDrawSurface() { m_dc.SelectBitmap(nullptr); }

HRESULT DirectDrawSurface::Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD) {
  if (rect != nullptr || desc == nullptr) return DDERR_INVALIDPARAMS;
  if (m_lost) return DDERR_SURFACELOST;
  if (m_stillDrawing > 0) {
    --m_stillDrawing;
    return DDERR_WASSTILLDRAWING;
  }
  if (Busy()) return DDERR_SURFACEBUSY;
  m_locked = true;
  desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc->dwWidth = static_cast<DWORD>(m_bitmap->Width());
  desc->dwHeight = static_cast<DWORD>(m_bitmap->Height());
  desc->lPitch = m_bitmap->Pitch();
  desc->lpSurface = m_bitmap->Bits();
  desc->dwCaps = m_caps;
  desc->ddpfPixelFormat = m_format;
  return DD_OK;
}

HRESULT DirectDrawSurface::Unlock(void*) {
  if (!m_locked) return DDERR_NOTLOCKED;
  m_locked = false;
  return DD_OK;
}

HRESULT DirectDrawSurface::GetDC(HDC* dc) {
  if (dc == nullptr) return DDERR_INVALIDPARAMS;
  *dc = nullptr;
  if (m_lost) return DDERR_SURFACELOST;
  if (m_dcOut) return DDERR_DCALREADYCREATED;
  if (m_locked) return DDERR_SURFACEBUSY;
  m_dcOut = true;
  *dc = &m_dc;
  return DD_OK;
}

HRESULT DirectDrawSurface::ReleaseDC(HDC dc) {
  if (!m_dcOut || dc != &m_dc) return DDERR_NODC;
  m_dcOut = false;
  return DD_OK;
}

HRESULT DirectDrawSurface::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
  if (flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
  m_hasKey = key != nullptr;
  if (key) m_key = *key;
  return DD_OK;
}

HRESULT DirectDrawSurface::GetColorKey(DWORD flags, DDCOLORKEY* key) const {
  if (flags != DDCKEY_SRCBLT || key == nullptr) return DDERR_INVALIDPARAMS;
  if (!m_hasKey) return DDERR_NOCOLORKEY;
  *key = m_key;
  return DD_OK;
}

HRESULT DirectDrawSurface::Blt(const RECT* dest, DirectDrawSurface* source, const RECT* sourceRect, DWORD flags,
                               const DDBLTFX* fx) {
  if (m_lost) return DDERR_SURFACELOST;
  if (Busy()) return DDERR_SURFACEBUSY;
  const RECT all{0, 0, Width(), Height()};
  const RECT d = dest ? *dest : all;
  if (!Inside(d, Width(), Height())) return DDERR_INVALIDRECT;
  const int bytes = static_cast<int>(m_format.dwRGBBitCount / 8);
  if (flags & DDBLT_COLORFILL) {
    if (fx == nullptr) return DDERR_INVALIDPARAMS;
    for (int y = d.top; y < d.bottom; ++y)
      for (int x = d.left; x < d.right; ++x) WritePixel(m_bitmap->Row(y), x, bytes, fx->dwFillColor);
    return DD_OK;
  }
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  if (source->m_lost) return DDERR_SURFACELOST;
  if (source != this && source->Busy()) return DDERR_SURFACEBUSY;
  if (source->m_format.dwRGBBitCount != m_format.dwRGBBitCount) return DDERR_INVALIDPARAMS;
  const RECT s = sourceRect ? *sourceRect : RECT{0, 0, source->Width(), source->Height()};
  if (!Inside(s, source->Width(), source->Height())) return DDERR_INVALIDRECT;
  const int64_t dw = d.right - d.left, dh = d.bottom - d.top;
  const int64_t sw = s.right - s.left, sh = s.bottom - s.top;
  for (int64_t y = 0; y < dh; ++y) {
    const uint8_t* srow = source->m_bitmap->Row(static_cast<int>(s.top + y * sh / dh));
    uint8_t* drow = m_bitmap->Row(static_cast<int>(d.top + y));
    for (int64_t x = 0; x < dw; ++x)
      WritePixel(drow, static_cast<int>(d.left + x), bytes,
                 ReadPixel(srow, static_cast<int>(s.left + x * sw / dw), bytes));
  }
  return DD_OK;
}

HRESULT DirectDrawSurface::BltFast(int x, int y, DirectDrawSurface* source, const RECT* sourceRect, DWORD flags) {
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  if (m_lost || source->m_lost) return DDERR_SURFACELOST;
  if (Busy() || (source != this && source->Busy())) return DDERR_SURFACEBUSY;
  if (source->m_format.dwRGBBitCount != m_format.dwRGBBitCount) return DDERR_INVALIDPARAMS;
  const RECT s = sourceRect ? *sourceRect : RECT{0, 0, source->Width(), source->Height()};
  if (!Inside(s, source->Width(), source->Height())) return DDERR_INVALIDRECT;
  const int64_t w = s.right - s.left, h = s.bottom - s.top;
  if (x < 0 || y < 0 || x + w > Width() || y + h > Height()) return DDERR_INVALIDRECT;
  const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0 && source->m_hasKey;
  const int bytes = static_cast<int>(m_format.dwRGBBitCount / 8);
  const uint32_t colourBits =
      bytes == 1 ? 0xFFu : (bytes == 3 ? 0xFFFFFFu : (m_format.dwRBitMask | m_format.dwGBitMask | m_format.dwBBitMask));
  const uint32_t key = source->m_key.dwColorSpaceLowValue & colourBits;
  // Rows are staged so that a copy within one surface reads what was there before.
  std::vector<uint8_t> rows(static_cast<size_t>(w * bytes * h));
  for (int64_t r = 0; r < h; ++r)
    std::memcpy(&rows[static_cast<size_t>(r * w * bytes)],
                source->m_bitmap->Row(static_cast<int>(s.top + r)) + static_cast<size_t>(s.left) * bytes,
                static_cast<size_t>(w * bytes));
  for (int64_t r = 0; r < h; ++r) {
    const uint8_t* srow = &rows[static_cast<size_t>(r * w * bytes)];
    uint8_t* drow = m_bitmap->Row(static_cast<int>(y + r));
    for (int64_t c = 0; c < w; ++c) {
      const uint32_t v = ReadPixel(srow, static_cast<int>(c), bytes);
      if (keyed && (v & colourBits) == key) continue;
      WritePixel(drow, static_cast<int>(x + c), bytes, v);
    }
  }
  return DD_OK;
}

HRESULT DirectDrawSurface::Flip(DirectDrawSurface* other) {
  if (other == nullptr || other == this) return DDERR_INVALIDPARAMS;
  if (m_lost || other->m_lost) return DDERR_SURFACELOST;
  if (Busy() || other->Busy()) return DDERR_SURFACEBUSY;
  if (other->Width() != Width() || other->Height() != Height() ||
      other->m_format.dwRGBBitCount != m_format.dwRGBBitCount)
    return DDERR_INVALIDPARAMS;
  std::swap(m_bitmap, other->m_bitmap);
  m_dc.SelectBitmap(m_bitmap.get());
  other->m_dc.SelectBitmap(other->m_bitmap.get());
  return DD_OK;
}

HRESULT DirectDrawSurface::IsLost() const { return m_lost ? DDERR_SURFACELOST : DD_OK; }

HRESULT DirectDrawSurface::Restore() {
  if (m_lost) {
    std::memset(m_bitmap->Bits(), 0, static_cast<size_t>(m_bitmap->Pitch()) * m_bitmap->Height());
    m_lost = false;
  }
  return DD_OK;
}

HRESULT DirectDrawSurface::GetPixelFormat(DDPIXELFORMAT* format) const {
  if (format == nullptr) return DDERR_INVALIDPARAMS;
  *format = m_format;
  return DD_OK;
}

DirectDraw::DirectDraw(int bitCount) : m_format(FormatFor(bitCount)) {}

HRESULT DirectDraw::CreateSurface(const DDSURFACEDESC& desc, std::unique_ptr<DirectDrawSurface>& out) {
  out.reset();
  const DWORD need = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  if ((desc.dwFlags & need) != need) return DDERR_INVALIDPARAMS;
  if (!ImageSizeAllowed(desc.dwWidth, desc.dwHeight)) return DDERR_INVALIDPARAMS;
  if (m_refuse && m_refuse(desc)) return DDERR_OUTOFMEMORY;
  PaletteInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = static_cast<int32_t>(desc.dwWidth);
  info.header.biHeight = -static_cast<int32_t>(desc.dwHeight);
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<uint16_t>(m_format.dwRGBBitCount);
  if (m_format.dwRGBBitCount == 8) {
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
      info.colors[i].rgbRed = static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7);
      info.colors[i].rgbGreen = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
      info.colors[i].rgbBlue = static_cast<uint8_t>((i & 3) * 255 / 3);
    }
  }
  std::unique_ptr<Bitmap> bitmap = CreateDIBSection(reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
  if (!bitmap) return DDERR_OUTOFMEMORY;
  out.reset(new DirectDrawSurface(std::move(bitmap), m_format, desc.dwCaps));
  return DD_OK;
}

}  // namespace platform
