#include "sdk/sound/raw_wave_reader.h"

#include "platform/sjis_literal.h"
#include "sdk/sound/sound_log.h"

uint8_t CkmRawWave::Open(const char* name) {
  std::unique_ptr<kmWaveFile> file = CreateWaveFile(name);
  if (!file) return 0;
  const WAVEFORMATEX* format = file->GetFormat();
  if (!format) {
    SoundLog("%s", "CkmRawWave:getWaveFotmat失敗"_sj);
    return 0;
  }
  if (format->wFormatTag != platform::WAVE_FORMAT_PCM) return 0;
  m_file = std::move(file);
  m_format = format;
  return 1;
}

uint32_t CkmRawWave::Read(void* dst, uint32_t bytes) {
  if (!dst || bytes == 0 || !m_file) return 0;
  const int32_t got = m_file->Read(dst, bytes);
  const uint32_t r = got > 0 ? static_cast<uint32_t>(got) : 0;
  if (r == bytes || !m_loop) return r;
  m_file->Rewind();
  const int32_t more = m_file->Read(static_cast<uint8_t*>(dst) + r, bytes - r);
  return r + (more > 0 ? static_cast<uint32_t>(more) : 0);
}

uint64_t CkmRawWave::GetLength() { return BytesToMsAt(GetPCMSize(), AverageBytes()); }

int64_t CkmRawWave::GetPosition() {
  if (!m_file || AverageBytes() == 0) return -1;
  const int32_t at = m_file->Tell();
  if (at < 0) return -1;
  return static_cast<int64_t>(BytesToMsAt(static_cast<uint64_t>(at), AverageBytes()));
}

uint8_t CkmRawWave::SetPosition(uint32_t bytes) {
  if (!m_file) return 0;
  m_file->Rewind();
  m_file->Seek(static_cast<int32_t>(std::min<uint32_t>(bytes, INT32_MAX)));
  return 1;
}

uint8_t CkmRawWave::SetLoop(uint8_t loop) {
  const uint8_t old = m_loop;
  m_loop = loop;
  return old;
}

uint32_t CkmRawWave::SecondsToBytes(uint32_t seconds) {
  if (!m_format) return 0;
  return m_format->nBlockAlign * m_format->nSamplesPerSec * seconds;
}

uint32_t CkmRawWave::MsToBytes(uint32_t ms) { return MsToWholeSecondBytes(ms, AverageBytes()); }

uint64_t CkmRawWave::BytesToMs(uint32_t bytes) { return BytesToMsAt(bytes, AverageBytes()); }
