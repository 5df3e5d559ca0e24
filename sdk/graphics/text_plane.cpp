#include "sdk/graphics/text_plane.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/mem_dc.h"
#include "sdk/graphics/text_plane_cache.h"

namespace {

// Puts a font back as it was when the guard was made, on every path.
class FontRestore {
 public:
  explicit FontRestore(CTextFont& font) : m_font(font), m_saved(font) {}
  ~FontRestore() { m_font = m_saved; }
  FontRestore(const FontRestore&) = delete;
  FontRestore& operator=(const FontRestore&) = delete;
  const CTextFont& Saved() const { return m_saved; }

 private:
  CTextFont& m_font;
  const CTextFont m_saved;
};

// A 32-bit top-down DIB section with its memory context: the doubled drawing is made in it.
struct Scratch {
  std::unique_ptr<platform::Bitmap> bitmap;
  platform::MemDC dc;
  bool Create(int w, int h) {
    bitmap = platform::CreateDIBSection32(w, h);
    dc.SelectBitmap(bitmap.get());
    return bitmap != nullptr;
  }
  const uint32_t* Row(int y) const { return reinterpret_cast<const uint32_t*>(bitmap->Row(y)); }
};

constexpr uint32_t ColorRefToRgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// Shadow S under text T: the shadow shows through where the text leaves it uncovered.
uint32_t CompositeShadow(uint32_t t, uint32_t s) {
  const uint32_t a = t >> 24, b = s >> 24;
  // Where the text has no ink the shadow shows unchanged; where it is opaque, not at all.
  if (a == 0) return s;
  if (a == 255) return t;
  const uint32_t shown = b * (255 - a) / 255;
  const uint32_t total = a + shown;
  if (total == 0 || shown == 0) return t;
  auto channel = [&](int shift) { return (((s >> shift) & 0xFF) * shown + ((t >> shift) & 0xFF) * a) / total; };
  return (total << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

}  // namespace

// The plane's pixels are written directly, and the doubled drawing has a scratch section of its
// own: the plane needs no device context, so it keeps the plain storage that is cheaper to make
// for every glyph.
CTextPlane::CTextPlane() = default;

CTextPlane::~CTextPlane() = default;

int CTextPlane::Update() {
  CMemPlaneImpl& impl = *GetImpl();
  if (impl.IsLoaded()) return UpdateUncached();
  TextPlaneCache& cache = TextPlaneCache::Instance();
  const TextPlaneCache::Key key(font, m_textOffsetX, m_textOffsetY, m_vertical);
  if (const TextPlaneCache::Image* image = cache.Find(key)) {
    // Every pixel is written: no clearing first.
    if (impl.AllocPixels(image->width, image->height) != 0) return 1;
    std::memcpy(impl.GetPixels(), image->pixels.data(), image->pixels.size() * sizeof(uint32_t));
    *impl.GetHasAlphaPtr() = true;
    return 0;
  }
  const int result = UpdateUncached();
  if (result == 0) {
    TextPlaneCache::Image image;
    image.width = impl.Width();
    image.height = impl.Height();
    image.pixels.assign(impl.GetPixels(), impl.GetPixels() + static_cast<size_t>(image.width) * image.height);
    cache.Store(key, std::move(image));
  }
  return result;
}

int CTextPlane::UpdateUncached() {
  if (!m_vertical) return UpdateText();
  // The vertical variant of the face, for the length of the update.
  const std::string face = font.GetFaceName();
  const bool marked = !face.empty() && face.front() == '@';
  if (!marked) font.SetFaceName("@" + face);
  const int result = UpdateTextVertical();
  if (!marked) font.SetFaceName(face);
  return result;
}

namespace {

// The ink coverage of a text over a window of plane pixels, given relative to the text's origin:
// the text drawn white on black at double size, each 2 × 2 block averaged.
struct Coverage {
  int64_t left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> alpha;

  // Row y of the window (y relative to the text's origin); the caller stays inside the window.
  const uint8_t* Row(int64_t y) const { return alpha.data() + (y - top) * width; }

  // font: already doubled, white, without shadow. False when the scratch surface cannot be made.
  bool Render(const CTextFont& font, int64_t l, int64_t t, int64_t r, int64_t b) {
    left = l;
    top = t;
    width = std::max<int64_t>(r - l, 0);
    height = std::max<int64_t>(b - t, 0);
    if (width == 0 || height == 0) return true;
    if (width > CMemPlaneImpl::kMaxSide || height > CMemPlaneImpl::kMaxSide ||
        width * height > CMemPlaneImpl::kMaxPixels) {
      return false;
    }
    alpha.assign(static_cast<size_t>(width * height), 0);
    // A text whose origin lies beyond the coordinate range cannot reach the window.
    const int64_t originX = -2 * left, originY = -2 * top;
    if (originX < INT32_MIN || originX > INT32_MAX || originY < INT32_MIN || originY > INT32_MAX) return true;
    Scratch scratch;
    if (!scratch.Create(static_cast<int>(2 * width), static_cast<int>(2 * height))) return false;
    font.Draw(&scratch.dc, static_cast<int>(originX), static_cast<int>(originY));
    // The blue byte of each pixel is its ink. Two neighbouring pixels are read as one 64-bit word,
    // their blue bytes at bits 0 and 32.
    constexpr uint64_t kBlue = 0x000000FF000000FFull;
    for (int64_t y = 0; y < height; ++y) {
      const uint32_t* upper = scratch.Row(static_cast<int>(2 * y));
      const uint32_t* lower = scratch.Row(static_cast<int>(2 * y + 1));
      uint8_t* out = &alpha[static_cast<size_t>(y * width)];
      for (int64_t x = 0; x < width; ++x) {
        uint64_t u, l;
        std::memcpy(&u, upper + 2 * x, sizeof u);
        std::memcpy(&l, lower + 2 * x, sizeof l);
        const uint64_t pair = (u & kBlue) + (l & kBlue);
        out[x] = static_cast<uint8_t>(((pair + (pair >> 32)) & 0x3FF) / 4);
      }
    }
    return true;
  }
};

int32_t Doubled(int32_t v) { return static_cast<int32_t>(std::clamp<int64_t>(int64_t{v} * 2, INT32_MIN, INT32_MAX)); }

}  // namespace

// The shadow is the same text in another colour at another offset, so its coverage is the text's
// coverage shifted: one drawing serves both when the two windows lie close together.
int CTextPlane::Render(uint32_t* pixels, int pitch, Area* area) {
  int* w = &area->w;
  int* h = &area->h;
  const int measuredW = area->measuredW, measuredH = area->measuredH;
  const FontRestore restore(font);
  const CTextFont& saved = restore.Saved();
  font.SetShadowColor(CTextFont::kNone);
  font.SetTextColor(0xFFFFFF);
  font.SetQuality(4);
  font.SetSize(Doubled(saved.GetHeight()));
  font.SetLinePitch(Doubled(saved.GetLinePitch()));
  int W = 0, H = 0;
  if (font.GetSize(&W, &H) != 0 || W == 0 || H == 0) W = H = 1;
  *w = std::min(*w, W / 2);
  *h = std::min(*h, H / 2);

  // Windows in plane pixels relative to the text's origin.
  const int64_t tx = m_textOffsetX, ty = m_textOffsetY;
  const int64_t sx = saved.GetShadowOffsetX(), sy = saved.GetShadowOffsetY();
  const bool shadow = saved.GetShadowColor() != CTextFont::kNone;
  const int64_t sw = std::min(measuredW, W / 2), sh = std::min(measuredH, H / 2);
  Coverage text, shade;
  const Coverage* shadowCoverage = &text;
  if (!shadow) {
    if (!text.Render(font, -tx, -ty, *w - tx, *h - ty)) return 2;
  } else {
    const int64_t l = std::min(-tx, -sx), t = std::min(-ty, -sy);
    const int64_t r = std::max(*w - tx, sw - sx), b = std::max(*h - ty, sh - sy);
    const int64_t apart = (r - l) * (b - t);
    if (apart <= 2 * (int64_t{*w} * *h + sw * sh)) {
      if (!text.Render(font, l, t, r, b)) return 2;
    } else {
      if (!text.Render(font, -tx, -ty, *w - tx, *h - ty)) return 2;
      // Without its shadow the text still stands.
      if (shade.Render(font, -sx, -sy, sw - sx, sh - sy)) shadowCoverage = &shade;
    }
  }

  // Both windows lie inside their coverage maps by construction: no pixel needs a bounds check.
  const uint32_t rgb = ColorRefToRgb(saved.GetTextColor());
  const uint32_t shadowRgb = ColorRefToRgb(saved.GetShadowColor());
  const int64_t width = *w, height = *h, shadowWidth = std::min<int64_t>(width, sw);
  for (int64_t y = 0; y < height; ++y) {
    uint32_t* out = pixels + y * pitch;
    const uint8_t* a = text.Row(y - ty) + (-tx - text.left);
    int64_t x = 0;
    if (shadow && y < sh) {
      const uint8_t* b = shadowCoverage->Row(y - sy) + (-sx - shadowCoverage->left);
      for (; x < shadowWidth; ++x) {
        const uint32_t pixel = (uint32_t{a[x]} << 24) | rgb;
        out[x] = b[x] ? CompositeShadow(pixel, (uint32_t{b[x]} << 24) | shadowRgb) : pixel;
      }
    }
    for (; x < width; ++x) out[x] = (uint32_t{a[x]} << 24) | rgb;
  }
  return 0;
}

int CTextPlane::Prepare(bool turned, Area* area) {
  int w = 0, h = 0;
  if (font.GetSize(&w, &h) != 0 || w == 0 || h == 0) w = h = 1;
  area->measuredW = w;
  area->measuredH = h;
  CMemPlaneImpl& impl = *GetImpl();
  if (impl.IsLoaded()) {
    impl.GetSize(&w, &h);
  } else if ((turned ? Create(h, w, 0) : Create(w, h, 0)) != 0) {
    return 1;
  }
  area->w = w;
  area->h = h;
  return 0;
}

int CTextPlane::UpdateText() {
  Area area;
  if (Prepare(false, &area) != 0) return 1;
  CMemPlaneImpl& impl = *GetImpl();
  const int result = Render(impl.GetPixels(), impl.GetPitch() / 4, &area);
  if (result != 0) return result;
  *impl.GetHasAlphaPtr() = true;
  return 0;
}

int CTextPlane::UpdateTextVertical() {
  Area area;
  if (Prepare(true, &area) != 0) return 1;
  CMemPlaneImpl& impl = *GetImpl();
  // Drawn upright in a temporary surface, then turned a quarter to the right: the shadow offset is
  // turned the other way first, so that the shadow lands where it would on horizontal text.
  CMemPlane upright;
  if (upright.Create(area.w, area.h, 0) != 0) return 2;
  const int32_t offsetX = font.GetShadowOffsetX(), offsetY = font.GetShadowOffsetY();
  font.SetShadowOffset(offsetY, -offsetX);
  CMemPlaneImpl& temp = *upright.GetImpl();
  const int result = Render(temp.GetPixels(), temp.GetPitch() / 4, &area);
  const int w = area.w, h = area.h;
  font.SetShadowOffset(offsetX, offsetY);
  if (result != 0) return result;
  const int planeW = impl.Width(), planeH = impl.Height();
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = temp.GetRow(y);
    const int column = planeW - 1 - y;
    if (column < 0 || column >= planeW) continue;
    for (int x = 0; x < std::min(w, planeH); ++x) impl.GetRow(x)[column] = row[x];
  }
  *impl.GetHasAlphaPtr() = true;
  return 0;
}
