// The arrangement of the edit windows: the geometry alone, then three frames of this process that
// the commands reach as they reach any process's windows, through the window requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/commands/window_arrangement.h"
#include "editor/view/pane/view_fixture.h"
#include "platform/dialog_test.h"
#include "platform/font.h"
#include "platform/font_dialog.h"
#include "platform/font_dialog_test.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

std::vector<std::string> Texts(const std::vector<RECT>& rects) {
  std::vector<std::string> out;
  for (const RECT& r : rects) out.push_back(Text(r));
  return out;
}

TEST(WindowArrangement, Tiles) {
  const RECT work{10, 20, 910, 620};
  struct Case {
    const char* name;
    int count;
    bool sideBySide;
    std::vector<std::string> rects;
  };
  const Case cases[] = {
      {"three side by side", 3, true, {"10,20 300x600", "310,20 300x600", "610,20 300x600"}},
      {"three stacked", 3, false, {"10,20 900x200", "10,220 900x200", "10,420 900x200"}},
      {"one takes the work area", 1, true, {"10,20 900x600"}},
      {"none", 0, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Texts(TileRects(work, c.count, c.sideBySide)), c.rects);
  }
}

TEST(WindowArrangement, CascadeStartsANewColumnAtAnEdge) {
  struct Case {
    const char* name;
    RECT work;
    int count, step;
    std::vector<std::string> rects;
  };
  const Case cases[] = {
      {"down and right by a step", {0, 0, 500, 500}, 3, 20, {"0,0 400x400", "20,20 400x400", "40,40 400x400"}},
      // 400 + 5 * 20 = 500 still fits; the seventh would reach past and starts a column one step
      // right of the first.
      {"a new column at the bottom",
       {0, 0, 500, 500},
       8,
       20,
       {"0,0 400x400", "20,20 400x400", "40,40 400x400", "60,60 400x400", "80,80 400x400", "100,100 400x400",
        "20,0 400x400", "40,20 400x400"}},
      // The third starts the second column; the fourth would start a third one past the right edge,
      // so it starts at the left again.
      {"back at the left edge", {0, 0, 100, 100}, 4, 20, {"0,0 80x80", "20,20 80x80", "20,0 80x80", "0,0 80x80"}},
      {"from the work area's corner", {50, 30, 550, 530}, 2, 10, {"50,30 400x400", "60,40 400x400"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Texts(CascadeRects(c.work, c.count, c.step, c.step)), c.rects);
  }
}

// The tab bar's notices the frames heard: (frame, wParam, lParam).
struct Notice {
  HWND frame;
  WPARAM kind;
  LPARAM window;
  bool operator==(const Notice&) const = default;
};
std::vector<Notice>& Notices() {
  static std::vector<Notice> notices;
  return notices;
}

// The frames that heard a new font is to be used, in the order they heard it.
std::vector<HWND>& FontNews() {
  static std::vector<HWND> news;
  return news;
}

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_TAB_WINDOW_NOTIFY) Notices().push_back({hwnd, wParam, lParam});
  if (message == MYWM_CHANGESETTING) FontNews().push_back(hwnd);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// The fixture's edit window with an id in the window list.
class ListedEditWindow : public FakeEditWindow {
 public:
  uint32_t WindowId() const override { return id; }
  void ToggleBar(Bar bar) override { toggled.push_back(bar); }
  void TogglePrintPreview() override { printPreview = !printPreview; }
  void QuitAll() override { ++quits; }
  void SetTopMost(int mode) override { topMost.push_back(mode); }
  void ShowWindowListMenu(bool atMouse) override { listMenus.push_back(atMouse); }
  uint32_t id = 0;
  std::vector<Bar> toggled;
  std::vector<int> topMost;
  std::vector<bool> listMenus;
  int quits = 0;
};

class WindowCommandsTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    platform::EnsureGuiApp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "WindowCommandsTestFrame";
    platform::RegisterClassEx(&wc);
    // Made in this order: their creation sequence, which the arrangements follow.
    for (int i = 0; i < 3; ++i) {
      frames[i] = platform::CreateWindowEx(0, "WindowCommandsTestFrame", "frame",
                                           WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VISIBLE,
                                           40 + 30 * i, 50 + 20 * i, 300, 200, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(frames[i], nullptr);
      ids[i] = platform::ipc::RegisterWindow(frames[i], kEditWindowClass);
      ASSERT_NE(ids[i], 0u);
      ASSERT_TRUE(share.RegisterEditWindow(ids[i]));
    }
    // The pane belongs to the middle one.
    self.window = frames[1];
    self.id = ids[1];
    view->SetEditWindow(&self);
    ASSERT_TRUE(GetMonitorRectsOfWindow(frames[1], &work, nullptr));
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      share.UnregisterEditWindow(ids[i]);
      platform::ipc::UnregisterWindow(ids[i]);
      if (frames[i]) platform::DestroyWindow(frames[i]);
    }
    ViewFixture::TearDown();
  }
  void Run(int command, LPARAM argument = 0) { view->RunCommand(command, true, argument, 0, 0, 0); }
  std::string Frame(int i) const {
    RECT r{};
    platform::GetWindowRect(frames[i], &r);
    return Text(r);
  }

  HWND frames[3] = {};
  EditWindowId ids[3] = {};
  ListedEditWindow self;
  RECT work{};
};

