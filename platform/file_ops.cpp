#include "platform/file_ops.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string FolderOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host.substr(0, slash);
}

// A descriptor closed at the end of its scope.
class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool CopyBytes(int from, int to, off_t size) {
  off_t done = 0;
  while (done < size) {
    const ssize_t n = ::sendfile(to, from, nullptr, static_cast<size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  // A file that grew while it was copied is copied to its end.
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t put = 0; put < n;) {
      const ssize_t w = ::write(to, buffer + put, static_cast<size_t>(n - put));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      put += w;
    }
  }
}

}  // namespace

bool CopyFileAtomically(std::string_view source, std::string_view target, PathMode mode) {
  std::string from;
  std::string to;
  if (source.empty() || target.empty() || !HostPathFor(source, mode, from) || !HostPathFor(target, mode, to)) {
    return false;
  }
  Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st;
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  struct stat existing;
  if (::lstat(to.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return false;

  // A name unique among the writers of every process (made with O_EXCL).
  std::string temporary = FolderOf(to) + "/.copy.XXXXXX";
  Fd out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.get() < 0) return false;
  const timespec times[2] = {st.st_atim, st.st_mtim};
  const bool written = CopyBytes(in.get(), out.get(), st.st_size) && ::fchmod(out.get(), st.st_mode & 07777) == 0 &&
                       ::futimens(out.get(), times) == 0 && ::fsync(out.get()) == 0;
  if (!out.Close() || !written || ::rename(temporary.c_str(), to.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself is made durable; the copy is in place whether or not this succeeds.
  Fd folder(::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return true;
}

bool RenameFile(std::string_view from, std::string_view to, PathMode mode) {
  std::string a;
  std::string b;
  if (from.empty() || to.empty() || !HostPathFor(from, mode, a) || !HostPathFor(to, mode, b)) return false;
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename: a second link fails just as well when the name
  // is taken.
  struct stat st;
  if (::lstat(a.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (::link(a.c_str(), b.c_str()) != 0) return false;
  if (::unlink(a.c_str()) != 0) {
    ::unlink(b.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(std::string_view path, PathMode mode) {
  std::string host;
  return !path.empty() && HostPathFor(path, mode, host) && ::unlink(host.c_str()) == 0;
}

bool MakeFolder(std::string_view path, PathMode mode) {
  std::string host;
  return !path.empty() && HostPathFor(path, mode, host) && ::mkdir(host.c_str(), 0777) == 0;
}

}  // namespace platform
