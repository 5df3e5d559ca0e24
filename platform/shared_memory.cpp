#include "platform/shared_memory.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::chrono::milliseconds kInitWait(5000);

// Maps the object's whole size; null on failure.
void* MapObject(int fd, size_t size) {
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return p == MAP_FAILED ? nullptr : p;
}

}  // namespace

std::string SharedMemory::ObjectName(std::string_view name) {
  // Shared memory has one namespace for the whole machine, while the locks that guard the record
  // live in the runtime folder: a process with a runtime folder of its own must not meet another's
  // record under locks that are not theirs.
  char folder[20];
  std::snprintf(folder, sizeof(folder), "%016llx", static_cast<unsigned long long>(NameHash(RuntimeDirectory())));
  return "/vrel-" + std::to_string(::getuid()) + "-" + folder + "-" + FileNameForName(name, "");
}

SharedMemory::Result SharedMemory::Open(std::string_view name, size_t size, const std::function<void(void*)>& init,
                                        const std::function<bool(const void*)>& accept) {
  Close();
  if (size == 0) return Result::kFailed;
  const std::string base(name);
  NamedLock initLock;
  if (initLock.OpenWaiting(base + ".init", kInitWait) != NamedLock::Result::kAcquired) return Result::kFailed;
  const std::string object = ObjectName(name);

  const NamedLock::Result life = m_life.Open(base + ".life", NamedLock::Mode::kExclusive);
  if (life == NamedLock::Result::kFailed) return Result::kFailed;
  if (life == NamedLock::Result::kAcquired) {
    // Nobody is attached: whatever record is left belongs to a holder that ended.
    ::shm_unlink(object.c_str());
    const int fd = ::shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      m_life.Close();
      return Result::kFailed;
    }
    void* data = ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? MapObject(fd, size) : nullptr;
    ::close(fd);
    if (!data) {
      ::shm_unlink(object.c_str());
      m_life.Close();
      return Result::kFailed;
    }
    if (init) init(data);
    m_data = data;
    m_size = size;
    m_life.ChangeMode(NamedLock::Mode::kShared);
    return Result::kCreated;
  }

  // Someone holds it: join them, and look at what they made.
  if (!m_life.ChangeMode(NamedLock::Mode::kShared)) {
    m_life.Close();
    return Result::kFailed;
  }
  const int fd = ::shm_open(object.c_str(), O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) {
    m_life.Close();
    return Result::kFailed;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || static_cast<size_t>(st.st_size) != size) {
    ::close(fd);
    m_life.Close();
    return Result::kRefused;
  }
  void* data = MapObject(fd, size);
  ::close(fd);
  if (!data) {
    m_life.Close();
    return Result::kFailed;
  }
  if (accept && !accept(data)) {
    ::munmap(data, size);
    m_life.Close();
    return Result::kRefused;
  }
  m_data = data;
  m_size = size;
  return Result::kAttached;
}

void SharedMemory::Close() {
  if (m_data) ::munmap(m_data, m_size);
  m_data = nullptr;
  m_size = 0;
  m_life.Close();
}

}  // namespace platform
