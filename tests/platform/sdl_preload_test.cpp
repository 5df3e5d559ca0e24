#include "platform/sdl_preload.h"

#include <gtest/gtest.h>

#include "platform/audio_mixer.h"
#include "platform/joystick.h"

namespace {

using namespace platform;

// Opening SDL ahead on the helper thread, asked for more than once, leaves one library that both
// the joysticks and the sound card use.
TEST(SdlPreload, TheJoysticksAndTheSoundCardUseTheOpenedLibrary) {
  StartOpeningSdl();
  StartOpeningSdl();
  const int id = AttachVirtualJoystick(4);
  ASSERT_GE(id, 0);
  SetVirtualJoystick(id, 0, 32767, 0b0101);
  JoystickPos pos{};
  ASSERT_TRUE(GetJoystickPos(id, pos));
  EXPECT_EQ(pos.y, 65535u);
  EXPECT_EQ(pos.buttons, 0b0101u);
  DetachVirtualJoystick(id);
  AudioDevice device;
  EXPECT_TRUE(device.IsOpen());
  EXPECT_TRUE(AudioCardOpen());
}

}  // namespace
