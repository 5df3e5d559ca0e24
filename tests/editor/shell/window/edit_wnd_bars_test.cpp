// The edit window's bars: the layout of toolbar, function-key bar, tab bar, document and status bar
// on the window's client area, who carries the size grip, the toolbar's buttons and search box, the
// tips, the status bar's recording mark and clicks, the caption message and the print preview's
// way in without a printer.
#include <algorithm>
#include <cstring>

#include "edit_wnd_fixture.h"
#include "editor/shell/commands/command_catalog.h"
#include "editor/shell/commands/menu_drawer.h"
#include "platform/popup_menu.h"
#include "platform/sjis.h"
#include "platform/status_bar.h"
#include "platform/sys_color.h"
#include "platform/toolbar.h"
#include "platform/window_grab.h"
#include "platform/window_tree.h"
#include "platform/sjis_literal.h"

namespace {

// A bar of a fixed height in the function-key or tab bar's place: a plain child window.
class StandInBar : public IFrameBar {
 public:
  explicit StandInBar(int height) : m_height(height) {}
  ~StandInBar() override { Close(); }
  bool Open(HINSTANCE, HWND frame) override {
    m_window = platform::CreateWindowEx(0, platform_test::RecordingClass(), "bar", WS_CHILD | WS_VISIBLE, 0, 0, 10,
                                        m_height, frame, reinterpret_cast<HMENU>(intptr_t{77}), nullptr, nullptr);
    return m_window != nullptr;
  }
  void Close() override {
    if (m_window && platform::IsWindow(m_window)) platform::DestroyWindow(m_window);
    m_window = nullptr;
  }
  bool IsOpen() const override { return m_window != nullptr; }
  int OnFrameSize(WPARAM, int, int) override { return m_height; }
  void Move(int x, int y, int width, int height) override { platform::MoveWindow(m_window, x, y, width, height, 1); }
  void SetSizeGrip(bool on) override { m_grip = on; }
  bool HasSizeGrip() const override { return m_grip; }
  void Show(bool show) override { platform::ShowWindow(m_window, show ? SW_SHOW : SW_HIDE); }
  void SetTimer(bool) override {}
  void OnWindowListChanged(WPARAM kind, LPARAM window) override { listChanges.emplace_back(kind, window); }
  HWND Window() const { return m_window; }
  // The height the bar takes from now on (its font changed with the settings, say).
  void SetHeight(int height) { m_height = height; }

  std::vector<std::pair<WPARAM, LPARAM>> listChanges;

 private:
  int m_height;
  HWND m_window = nullptr;
  bool m_grip = false;
};

class EditWndBarsTest : public EditWndFixture {
 protected:
  EditWndBarsTest() : EditWndFixture("CEditWnd-bars-test") {}

