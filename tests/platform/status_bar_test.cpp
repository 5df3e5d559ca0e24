// Status bar controls: parts and their texts, the part the parent draws itself, the clicks the
// parent hears, the size grip and the progress bar on the bar.
#include "platform/status_bar.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSizeGrip>
#include <string>
#include <vector>

#include "frame_window.h"
#include "platform/dc_draw.h"
#include "platform/dialog.h"
#include "platform/sjis_literal.h"
#include "platform/sys_color.h"
#include "platform/window_qt.h"

namespace {

using namespace platform;
using platform_test::ClickWidget;
using platform_test::Frame;
using platform_test::FrameFixture;
using platform_test::FrameSeen;
using platform_test::FrameSeenOf;
using platform_test::PumpFrame;

constexpr int kBarId = 123;
// Seven parts as an edit window lays them out: the message part takes the rest.
constexpr int kEdges[] = {150, 250, 290, 330, 380, 410, -1};

class StatusBarTest : public testing::Test {
 protected:
  void SetUp() override {
    bar = CreateStatusWindow(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "", windows.frame, kBarId);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(SendMessage(bar, SB_SETPARTS, 7, reinterpret_cast<LPARAM>(kEdges)));
    widget = ChildFromHandle(bar)->widget();
  }
  RECT PartRect(int part) {
    RECT r{};
    EXPECT_TRUE(SendMessage(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  QPoint Inside(int part) {
    const RECT r = PartRect(part);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  FrameFixture windows;
  HWND bar = nullptr;
  QWidget* widget = nullptr;
};

TEST_F(StatusBarTest, TheBarLiesAlongTheBottomAndItsPartsEndWhereTheProgramSays) {
  RECT client{};
  GetClientRect(windows.frame, &client);
  EXPECT_EQ(widget->geometry(), QRect(0, client.bottom - kStatusBarHeight, client.right, kStatusBarHeight));
  ASSERT_EQ(client.right, 400);

  struct Case {
    const char* name;
    int part;
    int left, right;
  };
  const Case cases[] = {
      {"first part from the left end", 0, 0, 150},
      {"a middle part from its neighbour's edge", 3, 290, 330},
      {"a part past the bar's end is empty", 6, 410, 410},
  };
  for (const Case& c : cases) {
    const RECT r = PartRect(c.part);
    EXPECT_EQ(r.left, c.left) << c.name;
    EXPECT_EQ(r.right, c.right) << c.name;
  }
  MoveWindow(windows.frame, 40, 40, 500, 150, 1);
  SendMessage(bar, WM_SIZE, 0, 0);
  EXPECT_EQ(widget->geometry(), QRect(0, 150 - kStatusBarHeight, 500, kStatusBarHeight));
  EXPECT_EQ(PartRect(6).right, 500);  // the last part reaches the bar's end
  int edges[8] = {};
  EXPECT_EQ(SendMessage(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 7);
  EXPECT_EQ(edges[1], 250);
  EXPECT_EQ(edges[6], -1);
  EXPECT_FALSE(SendMessage(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(kEdges)));
  EXPECT_FALSE(SendMessage(bar, SB_SETPARTS, 257, reinterpret_cast<LPARAM>(kEdges)));
}

TEST_F(StatusBarTest, TextsStayWithTheirPartsAndTellTheirFlags) {
  struct Case {
    const char* name;
    WPARAM part;
    std::string text;
    WPARAM flags;
  };
  const Case cases[] = {
      {"message without a border", 0, "", SBT_NOBORDERS},
      {"caret place", 1, "   12 行   34 列"_sj, 0},
      {"line end", 2, "CRLF", 0},
      {"mode", 6, "挿入"_sj, 0},
  };
  for (const Case& c : cases)
    ASSERT_TRUE(SendMessage(bar, SB_SETTEXT, c.part | c.flags, reinterpret_cast<LPARAM>(c.text.c_str()))) << c.name;
  // A new layout of the parts keeps the texts.
  SendMessage(bar, SB_SETPARTS, 7, reinterpret_cast<LPARAM>(kEdges));
  for (const Case& c : cases) {
    const LRESULT length = SendMessage(bar, SB_GETTEXTLENGTH, c.part, 0);
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(length)), c.text.size()) << c.name;
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(length)), c.flags) << c.name;
    std::string got(c.text.size() + 1, 'x');
    SendMessage(bar, SB_GETTEXT, c.part, reinterpret_cast<LPARAM>(got.data()));
    EXPECT_EQ(std::string(got.c_str()), c.text) << c.name;
  }
  EXPECT_FALSE(SendMessage(bar, SB_SETTEXT, 7, reinterpret_cast<LPARAM>("x")));
}

// The recording mark is drawn by the parent: it gets the part's rectangle inside its border and a
// context over the bar's picture, and what it draws there is what the part shows.
TEST_F(StatusBarTest, AnOwnerDrawnPartShowsWhatTheParentDrewThere) {
  ASSERT_TRUE(SendMessage(bar, SB_SETTEXT, 5 | SBT_OWNERDRAW, 0x5EC));
  EXPECT_EQ(SendMessage(bar, SB_GETTEXT, 5, 0), 0x5EC);
  bool hadFont = false;
  Frame().draw = [&hadFont](const DRAWITEMSTRUCT& item) {
    hadFont = item.hDC->TextState().font != nullptr;  // "REC" is written in the bar's font
    // A red block at the part's left edge, as wide as "REC" might be.
    for (int y = item.rcItem.top + 2; y < item.rcItem.bottom - 2; ++y)
      for (int x = item.rcItem.left; x < item.rcItem.left + 10; ++x) SetPixel(item.hDC, x, y, RGB(255, 0, 0));
  };
  const QImage shot = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const std::vector<FrameSeen> draws = FrameSeenOf(WM_DRAWITEM);
  ASSERT_GE(draws.size(), 1u);
  EXPECT_TRUE(hadFont);
  EXPECT_EQ(draws[0].ctlId, static_cast<UINT>(kBarId));
  EXPECT_EQ(draws[0].wParam, static_cast<WPARAM>(kBarId));
  EXPECT_EQ(draws[0].item, 5);
  EXPECT_EQ(draws[0].itemData, 0x5ECu);
  const RECT outer = PartRect(5);
  const RECT inner = draws[0].rect;
  EXPECT_EQ(inner.left, outer.left + 1);
  EXPECT_EQ(inner.right, outer.right - 1);
  const int mid = (inner.top + inner.bottom) / 2;
  EXPECT_EQ(shot.pixel(inner.left + 3, mid), qRgb(255, 0, 0));
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(shot.pixel(inner.left + 15, mid), qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
  // Other parts are not drawn by the parent.
  for (const FrameSeen& s : draws) EXPECT_EQ(s.item, 5);
}

TEST_F(StatusBarTest, DoubleAndRightClicksNameThePartUnderTheMouse) {
  struct Case {
    const char* name;
    int part;  // where the click lands; -1 past the last edge
    bool right;
    UINT code;
  };
  const int finite[] = {150, 250, 290, 330, 380, 410, 460};
  const Case cases[] = {
      {"double click on the mode", 6, false, NM_DBLCLK},
      {"double click on the recording mark", 5, false, NM_DBLCLK},
      {"right click on the line end", 2, true, NM_RCLICK},
      {"past every part", -1, true, NM_RCLICK},
  };
  SendMessage(bar, SB_SETPARTS, 7, reinterpret_cast<LPARAM>(finite));
  for (const Case& c : cases) {
    Frame().seen.clear();
    const QPoint at = c.part >= 0 ? Inside(c.part) : QPoint(470, kStatusBarHeight / 2);
    if (c.right) {
      ClickWidget(widget, at, Qt::RightButton);
    } else {
      QMouseEvent twice(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &twice);
    }
    EXPECT_TRUE(FrameSeenOf(WM_NOTIFY).empty()) << c.name;  // after the toolkit's event
    PumpFrame();
    const std::vector<FrameSeen> notes = FrameSeenOf(WM_NOTIFY);
    ASSERT_EQ(notes.size(), 1u) << c.name;
    EXPECT_EQ(notes[0].code, c.code) << c.name;
    EXPECT_EQ(notes[0].item, c.part) << c.name;
    EXPECT_EQ(notes[0].idFrom, static_cast<uintptr_t>(kBarId)) << c.name;
    EXPECT_EQ(notes[0].wParam, static_cast<WPARAM>(kBarId)) << c.name;
    EXPECT_EQ(notes[0].from, bar) << c.name;
    EXPECT_EQ(notes[0].pt.x, at.x()) << c.name;
  }
  // A left click alone tells nothing, and is the bar's: the frame under it hears no click.
  Frame().seen.clear();
  ClickWidget(widget, Inside(1));
  PumpFrame();
  EXPECT_TRUE(FrameSeenOf(WM_NOTIFY).empty());
  EXPECT_TRUE(FrameSeenOf(WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(FrameSeenOf(WM_LBUTTONUP).empty());
}

TEST_F(StatusBarTest, TheGripIsTheBarsOnlyWhenAskedFor) {
  auto* grip = widget->findChild<QSizeGrip*>();
  ASSERT_NE(grip, nullptr);
  EXPECT_EQ(grip->geometry().right(), widget->width() - 1);
  // The room the edit window's layout leaves for it.
  EXPECT_EQ(grip->width(), GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(grip->geometry().bottom(), widget->height() - 1);
  HWND plain = CreateStatusWindow(WS_CHILD | WS_VISIBLE, nullptr, windows.frame, 124);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(ChildFromHandle(plain)->widget()->findChild<QSizeGrip*>(), nullptr);
  // Only a window can carry a bar.
  EXPECT_EQ(CreateStatusWindow(WS_CHILD, nullptr, bar, 125), nullptr);
}

TEST_F(StatusBarTest, TheProgressBarLiesOnTheBarAndTakesPostedProgress) {
  HWND progress = CreateWindowEx(WS_EX_TOOLWINDOW, "msctls_progress32", nullptr, WS_CHILD, 3, 5, 150, 13, bar, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(progress, nullptr);
  auto* shown = qobject_cast<QProgressBar*>(ChildFromHandle(progress)->widget());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->parentWidget(), widget);
  EXPECT_EQ(shown->geometry(), QRect(3, 5, 150, 13));
  EXPECT_FALSE(IsWindowVisible(progress));
  PostMessage(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  PostMessage(progress, PBM_SETPOS, 40, 0);
  PumpFrame();
  EXPECT_EQ(SendMessage(progress, PBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(shown->value(), 40);
  EXPECT_EQ(SendMessage(progress, PBM_SETPOS, 250, 0), 40);
  EXPECT_EQ(shown->value(), 100);  // kept within the range
  ShowWindow(progress, SW_SHOW);
  EXPECT_TRUE(shown->isVisibleTo(widget));
}

}  // namespace
