// Locks that the editor's processes take on the files they edit, so that two of them do not write
// one file at once.
//
// Contract:
// - A FileLock keeps the file open (read only, not inherited by started processes) under a
//   non-blocking flock: kExclusive admits no other holder, kShared admits other shared holders
//   only. The lock belongs to that open file: it lasts until Unlock, the object's end or the end of
//   the process, however the process ends, and closing some other descriptor of the same file
//   leaves it alone (which is why this is flock and not fcntl).
// - It is advisory: the editor's processes ask before they read or write, other programs are not
//   stopped. A second FileLock of the same process on the same file counts as another holder.
// - CanLockExclusively asks whether an exclusive lock would be granted now (nobody holds one of
//   either kind); IsLockedExclusively whether some holder has the file under an exclusive lock.
//   Both take no lock that outlasts the call, and both answer false for a file that cannot be
//   opened.
// - Paths are the file layer's (path.h), exact paths by default.
#pragma once

#include <string_view>

#include "platform/path.h"

namespace platform {

class FileLock {
 public:
  enum class Mode { kExclusive, kShared };
  enum class Result {
    kLocked,         // this object holds the lock now
    kHeldElsewhere,  // another holder's lock is in the way; nothing is held
    kCannotOpen,     // missing, refused, not a regular file, or not readable
  };

  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Unlock(); }

  // Takes the lock without waiting; a lock this object held before is released first.
  Result Lock(std::string_view path, Mode mode, PathMode pathMode = PathMode::kExact);
  void Unlock();
  bool IsHeld() const { return m_fd >= 0; }
  Mode GetMode() const { return m_mode; }

 private:
  int m_fd = -1;
  Mode m_mode = Mode::kExclusive;
};

bool CanLockExclusively(std::string_view path, PathMode pathMode = PathMode::kExact);
bool IsLockedExclusively(std::string_view path, PathMode pathMode = PathMode::kExact);

}  // namespace platform
