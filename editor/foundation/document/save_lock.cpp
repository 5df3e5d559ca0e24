#include "editor/foundation/document/save_lock.h"

#include "platform/file_lock.h"

CSaveLock::CSaveLock() = default;
CSaveLock::~CSaveLock() = default;

CSaveLock::Result CSaveLock::Take(const char* pszPath) {
  Release();
  if (!pszPath) return Result::kNoFile;
  auto lock = std::make_unique<platform::FileLock>();
  switch (lock->Lock(pszPath, platform::FileLock::Mode::kExclusive)) {
    case platform::FileLock::Result::kLocked:
      m_lock = std::move(lock);
      return Result::kTaken;
    case platform::FileLock::Result::kHeldElsewhere:
      return Result::kHeldElsewhere;
    case platform::FileLock::Result::kCannotOpen:
      break;
  }
  return Result::kNoFile;
}

void CSaveLock::Release() { m_lock.reset(); }
