#include "sdk/graphics/mem_plane_impl.h"

#include <algorithm>
#include <cstdlib>

#include "sdk/graphics/mem_plane.h"

namespace {

// Rows start on 64-byte boundaries when the width allows; the block itself always does, which
// suits the widest vector loads.
constexpr size_t kBlockAlignment = 64;

}  // namespace

void CMemPlaneImpl::FreeBlock::operator()(uint32_t* p) const { std::free(p); }

CMemPlaneImpl::CMemPlaneImpl(const blit_rows::RowKernels& rows) : m_rowKernels(rows) {}

CMemPlaneImpl::~CMemPlaneImpl() = default;

int CMemPlaneImpl::CreateSurface(int width, int height) {
  const int r = AllocPixels(width, height);
  if (r == 0) Clear(0xFFFFFFFF, nullptr);
  return r;
}

int CMemPlaneImpl::AllocPixels(int width, int height) {
  Release();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 1;
  const int64_t count = int64_t{width} * height;
  if (count > kMaxPixels) return 1;
  if (m_useDIBSection) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap = platform::CreateDIBSection(&info, DIB_RGB_COLORS);
    if (!m_bitmap) return 1;
    m_dc = std::make_unique<platform::MemDC>();
    m_dc->SelectBitmap(m_bitmap.get());
    m_pixels = reinterpret_cast<uint32_t*>(m_bitmap->Bits());
  } else {
    const size_t bytes = static_cast<size_t>(count) * sizeof(uint32_t);
    const size_t rounded = (bytes + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
    m_block.reset(static_cast<uint32_t*>(std::aligned_alloc(kBlockAlignment, rounded)));
    if (!m_block) return 1;
    m_pixels = m_block.get();
  }
  m_rect = RECT{0, 0, width, height};
  m_pitch = width * 4;
  return 0;
}

int CMemPlaneImpl::Resize(int width, int height) {
  if (width == Width() && height == Height()) return 0;
  return CreateSurface(width, height);
}

void CMemPlaneImpl::Release() {
  m_dc.reset();
  m_bitmap.reset();
  m_block.reset();
  m_pixels = nullptr;
  m_rect = RECT{};
  m_pitch = 0;
  m_loaded = false;
  m_hasAlpha = false;
}

RECT* CMemPlaneImpl::ClipRect(RECT* out, const RECT* rect) const {
  const RECT r = rect != nullptr ? *rect : m_rect;
  out->left = std::max(r.left, m_rect.left);
  out->top = std::max(r.top, m_rect.top);
  out->right = std::min(r.right, m_rect.right);
  out->bottom = std::min(r.bottom, m_rect.bottom);
  return out;
}

void CMemPlaneImpl::GetSize(int* width, int* height) const {
  if (width != nullptr) *width = m_pixels != nullptr ? m_rect.right : 0;
  if (height != nullptr) *height = m_pixels != nullptr ? m_rect.bottom : 0;
}

uint32_t CMemPlaneImpl::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  return GetRow(y)[x];
}

int CMemPlaneImpl::Clear(uint32_t colour, const RECT* rect) {
  if (m_pixels == nullptr) return 1;
  if (colour == 0xFFFFFFFF) colour = m_fillColor;
  RECT r;
  ClipRect(&r, rect);
  for (LONG y = r.top; y < r.bottom; ++y)
    std::fill(GetRow(y) + r.left, GetRow(y) + std::max(r.left, r.right), colour);
  return 0;
}

int CMemPlaneImpl::SetColorKey(int r, int g, int b) {
  m_colorKey = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
               static_cast<uint32_t>(b);
  return 0;
}

int CMemPlaneImpl::SetColorKeyPos(int x, int y) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 1;
  m_colorKey = GetPixel(x, y) & 0xFFFFFF;
  return 0;
}

void CMemPlaneImpl::ClearAlpha() {
  const size_t n = static_cast<size_t>(Width()) * Height();
  for (size_t i = 0; i < n; ++i) m_pixels[i] &= 0x00FFFFFF;
}

int CMemPlaneImpl::BlendBltNatural(CMemPlane* source, int x, int y, int ratio,
                                   const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (source == nullptr) return 1;
  if (ratio <= 0) return 0;
  if (ratio >= 256) return BltNatural(source, x, y, sourceRect, destSize, clip);
  const uint32_t f = static_cast<uint32_t>(ratio) * 0x010101u;
  if (source->HasAlpha())
    return BlendBltAlpha(source, x, y, 0xFFFFFF - f, f, sourceRect, destSize, clip);
  return BlendBlt(source, x, y, 0xFFFFFF - f, f, sourceRect, destSize, clip);
}

int CMemPlaneImpl::BltNatural(CMemPlane* source, int x, int y, const RECT* sourceRect,
                              const int* destSize, RECT* clip) {
  if (source == nullptr) return 1;
  if (source->HasAlpha()) return BltAlpha(source, x, y, sourceRect, destSize, clip);
  return Blt(source, x, y, sourceRect, destSize, clip);
}

int CMemPlaneImpl::NullBlt(CMemPlane*, int, int, const RECT*, const int*, RECT*) { return 0; }

int CMemPlaneImpl::GetPixelAlpha(int x, int y) const {
  if (HasAlpha()) return static_cast<int>(GetPixel(x, y) >> 24);
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  return GetPixel(x, y) == m_colorKey ? 0 : 255;
}
