#include "platform/dc_draw.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/sys_color.h"
#include "platform/text_out.h"

namespace platform {
namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;

// A binary mix of a colour P with what is there (D) as a table of four bits, bit (p << 1 | d)
// holding the result for those input bits (R2_ value - 1). Applied to every colour bit at once:
// where D has a 1 the result is taken from onSet, where it has a 0 from onClear.
struct Mix {
  uint32_t onSet, onClear;
  Mix(unsigned table, uint32_t p) {
    auto pick = [&](unsigned bitIfP, unsigned bitIfNotP) {
      return ((table >> bitIfP) & 1 ? p : 0) | ((table >> bitIfNotP) & 1 ? ~p : 0);
    };
    onSet = pick(3, 1) & kColourBits;
    onClear = pick(2, 0) & kColourBits;
  }
  uint32_t operator()(uint32_t d) const { return (d & ~kColourBits) | (d & onSet) | (~d & onClear & kColourBits); }
};

// The pixels of the selected bitmap when it holds 32 bits, else null.
uint32_t* Row32(HDC dc, int y) { return reinterpret_cast<uint32_t*>(dc->GetBitmap()->Row(y)); }
bool Drawable(HDC dc) { return dc && dc->GetBitmap() && dc->GetBitmap()->BitCount() == 32; }

// Applies a mix to [l, r) x [t, b) cut by the output rectangle; 64-bit edges so that far-away
// coordinates cannot overflow.
void MixBlock(HDC dc, int64_t l, int64_t t, int64_t r, int64_t b, const Mix& mix) {
  const RECT out = dc->GetOutputRect();
  l = std::max<int64_t>(l, out.left);
  t = std::max<int64_t>(t, out.top);
  r = std::min<int64_t>(r, out.right);
  b = std::min<int64_t>(b, out.bottom);
  for (int64_t y = t; y < b; ++y) {
    uint32_t* row = Row32(dc, static_cast<int>(y));
    for (int64_t x = l; x < r; ++x) row[x] = mix(row[x]);
  }
}

// The table of a raster operation that does not read a source: its index byte evaluated with the
// source bits 0, or none when the result depends on the source.
std::optional<unsigned> PatternTable(DWORD rop) {
  const unsigned index = (rop >> 16) & 0xFF;
  if (((index >> 2) & 0x33) != (index & 0x33)) return std::nullopt;
  // Index bit (p << 2 | s << 1 | d) with s = 0.
  return ((index >> 5) & 1) << 3 | ((index >> 4) & 1) << 2 | ((index >> 1) & 1) << 1 | (index & 1);
}

constexpr unsigned kCopyTable = 0b1100;  // the colour itself

COLORREF BrushColour(HBRUSH brush) {
  const intptr_t number = reinterpret_cast<intptr_t>(brush);
  // System colour numbers are small; no object lives at such an address.
  constexpr intptr_t kLastSystemColour = 30;
  if (number > 0 && number <= kLastSystemColour + 1) return GetSysColor(static_cast<int>(number - 1));
  return brush ? brush->Color() : RGB(255, 255, 255);
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, &a, &b);
  return r;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

std::optional<Pen> CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID || width < 0 || width > 1) return std::nullopt;
  return Pen(color);
}

HPEN SelectObject(HDC dc, HPEN pen) {
  if (!dc) return nullptr;
  return std::exchange(dc->DrawState().pen, pen);
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
  if (!dc) return nullptr;
  return std::exchange(dc->DrawState().brush, brush);
}

int SetROP2(HDC dc, int mix) {
  if (!dc || mix < 1 || mix > 16) return 0;
  return std::exchange(dc->DrawState().rop2, mix);
}

int GetROP2(HDC dc) { return dc ? dc->DrawState().rop2 : 0; }

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  if (!dc) return 0;
  if (previous) *previous = dc->DrawState().position;
  dc->DrawState().position = POINT{x, y};
  return 1;
}

