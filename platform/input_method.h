// Turning the input method (the editor for composing Japanese text) on and off for a window.
#pragma once

#include <functional>

#include "platform/win_types.h"

namespace platform {

// Allows or stops input-method composition in a window. The game's canvas takes no text, so on
// Linux this only records the state for the window; tests watch the calls through the hook.
void EnableInputMethod(HWND window, bool enabled);

using InputMethodHook = std::function<void(HWND, bool)>;

// Installs a hook that receives every call (an empty one restores the default) and returns the
// previous one.
InputMethodHook SetInputMethodHook(InputMethodHook hook);

}  // namespace platform
