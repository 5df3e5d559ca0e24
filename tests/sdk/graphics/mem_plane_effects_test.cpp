// Alpha-channel operations and whole-rectangle effects of the memory surface.
#include <gtest/gtest.h>

#include "sdk/graphics/displacement_map.h"
#include "surface_util.h"

using surface_util::Kind;

namespace {

std::unique_ptr<CMemPlane> WithAlphas(std::initializer_list<uint32_t> alphas) {
  auto p = surface_util::Make(Kind::Packed, static_cast<int>(alphas.size()), 1);
  int x = 0;
  for (uint32_t a : alphas) p->GetImpl()->GetRow(0)[x++] = (a << 24) | 0x123456;
  return p;
}

TEST(AlphaEffectsTest, AlphaScale) {
  const struct {
    int ratio;
    uint32_t a255, a1, a128;
  } kCases[] = {
      {128, 127, 0, 64}, {256, 255, 1, 128}, {300, 255, 1, 128},
      {0, 0, 0, 0},      {-7, 0, 0, 0},      {255, 254, 0, 127},
  };
  for (const auto& c : kCases) {
    auto p = WithAlphas({255, 1, 128});
    EXPECT_EQ(p->AlphaScale(c.ratio, nullptr), 0);
    EXPECT_EQ(surface_util::At(*p, 0, 0), (c.a255 << 24) | 0x123456) << c.ratio;
    EXPECT_EQ(surface_util::At(*p, 1, 0), (c.a1 << 24) | 0x123456) << c.ratio;
    EXPECT_EQ(surface_util::At(*p, 2, 0), (c.a128 << 24) | 0x123456) << c.ratio;
  }
}

TEST(AlphaEffectsTest, AlphaScaleTouchesOnlyTheClippedRectangle) {
  auto p = WithAlphas({255, 255, 255, 255});
  const RECT r{-5, 0, 2, 7};
  EXPECT_EQ(p->AlphaScale(0, &r), 0);
  EXPECT_EQ(surface_util::At(*p, 1, 0), 0x00123456u);
  EXPECT_EQ(surface_util::At(*p, 2, 0), 0xFF123456u);
  const RECT empty{9, 0, 12, 1};
  EXPECT_EQ(p->AlphaScale(0, &empty), 0);
  EXPECT_EQ(surface_util::At(*p, 3, 0), 0xFF123456u);
}

TEST(AlphaEffectsTest, AlphaInvert) {
  auto p = WithAlphas({0, 1, 200, 255});
  const auto before = surface_util::Pixels(*p);
  EXPECT_EQ(p->AlphaInvert(nullptr), 0);
  EXPECT_EQ(surface_util::At(*p, 0, 0), 0xFF123456u);
  EXPECT_EQ(surface_util::At(*p, 2, 0), 0x37123456u);
  p->AlphaInvert(nullptr);
  EXPECT_EQ(surface_util::Pixels(*p), before);
}

TEST(AlphaEffectsTest, AlphaGradientRamp) {
  auto mask = surface_util::Make(Kind::Packed, 256, 1);
  surface_util::Fill(*mask, [](int x, int) { return 0xAB00CD00u | x; });
  auto p = surface_util::Make(Kind::Packed, 256, 1, 0x55ABCDEF);
  EXPECT_EQ(p->AlphaGradient(mask.get(), 64, 128, 0, 255, nullptr), 0);
  const struct {
    int blue;
    uint32_t alpha;
  } kCases[] = {{0, 0}, {64, 0}, {65, 3}, {96, 127}, {127, 251}, {128, 255}, {255, 255}};
  for (const auto& c : kCases)
    EXPECT_EQ(surface_util::At(*p, c.blue, 0), (c.alpha << 24) | 0xABCDEF) << c.blue;
}

TEST(AlphaEffectsTest, AlphaGradientRampEdges) {
  auto mask = surface_util::Make(Kind::Packed, 256, 1);
  surface_util::Fill(*mask, [](int x, int) { return uint32_t(x); });
  const struct {
    int lower, upper, a, b;
    int blue;
    uint32_t alpha;
  } kCases[] = {
      {-1, 255, 0, 255, 0, 0},      // 255 * 1 / 256
      {-1, 255, 0, 255, 254, 254},  // 255 * 255 / 256
      {-100, 100, 0, 200, 0, 1},    // below 0 the ramp still starts with its first step
      {-1, 255, 0, 255, 255, 255},
      {200, 100, 10, 20, 150, 20},  // an inverted ramp: the upper value wins from `upper` on
      {200, 100, 10, 20, 99, 10},
      {300, 400, 7, 9, 255, 7},     // everything below the ramp
      {-50, -10, 7, 9, 0, 9},       // everything above it
  };
  for (const auto& c : kCases) {
    auto p = surface_util::Make(Kind::Packed, 256, 1);
    EXPECT_EQ(p->AlphaGradient(mask.get(), c.lower, c.upper, c.a, c.b, nullptr), 0);
    EXPECT_EQ(surface_util::At(*p, c.blue, 0) >> 24, c.alpha)
        << c.lower << " " << c.upper << " at " << c.blue;
  }
}

TEST(AlphaEffectsTest, AlphaGradientAndCopyNeedEqualSizes) {
  auto p = surface_util::Make(Kind::Packed, 4, 4, 0x11223344);
  auto shorter = surface_util::Make(Kind::Packed, 4, 3, 0xFF000000);
  EXPECT_EQ(p->AlphaGradient(shorter.get(), 0, 10, 0, 255, nullptr), 1);
  EXPECT_EQ(p->AlphaGradient(nullptr, 0, 10, 0, 255, nullptr), 1);
  EXPECT_EQ(p->AlphaCopy(shorter.get(), 256, nullptr), 1);
  EXPECT_EQ(p->AlphaCopy(nullptr, 256, nullptr), 1);
  for (uint32_t px : surface_util::Pixels(*p)) EXPECT_EQ(px, 0x11223344u);
}

TEST(AlphaEffectsTest, AlphaCopy) {
  const struct {
    int ratio;
    uint32_t alpha;
  } kCases[] = {{256, 0xC8}, {128, 0x64}, {0, 0}, {1000, 0xC8}, {-3, 0}};
  for (const auto& c : kCases) {
    auto src = surface_util::Make(Kind::Packed, 3, 2, 0xC8ABCDEF);
    auto p = surface_util::Make(Kind::Packed, 3, 2, 0x11223344);
    const RECT r{1, 1, 5, 5};
    EXPECT_EQ(p->AlphaCopy(src.get(), c.ratio, &r), 0);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(surface_util::At(*p, x, y),
                  x >= 1 && y >= 1 ? (c.alpha << 24) | 0xABCDEF : 0x11223344u)
            << c.ratio;
  }
}

TEST(AlphaEffectsTest, FadeEffect) {
  const struct {
    int ratio;
    uint32_t expected;
  } kCases[] = {{128, 0x007F4000}, {256, 0x00FF8001}, {400, 0x00FF8001},
                {0, 0},            {-1, 0},           {1, 0x00000000},
                {255, 0x00FE7F00}};
  for (Kind kind : {Kind::Plain, Kind::Packed}) {
    for (const auto& c : kCases) {
      auto p = surface_util::Make(kind, 9, 2, 0xFFFF8001);
      EXPECT_EQ(p->FadeEffect(c.ratio, nullptr), 0);
      for (uint32_t px : surface_util::Pixels(*p)) EXPECT_EQ(px, c.expected) << c.ratio;
    }
  }
}

TEST(SurfaceEffectsTest, NegateKeepsAlphaAndUndoesItself) {
  auto p = surface_util::Make(Kind::Packed, 3, 3, 0x80102030);
  const RECT r{1, 1, 9, 9};
  EXPECT_EQ(p->FlushBlt(&r), 0);
  EXPECT_EQ(surface_util::At(*p, 0, 0), 0x80102030u);
  EXPECT_EQ(surface_util::At(*p, 2, 2), 0x80EFDFCFu);
  p->FlushBlt(&r);
  for (uint32_t px : surface_util::Pixels(*p)) EXPECT_EQ(px, 0x80102030u);
}

TEST(SurfaceEffectsTest, MosaicFillsBlocksFromTheirTopLeftPixel) {
  auto p = surface_util::Make(Kind::Packed, 22, 22);
  surface_util::Fill(*p, surface_util::Tag);
  const RECT r{1, 1, 21, 21};
  EXPECT_EQ(p->MosaicBlt(8, &r), 0);
  const int starts[] = {1, 1, 1, 1, 1, 1, 1, 1, 9, 9, 9, 9, 9, 9, 9, 9, 17, 17, 17, 17};
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 22; ++x) {
      const bool inside = x >= 1 && x < 21 && y >= 1 && y < 21;
      const uint32_t expected =
          inside ? surface_util::Tag(starts[x - 1], starts[y - 1]) : surface_util::Tag(x, y);
      ASSERT_EQ(surface_util::At(*p, x, y), expected) << x << "," << y;
    }
}

