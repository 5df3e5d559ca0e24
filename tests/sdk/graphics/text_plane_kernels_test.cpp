// The text plane's pixel kernels against their formulas: every pair of alphas through the shadow
// composite (looked up or computed), random rows through the averaging and the text colouring.
#include "sdk/graphics/text_plane_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using namespace text_plane_kernels;

// Every row function (pixel by pixel, and the shuffling one where the processor has it) on every
// pair of alphas, in rows of every length up to a few blocks.
TEST(TextPlaneKernels, ShadowCompositeIsTheFormulaForEveryPairOfAlphas) {
  const struct {
    uint32_t rgb, shadowRgb;
  } kColours[] = {{0xFFFFFF, 0x808080}, {0xFF0000, 0x0000FF}, {0x000000, 0xFFFFFF}, {0x123456, 0x202020}, {0xFEDCBA, 0x010203}};
  std::vector<std::pair<const char*, ShadowComposite::RowFunction>> rows = {{"plain", ShadowComposite::PlainRow}};
  if (ShadowComposite::RowFunction ssse3 = ShadowComposite::Ssse3Row()) rows.emplace_back("ssse3", ssse3);
  for (const auto& c : kColours) {
    const ShadowComposite composite(c.rgb, c.shadowRgb);
    for (const auto& [name, row] : rows) {
      std::vector<uint8_t> a(256), b(256);
      std::vector<uint32_t> out(257);
      for (unsigned shadow = 0; shadow < 256; ++shadow) {
        for (unsigned text = 0; text < 256; ++text) {
          a[text] = static_cast<uint8_t>(text);
          b[text] = static_cast<uint8_t>(shadow);
        }
        out[256] = 0xDEADBEEF;
        row(composite, a.data(), b.data(), out.data(), 256);
        for (unsigned text = 0; text < 256; ++text) {
          const uint32_t t = (text << 24) | c.rgb, s = (shadow << 24) | c.shadowRgb;
          // Without shadow ink the text stands as it is, also where it has no ink of its own.
          const uint32_t expected = shadow == 0 ? t : CompositeShadow(t, s);
          ASSERT_EQ(out[text], expected) << name << " " << std::hex << c.rgb << " over " << c.shadowRgb << std::dec
                                         << ": alphas " << text << " over " << shadow;
          ASSERT_EQ(composite.At(static_cast<uint8_t>(text), static_cast<uint8_t>(shadow)), expected);
        }
        ASSERT_EQ(out[256], 0xDEADBEEFu) << name;
      }
    }
  }
  // Rows of any length, from any start: the same pixels as one at a time, nothing written past them.
  std::mt19937 rng(11);
  const ShadowComposite composite(0x3366CC, 0x101010);
  for (size_t n = 0; n <= 50; ++n) {
    for (const auto& [name, row] : rows) {
      // Whole blocks may be read past the row (the coverage rows allow it).
      std::vector<uint8_t> a(n + 3 + kBlock), b(n + 3 + kBlock);
      for (size_t i = 0; i < a.size(); ++i) {
        a[i] = rng() % 3 ? kLevelAlpha[rng() % 5] : static_cast<uint8_t>(rng());
        b[i] = rng() % 3 ? kLevelAlpha[rng() % 5] : static_cast<uint8_t>(rng());
      }
      std::vector<uint32_t> out(n + 4, 0xDEADBEEF);
      row(composite, a.data() + 3, b.data() + 3, out.data() + 2, n);
      for (size_t i = 0; i < n; ++i) ASSERT_EQ(out[i + 2], composite.At(a[i + 3], b[i + 3])) << name << " " << n << " " << i;
      EXPECT_EQ(out[0], 0xDEADBEEFu);
      EXPECT_EQ(out[1], 0xDEADBEEFu);
      EXPECT_EQ(out[n + 2], 0xDEADBEEFu) << name << " " << n;
      EXPECT_EQ(out[n + 3], 0xDEADBEEFu) << name << " " << n;
    }
  }
}

// The formula on the values the composite's table is made for, worked by hand.
TEST(TextPlaneKernels, CompositeShadowByHand) {
  const struct {
    uint32_t t, s, expected;
  } kCases[] = {
      {0x00FFFFFF, 0x7F0000FF, 0x7F0000FF},  // no text: the shadow
      {0xFFFFFFFF, 0xFF0000FF, 0xFFFFFFFF},  // opaque text: the text
      {0xBFFFFFFF, 0x3F0000FF, 0xCEECECFF},  // 63 × 64 / 255 = 15 shows; (255 × 191) / 206 = 236
      {0x3F102030, 0x01FFFFFF, 0x3F102030},  // 1 × 192 / 255 = 0 shows: the text
  };
  for (const auto& c : kCases) EXPECT_EQ(CompositeShadow(c.t, c.s), c.expected) << std::hex << c.t << " " << c.s;
}

TEST(TextPlaneKernels, AveragingAndColouringFollowTheirFormulas) {
  std::mt19937 rng(3);
  for (size_t blocks : {1u, 2u, 5u}) {
    const size_t n = blocks * kBlock;
    std::vector<uint8_t> upper(2 * n), lower(2 * n), out(n + 1, 0xEE);
    for (uint8_t& v : upper) v = static_cast<uint8_t>(rng());
    for (uint8_t& v : lower) v = static_cast<uint8_t>(rng());
    upper[0] = upper[1] = lower[0] = lower[1] = 255;  // the largest sum
    AverageBlocks(upper.data(), lower.data(), out.data(), blocks);
    for (size_t x = 0; x < n; ++x) {
      ASSERT_EQ(out[x], (upper[2 * x] + upper[2 * x + 1] + lower[2 * x] + lower[2 * x + 1]) / 4) << x;
    }
    EXPECT_EQ(out[n], 0xEE);  // nothing past the blocks
  }
  for (size_t n : {0u, 1u, 15u, 16u, 17u, 40u}) {
    std::vector<uint8_t> a(n);
    for (uint8_t& v : a) v = static_cast<uint8_t>(rng());
    std::vector<uint32_t> out(n + 1, 0xDEADBEEF);
    TextRow(a.data(), out.data(), n, 0x00A1B2C3);
    for (size_t x = 0; x < n; ++x) ASSERT_EQ(out[x], (uint32_t{a[x]} << 24) | 0x00A1B2C3u) << n << " " << x;
    EXPECT_EQ(out[n], 0xDEADBEEFu);
  }
}

}  // namespace
