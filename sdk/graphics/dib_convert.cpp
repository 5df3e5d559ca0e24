// Depth changes of CDibImage: each builds a new image of the same size and row order from one
// of the dense expansions and replaces the old one.
#include <algorithm>
#include <cstring>
#include <vector>

#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/median_cut.h"

namespace {

constexpr uint32_t kMethodMask = 0xFFFF;
constexpr uint32_t kDither = 1;
constexpr uint32_t kMedianCut = 2;

// The standard 8 x 8 ordered-dither matrix, indexed [y][x].
constexpr uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};

uint8_t GreyOf(uint32_t argb) { return DibGrey(argb & 0xFF, (argb >> 8) & 0xFF, (argb >> 16) & 0xFF); }

// Stores a palette index of 1, 4 or 8 bits; 4-bit rows hold the left pixel in the high nibble.
void PutIndex(uint8_t* row, size_t x, int bitCount, unsigned index) {
  if (bitCount == 8) {
    row[x] = static_cast<uint8_t>(index);
  } else if (bitCount == 4) {
    row[x >> 1] |= static_cast<uint8_t>((index & 0x0F) << ((x & 1) ? 0 : 4));
  } else {
    row[x >> 3] |= static_cast<uint8_t>((index & 1) << (7 - (x & 7)));
  }
}

// A new image's blocks, made together so that neither leaks when the other fails.
struct NewImage {
  BITMAPINFO* header = nullptr;
  uint8_t* bits = nullptr;
  size_t stride = 0;
  NewImage(int width, int height, int bitCount) {
    header = CDibImage::MakeHeader(width, height, bitCount);
    bits = static_cast<uint8_t*>(CDibImage::AllocBits(header));
    stride = platform::DibStride(width, bitCount);
  }
  ~NewImage() {
    DibFree(kDibGlobalFixed, header);
    DibFree(kDibGlobalFixed, bits);
  }
  bool ok() const { return header && bits; }
  uint8_t* Row(size_t y) const { return bits + y * stride; }
  // Hands both blocks to the image.
  bool MoveTo(CDibImage& image) {
    const bool done = image.Attach(header, kDibGlobalFixed, bits, kDibGlobalFixed);
    if (done) header = nullptr, bits = nullptr;
    return done;
  }
};

}  // namespace

bool CDibImage::ConvertBitCount(int bitCount, uint32_t mode) {
  if (!m_bits) return false;
  switch (bitCount) {
    case 1: return ConvertTo1();
    case 4: return ConvertTo4(mode);
    case 8: return ConvertTo8(mode);
    case 16: return ConvertTo16(mode);
    case 24: return ConvertTo24();
    case 32: return ConvertTo32();
    default: return false;
  }
}

bool CDibImage::ConvertTo1() {
  const DibBlock<uint32_t> argb = To32Bytes();
  if (!argb) return false;
  const int w = GetWidth(), h = AbsHeight();
  NewImage out(w, GetHeight(), 1);
  if (!out.ok()) return false;

  // Errors are kept as multiples of 42 (the sum of the weights) for this row and the next two.
  std::vector<int32_t> err[3];
  for (auto& e : err) e.assign(static_cast<size_t>(w), 0);
  static constexpr int kBelow[5] = {2, 4, 8, 4, 2};
  static constexpr int kTwoBelow[5] = {1, 2, 4, 2, 1};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int32_t acc = err[0][static_cast<size_t>(x)];
      const int32_t v = GreyOf(argb[static_cast<size_t>(y) * w + x]) + acc / 42;
      const int32_t rem = acc % 42;
      const bool white = v > 127;
      const int32_t e = white ? v - 255 : v;
      if (white) PutIndex(out.Row(static_cast<size_t>(y)), static_cast<size_t>(x), 1, 1);

      int32_t given = 0;
      auto share = [&](int row, int dx, int weight) {
        const int nx = x + dx;
        if (nx < 0 || nx >= w || y + row >= h) return;
        err[row][static_cast<size_t>(nx)] += e * weight;
        given += e * weight;
      };
      share(0, 1, 8);
      share(0, 2, 4);
      for (int i = 0; i < 5; ++i) share(1, i - 2, kBelow[i]);
      for (int i = 0; i < 5; ++i) share(2, i - 2, kTwoBelow[i]);
      // What the weights left undistributed (and the division's remainder) goes two down, two
      // right, or nowhere when that pixel does not exist.
      if (x + 2 < w && y + 2 < h) err[2][static_cast<size_t>(x + 2)] += 42 * e + rem - given;
    }
    std::swap(err[0], err[1]);
    std::swap(err[1], err[2]);
    std::fill(err[2].begin(), err[2].end(), 0);
  }
  return out.MoveTo(*this);
}

bool CDibImage::ConvertTo4(uint32_t mode) {
  if ((mode & kMethodMask) == kMedianCut) return QuantizeTo4();
  const DibBlock<uint8_t> grey = ToGreyBytes();
  if (!grey) return false;
  const int w = GetWidth(), h = AbsHeight();
  NewImage out(w, GetHeight(), 4);
  if (!out.ok()) return false;
  RGBQUAD* colors = platform::DibColors(out.header);
  for (int i = 0; i < 16; ++i) {
    const auto v = static_cast<uint8_t>(17 * i);
    colors[i] = RGBQUAD{v, v, v, 0};
  }
  for (size_t y = 0; y < static_cast<size_t>(h); ++y)
    for (size_t x = 0; x < static_cast<size_t>(w); ++x) PutIndex(out.Row(y), x, 4, grey[y * w + x] / 16);
  return out.MoveTo(*this);
}

