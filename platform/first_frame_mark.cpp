#include "platform/first_frame_mark.h"

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void MarkFirstFramePainted() {
  static std::atomic<bool> marked{false};
  if (marked.load(std::memory_order_relaxed)) return;
  const char* text = std::getenv("VREL_FIRST_FRAME_FD");
  if (text == nullptr) return;
  int fd = -1;
  const char* end = text + std::strlen(text);
  if (std::from_chars(text, end, fd).ptr != end || fd < 0) return;
  // The variable outlives its descriptor in processes started from this one (the resident and
  // the windows it starts): a number that is not a pipe here belongs to something else.
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode)) return;
  marked = true;
  const char byte = 1;
  // A benchmark that stopped listening is no reason to disturb the game.
  [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  close(fd);
}

}  // namespace platform
