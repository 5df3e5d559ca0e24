#include "platform/audio_mixer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "platform/audio_voice.h"
#include "platform/libsdl.h"

namespace platform {
namespace {

class Mixer {
 public:
  static Mixer& Get() {
    // Lives until the process ends: sounds held by objects with static storage still release their
    // buffers here at exit, whatever order those objects go in.
    static Mixer& mixer = *new Mixer;
    return mixer;
  }

  // Guards the voices and everything in them; the audio thread takes it for each period.
  std::mutex mutex;
  std::vector<Voice*> voices;
  std::array<float, 2 * kMixPeriodFrames> acc{};
  uint32_t nextId = 1;

  // Guards the handles and the sound card; never held together with the mutex above, because
  // closing the card waits for the audio thread.
  std::mutex deviceMutex;
  uint32_t users = 0;
  bool manual = false;
  SDL_AudioDeviceID card = 0;

  std::mutex hookMutex;
  AudioCallHook hook;

  // Called with mutex held.
  void MixLocked(int16_t* out, uint32_t frames) {
    while (frames > 0) {
      const uint32_t n = std::min(frames, kMixPeriodFrames);
      std::fill_n(acc.data(), 2 * n, 0.0f);
      for (Voice* v : voices) MixVoice(*v, acc.data(), n);
      SaturateToInt16(acc.data(), out, 2 * n);
      out += 2 * n;
      frames -= n;
    }
  }

