// The document without its windows: the close question, clearing, cycling through edit windows,
// file names and icons.
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "../beep_capture.h"
#include "../message_box_capture.h"
#include "doc_fixture.h"
#include "editor/foundation/document/edit_doc.h"
#include "platform/gui_app.h"
#include "platform/icon_file.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace {

using DocumentTest = DocFixture;

TEST_F(DocumentTest, QueryCloseAsksOnlyWhenChangesCouldBeLost) {
  const std::string asked = "/p/a.txt\nは変更されています。 閉じる前に保存しますか？"_sj;
  const std::string askedUntitled = "（無題）\nは変更されています。 閉じる前に保存しますか？"_sj;
  const std::string askedReadOnly =
      "/p/a.txt\nは変更されています。 閉じる前に保存しますか？\n\n"
      "読み取り専用で開いているので、名前を付けて保存すればいいと思います。\n"_sj;
  const std::string grepBusy = "Grepの処理中です。\n"_sj;
  struct Case {
    const char* name;
    bool modified, readOnly, untitled, grepWindow, grepExitConfirm, outputWindow, grepRunning;
    int answer;
    LRESULT saveResult;
    bool expected;
    std::string message;  // empty: no question
    int command;          // the save command run, 0 for none
  };
  const Case cases[] = {
      {"unmodified closes quietly", false, false, false, false, false, false, false, IDYES, 1, true, "", 0},
      {"a running grep refuses", false, false, false, false, false, false, true, IDYES, 1, false, grepBusy, 0},
      {"the output window never asks", true, false, false, false, false, true, false, IDCANCEL, 1, true, "", 0},
      {"a grep window asks only when told to", true, false, false, true, false, false, false, IDCANCEL, 1, true, "", 0},
      {"a grep window told to asks", true, false, false, true, true, false, false, IDNO, 1, true, asked, 0},
      {"yes saves", true, false, false, false, false, false, false, IDYES, 1, true, asked, 30103},
      {"a failed save keeps the window", true, false, false, false, false, false, false, IDYES, 0, false, asked, 30103},
      {"yes on an untitled one saves as", true, false, true, false, false, false, false, IDYES, 1, true, askedUntitled,
       30104},
      {"yes on a read-only one saves as", true, true, false, false, false, false, false, IDYES, 1, true, askedReadOnly,
       30104},
      {"no closes unsaved", true, false, false, false, false, false, false, IDNO, 1, true, asked, 0},
      {"cancel keeps the window", true, false, false, false, false, false, false, IDCANCEL, 1, false, asked, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    MessageBoxCapture boxes(c.answer);
    BeepCapture beeps;
    std::strcpy(doc->m_szFilePath, c.untitled ? "" : "/p/a.txt");
    doc->m_bIsModified = c.modified;
    doc->m_bReadOnly = c.readOnly;
    doc->m_bGrepWindow = c.grepWindow;
    doc->m_bOutputWindow = c.outputWindow;
    doc->m_nGrepRunning = c.grepRunning ? 1 : 0;
    common().bGrepExitConfirm = c.grepExitConfirm;
    ports.panes[0].commandResults = {{30103, c.saveResult}, {30104, c.saveResult}};

    EXPECT_EQ(doc->QueryClose(), c.expected);
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text, c.message);
      EXPECT_EQ(boxes.requests[0].caption, "tovara");
      EXPECT_TRUE(boxes.requests[0].flags & MB_TOPMOST);
      EXPECT_EQ(ports.frame.activations, 1);
    }
    if (c.message == asked || c.message == askedUntitled || c.message == askedReadOnly) {
      EXPECT_EQ(boxes.requests[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST);
      EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONQUESTION});
    }
    EXPECT_EQ(ports.panes[0].commands, c.command ? std::vector<int>{c.command} : std::vector<int>{});
  }
  // The question came after the recent-file record was written.
  RecentFileRecord saved;
  ASSERT_TRUE(RecentRecord("/p/a.txt", &saved));
  EXPECT_EQ(saved.bModified, 1);
}

TEST_F(DocumentTest, ClearingTheOutputWindowReleasesItsRoleOnce) {
  doc->m_bOutputWindow = true;
  std::strcpy(doc->m_szFilePath, "/p/a.txt");
  doc->m_nCharCode = 4;
  doc->m_bBomExist = true;
  doc->m_bIsModified = true;
  doc->m_nNewLineType = CLineEnd::LF;
  doc->ClearDocument();
  EXPECT_EQ(ports.frame.outputRoleReleased, 1);
  EXPECT_FALSE(doc->m_bOutputWindow);
  EXPECT_STREQ(doc->m_szFilePath, "");
  EXPECT_EQ(doc->m_nCharCode, 0);
  EXPECT_FALSE(doc->m_bBomExist);
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_EQ(doc->m_nNewLineType, CLineEnd::CRLF);
  EXPECT_EQ(doc->m_nLockMode, CEditDoc::kLockNone);
  // A document that no longer is the output window has no role to give up.
  doc->ClearDocument();
  EXPECT_EQ(ports.frame.outputRoleReleased, 1);
}

