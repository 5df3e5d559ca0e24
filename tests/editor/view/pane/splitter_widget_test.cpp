// The splitter with the document's real panes in a plain top-level window (offscreen): the split
// boxes and corners each layout gives the panes, and splitting and unsplitting with the mouse as a
// person would.
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "editor/view/pane/doc_views.h"
#include "editor/view/pane/split_box_wnd.h"
#include "platform/simulated_input.h"
#include "platform/window_grab.h"
#include "splitter_fixture.h"

namespace splitter_test {
namespace {

using platform::MouseButton;

// Writes what a window shows as a BMP file into the folder VREL_PICTURE_DIR names (when it is
// set), for a person to look at.
void SaveForLooking(HWND hwnd, const char* name) {
  const char* folder = std::getenv("VREL_PICTURE_DIR");
  if (!folder) return;
  std::unique_ptr<platform::Bitmap> shown = platform::GrabClientArea(hwnd);
  if (!shown) return;
  const uint32_t w = static_cast<uint32_t>(shown->Width());
  const uint32_t h = static_cast<uint32_t>(shown->Height());
  const uint32_t pixels = w * h * 4;
  std::string file(54, '\0');
  const auto put = [&file](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, 54 + pixels, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, w, 4);
  put(22, static_cast<uint32_t>(-static_cast<int32_t>(h)), 4);  // top-down
  put(26, 1, 2);
  put(28, 32, 2);
  put(34, pixels, 4);
  for (uint32_t y = 0; y < h; ++y) file.append(reinterpret_cast<const char*>(shown->Row(static_cast<int>(y))), w * 4);
  std::ofstream(std::string(folder) + "/" + name + ".bmp", std::ios::binary) << file;
}

class SplitterWidgetTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    doc->SetPorts(DocPorts{});
    view.reset();
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetTextOnly(text);
    frame = MakeFrame("frame", 640, 480);
    ASSERT_NE(frame, nullptr);
    MakeViews(&editWindow);
  }
  void TearDown() override {
    views.reset();
    if (platform::IsWindow(frame)) platform::DestroyWindow(frame);
    Pump();
    ViewFixture::TearDown();
  }
  void MakeViews(IEditWindow* editWnd) {
    views.reset();
    views = CDocViews::Make(*doc, nullptr, frame, editWnd);
    ASSERT_NE(views, nullptr);
    views->Splitter().Move(0, 0, 640, 480);
    Pump();
  }
  // The text without a pane to repaint: the views come afterwards.
  void SetTextOnly(const std::string& text) {
    CDocLineMgr& lines = doc->m_cDocLineMgr;
    lines.FreeAllLines();
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find("\r\n", start);
      lines.AppendLine(text.data() + start, static_cast<int>(end + 2 - start), CLineEnd::CRLF);
      start = end + 2;
    }
    doc->m_cLayoutMgr.SetWrapSettings(true, nullptr, type());
  }
  CSplitterWnd& Splitter() { return views->Splitter(); }
  COLORREF ShownAt(int x, int y) {
    std::unique_ptr<platform::Bitmap> shown = platform::GrabClientArea(Splitter().GetHwnd());
    if (!shown) return 0xFFFFFFFF;
    const uint8_t* px = shown->Row(y) + x * 4;
    return RGB(px[2], px[1], px[0]);
  }
  CEditView& Pane(int i) { return views->Pane(i); }
  bool Visible(int i) { return platform::IsWindowVisible(Pane(i).Window()) != 0; }

  HWND frame = nullptr;
  std::unique_ptr<CDocViews> views;
};

TEST_F(SplitterWidgetTest, DraggingTheVerticalSplitBoxGivesTwoRowsTheLowerContinuingTheText) {
  ASSERT_NE(Pane(0).m_pcsbwVSplitBox, nullptr);
  const HWND box = Pane(0).m_pcsbwVSplitBox->GetHwnd();
  POINT origin{0, 0};
  platform::MapWindowPoints(box, Splitter().GetHwnd(), &origin, 1);
  const COLORREF paper = ShownAt(300, 202);
  platform::SimulateMouseButton(box, MouseButton::Left, true, 3, 3);
  platform::SimulateMouseMove(box, 3, 100 - origin.y);
  platform::SimulateMouseMove(box, 3, 200 - origin.y);
  Pump();
  SaveForLooking(Splitter().GetHwnd(), "splitter_dragging_box");
  // The bar shows inverted over the pane's text area.
  EXPECT_EQ(ShownAt(300, 202), RGB(255 - GetRValue(paper), 255 - GetGValue(paper), 255 - GetBValue(paper)));
  EXPECT_EQ(ShownAt(300, 207), paper);
  platform::SimulateMouseButton(box, MouseButton::Left, false, 3, 200 - origin.y);
  Pump();
  SaveForLooking(Splitter().GetHwnd(), "splitter_two_rows");
  EXPECT_EQ(Splitter().Rows(), 2);
  EXPECT_EQ(Splitter().Columns(), 1);
  EXPECT_EQ(Splitter().m_nVSplitPos, 200);
  EXPECT_TRUE(Visible(0));
  EXPECT_TRUE(Visible(2));
  EXPECT_FALSE(Visible(1));
  EXPECT_EQ(Pane(0).m_nClientHeight, 200);
  ASSERT_GT(Pane(0).m_nViewRowNum, 0);
  EXPECT_EQ(Pane(2).m_nViewTopLine, Pane(0).m_nViewTopLine + Pane(0).m_nViewRowNum);
  // The caret stayed in the upper pane's text, which stays active.
  EXPECT_EQ(Splitter().m_nActivePane, 0);
  EXPECT_EQ(doc->m_nActivePaneIndex, 0);
}

