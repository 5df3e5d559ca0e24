#include "platform/named_event.h"

namespace platform {
namespace {

// How long a creator waits at least for a lock that a waiter holds for an instant.
constexpr std::chrono::milliseconds kGrace(200);

}  // namespace

NamedEvent::Result NamedEvent::Create(std::string_view name) {
  Close();
  switch (m_lock.OpenWaiting(name, kGrace, NamedLock::Mode::kExclusive)) {
    case NamedLock::Result::kAcquired:
      m_name = name;
      return Result::kCreated;
    case NamedLock::Result::kHeldElsewhere:
      m_lock.Close();
      return Result::kOpened;
    case NamedLock::Result::kFailed:
      break;
  }
  return Result::kFailed;
}

bool NamedEvent::Set() {
  if (!m_lock.IsOpen()) return false;
  if (m_set) return true;
  // From exclusive to shared nobody can come between on Linux; should a system drop the lock on
  // the way, it is taken again shared.
  m_set = m_lock.ChangeMode(NamedLock::Mode::kShared) ||
          m_lock.OpenWaiting(m_name, kGrace, NamedLock::Mode::kShared) == NamedLock::Result::kAcquired;
  return m_set;
}

void NamedEvent::Close() {
  m_lock.Close();
  m_name.clear();
  m_set = false;
}

NamedEvent::WaitResult NamedEvent::Wait(std::string_view name, std::chrono::milliseconds limit) {
  NamedLock waiter;
  switch (waiter.OpenWaiting(name, limit, NamedLock::Mode::kShared)) {
    case NamedLock::Result::kAcquired:
      return WaitResult::kSignalled;
    case NamedLock::Result::kHeldElsewhere:
      return WaitResult::kTimeout;
    case NamedLock::Result::kFailed:
      break;
  }
  return WaitResult::kFailed;
}

}  // namespace platform
