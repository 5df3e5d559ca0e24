#include "platform/accelerator.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/key_state.h"

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

int TranslateAccelerator(HWND hwnd, HACCEL table, const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) || !platform::IsWindow(hwnd)) return 0;
  uint8_t held = 0;
  if (platform::GetKeyState(VK_SHIFT) < 0) held |= FSHIFT;
  if (platform::GetKeyState(VK_CONTROL) < 0) held |= FCONTROL;
  if (platform::GetKeyState(VK_MENU) < 0 || msg->message == WM_SYSKEYDOWN) held |= FALT;
  UINT command = 0;
  {
    std::lock_guard guard(platform::registryLock);
    if (!table || !platform::LiveTables().contains(table)) return 0;
    const auto match = std::find_if(table->entries.begin(), table->entries.end(), [&](const ACCEL& a) {
      return (a.fVirt & FVIRTKEY) && a.key == msg->wParam && (a.fVirt & (FSHIFT | FCONTROL | FALT)) == held;
    });
    if (match == table->entries.end()) return 0;
    command = match->cmd;
  }
  // Sent outside the lock: the command may build a new table.
  platform::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
  return 1;
}
