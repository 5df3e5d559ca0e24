// What holds for every entry of the catalogue: source rectangles inside the source, the same
// calls for the same arguments, and on memory surfaces no pixel touched outside the clip.
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "surface_util.h"
#include "transition_test_util.h"

namespace {

using namespace transition_test;
using surface_util::Kind;

// Runs an entry on recording targets, checking every call on the fly: drawing calls other than
// the whole-source ones must carry a non-empty source rectangle inside the w x h source, and a
// stretched piece a positive size. Gives the number of calls.
size_t CheckCalls(int entry, int w, int h, int phase, int x = 5, int y = 3) {
  RecordingTarget dest(640, 480);
  RecordingTarget source(w, h);
  size_t count = 0;
  dest.onCall = [&](const RecordedCall& c) {
    ++count;
    if (c.op == "MosaicBlt" || c.op == "FlushBlt" || !c.rect) return;
    const RECT& r = *c.rect;
    const bool inside =
        r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h && r.left < r.right && r.top < r.bottom;
    if (!inside)
      ADD_FAILURE() << "entry " << entry << " phase " << phase << " " << w << "x" << h << ": " << c.ToString();
    if (c.hasSize && (c.size[0] <= 0 || c.size[1] <= 0)) ADD_FAILURE() << "entry " << entry << ": " << c.ToString();
  };
  TransitionBltLookup(entry)(&dest, &source, x, y, phase, 0, 0, nullptr);
  return count;
}

TEST(TransitionInvariants, EverySourceRectangleLiesInsideTheSource) {
  Reseed();
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 9}, {33, 20}};
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (auto [w, h] : sizes)
      for (int phase = -1; phase <= 257; ++phase) CheckCalls(entry, w, h, phase);
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int phase : {1, 128, 255}) CheckCalls(entry, 640, 480, phase);
}

TEST(TransitionInvariants, SameArgumentsAndSeedDrawTheSameCalls) {
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int phase : {1, 77, 128, 255}) {
      Reseed(11);
      const Recorded a = Record(entry, {.w = 33, .h = 20, .phase = phase});
      Reseed(11);
      const Recorded b = Record(entry, {.w = 33, .h = 20, .phase = phase});
      ASSERT_EQ(a.calls.size(), b.calls.size()) << entry;
      for (size_t i = 0; i < a.calls.size(); ++i)
        ASSERT_EQ(a.calls[i].ToString(), b.calls[i].ToString()) << entry << " " << phase;
    }
}

// A source whose pixels name their place, with a varied alpha and a colour key that some pixels
// hit, over a destination of a different fill.
std::unique_ptr<CMemPlane> MakeSource(Kind kind, int w, int h) {
  auto s = surface_util::Make(kind, w, h);
  surface_util::Fill(*s, [](int x, int y) {
    return (surface_util::Tag(x, y) & 0x00FFFFFFu) | (uint32_t((x * 37 + y * 11) & 0xFF) << 24);
  });
  s->SetColorKeyPos(0, 0);
  *s->GetImpl()->GetHasAlphaPtr() = true;
  return s;
}

constexpr uint32_t kGround = 0xFF203040u;

TEST(TransitionSurfaces, NothingOutsideTheClipChangesAndPhase256IsAPlainCopy) {
  for (Kind kind : {Kind::Plain, Kind::Packed}) {
    auto source = MakeSource(kind, 33, 20);
    for (int entry = 0; entry < kTransitionCount; ++entry)
      for (int mode = 0; mode < 4; ++mode)
        for (int phase : {1, 64, 128, 200, 255}) {
          auto dest = surface_util::Make(kind, 60, 40, kGround);
          RECT clip{12, 8, 50, 30};
          Reseed();
          TransitionBltLookup(entry)(dest.get(), source.get(), 10, 5, phase, mode, 200, &clip);
          for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
              if (x >= 12 && x < 50 && y >= 8 && y < 30) continue;
              ASSERT_EQ(surface_util::At(*dest, x, y), kGround)
                  << surface_util::Name(kind) << " entry " << entry << " mode " << mode << " phase " << phase << " at "
                  << x << "," << y;
            }
          // Unclipped and partly off the destination: the sanitizers watch the writes.
          TransitionBltLookup(entry)(dest.get(), source.get(), -7, 25, phase, mode, 200, nullptr);
        }
    for (int entry = 0; entry < kTransitionCount; ++entry) {
      auto dest = surface_util::Make(kind, 60, 40, kGround);
      auto expected = surface_util::Make(kind, 60, 40, kGround);
      expected->BltFast(source.get(), 10, 5, nullptr, nullptr, nullptr);
      TransitionBltLookup(entry)(dest.get(), source.get(), 10, 5, 256, 0, 0, nullptr);
      ASSERT_EQ(surface_util::Pixels(*dest), surface_util::Pixels(*expected)) << entry;
    }
  }
}

