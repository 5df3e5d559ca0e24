// AVI files read as streams of samples, in the shape of the system's AVI file library.
//
// Contract:
// - Open takes a program path (Shift-JIS, mapped through platform/path), never an archive member
//   and never a URL: only the AVI demuxer runs, over an I/O context on our own open file, so no
//   protocol is ever reached. A file that is not an AVI, or whose headers cannot be read, fails.
// - Streams are found by type ("vids", "auds") and index among the streams of that type. Their
//   rate, scale, start, length and sample size are the stream header's own values (0 included;
//   callers check them). An audio format is the format block rebuilt as a WAVEFORMATEX whose
//   cbSize is the count of extra bytes the block really holds.
// - Read gives whole samples: with a fixed sample size, bytes / sample size of them across
//   chunks; with sample size 0, one chunk per sample. With room for less than one sample it reads
//   nothing and reports the size needed. Reads past the end give 0 samples.
// - TimeToSample is floor(ms * rate / (scale * 1000)) in 64 bits, clamped to
//   [start, start + length]; 0 when rate or scale is 0.
// - Each stream holds its own demuxer state, so two threads may read two streams of one file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace platform {

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}
constexpr uint32_t streamtypeVIDEO = MakeFourCC('v', 'i', 'd', 's');
constexpr uint32_t streamtypeAUDIO = MakeFourCC('a', 'u', 'd', 's');

constexpr HRESULT AVIERR_OK = 0;
constexpr HRESULT AVIERR_BADFORMAT = static_cast<HRESULT>(0x80044066u);
constexpr HRESULT AVIERR_FILEREAD = static_cast<HRESULT>(0x8004406Du);
constexpr HRESULT AVIERR_FILEOPEN = static_cast<HRESULT>(0x80044068u);
constexpr HRESULT AVIERR_NODATA = static_cast<HRESULT>(0x80044071u);
constexpr HRESULT AVIERR_BUFFERTOOSMALL = static_cast<HRESULT>(0x80044074u);

// The stream header as stored.
struct AviStreamHeader {
  uint32_t fccType = 0;
  uint32_t fccHandler = 0;
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwStart = 0;
  uint32_t dwLength = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwSampleSize = 0;
};

class AviStreamImpl;
class AviFileImpl;

class AviStream {
 public:
  ~AviStream();
  AviStream(const AviStream&) = delete;
  AviStream& operator=(const AviStream&) = delete;

  const AviStreamHeader& Info() const;
  int32_t Start() const;
  int32_t Length() const;
  // The stream's format block (a WAVEFORMATEX with its extra bytes for sound).
  std::span<const uint8_t> Format() const;
  int32_t TimeToSample(int32_t ms) const;
  HRESULT Read(int32_t start, int32_t samples, void* buffer, int32_t bytes, int32_t* bytesRead, int32_t* samplesRead);

  AviStreamImpl& Impl() const { return *m_impl; }

 private:
  friend class AviFile;
  explicit AviStream(std::unique_ptr<AviStreamImpl> impl);
  std::unique_ptr<AviStreamImpl> m_impl;
};

class AviFile {
 public:
  ~AviFile();
  AviFile(const AviFile&) = delete;
  AviFile& operator=(const AviFile&) = delete;

  // AVIERR_OK, or AVIERR_FILEOPEN / AVIERR_BADFORMAT with out empty.
  static HRESULT Open(std::string_view programPath, std::unique_ptr<AviFile>& out);
  // AVIERR_OK or AVIERR_NODATA (no such stream).
  HRESULT GetStream(uint32_t type, int index, std::unique_ptr<AviStream>& out);

 private:
  explicit AviFile(std::unique_ptr<AviFileImpl> impl);
  std::unique_ptr<AviFileImpl> m_impl;
};

}  // namespace platform
