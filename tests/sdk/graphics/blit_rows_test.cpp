// The SIMD row sets against the plain one: random pixels (weighted toward the edge values of
// alpha and colour), every length up to a few vector widths, every start misalignment; then
// whole kernels with random positions, rectangles and clips.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "surface_util.h"

using blit_rows::RowKernels;

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

class Pixels {
 public:
  explicit Pixels(uint32_t seed) : m_rng(seed) {}
  uint32_t Byte() {
    static constexpr uint32_t kEdges[] = {0, 1, 127, 128, 254, 255};
    const uint32_t pick = m_rng() % 8;
    return pick < 6 ? kEdges[pick] : m_rng() & 0xFF;
  }
  uint32_t Next() {
    if (m_rng() % 5 == 0) return kKey;
    return Byte() << 24 | Byte() << 16 | Byte() << 8 | Byte();
  }
  // Runs of equal alpha so that whole vector groups are opaque or transparent now and then.
  void FillRow(uint32_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      p[i] = Next();
      if (i % 8 >= 4 && m_rng() % 2) p[i] = (p[i] & 0x00FFFFFF) | (p[i - 4] & 0xFF000000);
    }
  }
  uint32_t Factor() { return Byte() << 16 | Byte() << 8 | Byte(); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

 private:
  std::mt19937 m_rng;
};

std::vector<const RowKernels*> SimdSets() {
  std::vector<const RowKernels*> sets;
  if (blit_rows::Sse2Rows()) sets.push_back(blit_rows::Sse2Rows());
  if (blit_rows::Avx2Rows()) sets.push_back(blit_rows::Avx2Rows());
  return sets;
}

// Applies one row function of `set` to d (with source s and parameters drawn from `params`).
using RowCall = void (*)(const RowKernels& set, uint32_t* d, const uint32_t* s, size_t n,
                         uint32_t a, uint32_t b);

struct RowFn {
  const char* name;
  RowCall call;
};

const RowFn kRowFns[] = {
    {"copy", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t,
                uint32_t) { k.copy(d, s, n); }},
    {"copyKey", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t,
                   uint32_t) { k.copyKey(d, s, n, kKey); }},
    {"copyKeepAlpha", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n,
                         uint32_t, uint32_t) { k.copyKeepAlpha(d, s, n); }},
    {"copyKeyKeepAlpha", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n,
                            uint32_t, uint32_t) { k.copyKeyKeepAlpha(d, s, n, kKey); }},
    {"blend", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t a,
                 uint32_t b) { k.blend(d, s, n, a, b); }},
    {"blendKey", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t a,
                    uint32_t b) { k.blendKey(d, s, n, a, b, kKey); }},
    {"alpha", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t,
                 uint32_t) { k.alpha(d, s, n); }},
    {"blendAlpha", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t a,
                      uint32_t b) { k.blendAlpha(d, s, n, a, b); }},
    {"add", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t,
               uint32_t) { k.add(d, s, n); }},
    {"addKey", [](const RowKernels& k, uint32_t* d, const uint32_t* s, size_t n, uint32_t,
                  uint32_t) { k.addKey(d, s, n, kKey); }},
    {"addConst", [](const RowKernels& k, uint32_t* d, const uint32_t*, size_t n, uint32_t a,
                    uint32_t b) { k.addConst(d, n, a | (b << 24)); }},
    {"subConst", [](const RowKernels& k, uint32_t* d, const uint32_t*, size_t n, uint32_t a,
                    uint32_t b) { k.subConst(d, n, a | (b << 24)); }},
    {"fade", [](const RowKernels& k, uint32_t* d, const uint32_t*, size_t n, uint32_t a,
                uint32_t) { k.fade(d, n, a % 257); }},
};

TEST(BlitRowsTest, ActiveSetIsTheWidestAvailable) {
  const RowKernels& active = blit_rows::ActiveRows();
  if (blit_rows::Avx2Rows())
    EXPECT_EQ(&active, blit_rows::Avx2Rows());
  else if (blit_rows::Sse2Rows())
    EXPECT_EQ(&active, blit_rows::Sse2Rows());
  else
    EXPECT_EQ(&active, &blit_rows::PlainRows());
}

TEST(BlitRowsTest, SimdRowsMatchThePlainRowsBitForBit) {
  const auto sets = SimdSets();
  ASSERT_FALSE(sets.empty());
  Pixels rng(1234);
  constexpr size_t kPad = 8;
  for (const RowKernels* set : sets) {
    for (const RowFn& fn : kRowFns) {
      for (size_t n = 0; n <= 37; ++n) {
        for (size_t offset = 0; offset < 8; ++offset) {
          std::vector<uint32_t> s(n + kPad), d(n + 2 * kPad);
          rng.FillRow(s.data(), s.size());
          rng.FillRow(d.data(), d.size());
          std::vector<uint32_t> expected = d;
          const uint32_t a = rng.Factor(), b = rng.Factor();
          // Unaligned starts: the rows begin `offset` pixels into their blocks.
          fn.call(blit_rows::PlainRows(), expected.data() + offset, s.data() + kPad - offset, n,
                  a, b);
          fn.call(*set, d.data() + offset, s.data() + kPad - offset, n, a, b);
          ASSERT_EQ(d, expected) << set->name << " " << fn.name << " n=" << n
                                 << " offset=" << offset << std::hex << " a=" << a << " b=" << b;
        }
      }
    }
  }
}

