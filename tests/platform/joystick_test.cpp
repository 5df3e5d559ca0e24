#include "platform/joystick.h"

#include <gtest/gtest.h>

namespace {

TEST(Joystick, AVirtualJoystickReportsItsRangeStickAndButtons) {
  const int before = platform::JoystickCount();
  const int id = platform::AttachVirtualJoystick(6);
  ASSERT_GE(id, 0);
  EXPECT_EQ(platform::JoystickCount(), before + 1);
  platform::JoystickCaps caps{};
  ASSERT_TRUE(platform::GetJoystickCaps(id, caps));
  EXPECT_EQ(caps.xMin, 0u);
  EXPECT_EQ(caps.xMax, 65535u);
  EXPECT_EQ(caps.buttons, 6u);

  platform::SetVirtualJoystick(id, -32768, 32767, 0b100101);
  platform::JoystickPos pos{};
  ASSERT_TRUE(platform::GetJoystickPos(id, pos));
  EXPECT_EQ(pos.x, 0u);
  EXPECT_EQ(pos.y, 65535u);
  EXPECT_EQ(pos.buttons, 0b100101u);

  platform::DetachVirtualJoystick(id);
  EXPECT_EQ(platform::JoystickCount(), before);
  EXPECT_FALSE(platform::GetJoystickPos(id, pos));
}

}  // namespace
