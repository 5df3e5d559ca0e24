// Joysticks in the shape of the classic multimedia joystick calls: numbered devices with axis
// ranges and a position query giving the stick and a bit per button. Read through SDL's joystick
// subsystem alone (no SDL video, no signal handlers of its own).
#pragma once

#include <cstdint>

namespace platform {

struct JoystickCaps {
  uint32_t xMin;
  uint32_t xMax;
  uint32_t yMin;
  uint32_t yMax;
  uint32_t buttons;
};

struct JoystickPos {
  uint32_t x;  // xMin ... xMax, centre in the middle
  uint32_t y;
  uint32_t buttons;  // bit i: button i held (the first 32 buttons)
};

// Number of joysticks present; 0 also when the joystick subsystem cannot start.
int JoystickCount();

// Capabilities of joystick id (0 is the first one present); false when there is none.
bool GetJoystickCaps(int id, JoystickCaps& caps);

// Current position and buttons of joystick id; false when it is not (or no longer) there.
bool GetJoystickPos(int id, JoystickPos& pos);

// A joystick made of software, for tests: it counts as present until detached. Axis values run
// from -32768 to 32767 as the device reports them. Attach returns the new joystick's id or -1.
int AttachVirtualJoystick(int buttons);
void SetVirtualJoystick(int id, int16_t x, int16_t y, uint32_t buttons);
void DetachVirtualJoystick(int id);

}  // namespace platform