// Which destination pixels an entry changed from the ground, for a source with no pixel equal to
// the ground.
std::vector<bool> Changed(const CMemPlane& dest) {
  std::vector<bool> out;
  for (uint32_t p : surface_util::Pixels(dest)) out.push_back(p != kGround);
  return out;
}

TEST(TransitionSurfaces, CentreSquareAndBlindsRevealExactlyTheirArea) {
  auto source = MakeSource(Kind::Packed, 64, 48);
  {
    auto dest = surface_util::Make(Kind::Packed, 80, 60, kGround);
    TransSquareCentre(dest.get(), source.get(), 8, 6, 128, 0, 0, nullptr);  // s = 32
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) {
        const int sx = x - 8, sy = y - 6;
        const bool inside = sx >= 16 && sx < 48 && sy >= 8 && sy < 40;
        ASSERT_EQ(surface_util::At(*dest, x, y), inside ? surface_util::At(*source, sx, sy) : kGround) << x << "," << y;
      }
  }
  {
    auto dest = surface_util::Make(Kind::Packed, 80, 60, kGround);
    TransBlindsX8(dest.get(), source.get(), 8, 6, 64, 0, 0, nullptr);  // s = 2: x & 7 <= 2
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) {
        const int sx = x - 8, sy = y - 6;
        const bool inside = sx >= 0 && sx < 64 && sy >= 0 && sy < 48 && (sx & 7) <= 2;
        ASSERT_EQ(surface_util::At(*dest, x, y), inside ? surface_util::At(*source, sx, sy) : kGround) << x << "," << y;
      }
  }
}

TEST(TransitionSurfaces, OnePassEffectsEqualTheSurfaceOperations) {
  for (Kind kind : {Kind::Plain, Kind::Packed}) {
    auto source = MakeSource(kind, 33, 20);
    auto fresh = [&] { return surface_util::Make(kind, 50, 30, kGround); };
    const struct {
      const char* name;
      std::function<int(CMemPlane&)> effect;
      std::function<void(CMemPlane&)> expected;
    } cases[] = {
        {"cross-fade at 128, mode 0",
         [&](CMemPlane& d) { return TransCrossFade(&d, source.get(), 4, 3, 128, 0, 9, nullptr); },
         [&](CMemPlane& d) { d.BlendBltFastRatio(source.get(), 4, 3, 128, nullptr, nullptr, nullptr); }},
        {"cross-fade at 128, mode 2 ignores alpha",
         [&](CMemPlane& d) { return TransCrossFade(&d, source.get(), 4, 3, 128, 2, 9, nullptr); },
         [&](CMemPlane& d) { d.BlendBltAlphaRatio(source.get(), 4, 3, 128, nullptr, nullptr, nullptr); }},
        // The memory surface's natural blend still blends at 255.
        {"cross-fade at 255, mode 3",
         [&](CMemPlane& d) { return TransCrossFade(&d, source.get(), 4, 3, 255, 3, 9, nullptr); },
         [&](CMemPlane& d) { d.BlendBltNatural(source.get(), 4, 3, 255, nullptr, nullptr, nullptr); }},
        {"invert", [&](CMemPlane& d) { return TransInvert(&d, source.get(), 4, 3, 100, 0, 0, nullptr); },
         [&](CMemPlane& d) {
           d.BltFast(source.get(), 4, 3, nullptr, nullptr, nullptr);
           const RECT r{4, 3, 37, 23};
           d.FlushBlt(&r);
         }},
        {"mosaic at 200", [&](CMemPlane& d) { return TransMosaic(&d, source.get(), 4, 3, 200, 0, 0, nullptr); },
         [&](CMemPlane& d) {
           d.BltFast(source.get(), 4, 3, nullptr, nullptr, nullptr);
           const RECT r{4, 3, 37, 23};
           d.MosaicBlt(14, &r);
         }},
    };
    for (const auto& c : cases) {
      auto got = fresh(), want = fresh();
      EXPECT_EQ(c.effect(*got), 0) << c.name;
      c.expected(*want);
      EXPECT_EQ(surface_util::Pixels(*got), surface_util::Pixels(*want)) << c.name;
      EXPECT_NE(Changed(*got), Changed(*fresh())) << c.name;
    }
    // Blending at 255 is not the plain natural blit on a memory surface.
    auto blended = fresh(), plain = fresh();
    TransCrossFade(blended.get(), source.get(), 4, 3, 255, 3, 0, nullptr);
    plain->BltNatural(source.get(), 4, 3, nullptr, nullptr, nullptr);
    EXPECT_NE(surface_util::Pixels(*blended), surface_util::Pixels(*plain));
  }
}

