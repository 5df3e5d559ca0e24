// Input reaching a real pane window as the toolkit delivers it: mouse clicks and drags, typed
// characters, the input method's commits, preedits, queries and reconversion, the wheel, URLs and
// bound buttons.
#include <optional>
#include <string>
#include <vector>

#include "editor/view/commands/command_handler_table.h"
#include "editor/view/commands/command_ids.h"
#include "input_test_util.h"
#include "pane_window_fixture.h"
#include "platform/clock.h"
#include "platform/cursor_pos.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/url_opener.h"

namespace {

using platform::MouseButton;

constexpr int kInsText = 30606;
// The toolkit's numbers of the keys the tests press.
constexpr int kKeyA = 0x41;
constexpr int kKeyAlt = 0x01000023;

// A command as its handler received it.
struct Ran {
  int id;
  LPARAM argument;
  std::string text;  // InsText's text (its argument, a pointer, is left 0)
  bool operator==(const Ran&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ran& r) {
  return out << "{" << r.id << ", 0x" << std::hex << r.argument << std::dec << ", \"" << r.text << "\"}";
}

class InputWindowTest : public PaneWindowFixture {
 protected:
  void SetUp() override {
    PaneWindowFixture::SetUp();
    SetText(
        "abc def ghi\r\n"
        "漢字 word\r\n"_sj
        "last\r\n");
    platform::SetFocus(view->Window());
    Pump();
    for (const int id : {cmd::kChar, cmd::kCharIme, kInsText}) {
      previous.push_back(CCommandHandlerTable::Get().Replace(id, [this](CEditView&, const CommandCall& call) {
        const bool text = call.nCommand == kInsText;
        ran.push_back({call.nCommand, text ? 0 : call.lparam[0], text ? std::string(call.Text(0)) : ""});
        return LRESULT{1};
      }));
    }
  }
  void TearDown() override {
    const int ids[] = {cmd::kChar, cmd::kCharIme, kInsText};
    for (size_t i = 0; i < previous.size(); ++i) CCommandHandlerTable::Get().Replace(ids[i], previous[i]);
    PaneWindowFixture::TearDown();
  }

  POINT At(int column, int line) const { return CellPoint(*view, column, line); }

  void Press(int column, int line, unsigned modifiers = 0) {
    const POINT p = At(column, line);
    platform::SimulateMouseButton(view->Window(), MouseButton::Left, true, p.x, p.y, modifiers);
    Pump();
  }
  void Release(int column, int line, unsigned modifiers = 0) {
    const POINT p = At(column, line);
    platform::SimulateMouseButton(view->Window(), MouseButton::Left, false, p.x, p.y, modifiers);
    Pump();
  }
  void MoveTo(int column, int line, unsigned modifiers = 0) {
    const POINT p = At(column, line);
    platform::SimulateMouseMove(view->Window(), p.x, p.y, modifiers);
    Pump();
  }
  void Click(int column, int line, unsigned modifiers = 0) {
    Press(column, line, modifiers);
    Release(column, line, modifiers);
  }
  void HoldAlt(bool down) {
    platform::SimulateKey(view->Window(), kKeyAlt, down);
    Pump();
  }
  std::string Selection() const {
    if (!view->IsTextSelected()) return "none";
    const SelectRange& r = view->m_sSelect;
    return "(" + std::to_string(r.nLineFrom) + "," + std::to_string(r.nColumnFrom) + ")-(" + std::to_string(r.nLineTo) +
           "," + std::to_string(r.nColumnTo) + ")";
  }
  std::string DocText() const {
    std::string out;
    for (int i = 0; i < doc->m_cDocLineMgr.GetLineCount(); ++i) {
      int length = 0;
      const char* line = doc->m_cDocLineMgr.GetLineText(i, &length);
      out.append(line, static_cast<size_t>(length));
    }
    return out;
  }

