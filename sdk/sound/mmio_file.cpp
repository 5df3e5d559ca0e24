#include "sdk/sound/mmio_file.h"

#include <algorithm>
#include <cstring>

#include "platform/sjis_literal.h"
#include "sdk/framework/little_endian.h"
#include "sdk/sound/sound_log.h"

namespace {

struct Chunk {
  uint64_t start = 0;  // offset of the contents
  uint32_t size = 0;   // as stored
};

bool IsTag(const unsigned char* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The offset just past a chunk's contents and its pad byte; 64-bit, so that a size near 4 GiB
// cannot wrap it back to an earlier chunk.
uint64_t After(const Chunk& c) { return c.start + c.size + (c.size & 1); }

// Looks for a chunk with the tag among the chunks in [from, end); chunks are padded to even sizes.
// A chunk whose stored size runs past end stops the search there; the caller decides whether the
// part present will do (found, with its size as stored).
bool FindChunk(const unsigned char* data, uint64_t from, uint64_t end, const char* tag, Chunk& out) {
  uint64_t at = from;
  while (at + 8 <= end) {
    const Chunk chunk{at + 8, LoadLe32(data + at + 4)};
    if (IsTag(data + at, tag)) {
      out = chunk;
      return true;
    }
    at = After(chunk);  // always past the chunk's own header
  }
  return false;
}

}  // namespace

void kmMmioFile::Fail() {
  m_open = false;
  m_format.clear();
  m_file.Close();
}

uint8_t kmMmioFile::Open(const char* name) {
  Close();
  m_name = name ? name : "";
  if (m_file.Read(m_name) != kReadOk) {
    SoundLog("%s", ("kmMmioFile::open " + m_name + "のファイル読み込み時のエラー"_sj).c_str());
    return 0;
  }
  const unsigned char* data = m_file.GetData();
  const uint32_t size = m_file.GetSize();
  if (!data) {
    SoundLog("%s", "kmMmioFile::open : mmioOpenの失敗"_sj);
    Fail();
    return 0;
  }
  // The RIFF chunk of form "WAVE". Its stored size is often wrong in files written by streaming
  // tools, so its contents are taken up to the end of the file. Each RIFF chunk that is not one is
  // stepped over; every step moves forward, so the walk ends at the end of the file.
  uint64_t at = 0;
  uint64_t riffEnd = 0, formStart = 0;
  for (;;) {
    Chunk riff;
    if (!FindChunk(data, at, size, "RIFF", riff)) {
      Fail();
      return 0;
    }
    if (riff.size >= 4 && riff.start + 4 <= size && IsTag(data + riff.start, "WAVE")) {
      formStart = riff.start + 4;
      riffEnd = std::min<uint64_t>(riff.start + riff.size, size);
      break;
    }
    at = After(riff);
  }
  Chunk fmt;
  if (!FindChunk(data, formStart, riffEnd, "fmt ", fmt) || fmt.start + fmt.size > riffEnd) {
    SoundLog("%s", "CSound::LoadWaveFile : fmtチャンクが指定できない"_sj);
    Fail();
    return 0;
  }
  m_format.assign(std::max<uint32_t>(fmt.size, sizeof(WAVEFORMATEX)), 0);
  std::memcpy(m_format.data(), data + fmt.start, fmt.size);
  if (LoadLe16(m_format.data() + 16) == 0) {
    m_format[16] = sizeof(WAVEFORMATEX);
    m_format[17] = 0;
  }
  Chunk dataChunk;
  if (!FindChunk(data, std::min(After(fmt), riffEnd), riffEnd, "data", dataChunk)) {
    SoundLog("%s", "CSound::LoadWaveFile : データチャンクに行けない"_sj);
    Fail();
    return 0;
  }
  // Within the file, whose size is 32-bit.
  m_dataPos = static_cast<uint32_t>(std::min(dataChunk.start, riffEnd));
  // A data chunk cut short by the end of the file holds the bytes present.
  m_dataSize = static_cast<uint32_t>(std::min<uint64_t>(dataChunk.size, riffEnd - m_dataPos));
  m_cursor = m_dataPos;
  m_open = true;
  return 1;
}

uint8_t kmMmioFile::Close() {
  if (!m_open) return 0;
  Fail();
  return 1;
}

int32_t kmMmioFile::Read(void* dst, uint32_t bytes) {
  if (!m_open || !dst) return 0;
  const uint32_t end = m_dataPos + m_dataSize;
  if (m_cursor < m_dataPos || m_cursor >= end) return 0;
  const uint32_t n = std::min({bytes, end - m_cursor, static_cast<uint32_t>(INT32_MAX)});
  std::memcpy(dst, m_file.GetData() + m_cursor, n);
  m_cursor += n;
  return static_cast<int32_t>(n);
}

int32_t kmMmioFile::Rewind() {
  if (!m_open) return -1;
  m_cursor = m_dataPos;
  return static_cast<int32_t>(m_cursor);
}

int32_t kmMmioFile::Seek(int32_t bytes) {
  if (!m_open) return -1;
  const int64_t to = int64_t{m_cursor} + bytes;
  if (to < 0 || to > int64_t{m_file.GetSize()}) return -1;
  m_cursor = static_cast<uint32_t>(to);
  return static_cast<int32_t>(m_cursor);
}

int32_t kmMmioFile::Tell() {
  if (!m_open) return -1;
  return static_cast<int32_t>(int64_t{m_cursor} - m_dataPos);
}

const WAVEFORMATEX* kmMmioFile::GetFormat() {
  return m_open ? reinterpret_cast<const WAVEFORMATEX*>(m_format.data()) : nullptr;
}
