// Files for the image tests: whole-file reads and writes, hand-made BMP bytes, pixel access.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dib.h"
#include "scoped_temp_dir.h"
#include "sdk/graphics/dib_image.h"

// The shared temporary folder with its files named as dir / "a.png".
class TempFolder : public ScopedTempDir {
 public:
  std::string operator/(std::string_view name) const { return File(name); }
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void PutLe(std::vector<uint8_t>& v, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
inline uint32_t GetLe(const std::vector<uint8_t>& v, size_t at, int bytes) {
  uint32_t r = 0;
  for (int i = 0; i < bytes; ++i) r |= uint32_t{v[at + i]} << (8 * i);
  return r;
}

// A BMP file: headers, the colour table and the stored rows exactly as given (padded rows,
// in stored order).
inline std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, int bitCount, const std::vector<RGBQUAD>& colors,
                                    const std::vector<uint8_t>& rows, uint32_t compression = BI_RGB) {
  const uint32_t offset = 54 + static_cast<uint32_t>(colors.size()) * 4;
  std::vector<uint8_t> f(offset + rows.size(), 0);
  f[0] = 'B';
  f[1] = 'M';
  PutLe(f, 2, static_cast<uint32_t>(f.size()), 4);
  PutLe(f, 10, offset, 4);
  PutLe(f, 14, 40, 4);
  PutLe(f, 18, static_cast<uint32_t>(width), 4);
  PutLe(f, 22, static_cast<uint32_t>(height), 4);
  PutLe(f, 26, 1, 2);
  PutLe(f, 28, static_cast<uint32_t>(bitCount), 2);
  PutLe(f, 30, compression, 4);
  PutLe(f, 34, static_cast<uint32_t>(rows.size()), 4);
  PutLe(f, 46, static_cast<uint32_t>(colors.size()), 4);
  for (size_t i = 0; i < colors.size(); ++i) {
    f[54 + 4 * i] = colors[i].rgbBlue;
    f[55 + 4 * i] = colors[i].rgbGreen;
    f[56 + 4 * i] = colors[i].rgbRed;
  }
  std::copy(rows.begin(), rows.end(), f.begin() + offset);
  return f;
}

// Row y of an image counted from the top of the picture, whatever the stored order.
inline const uint8_t* VisualRow(const CDibImage& im, int y) {
  const int h = im.GetHeight() < 0 ? -im.GetHeight() : im.GetHeight();
  const int stored = im.GetHeight() < 0 ? y : h - 1 - y;
  return im.GetBits() + static_cast<size_t>(stored) * static_cast<size_t>(im.GetStride());
}

// The pixel at (x, y) from the top, expanded to 0xAARRGGBB.
inline uint32_t PixelAt(const CDibImage& im, int x, int y) {
  return platform::ReadDibPixel(VisualRow(im, y), x, im.GetBitCount(), im.GetColors());
}
