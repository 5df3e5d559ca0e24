#include "platform/key_map.h"

#include <gtest/gtest.h>

#include "platform/win_types.h"

namespace {

using platform::KeyCode;
using platform::KeyCodeFromQtKey;

// The toolkit's key numbers are part of its published interface; spelled out here so that the test
// needs none of its headers.
struct Case {
  int qtKey;
  bool keypad;
  int vk;
  int tableIndex;  // scan code, + 0x80 for a prefixed key
};

TEST(KeyMap, ToolkitKeysBecomeVirtualKeysAndScanCodes) {
  const Case cases[] = {
      {0x41, false, 'A', 0x1E},            // A
      {0x61, false, 'A', 0x1E},            // a (lower case from an input method)
      {0x5A, false, 'Z', 0x2C},            // Z
      {0x31, false, '1', 0x02},            // 1
      {0x21, false, '1', 0x02},            // ! is the 1 key shifted
      {0x30, false, '0', 0x0B},            // 0
      {0x20, false, VK_SPACE, 0x39},       // space
      {0x01000000, false, VK_ESCAPE, 0x01},
      {0x01000001, false, VK_TAB, 0x0F},
      {0x01000003, false, VK_BACK, 0x0E},
      {0x01000004, false, VK_RETURN, 0x1C},   // Return
      {0x01000005, true, VK_RETURN, 0x9C},    // Enter on the pad
      {0x01000020, false, VK_SHIFT, 0x2A},
      {0x01000021, false, VK_CONTROL, 0x1D},
      {0x01000023, false, VK_MENU, 0x38},     // Alt
      {0x01000012, false, VK_LEFT, 0xCB},
      {0x01000013, false, VK_UP, 0xC8},
      {0x01000014, false, VK_RIGHT, 0xCD},
      {0x01000015, false, VK_DOWN, 0xD0},
      {0x01000016, false, VK_PRIOR, 0xC9},
      {0x01000017, false, VK_NEXT, 0xD1},
      {0x01000010, false, VK_HOME, 0xC7},
      {0x01000011, false, VK_END, 0xCF},
      {0x01000006, false, VK_INSERT, 0xD2},
      {0x01000007, false, VK_DELETE, 0xD3},
      {0x01000008, false, VK_PAUSE, 0xC5},
      {0x01000025, false, VK_NUMLOCK, 0x45},
      {0x01000030, false, VK_F1, 0x3B},
      {0x01000039, false, VK_F1 + 9, 0x44},   // F10
      {0x0100003a, false, VK_F1 + 10, 0x57},  // F11
      {0x0100003b, false, VK_F12, 0x58},
      {0x01000047, false, VK_F24, 0x76},
      {0x3B, false, VK_OEM_1, 0x27},           // ;
      {0x2F, false, VK_OEM_2, 0x35},           // /
      {0x5B, false, VK_OEM_4, 0x1A},           // [
      {0x30, true, VK_NUMPAD0, 0x52},          // 0 on the pad
      {0x37, true, VK_NUMPAD0 + 7, 0x47},      // 7 on the pad
      {0x2A, true, VK_MULTIPLY, 0x37},
      {0x2B, true, VK_ADD, 0x4E},
      {0x2D, true, VK_SUBTRACT, 0x4A},
      {0x2F, true, VK_DIVIDE, 0xB5},
      {0x2E, true, VK_DECIMAL, 0x53},
      {0x01000010, true, VK_HOME, 0x47},       // 7 on the pad with Num Lock off: not prefixed
      {0x0100112a, false, VK_KANJI, 0x29},     // Zenkaku/Hankaku
      {0x01001123, false, VK_CONVERT, 0x79},
      {0x01001122, false, VK_NONCONVERT, 0x7B},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "qt key 0x" << c.qtKey << (c.keypad ? " on the pad" : ""));
    KeyCode code = KeyCodeFromQtKey(c.qtKey, c.keypad);
    EXPECT_EQ(code.vk, c.vk);
    EXPECT_EQ(platform::KeyTableIndex(code), c.tableIndex);
  }
}

TEST(KeyMap, KeysWithoutACodeGiveZero) {
  for (int qtKey : {0, 0x01FFFFFF, 0x01020005 /* media play */, 0x3000 /* a non-ASCII character */}) {
    EXPECT_EQ(KeyCodeFromQtKey(qtKey, false).vk, 0) << std::hex << qtKey;
  }
}

// The keys a JIS keyboard has where a US one has others: under the Japanese layout each takes the
// code of its place, whatever character the toolkit says it typed (the "@" key is not Shift+2).
// Native codes are the desktop's keycodes: the kernel's key number plus 8.
TEST(KeyMap, UnderTheJapaneseLayoutKeysTakeTheCodesOfTheirPlaces) {
  using platform::KeyboardLayout;
  struct JisCase {
    const char* name;
    uint32_t native;
    int qtKey;  // what the toolkit reports under the Japanese layout
    bool keypad;
    KeyboardLayout layout;
    int vk;
    int tableIndex;
  };
  const JisCase cases[] = {
      {"@ right of P", 34, 0x40, false, KeyboardLayout::kJis, VK_OEM_3, 0x1A},
      {"[ next to it", 35, 0x5B, false, KeyboardLayout::kJis, VK_OEM_4, 0x1B},
      {"] under it", 51, 0x5D, false, KeyboardLayout::kJis, VK_OEM_6, 0x2B},
      {": right of ;", 48, 0x3A, false, KeyboardLayout::kJis, VK_OEM_1, 0x28},
      {"; right of L", 47, 0x3B, false, KeyboardLayout::kJis, VK_OEM_PLUS, 0x27},
      {"^ right of -", 21, 0x5E, false, KeyboardLayout::kJis, VK_OEM_7, 0x0D},
      {"yen", 132, 0xA5, false, KeyboardLayout::kJis, VK_OEM_5, 0x7D},
      {"ro", 97, 0x5C, false, KeyboardLayout::kJis, VK_OEM_102, 0x73},
      {"Shift+2 types a double quote", 11, 0x22, false, KeyboardLayout::kJis, '2', 0x03},
      {"Shift+7 types an apostrophe", 16, 0x27, false, KeyboardLayout::kJis, '7', 0x08},
      {"a letter", 38, 0x41, false, KeyboardLayout::kJis, 'A', 0x1E},
      {"yen under the US layout too", 132, 0x5C, false, KeyboardLayout::kUs, VK_OEM_5, 0x7D},
      {"ro under the US layout too", 97, 0x5C, false, KeyboardLayout::kUs, VK_OEM_102, 0x73},
      {"US: [ stays the toolkit's", 34, 0x5B, false, KeyboardLayout::kUs, VK_OEM_4, 0x1A},
      {"US: Shift+' stays the quote key", 48, 0x22, false, KeyboardLayout::kUs, VK_OEM_7, 0x28},
      {"a synthesised key has no place", 0, 0x40, false, KeyboardLayout::kJis, '2', 0x03},
      {"keys of the pad keep theirs", 90, 0x2F, true, KeyboardLayout::kJis, VK_DIVIDE, 0xB5},
      {"keys outside the typing block keep theirs", 36, 0x01000004, false, KeyboardLayout::kJis, VK_RETURN, 0x1C},
  };
  for (const JisCase& c : cases) {
    const KeyCode code =
        platform::LayoutKeyCode(KeyCodeFromQtKey(c.qtKey, c.keypad), c.native, c.keypad, c.layout);
    EXPECT_EQ(code.vk, c.vk) << c.name;
    EXPECT_EQ(platform::KeyTableIndex(code), c.tableIndex) << c.name;
  }
}

}  // namespace
