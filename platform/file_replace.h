// Replacing a whole file so that a crash or a full disk never leaves it torn: the new contents go
// to a temporary file in the same folder, are flushed to the disk, and the temporary file is then
// renamed over the old one. A file marked read-only is respected and left as it is.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The host form (UTF-8, '/' separators) of a program path (Shift-JIS, '\' or '/').
std::string HostPathOf(std::string_view path);

// Writes bytes as the new contents of the file at hostPath. False when the file is read-only or
// anything fails; the old file is then unchanged and no temporary file is left behind.
bool ReplaceFileContents(const std::string& hostPath, std::string_view bytes);

}  // namespace platform
