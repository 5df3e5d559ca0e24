// Scroll-bar controls: their range, page and position, and the SB_ codes their parent hears when
// the user works the QScrollBar.
#include "platform/scroll_bar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <functional>
#include <vector>

#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

SCROLLINFO Info(UINT mask, int min, int max, UINT page, int pos) {
  SCROLLINFO info;
  info.fMask = mask;
  info.nMin = min;
  info.nMax = max;
  info.nPage = page;
  info.nPos = pos;
  return info;
}

class ScrollBarTest : public testing::Test {
 protected:
  void SetUp() override {
    // The bar lies in a child window, as a pane's does.
    bar = CreateWindowEx(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 180, 0, 16, 120, windows.child,
                         reinterpret_cast<HMENU>(intptr_t{3}), nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    widget = static_cast<QScrollBar*>(ChildFromHandle(bar)->widget());
  }
  std::vector<Seen> Scrolls() const {
    return platform_test::SeenBy(windows.child, [](UINT m) { return m == WM_VSCROLL || m == WM_HSCROLL; });
  }
  ChildWindowFixture windows;
  HWND bar = nullptr;
  QScrollBar* widget = nullptr;
};

TEST_F(ScrollBarTest, PositionStaysWithinRangeAndPage) {
  struct Case {
    const char* name;
    SCROLLINFO set;
    int min, max;
    UINT page;
    int pos;
    int widgetMax;  // the last position the QScrollBar offers
  };
  const Case cases[] = {
      {"within", Info(SIF_ALL, 0, 99, 10, 50), 0, 99, 10, 50, 90},
      {"past the last page", Info(SIF_ALL, 0, 99, 10, 95), 0, 99, 10, 90, 90},
      {"before the start", Info(SIF_ALL, 5, 99, 10, -3), 5, 99, 10, 5, 90},
      {"page larger than the range", Info(SIF_ALL, 0, 49, 200, 20), 0, 49, 50, 0, 0},
      {"no page", Info(SIF_ALL, 0, 65535, 0, 65535), 0, 65535, 0, 65535, 65535},
      {"position alone keeps the range", Info(SIF_POS, 0, 0, 0, 1000), 0, 99, 10, 90, 90},
      {"range alone clamps the position", Info(SIF_RANGE, 0, 30, 0, 0), 0, 30, 10, 21, 21},
  };
  for (const Case& c : cases) {
    SCROLLINFO start = Info(SIF_ALL, 0, 99, 10, 40);
    SetScrollInfo(bar, SB_CTL, &start, 1);
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &c.set, 1), c.pos) << c.name;
    SCROLLINFO got;
    got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &got)) << c.name;
    EXPECT_EQ(got.nMin, c.min) << c.name;
    EXPECT_EQ(got.nMax, c.max) << c.name;
    EXPECT_EQ(got.nPage, c.page) << c.name;
    EXPECT_EQ(got.nPos, c.pos) << c.name;
    EXPECT_EQ(got.nTrackPos, c.pos) << c.name;
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), c.pos) << c.name;
    EXPECT_EQ(widget->value(), c.pos) << c.name;
    EXPECT_EQ(widget->maximum(), c.widgetMax) << c.name;
  }
}

TEST_F(ScrollBarTest, OnlyScrollBarControlsAnswer) {
  SCROLLINFO info = Info(SIF_ALL, 0, 10, 1, 5);
  EXPECT_EQ(SetScrollInfo(windows.child, SB_CTL, &info, 1), 0);
  EXPECT_EQ(SetScrollInfo(bar, SB_VERT, &info, 1), 0);
  EXPECT_FALSE(GetScrollInfo(windows.child, SB_CTL, &info));
  EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, nullptr));
}

TEST_F(ScrollBarTest, KeysAndClicksAreToldToTheParentWhichMovesTheBar) {
  struct Case {
    const char* name;
    int qtKey;
    WORD code;
  };
  const Case cases[] = {
      {"line down", Qt::Key_Down, SB_LINEDOWN}, {"line up", Qt::Key_Up, SB_LINEUP},
      {"page down", Qt::Key_PageDown, SB_PAGEDOWN}, {"page up", Qt::Key_PageUp, SB_PAGEUP},
      {"to the top", Qt::Key_Home, SB_TOP}, {"to the bottom", Qt::Key_End, SB_BOTTOM},
  };
  for (const Case& c : cases) {
    SCROLLINFO start = Info(SIF_ALL, 0, 99, 10, 40);
    SetScrollInfo(bar, SB_CTL, &start, 1);
    platform_test::SeenMessages().clear();
    QKeyEvent press(QEvent::KeyPress, c.qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    PumpTranslated();
    const std::vector<Seen> seen = Scrolls();
    ASSERT_EQ(seen.size(), 2u) << c.name;
    EXPECT_EQ(seen[0].message, WM_VSCROLL) << c.name;
    EXPECT_EQ(LOWORD(seen[0].wParam), c.code) << c.name;
    EXPECT_EQ(seen[0].lParam, reinterpret_cast<LPARAM>(bar)) << c.name;
    EXPECT_EQ(LOWORD(seen[1].wParam), SB_ENDSCROLL) << c.name;
    // Nobody moved it: it stays.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << c.name;
    EXPECT_EQ(widget->value(), 40) << c.name;
    EXPECT_EQ(widget->sliderPosition(), 40) << c.name;
  }
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsItsPlace) {
  SCROLLINFO start = Info(SIF_ALL, 0, 99, 10, 0);
  SetScrollInfo(bar, SB_CTL, &start, 1);
  platform_test::SeenMessages().clear();
  QStyleOptionSlider option;
  option.initFrom(widget);
  option.orientation = Qt::Vertical;
  option.minimum = widget->minimum();
  option.maximum = widget->maximum();
  option.sliderPosition = widget->sliderPosition();
  option.sliderValue = widget->value();
  option.singleStep = widget->singleStep();
  option.pageStep = widget->pageStep();
  option.subControls = QStyle::SC_All;
  const QRect thumb = widget->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, widget);
  ASSERT_FALSE(thumb.isEmpty());
  const QPointF from = thumb.center();
  const QPointF to = from + QPointF(0, 40);
  auto mouse = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  };
  mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
  mouse(QEvent::MouseMove, to, Qt::LeftButton);
  SCROLLINFO track;
  track.fMask = SIF_TRACKPOS | SIF_POS;
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &track));
  EXPECT_GT(track.nTrackPos, 0);
  EXPECT_EQ(track.nPos, 0);
  mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
  PumpTranslated();
  const std::vector<Seen> seen = Scrolls();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(LOWORD(seen[0].wParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(seen[0].wParam), track.nTrackPos);
  EXPECT_EQ(LOWORD(seen[1].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(seen[1].wParam), track.nTrackPos);
  EXPECT_EQ(LOWORD(seen[2].wParam), SB_ENDSCROLL);
  // The parent did not take the place: the thumb goes back.
  EXPECT_EQ(widget->sliderPosition(), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

}  // namespace
