// What a window answers the input method through its provider, and how an input-method event that
// replaces part of the served text reaches the window: its range first, then the commit.
#include "platform/ime_query.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QObject>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "../box_font_engine.h"
#include "platform/ime_composition.h"
#include "platform/input_method.h"
#include "platform/presenter.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

class FakeProvider final : public ImeQueryProvider {
 public:
  RECT ImeCaretRect() override { return caret; }
  const Font* ImeFont() override { return font ? &*font : nullptr; }
  ImeReconversion ImeReconversionText() override {
    ++reconversionsServed;
    return reconversion;
  }
  TextColors ImePreeditColors() override { return colors; }

  RECT caret{30, 40, 32, 58};
  std::optional<Font> font;
  ImeReconversion reconversion;
  int reconversionsServed = 0;
  TextColors colors;
};

bool IsImeMessage(UINT message) {
  return message == WM_IME_REQUEST || message == WM_IME_COMPOSITION || message == WM_IME_CHAR;
}

class ImeQueryTest : public testing::Test {
 protected:
  void SetUp() override {
    EnableInputMethod(windows.child, true);
    ASSERT_TRUE(SetImeQueryProvider(windows.child, &provider));
    provider.font = Font::Create(FontDesc{.height = 16, .weight = FW_BOLD, .faceName = "ＭＳ ゴシック"_sj});
    ASSERT_TRUE(provider.font);
    // "前の漢字を", the target the two kanji.
    provider.reconversion = {u"前の漢字を", 2, 2};
  }
  void TearDown() override { SetImeQueryProvider(windows.child, nullptr); }
  std::vector<Seen> Messages() const { return platform_test::SeenBy(windows.child, IsImeMessage); }

  ChildWindowFixture windows;
  FakeProvider provider;
};

TEST_F(ImeQueryTest, TheProviderAnswersCaretFontAndReconversionText) {
  const InputMethodAnswers answers = QueryInputMethod(windows.child);
  EXPECT_EQ(answers.cursorRect.left, 30);
  EXPECT_EQ(answers.cursorRect.top, 40);
  EXPECT_EQ(answers.cursorRect.right, 32);
  EXPECT_EQ(answers.cursorRect.bottom, 58);
  EXPECT_EQ(answers.fontFamily, "IPAGothic");
  EXPECT_EQ(answers.fontPixelSize, 16);
  EXPECT_EQ(answers.fontWeight, FW_BOLD);
  EXPECT_EQ(answers.surroundingText, u"前の漢字を");
  EXPECT_EQ(answers.anchorPosition, 2);
  EXPECT_EQ(answers.cursorPosition, 4);
  EXPECT_EQ(answers.currentSelection, u"漢字");
  EXPECT_GT(provider.reconversionsServed, 0);  // asked afresh, so the window remembers serving it
}

// A target the provider placed outside its text is kept inside it; without a provider the toolkit's
// own answers stand (nothing of the window's text).
TEST_F(ImeQueryTest, TargetsOutsideTheTextAreKeptInsideAndNoProviderMeansNoText) {
  provider.reconversion = {u"かな", 1, 9};
  InputMethodAnswers answers = QueryInputMethod(windows.child);
  EXPECT_EQ(answers.anchorPosition, 1);
  EXPECT_EQ(answers.cursorPosition, 2);
  EXPECT_EQ(answers.currentSelection, u"な");
  provider.reconversion = {u"かな", -3, 1};
  answers = QueryInputMethod(windows.child);
  EXPECT_EQ(answers.anchorPosition, 0);
  EXPECT_EQ(answers.currentSelection, u"か");

  SetImeQueryProvider(windows.child, nullptr);
  EXPECT_EQ(GetImeQueryProvider(windows.child), nullptr);
  answers = QueryInputMethod(windows.child);
  EXPECT_TRUE(answers.surroundingText.empty());
  EXPECT_TRUE(answers.currentSelection.empty());
}

