// LZSS with a 4096-byte ring (zeroed, first write at 4078), matches of 3 to 18 bytes. Shared by
// packed archive entries and the packed picture format.
#pragma once

#include <cstdint>

// Decoding gives the same bytes as a 4096-byte ring that starts zeroed and is written from 4078
// on; the output itself serves as that ring.
class CLzssDecoder {
 public:
  // Decodes the packedSize bytes at packed until size bytes are written to out. With allocate, out
  // is first set to a new block of size bytes from operator new, which the caller frees (on a
  // failure the block is freed here and out is null).
  // Returns 0 when done, 1 when size is 0 (nothing done), 2 when the packed data ends before size
  // bytes are made, 3 when the block cannot be allocated.
  int Decode(const unsigned char* packed, uint32_t packedSize, unsigned char*& out, uint32_t size, bool allocate);

  // At best 17 packed bytes (one flag byte, eight 2-byte references) make 144 bytes, so packed
  // data never unpacks to more than 9 times its size: a size beyond that is damage, not data.
  static constexpr uint64_t kMaxRatio = 9;
  static constexpr bool CanUnpackTo(uint64_t packedSize, uint64_t size) { return size <= kMaxRatio * packedSize; }

  static constexpr uint32_t kRingSize = 4096;
  static constexpr uint32_t kRingStart = 4078;
  static constexpr uint32_t kMaxMatch = 18;
  static constexpr uint32_t kThreshold = 2;
};
