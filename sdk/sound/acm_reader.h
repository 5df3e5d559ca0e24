// The reader of compressed wave files and MPEG audio files: the converter turns their data into
// PCM, one source block or more at a time. Decoded bytes that a read did not take are handed out
// first by the next one. MPEG data is sized by its frames, read once at the open: their byte rate
// replaces the format's, whose sizes would otherwise come from whatever rate the file states, and
// a format that disagrees with its frames is refused.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/acm.h"
#include "sdk/sound/pcm_reader.h"
#include "sdk/sound/wave_file.h"

class kmACMtoPCM : public CPCMReader {
 public:
  ~kmACMtoPCM() override;

  uint8_t Open(const char* name) override;
  uint32_t Read(void* dst, uint32_t bytes) override;
  uint64_t GetLength() override;
  int64_t GetPosition() override;
  uint8_t SetPosition(uint32_t bytes) override;
  uint8_t SetLoop(uint8_t loop) override;
  const WAVEFORMATEX* GetFormat() override { return &m_output; }
  uint32_t GetPCMSize() override;
  uint32_t SecondsToBytes(uint32_t seconds) override;
  uint32_t MsToBytes(uint32_t ms) override;
  uint64_t BytesToMs(uint32_t bytes) override;

  // Decoded bytes one source block gives; 0 when the converter cannot tell.
  uint32_t MinimumBlock() const { return m_minimumBlock; }

 private:
  // Reads the whole data to find its MPEG frames and fits the format block to them; false when
  // the two disagree.
  bool FitToFrames(kmWaveFile& file, platform::MpegFrames& frames);
  uint32_t Convert(std::span<const uint8_t> src, uint8_t* dst, uint32_t dstBytes);
  uint32_t ReadOnce(uint8_t* dst, uint32_t bytes, bool& wrapped);
  // Makes room for bytes of input, lowered first to what the data can give.
  bool GrowSource(uint32_t& bytes);
  uint8_t Silence() const { return m_output.wBitsPerSample == 8 ? 0x80 : 0; }

  std::vector<uint8_t> m_sourceBlock;  // the file's format block, fitted to its frames for MPEG
  const WAVEFORMATEX* m_source = nullptr;
  std::optional<uint32_t> m_mpegPcmSize;
  WAVEFORMATEX m_output{};
  platform::AcmStream m_stream;
  std::vector<uint8_t> m_decoded;  // one minimum block once used
  uint32_t m_remainder = 0;
  uint32_t m_remainderOffset = 0;
  uint32_t m_minimumBlock = 0;
  std::vector<uint8_t> m_sourceBuffer;
  std::unique_ptr<kmWaveFile> m_file;
  uint8_t m_loop = 1;
};
