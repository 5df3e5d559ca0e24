#include "sdk/sound/ogg_reader.h"

#include <algorithm>

COggReader::~COggReader() { Close(); }

void COggReader::Close() {
  if (m_open) ov_clear(&m_vorbis);  // closes (frees) the memory file too
  m_open = false;
  m_memory.Clear();
}

bool COggReader::Open(const char* name) {
  if (m_open) return false;
  COggMemoryFile loaded;
  if (!name || !loaded.Load(name)) return false;
  m_memory = std::move(loaded);
  return OpenDecoder();
}

bool COggReader::OpenDecoder() {
  if (ov_open_callbacks(&m_memory, &m_vorbis, nullptr, 0, OggMemCallbacks()) < 0) {
    m_memory.Clear();
    return false;
  }
  m_open = true;
  const vorbis_info* info = ov_seekable(&m_vorbis) ? ov_info(&m_vorbis, -1) : nullptr;
  const ogg_int64_t total = info ? ov_pcm_total(&m_vorbis, -1) : -1;
  // A stream without a length (or one beyond 32 bits) could never be played to its end.
  if (!info || info->channels < 1 || info->rate <= 0 || total < 0 || total > UINT32_MAX) {
    Close();
    return false;
  }
  m_format.wFormatTag = 1;
  m_format.nChannels = static_cast<uint16_t>(info->channels);
  m_format.nSamplesPerSec = static_cast<uint32_t>(info->rate);
  m_format.wBitsPerSample = 16;
  m_format.nBlockAlign = static_cast<uint16_t>(m_format.nChannels * 2);
  m_format.nAvgBytesPerSec = m_format.nSamplesPerSec * m_format.nBlockAlign;
  m_length = static_cast<uint32_t>(total);
  m_eof = 0;
  return true;
}

uint8_t COggReader::Read(void* dst, uint32_t bytes, uint32_t* produced) {
  if (!m_open) return 0;
  char* out = static_cast<char*>(dst);
  uint32_t left = bytes;
  while (left > 0) {
    int section = 0;
    const long got = ov_read(&m_vorbis, out, static_cast<int>(std::min<uint32_t>(left, INT32_MAX)), 0, 2, 1, &section);
    if (got < 1) {
      m_eof = 1;
      break;
    }
    out += got;
    left -= static_cast<uint32_t>(got);
  }
  if (produced) *produced = bytes - left;
  return 1;
}

uint8_t COggReader::Seek(uint32_t frame) {
  if (!m_open || ov_pcm_seek(&m_vorbis, frame) != 0) return 0;
  m_eof = 0;
  return 1;
}

uint32_t COggReader::Tell() { return m_open ? static_cast<uint32_t>(ov_pcm_tell(&m_vorbis)) : 0; }
