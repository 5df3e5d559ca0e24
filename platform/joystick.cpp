#include "platform/joystick.h"

#include <algorithm>

#include "platform/libsdl.h"

namespace platform {
namespace {

constexpr int kAxisOffset = 32768;  // device axes are signed; the classic range starts at 0

// The library's functions when its joystick subsystem runs; null otherwise.
const Sdl* Ready() { return SdlJoysticksReady() ? SdlLibrary() : nullptr; }
// The functions, once Ready() said there are some.
const Sdl& S() { return *SdlLibrary(); }

// The opened device of an id, or null. SDL counts the opens of one device, so one open per id
// stays for the life of the program, and a device that went away is closed again.
SDL_Joystick* Device(int id) {
  if (!Ready() || id < 0) return nullptr;
  S().SDL_JoystickUpdate();
  if (id >= S().SDL_NumJoysticks()) return nullptr;
  SDL_JoystickID instance = S().SDL_JoystickGetDeviceInstanceID(id);
  SDL_Joystick* joy = S().SDL_JoystickFromInstanceID(instance);
  if (!joy) joy = S().SDL_JoystickOpen(id);
  if (joy && !S().SDL_JoystickGetAttached(joy)) {
    S().SDL_JoystickClose(joy);
    return nullptr;
  }
  return joy;
}

uint32_t Axis(SDL_Joystick* joy, int axis) {
  if (axis >= S().SDL_JoystickNumAxes(joy)) return kAxisOffset;
  return static_cast<uint32_t>(S().SDL_JoystickGetAxis(joy, axis) + kAxisOffset);
}

}  // namespace

int JoystickCount() {
  if (!Ready()) return 0;
  S().SDL_JoystickUpdate();
  return std::max(0, S().SDL_NumJoysticks());
}

bool GetJoystickCaps(int id, JoystickCaps& caps) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return false;
  caps = {0, 65535, 0, 65535, static_cast<uint32_t>(std::max(0, S().SDL_JoystickNumButtons(joy)))};
  return true;
}

bool GetJoystickPos(int id, JoystickPos& pos) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return false;
  pos.x = Axis(joy, 0);
  pos.y = Axis(joy, 1);
  pos.buttons = 0;
  const int buttons = std::min(32, S().SDL_JoystickNumButtons(joy));
  for (int i = 0; i < buttons; ++i) {
    if (S().SDL_JoystickGetButton(joy, i)) pos.buttons |= 1u << i;
  }
  return true;
}

int AttachVirtualJoystick(int buttons) {
  if (!Ready()) return -1;
  int id = S().SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, buttons, 0);
  if (id < 0 || !Device(id)) return -1;
  return id;
}

void SetVirtualJoystick(int id, int16_t x, int16_t y, uint32_t buttons) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return;
  S().SDL_JoystickSetVirtualAxis(joy, 0, x);
  S().SDL_JoystickSetVirtualAxis(joy, 1, y);
  for (int i = 0; i < std::min(32, S().SDL_JoystickNumButtons(joy)); ++i) {
    S().SDL_JoystickSetVirtualButton(joy, i, (buttons >> i) & 1 ? SDL_PRESSED : SDL_RELEASED);
  }
}

void DetachVirtualJoystick(int id) {
  if (SDL_Joystick* joy = Device(id)) S().SDL_JoystickClose(joy);
  if (Ready()) S().SDL_JoystickDetachVirtual(id);
}

}  // namespace platform
