// GIF files spelled out byte by byte: one image, a 256-entry global table and 9-bit codes with a
// clear code often enough that the code width never grows.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> MinimalGif(int width, int height, const std::vector<std::array<uint8_t, 3>>& colors,
                                       const std::vector<uint8_t>& indices, int transparent = -1) {
  std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
  auto le16 = [&](int v) { g.insert(g.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); };
  le16(width);
  le16(height);
  g.insert(g.end(), {0xF7, 0, 0});  // global table of 256 entries
  for (int i = 0; i < 256; ++i) {
    const std::array<uint8_t, 3> c = i < static_cast<int>(colors.size()) ? colors[static_cast<size_t>(i)] : std::array<uint8_t, 3>{};
    g.insert(g.end(), c.begin(), c.end());
  }
  if (transparent >= 0) g.insert(g.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<uint8_t>(transparent), 0});
  g.push_back(0x2C);
  le16(0);
  le16(0);
  le16(width);
  le16(height);
  g.push_back(0);
  g.push_back(8);  // minimum code size

  std::vector<uint8_t> data;
  uint32_t acc = 0;
  int bits = 0;
  auto code = [&](unsigned c) {
    acc |= c << bits;
    bits += 9;
    while (bits >= 8) {
      data.push_back(static_cast<uint8_t>(acc));
      acc >>= 8;
      bits -= 8;
    }
  };
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 100 == 0) code(256);
    code(indices[i]);
  }
  code(257);
  if (bits > 0) data.push_back(static_cast<uint8_t>(acc));
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    g.push_back(static_cast<uint8_t>(n));
    g.insert(g.end(), data.begin() + static_cast<ptrdiff_t>(at), data.begin() + static_cast<ptrdiff_t>(at + n));
  }
  g.insert(g.end(), {0, 0x3B});
  return g;
}