bool CDibImage::ConvertTo8(uint32_t mode) {
  const uint32_t method = mode & kMethodMask;
  if (method == kMedianCut) return QuantizeTo8();
  const int w = GetWidth(), h = AbsHeight();
  if (method == kDither) {
    const DibBlock<uint32_t> argb = To32Bytes();
    if (!argb) return false;
    NewImage out(w, GetHeight(), 8);
    if (!out.ok()) return false;
    RGBQUAD* colors = platform::DibColors(out.header);
    for (int b = 0; b < 6; ++b)
      for (int g = 0; g < 6; ++g)
        for (int r = 0; r < 6; ++r)
          colors[36 * b + 6 * g + r] = RGBQUAD{static_cast<uint8_t>(51 * b), static_cast<uint8_t>(51 * g),
                                               static_cast<uint8_t>(51 * r), 0};
    for (size_t y = 0; y < static_cast<size_t>(h); ++y) {
      for (size_t x = 0; x < static_cast<size_t>(w); ++x) {
        const unsigned t = kBayer[y % 8][x % 8] * 51u / 64u;
        auto level = [t](unsigned c) { return c / 51 + (c % 51 > t ? 1u : 0u); };
        const uint32_t p = argb[y * w + x];
        out.Row(y)[x] = static_cast<uint8_t>(36 * level(p & 0xFF) + 6 * level((p >> 8) & 0xFF) + level((p >> 16) & 0xFF));
      }
    }
    return out.MoveTo(*this);
  }
  const DibBlock<uint8_t> grey = ToGreyBytes();
  if (!grey) return false;
  NewImage out(w, GetHeight(), 8);
  if (!out.ok()) return false;
  for (size_t y = 0; y < static_cast<size_t>(h); ++y) std::memcpy(out.Row(y), grey.get() + y * w, static_cast<size_t>(w));
  return out.MoveTo(*this);
}

namespace {

bool Quantize(CDibImage& image, int colors, int bitCount) {
  const DibBlock<uint8_t> rgb = image.To24Bytes();
  if (!rgb) return false;
  const int w = image.GetWidth(), h = image.GetHeight() < 0 ? -image.GetHeight() : image.GetHeight();
  CMedianCut cut;
  if (!cut.Build(rgb.get(), w, h, colors)) return false;
  NewImage out(w, image.GetHeight(), bitCount);
  if (!out.ok()) return false;
  RGBQUAD* table = platform::DibColors(out.header);
  for (int i = 0; i < (1 << bitCount); ++i) {
    if (i >= cut.GetBoxCount()) {
      table[i] = RGBQUAD{};
      continue;
    }
    const CMedianCut::Box& b = cut.GetBox(i);
    table[i] = RGBQUAD{static_cast<uint8_t>(b.minBlue + b.extentBlue / 2), static_cast<uint8_t>(b.minGreen + b.extentGreen / 2),
                       static_cast<uint8_t>(b.minRed + b.extentRed / 2), 0};
  }
  for (size_t y = 0; y < static_cast<size_t>(h); ++y) {
    for (size_t x = 0; x < static_cast<size_t>(w); ++x) {
      const uint8_t* p = rgb.get() + 3 * (y * w + x);
      PutIndex(out.Row(y), x, bitCount, static_cast<unsigned>(cut.Lookup(p[0], p[1], p[2])));
    }
  }
  return out.MoveTo(image);
}

}  // namespace

bool CDibImage::QuantizeTo4() { return Quantize(*this, 16, 4); }
bool CDibImage::QuantizeTo8() { return Quantize(*this, 256, 8); }

bool CDibImage::ConvertTo16(uint32_t mode) {
  const DibBlock<uint32_t> argb = To32Bytes();
  if (!argb) return false;
  const int w = GetWidth(), h = AbsHeight();
  NewImage out(w, GetHeight(), 16);
  if (!out.ok()) return false;
  // With carries, the three bits each channel loses go on to the next pixel, across row ends too.
  const bool carry = (mode & kMethodMask) == kDither;
  unsigned carried[3] = {0, 0, 0};
  for (size_t y = 0; y < static_cast<size_t>(h); ++y) {
    for (size_t x = 0; x < static_cast<size_t>(w); ++x) {
      const uint32_t p = argb[y * w + x];
      unsigned five[3];
      for (int c = 0; c < 3; ++c) {
        unsigned v = (p >> (8 * c)) & 0xFF;
        if (carry) {
          v = std::min(255u, v + carried[c]);
          carried[c] = v & 7;
        }
        five[c] = v >> 3;
      }
      const unsigned word = (five[2] << 10) | (five[1] << 5) | five[0];
      out.Row(y)[2 * x] = static_cast<uint8_t>(word);
      out.Row(y)[2 * x + 1] = static_cast<uint8_t>(word >> 8);
    }
  }
  return out.MoveTo(*this);
}

bool CDibImage::ConvertTo24() {
  const DibBlock<uint8_t> rgb = To24Bytes();
  if (!rgb) return false;
  const int w = GetWidth(), h = AbsHeight();
  NewImage out(w, GetHeight(), 24);
  if (!out.ok()) return false;
  for (size_t y = 0; y < static_cast<size_t>(h); ++y) std::memcpy(out.Row(y), rgb.get() + 3 * y * w, 3 * static_cast<size_t>(w));
  return out.MoveTo(*this);
}

bool CDibImage::ConvertTo32() {
  DibBlock<uint32_t> argb = To32Bytes();
  if (!argb) return false;
  BITMAPINFO* header = MakeHeader(GetWidth(), GetHeight(), 32);
  if (!header) return false;
  return Adopt(header, argb.release());
}
