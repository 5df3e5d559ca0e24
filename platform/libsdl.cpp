#include "platform/libsdl.h"

#include <dlfcn.h>
#include <future>
#include <mutex>

#include "platform/sdl_preload.h"

namespace platform {
namespace {

// The soname of the library the build was made against: a newer major version is another
// interface.
constexpr const char* kSdl = "libSDL2-2.0.so.0";

struct Loaded {
  Sdl functions;
  bool complete = false;
  bool joysticks = false;
};

// The handle stays open for the life of the process: the sound card and the joysticks may be in use
// until exit. A system library found by its soname on the library search path, which DynLib
// deliberately never searches.
Loaded Load() {
  Loaded loaded;
  void* const library = dlopen(kSdl, RTLD_NOW | RTLD_LOCAL);
  bool complete = library != nullptr;
#define VREL_SDL_RESOLVE(name)                                                                            \
  loaded.functions.name = library ? reinterpret_cast<decltype(&::name)>(dlsym(library, #name)) : nullptr; \
  complete = complete && loaded.functions.name != nullptr;
  VREL_SDL_FUNCTIONS(VREL_SDL_RESOLVE)
#undef VREL_SDL_RESOLVE
  loaded.complete = complete;
  if (!complete) return loaded;
  const Sdl& sdl = loaded.functions;
  // The program handles its own signals; SDL must not turn them into events nobody reads.
  sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Without an SDL window there is no focus that SDL could follow.
  sdl.SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  loaded.joysticks = sdl.SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  return loaded;
}

// The one opening: on a helper thread once started, else on the first caller's thread. The last
// holder of an opening on the helper waits for it, so the process never ends in the middle of one.
std::shared_future<Loaded> Opening(std::launch how) {
  static std::mutex mutex;
  static std::shared_future<Loaded> opening;
  std::lock_guard lock(mutex);
  if (!opening.valid()) opening = std::async(how, &Load).share();
  return opening;
}

const Loaded& Libraries() {
  static const Loaded& loaded = Opening(std::launch::deferred).get();
  return loaded;
}

}  // namespace

void StartOpeningSdl() { Opening(std::launch::async); }

const Sdl* SdlLibrary() { return Libraries().complete ? &Libraries().functions : nullptr; }

bool SdlJoysticksReady() { return Libraries().joysticks; }

}  // namespace platform
