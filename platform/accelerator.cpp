#include "platform/accelerator.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

struct AcceleratorTable {
  std::vector<ACCEL> entries;
};

namespace {

// The live tables own their entries, so a stale or foreign handle is refused instead of freed twice.
std::mutex registryLock;
std::map<AcceleratorTable*, std::unique_ptr<AcceleratorTable>>& LiveTables() {
  static std::map<AcceleratorTable*, std::unique_ptr<AcceleratorTable>> tables;
  return tables;
}

}  // namespace
}  // namespace platform

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
  if (!entries || count < 1) return nullptr;
  auto table = std::make_unique<platform::AcceleratorTable>();
  table->entries.assign(entries, entries + count);
  std::lock_guard guard(platform::registryLock);
  HACCEL handle = table.get();
  platform::LiveTables().emplace(handle, std::move(table));
  return handle;
}

int CopyAcceleratorTable(HACCEL table, ACCEL* out, int count) {
  std::lock_guard guard(platform::registryLock);
  if (!table || !platform::LiveTables().contains(table)) return 0;
  const int n = static_cast<int>(table->entries.size());
  if (out && count > 0) std::copy_n(table->entries.begin(), std::min(n, count), out);
  return n;
}

bool DestroyAcceleratorTable(HACCEL table) {
  std::lock_guard guard(platform::registryLock);
  return table && platform::LiveTables().erase(table) == 1;
}
