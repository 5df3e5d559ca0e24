// Inside the platform layer only: the picture of a window's client area behind its device
// contexts (platform/window_dc.h is the interface).
#pragma once

#include <QRegion>
#include <QSize>
#include <memory>
#include <vector>

#include "platform/mem_dc.h"

class QPainter;

namespace platform {

class WindowImage {
 public:
  // The bitmap at the size, filled with the background where nothing was drawn yet; kept as it is
  // while a context is out. Null for a size without pixels. An attached bitmap is given as it is.
  Bitmap* fit(QSize size, COLORREF background);
  Bitmap* bitmap() const { return m_attached ? m_attached : m_bitmap.get(); }

  // A bitmap of the window's owner shown in place of the own one (platform/attached_image.h);
  // borrowed, null for none.
  void attach(Bitmap* bitmap) { m_attached = bitmap; }
  Bitmap* attached() const { return m_attached; }

  // A context over the bitmap (or without one), owned here until released.
  MemDC* open(Bitmap* bitmap);
  bool release(const MemDC* dc);
  bool contextsOut() const { return !m_contexts.empty(); }

  // Draws the parts of the region that the picture covers.
  void paint(QPainter& painter, const QRegion& region) const;

 private:
  std::unique_ptr<Bitmap> m_bitmap;
  Bitmap* m_attached = nullptr;
  std::vector<std::unique_ptr<MemDC>> m_contexts;
};

// Fills a rectangle of a 32-bit bitmap with a colour, within its bounds.
void FillBitmapRect(Bitmap& bitmap, const RECT& rect, COLORREF colour);

}  // namespace platform
