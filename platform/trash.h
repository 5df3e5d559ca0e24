// The user's wastebasket: a file moved there can be restored from the desktop's trash, as the
// desktop's file manager would have put it there (the freedesktop.org trash of the file's own
// file system, else the user's home trash).
#pragma once

#include <string_view>

#include "platform/path.h"

namespace platform {

// False when the path is refused in its mode, nothing is there, or the trash cannot take it (the
// file then stays where it was).
bool MoveToTrash(std::string_view path, PathMode mode);

}  // namespace platform