TEST_F(SplitterWidgetTest, DoubleClickingTheCrossingGivesOnePane) {
  Splitter().SplitAt(300, 200);
  Pump();
  ASSERT_EQ(Splitter().GetLayoutKind(), 3);
  SaveForLooking(Splitter().GetHwnd(), "splitter_four");
  const HWND hwnd = Splitter().GetHwnd();
  platform::SimulateMouseButton(hwnd, MouseButton::Left, true, 301, 201);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 301, 201);
  platform::SimulateMouseDoubleClick(hwnd, MouseButton::Left, 301, 201);
  platform::SimulateMouseButton(hwnd, MouseButton::Left, false, 301, 201);
  Pump();
  EXPECT_EQ(Splitter().GetLayoutKind(), 0);
  EXPECT_TRUE(Visible(0));
  EXPECT_FALSE(Visible(1));
  EXPECT_FALSE(Visible(2));
  EXPECT_FALSE(Visible(3));
  EXPECT_EQ(Pane(0).m_nClientWidth, 640);
  EXPECT_EQ(Pane(0).m_nClientHeight, 480);
}

TEST_F(SplitterWidgetTest, APaneMadeActiveByTheSplitterIsTheDocumentsActivePane) {
  Pane(0).m_nCaretPosY = 150;
  Splitter().SplitAt(0, 200);
  Pump();
  EXPECT_EQ(Splitter().m_nActivePane, 2);
  EXPECT_EQ(doc->m_nActivePaneIndex, 2);
}

struct BoxCase {
  const char* name;
  int x, y;
  // Per pane: vertical box, horizontal box, size grip in the corner.
  std::array<std::array<bool, 3>, 4> boxes;
};

class BoxTable : public SplitterWidgetTest, public testing::WithParamInterface<BoxCase> {};

TEST_P(BoxTable, EachShownPaneHasTheBoxesOfItsPlace) {
  const BoxCase& c = GetParam();
  editWindow.statusBar = false;  // the corner may be a grip
  Splitter().SplitAt(c.x, c.y);
  Pump();
  for (int i = 0; i < 4; ++i) {
    if (!Visible(i)) continue;
    const std::array<bool, 3>& want = c.boxes[static_cast<size_t>(i)];
    EXPECT_EQ(Pane(i).m_pcsbwVSplitBox != nullptr, want[0]) << "pane " << i;
    EXPECT_EQ(Pane(i).m_pcsbwHSplitBox != nullptr, want[1]) << "pane " << i;
    EXPECT_EQ(Pane(i).m_bSizeBoxIsGrip, want[2]) << "pane " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BoxTable,
    testing::Values(BoxCase{"one", 0, 0, {{{true, true, true}, {}, {}, {}}}},
                    BoxCase{"upper_lower", 0, 200, {{{false, false, false}, {}, {false, true, true}, {}}}},
                    BoxCase{"left_right", 300, 0, {{{false, false, false}, {true, false, true}, {}, {}}}},
                    BoxCase{
                        "four",
                        300,
                        200,
                        {{{false, false, false}, {false, false, false}, {false, false, false}, {false, false, true}}}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

struct GripCase {
  const char* name;
  bool statusBar, funcKeysAtBottom, maximized;
  bool grip;
};

class GripTable : public SplitterWidgetTest, public testing::WithParamInterface<GripCase> {};

TEST_P(GripTable, TheCornerIsAGripOnlyWithNothingBelowAndRoomToResize) {
  const GripCase& c = GetParam();
  editWindow.statusBar = c.statusBar;
  editWindow.funcKeyBarAtBottom = c.funcKeysAtBottom;
  editWindow.maximized = c.maximized;
  // The edit window re-applies the split whenever a bar is shown or hidden.
  Splitter().SplitAt(-1, -1);
  Pump();
  EXPECT_EQ(Pane(0).m_bSizeBoxIsGrip, c.grip);
}

INSTANTIATE_TEST_SUITE_P(Conditions, GripTable,
                         testing::Values(GripCase{"nothing_below", false, false, false, true},
                                         GripCase{"status_bar", true, false, false, false},
                                         GripCase{"function_keys_at_the_bottom", false, true, false, false},
                                         GripCase{"maximized", false, false, true, false}),
                         [](const testing::TestParamInfo<GripCase>& info) { return std::string(info.param.name); });

TEST_F(SplitterWidgetTest, WithoutAnEditWindowTheCornerIsNeverAGrip) {
  MakeViews(nullptr);
  Splitter().SplitAt(-1, -1);
  Pump();
  EXPECT_FALSE(Pane(0).m_bSizeBoxIsGrip);
  EXPECT_NE(Pane(0).m_pcsbwVSplitBox, nullptr);
}

}  // namespace
}  // namespace splitter_test
