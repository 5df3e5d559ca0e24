// Inside the layer only: SDL2, which plays the sound card and reads the joysticks. Linked at start
// it would bring some thirty-five libraries of its own (sound servers, display servers and the
// codecs they use) into every start of the program, and their loading would stand before the first
// frame. It is opened on first use instead, or earlier on a helper thread (sdl_preload.h), with its
// joystick subsystem started as the joystick facility needs it: no signal handlers of SDL's own,
// events read in the background.
#pragma once

#include <SDL.h>

// Every function the layer calls.
#define VREL_SDL_FUNCTIONS(X)        \
  X(SDL_CloseAudioDevice)            \
  X(SDL_InitSubSystem)               \
  X(SDL_JoystickAttachVirtual)       \
  X(SDL_JoystickClose)               \
  X(SDL_JoystickDetachVirtual)       \
  X(SDL_JoystickFromInstanceID)      \
  X(SDL_JoystickGetAttached)         \
  X(SDL_JoystickGetAxis)             \
  X(SDL_JoystickGetButton)           \
  X(SDL_JoystickGetDeviceInstanceID) \
  X(SDL_JoystickNumAxes)             \
  X(SDL_JoystickNumButtons)          \
  X(SDL_JoystickOpen)                \
  X(SDL_JoystickSetVirtualAxis)      \
  X(SDL_JoystickSetVirtualButton)    \
  X(SDL_JoystickUpdate)              \
  X(SDL_NumJoysticks)                \
  X(SDL_OpenAudioDevice)             \
  X(SDL_PauseAudioDevice)            \
  X(SDL_QuitSubSystem)               \
  X(SDL_SetHint)

namespace platform {

struct Sdl {
#define VREL_SDL_MEMBER(name) decltype(&::name) name = nullptr;
  VREL_SDL_FUNCTIONS(VREL_SDL_MEMBER)
#undef VREL_SDL_MEMBER
};

// The functions, with the library opened (waiting for the helper thread when it is still at it);
// null when the library or one of its functions is missing: then there is no sound card and no
// joystick.
const Sdl* SdlLibrary();

// Whether the joystick subsystem started; false without the library.
bool SdlJoysticksReady();

}  // namespace platform
