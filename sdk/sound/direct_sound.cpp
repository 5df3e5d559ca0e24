#include "sdk/sound/direct_sound.h"

#include "platform/sjis_literal.h"
#include "sdk/framework/com_init.h"
#include "sdk/framework/window_application.h"
#include "sdk/sound/sound.h"
#include "sdk/sound/sound_log.h"

namespace {
// Sounds held by other files' statics may be destroyed after this file's, so the registry is never
// destroyed: they can still leave it. Once the program exits, the sounds still held let go of their
// buffers here, and the device stays open to the end: its teardown reaches services that other
// files' statics hold, which may be gone by then.
SoundRegistry& Registry() {
  static SoundRegistry* const registry = new SoundRegistry;
  return *registry;
}
bool exiting = false;
struct ExitRelease {
  ~ExitRelease() {
    exiting = true;
    for (CSound* sound : Registry().sounds) sound->Release();
  }
} exitRelease;
}  // namespace

SoundRegistry& Sounds() { return Registry(); }

void AddSoundDeviceUser() {
  if (Sounds().users++ == 0) Sounds().device = std::make_unique<CDirectSound>();
}

void RemoveSoundDeviceUser() {
  if (Sounds().users == 0) return;
  if (--Sounds().users == 0 && !exiting) Sounds().device.reset();
}

platform::AudioDevice* SharedSoundDevice() { return Sounds().device ? Sounds().device->Device() : nullptr; }

CDirectSound::CDirectSound() {
  m_comReady = ComInitThread() == 0 ? 1 : 0;
  if (Initialize() == 0) AddWindowHook(this);
}

CDirectSound::~CDirectSound() {
  Terminate();
  ComUninitThread();
  RemoveWindowHook(this);
}

int32_t CDirectSound::Initialize() {
  Terminate();
  m_window = GetAppWindowHandle();
  if (!m_comReady) {
    SoundLog("%s", "CDirectSound::CoInitializeに失敗"_sj);
    return 1;
  }
  auto device = std::make_unique<platform::AudioDevice>();
  if (!device->IsOpen()) {
    SoundLog("%s", "CDirectSound objectの作成に失敗"_sj);
    return 2;
  }
  device->SetCooperativeLevel(m_window, platform::DSSCL_NORMAL);
  m_device = std::move(device);
  return 0;
}

int32_t CDirectSound::Terminate() {
  CSound::ReleaseAll();
  if (m_device) {
    m_device->SetCooperativeLevel(m_window, platform::DSSCL_NORMAL);
    m_device.reset();
  }
  return 0;
}

int32_t CDirectSound::RestoreSounds() {
  if (m_device) CSound::RestoreAll();
  return 0;
}

LRESULT CDirectSound::OnWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_ACTIVATEAPP && wParam != 0) RestoreSounds();
  return 0;
}
