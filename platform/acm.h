// A converter from compressed wave formats to PCM, in the shape of the system's audio compression
// manager: suggest a PCM format, open a stream, ask sizes both ways, convert block by block.
//
// Contract:
// - Source formats: PCM (tag 1, passed through), MS ADPCM (2), IMA ADPCM (0x11), A-law (6),
//   mu-law (7) and MPEG audio (0x55, whichever layer the frames carry). Others are refused with
//   ACMERR_NOTPOSSIBLE. A format block is given with its real size; extra bytes that its cbSize
//   claims are read only where the block holds them.
// - Sizes: ADPCM counts whole blocks and refuses less than one; A-law and mu-law double and halve;
//   MPEG goes by the two average byte rates and refuses less than one frame; a caller that has the
//   data fits the block to its frames first (AcmFitMpegFormat), so that the rate is the frames'.
// - Convert is stateful. ADPCM, A-law, mu-law and PCM convert whole blocks that fit the output and
//   report the bytes used. MPEG takes all its input, finds frames by their sync itself (input may
//   start inside a frame), keeps decoded output that did not fit for the next call, and always
//   delivers the suggested rate and channels. Empty input converts to nothing, successfully.
// - Results are the documented multimedia codes: 0 success.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/audio_format.h"

namespace platform {

constexpr int32_t MMSYSERR_NOERROR = 0;
constexpr int32_t MMSYSERR_ERROR = 1;
constexpr int32_t MMSYSERR_INVALHANDLE = 5;
constexpr int32_t MMSYSERR_NOMEM = 7;
constexpr int32_t MMSYSERR_INVALPARAM = 11;
constexpr int32_t ACMERR_NOTPOSSIBLE = 512;

constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0;
constexpr uint32_t ACM_STREAMSIZEF_DESTINATION = 1;

// Fills pcm with the PCM format the source decodes to (same rate and channels; 16 bits, or the
// source's own bits for PCM).
int32_t AcmFormatSuggest(std::span<const uint8_t> source, WAVEFORMATEX& pcm);

class AcmStream {
 public:
  AcmStream();
  ~AcmStream();
  AcmStream(const AcmStream&) = delete;
  AcmStream& operator=(const AcmStream&) = delete;

  // pcm must be the suggested format for source.
  int32_t Open(std::span<const uint8_t> source, const WAVEFORMATEX& pcm);
  bool IsOpen() const;
  void Close();
  // ACM_STREAMSIZEF_SOURCE: the output that bytes of input give; ACM_STREAMSIZEF_DESTINATION: the
  // input that fills bytes of output.
  int32_t Size(uint32_t bytes, uint32_t& out, uint32_t flags) const;
  int32_t Convert(std::span<const uint8_t> src, std::span<uint8_t> dst, uint32_t& used, uint32_t& produced);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// The facts of one MPEG audio frame header, read from its four bytes.
struct MpegHeader {
  int version = 0;          // 1, 2, or 25 for 2.5
  int layer = 0;            // 1..3
  uint32_t bitrate = 0;     // kbit/s
  uint32_t sampleRate = 0;  // Hz
  uint32_t channels = 0;
  uint32_t frameBytes = 0;
  uint32_t samples = 0;  // per frame
};
// The bit rate in kbit/s of a header's bit-rate index (0 for free format and index 15), from the
// MPEG-1 table or the MPEG-2 one (which MPEG-2.5 shares); layer 1..3.
uint32_t MpegBitrateKbps(bool mpeg1, int layer, unsigned index);
// False for anything but a usable header (free format, reserved indices and layers refused).
bool ParseMpegHeader(const uint8_t* b, MpegHeader& h);

// The whole MPEG audio frames in some bytes, found by their sync the way the converter finds them
// (so it decodes exactly these).
struct MpegFrames {
  uint32_t count = 0;
  uint64_t samples = 0;     // per channel, of all of them
  uint64_t bytes = 0;       // from the start to the end of the last, what lies between included
  uint32_t sampleRate = 0;  // every frame's; 0 when they differ
  int version = 0, layer = 0;  // of the first
  // The rate at which the bytes play, rounded up: what sizes go by. 0 without frames.
  uint32_t ByteRate() const;
};
MpegFrames ScanMpegFrames(std::span<const uint8_t> data);

// Makes an MPEG format block agree with the frames of its data, since every size is computed from
// its byte rate: the block's byte rate becomes the frames' own. Refused (ACMERR_NOTPOSSIBLE)
// without a whole frame, when the frames' sample rates differ from the block's, or when the block
// states a byte rate (0 states none) that no bit rate of the frames' kind gives.
int32_t AcmFitMpegFormat(std::span<uint8_t> block, const MpegFrames& frames);

}  // namespace platform
