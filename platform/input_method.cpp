#include "platform/input_method.h"

#include <mutex>

namespace platform {
namespace {

struct State {
  std::mutex mutex;
  InputMethodHook hook;
};

State& Current() {
  static State state;
  return state;
}

}  // namespace

void EnableInputMethod(HWND window, bool enabled) {
  InputMethodHook hook;
  {
    std::lock_guard lock(Current().mutex);
    hook = Current().hook;
  }
  if (hook) hook(window, enabled);
}

InputMethodHook SetInputMethodHook(InputMethodHook hook) {
  std::lock_guard lock(Current().mutex);
  InputMethodHook previous = std::move(Current().hook);
  Current().hook = std::move(hook);
  return previous;
}

}  // namespace platform
