// A source of PCM sample frames that a streaming buffer pulls from.
#pragma once

#include <cstdint>

// The format record of a stream: the first 16 bytes of a wave format.
#pragma pack(push, 1)
struct StreamFormat {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
};
#pragma pack(pop)
static_assert(sizeof(StreamFormat) == 16);

class CPcmStreamSource {
 public:
  CPcmStreamSource() = default;
  CPcmStreamSource(const CPcmStreamSource&) = delete;
  CPcmStreamSource& operator=(const CPcmStreamSource&) = delete;
  virtual ~CPcmStreamSource() = default;

  virtual void Close() = 0;
  virtual uint8_t IsOpen() = 0;
  // 0 when not open (produced untouched); else 1, produced (when not null) getting the bytes made.
  virtual uint8_t Read(void* dst, uint32_t bytes, uint32_t* produced) = 0;
  // Sample frame; 1 on success, clearing the end flag.
  virtual uint8_t Seek(uint32_t frame) = 0;
  virtual uint32_t Tell() = 0;
  virtual uint8_t IsEOF() = 0;
  virtual void GetFormat(StreamFormat* format) = 0;
  // In sample frames.
  virtual uint32_t GetLength() = 0;
  virtual uint32_t GetLoopStart() = 0;
  virtual uint32_t GetLoopEnd() = 0;
  // Negative: for ever; 0: once; n: n more times.
  virtual int32_t GetLoopCount() = 0;
  virtual uint8_t IsLongStream() = 0;
};
