// Inside the layer only: how a drag of local files becomes WM_DROPFILES (platform/drop_files.h).
#pragma once

#include <string>
#include <vector>

#include "platform/drop_files.h"

namespace platform {

// Makes a drop of the files (UTF-8 host paths) let go at the point of the window's client area,
// owned by this layer until DragFinish, and posts WM_DROPFILES with it to the window.
void PostDroppedFiles(HWND window, POINT point, const std::vector<std::string>& hostPaths);

}  // namespace platform
