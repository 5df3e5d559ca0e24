// The splitter's decisions: which layout a split position gives, where the panes go, what the
// toggles and the pane stepping do, the messages it takes and how its bars are dragged. Pane
// windows are stand-ins here (splitter_fixture.h); the copies of pane states are in
// splitter_state_test.cpp.
#include <gtest/gtest.h>

#include "editor/foundation/message_box_capture.h"
#include "platform/cursor.h"
#include "platform/invert_overlay.h"
#include "platform/mem_dc.h"
#include "platform/simulated_input.h"
#include "platform/sys_color.h"
#include "platform/window_grab.h"
#include "splitter_fixture.h"

namespace splitter_test {
namespace {

using platform::MouseButton;

struct Place {
  int x, y, width, height;
  bool operator==(const Place&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Place& p) {
  return out << "(" << p.x << ", " << p.y << ", " << p.width << ", " << p.height << ")";
}

class SplitterTest : public SplitterFixture {
 protected:
  Place PlaceOfPane(int i) const {
    const RECT r = PlaceOf(PaneWindow(i));
    return Place{r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  COLORREF ShownAt(int x, int y) {
    std::unique_ptr<platform::Bitmap> shown = platform::GrabClientArea(splitter.GetHwnd());
    if (!shown || x < 0 || y < 0 || x >= shown->Width() || y >= shown->Height()) return 0xFFFFFFFF;
    const uint8_t* px = shown->Row(y) + x * 4;
    return RGB(px[2], px[1], px[0]);
  }
  void Click(int x, int y) {
    platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, true, x, y);
    Pump();
  }
};

// ---- SplitAt: positions and layouts -------------------------------------------------------------

struct SplitCase {
  const char* name;
  int x, y;                // requested from one pane
  int rows, cols;          // layout after
  int splitX, splitY;      // positions kept
  std::vector<int> shown;  // panes shown
};

class SplitAtTable : public SplitterTest, public testing::WithParamInterface<SplitCase> {};

TEST_P(SplitAtTable, GivesTheLayoutAndShowsItsPanes) {
  const SplitCase& c = GetParam();
  SplitAndSettle(c.x, c.y);
  EXPECT_EQ(splitter.Rows(), c.rows);
  EXPECT_EQ(splitter.Columns(), c.cols);
  EXPECT_EQ(splitter.m_nHSplitPos, c.splitX);
  EXPECT_EQ(splitter.m_nVSplitPos, c.splitY);
  EXPECT_EQ(Shown(), c.shown);
  EXPECT_EQ(splitter.GetLayoutKind(), (c.rows - 1) * 2 + (c.cols - 1));
}

// The splitter is 640 x 480: a split must keep 32 pixels before it and 64 after it.
INSTANTIATE_TEST_SUITE_P(Edges, SplitAtTable,
                         testing::Values(SplitCase{"none", 0, 0, 1, 1, 0, 0, {0}},
                                         SplitCase{"x31_closes", 31, 0, 1, 1, 0, 0, {0}},
                                         SplitCase{"x32_splits", 32, 0, 1, 2, 32, 0, {0, 1}},
                                         SplitCase{"x576_last_room", 576, 0, 1, 2, 576, 0, {0, 1}},
                                         SplitCase{"x577_too_close_to_the_right", 577, 0, 1, 1, 0, 0, {0}},
                                         SplitCase{"y31_closes", 0, 31, 1, 1, 0, 0, {0}},
                                         SplitCase{"y32_splits", 0, 32, 2, 1, 0, 32, {0, 2}},
                                         SplitCase{"y416_last_room", 0, 416, 2, 1, 0, 416, {0, 2}},
                                         SplitCase{"y417_too_close_to_the_bottom", 0, 417, 1, 1, 0, 0, {0}},
                                         SplitCase{"negative", -20, -7, 1, 1, 0, 0, {0}},
                                         SplitCase{"both", 320, 240, 2, 2, 320, 240, {0, 1, 2, 3}},
                                         SplitCase{"x_closes_y_stays", 10, 240, 2, 1, 0, 240, {0, 2}}),
                         [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterTest, ASecondSplitterOfTheProcessFindsItsClassWithoutComplaint) {
  MessageBoxCapture boxes;
  CSplitterWnd second;
  ASSERT_NE(second.Create(nullptr, frame, nullptr), nullptr);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_STREQ(second.GetClassInheritances(), "CWnd::CSplitterWnd");
  EXPECT_EQ(platform::GetParent(second.GetHwnd()), frame);
}

TEST_F(SplitterTest, MinusOneTwiceReappliesTheCurrentPosition) {
  SplitAndSettle(100, 200);
  SplitAndSettle(-1, -1);
  EXPECT_EQ(splitter.m_nHSplitPos, 100);
  EXPECT_EQ(splitter.m_nVSplitPos, 200);
  EXPECT_EQ(splitter.GetLayoutKind(), 3);
  // Only both at once mean "as it is": -1 alone is a position before the edge.
  SplitAndSettle(-1, 200);
  EXPECT_EQ(splitter.m_nHSplitPos, 0);
  EXPECT_EQ(splitter.GetLayoutKind(), 2);
}

TEST_F(SplitterTest, ASplitterLowerThan96PixelsNeverSplitsIntoRows) {
  splitter.Move(0, 0, kWidth, 95);
  for (int y : {32, 47, 63, 94}) {
    SplitAndSettle(0, y);
    EXPECT_EQ(splitter.Rows(), 1) << y;
  }
  splitter.ToggleSplitV();
  Pump();
  EXPECT_EQ(splitter.Rows(), 1);
  // At 96 pixels the first allowed position fits.
  splitter.Move(0, 0, kWidth, 96);
  SplitAndSettle(0, 32);
  EXPECT_EQ(splitter.Rows(), 2);
}

// ---- Where the panes go ---------------------------------------------------------------------------

struct LayoutCase {
  const char* name;
  int x, y;
  std::array<Place, 4> places;  // of the shown panes; the others are not looked at
};

class LayoutTable : public SplitterTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTable, PlacesThePanesAroundThreePixelBars) {
  const LayoutCase& c = GetParam();
  SplitAndSettle(c.x, c.y);
  for (int i : Shown()) EXPECT_EQ(PlaceOfPane(i), c.places[static_cast<size_t>(i)]) << "pane " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutTable,
    testing::Values(LayoutCase{"one", 0, 0, {Place{0, 0, 640, 480}}},
                    LayoutCase{"upper_lower", 0, 200, {Place{0, 0, 640, 200}, {}, Place{0, 203, 640, 277}, {}}},
                    LayoutCase{"left_right", 300, 0, {Place{0, 0, 300, 480}, Place{303, 0, 337, 480}, {}, {}}},
                    LayoutCase{"four",
                               300,
                               200,
                               {Place{0, 0, 300, 200}, Place{303, 0, 337, 200}, Place{0, 203, 300, 277},
                                Place{303, 203, 337, 277}}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterTest, ResizingTheSplitterLaysThePanesOutAgain) {
  SplitAndSettle(300, 200);
  splitter.Move(0, 0, 500, 400);
  Pump();
  EXPECT_EQ(PlaceOfPane(3), (Place{303, 203, 197, 197}));
  EXPECT_EQ(PlaceOfPane(1), (Place{303, 0, 197, 200}));
}

TEST_F(SplitterTest, TheBarsShowInTheButtonFaceColour) {
  SplitAndSettle(300, 200);
  const COLORREF face = platform::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ShownAt(100, 201), face);
  EXPECT_EQ(ShownAt(301, 100), face);
  EXPECT_EQ(ShownAt(500, 202), face);
  // The stand-in panes are white where they lie.
  EXPECT_EQ(ShownAt(100, 199), RGB(255, 255, 255));
  EXPECT_EQ(ShownAt(303, 100), RGB(255, 255, 255));
}

// ---- Toggles and stepping -------------------------------------------------------------------------

struct ToggleCase {
  const char* name;
  int fromX, fromY;  // the layout before
  int command;       // 0 SplitWinV, 1 SplitWinH, 2 SplitWinVH
  int x, y;          // the split after
};

class ToggleTable : public SplitterTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleTable, SplitsAtTheHalvesOrRemovesTheSplit) {
  const ToggleCase& c = GetParam();
  SplitAndSettle(c.fromX, c.fromY);
  switch (c.command) {
    case 0:
      splitter.ToggleSplitV();
      break;
    case 1:
      splitter.ToggleSplitH();
      break;
    default:
      splitter.ToggleSplitVH();
      break;
  }
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, c.x);
  EXPECT_EQ(splitter.m_nVSplitPos, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ToggleTable,
    testing::Values(ToggleCase{"one_V", 0, 0, 0, 0, 240}, ToggleCase{"one_H", 0, 0, 1, 320, 0},
                    ToggleCase{"one_VH", 0, 0, 2, 320, 240}, ToggleCase{"left_right_V", 100, 0, 0, 100, 240},
                    ToggleCase{"left_right_H", 100, 0, 1, 0, 0}, ToggleCase{"left_right_VH", 100, 0, 2, 100, 240},
                    ToggleCase{"upper_lower_V", 0, 100, 0, 0, 0}, ToggleCase{"upper_lower_H", 0, 100, 1, 320, 100},
                    ToggleCase{"upper_lower_VH", 0, 100, 2, 320, 100}, ToggleCase{"four_V", 100, 100, 0, 100, 0},
                    ToggleCase{"four_H", 100, 100, 1, 0, 100}, ToggleCase{"four_VH", 100, 100, 2, 0, 0}),
    [](const testing::TestParamInfo<ToggleCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterTest, HalvesDropTheFraction) {
  splitter.Move(0, 0, 641, 481);
  splitter.ToggleSplitVH();
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, 320);
  EXPECT_EQ(splitter.m_nVSplitPos, 240);
}

struct StepCase {
  const char* name;
  int x, y;
  std::array<int, 4> prev;  // by active pane
  std::array<int, 4> next;
};

class StepTable : public SplitterTest, public testing::WithParamInterface<StepCase> {};

TEST_P(StepTable, StepsWithoutWrappingAround) {
  const StepCase& c = GetParam();
  SplitAndSettle(c.x, c.y);
  for (int active = 0; active < 4; ++active) {
    splitter.SetActivePaneIndex(active);
    EXPECT_EQ(splitter.PrevPaneIndex(), c.prev[static_cast<size_t>(active)]) << "active " << active;
    EXPECT_EQ(splitter.NextPaneIndex(), c.next[static_cast<size_t>(active)]) << "active " << active;
    // The document asks the same through its port, by index.
    EXPECT_EQ(splitter.PrevVisiblePane(active), c.prev[static_cast<size_t>(active)]);
    EXPECT_EQ(splitter.NextVisiblePane(active), c.next[static_cast<size_t>(active)]);
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, StepTable,
                         testing::Values(StepCase{"one", 0, 0, {-1, -1, -1, -1}, {-1, -1, -1, -1}},
                                         StepCase{"upper_lower", 0, 200, {-1, -1, 0, -1}, {2, -1, -1, -1}},
                                         StepCase{"left_right", 300, 0, {-1, 0, -1, -1}, {1, -1, -1, -1}},
                                         StepCase{"four", 300, 200, {-1, 0, 1, 2}, {1, 2, 3, -1}}),
                         [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

// ---- Messages ---------------------------------------------------------------------------------------

TEST_F(SplitterTest, ASplitRequestKeepsAnExistingSplit) {
  SplitAndSettle(0, 150);
  platform::PostMessage(splitter.GetHwnd(), MYWM_DOSPLIT, 0, 200);
  Pump();
  EXPECT_EQ(splitter.m_nVSplitPos, 150);
  EXPECT_EQ(splitter.GetLayoutKind(), 2);
  // The direction not yet split takes the request.
  platform::PostMessage(splitter.GetHwnd(), MYWM_DOSPLIT, 300, 0);
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, 300);
  EXPECT_EQ(splitter.m_nVSplitPos, 150);
}

TEST_F(SplitterTest, ASplitRequestFromOnePaneSplitsThere) {
  platform::SendMessage(splitter.GetHwnd(), MYWM_DOSPLIT, 0, 200);
  EXPECT_EQ(splitter.m_nVSplitPos, 200);
  EXPECT_EQ(splitter.m_nHSplitPos, 0);
}

TEST_F(SplitterTest, APaneActivatedIsStoredAndOtherAppMessagesDoNothing) {
  SplitAndSettle(300, 200);
  EXPECT_EQ(platform::SendMessage(splitter.GetHwnd(), MYWM_SETACTIVEPANE, 3, 0), 0);
  EXPECT_EQ(splitter.m_nActivePane, 3);
  // Not a pane: ignored.
  platform::SendMessage(splitter.GetHwnd(), MYWM_SETACTIVEPANE, 9, 0);
  EXPECT_EQ(splitter.m_nActivePane, 3);
  for (UINT message : {0x8000u, 0x85DBu, 0x85DDu, 0x85E5u, 0x85E7u, 0xBFFFu}) {
    EXPECT_EQ(platform::SendMessage(splitter.GetHwnd(), message, 40, 40), 0) << message;
    EXPECT_EQ(splitter.m_nHSplitPos, 300) << message;
    EXPECT_EQ(splitter.m_nVSplitPos, 200) << message;
    EXPECT_EQ(splitter.m_nActivePane, 3) << message;
  }
}

TEST_F(SplitterTest, TheChosenPaneIsAskedToBecomeActive) {
  SplitAndSettle(300, 0);
  splitter.SetActivePaneIndex(1);
  PaneMessages().clear();
  SplitAndSettle(300, 200);
  // Four panes keep the active one; it is posted the activation and answers with its index.
  ASSERT_EQ(PaneMessages().size(), 1u);
  EXPECT_EQ(PaneMessages()[0].pane, 1);
  EXPECT_EQ(PaneMessages()[0].message, MYWM_SETACTIVEPANE);
  EXPECT_EQ(splitter.m_nActivePane, 1);
  PaneMessages().clear();
  SplitAndSettle(0, 0);
  ASSERT_EQ(PaneMessages().size(), 1u);
  EXPECT_EQ(PaneMessages()[0].pane, 0);
  EXPECT_EQ(splitter.m_nActivePane, 0);
}

// ---- Bars under the mouse ---------------------------------------------------------------------------

struct HitCase {
  int px, py;
  int hit;
};

TEST_F(SplitterTest, HitTestTable) {
  SplitAndSettle(300, 200);
  const HitCase cases[] = {
      {298, 100, 0}, {299, 100, 2}, {304, 100, 2}, {305, 100, 0}, {100, 198, 0}, {100, 199, 1},
      {100, 204, 1}, {100, 205, 0}, {300, 200, 3}, {304, 199, 3}, {298, 198, 0},
  };
  for (const HitCase& c : cases) EXPECT_EQ(splitter.HitTestBar(c.px, c.py), c.hit) << c.px << ", " << c.py;
  SplitAndSettle(0, 200);
  EXPECT_EQ(splitter.HitTestBar(0, 200), 1);  // no column bar at x 0 in one column
  SplitAndSettle(0, 0);
  EXPECT_EQ(splitter.HitTestBar(0, 0), 0);
}

TEST_F(SplitterTest, DraggingTheRowBarShowsAnInvertedBarOverThePanesAndMovesTheSplit) {
  SplitAndSettle(0, 200);
  Click(100, 201);
  EXPECT_EQ(splitter.m_bDragging, 1);
  platform::SimulateMouseMove(splitter.GetHwnd(), 100, 300);
  Pump();
  // The bar (-1, 300, W, 306) is drawn inverted over the lower pane, which is white.
  EXPECT_EQ(ShownAt(100, 300), RGB(0, 0, 0));
  EXPECT_EQ(ShownAt(639, 305), RGB(0, 0, 0));
  EXPECT_EQ(ShownAt(100, 306), RGB(255, 255, 255));
  EXPECT_EQ(ShownAt(100, 299), RGB(255, 255, 255));
  // The bar where the press began was taken away when it moved.
  EXPECT_EQ(ShownAt(100, 205), RGB(255, 255, 255));
  platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, false, 100, 300);
  Pump();
  EXPECT_EQ(splitter.m_bDragging, 0);
  EXPECT_EQ(splitter.m_nVSplitPos, 300);
  EXPECT_EQ(ShownAt(100, 301), platform::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ShownAt(100, 305), RGB(255, 255, 255));
  EXPECT_EQ(PlaceOfPane(2), (Place{0, 303, 640, 177}));
}

TEST_F(SplitterTest, ADragIsKeptInsideTheSplitterAndDraggedOffTheEndRemovesTheSplit) {
  SplitAndSettle(300, 200);
  Click(302, 100);
  EXPECT_EQ(splitter.m_bDragging, 2);
  platform::SimulateMouseMove(splitter.GetHwnd(), 5000, 100);
  Pump();
  EXPECT_EQ(splitter.m_nDragPosX, kWidth - 6);
  platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, false, 5000, 100);
  Pump();
  EXPECT_EQ(splitter.Columns(), 1);
  EXPECT_EQ(splitter.m_nVSplitPos, 200);
}

TEST_F(SplitterTest, DraggingTheCrossingMovesBothBars) {
  SplitAndSettle(300, 200);
  Click(301, 201);
  EXPECT_EQ(splitter.m_bDragging, 3);
  platform::SimulateMouseMove(splitter.GetHwnd(), 200, 100);
  Pump();
  // Where the two bars cross they were inverted twice.
  EXPECT_EQ(ShownAt(202, 102), RGB(255, 255, 255));
  EXPECT_EQ(ShownAt(202, 50), RGB(0, 0, 0));
  EXPECT_EQ(ShownAt(50, 102), RGB(0, 0, 0));
  platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, false, 200, 100);
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, 200);
  EXPECT_EQ(splitter.m_nVSplitPos, 100);
}

TEST_F(SplitterTest, APressBesideTheBarsDragsNothing) {
  SplitAndSettle(300, 200);
  Click(100, 100);
  EXPECT_EQ(splitter.m_bDragging, 0);
  platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, false, 100, 100);
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, 300);
  EXPECT_EQ(splitter.m_nVSplitPos, 200);
}

