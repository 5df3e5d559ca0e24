// The sound part of a movie: reads the film's sound stream, converts it to PCM and streams it
// into a four-second buffer of the shared device. A worker thread refills what the play cursor
// has passed while the part plays; every start resumes at the movie's position.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/acm.h"
#include "platform/audio_mixer.h"
#include "platform/avi_file.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/framework/thread.h"
#include "sdk/framework/timer.h"

class CMovieAVI;

class CMovieAVIAUDIO : public CThread {
 public:
  explicit CMovieAVIAUDIO(CMovieAVI* owner);
  ~CMovieAVIAUDIO() override;

  void ThreadBody() override;

  // 0, or -1 without a sound stream.
  int OpenAudioStrema(platform::AviFile* file);
  // Sets up the conversion and the buffer; -1 (or 0 when the conversion cannot open) without one.
  int InitAudio();
  virtual int Close();
  virtual int Play();
  virtual int Replay();
  virtual int Stop();
  virtual int Pause() { return Stop(); }
  virtual uint8_t IsPlay() { return m_playing; }
  virtual int SetLoop(uint8_t loop);
  virtual int SetCurrentPos(int ms);
  int SetVolume(int32_t attenuation);
  int32_t GetVolume();

  uint8_t Restart(int32_t ms);
  int UpdateStream();
  int WriteSoundBuffer(uint32_t bytes);
  uint32_t ReadSoundStream(uint8_t* dst, uint32_t bytes);

  void SetClock(const CRingPtr<CTimer>& clock) { m_clock = clock; }
  bool HasBuffer() const { return m_buffer != nullptr; }
  uint32_t BufferSize() const { return m_bufferSize; }
  const platform::WAVEFORMATEX& OutputFormat() const { return m_output; }
  platform::SoundBuffer* Buffer() const { return m_buffer.get(); }
  // The play cursor the last refill saw.
  uint32_t LastPlayCursor() const { return m_lastPlay.load(); }
  // Where the next write starts and the bytes owed to it.
  uint32_t WritePosition() const { return m_writePosition; }
  uint32_t Carry() const { return m_carry; }

  // How long the worker waits when the play cursor has not moved; tests shorten it.
  static void SetIdleWaitMs(int ms);

 private:
  // Reads the first MPEG frames of the stream and fits the source format to them; false when the
  // two disagree. Sizes then go by the frames' byte rate, which a film's format may state as 0.
  bool FitToFirstFrames();
  void StopNow();
  void RestartNow();
  uint32_t TakeRemainder(uint8_t*& dst, uint32_t& bytes);
  // Reads whole samples after the kept source bytes, at least want bytes' worth when there
  // are; the source block grows to hold a sample larger than that.
  uint32_t ReadAviAudio(uint32_t want);
  // Converts the source block into dst; keeps what the converter did not use.
  uint32_t ConverSoundStream(uint8_t* dst, uint32_t dstBytes);
  void ResetReading();

  CRingPtr<CTimer> m_clock;
  CMovieAVI* m_owner;
  std::unique_ptr<platform::AviStream> m_stream;
  std::unique_ptr<platform::SoundBuffer> m_buffer;
  std::vector<uint8_t> m_sourceFormat;
  platform::WAVEFORMATEX m_output{};
  std::unique_ptr<platform::AcmStream> m_conversion;
  uint32_t m_remainder = 0, m_remainderOffset = 0;
  uint32_t m_minimumBlock = 0;
  uint32_t m_bufferSize = 0;
  std::atomic<uint32_t> m_lastPlay{0};
  uint32_t m_writePosition = 0;
  uint32_t m_carry = 0;
  int32_t m_nextSample = 0;
  std::vector<uint8_t> m_decoded;
  std::vector<uint8_t> m_source;
  uint32_t m_sourceBytes = 0;  // bytes of m_source waiting for the converter
  uint8_t m_loop = 0;
  int32_t m_pauseCount = 0;
  uint8_t m_playing = 0;
};