TEST(SurfaceEffectsTest, MosaicRefusesBlockSizesBelowOne) {
  auto p = surface_util::Make(Kind::Packed, 4, 4);
  surface_util::Fill(*p, surface_util::Tag);
  const auto before = surface_util::Pixels(*p);
  EXPECT_EQ(p->MosaicBlt(0, nullptr), -2);
  EXPECT_EQ(p->MosaicBlt(-3, nullptr), -2);
  EXPECT_EQ(surface_util::Pixels(*p), before);
  EXPECT_EQ(p->MosaicBlt(0x7FFFFFFF, nullptr), 0);
  for (uint32_t px : surface_util::Pixels(*p)) EXPECT_EQ(px, surface_util::Tag(0, 0));
}

TEST(SurfaceEffectsTest, SmoothRefusesSmallRectangles) {
  auto p = surface_util::Make(Kind::Packed, 10, 100);
  const RECT narrow{0, 0, 3, 100};
  EXPECT_EQ(p->GetImpl()->SmoothEffect(&narrow), 2);
  const RECT low{0, 0, 10, 3};
  EXPECT_EQ(p->GetImpl()->SmoothEffect(&low), 2);
  const RECT outside{20, 0, 30, 10};
  EXPECT_EQ(p->GetImpl()->SmoothEffect(&outside), 1);
}