BOOL LineTo(HDC dc, int x, int y) {
  if (!Drawable(dc)) return 0;
  DCDrawState& state = dc->DrawState();
  const POINT from = state.position;
  state.position = POINT{x, y};
  const COLORREF colour = state.pen ? state.pen->Color() : RGB(0, 0, 0);
  const Mix mix(static_cast<unsigned>(state.rop2 - 1), ColorRefToPixel(colour));
  // Bresenham along the longer axis; the end point belongs to the next line. Only the steps whose
  // longer-axis coordinate lies in the output are visited, so a line from far away costs no more
  // than one inside the picture; the shorter-axis coordinate of a step follows in closed form.
  const RECT out = dc->GetOutputRect();
  const int64_t dx = std::abs(int64_t{x} - from.x), dy = std::abs(int64_t{y} - from.y);
  const bool xMajor = dx >= dy;
  const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  const int64_t majorStart = xMajor ? from.x : from.y, minorStart = xMajor ? from.y : from.x;
  const int64_t majorStep = (xMajor ? x >= from.x : y >= from.y) ? 1 : -1;
  const int64_t minorStep = (xMajor ? y >= from.y : x >= from.x) ? 1 : -1;
  const int64_t lo = xMajor ? out.left : out.top, hi = xMajor ? out.right : out.bottom;
  const int64_t first = majorStep > 0 ? std::max<int64_t>(0, lo - majorStart) : std::max<int64_t>(0, majorStart - (hi - 1));
  const int64_t end = majorStep > 0 ? std::min(major, hi - majorStart) : std::min(major, majorStart - lo + 1);
  for (int64_t i = first; i < end; ++i) {
    // Steps of the shorter axis taken before step i: the error term 2 * minor * i - 2 * major * m
    // stays within (-major, major].
    const __int128 over = static_cast<__int128>(2) * minor * i - major;
    const int64_t m = over <= 0 ? 0 : static_cast<int64_t>((over + 2 * major - 1) / (2 * major));
    const int64_t pMajor = majorStart + majorStep * i, pMinor = minorStart + minorStep * m;
    const int64_t px = xMajor ? pMajor : pMinor, py = xMajor ? pMinor : pMajor;
    if (px >= out.left && px < out.right && py >= out.top && py < out.bottom) {
      uint32_t& pixel = Row32(dc, static_cast<int>(py))[px];
      pixel = mix(pixel);
    }
  }
  return 1;
}

BOOL FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!Drawable(dc) || !rect) return 0;
  MixBlock(dc, rect->left, rect->top, rect->right, rect->bottom, Mix(kCopyTable, ColorRefToPixel(BrushColour(brush))));
  return 1;
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
  const std::optional<unsigned> table = PatternTable(rop);
  if (!Drawable(dc) || !table) return 0;
  int64_t l = x, t = y, r = int64_t{x} + w, b = int64_t{y} + h;
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  MixBlock(dc, l, t, r, b, Mix(*table, ColorRefToPixel(BrushColour(dc->DrawState().brush))));
  return 1;
}

BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, RECT* update) {
  if (update) *update = RECT{};
  if (!Drawable(dc)) return 0;
  const Bitmap& bitmap = *dc->GetBitmap();
  const RECT all{0, 0, bitmap.Width(), bitmap.Height()};
  const RECT source = Intersection(scroll ? *scroll : all, all);
  const RECT output = dc->GetOutputRect();
  const RECT area = Intersection(source, clip ? Intersection(*clip, output) : output);
  if (Empty(area)) return 1;
  // A shift beyond the picture moves nothing into it.
  const int64_t shiftX = dx, shiftY = dy;
  RECT moved{};
  if (std::abs(shiftX) < all.right && std::abs(shiftY) < all.bottom) {
    moved = Intersection(RECT{source.left + dx, source.top + dy, source.right + dx, source.bottom + dy}, area);
  }
  if (!Empty(moved)) {
    // BitBlt reads every row before it writes it, in an order that suits a move within one picture.
    BitBlt(dc, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top, dc, moved.left - dx,
           moved.top - dy, SRCCOPY);
  }
  if (update) {
    // A move along one axis uncovers a strip; one along both, or out of the area, uncovers a shape
    // that only the whole area bounds.
    RECT uncovered = area;
    if (!Empty(moved) && dy == 0) {
      if (moved.left > area.left) uncovered.right = moved.left;
      else uncovered.left = moved.right;
    } else if (!Empty(moved) && dx == 0) {
      if (moved.top > area.top) uncovered.bottom = moved.top;
      else uncovered.top = moved.bottom;
    }
    *update = Empty(uncovered) ? RECT{} : uncovered;
  }
  return 1;
}

}  // namespace platform
