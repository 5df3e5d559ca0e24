// The contract every catalogue entry shares: lookup, phase ends, null and empty targets, modes,
// and the transitions' own random generator.
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>

#include "transition_test_util.h"

namespace {

using namespace transition_test;

TEST(TransitionTable, LookupGivesTheEntriesAndNoneOutside) {
  for (int i = 0; i < kTransitionCount; ++i) EXPECT_NE(TransitionBltLookup(i), nullptr) << i;
  for (int i : {-1, 83, INT_MIN, INT_MAX}) EXPECT_EQ(TransitionBltLookup(i), nullptr) << i;
  EXPECT_EQ(TransitionBltTable[0], TransitionBltTable[1]);
  EXPECT_EQ(TransitionBltTable[54], &TransCrossFade);
  EXPECT_EQ(TransitionBltTable[82], &TransSmearDown);
}

TEST(TransitionFrame, PhaseZeroOrLessDrawsNothingAndAsksNoSize) {
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int phase : {0, -1, INT_MIN}) {
      const Recorded r = Record(entry, {.phase = phase});
      EXPECT_EQ(r.result, 0) << entry << " " << phase;
      EXPECT_TRUE(r.calls.empty()) << entry << " " << phase;
      EXPECT_EQ(r.sourceQueries + r.destQueries, 0) << entry << " " << phase;
    }
}

TEST(TransitionFrame, PhaseEndDrawsTheWholeSourceOnceWithTheMode) {
  RECT clip{1, 2, 30, 20};
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int phase : {256, 257, INT_MAX})
      for (int mode = 0; mode < 4; ++mode) {
        const Recorded r = Record(entry, {.phase = phase, .mode = mode, .clip = &clip});
        ASSERT_EQ(r.calls.size(), 1u) << entry << " " << phase << " " << mode;
        const RecordedCall& c = r.calls[0];
        EXPECT_EQ(c.op, ModeOp(mode)) << entry;
        EXPECT_FALSE(c.rect.has_value()) << entry;
        EXPECT_FALSE(c.hasSize) << entry;
        EXPECT_EQ(c.x, 5);
        EXPECT_EQ(c.y, 3);
        ASSERT_TRUE(c.clip.has_value());
        EXPECT_EQ(c.clip->right, 30);
        if (mode == 2) {
          EXPECT_EQ(c.ratio, 77) << entry;
        }
        EXPECT_EQ(r.result, RecordingTarget::kResult) << entry;
      }
}

TEST(TransitionFrame, UnknownModeAtThePhaseEndDrawsNothing) {
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int mode : {-1, 4, 5}) {
      const Recorded r = Record(entry, {.phase = 256, .mode = mode});
      EXPECT_TRUE(r.calls.empty()) << entry;
      EXPECT_EQ(r.result, entry == kCrossFade ? -1 : 0) << entry;
    }
}

TEST(TransitionFrame, NullTargetsFailFromPhaseOne) {
  RecordingTarget target(13, 7);
  for (int entry = 0; entry < kTransitionCount; ++entry) {
    const TransitionBltFunc f = TransitionBltLookup(entry);
    for (int phase : {1, 128, 255, 256}) {
      EXPECT_EQ(f(nullptr, &target, 0, 0, phase, 0, 0, nullptr), -1) << entry;
      EXPECT_EQ(f(&target, nullptr, 0, 0, phase, 0, 0, nullptr), -1) << entry;
      EXPECT_EQ(f(nullptr, nullptr, 0, 0, phase, 0, 0, nullptr), -1) << entry;
    }
    EXPECT_EQ(f(nullptr, nullptr, 0, 0, 0, 0, 0, nullptr), 0) << entry;
  }
  EXPECT_TRUE(target.calls.empty());
}

TEST(TransitionFrame, EmptySourceDrawsNothingInTheDrawingRange) {
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{4, INT_MIN}}) {
      const Recorded r = Record(entry, {.w = w, .h = h, .phase = 100});
      EXPECT_TRUE(r.calls.empty()) << entry << " " << w << "x" << h;
      EXPECT_EQ(r.result, 0) << entry;
      EXPECT_EQ(r.sourceQueries, 1) << entry;
    }
}