  bool OpenCard() {
    const Sdl* sdl = SdlLibrary();
    if (!sdl || sdl->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(kMixRate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(kMixPeriodFrames);
    want.callback = &Mixer::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    card = sdl->SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (card == 0) {
      sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    sdl->SDL_PauseAudioDevice(card, 0);
    return true;
  }

  void CloseCard() {
    if (card == 0) return;
    const Sdl* sdl = SdlLibrary();  // there since the card opened
    sdl->SDL_CloseAudioDevice(card);
    card = 0;
    sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  HRESULT CallHook(AudioCall::Kind kind, uint32_t id, int64_t value) {
    AudioCallHook h;
    {
      std::lock_guard lock(hookMutex);
      if (!hook) return DS_OK;
      h = hook;
    }
    return h(AudioCall{kind, id, value});
  }

 private:
  Mixer() = default;

  static void Callback(void* user, Uint8* stream, int len) {
    auto* self = static_cast<Mixer*>(user);
    std::lock_guard lock(self->mutex);
    self->MixLocked(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(len) / 4);
  }
};

bool ValidFormat(const WAVEFORMATEX& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels != 1 && f.nChannels != 2) return false;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
  if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
  return f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

constexpr uint32_t kKnownFlags = DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME |
                                 DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

uint32_t WriteLead(const Voice& v) {
  // One mixer period at the buffer's rate, in whole frames.
  const uint64_t frames = (static_cast<uint64_t>(kMixPeriodFrames) * v.Rate() + kMixRate - 1) / kMixRate;
  return static_cast<uint32_t>(frames % v.frames);
}

}  // namespace

SoundBuffer::SoundBuffer(std::unique_ptr<Voice> voice) : m_voice(std::move(voice)) {}

SoundBuffer::~SoundBuffer() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  std::erase(m.voices, m_voice.get());
  // The voice, its notifications and (when this was the last holder) its data go after the lock.
}

uint32_t SoundBuffer::Id() const { return m_voice->id; }

HRESULT SoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) const {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  const Voice& v = *m_voice;
  const uint32_t frame = static_cast<uint32_t>(v.pos >> 32);
  if (play) *play = frame * v.BlockAlign();
  if (write) {
    const uint32_t lead = v.playing ? WriteLead(v) : 0;
    *write = static_cast<uint32_t>((static_cast<uint64_t>(frame) + lead) % v.frames) * v.BlockAlign();
  }
  return DS_OK;
}

HRESULT SoundBuffer::GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written) const {
  if (!format && !written) return DSERR_INVALIDPARAM;
  const uint32_t n = std::min<uint32_t>(size, sizeof(WAVEFORMATEX));
  if (format) std::memcpy(format, &m_voice->format, n);
  if (written) *written = format ? n : sizeof(WAVEFORMATEX);
  return DS_OK;
}

HRESULT SoundBuffer::GetVolume(int32_t* volume) const {
  if (!volume) return DSERR_INVALIDPARAM;
  if (!(m_voice->flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  *volume = m_voice->volume;
  return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(uint32_t* frequency) const {
  if (!frequency) return DSERR_INVALIDPARAM;
  if (!(m_voice->flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  *frequency = m_voice->Rate();
  return DS_OK;
}

HRESULT SoundBuffer::GetStatus(uint32_t* status) const {
  if (!status) return DSERR_INVALIDPARAM;
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  const Voice& v = *m_voice;
  *status = (v.playing ? DSBSTATUS_PLAYING : 0) | (v.playing && v.looping ? DSBSTATUS_LOOPING : 0) |
            (v.lost ? DSBSTATUS_BUFFERLOST : 0);
  return DS_OK;
}

HRESULT SoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                          uint32_t* bytes2, uint32_t flags) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kLock, Id(), offset); h != DS_OK) return h;
  if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
  const uint32_t size = m_voice->bytes;  // fixed for the buffer's life
  if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
  if (bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  Voice::LockedCopy copy;
  try {
    copy.bytes = std::make_unique<uint8_t[]>(bytes);
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  std::lock_guard lock(m.mutex);
  Voice& v = *m_voice;
  if (v.lost) return DSERR_BUFFERLOST;
  if (flags & DSBLOCK_FROMWRITECURSOR) {
    uint32_t write = 0;
    const uint32_t frame = static_cast<uint32_t>(v.pos >> 32);
    write = static_cast<uint32_t>((static_cast<uint64_t>(frame) + (v.playing ? WriteLead(v) : 0)) % v.frames) *
            v.BlockAlign();
    offset = write;
  }
  if (offset >= size) return DSERR_INVALIDPARAM;
  copy.offset = offset;
  copy.size1 = std::min(bytes, size - offset);
  copy.size2 = bytes - copy.size1;
  const uint8_t* data = v.data->data();
  std::memcpy(copy.bytes.get(), data + offset, copy.size1);
  if (copy.size2) std::memcpy(copy.bytes.get() + copy.size1, data, copy.size2);
  *part1 = copy.bytes.get();
  *bytes1 = copy.size1;
  if (part2) *part2 = copy.size2 ? copy.bytes.get() + copy.size1 : nullptr;
  if (bytes2) *bytes2 = copy.size2;
  if (copy.size2 && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
  try {
    v.locks.push_back(std::move(copy));
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  return DS_OK;
}

HRESULT SoundBuffer::Unlock(void* part1, uint32_t bytes1, void*, uint32_t bytes2) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kUnlock, Id(), bytes1); h != DS_OK) return h;
  Voice::LockedCopy copy;
  {
    std::lock_guard lock(m.mutex);
    Voice& v = *m_voice;
    auto it = std::find_if(v.locks.begin(), v.locks.end(),
                           [&](const Voice::LockedCopy& c) { return c.bytes.get() == part1; });
    if (it == v.locks.end()) return DSERR_INVALIDPARAM;
    copy = std::move(*it);
    v.locks.erase(it);
    uint8_t* data = v.data->data();
    std::memcpy(data + copy.offset, copy.bytes.get(), std::min(bytes1, copy.size1));
    std::memcpy(data, copy.bytes.get() + copy.size1, std::min(bytes2, copy.size2));
  }
  return DS_OK;
}

HRESULT SoundBuffer::Play(uint32_t, uint32_t, uint32_t flags) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kPlay, Id(), flags); h != DS_OK) return h;
  std::lock_guard lock(m.mutex);
  Voice& v = *m_voice;
  if (v.lost) return DSERR_BUFFERLOST;
  v.looping = (flags & DSBPLAY_LOOPING) != 0;
  if (!v.playing) {
    // A silent buffer starting takes its gain at once; there is nothing to ramp from.
    v.gain.Jump(v.gain.target);
    v.playing = true;
    v.heard = false;
  }
  return DS_OK;
}

HRESULT SoundBuffer::Stop() {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kStop, Id(), 0); h != DS_OK) return h;
  std::lock_guard lock(m.mutex);
  Voice& v = *m_voice;
  // A buffer started again before the mixer reached it was never heard: fading it out would play
  // its start twice, over the new start. One that was heard fades on from where it was heard,
  // wherever its position was set since.
  if (v.playing && v.heard && (v.gain.gain != 0.0f || v.gain.left != 0)) {
    v.tail.active = true;
    v.tail.looping = v.looping;
    v.tail.pos = v.heardPos;
    v.tail.gain.Jump(v.gain.gain);
    v.tail.gain.RampTo(0.0f, kRampFrames);
  }
  v.playing = false;
  return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(uint32_t offset) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kSetCurrentPosition, Id(), offset); h != DS_OK) return h;
  std::lock_guard lock(m.mutex);
  Voice& v = *m_voice;
  if (offset >= v.bytes) return DSERR_INVALIDPARAM;
  const uint32_t frame = std::min(offset / v.BlockAlign(), v.frames - 1);
  v.pos = static_cast<uint64_t>(frame) << 32;
  return DS_OK;
}