  std::vector<Ran> ran;
  std::vector<CCommandHandlerTable::Handler> previous;
};

TEST_F(InputWindowTest, ClicksAndDragsSelect) {
  Click(5, 0);
  EXPECT_EQ(Selection(), "none") << "a plain click";
  EXPECT_EQ(view->m_nCaretPosX, 5);

  Click(9, 0, platform::kSimShift);
  EXPECT_EQ(Selection(), "(0,5)-(0,9)") << "shift-click";

  Click(5, 1, platform::kSimControl);
  EXPECT_EQ(Selection(), "(1,5)-(1,9)") << "ctrl-click selects the word";
  Press(1, 0, platform::kSimControl);
  MoveTo(5, 0);
  Release(5, 0);
  EXPECT_EQ(Selection(), "(0,0)-(0,7)") << "a ctrl-drag snaps both ends to words";
}

TEST_F(InputWindowTest, AltDragSelectsABox) {
  HoldAlt(true);
  Press(1, 0);
  MoveTo(3, 1);
  MoveTo(6, 2);
  Release(6, 2);
  HoldAlt(false);
  EXPECT_TRUE(view->m_bBeginBoxSelect);
  EXPECT_EQ(Selection(), "(0,1)-(2,6)");
  EXPECT_FALSE(view->m_bBeginSelect);
}

TEST_F(InputWindowTest, TheNumberAreaSelectsByRows) {
  Press(-1, 0);
  EXPECT_EQ(Selection(), "(0,0)-(1,0)");
  MoveTo(-1, 1);
  Release(-1, 1);
  EXPECT_EQ(Selection(), "(0,0)-(2,0)");
}

TEST_F(InputWindowTest, ADragBelowThePaneScrollsByTheTimer) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  Press(2, 0);
  const int below = kHeight + 40;
  platform::SetCursorClientPos(view->Window(), At(2, 0).x, below);
  platform::SimulateMouseMove(view->Window(), At(2, 0).x, below);
  Pump();
  const int topAfterMove = view->m_nViewTopLine;
  // The mouse stays put outside the pane: only the timer moves the text on.
  const uint32_t start = platform::NowMs();
  while (view->m_nViewTopLine < topAfterMove + 3 && platform::NowMs() - start < 5000) {
    platform::SleepMs(10);
    Pump();
  }
  EXPECT_GE(view->m_nViewTopLine, topAfterMove + 3);
  EXPECT_EQ(view->m_sSelect.nLineFrom, 0);
  EXPECT_GT(view->m_sSelect.nLineTo, view->m_nViewTopLine);
  platform::SimulateMouseButton(view->Window(), MouseButton::Left, false, At(2, 0).x, below);
  Pump();
  EXPECT_FALSE(view->m_bBeginSelect);
}

TEST_F(InputWindowTest, TypedCharactersBecomeCharCommands) {
  platform::SimulateTypedKey(view->Window(), kKeyA, "a");
  platform::SimulateTypedKey(view->Window(), kKeyA, "あ"_sj);
  Pump();
  EXPECT_EQ(ran, (std::vector<Ran>{{cmd::kChar, 0x61, ""}, {cmd::kCharIme, 0x82A0, ""}}));
}

TEST_F(InputWindowTest, ACommitIsOneInsTextInInsertModeAndCharactersInOverwriteMode) {
  doc->m_bInsMode = true;
  platform::SimulateInputMethod(view->Window(), {.commit = "漢字"_sj});
  Pump();
  EXPECT_EQ(ran, (std::vector<Ran>{{kInsText, 0, "漢字"_sj}}));

  ran.clear();
  doc->m_bInsMode = false;
  platform::SimulateInputMethod(view->Window(), {.commit = "漢字"_sj});
  Pump();
  EXPECT_EQ(ran, (std::vector<Ran>{{cmd::kCharIme, 0x8ABF, ""}, {cmd::kCharIme, 0x8E9A, ""}}));
}

TEST_F(InputWindowTest, APreeditChangesNothing) {
  const std::string before = DocText();
  platform::SimulateInputMethod(view->Window(), {.preedit = "かんじ"_sj});
  Pump();
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(DocText(), before);
  platform::SimulateInputMethod(view->Window(), {});
  Pump();
}

TEST_F(InputWindowTest, TheInputMethodIsToldWhereTheCaretIs) {
  view->PlaceCursor(6, 1, true, 1000);
  const platform::InputMethodAnswers answers = platform::QueryInputMethod(view->Window());
  const int x = view->m_nViewAlignLeft + 6 * view->ColumnWidth();
  const int y = view->m_nViewAlignTop + view->LineHeight();
  EXPECT_EQ(answers.cursorRect.left, x);
  EXPECT_EQ(answers.cursorRect.top, y);
  EXPECT_EQ(answers.cursorRect.bottom - answers.cursorRect.top, view->m_nCharHeight);
  EXPECT_GT(answers.fontPixelSize, 0);
}

TEST_F(InputWindowTest, ReconversionServesTheTextAndSelectsWhatIsReplaced) {
  // The selection "字" of the second line is the target.
  view->PlaceCursor(2, 1, true, 1000);
  view->BeginSelectionAtCaret();
  view->PlaceCursor(4, 1, true, 1000);
  view->ChangeSelectionTo(4, 1);
  const platform::InputMethodAnswers answers = platform::QueryInputMethod(view->Window());
  EXPECT_EQ(answers.surroundingText, u"漢字 word");
  EXPECT_EQ(answers.anchorPosition, 1);
  EXPECT_EQ(answers.cursorPosition, 2);
  EXPECT_EQ(answers.currentSelection, u"字");

  // The input method converts "漢字" again: the two characters before the cursor are replaced.
  view->ClearSelection(true);
  view->PlaceCursor(4, 1, true, 1000);
  platform::QueryInputMethod(view->Window());
  platform::SimulateInputMethod(view->Window(), {.commit = "感じ"_sj, .replaceFrom = -2, .replaceLength = 2});
  Pump();
  EXPECT_EQ(Selection(), "(1,0)-(1,4)");
  EXPECT_EQ(ran, (std::vector<Ran>{{kInsText, 0, "感じ"_sj}}));

  // Only "字", the character before the cursor.
  ran.clear();
  view->ClearSelection(true);
  view->PlaceCursor(4, 1, true, 1000);
  platform::QueryInputMethod(view->Window());
  platform::SimulateInputMethod(view->Window(), {.commit = "時"_sj, .replaceFrom = -1, .replaceLength = 1});
  Pump();
  EXPECT_EQ(Selection(), "(1,2)-(1,4)");
  EXPECT_EQ(ran, (std::vector<Ran>{{kInsText, 0, "時"_sj}}));
}

TEST_F(InputWindowTest, TheWheelScrollsWithoutMovingTheCaret) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  FixedWheel wheel(std::nullopt);
  const POINT p = At(3, 3);
  platform::SimulateWheel(view->Window(), -120, p.x, p.y);
  Pump();
  EXPECT_EQ(view->m_nViewTopLine, 6);
  platform::SimulateWheel(view->Window(), -120, p.x, p.y);
  platform::SimulateWheel(view->Window(), 120, p.x, p.y);
  Pump();
  EXPECT_EQ(view->m_nViewTopLine, 6);
  EXPECT_EQ(view->m_nCaretPosY, 0);
}