TEST(TransitionHostile, ExtremeArgumentsOnMemorySurfaces) {
  auto source = MakeSource(Kind::Packed, 17, 9);
  auto wide = surface_util::Make(Kind::Packed, 1 << 20, 1, 0xFF00FF00u);
  ASSERT_EQ(wide->GetImpl()->Width(), 1 << 20);
  RECT outside{100, 100, 200, 200};
  RECT inverted{30, 30, 10, 10};
  for (int entry = 0; entry < kTransitionCount; ++entry) {
    const TransitionBltFunc f = TransitionBltLookup(entry);
    auto dest = surface_util::Make(Kind::Packed, 40, 30, kGround);
    for (int phase : {INT_MIN, INT_MAX, 1, 128, 255})
      for (int mode : {-1, 0, 2, 3, 4})
        for (int alpha : {-5, 300}) f(dest.get(), source.get(), 3, 2, phase, mode, alpha, nullptr);
    for (int xy : {INT_MIN, INT_MIN + 5, INT_MAX - 5, INT_MAX})
      for (int phase : {1, 128, 255}) {
        f(dest.get(), source.get(), xy, 2, phase, 0, 0, nullptr);
        f(dest.get(), source.get(), 2, xy, phase, 3, 0, nullptr);
        f(dest.get(), source.get(), xy, xy, phase, 1, 0, nullptr);
      }
    EXPECT_EQ(f(nullptr, source.get(), 0, 0, 128, 0, 0, nullptr), -1);
    EXPECT_EQ(f(dest.get(), nullptr, 0, 0, 128, 0, 0, nullptr), -1);

    auto untouched = surface_util::Make(Kind::Packed, 40, 30, kGround);
    for (RECT* clip : {&outside, &inverted}) {
      RECT c = *clip;
      Reseed();
      f(untouched.get(), source.get(), 3, 2, 128, 0, 0, &c);
    }
    EXPECT_EQ(Changed(*untouched), Changed(*surface_util::Make(Kind::Packed, 40, 30, kGround))) << entry;

    auto small = surface_util::Make(Kind::Packed, 64, 8, kGround);
    f(small.get(), wide.get(), -(1 << 19), 2, 128, 0, 0, nullptr);
    f(small.get(), wide.get(), 0, 2, 255, 3, 0, nullptr);
  }
}

// Sums that outgrow 32 bits on a 2^20-wide source give the values the formulas give.
TEST(TransitionHostile, LargeSourcesKeepTheirGeometry) {
  const int w = 1 << 20;
  {
    // Half a turn mirrors every cell corner through the centre.
    const Recorded r = Record(62, {.w = w, .h = 4, .x = 0, .y = 0, .phase = 128});
    ASSERT_EQ(r.calls.size(), size_t(w / 4));
    for (const RecordedCall& c : r.calls) ASSERT_EQ(c.x, 2 * (w / 2) - c.rect->left);
  }
  {
    // D = 1044480: D * D / 4 and the chord need 64 bits.
    const Recorded r = Record(28, {.w = w, .h = 1, .x = 0, .y = 0, .phase = 255});
    ASSERT_EQ(r.calls.size(), 1u);
    EXPECT_EQ(r.calls[0].ToString(), "BltFast src=2048,0,1046528,1 at=2048,0 clip=-");
  }
  {
    // Cells right of the centre fly in from the right, left of it from the left.
    const Recorded r = Record(56, {.w = w, .h = 2, .x = 0, .y = 0, .phase = 1});
    for (const RecordedCall& c : r.calls) {
      const int64_t dx = int64_t{c.x} - c.rect->left;
      if (c.rect->left > w / 2) {
        ASSERT_GE(dx, 0) << c.rect->left;
      }
      if (c.rect->left < w / 2) {
        ASSERT_LE(dx, 0) << c.rect->left;
      }
    }
  }
  {
    const Recorded r = Record(60, {.w = w, .h = 2, .x = 0, .y = 0, .phase = 64});
    for (const RecordedCall& c : r.calls) {
      const int64_t dx = int64_t{c.x} - c.rect->left;
      if (c.rect->left > w / 2) {
        ASSERT_GE(dx, 0) << c.rect->left;
      }
    }
  }
  {
    // Pieces whose destination point leaves int are skipped, not wrapped.
    const Recorded r = Record(0, {.w = 13, .h = 7, .x = INT_MAX - 5, .y = 0, .phase = 9});
    ASSERT_EQ(r.calls.size(), 6u);
    for (const RecordedCall& c : r.calls) EXPECT_GE(c.x, INT_MAX - 5);
  }
}

}  // namespace
