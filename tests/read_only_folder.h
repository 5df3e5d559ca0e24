// Makes a folder read-only for the calling thread. Root passes every permission check, so when the
// tests run as root the thread also takes the file-system identity of "nobody" (per thread on
// Linux) until the scope ends.
#pragma once

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

class ReadOnlyFolderScope {
 public:
  // folder and its parent are UTF-8 paths; the parent is made traversable for the other identity.
  ReadOnlyFolderScope(const std::string& parent, const std::string& folder) : m_folder(folder) {
    ::chmod(parent.c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    if (::geteuid() == 0) {
      ::setfsuid(kNobody);
      m_switched = static_cast<uid_t>(::setfsuid(kNobody)) == kNobody;
    }
    const std::string probe = folder + "/.probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(probe.c_str());
    } else {
      m_effective = true;
    }
  }
  ~ReadOnlyFolderScope() {
    if (m_switched) ::setfsuid(0);
    ::chmod(m_folder.c_str(), 0755);
  }
  ReadOnlyFolderScope(const ReadOnlyFolderScope&) = delete;
  ReadOnlyFolderScope& operator=(const ReadOnlyFolderScope&) = delete;

  // False when even so a file could be created there (the test cannot show anything then).
  bool effective() const { return m_effective; }

 private:
  static constexpr uid_t kNobody = 65534;
  std::string m_folder;
  bool m_switched = false;
  bool m_effective = false;
};
