#include "sdk/framework/lzss_decoder.h"

#include <algorithm>
#include <cstring>
#include <new>

int CLzssDecoder::Decode(const unsigned char* packed, uint32_t packedSize, unsigned char*& out, uint32_t size,
                         bool allocate) {
  if (size == 0) return 1;
  if (allocate) {
    out = static_cast<unsigned char*>(::operator new(size, std::nothrow));
    if (!out) return 3;
  }
  // The output itself stands in for the ring: the ring slot that a reference names holds the
  // output byte written "distance" bytes ago, or its initial zero when that is before the start.
  const unsigned char* in = packed;
  const unsigned char* const inEnd = packed + packedSize;
  size_t n = 0;
  unsigned flags = 0;
  for (;;) {
    flags >>= 1;
    if ((flags & 0x100) == 0) {
      if (in == inEnd) break;
      flags = *in++ | 0xFF00u;
    }
    if (flags & 1) {
      if (in == inEnd) break;
      out[n++] = *in++;
      if (n == size) return 0;
    } else {
      if (inEnd - in < 2) break;
      const unsigned position = in[0] | ((in[1] & 0xF0u) << 4);
      const size_t length = (in[1] & 0x0Fu) + kThreshold + 1;
      in += 2;
      const size_t next = (kRingStart + n) & (kRingSize - 1);
      size_t distance = (next - position) & (kRingSize - 1);
      if (distance == 0) distance = kRingSize;
      const size_t count = std::min<size_t>(length, size - n);
      if (n >= distance && distance >= count) {
        std::memcpy(out + n, out + n - distance, count);
        n += count;
      } else {
        for (const size_t end = n + count; n < end; ++n) out[n] = n >= distance ? out[n - distance] : 0;
      }
      if (n == size) return 0;
    }
  }
  if (allocate) {
    ::operator delete(out);
    out = nullptr;
  }
  return 2;
}
