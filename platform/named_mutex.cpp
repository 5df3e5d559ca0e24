#include "platform/named_mutex.h"

#include <algorithm>

namespace platform {
namespace {

NamedMutex::Result FromLock(NamedLock::Result result, NamedMutex::Result acquired) {
  switch (result) {
    case NamedLock::Result::kAcquired:
      return acquired;
    case NamedLock::Result::kHeldElsewhere:
      return NamedMutex::Result::kExists;
    case NamedLock::Result::kFailed:
      break;
  }
  return NamedMutex::Result::kFailed;
}

}  // namespace

NamedMutex::Result NamedMutex::CreateOwned(std::string_view name, std::chrono::milliseconds limit) {
  Close();
  const NamedLock::Result result = m_lock.OpenWaiting(name, std::max(limit, kGrace), NamedLock::Mode::kExclusive);
  if (result != NamedLock::Result::kAcquired) m_lock.Close();
  m_owned = result == NamedLock::Result::kAcquired;
  return FromLock(result, Result::kOwned);
}

NamedMutex::Result NamedMutex::CreateNotOwned(std::string_view name) {
  Close();
  const NamedLock::Result result = m_lock.OpenWaiting(name, kGrace, NamedLock::Mode::kShared);
  if (result != NamedLock::Result::kAcquired) m_lock.Close();
  return FromLock(result, Result::kHeld);
}

bool NamedMutex::OwnerExists(std::string_view name) {
  NamedLock probe;
  return probe.Open(name, NamedLock::Mode::kShared) == NamedLock::Result::kHeldElsewhere;
}

void NamedMutex::Close() {
  m_lock.Close();
  m_owned = false;
}

}  // namespace platform