TEST(TransitionFrame, EveryPieceUsesTheModesOperation) {
  for (int entry = 0; entry < kTransitionCount; ++entry) {
    if (entry == kCrossFade) continue;
    for (int mode = 0; mode < 4; ++mode) {
      Reseed();
      const Recorded r = Record(entry, {.w = 33, .h = 20, .phase = 200, .mode = mode});
      EXPECT_FALSE(r.calls.empty()) << entry;
      for (size_t i = 0; i < r.calls.size(); ++i) {
        const RecordedCall& c = r.calls[i];
        if ((entry == kMosaic || entry == kInvert) && i + 1 == r.calls.size()) {
          EXPECT_EQ(c.op, entry == kMosaic ? "MosaicBlt" : "FlushBlt");
          continue;
        }
        EXPECT_EQ(c.op, ModeOp(mode)) << entry;
        if (mode == 2) {
          EXPECT_EQ(c.ratio, 77) << entry;
        }
      }
    }
  }
}

TEST(TransitionFrame, UnknownModeDrawsNoPieceButThePassesRun) {
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int mode : {-1, 4}) {
      Reseed();
      const Recorded r = Record(entry, {.phase = 128, .mode = mode});
      if (entry == kMosaic || entry == kInvert) {
        ASSERT_EQ(r.calls.size(), 1u) << entry;
        EXPECT_EQ(r.calls[0].op, entry == kMosaic ? "MosaicBlt" : "FlushBlt");
        EXPECT_EQ(r.result, RecordingTarget::kResult);
      } else {
        EXPECT_TRUE(r.calls.empty()) << entry;
        EXPECT_EQ(r.result, entry == kCrossFade ? -1 : 0) << entry;
      }
    }
}

TEST(TransitionRandom, TableIsTheGeneratorsFirstValuesFromSeedZero) {
  InitTransitionRandomTable();
  const auto r = TransitionRandomTable();
  ASSERT_EQ(r.size(), 256u);
  const uint8_t first[] = {38, 39, 246, 133, 151, 21, 173, 29};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r[i], first[i]) << i;
  // A second build changes nothing, and does not restart the generator.
  TransitionSeedRandom(5);
  const int next = TransitionRandom();
  TransitionSeedRandom(5);
  InitTransitionRandomTable();
  EXPECT_EQ(TransitionRandom(), next);
  EXPECT_EQ(TransitionRandomTable()[0], 38);
}

TEST(TransitionRandom, RandomEntriesRepeatAfterAReseedWhateverTheProcessGeneratorDoes) {
  for (int entry : {5, 6, 7, 8, 9, 10, 11, 21}) {
    Reseed(99);
    const Recorded a = Record(entry, {.w = 33, .h = 20, .phase = 120});
    Reseed(99);
    std::srand(1234);
    (void)std::rand();
    const Recorded b = Record(entry, {.w = 33, .h = 20, .phase = 120});
    ASSERT_EQ(a.calls.size(), b.calls.size()) << entry;
    for (size_t i = 0; i < a.calls.size(); ++i) EXPECT_EQ(a.calls[i].ToString(), b.calls[i].ToString()) << entry;
    // And the next call draws fresh values.
    const Recorded c = Record(entry, {.w = 33, .h = 20, .phase = 120});
    bool same = c.calls.size() == a.calls.size();
    for (size_t i = 0; same && i < a.calls.size(); ++i) same = a.calls[i].ToString() == c.calls[i].ToString();
    EXPECT_FALSE(same) << entry;
  }
  // The transitions' draws do not disturb the process generator either.
  std::srand(1234);
  const int expected = std::rand();
  std::srand(1234);
  Reseed(3);
  Record(7, {.w = 33, .h = 20, .phase = 120});
  EXPECT_EQ(std::rand(), expected);
}

}  // namespace
