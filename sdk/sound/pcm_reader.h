// A decoder that turns a sound file into linear PCM bytes. Every count and position is in the
// output PCM. A new reader loops (Read goes on from the start at the end of the data) until
// SetLoop(0).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio_format.h"

using platform::WAVEFORMATEX;

class CPCMReader {
 public:
  CPCMReader() = default;
  CPCMReader(const CPCMReader&) = delete;
  CPCMReader& operator=(const CPCMReader&) = delete;
  virtual ~CPCMReader() = default;

  // The way a reader is given back: destroys it.
  virtual void Delete() { delete this; }
  // 1 when the reader can decode the file.
  virtual uint8_t Open(const char* name) = 0;
  // PCM bytes placed at dst.
  virtual uint32_t Read(void* dst, uint32_t bytes) = 0;
  // Milliseconds.
  virtual uint64_t GetLength() = 0;
  // Milliseconds; -1 when it cannot be told.
  virtual int64_t GetPosition() = 0;
  // Position in PCM bytes; 1 on success.
  virtual uint8_t SetPosition(uint32_t bytes) = 0;
  // Returns the previous flag.
  virtual uint8_t SetLoop(uint8_t loop) = 0;
  // The PCM output format, owned by the reader.
  virtual const WAVEFORMATEX* GetFormat() = 0;
  virtual uint32_t GetPCMSize() = 0;
  virtual uint32_t SecondsToBytes(uint32_t seconds) = 0;
  // Whole seconds only: (ms / 1000) x average bytes per second.
  virtual uint32_t MsToBytes(uint32_t ms) = 0;
  virtual uint64_t BytesToMs(uint32_t bytes) = 0;
};

// Gives a reader back through Delete.
struct PcmReaderDeleter {
  void operator()(CPCMReader* reader) const { reader->Delete(); }
};
using PcmReaderPtr = std::unique_ptr<CPCMReader, PcmReaderDeleter>;

// Helpers shared by the readers; an average rate of 0 gives 0.
inline uint64_t BytesToMsAt(uint64_t bytes, uint32_t averageBytes) {
  return averageBytes ? bytes * 1000 / averageBytes : 0;
}
inline uint32_t MsToWholeSecondBytes(uint32_t ms, uint32_t averageBytes) {
  return static_cast<uint32_t>(uint64_t{ms / 1000} * averageBytes);
}
