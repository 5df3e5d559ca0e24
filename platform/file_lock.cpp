#include "platform/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A read-only descriptor of the regular file, or -1. O_NONBLOCK keeps a FIFO from stopping the
// open; it does not matter for regular files.
int OpenForLock(std::string_view path, PathMode pathMode) {
  std::string host;
  if (!HostPathFor(path, pathMode, host) || host.empty()) return -1;
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// flock without waiting; false when another holder is in the way (or on any other error).
bool TryFlock(int fd, int operation) {
  for (;;) {
    if (::flock(fd, operation | LOCK_NB) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

FileLock::Result FileLock::Lock(std::string_view path, Mode mode, PathMode pathMode) {
  Unlock();
  const int fd = OpenForLock(path, pathMode);
  if (fd < 0) return Result::kCannotOpen;
  if (!TryFlock(fd, mode == Mode::kExclusive ? LOCK_EX : LOCK_SH)) {
    ::close(fd);
    return Result::kHeldElsewhere;
  }
  m_fd = fd;
  m_mode = mode;
  return Result::kLocked;
}

void FileLock::Unlock() {
  if (m_fd < 0) return;
  ::close(m_fd);  // the lock goes with the last descriptor of its open file, and this is the only one
  m_fd = -1;
}

bool CanLockExclusively(std::string_view path, PathMode pathMode) {
  const int fd = OpenForLock(path, pathMode);
  if (fd < 0) return false;
  const bool granted = TryFlock(fd, LOCK_EX);
  ::close(fd);  // and the trial lock with it
  return granted;
}

bool IsLockedExclusively(std::string_view path, PathMode pathMode) {
  const int fd = OpenForLock(path, pathMode);
  if (fd < 0) return false;
  // A shared lock is refused only while someone holds an exclusive one.
  const bool refused = !TryFlock(fd, LOCK_SH) && errno == EWOULDBLOCK;
  ::close(fd);
  return refused;
}

}  // namespace platform
