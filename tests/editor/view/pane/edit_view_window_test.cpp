// The pane window: what Create makes, sizes the pane ignores, and the right-click menu through the
// menu hook.
#include <fstream>
#include <string>
#include <vector>

#include "../commands/recording_handlers.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/split_box_wnd.h"
#include "pane_window_fixture.h"
#include "platform/attached_image.h"
#include "platform/caret.h"
#include "platform/clock.h"
#include "platform/cursor_pos.h"
#include "platform/desktop.h"
#include "platform/ime_composition.h"
#include "platform/ime_query.h"
#include "platform/menu.h"
#include "platform/monitor.h"
#include "platform/popup_menu.h"
#include "platform/scroll_bar.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

using PaneWindowTest = PaneWindowFixture;

constexpr int kKeyShift = 0x01000020;  // the toolkit's number of the Shift key

TEST_F(PaneWindowTest, CreateMakesTheWindowAndItsChildren) {
  ASSERT_NE(view->Window(), nullptr);
  EXPECT_EQ(platform::GetWindowText(view->Window()), "EditorClient");
  EXPECT_TRUE(platform::IsWindowVisible(view->Window()));
  EXPECT_NE(view->m_hwndVScrollBar, nullptr);
  EXPECT_NE(view->m_hwndHScrollBar, nullptr) << "bScrollBarHorz is on by default";
  EXPECT_NE(view->m_hwndSizeBox, nullptr);
  EXPECT_NE(view->m_pcTipWnd, nullptr);
  EXPECT_EQ(view->m_nClientWidth, kWidth);
  EXPECT_EQ(view->m_nClientHeight, kHeight);
  ASSERT_NE(view->GetViewImage(), nullptr);
  EXPECT_EQ(view->GetViewImage()->Width(), kWidth);
  EXPECT_EQ(view->GetViewImage()->Height(), kHeight);
  // The scroll bars take their strips off the text area.
  EXPECT_EQ(view->m_nViewCx, kWidth - view->m_nViewAlignLeft - platform::GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(view->m_nViewCy, kHeight - view->m_nViewAlignTop - platform::GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(PaneWindowTest, HiddenUnlessAskedAndWithoutHorizontalBarWhenOff) {
  common().bScrollBarHorz = 0;
  CEditView pane;
  ASSERT_EQ(pane.Create(nullptr, top, doc.get(), 1, false), 1);
  EXPECT_FALSE(platform::IsWindowVisible(pane.Window()));
  EXPECT_EQ(pane.m_hwndHScrollBar, nullptr);
  EXPECT_EQ(pane.m_nMyIndex, 1);
}

TEST_F(PaneWindowTest, WithoutItsWindowCreateMakesNothingFurther) {
  const HWND gone =
      platform::CreateWindowEx(0, TopClass(), "gone", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  platform::DestroyWindow(gone);
  CEditView pane;
  EXPECT_EQ(pane.Create(nullptr, gone, doc.get(), 2, true), 0);
  EXPECT_EQ(pane.Window(), nullptr);
  EXPECT_EQ(pane.m_pcTipWnd, nullptr);
  EXPECT_EQ(pane.m_hwndVScrollBar, nullptr);
  EXPECT_EQ(pane.m_hwndSizeBox, nullptr);
}

TEST_F(PaneWindowTest, ZeroSizeIsIgnored) {
  const int cx = view->m_nViewCx;
  const int rows = view->m_nViewRowNum;
  platform::SendMessage(view->Window(), WM_SIZE, 0, MAKELPARAM(0, 0));
  EXPECT_EQ(view->m_nClientWidth, kWidth);
  EXPECT_EQ(view->m_nViewCx, cx);
  EXPECT_EQ(view->m_nViewRowNum, rows);
  ASSERT_NE(view->GetViewImage(), nullptr);
  EXPECT_EQ(view->GetViewImage()->Width(), kWidth);

  platform::SendMessage(view->Window(), WM_SIZE, 0, MAKELPARAM(320, 200));
  EXPECT_EQ(view->GetViewImage()->Width(), 320);
  EXPECT_EQ(view->m_nViewRowNum,
            (200 - view->m_nViewAlignTop - platform::GetSystemMetrics(SM_CYHSCROLL)) / view->LineHeight());
}

TEST_F(PaneWindowTest, WindowShowsThePanesOwnImageAtEverySize) {
  EXPECT_EQ(platform::AttachedWindowImage(view->Window()), view->GetViewImage());
  platform::MoveWindow(view->Window(), 0, 0, 300, 200, 1);
  ASSERT_NE(view->GetViewImage(), nullptr);
  EXPECT_EQ(view->GetViewImage()->Width(), 300);
  EXPECT_EQ(platform::AttachedWindowImage(view->Window()), view->GetViewImage());
}

// A new image is owed its window's next paint whole: a repaint before that paint would be drawn
// over unseen, so it draws nothing, and that paint draws it all; once painted, a repaint draws at
// once.
TEST_F(PaneWindowTest, ARepaintBeforeTheWindowsPaintIsLeftToThatPaint) {
  const auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(view->GetViewImage()->Row(y))[x] & 0xFFFFFF;
  };
  const auto blank = [&] {
    for (int y = 0; y < view->GetViewImage()->Height(); ++y)
      for (int x = 0; x < view->GetViewImage()->Width(); ++x)
        if (pixel(x, y) != 0) return false;
    return true;
  };
  platform::MoveWindow(view->Window(), 0, 0, 300, 200, 0);
  ASSERT_NE(view->GetViewImage(), nullptr);
  ASSERT_EQ(view->GetViewImage()->Width(), 300);
  ASSERT_TRUE(platform::WindowImageOwesPaint(view->Window(), nullptr));
  view->Redraw();
  EXPECT_TRUE(blank()) << "drawn before the paint that draws it all";

  Pump();
  EXPECT_FALSE(platform::WindowImageOwesPaint(view->Window(), nullptr));
  ASSERT_FALSE(blank()) << "the window's paint drew the pane";
  const int x = view->m_nViewAlignLeft + 5, y = view->m_nViewAlignTop + 5;
  const uint32_t painted = pixel(x, y);
  reinterpret_cast<uint32_t*>(view->GetViewImage()->Row(y))[x] = painted ^ 0xFFFFFF;
  view->Redraw();
  EXPECT_EQ(pixel(x, y), painted) << "a repaint after the window's paint draws at once";
}

// ---- Messages -----------------------------------------------------------------------------------

// Typed characters become commands; in insert mode an input-method character is left to the
// result string that came before it.
TEST_F(PaneWindowTest, TypedCharactersBecomeCommands) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM character;
    bool insertMode;
    std::vector<int> ids;
    LPARAM argument;
  };
  const Case cases[] = {
      {"character", WM_CHAR, 'a', true, {cmd::kChar}, 'a'},
      {"character, overwriting", WM_CHAR, 'a', false, {cmd::kChar}, 'a'},
      {"input-method character, inserting", WM_IME_CHAR, 0x82A0, true, {}, 0},
      {"input-method character, overwriting", WM_IME_CHAR, 0x82A0, false, {cmd::kCharIme}, 0x82A0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHandlers handlers{cmd::kChar, cmd::kCharIme, cmd::kInsText};
    view->SetInsertMode(c.insertMode);
    platform::SendMessage(view->Window(), c.message, c.character, 0);
    EXPECT_EQ(handlers.Ids(), c.ids);
    if (!handlers.calls.empty()) EXPECT_EQ(handlers.calls[0].call.lparam[0], c.argument);
  }
}

TEST_F(PaneWindowTest, KeyReleaseForgetsTheLastCommand) {
  for (const UINT message : {WM_KEYUP, WM_SYSKEYUP}) {
    view->m_nLastCommand = cmd::kChar;
    platform::SendMessage(view->Window(), message, 'A', 0);
    EXPECT_EQ(view->m_nLastCommand, 0) << message;
  }
}

TEST_F(PaneWindowTest, ActivationRequestMakesThePaneActive) {
  doc->m_nActivePaneIndex = 1;
  EXPECT_EQ(platform::SendMessage(view->Window(), MYWM_SETACTIVEPANE, 0, 0), 0);
  EXPECT_EQ(doc->GetActivePane(), 0);
}

TEST_F(PaneWindowTest, InputMethodAsksThePane) {
  platform::ImeQueryProvider* queries = platform::GetImeQueryProvider(view->Window());
  ASSERT_NE(queries, nullptr);
  EXPECT_EQ(queries->ImeFont(), view->GetFontFor(false, false));
  SetText("abcdef\r\nabcdef\r\nabcdef\r\n");
  view->PlaceCursor(3, 2, true, 20);
  const RECT caret = queries->ImeCaretRect();
  EXPECT_EQ(caret.left, view->m_nViewAlignLeft + 3 * view->ColumnWidth());
  EXPECT_EQ(caret.top, view->m_nViewAlignTop + 2 * view->LineHeight());
  EXPECT_EQ(caret.bottom - caret.top, view->m_nCharHeight);
  type().Colors[0].colText = RGB(1, 2, 3);
  type().Colors[0].colBack = RGB(4, 5, 6);
  EXPECT_EQ(queries->ImePreeditColors().text, RGB(1, 2, 3));
  EXPECT_EQ(queries->ImePreeditColors().background, RGB(4, 5, 6));
}

TEST_F(PaneWindowTest, WithoutSplitBoxesTheScrollBarsTakeTheirWholeStrips) {
  view->ShowSplitBoxes(false, false, true);
  EXPECT_EQ(view->m_pcsbwVSplitBox, nullptr);
  EXPECT_EQ(view->m_pcsbwHSplitBox, nullptr);
  EXPECT_TRUE(view->m_bSizeBoxIsGrip);
  const int bw = platform::GetSystemMetrics(SM_CXVSCROLL);
  const int bh = platform::GetSystemMetrics(SM_CYHSCROLL);
  const RECT v = splitter_test::PlaceOf(view->m_hwndVScrollBar);
  EXPECT_EQ(v.left, kWidth - bw);
  EXPECT_EQ(v.top, 0);
  EXPECT_EQ(v.bottom, kHeight - bh);
  const RECT h = splitter_test::PlaceOf(view->m_hwndHScrollBar);
  EXPECT_EQ(h.left, 0);
  EXPECT_EQ(h.top, kHeight - bh);
  EXPECT_EQ(h.right, kWidth - bw);
  const RECT corner = splitter_test::PlaceOf(view->m_hwndSizeBox);
  EXPECT_EQ(corner.left, kWidth - bw);
  EXPECT_EQ(corner.top, kHeight - bh);

  view->ShowSplitBoxes(true, true, false);
  ASSERT_NE(view->m_pcsbwVSplitBox, nullptr);
  ASSERT_NE(view->m_pcsbwHSplitBox, nullptr);
  EXPECT_FALSE(view->m_bSizeBoxIsGrip);
  EXPECT_TRUE(platform::IsWindowVisible(view->m_hwndSizeBox));
  // The split boxes take the first 7 pixels of each strip, the scroll bars the rest.
  const RECT vBox = splitter_test::PlaceOf(view->m_pcsbwVSplitBox->GetHwnd());
  EXPECT_EQ(vBox.left, kWidth - bw);
  EXPECT_EQ(vBox.top, 0);
  EXPECT_EQ(vBox.bottom, 7);
  EXPECT_EQ(splitter_test::PlaceOf(view->m_hwndVScrollBar).top, 7);
  const RECT hBox = splitter_test::PlaceOf(view->m_pcsbwHSplitBox->GetHwnd());
  EXPECT_EQ(hBox.left, 0);
  EXPECT_EQ(hBox.right, 7);
  EXPECT_EQ(hBox.top, kHeight - bh);
  EXPECT_EQ(splitter_test::PlaceOf(view->m_hwndHScrollBar).left, 7);
}

TEST_F(PaneWindowTest, SplitRequestGoesToTheParent) {
  // The parent here is a plain window; the request must not come back to the pane.
  EXPECT_EQ(platform::SendMessage(view->Window(), MYWM_DOSPLIT, 10, 20), 0);
}

TEST_F(PaneWindowTest, FocusMakesAndTakesTheCaret) {
  SetText("abc\r\n");
  view->m_nCaretPosX = 40;  // past what the text holds: the focus pulls it back
  view->m_nCaretPosY = 7;
  platform::SetFocus(view->Window());
  Pump();
  EXPECT_TRUE(view->m_bFocused);
  EXPECT_GT(view->m_nCaretWidth, 0);
  EXPECT_EQ(view->m_nCaretPosY, 1);
  EXPECT_EQ(view->m_nCaretPosX, 0);
  platform::SetFocus(top);
  Pump();
  EXPECT_FALSE(view->m_bFocused);
  EXPECT_EQ(view->m_nCaretWidth, 0);
}

// The caret is one for the whole program: a pane that has no window never made it, so losing the
// focus must leave the caret of the pane that has it.
TEST_F(PaneWindowTest, PaneWithoutWindowLeavesAnotherPanesCaret) {
  SetText("abc\r\n");
  platform::SetFocus(view->Window());
  Pump();
  POINT caret{};
  ASSERT_TRUE(platform::GetCaretPos(&caret));
  CEditView windowless;
  windowless.AttachDocument(doc.get(), 1);
  windowless.SetClientSize(kWidth, kHeight);
  for (const bool byPort : {false, true}) {
    SCOPED_TRACE(byPort ? "document's port" : "focus message");
    windowless.m_nCaretWidth = 2;
    if (byPort) {
      windowless.OnFocusLost();
    } else {
      windowless.HandleKillFocus();
    }
    EXPECT_EQ(windowless.m_nCaretWidth, 0);
    EXPECT_TRUE(platform::GetCaretPos(&caret));
  }
}

// ---- Scroll bars --------------------------------------------------------------------------------

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "a\r\n";
  return text;
}

class ScrollMessageTest : public PaneWindowFixture {
 protected:
  void SetUp() override {
    PaneWindowFixture::SetUp();
    common().nRepeatedScrollLineNum = 3;
    partner.SetEditWindow(&editWindow);
    partner.AttachDocument(doc.get(), 1);
    partner.SetClientSize(kWidth, kHeight);
    DocPorts ports = doc->Ports();
    ports.panes[1] = &partner;
    doc->SetPorts(ports);
    doc->m_nActivePaneIndex = 1;
  }
  void TearDown() override {
    DocPorts ports = doc->Ports();
    ports.panes[1] = nullptr;
    doc->SetPorts(ports);
    PaneWindowFixture::TearDown();
  }
  void Scroll(WORD code, WORD position = 0) {
    platform::SendMessage(view->Window(), WM_VSCROLL, MAKEWPARAM(code, position), 0);
  }
  CEditView partner;
};

TEST_F(ScrollMessageTest, PartnerFollowsUnlessShiftIsHeldAndThePaneBecomesActive) {
  SetText(Lines(300));
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(view->m_nViewTopLine, 3);
  EXPECT_EQ(partner.m_nViewTopLine, 3);
  EXPECT_EQ(doc->GetActivePane(), 0);
  EXPECT_GE(editWindow.focusTaken, 1);

  platform::SimulateKey(view->Window(), kKeyShift, true);
  Pump();
  Scroll(SB_LINEDOWN);
  platform::SimulateKey(view->Window(), kKeyShift, false);
  Pump();
  EXPECT_EQ(view->m_nViewTopLine, 6);
  EXPECT_EQ(partner.m_nViewTopLine, 3) << "Shift scrolls this pane alone";
}

TEST_F(ScrollMessageTest, ThumbPositionIsScaledBackToLines) {
  SetText(Lines(70000));
  ASSERT_EQ(view->m_nVScrollRate, 2);
  Scroll(SB_THUMBPOSITION, 100);
  EXPECT_EQ(view->m_nViewTopLine, 200);
}

// ---- Right-click menu ----------------------------------------------------------------------------

struct ShownItem {
  UINT id;
  std::string text;
  bool grey;
  bool separator;
};

class MenuCapture {
 public:
  explicit MenuCapture(UINT answer) {
    m_previous = platform::SetPopupMenuHook([this, answer](HMENU menu, POINT) {
      ++shows;
      items.clear();
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        platform::MenuItemInfo info;
        GetMenuItemInfoAt(menu, i, info);
        items.push_back({info.id, info.text, (info.flags & MF_GRAYED) != 0, (info.flags & MF_SEPARATOR) != 0});
      }
      return answer;
    });
  }
  ~MenuCapture() { platform::SetPopupMenuHook(m_previous); }
  int shows = 0;
  std::vector<ShownItem> items;

 private:
  platform::PopupMenuHook m_previous;
};

