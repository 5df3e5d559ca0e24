#include "sdk/sound/mp3_file.h"

#include <algorithm>
#include <cerrno>
#include <span>

#include "platform/acm.h"
#include "platform/sjis_literal.h"
#include "sdk/sound/sound_log.h"

kmMp3File::kmMp3File() = default;

bool kmMp3File::ReadAt(uint64_t offset, unsigned char* out, size_t n) {
  return m_file.ReadAt(offset, std::span<unsigned char>(out, n));
}

uint8_t kmMp3File::FailOpen() {
  m_file.Close();
  return 0;
}

uint8_t kmMp3File::Open(const char* name) {
  Close();
  m_hasId3v1 = false;
  if (!name || !m_file.Open(name)) return 0;
  platform::FileStamp stamp;
  if (!m_file.Stamp(stamp)) return FailOpen();
  const uint64_t fileSize = stamp.size;
  if (fileSize <= 128 || fileSize > UINT32_MAX) return FailOpen();
  uint64_t remaining = fileSize;
  uint64_t dataStart = 0;
  unsigned char b[10];
  if (!ReadAt(0, b, 10)) {
    SoundLog("%s", "kmMp3Fileでファイル読み込みに失敗"_sj);
    return FailOpen();
  }
  if (b[0] == 'I') {
    if (b[1] != 'D' || b[2] != '3') return FailOpen();
    const uint64_t tagSize = ((uint64_t{b[6]} * 128 + b[7]) * 128 + b[8]) * 128 + b[9];
    const uint64_t skip = tagSize + (b[3] >= 4 && (b[5] & 0x10) ? 20 : 10);
    if (fileSize <= skip + 128) return FailOpen();
    if (!ReadAt(skip, b, 4)) {
      SoundLog("%s", "kmMp3Fileでファイル読み込みに失敗"_sj);
      return FailOpen();
    }
    remaining -= skip;
    dataStart += skip;
  }
  if (b[0] != 0xFF || (b[1] & 0xF8) == 0) return FailOpen();
  const int layer = 4 - ((b[1] >> 1) & 3);
  if (layer == 4) {
    SoundLog("%s", "kmMp3File::Open MP3が無効なレイヤ"_sj);
    return FailOpen();
  }
  const bool low = (b[1] & 0x08) == 0;
  const unsigned bitrateIndex = b[2] >> 4;
  const unsigned rateIndex = (b[2] >> 2) & 3;
  // Free format, index 15 and the reserved rate would give a rate of 0 that sizes divide by.
  if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return FailOpen();
  static constexpr uint32_t kRates[8] = {44100, 48000, 32000, 0, 22050, 24000, 16000, 0};
  const uint32_t bitrate = platform::MpegBitrateKbps(!low, layer, bitrateIndex);
  const uint32_t rate = kRates[(low ? 4 : 0) + rateIndex];
  m_format = MPEGLAYER3WAVEFORMAT{};
  m_format.wfx.wFormatTag = platform::WAVE_FORMAT_MPEGLAYER3;
  m_format.wfx.nChannels = (b[3] >> 6) == 3 ? 1 : 2;
  m_format.wfx.nSamplesPerSec = rate;
  m_format.wfx.nAvgBytesPerSec = bitrate * 1000 / 8;
  m_format.wfx.nBlockAlign = 1;
  m_format.wfx.wBitsPerSample = 0;
  m_format.wfx.cbSize = 12;
  m_format.wID = platform::MPEGLAYER3_ID_MPEG;
  m_format.fdwFlags = platform::MPEGLAYER3_FLAG_PADDING_OFF;
  m_format.nBlockSize = static_cast<uint16_t>(bitrate * 144000 / rate);
  m_format.nFramesPerBlock = 1;
  m_format.nCodecDelay = 1393;
  unsigned char tag[3];
  if (!ReadAt(fileSize - 128, tag, 3)) return FailOpen();
  if (tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G') {
    m_hasId3v1 = true;
    remaining -= 128;
  }
  m_dataStart = static_cast<uint32_t>(dataStart);
  m_dataSize = static_cast<uint32_t>(remaining);
  m_remaining = m_dataSize;
  m_opened = true;
  return 1;
}

uint8_t kmMp3File::Close() {
  if (!m_opened) return 0;
  m_file.Close();
  m_opened = false;
  return 1;
}

int32_t kmMp3File::Read(void* dst, uint32_t bytes) {
  if (!m_opened || !dst) return 0;
  const uint32_t n = std::min({bytes, m_remaining, static_cast<uint32_t>(INT32_MAX)});
  if (n == 0) return 0;
  if (!ReadAt(Offset(), static_cast<unsigned char*>(dst), n)) {
    SoundLog("kmMp3File::readでファイル読み込みに失敗.%x"_sj, static_cast<unsigned>(errno));
    return 0;
  }
  m_remaining -= n;
  return static_cast<int32_t>(n);
}

int32_t kmMp3File::Rewind() {
  if (!m_opened) return -1;
  m_remaining = m_dataSize;
  return 0;
}

int32_t kmMp3File::Seek(int32_t bytes) {
  if (bytes == 0) return 0;
  if (!m_opened) return -1;
  const int64_t remaining = std::clamp<int64_t>(int64_t{m_remaining} - bytes, 0, m_dataSize);
  m_remaining = static_cast<uint32_t>(remaining);
  return static_cast<int32_t>(Offset());
}

int32_t kmMp3File::Tell() { return static_cast<int32_t>(Offset() - m_dataStart); }
