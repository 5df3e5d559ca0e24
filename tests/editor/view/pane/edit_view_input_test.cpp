// Mouse input of a pane without a window: clicks, drags, the wheel, URLs under the caret and the
// mouse bindings, through the handlers the pane window calls.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/commands/command_handler_table.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"
#include "input_test_util.h"
#include "platform/cursor.h"
#include "platform/sjis_literal.h"
#include "platform/url_opener.h"
#include "tests/platform/recording_window.h"
#include "view_fixture.h"

namespace {

std::string Describe(const SelectRange& r) {
  return "(" + std::to_string(r.nLineFrom) + "," + std::to_string(r.nColumnFrom) + ")-(" + std::to_string(r.nLineTo) +
         "," + std::to_string(r.nColumnTo) + ")";
}

class InputTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    SetText(
        "abc def ghi\r\n"
        "漢字 word\r\n"_sj
        "last");
    view->UpdateCaret();
  }

  POINT At(int column, int line) const { return CellPoint(*view, column, line); }

  void Down(int column, int line, WPARAM keys = 0) {
    const POINT p = At(column, line);
    view->HandleLButtonDown(MK_LBUTTON | keys, p.x, p.y);
  }
  void Move(int column, int line) {
    const POINT p = At(column, line);
    view->HandleMouseMove(MK_LBUTTON, p.x, p.y);
  }
  void Up(int column, int line) {
    const POINT p = At(column, line);
    view->HandleLButtonUp(0, p.x, p.y);
  }
  void Click(int column, int line, WPARAM keys = 0) {
    Down(column, line, keys);
    Up(column, line);
  }
  std::string Selection() const { return view->IsTextSelected() ? Describe(view->m_sSelect) : "none"; }
  std::string CaretAt() const { return std::to_string(view->m_nCaretPosY) + ":" + std::to_string(view->m_nCaretPosX); }
};

// One gesture: clicks and drags given as (column, line) cells with the keys held at the press.
struct Step {
  enum Kind { kClick, kDown, kMove, kUp } kind;
  int column;
  int line;
  WPARAM keys = 0;
};

TEST_F(InputTest, ClicksAndDragsSelect) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string selection;
    std::string caret;
  };
  const Case cases[] = {
      {"a plain click selects nothing", {{Step::kClick, 5, 0}}, "none", "0:5"},
      {"shift-click selects from the caret",
       {{Step::kClick, 1, 0}, {Step::kClick, 6, 0, MK_SHIFT}},
       "(0,1)-(0,6)",
       "0:6"},
      {"shift-click before the caret", {{Step::kClick, 6, 0}, {Step::kClick, 1, 0, MK_SHIFT}}, "(0,1)-(0,6)", "0:1"},
      {"a drag over two lines",
       {{Step::kDown, 1, 0}, {Step::kMove, 3, 1}, {Step::kMove, 6, 1}, {Step::kUp, 6, 1}},
       "(0,1)-(1,6)",
       "1:6"},
      {"a drag back to where it started selects nothing",
       {{Step::kDown, 2, 0}, {Step::kMove, 5, 0}, {Step::kMove, 2, 0}, {Step::kUp, 2, 0}},
       "none",
       "0:2"},
      {"ctrl-click selects the word", {{Step::kClick, 5, 0, MK_CONTROL}}, "(0,4)-(0,7)", "0:5"},
      {"a ctrl-drag forward snaps to the end of a word",
       {{Step::kDown, 5, 0, MK_CONTROL}, {Step::kMove, 9, 0}, {Step::kUp, 9, 0}},
       "(0,4)-(0,11)",
       "0:9"},
      {"a ctrl-drag backward snaps to the start of a word and keeps the first",
       {{Step::kDown, 5, 0, MK_CONTROL}, {Step::kMove, 1, 0}, {Step::kUp, 1, 0}},
       "(0,0)-(0,7)",
       "0:1"},
      {"shift and ctrl grow the selection to whole words",
       {{Step::kClick, 5, 0}, {Step::kClick, 9, 0, MK_SHIFT | MK_CONTROL}},
       "(0,4)-(0,11)",
       "0:9"},
      {"the number area selects the row and its line end", {{Step::kClick, -1, 0}}, "(0,0)-(1,0)", "1:0"},
      {"the number area on the last line without a line end", {{Step::kClick, -1, 2}}, "(2,0)-(2,4)", "2:4"},
      {"a drag down the number area selects whole rows",
       {{Step::kDown, -1, 0}, {Step::kMove, -1, 1}, {Step::kUp, -1, 1}},
       "(0,0)-(2,0)",
       "2:0"},
      {"a drag up the number area takes the row under the pointer",
       {{Step::kDown, -1, 1}, {Step::kMove, -1, 0}, {Step::kUp, -1, 0}},
       "(0,0)-(2,0)",
       "0:0"},
  };
  for (const Case& c : cases) {
    view->ClearSelection(true);
    view->PlaceCursor(0, 0, true, 1000);
    for (const Step& s : c.steps) {
      switch (s.kind) {
        case Step::kClick:
          Click(s.column, s.line, s.keys);
          break;
        case Step::kDown:
          Down(s.column, s.line, s.keys);
          break;
        case Step::kMove:
          Move(s.column, s.line);
          break;
        case Step::kUp:
          Up(s.column, s.line);
          break;
      }
    }
    EXPECT_EQ(Selection(), c.selection) << c.name;
    EXPECT_EQ(CaretAt(), c.caret) << c.name;
    EXPECT_FALSE(view->m_bBeginSelect) << c.name;
  }
}