// The keyword dictionary the panes read: a file of one entry, written again by each Set.
class DictionaryFile {
 public:
  void Set(const std::string& key, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "; test entries\r\n" << key << " /// " << text << "\r\n";
  }
  ScopedTempDir folder;
  const std::string path = (folder.path() / "keywords.khp").string();
};

class ContextMenuTest : public PaneWindowFixture {
 protected:
  void SetUp() override {
    PaneWindowFixture::SetUp();
    CommonSettings& c = common();
    c.nCMIN[0] = 4;
    c.nCMIF[0][0] = 30602;
    c.nCMIF[0][1] = 0;
    c.nCMIF[0][2] = 30604;
    c.nCMIF[0][3] = 30401;
    c.nCMIK[0][0] = 'C';
    c.nCMIK[0][1] = 0;
    c.nCMIK[0][2] = 'P';
    c.nCMIK[0][3] = 0;
    editWindow.disabled[30604] = true;
  }
  // Keyword help on, the caret there, the mouse over the pane and "word" selected.
  void ArmDictionary() {
    SetText("word rest\r\nnext");
    type().bUseKeyWordHelp = 1;
    snprintf(type().szKeyWordHelpFile, sizeof(type().szKeyWordHelpFile), "%s", dictionary.path.c_str());
    view->m_nCaretWidth = 2;
    view->m_sSelect = SelectRange{0, 0, 0, 4};
    ASSERT_TRUE(platform::SetCursorClientPos(view->Window(), 100, 100));
  }
  DictionaryFile dictionary;
};

