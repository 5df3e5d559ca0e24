#include "sdk/framework/mutex.h"

#include "platform/named_lock.h"

CMutex::CMutex() = default;

CMutex::~CMutex() { Close(); }

int CMutex::Open(std::string_view name) {
  Close();
  auto lock = std::make_unique<platform::NamedLock>();
  const platform::NamedLock::Result result = lock->Open(name);
  if (result == platform::NamedLock::Result::kFailed) return 0;
  m_handle = std::move(lock);
  return result == platform::NamedLock::Result::kHeldElsewhere ? 1 : 0;
}

int CMutex::Close() {
  if (!m_handle) return 0;
  m_handle.reset();
  return 1;
}
