// The critical section that guards every shared structure of the library.
#pragma once

#include "platform/sync.h"

class CLockSection {
 public:
  CLockSection() = default;
  CLockSection(const CLockSection&) = delete;
  CLockSection& operator=(const CLockSection&) = delete;
  virtual ~CLockSection() = default;

  // Re-entrant for the thread that holds it.
  void Enter() { m_lock.Enter(); }
  void Leave() { m_lock.Leave(); }

  // Lets std::lock_guard and std::unique_lock hold the section.
  void lock() { Enter(); }
  void unlock() { Leave(); }

 private:
  platform::RecursiveLock m_lock;
};
