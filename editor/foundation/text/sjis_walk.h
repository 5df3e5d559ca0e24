// Walks over Shift-JIS text for the conversions from it. A walk moves one byte per step and carries
// whether a character starts there; each step writes its character's output and moves the output on
// only when one does. No step waits on the one before, and nothing branches on the kind of
// character, which in Japanese text changes from one character to the next.
#pragma once

#include <cstdint>
#include <cstring>

// Eight bytes at p, all below 0x80.
inline bool Ascii8(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return (v & 0x8080808080808080ull) == 0;
}

// a when flag is 1, b when it is 0, without a branch the compiler might make of a ?: on random data.
inline unsigned Select(unsigned flag, unsigned a, unsigned b) {
  const unsigned mask = 0u - flag;
  return (a & mask) | (b & ~mask);
}

// The output of one character: up to three bytes (bits 0-23), their count (bits 24-26), and bit 31
// when the character could not be converted.
inline constexpr uint32_t kPackedUnconverted = 1u << 31;
inline uint32_t PackOutput(const unsigned char* bytes, int count, bool unconverted) {
  uint32_t packed = static_cast<uint32_t>(count) << 24;
  for (int k = 0; k < count; ++k) packed |= static_cast<uint32_t>(bytes[k]) << (8 * k);
  return unconverted ? packed | kPackedUnconverted : packed;
}

// 65,536 flags in 8 KB.
struct CodeFlags {
  uint8_t bytes[0x2000] = {};
  void Set(unsigned code) { bytes[code >> 3] |= static_cast<uint8_t>(1u << (code & 7)); }
  unsigned operator[](unsigned code) const { return (bytes[code >> 3] >> (code & 7)) & 1u; }
};

// Shift-JIS text through a table of packed outputs indexed by the code (a single byte, or lead << 8
// | trail where pairs has the flag). ASCII becomes itself in units of kAsciiWidth bytes (1, or 2 for
// UTF-16LE). Each step writes four bytes: the output needs three bytes of room beyond what it keeps.
template <int kAsciiWidth = 1>
char* WalkSjisPacked(const unsigned char* s, int len, char* w, int& unconverted, const CodeFlags& pairs,
                     const uint32_t* packedOutput) {
  static_assert(kAsciiWidth == 1 || kAsciiWidth == 2);
  unsigned start = 1;
  int i = 0;
  while (i + 1 < len) {
    if (i + 8 <= len && (Ascii8(s + i) & (start != 0))) {
      if constexpr (kAsciiWidth == 1) {
        std::memcpy(w, s + i, 8);
      } else {
        for (int k = 0; k < 8; ++k) {
          w[2 * k] = static_cast<char>(s[i + k]);
          w[2 * k + 1] = 0;
        }
      }
      w += 8 * kAsciiWidth;
      i += 8;
      continue;
    }
    const unsigned pairCode = (s[i] << 8) | s[i + 1];
    // A pair without the flag is read as its first byte alone, then the next byte.
    const unsigned pair = start & pairs[pairCode];
    const uint32_t packed = packedOutput[Select(pair, pairCode, s[i])];
    std::memcpy(w, &packed, 4);
    w += start * ((packed >> 24) & 7);
    unconverted += static_cast<int>(start & (packed >> 31));
    start = pair ^ 1;
    ++i;
  }
  if (i < len && start) {
    const uint32_t packed = packedOutput[s[i]];
    std::memcpy(w, &packed, 4);
    w += (packed >> 24) & 7;
    unconverted += static_cast<int>(packed >> 31);
  }
  return w;
}
