// The strip of 16 x 16 command icons that menus and the toolbar show: "my_icons.bmp" beside the
// executable, else the program's bitmap resource 200. Cells lie 32 to a row; the colour of the
// top-left pixel marks transparency.
#pragma once

#include <memory>

#include "platform/mem_dc.h"
#include "platform/menu.h"
#include "platform/win_types.h"

class CIconBitmap {
 public:
  static constexpr int kCellSize = 16;
  static constexpr int kCellsPerRow = 32;
  static constexpr UINT kResourceId = 200;
  static constexpr int kDisabled = 16;
  // The colours of the disabled look (the button highlight and shadow of the usual scheme).
  static constexpr uint32_t kHighlight = 0xFFFFFF;
  static constexpr uint32_t kShadow = 0x808080;

  CIconBitmap();
  ~CIconBitmap();

  bool Load(HINSTANCE hInstance);
  // Loads a strip from a given file (the executable's folder in Load); false when it does not load.
  bool LoadFromFile(const char* path);
  bool IsLoaded() const { return m_pBitmap != nullptr; }
  // Draws icon n at (x, y) of the context: mode 16 the disabled look, else the normal one. False
  // without a strip or for an icon outside it.
  bool Draw(int icon, platform::MemDC& dc, int x, int y, int mode) const;
  // The icon as a menu item shows it.
  bool GetMenuIcon(int icon, platform::MenuIcon& out, bool disabled) const;
  uint32_t TransparentColor() const { return m_transparent; }
  // The strip itself (the toolbar cuts its buttons' icons from it); null before a load.
  const platform::Bitmap* Strip() const { return m_pBitmap.get(); }

 private:
  bool CellOrigin(int icon, int& cx, int& cy) const;
  void TakeTransparentColor();

  int m_cx = kCellSize;
  int m_cy = kCellSize;
  uint32_t m_transparent = 0;
  std::unique_ptr<platform::Bitmap> m_pBitmap;
};
