// Copies out of a memory surface: a rectangle saved as a 24-bit BMP, and a 1:1 copy onto a plane
// through device contexts.
#include <string>

#include "sdk/graphics/blit_clip.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "sdk/graphics/plane.h"

int CMemPlaneImpl::Save(std::string_view fileName, const RECT* rect) const {
  if (m_pixels == nullptr) return 1;
  RECT r;
  ClipRect(&r, rect);
  CDIBSection section;
  if (r.left >= r.right || r.top >= r.bottom ||
      section.Create(r.right - r.left, r.bottom - r.top, 24) != 0 || section.GetDC() == nullptr)
    return 1;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) {
      const uint32_t p = GetRow(y)[x];
      platform::SetPixel(section.GetDC(), x - r.left, y - r.top,
                         RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
  return section.SaveBMP(std::string(fileName), nullptr);
}

int CMemPlaneImpl::BltToPlane(CPlane* plane, int x, int y, const RECT* sourceRect,
                              RECT* clip) const {
  if (plane == nullptr) return 1;
  int w = 0, h = 0;
  plane->GetSize(&w, &h);
  BlitGeometry g;
  if (ClipBlt(g, RECT{0, 0, w, h}, m_rect, x, y, sourceRect, nullptr, clip, false) != 0) return 1;
  HDC dc = plane->BeginPaint();
  if (dc == nullptr) return 2;
  const BOOL copied = platform::BitBlt(dc, g.d.left, g.d.top, g.d.right - g.d.left,
                                       g.d.bottom - g.d.top, m_dc.get(), g.s.left, g.s.top,
                                       SRCCOPY);
  plane->EndPaint();
  return copied ? 0 : 1;
}
