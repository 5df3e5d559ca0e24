#include "sdk/graphics/dib_image.h"

#include <cstring>
#include <vector>

void* DibAlloc(int kind, size_t bytes) {
  // Every allocator of the original kinds is the C heap here; the kind still decides whether
  // the block is freed.
  if (kind < kDibMalloc || kind > kDibGlobalFixed) return nullptr;
  return std::calloc(1, bytes == 0 ? 1 : bytes);
}

void DibFree(int kind, void* block) {
  if (kind >= kDibMalloc && kind <= kDibGlobalFixed) std::free(block);
}

bool FillBitmapInfoHeader(BITMAPINFOHEADER* header, int width, int height, int bitCount) {
  if (!header || !platform::IsDibDepth(bitCount) || width < 0 || height == INT32_MIN) return false;
  const uint64_t stride = platform::DibStride(width, bitCount);
  const uint64_t bytes = stride * static_cast<uint64_t>(platform::DibRows(height));
  if (bytes > kMaxDibImageBytes) return false;
  *header = BITMAPINFOHEADER{};
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<uint16_t>(bitCount);
  header->biCompression = BI_RGB;
  header->biClrUsed = bitCount <= 8 ? (1u << bitCount) : 0;
  header->biSizeImage = static_cast<uint32_t>(bytes);
  return true;
}

CDibImage::~CDibImage() {
  FreeHeader();
  FreeBits();
}

void CDibImage::FreeHeader() {
  DibFree(m_headerKind, m_header);
  m_header = nullptr;
  m_headerKind = kDibNotOwned;
}

void CDibImage::FreeBits() {
  DibFree(m_bitsKind, m_bits);
  m_bits = nullptr;
  m_bitsKind = kDibNotOwned;
}

bool CDibImage::Attach(BITMAPINFO* header, int headerKind, void* bits, int bitsKind) {
  if (!header || !bits) return false;
  FreeHeader();
  FreeBits();
  m_header = header;
  m_headerKind = headerKind;
  m_bits = bits;
  m_bitsKind = bitsKind;
  return true;
}

BITMAPINFO* CDibImage::MakeHeader(int width, int height, int bitCount) {
  BITMAPINFOHEADER h;
  if (!FillBitmapInfoHeader(&h, width, height, bitCount)) return nullptr;
  const size_t entries = h.biClrUsed;
  auto* info = static_cast<BITMAPINFO*>(DibAlloc(kDibGlobalFixed, sizeof(BITMAPINFOHEADER) + 4 * entries));
  if (!info) return nullptr;
  info->bmiHeader = h;
  RGBQUAD* colors = platform::DibColors(info);
  if (bitCount == 1) {
    colors[1] = RGBQUAD{255, 255, 255, 0};
  } else if (bitCount == 8) {
    for (size_t i = 0; i < entries; ++i) {
      const auto v = static_cast<uint8_t>(i);
      colors[i] = RGBQUAD{v, v, v, 0};
    }
  }
  return info;
}

void* CDibImage::AllocBits(const BITMAPINFO* header) {
  if (!header) return nullptr;
  const BITMAPINFOHEADER& h = header->bmiHeader;
  if (h.biHeight == INT32_MIN) return nullptr;
  const uint64_t bytes =
      uint64_t{platform::DibStride(h.biWidth, h.biBitCount)} * static_cast<uint64_t>(platform::DibRows(h.biHeight));
  if (bytes == 0 || bytes > kMaxDibImageBytes) return nullptr;
  return DibAlloc(kDibGlobalFixed, static_cast<size_t>(bytes));
}

bool CDibImage::Create(int width, int height, int bitCount) {
  FreeHeader();
  FreeBits();
  BITMAPINFO* header = MakeHeader(width, height, bitCount);
  if (!header) return false;
  void* bits = AllocBits(header);
  if (!bits) {
    DibFree(kDibGlobalFixed, header);
    return false;
  }
  return Attach(header, kDibGlobalFixed, bits, kDibGlobalFixed);
}

void CDibImage::SetGreyPalette() {
  if (!m_header) return;
  const std::span<RGBQUAD> colors = GetColors();
  const int bits = GetBitCount();
  if (bits != 1 && bits != 4 && bits != 8) return;
  const unsigned step = bits == 1 ? 255 : bits == 4 ? 17 : 1;
  for (size_t i = 0; i < colors.size(); ++i) {
    const auto v = static_cast<uint8_t>(i * step);
    colors[i] = RGBQUAD{v, v, v, 0};
  }
}

int CDibImage::GetStride() const {
  return m_header ? static_cast<int>(platform::DibStride(GetWidth(), GetBitCount())) : 0;
}