TEST_F(ContextMenuTest, ItemsFromCustomMenuZeroWithAccessKeysAndGreyItems) {
  MenuCapture capture(30602);
  EXPECT_EQ(view->ShowContextMenu(), 30602);
  ASSERT_EQ(capture.shows, 1);
  ASSERT_EQ(capture.items.size(), 4u);
  EXPECT_EQ(capture.items[0].id, 30602u);
  EXPECT_EQ(capture.items[0].text, "cmd30602 (&C)");
  EXPECT_FALSE(capture.items[0].grey);
  EXPECT_TRUE(capture.items[1].separator);
  EXPECT_EQ(capture.items[2].text, "cmd30604 (&P)");
  EXPECT_TRUE(capture.items[2].grey);
  EXPECT_EQ(capture.items[3].text, "cmd30401");
  EXPECT_FALSE(capture.items[3].grey);
  EXPECT_EQ(view->m_cTipWord.GetLength(), 0) << "keyword help is off: nothing looked up";
}

TEST_F(ContextMenuTest, GreyItemCannotBeChosen) {
  MenuCapture capture(30604);
  EXPECT_EQ(view->ShowContextMenu(), 0);
}

TEST_F(ContextMenuTest, DictionaryItemComesFirstCutOnAWholeCharacterWithAmpersandsDoubled) {
  ArmDictionary();
  // 79 bytes, then a kanji whose second byte would be the 81st: the kanji goes whole.
  dictionary.Set("word", "a&b" + std::string(76, 'x') + "漢字"_sj);
  MenuCapture capture(2000);
  EXPECT_EQ(view->ShowContextMenu(), 2000);
  ASSERT_EQ(capture.items.size(), 6u);
  EXPECT_EQ(capture.items[0].id, 2000u);
  EXPECT_EQ(capture.items[0].text, "a&&b" + std::string(76, 'x'));
  EXPECT_TRUE(capture.items[1].separator);
  EXPECT_EQ(capture.items[2].text, "cmd30602 (&C)");
  EXPECT_EQ(view->m_cTipWord.View(), "word");

  // The same word again comes from the cache, not from the file.
  dictionary.Set("word", "changed");
  MenuCapture again(0);
  view->ShowContextMenu();
  ASSERT_FALSE(again.items.empty());
  EXPECT_EQ(again.items[0].text, "a&&b" + std::string(76, 'x'));
}