TEST(BlitRowsTest, SimdRowsMatchOnEveryFactorAndRatio) {
  Pixels rng(99);
  std::vector<uint32_t> s(64), d(64);
  rng.FillRow(s.data(), s.size());
  rng.FillRow(d.data(), d.size());
  for (const RowKernels* set : SimdSets()) {
    for (uint32_t f = 0; f < 256; ++f) {
      const uint32_t fs = f * 0x010101, fd = 0xFFFFFF - fs;
      for (const RowFn& fn : kRowFns) {
        std::vector<uint32_t> got = d, expected = d;
        fn.call(blit_rows::PlainRows(), expected.data(), s.data(), s.size(), fd, fs);
        fn.call(*set, got.data(), s.data(), s.size(), fd, fs);
        ASSERT_EQ(got, expected) << set->name << " " << fn.name << " f=" << f;
      }
      std::vector<uint32_t> got = d, expected = d;
      blit_rows::PlainRows().fade(expected.data(), d.size(), 256);
      set->fade(got.data(), d.size(), 256);
      ASSERT_EQ(got, expected) << set->name << " fade 256";
    }
  }
}

// The block functions draw many small blocks in turn: every width up to a few vector widths
// (the two-row pairs of 2-wide blocks, the one-to-three-pixel ends), odd heights, blocks that
// overlap earlier ones (drawn later, on top), rows of different pitches for the two surfaces.
TEST(BlitRowsTest, SimdBlockFunctionsMatchThePlainOnes) {
  constexpr ptrdiff_t kDestPitch = 41, kSourcePitch = 37;
  constexpr int kRows = 24;
  Pixels rng(4321);
  for (const RowKernels* set : SimdSets()) {
    for (int trial = 0; trial < 200; ++trial) {
      std::vector<uint32_t> s(kSourcePitch * kRows), d(kDestPitch * kRows);
      rng.FillRow(s.data(), s.size());
      rng.FillRow(d.data(), d.size());
      std::vector<uint32_t> expected = d;
      std::vector<blit_rows::Block> blocks, expectedBlocks;
      for (int k = 0; k < 60; ++k) {
        const int w = rng.Int(1, 11), h = rng.Int(1, 5);
        const int dx = rng.Int(0, kDestPitch - w), dy = rng.Int(0, kRows - h);
        const int sx = rng.Int(0, kSourcePitch - w), sy = rng.Int(0, kRows - h);
        const uint32_t* from = s.data() + sy * kSourcePitch + sx;
        blocks.push_back({d.data() + dy * kDestPitch + dx, from, uint32_t(w), uint32_t(h)});
        expectedBlocks.push_back({expected.data() + dy * kDestPitch + dx, from, uint32_t(w), uint32_t(h)});
      }
      const uint32_t fd = rng.Factor(), fs = rng.Factor();
      if (trial % 2) {
        blit_rows::PlainRows().alphaBlocks(expectedBlocks.data(), expectedBlocks.size(), kDestPitch, kSourcePitch);
        set->alphaBlocks(blocks.data(), blocks.size(), kDestPitch, kSourcePitch);
      } else {
        blit_rows::PlainRows().blendAlphaBlocks(expectedBlocks.data(), expectedBlocks.size(), kDestPitch,
                                                kSourcePitch, fd, fs);
        set->blendAlphaBlocks(blocks.data(), blocks.size(), kDestPitch, kSourcePitch, fd, fs);
      }
      ASSERT_EQ(d, expected) << set->name << (trial % 2 ? " alphaBlocks" : " blendAlphaBlocks") << " trial "
                             << trial;
    }
  }
}

// Kernels of the packed class running SIMD rows against the same class running plain rows.
enum class Op { Blt, BltFast, Blend, BlendFast, Alpha, BlendAlpha, Add, AddFast, KeepAlpha,
                KeepAlphaFast, Natural, NaturalRatio };

int Apply(CMemPlane& dst, CMemPlane& src, Op op, int x, int y, const RECT* sr, RECT* clip,
          uint32_t fd, uint32_t fs, int ratio) {
  CMemPlaneImpl& d = *dst.GetImpl();
  switch (op) {
    case Op::Blt: return d.Blt(&src, x, y, sr, nullptr, clip);
    case Op::BltFast: return d.BltFast(&src, x, y, sr, nullptr, clip);
    case Op::Blend: return d.BlendBlt(&src, x, y, fd, fs, sr, nullptr, clip);
    case Op::BlendFast: return d.BlendBltFast(&src, x, y, fd, fs, sr, nullptr, clip);
    case Op::Alpha: return d.BltAlpha(&src, x, y, sr, nullptr, clip);
    case Op::BlendAlpha: return d.BlendBltAlpha(&src, x, y, fd, fs, sr, nullptr, clip);
    case Op::Add: return d.AddColorBlt(&src, x, y, sr, nullptr, clip);
    case Op::AddFast: return d.AddColorBltFast(&src, x, y, sr, nullptr, clip);
    case Op::KeepAlpha: return d.BltKeepAlpha(&src, x, y, sr, nullptr, clip);
    case Op::KeepAlphaFast: return d.BltFastKeepAlpha(&src, x, y, sr, nullptr, clip);
    case Op::Natural: return dst.BltNatural(&src, x, y, sr, nullptr, clip);
    case Op::NaturalRatio: return dst.BlendBltNatural(&src, x, y, ratio, sr, nullptr, clip);
  }
  return -1;
}

