// Inside the platform layer only: the text a key typed, kept from its WM_KEYDOWN until the pump's
// TranslateMessage turns it into WM_CHAR messages (window.h).
#pragma once

#include <string>

#include "platform/win_types.h"

namespace platform {

class Window;

// Remembers the Shift-JIS text of a key-down just queued for the window (nothing for empty text).
// Only the newest few are kept: a pump that never translates must not make them pile up.
void RememberKeyText(const Window& window, WPARAM vk, LPARAM lParam, std::string sjis);

}  // namespace platform