  // A window with stand-in bars of 30 (function keys) and 24 (tabs) pixels.
  CEditWnd* MakeWithBars() {
    auto window = std::make_unique<CEditWnd>(share);
    auto funcKeys = std::make_unique<StandInBar>(30);
    auto tabs = std::make_unique<StandInBar>(24);
    funcKeyBar = funcKeys.get();
    tabBar = tabs.get();
    window->SetFrameBars(std::move(funcKeys), std::move(tabs));
    RecentFileRecord request = kEmptyRecentFileRecord;
    request.nRequestX = 0;
    request.nRequestY = 0;
    request.nRequestWidth = 600;
    request.nRequestHeight = 400;
    window->SetWindowRequest(request);
    if (!window->Create(nullptr, 0, nullptr, 99, false, -1)) return nullptr;
    windows.push_back(std::move(window));
    Pump();
    return windows.back().get();
  }
  // A child's rectangle in the frame's client coordinates; empty for none.
  static RECT InFrame(HWND frame, HWND child) {
    RECT rc{};
    if (!child || !platform::IsWindowVisible(child)) return rc;
    platform::GetWindowRect(child, &rc);
    platform::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  // The catalogue entry of a command in the toolbar list.
  int Entry(int command) {
    CMenuDrawer drawer(record.get());
    return drawer.FindCatalogueEntry(command);
  }

  StandInBar* funcKeyBar = nullptr;
  StandInBar* tabBar = nullptr;
};

TEST_F(EditWndBarsTest, BarsAndDocumentTileTheClientArea) {
  struct Case {
    const char* name;
    int place;  // function keys: 0 top, 1 bottom
    bool statusBar;
    // y and height of toolbar, function keys, tabs, document and status bar, -1 for none
    int funcY, tabY, docY;
    bool grip;
  };
  // Client 600 x 400; toolbar Ht, function keys 30, tabs 24, status Hs.
  const int ht = 2 * platform::kToolbarMargin + platform::kButtonHeight;
  const int hs = platform::kStatusBarHeight;
  const Case cases[] = {
      {"keys on top with status", 0, true, ht, ht + 30, ht + 30 + 24, false},
      {"keys at bottom with status", 1, true, 400 - hs - 30, ht, ht + 24, false},
      {"keys at bottom without status", 1, false, 400 - 30, ht, ht + 24, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->Common.bDispFUNCKEYWND = 1;
    record->Common.bDispTabWnd = 1;
    record->Common.bDispTabWndMultiWin = 1;
    record->Common.nFUNCKEYWND_Place = c.place;
    record->Common.bDispSTATUSBAR = c.statusBar;
    CEditWnd* w = MakeWithBars();
    ASSERT_NE(w, nullptr);
    const HWND frame = w->Window();
    const RECT client = Client(frame);
    ASSERT_EQ(client.right, 600);
    ASSERT_EQ(client.bottom, 400);
    const RECT tool = InFrame(frame, w->ToolBar());
    EXPECT_EQ(tool.top, 0);
    EXPECT_EQ(tool.bottom - tool.top, ht);
    EXPECT_EQ(tool.right - tool.left, 600);
    const RECT keys = InFrame(frame, funcKeyBar->Window());
    EXPECT_EQ(keys.top, c.funcY);
    EXPECT_EQ(keys.bottom - keys.top, 30);
    const RECT tabs = InFrame(frame, tabBar->Window());
    EXPECT_EQ(tabs.top, c.tabY);
    EXPECT_EQ(tabs.bottom - tabs.top, 24);
    EXPECT_EQ(tabs.right - tabs.left, 600);
    const RECT doc = InFrame(frame, w->Document().Ports().splitter->Window());
    EXPECT_EQ(doc.top, c.docY);
    EXPECT_EQ(doc.bottom - doc.top, 400 - ht - 30 - 24 - (c.statusBar ? hs : 0));
    EXPECT_EQ(doc.right - doc.left, 600);
    if (c.statusBar) {
      const RECT status = InFrame(frame, w->StatusBar());
      EXPECT_EQ(status.bottom, 400);
      EXPECT_EQ(status.top, 400 - hs);
    } else {
      EXPECT_EQ(w->StatusBar(), nullptr);
    }
    EXPECT_EQ(funcKeyBar->HasSizeGrip(), c.grip);
    EXPECT_EQ(w->HasFuncKeyBarAtBottom(), c.place == 1);
    if (c.grip) {
      // Maximised, the window's corner is no corner to drag.
      platform::SendMessage(frame, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(600, 400));
      EXPECT_FALSE(funcKeyBar->HasSizeGrip());
      platform::SendMessage(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
      EXPECT_TRUE(funcKeyBar->HasSizeGrip());
      // A status bar built later takes the grip over.
      w->BuildStatusBar();
      EXPECT_FALSE(funcKeyBar->HasSizeGrip());
      w->RemoveStatusBar();
      EXPECT_TRUE(funcKeyBar->HasSizeGrip());
    }
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndBarsTest, StatusPartsAreMeasuredFromTheRightOnTheirSamples) {
  const int grip = platform::GetSystemMetrics(SM_CXEDGE) + platform::GetSystemMetrics(SM_CXVSCROLL);
  const int gap = platform::GetSystemMetrics(SM_CXFRAME) + 2 * platform::GetSystemMetrics(SM_CXEDGE);
  const auto restored = StatusPartEdges(700, false, nullptr);
  const auto maximized = StatusPartEdges(700, true, nullptr);
  for (int part = 0; part < kStatusParts; ++part) {
    SCOPED_TRACE(part);
    // Without a font every sample is 0 wide: the parts are the gaps alone.
    EXPECT_EQ(restored[part], 700 - grip - (kStatusParts - 1 - part) * gap);
    EXPECT_EQ(maximized[part], 700 - (kStatusParts - 1 - part) * gap);
  }
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  int edges[kStatusParts] = {};
  ASSERT_EQ(platform::SendMessage(w->StatusBar(), SB_GETPARTS, kStatusParts, reinterpret_cast<LPARAM>(edges)),
            kStatusParts);
  RECT bar = Client(w->StatusBar());
  EXPECT_EQ(edges[kStatusParts - 1], bar.right - grip);
  for (int part = 0; part + 1 < kStatusParts; ++part) EXPECT_LT(edges[part] + gap, edges[part + 1]);
}

TEST_F(EditWndBarsTest, ToolbarCollapsesSeparatorsDropsALeadingBreakAndMakesOneSearchBox) {
  const int sep = 0;
  const int wrap = CMenuDrawer::kCatalogueEntries - 1;
  const int save = Entry(30103), open = Entry(30102), box = Entry(kSearchBoxCommand);
  ASSERT_GT(save, 0);
  ASSERT_GT(box, 0);
  const int list[] = {wrap, save, sep, sep, sep, open, box, box, wrap, save};
  record->Common.nToolBarButtonNum = static_cast<int>(std::size(list));
  std::copy(std::begin(list), std::end(list), record->Common.nTBB);
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  // save, one separator, open, the box's gap, the second box entry as it stands, save on a row of
  // its own.
  EXPECT_EQ(platform::SendMessage(w->ToolBar(), TB_BUTTONCOUNT, 0, 0), 6);
  ASSERT_NE(w->SearchBox(), nullptr);
  RECT gap{};
  ASSERT_TRUE(platform::SendMessage(w->ToolBar(), TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&gap)));
  EXPECT_EQ(gap.right - gap.left, 160);
  RECT first{}, last{};
  platform::SendMessage(w->ToolBar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  platform::SendMessage(w->ToolBar(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
  EXPECT_GT(last.top, first.top);  // the break after the second box entry
}

TEST_F(EditWndBarsTest, ToolbarStatesFollowTheCommandRules) {
  record->Common.nToolBarButtonNum = 2;
  record->Common.nTBB[0] = Entry(30210);  // Undo: nothing to undo
  record->Common.nTBB[1] = Entry(30185);  // read-only: checked when read-only
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  w->Document().m_bReadOnly = true;
  w->UpdateToolbarStates();
  Pump();
  const LRESULT undo = platform::SendMessage(w->ToolBar(), TB_GETSTATE, 30210, 0);
  const LRESULT readOnly = platform::SendMessage(w->ToolBar(), TB_GETSTATE, 30185, 0);
  EXPECT_EQ(undo & TBSTATE_ENABLED, 0);
  EXPECT_NE(readOnly & TBSTATE_CHECKED, 0);
}

TEST_F(EditWndBarsTest, TipIsTheNameAndEveryKeyCutOnAWholeCharacterAt1024Bytes) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  char name[256] = {};
  ASSERT_TRUE(CCommandCatalog(record.get()).GetCommandName(30103, name, sizeof name));
  // Two keys, plain ones before those with modifiers.
  record->nKeyAssignCount = 2;
  CShareData::SetKeyAssignment(*record, 0, 'S', "S", {0, 0, 30103, 0, 0, 0, 0, 0});
  CShareData::SetKeyAssignment(*record, 1, 0x70, "F1", {30103, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(w->ToolTipText(30103), std::string(name) + "\n        F1\n        Ctrl+S");
  EXPECT_EQ(w->ToolTipText(0), "");
  // Many keys with double-byte names: the text stops before 1024 bytes, never inside a character.
  std::string full = name;
  const std::string keyName = std::string("キー"_sj) + "1234567";  // 11 bytes
  record->nKeyAssignCount = 100;
  for (int i = 0; i < 100; ++i) {
    CShareData::SetKeyAssignment(*record, i, 0x41 + i % 26, keyName.c_str(),
                                 {30103, 0, 0, 0, 0, 0, 0, 0});
    full += "\n        " + keyName;
  }
  const std::string tip = w->ToolTipText(30103);
  ASSERT_LT(tip.size(), 1024u);
  EXPECT_GE(tip.size(), 1022u);
  EXPECT_EQ(tip, full.substr(0, tip.size()));
  // The cut is between characters: the whole-character walk of the text reaches its end exactly.
  size_t at = 0;
  while (at < tip.size()) at += platform::IsSjisLead(static_cast<unsigned char>(tip[at])) ? 2 : 1;
  EXPECT_EQ(at, tip.size());
}

// Whether a part of the grabbed frame holds a pixel of that colour.
bool HasColour(const platform::Bitmap& picture, const RECT& part, COLORREF colour) {
  const uint32_t want = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int y = std::max(0, static_cast<int>(part.top)); y < std::min(picture.Height(), static_cast<int>(part.bottom)); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(picture.Row(y));
    for (int x = std::max(0, static_cast<int>(part.left)); x < std::min(picture.Width(), static_cast<int>(part.right)); ++x) {
      if ((row[x] & 0xFFFFFF) == want) return true;
    }
  }
  return false;
}

TEST_F(EditWndBarsTest, RecordingMarkIsDarkOnlyInTheRecordingWindow) {
  CEditWnd* w = Make();
  CEditWnd* other = Make();
  ASSERT_TRUE(w && other);
  const COLORREF text = platform::GetSysColor(COLOR_BTNTEXT), shadow = platform::GetSysColor(COLOR_BTNSHADOW);
  ASSERT_NE(text, shadow);
  struct Case {
    const char* name;
    int recording;
    bool here;
    bool dark;
  };
  const Case cases[] = {{"not recording", 0, false, false},
                        {"recording here", 1, true, true},
                        {"recording elsewhere", 1, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->bKeyMacroRecording = c.recording;
    record->hwndKeyMacroRecorder = c.here ? w->WindowId() : other->WindowId();
    platform::InvalidateRect(w->StatusBar(), nullptr, 1);
    platform::UpdateWindow(w->StatusBar());
    Pump();
    RECT part{};
    ASSERT_TRUE(platform::SendMessage(w->StatusBar(), SB_GETRECT, kStatusRecPart, reinterpret_cast<LPARAM>(&part)));
    platform::MapWindowPoints(w->StatusBar(), w->Window(), reinterpret_cast<POINT*>(&part), 2);
    // Inside the part's border, which has the shadow's colour itself.
    part = RECT{part.left + 2, part.top + 2, part.right - 2, part.bottom - 2};
    const auto picture = platform::GrabClientArea(w->Window());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(HasColour(*picture, part, text), c.dark);
    EXPECT_EQ(HasColour(*picture, part, shadow), !c.dark);
  }
  record->bKeyMacroRecording = 0;
}

TEST_F(EditWndBarsTest, OtherStatusBarNotesAndPartsRunNothing) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const bool insert = w->Document().m_bInsMode;
  int popups = 0;
  auto previous = platform::SetPopupMenuHook([&](HMENU, POINT) -> UINT {
    ++popups;
    return 31082;
  });
  // A note that carries no mouse: only its header exists.
  NMHDR plain;
  plain.hwndFrom = w->StatusBar();
  plain.idFrom = kStatusBarId;
  plain.code = NM_CLICK;
  platform::SendMessage(w->Window(), WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&plain));
  struct Case {
    const char* name;
    UINT code;
    int part;
  };
  const Case cases[] = {{"right click off the line ends", NM_RCLICK, 1},
                        {"double click on the messages", NM_DBLCLK, 0},
                        {"double click on the line ends", NM_DBLCLK, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NMMOUSE click;
    click.hdr = plain;
    click.hdr.code = c.code;
    click.dwItemSpec = static_cast<decltype(click.dwItemSpec)>(c.part);
    platform::SendMessage(w->Window(), WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&click));
    Pump();
  }
  platform::SetPopupMenuHook(previous);
  EXPECT_EQ(popups, 0);
  EXPECT_EQ(w->Document().m_bInsMode, insert);
  EXPECT_EQ(w->Document().m_nNewLineType, CLineEnd::CRLF);
}

TEST_F(EditWndBarsTest, StatusBarClicksRunTheirCommands) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const bool insert = w->Document().m_bInsMode;
  NMMOUSE click;
  click.hdr.hwndFrom = w->StatusBar();
  click.hdr.idFrom = kStatusBarId;
  click.hdr.code = NM_DBLCLK;
  click.dwItemSpec = 6;
  platform::SendMessage(w->Window(), WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&click));
  Pump();
  EXPECT_NE(w->Document().m_bInsMode, insert);
  // A right click on the line-end part offers the three input line ends.
  std::vector<UINT> offered;
  auto previous = platform::SetPopupMenuHook([&](HMENU menu, POINT) -> UINT {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      platform::MenuItemInfo item;
      GetMenuItemInfoAt(menu, i, item);
      offered.push_back(item.id);
    }
    return 31082;
  });
  click.hdr.code = NM_RCLICK;
  click.dwItemSpec = 2;
  platform::SendMessage(w->Window(), WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&click));
  Pump();
  platform::SetPopupMenuHook(previous);
  EXPECT_EQ(offered, (std::vector<UINT>{31081, 31082, 31083}));
  EXPECT_EQ(w->Document().m_nNewLineType, CLineEnd::LF);
}

TEST_F(EditWndBarsTest, WithoutStatusBarMessagesGoToTheCaptionCutAndPadded) {
  record->Common.bDispSTATUSBAR = 0;
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  struct Case {
    const char* name;
    std::string text;
    std::string shown;
  };
  const std::string kanji = "漢"_sj;
  std::string thirtyKanji;
  for (int i = 0; i < 30; ++i) thirtyKanji += kanji;
  const Case cases[] = {
      {"short is padded", "abc", "abc" + std::string(27, ' ')},
      {"long is cut", std::string(45, 'x'), std::string(30, 'x')},
      {"characters, not bytes", thirtyKanji + "zz", thirtyKanji},
      {"empty clears", "", std::string(30, ' ')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w->ShowMessageText(c.text.c_str());
    EXPECT_EQ(w->CaptionMessage(), c.shown);
  }
}

TEST_F(EditWndBarsTest, PreviewWithoutPrinterSaysSoAndLeavesTheWindowAsItWas) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const HWND splitter = w->Document().Ports().splitter->Window();
  w->TogglePrintPreview();
  Pump();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], std::string("印刷プレビューを実行する前に、プリンタをインストールしてください。\n"_sj));
  EXPECT_FALSE(w->IsPreviewing());
  EXPECT_EQ(w->Document().Ports().preview, nullptr);
  HMENU bar = platform::GetMenu(w->Window());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), kEditMenuPopupCount);
  EXPECT_TRUE(platform::IsWindowVisible(splitter));
  EXPECT_TRUE(platform::IsWindowVisible(w->ToolBar()));
  EXPECT_TRUE(platform::IsWindowVisible(w->StatusBar()));
}

}  // namespace

