#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/sjis.h"

namespace platform {

std::string HostPathOf(std::string_view path) {
  std::string host = SjisToUtf8(path);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& hostPath, std::string_view bytes) {
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) == 0) {
    // A file without any write permission is read-only for us too, even for a user whom the
    // system would let write anyway: the player marked it so on purpose.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    if (!S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
  }
  std::string temp = hostPath + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temp.c_str(), hostPath.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

}  // namespace platform
