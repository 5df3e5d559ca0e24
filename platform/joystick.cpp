#include "platform/joystick.h"

#include <SDL.h>

#include <algorithm>

namespace platform {
namespace {

constexpr int kAxisOffset = 32768;  // device axes are signed; the classic range starts at 0

bool Ready() {
  static const bool ready = [] {
    // The program handles its own signals; SDL must not turn them into events nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Without an SDL window there is no focus that SDL could follow.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  }();
  return ready;
}

// The opened device of an id, or null. SDL counts the opens of one device, so one open per id
// stays for the life of the program, and a device that went away is closed again.
SDL_Joystick* Device(int id) {
  if (!Ready() || id < 0) return nullptr;
  SDL_JoystickUpdate();
  if (id >= SDL_NumJoysticks()) return nullptr;
  SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(id);
  SDL_Joystick* joy = SDL_JoystickFromInstanceID(instance);
  if (!joy) joy = SDL_JoystickOpen(id);
  if (joy && !SDL_JoystickGetAttached(joy)) {
    SDL_JoystickClose(joy);
    return nullptr;
  }
  return joy;
}

uint32_t Axis(SDL_Joystick* joy, int axis) {
  if (axis >= SDL_JoystickNumAxes(joy)) return kAxisOffset;
  return static_cast<uint32_t>(SDL_JoystickGetAxis(joy, axis) + kAxisOffset);
}

}  // namespace

int JoystickCount() {
  if (!Ready()) return 0;
  SDL_JoystickUpdate();
  return std::max(0, SDL_NumJoysticks());
}

bool GetJoystickCaps(int id, JoystickCaps& caps) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return false;
  caps = {0, 65535, 0, 65535, static_cast<uint32_t>(std::max(0, SDL_JoystickNumButtons(joy)))};
  return true;
}

bool GetJoystickPos(int id, JoystickPos& pos) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return false;
  pos.x = Axis(joy, 0);
  pos.y = Axis(joy, 1);
  pos.buttons = 0;
  const int buttons = std::min(32, SDL_JoystickNumButtons(joy));
  for (int i = 0; i < buttons; ++i) {
    if (SDL_JoystickGetButton(joy, i)) pos.buttons |= 1u << i;
  }
  return true;
}

int AttachVirtualJoystick(int buttons) {
  if (!Ready()) return -1;
  int id = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, buttons, 0);
  if (id < 0 || !Device(id)) return -1;
  return id;
}

void SetVirtualJoystick(int id, int16_t x, int16_t y, uint32_t buttons) {
  SDL_Joystick* joy = Device(id);
  if (!joy) return;
  SDL_JoystickSetVirtualAxis(joy, 0, x);
  SDL_JoystickSetVirtualAxis(joy, 1, y);
  for (int i = 0; i < std::min(32, SDL_JoystickNumButtons(joy)); ++i) {
    SDL_JoystickSetVirtualButton(joy, i, (buttons >> i) & 1 ? SDL_PRESSED : SDL_RELEASED);
  }
}

void DetachVirtualJoystick(int id) {
  if (SDL_Joystick* joy = Device(id)) SDL_JoystickClose(joy);
  if (Ready()) SDL_JoystickDetachVirtual(id);
}

}  // namespace platform
