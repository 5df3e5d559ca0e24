// Between two memory surfaces the effects draw their pieces straight through the destination's
// kernels. The piece-by-piece path through the drawing interface stays the reference: a surface of
// a class derived from CMemPlane takes it, and both must leave the same pixels and the same clip.
#include <gtest/gtest.h>
#include <random>

#include "surface_util.h"
#include "transition_test_util.h"

namespace {

using namespace transition_test;

// The same surface, but not the exact memory-surface class: the effects draw it piece by piece
// through its virtual operations.
class ReferencePlane : public CMemPlane {
 public:
  using CMemPlane::CMemPlane;
};

std::unique_ptr<CMemPlane> Make(bool reference, surface_util::Kind kind, int w, int h, uint32_t seed) {
  std::unique_ptr<CMemPlaneImpl> impl;
  if (kind == surface_util::Kind::Plain)
    impl = std::make_unique<CMemPlaneX86>();
  else
    impl = std::make_unique<CMemPlaneMMX>(blit_rows::ActiveRows());
  std::unique_ptr<CMemPlane> p =
      reference ? std::make_unique<ReferencePlane>(std::move(impl)) : std::make_unique<CMemPlane>(std::move(impl));
  p->Create(w, h, 0);
  std::mt19937 rng(seed);
  surface_util::Fill(*p, [&](int, int) { return uint32_t(rng()); });
  return p;
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
    RECT clip{pick(-10, 30), pick(-10, 30), pick(-10, 60), pick(-10, 50)};
    RECT clipRef = clip;

    auto source = Make(false, kind, sw, sh, seed);
    auto sourceRef = Make(true, kind, sw, sh, seed);
    source->SetColorKeyPos(0, 0);
    sourceRef->SetColorKeyPos(0, 0);
    const bool alphaSource = pick(0, 1);
    *source->GetImpl()->GetHasAlphaPtr() = alphaSource;
    *sourceRef->GetImpl()->GetHasAlphaPtr() = alphaSource;
    auto dest = Make(false, kind, dw, dh, seed + 1);
    auto destRef = Make(true, kind, dw, dh, seed + 1);

    Reseed(seed);
    const int got =
        TransitionBltLookup(entry)(dest.get(), source.get(), x, y, phase, mode, alpha, clipKind ? &clip : nullptr);
    const int nextAfter = TransitionRandom();
    Reseed(seed);
    const int want = TransitionBltLookup(entry)(destRef.get(), sourceRef.get(), x, y, phase, mode, alpha,
                                                clipKind ? &clipRef : nullptr);
    const int nextAfterRef = TransitionRandom();
    const std::string what = "entry " + std::to_string(entry) + " phase " + std::to_string(phase) + " mode " +
                             std::to_string(mode) + " round " + std::to_string(round);
    ASSERT_EQ(got, want) << what;
    ASSERT_EQ(surface_util::Pixels(*dest), surface_util::Pixels(*destRef)) << what;
    ASSERT_EQ(clip.left, clipRef.left) << what;
    ASSERT_EQ(clip.top, clipRef.top) << what;
    ASSERT_EQ(clip.right, clipRef.right) << what;
    ASSERT_EQ(clip.bottom, clipRef.bottom) << what;
    // Both paths draw as many random values.
    ASSERT_EQ(nextAfter, nextAfterRef) << what;
  }
}

}  // namespace
