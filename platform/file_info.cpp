// File and folder facts, time-keeping opens and folder creation over the path model.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/path.h"

namespace platform {

namespace {

int64_t Ns(const struct timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

struct timespec Timespec(int64_t ns) {
  struct timespec t {};
  t.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
  t.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  if (t.tv_nsec < 0) t.tv_nsec += 1'000'000'000, --t.tv_sec;
  return t;
}

FileInfo InfoOf(int fd, const struct stat& st) {
  FileInfo info;
  info.isFolder = S_ISDIR(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.accessNs = Ns(st.st_atim);
  info.modifiedNs = Ns(st.st_mtim);
  info.birthNs = info.modifiedNs;
  struct statx sx {};
  if (fd >= 0 && statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
    info.birthNs = static_cast<int64_t>(sx.stx_btime.tv_sec) * 1'000'000'000 + sx.stx_btime.tv_nsec;
  return info;
}

}  // namespace

bool QueryFileInfo(std::string_view programPath, FileInfo& info) {
  const std::string host = ResolveHostPath(programPath);
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_PATH);
  if (fd < 0) return false;
  struct stat st {};
  const bool ok = ::fstat(fd, &st) == 0;
  if (ok) info = InfoOf(fd, st);
  ::close(fd);
  return ok;
}

bool TimeKeepingFile::Open(std::string_view programPath) {
  Close();
  const std::string host = ResolveHostPath(programPath);
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  m_fd = fd;
  m_info = InfoOf(fd, st);
  return true;
}

size_t TimeKeepingFile::ReadSome(uint64_t offset, std::span<unsigned char> out) const {
  size_t got = 0;
  while (m_fd >= 0 && got < out.size()) {
    const ssize_t n = ::pread(m_fd, out.data() + got, out.size() - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  return got;
}

void TimeKeepingFile::Close() {
  if (m_fd < 0) return;
  const struct timespec times[2] = {Timespec(m_info.accessNs), Timespec(m_info.modifiedNs)};
  ::futimens(m_fd, times);
  ::close(m_fd);
  m_fd = -1;
}

bool MakeFolder(std::string_view programPath) { return ::mkdir(ResolveHostPath(programPath).c_str(), 0777) == 0; }

}  // namespace platform
