// The input method's commits and preedits on a child window: composition messages, the committed
// Shift-JIS text, and the characters the default procedure makes of it.
#include "platform/ime_composition.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_method.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

bool IsTextInput(UINT message) {
  return message == WM_IME_COMPOSITION || message == WM_IME_CHAR || message == WM_CHAR;
}

// What the input method sends the canvas: a commit, a preedit with its cursor, or both.
void Compose(HWND hwnd, std::u8string_view utf8Commit, std::u8string_view utf8Preedit, int cursor = -1) {
  const QString preedit = QString::fromUtf8(reinterpret_cast<const char*>(utf8Preedit.data()), static_cast<qsizetype>(utf8Preedit.size()));
  QList<QInputMethodEvent::Attribute> attributes;
  attributes.append({QInputMethodEvent::Cursor, cursor < 0 ? static_cast<int>(preedit.size()) : cursor, 1});
  QInputMethodEvent event(preedit, attributes);
  event.setCommitString(QString::fromUtf8(reinterpret_cast<const char*>(utf8Commit.data()), static_cast<qsizetype>(utf8Commit.size())));
  QCoreApplication::sendEvent(WindowFromHandle(hwnd)->canvas(), &event);
}

// The committed texts the procedure could read while handling each composition message.
std::vector<std::string> resultsSeen;
LRESULT ReadingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_IME_COMPOSITION && (lParam & GCS_RESULTSTR)) resultsSeen.push_back(ImeResultString(hwnd));
  return platform_test::RecordingProc(hwnd, message, wParam, lParam);
}

class ImeCompositionTest : public testing::Test {
 protected:
  void SetUp() override {
    EnableInputMethod(windows.child, true);
    SetWindowLongPtr(windows.child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReadingProc));
    resultsSeen.clear();
  }
  std::vector<Seen> Input() const { return platform_test::SeenBy(windows.child, IsTextInput); }
  ChildWindowFixture windows;
};

struct Expected {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

TEST_F(ImeCompositionTest, CommitsBecomeCharactersAndPreeditsDoNot) {
  struct Case {
    const char* name;
    const char8_t* commit;
    const char8_t* preedit;
    std::vector<Expected> messages;
    std::vector<std::string> results;
    std::string preeditAfter;
  };
  const Case cases[] = {
      {"two kanji",
       u8"漢字",
       u8"",
       {{WM_IME_COMPOSITION, 0x8ABF, GCS_RESULTSTR}, {WM_IME_CHAR, 0x8ABF, 1}, {WM_IME_CHAR, 0x8E9A, 1}},
       {"漢字"_sj},
       ""},
      {"mixed widths",
       u8"aあ",
       u8"",
       {{WM_IME_COMPOSITION, 'a', GCS_RESULTSTR}, {WM_IME_CHAR, 'a', 1}, {WM_IME_CHAR, 0x82A0, 1}},
       {"aあ"_sj},
       ""},
      {"a preedit only", u8"", u8"かんじ", {{WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS}}, {}, "かんじ"_sj},
      {"a commit that starts the next preedit",
       u8"漢",
       u8"じ",
       {{WM_IME_COMPOSITION, 0x8ABF, GCS_RESULTSTR},
        {WM_IME_CHAR, 0x8ABF, 1},
        {WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS}},
       {"漢"_sj},
       "じ"_sj},
  };
  for (const Case& c : cases) {
    platform_test::SeenMessages().clear();
    resultsSeen.clear();
    Compose(windows.child, c.commit, c.preedit);
    PumpTranslated();
    const std::vector<Seen> seen = Input();
    ASSERT_EQ(seen.size(), c.messages.size()) << c.name;
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].message, c.messages[i].message) << c.name << " #" << i;
      EXPECT_EQ(seen[i].wParam, c.messages[i].wParam) << c.name << " #" << i;
      EXPECT_EQ(seen[i].lParam, c.messages[i].lParam) << c.name << " #" << i;
    }
    EXPECT_EQ(resultsSeen, c.results) << c.name;
    EXPECT_EQ(ImeCompositionString(windows.child), c.preeditAfter) << c.name;
    // Outside the message there is no committed text.
    EXPECT_EQ(ImeResultString(windows.child), "") << c.name;
    Compose(windows.child, u8"", u8"");  // ends the preedit for the next case
    PumpTranslated();
  }
}

TEST_F(ImeCompositionTest, PreeditCursorIsABytePlace) {
  Compose(windows.child, u8"", u8"かaんじ", 2);
  PumpTranslated();
  EXPECT_EQ(ImeCompositionString(windows.child), "かaんじ"_sj);
  EXPECT_EQ(ImeCompositionCursor(windows.child), 3);
}

TEST_F(ImeCompositionTest, CommitsKeepTheirPlaceAmongKeys) {
  SimulateTypedKey(windows.child, Qt::Key_A, "a");
  QCoreApplication::sendPostedEvents();
  Compose(windows.child, u8"字", u8"");
  SimulateTypedKey(windows.child, Qt::Key_B, "b");
  QCoreApplication::sendPostedEvents();
  PumpTranslated();
  std::vector<WPARAM> characters;
  for (const Seen& s : Input()) {
    if (s.message != WM_IME_COMPOSITION) characters.push_back(s.wParam);
  }
  EXPECT_EQ(characters, (std::vector<WPARAM>{'a', 0x8E9A, 'b'}));
  EXPECT_EQ(resultsSeen, (std::vector<std::string>{"字"_sj}));
}

TEST_F(ImeCompositionTest, AWindowWithoutTheInputMethodHearsNothing) {
  EnableInputMethod(windows.child, false);
  Compose(windows.child, u8"漢字", u8"かな");
  PumpTranslated();
  EXPECT_TRUE(Input().empty());
  EXPECT_EQ(ImeCompositionString(windows.child), "");
}

}  // namespace
