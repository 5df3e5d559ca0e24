// A RIFF WAVE file read whole through the file layer (so it may come from a packed archive), with
// its "fmt " and "data" chunks found by a walker that never leaves the file's bytes.
#pragma once

#include <string>
#include <vector>

#include "sdk/framework/file_buffer.h"
#include "sdk/sound/wave_file.h"

class kmMmioFile : public kmWaveFile {
 public:
  kmMmioFile() = default;
  ~kmMmioFile() override { kmMmioFile::Close(); }

  uint8_t Close() override;
  uint8_t Open(const char* name) override;
  // Never reads beyond the data chunk.
  int32_t Read(void* dst, uint32_t bytes) override;
  int32_t Rewind() override;
  int32_t Seek(int32_t bytes) override;
  int32_t Tell() override;
  const WAVEFORMATEX* GetFormat() override;
  uint32_t GetSize() override { return m_dataSize; }
  uint32_t GetFormatSize() override { return static_cast<uint32_t>(m_format.size()); }

 private:
  void Fail();

  std::string m_name;
  bool m_open = false;
  uint32_t m_dataSize = 0;
  std::vector<uint8_t> m_format;  // at least 18 bytes while open
  uint32_t m_dataPos = 0;         // offset of the data chunk's contents
  uint32_t m_cursor = 0;          // current offset in the file
  CFileBuffer m_file;
};
