// The process's one software mixer, heard through the sound card, and the sound buffers it plays.
//
// Contract:
// - Output is 44,100 Hz stereo 16-bit, mixed in periods of at most kMixPeriodFrames frames. The
//   sound card is opened when the first AudioDevice is made and closed when the last one goes.
//   Only the audio subsystem of the toolkit is used. In manual-render mode no card is opened and
//   RenderAudio mixes on the caller's thread instead; tests check samples that way.
// - A SoundBuffer holds 8- or 16-bit PCM, one or two channels, 100..100,000 Hz, 4..0x0FFFFFFF
//   bytes; new memory holds the format's silence. Every call may come from any thread; each takes
//   the mixer's mutex for a short time. The audio thread never allocates, decodes or waits for
//   anything but that mutex, so a caller that holds its own lock while calling here must never be
//   waited for by the mixer (order: the caller's lock, then the mixer's).
// - Lock hands out a copy of the region; Unlock writes it back in one step. Decoding into a locked
//   region therefore never blocks or races the audio thread.
// - The play cursor moves only when the mixer renders; nothing is interpolated from a clock. The
//   write cursor leads it by one period while playing.
// - Volume is -10,000..0 hundredths of a decibel, gain 10^(v/2000), -10,000 exact silence; changes
//   of an audible buffer are ramped over kRampFrames frames, and stopping an audible buffer fades
//   what was heard, from where it was heard, over the same ramp while the buffer itself stops at
//   once. A buffer that has not been rendered since it started stops without a fade.
// - Frequency 0 means the buffer's own rate; else 100..100,000 Hz, resampled linearly on a 32.32
//   fixed-point position, so cursors stay exact. Mono plays at full level on both sides; voices are
//   summed in float and saturated.
// - Duplicates share the original's data until the last of them goes.
// - Notifications (set while stopped) signal their event once for every time the cursor passes
//   their offset, counted, never merged; one-shot ends happen inside the render that reaches them.
// - Result codes are the documented DirectSound values.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/audio_format.h"
#include "platform/sync.h"
#include "platform/win_types.h"

namespace platform {

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000A);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001E);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096);

constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x8;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_CTRLPOSITIONNOTIFY = 0x100;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr uint32_t DSBPLAY_LOOPING = 1;
constexpr uint32_t DSBSTATUS_PLAYING = 1;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 2;
constexpr uint32_t DSBSTATUS_LOOPING = 4;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 2;

constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 100000;
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;

constexpr uint32_t kMixRate = 44100;
constexpr uint32_t kMixPeriodFrames = 1024;
constexpr uint32_t kRampFrames = 220;  // about 5 ms
constexpr uint32_t kMinBufferBytes = 4;
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;

struct DSBUFFERDESC {
  uint32_t dwSize = sizeof(DSBUFFERDESC);
  uint32_t dwFlags = 0;
  uint32_t dwBufferBytes = 0;
  uint32_t dwReserved = 0;
  const WAVEFORMATEX* lpwfxFormat = nullptr;
};

struct DSBPOSITIONNOTIFY {
  uint32_t dwOffset;
  std::shared_ptr<CountingEvent> event;
};

struct Voice;

class SoundBuffer {
 public:
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) const;
  // Copies at most size bytes of the format; written (may be null) gets the count.
  HRESULT GetFormat(WAVEFORMATEX* format, uint32_t size, uint32_t* written) const;
  HRESULT GetVolume(int32_t* volume) const;
  HRESULT GetFrequency(uint32_t* frequency) const;
  HRESULT GetStatus(uint32_t* status) const;
  // The region may wrap: the second part starts at offset 0. The pointers are a copy owned by the
  // buffer until the matching Unlock (or the buffer's end).
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2, uint32_t* bytes2,
               uint32_t flags);
  HRESULT Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2);
  // From the current position; DSBPLAY_LOOPING loops.
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
  // Keeps the position.
  HRESULT Stop();
  // Rounded down to the block alignment.
  HRESULT SetCurrentPosition(uint32_t offset);
  HRESULT SetVolume(int32_t volume);
  HRESULT SetFrequency(uint32_t frequency);
  HRESULT Restore();
  // Replaces every notification; only while stopped. An empty list removes them.
  HRESULT SetNotificationPositions(std::span<const DSBPOSITIONNOTIFY> positions);

  uint32_t Id() const;

 private:
  friend class AudioDevice;
  explicit SoundBuffer(std::unique_ptr<Voice> voice);
  std::unique_ptr<Voice> m_voice;
};

// A handle on the mixer; the first opens the sound card, the last closes it.
class AudioDevice {
 public:
  AudioDevice();
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

  // False when the sound card could not be opened; buffers then cannot be made.
  bool IsOpen() const { return m_open; }
  // Window handles and cooperative levels mean nothing here; accepted.
  HRESULT SetCooperativeLevel(HWND, uint32_t) { return DS_OK; }
  HRESULT CreateSoundBuffer(const DSBUFFERDESC& desc, std::unique_ptr<SoundBuffer>& out);
  HRESULT DuplicateSoundBuffer(const SoundBuffer& original, std::unique_ptr<SoundBuffer>& out);

 private:
  HRESULT Register(std::unique_ptr<Voice> voice, std::unique_ptr<SoundBuffer>& out);
  bool m_open = false;
};

// Manual rendering for tests and tools: while on, no sound card is opened (one already open is
// closed) and RenderAudio mixes.
void SetAudioManualRender(bool on);
// Mixes interleaved stereo frames (out.size() / 2 of them) into out, as the sound card would.
void RenderAudio(std::span<int16_t> out);
// The number of handles on the mixer and whether a sound card is open.
uint32_t AudioDeviceUsers();
bool AudioCardOpen();

// A call on a buffer, shown to the test hook before it runs.
struct AudioCall {
  enum Kind { kPlay, kStop, kSetVolume, kSetFrequency, kSetCurrentPosition, kLock, kUnlock };
  Kind kind;
  uint32_t buffer;  // SoundBuffer::Id
  int64_t value;    // volume, frequency, position or lock offset
};
// A hook that sees every such call; a nonzero result fails the call with that code. Empty: none.
// Returns the previous hook.
using AudioCallHook = std::function<HRESULT(const AudioCall&)>;
AudioCallHook SetAudioCallHook(AudioCallHook hook);
// Marks every buffer lost (and stopped), as when another program took the card.
void LoseAllAudioBuffers();

}  // namespace platform
