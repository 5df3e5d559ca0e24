#include "sdk/sound/direct_sound.h"

#include "platform/sjis_literal.h"
#include "sdk/framework/com_init.h"
#include "sdk/framework/window_application.h"
#include "sdk/sound/sound.h"
#include "sdk/sound/sound_log.h"

namespace {
// Emptied before the program's main code runs; a device still held at exit is deleted.
SoundRegistry liveSounds;
}  // namespace

SoundRegistry& Sounds() { return liveSounds; }

void AddSoundDeviceUser() {
  if (liveSounds.users++ == 0) liveSounds.device = std::make_unique<CDirectSound>();
}

void RemoveSoundDeviceUser() {
  if (liveSounds.users == 0) return;
  if (--liveSounds.users == 0) liveSounds.device.reset();
}

platform::AudioDevice* SharedSoundDevice() { return liveSounds.device ? liveSounds.device->Device() : nullptr; }

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
