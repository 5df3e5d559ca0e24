#include "sdk/sound/sound.h"

#include <cstring>
#include <vector>

#include "platform/sjis_literal.h"
#include "sdk/framework/timer.h"
#include "sdk/sound/direct_sound.h"
#include "sdk/sound/sound_log.h"

using namespace platform;

CSound::CSound() : m_factory(new CPCMReaderFactory) {
  AddSoundDeviceUser();
  Sounds().sounds.insert(this);
}

CSound::~CSound() {
  Release();
  Sounds().sounds.erase(this);
  RemoveSoundDeviceUser();
}

int32_t CSound::Open(const char* name) { return Load(name ? name : ""); }

int32_t CSound::Close() { return Release(); }

int32_t CSound::Play() {
  m_pauseCount = 0;
  if (!m_buffer) return 1;
  m_buffer->SetCurrentPosition(0);
  if (IsPlay()) {
    m_buffer->Stop();
    m_buffer->SetCurrentPosition(0);
  }
  if (m_buffer->Play(0, 0, PlayFlags()) == DSERR_BUFFERLOST) return Restore();
  return 0;
}

int32_t CSound::Replay() {
  if (m_pauseCount == 0) return 0;
  if (--m_pauseCount == 0 && m_buffer) return m_buffer->Play(0, 0, PlayFlags());
  return 0;
}

int32_t CSound::Stop() {
  CSound* const self = this;
  StopTogether({&self, 1});
  return 0;
}

void CSound::StopTogether(std::span<CSound* const> sounds) {
  struct Fading {
    CSound* sound;
    int32_t volume;
    int32_t step;
  };
  std::vector<Fading> fading;
  for (CSound* sound : sounds) {
    if (!sound || !sound->IsPlay()) continue;
    const int32_t v = sound->GetVolume();
    fading.push_back({sound, v, (v + 10000) / 25});
  }
  if (fading.empty()) return;
  CTimer stopwatch;
  uint32_t t = 0;
  do {
    for (const Fading& f : fading) f.sound->SetVolume(f.volume - f.step * static_cast<int32_t>(t));
    t = stopwatch.Get();
  } while (t < 25);
  for (const Fading& f : fading) {
    f.sound->SetVolume(DSBVOLUME_MIN);
    f.sound->m_buffer->Stop();
    f.sound->SetVolume(f.volume);
    f.sound->m_buffer->SetCurrentPosition(0);
  }
}

int32_t CSound::Pause() {
  if (m_pauseCount > 0) {
    ++m_pauseCount;
  } else if (m_pauseCount < 0) {
    --m_pauseCount;
  }
  if (IsPlay()) {
    m_pauseCount = 1;
    return m_buffer->Stop();
  }
  return 0;
}

