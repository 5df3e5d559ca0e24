// A name for the named objects one test makes (a shared record, named locks), unique to the
// running process, and their removal when the scope ends, however the test ends: the record's
// shared memory and the lock files of the name and of every name made from it ("<name>.life", ...).
// Nothing of the user's own names is touched.
#pragma once

#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/named_lock.h"
#include "platform/shared_memory.h"

class ScopedNamedObjects {
 public:
  explicit ScopedNamedObjects(const std::string& stem) : m_name(stem + "-" + std::to_string(::getpid())) {}
  ~ScopedNamedObjects() {
    ::shm_unlink(platform::SharedMemory::ObjectName(m_name).c_str());
    const std::string dir = platform::RuntimeDirectory();
    if (dir.empty()) return;
    const std::string stem = platform::FileNameForName(m_name, "");
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
      const std::string file = entry.path().filename().string();
      if (file.ends_with(".lock") && (file == stem + ".lock" || file.starts_with(stem + "."))) {
        files.push_back(entry.path());
      }
    }
    for (const auto& file : files) std::filesystem::remove(file, error);
  }
  ScopedNamedObjects(const ScopedNamedObjects&) = delete;
  ScopedNamedObjects& operator=(const ScopedNamedObjects&) = delete;

  const std::string& name() const { return m_name; }
  const char* c_str() const { return m_name.c_str(); }

 private:
  std::string m_name;
};
