#include "sdk/framework/game_key_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/joystick.h"

namespace {

using namespace game_key;

TEST(GameKeyInput, JoystickStickAndButtonsWithItsDeadZone) {
  const int id = platform::AttachVirtualJoystick(4);
  ASSERT_GE(id, 0);
  struct Case {
    int16_t x;
    int16_t y;
    uint32_t buttons;
    std::vector<int> logical;  // held logical keys
  } cases[] = {
      {0, 0, 0, {}},
      {0, -32768, 0, {kUp}},
      {0, 32767, 0, {kDown}},
      {-32768, 0, 0, {kLeft}},
      {32767, 32767, 0, {kRight, kDown}},
      {-10000, 10000, 0, {}},          // inside the middle third of both axes
      {-11000, 11000, 0, {kLeft, kDown}},  // outside it
      {0, 0, 0b001, {kClick}},
      {0, 0, 0b010, {kEnter}},
      {0, 0, 0b100, {}},               // the third button needs a button count of 3
  };
  {
    CGameKeyInput keys;
    for (const auto& c : cases) {
      platform::SetVirtualJoystick(id, c.x, c.y, c.buttons);
      keys.Input();
      for (int k = 0; k <= kFullScreen; ++k) {
        bool expected = std::find(c.logical.begin(), c.logical.end(), k) != c.logical.end();
        EXPECT_EQ(keys.IsPress(k), expected) << c.x << "," << c.y << " b" << c.buttons << " logical " << k;
      }
    }
    keys.JoyStick().SetButtonCount(3);
    platform::SetVirtualJoystick(id, 0, 0, 0b100);
    keys.Input();
    EXPECT_TRUE(keys.IsPress(kSkip));

    // A joystick that goes away reads all off instead of bringing back older states.
    platform::SetVirtualJoystick(id, 0, 0, 0b001);
    keys.Input();
    keys.Input();
    ASSERT_TRUE(keys.IsPress(kClick));
    platform::DetachVirtualJoystick(id);
    for (int i = 0; i < 3; ++i) {
      keys.Input();
      EXPECT_FALSE(keys.IsPress(kClick));
      EXPECT_FALSE(keys.IsPush(kClick));
    }
  }
}

TEST(JoyStick, WithoutAJoystickEveryCodeIsOff) {
  CJoyStick joy;
  joy.SetSelector(kJoystickNone);
  EXPECT_EQ(joy.Update(), -1);
  EXPECT_FALSE(joy.IsKeyPress(joystick_code::kFirstButton));
  EXPECT_EQ(joy.GetKeyBuffer(), nullptr);
  joy.SetSelector(7);
  EXPECT_EQ(joy.Update(), -1);
}

}  // namespace
