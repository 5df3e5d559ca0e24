#include <algorithm>
#include <memory>

#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"
#include "sdk/graphics/text_plane.h"

// One text plane serves every glyph, its font made afresh for each, so that its working memory is
// made once; a glyph already drawn in its style is copied straight from the finished image.
void CTextDraw::DrawGlyph(const CTextDrawContext& record, int32_t code, RECT& rect) {
  if (!m_glyphPlane) m_glyphPlane = std::make_unique<CTextPlane>();
  CTextPlane& plane = *m_glyphPlane;
  plane.font = CTextFont();
  SetGlyphFont(plane.font, record, code);
  plane.SetVertical(vertical);
  // A plane that could not be updated is drawn as it was left, like any other.
  int result = 0;
  CMemPlane* image = plane.UpdateShared(&result);
  if (CMemPlane* canvas = CMemPlane::AsMemPlane(GetSurface())) {
    canvas->GetImpl()->BltFast(image, rect.left, rect.top, nullptr, nullptr, nullptr);
  }
  int w = 0, h = 0;
  image->GetSize(&w, &h);
  rect.right = rect.left + w;
  rect.bottom = rect.top + h;
}

void CTextDraw::DrawGaiji(const GaijiEntry& entry, int32_t x, int32_t y) {
  CMemPlane* canvas = CMemPlane::AsMemPlane(GetSurface());
  if (!canvas || !entry.surface) return;
  const int32_t tx = x + entry.offsetX, ty = y + entry.offsetY;
  CMemPlaneImpl& target = *canvas->GetImpl();
  CMemPlaneImpl& source = *entry.surface->GetImpl();
  if (entry.opaqueCopy) {
    target.BltFast(entry.surface, tx, ty, &entry.source, nullptr, nullptr);
    // The copied pixels become fully opaque.
    RECT copied{tx, ty, tx + (entry.source.right - entry.source.left), ty + (entry.source.bottom - entry.source.top)};
    target.ClipRect(&copied, &copied);
    for (int32_t row = copied.top; row < copied.bottom; ++row) {
      uint32_t* pixels = target.GetRow(row);
      for (int32_t col = copied.left; col < copied.right; ++col) pixels[col] |= 0xFF000000u;
    }
    return;
  }
  // Every pixel of the image that is not the key colour becomes opaque, in the image itself; then
  // the keyed copy leaves the key pixels out.
  RECT area;
  source.ClipRect(&area, &entry.source);
  const uint32_t key = source.GetColorKey() & 0xFFFFFF;
  for (int32_t row = area.top; row < area.bottom; ++row) {
    uint32_t* pixels = source.GetRow(row);
    for (int32_t col = area.left; col < area.right; ++col) {
      if ((pixels[col] & 0xFFFFFF) != key) pixels[col] |= 0xFF000000u;
    }
  }
  target.Blt(entry.surface, tx, ty, &entry.source, nullptr, nullptr);
}