// Three edit windows of this process, registered in the order a, b, c; each keeps the pane
// requests it is posted.
std::map<HWND, std::vector<std::pair<WPARAM, LPARAM>>> paneRequests;

LRESULT CycleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_SETACTIVEPANE) paneRequests[hwnd].emplace_back(wParam, lParam);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

TEST_F(DocumentTest, NextAndPrevWindowGoRoundTheWindowsInTheOrderTheyOpened) {
  platform::EnsureGuiApp();
  WNDCLASSEX wc;
  wc.lpfnWndProc = CycleProc;
  wc.lpszClassName = "DocCycleTest";
  platform::RegisterClassEx(&wc);

  // With no window listed nothing happens.
  EXPECT_EQ(doc->HandleCommand(31340), 1);
  Pump();
  EXPECT_TRUE(paneRequests.empty());

  HWND windows[3];
  EditWindowId ids[3];
  for (int i = 0; i < 3; ++i) {
    windows[i] = platform::CreateWindowEx(0, "DocCycleTest", "w", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ids[i] = platform::ipc::RegisterWindow(windows[i], kEditWindowClass);
    ASSERT_TRUE(share.RegisterEditWindow(ids[i]));
  }
  Pump();
  struct Case {
    const char* name;
    int self;  // -1: this window is not in the list
    int command;
    int target;
    LPARAM lParam;
  };
  const Case cases[] = {
      {"next from the first", 0, 31340, 1, 0},  {"next from the middle", 1, 31340, 2, 0},
      {"next from the last wraps", 2, 31340, 0, 0}, {"prev from the last", 2, 31341, 1, 1},
      {"prev from the first wraps", 0, 31341, 2, 1}, {"next when missing counts from the first", -1, 31340, 1, 0},
      {"prev when missing counts from the last", -1, 31341, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    paneRequests.clear();
    ports.frame.id = c.self >= 0 ? ids[c.self] : 0;
    EXPECT_EQ(doc->HandleCommand(c.command), 1);
    Pump();
    ASSERT_EQ(paneRequests.size(), 1u);
    const auto& requests = paneRequests[windows[c.target]];
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], std::make_pair(static_cast<WPARAM>(-1), c.lParam));
  }

  // A split with a pane after the active one moves there instead.
  paneRequests.clear();
  ports.frame.id = ids[0];
  ports.splitter.columns = 2;
  EXPECT_EQ(doc->HandleCommand(31340), 1);
  EXPECT_EQ(doc->GetActivePane(), 1);
  EXPECT_EQ(ports.panes[0].focusLost, 1);
  EXPECT_EQ(ports.panes[1].focusGained, 1);
  EXPECT_EQ(ports.splitter.activeIndices, std::vector<int>{1});
  EXPECT_EQ(ports.companions.rebinds, std::vector<int>{1});
  EXPECT_EQ(doc->HandleCommand(31340), 1);  // the last pane: on to the next window
  Pump();
  EXPECT_EQ(paneRequests[windows[1]].size(), 1u);
  EXPECT_EQ(doc->HandleCommand(31341), 1);
  EXPECT_EQ(doc->GetActivePane(), 0);
  // From an accelerator (high word 1) the commands are the same.
  EXPECT_EQ(doc->HandleCommand(0x10000 | 31340), 1);
  EXPECT_EQ(doc->GetActivePane(), 1);
  EXPECT_EQ(doc->HandleCommand(0x10000 | 31341), 1);
  EXPECT_EQ(doc->GetActivePane(), 0);
  EXPECT_TRUE(ports.panes[0].commands.empty());

  // Any other command goes to the active pane, as it came.
  ports.panes[0].commandResults[30001] = 7;
  EXPECT_EQ(doc->HandleCommand(30001), 7);
  EXPECT_EQ(doc->HandleCommand(0x10000 | 30001), 0);
  EXPECT_EQ(ports.panes[0].commands, (std::vector<int>{30001, 0x10000 | 30001}));

  for (int i = 0; i < 3; ++i) {
    share.UnregisterEditWindow(ids[i]);
    platform::ipc::UnregisterWindow(ids[i]);
    platform::DestroyWindow(windows[i]);
  }
  paneRequests.clear();
}

