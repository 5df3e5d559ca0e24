// A named manual-reset event shared by every process of the user, over a named lock
// (platform/named_lock.h): its creator holds the lock exclusively while the event is not
// signalled and shared once it is; a waiter takes the lock shared, which it can only while the
// event is signalled, and lets it go at once. The system frees the lock when the creator ends,
// however it ends: an event whose creator is gone counts as signalled, as one that cannot be
// opened counts for those who wait to start.
//
// Contract:
// - Create: kCreated when this object made the event, not signalled; kOpened when another holder
//   has it (made, or signalled) beyond a short grace (a waiter holds it for an instant): this
//   object then holds nothing and cannot signal it.
//   kFailed: the runtime folder or its lock file cannot be used.
// - Set: the creator signals the event; it stays signalled until the creator closes it. False for
//   an object that did not create it.
// - Wait: kSignalled when the event is signalled (or nobody holds it) within the limit, kTimeout
//   otherwise; kFailed as for Create.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/named_lock.h"

namespace platform {

class NamedEvent {
 public:
  enum class Result { kCreated, kOpened, kFailed };
  enum class WaitResult { kSignalled, kTimeout, kFailed };

  NamedEvent() = default;
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;

  Result Create(std::string_view name);
  bool Set();
  void Close();
  bool IsCreator() const { return m_lock.IsOpen(); }

  static WaitResult Wait(std::string_view name, std::chrono::milliseconds limit);

 private:
  NamedLock m_lock;
  std::string m_name;
  bool m_set = false;
};

}  // namespace platform
