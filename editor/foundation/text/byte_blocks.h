// Text taken 64 bytes at a time, a kind of byte as one bit per byte of a 64-bit mask (bit k for the
// byte at k), so that where the characters of a two-byte code start follows from a few operations
// on the masks rather than from a step per byte. Used by the code detection and by the conversions
// that read Shift-JIS or EUC-JP.
//
// A test is written once, for 16 bytes at a time (SSE2) or for one byte (elsewhere), with the
// lane functions below: a lane holds bytes, and a test gives a lane of all-ones or zero bytes.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline constexpr int kBlockBytes = 64;

namespace byte_lanes {
#if defined(__SSE2__)
using Lane = __m128i;
inline constexpr int kWidth = 16;
inline Lane Load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline Lane Equal(Lane x, unsigned char v) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(v))); }
// Bytes lo..hi, unsigned.
inline Lane InRange(Lane x, unsigned char lo, unsigned char hi) {
  const Lane d = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(lo)));
  return _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(static_cast<char>(hi - lo))), d);
}
inline Lane Flip(Lane x, unsigned char bits) { return _mm_xor_si128(x, _mm_set1_epi8(static_cast<char>(bits))); }
inline Lane And(Lane a, Lane b) { return _mm_and_si128(a, b); }
inline Lane Or(Lane a, Lane b) { return _mm_or_si128(a, b); }
inline Lane AndNot(Lane a, Lane b) { return _mm_andnot_si128(b, a); }  // a and not b
inline Lane None() { return _mm_setzero_si128(); }
inline uint64_t Bits(Lane x) { return static_cast<uint16_t>(_mm_movemask_epi8(x)); }
#else
using Lane = unsigned;
inline constexpr int kWidth = 1;
inline Lane Load(const unsigned char* p) { return *p; }
inline Lane Equal(Lane x, unsigned char v) { return x == v; }
inline Lane InRange(Lane x, unsigned char lo, unsigned char hi) { return x >= lo && x <= hi; }
inline Lane Flip(Lane x, unsigned char bits) { return x ^ bits; }
inline Lane And(Lane a, Lane b) { return a & b; }
inline Lane Or(Lane a, Lane b) { return a | b; }
inline Lane AndNot(Lane a, Lane b) { return a & ~b; }
inline Lane None() { return 0; }
inline uint64_t Bits(Lane x) { return x & 1; }
#endif

// The mask of a test over the 64 bytes at p; the test gets the lane at each byte, the lane one byte
// on and the lane two bytes on (the bytes at p + 64 and p + 65 must be readable when it uses them).
template <typename Test>
inline uint64_t BlockMask(const unsigned char* p, Test test) {
  uint64_t mask = 0;
#pragma GCC unroll 64
  for (int k = 0; k < kBlockBytes; k += kWidth) mask |= Bits(test(Load(p + k), Load(p + k + 1), Load(p + k + 2))) << k;
  return mask;
}

// The same with the lane three bytes on as well (the byte at p + 66 must be readable).
template <typename Test>
inline uint64_t BlockMask4(const unsigned char* p, Test test) {
  uint64_t mask = 0;
#pragma GCC unroll 64
  for (int k = 0; k < kBlockBytes; k += kWidth)
    mask |= Bits(test(Load(p + k), Load(p + k + 1), Load(p + k + 2), Load(p + k + 3))) << k;
  return mask;
}

// The mask of a test of each of the n bytes at p alone (n a multiple of 16, at most 64).
template <int n, typename Test>
inline uint64_t SpanMask(const unsigned char* p, Test test) {
  static_assert(n % 16 == 0 && n <= 64);
  uint64_t mask = 0;
#pragma GCC unroll 64
  for (int k = 0; k < n; k += kWidth) mask |= Bits(test(Load(p + k))) << k;
  return mask;
}

