// Listing one folder: FindFirstFile and FindNextFile over a whole folder at once.
//
// Contract:
// - ListFolder gives every entry of a folder named by its host path (UTF-8, "/" between levels)
//   except "." and "..", by the bytes of its name as the file system holds them, sorted in byte
//   order, so a walk over the result does not depend on the file system's own order. False when
//   the folder cannot be opened or read (entries then stays empty).
// - An entry's kind follows a symbolic link: a link to a folder is a folder, a link to a regular
//   file a file; a broken link, a FIFO, a socket or a device is kOther. Nothing is opened, so a
//   FIFO never blocks the listing.
// - FolderIdentity gives the device and inode of the folder a path leads to (links followed), so
//   a walk can tell a folder it already visited through another path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FolderEntry {
  enum class Kind { kFile, kFolder, kOther };
  std::string name;  // host bytes
  Kind kind = Kind::kOther;
};

bool ListFolder(std::string_view hostFolder, std::vector<FolderEntry>& entries);

bool FolderIdentity(std::string_view hostFolder, uint64_t& device, uint64_t& inode);

}  // namespace platform
