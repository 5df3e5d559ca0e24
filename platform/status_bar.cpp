// The status bar control: a widget that paints its parts itself (texts with the toolkit's font,
// owner-drawn parts from a memory context the parent draws into) and tells the parent of double
// clicks and right clicks on a part.
#include "platform/status_bar.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSizeGrip>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc_text.h"
#include "platform/font.h"
#include "platform/mem_dc.h"
#include "platform/sjis_literal.h"
#include "platform/sys_color.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

constexpr int kGripHeight = 16;

// As wide as the room the parent's layout leaves for it at the bar's right end.
int GripWidth() { return GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL); }

QColor Colour(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

struct Part {
  int right = -1;  // -1: to the bar's end
  std::string text;
  WPARAM flags = 0;  // SBT_ bits
  uintptr_t data = 0;  // an owner-drawn part's value
};

class StatusBarControl;

class StatusBarWidget final : public ControlSurface {
 public:
  explicit StatusBarWidget(QWidget* parent) : ControlSurface(parent) {}
  StatusBarControl* control = nullptr;
  QPointer<QSizeGrip> grip;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override {
    if (grip) grip->setGeometry(width() - GripWidth(), height() - kGripHeight, GripWidth(), kGripHeight);
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class StatusBarControl final : public ChildWindow {
 public:
  StatusBarControl(Window& top, StatusBarWidget* bar, int id, HWND notify)
      : ChildWindow(top, bar, id), m_bar(bar), m_notify(notify) {
    m_parts.resize(1);
  }

  LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case SB_SETPARTS: {
        const auto* edges = reinterpret_cast<const int*>(lParam);
        if (wParam == 0 || wParam > kMaxStatusParts || !edges) return 0;
        m_parts.resize(wParam);
        for (size_t i = 0; i < wParam; ++i) m_parts[i].right = edges[i];
        update();
        return 1;
      }
      case SB_GETPARTS: {
        auto* out = reinterpret_cast<int*>(lParam);
        if (out)
          for (size_t i = 0; i < std::min<size_t>(wParam, m_parts.size()); ++i) out[i] = m_parts[i].right;
        return static_cast<LRESULT>(m_parts.size());
      }
      case SB_GETRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        if (!out || wParam >= m_parts.size()) return 0;
        const QRect r = partRect(wParam);
        *out = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        return 1;
      }
      case SB_SETTEXT: {
        const size_t index = wParam & 0xFF;
        if (index >= m_parts.size()) return 0;
        Part& part = m_parts[index];
        part.flags = wParam & ~WPARAM{0xFF};
        if (part.flags & SBT_OWNERDRAW) {
          part.data = static_cast<uintptr_t>(lParam);
          part.text.clear();
        } else {
          const char* text = reinterpret_cast<const char*>(lParam);
          part.text = text ? text : "";
          part.data = 0;
        }
        update();
        return 1;
      }
      case SB_GETTEXT:
      case SB_GETTEXTLENGTH: {
        const size_t index = wParam & 0xFF;
        if (index >= m_parts.size()) return 0;
        const Part& part = m_parts[index];
        if (part.flags & SBT_OWNERDRAW) return static_cast<LRESULT>(part.data);
        if (message == SB_GETTEXT && lParam) {
          std::memcpy(reinterpret_cast<char*>(lParam), part.text.c_str(), part.text.size() + 1);
        }
        return MAKELPARAM(static_cast<unsigned>(part.text.size()), static_cast<unsigned>(part.flags));
      }
      case WM_SIZE:
        autoSize();
        return 0;
      default:
        return ChildWindow::send(message, wParam, lParam);
    }
  }

  void autoSize() {
    if (!m_bar) return;
    const QWidget* host = m_bar->parentWidget();
    const int width = host ? host->width() : m_bar->width();
    const int height = host ? host->height() : kStatusBarHeight;
    m_bar->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
  }

  // The part's whole rectangle, its border included.
  QRect partRect(size_t index) const {
    const int left = index == 0 ? 0 : edge(index - 1);
    const int right = std::max(left, edge(index));
    return QRect(left, 2, right - left, kStatusBarHeight - 2);
  }

  void paint(QPainter& painter) {
    if (!m_bar) return;
    std::unique_ptr<Bitmap> picture;
    MemDC dc;
    for (size_t i = 0; i < m_parts.size(); ++i) {
      const Part& part = m_parts[i];
      const QRect outer = partRect(i);
      if (outer.width() <= 0) continue;
      const bool bordered = !(part.flags & SBT_NOBORDERS);
      const QRect inner = bordered ? outer.adjusted(1, 1, -1, -1) : outer;
      if (bordered) {
        painter.setPen(Colour(GetSysColor(COLOR_BTNSHADOW)));
        painter.drawLine(outer.topLeft(), outer.topRight() - QPoint(1, 0));
        painter.drawLine(outer.topLeft(), outer.bottomLeft());
        painter.setPen(Colour(GetSysColor(COLOR_BTNHIGHLIGHT)));
        painter.drawLine(outer.bottomLeft(), outer.bottomRight());
        painter.drawLine(outer.topRight(), outer.bottomRight());
      }
      if (part.flags & SBT_OWNERDRAW) {
        if (!picture) picture = Picture(dc);
        if (!picture) continue;
        DRAWITEMSTRUCT item;
        item.CtlID = static_cast<UINT>(id());
        item.itemID = static_cast<UINT>(i);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = handle();
        item.hDC = &dc;
        item.rcItem = RECT{inner.left(), inner.top(), inner.left() + inner.width(), inner.top() + inner.height()};
        item.itemData = part.data;
        SendMessage(m_notify, WM_DRAWITEM, static_cast<WPARAM>(id()), reinterpret_cast<LPARAM>(&item));
        const QImage shown(picture->Bits(), picture->Width(), picture->Height(), picture->Pitch(), QImage::Format_RGB32);
        painter.drawImage(inner.topLeft(), shown, inner);
        continue;
      }
      painter.setPen(m_bar->palette().color(QPalette::WindowText));
      painter.drawText(inner.adjusted(2, 0, -1, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                       SjisToQString(part.text));
    }
  }

  void mouse(UINT code, QPoint at) {
    int part = -1;
    for (size_t i = 0; i < m_parts.size(); ++i)
      if (partRect(i).contains(at)) {
        part = static_cast<int>(i);
        break;
      }
    const HWND self = handle();
    // Sent once the toolkit is done with the click: the parent may open a menu of its own.
    QMetaObject::invokeMethod(
        m_bar,
        [self, code, part, at] {
          auto* bar = dynamic_cast<StatusBarControl*>(ChildFromHandle(self));
          if (!bar) return;
          NMMOUSE notice;
          notice.hdr = NMHDR{self, static_cast<uintptr_t>(bar->id()), code};
          notice.dwItemSpec = static_cast<uintptr_t>(static_cast<intptr_t>(part));
          notice.pt = POINT{at.x(), at.y()};
          SendMessage(bar->m_notify, WM_NOTIFY, static_cast<WPARAM>(bar->id()), reinterpret_cast<LPARAM>(&notice));
        },
        Qt::QueuedConnection);
  }

 private:
  int edge(size_t index) const {
    const int right = m_parts[index].right;
    const int width = m_bar ? m_bar->width() : 0;
    return right < 0 ? width : right;
  }

  void update() {
    if (m_bar) m_bar->update();
  }

  // A picture of the bar in the button face colour, selected into the context.
  std::unique_ptr<Bitmap> Picture(MemDC& dc) const {
    auto picture = CreateDIBSection32(std::max(m_bar->width(), 1), kStatusBarHeight);
    if (!picture) return nullptr;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t pixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (int y = 0; y < picture->Height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(picture->Row(y));
      std::fill(row, row + picture->Width(), pixel);
    }
    dc.SelectBitmap(picture.get());
    // The bar's own font, as a control's context comes with it.
    if (!m_font) {
      LOGFONT lf;
      lf.lfHeight = -12;
      lf.lfWeight = 400;
      lf.lfCharSet = 128;  // SHIFTJIS_CHARSET
      const std::string_view face = "ＭＳ Ｐゴシック"_sj;
      face.copy(lf.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
      m_font = CreateFontIndirect(&lf);
    }
    if (m_font) SelectFont(&dc, &*m_font);
    return picture;
  }

  QPointer<StatusBarWidget> m_bar;
  HWND m_notify;
  std::vector<Part> m_parts;
  mutable std::optional<Font> m_font;
};

void StatusBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (control) control->paint(painter);
}

void StatusBarWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (control && event->button() == Qt::LeftButton) control->mouse(NM_DBLCLK, event->position().toPoint());
}

void StatusBarWidget::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (control && event->button() == Qt::RightButton) control->mouse(NM_RCLICK, event->position().toPoint());
}

}  // namespace

HWND CreateStatusBarControl(DWORD style, HWND parent, int id) {
  Window* host = WindowFromHandle(parent);
  if (!host) return nullptr;
  auto* bar = new StatusBarWidget(host->canvas());
  auto control = std::make_unique<StatusBarControl>(*host, bar, id, parent);
  StatusBarControl* raw = control.get();
  bar->control = raw;
  if (style & SBARS_SIZEGRIP) bar->grip = new QSizeGrip(bar);
  const HWND hwnd = AddChildWindow(std::move(control));
  raw->autoSize();
  bar->setVisible((style & WS_VISIBLE) != 0);
  bar->raise();
  return hwnd;
}

HWND CreateStatusWindow(LONG style, const char* text, HWND parent, UINT id) {
  const HWND hwnd = CreateStatusBarControl(static_cast<DWORD>(style), parent, static_cast<int>(id));
  if (hwnd && text) SendMessage(hwnd, SB_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return hwnd;
}

}  // namespace platform
