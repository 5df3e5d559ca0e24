// TranslateMessage: the characters a key typed, as WM_CHAR messages of Shift-JIS bytes.
#include <gtest/gtest.h>

#include <Qt>
#include <string>
#include <vector>

#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

bool IsKeyOrChar(UINT message) { return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR; }

struct Key {
  int qtKey;
  std::string text;
  unsigned modifiers;
};

struct Expected {
  UINT message;
  WPARAM wParam;
};

TEST(KeyTextTest, KeysTypeTheirShiftJisBytesInOrder) {
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::vector<Expected> messages;
  };
  const Case cases[] = {
      {"a letter", {{Qt::Key_A, "a", 0}}, {{WM_KEYDOWN, 'A'}, {WM_CHAR, 0x61}, {WM_KEYUP, 'A'}}},
      {"a double-byte character, lead then trail",
       {{Qt::Key_A, "あ"_sj, 0}},
       {{WM_KEYDOWN, 'A'}, {WM_CHAR, 0x82}, {WM_CHAR, 0xA0}, {WM_KEYUP, 'A'}}},
      {"Ctrl+A types its control character",
       {{Qt::Key_A, "\x01", kSimControl}},
       {{WM_KEYDOWN, 'A'}, {WM_CHAR, 0x01}, {WM_KEYUP, 'A'}}},
      {"Alt+A chooses, types nothing", {{Qt::Key_A, "a", kSimAlt}}, {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}}},
      {"a key without text", {{Qt::Key_Left, "", 0}}, {{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}},
      {"a character comes before the keys pressed after it",
       {{Qt::Key_B, "b", 0}, {Qt::Key_Left, "", 0}, {Qt::Key_C, "c", 0}},
       {{WM_KEYDOWN, 'B'},
        {WM_CHAR, 'b'},
        {WM_KEYUP, 'B'},
        {WM_KEYDOWN, VK_LEFT},
        {WM_KEYUP, VK_LEFT},
        {WM_KEYDOWN, 'C'},
        {WM_CHAR, 'c'},
        {WM_KEYUP, 'C'}}},
  };
  for (const Case& c : cases) {
    ChildWindowFixture windows;
    // Every key waits in the toolkit's queue before the pump sees the first.
    for (const Key& k : c.keys) SimulateTypedKey(windows.child, k.qtKey, k.text, k.modifiers);
    PumpTranslated();
    const std::vector<Seen> seen = platform_test::SeenBy(windows.child, IsKeyOrChar);
    ASSERT_EQ(seen.size(), c.messages.size()) << c.name;
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].message, c.messages[i].message) << c.name << " #" << i;
      EXPECT_EQ(seen[i].wParam, c.messages[i].wParam) << c.name << " #" << i;
      // A character carries its key-down's bits.
      if (seen[i].message == WM_CHAR) {
        EXPECT_EQ(seen[i].lParam & 0xFFFFFF, seen[i - 1].lParam & 0xFFFFFF) << c.name;
      }
    }
  }
}

TEST(KeyTextTest, OnlyAKeyDownOfTheQueueTranslates) {
  ChildWindowFixture windows;
  const MSG made{windows.child, WM_KEYDOWN, 'A', 1};
  EXPECT_EQ(TranslateMessage(&made), 0);
  const MSG up{windows.child, WM_KEYUP, 'A', 1};
  EXPECT_EQ(TranslateMessage(&up), 0);
  EXPECT_EQ(TranslateMessage(nullptr), 0);
  PumpTranslated();
  EXPECT_TRUE(platform_test::SeenBy(windows.child, IsKeyOrChar).empty());
}

}  // namespace