namespace {

TEST_F(EditWndBarsTest, SettingsChangeRelaysTheBarsWithOrWithoutAToolbar) {
  struct Case {
    const char* name;
    bool toolbar;
  };
  const Case cases[] = {{"with a toolbar", true}, {"without a toolbar", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->Common.bDispTOOLBAR = c.toolbar;
    record->Common.bDispFUNCKEYWND = 1;
    record->Common.nFUNCKEYWND_Place = 0;
    CEditWnd* w = MakeWithBars();
    ASSERT_NE(w, nullptr);
    const HWND frame = w->Window();
    const int toolHeight = c.toolbar ? 2 * platform::kToolbarMargin + platform::kButtonHeight : 0;
    ASSERT_EQ(InFrame(frame, w->Document().Ports().splitter->Window()).top, toolHeight + 30);
    funcKeyBar->SetHeight(44);
    platform::SendMessage(frame, MYWM_CHANGESETTING, 0, 0);
    const RECT keys = InFrame(frame, funcKeyBar->Window());
    EXPECT_EQ(keys.bottom - keys.top, 44);
    EXPECT_EQ(InFrame(frame, w->Document().Ports().splitter->Window()).top, toolHeight + 44);
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndBarsTest, WindowListChangesReachTheTabBar) {
  record->Common.bDispTabWnd = 1;
  CEditWnd* w = MakeWithBars();
  ASSERT_NE(w, nullptr);
  tabBar->listChanges.clear();
  platform::SendMessage(w->Window(), MYWM_TAB_WINDOW_NOTIFY, 3, 1234);
  ASSERT_EQ(tabBar->listChanges.size(), 1u);
  EXPECT_EQ(tabBar->listChanges[0].first, 3u);
  EXPECT_EQ(tabBar->listChanges[0].second, 1234);
}

TEST_F(EditWndBarsTest, ResizingRelaysTheBarsAndKeepsTheSizeInTheSettings) {
  record->Common.bSaveWindowSize = 1;
  CEditWnd* w = MakeWithBars();
  ASSERT_NE(w, nullptr);
  const HWND frame = w->Window();
  platform::SetWindowPos(frame, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  const RECT client = Client(frame);
  ASSERT_EQ(client.right, 500);
  ASSERT_EQ(client.bottom, 300);
  const RECT status = InFrame(frame, w->StatusBar());
  EXPECT_EQ(status.bottom, 300);
  EXPECT_EQ(status.right - status.left, 500);
  const RECT doc = InFrame(frame, w->Document().Ports().splitter->Window());
  EXPECT_EQ(doc.bottom, status.top);
  EXPECT_EQ(doc.right - doc.left, 500);
  // The client size, which the next window is made with.
  EXPECT_EQ(record->Common.nWinSizeType, 0);
  EXPECT_EQ(record->Common.nWinSizeCX, 500);
  EXPECT_EQ(record->Common.nWinSizeCY, 300);
  platform::SendMessage(frame, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(500, 300));
  EXPECT_EQ(record->Common.nWinSizeType, 2);
  EXPECT_TRUE(w->IsMaximized());
  // A minimised window leaves what was kept.
  platform::SendMessage(frame, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(record->Common.nWinSizeType, 2);
}

}  // namespace

namespace {

std::string StatusText(HWND bar, int part) {
  const LRESULT length = platform::SendMessage(bar, SB_GETTEXTLENGTH, static_cast<WPARAM>(part), 0);
  std::string text(LOWORD(static_cast<uintptr_t>(length)) + 1, '\0');
  platform::SendMessage(bar, SB_GETTEXT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(static_cast<uintptr_t>(length)));
  return text;
}

TEST_F(EditWndBarsTest, MenuSelectionShowsTheCommandsKeysUntilTheMenuCloses) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  record->nKeyAssignCount = 2;
  CShareData::SetKeyAssignment(*record, 0, 'S', "S", {0, 0, 30103, 0, 0, 0, 0, 0});
  CShareData::SetKeyAssignment(*record, 1, 0x70, "F1", {30103, 0, 0, 0, 0, 0, 0, 0});
  platform::SendMessage(w->Window(), WM_MENUSELECT, MAKEWPARAM(30103, 0), 0);
  EXPECT_EQ(StatusText(w->StatusBar(), 0), "F1 , Ctrl+S");
  platform::SendMessage(w->Window(), WM_MENUSELECT, MAKEWPARAM(30104, 0), 0);
  EXPECT_EQ(StatusText(w->StatusBar(), 0), "");
  platform::SendMessage(w->Window(), WM_MENUSELECT, MAKEWPARAM(30103, 0), 0);
  platform::SendMessage(w->Window(), WM_EXITMENULOOP, 0, 0);
  EXPECT_EQ(StatusText(w->StatusBar(), 0), "");
}

}  // namespace

namespace {

// Each bar command on and off again: the setting follows each step, the document gives the bar's
// room back and takes it again, and the window ends laid out as it began.
TEST_F(EditWndBarsTest, BarsToggledOffAndOnKeepTheirSettingsAndTheLayout) {
  record->Common.bDispTOOLBAR = 1;
  record->Common.bDispSTATUSBAR = 1;
  record->Common.bDispFUNCKEYWND = 1;
  record->Common.nFUNCKEYWND_Place = 1;
  record->Common.bDispTabWnd = 1;
  record->Common.bDispTabWndMultiWin = 1;
  CEditWnd* w = MakeWithBars();
  ASSERT_NE(w, nullptr);
  const HWND frame = w->Window();
  const auto document = [&] { return InFrame(frame, w->Document().Ports().splitter->Window()); };
  const auto layout = [&] {
    std::string text;
    for (const HWND part : {w->ToolBar(), funcKeyBar->Window(), tabBar->Window(), w->StatusBar(),
                            w->Document().Ports().splitter->Window()}) {
      const RECT r = InFrame(frame, part);
      text += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
              std::to_string(r.bottom) + ";";
    }
    return text;
  };
  const std::string before = layout();
  const RECT fullDocument = document();
  const struct {
    const char* name;
    int command;
    int32_t CommonSettings::*setting;
    int height;
  } cases[] = {
      {"ShowToolbar", 31100, &CommonSettings::bDispTOOLBAR, 2 * platform::kToolbarMargin + platform::kButtonHeight},
      {"ShowFunckey", 31101, &CommonSettings::bDispFUNCKEYWND, 30},
      {"ShowStatusbar", 31102, &CommonSettings::bDispSTATUSBAR, platform::kStatusBarHeight},
      {"ShowTab", 31103, &CommonSettings::bDispTabWnd, 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    w->Document().HandleCommand(c.command);
    Pump();
    EXPECT_EQ(record->Common.*c.setting, 0);
    const RECT without = document();
    EXPECT_EQ((without.bottom - without.top) - (fullDocument.bottom - fullDocument.top), c.height);
    w->Document().HandleCommand(c.command);
    Pump();
    EXPECT_EQ(record->Common.*c.setting, 1);
    EXPECT_EQ(layout(), before);
  }
  // The function keys at the bottom carry the grip again once the status bar is gone.
  w->Document().HandleCommand(31102);
  EXPECT_TRUE(funcKeyBar->HasSizeGrip());
}

// The function-key and tab bars are not built yet: their places hold bars that never open. The
// commands still keep the settings, and the document keeps its room.
TEST_F(EditWndBarsTest, BarsThatCannotOpenYetStillKeepTheirSettings) {
  record->Common.bDispFUNCKEYWND = 0;
  record->Common.bDispTabWnd = 0;
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const HWND splitter = w->Document().Ports().splitter->Window();
  const RECT before = InFrame(w->Window(), splitter);
  for (const int command : {31101, 31103}) {
    SCOPED_TRACE(command);
    int32_t& setting = command == 31101 ? record->Common.bDispFUNCKEYWND : record->Common.bDispTabWnd;
    w->Document().HandleCommand(command);
    EXPECT_EQ(setting, 1);
    w->Document().HandleCommand(command);
    EXPECT_EQ(setting, 0);
    w->Document().HandleCommand(command);
    EXPECT_EQ(setting, 1);
    Pump();
    const RECT after = InFrame(w->Window(), splitter);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
  }
}

}  // namespace
