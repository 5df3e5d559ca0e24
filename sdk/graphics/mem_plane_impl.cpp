#include "sdk/graphics/mem_plane_impl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "sdk/graphics/mem_plane.h"

namespace {

// Rows start on 64-byte boundaries when the width allows; the block itself always does, which
// suits the widest vector loads.
constexpr size_t kBlockAlignment = 64;

// Sets n pixels to one colour. A colour of four equal bytes (black, white, clear) is a byte fill;
// any other is written once and then doubled by block copies, both of which the C library does
// with the widest stores the processor has.
void FillPixels(uint32_t* d, size_t n, uint32_t colour) {
  const uint8_t low = static_cast<uint8_t>(colour);
  if (colour == low * 0x01010101u) {
    std::memset(d, low, n * sizeof(uint32_t));
    return;
  }
  constexpr size_t kSeed = 16;
  size_t filled = std::min(n, kSeed);
  for (size_t i = 0; i < filled; ++i) d[i] = colour;
  while (filled < n) {
    const size_t more = std::min(filled, n - filled);
    std::memcpy(d + filled, d, more * sizeof(uint32_t));
    filled += more;
  }
}

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
  const int64_t count = int64_t{width} * height;
  const bool valid = platform::ImageSizeAllowed(width, height);
  // A heap block that fits is kept: a surface made again at its own size (a canvas laid out anew,
  // a glyph image of a similar size) costs no allocation and touches no fresh memory. A block more
  // than twice as large as needed is given back instead.
  std::unique_ptr<uint32_t[], FreeBlock> kept;
  size_t keptPixels = 0;
  if (valid && !m_useDIBSection && static_cast<size_t>(count) <= m_blockPixels &&
      m_blockPixels / 2 <= static_cast<size_t>(count)) {
    kept = std::move(m_block);
    keptPixels = m_blockPixels;
  }
  Release();
  if (!valid) return 1;
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
  } else if (kept) {
    m_block = std::move(kept);
    m_blockPixels = keptPixels;
    m_pixels = m_block.get();
  } else {
    const size_t bytes = static_cast<size_t>(count) * sizeof(uint32_t);
    const size_t rounded = (bytes + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
    m_block.reset(static_cast<uint32_t*>(std::aligned_alloc(kBlockAlignment, rounded)));
    if (!m_block) return 1;
    m_blockPixels = rounded / sizeof(uint32_t);
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

void CMemPlaneImpl::SwapPixels(CMemPlaneImpl& other) {
  std::swap(m_block, other.m_block);
  std::swap(m_blockPixels, other.m_blockPixels);
  std::swap(m_bitmap, other.m_bitmap);
  std::swap(m_dc, other.m_dc);
  std::swap(m_pixels, other.m_pixels);
  std::swap(m_rect, other.m_rect);
  std::swap(m_pitch, other.m_pitch);
  std::swap(m_hasAlpha, other.m_hasAlpha);
  std::swap(m_loaded, other.m_loaded);
}

void CMemPlaneImpl::Release() {
  m_dc.reset();
  m_bitmap.reset();
  m_block.reset();
  m_blockPixels = 0;
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
  if (r.left >= r.right || r.top >= r.bottom) return 0;
  const size_t width = static_cast<size_t>(r.right - r.left);
  if (width == static_cast<size_t>(Width())) {
    // Whole rows lie one after the other: one run.
    FillPixels(GetRow(r.top), width * static_cast<size_t>(r.bottom - r.top), colour);
  } else {
    for (LONG y = r.top; y < r.bottom; ++y) FillPixels(GetRow(y) + r.left, width, colour);
  }
  return 0;
}

int CMemPlaneImpl::SetColorKey(int r, int g, int b) {
  m_colorKey = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
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

int CMemPlaneImpl::BlendBltNatural(CMemPlane* source, int x, int y, int ratio, const RECT* sourceRect,
                                   const int* destSize, RECT* clip) {
  if (source == nullptr) return 1;
  if (ratio <= 0) return 0;
  if (ratio >= 256) return BltNatural(source, x, y, sourceRect, destSize, clip);
  const uint32_t f = static_cast<uint32_t>(ratio) * 0x010101u;
  if (source->HasAlpha()) return BlendBltAlpha(source, x, y, 0xFFFFFF - f, f, sourceRect, destSize, clip);
  return BlendBlt(source, x, y, 0xFFFFFF - f, f, sourceRect, destSize, clip);
}

int CMemPlaneImpl::BltNatural(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                              RECT* clip) {
  if (source == nullptr) return 1;
  if (source->HasAlpha()) return BltAlpha(source, x, y, sourceRect, destSize, clip);
  return Blt(source, x, y, sourceRect, destSize, clip);
}

int CMemPlaneImpl::NullBlt(CMemPlane*, int, int, const RECT*, const int*, RECT*) { return 0; }

std::unique_ptr<PieceBlitter> CMemPlaneImpl::MakePieceBlitter(PieceOp, CMemPlane*, uint32_t, uint32_t) {
  return nullptr;
}

int CMemPlaneImpl::GetPixelAlpha(int x, int y) const {
  if (HasAlpha()) return static_cast<int>(GetPixel(x, y) >> 24);
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  return GetPixel(x, y) == m_colorKey ? 0 : 255;
}
