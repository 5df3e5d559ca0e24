// Named locks shared by every process of the user: the lock on a file named after the name, in
// the user's runtime folder. The system releases it when its holder closes it or the holding
// process ends, however it ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The per-user folder for lock files and local sockets (host path, no trailing separator):
// $XDG_RUNTIME_DIR, else /tmp/vrel-<user id> (made private to the user). Empty when neither can
// be used.
std::string RuntimeDirectory();

// A stable 64-bit hash of a name, for file names that must stay short.
uint64_t NameHash(std::string_view name);

// A file name made of any name of the program (Shift-JIS bytes): letters, digits and "+-._" stay,
// every other byte becomes %XX; a name too long for a file name is cut and ends with a hash of the
// whole name.
std::string FileNameForName(std::string_view name, std::string_view extension);

class NamedLock {
 public:
  enum class Result {
    kAcquired,       // this object holds the lock now
    kHeldElsewhere,  // another holder has it; this object keeps the file open without the lock
    kFailed,         // the lock file cannot be made or opened
  };

  // Exclusive: one holder. Shared: any number of shared holders, none while an exclusive one holds.
  enum class Mode { kExclusive, kShared };

  NamedLock() = default;
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  ~NamedLock() { Close(); }

  Result Open(std::string_view name, Mode mode = Mode::kExclusive);
  // Open, waiting up to the time limit while another holder has the lock; kHeldElsewhere when it
  // did not come in time.
  Result OpenWaiting(std::string_view name, std::chrono::milliseconds limit, Mode mode = Mode::kExclusive);
  // Takes the open file's lock in another mode without waiting (exclusive to shared always
  // succeeds); false when it cannot be had now or nothing is open.
  bool ChangeMode(Mode mode);
  // Releases the lock (when held) and closes the file; false when nothing was open.
  bool Close();
  bool IsOpen() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

}  // namespace platform
