// The standard G.711 expansions of A-law and mu-law bytes, computed independently of the decoders
// under test.
#pragma once

#include <cstdint>

inline int ALawToLinear(uint8_t a) {
  a ^= 0x55;
  int t = (a & 0x0F) << 4;
  const int seg = (a & 0x70) >> 4;
  if (seg == 0) {
    t += 8;
  } else {
    t += 0x108;
    t <<= seg - 1;
  }
  return (a & 0x80) ? t : -t;
}

inline int MuLawToLinear(uint8_t u) {
  u = static_cast<uint8_t>(~u);
  const int t = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
  return (u & 0x80) ? 0x84 - t : t - 0x84;
}
