// The pixel operations the blits run pixel by pixel (stretched, mirrored and short runs, small
// pieces), against the formulas of pixel_math.h: the shared-weight sums and the shortcuts for
// opaque and clear pixels give the formulas' bits for every alpha and every pair of channel values.
#include <gtest/gtest.h>

#include <cstdint>

#include "sdk/graphics/blit_ops.h"

namespace {

// Source and destination pixels in which the channels take the values c and e (and two values
// derived from them), so that over all c and e every channel meets every pair.
uint32_t SourcePixel(uint32_t a, uint32_t c) { return a << 24 | c << 16 | (255 - c) << 8 | ((c * 7) & 255); }
uint32_t DestPixel(uint32_t e) { return ((e * 13) & 255) << 24 | ((e * 5) & 255) << 16 | e << 8 | (255 - e); }

TEST(BlitOps, AlphaBlitsGiveTheFormulasPixelForEveryAlphaAndChannelPair) {
  int packedWrong = 0, plainWrong = 0;
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t c = 0; c < 256; ++c)
      for (uint32_t e = 0; e < 256; ++e) {
        const uint32_t s = SourcePixel(a, c), d = DestPixel(e);
        packedWrong += blit_ops::PackedAlpha{}(s, d) != pixel::PackedBltAlpha(s, d);
        plainWrong += blit_ops::PlainAlpha{}(s, d) != pixel::PlainBltAlpha(s, d);
      }
  EXPECT_EQ(packedWrong, 0);
  EXPECT_EQ(plainWrong, 0);
}

TEST(BlitOps, AlphaWeightedBlendGivesTheFormulasPixelForEveryFactorShape) {
  struct Factors {
    const char* name;
    uint32_t fd, fs;
  };
  // The ratio blends of the transitions, shared weights whose sums pass 255 (they saturate), the
  // ends, and factors that differ by channel.
  const Factors cases[] = {
      {"ratio 1", 254 * 0x010101u, 1 * 0x010101u},       {"ratio 128", 127 * 0x010101u, 128 * 0x010101u},
      {"ratio 200", 55 * 0x010101u, 200 * 0x010101u},    {"ratio 255", 0, 255 * 0x010101u},
      {"both full", 0xFFFFFF, 0xFFFFFF},                 {"both 200", 200 * 0x010101u, 200 * 0x010101u},
      {"both zero", 0, 0},                               {"alpha byte set", 0xFF808080, 0xFF404040},
      {"by channel", 0x102030, 0xF0E0D0},                {"by channel, saturating", 0xFFC080, 0xE0F0FF},
  };
  for (const Factors& f : cases) {
    const blit_ops::BlendAlpha op(f.fd, f.fs);
    const pixel::AlphaBlendTable reference = pixel::MakeAlphaBlendTable(f.fd, f.fs);
    int wrong = 0;
    for (uint32_t a = 0; a < 256; ++a)
      for (uint32_t c = 0; c < 256; c += 3)
        for (uint32_t e = 0; e < 256; e += 5) {
          const uint32_t s = SourcePixel(a, c), d = DestPixel(e);
          wrong += op(s, d) != pixel::BlendAlpha(s, d, reference);
        }
    EXPECT_EQ(wrong, 0) << f.name;
  }
}

}  // namespace