TEST(BlitRowsTest, SimdKernelsMatchOnEveryClipCase) {
  using surface_util::Kind;
  Pixels rng(77);
  for (const RowKernels* set : SimdSets()) {
    for (int trial = 0; trial < 3000; ++trial) {
      const int sw = rng.Int(1, 40), sh = rng.Int(1, 6);
      const int dw = rng.Int(1, 40), dh = rng.Int(1, 6);
      auto src = surface_util::Make(Kind::Packed, sw, sh);
      auto fast = surface_util::Make(Kind::Packed, dw, dh, 0, set);
      auto plain = surface_util::Make(Kind::Packed, dw, dh, 0, &blit_rows::PlainRows());
      for (int row = 0; row < sh; ++row) rng.FillRow(src->GetImpl()->GetRow(row), sw);
      for (int row = 0; row < dh; ++row) rng.FillRow(fast->GetImpl()->GetRow(row), dw);
      std::copy(fast->GetImpl()->GetPixels(), fast->GetImpl()->GetPixels() + dw * dh,
                plain->GetImpl()->GetPixels());
      src->SetColorKey(0xFF, 0, 0xFF);
      *src->GetImpl()->GetHasAlphaPtr() = rng.Int(0, 1) == 1;
      // Positions and rectangles that cross every edge, or miss the surfaces entirely.
      const int x = rng.Int(-sw - 2, dw + 2), y = rng.Int(-sh - 2, dh + 2);
      RECT sr{rng.Int(-3, sw), rng.Int(-2, sh), 0, 0};
      sr.right = rng.Int(sr.left - 1, sw + 3);
      sr.bottom = rng.Int(sr.top - 1, sh + 2);
      RECT clip{rng.Int(-3, dw), rng.Int(-2, dh), rng.Int(-3, dw + 3), rng.Int(-2, dh + 3)};
      RECT clipCopy = clip;
      const bool useRect = rng.Int(0, 2) > 0, useClip = rng.Int(0, 1) == 1;
      const Op op = static_cast<Op>(rng.Int(0, static_cast<int>(Op::NaturalRatio)));
      const uint32_t fd = rng.Factor(), fs = rng.Factor();
      const int ratio = rng.Int(-2, 258);
      Apply(*fast, *src, op, x, y, useRect ? &sr : nullptr, useClip ? &clip : nullptr, fd, fs,
            ratio);
      Apply(*plain, *src, op, x, y, useRect ? &sr : nullptr, useClip ? &clipCopy : nullptr, fd,
            fs, ratio);
      ASSERT_EQ(surface_util::Pixels(*fast), surface_util::Pixels(*plain))
          << set->name << " trial " << trial << " op " << static_cast<int>(op);
    }
  }
}

TEST(BlitRowsTest, SimdSurfaceEffectsMatchOnEveryRectangle) {
  using surface_util::Kind;
  Pixels rng(5);
  for (const RowKernels* set : SimdSets()) {
    for (int trial = 0; trial < 500; ++trial) {
      const int w = rng.Int(1, 40), h = rng.Int(1, 5);
      auto fast = surface_util::Make(Kind::Packed, w, h, 0, set);
      auto plain = surface_util::Make(Kind::Packed, w, h, 0, &blit_rows::PlainRows());
      for (int row = 0; row < h; ++row) rng.FillRow(fast->GetImpl()->GetRow(row), w);
      std::copy(fast->GetImpl()->GetPixels(), fast->GetImpl()->GetPixels() + w * h,
                plain->GetImpl()->GetPixels());
      const RECT r{rng.Int(-3, w), rng.Int(-2, h), rng.Int(-3, w + 3), rng.Int(-2, h + 3)};
      const RECT* rect = rng.Int(0, 3) ? &r : nullptr;
      const uint32_t colour = rng.Next();
      const int ratio = rng.Int(-5, 300);
      for (CMemPlane* p : {fast.get(), plain.get()}) {
        switch (trial % 3) {
          case 0: p->FadeEffect(ratio, rect); break;
          case 1: p->GetImpl()->AddColor(colour, rect); break;
          case 2: p->GetImpl()->SubColor(colour, rect); break;
        }
      }
      ASSERT_EQ(surface_util::Pixels(*fast), surface_util::Pixels(*plain))
          << set->name << " trial " << trial;
    }
  }
}

}  // namespace
