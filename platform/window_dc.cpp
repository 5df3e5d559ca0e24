// A window's picture and the device contexts over it.
#include "platform/window_dc.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "platform/text_out.h"
#include "platform/window_image.h"
#include "platform/window_qt.h"

namespace platform {

void FillBitmapRect(Bitmap& bitmap, const RECT& rect, COLORREF colour) {
  if (bitmap.BitCount() != 32) return;
  const int left = std::max<int>(rect.left, 0), top = std::max<int>(rect.top, 0);
  const int right = std::min<int>(rect.right, bitmap.Width()), bottom = std::min<int>(rect.bottom, bitmap.Height());
  const uint32_t pixel = ColorRefToPixel(colour);
  for (int y = top; y < bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bitmap.Row(y));
    std::fill(row + left, row + std::max(right, left), pixel);
  }
}

Bitmap* WindowImage::fit(QSize size, COLORREF background) {
  if (m_attached) return m_attached;
  if (m_bitmap && m_bitmap->Width() == size.width() && m_bitmap->Height() == size.height()) return m_bitmap.get();
  if (!m_contexts.empty()) return m_bitmap.get();
  if (size.width() <= 0 || size.height() <= 0) {
    m_bitmap.reset();
    return nullptr;
  }
  std::unique_ptr<Bitmap> fresh = CreateDIBSection32(size.width(), size.height());
  if (!fresh) return m_bitmap.get();
  FillBitmapRect(*fresh, RECT{0, 0, size.width(), size.height()}, background);
  if (m_bitmap) {
    const int w = std::min(m_bitmap->Width(), fresh->Width());
    const int h = std::min(m_bitmap->Height(), fresh->Height());
    for (int y = 0; y < h; ++y) std::memcpy(fresh->Row(y), m_bitmap->Row(y), static_cast<size_t>(w) * 4);
  }
  m_bitmap = std::move(fresh);
  return m_bitmap.get();
}

MemDC* WindowImage::open(Bitmap* bitmap) {
  m_contexts.push_back(std::make_unique<MemDC>());
  m_contexts.back()->SelectBitmap(bitmap);
  return m_contexts.back().get();
}

bool WindowImage::release(const MemDC* dc) {
  auto it = std::find_if(m_contexts.begin(), m_contexts.end(), [dc](const auto& c) { return c.get() == dc; });
  if (it == m_contexts.end()) return false;
  m_contexts.erase(it);
  return true;
}

void WindowImage::paint(QPainter& painter, const QRegion& region) const {
  if (m_attached) {
    // Read in place: the owner draws into these bits between paints, and a copy of a whole pane
    // every frame is what this spares. The toolkit takes RGB32 for 0xffRRGGBB and copies the
    // fourth byte onto the surface as it stands, so the drawn parts are made opaque there after:
    // black under them changes no colour and leaves alpha 255 behind.
    const QImage view(m_attached->Bits(), m_attached->Width(), m_attached->Height(), m_attached->Pitch(),
                      QImage::Format_RGB32);
    const QRegion drawn = region & QRect(0, 0, m_attached->Width(), m_attached->Height());
    for (const QRect& part : drawn) painter.drawImage(part.topLeft(), view, part);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    for (const QRect& part : drawn) painter.fillRect(part, Qt::black);
    painter.restore();
    return;
  }
  if (!m_bitmap) return;
  const QRect whole(0, 0, m_bitmap->Width(), m_bitmap->Height());
  for (const QRect& part : region & whole) {
    // The bitmap's fourth byte is not alpha: the picture is opaque.
    QImage block(part.size(), QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
      const auto* src = reinterpret_cast<const uint32_t*>(m_bitmap->Row(part.top() + y)) + part.left();
      auto* dst = reinterpret_cast<uint32_t*>(block.scanLine(y));
      for (int x = 0; x < part.width(); ++x) dst[x] = src[x] | 0xFF000000u;
    }
    painter.drawImage(part.topLeft(), block);
  }
}

namespace {

QSize ClientSize(HWND hwnd) {
  RECT client;
  if (!GetClientRect(hwnd, &client)) return QSize();
  return QSize(client.right, client.bottom);
}

}  // namespace

HDC GetDC(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return nullptr;
  WindowImage& image = window->image();
  return image.open(image.fit(ClientSize(hwnd), window->background()));
}

int ReleaseDC(HWND hwnd, HDC dc) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !window->imageIfAny() || !window->imageIfAny()->release(dc)) return 0;
  // Inside a paint the canvas draws the picture once the procedure is done.
  if (!window->canvas()->activePainter()) window->canvas()->update();
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !paint) return nullptr;
  WindowImage& image = window->image();
  const QSize size = ClientSize(hwnd);
  Bitmap* bitmap = image.fit(size, window->background());
  QRect part(QPoint(0, 0), size);
  if (window->canvas()->activePainter()) part &= window->canvas()->paintRegion().boundingRect();
  const RECT rect{part.left(), part.top(), part.left() + part.width(), part.top() + part.height()};
  MemDC* dc = image.open(bitmap);
  dc->SetClipRect(&rect);
  // An attached bitmap holds what its owner drew: nothing is erased there.
  const bool erase = bitmap && !image.attached();
  if (erase) FillBitmapRect(*bitmap, rect, window->background());
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->fErase = erase ? 1 : 0;
  paint->rcPaint = rect;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return 0;
  return ReleaseDC(hwnd, paint->hdc) ? 1 : 0;
}

}  // namespace platform
