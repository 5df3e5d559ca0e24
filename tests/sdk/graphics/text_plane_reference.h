// The text plane's image computed the plain way, step by step, for tests that check the real plane
// pixel for pixel: measure; draw the text white on black at double size with two-level glyphs into
// a 32-bit section through the font's own Draw; average the blue bytes of 2 × 2 blocks; render the
// shadow as a second plane of its own and composite it under the text; for vertical text do all
// that upright with the vertical face and the shadow offset turned back, then turn the image a
// quarter to the right. Nothing is shared between the text and its shadow and nothing is cached.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/mem_dc.h"
#include "sdk/graphics/text_font.h"

namespace text_plane_reference {

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // row by row
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline int32_t Doubled(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v * 2, INT32_MIN, INT32_MAX)); }

inline uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The horizontal image of a font's text drawn at (offsetX, offsetY) inside it.
inline Image Horizontal(const CTextFont& font, int32_t offsetX, int32_t offsetY) {
  int w = 0, h = 0;
  if (font.GetSize(&w, &h) != 0 || w == 0 || h == 0) w = h = 1;
  Image out{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, 0)};

  CTextFont doubled = font;
  doubled.SetShadowColor(CTextFont::kNone);
  doubled.SetTextColor(0xFFFFFF);
  doubled.SetQuality(4);
  doubled.SetSize(Doubled(font.GetHeight()));
  doubled.SetLinePitch(Doubled(font.GetLinePitch()));
  int W = 0, H = 0;
  if (doubled.GetSize(&W, &H) != 0 || W == 0 || H == 0) W = H = 1;
  std::unique_ptr<platform::Bitmap> scratch = platform::CreateDIBSection32(W, H);
  platform::MemDC dc;
  dc.SelectBitmap(scratch.get());
  const int64_t x2 = int64_t{offsetX} * 2, y2 = int64_t{offsetY} * 2;
  // An origin beyond the coordinate range puts the text nowhere near the section.
  if (x2 >= INT32_MIN && x2 <= INT32_MAX && y2 >= INT32_MIN && y2 <= INT32_MAX) {
    doubled.Draw(&dc, static_cast<int>(x2), static_cast<int>(y2));
  }
  const int cw = std::min(w, W / 2), ch = std::min(h, H / 2);
  auto blue = [&](int x, int y) { return uint32_t{scratch->Row(y)[4 * x]}; };
  const uint32_t rgb = Rgb(font.GetTextColor());
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) {
      const uint32_t a = (blue(2 * x, 2 * y) + blue(2 * x + 1, 2 * y) + blue(2 * x, 2 * y + 1) + blue(2 * x + 1, 2 * y + 1)) / 4;
      out.pixels[static_cast<size_t>(y) * w + x] = (a << 24) | rgb;
    }
  }
  if (font.GetShadowColor() == CTextFont::kNone) return out;

  CTextFont shadowFont = font;
  shadowFont.SetTextColor(font.GetShadowColor());
  shadowFont.SetShadowColor(CTextFont::kNone);
  const Image shadow = Horizontal(shadowFont, font.GetShadowOffsetX(), font.GetShadowOffsetY());
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) {
      uint32_t& t = out.pixels[static_cast<size_t>(y) * w + x];
      const uint32_t s = shadow.At(x, y);
      const uint32_t a = t >> 24, b = s >> 24;
      const uint32_t shown = b * (255 - a) / 255;
      const uint32_t total = a + shown;
      if (total == 0 || shown == 0) continue;
      auto channel = [&](int shift) { return (((s >> shift) & 0xFF) * shown + ((t >> shift) & 0xFF) * a) / total; };
      t = (total << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
    }
  }
  return out;
}

// The image a text plane makes of its font, text offset and vertical switch.
inline Image Plane(const CTextFont& font, int32_t offsetX, int32_t offsetY, bool vertical) {
  if (!vertical) return Horizontal(font, offsetX, offsetY);
  CTextFont upright = font;
  if (upright.GetFaceName().empty() || upright.GetFaceName().front() != '@') {
    upright.SetFaceName("@" + upright.GetFaceName());
  }
  upright.SetShadowOffset(font.GetShadowOffsetY(), -font.GetShadowOffsetX());
  const Image image = Horizontal(upright, offsetX, offsetY);
  Image turned{image.height, image.width, std::vector<uint32_t>(image.pixels.size(), 0)};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      turned.pixels[static_cast<size_t>(x) * turned.width + (turned.width - 1 - y)] = image.At(x, y);
    }
  }
  return turned;
}

}  // namespace text_plane_reference
