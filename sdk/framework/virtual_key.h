// Logical keys bound to (device, key code) pairs on any number of key-state devices, so that the
// program asks for "logical key 6" and gets the keyboard's and the joystick's answer alike.
#pragma once

#include <array>
#include <vector>

#include "sdk/framework/key_buffer.h"

class CVirtualKey {
 public:
  static constexpr int kMaxDevices = 16;
  static constexpr int kLogicalKeys = 88;

  CVirtualKey() = default;
  virtual ~CVirtualKey() = default;
  CVirtualKey(const CVirtualKey&) = delete;
  CVirtualKey& operator=(const CVirtualKey&) = delete;

  // The devices are borrowed. False when the list is full.
  bool AddDevice(CKeyBuffer* device);
  // False for a logical key outside 0 ... 87 or a null device.
  bool AddKey(int logicalKey, CKeyBuffer* device, int keyCode);
  void ClearKeys();
  // Polls every device in the order they were added.
  void Input();
  bool IsPress(int logicalKey) const { return AnyBinding(logicalKey, false); }
  bool IsPush(int logicalKey) const { return AnyBinding(logicalKey, true); }

 private:
  struct Binding {
    CKeyBuffer* device;
    int keyCode;
  };
  bool AnyBinding(int logicalKey, bool push) const;

  std::vector<CKeyBuffer*> m_devices;
  std::array<std::vector<Binding>, kLogicalKeys> m_keys;
};
