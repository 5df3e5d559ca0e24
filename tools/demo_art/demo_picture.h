// What the demo's picture tools share: a picture of 0xAARRGGBB pixels, colour helpers, the PNG
// writer, and the translucent panel the message window and the backlog's window are made of.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/sdk/graphics/png_writer.h"

namespace demo_picture {

struct Picture {
  int width;
  int height;
  bool alpha;
  std::vector<uint32_t> px;  // 0xAARRGGBB

  Picture(int w, int h, bool a) : width(w), height(h), alpha(a), px(static_cast<size_t>(w) * h, 0) {}
  uint32_t& At(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

inline uint32_t Rgb(double r, double g, double b, double a = 1.0) {
  const auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
  return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

inline double Mix(double a, double b, double t) { return a + (b - a) * t; }

// The picture as 8-bit RGB or RGBA rows, written with the PNG writer the tests use.
inline bool Write(const std::string& path, const Picture& p) {
  PngFixture png;
  png.width = p.width;
  png.height = p.height;
  png.colorType = p.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < p.height; ++y) {
    std::vector<uint8_t>& row = png.rows.emplace_back();
    for (int x = 0; x < p.width; ++x) {
      const uint32_t v = p.px[static_cast<size_t>(y) * p.width + x];
      row.insert(row.end(), {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
      if (p.alpha) row.push_back(static_cast<uint8_t>(v >> 24));
    }
  }
  return WritePng(path, png);
}

// A translucent panel with a lighter rim.
inline Picture Panel(int width, int height, double r, double g, double b, double alpha) {
  Picture p(width, height, true);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
      const double rim = edge < 3 ? 0.35 : 0.0;
      p.At(x, y) = Rgb(r + rim, g + rim, b + rim, edge < 3 ? 1.0 : alpha);
    }
  }
  return p;
}

}  // namespace demo_picture
