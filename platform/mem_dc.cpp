#include "platform/mem_dc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

COLORREF ArgbToColorref(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }
uint32_t ColorrefToRgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

uint32_t ReadPixel(const Bitmap& bitmap, int x, int y) {
  return ReadDibPixel(bitmap.Row(y), x, bitmap.BitCount(), bitmap.Colors());
}

// A block of pixels to be stored at (x, y) of a bitmap, source rows already expanded.
struct Placement {
  int destX, destY, width, height;
  int srcX, srcY;
};

// Clips a w x h block at (x, y) against the output rectangle and the source's own w x h bounds
// given by srcW/srcH, moving the source origin along with the destination.
bool ClipPlacement(const RECT& out, int x, int y, int w, int h, int sx, int sy, int srcW, int srcH, Placement& p) {
  if (w <= 0 || h <= 0) return false;
  int64_t l = x, t = y, r = int64_t{x} + w, b = int64_t{y} + h;
  int64_t sl = sx, st = sy;
  // Parts of the source outside its bounds are not drawn.
  if (sl < 0) {
    l -= sl;
    sl = 0;
  }
  if (st < 0) {
    t -= st;
    st = 0;
  }
  r = std::min<int64_t>(r, l + (srcW - sl));
  b = std::min<int64_t>(b, t + (srcH - st));
  if (l < out.left) {
    sl += out.left - l;
    l = out.left;
  }
  if (t < out.top) {
    st += out.top - t;
    t = out.top;
  }
  r = std::min<int64_t>(r, out.right);
  b = std::min<int64_t>(b, out.bottom);
  if (r <= l || b <= t) return false;
  p = Placement{static_cast<int>(l),     static_cast<int>(t),  static_cast<int>(r - l),
                static_cast<int>(b - t), static_cast<int>(sl), static_cast<int>(st)};
  return true;
}

void StoreRow(const Bitmap& dest, int x, int y, std::span<const uint32_t> argb, bool keepAlpha) {
  uint8_t* row = dest.Row(y);
  const int bpp = dest.BitCount();
  for (size_t i = 0; i < argb.size(); ++i) {
    const uint32_t v = keepAlpha ? argb[i] : (argb[i] & 0x00FFFFFFu);
    StoreDibPixel(row, x + static_cast<int>(i), bpp, dest.Colors(), v);
  }
}

}  // namespace

void Bitmap::FreeBits::operator()(uint8_t* bits) const { std::free(bits); }

std::unique_ptr<Bitmap> CreateDIBSection32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height == INT32_MIN ? 0 : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(&info, DIB_RGB_COLORS);
}

std::unique_ptr<Bitmap> CreateDIBSection(const BITMAPINFO* info, UINT usage) {
  if (!info || usage != DIB_RGB_COLORS) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || !IsDibDepth(h.biBitCount)) return nullptr;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return nullptr;
  const uint32_t pitch = DibStride(h.biWidth, h.biBitCount);
  const uint64_t height = static_cast<uint64_t>(DibRows(h.biHeight));
  if (pitch == 0 || pitch * height > kMaxDibSectionBytes) return nullptr;

  std::unique_ptr<Bitmap> bitmap(new Bitmap);
  bitmap->m_width = h.biWidth;
  bitmap->m_height = static_cast<int>(height);
  bitmap->m_bitCount = h.biBitCount;
  bitmap->m_pitch = pitch;
  bitmap->m_topDown = h.biHeight < 0;
  bitmap->m_bits.reset(static_cast<uint8_t*>(std::calloc(pitch * height, 1)));
  if (!bitmap->m_bits) return nullptr;
  if (h.biBitCount <= 8) {
    // The table always has room for every index the depth can hold; entries not given are black.
    const size_t room = size_t{1} << h.biBitCount;
    const size_t given = std::min<size_t>(DibColorCount(h), room);
    bitmap->m_colors = std::make_unique<RGBQUAD[]>(room);
    std::memcpy(bitmap->m_colors.get(), DibColors(info), given * sizeof(RGBQUAD));
    bitmap->m_colorCount = room;
  }
  return bitmap;
}

void MemDC::SetClipRect(const RECT* rect) {
  m_hasClip = rect != nullptr;
  if (rect) m_clip = *rect;
}

RECT MemDC::GetOutputRect() const {
  if (!m_bitmap) return RECT{};
  const RECT all{0, 0, m_bitmap->Width(), m_bitmap->Height()};
  if (!m_hasClip) return all;
  RECT r;
  IntersectRect(&r, &all, &m_clip);
  return r;
}

