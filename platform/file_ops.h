// Whole-file moves by paths of either mode (see path.h): copying a file in one step, renaming
// without replacing, removing, and making one folder. The editor keeps backup copies with them.
//
// Contract:
// - CopyFileAtomically writes the copy beside the target under a temporary name, gives it the
//   source's mode bits and modification time, flushes it and renames it over the target: a reader,
//   or a crash, sees the old target or the whole copy, never a part. On failure the target is as
//   it was and no temporary file stays. A target that is a folder is never replaced; a target that
//   is a link is replaced by the copy (the file it pointed at is left alone).
// - RenameFile never replaces: it fails when anything is at the new name.
// - Every function is false when a path is refused in its mode or the system refuses the change.
#pragma once

#include <string_view>

#include "platform/path.h"

namespace platform {

bool CopyFileAtomically(std::string_view source, std::string_view target, PathMode mode);
bool RenameFile(std::string_view from, std::string_view to, PathMode mode);
// Removes a file (not a folder).
bool RemoveFile(std::string_view path, PathMode mode);
// Makes one folder whose parent exists; false when it cannot (an existing one included).
bool MakeFolder(std::string_view path, PathMode mode);

}  // namespace platform
