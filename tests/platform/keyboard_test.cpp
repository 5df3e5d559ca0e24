#include "platform/keyboard.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

bool Held(int code) {
  uint8_t state[kKeyCodes];
  ReadKeyboardState(state);
  return state[code] == 0x80;
}

int HeldCount() {
  uint8_t state[kKeyCodes];
  ReadKeyboardState(state);
  int n = 0;
  for (uint8_t s : state) n += s != 0;
  return n;
}

class KeyboardTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartKeyboardTracking());
    SendFocusLoss();
  }
  void TearDown() override { SendFocusLoss(); }
};

TEST_F(KeyboardTest, MapsToolkitKeysToScanCodeNumbers) {
  struct Case {
    const char* name;
    unsigned flags;
    int code;
  } cases[] = {
      {"Esc", 0, DIK_ESCAPE},
      {"Up", 0, DIK_UP},
      {"Up", kKeyOnKeypad, DIK_NUMPAD8},  // keypad 8 without NumLock
      {"8", kKeyOnKeypad, DIK_NUMPAD8},
      {"8", 0, DIK_1 + 7},
      {"Down", kKeyOnKeypad, DIK_NUMPAD2},
      {"Left", 0, DIK_LEFT},
      {"6", kKeyOnKeypad, DIK_NUMPAD6},
      {"Space", 0, DIK_SPACE},
      {"Return", 0, DIK_RETURN},
      {"Enter", kKeyOnKeypad, DIK_NUMPADENTER},
      {"Shift", 0, DIK_LSHIFT},
      {"Shift", kKeyRightSide, DIK_RSHIFT},
      {"Ctrl", 0, DIK_LCONTROL},
      {"Ctrl", kKeyRightSide, DIK_RCONTROL},
      {"F1", 0, DIK_F1},
      {"F12", 0, DIK_F12},
      {"A", 0, DIK_A},
      {"Q", 0, DIK_Q},
      {"M", 0, DIK_Z + 6},
      {"0", 0, DIK_0},
  };
  for (const auto& c : cases) {
    SendKeyEvent(c.name, true, c.flags);
    EXPECT_TRUE(Held(c.code)) << c.name << " " << c.flags;
    EXPECT_EQ(HeldCount(), 1) << c.name << " " << c.flags;
    SendKeyEvent(c.name, false, c.flags);
    EXPECT_EQ(HeldCount(), 0) << c.name << " " << c.flags;
  }
}

TEST_F(KeyboardTest, AutoRepeatIsNoNewPressAndFocusLossReleasesEverything) {
  SendKeyEvent("Space", true, kKeyAutoRepeat);
  EXPECT_FALSE(Held(DIK_SPACE));
  SendKeyEvent("Space", true);
  SendKeyEvent("Ctrl", true);
  SendKeyEvent("Space", false, kKeyAutoRepeat);  // the repeat's release is not the real one
  EXPECT_TRUE(Held(DIK_SPACE));
  SendFocusLoss();
  EXPECT_FALSE(Held(DIK_SPACE));
  EXPECT_FALSE(Held(DIK_LCONTROL));
}

}  // namespace