TEST(SurfaceEffectsTest, SmoothWeighsNeighboursOfTheOriginalImage) {
  auto p = surface_util::Make(Kind::Packed, 4, 4);
  p->GetImpl()->GetRow(1)[1] = 0x00F8F8F8;
  p->GetImpl()->GetRow(0)[3] = 0x00080808;
  EXPECT_EQ(p->GetImpl()->SmoothEffect(nullptr), 0);
  const uint32_t expected[4][4] = {
      {0, 0, 0, 0x00080808},  // row 0 keeps its pixels
      {0x003E3E3E, 0x007C7C7C, 0x001F1F1F, 0x00010101},
      {0, 0x001F1F1F, 0, 0},
      {0, 0x001F1F1F, 0, 0},  // the last row repeats the one above
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(surface_util::At(*p, x, y), expected[y][x]) << x << "," << y;
}

TEST(SurfaceEffectsTest, DisplaceWithZeroMapIsACopy) {
  auto src = surface_util::Make(Kind::Packed, 6, 5);
  surface_util::Fill(*src, surface_util::Tag);
  const RECT sr{1, 1, 5, 4};
  DisplacementMap zero(4, 3);
  for (RECT clip : {RECT{0, 0, 8, 8}, RECT{3, 2, 6, 8}}) {
    auto a = surface_util::Make(Kind::Packed, 8, 8);
    auto b = surface_util::Make(Kind::Packed, 8, 8);
    RECT c1 = clip, c2 = clip;
    EXPECT_EQ(a->GetImpl()->DisplaceBlt(src.get(), &zero, 2, 1, &sr, &c1), 0);
    b->GetImpl()->BltFast(src.get(), 2, 1, &sr, nullptr, &c2);
    EXPECT_EQ(surface_util::Pixels(*a), surface_util::Pixels(*b));
  }
}

TEST(SurfaceEffectsTest, DisplaceSkipsSourcesOffTheSurfaceAndMissingEntries) {
  auto src = surface_util::Make(Kind::Packed, 3, 1);
  surface_util::Fill(*src, surface_util::Tag);
  DisplacementMap map(2, 1);  // narrower than the source rectangle
  map.Set(0, 0, 1, 0);
  map.Set(1, 0, 5, 0);
  auto dst = surface_util::Make(Kind::Packed, 3, 1);
  EXPECT_EQ(dst->GetImpl()->DisplaceBlt(src.get(), &map, 0, 0, nullptr, nullptr), 0);
  EXPECT_EQ(surface_util::At(*dst, 0, 0), surface_util::Tag(1, 0));
  EXPECT_EQ(surface_util::At(*dst, 1, 0), 0u);
  EXPECT_EQ(surface_util::At(*dst, 2, 0), 0u);
  EXPECT_EQ(dst->GetImpl()->DisplaceBlt(src.get(), nullptr, 0, 0, nullptr, nullptr), 1);
  EXPECT_EQ(dst->GetImpl()->NullBlt(src.get(), 0, 0, nullptr, nullptr, nullptr), 0);
}

TEST(SurfaceEffectsTest, EffectsOnAnEmptySurfaceDoNothing) {
  CMemPlane p;
  EXPECT_EQ(p.FadeEffect(128, nullptr), 0);
  EXPECT_EQ(p.AlphaScale(128, nullptr), 0);
  EXPECT_EQ(p.AlphaInvert(nullptr), 0);
  EXPECT_EQ(p.MosaicBlt(4, nullptr), 0);
  EXPECT_EQ(p.FlushBlt(nullptr), 0);
  EXPECT_EQ(p.GetImpl()->SmoothEffect(nullptr), 1);
  EXPECT_EQ(p.GetImpl()->AddColor(1, nullptr), 1);
}

}  // namespace
