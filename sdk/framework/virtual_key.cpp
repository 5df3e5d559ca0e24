#include "sdk/framework/virtual_key.h"

#include <cstddef>

bool CVirtualKey::AddDevice(CKeyBuffer* device) {
  if (!device || m_devices.size() >= kMaxDevices) return false;
  m_devices.push_back(device);
  return true;
}

bool CVirtualKey::AddKey(int logicalKey, CKeyBuffer* device, int keyCode) {
  if (logicalKey < 0 || logicalKey >= kLogicalKeys || !device) return false;
  m_keys[static_cast<size_t>(logicalKey)].push_back({device, keyCode});
  return true;
}

void CVirtualKey::ClearKeys() {
  for (auto& k : m_keys) k.clear();
}

void CVirtualKey::Input() {
  for (CKeyBuffer* d : m_devices) d->Update();
}

bool CVirtualKey::AnyBinding(int logicalKey, bool push) const {
  if (logicalKey < 0 || logicalKey >= kLogicalKeys) return false;
  for (const Binding& b : m_keys[static_cast<size_t>(logicalKey)]) {
    if (push ? b.device->IsKeyPush(b.keyCode) : b.device->IsKeyPress(b.keyCode)) return true;
  }
  return false;
}
