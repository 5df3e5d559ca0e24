#include "platform/dib.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform {

bool IsDibDepth(int bitCount) {
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
      return true;
    default:
      return false;
  }
}

uint32_t DibStride(int32_t width, int bitCount) {
  if (!IsDibDepth(bitCount) || width < 0) return 0;
  const uint64_t stride = ((static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(width) + 31) / 8) & ~uint64_t{3};
  if (stride > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<uint32_t>(stride);
}

uint32_t DibColorCount(const BITMAPINFOHEADER& header) {
  if (header.biBitCount > 8) return 0;
  if (header.biClrUsed != 0) return header.biClrUsed;
  return 1u << header.biBitCount;
}

namespace {
uint32_t Entry(std::span<const RGBQUAD> colors, unsigned index) {
  if (index >= colors.size()) return 0xFF000000u;
  const RGBQUAD& q = colors[index];
  return 0xFF000000u | (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}
}  // namespace

void ExpandDibRow(const uint8_t* row, int bitCount, std::span<const RGBQUAD> colors,
                  std::span<uint32_t> out) {
  const size_t n = out.size();
  switch (bitCount) {
    case 1:
      for (size_t x = 0; x < n; ++x) out[x] = Entry(colors, (row[x >> 3] >> (7 - (x & 7))) & 1);
      break;
    case 4:
      for (size_t x = 0; x < n; ++x) out[x] = Entry(colors, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
      break;
    case 8:
      for (size_t x = 0; x < n; ++x) out[x] = Entry(colors, row[x]);
      break;
    case 16:
      for (size_t x = 0; x < n; ++x) {
        const unsigned p = row[2 * x] | (row[2 * x + 1] << 8);
        const uint32_t r = ((p >> 10) & 31) << 3, g = ((p >> 5) & 31) << 3, b = (p & 31) << 3;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
      }
      break;
    case 24:
      for (size_t x = 0; x < n; ++x) {
        const uint8_t* p = row + 3 * x;
        out[x] = 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      }
      break;
    case 32:
      std::memcpy(out.data(), row, n * 4);
      break;
    default:
      break;
  }
}

uint32_t ReadDibPixel(const uint8_t* row, int x, int bitCount, std::span<const RGBQUAD> colors) {
  uint32_t argb = 0;
  switch (bitCount) {
    case 1: return Entry(colors, (row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return Entry(colors, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 8: return Entry(colors, row[x]);
    case 16: case 24: case 32:
      ExpandDibRow(row + static_cast<size_t>(x) * (bitCount / 8), bitCount, colors, std::span<uint32_t>(&argb, 1));
      return argb;
    default: return 0;
  }
}

uint8_t NearestDibColor(std::span<const RGBQUAD> colors, uint32_t rgb) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  const size_t n = std::min<size_t>(colors.size(), 256);
  for (size_t i = 0; i < n; ++i) {
    const int dr = colors[i].rgbRed - r, dg = colors[i].rgbGreen - g, db = colors[i].rgbBlue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return static_cast<uint8_t>(best);
}

void StoreDibPixel(uint8_t* row, int x, int bitCount, std::span<const RGBQUAD> colors, uint32_t argb) {
  switch (bitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      if (NearestDibColor(colors, argb) & 1) row[x >> 3] |= bit; else row[x >> 3] &= static_cast<uint8_t>(~bit);
      break;
    }
    case 4: {
      const uint8_t index = NearestDibColor(colors, argb) & 0x0F;
      uint8_t& byte = row[x >> 1];
      byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | index) : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
      break;
    }
    case 8:
      row[x] = NearestDibColor(colors, argb);
      break;
    case 16: {
      const unsigned p = (((argb >> 19) & 31) << 10) | (((argb >> 11) & 31) << 5) | ((argb >> 3) & 31);
      row[2 * x] = static_cast<uint8_t>(p);
      row[2 * x + 1] = static_cast<uint8_t>(p >> 8);
      break;
    }
    case 24:
      row[3 * x] = static_cast<uint8_t>(argb);
      row[3 * x + 1] = static_cast<uint8_t>(argb >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(argb >> 16);
      break;
    case 32:
      std::memcpy(row + 4 * x, &argb, 4);
      break;
    default:
      break;
  }
}

}  // namespace platform
