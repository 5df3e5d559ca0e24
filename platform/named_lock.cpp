#include "platform/named_lock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

constexpr size_t kMaxStem = 200;

bool PrivateFolder(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT || ::mkdir(path.c_str(), 0700) != 0) return false;
    if (::lstat(path.c_str(), &st) != 0) return false;
  }
  // Someone else's folder, or one others may write into, could hand us their locks and sockets.
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 0077) == 0;
}

}  // namespace

uint64_t NameHash(std::string_view name) {
  uint64_t h = 0xCBF29CE484222325ull;  // FNV-1a
  for (unsigned char c : name) {
    h ^= c;
    h *= 0x100000001B3ull;
  }
  return h;
}

std::string RuntimeDirectory() {
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && xdg[0] == '/') {
    struct stat st;
    if (::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode)) return xdg;
  }
  std::string fallback = "/tmp/vrel-" + std::to_string(::geteuid());
  return PrivateFolder(fallback) ? fallback : std::string();
}

std::string FileNameForName(std::string_view name, std::string_view extension) {
  std::string stem;
  for (unsigned char c : name) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
        c == '.' || c == '_') {
      stem += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof(escaped), "%%%02X", c);
      stem += escaped;
    }
  }
  if (stem.size() > kMaxStem) {
    char hash[20];
    std::snprintf(hash, sizeof(hash), "-%016llx", static_cast<unsigned long long>(NameHash(name)));
    stem.resize(kMaxStem - 17);
    stem += hash;
  }
  return stem + std::string(extension);
}

namespace {
int FlockOp(NamedLock::Mode mode) { return (mode == NamedLock::Mode::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB; }
}  // namespace

NamedLock::Result NamedLock::Open(std::string_view name, Mode mode) {
  Close();
  const std::string dir = RuntimeDirectory();
  if (dir.empty()) return Result::kFailed;
  const std::string path = dir + "/" + FileNameForName(name, ".lock");
  m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (m_fd < 0) return Result::kFailed;
  while (::flock(m_fd, FlockOp(mode)) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return Result::kHeldElsewhere;
    Close();
    return Result::kFailed;
  }
  return Result::kAcquired;
}

NamedLock::Result NamedLock::OpenWaiting(std::string_view name, std::chrono::milliseconds limit, Mode mode) {
  Result result = Open(name, mode);
  // flock has no timed wait; a short poll keeps a stuck holder from stopping the caller for good.
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (result == Result::kHeldElsewhere && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
    if (::flock(m_fd, FlockOp(mode)) == 0) return Result::kAcquired;
    if (errno != EWOULDBLOCK && errno != EINTR) {
      Close();
      return Result::kFailed;
    }
  }
  return result;
}

bool NamedLock::ChangeMode(Mode mode) {
  if (m_fd < 0) return false;
  for (;;) {
    if (::flock(m_fd, FlockOp(mode)) == 0) return true;
    if (errno != EINTR) return false;
  }
}

bool NamedLock::Close() {
  if (m_fd < 0) return false;
  // Closing the last descriptor of the open file releases its lock.
  ::close(m_fd);
  m_fd = -1;
  return true;
}

}  // namespace platform
