// The audio data of a sound file and its (possibly compressed) format: RIFF WAVE files and MPEG
// audio streams. Positions are bytes from the start of the audio data.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio_format.h"

using platform::WAVEFORMATEX;

class kmWaveFile {
 public:
  kmWaveFile() = default;
  kmWaveFile(const kmWaveFile&) = delete;
  kmWaveFile& operator=(const kmWaveFile&) = delete;

  // 1 when something was open.
  virtual uint8_t Close() = 0;
  // 1 on success.
  virtual uint8_t Open(const char* name) = 0;
  virtual ~kmWaveFile() = default;
  virtual int32_t Read(void* dst, uint32_t bytes) = 0;
  virtual int32_t Rewind() = 0;
  // Moves by a signed number of bytes from the current position.
  virtual int32_t Seek(int32_t bytes) = 0;
  virtual int32_t Tell() = 0;
  virtual const WAVEFORMATEX* GetFormat() = 0;
  virtual uint32_t GetSize() = 0;
  // The bytes the format block really holds; its cbSize may claim more.
  virtual uint32_t GetFormatSize() = 0;
};

// A RIFF WAVE file, else an MPEG audio file, opened; null when neither opens it.
std::unique_ptr<kmWaveFile> CreateWaveFile(const char* name);
