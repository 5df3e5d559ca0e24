// Numbers stored little-endian in files (archives, images), read from bytes that the caller has
// already checked are there.
#pragma once

#include <cstdint>

inline uint16_t LoadLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t LoadLe32(const unsigned char* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