struct Expected {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A moved caret is told to the input method of the window that has the keyboard, which asks
// again; a window without the keyboard tells it nothing.
TEST_F(ImeQueryTest, AMovedCaretIsToldToTheInputMethodOfTheFocusedWindow) {
  QInputMethod* method = QGuiApplication::inputMethod();
  int told = 0;
  const QMetaObject::Connection c = QObject::connect(method, &QInputMethod::cursorRectangleChanged, [&] { ++told; });
  ASSERT_EQ(GetFocus(), windows.child);
  provider.caret = RECT{60, 20, 62, 38};
  UpdateImeQueries(windows.child);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(QueryInputMethod(windows.child).cursorRect.left, 60);
  UpdateImeQueries(windows.parent);
  EXPECT_EQ(told, 1);
  QObject::disconnect(c);
}

// The served text is "前の漢字を" with the cursor after "漢字" (position 4).
TEST_F(ImeQueryTest, AReplacingEventGivesItsRangeBeforeItsCommit) {
  struct Case {
    const char* name;
    SimulatedComposition composition;
    std::vector<Expected> messages;
  };
  const Case cases[] = {
      {"the kanji replaced by a commit",
       {.commit = "感じ"_sj, .replaceFrom = -2, .replaceLength = 2},
       {{WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING, MAKELPARAM(2, 2)},
        {WM_IME_COMPOSITION, 0x8AB4, GCS_RESULTSTR},
        {WM_IME_CHAR, 0x8AB4, 1},
        {WM_IME_CHAR, 0x82B6, 1}}},
      {"the range removed before a preedit takes its place",
       {.preedit = "かんじ"_sj, .replaceFrom = -2, .replaceLength = 2},
       {{WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING, MAKELPARAM(2, 2)},
        {WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS}}},
      {"a range past the text's ends is cut to it",
       {.commit = "a", .replaceFrom = -9, .replaceLength = 30},
       {{WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING, MAKELPARAM(0, 5)},
        {WM_IME_COMPOSITION, 'a', GCS_RESULTSTR},
        {WM_IME_CHAR, 'a', 1}}},
      {"a plain commit replaces nothing",
       {.commit = "a"},
       {{WM_IME_COMPOSITION, 'a', GCS_RESULTSTR}, {WM_IME_CHAR, 'a', 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Each case from a clean preedit.
    SimulateInputMethod(windows.child, {});
    PumpTranslated();
    platform_test::SeenMessages().clear();
    SimulateInputMethod(windows.child, c.composition);
    PumpTranslated();
    const std::vector<Seen> seen = Messages();
    ASSERT_EQ(seen.size(), c.messages.size());
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].message, c.messages[i].message) << i;
      EXPECT_EQ(seen[i].wParam, c.messages[i].wParam) << i;
      EXPECT_EQ(seen[i].lParam, c.messages[i].lParam) << i;
    }
  }
}

// The range counts in the text as the window serves it when the event comes, which is what the
// window remembers confirming against.
TEST_F(ImeQueryTest, TheRangeIsTakenFromTheTextServedWhenTheEventComes) {
  QueryInputMethod(windows.child);
  provider.reconversion = {u"漢字", 0, 0};  // the caret moved to the line's start since
  const int before = provider.reconversionsServed;
  SimulateInputMethod(windows.child, {.commit = "x", .replaceFrom = 0, .replaceLength = 1});
  PumpTranslated();
  EXPECT_GT(provider.reconversionsServed, before);
  const std::vector<Seen> seen = Messages();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0].message, WM_IME_REQUEST);
  EXPECT_EQ(seen[0].lParam, MAKELPARAM(0, 1));
}

// The preedit shows over the window at the caret, in the provider's font and colours, and goes
// when the commit ends it.
TEST_F(ImeQueryTest, ThePreeditIsDrawnAtTheCaretUntilItIsCommitted) {
  BoxFontEngine boxes;
  FontEngine* const previous = SetFontEngine(&boxes);
  provider.font = Font::Create(FontDesc{.height = 16, .faceName = "ＭＳ ゴシック"_sj});
  provider.caret = RECT{30, 40, 32, 56};
  provider.colors = TextColors{RGB(200, 0, 0), RGB(0, 0, 120), true};
  const auto shown = [&](int x, int y) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(CaptureClientArea(windows.child, &pixels, &w, &h));
    return pixels[static_cast<size_t>(y * w + x)] & 0xFFFFFFu;
  };
  const uint32_t ink = 0xC80000u, paper = 0x000078u;
  const uint32_t window = shown(100, 100);  // the window's own picture, far from the caret

  // "かな" with its cursor after "か": two boxes of 16 pixels from (30, 40).
  SimulateInputMethod(windows.child, {.preedit = "かな"_sj, .preeditCursor = 2});
  PumpTranslated();
  EXPECT_EQ(shown(31, 41), ink);     // inside the first box
  EXPECT_EQ(shown(30, 41), paper);   // its border
  EXPECT_EQ(shown(33, 43), paper);   // its hole
  EXPECT_EQ(shown(50, 45), ink);     // the second box
  EXPECT_EQ(shown(46, 42), ink);     // the cursor, between the two
  EXPECT_EQ(shown(38, 55), ink);     // the underline, on the last row
  EXPECT_EQ(shown(62, 45), window);  // past the preedit
  EXPECT_EQ(shown(31, 39), window);  // above the caret

  SimulateInputMethod(windows.child, {.commit = "かな"_sj});
  PumpTranslated();
  EXPECT_EQ(shown(31, 41), window);
  EXPECT_EQ(shown(38, 55), window);
  SetFontEngine(previous);
}

// A window on its way out asks its provider nothing: the provider may be going with it.
InputMethodAnswers answersWhileDestroyed;
LRESULT QueryingOnDestroyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) answersWhileDestroyed = QueryInputMethod(hwnd);
  return platform_test::RecordingProc(hwnd, message, wParam, lParam);
}

TEST_F(ImeQueryTest, AWindowBeingDestroyedAsksItsProviderNothing) {
  SetWindowLongPtr(windows.child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QueryingOnDestroyProc));
  const int before = provider.reconversionsServed;
  DestroyWindow(windows.child);
  EXPECT_EQ(provider.reconversionsServed, before);
  EXPECT_TRUE(answersWhileDestroyed.surroundingText.empty());
  EXPECT_NE(answersWhileDestroyed.cursorRect.left, provider.caret.left);
}

}  // namespace
