// Icons read from icon files beside the program: LoadImage of IMAGE_ICON.
//
// Contract:
// - LoadImage(instance, name, IMAGE_ICON, cx, cy, flags) with LR_LOADFROMFILE reads the file that
//   name gives (an exact path, platform/path.h) as an icon cx x cy pixels big: of the pictures the
//   file holds (an .ico holds several) the one of that size, else the largest one scaled to it.
//   Any format the toolkit reads (ICO, PNG, BMP, ...) will do. Null when the file is missing or
//   does not decode.
// - Without LR_LOADFROMFILE it gives the icon resource of that name (LoadIcon).
// - An icon stays valid for the rest of the process: a second load of the same file and size, with
//   or without LR_SHARED, gives the same handle without reading the file again.
// - Other image types give null. On the GUI thread only; elsewhere null.
#pragma once

#include "platform/window.h"

constexpr UINT IMAGE_ICON = 1;
constexpr UINT LR_SHARED = 0x8000;
constexpr UINT LR_LOADFROMFILE = 0x0010;

namespace platform {

HICON LoadImage(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags);

// The size of an icon's picture; false for a null handle.
bool GetIconSize(HICON icon, SIZE* size);

}  // namespace platform