TEST_F(ContextMenuTest, NoDictionaryItemWithoutItsConditions) {
  ArmDictionary();
  dictionary.Set("word", "meaning");
  const char* const cases[] = {"keyword help off", "no caret",      "no selection",
                               "menu open",        "mouse outside", "word unknown"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(cases[i]);
    ArmDictionary();
    view->m_bInMenuLoop = false;
    switch (i) {
      case 0:
        type().bUseKeyWordHelp = 0;
        break;
      case 1:
        view->m_nCaretWidth = 0;
        break;
      case 2:
        view->m_sSelect.Clear();
        break;
      case 3:
        view->m_bInMenuLoop = true;
        break;
      case 4:
        platform::SetCursorClientPos(view->Window(), -50, -50);
        break;
      default:
        view->m_sSelect = SelectRange{0, 5, 0, 9};
        break;
    }
    MenuCapture capture(0);
    EXPECT_EQ(view->ShowContextMenu(), 0);
    ASSERT_EQ(capture.items.size(), 4u);
    EXPECT_NE(capture.items[0].id, 2000u);
  }
}

TEST_F(ContextMenuTest, SelectedFirstLineIsLookedUp) {
  ArmDictionary();
  dictionary.Set("rest", "found");
  view->m_sSelect = SelectRange{0, 5, 1, 2};  // "rest", CR LF, "ne"
  MenuCapture capture(0);
  view->ShowContextMenu();
  EXPECT_EQ(view->m_cTipWord.View(), "rest");
  EXPECT_EQ(capture.items[0].id, 2000u);
  EXPECT_EQ(capture.items[0].text, "found");
}

