#include "sdk/framework/com_init.h"

#include <map>
#include <mutex>

#include "platform/sjis_literal.h"
#include "platform/sync.h"
#include "platform/win_types.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/lock_section.h"

namespace {

struct ComThreads {
  CLockSection lock;
  std::map<uint32_t, uint32_t> uses;  // thread id -> use count
};

ComThreads& Threads() {
  static ComThreads threads;
  return threads;
}

HRESULT InitializeRuntime() { return S_OK; }
void UninitializeRuntime() {}

}  // namespace

int ComInitThread() {
  uint32_t id = platform::GetCurrentThreadId();
  bool first = false;
  {
    std::lock_guard lock(Threads().lock);
    auto [it, added] = Threads().uses.try_emplace(id, 0);
    ++it->second;
    first = added;
  }
  if (!first) return 0;
  // The count stays at one after a failure, so that the matching uninitialisation still runs.
  if (InitializeRuntime() != S_OK) {
    ErrorLog::Out("CoInitializeに失敗..."_sj);
    return 1;
  }
  return 0;
}

void ComUninitThread() {
  uint32_t id = platform::GetCurrentThreadId();
  std::lock_guard lock(Threads().lock);
  auto it = Threads().uses.find(id);
  if (it == Threads().uses.end()) return;
  if (--it->second == 0) {
    UninitializeRuntime();
    Threads().uses.erase(it);
  }
}

uint32_t ComThreadUseCount() {
  uint32_t id = platform::GetCurrentThreadId();
  std::lock_guard lock(Threads().lock);
  auto it = Threads().uses.find(id);
  return it == Threads().uses.end() ? 0 : it->second;
}
