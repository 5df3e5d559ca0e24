#include "platform/text_out.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// Part coverage (0..255) of one colour byte over another.
uint32_t BlendByte(uint32_t colour, uint32_t dst, uint32_t coverage) {
  return (colour * coverage + dst * (255 - coverage) + 127) / 255;
}

// What the drawing needs of a target: rows, and how a pixel takes a colour in full or in part.
// 32-bit pixels keep their alpha byte and blend each colour channel; a single channel is one byte.
template <typename P>
struct Rows {
  using Pixel = P;
  const RowBuffer<P>& buffer;
  Pixel* Row(int32_t y) const {
    return reinterpret_cast<Pixel*>(reinterpret_cast<uint8_t*>(buffer.pixels) + static_cast<ptrdiff_t>(y) * buffer.pitch);
  }
};

struct ArgbTarget : Rows<uint32_t> {
  static Pixel Set(Pixel dst, Pixel colour) { return (dst & 0xFF000000u) | colour; }
  static void Fill(Pixel* row, int64_t first, int64_t end, Pixel colour) {
    for (int64_t x = first; x < end; ++x) row[x] = Set(row[x], colour);
  }
  // Row line of a two-level glyph whose first column is at gx, within [x0, x1): run by run, as most
  // of a glyph's box is empty.
  static void TwoLevelRow(Pixel* row, const Glyph& g, size_t line, int64_t gx, int64_t x0, int64_t x1, Pixel colour) {
    for (uint32_t i = g.rowSpans[line]; i < g.rowSpans[line + 1]; i += 2) {
      Fill(row, std::max<int64_t>(gx + g.spans[i], x0), std::min<int64_t>(gx + g.spans[i + 1], x1), colour);
    }
  }
  static Pixel Blend(Pixel dst, Pixel colour, uint32_t coverage) {
    if (coverage >= 255) return Set(dst, colour);
    auto channel = [&](int shift) { return BlendByte((colour >> shift) & 0xFF, (dst >> shift) & 0xFF, coverage) << shift; };
    return (dst & 0xFF000000u) | channel(16) | channel(8) | channel(0);
  }
};

struct ChannelTarget : Rows<uint8_t> {
  static Pixel Set(Pixel, Pixel colour) { return colour; }
  static void Fill(Pixel* row, int64_t first, int64_t end, Pixel colour) {
    for (int64_t x = first; x < end; ++x) row[x] = colour;
  }
  // One byte a pixel: the coverage (0 or 255) selects between the colour and what is there, a
  // block at a time and without a branch, which is quicker than many short runs. Selecting twice
  // changes nothing, so a row's last block may overlap the one before it; both are read before
  // either is written, as reading bytes just written in part waits for the write.
  static void TwoLevelRow(Pixel* row, const Glyph& g, size_t line, int64_t gx, int64_t x0, int64_t x1, Pixel colour) {
    const uint8_t* cov = g.coverage.data() + line * static_cast<size_t>(g.width) + (x0 - gx);
    Pixel* out = row + x0;
    const size_t n = static_cast<size_t>(x1 - x0);
    if (n < kBlock) {
      for (size_t x = 0; x < n; ++x) out[x] = Select(out[x], cov[x], colour);
      return;
    }
    size_t x = 0;
    for (; x + 2 * kBlock <= n; x += kBlock) SelectBlock(out + x, out + x, cov + x, colour);
    if (x + kBlock == n) {
      SelectBlock(out + x, out + x, cov + x, colour);
      return;
    }
    const size_t last = n - kBlock;
    Pixel before[kBlock], end[kBlock];
    SelectBlock(before, out + x, cov + x, colour);
    SelectBlock(end, out + last, cov + last, colour);
    std::memcpy(out + x, before, kBlock);
    std::memcpy(out + last, end, kBlock);
  }

  static Pixel Blend(Pixel dst, Pixel colour, uint32_t coverage) {
    return coverage >= 255 ? colour : static_cast<Pixel>(BlendByte(colour, dst, coverage));
  }
 private:
  static constexpr size_t kBlock = 16;
  static Pixel Select(Pixel dst, uint8_t coverage, Pixel colour) {
    return static_cast<Pixel>((coverage & colour) | (~coverage & dst));
  }
  // to = the selection over from (to may be from).
  static void SelectBlock(Pixel* to, const Pixel* from, const uint8_t* __restrict cov, Pixel colour) {
    Pixel block[kBlock];
    for (size_t i = 0; i < kBlock; ++i) block[i] = Select(from[i], cov[i], colour);
    std::memcpy(to, block, kBlock);
  }
};

