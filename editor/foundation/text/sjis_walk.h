// Walks over text of one- and two-byte characters (Shift-JIS, EUC-JP) for the conversions from it.
// The text goes 64 bytes at a time (byte_blocks.h): where its characters start follows from the
// block's masks, and each character's output comes from a table indexed by its code, so nothing
// branches on the kind of character, which in Japanese text changes from one character to the next.
#pragma once

#include <cstdint>
#include <cstring>

#include "editor/foundation/text/byte_blocks.h"

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

// The output of one character: up to three bytes (bits 0-23), their count (bits 24-26), bit 31
// when the character could not be converted, and bit 30 when the block walk must leave it to the
// character-by-character step (a lead and a trail byte that are no character, to be read as the
// lead byte alone; the first byte of a three-byte form).
inline constexpr uint32_t kPackedUnconverted = 1u << 31;
inline constexpr uint32_t kPackedByStep = 1u << 30;
inline uint32_t PackOutput(const unsigned char* bytes, int count, bool unconverted) {
  uint32_t packed = static_cast<uint32_t>(count) << 24;
  for (int k = 0; k < count; ++k) packed |= static_cast<uint32_t>(bytes[k]) << (8 * k);
  return unconverted ? packed | kPackedUnconverted : packed;
}

// The one instance of a table of the conversions, built at its first use and kept for the life
// of the process.
template <typename Table>
const Table& BuiltOnce() {
  static const Table* table = new Table;
  return *table;
}

// 65,536 flags in 8 KB.
struct CodeFlags {
  uint8_t bytes[0x2000] = {};
  void Set(unsigned code) { bytes[code >> 3] |= static_cast<uint8_t>(1u << (code & 7)); }
  unsigned operator[](unsigned code) const { return (bytes[code >> 3] >> (code & 7)) & 1u; }
};

// Lane tests (byte_blocks.h) of a byte x followed by a byte y that start a two-byte character
// where a character starts at x: a Shift-JIS lead byte (81-9F and E0-FC, which are A1-BF and C0-DC
// with bit 5 flipped) and trail byte (40-FC but 7F); 0x8E (with any byte) or two bytes A1-FE in
// EUC-JP.
inline byte_lanes::Lane SjisPairable(byte_lanes::Lane x, byte_lanes::Lane y) {
  using namespace byte_lanes;
  return And(InRange(Flip(x, 0x20), 0xA1, 0xDC), AndNot(InRange(y, 0x40, 0xFC), Equal(y, 0x7F)));
}
inline byte_lanes::Lane EucPairable(byte_lanes::Lane x, byte_lanes::Lane y) {
  using namespace byte_lanes;
  return Or(Equal(x, 0x8E), And(InRange(x, 0xA1, 0xFE), InRange(y, 0xA1, 0xFE)));
}

// Text through a table of packed outputs. A character is two bytes where pairable (a lane test of
// a byte and the byte after it) holds at a character's start, else one byte; its code is its first
// byte << 8 | its second, or its byte; its output packed[code]. ASCII becomes itself in units of
// kAsciiWidth bytes (1, or 2 for UTF-16LE). A code flagged kPackedByStep, and the last bytes of the
// text, go through step(position, output, unconverted), which converts the character there and
// returns its size. Each character writes four bytes, and an ASCII block 64 units: the output
// needs that much room beyond what it keeps, and must stay that far behind the input.
template <int kAsciiWidth, typename Pairable, typename Step>
char* WalkPacked(const unsigned char* s, int len, char* w, int& unconverted, const uint32_t* packed, Pairable pairable,
                 Step step) {
  static_assert(kAsciiWidth == 1 || kAsciiWidth == 2);
  using namespace byte_lanes;
  // The output pointer and the count stay in registers: no call sees them, and the step is given
  // copies (a store through the output could otherwise be taken to change the count).
  int count = 0;
  const auto byStep = [&step](int at, char*& out, int& counted) {
    char* o = out;
    int c = 0;
    at += step(at, o, c);
    out = o;
    counted += c;
    return at;
  };
  int carry = 0;  // bytes at the block's start that belong to a character begun before it (0-2)
  int i = 0;
  // Each block looks at the two bytes after it.
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    const unsigned char* p = s + i;
    if (carry == 0 && !BlockHasHighByte(p)) {
      if constexpr (kAsciiWidth == 1) {
        CopyBlock(p, w);
      } else {
        WidenBlock(p, w);
      }
      w += kBlockBytes * kAsciiWidth;
      continue;
    }
    const uint64_t taken = (uint64_t{1} << carry) - 1;
    const uint64_t pairs =
        PairStarts(BlockMask(p, [pairable](Lane x, Lane y, Lane) { return pairable(x, y); }) & ~taken);
    uint64_t starts = ~((pairs << 1) | taken);
    carry = static_cast<int>(pairs >> 63);
    for (; starts; starts &= starts - 1) {
      const int k = LowestBit(starts);
      const uint32_t out = packed[Select((pairs >> k) & 1, (p[k] << 8) | p[k + 1], p[k])];
      if (out & kPackedByStep) [[unlikely]] {
        // The rest of the block one character at a time.
        int at = i + k;
        while (at < i + kBlockBytes) at = byStep(at, w, count);
        carry = at - (i + kBlockBytes);
        break;
      }
      std::memcpy(w, &out, 4);
      w += (out >> 24) & 7;
      count += static_cast<int>(out >> 31);
    }
  }
  for (int at = i + carry; at < len;) at = byStep(at, w, count);
  unconverted += count;
  return w;
}

// Shift-JIS text through a table of packed outputs: a lead byte followed by a trail byte is one
// character when pairs has the flag of its code, else the lead byte is read alone and the next
// byte starts a character (the table flags such a code kPackedByStep).
template <int kAsciiWidth = 1>
char* WalkSjisPacked(const unsigned char* s, int len, char* w, int& unconverted, const CodeFlags& pairs,
                     const uint32_t* packed) {
  const auto step = [&](int at, char*& out, int& count) {
    const unsigned code = at + 1 < len ? (s[at] << 8) | s[at + 1] : 0;
    const unsigned pair = at + 1 < len ? pairs[code] : 0;
    const uint32_t o = packed[Select(pair, code, s[at])];
    std::memcpy(out, &o, 4);
    out += (o >> 24) & 7;
    count += static_cast<int>(o >> 31);
    return 1 + static_cast<int>(pair);
  };
  return WalkPacked<kAsciiWidth>(s, len, w, unconverted, packed, SjisPairable, step);
}
