#include "platform/local_socket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include "platform/named_lock.h"

namespace platform {

bool LocalSocketAddress(std::string_view name, sockaddr_un& address, std::string& path) {
  const std::string dir = RuntimeDirectory();
  if (dir.empty()) return false;
  char file[40];
  std::snprintf(file, sizeof(file), "/vrel-%016llx.sock", static_cast<unsigned long long>(NameHash(name)));
  path = dir + file;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void SetSocketTimeouts(int fd, std::chrono::milliseconds limit) {
  // A zero time means no limit to the system: the shortest limit is one millisecond.
  const long long ms = limit.count() > 0 ? limit.count() : 1;
  timeval tv{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000 * 1000)};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv));
}

bool SendAllBytes(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReceiveAllBytes(int fd, void* data, size_t size) {
  auto* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::recv(fd, p, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int ListenLocal(std::string_view name, std::string& path) {
  sockaddr_un address;
  if (!LocalSocketAddress(name, address, path)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ::unlink(path.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int ConnectLocal(std::string_view name, std::chrono::milliseconds limit) {
  sockaddr_un address;
  std::string path;
  if (!LocalSocketAddress(name, address, path)) {
    errno = EINVAL;  // no runtime folder: nobody can be told gone
    return -1;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  // A connect to a listener whose queue is full waits for a free place, by default for ever; the
  // socket's send limit bounds that wait.
  SetSocketTimeouts(fd, limit);
  int result;
  do {
    result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

}  // namespace platform
