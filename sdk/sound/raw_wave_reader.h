// The reader of PCM wave files (format tag 1): the data as it is stored.
#pragma once

#include <memory>

#include "sdk/sound/pcm_reader.h"
#include "sdk/sound/wave_file.h"

class CkmRawWave : public CPCMReader {
 public:
  uint8_t Open(const char* name) override;
  // With the loop flag set, a read that meets the end goes on from the start (once per call).
  uint32_t Read(void* dst, uint32_t bytes) override;
  uint64_t GetLength() override;
  int64_t GetPosition() override;
  uint8_t SetPosition(uint32_t bytes) override;
  uint8_t SetLoop(uint8_t loop) override;
  const WAVEFORMATEX* GetFormat() override { return m_format; }
  uint32_t GetPCMSize() override { return m_file ? m_file->GetSize() : 0; }
  uint32_t SecondsToBytes(uint32_t seconds) override;
  uint32_t MsToBytes(uint32_t ms) override;
  uint64_t BytesToMs(uint32_t bytes) override;

 private:
  uint32_t AverageBytes() const { return m_format ? m_format->nAvgBytesPerSec : 0; }

  const WAVEFORMATEX* m_format = nullptr;
  std::unique_ptr<kmWaveFile> m_file;
  uint8_t m_loop = 1;
};
