// The sound device that whole-file sounds and movie sound share: made with the first user, gone
// with the last. It watches the main window so that sounds whose buffers were lost while the
// application was inactive are reloaded when it becomes active again.
#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "platform/audio_mixer.h"
#include "sdk/framework/window_hook.h"

class CSound;

class CDirectSound : public IWindowHook {
 public:
  CDirectSound();
  ~CDirectSound() override;
  CDirectSound(const CDirectSound&) = delete;
  CDirectSound& operator=(const CDirectSound&) = delete;

  // On activation of the application: RestoreSounds. Always 0, so other hooks see the message.
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // 0, or 1 (no component runtime), 2 (no device).
  int32_t Initialize();
  // Releases every sound, then the device; 0.
  int32_t Terminate();
  // Reloads lost sounds when a device exists; 0.
  int32_t RestoreSounds();

  // Null before Initialize succeeded and after Terminate.
  platform::AudioDevice* Device() const { return m_device.get(); }

 private:
  std::unique_ptr<platform::AudioDevice> m_device;
  HWND m_window = nullptr;
  uint8_t m_comReady = 0;
};

// The process's sounds and their shared device, in one object so that the set of sounds outlives
// the device holder at exit (destroying the device releases every sound in the set).
struct SoundRegistry {
  std::set<CSound*> sounds;
  std::unique_ptr<CDirectSound> device;
  uint32_t users = 0;
};
SoundRegistry& Sounds();

// A user of the shared device (a sound or a movie's sound stream): the first makes the device, the
// last deletes it.
void AddSoundDeviceUser();
void RemoveSoundDeviceUser();
// The shared device's mixer handle; null when there is none.
platform::AudioDevice* SharedSoundDevice();
