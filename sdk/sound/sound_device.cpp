#include "sdk/sound/sound_device.h"

uint8_t CSoundDevice::Create(HWND window) {
  auto device = std::make_unique<platform::AudioDevice>();
  if (!device->IsOpen() || device->SetCooperativeLevel(window, platform::DSSCL_PRIORITY) != platform::DS_OK) return 0;
  m_device = std::move(device);
  return 1;
}
