#include "sdk/framework/lzss_decoder.h"

#include <cstring>
#include <new>

int CLzssDecoder::Decode(const unsigned char* packed, uint32_t packedSize, unsigned char*& out, uint32_t size,
                         bool allocate) {
  if (size == 0) return 1;
  if (allocate) {
    out = static_cast<unsigned char*>(::operator new(size, std::nothrow));
    if (!out) return 3;
  }
  std::memset(m_ring, 0, sizeof(m_ring));
  const unsigned char* in = packed;
  const unsigned char* const inEnd = packed + packedSize;
  unsigned char* dst = out;
  unsigned char* const dstEnd = out + size;
  uint32_t r = kRingStart;
  unsigned flags = 0;
  for (;;) {
    flags >>= 1;
    if ((flags & 0x100) == 0) {
      if (in == inEnd) break;
      flags = *in++ | 0xFF00u;
    }
    if (flags & 1) {
      if (in == inEnd) break;
      const unsigned char c = *in++;
      *dst++ = c;
      if (dst == dstEnd) return 0;
      m_ring[r] = c;
      r = (r + 1) & (kRingSize - 1);
    } else {
      if (inEnd - in < 2) break;
      const unsigned lo = in[0];
      const unsigned hi = in[1];
      in += 2;
      const unsigned position = lo | ((hi & 0xF0) << 4);
      const unsigned length = (hi & 0x0F) + kThreshold + 1;
      for (unsigned k = 0; k < length; ++k) {
        const unsigned char c = m_ring[(position + k) & (kRingSize - 1)];
        *dst++ = c;
        if (dst == dstEnd) return 0;
        m_ring[r] = c;
        r = (r + 1) & (kRingSize - 1);
      }
    }
  }
  if (allocate) {
    ::operator delete(out);
    out = nullptr;
  }
  return 2;
}
