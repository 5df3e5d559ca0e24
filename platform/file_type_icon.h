// The icon the desktop shows for a kind of file: what the edit window and the tab bar put beside a
// document's name.
//
// Contract:
// - FileTypeIcon(path, size) judges the file's type by its name alone (the extension, through the
//   shared MIME database; the file need not exist and is never read) and gives the current icon
//   theme's picture of that type (its own icon, else its generic one) at size x size pixels.
// - Null when the name tells no type (the database's default), when no theme gives a picture for
//   it, for an exact path that is refused, and off the GUI thread: the caller then shows its own
//   application icon.
// - An icon stays valid for the rest of the process; asking again for the same type, size and
//   theme gives the same handle.
#pragma once

#include <string_view>

#include "platform/window.h"

namespace platform {

HICON FileTypeIcon(std::string_view path, int size);

}  // namespace platform
