// Named mutexes shared by every process of the user, over named locks (platform/named_lock.h):
// an owner holds the lock exclusively, a holder that does not own it holds it shared. The system
// frees both when the holder ends, however it ends, so a killed owner leaves nothing behind.
//
// Contract:
// - CreateOwned: kOwned when this object took ownership. While another owner keeps it, kExists
//   after waiting up to the limit (never less than a short grace, since a look at whether an owner
//   exists holds the lock for an instant); this object then owns nothing.
// - CreateNotOwned: kHeld when this object holds the mutex without owning it; any number of
//   holders may at once (an owner cannot come while they do). kExists (holding nothing) when an
//   owner keeps it beyond the grace.
// - OwnerExists: whether some process owns the mutex now. It takes the lock shared for an
//   instant, so that any number of processes may look at once without seeing each other.
// - Close releases what this object holds. kFailed: the runtime folder or its lock file cannot
//   be used.
#pragma once

#include <chrono>
#include <string_view>

#include "platform/named_lock.h"

namespace platform {

class NamedMutex {
 public:
  enum class Result { kOwned, kHeld, kExists, kFailed };

  // How long an owner's creation waits at least for a lock that someone only looks at.
  static constexpr std::chrono::milliseconds kGrace{200};

  NamedMutex() = default;
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  Result CreateOwned(std::string_view name, std::chrono::milliseconds limit = kGrace);
  Result CreateNotOwned(std::string_view name);
  static bool OwnerExists(std::string_view name);
  void Close();
  bool Owns() const { return m_owned; }

 private:
  NamedLock m_lock;
  bool m_owned = false;
};

}  // namespace platform
