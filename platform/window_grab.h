// What a window's client area shows on the screen: its picture (platform/window_dc.h), the child
// windows inside it and whatever is drawn over them (platform/invert_overlay.h), read back as
// pixels. Tests look at windows with it, and it lets a person see a window drawn offscreen.
// GUI thread only.
#pragma once

#include <memory>

#include "platform/mem_dc.h"
#include "platform/window.h"

namespace platform {

// A 32-bit top-down bitmap of the client size (null for a handle that is not a window of this
// layer, or a client area without pixels).
std::unique_ptr<Bitmap> GrabClientArea(HWND hwnd);

}  // namespace platform
