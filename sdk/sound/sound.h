// A short sound decoded whole into one buffer of the shared device: the game's sound effects and
// system sounds. A second load of a file that another sound holds shares that sound's data.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/audio_mixer.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/sound/pcm_reader_factory.h"
#include "sdk/sound/sound_base.h"

class CSound : public CSoundBase {
 public:
  CSound();
  ~CSound() override;

  int32_t Open(const char* name) override;
  int32_t Close() override;
  int32_t Play() override;
  int32_t Replay() override;
  // A short fade, then stopped and rewound.
  int32_t Stop() override;
  int32_t Pause() override;
  uint8_t IsPlay() override;
  uint8_t IsLoop() override { return m_loop; }
  int32_t SetLoop(uint8_t loop) override;
  int32_t GetCurrentPos() override;
  int32_t SetCurrentPos(int32_t ms) override;
  int32_t GetLength() override { return m_length; }
  int32_t SetVolume(int32_t volume) override;
  int32_t GetVolume() override;

  // 0 loaded (or nothing to load); 1 no device, no reader or the shared copy failed; 7 no buffer;
  // 8 the buffer could not be locked; 10 nor unlocked. A failure leaves the sound empty.
  virtual int32_t Load(const std::string& name);
  virtual int32_t Release();
  // Reloads a sound whose buffer was lost; a restored sound is not restarted.
  virtual int32_t Restore();
  // -1 without a buffer, -2 when it cannot be told.
  virtual int32_t GetFrequency();
  // 0 (the file's own rate) or 100..100000 Hz: 0; without a buffer 1; otherwise 2.
  virtual int32_t SetFrequency(uint32_t hz);
  virtual void SetReaderFactory(CRingPtr<CPCMReaderFactory> factory);
  virtual void GetReaderFactory(CRingPtr<CPCMReaderFactory>& out);

  static int32_t ReleaseAll();
  static int32_t RestoreAll();
  // Stops those of the sounds that play as Stop does, with one fade for all of them: many sounds
  // stopping at once take the time of one fade, not one after another.
  static void StopTogether(std::span<CSound* const> sounds);

  const std::string& FileName() const { return m_fileName; }

 private:
  uint32_t PlayFlags() const { return m_loop ? platform::DSBPLAY_LOOPING : 0; }
  int32_t Fail(int32_t code);

  std::unique_ptr<platform::SoundBuffer> m_buffer;
  std::string m_fileName;
  int32_t m_pauseCount = 0;
  uint8_t m_loop = 0;
  uint32_t m_averageBytes = 0;
  int32_t m_length = 0;
  CRingPtr<CPCMReaderFactory> m_factory;
};
