// The memory surface: storage, colour keys, queries, the natural blits and their ratio rules,
// anchored blits and sources that are not memory surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "surface_util.h"

using surface_util::Kind;

namespace {

TEST(MemPlaneTest, CreateResizeAndRelease) {
  CMemPlane p;
  EXPECT_EQ(p.GetType(), 2);
  int w = -1, h = -1;
  p.GetSize(&w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(p.Create(0, 5, 0), 1);
  EXPECT_EQ(p.Create(5, -1, 0), 1);
  EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
  ASSERT_EQ(p.Create(3, 2, 0), 0);
  p.GetSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(p.GetImpl()->GetPitch(), 12);
  EXPECT_FALSE(p.IsLoaded());
  for (uint32_t px : surface_util::Pixels(p)) EXPECT_EQ(px, 0u);
  p.GetImpl()->GetRow(1)[2] = 9;
  EXPECT_EQ(p.GetImpl()->Resize(3, 2), 0);
  EXPECT_EQ(surface_util::At(p, 2, 1), 9u);
  EXPECT_EQ(p.GetImpl()->Resize(4, 2), 0);
  for (uint32_t px : surface_util::Pixels(p)) EXPECT_EQ(px, 0u);
  p.Release();
  p.GetSize(&w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
}

TEST(MemPlaneTest, RefusesSizesBeyondTheCaps) {
  CMemPlane p;
  const struct {
    int w, h;
  } kTooLarge[] = {{CMemPlaneImpl::kMaxSide + 1, 1},
                   {1, CMemPlaneImpl::kMaxSide + 1},
                   {8192, 8193},
                   {0x7FFFFFFF, 0x7FFFFFFF}};
  for (const auto& s : kTooLarge) {
    ASSERT_EQ(p.Create(4, 4, 0), 0);
    EXPECT_EQ(p.Create(s.w, s.h, 0), 1) << s.w << "x" << s.h;
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
    EXPECT_EQ(p.GetImpl()->Clear(0, nullptr), 1);
  }
}

TEST(MemPlaneTest, ClearIsClippedToTheSurface) {
  CMemPlane p;
  EXPECT_EQ(p.Clear(nullptr), 1);
  ASSERT_EQ(p.Create(4, 3, 0), 0);
  const RECT r{-2, -2, 2, 2};
  EXPECT_EQ(p.GetImpl()->Clear(7, &r), 0);
  const RECT far{10, 10, 20, 20};
  EXPECT_EQ(p.GetImpl()->Clear(8, &far), 0);
  const RECT inverted{3, 0, 1, 3};
  EXPECT_EQ(p.GetImpl()->Clear(8, &inverted), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(surface_util::At(p, x, y), x < 2 && y < 2 ? 7u : 0u);
  // Colour -1 is the fill colour, 0.
  EXPECT_EQ(p.Clear(nullptr), 0);
  for (uint32_t px : surface_util::Pixels(p)) EXPECT_EQ(px, 0u);
}

// Making a surface again may keep its storage; what it held before must not show through.
TEST(MemPlaneTest, MakingASurfaceAgainStartsClear) {
  const struct {
    int w1, h1, w2, h2;
  } kCases[] = {{760, 505, 760, 505}, {40, 30, 30, 40}, {40, 30, 39, 30}, {40, 30, 8, 8}, {8, 8, 40, 30}};
  for (const auto& c : kCases) {
    CMemPlane p;
    ASSERT_EQ(p.Create(c.w1, c.h1, 0), 0);
    surface_util::Fill(p, [](int x, int y) { return 0x80000000u | uint32_t(x * 131 + y); });
    *p.GetImpl()->GetHasAlphaPtr() = true;
    ASSERT_EQ(p.Create(c.w2, c.h2, 0), 0);
    int w = 0, h = 0;
    p.GetSize(&w, &h);
    EXPECT_EQ(w, c.w2);
    EXPECT_EQ(h, c.h2);
    EXPECT_EQ(p.GetImpl()->GetPitch(), c.w2 * 4);
    EXPECT_FALSE(p.HasAlpha());
    const std::vector<uint32_t> pixels = surface_util::Pixels(p);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), static_cast<long>(pixels.size()))
        << c.w1 << "x" << c.h1 << " -> " << c.w2 << "x" << c.h2;
  }
}

TEST(MemPlaneTest, SwapPixelsExchangesImagesAndKeepsKeys) {
  CMemPlane a, b;
  ASSERT_EQ(a.Create(3, 2, 0), 0);
  ASSERT_EQ(b.Create(5, 1, 0), 0);
  surface_util::Fill(a, [](int x, int y) { return 0x11000000u | uint32_t(x + 10 * y); });
  surface_util::Fill(b, [](int x, int) { return 0x22000000u | uint32_t(x); });
  *a.GetImpl()->GetHasAlphaPtr() = true;
  a.SetColorKey(1, 2, 3);
  b.SetColorKey(4, 5, 6);
  a.GetImpl()->SwapPixels(*b.GetImpl());
  int w = 0, h = 0;
  a.GetSize(&w, &h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(a.GetImpl()->GetPitch(), 20);
  EXPECT_FALSE(a.HasAlpha());
  EXPECT_EQ(surface_util::At(a, 4, 0), 0x22000004u);
  b.GetSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_TRUE(b.HasAlpha());
  EXPECT_EQ(surface_util::At(b, 2, 1), 0x1100000Cu);
  EXPECT_EQ(a.GetImpl()->GetColorKey(), 0x010203u);
  EXPECT_EQ(b.GetImpl()->GetColorKey(), 0x040506u);
  // With an empty surface: the image moves, the other is left empty.
  CMemPlane empty;
  empty.GetImpl()->SwapPixels(*b.GetImpl());
  empty.GetSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(surface_util::At(empty, 2, 1), 0x1100000Cu);
  EXPECT_EQ(b.GetImpl()->GetPixels(), nullptr);
  b.GetSize(&w, &h);
  EXPECT_EQ(w, 0);
  ASSERT_EQ(b.Create(2, 2, 0), 0);  // an emptied surface is made again as usual
  for (uint32_t px : surface_util::Pixels(b)) EXPECT_EQ(px, 0u);
}

// Rows are filled in runs of every length: a colour of four equal bytes, and one of four different
// bytes over rectangles narrower and wider than the surface and through its edges.
TEST(MemPlaneTest, ClearFillsExactlyTheClippedRectangle) {
  const uint32_t kColours[] = {0x00000000u, 0xFFFFFFFEu, 0x12345678u, 0x7F7F7F7Fu};
  const RECT kRects[] = {{0, 0, 101, 7}, {1, 1, 100, 6}, {17, 2, 18, 3}, {-5, 3, 50, 99}, {33, -1, 200, 4}, {0, 0, 1, 1}};
  for (const uint32_t colour : kColours) {
    for (const RECT& r : kRects) {
      CMemPlane p;
      ASSERT_EQ(p.Create(101, 7, 0), 0);
      surface_util::Fill(p, [](int x, int y) { return 0xA5000000u | uint32_t(x + 1000 * y); });
      ASSERT_EQ(p.GetImpl()->Clear(colour, &r), 0);
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 101; ++x) {
          const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
          ASSERT_EQ(surface_util::At(p, x, y), inside ? colour : (0xA5000000u | uint32_t(x + 1000 * y)))
              << std::hex << colour << std::dec << " at " << x << "," << y << " rect " << r.left << "," << r.top
              << "," << r.right << "," << r.bottom;
        }
      }
    }
  }
}

TEST(MemPlaneTest, ColourKeys) {
  auto p = surface_util::Make(Kind::Packed, 2, 2);
  surface_util::Fill(*p, [](int x, int y) { return 0xAB000000u + x + 16 * y; });
  EXPECT_EQ(p->SetColorKey(0x12, 0x34, 0x56), 0);
  EXPECT_EQ(p->GetImpl()->GetColorKey(), 0x123456u);
  EXPECT_EQ(p->SetColorKeyPos(2, 0), 1);
  EXPECT_EQ(p->SetColorKeyPos(0, -1), 1);
  EXPECT_EQ(p->GetImpl()->GetColorKey(), 0x123456u);
  EXPECT_EQ(p->SetColorKeyPos(1, 1), 0);
  EXPECT_EQ(p->GetImpl()->GetColorKey(), 0x000011u);
  // The key survives a release.
  p->Release();
  EXPECT_EQ(p->GetImpl()->GetColorKey(), 0x000011u);
}

TEST(MemPlaneTest, PixelAlpha) {
  auto p = surface_util::Make(Kind::Packed, 3, 1);
  surface_util::Fill(*p, [](int x, int) {
    const uint32_t v[] = {0x00FF00FF, 0xFFFF00FF, 0x7F102030};
    return v[x];
  });
  p->SetColorKey(0xFF, 0, 0xFF);
  const struct {
    bool alpha;
    int x, y, expected;
  } kCases[] = {
      {false, 0, 0, 0},   {false, 1, 0, 255}, {false, 2, 0, 255},
      {false, 3, 0, 0},   {false, -1, 0, 0},  {true, 0, 0, 0},
      {true, 1, 0, 255},  {true, 2, 0, 0x7F}, {true, 0, 1, 0},
  };
  for (const auto& c : kCases) {
    *p->GetImpl()->GetHasAlphaPtr() = c.alpha;
    EXPECT_EQ(p->HasAlpha(), c.alpha);
    EXPECT_EQ(p->GetPixelAlpha(c.x, c.y), c.expected) << c.alpha << " " << c.x << "," << c.y;
  }
}

// BlendBltNatural of a memory surface: 0 and below draw nothing, 256 and above are BltNatural,
// anything between blends with source weight ratio/256.
TEST(MemPlaneTest, NaturalBlendRatios) {
  const struct {
    bool alpha;
    uint32_t s;
    int ratio;
    uint32_t plain, packed;
  } kCases[] = {
      {false, 0xFFFFFFFF, -5, 0xFF808080, 0xFF808080},
      {false, 0xFFFFFFFF, 0, 0xFF808080, 0xFF808080},
      {false, 0xFFFFFFFF, 1, 0x007F7F7F, 0x007F7F7F},
      {false, 0xFFFFFFFF, 128, 0x00BEBEBE, 0x00BEBEBE},
      {false, 0xFFFFFFFF, 255, 0x00FEFEFE, 0x00FEFEFE},
      {false, 0xFFFFFFFF, 256, 0xFFFFFFFF, 0xFFFFFFFF},
      {false, 0xFFFFFFFF, 100000, 0xFFFFFFFF, 0xFFFFFFFF},
      {true, 0x80FFFFFF, 0, 0xFF808080, 0xFF808080},
      {true, 0x80FFFFFF, 128, 0x009E9E9E, 0x009E9E9E},
      {true, 0x80FFFFFF, 256, 0x00BEBEBE, 0x00BFBFBF},
      {true, 0x80FFFFFF, 0x10000, 0x00BEBEBE, 0x00BFBFBF},
  };
  for (Kind kind : {Kind::Plain, Kind::Packed}) {
    for (const auto& c : kCases) {
      auto src = surface_util::Make(kind, 5, 1, c.s);
      *src->GetImpl()->GetHasAlphaPtr() = c.alpha;
      src->SetColorKey(1, 2, 3);
      for (bool simple : {false, true}) {
        if (simple && !c.alpha) continue;
        auto dst = surface_util::Make(kind, 5, 1, 0xFF808080);
        EXPECT_EQ(simple ? dst->BlendBltAlphaSimple(src.get(), 0, 0, c.ratio)
                         : dst->BlendBltNatural(src.get(), 0, 0, c.ratio, nullptr, nullptr,
                                                nullptr),
                  0);
        const uint32_t expected = kind == Kind::Plain ? c.plain : c.packed;
        for (uint32_t px : surface_util::Pixels(*dst))
          EXPECT_EQ(px, expected) << surface_util::Name(kind) << " ratio " << c.ratio
                                  << (simple ? " simple" : "");
      }
    }
  }
}

TEST(MemPlaneTest, NaturalBlitFollowsTheSourcesAlpha) {
  auto src = surface_util::Make(Kind::Packed, 2, 1);
  surface_util::Fill(*src, [](int x, int) { return x ? 0x00123456u : 0x80FFFFFFu; });
  src->SetColorKey(0x12, 0x34, 0x56);
  auto dst = surface_util::Make(Kind::Packed, 2, 1, 0xFF000000);
  dst->BltNatural(src.get(), 0, 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(surface_util::At(*dst, 0, 0), 0x80FFFFFFu);
  EXPECT_EQ(surface_util::At(*dst, 1, 0), 0xFF000000u);
  *src->GetImpl()->GetHasAlphaPtr() = true;
  dst->GetImpl()->Clear(0xFF000000, nullptr);
  dst->BltNatural(src.get(), 0, 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(surface_util::At(*dst, 0, 0), 0x007F7F7Fu);
  EXPECT_EQ(surface_util::At(*dst, 1, 0), 0u);
}

TEST(MemPlaneTest, AlignedBlits) {
  auto src = surface_util::Make(Kind::Packed, 5, 5, 0xFF0000FF);
  const struct {
    int mode;
    int left, top;
  } kModes[] = {{0, 8, 8}, {1, 10, 10}, {2, 5, 10}, {3, 10, 5}, {4, 5, 5}};
  for (const auto& m : kModes) {
    auto dst = surface_util::Make(Kind::Packed, 20, 20);
    EXPECT_EQ(dst->BltAligned(src.get(), 10, 10, m.mode, 256), 0);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= m.left && x < m.left + 5 && y >= m.top && y < m.top + 5;
        ASSERT_EQ(surface_util::At(*dst, x, y), inside ? 0xFF0000FFu : 0u) << "mode " << m.mode;
      }
  }
  auto dst = surface_util::Make(Kind::Packed, 20, 20);
  EXPECT_EQ(dst->BltAligned(src.get(), 10, 10, 5, 256), -2);
  EXPECT_EQ(dst->BltAligned(src.get(), 10, 10, -1, 256), -2);
  EXPECT_EQ(dst->BltAligned(nullptr, 10, 10, 0, 256), -1);
  for (uint32_t px : surface_util::Pixels(*dst)) EXPECT_EQ(px, 0u);
}

// A drawing target that is not a memory surface and records what the interface defaults call.
class Recorder : public CDrawTarget {
 public:
  std::vector<std::string> calls;
  bool alpha = false;
  int Blt(CDrawTarget*, int, int, const RECT*, const int*, RECT*) override {
    calls.push_back("Blt");
    return 0;
  }
  int BltFast(CDrawTarget*, int, int, const RECT*, const int*, RECT*) override { return 0; }
  int BlendBlt(CDrawTarget*, int, int, uint32_t fd, uint32_t fs, const RECT*, const int*,
               RECT*) override {
    calls.push_back("BlendBlt " + std::to_string(fd) + " " + std::to_string(fs));
    return 0;
  }
  int BlendBltFast(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*, const int*,
                   RECT*) override {
    return 0;
  }
  int BlendBltAlpha(CDrawTarget*, int, int, uint32_t fd, uint32_t fs, const RECT*, const int*,
                    RECT*) override {
    calls.push_back("BlendBltAlpha " + std::to_string(fd) + " " + std::to_string(fs));
    return 0;
  }
  int BltAlpha(CDrawTarget*, int, int, const RECT*, const int*, RECT*) override {
    calls.push_back("BltAlpha");
    return 0;
  }
  int BlendBltAlphaSimple(CDrawTarget*, int, int, int) override { return 0; }
  int MosaicBlt(int, const RECT*) override { return 0; }
  int FlushBlt(const RECT*) override { return 0; }
  void GetSize(int* w, int* h) const override { *w = *h = 2; }
  bool IsLoaded() const override { return false; }
  bool HasAlpha() const override { return alpha; }
  int Clear(const RECT*) override { return 0; }
  int Load(std::string_view, int, double) override { return 1; }
  int LoadByDepth(std::string_view, std::string_view, int) override { return 1; }
  void Release() override {}
  int SetColorKey(int, int, int) override { return 0; }
  int SetColorKeyPos(int, int) override { return 0; }
};

TEST(DrawTargetTest, DefaultNaturalBlendCountsRatio255AsOpaque) {
  const struct {
    bool alpha;
    int ratio;
    const char* call;
  } kCases[] = {
      {false, 255, "Blt"},
      {false, 300, "Blt"},
      {true, 255, "BltAlpha"},
      {false, 254, "BlendBlt 65793 16711422"},
      {true, 1, "BlendBltAlpha 16711422 65793"},
      {false, 0, "BlendBlt 16777215 0"},
      {false, -1, nullptr},
  };
  for (const auto& c : kCases) {
    Recorder target, source;
    source.alpha = c.alpha;
    EXPECT_EQ(target.BlendBltNatural(&source, 0, 0, c.ratio, nullptr, nullptr, nullptr), 0);
    if (c.call == nullptr) {
      EXPECT_TRUE(target.calls.empty()) << c.ratio;
    } else {
      ASSERT_EQ(target.calls.size(), 1u) << c.ratio;
      EXPECT_EQ(target.calls[0], c.call);
    }
  }
  Recorder target, source;
  EXPECT_EQ(target.GetPixelAlpha(1, 1), 255);
  EXPECT_EQ(target.GetPixelAlpha(2, 1), 0);
  EXPECT_EQ(target.Create(1, 1, 0), 1);
}

TEST(MemPlaneTest, SourcesThatAreNotMemorySurfacesDrawNothing) {
  Recorder other;
  other.alpha = true;
  auto dst = surface_util::Make(Kind::Packed, 2, 2, 3);
  EXPECT_NE(dst->Blt(&other, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BltFast(&other, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BlendBlt(&other, 0, 0, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BlendBltFast(&other, 0, 0, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BlendBltAlpha(&other, 0, 0, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BltAlpha(&other, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BltNatural(&other, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BlendBltNatural(&other, 0, 0, 128, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->BlendBltAlphaSimple(&other, 0, 0, 128), 0);
  EXPECT_NE(dst->BlendBltRatio(&other, 0, 0, 128, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(dst->Blt(nullptr, 0, 0, nullptr, nullptr, nullptr), 0);
  for (uint32_t px : surface_util::Pixels(*dst)) EXPECT_EQ(px, 3u);
  EXPECT_TRUE(other.calls.empty());
}

TEST(MemPlaneTest, LoadByDepthIsNotSupported) {
  CMemPlane p;
  EXPECT_EQ(p.LoadByDepth("a.bmp", "b.bmp", 0), 1);
}

TEST(MemPlaneTest, KernelClassFollowsTheProcessor) {
  CMemPlane p;
  EXPECT_NE(dynamic_cast<CMemPlaneMMX*>(p.GetImpl()), nullptr);
}

}  // namespace