TEST_F(WindowCommandsTest, TilesPutThisWindowFirstOverTheWorkArea) {
  struct Case {
    const char* name;
    int command;
    bool sideBySide;
  };
  const Case cases[] = {
      {"TileWinH: side by side", 31332, true},
      {"TileWinV: stacked", 31331, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(c.command);
    const std::vector<RECT> expected = TileRects(work, 3, c.sideBySide);
    EXPECT_EQ(Frame(1), Text(expected[0]));  // this window leftmost or on top
    EXPECT_EQ(Frame(0), Text(expected[1]));
    EXPECT_EQ(Frame(2), Text(expected[2]));
    EXPECT_EQ(expected[0].right - expected[0].left, c.sideBySide ? (work.right - work.left) / 3 : work.right - work.left);
  }
}

TEST_F(WindowCommandsTest, CascadeEndsWithThisWindow) {
  Run(31330);
  const int stepX = platform::GetSystemMetrics(SM_CXFRAME) + platform::GetSystemMetrics(SM_CXSIZE);
  const int stepY = platform::GetSystemMetrics(SM_CYFRAME) + platform::GetSystemMetrics(SM_CYSIZE);
  ASSERT_GT(stepX, 4);
  const std::vector<RECT> expected = CascadeRects(work, 3, stepX, stepY);
  EXPECT_EQ(Frame(0), Text(expected[0]));
  EXPECT_EQ(Frame(2), Text(expected[1]));
  EXPECT_EQ(Frame(1), Text(expected[2]));
  EXPECT_EQ(expected[0].right - expected[0].left, (work.right - work.left) * 4 / 5);
}

TEST_F(WindowCommandsTest, MinimisedWindowsTakeNoPartAndMaximisedOnesAreRestored) {
  platform::ShowWindow(frames[2], SW_MINIMIZE);
  platform::ShowWindow(frames[0], SW_MAXIMIZE);
  ASSERT_TRUE(platform::ipc::IsIconic(ids[2]));
  Run(31332);
  const std::vector<RECT> expected = TileRects(work, 2, true);
  EXPECT_EQ(Frame(1), Text(expected[0]));
  EXPECT_EQ(Frame(0), Text(expected[1]));
  WINDOWPLACEMENT placement{};
  ASSERT_TRUE(platform::ipc::GetWindowPlacement(ids[0], &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_TRUE(platform::ipc::IsIconic(ids[2]));
}

// Arranging leaves the tab bar's grouping: each window keeps a frame of its own.
TEST_F(WindowCommandsTest, ArrangingSeparatesWindowsGroupedUnderTheTabBar) {
  for (const int command : {31330, 31331, 31332}) {
    SCOPED_TRACE(command);
    common().bDispTabWnd = 1;
    common().bDispTabWndMultiWin = 0;
    Run(command);
    EXPECT_EQ(common().bDispTabWndMultiWin, 1);
  }
}

TEST_F(WindowCommandsTest, MaximizeTakesTheWorkAreaOneWay) {
  RECT before{};
  platform::GetWindowRect(frames[1], &before);
  Run(31350);
  RECT after{};
  platform::GetWindowRect(frames[1], &after);
  EXPECT_EQ(Text(after), Text(RECT{before.left, work.top, before.right, work.bottom}));

  before = after;
  Run(31352);
  platform::GetWindowRect(frames[1], &after);
  EXPECT_EQ(Text(after), Text(RECT{work.left, before.top, work.right, before.bottom}));
}

TEST_F(WindowCommandsTest, MinimizeAllMinimisesEveryListedWindow) {
  Run(31351);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(platform::IsIconic(frames[i])) << i;
}

// Under the tab bar's grouping the windows it keeps hidden stay hidden.
TEST_F(WindowCommandsTest, MinimizeAllKeepsTheTabBarsHiddenWindowsHidden) {
  common().bDispTabWnd = 1;
  common().bDispTabWndMultiWin = 0;
  platform::ShowWindow(frames[0], SW_HIDE);
  Run(31351);
  EXPECT_FALSE(platform::IsWindowVisible(frames[0]));
  EXPECT_FALSE(platform::IsIconic(frames[0]));
  EXPECT_TRUE(platform::IsIconic(frames[1]));
  EXPECT_TRUE(platform::IsIconic(frames[2]));
}

// Only while the tab bar shows: the grouping flips, the frame's placement is kept for the group,
// and every window hears which way it went.
TEST_F(WindowCommandsTest, SharedPlacementTogglesOnlyWithTheTabBar) {
  FakeFrame frame;
  frame.window = frames[1];
  frame.id = ids[1];
  DocPorts ports = doc->Ports();
  ports.frame = &frame;
  doc->SetPorts(ports);
  const auto pump = [] {
    MSG msg;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
  };
  common().bDispTabWnd = 1;
  common().bDispTabWndMultiWin = 0;
  pump();
  Notices().clear();

  frame.tabBar = false;
  Run(31333);
  pump();
  EXPECT_EQ(common().bDispTabWndMultiWin, 0);
  EXPECT_TRUE(Notices().empty());
  EXPECT_EQ(record->wpSavedEditWindow.length, 0u);

  frame.tabBar = true;
  for (const WPARAM kind : {WPARAM{6}, WPARAM{5}}) {
    SCOPED_TRACE(kind);
    Notices().clear();
    Run(31333);
    pump();
    EXPECT_EQ(common().bDispTabWndMultiWin, kind == 6 ? 1 : 0);
    std::vector<Notice> expected;
    for (const HWND f : frames) expected.push_back({f, kind, static_cast<LPARAM>(ids[1])});
    std::vector<Notice> heard = Notices();
    std::sort(heard.begin(), heard.end(), [](const Notice& a, const Notice& b) { return a.frame < b.frame; });
    std::sort(expected.begin(), expected.end(), [](const Notice& a, const Notice& b) { return a.frame < b.frame; });
    EXPECT_EQ(heard, expected);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(platform::GetWindowPlacement(frames[1], &placement));
    EXPECT_EQ(std::memcmp(&record->wpSavedEditWindow, &placement, sizeof placement), 0);
  }
  ports.frame = nullptr;
  doc->SetPorts(ports);
}

TEST_F(WindowCommandsTest, TheFrameIsAskedForItsOwnCommands) {
  Run(31334, 2);
  Run(31336);
  Run(CEditView::kSourceMouse << 16 | 31336);
  EXPECT_EQ(self.topMost, std::vector<int>{2});
  EXPECT_EQ(self.listMenus, (std::vector<bool>{false, true}));  // at the mouse only from a mouse button
  Run(30195);
  EXPECT_EQ(self.quits, 1);
}

// The chooser edits a copy of the editor font: confirmed, the copy is stored, the fixed-pitch flag
// follows our font module's measure of it (the toolkit calls the IPA fixed faces proportional),
// and every window rebuilds its fonts, this one last. Cancelled, nothing changes.
TEST_F(WindowCommandsTest, SelectFontStoresTheChosenFontAndTellsEveryWindow) {
  const auto pump = [] {
    MSG msg;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
  };
  struct Case {
    const char* name;
    const char* face;
    double points;
    bool bold;
    bool confirm;
  };
  const Case cases[] = {
      {"a fixed face at a size drawn on the grid", "IPAGothic", 12, false, true},
      {"another fixed face, bold", "IPAMincho", 12, true, true},
      {"cancelled", "IPAMincho", 20, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::strcpy(common().lf.lfFaceName, "ＭＳ ゴシック"_sj);
    common().lf.lfHeight = -13;
    common().lf.lfWeight = platform::FW_NORMAL;
    // The opposite of what a confirmed choice of a fixed face would store, so that a flag left
    // alone shows.
    common().bFontIs_FIXED_PITCH = c.confirm ? 0 : 1;
    const LOGFONT before = common().lf;
    pump();
    FontNews().clear();
    int shown = 0;
    platform::dialog_test::SetShownHook([&](HWND dialog) {
      ++shown;
      EXPECT_TRUE(platform::font_dialog_test::Pick(dialog, c.face, c.points, c.bold));
      platform::dialog_test::Click(dialog, c.confirm ? IDOK : IDCANCEL);
    });
    Run(31120);
    platform::dialog_test::SetShownHook({});
    pump();
    EXPECT_EQ(shown, 1);
    if (!c.confirm) {
      EXPECT_EQ(std::memcmp(&common().lf, &before, sizeof before), 0);
      EXPECT_EQ(common().bFontIs_FIXED_PITCH, 1);
      EXPECT_TRUE(FontNews().empty());
      continue;
    }
    EXPECT_STREQ(common().lf.lfFaceName, c.face);
    EXPECT_EQ(common().lf.lfHeight, -static_cast<LONG>(c.points * 96 / 72 + 0.5));
    EXPECT_EQ(common().lf.lfWeight, c.bold ? platform::FW_BOLD : platform::FW_NORMAL);
    const bool fixed = platform::IsFixedPitchLogFont(common().lf);
    EXPECT_EQ(common().bFontIs_FIXED_PITCH, fixed ? 1 : 0);
    EXPECT_EQ(common().lf.lfPitchAndFamily, fixed ? FIXED_PITCH : VARIABLE_PITCH);
    if (!c.bold) EXPECT_EQ(common().bFontIs_FIXED_PITCH, 1) << "our measure finds the face fixed";
    std::vector<HWND> heard = FontNews();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard.back(), frames[1]) << "this window hears last";
    std::sort(heard.begin(), heard.end());
    std::vector<HWND> all(std::begin(frames), std::end(frames));
    std::sort(all.begin(), all.end());
    EXPECT_EQ(heard, all);
  }
}

}  // namespace
