// The picture service: decodes JPEG and GIF pictures held in memory, chosen by the data's
// signature, reports their size and draws them into a memory device context.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/mem_dc.h"

namespace platform {

class Picture {
 public:
  // Null when the data is neither a JPEG nor a GIF, or does not decode.
  static std::unique_ptr<Picture> Load(std::span<const uint8_t> data);

  // Size in pixels.
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Draws the picture 1:1 with its top-left corner at (x, y). Transparent pixels leave the target
  // as it was; the alpha byte of a 32-bit target becomes 0 where the picture is drawn, as any
  // other colour output does. False without a bitmap in the context.
  bool Render(HDC dc, int x, int y) const;

  // Top-down pixels, 0xFFRRGGBB for opaque and 0 for transparent ones.
  std::span<const uint32_t> Pixels() const { return m_pixels; }

  // What a decoder gives back.
  struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
  };

 private:
  explicit Picture(Decoded d) : m_width(d.width), m_height(d.height), m_pixels(std::move(d.pixels)) {}

  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;
};

}  // namespace platform
