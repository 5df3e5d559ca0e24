#include "editor/shell/commands/icon_bitmap.h"

#include <string>

#include "editor/foundation/settings/share_data.h"
#include "editor/shell/commands/editor_icon_strip.h"
#include "platform/bitmap_resource.h"
#include "platform/dib.h"

namespace {

uint32_t PixelAt(const platform::Bitmap& b, int x, int y) {
  return platform::ReadDibPixel(b.Row(y), x, b.BitCount(), b.Colors()) & 0xFFFFFF;
}

}  // namespace

CIconBitmap::CIconBitmap() = default;
CIconBitmap::~CIconBitmap() = default;

void CIconBitmap::TakeTransparentColor() { m_transparent = PixelAt(*m_pBitmap, 0, 0); }

bool CIconBitmap::LoadFromFile(const char* path) {
  if (!path) return false;
  auto bitmap = platform::LoadBitmapFile(path);
  if (!bitmap) return false;
  m_pBitmap = std::move(bitmap);
  TakeTransparentColor();
  return true;
}

bool CIconBitmap::Load(HINSTANCE) {
  if (m_pBitmap) return true;
  const std::string folder = CShareData::ExecutableFolder();
  if (!folder.empty() && LoadFromFile((folder + "my_icons.bmp").c_str())) return true;
  RegisterEditorIconStrip();
  m_pBitmap = platform::LoadBitmapResource(kResourceId);
  if (!m_pBitmap) return false;
  TakeTransparentColor();
  return true;
}

bool CIconBitmap::CellOrigin(int icon, int& cx, int& cy) const {
  if (!m_pBitmap || icon < 0) return false;
  cx = (icon % kCellsPerRow) * m_cx;
  cy = (icon / kCellsPerRow) * m_cy;
  return cx + m_cx <= m_pBitmap->Width() && cy + m_cy <= m_pBitmap->Height();
}

bool CIconBitmap::Draw(int icon, platform::MemDC& dc, int x, int y, int mode) const {
  int cx, cy;
  if (!CellOrigin(icon, cx, cy)) return false;
  platform::Bitmap* target = dc.GetBitmap();
  if (!target) return false;
  const auto put = [&](int px, int py, uint32_t rgb) {
    if (!dc.InOutput(px, py)) return;
    platform::StoreDibPixel(target->Row(py), px, target->BitCount(), target->Colors(), rgb);
  };
  for (int j = 0; j < m_cy; ++j)
    for (int i = 0; i < m_cx; ++i) {
      const uint32_t p = PixelAt(*m_pBitmap, cx + i, cy + j);
      if (mode != kDisabled) {
        // Mask: the transparent colour keeps the destination; the rest is the icon's own pixel.
        if (p != m_transparent) put(x + i, y + j, p);
      } else if (p != m_transparent && p != 0xFFFFFF) {
        put(x + i + 1, y + j + 1, kHighlight);
      }
    }
  if (mode == kDisabled)
    for (int j = 0; j < m_cy; ++j)
      for (int i = 0; i < m_cx; ++i) {
        const uint32_t p = PixelAt(*m_pBitmap, cx + i, cy + j);
        if (p != m_transparent && p != 0xFFFFFF) put(x + i, y + j, kShadow);
      }
  return true;
}

bool CIconBitmap::GetMenuIcon(int icon, platform::MenuIcon& out, bool disabled) const {
  int cx, cy;
  if (!CellOrigin(icon, cx, cy)) return false;
  // Drawn into a cell of its own, whose untouched pixels stay transparent.
  auto cell = platform::CreateDIBSection32(m_cx + 1, m_cy + 1);
  if (!cell) return false;
  constexpr uint32_t kUnset = 0xFF00FF;
  for (int j = 0; j <= m_cy; ++j)
    for (int i = 0; i <= m_cx; ++i) reinterpret_cast<uint32_t*>(cell->Row(j))[i] = kUnset;
  platform::MemDC dc;
  dc.SelectBitmap(cell.get());
  Draw(icon, dc, 0, 0, disabled ? kDisabled : 0);
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) {
      const uint32_t p = reinterpret_cast<const uint32_t*>(cell->Row(j))[i] & 0xFFFFFF;
      out.pixels[j * 16 + i] = p;
      out.transparent[j * 16 + i] = p == kUnset;
    }
  return true;
}
