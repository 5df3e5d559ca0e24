// The wave-format records that sound files, the converter and the mixer exchange. Their layouts
// are those stored in wave files ("fmt " chunks), so they are packed and their sizes fixed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_ADPCM = 2;
constexpr uint16_t WAVE_FORMAT_ALAW = 6;
constexpr uint16_t WAVE_FORMAT_MULAW = 7;
constexpr uint16_t WAVE_FORMAT_IMA_ADPCM = 0x11;
constexpr uint16_t WAVE_FORMAT_MPEGLAYER3 = 0x55;

constexpr uint16_t MPEGLAYER3_ID_MPEG = 1;
constexpr uint32_t MPEGLAYER3_FLAG_PADDING_OFF = 2;

#pragma pack(push, 1)
struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;  // extra bytes that follow; only trusted within the block's real size
};

struct MPEGLAYER3WAVEFORMAT {
  WAVEFORMATEX wfx;
  uint16_t wID;
  uint32_t fdwFlags;
  uint16_t nBlockSize;
  uint16_t nFramesPerBlock;
  uint16_t nCodecDelay;
};
#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(offsetof(WAVEFORMATEX, nAvgBytesPerSec) == 8);
static_assert(offsetof(WAVEFORMATEX, cbSize) == 16);
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30);
static_assert(offsetof(MPEGLAYER3WAVEFORMAT, nBlockSize) == 24);

// The 16 bytes of a plain PCM format without cbSize.
constexpr size_t kPcmFormatBytes = 16;

}  // namespace platform
