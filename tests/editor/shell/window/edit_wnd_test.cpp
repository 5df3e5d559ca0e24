// The edit window: its start (size, place, show state, the window limit), the other processes'
// requests, closing among several windows, its end, and dropped files.
#include "editor/shell/window/edit_wnd.h"

#include <cstring>

#include "edit_wnd_fixture.h"
#include "editor/shell/commands/menu_drawer.h"
#include "editor/shell/process/command_line.h"
#include "platform/dialog.h"
#include "platform/ipc.h"
#include "platform/drag_drop.h"
#include "platform/icon_file.h"
#include "platform/monitor.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"
#include "platform/window_tree.h"
#include "editor/view/pane/edit_view.h"
#include "editor/foundation/ui/system_utils.h"

namespace {

using EditWndTest = EditWndFixture;

RecentFileRecord Requested(const char* commandLine) {
  CCommandLineOptions options;
  options.Parse(commandLine, HostCommandLineSystem());
  return options.m_fi;
}

RECT WorkArea() {
  RECT work{};
  platform::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

TEST_F(EditWndTest, CreateMakesTheListedWindowWithItsBarsAndMenu) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  HWND hwnd = w->Window();
  EXPECT_TRUE(platform::IsWindowVisible(hwnd));
  EXPECT_EQ(record->nEditWindowCount, 1);
  EXPECT_EQ(record->EditWindowList[0].hwnd, w->WindowId());
  EXPECT_NE(w->ToolBar(), nullptr);
  EXPECT_NE(w->StatusBar(), nullptr);
  EXPECT_NE(w->Accelerators(), nullptr);
  HMENU bar = platform::GetMenu(hwnd);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), kEditMenuPopupCount);
  ASSERT_NE(w->Document().Ports().splitter, nullptr);
  EXPECT_EQ(w->Document().Ports().frame, static_cast<IDocFrame*>(w));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EditWndTest, StartRectangleTakesTheRequestOverTheSavedSize) {
  // The command line keeps the numbers given less one, and the window takes them as they are.
  const RECT work{0, 0, 1600, 1200};
  record->Common.bSaveWindowSize = 1;
  record->Common.nWinSizeCX = 500;
  record->Common.nWinSizeCY = 400;
  record->Common.nSaveWindowPos = 1;
  record->Common.nWinPosX = 30;
  record->Common.nWinPosY = 40;
  struct Case {
    const char* name;
    const char* commandLine;
    EditWindowStart want;
  };
  const Case cases[] = {
      {"saved", "", {30, 40, 500, 400, false}},
      {"SX=800 is 799 wide", "-SX=800", {30, 40, 799, 400, false}},
      {"place and size asked", "-WX=-5 -WY=7 -SX=1 -SY=2", {-5, 7, 1600 * 2 / 3, 1, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EditWindowStart got = EditWindowStartRect(*record, Requested(c.commandLine), work);
    EXPECT_EQ(got.x, c.want.x);
    EXPECT_EQ(got.y, c.want.y);
    EXPECT_EQ(got.cx, c.want.cx);
    EXPECT_EQ(got.cy, c.want.cy);
    EXPECT_EQ(got.tabPlacement, c.want.tabPlacement);
  }
  record->Common.bDispTabWnd = 1;
  record->Common.bDispTabWndMultiWin = 0;
  record->wpSavedEditWindow.length = sizeof(WINDOWPLACEMENT);
  record->wpSavedEditWindow.rcNormalPosition = RECT{10, 20, 310, 220};
  const EditWindowStart tab = EditWindowStartRect(*record, Requested("-SX=800"), RECT{100, 50, 1600, 1200});
  EXPECT_TRUE(tab.tabPlacement);
  EXPECT_EQ(tab.x, 110);
  EXPECT_EQ(tab.y, 70);
  EXPECT_EQ(tab.cx, 300);
  EXPECT_EQ(tab.cy, 200);
}

TEST_F(EditWndTest, RequestedSizeIsTheWindowsClientSize) {
  CEditWnd* w = Make(nullptr, Requested("-WX=0 -WY=0 -SX=600 -SY=300"));
  ASSERT_NE(w, nullptr);
  const RECT client = Client(w->Window());
  EXPECT_EQ(client.right - client.left, 599);
  EXPECT_EQ(client.bottom - client.top, 299);
}

TEST_F(EditWndTest, ShowStateAtStartFollowsTheSavedSizeType) {
  struct Case {
    const char* name;
    int saveWindowSize;
    int sizeType;
    bool minimized;
  };
  const Case cases[] = {{"saved minimised", 2, 1, true},
                        {"size saved only", 1, 1, false},
                        {"nothing saved", 0, 1, false},
                        {"saved restored", 2, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->Common.bSaveWindowSize = c.saveWindowSize;
    record->Common.nWinSizeType = c.sizeType;
    CEditWnd* w = Make();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(platform::IsIconic(w->Window()) != 0, c.minimized);
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, WindowIsKeptInsideTheWorkArea) {
  const RECT work = WorkArea();
  const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
  ASSERT_GT(workWidth, 300);
  ASSERT_GT(workHeight, 300);
  struct Case {
    const char* name;
    std::string commandLine;
    bool cut;
  };
  const Case cases[] = {
      {"off the bottom right", "-WX=" + std::to_string(work.right - 50) + " -WY=" + std::to_string(work.bottom - 50) +
                                   " -SX=201 -SY=151",
       false},
      {"off the top left", "-WX=" + std::to_string(work.left - 500) + " -WY=" + std::to_string(work.top - 500) +
                               " -SX=201 -SY=151",
       false},
      {"larger than the work area", "-WX=0 -WY=0 -SX=" + std::to_string(workWidth + 401) +
                                        " -SY=" + std::to_string(workHeight + 301),
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CEditWnd* w = Make(nullptr, Requested(c.commandLine.c_str()));
    ASSERT_NE(w, nullptr);
    const RECT outer = Outer(w->Window());
    EXPECT_GE(outer.left, work.left);
    EXPECT_GE(outer.top, work.top);
    EXPECT_LE(outer.right, work.right);
    EXPECT_LE(outer.bottom, work.bottom);
    if (c.cut) {
      EXPECT_EQ(outer.right - outer.left, workWidth);
      EXPECT_EQ(outer.bottom - outer.top, workHeight);
    } else {
      const RECT client = Client(w->Window());
      EXPECT_EQ(client.right - client.left, 200);
      EXPECT_EQ(client.bottom - client.top, 150);
    }
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, TheWindowLimitRefusesTheWindowWithItsMessage) {
  record->nEditWindowCount = kEditWindowLimit;
  EXPECT_EQ(Make(), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], std::string("編集ウィンドウ数の上限は256です。\nこれ以上は同時に開けません。"_sj));
  record->nEditWindowCount = 0;
}

TEST_F(EditWndTest, LineRequestCopiesAtMost32000BytesAndAnswersTheFullLength) {
  std::string line(40000, ' ');
  for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<char>('a' + i % 26);
  const std::string path = File("long.txt", line + "\r\nnext\r\n");
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  std::memset(record->szExchangeText, 0, sizeof record->szExchangeText);
  EXPECT_EQ(platform::SendMessage(w->Window(), MYWM_GETLINEDATA, 0, 0), 40002);
  EXPECT_EQ(std::memcmp(record->szExchangeText, line.data(), kExchangeTextSize), 0);
  EXPECT_EQ(platform::SendMessage(w->Window(), MYWM_GETLINEDATA, 1, 0), 6);
  EXPECT_EQ(std::string(record->szExchangeText, 6), "next\r\n");
  EXPECT_EQ(platform::SendMessage(w->Window(), MYWM_GETLINEDATA, 2, 0), 0);
  EXPECT_EQ(platform::SendMessage(w->Window(), MYWM_GETLINEDATA, static_cast<WPARAM>(-1), 0), 0);
}

TEST_F(EditWndTest, CaretRequestsPlaceAndReportTheCaretInDocumentPositions) {
  const std::string path = File("caret.txt", "zero\r\none\r\ntwo\r\n");
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  struct Case {
    const char* name;
    int32_t column, line;
    int32_t wantColumn, wantLine;
  };
  const Case cases[] = {{"inside", 2, 1, 2, 1}, {"beyond the end goes to the end", 0, 1000, 0, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t to[2] = {c.column, c.line};
    std::memcpy(record->szExchangeText, to, sizeof to);
    platform::SendMessage(w->Window(), MYWM_SETCARETPOS, 0, 0);
    std::memset(record->szExchangeText, 0x55, 8);
    platform::SendMessage(w->Window(), MYWM_GETCARETPOS, 0, 0);
    int32_t got[2];
    std::memcpy(got, record->szExchangeText, sizeof got);
    EXPECT_EQ(got[0], c.wantColumn);
    EXPECT_EQ(got[1], c.wantLine);
  }
}

TEST_F(EditWndTest, CaretRequestKeepsASixthOfThePanesRowsAroundTheCaret) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line\r\n";
  const std::string path = File("rows.txt", text);
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  auto* view = dynamic_cast<CEditView*>(w->Document().Ports().panes[0]);
  ASSERT_NE(view, nullptr);
  const int rows = view->m_nViewRowNum;
  ASSERT_GE(rows, 12);
  const int margin = rows / 6;
  struct Case {
    const char* name;
    int32_t line;
    int wantTop;
  };
  // Going down the caret stops the margin and two rows above the bottom; going up, the margin
  // below the top.
  const Case cases[] = {{"down", 150, 150 + margin + 2 - rows}, {"up", 40, 40 - margin}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t to[2] = {3, c.line};
    std::memcpy(record->szExchangeText, to, sizeof to);
    platform::SendMessage(w->Window(), MYWM_SETCARETPOS, 0, 0);
    EXPECT_EQ(view->ViewTopLine(), c.wantTop);
    EXPECT_EQ(view->Caret().y, c.line);
    EXPECT_EQ(view->m_nCaretPosX_Prev, 3);
  }
}

TEST_F(EditWndTest, AddedTextGoesAtTheEndWithTheCaretAfterIt) {
  const std::string path = File("added.txt", "one\r\n");
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  std::snprintf(record->szExchangeText, kExchangeTextSize, "%s", "two\r\n\x95\x5C");
  platform::SendMessage(w->Window(), MYWM_ADDSTRING, 0, 0);
  CEditDoc& doc = w->Document();
  ASSERT_EQ(doc.m_cDocLineMgr.GetLineCount(), 3);
  int length = 0;
  const char* last = doc.m_cDocLineMgr.GetLine(2)->GetText(&length);
  EXPECT_EQ(std::string(last, static_cast<size_t>(length)), "\x95\x5C");
  const POINT caret = doc.Ports().panes[static_cast<size_t>(doc.GetActivePane())]->Caret();
  EXPECT_EQ(caret.y, 2);
  EXPECT_EQ(caret.x, 2);
}

TEST_F(EditWndTest, EveryCloseRequestAsksTheDocumentAndAnswersItsWay) {
  struct Case {
    const char* name;
    UINT message;
    int answer;  // to the save question
    LRESULT result;
    bool closed;
  };
  const Case cases[] = {
      {"close refused", WM_CLOSE, IDCANCEL, 0, false},
      {"close agreed", WM_CLOSE, IDNO, 0, true},
      {"request refused", MYWM_CLOSE, IDCANCEL, 0, false},
      {"request agreed", MYWM_CLOSE, IDNO, 1, true},
      {"session end refused", WM_QUERYENDSESSION, IDCANCEL, 0, false},
      {"session end agreed", WM_QUERYENDSESSION, IDNO, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int asked = 0;
    const platform::MessageBoxHook before = platform::SetMessageBoxHook([&](const platform::MessageBoxRequest&) {
      ++asked;
      return c.answer;
    });
    CEditWnd* w = Make();
    ASSERT_NE(w, nullptr);
    w->Document().SetModified(true, false);
    const HWND hwnd = w->Window();
    EXPECT_EQ(platform::SendMessage(hwnd, c.message, 0, 0), c.result);
    Pump();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(platform::IsWindow(hwnd) != 0, !c.closed);
    EXPECT_EQ(record->nEditWindowCount, c.closed ? 0 : 1);
    platform::SetMessageBoxHook(before);
    w->Document().SetModified(false, false);
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, MovingAndClosingKeepThePlacementAndThePositionWhenAsked) {
  struct Case {
    const char* name;
    int savePos;
    bool close;  // else a move
    bool keepsPosition;
  };
  const Case cases[] = {{"moved, position kept", 1, false, true},
                        {"moved, position not kept", 0, false, false},
                        {"closed, position kept", 1, true, true},
                        {"closed, position not kept", 0, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->Common.nSaveWindowPos = c.savePos;
    CEditWnd* w = Make();
    ASSERT_NE(w, nullptr);
    const HWND hwnd = w->Window();
    const auto forget = [&] {
      record->wpSavedEditWindow = WINDOWPLACEMENT{};
      record->wpSavedEditWindow.length = 0;
      record->Common.nWinPosX = record->Common.nWinPosY = -1;
    };
    forget();
    // Moved as the window manager moves it: the window hears of it by itself.
    platform::SetWindowPos(hwnd, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    const RECT outer = Outer(hwnd);
    ASSERT_EQ(outer.left, 40);
    if (c.close) {
      forget();
      platform::SendMessage(hwnd, MYWM_CLOSE, 0, 0);
    }
    EXPECT_EQ(record->wpSavedEditWindow.length, sizeof(WINDOWPLACEMENT));
    EXPECT_EQ(record->wpSavedEditWindow.rcNormalPosition.left, outer.left);
    EXPECT_EQ(record->wpSavedEditWindow.rcNormalPosition.top, outer.top);
    EXPECT_EQ(record->Common.nWinPosX, c.keepsPosition ? outer.left : -1);
    EXPECT_EQ(record->Common.nWinPosY, c.keepsPosition ? outer.top : -1);
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, ActivePaneRequestTakesTheFirstOrTheLastVisiblePane) {
  struct Case {
    const char* name;
    WPARAM splitX;
    LPARAM splitY;
    int last;
  };
  const Case cases[] = {{"unsplit", 0, 0, 0},
                        {"upper and lower", 0, 100, 2},
                        {"left and right", 100, 0, 1},
                        {"four panes", 100, 100, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CEditWnd* w = Make();
    ASSERT_NE(w, nullptr);
    const IDocSplitter* splitter = w->Document().Ports().splitter;
    ASSERT_NE(splitter, nullptr);
    if (c.splitX || c.splitY) platform::SendMessage(splitter->Window(), MYWM_DOSPLIT, c.splitX, c.splitY);
    Pump();
    platform::SendMessage(w->Window(), MYWM_SETACTIVEPANE, static_cast<WPARAM>(-1), 1);
    EXPECT_EQ(w->Document().GetActivePane(), c.last);
    platform::SendMessage(w->Window(), MYWM_SETACTIVEPANE, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(w->Document().GetActivePane(), 0);
    // Any other request changes nothing.
    platform::SendMessage(w->Window(), MYWM_SETACTIVEPANE, 2, 1);
    EXPECT_EQ(w->Document().GetActivePane(), 0);
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, FileInfoRequestFillsTheExchangeRecord) {
  const std::string path = File("info.txt", "x\r\n");
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  std::memset(&record->ExchangeFileInfo, 0, sizeof record->ExchangeFileInfo);
  platform::SendMessage(w->Window(), MYWM_GETFILEINFO, 0, 0);
  EXPECT_EQ(std::string(record->ExchangeFileInfo.szPath), path);
}

TEST_F(EditWndTest, ClosingOneOfSeveralShowsTheNextListedWindowOnlyWhenHidden) {
  CEditWnd* first = Make();
  CEditWnd* second = Make();
  CEditWnd* third = Make();
  ASSERT_TRUE(first && second && third);
  // The list holds the most recently made first: third, second, first.
  ASSERT_EQ(record->EditWindowList[0].hwnd, third->WindowId());
  platform::ShowWindow(second->Window(), SW_HIDE);
  Pump();
  EXPECT_EQ(platform::SendMessage(third->Window(), MYWM_CLOSE, 0, 0), 1);
  Pump();
  EXPECT_FALSE(platform::IsWindow(third->Window()));
  EXPECT_TRUE(platform::IsWindowVisible(second->Window()));
  EXPECT_EQ(record->nEditWindowCount, 2);
  // The last listed window wraps to the first listed one.
  ASSERT_EQ(record->EditWindowList[1].hwnd, first->WindowId());
  platform::ShowWindow(second->Window(), SW_HIDE);
  Pump();
  EXPECT_EQ(platform::SendMessage(first->Window(), MYWM_CLOSE, 0, 0), 1);
  Pump();
  EXPECT_TRUE(platform::IsWindowVisible(second->Window()));
  // A window that is shown is left as it is.
  CEditWnd* fourth = Make();
  ASSERT_NE(fourth, nullptr);
  platform::ShowWindow(second->Window(), SW_SHOWMINIMIZED);
  Pump();
  EXPECT_EQ(platform::SendMessage(fourth->Window(), MYWM_CLOSE, 0, 0), 1);
  Pump();
  EXPECT_TRUE(platform::IsIconic(second->Window()));
}

TEST_F(EditWndTest, DestroyUnlistsReleasesTheOutputRoleTellsTheResidentAndQuits) {
  const HWND resident = platform::CreateWindowEx(0, platform_test::RecordingClass(), "resident", 0, 0, 0, 10, 10,
                                                 nullptr, nullptr, nullptr, nullptr);
  const EditWindowId residentId = platform::ipc::RegisterWindow(resident, "TrayWindow");
  ASSERT_NE(residentId, 0u);
  CEditWnd* w = Make(nullptr, kEmptyRecentFileRecord, residentId);
  ASSERT_NE(w, nullptr);
  const HWND hwnd = w->Window();
  w->SetAsOutputWindow();
  ASSERT_EQ(record->hwndOutput, w->WindowId());
  platform_test::SeenMessages().clear();
  platform::DestroyWindow(hwnd);
  EXPECT_EQ(w->Window(), nullptr);
  EXPECT_EQ(record->hwndOutput, 0u);
  EXPECT_EQ(record->nEditWindowCount, 0);
  bool quit = false, notified = false;
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quit = true;
    if (msg.hwnd == resident && msg.message == MYWM_NOTIFYCLOSE) notified = true;
    platform::DispatchMessage(&msg);
  }
  EXPECT_TRUE(quit);
  EXPECT_TRUE(notified);
  platform::ipc::UnregisterWindow(residentId);
  platform::DestroyWindow(resident);
}

TEST_F(EditWndTest, DroppedFilesLoadHereStartNewWindowsOrActivateTheirWindow) {
  const std::string a = File("a.txt", "A\r\n"), b = File("b.txt", "B\r\n"), c = File("c d.txt", "C\r\n");
  struct Case {
    const char* name;
    bool dropAndClose;
    bool startModified;
    std::string wantHere;
    std::vector<std::string> wantLaunched;
  };
  const Case cases[] = {
      {"empty window takes the first", false, false, a, {b, "\"" + c + "\""}},
      {"used window starts a process per file", false, true, "", {a, b, "\"" + c + "\""}},
      {"drop and close takes only the first", true, true, a, {}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    record->Common.bDropFileAndClose = t.dropAndClose;
    launcher.launched.clear();
    boxes.clear();
    CEditWnd* w = Make();
    ASSERT_NE(w, nullptr);
    if (t.startModified) w->Document().m_bIsModified = true;
    // The close question of a modified document is answered "no" (do not save).
    platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
      boxes.push_back(request.text);
      return IDNO;
    });
    w->OnDropFiles({a, b, c});
    EXPECT_EQ(std::string(w->Document().m_szFilePath), t.wantHere);
    std::vector<std::string> launched;
    for (const auto& l : launcher.launched) {
      launched.push_back(l.text);
      EXPECT_EQ(l.code, 99);
      EXPECT_FALSE(l.readOnly);
    }
    EXPECT_EQ(launched, t.wantLaunched);
    w->Document().m_bIsModified = false;
    windows.clear();
    Pump();
  }
}

TEST_F(EditWndTest, DroppingAFileAnotherWindowShowsOpensNothing) {
  const std::string a = File("shown.txt", "A\r\n");
  CEditWnd* owner = Make(a.c_str());
  CEditWnd* empty = Make();
  ASSERT_TRUE(owner && empty);
  platform::ShowWindow(owner->Window(), SW_HIDE);
  Pump();
  empty->OnDropFiles({a});
  Pump();
  EXPECT_EQ(empty->Document().m_szFilePath[0], '\0');
  EXPECT_TRUE(launcher.launched.empty());
  EXPECT_TRUE(platform::IsWindowVisible(owner->Window()));
}

}  // namespace

namespace {

TEST_F(EditWndTest, AppIconsAreTheDrawnResource230WithoutAFileBesideTheProgram) {
  HICON big = nullptr, small = nullptr;
  CEditWnd::LoadAppIcons(&big, &small);
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  SIZE size{};
  ASSERT_TRUE(platform::GetIconSize(big, &size));
  EXPECT_EQ(size.cx, 32);
  EXPECT_EQ(size.cy, 32);
  // A file name the platform knows no type of keeps the application's icons.
  HICON typeBig = nullptr, typeSmall = nullptr;
  CEditWnd::LoadFileTypeIcons(nullptr, &typeBig, &typeSmall);
  EXPECT_EQ(typeBig, big);
  EXPECT_EQ(typeSmall, small);
}

}  // namespace

namespace {

int AcceleratorCount(const CEditWnd& w) { return CopyAcceleratorTable(w.Accelerators(), nullptr, 0); }

TEST_F(EditWndTest, AcceleratorsAreBuiltAtCreationAndAgainOnSettingsChange) {
  record->nKeyAssignCount = 1;
  CShareData::SetKeyAssignment(*record, 0, 'S', "S", {0, 0, 30103, 0, 0, 0, 0, 0});
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const int before = AcceleratorCount(*w);
  EXPECT_GT(before, 0);
  record->nKeyAssignCount = 2;
  CShareData::SetKeyAssignment(*record, 1, 'T', "T", {0, 30104, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(AcceleratorCount(*w), before);
  platform::SendMessage(w->Window(), MYWM_CHANGESETTING, 0, 0);
  EXPECT_GT(AcceleratorCount(*w), before);
  EXPECT_EQ(record->hSharedAccel, 0u);
}

TEST_F(EditWndTest, HelpOnAMenuItemOpensTheCommandsTopic) {
  std::vector<platform::WinHelpRequest> asked;
  const platform::WinHelpHook previous = platform::SetWinHelpHook([&](const platform::WinHelpRequest& request) {
    asked.push_back(request);
    return 1;
  });
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  struct Case {
    const char* name;
    int contextType;
    int command;
    bool asks;
  };
  const int withTopic = 30103;
  ASSERT_NE(CommandToHelpId(withTopic), 0);
  const Case cases[] = {{"menu item with a topic", kHelpOnMenuItem, withTopic, true},
                        {"menu item without a topic", kHelpOnMenuItem, 0, false},
                        {"not a menu item", HELPINFO_WINDOW, withTopic, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    asked.clear();
    HELPINFO info;
    info.iContextType = c.contextType;
    info.iCtrlId = c.command;
    EXPECT_EQ(platform::SendMessage(w->Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), 1);
    ASSERT_EQ(asked.size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(asked[0].command, HELP_CONTEXT);
      EXPECT_EQ(asked[0].data, static_cast<uintptr_t>(CommandToHelpId(withTopic)));
    }
  }
  platform::SetWinHelpHook(previous);
}

TEST_F(EditWndTest, TheLoopEndsWithTheWindowAndTheSearchBoxEnterKeepsItsText) {
  record->Common.nTBB[record->Common.nToolBarButtonNum++] = CMenuDrawer(record.get()).FindCatalogueEntry(kSearchBoxCommand);
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  ASSERT_NE(w->SearchBox(), nullptr);
  platform::SetWindowText(w->SearchBox(), "needle");
  platform::PostMessage(w->SearchBox(), WM_KEYDOWN, 0x0D, 1);
  platform::PostMessage(w->Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(w->RunMessageLoop(), std::nullopt) << "the window's own end is no one else's quit";
  EXPECT_EQ(w->Window(), nullptr);
  ASSERT_GE(record->nSearchKeyCount, 1);
  EXPECT_STREQ(record->szSearchKeys[0], "needle");
}

// The frame keeps its active caption while what takes the activation is its own: a window inside it
// or a dialog it owns; anything else makes it inactive.
TEST_F(EditWndTest, TheFrameStaysActiveWhileItsOwnDialogHasTheActivation) {
  std::snprintf(record->Common.szWinCaptionActive, sizeof record->Common.szWinCaptionActive, "%s", "on");
  std::snprintf(record->Common.szWinCaptionInactive, sizeof record->Common.szWinCaptionInactive, "%s", "off");
  ASSERT_TRUE(platform::RegisterDialogTemplate("EditWndOwnedDialog", [](platform::DialogBuilder& b) {
    b.Caption("owned");
    b.PushButton(IDOK, "OK");
  }));
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  CEditWnd* other = Make();
  ASSERT_NE(other, nullptr);
  const HWND frame = w->Window();
  const HWND ownDialog = platform::CreateDialogParam(nullptr, "EditWndOwnedDialog", frame, nullptr, 0);
  const HWND othersDialog = platform::CreateDialogParam(nullptr, "EditWndOwnedDialog", other->Window(), nullptr, 0);
  ASSERT_NE(ownDialog, nullptr);
  ASSERT_NE(othersDialog, nullptr);
  const HWND nestedDialog = platform::CreateDialogParam(nullptr, "EditWndOwnedDialog", ownDialog, nullptr, 0);
  ASSERT_NE(nestedDialog, nullptr);
  ASSERT_EQ(platform::GetWindow(nestedDialog, platform::GW_OWNER), ownDialog);
  struct Case {
    const char* name;
    WORD state;
    HWND taker;  // lParam: the window taking the activation
    const char* caption;
  } cases[] = {
      {"activated", WA_ACTIVE, nullptr, "on"},
      {"a dialog it owns takes it", WA_INACTIVE, ownDialog, "on"},
      {"a pane inside it takes it", WA_INACTIVE, w->Document().Ports().panes[0]->Window(), "on"},
      {"another window takes it", WA_INACTIVE, other->Window(), "off"},
      {"another window's dialog takes it", WA_INACTIVE, othersDialog, "off"},
      {"a dialog its own dialog owns takes it", WA_INACTIVE, nestedDialog, "off"},
      {"none of ours takes it", WA_INACTIVE, nullptr, "off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::SetWindowText(frame, "-");
    platform::SendMessage(frame, WM_ACTIVATE, MAKEWPARAM(c.state, 0), reinterpret_cast<LPARAM>(c.taker));
    EXPECT_EQ(platform::GetWindowText(frame), c.caption);
  }
  platform::DestroyWindow(nestedDialog);
  platform::DestroyWindow(ownDialog);
  platform::DestroyWindow(othersDialog);
  Pump();
}

// In debug mode the game shares the process: a quit it asks for while the window's loop runs is taken
// by that loop. The window closes as from its close button (unsaved changes asked about; a cancel
// keeps it open until the user closes it) and the request comes back out with its code.
TEST_F(EditWndTest, AQuitOfAnotherInTheProcessClosesTheWindowAsItsCloseButtonDoes) {
  struct Case {
    const char* name;
    std::vector<int> answers;  // to the unsaved-changes question, in turn
  } cases[] = {
      {"discarded at the question", {IDNO}},
      {"cancelled, then discarded at the user's own close", {IDCANCEL, IDNO}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = File("quit.txt", "kept\r\n");
    CEditWnd* w = Make(path.c_str());
    ASSERT_NE(w, nullptr);
    const HWND hwnd = w->Window();
    w->Document().SetModified(true, false);
    std::vector<bool> standingWhenAsked;
    size_t asked = 0;
    const platform::MessageBoxHook before = platform::SetMessageBoxHook([&](const platform::MessageBoxRequest& request) {
      boxes.push_back(request.text);
      standingWhenAsked.push_back(platform::IsWindow(hwnd) && platform::IsWindowVisible(hwnd));
      const int answer = asked < c.answers.size() ? c.answers[asked] : IDCANCEL;
      ++asked;
      // The user closes the window later, by hand.
      if (answer == IDCANCEL) platform::PostMessage(hwnd, WM_CLOSE, 0, 0);
      return answer;
    });
    platform::PostQuitMessage(3);
    const std::optional<int> othersQuit = w->RunMessageLoop();
    platform::SetMessageBoxHook(before);
    EXPECT_EQ(othersQuit, std::optional<int>(3));
    EXPECT_EQ(w->Window(), nullptr);
    EXPECT_FALSE(platform::IsWindow(hwnd));
    EXPECT_EQ(asked, c.answers.size());
    EXPECT_EQ(standingWhenAsked, std::vector<bool>(c.answers.size(), true));
    EXPECT_EQ(record->nEditWindowCount, 0);
    // The window's own quit is all that is left: the caller takes it before posting the other again.
    MSG msg;
    bool ownQuit = false;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ownQuit = msg.wParam == 0;
        break;
      }
      platform::DispatchMessage(&msg);
    }
    EXPECT_TRUE(ownQuit);
    windows.clear();
    boxes.clear();
  }
}

// The game's quit can still wait behind a message that ends the window (there is one quit at a
// time, and the window's own end asks for one): the window's end must not swallow the game's.
TEST_F(EditWndTest, AQuitOfAnotherStillWaitingWhenTheWindowEndsIsReturned) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  const HWND hwnd = w->Window();
  platform::PostMessage(hwnd, WM_CLOSE, 0, 0);
  platform::PostQuitMessage(3);
  EXPECT_EQ(w->RunMessageLoop(), std::optional<int>(3));
  EXPECT_FALSE(platform::IsWindow(hwnd));
  EXPECT_TRUE(boxes.empty()) << "an unchanged document closes without a question";
  // One quit is left, the window's own, for the caller to take before it asks again for the game's.
  EXPECT_TRUE(platform::PendingQuitCode().has_value());
  MSG msg;
  EXPECT_TRUE(platform::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt);
}

}  // namespace

namespace {

TEST_F(EditWndTest, FilesDraggedOntoThePaneReachTheWindowAsADrop) {
  const std::string a = File("drag a.txt", "A\r\n"), b = File("drag-b.txt", "B\r\n");
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  platform::ForeignDrag drag;
  drag.files = {a, b};
  const HWND pane = w->Document().Ports().panes[0]->Window();
  EXPECT_EQ(platform::DropFromOutside(pane, POINT{20, 20}, drag), DROPEFFECT_COPY);
  Pump();
  EXPECT_EQ(std::string(w->Document().m_szFilePath), a);
  ASSERT_EQ(launcher.launched.size(), 1u);
  EXPECT_EQ(launcher.launched[0].text, b);
  // Text dragged onto the pane is still the pane's.
  platform::ForeignDrag text;
  text.utf8Text = "typed";
  platform::DropFromOutside(pane, POINT{20, 20}, text);
  Pump();
  EXPECT_EQ(launcher.launched.size(), 1u);
}

}  // namespace

namespace {

TEST_F(EditWndTest, ExitAllClosesEveryWindowThenEndsTheResident) {
  const HWND resident = platform::CreateWindowEx(0, platform_test::RecordingClass(), "resident", 0, 0, 0, 10, 10,
                                                 nullptr, nullptr, nullptr, nullptr);
  const EditWindowId residentId = platform::ipc::RegisterWindow(resident, "TrayWindow");
  record->hwndResident = residentId;
  record->Common.bExitConfirm = 0;
  CEditWnd* first = Make();
  CEditWnd* second = Make();
  ASSERT_TRUE(first && second);
  platform_test::SeenMessages().clear();
  platform::SendMessage(first->Window(), WM_COMMAND, MAKEWPARAM(30195, 0), 0);
  Pump();
  EXPECT_EQ(first->Window(), nullptr);
  EXPECT_EQ(second->Window(), nullptr);
  EXPECT_EQ(record->nEditWindowCount, 0);
  EXPECT_FALSE(platform_test::SeenBy(resident, [](UINT m) { return m == WM_CLOSE; }).empty());
  record->hwndResident = 0;
  platform::ipc::UnregisterWindow(residentId);
  if (platform::IsWindow(resident)) platform::DestroyWindow(resident);
}

}  // namespace

namespace {

TEST_F(EditWndTest, WindowListEntryTakesTextsCutOnWholeCharacters) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  std::string longPath = "/";
  while (longPath.size() < 258) longPath += "a";
  longPath += "漢字"_sj;  // the first character would end at byte 260
  w->UpdateWindowListEntry(longPath.c_str(), nullptr, true);
  const EditWindowEntry& entry = record->EditWindowList[0];
  ASSERT_EQ(entry.hwnd, w->WindowId());
  EXPECT_EQ(std::string(entry.szFilePath), longPath.substr(0, 258));
  EXPECT_EQ(entry.szTabCaption[0], '\0');
  EXPECT_EQ(entry.bGrepWindow, 1);
}

TEST_F(EditWndTest, TopMostModesToggleSetAndClear) {
  CEditWnd* w = Make();
  ASSERT_NE(w, nullptr);
  struct Step {
    int mode;
    bool topmost;
  };
  const Step steps[] = {{0, true}, {0, false}, {1, true}, {1, true}, {7, true}, {2, false}, {2, false}, {-1, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.mode);
    w->SetTopMost(s.mode);
    EXPECT_EQ(w->IsTopMost(), s.topmost);
  }
}

}  // namespace
