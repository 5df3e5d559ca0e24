// Resampling of CDibImage: smooth-step weighted bilinear filtering at 24 and 32 bits, nearest
// pixel at the palette depths and 16 bits.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "sdk/graphics/dib_image.h"

namespace {

struct Tap {
  int index0;  // first source column (or row)
  int index1;  // the next one, never past the last
  int w0;      // weight of index0, out of 256
  int w1;      // weight of index1
};

// One entry per destination column: where it falls between two source columns. The last entry
// lands on the last source column. A source of one column maps everything to it.
std::vector<Tap> BuildTaps(int source, int dest) {
  std::vector<Tap> taps(static_cast<size_t>(dest));
  if (source == 1) {
    for (Tap& t : taps) t = Tap{0, 0, 256, 0};
    return taps;
  }
  const double step = dest > 1 ? static_cast<double>(source - 1) / (dest - 1) : 0.0;
  double p = 0.0;
  for (Tap& t : taps) {
    // Accumulated rounding may carry p past the second-to-last column; it is held there.
    const int index = std::min(static_cast<int>(p), source - 2);
    const double f = std::clamp(p - index, 0.0, 1.0);
    const int w1 = static_cast<int>(256.0 * f * f * (3.0 - 2.0 * f));
    t = Tap{index, index + 1, 256 - w1, w1};
    p += step;
  }
  taps.back() = Tap{source - 2, source - 1, 0, 256};
  return taps;
}

unsigned GetRaw(const uint8_t* row, int x, int bitCount) {
  switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8: return row[x];
    default: return static_cast<unsigned>(row[2 * x] | (row[2 * x + 1] << 8));
  }
}

void PutRaw(uint8_t* row, int x, int bitCount, unsigned v) {
  switch (bitCount) {
    case 1: row[x >> 3] |= static_cast<uint8_t>((v & 1) << (7 - (x & 7))); break;
    case 4: row[x >> 1] |= static_cast<uint8_t>((v & 0x0F) << ((x & 1) ? 0 : 4)); break;
    case 8: row[x] = static_cast<uint8_t>(v); break;
    default:
      row[2 * x] = static_cast<uint8_t>(v);
      row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
  }
}

}  // namespace

bool CDibImage::Resize(int width, int height) {
  if (!m_bits || !m_header || width <= 0 || height <= 0) return false;
  const int bitCount = GetBitCount();
  const int srcW = GetWidth(), srcH = AbsHeight();
  if (srcW <= 0 || srcH <= 0) return false;
  BITMAPINFOHEADER newHeader;
  if (!FillBitmapInfoHeader(&newHeader, width, GetHeight() < 1 ? -height : height, bitCount)) return false;
  BITMAPINFO sizing{newHeader, {}};
  DibBlock<uint8_t> bits(static_cast<uint8_t*>(AllocBits(&sizing)));
  if (!bits) return false;

  const std::vector<Tap> cols = BuildTaps(srcW, width);
  const std::vector<Tap> rows = BuildTaps(srcH, height);
  const size_t srcStride = static_cast<size_t>(GetStride());
  const size_t dstStride = platform::DibStride(width, bitCount);
  const uint8_t* src = GetBits();
  for (int y = 0; y < height; ++y) {
    const Tap& r = rows[static_cast<size_t>(y)];
    const uint8_t* row0 = src + static_cast<size_t>(r.index0) * srcStride;
    const uint8_t* row1 = src + static_cast<size_t>(r.index1) * srcStride;
    uint8_t* out = bits.get() + static_cast<size_t>(y) * dstStride;
    if (bitCount == 24 || bitCount == 32) {
      const int n = bitCount / 8;
      for (int x = 0; x < width; ++x) {
        const Tap& c = cols[static_cast<size_t>(x)];
        for (int k = 0; k < n; ++k) {
          const int a = row0[c.index0 * n + k], b = row0[c.index1 * n + k];
          const int d = row1[c.index0 * n + k], e = row1[c.index1 * n + k];
          const int v = ((c.w0 * a + c.w1 * b) * r.w0 + (c.w0 * d + c.w1 * e) * r.w1) / 65536;
          out[x * n + k] = static_cast<uint8_t>(v);
        }
      }
    } else {
      const uint8_t* near = r.w0 < 128 ? row1 : row0;
      for (int x = 0; x < width; ++x) {
        const Tap& c = cols[static_cast<size_t>(x)];
        PutRaw(out, x, bitCount, GetRaw(near, c.w0 < 128 ? c.index1 : c.index0, bitCount));
      }
    }
  }
  // The colour table stays; only the header's first 40 bytes change, and the count of entries
  // goes on naming the table that is really there.
  newHeader.biClrUsed = m_header->bmiHeader.biClrUsed;
  m_header->bmiHeader = newHeader;
  FreeBits();
  m_bits = bits.release();
  m_bitsKind = kDibGlobalFixed;
  return true;
}