HRESULT SoundBuffer::SetVolume(int32_t volume) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kSetVolume, Id(), volume); h != DS_OK) return h;
  if (!(m_voice->flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  std::lock_guard lock(m.mutex);
  Voice& v = *m_voice;
  v.volume = volume;
  const float g = VolumeToGain(volume);
  if (v.playing) {
    v.gain.RampTo(g, kRampFrames);
  } else {
    v.gain.Jump(g);
  }
  return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(uint32_t frequency) {
  Mixer& m = Mixer::Get();
  if (HRESULT h = m.CallHook(AudioCall::kSetFrequency, Id(), frequency); h != DS_OK) return h;
  if (!(m_voice->flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (frequency != DSBFREQUENCY_ORIGINAL && (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)) {
    return DSERR_INVALIDPARAM;
  }
  std::lock_guard lock(m.mutex);
  m_voice->frequency = frequency;
  m_voice->UpdateStep();
  return DS_OK;
}

HRESULT SoundBuffer::Restore() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  m_voice->lost = false;
  return DS_OK;
}

HRESULT SoundBuffer::SetNotificationPositions(std::span<const DSBPOSITIONNOTIFY> positions) {
  if (!(m_voice->flags & DSBCAPS_CTRLPOSITIONNOTIFY)) return DSERR_CONTROLUNAVAIL;
  for (const DSBPOSITIONNOTIFY& p : positions) {
    if (p.dwOffset >= m_voice->bytes || !p.event) return DSERR_INVALIDPARAM;
  }
  std::vector<DSBPOSITIONNOTIFY> notes;
  try {
    notes.assign(positions.begin(), positions.end());
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  Mixer& m = Mixer::Get();
  std::unique_lock lock(m.mutex);
  if (m_voice->playing) return DSERR_INVALIDCALL;
  m_voice->notes.swap(notes);
  lock.unlock();
  return DS_OK;  // the old list goes here, outside the lock
}

AudioDevice::AudioDevice() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.deviceMutex);
  if (m.users == 0 && !m.manual && !m.OpenCard()) return;
  ++m.users;
  m_open = true;
}

AudioDevice::~AudioDevice() {
  if (!m_open) return;
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.deviceMutex);
  if (--m.users == 0) m.CloseCard();
}

HRESULT AudioDevice::CreateSoundBuffer(const DSBUFFERDESC& desc, std::unique_ptr<SoundBuffer>& out) {
  if (!m_open) return DSERR_NODRIVER;
  if (desc.dwSize != sizeof(DSBUFFERDESC) || (desc.dwFlags & ~kKnownFlags) || !desc.lpwfxFormat) {
    return DSERR_INVALIDPARAM;
  }
  if (!ValidFormat(*desc.lpwfxFormat)) return DSERR_BADFORMAT;
  const WAVEFORMATEX& f = *desc.lpwfxFormat;
  if (desc.dwBufferBytes < kMinBufferBytes || desc.dwBufferBytes > kMaxBufferBytes ||
      desc.dwBufferBytes < f.nBlockAlign) {
    return DSERR_INVALIDPARAM;
  }
  std::unique_ptr<Voice> v;
  try {
    v = std::make_unique<Voice>();
    v->data = std::make_shared<std::vector<uint8_t>>(desc.dwBufferBytes, f.wBitsPerSample == 8 ? 0x80 : 0);
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  v->format = f;
  v->format.cbSize = 0;
  v->format.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  v->flags = desc.dwFlags;
  v->bytes = desc.dwBufferBytes;
  v->frames = desc.dwBufferBytes / f.nBlockAlign;
  v->UpdateStep();
  return Register(std::move(v), out);
}

HRESULT AudioDevice::DuplicateSoundBuffer(const SoundBuffer& original, std::unique_ptr<SoundBuffer>& out) {
  if (!m_open) return DSERR_NODRIVER;
  std::unique_ptr<Voice> v;
  try {
    v = std::make_unique<Voice>();
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  Mixer& m = Mixer::Get();
  {
    std::lock_guard lock(m.mutex);
    const Voice& o = *original.m_voice;
    v->data = o.data;
    v->format = o.format;
    v->flags = o.flags;
    v->bytes = o.bytes;
    v->frames = o.frames;
    v->frequency = o.frequency;
    v->volume = o.volume;
    v->gain.Jump(VolumeToGain(o.volume));
    v->UpdateStep();
  }
  return Register(std::move(v), out);
}

HRESULT AudioDevice::Register(std::unique_ptr<Voice> voice, std::unique_ptr<SoundBuffer>& out) {
  Voice* v = voice.get();
  std::unique_ptr<SoundBuffer> buffer;
  Mixer& m = Mixer::Get();
  try {
    buffer.reset(new SoundBuffer(std::move(voice)));
    std::lock_guard lock(m.mutex);
    m.voices.reserve(m.voices.size() + 1);
    v->id = m.nextId++;
    m.voices.push_back(v);
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  out = std::move(buffer);
  return DS_OK;
}

void SetAudioManualRender(bool on) {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.deviceMutex);
  m.manual = on;
  if (on) {
    m.CloseCard();
  } else if (m.users > 0 && m.card == 0) {
    m.OpenCard();
  }
}

void RenderAudio(std::span<int16_t> out) {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  m.MixLocked(out.data(), static_cast<uint32_t>(out.size() / 2));
}

uint32_t AudioDeviceUsers() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.deviceMutex);
  return m.users;
}

bool AudioCardOpen() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.deviceMutex);
  return m.card != 0;
}

AudioCallHook SetAudioCallHook(AudioCallHook hook) {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.hookMutex);
  std::swap(m.hook, hook);
  return hook;
}

void LoseAllAudioBuffers() {
  Mixer& m = Mixer::Get();
  std::lock_guard lock(m.mutex);
  for (Voice* v : m.voices) {
    v->lost = true;
    v->playing = false;
  }
}

}  // namespace platform