TEST_F(SplitterTest, TheCursorOverABarShowsWhichWaysItMoves) {
  SplitAndSettle(300, 200);
  struct Hover {
    int x, y;
    const char* cursor;  // null: left as it was
  };
  const Hover hovers[] = {{100, 201, IDC_SIZENS}, {301, 100, IDC_SIZEWE}, {302, 202, IDC_SIZEALL}, {100, 100, nullptr}};
  for (const Hover& h : hovers) {
    const HCURSOR before = platform::LoadCursor(nullptr, IDC_WAIT);
    platform::SetCursor(before);
    platform::SimulateMouseMove(splitter.GetHwnd(), h.x, h.y);
    Pump();
    EXPECT_EQ(platform::GetCursor(), h.cursor ? platform::LoadCursor(nullptr, h.cursor) : before) << h.x << ", " << h.y;
  }
  platform::SetCursor(platform::LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(SplitterTest, APressOnTheSplitterGivesItsParentTheFocus) {
  SplitAndSettle(0, 200);
  platform::SetFocus(PaneWindow(2));
  ASSERT_EQ(platform::GetFocus(), PaneWindow(2));
  Click(100, 201);
  EXPECT_EQ(platform::GetFocus(), frame);
  platform::SimulateMouseButton(splitter.GetHwnd(), MouseButton::Left, false, 100, 201);
  Pump();
}

struct DoubleClickCase {
  const char* name;
  int x, y;    // the layout
  int px, py;  // the double click
  int afterX, afterY;
};

class DoubleClickTable : public SplitterTest, public testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickTable, RemovesTheBarUnderTheMouse) {
  const DoubleClickCase& c = GetParam();
  SplitAndSettle(c.x, c.y);
  const HWND hwnd = splitter.GetHwnd();
  platform::SimulateMouseButton(hwnd, MouseButton::Left, true, c.px, c.py);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, c.px, c.py);
  platform::SimulateMouseDoubleClick(hwnd, MouseButton::Left, c.px, c.py);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, c.px, c.py);
  Pump();
  EXPECT_EQ(splitter.m_nHSplitPos, c.afterX);
  EXPECT_EQ(splitter.m_nVSplitPos, c.afterY);
  EXPECT_EQ(splitter.m_bDragging, 0);
}

INSTANTIATE_TEST_SUITE_P(Bars, DoubleClickTable,
                         testing::Values(DoubleClickCase{"crossing", 300, 200, 301, 201, 0, 0},
                                         DoubleClickCase{"row_bar_of_four", 300, 200, 100, 201, 300, 0},
                                         DoubleClickCase{"column_bar_of_four", 300, 200, 301, 100, 0, 200},
                                         DoubleClickCase{"row_bar", 0, 200, 100, 201, 0, 0},
                                         DoubleClickCase{"column_bar", 300, 0, 301, 100, 0, 0}),
                         [](const testing::TestParamInfo<DoubleClickCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace splitter_test
