#include "platform/file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path.h"

namespace platform {
namespace {

// Six characters that make a new file name unique among concurrent writers of this and other
// processes; O_EXCL settles the rare collision.
std::string UniqueSuffix() {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<uint64_t> counter{0};
  static const uint64_t seed = std::random_device{}() ^ (static_cast<uint64_t>(::getpid()) << 32);
  uint64_t v = seed + counter.fetch_add(1) * 0x9E3779B97F4A7C15ull;
  v ^= v >> 29;
  v *= 0xBF58476D1CE4E5B9ull;
  v ^= v >> 32;
  std::string s(6, 'A');
  for (char& c : s) {
    c = kChars[v % (sizeof(kChars) - 1)];
    v /= sizeof(kChars) - 1;
  }
  return s;
}

std::string ParentOf(const std::string& hostPath) {
  size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

std::string BaseOf(const std::string& hostPath) {
  size_t slash = hostPath.rfind('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

bool WriteAll(int fd, const unsigned char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = other.m_fd;
    other.m_fd = -1;
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Open(std::string_view programPath, PathMode mode) {
  Close();
  if (programPath.empty()) return false;
  int fd = -1;
  if (mode == PathMode::kExact) {
    std::string host;
    if (!ExactHostPath(programPath, host)) return false;
    // A name may be a pipe or a device: opening one must not wait for a writer; it is refused below.
    fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } else {
    fd = ::open(HostPath(programPath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
      fd = ::open(ResolveHostPath(programPath).c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  m_fd = fd;
  return true;
}

bool ReadOnlyFile::Stamp(FileStamp& stamp) const {
  struct stat st;
  if (m_fd < 0 || ::fstat(m_fd, &st) != 0) return false;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return true;
}

bool ReadOnlyFile::HasReadBit() const {
  struct stat st;
  return m_fd >= 0 && ::fstat(m_fd, &st) == 0 && (st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0;
}

bool ReadOnlyFile::IsLockedExclusively() const {
  if (m_fd < 0) return false;
  for (;;) {
    if (::flock(m_fd, LOCK_SH | LOCK_NB) == 0) {
      ::flock(m_fd, LOCK_UN);
      return false;
    }
    if (errno != EINTR) return errno == EWOULDBLOCK;
  }
}

bool ReadOnlyFile::ReadAt(uint64_t offset, std::span<unsigned char> out) const {
  if (m_fd < 0) return false;
  size_t done = 0;
  while (done < out.size()) {
    if (offset + done > static_cast<uint64_t>(LLONG_MAX)) return false;
    ssize_t r = ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) return false;
    done += static_cast<size_t>(r);
  }
  return true;
}

int64_t ReadOnlyFile::ReadSome(uint64_t offset, std::span<unsigned char> out) const {
  if (m_fd < 0 || offset > static_cast<uint64_t>(LLONG_MAX)) return -1;
  for (;;) {
    const ssize_t r = ::pread(m_fd, out.data(), out.size(), static_cast<off_t>(offset));
    if (r >= 0) return r;
    if (errno != EINTR) return -1;
  }
}

void ReadOnlyFile::AdviseSequential() const {
  if (m_fd >= 0) ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

bool ReadOnlyFile::Close() {
  if (m_fd < 0) return true;
  int fd = m_fd;
  m_fd = -1;
  return ::close(fd) == 0;
}

AtomicFileWriter::AtomicFileWriter(std::string_view programPath, PathMode mode) {
  if (programPath.empty() || !HostPathFor(programPath, mode, m_target)) return;
  struct stat st;
  bool exists = ::lstat(m_target.c_str(), &st) == 0;
  if (exists && S_ISLNK(st.st_mode)) {
    // Replace the file the link points at, not the link.
    if (char* real = ::realpath(m_target.c_str(), nullptr)) {
      m_target = real;
      std::free(real);
      exists = ::stat(m_target.c_str(), &st) == 0;
    }
  }
  if (exists && S_ISDIR(st.st_mode)) return;
  // A file without any write permission is read-only for us too, even when the system would let
  // this user replace it: the player marked it so on purpose.
  if (exists && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return;
  std::string base = BaseOf(m_target);
  if (base.empty()) return;
  if (base.size() > 200) base.resize(200);
  const std::string prefix = ParentOf(m_target) + "/." + base + ".";
  for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
    m_temporary = prefix + UniqueSuffix();
    m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0 && errno != EEXIST) break;
  }
  if (m_fd < 0) {
    m_temporary.clear();
    return;
  }
  // The new version keeps the permissions of the file it replaces.
  if (exists) ::fchmod(m_fd, st.st_mode & 07777);
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Write(std::span<const unsigned char> bytes) {
  if (m_fd < 0 || m_failed) return false;
  if (!WriteAll(m_fd, bytes.data(), bytes.size())) m_failed = true;
  return !m_failed;
}

bool AtomicFileWriter::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

WriteStatus AtomicFileWriter::Commit() {
  if (m_fd < 0) return WriteStatus::kCannotCreate;
  if (m_failed) {
    Discard();
    return WriteStatus::kWriteFailed;
  }
  if (::fsync(m_fd) != 0) {
    Discard();
    return WriteStatus::kCommitFailed;
  }
  int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0 || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
    return WriteStatus::kCommitFailed;
  }
  m_temporary.clear();
  // Make the rename itself durable; the new file is in place whether or not this succeeds.
  int dir = ::open(ParentOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return WriteStatus::kOk;
}

void AtomicFileWriter::Discard() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_temporary.empty()) {
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
  }
}

bool StatPath(std::string_view path, PathMode mode, PathStatus& status) {
  std::string host;
  if (path.empty() || !HostPathFor(path, mode, host)) return false;
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return false;
  status.folder = S_ISDIR(st.st_mode);
  status.stamp.device = st.st_dev;
  status.stamp.inode = st.st_ino;
  status.stamp.size = static_cast<uint64_t>(st.st_size);
  status.stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return true;
}

bool PathAllows(std::string_view path, PathMode mode, Access access) {
  std::string host;
  if (path.empty() || !HostPathFor(path, mode, host)) return false;
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return false;
  switch (access) {
    case Access::kExists:
      return true;
    case Access::kRead:
      return (st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0 && ::faccessat(AT_FDCWD, host.c_str(), R_OK, AT_EACCESS) == 0;
    case Access::kWrite:
      return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::faccessat(AT_FDCWD, host.c_str(), W_OK, AT_EACCESS) == 0;
    case Access::kSearch:
      return S_ISDIR(st.st_mode) && (st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0 &&
             (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0 &&
             ::faccessat(AT_FDCWD, host.c_str(), R_OK | X_OK, AT_EACCESS) == 0;
  }
  return false;
}

WriteStatus WriteFileAtomically(std::string_view programPath, std::span<const unsigned char> bytes) {
  AtomicFileWriter writer(programPath);
  writer.Write(bytes);
  return writer.Commit();
}

bool RemoveFile(std::string_view programPath) {
  if (programPath.empty()) return false;
  return ::unlink(ResolveHostPath(programPath).c_str()) == 0;
}

bool CreateUniqueFile(std::string_view folder, std::string_view prefix, std::string& programPath) {
  std::string dir(folder);
  if (!dir.empty() && !EndsWithSeparator(dir)) dir += '\\';
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = dir + std::string(prefix) + UniqueSuffix() + ".tmp";
    int fd = ::open(HostPath(candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      programPath = std::move(candidate);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

FILE* OpenStdioFile(std::string_view programPath, const char* mode) {
  if (programPath.empty() || mode == nullptr) return nullptr;
  FILE* f = std::fopen(ResolveHostPath(programPath).c_str(), mode);
  if (!f) return nullptr;
  struct stat st;
  if (::fstat(::fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

}  // namespace platform
