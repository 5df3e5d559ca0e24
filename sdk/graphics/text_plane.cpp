#include "sdk/graphics/text_plane.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/text_out.h"
#include "sdk/graphics/text_plane_cache.h"
#include "sdk/graphics/text_plane_kernels.h"

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

}  // namespace

// The plane's pixels are written directly, and the doubled drawing goes into working memory of its
// own: the plane needs no device context, so it keeps the plain storage that is cheaper to make
// for every glyph.
CTextPlane::CTextPlane() = default;

CTextPlane::~CTextPlane() = default;

int CTextPlane::Update() {
  int result = 0;
  const CMemPlane* image = UpdateShared(&result);
  if (image == this) return result;
  const CMemPlaneImpl& kept = *image->GetImpl();
  CMemPlaneImpl& impl = *GetImpl();
  // Every pixel is written: no clearing first.
  if (impl.AllocPixels(kept.Width(), kept.Height()) != 0) return 1;
  std::memcpy(impl.GetPixels(), kept.GetPixels(), static_cast<size_t>(kept.Width()) * kept.Height() * sizeof(uint32_t));
  *impl.GetHasAlphaPtr() = true;
  return result;
}

CMemPlane* CTextPlane::UpdateShared(int* result) {
  *result = 0;
  if (GetImpl()->IsLoaded()) {
    *result = UpdateUncached();
    return this;
  }
  TextPlaneCache& cache = TextPlaneCache::Instance();
  const TextPlaneCache::Key key(font, m_textOffsetX, m_textOffsetY, m_vertical);
  if (CMemPlane* image = cache.Find(key)) return image;
  *result = UpdateUncached();
  if (*result == 0) {
    if (CMemPlane* kept = cache.Store(key, *this)) return kept;
  }
  return this;
}

int CTextPlane::UpdateUncached() {
  int result = 0;
  if (!m_vertical) {
    result = UpdateText();
  } else {
    // The vertical variant of the face, for the length of the update.
    const std::string face = font.GetFaceName();
    const bool marked = !face.empty() && face.front() == '@';
    if (!marked) font.SetFaceName("@" + face);
    result = UpdateTextVertical();
    if (!marked) font.SetFaceName(face);
  }
  // The working memory of a large text is not kept.
  constexpr size_t kKeptScratch = size_t{1} << 16;
  for (std::vector<uint8_t>* memory : {&m_scratch.ink, &m_scratch.text, &m_scratch.shadow}) {
    if (memory->capacity() > kKeptScratch) std::vector<uint8_t>().swap(*memory);
  }
  return result;
}

namespace {

// The ink coverage of a text over a window of plane pixels, given relative to the text's origin:
// the text drawn white on black at double size, each 2 × 2 block averaged. Only the ink is drawn,
// one byte a pixel; rows are padded to whole blocks for the averaging, and a block of slack after
// the last row lets the compositing read whole blocks.
struct Coverage {
  int64_t left = 0, top = 0, width = 0, height = 0;
  size_t pitch = 0;
  const uint8_t* alpha = nullptr;

  // Row y of the window (y relative to the text's origin); the caller stays inside the window.
  const uint8_t* Row(int64_t y) const { return alpha + (y - top) * static_cast<int64_t>(pitch); }

