// Windows showing a bitmap their owner keeps.
#include "platform/attached_image.h"

#include "platform/window_image.h"
#include "platform/window_qt.h"

namespace platform {

bool AttachWindowImage(HWND hwnd, Bitmap* bitmap) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  if (bitmap && (bitmap->BitCount() != 32 || !bitmap->TopDown() || !bitmap->Bits())) return false;
  window->image().attach(bitmap);
  window->canvas()->beginAttached(bitmap != nullptr);
  return true;
}

Bitmap* AttachedWindowImage(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window && window->imageIfAny() ? window->imageIfAny()->attached() : nullptr;
}

bool ShowWindowImage(HWND hwnd, const RECT* rect) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  if (rect) {
    window->canvas()->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
  } else {
    window->canvas()->update();
  }
  return true;
}

bool WindowImageOwesPaint(HWND hwnd, const RECT* rect) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !window->imageIfAny() || !window->imageIfAny()->attached()) return false;
  const QRect part = rect ? QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top)
                          : window->canvas()->rect();
  return window->canvas()->owesPaint(part);
}

}  // namespace platform
