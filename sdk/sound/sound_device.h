// The device that streaming buffers are made on: a handle on the mixer of its own.
#pragma once

#include <memory>

#include "platform/audio_mixer.h"

class CSoundDevice {
 public:
  CSoundDevice() = default;
  CSoundDevice(const CSoundDevice&) = delete;
  CSoundDevice& operator=(const CSoundDevice&) = delete;
  virtual ~CSoundDevice() = default;

  // 1 when a device was made (replacing the one held); 0 leaves the held one as it was.
  uint8_t Create(HWND window);

  // What a streaming buffer is given: it sees whether a device exists.
  const std::unique_ptr<platform::AudioDevice>& Holder() const { return m_device; }

 private:
  std::unique_ptr<platform::AudioDevice> m_device;
};
