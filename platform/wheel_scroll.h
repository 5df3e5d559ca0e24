// How many lines the desktop scrolls for one notch of the mouse wheel.
#pragma once

#include <optional>

namespace platform {

// The desktop's lines per wheel notch, as the user set them; none off the GUI thread.
std::optional<int> WheelScrollLines();

}  // namespace platform
