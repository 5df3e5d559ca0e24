#include "platform/text_out.h"

#include <algorithm>

namespace platform {
namespace {

// The part of the buffer that may be written.
RECT Bounds(const PixelBuffer& target, const RECT* clip) {
  RECT r{0, 0, target.pixels ? target.width : 0, target.pixels ? target.height : 0};
  if (clip) {
    r.left = std::max(r.left, clip->left);
    r.top = std::max(r.top, clip->top);
    r.right = std::min(r.right, clip->right);
    r.bottom = std::min(r.bottom, clip->bottom);
  }
  return r;
}

uint32_t* Row(const PixelBuffer& target, int32_t y) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(target.pixels) + static_cast<ptrdiff_t>(y) * target.pitch);
}

// Fills [left, right) × [top, bottom) ∩ bounds with a colour, keeping alpha. Coordinates are 64-bit
// so that a far-away origin cannot overflow.
void FillRect(const PixelBuffer& target, const RECT& bounds, int64_t left, int64_t top, int64_t right,
              int64_t bottom, uint32_t rgb) {
  const int64_t l = std::max<int64_t>(left, bounds.left), r = std::min<int64_t>(right, bounds.right);
  const int64_t t = std::max<int64_t>(top, bounds.top), b = std::min<int64_t>(bottom, bounds.bottom);
  for (int64_t y = t; y < b; ++y) {
    uint32_t* row = Row(target, static_cast<int32_t>(y));
    for (int64_t x = l; x < r; ++x) row[x] = (row[x] & 0xFF000000u) | rgb;
  }
}

uint32_t Blend(uint32_t dst, uint32_t rgb, uint32_t coverage) {
  if (coverage >= 255) return (dst & 0xFF000000u) | rgb;
  const uint32_t inv = 255 - coverage;
  auto channel = [&](int shift) {
    const uint32_t s = (rgb >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    return ((s * coverage + d * inv + 127) / 255) << shift;
  };
  return (dst & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

void DrawGlyph(const PixelBuffer& target, const RECT& bounds, const Glyph& g, int64_t penX, int64_t baseline,
               uint32_t rgb) {
  const int64_t gx = penX + g.left, gy = baseline - g.top;
  const int64_t x0 = std::max<int64_t>(gx, bounds.left), x1 = std::min<int64_t>(gx + g.width, bounds.right);
  const int64_t y0 = std::max<int64_t>(gy, bounds.top), y1 = std::min<int64_t>(gy + g.height, bounds.bottom);
  if (x0 >= x1) return;
  for (int64_t y = y0; y < y1; ++y) {
    uint32_t* row = Row(target, static_cast<int32_t>(y));
    if (g.twoLevel) {
      const size_t line = static_cast<size_t>(y - gy);
      for (uint32_t i = g.rowSpans[line]; i < g.rowSpans[line + 1]; i += 2) {
        const int64_t first = std::max<int64_t>(gx + g.spans[i], x0), end = std::min<int64_t>(gx + g.spans[i + 1], x1);
        for (int64_t x = first; x < end; ++x) row[x] = (row[x] & 0xFF000000u) | rgb;
      }
    } else {
      const uint8_t* cov = g.coverage.data() + (y - gy) * g.width;
      for (int64_t x = x0; x < x1; ++x) {
        if (const uint8_t c = cov[x - gx]) row[x] = Blend(row[x], rgb, c);
      }
    }
  }
}

}  // namespace

SIZE MeasureTextLine(const Font& font, std::string_view text) {
  int64_t width = 0;
  RealisedFont& face = font.Face();
  ForEachSjisCode(text, [&](uint16_t code) { width += face.GetGlyph(code).advance; });
  return SIZE{static_cast<LONG>(std::min<int64_t>(width, INT32_MAX)), font.Metrics().cell.height};
}

void DrawTextLine(const PixelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                  std::string_view text, const TextColors& colors) {
  const RECT bounds = Bounds(target, clip);
  const FontMetrics& m = font.Metrics();
  const int64_t baseline = static_cast<int64_t>(y) + m.cell.ascent;
  const int64_t extent = MeasureTextLine(font, text).cx;
  if (colors.opaque) {
    FillRect(target, bounds, x, y, x + extent, static_cast<int64_t>(y) + m.cell.height, ColorRefToPixel(colors.background));
  }
  if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return;
  const uint32_t rgb = ColorRefToPixel(colors.text);
  int64_t pen = x;
  RealisedFont& face = font.Face();
  ForEachSjisCode(text, [&](uint16_t code) {
    const Glyph& g = face.GetGlyph(code);
    DrawGlyph(target, bounds, g, pen, baseline, rgb);
    pen += g.advance;
  });
  if (font.Desc().underline) {
    const int64_t top = baseline + m.underlineOffset;
    FillRect(target, bounds, x, top, x + extent, top + m.underlineThickness, rgb);
  }
  if (font.Desc().strikeOut) {
    const int64_t top = baseline + m.strikeOutOffset;
    FillRect(target, bounds, x, top, x + extent, top + m.strikeOutThickness, rgb);
  }
}

}  // namespace platform