// ---- Keyword tip ---------------------------------------------------------------------------------

using KeywordTipTest = ContextMenuTest;

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  platform::GetWindowRect(hwnd, &rect);
  return rect;
}

TEST_F(KeywordTipTest, TimerShowsTheTipOnceTheMouseRestedMoreThan300Ms) {
  platform::ManualClock clock(5000);
  ArmDictionary();
  dictionary.Set("word", "meaning");
  view->m_dwTipTimer = clock.now();
  const HWND tip = view->m_pcTipWnd->GetHwnd();
  ASSERT_NE(tip, nullptr);

  clock.Advance(300);
  view->OnTimer();
  EXPECT_FALSE(platform::IsWindowVisible(tip));
  EXPECT_EQ(view->m_dwTipTimer, 5000u);

  clock.Advance(1);
  view->OnTimer();
  EXPECT_TRUE(platform::IsWindowVisible(tip));
  EXPECT_EQ(view->m_dwTipTimer, 0u) << "tip shown";
  EXPECT_EQ(view->m_pcTipWnd->m_cInfo.View(), "meaning");
  POINT mouse{};
  ASSERT_TRUE(platform::GetCursorPos(&mouse));
  EXPECT_EQ(view->m_poTipCurPos.x, mouse.x);
  EXPECT_EQ(WindowRect(tip).left, mouse.x);
  EXPECT_EQ(WindowRect(tip).top, mouse.y + view->m_nCharHeight);

  // A menu hides it and re-arms the time.
  platform::SendMessage(view->Window(), WM_ENTERMENULOOP, 0, 0);
  EXPECT_FALSE(platform::IsWindowVisible(tip));
  EXPECT_EQ(view->m_dwTipTimer, clock.now());
  clock.Advance(1000);
  view->OnTimer();
  EXPECT_FALSE(platform::IsWindowVisible(tip)) << "not while the menu is open";
  platform::SendMessage(view->Window(), WM_EXITMENULOOP, 0, 0);
  EXPECT_FALSE(view->m_bInMenuLoop);
}

