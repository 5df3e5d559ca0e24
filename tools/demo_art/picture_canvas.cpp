#include "tools/demo_art/picture_canvas.h"

#include <algorithm>

#include "platform/font.h"
#include "sdk/graphics/text_plane.h"

namespace demo_picture {

void Blend(Picture& p, int x, int y, uint32_t colour, double coverage) {
  if (!p.Contains(x, y)) return;
  const double a = std::clamp(coverage, 0.0, 1.0) * (colour >> 24) / 255.0;
  if (a <= 0) return;
  uint32_t& d = p.At(x, y);
  const double da = (d >> 24) / 255.0;
  const double oa = a + da * (1 - a);
  uint32_t out = static_cast<uint32_t>(oa * 255.0 + 0.5) << 24;
  for (int shift : {16, 8, 0}) {
    const double s = (colour >> shift & 0xFF), t = (d >> shift & 0xFF);
    const double v = oa > 0 ? (s * a + t * da * (1 - a)) / oa : 0;
    out |= static_cast<uint32_t>(std::clamp(v + 0.5, 0.0, 255.0)) << shift;
  }
  d = out;
}

void FillRect(Picture& p, int left, int top, int right, int bottom, uint32_t colour) {
  for (int y = std::max(top, 0); y < std::min(bottom, p.height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, p.width); ++x) p.At(x, y) = colour;
}

namespace {

// The caption's ink coverage (0..255) as the game's text plane renders it, with its size.
bool RenderInk(const Caption& caption, std::vector<uint8_t>& ink, int& w, int& h) {
  CTextPlane plane;
  plane.font.SetFontType(caption.face);
  plane.font.SetSize(caption.size);
  if (caption.bold) plane.font.SetWeight(platform::FW_BOLD);
  plane.font.SetText(caption.text);
  plane.font.SetTextColor(0xFFFFFF);
  plane.font.SetShadowColor(CTextFont::kNone);
  if (plane.Update() != 0) return false;
  plane.GetSize(&w, &h);
  if (w <= 0 || h <= 0) return false;
  ink.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ink[static_cast<size_t>(y) * w + x] = plane.GetImpl()->GetPixel(x, y) >> 24;
  return true;
}

}  // namespace

namespace {

void StampInk(Picture& p, const Caption& caption, const std::vector<uint8_t>& ink, int w, int h, int left, int top) {
  const auto stamp = [&](int dx, int dy, uint32_t colour) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t a = ink[static_cast<size_t>(y) * w + x];
        if (a) Blend(p, left + x + dx, top + y + dy, colour, a / 255.0);
      }
  };
  if (caption.shadow) stamp(caption.shadowOffset, caption.shadowOffset, caption.shadow);
  stamp(0, 0, caption.colour);
}

}  // namespace

bool DrawCaptionAt(Picture& p, const Caption& caption, int left, int top) {
  std::vector<uint8_t> ink;
  int w = 0, h = 0;
  if (!RenderInk(caption, ink, w, h)) return false;
  StampInk(p, caption, ink, w, h, left, top);
  return true;
}

bool DrawCaption(Picture& p, const Caption& caption, int cx, int cy) {
  std::vector<uint8_t> ink;
  int w = 0, h = 0;
  if (!RenderInk(caption, ink, w, h)) return false;
  StampInk(p, caption, ink, w, h, cx - w / 2, cy - h / 2);
  return true;
}

int CaptionWidth(const Caption& caption) {
  std::vector<uint8_t> ink;
  int w = 0, h = 0;
  return RenderInk(caption, ink, w, h) ? w : 0;
}

Picture Reduce(const Picture& source, int width, int height) {
  Picture out(width, height, source.alpha);
  for (int y = 0; y < height; ++y) {
    const int y0 = y * source.height / height, y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * source.width / width, x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      uint64_t sum[4] = {};
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx)
          for (int c = 0; c < 4; ++c) sum[c] += source.At(sx, sy) >> (8 * c) & 0xFF;
      const uint64_t n = static_cast<uint64_t>(x1 - x0) * (y1 - y0);
      uint32_t v = 0;
      for (int c = 0; c < 4; ++c) v |= static_cast<uint32_t>((sum[c] + n / 2) / n) << (8 * c);
      out.At(x, y) = v;
    }
  }
  return out;
}

}  // namespace demo_picture