uint8_t CSound::IsPlay() {
  uint32_t status = 0;
  if (!m_buffer || m_buffer->GetStatus(&status) != DS_OK) return 0;
  return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

int32_t CSound::SetLoop(uint8_t loop) {
  m_loop = loop;
  return 0;
}

int32_t CSound::GetCurrentPos() {
  uint32_t play = 0;
  if (!m_buffer || m_averageBytes == 0 || m_buffer->GetCurrentPosition(&play, nullptr) != DS_OK) return -1;
  return static_cast<int32_t>(uint64_t{play} * 1000 / m_averageBytes);
}

int32_t CSound::SetCurrentPos(int32_t ms) {
  if (!m_buffer || m_averageBytes == 0) return -1;
  const uint64_t bytes = uint64_t{static_cast<uint32_t>(ms)} * m_averageBytes / 1000;
  return m_buffer->SetCurrentPosition(bytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(bytes));
}

int32_t CSound::SetVolume(int32_t volume) {
  if (!m_buffer) return 1;
  return m_buffer->SetVolume(volume);
}

int32_t CSound::GetVolume() {
  if (!m_buffer) return 1;
  int32_t volume = 0;
  if (m_buffer->GetVolume(&volume) != DS_OK) {
    SoundLog("%s", "CSound::GetVolumeに失敗"_sj);
    return 0;
  }
  return volume;
}

int32_t CSound::Fail(int32_t code) {
  // A buffer made before the failure would otherwise stay behind with no name to restore it from.
  m_buffer.reset();
  return code;
}

int32_t CSound::Load(const std::string& name) {
  AudioDevice* device = SharedSoundDevice();
  if (!device) return 1;
  Release();
  m_fileName.clear();
  if (name.empty()) return 0;

  for (CSound* other : Sounds().sounds) {
    if (other == this || other->m_fileName != name) continue;
    other->Restore();
    if (!other->m_buffer || device->DuplicateSoundBuffer(*other->m_buffer, m_buffer) != DS_OK) return Fail(1);
    m_fileName = name;
    m_averageBytes = other->m_averageBytes;
    m_length = other->m_length;
    return 0;
  }

  if (!m_factory) m_factory = CRingPtr<CPCMReaderFactory>(new CPCMReaderFactory);
  PcmReaderPtr reader = m_factory->CreateReader(name);
  if (!reader) {
    SoundLog("%s", ("CSound::Load " + name + "のファイル読み込み時のエラー"_sj).c_str());
    return 1;
  }
  const uint32_t size = reader->GetPCMSize();
  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = reader->GetFormat();
  if (device->CreateSoundBuffer(desc, m_buffer) != DS_OK) {
    desc.dwFlags = DSBCAPS_CTRLVOLUME;
    if (device->CreateSoundBuffer(desc, m_buffer) != DS_OK) {
      SoundLog("%s", "CSound::LoadのCreateSoundBuffer()で失敗！"_sj);
      return Fail(7);
    }
  }
  void* part1 = nullptr;
  void* part2 = nullptr;
  uint32_t bytes1 = 0, bytes2 = 0;
  HRESULT locked = m_buffer->Lock(0, size, &part1, &bytes1, &part2, &bytes2, 0);
  if (locked == DSERR_BUFFERLOST) {
    m_buffer->Restore();
    locked = m_buffer->Lock(0, size, &part1, &bytes1, &part2, &bytes2, 0);
  }
  if (locked != DS_OK) {
    SoundLog("%s", "CSound::LoadのLock()に失敗！"_sj);
    return Fail(8);
  }
  reader->SetLoop(0);
  const uint32_t got = std::min(reader->Read(part1, bytes1), bytes1);
  // A reader that comes short leaves the rest silent rather than whatever the buffer held.
  const bool eightBit = desc.lpwfxFormat->wBitsPerSample == 8;
  std::memset(static_cast<uint8_t*>(part1) + got, eightBit ? 0x80 : 0, bytes1 - got);
  reader.reset();
  if (m_buffer->Unlock(part1, bytes1, part2, bytes2) != DS_OK) {
    SoundLog("%s", "CSound::LoadのUnlock()に失敗！"_sj);
    return Fail(10);
  }
  WAVEFORMATEX format{};
  m_averageBytes = m_buffer->GetFormat(&format, sizeof format, nullptr) == DS_OK ? format.nAvgBytesPerSec : 0;
  m_fileName = name;
  m_length = static_cast<int32_t>(m_averageBytes ? uint64_t{size} * 1000 / m_averageBytes : 0);
  return 0;
}

int32_t CSound::Release() {
  if (!m_buffer) return 0;
  if (IsPlay()) Stop();
  m_buffer.reset();
  m_fileName.clear();
  return 0;
}

int32_t CSound::Restore() {
  if (!m_fileName.empty()) {
    if (!m_buffer) return 1;
    uint32_t status = 0;
    m_buffer->GetStatus(&status);
    if (!(status & DSBSTATUS_BUFFERLOST)) return 0;
  }
  m_buffer.reset();
  const std::string name = m_fileName;
  return Load(name);
}

int32_t CSound::GetFrequency() {
  if (!m_buffer) return -1;
  uint32_t hz = 0;
  if (m_buffer->GetFrequency(&hz) != DS_OK) return -2;
  return static_cast<int32_t>(hz);
}

int32_t CSound::SetFrequency(uint32_t hz) {
  if (!m_buffer) return 1;
  if ((hz == 0 || (hz >= DSBFREQUENCY_MIN && hz <= DSBFREQUENCY_MAX)) && m_buffer->SetFrequency(hz) == DS_OK) return 0;
  return 2;
}

void CSound::SetReaderFactory(CRingPtr<CPCMReaderFactory> factory) { m_factory = factory; }

void CSound::GetReaderFactory(CRingPtr<CPCMReaderFactory>& out) { out = m_factory; }

int32_t CSound::ReleaseAll() {
  if (Sounds().sounds.empty()) return 0;
  for (CSound* s : Sounds().sounds) s->Release();
  return 0;
}

int32_t CSound::RestoreAll() {
  for (CSound* s : Sounds().sounds) s->Restore();
  return 0;
}
