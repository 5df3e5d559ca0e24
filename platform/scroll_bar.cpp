// A scroll-bar control is a QScrollBar whose value always shows the position the program set: the
// toolkit's own moves are taken back and told to the parent instead, as the program expects to
// move the bar itself.
#include "platform/scroll_bar.h"

#include <QScrollBar>
#include <algorithm>
#include <memory>

#include "platform/window_qt.h"

namespace platform {
namespace {

class ScrollBarControl final : public ChildWindow {
 public:
  ScrollBarControl(Window& parent, QScrollBar* bar, int id, bool vertical)
      : ChildWindow(parent, bar, id), m_bar(bar), m_vertical(vertical) {
    m_bar->setTracking(false);
    QObject::connect(m_bar, &QAbstractSlider::actionTriggered, m_bar, [this](int action) { act(action); });
    QObject::connect(m_bar, &QAbstractSlider::sliderMoved, m_bar, [this](int place) { track(place); });
    QObject::connect(m_bar, &QAbstractSlider::sliderReleased, m_bar, [this] { released(); });
    show();
  }

  void set(const SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
      m_min = info.nMin;
      m_max = std::max(info.nMax, info.nMin);
    }
    if (info.fMask & SIF_PAGE) m_page = info.nPage;
    if (info.fMask & SIF_POS) m_pos = info.nPos;
    const long long size = static_cast<long long>(m_max) - m_min + 1;
    m_page = static_cast<UINT>(std::min<long long>(m_page, size));
    m_pos = std::clamp(m_pos, m_min, lastPos());
    show();
  }

  void get(SCROLLINFO* info) const {
    if (info->fMask & SIF_RANGE) {
      info->nMin = m_min;
      info->nMax = m_max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = m_page;
    if (info->fMask & SIF_POS) info->nPos = m_pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = m_dragging ? m_bar->sliderPosition() : m_pos;
  }

  int pos() const { return m_pos; }

 private:
  int lastPos() const {
    return static_cast<int>(std::max<long long>(m_min, static_cast<long long>(m_max) - std::max<long long>(m_page, 1) + 1));
  }

  // The bar as the program set it.
  void show() {
    const QSignalBlocker quiet(m_bar);
    m_bar->setRange(m_min, lastPos());
    m_bar->setPageStep(static_cast<int>(std::min<UINT>(m_page, 0x7FFFFFFF)));
    m_bar->setSingleStep(1);
    m_bar->setValue(m_pos);
    m_bar->setSliderPosition(m_pos);
  }

  void notify(WORD code, int place) {
    const WPARAM wParam = MAKEWPARAM(code, static_cast<WORD>(place));
    parent().send(m_vertical ? WM_VSCROLL : WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(handle()));
  }

  void act(int action) {
    WORD code = SB_ENDSCROLL;
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
      case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
      case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
      case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
      case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
      case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
      default: return;
    }
    // The toolkit has moved the slider already: it goes back, for the parent to move.
    m_bar->setSliderPosition(m_pos);
    notify(code, 0);
    notify(SB_ENDSCROLL, 0);
    show();
  }

  void track(int place) {
    m_dragging = true;
    notify(SB_THUMBTRACK, place);
  }

  void released() {
    if (!m_dragging) return;
    const int place = m_bar->sliderPosition();
    notify(SB_THUMBPOSITION, place);
    m_dragging = false;
    notify(SB_ENDSCROLL, 0);
    show();
  }

  QScrollBar* m_bar;
  bool m_vertical;
  int m_min = 0;
  int m_max = 100;
  UINT m_page = 0;
  int m_pos = 0;
  bool m_dragging = false;
};

ScrollBarControl* ControlOf(HWND hwnd, int bar) {
  if (bar != SB_CTL) return nullptr;
  return dynamic_cast<ScrollBarControl*>(ChildFromHandle(hwnd));
}

}  // namespace

HWND CreateScrollBarControl(Window& parent, DWORD style, QRect rect, int id) {
  const bool vertical = (style & SBS_VERT) != 0;
  auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent.canvas());
  bar->setGeometry(rect);
  bar->setVisible((style & WS_VISIBLE) != 0);
  bar->setFocusPolicy(Qt::NoFocus);
  return AddChildWindow(std::make_unique<ScrollBarControl>(parent, bar, id, vertical));
}

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL) {
  ScrollBarControl* control = ControlOf(hwnd, bar);
  if (!control || !info) return 0;
  control->set(*info);
  return control->pos();
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  ScrollBarControl* control = ControlOf(hwnd, bar);
  if (!control || !info) return 0;
  control->get(info);
  return 1;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  ScrollBarControl* control = ControlOf(hwnd, bar);
  if (!control) return 0;
  const int before = control->pos();
  SCROLLINFO info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return before;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollBarControl* control = ControlOf(hwnd, bar);
  return control ? control->pos() : 0;
}

}  // namespace platform