// The part of the buffer that may be written.
template <typename Pixel>
RECT Bounds(const RowBuffer<Pixel>& target, const RECT* clip) {
  RECT r{0, 0, target.pixels ? target.width : 0, target.pixels ? target.height : 0};
  if (clip) {
    r.left = std::max(r.left, clip->left);
    r.top = std::max(r.top, clip->top);
    r.right = std::min(r.right, clip->right);
    r.bottom = std::min(r.bottom, clip->bottom);
  }
  return r;
}

// Fills [left, right) × [top, bottom) ∩ bounds with a colour. Coordinates are 64-bit so that a
// far-away origin cannot overflow.
template <typename Target>
void FillRect(const Target& target, const RECT& bounds, int64_t left, int64_t top, int64_t right, int64_t bottom,
              typename Target::Pixel colour) {
  const int64_t l = std::max<int64_t>(left, bounds.left), r = std::min<int64_t>(right, bounds.right);
  const int64_t t = std::max<int64_t>(top, bounds.top), b = std::min<int64_t>(bottom, bounds.bottom);
  for (int64_t y = t; y < b; ++y) Target::Fill(target.Row(static_cast<int32_t>(y)), l, r, colour);
}

template <typename Target>
void DrawGlyph(const Target& target, const RECT& bounds, const Glyph& g, int64_t penX, int64_t baseline,
               typename Target::Pixel colour) {
  const int64_t gx = penX + g.left, gy = baseline - g.top;
  const int64_t x0 = std::max<int64_t>(gx, bounds.left), x1 = std::min<int64_t>(gx + g.width, bounds.right);
  const int64_t y0 = std::max<int64_t>(gy, bounds.top), y1 = std::min<int64_t>(gy + g.height, bounds.bottom);
  if (x0 >= x1) return;
  for (int64_t y = y0; y < y1; ++y) {
    typename Target::Pixel* row = target.Row(static_cast<int32_t>(y));
    if (g.twoLevel) {
      Target::TwoLevelRow(row, g, static_cast<size_t>(y - gy), gx, x0, x1, colour);
    } else {
      const uint8_t* cov = g.coverage.data() + (y - gy) * g.width;
      for (int64_t x = x0; x < x1; ++x) {
        if (const uint8_t c = cov[x - gx]) row[x] = Target::Blend(row[x], colour, c);
      }
    }
  }
}

// byteAdvance 0 moves the pen by each glyph's own advance, a positive value by that much for each
// byte of a character.
template <typename Target>
void DrawLine(const Target& target, const RECT& bounds, const Font& font, int32_t x, int32_t y, std::string_view text,
              typename Target::Pixel ink, typename Target::Pixel background, bool opaque, int32_t byteAdvance = 0) {
  const FontMetrics& m = font.Metrics();
  const int64_t baseline = static_cast<int64_t>(y) + m.cell.ascent;
  // The line's extent bounds its background and its bars; plain ink needs no measuring.
  const bool bars = font.Desc().underline || font.Desc().strikeOut;
  const int64_t extent = byteAdvance > 0          ? static_cast<int64_t>(text.size()) * byteAdvance
                         : opaque || bars ? MeasureTextLine(font, text).cx
                                          : 0;
  if (opaque) FillRect(target, bounds, x, y, x + extent, static_cast<int64_t>(y) + m.cell.height, background);
  if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return;
  int64_t pen = x;
  RealisedFont& face = font.Face();
  ForEachSjisCode(text, [&](uint16_t code) {
    const Glyph& g = face.GetGlyph(code);
    DrawGlyph(target, bounds, g, pen, baseline, ink);
    pen += byteAdvance > 0 ? int64_t{byteAdvance} * (code > 0xFF ? 2 : 1) : g.advance;
  });
  if (font.Desc().underline) {
    const int64_t top = baseline + m.underlineOffset;
    FillRect(target, bounds, x, top, x + extent, top + m.underlineThickness, ink);
  }
  if (font.Desc().strikeOut) {
    const int64_t top = baseline + m.strikeOutOffset;
    FillRect(target, bounds, x, top, x + extent, top + m.strikeOutThickness, ink);
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
  DrawLine(ArgbTarget{target}, Bounds(target, clip), font, x, y, text, ColorRefToPixel(colors.text),
           ColorRefToPixel(colors.background), colors.opaque);
}

void DrawTextLine(const ChannelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                  std::string_view text, const ChannelColors& colors) {
  DrawLine(ChannelTarget{target}, Bounds(target, clip), font, x, y, text, colors.text, colors.background, colors.opaque);
}

void DrawTextCells(const PixelBuffer& target, const RECT* clip, const Font& font, int32_t x, int32_t y,
                   std::string_view text, int32_t byteAdvance, const TextColors& colors) {
  if (byteAdvance <= 0) return;
  DrawLine(ArgbTarget{target}, Bounds(target, clip), font, x, y, text, ColorRefToPixel(colors.text),
           ColorRefToPixel(colors.background), colors.opaque, byteAdvance);
}

}  // namespace platform