  // font: already doubled, white, without shadow. The coverage is made in alphaMemory, the doubled
  // drawing in inkMemory. False when the memory cannot be had.
  bool Render(const CTextFont& font, int64_t l, int64_t t, int64_t r, int64_t b, std::vector<uint8_t>& alphaMemory,
              std::vector<uint8_t>& inkMemory) {
    using text_plane_kernels::kBlock;
    left = l;
    top = t;
    width = std::max<int64_t>(r - l, 0);
    height = std::max<int64_t>(b - t, 0);
    if (width == 0 || height == 0) return true;
    if (width > CMemPlaneImpl::kMaxSide || height > CMemPlaneImpl::kMaxSide ||
        width * height > CMemPlaneImpl::kMaxPixels) {
      return false;
    }
    pitch = text_plane_kernels::BlockRound(static_cast<size_t>(width));
    const size_t rows = static_cast<size_t>(height), inkPitch = 2 * pitch;
    try {
      alphaMemory.resize(pitch * rows + kBlock);
      inkMemory.assign(inkPitch * 2 * rows, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    alpha = alphaMemory.data();
    // A text whose origin lies beyond the coordinate range cannot reach the window.
    const int64_t originX = -2 * left, originY = -2 * top;
    if (originX < INT32_MIN || originX > INT32_MAX || originY < INT32_MIN || originY > INT32_MAX) {
      std::fill(alphaMemory.begin(), alphaMemory.end(), 0);
      return true;
    }
    uint8_t* ink = inkMemory.data();
    font.DrawInk(platform::ChannelBuffer{ink, static_cast<int32_t>(2 * width), static_cast<int32_t>(2 * height),
                                         static_cast<int32_t>(inkPitch)},
                 static_cast<int>(originX), static_cast<int>(originY));
    for (size_t y = 0; y < rows; ++y) {
      const uint8_t* upper = ink + 2 * y * inkPitch;
      text_plane_kernels::AverageBlocks(upper, upper + inkPitch, alphaMemory.data() + y * pitch, pitch / kBlock);
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
  bool shadow = saved.GetShadowColor() != CTextFont::kNone;
  const int64_t sw = std::min(measuredW, W / 2), sh = std::min(measuredH, H / 2);
  Coverage text, shade;
  const Coverage* shadowCoverage = &text;
  if (!shadow) {
    if (!text.Render(font, -tx, -ty, *w - tx, *h - ty, m_scratch.text, m_scratch.ink)) return 2;
  } else {
    const int64_t l = std::min(-tx, -sx), t = std::min(-ty, -sy);
    const int64_t r = std::max(*w - tx, sw - sx), b = std::max(*h - ty, sh - sy);
    const int64_t apart = (r - l) * (b - t);
    if (apart <= 2 * (int64_t{*w} * *h + sw * sh)) {
      if (!text.Render(font, l, t, r, b, m_scratch.text, m_scratch.ink)) return 2;
    } else {
      if (!text.Render(font, -tx, -ty, *w - tx, *h - ty, m_scratch.text, m_scratch.ink)) return 2;
      // Without its shadow the text still stands; the text's own window does not hold the shadow's.
      shadowCoverage = &shade;
      shadow = shade.Render(font, -sx, -sy, sw - sx, sh - sy, m_scratch.shadow, m_scratch.ink);
    }
  }

  // Both windows lie inside their coverage maps by construction: no pixel needs a bounds check.
  const uint32_t rgb = platform::ColorRefToPixel(saved.GetTextColor());
  const int64_t width = *w, height = *h, shadowWidth = shadow ? std::min<int64_t>(width, sw) : 0;
  const uint32_t shadowRgb = platform::ColorRefToPixel(saved.GetShadowColor());
  // Glyph after glyph comes in the same two colours: their composite table is made once.
  if (shadowWidth > 0 && !(m_scratch.composite && m_scratch.composite->IsFor(rgb, shadowRgb))) {
    m_scratch.composite.emplace(rgb, shadowRgb);
  }
  for (int64_t y = 0; y < height; ++y) {
    uint32_t* out = pixels + y * pitch;
    const uint8_t* a = text.Row(y - ty) + (-tx - text.left);
    int64_t x = 0;
    if (shadowWidth > 0 && y < sh) {
      const uint8_t* b = shadowCoverage->Row(y - sy) + (-sx - shadowCoverage->left);
      m_scratch.composite->Row(a, b, out, static_cast<size_t>(shadowWidth));
      x = shadowWidth;
    }
    text_plane_kernels::TextRow(a + x, out + x, static_cast<size_t>(width - x), rgb);
  }
  return 0;
}

int CTextPlane::Prepare(bool turned, bool clear, Area* area) {
  int w = 0, h = 0;
  if (font.GetSize(&w, &h) != 0 || w == 0 || h == 0) w = h = 1;
  area->measuredW = w;
  area->measuredH = h;
  CMemPlaneImpl& impl = *GetImpl();
  area->made = !impl.IsLoaded();
  if (!area->made) {
    impl.GetSize(&w, &h);
  } else {
    const int planeW = turned ? h : w, planeH = turned ? w : h;
    if ((clear ? Create(planeW, planeH, 0) : impl.AllocPixels(planeW, planeH)) != 0) return 1;
  }
  area->w = w;
  area->h = h;
  return 0;
}

int CTextPlane::UpdateText() {
  Area area;
  // The rendering writes every pixel it covers: only the rest of a plane made here is cleared.
  if (Prepare(false, false, &area) != 0) return 1;
  CMemPlaneImpl& impl = *GetImpl();
  const int result = Render(impl.GetPixels(), impl.GetPitch() / 4, &area);
  if (area.made) {
    constexpr uint32_t kFill = 0xFFFFFFFF;  // the surface's fill colour, as a plane is made with
    const LONG right = impl.Width(), bottom = impl.Height();
    if (result != 0) {
      impl.Clear(kFill, nullptr);
    } else {
      const RECT besides{area.w, 0, right, area.h}, below{0, area.h, right, bottom};
      impl.Clear(kFill, &besides);
      impl.Clear(kFill, &below);
    }
  }
  if (result != 0) return result;
  *impl.GetHasAlphaPtr() = true;
  return 0;
}

int CTextPlane::UpdateTextVertical() {
  Area area;
  if (Prepare(true, true, &area) != 0) return 1;
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
