#include "platform/invert_overlay.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/window_qt.h"

namespace platform {
namespace {

constexpr const char* kOverlayName = "vrelInvertOverlay";

// A widget over the whole canvas that inverts what lies under it inside its region: painted last,
// with the difference against white, which is 255 minus each colour byte of what is there.
class InvertOverlay final : public QWidget {
 public:
  explicit InvertOverlay(QWidget& canvas) : QWidget(&canvas) {
    setObjectName(kOverlayName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(canvas.rect());
    canvas.installEventFilter(this);
    hide();
  }

  void toggle(const QRect& rect) {
    m_strips = m_strips.xored(QRegion(rect));
    if (m_strips.isEmpty()) {
      hide();
      return;
    }
    raise();
    show();
    update(rect);
  }
  void clear() {
    m_strips = QRegion();
    hide();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRegion strips = m_strips.intersected(event->region());
    // What lies under is opaque (a window showing a DIB in place is made so as it is shown,
    // platform/attached_image.h), so the difference against white is exact.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    for (const QRect& r : strips) painter.fillRect(r, Qt::white);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
  }

 private:
  QRegion m_strips;
};

InvertOverlay* OverlayOf(Canvas& canvas, bool make) {
  auto* overlay = canvas.findChild<InvertOverlay*>(kOverlayName, Qt::FindDirectChildrenOnly);
  if (!overlay && make) overlay = new InvertOverlay(canvas);
  return overlay;
}

}  // namespace

BOOL InvertOverWindow(HWND hwnd, const RECT& rect) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || rect.right <= rect.left || rect.bottom <= rect.top) return 0;
  OverlayOf(*window->canvas(), true)
      ->toggle(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
  return 1;
}

BOOL ClearInvertedStrips(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return 0;
  if (InvertOverlay* overlay = OverlayOf(*window->canvas(), false)) overlay->clear();
  return 1;
}

}  // namespace platform
