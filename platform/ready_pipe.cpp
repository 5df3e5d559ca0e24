#include "platform/ready_pipe.h"

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kNone = -1;

// The adopted descriptor, kNone once closed or when there is none. Process-wide by nature: the
// pipe belongs to the process, not to any one object in it.
std::atomic<int>& ReadyFd() {
  static std::atomic<int> fd{kNone};
  return fd;
}

std::once_flag& AdoptOnce() {
  static std::once_flag once;
  return once;
}

bool IsPipeWriteEnd(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode)) return false;
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_ACCMODE) == O_WRONLY;
}

void Adopt() {
  const char* text = std::getenv(kReadyPipeVariable);
  if (!text) return;
  int fd = kNone;
  const char* end = text + std::strlen(text);
  const bool number = std::from_chars(text, end, fd).ptr == end && fd > 2;
  ::unsetenv(kReadyPipeVariable);
  if (!number || !IsPipeWriteEnd(fd)) return;
  // A program started before the pump waits would otherwise hold the starter's wait open.
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ReadyFd().store(fd);
}

}  // namespace

void AdoptReadyPipe() { std::call_once(AdoptOnce(), Adopt); }

void MarkInputIdle() {
  auto& fd = ReadyFd();
  if (fd.load(std::memory_order_relaxed) == kNone) {
    AdoptReadyPipe();
    if (fd.load() == kNone) return;
  }
  const int closing = fd.exchange(kNone);
  if (closing != kNone) ::close(closing);
}

bool ReadyPipePending() { return ReadyFd().load() != kNone; }

}  // namespace platform
