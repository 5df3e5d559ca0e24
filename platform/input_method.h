// Turning the input method (the editor for composing Japanese text) on and off for a window.
#pragma once

#include <functional>

#include "platform/win_types.h"

namespace platform {

// Lets a window take input-method composition, or not. GUI thread only; a handle that is not a
// live window is passed over. A hook, when installed, receives the call instead.
void EnableInputMethod(HWND window, bool enabled);

// Whether the window takes input-method composition (false for a handle that is not a live window).
bool IsInputMethodEnabled(HWND window);

using InputMethodHook = std::function<void(HWND, bool)>;

// Installs a hook (an empty one restores the default) and returns the previous one.
InputMethodHook SetInputMethodHook(InputMethodHook hook);

}  // namespace platform