TEST_F(InputTest, AClickInsideTheSelectionClearsItWhenTheDragIsNotDropped) {
  common().bUseOLE_DragDrop = 1;
  common().bUseOLE_DropSource = 1;
  Down(1, 0);
  Move(9, 0);
  Up(9, 0);
  ASSERT_EQ(Selection(), "(0,1)-(0,9)");
  Click(5, 0);
  EXPECT_EQ(Selection(), "none");
  EXPECT_EQ(CaretAt(), "0:5");
}

TEST_F(InputTest, AClickSelectsAClickedUrlWhenAsked) {
  SetText("see http://x.jp/a now");
  common().bSelectClickedURL = 1;
  Click(8, 0);
  EXPECT_EQ(Selection(), "(0,4)-(0,17)");
  common().bSelectClickedURL = 0;
  view->ClearSelection(true);
  Click(8, 0);
  EXPECT_EQ(Selection(), "none");
}

TEST_F(InputTest, NothingHappensOnAnEmptyDocument) {
  SetText("");
  Down(3, 0);
  EXPECT_FALSE(view->m_bBeginSelect);
  EXPECT_EQ(CaretAt(), "0:0");
}

// ---------------------------------------------------------------------------------------------
// URLs under the caret.

TEST_F(InputTest, UrlAtCaretStepsByWholeCharacters) {
  struct Case {
    const char* name;
    std::string text;
    int column;
    bool found;
    int start;
    int length;
    std::string url;
  };
  const Case cases[] = {
      {"a URL in the middle", "see http://x.jp now", 6, true, 4, 11, "http://x.jp"},
      {"its first byte", "see http://x.jp now", 4, true, 4, 11, "http://x.jp"},
      {"just past its end", "see http://x.jp now", 15, false, 0, 0, ""},
      {"before it", "see http://x.jp now", 2, false, 0, 0, ""},
      // The trail byte of the kanji is "h": a walk over bytes would see "http://" there.
      {"a kanji whose trail byte is h", "栄ttp://x.jp"_sj, 4, true, 2, 10, "ttp://x.jp"},
      {"on that kanji", "栄ttp://x.jp"_sj, 0, false, 0, 0, ""},
      {"a mail address", "to a.b@x.co.jp.", 6, true, 3, 11, "a.b@x.co.jp"},
      {"shell characters stay in the URL", "http://x.jp/?a=$b;c&d!", 20, true, 0, 22, "http://x.jp/?a=$b;c&d!"},
      {"a second URL after a first", "http://a.jp http://b.jp", 14, true, 12, 11, "http://b.jp"},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    int line = -1;
    int start = -1;
    int length = -1;
    CMemory url;
    EXPECT_EQ(view->IsUrlAtCaret(c.column, 0, &line, &start, &length, &url), c.found) << c.name;
    if (!c.found) continue;
    EXPECT_EQ(line, 0) << c.name;
    EXPECT_EQ(start, c.start) << c.name;
    EXPECT_EQ(length, c.length) << c.name;
    EXPECT_EQ(std::string(url.View()), c.url) << c.name;
  }
}

