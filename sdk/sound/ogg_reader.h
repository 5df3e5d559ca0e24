// An Ogg Vorbis file held whole in memory, decoded a block at a time into 16-bit PCM.
#pragma once

#include <string>
#include <vorbis/vorbisfile.h>

#include "sdk/sound/ogg_memory_file.h"
#include "sdk/sound/pcm_stream_source.h"

class COggReader : public CPcmStreamSource {
 public:
  COggReader() = default;
  ~COggReader() override;

  void Close() override;
  uint8_t IsOpen() override { return m_open ? 1 : 0; }
  // A decode error ends the stream like its end does.
  uint8_t Read(void* dst, uint32_t bytes, uint32_t* produced) override;
  uint8_t Seek(uint32_t frame) override;
  uint32_t Tell() override;
  uint8_t IsEOF() override { return m_eof; }
  void GetFormat(StreamFormat* format) override { *format = m_format; }
  uint32_t GetLength() override { return m_length; }
  uint32_t GetLoopStart() override { return 0; }
  uint32_t GetLoopEnd() override { return m_length; }
  int32_t GetLoopCount() override { return m_loopCount; }
  // Longer than three seconds at 44,100 Hz.
  uint8_t IsLongStream() override { return m_length > 132300 ? 1 : 0; }
  virtual void SetLoopCount(int32_t count) { m_loopCount = count; }

  // False when already open, or the file cannot be read, is no Ogg Vorbis stream or cannot seek.
  bool Open(const char* name);

 private:
  bool OpenDecoder();

  COggMemoryFile m_memory;
  OggVorbis_File m_vorbis{};  // stays at this address while open
  bool m_open = false;
  StreamFormat m_format{};
  uint32_t m_length = 0;
  int32_t m_loopCount = 0;
  uint8_t m_eof = 0;
};
