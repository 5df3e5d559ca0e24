// Text output onto 32-bit pixels: what a device context does when it is asked to write a string
// with its selected font, text colour and background mode.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/font.h"
#include "platform/sjis.h"
#include "platform/win_types.h"

namespace platform {

// Rows of pixels, top-down; pitch in bytes.
template <typename Pixel>
struct RowBuffer {
  Pixel* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
};
// 0xAARRGGBB pixels.
using PixelBuffer = RowBuffer<uint32_t>;
// One 8-bit channel of an image.
using ChannelBuffer = RowBuffer<uint8_t>;

struct TextColors {
  COLORREF text = 0;             // 0x00BBGGRR
  COLORREF background = 0xFFFFFF;
  bool opaque = true;            // paint the text cells with the background colour first
};

// The values of one channel of the text and background colours.
struct ChannelColors {
  uint8_t text = 0;
  uint8_t background = 0;
  bool opaque = true;
};

// The pixel value of a colour (0x00BBGGRR to 0x00RRGGBB; the alpha byte is left 0).
constexpr uint32_t ColorRefToPixel(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Writes one line of Shift-JIS text with its cell's top-left corner at (x, y); nothing outside the
// buffer, or outside clip when one is given, is touched. The alpha byte of every pixel is kept.
// A lead byte at the very end of the text is dropped; it never pairs with what follows the text.
void DrawTextLine(const PixelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                  std::string_view text, const TextColors& colors);
// The same for a single channel: every byte becomes what that channel of a 32-bit pixel would, so
// that drawing with the blue bytes of the colours leaves the blue bytes of the 32-bit result.
void DrawTextLine(const ChannelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                  std::string_view text, const ChannelColors& colors);

// The same with every byte advancing the pen by byteAdvance pixels (a double-byte character by
// twice that), whatever the glyphs' own advances: text on a grid of cells. The background and the
// bars cover text.size() x byteAdvance pixels. Nothing is drawn for a byteAdvance below 1.
void DrawTextCells(const PixelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                   std::string_view text, int32_t byteAdvance, const TextColors& colors);

// The extent of one line: the sum of the advances, and the cell height.
SIZE MeasureTextLine(const Font& font, std::string_view text);

// Calls f(code) for every character of a Shift-JIS text (a single byte, or lead << 8 | trail).
template <typename F>
void ForEachSjisCode(std::string_view text, F&& f) {
  for (size_t i = 0; i < text.size(); ++i) {
    uint16_t code = static_cast<unsigned char>(text[i]);
    if (IsSjisLead(static_cast<unsigned char>(code))) {
      if (i + 1 >= text.size()) return;
      code = static_cast<uint16_t>((code << 8) | static_cast<unsigned char>(text[++i]));
    }
    f(code);
  }
}

}  // namespace platform
