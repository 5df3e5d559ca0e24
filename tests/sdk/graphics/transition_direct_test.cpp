// Between two memory surfaces the effects draw their pieces straight through the destination's
// kernels. The piece-by-piece path through the drawing interface stays the reference: a surface of
// a class derived from CMemPlane takes it, and both must leave the same pixels and the same clip.
#include <gtest/gtest.h>
#include <random>

#include "surface_util.h"
#include "transition_test_util.h"

namespace {

using namespace transition_test;

constexpr uint32_t kKeyColour = 0x00123456;

// The same surface, but not the exact memory-surface class: the effects draw it piece by piece
// through its virtual operations.
class ReferencePlane : public CMemPlane {
 public:
  using CMemPlane::CMemPlane;
};

// Random pixels; with `picture` set, as a picture with alpha is: mostly opaque or clear, some
// pixels between, and some of the colour key.
std::unique_ptr<CMemPlane> Make(bool reference, surface_util::Kind kind, int w, int h, uint32_t seed,
                                bool picture = false) {
  std::unique_ptr<CMemPlaneImpl> impl;
  if (kind == surface_util::Kind::Plain)
    impl = std::make_unique<CMemPlaneX86>();
  else
    impl = std::make_unique<CMemPlaneMMX>(blit_rows::ActiveRows());
  std::unique_ptr<CMemPlane> p =
      reference ? std::make_unique<ReferencePlane>(std::move(impl)) : std::make_unique<CMemPlane>(std::move(impl));
  p->Create(w, h, 0);
  std::mt19937 rng(seed);
  surface_util::Fill(*p, [&](int, int) {
    const uint32_t v = rng();
    if (!picture) return v;
    switch (v % 8) {
      case 0:
        return kKeyColour;
      case 1:
      case 2:
        return v & 0x00FFFFFF;
      case 3:
        return v;
      default:
        return v | 0xFF000000;
    }
  });
  return p;
}

struct Call {
  int entry, x, y, phase, mode, alpha;
  const RECT* clip;  // null: none
  uint32_t seed;     // of the transitions' generator
};

// The call through the surface path and through the piece-by-piece path, from the same random
// state, on surfaces made alike: the same result, pixels and clip, and as many random draws.
void ExpectBothPathsAlike(const Call& c, CMemPlane& dest, CMemPlane& source, CMemPlane& destRef,
                          CMemPlane& sourceRef, const std::string& where) {
  RECT clip = c.clip ? *c.clip : RECT{}, clipRef = clip;
  Reseed(c.seed);
  const int got = TransitionBltLookup(c.entry)(&dest, &source, c.x, c.y, c.phase, c.mode, c.alpha,
                                               c.clip ? &clip : nullptr);
  const int nextAfter = TransitionRandom();
  Reseed(c.seed);
  const int want = TransitionBltLookup(c.entry)(&destRef, &sourceRef, c.x, c.y, c.phase, c.mode, c.alpha,
                                                c.clip ? &clipRef : nullptr);
  const int nextAfterRef = TransitionRandom();
  const std::string what = where + ": entry " + std::to_string(c.entry) + " mode " + std::to_string(c.mode) +
                           " phase " + std::to_string(c.phase);
  ASSERT_EQ(got, want) << what;
  ASSERT_EQ(surface_util::Pixels(dest), surface_util::Pixels(destRef)) << what;
  ASSERT_EQ(clip.left, clipRef.left) << what;
  ASSERT_EQ(clip.top, clipRef.top) << what;
  ASSERT_EQ(clip.right, clipRef.right) << what;
  ASSERT_EQ(clip.bottom, clipRef.bottom) << what;
  ASSERT_EQ(nextAfter, nextAfterRef) << what;
}

TEST(TransitionDirect, SurfacePathDrawsWhatThePieceByPiecePathDraws) {
  std::mt19937 rng(7);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 6000; ++round) {
    const auto kind = pick(0, 1) ? surface_util::Kind::Packed : surface_util::Kind::Plain;
    const int entry = pick(0, kTransitionCount - 1);
    const int sw = pick(1, 40), sh = pick(1, 30), dw = pick(1, 50), dh = pick(1, 40);
    const int phase = pick(0, 3) == 0 ? pick(-2, 258) : pick(1, 255);
    const int mode = pick(0, 4) == 0 ? pick(-1, 4) : pick(0, 3) == 0 ? 0 : pick(0, 3);
    const int x = pick(-20, 50), y = pick(-20, 40), alpha = pick(-10, 300);
    const uint32_t seed = uint32_t(rng());
    const int clipKind = pick(0, 2);
    const RECT clip{pick(-10, 30), pick(-10, 30), pick(-10, 60), pick(-10, 50)};

    auto source = Make(false, kind, sw, sh, seed);
    auto sourceRef = Make(true, kind, sw, sh, seed);
    source->SetColorKeyPos(0, 0);
    sourceRef->SetColorKeyPos(0, 0);
    const bool alphaSource = pick(0, 1);
    *source->GetImpl()->GetHasAlphaPtr() = alphaSource;
    *sourceRef->GetImpl()->GetHasAlphaPtr() = alphaSource;
    auto dest = Make(false, kind, dw, dh, seed + 1);
    auto destRef = Make(true, kind, dw, dh, seed + 1);

    const Call call{entry, x, y, phase, mode, alpha, clipKind ? &clip : nullptr, seed};
    ASSERT_NO_FATAL_FAILURE(ExpectBothPathsAlike(call, *dest, *source, *destRef, *sourceRef,
                                                 "round " + std::to_string(round)));
  }
}

// Every entry in every mode at phases across the range, on sources large enough for every cell
// size and every column and row drawer, against the piece-by-piece path: the same pixels, clip,
// result and random draws. The source is a picture with alpha and key-coloured pixels (without
// alpha at one phase); the destination is offset so that pieces are cut at its edges, with and without a clip.
TEST(TransitionDirect, EveryEntryModeAndPhaseDrawsWhatThePieceByPiecePathDraws) {
  struct Clip {
    const char* name;
    bool on;
    RECT rect;
  };
  const Clip clips[] = {{"no clip", false, {}}, {"clip", true, {7, -3, 58, 41}}};
  for (const auto kind : {surface_util::Kind::Plain, surface_util::Kind::Packed})
    for (const Clip& c : clips)
      for (int entry = 0; entry < kTransitionCount; ++entry)
        for (int mode = 0; mode <= 3; ++mode)
          for (int phase : {1, 37, 128, 200, 255}) {
            const uint32_t seed = uint32_t(entry * 1000 + mode * 300 + phase);
            auto source = Make(false, kind, 61, 45, seed, true);
            auto sourceRef = Make(true, kind, 61, 45, seed, true);
            for (CMemPlane* s : {source.get(), sourceRef.get()}) {
              s->SetColorKey(0x12, 0x34, 0x56);
              // At one phase mode 3 meets a source without alpha: the keyed copy.
              *s->GetImpl()->GetHasAlphaPtr() = phase != 37;
            }
            auto dest = Make(false, kind, 66, 50, seed + 1);
            auto destRef = Make(true, kind, 66, 50, seed + 1);
            const Call call{entry, -4, 6, phase, mode, 150, c.on ? &c.rect : nullptr, seed};
            ASSERT_NO_FATAL_FAILURE(ExpectBothPathsAlike(call, *dest, *source, *destRef, *sourceRef,
                                                         std::string(surface_util::Name(kind)) + ", " + c.name));
          }
}

}  // namespace