int CDibImage::AbsHeight() const {
  const int h = GetHeight();
  return h == INT32_MIN ? 0 : (h < 0 ? -h : h);
}

std::span<RGBQUAD> CDibImage::GetColors() const {
  if (!m_header || GetBitCount() > 8) return {};
  const uint32_t room = 1u << GetBitCount();
  return {platform::DibColors(m_header), std::min(platform::DibColorCount(m_header->bmiHeader), room)};
}

bool CDibImage::Adopt(BITMAPINFO* header, void* bits) {
  if (!header || !bits) {
    DibFree(kDibGlobalFixed, header);
    DibFree(kDibGlobalFixed, bits);
    return false;
  }
  return Attach(header, kDibGlobalFixed, bits, kDibGlobalFixed);
}

namespace {

// Calls f(row index in memory, expanded 0xAARRGGBB pixels) for every row; false when the image
// has nothing to expand.
template <typename F>
bool ForEachExpandedRow(const CDibImage& image, F f) {
  if (!image.GetBits() || !platform::IsDibDepth(image.GetBitCount()) || image.GetWidth() <= 0) return false;
  const int rows = image.GetHeight() < 0 ? -image.GetHeight() : image.GetHeight();
  const size_t stride = static_cast<size_t>(image.GetStride());
  std::vector<uint32_t> line(static_cast<size_t>(image.GetWidth()));
  for (int y = 0; y < rows; ++y) {
    platform::ExpandDibRow(image.GetBits() + static_cast<size_t>(y) * stride, image.GetBitCount(), image.GetColors(),
                           line);
    f(static_cast<size_t>(y), line.data());
  }
  return true;
}

template <typename T>
DibBlock<T> NewBlock(const CDibImage& image, size_t perPixel) {
  const int rows = image.GetHeight() < 0 ? -image.GetHeight() : image.GetHeight();
  const size_t bytes = static_cast<size_t>(std::max(image.GetWidth(), 0)) * static_cast<size_t>(rows) * perPixel;
  if (bytes == 0 || bytes > kMaxDibImageBytes) return nullptr;
  return DibBlock<T>(static_cast<T*>(DibAlloc(kDibGlobalFixed, bytes)));
}

}  // namespace

DibBlock<uint8_t> CDibImage::ToGreyBytes() const {
  DibBlock<uint8_t> out = NewBlock<uint8_t>(*this, 1);
  if (!out) return nullptr;
  const size_t w = static_cast<size_t>(GetWidth());
  if (!ForEachExpandedRow(*this, [&](size_t y, const uint32_t* p) {
        for (size_t x = 0; x < w; ++x) out[y * w + x] = DibGrey(p[x] & 0xFF, (p[x] >> 8) & 0xFF, (p[x] >> 16) & 0xFF);
      }))
    return nullptr;
  return out;
}

DibBlock<uint8_t> CDibImage::To24Bytes() const {
  DibBlock<uint8_t> out = NewBlock<uint8_t>(*this, 3);
  if (!out) return nullptr;
  const size_t w = static_cast<size_t>(GetWidth());
  if (!ForEachExpandedRow(*this, [&](size_t y, const uint32_t* p) {
        uint8_t* o = out.get() + y * w * 3;
        for (size_t x = 0; x < w; ++x) {
          o[3 * x] = static_cast<uint8_t>(p[x]);
          o[3 * x + 1] = static_cast<uint8_t>(p[x] >> 8);
          o[3 * x + 2] = static_cast<uint8_t>(p[x] >> 16);
        }
      }))
    return nullptr;
  return out;
}

bool CDibImage::ExpandTo32(const std::function<uint32_t*(size_t row)>& rowOut) const {
  if (!GetBits() || !platform::IsDibDepth(GetBitCount()) || GetWidth() <= 0) return false;
  const size_t rows = static_cast<size_t>(AbsHeight());
  const size_t stride = static_cast<size_t>(GetStride());
  const size_t w = static_cast<size_t>(GetWidth());
  for (size_t y = 0; y < rows; ++y)
    platform::ExpandDibRow(GetBits() + y * stride, GetBitCount(), GetColors(), std::span<uint32_t>(rowOut(y), w));
  return true;
}

DibBlock<uint32_t> CDibImage::To32Bytes() const {
  DibBlock<uint32_t> out = NewBlock<uint32_t>(*this, 4);
  if (!out) return nullptr;
  const size_t w = static_cast<size_t>(GetWidth());
  if (!ForEachExpandedRow(*this, [&](size_t y, const uint32_t* p) { std::memcpy(out.get() + y * w, p, w * 4); }))
    return nullptr;
  return out;
}
