#include "platform/presenter.h"

#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QTimer>
#include <algorithm>
#include <cstring>

#include "platform/first_frame_mark.h"
#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The front image of one window, owned by the window.
class Presenter final : public QObject {
 public:
  explicit Presenter(Window& window) : m_window(window) {
    setParent(&window);
    window.canvas()->mapToClient = [this](QPoint p) { return ToPicture(p); };
    window.canvas()->mapFromClient = [this](QPoint p) { return FromPicture(p); };
    window.canvas()->picturePlace = [this] { return PictureRect(); };
  }

  Window& window() const { return m_window; }
  QImage& front() { return m_front; }
  bool menuRevealed = false;
  FrontImageCopies counts;

  // The canvas rectangle that shows the picture block (x, y, w, h), rounded outwards, with a
  // pixel more on each side where the picture is scaled (smooth scaling reaches neighbours).
  QRect CanvasBlock(int x, int y, int w, int h) const {
    const QRect r = PictureRect();
    const int64_t fw = m_front.width(), fh = m_front.height();
    if (r.isEmpty() || fw <= 0 || fh <= 0) return {};
    if (r.size() == m_front.size()) return QRect(r.x() + x, r.y() + y, w, h);
    const int64_t left = FloorDiv(int64_t{x} * r.width(), fw) - 1;
    const int64_t top = FloorDiv(int64_t{y} * r.height(), fh) - 1;
    const int64_t right = -FloorDiv(-(int64_t{x} + w) * r.width(), fw) + 1;
    const int64_t bottom = -FloorDiv(-(int64_t{y} + h) * r.height(), fh) + 1;
    return QRect(r.x() + static_cast<int>(left), r.y() + static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top))
        .intersected(r);
  }

  // The picture's place in canvas coordinates. In full screen it is centred on the whole window,
  // so a menu bar shown above the canvas covers the picture's top rows instead of moving it.
  QRect PictureRect() const {
    const QSize f = m_front.size();
    if (f.isEmpty()) return {};
    if (!m_window.isPopup()) return QRect(QPoint(0, 0), f);
    const int64_t W = m_window.width(), H = m_window.height();
    const int64_t fw = f.width(), fh = f.height();
    if (W <= 0 || H <= 0) return {};
    int64_t pw = W, ph = H;
    if (W * fh <= H * fw) {
      ph = std::max<int64_t>(1, (fh * W + fw / 2) / fw);
    } else {
      pw = std::max<int64_t>(1, (fw * H + fh / 2) / fh);
    }
    const QPoint origin(static_cast<int>((W - pw) / 2), static_cast<int>((H - ph) / 2));
    return QRect(origin - m_window.canvas()->pos(), QSize(static_cast<int>(pw), static_cast<int>(ph)));
  }

  QPoint ToPicture(QPoint p) const {
    const QRect r = PictureRect();
    if (r.isEmpty() || !m_window.isPopup()) return p;
    const int64_t x = FloorDiv((int64_t{p.x()} - r.x()) * m_front.width(), r.width());
    const int64_t y = FloorDiv((int64_t{p.y()} - r.y()) * m_front.height(), r.height());
    return QPoint(static_cast<int>(x), static_cast<int>(y));
  }

  // The first canvas pixel that shows a picture pixel (exact while the picture is not shrunk).
  QPoint FromPicture(QPoint p) const {
    const QRect r = PictureRect();
    if (r.isEmpty() || !m_window.isPopup()) return p;
    const int64_t x = -FloorDiv(-int64_t{p.x()} * r.width(), m_front.width());
    const int64_t y = -FloorDiv(-int64_t{p.y()} * r.height(), m_front.height());
    return QPoint(static_cast<int>(r.x() + x), static_cast<int>(r.y() + y));
  }

  // The bar shows in a window, and in full screen only while revealed. Not while a paint is in
  // progress: showing or hiding the bar lays the window out anew.
  void SyncMenuBar() {
    QWidget* bar = m_window.menuWidget();
    if (!bar) return;
    const bool show = !m_window.isPopup() || menuRevealed;
    if (bar->isHidden() != show) return;
    if (m_window.canvas()->activePainter()) {
      QTimer::singleShot(0, this, [this] { SyncMenuBar(); });
    } else {
      bar->setVisible(show);
    }
  }

 private:
  Window& m_window;
  QImage m_front;
};

Presenter* Find(Window& window) {
  // By type, not by meta-object: the presenter declares no meta-object of its own.
  for (QObject* child : window.children())
    if (auto* presenter = dynamic_cast<Presenter*>(child)) return presenter;
  return nullptr;
}

Presenter& Get(Window& window) {
  if (Presenter* p = Find(window)) return *p;
  return *new Presenter(window);  // owned by the window
}