// Whether any of the 64 bytes at p is 0x80 or above.
inline bool BlockHasHighByte(const unsigned char* p) {
  uint64_t a, b, c, d;
  std::memcpy(&a, p, 8), std::memcpy(&b, p + 8, 8), std::memcpy(&c, p + 16, 8), std::memcpy(&d, p + 24, 8);
  uint64_t e, f, g, h;
  std::memcpy(&e, p + 32, 8), std::memcpy(&f, p + 40, 8), std::memcpy(&g, p + 48, 8), std::memcpy(&h, p + 56, 8);
  return ((a | b | c | d | e | f | g | h) & 0x8080808080808080ull) != 0;
}

// The 64 bytes at p copied to out, and widened to 64 units of two bytes (the byte and 0) at out.
inline void CopyBlock(const unsigned char* p, char* out) {
#if defined(__SSE2__)
  const Lane a = Load(p), b = Load(p + 16), c = Load(p + 32), d = Load(p + 48);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), a);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), b);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32), c);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 48), d);
#else
  std::memmove(out, p, kBlockBytes);
#endif
}
inline void WidenBlock(const unsigned char* p, char* out) {
#if defined(__SSE2__)
  const Lane zero = _mm_setzero_si128();
  const Lane a = Load(p), b = Load(p + 16), c = Load(p + 32), d = Load(p + 48);
  const Lane lanes[4] = {a, b, c, d};
  for (int k = 0; k < 4; ++k) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32 * k), _mm_unpacklo_epi8(lanes[k], zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32 * k + 16), _mm_unpackhi_epi8(lanes[k], zero));
  }
#else
  unsigned char bytes[kBlockBytes];
  std::memcpy(bytes, p, kBlockBytes);
  for (int k = 0; k < kBlockBytes; ++k) {
    out[2 * k] = static_cast<char>(bytes[k]);
    out[2 * k + 1] = 0;
  }
#endif
}
}  // namespace byte_lanes

// The bytes at which a two-byte character starts, given the bytes that would start one were a
// character to start there (pairable). A byte that is not pairable is followed by a character
// start, so in each run of pairable bytes the characters start at the run's first byte and at
// every other byte after it; the rest of the run are second bytes. Adding a run's lowest bit
// clears the run: this finds, without a step per byte, the runs that start on an even bit.
inline uint64_t PairStarts(uint64_t pairable) {
  constexpr uint64_t kEven = 0x5555555555555555ull;
  const uint64_t runStarts = pairable & ~(pairable << 1);
  const uint64_t fromEven = pairable & ~(pairable + (runStarts & kEven));
  return (fromEven & kEven) | (pairable & ~fromEven & ~kEven);
}

// Population count without a dependence on the processor's own instruction.
inline int CountBits(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

inline int LowestBit(uint64_t x) { return __builtin_ctzll(x); }

// Calls visit(position) for each byte that passes a test, in order, 64 bytes at a time: the lane
// test marks them in a block, the byte test in the last bytes. visit returns the position from
// which to go on (bytes before it are passed over).
template <typename LaneTest, typename ByteTest, typename Visit>
inline void ForEachMatch(const unsigned char* s, int len, LaneTest laneTest, ByteTest byteTest, Visit visit) {
  using namespace byte_lanes;
  int next = 0;
  int i = 0;
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    if (next >= i + kBlockBytes) continue;
    for (uint64_t m = BlockMask(s + i, [laneTest](Lane x, Lane, Lane) { return laneTest(x); }); m; m &= m - 1) {
      const int at = i + LowestBit(m);
      if (at >= next) next = visit(at);
    }
  }
  for (int at = next > i ? next : i; at < len;) at = byteTest(s[at]) ? visit(at) : at + 1;
}

// The same for each byte equal to value.
template <typename Visit>
inline void ForEachByte(const unsigned char* s, int len, unsigned char value, Visit visit) {
  ForEachMatch(
      s, len, [value](byte_lanes::Lane x) { return byte_lanes::Equal(x, value); },
      [value](unsigned char c) { return c == value; }, visit);
}