// In a split the panes beside, above or below and across from the active one follow it: their
// text areas move with it (repainted only where the split shows them) and they are repainted
// after an edit.
TEST_F(DocumentTest, SiblingPanesFollowTheActiveOneWhereTheSplitShowsThem) {
  using Updates = std::vector<bool>;
  const struct {
    const char* name;
    int columns, rows, active;
    bool moves, redraw;
    std::array<Updates, 4> updates;  // each pane's text-area recomputations (their redraw flags)
    std::array<int, 4> repaints;     // RedrawSiblingPanes
  } cases[] = {
      {"unsplit", 1, 1, 0, true, true, {Updates{true}, {false}, {false}, {false}}, {0, 0, 0, 0}},
      {"two columns", 2, 1, 1, true, true, {Updates{true}, {true}, {false}, {false}}, {1, 0, 0, 0}},
      {"two rows", 1, 2, 2, true, true, {Updates{true}, {false}, {true}, {false}}, {1, 0, 0, 0}},
      {"two by two", 2, 2, 3, true, true, {Updates{true}, {true}, {true}, {true}}, {1, 1, 1, 0}},
      {"two by two without redraw", 2, 2, 0, true, false, {Updates{false}, {false}, {false}, {false}}, {0, 1, 1, 1}},
      {"the active pane's edge stays", 2, 2, 0, false, true, {Updates{true}, {}, {}, {}}, {0, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    ports.splitter.columns = c.columns;
    ports.splitter.rows = c.rows;
    doc->SetActivePane(c.active);
    ports.panes[c.active].textAreaMoves = c.moves;
    EXPECT_EQ(doc->UpdatePanesTextAreaLeft(c.redraw), c.moves);
    doc->RedrawSiblingPanes();
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(ports.panes[i].textAreaUpdates, c.updates[i]);
      EXPECT_EQ(ports.panes[i].redraws, c.repaints[i]);
    }
  }
}

// A re-wrap keeps every pane's caret and set ranges on the same characters of the text.
TEST_F(DocumentTest, ANewWrapWidthKeepsCaretsAndRangesOnTheirCharacters) {
  const std::string line(100, 'x');
  doc->m_cDocLineMgr.AppendLine(line.data(), static_cast<int>(line.size()), CLineEnd::CRLF);
  doc->ChangeWrapWidth(false, 4, 20);
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 5);
  ports.panes[1].caret = POINT{5, 2};                  // column 45 of the text
  ports.panes[1].marks.ranges[0] = POINT{0, 1};        // columns 20 to 70
  ports.panes[1].marks.ranges[1] = POINT{10, 3};
  ports.panes[1].marks.ranges[2] = POINT{-1, -1};      // no anchor range
  ports.panes[1].marks.ranges[3] = POINT{-1, -1};
  doc->ChangeWrapWidth(true, 4, 40);
  EXPECT_EQ(ports.panes[1].caret.x, 5);
  EXPECT_EQ(ports.panes[1].caret.y, 1);
  EXPECT_EQ(ports.panes[1].marks.ranges[0].x, 20);
  EXPECT_EQ(ports.panes[1].marks.ranges[0].y, 0);
  EXPECT_EQ(ports.panes[1].marks.ranges[1].x, 30);
  EXPECT_EQ(ports.panes[1].marks.ranges[1].y, 1);
  EXPECT_EQ(ports.panes[1].marks.ranges[2].y, -1);
  for (const FakePane& pane : ports.panes) EXPECT_EQ(pane.invalidations, 2);
  EXPECT_EQ(ports.frame.progressShown, 1);
  EXPECT_EQ(ports.frame.progressHidden, 1);
}

TEST_F(DocumentTest, TheFileNameIsWhatFollowsTheLastSlash) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"/p/src/main.c", "main.c"},
      {"/p/表/a.txt"_sj, "a.txt"},
      {"/p/ソ"_sj, "ソ"_sj},  // a trail byte 0x5C is part of its character
      {"/p/dir/", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::strcpy(doc->m_szFilePath, c.path);
    EXPECT_STREQ(doc->GetFileName(), c.name) << c.path;
  }
}

// A 1 x 1 picture in BMP form.
std::string TinyBitmap() {
  std::string file;
  const auto put = [&file](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  file += "BM";
  put(14 + 40 + 4, 4);
  put(0, 4);
  put(14 + 40, 4);
  put(40, 4);
  put(1, 4);
  put(1, 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(4, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  put(0x0000FF, 4);  // one red pixel and the row's padding
  return file;
}

TEST_F(DocumentTest, TheApplicationsIconsUnlessTheTypeAsksForTheFilesOwn) {
  platform::EnsureGuiApp();
  const std::string bmp = TinyBitmap();
  ASSERT_TRUE(platform::RegisterIconResource("#230", std::span(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size())));
  const HICON application = platform::LoadIcon(nullptr, "#230");
  ASSERT_NE(application, nullptr);
  record->TypeList[0].bUseDocumentIcon = 0;
  doc->SetFilePath("/p/main.c");
  EXPECT_EQ(ports.frame.smallIcon, application);
  EXPECT_EQ(ports.frame.bigIcon, application);
  // A grep window keeps whatever it shows.
  const int changes = ports.frame.iconChanges;
  doc->m_bGrepWindow = true;
  doc->SetFilePath("/p/other.c");
  EXPECT_EQ(ports.frame.iconChanges, changes);
}

TEST_F(DocumentTest, SetModifiedChangesOnlyWhatDiffers) {
  doc->SetModified(true, false);
  EXPECT_TRUE(doc->m_bIsModified);
  doc->SetModified(true, true);
  EXPECT_TRUE(doc->m_bIsModified);
  doc->SetModified(false, true);
  EXPECT_FALSE(doc->m_bIsModified);
}

}  // namespace