// d = s with the alpha byte set, four pixels at a time: this runs over every pixel of every frame.
void CopyOpaque(uint32_t* d, const uint32_t* s, size_t n) {
  using Quad = uint32_t __attribute__((vector_size(16)));
  constexpr Quad opaque = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    Quad q;
    std::memcpy(&q, s + i, sizeof q);
    q |= opaque;
    std::memcpy(d + i, &q, sizeof q);
  }
  for (; i < n; ++i) d[i] = s[i] | 0xFF000000u;
}

bool ToPixels(const QImage& image, std::vector<uint32_t>* pixels, int* width, int* height) {
  if (image.isNull() || !pixels || !width || !height) return false;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  *width = rgb.width();
  *height = rgb.height();
  pixels->resize(static_cast<size_t>(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    std::memcpy(pixels->data() + static_cast<size_t>(y) * rgb.width(), rgb.constScanLine(y),
                static_cast<size_t>(rgb.width()) * 4);
  return true;
}

}  // namespace

bool CopyToFrontImage(HWND hwnd, const FrameView& frame, int x, int y, int w, int h) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !frame.pixels || frame.width <= 0 || frame.height <= 0 ||
      int64_t{frame.pitch} < int64_t{frame.width} * 4)
    return false;
  Presenter& presenter = Get(*window);
  QImage& front = presenter.front();
  if (front.width() != frame.width || front.height() != frame.height) {
    front = QImage(frame.width, frame.height, QImage::Format_RGB32);
    if (front.isNull()) return false;
    front.fill(Qt::black);
    window->canvas()->update();  // the picture's place and size change
  }
  presenter.SyncMenuBar();
  const int64_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int64_t x1 = std::min<int64_t>(int64_t{x} + std::max(w, 0), frame.width);
  const int64_t y1 = std::min<int64_t>(int64_t{y} + std::max(h, 0), frame.height);
  if (x0 >= x1 || y0 >= y1) return true;
  for (int64_t row = y0; row < y1; ++row) {
    const auto* src =
        reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(frame.pixels) + row * frame.pitch);
    auto* dst = reinterpret_cast<uint32_t*>(front.scanLine(static_cast<int>(row)));
    CopyOpaque(dst + x0, src + x0, static_cast<size_t>(x1 - x0));
  }
  ++presenter.counts.copies;
  presenter.counts.pixels += static_cast<uint64_t>((x1 - x0) * (y1 - y0));
  window->canvas()->update(presenter.CanvasBlock(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                                                 static_cast<int>(y1 - y0)));
  return true;
}

bool PaintFrontImage(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  QPainter* painter = window->canvas()->activePainter();
  Presenter* presenter = Find(*window);
  if (!painter || !presenter || presenter->front().isNull()) return false;
  const QImage& front = presenter->front();
  const QRect target = presenter->PictureRect();
  // Only what this paint covers: a presented rectangle repaints that rectangle, not the window.
  const QRegion exposed = window->canvas()->paintRegion();
  if (window->isPopup()) {
    for (const QRect& bar : exposed - target) painter->fillRect(bar, Qt::black);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, target.size() != front.size());
  }
  if (target.size() == front.size()) {
    // 1:1: each exposed part of the picture is drawn from the same part of the front image.
    for (const QRect& part : exposed& target)
      painter->drawImage(part.topLeft(), front, part.translated(-target.topLeft()));
  } else {
    painter->drawImage(target, front);
  }
  MarkFirstFramePainted();
  return true;
}

bool GetPictureRect(HWND hwnd, RECT* rect) {
  Window* window = WindowFromHandle(hwnd);
  Presenter* presenter = window ? Find(*window) : nullptr;
  if (!presenter || !rect || presenter->front().isNull()) return false;
  const QRect r = presenter->PictureRect();
  *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return true;
}

int MenuBarHeight() {
  static const int height = [] {
    EnsureGuiApp();
    QMenuBar bar;
    bar.addMenu(QStringLiteral("M"));
    return bar.sizeHint().height();
  }();
  return height;
}

bool RevealMenuBar(HWND hwnd, bool reveal) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !window->menuWidget()) return false;
  Presenter& presenter = Get(*window);
  presenter.menuRevealed = reveal;
  presenter.SyncMenuBar();
  return true;
}

bool CaptureFrontImage(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height) {
  Window* window = WindowFromHandle(hwnd);
  Presenter* presenter = window ? Find(*window) : nullptr;
  return presenter && ToPixels(presenter->front(), pixels, width, height);
}

bool CaptureClientArea(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height) {
  Window* window = WindowFromHandle(hwnd);
  return window && ToPixels(window->canvas()->grab().toImage(), pixels, width, height);
}

FrontImageCopies CountFrontImageCopies(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  Presenter* presenter = window ? Find(*window) : nullptr;
  return presenter ? presenter->counts : FrontImageCopies{};
}

}  // namespace platform