TEST_F(InputWindowTest, DoubleClickingAUrlWithoutItsHOpensItWithTheH) {
  SetText("see ttp://x.jp\r\n");
  std::vector<std::string> opened;
  const platform::UrlOpenerHook previousHook = platform::SetUrlOpenerHook([&](const std::string& url) {
    opened.push_back(url);
    return true;
  });
  const POINT p = At(7, 0);
  platform::SimulateMouseButton(view->Window(), MouseButton::Left, true, p.x, p.y);
  platform::SimulateMouseButton(view->Window(), MouseButton::Left, false, p.x, p.y);
  platform::SimulateMouseDoubleClick(view->Window(), MouseButton::Left, p.x, p.y);
  platform::SimulateMouseButton(view->Window(), MouseButton::Left, false, p.x, p.y);
  Pump();
  platform::SetUrlOpenerHook(previousHook);
  EXPECT_EQ(opened, (std::vector<std::string>{"http://x.jp"}));
}

// The edit window's commands, as its procedure receives them.
std::vector<WPARAM>& EditWindowCommands() {
  static std::vector<WPARAM> commands;
  return commands;
}
LRESULT CommandRecorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) EditWindowCommands().push_back(wParam);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(InputWindowTest, ABoundMiddleClickPostsItsCommandFromTheMouse) {
  platform::SetWindowLongPtr(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandRecorder));
  EditWindowCommands().clear();
  record->KeyAssigns[2].nCommands[0] = 30410;
  const POINT p = At(2, 1);
  platform::SimulateMouseButton(view->Window(), MouseButton::Middle, true, p.x, p.y);
  platform::SimulateMouseButton(view->Window(), MouseButton::Middle, false, p.x, p.y);
  Pump();
  EXPECT_EQ(EditWindowCommands(), (std::vector<WPARAM>{MAKEWPARAM(30410, CEditView::kSourceMouse)}));

  // Unbound: nothing.
  EditWindowCommands().clear();
  record->KeyAssigns[2].nCommands[0] = 0;
  platform::SimulateMouseButton(view->Window(), MouseButton::Middle, true, p.x, p.y);
  platform::SimulateMouseButton(view->Window(), MouseButton::Middle, false, p.x, p.y);
  Pump();
  EXPECT_TRUE(EditWindowCommands().empty());
}

}  // namespace
