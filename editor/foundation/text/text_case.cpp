// Letter case in place. Case never changes a character's length, so the text is rewritten where it
// lies, and only at the letters: the text goes 64 bytes at a time, and where the characters start
// follows from the block's masks (byte_blocks.h), as in the code conversions.
//
// One-byte letters go through our own ASCII rule, never the C library's, whose answer would depend
// on a locale. Of the double-byte letters, the full-width Latin ones differ by 0x21 in their second
// byte, the Greek ones by 0x20, and the Cyrillic ones by 0x30 or 0x31, as the capitals from 0x844F on
// skip the trail byte 0x7F.
#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/foundation/text/byte_blocks.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"

namespace {

constexpr unsigned kFirstLead = 0x82;  // the letters' lead bytes: 0x82 Latin, 0x83 Greek, 0x84 Cyrillic

struct TrailRange {
  unsigned char lo, hi;
  int shift;  // added to the second byte
};

// The letters each direction changes, per lead byte 0x82-0x84; Cyrillic in two pieces.
struct CaseRule {
  unsigned char asciiFirst;  // 'a' or 'A'
  TrailRange latin, greek, cyrillic1, cyrillic2;
};
constexpr CaseRule kToUpper = {'a', {0x81, 0x9A, -0x21}, {0xBF, 0xD6, -0x20}, {0x70, 0x7E, -0x30}, {0x80, 0x91, -0x31}};
constexpr CaseRule kToLower = {'A', {0x60, 0x79, 0x21}, {0x9F, 0xB6, 0x20}, {0x40, 0x4E, 0x30}, {0x4F, 0x60, 0x31}};

// The new second byte of each double-byte letter (others keep theirs), indexed by lead - 0x82.
struct TrailMaps {
  std::array<std::array<unsigned char, 256>, 3> upper{}, lower{};
  static void Fill(std::array<std::array<unsigned char, 256>, 3>& maps, const CaseRule& rule) {
    for (auto& map : maps) {
      for (unsigned t = 0; t < 256; ++t) map[t] = static_cast<unsigned char>(t);
    }
    const auto set = [&](int lead, const TrailRange& r) {
      for (unsigned t = r.lo; t <= r.hi; ++t) maps[lead][t] = static_cast<unsigned char>(static_cast<int>(t) + r.shift);
    };
    set(0, rule.latin);
    set(1, rule.greek);
    set(2, rule.cyrillic1);
    set(2, rule.cyrillic2);
  }
  TrailMaps() {
    Fill(upper, kToUpper);
    Fill(lower, kToLower);
  }
};

bool IsCaseLetterPair(const CaseRule& rule, unsigned lead, unsigned trail) {
  const auto in = [trail](const TrailRange& r) { return trail >= r.lo && trail <= r.hi; };
  switch (lead) {
    case 0x82: return in(rule.latin);
    case 0x83: return in(rule.greek);
    case 0x84: return in(rule.cyrillic1) || in(rule.cyrillic2);
    default: return false;
  }
}

// Flips the case bit of the ASCII letters among the 64 bytes at p, all below 0x80.
void ChangeAsciiBlock(unsigned char* p, unsigned char first) {
#if defined(__SSE2__)
  using namespace byte_lanes;
  const Lane bit = _mm_set1_epi8(0x20);
  for (int k = 0; k < kBlockBytes; k += 16) {
    const Lane x = Load(p + k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + k), _mm_xor_si128(x, And(InRange(x, first, first + 25), bit)));
  }
#else
  for (int k = 0; k < kBlockBytes; ++k) {
    if (p[k] >= first && p[k] <= first + 25) p[k] ^= 0x20;
  }
#endif
}

void ChangeCase(CMemory& m, const CaseRule& rule, const std::array<std::array<unsigned char, 256>, 3>& maps) {
  auto* s = reinterpret_cast<unsigned char*>(m.GetPtr());
  const int len = m.GetLength();
  if (!s || len <= 0) return;
  using namespace byte_lanes;
  const unsigned char first = rule.asciiFirst;
  int carry = 0;  // bytes at a block's start that end a character begun before it (0 or 1)
  int i = 0;
  // Each block looks at the two bytes after it.
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    unsigned char* p = s + i;
    if (carry == 0 && !BlockHasHighByte(p)) {
      ChangeAsciiBlock(p, first);
      continue;
    }
    const uint64_t taken = (uint64_t{1} << carry) - 1;
    const uint64_t pairs =
        PairStarts(BlockMask(p, [](Lane x, Lane y, Lane) { return SjisPairable(x, y); }) & ~taken);
    const uint64_t seconds = (pairs << 1) | taken;
    carry = static_cast<int>(pairs >> 63);
    const uint64_t letters =
        BlockMask(p, [first](Lane x, Lane, Lane) { return InRange(x, first, first + 25); }) & ~seconds;
    const uint64_t wide = BlockMask(p, [&rule](Lane x, Lane y, Lane) {
                            return Or(Or(And(Equal(x, 0x82), InRange(y, rule.latin.lo, rule.latin.hi)),
                                         And(Equal(x, 0x83), InRange(y, rule.greek.lo, rule.greek.hi))),
                                      And(Equal(x, 0x84), Or(InRange(y, rule.cyrillic1.lo, rule.cyrillic1.hi),
                                                             InRange(y, rule.cyrillic2.lo, rule.cyrillic2.hi))));
                          }) &
                          pairs;
    for (uint64_t b = letters; b; b &= b - 1) p[LowestBit(b)] ^= 0x20;
    // The second byte may be the first of the next block: it stays a second byte there.
    for (uint64_t b = wide; b; b &= b - 1) {
      const int k = LowestBit(b);
      p[k + 1] = maps[p[k] - kFirstLead][p[k + 1]];
    }
  }
  for (int at = i + carry; at < len;) {
    const int size = SjisCharSize(s, len, at);
    if (size == 2) {
      if (IsCaseLetterPair(rule, s[at], s[at + 1])) s[at + 1] = maps[s[at] - kFirstLead][s[at + 1]];
    } else if (s[at] >= first && s[at] <= first + 25) {
      s[at] ^= 0x20;
    }
    at += size;
  }
}

}  // namespace

void CMemory::ToUpper() { ChangeCase(*this, kToUpper, BuiltOnce<TrailMaps>().upper); }

void CMemory::ToLower() { ChangeCase(*this, kToLower, BuiltOnce<TrailMaps>().lower); }
