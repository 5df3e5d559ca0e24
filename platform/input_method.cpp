#include "platform/input_method.h"

#include <mutex>

#include "platform/window_qt.h"

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
  if (hook) {
    hook(window, enabled);
    return;
  }
  // The canvas is what has the keyboard focus, so it is what the input method serves.
  if (Window* w = WindowFromHandle(window)) w->canvas()->setAttribute(Qt::WA_InputMethodEnabled, enabled);
}

bool IsInputMethodEnabled(HWND window) {
  Window* w = WindowFromHandle(window);
  return w && w->canvas()->testAttribute(Qt::WA_InputMethodEnabled);
}

InputMethodHook SetInputMethodHook(InputMethodHook hook) {
  std::lock_guard lock(Current().mutex);
  InputMethodHook previous = std::move(Current().hook);
  Current().hook = std::move(hook);
  return previous;
}

}  // namespace platform
