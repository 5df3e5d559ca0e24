// A record every process of the user maps at once, named by the program: POSIX shared memory
// with two named locks beside it.
//
// POSIX memory outlives its last holder (a mapping of the original system did not), so a crashed
// process would leave a stale record behind. Every holder therefore keeps a "life" lock shared;
// whoever can take it exclusively knows that nobody is attached and makes the record afresh. An
// "init" lock orders the processes that attach at the same moment. Both are flocks, freed when a
// holder ends however it ends.
//
// Contract: Open gives kCreated after making a zero-filled record of `size` bytes and calling
// `init` on it before anyone else can attach; kAttached after mapping an existing record that has
// exactly `size` bytes and passes `accept`; kRefused for another size or a record `accept` turns
// down (nothing stays mapped); kFailed when the memory or the locks cannot be had. Close unmaps and
// drops the life lock (the record is removed by the next creator, not by the last holder).
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/named_lock.h"

namespace platform {

class SharedMemory {
 public:
  enum class Result { kCreated, kAttached, kRefused, kFailed };

  SharedMemory() = default;
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;
  ~SharedMemory() { Close(); }

  Result Open(std::string_view name, size_t size, const std::function<void(void*)>& init,
              const std::function<bool(const void*)>& accept);
  void Close();
  void* Data() const { return m_data; }
  size_t Size() const { return m_size; }

  // The shared-memory object's name for a record name: per user and per runtime folder
  // (platform/named_lock.h), as the locks beside it are.
  static std::string ObjectName(std::string_view name);

 private:
  void* m_data = nullptr;
  size_t m_size = 0;
  NamedLock m_life;
};

}  // namespace platform