bool MemDC::InOutput(int x, int y) const {
  const RECT r = GetOutputRect();
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc || !dc->InOutput(x, y)) return CLR_INVALID;
  return ArgbToColorref(ReadPixel(*dc->GetBitmap(), x, y));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!dc || !dc->InOutput(x, y)) return CLR_INVALID;
  const Bitmap& b = *dc->GetBitmap();
  StoreDibPixel(b.Row(y), x, b.BitCount(), b.Colors(), ColorrefToRgb(color));
  return color & 0x00FFFFFF;
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  if (!dest || !src || rop != SRCCOPY || !dest->GetBitmap() || !src->GetBitmap()) return 0;
  const Bitmap& from = *src->GetBitmap();
  const Bitmap& to = *dest->GetBitmap();
  Placement p;
  if (!ClipPlacement(dest->GetOutputRect(), x, y, w, h, sx, sy, from.Width(), from.Height(), p)) return 1;

  // Rows go through a buffer, so a copy within one bitmap reads each row before it is overwritten
  // in the order chosen below.
  const bool downward = &from == &to && p.srcY < p.destY;
  std::vector<uint32_t> line(static_cast<size_t>(from.Width()));
  const bool sameFormat = from.BitCount() == to.BitCount() && from.BitCount() >= 16;
  const size_t bytesPerPixel = static_cast<size_t>(from.BitCount()) / 8;
  std::vector<uint8_t> raw(sameFormat ? static_cast<size_t>(p.width) * bytesPerPixel : 0);
  for (int i = 0; i < p.height; ++i) {
    const int row = downward ? p.height - 1 - i : i;
    if (sameFormat) {
      std::memcpy(raw.data(), from.Row(p.srcY + row) + p.srcX * bytesPerPixel, raw.size());
      std::memcpy(to.Row(p.destY + row) + p.destX * bytesPerPixel, raw.data(), raw.size());
      continue;
    }
    ExpandDibRow(from.Row(p.srcY + row), from.BitCount(), from.Colors(), line);
    StoreRow(to, p.destX, p.destY + row, std::span<const uint32_t>(line).subspan(p.srcX, p.width),
             from.BitCount() == 32);
  }
  return 1;
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  if (!dc || !dc->GetBitmap() || !bits || !info || usage != DIB_RGB_COLORS) return 0;
  const BITMAPINFOHEADER& hdr = info->bmiHeader;
  if (hdr.biCompression != BI_RGB || !IsDibDepth(hdr.biBitCount) || hdr.biWidth <= 0 || hdr.biHeight == 0 ||
      hdr.biHeight == INT32_MIN)
    return 0;
  const int height = hdr.biHeight < 0 ? -hdr.biHeight : hdr.biHeight;
  if (startScan != 0 || lines < static_cast<UINT>(height)) return 0;
  const uint32_t stride = DibStride(hdr.biWidth, hdr.biBitCount);
  if (stride == 0 || w > INT32_MAX || h > INT32_MAX) return 0;

  const bool topDown = hdr.biHeight < 0;
  // Bottom-up DIBs measure the source origin from their lower-left corner.
  const int64_t top = topDown ? ySrc : int64_t{height} - ySrc - static_cast<int64_t>(h);
  if (top < INT32_MIN || top > INT32_MAX) return 0;
  Placement p;
  if (!ClipPlacement(dc->GetOutputRect(), x, y, static_cast<int>(w), static_cast<int>(h), xSrc, static_cast<int>(top),
                     hdr.biWidth, height, p))
    return static_cast<int>(lines);

  const uint32_t tableSize = std::min<uint32_t>(DibColorCount(hdr), 256);
  const std::span<const RGBQUAD> colors(DibColors(info), tableSize);
  const uint8_t* base = static_cast<const uint8_t*>(bits);
  std::vector<uint32_t> line(static_cast<size_t>(hdr.biWidth));
  for (int i = 0; i < p.height; ++i) {
    const int pictureRow = p.srcY + i;
    const int stored = topDown ? pictureRow : height - 1 - pictureRow;
    ExpandDibRow(base + static_cast<size_t>(stored) * stride, hdr.biBitCount, colors, line);
    StoreRow(*dc->GetBitmap(), p.destX, p.destY + i, std::span<const uint32_t>(line).subspan(p.srcX, p.width),
             hdr.biBitCount == 32);
  }
  return static_cast<int>(lines);
}

}  // namespace platform
