// An MPEG audio file read straight from disk (never from a packed archive), presented as a wave
// file with an MPEG layer-3 format taken from its first frame header. ID3v2 tags at the start and an
// ID3v1 tag at the end are left out of the audio data, which starts with the first frame's header
// (the decoder finds frames by it: without it the first frame would be lost).
#pragma once

#include "platform/file.h"
#include "sdk/sound/wave_file.h"

using platform::MPEGLAYER3WAVEFORMAT;

class kmMp3File : public kmWaveFile {
 public:
  kmMp3File();
  ~kmMp3File() override { kmMp3File::Close(); }

  uint8_t Close() override;
  uint8_t Open(const char* name) override;
  int32_t Read(void* dst, uint32_t bytes) override;
  int32_t Rewind() override;
  int32_t Seek(int32_t bytes) override;
  int32_t Tell() override;
  const WAVEFORMATEX* GetFormat() override { return &m_format.wfx; }
  uint32_t GetSize() override { return m_dataSize; }
  uint32_t GetFormatSize() override { return sizeof m_format; }

  bool HasId3v1() const { return m_hasId3v1; }
  uint32_t DataStart() const { return m_dataStart; }

 private:
  bool ReadAt(uint64_t offset, unsigned char* out, size_t n);
  uint8_t FailOpen();
  uint64_t Offset() const { return uint64_t{m_dataStart} + (m_dataSize - m_remaining); }

  bool m_opened = false;
  bool m_hasId3v1 = false;
  platform::ReadOnlyFile m_file;
  MPEGLAYER3WAVEFORMAT m_format{};
  uint32_t m_remaining = 0;  // data bytes after the position; always within 0..data size
  uint32_t m_dataSize = 0;
  uint32_t m_dataStart = 0;
};
