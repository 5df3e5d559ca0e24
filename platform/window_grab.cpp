#include "platform/window_grab.h"

#include <QImage>
#include <QPixmap>
#include <cstring>

#include "platform/window_qt.h"

namespace platform {

std::unique_ptr<Bitmap> GrabClientArea(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return nullptr;
  Canvas* canvas = window->canvas();
  if (canvas->width() <= 0 || canvas->height() <= 0) return nullptr;
  const QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // One pixel of the picture per pixel of the client area, whatever the screen's scale.
  const QImage image = shown.size() == canvas->size() ? shown : shown.scaled(canvas->size());
  std::unique_ptr<Bitmap> bitmap = CreateDIBSection32(image.width(), image.height());
  if (!bitmap) return nullptr;
  const size_t rowBytes = static_cast<size_t>(image.width()) * 4;
  for (int y = 0; y < image.height(); ++y) std::memcpy(bitmap->Row(y), image.constScanLine(y), rowBytes);
  return bitmap;
}

}  // namespace platform