TEST_F(InputTest, UrlOnAWrappedLineGivesTheDisplayLineOfItsFirstByte) {
  type().nWrapColumn = 10;
  SetText("abcdefgh http://x.jp");
  CWrapLineMgr& layout = doc->m_cLayoutMgr;
  ASSERT_GE(layout.GetLineCount(), 2);
  // The display line holding byte 9, where the URL starts, and a cell of its last byte.
  int urlLine = 0;
  while (urlLine + 1 < layout.GetLineCount() &&
         layout.GetLine(urlLine)->m_nOffset + layout.GetLine(urlLine)->m_nLength <= 9) {
    ++urlLine;
  }
  int lastColumn = 0;
  int lastLine = 0;
  layout.DocToWrapPos(19, 0, &lastColumn, &lastLine);
  ASSERT_GT(lastLine, 0);
  int line = -1;
  int start = -1;
  int length = -1;
  ASSERT_TRUE(view->IsUrlAtCaret(lastColumn, lastLine, &line, &start, &length, nullptr));
  EXPECT_EQ(line, urlLine);
  EXPECT_EQ(start, 9 - layout.GetLine(urlLine)->m_nOffset);
  EXPECT_EQ(length, 11);
}

class OpenedUrls {
 public:
  OpenedUrls() {
    previous = platform::SetUrlOpenerHook([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
  }
  ~OpenedUrls() { platform::SetUrlOpenerHook(previous); }
  std::vector<std::string> opened;

 private:
  platform::UrlOpenerHook previous;
};

TEST_F(InputTest, DoubleClickOpensTheUrlUnderTheCaret) {
  struct Case {
    const char* name;
    std::string text;
    int column;
    std::vector<std::string> opened;
  };
  const Case cases[] = {
      {"without its h", "ttp://x.jp", 3, {"http://x.jp"}},
      {"without ht", "go tp://x.jp", 5, {"http://x.jp"}},
      {"whole", "https://x.jp/a", 5, {"https://x.jp/a"}},
      {"a mail address", "a.b@x.co.jp", 2, {"mailto:a.b@x.co.jp"}},
      {"a mailto URL as it is", "mailto:a@x.jp", 9, {"mailto:a@x.jp"}},
      {"one argument with shell characters", "http://x.jp/?a=1&b=$c;d!", 4, {"http://x.jp/?a=1&b=$c;d!"}},
      {"not on a URL", "plain text", 3, {}},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    OpenedUrls urls;
    Click(c.column, 0);
    const POINT p = At(c.column, 0);
    view->HandleLButtonDblClk(MK_LBUTTON, p.x, p.y);
    view->HandleLButtonUp(0, p.x, p.y);
    EXPECT_EQ(urls.opened, c.opened) << c.name;
  }
}

TEST_F(InputTest, DoubleClickOpensNothingWhileUrlsAreHidden) {
  SetText("http://x.jp");
  record->TypeList[doc->m_nSettingType].Colors[CEditView::kStateUrl].bShow = 0;
  OpenedUrls urls;
  Click(3, 0);
  const POINT p = At(3, 0);
  view->HandleLButtonDblClk(MK_LBUTTON, p.x, p.y);
  view->HandleLButtonUp(0, p.x, p.y);
  EXPECT_TRUE(urls.opened.empty());
}

// ---------------------------------------------------------------------------------------------
// Mouse bindings.

class BindingTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    editWindow.window = windows.parent;
    platform_test::SeenMessages().clear();
  }
  std::vector<WPARAM> Commands() const {
    std::vector<WPARAM> out;
    for (const platform_test::Seen& s :
         platform_test::SeenBy(windows.parent, [](UINT message) { return message == WM_COMMAND; })) {
      out.push_back(s.wParam);
    }
    return out;
  }
  platform_test::ChildWindowFixture windows;
};

