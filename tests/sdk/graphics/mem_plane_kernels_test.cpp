// Golden pixels of every blit kernel in both kernel classes, worked out by hand from the channel
// formulas. Each case runs 1:1 over a row long enough for the SIMD steps and their remainder,
// stretched, mirrored and mirrored-stretched: all four must give the same pixel.
#include <gtest/gtest.h>

#include "surface_util.h"

using surface_util::Kind;

namespace {

enum class K {
  Blt, BltFast, Half, HalfFast, Blend, BlendFast, Add, AddFast,
  Sub, SubFast, Rgb, RgbFast, BlendAlpha, Alpha, KeepAlpha, KeepAlphaFast
};

constexpr uint32_t kKey = 0x00FF00FF;

struct Golden {
  const char* name;
  K kernel;
  uint32_t s, d;
  uint32_t fd, fs;
  uint32_t plain, packed;
};

const Golden kGolden[] = {
    {"Blt skips the key", K::Blt, kKey, 0x12345678, 0, 0, 0x12345678, 0x12345678},
    {"Blt key compares alpha too", K::Blt, 0xFFFF00FF, 0x12345678, 0, 0, 0xFFFF00FF, 0xFFFF00FF},
    {"Blt copies", K::Blt, 0x80102030, 0x12345678, 0, 0, 0x80102030, 0x80102030},
    {"BltFast copies the key", K::BltFast, kKey, 0x12345678, 0, 0, kKey, kKey},
    {"Half floors, alpha AND", K::Half, 0x80FF0001, 0xC0010003, 0, 0, 0x80800002, 0x80800002},
    {"Half floors odd sums", K::HalfFast, 0x01030507, 0x01020406, 0, 0, 0x01020406, 0x01020406},
    {"Half skips the key", K::Half, kKey, 0x12345678, 0, 0, 0x12345678, 0x12345678},
    {"Blend white by 255", K::BlendFast, 0xFFFFFFFF, 0x12345678, 0, 0xFFFFFF, 0x00FEFEFE,
     0x00FEFEFE},
    {"Blend halves", K::Blend, 0xFF0080FF, 0x00FF8000, 0x808080, 0x808080, 0x007F807F,
     0x007F807F},
    {"Blend saturates", K::BlendFast, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x00FFFFFF,
     0x00FFFFFF},
    {"Blend floors each product", K::BlendFast, 0x01010101, 0x01010101, 0x808080, 0x808080, 0,
     0},
    {"Blend per channel", K::Blend, 0xAA112233, 0x55445566, 0xF0E0C0, 0x102040, 0x00404E58,
     0x00404E58},
    {"Blend skips the key", K::Blend, kKey, 0x12345678, 0, 0xFFFFFF, 0x12345678, 0x12345678},
    {"Add saturates colour, alpha differs", K::AddFast, 0x80102030, 0x90F0F0F0, 0, 0,
     0x10FFFFFF, 0xFFFFFFFF},
    {"Add below saturation", K::Add, 0x01010203, 0x02102030, 0, 0, 0x03112233, 0x03112233},
    {"Add skips the key", K::Add, kKey, 0x90F0F0F0, 0, 0, 0x90F0F0F0, 0x90F0F0F0},
    {"Sub saturates colour, alpha differs", K::SubFast, 0x80102030, 0x40F00F40, 0, 0,
     0xC0E00010, 0x00E00010},
    {"Sub skips the key", K::Sub, kKey, 0x40F00F40, 0, 0, 0x40F00F40, 0x40F00F40},
    {"Rgb drops alpha", K::RgbFast, 0xFFFF00FF, 0x12345678, 0, 0, kKey, kKey},
    {"Rgb keys on colour only", K::Rgb, 0xFFFF00FF, 0x12345678, 0, 0, 0x12345678, 0x12345678},
    {"Rgb copies", K::Rgb, 0x80102030, 0x12345678, 0, 0, 0x00102030, 0x00102030},
    {"BlendAlpha at 255 is Blend", K::BlendAlpha, 0xFFFFFFFF, 0x12345678, 0, 0xFFFFFF,
     0x00FEFEFE, 0x00FEFEFE},
    {"BlendAlpha at 0 keeps 255/256 of dest", K::BlendAlpha, 0x00FFFFFF, 0x00808080, 0,
     0xFFFFFF, 0x007F7F7F, 0x007F7F7F},
    {"BlendAlpha at 1", K::BlendAlpha, 0x01FFFFFF, 0x00FFFFFF, 0, 0xFFFFFF, 0x00FEFEFE,
     0x00FEFEFE},
    {"BlendAlpha at 254", K::BlendAlpha, 0xFEFF8000, 0x0000FFFF, 0, 0xFFFFFF, 0x00FC7F01,
     0x00FC7F01},
    {"BlendAlpha at ratio 128", K::BlendAlpha, 0xFFFFFFFF, 0, 0x7F7F7F, 0x808080, 0x007F7F7F,
     0x007F7F7F},
    {"BlendAlpha ignores the key", K::BlendAlpha, kKey, 0x00808080, 0, 0xFFFFFF, 0x007F7F7F,
     0x007F7F7F},
    {"Alpha 255 copies exactly", K::Alpha, 0xFF123456, 0xFF654321, 0, 0, 0x00123456,
     0x00123456},
    {"Alpha 0 keeps exactly", K::Alpha, 0x00123456, 0xFF654321, 0, 0, 0x00654321, 0x00654321},
    {"Alpha 1", K::Alpha, 0x01FFFFFF, 0x00FFFFFF, 0, 0, 0x00FDFDFD, 0x00FEFEFE},
    {"Alpha 254", K::Alpha, 0xFEFFFFFF, 0x00FFFFFF, 0, 0, 0x00FDFDFD, 0x00FEFEFE},
    {"Alpha 128", K::Alpha, 0x80FF0000, 0x000000FF, 0, 0, 0x007F007E, 0x007F007F},
    {"KeepAlpha", K::KeepAlpha, 0x80102030, 0x40FFFFFF, 0, 0, 0x40102030, 0x40102030},
    {"KeepAlpha skips the key", K::KeepAlpha, kKey, 0x40FFFFFF, 0, 0, 0x40FFFFFF, 0x40FFFFFF},
    {"KeepAlphaFast", K::KeepAlphaFast, kKey, 0x40000000, 0, 0, 0x40FF00FF, 0x40FF00FF},
};

int Call(CMemPlaneImpl& d, K k, bool mirror, CMemPlane* s, const int* size, uint32_t fd,
         uint32_t fs) {
#define VREL_CALL(Name) \
  return mirror ? d.Name##Mirror(s, 0, 0, nullptr, size, nullptr) \
                : d.Name(s, 0, 0, nullptr, size, nullptr)
#define VREL_CALL_F(Name) \
  return mirror ? d.Name##Mirror(s, 0, 0, fd, fs, nullptr, size, nullptr) \
                : d.Name(s, 0, 0, fd, fs, nullptr, size, nullptr)
  switch (k) {
    case K::Blt: VREL_CALL(Blt);
    case K::BltFast: VREL_CALL(BltFast);
    case K::Half: VREL_CALL(BlendBltHalf);
    case K::HalfFast: VREL_CALL(BlendBltHalfFast);
    case K::Blend: VREL_CALL_F(BlendBlt);
    case K::BlendFast: VREL_CALL_F(BlendBltFast);
    case K::Add: VREL_CALL(AddColorBlt);
    case K::AddFast: VREL_CALL(AddColorBltFast);
    case K::Sub: VREL_CALL(SubColorBlt);
    case K::SubFast: VREL_CALL(SubColorBltFast);
    case K::Rgb: VREL_CALL(BltRGB);
    case K::RgbFast: VREL_CALL(BltFastRGB);
    case K::BlendAlpha: VREL_CALL_F(BlendBltAlpha);
    case K::Alpha: VREL_CALL(BltAlpha);
    case K::KeepAlpha: VREL_CALL(BltKeepAlpha);
    case K::KeepAlphaFast: VREL_CALL(BltFastKeepAlpha);
  }
#undef VREL_CALL
#undef VREL_CALL_F
  return -1;
}

class KernelGoldenTest : public testing::TestWithParam<Kind> {};

TEST_P(KernelGoldenTest, EveryKernelGivesTheFormulasPixel) {
  constexpr int kWidth = 11;  // two SIMD steps of four, one of eight, and a remainder
  for (const Golden& g : kGolden) {
    const uint32_t expected = GetParam() == Kind::Plain ? g.plain : g.packed;
    for (bool mirror : {false, true}) {
      for (bool stretched : {false, true}) {
        auto src = surface_util::Make(GetParam(), stretched ? 1 : kWidth, 1, g.s);
        src->SetColorKey(0xFF, 0x00, 0xFF);
        auto dst = surface_util::Make(GetParam(), kWidth, 1, g.d);
        const int size[2] = {kWidth, 1};
        EXPECT_EQ(Call(*dst->GetImpl(), g.kernel, mirror, src.get(), stretched ? size : nullptr,
                       g.fd, g.fs),
                  0);
        for (uint32_t p : surface_util::Pixels(*dst))
          EXPECT_EQ(p, expected) << std::hex << g.name << (mirror ? " mirrored" : "")
                                 << (stretched ? " stretched" : "") << ": got " << p;
      }
    }
  }
}

struct ConstCase {
  const char* name;
  bool add;
  uint32_t colour, p;
  uint32_t plain, packed;
};

const ConstCase kConst[] = {
    {"AddColor saturates", true, 0x80102030, 0x90F0F0F0, 0x10FFFFFF, 0xFFFFFFFF},
    {"AddColor 0", true, 0, 0x90F0F0F0, 0x90F0F0F0, 0x90F0F0F0},
    {"AddColor white flash", true, 0x00404040, 0xFF102030, 0xFF506070, 0xFF506070},
    {"SubColor saturates", false, 0x80102030, 0x40F00F40, 0xC0E00010, 0x00E00010},
    {"SubColor 0", false, 0, 0x40F00F40, 0x40F00F40, 0x40F00F40},
};

TEST_P(KernelGoldenTest, ConstantColourKernels) {
  for (const ConstCase& c : kConst) {
    auto plane = surface_util::Make(GetParam(), 13, 3, c.p);
    CMemPlaneImpl& impl = *plane->GetImpl();
    EXPECT_EQ(c.add ? impl.AddColor(c.colour, nullptr) : impl.SubColor(c.colour, nullptr), 0);
    const uint32_t expected = GetParam() == Kind::Plain ? c.plain : c.packed;
    for (uint32_t p : surface_util::Pixels(*plane)) EXPECT_EQ(p, expected) << c.name;
  }
}

TEST_P(KernelGoldenTest, ConstantColourRectangles) {
  auto plane = surface_util::Make(GetParam(), 6, 4, 0x01010101);
  CMemPlaneImpl& impl = *plane->GetImpl();
  const RECT inverted{3, 0, 1, 4};
  EXPECT_EQ(impl.AddColor(0x01010101, &inverted), 1);
  const RECT outside{6, 0, 9, 4};
  EXPECT_EQ(impl.SubColor(0x01010101, &outside), 1);
  const RECT partial{-2, 2, 2, 9};
  EXPECT_EQ(impl.AddColor(0x01010101, &partial), 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(surface_util::At(*plane, x, y), x < 2 && y >= 2 ? 0x02020202u : 0x01010101u);
}

TEST_P(KernelGoldenTest, KeepAlphaComparesEverySourcePixelWithTheKey) {
  auto src = surface_util::Make(GetParam(), 4, 1);
  surface_util::Fill(*src, [](int x, int) { return x % 2 ? kKey : 0x80000000u + x; });
  src->SetColorKey(0xFF, 0x00, 0xFF);
  auto dst = surface_util::Make(GetParam(), 4, 1, 0x7F123456);
  dst->GetImpl()->BltKeepAlpha(src.get(), 0, 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(surface_util::At(*dst, 0, 0), 0x7F000000u);
  EXPECT_EQ(surface_util::At(*dst, 1, 0), 0x7F123456u);
  EXPECT_EQ(surface_util::At(*dst, 2, 0), 0x7F000002u);
  EXPECT_EQ(surface_util::At(*dst, 3, 0), 0x7F123456u);
}

TEST_P(KernelGoldenTest, NullSourceDrawsNothing) {
  auto dst = surface_util::Make(GetParam(), 2, 2, 5);
  EXPECT_EQ(dst->GetImpl()->Blt(nullptr, 0, 0, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(dst->GetImpl()->BlendBltAlphaMirror(nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr),
            1);
  for (uint32_t p : surface_util::Pixels(*dst)) EXPECT_EQ(p, 5u);
}

INSTANTIATE_TEST_SUITE_P(Classes, KernelGoldenTest, testing::Values(Kind::Plain, Kind::Packed),
                         [](const auto& info) { return surface_util::Name(info.param); });

}  // namespace