TEST_F(KeywordTipTest, UnknownWordShowsNothing) {
  platform::ManualClock clock(5000);
  ArmDictionary();
  dictionary.Set("other", "meaning");
  view->m_dwTipTimer = clock.now();
  clock.Advance(1000);
  view->OnTimer();
  EXPECT_FALSE(platform::IsWindowVisible(view->m_pcTipWnd->GetHwnd()));
  EXPECT_EQ(view->m_dwTipTimer, 5000u);
}

TEST_F(KeywordTipTest, CompletionTipGoesLeftOfAPopupAtTheScreensRightEdge) {
  ArmDictionary();
  dictionary.Set("word", "a long enough meaning");
  MONITORINFO monitor;
  ASSERT_TRUE(
      platform::GetMonitorInfo(platform::MonitorFromWindow(view->Window(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT work = monitor.rcWork;
  const HWND tip = view->m_pcTipWnd->GetHwnd();

  EXPECT_FALSE(view->ShowKeywordTipFor(10, 20, "unknown", nullptr));
  EXPECT_FALSE(platform::IsWindowVisible(tip));

  const RECT leftPopup{work.left + 10, work.top + 10, work.left + 60, work.top + 100};
  ASSERT_TRUE(view->ShowKeywordTipFor(leftPopup.right, work.top + 20, "word", &leftPopup));
  EXPECT_TRUE(platform::IsWindowVisible(tip));
  EXPECT_EQ(WindowRect(tip).left, leftPopup.right);
  EXPECT_EQ(view->m_dwTipTimer, 0u);
  EXPECT_FALSE(view->ShowKeywordTipFor(leftPopup.right, work.top + 20, "word", &leftPopup)) << "already shown";

  view->m_dwTipTimer = 1;
  const RECT rightPopup{work.right - 60, work.top + 10, work.right - 10, work.top + 100};
  ASSERT_TRUE(view->ShowKeywordTipFor(rightPopup.right, work.top + 20, "word", &rightPopup));
  const RECT shown = WindowRect(tip);
  EXPECT_EQ(shown.left, rightPopup.left - (shown.right - shown.left) - 8);
}

}  // namespace