TEST_F(BindingTest, BoundButtonsPostTheirCommandsFromTheMouse) {
  record->KeyAssigns[2].nCommands[0] = 30410;
  record->KeyAssigns[3].nCommands[0] = 31250;
  record->KeyAssigns[4].nCommands[0] = 0;
  view->HandleMButtonDown(MK_MBUTTON, 10, 10);
  view->HandleXButton1Down(MK_XBUTTON1, 10, 10);
  view->HandleXButton2Down(MK_XBUTTON2, 10, 10);
  // Posted: nothing arrives before the queue is pumped.
  EXPECT_TRUE(Commands().empty());
  platform_test::PumpTranslated();
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(30410, 2), MAKEWPARAM(31250, 2)}));
}

TEST_F(BindingTest, TheDoubleClickCommandIsSentAtOnce) {
  record->KeyAssigns[0].nCommands[0] = 30400;
  Click(1, 1);
  const POINT p = At(1, 1);
  view->HandleLButtonDblClk(MK_LBUTTON, p.x, p.y);
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(30400, 2)}));
  // The double click goes on as a drag by words.
  EXPECT_TRUE(view->m_bBeginSelect);
  EXPECT_TRUE(view->m_bBeginWordSelect);
  EXPECT_FALSE(view->m_bBeginBoxSelect);
  view->HandleLButtonUp(0, p.x, p.y);
}

TEST_F(BindingTest, TheRightButtonEndsADragAndPostsItsCommand) {
  record->KeyAssigns[1].nCommands[0] = 31580;
  Down(1, 0);
  Move(5, 0);
  const POINT p = At(5, 0);
  view->HandleRButtonUp(MK_LBUTTON, p.x, p.y);
  EXPECT_FALSE(view->m_bBeginSelect);
  EXPECT_EQ(Selection(), "(0,1)-(0,5)");
  platform_test::PumpTranslated();
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(31580, 2)}));
}

TEST_F(InputTest, WithoutAnEditWindowTheBindingRunsOnThePane) {
  record->KeyAssigns[2].nCommands[0] = 30410;
  std::vector<std::pair<int, int>> ran;
  CCommandHandlerTable::Handler previous =
      CCommandHandlerTable::Get().Replace(30410, [&](CEditView&, const CommandCall& call) {
        ran.emplace_back(call.nCommand, call.nSource);
        return LRESULT{1};
      });
  view->HandleMButtonDown(MK_MBUTTON, 10, 10);
  CCommandHandlerTable::Get().Replace(30410, previous);
  EXPECT_EQ(ran, (std::vector<std::pair<int, int>>{{30410, CEditView::kSourceMouse}}));
}

TEST_F(InputTest, DoubleClickOnAGrepResultJumpsToTheTag) {
  doc->m_bGrepWindow = true;
  common().bGTJW_LDBLCLK = 1;
  std::vector<int> ran;
  const auto record = [&](CEditView&, const CommandCall& call) {
    ran.push_back(call.nCommand);
    return LRESULT{1};
  };
  CCommandHandlerTable::Handler previousJump = CCommandHandlerTable::Get().Replace(cmd::kTagJump, record);
  CCommandHandlerTable::Handler previousWord = CCommandHandlerTable::Get().Replace(30400, record);
  Click(2, 0);
  const POINT p = At(2, 0);
  view->HandleLButtonDblClk(MK_LBUTTON, p.x, p.y);
  view->HandleLButtonUp(0, p.x, p.y);
  common().bGTJW_LDBLCLK = 0;
  view->HandleLButtonDblClk(MK_LBUTTON, p.x, p.y);
  view->HandleLButtonUp(0, p.x, p.y);
  CCommandHandlerTable::Get().Replace(cmd::kTagJump, previousJump);
  CCommandHandlerTable::Get().Replace(30400, previousWord);
  // Then, without the setting, the double click's binding (SelectWord by default).
  EXPECT_EQ(ran, (std::vector<int>{cmd::kTagJump, 30400}));
}

// ---------------------------------------------------------------------------------------------
// Wheel.

TEST_F(InputTest, TheWheelScrollsByTheDesktopsLines) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  const int page = view->m_nViewRowNum;
  ASSERT_GT(page, 30);  // a page is not cut to 30 lines
  struct Case {
    const char* name;
    std::optional<int> lines;
    int expected;
  };
  const Case cases[] = {
      {"no setting", std::nullopt, 6}, {"a page", -1, page}, {"zero", 0, 1}, {"negative", -7, 1}, {"three", 3, 3},
      {"a hundred", 100, 30},          {"thirty", 30, 30},
  };
  for (const Case& c : cases) {
    FixedWheel wheel(c.lines);
    view->ScrollToTopLine(100);
    ASSERT_EQ(view->m_nViewTopLine, 100) << c.name;
    view->PlaceCursor(2, 105, true, 1000);
    const int top = view->m_nViewTopLine;
    view->HandleMouseWheel(MAKEWPARAM(0, static_cast<uint16_t>(-WHEEL_DELTA)));
    EXPECT_EQ(view->m_nViewTopLine, top + c.expected) << c.name << ": a notch towards the user goes down";
    view->HandleMouseWheel(MAKEWPARAM(0, WHEEL_DELTA));
    EXPECT_EQ(view->m_nViewTopLine, top) << c.name << ": and one away comes back";
    EXPECT_EQ(CaretAt(), "105:2") << c.name << ": the caret stays";
  }
}

TEST_F(InputTest, APageOfAPaneWithoutRowsIsOneLine) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line\r\n";
  SetText(text);
  view->SetClientSize(300, view->m_nViewAlignTop + 2);
  ASSERT_EQ(view->m_nViewRowNum, 0);
  FixedWheel wheel(-1);
  view->HandleMouseWheel(MAKEWPARAM(0, static_cast<uint16_t>(-WHEEL_DELTA)));
  EXPECT_EQ(view->m_nViewTopLine, 1);
}

TEST_F(InputTest, TheWheelStopsAtTheTop) {
  FixedWheel wheel(6);
  view->HandleMouseWheel(MAKEWPARAM(0, WHEEL_DELTA));
  EXPECT_EQ(view->m_nViewTopLine, 0);
}

// ---------------------------------------------------------------------------------------------
// The mouse cursor.

TEST_F(InputTest, TheCursorTellsWhatLiesUnderThePointer) {
  SetText("see http://x.jp now\r\nabc def\r\n");
  common().bUseOLE_DragDrop = 1;
  common().bUseOLE_DropSource = 1;
  const HCURSOR arrow = platform::LoadCursor(nullptr, IDC_ARROW);
  const HCURSOR ibeam = platform::LoadCursor(nullptr, IDC_IBEAM);
  const auto own = [](int id) { return platform::LoadCursor(nullptr, MAKEINTRESOURCE(id)); };
  struct Case {
    const char* name;
    int x;
    int y;
    int searchMode;
    int searchDirection;
    HCURSOR expected;
  };
  const POINT text = At(1, 1);
  const POINT url = At(7, 0);
  const POINT selected = At(5, 1);
  const Case cases[] = {
      {"over the text", text.x, text.y, 0, 1, ibeam},
      {"over the number area", view->m_nViewAlignLeft - 2, text.y, 0, 1, own(platform::kCursorLineNumbers)},
      {"above the number area", view->m_nViewAlignLeft - 2, view->m_nViewAlignTop - 1, 0, 1, arrow},
      {"over the ruler", text.x, view->m_nViewAlignTop - 1, 0, 1, arrow},
      {"over a URL", url.x, url.y, 0, 1, own(platform::kCursorLink)},
      {"over the selection, which can be dragged", selected.x, selected.y, 0, 1, arrow},
      {"searching forward", text.x, text.y, 1, 1, own(platform::kCursorSearchForward)},
      {"searching backward", text.x, text.y, 1, 0, own(platform::kCursorSearchBackward)},
  };
  ASSERT_GT(view->m_nViewAlignTop, 0) << "the ruler is shown";
  for (const Case& c : cases) {
    view->ClearSelection(true);
    Down(4, 1);
    Move(7, 1);
    Up(7, 1);
    ASSERT_EQ(Selection(), "(1,4)-(1,7)");
    view->m_nISearchMode = c.searchMode;
    view->m_nISearchDirection = c.searchDirection;
    platform::SetCursor(nullptr);
    view->HandleMouseMove(0, c.x, c.y);
    EXPECT_NE(c.expected, nullptr) << c.name;
    EXPECT_EQ(platform::GetCursor(), c.expected) << c.name;
  }
  view->m_nISearchMode = 0;
}

}  // namespace
