#include "game/stage/keyframe_curve.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

struct Key {
  float x, y;
};

int MakeCurve(const std::vector<Key>& keys) {
  const int slot = CurveCreate(static_cast<int>(keys.size()));
  for (size_t i = 0; i < keys.size(); ++i) CurveSetKey(slot, static_cast<int>(i), keys[i].x, keys[i].y);
  CurveComputeCoefficients(slot);
  return slot;
}

struct Case {
  const char* name;
  std::vector<Key> keys;
  int mode;
  float x;
  float expected;
};

TEST(KeyframeCurve, EvaluationTable) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {"linear midway", {{0, 10}, {30, 20}}, kCurveLinear, 15, 15},
      {"past the end wraps", {{0, 10}, {30, 20}}, kCurveLinear, 45, 15},
      {"step holds the key", {{0, 10}, {30, 20}}, kCurveStep, 29, 10},
      {"ease-out at one half", {{0, 0}, {10, 100}}, kCurveEaseOut, 5, 75},
      {"ease-in at one half", {{0, 0}, {10, 100}}, kCurveEaseIn, 5, 25},
      // Without neighbours both tangents are y1 - y0, and with those the cubic is a straight line.
      {"hermite alone", {{0, 0}, {10, 100}}, kCurveHermite, 2.5f, 25},
      {"hermite with neighbours", {{0, 0}, {10, 100}, {20, 0}}, kCurveHermite, 5, 62.5f},
      {"overshoot passes beyond y1", {{0, 0}, {10, 100}}, kCurveOvershoot, 7.5f, SplineBlend(0, 100, 100, 0.75f)},
      {"undershoot dips first", {{0, 0}, {10, 100}}, kCurveUndershoot, 2.5f, SplineBlend(0, 0, 100, 0.25f)},
      {"equal y gives y0 linear", {{0, 7}, {10, 7}}, kCurveLinear, 5, 7},
      {"equal y gives y0 overshoot", {{0, 7}, {10, 7}}, kCurveOvershoot, 5, 7},
      {"equal y gives y0 hermite", {{0, 7}, {10, 7}}, kCurveHermite, 5, 7},
      {"newton through three keys", {{0, 0}, {10, 100}, {20, 0}}, kCurveNewton, 5, 75},
      {"newton hits its middle key", {{0, 0}, {10, 100}, {20, 0}}, kCurveNewton, 10, 100},
      {"unknown mode", {{0, 0}, {10, 100}}, 8, 5, 0},
      // Hostile keys: none of these may hang, read past the keys or give inf or NaN.
      {"one key at x > 0", {{5, 42}}, kCurveLinear, 3, 42},
      {"one key at 0", {{0, 42}}, kCurveHermite, 100, 42},
      {"before the first key", {{10, 1}, {20, 2}, {30, 3}}, kCurveLinear, 5, 0.5f},
      {"negative time wraps back", {{0, 1}, {20, 2}}, kCurveLinear, -50, 0.5f},
      {"no number", {{0, 1}, {20, 2}}, kCurveLinear, nan, 1},
      {"keys out of order", {{0, 1}, {30, 3}, {10, 2}}, kCurveLinear, 5, 1.0f + 5.0f / 30.0f * 2.0f},
      {"equal times linear", {{0, 1}, {0, 9}, {10, 5}}, kCurveLinear, 0, 1},
      {"equal times newton", {{0, 1}, {0, 9}, {10, 5}}, kCurveNewton, 5, 2.5f},
      {"equal times hermite", {{0, 1}, {5, 9}, {5, 3}, {10, 5}}, kCurveHermite, 7, 2.936f},
      {"all times zero or below", {{-5, 4}, {-1, 8}}, kCurveLinear, 3, 8},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(CurveTableInit());
    const int slot = MakeCurve(c.keys);
    ASSERT_NE(slot, kNoCurve) << c.name;
    const float value = CurveEvaluate(slot, c.x, c.mode);
    EXPECT_TRUE(std::isfinite(value)) << c.name;
    EXPECT_NEAR(value, c.expected, 1e-3f) << c.name;
  }
  CurveTableFree();
}

TEST(KeyframeCurve, SearchStaysInsideTheKeys) {
  std::vector<CurveKey> keys = {{0, 0, -1, 1}, {10, 0, 0, 2}, {20, 0, 1, 3}, {30, 0, 2, -1}};
  EXPECT_EQ(CurveSearchKey(keys, -1), 0);
  EXPECT_EQ(CurveSearchKey(keys, 0), 0);
  EXPECT_EQ(CurveSearchKey(keys, 10), 1);
  EXPECT_EQ(CurveSearchKey(keys, 19.9f), 1);
  EXPECT_EQ(CurveSearchKey(keys, 30), 3);
  EXPECT_EQ(CurveSearchKey(keys, 99), 3);
  EXPECT_EQ(CurveSearchKey(std::span<const CurveKey>(keys).first(1), 5), 0);
}

TEST(KeyframeCurve, SlotsRunOutAndComeBack) {
  CurveTableInit();
  std::vector<int> slots;
  for (int i = 0; i < kCurveSlots; ++i) slots.push_back(CurveCreate(2));
  for (int i = 0; i < kCurveSlots; ++i) EXPECT_EQ(slots[static_cast<size_t>(i)], i);
  EXPECT_EQ(CurveCreate(2), kNoCurve);
  // No slot: keys go nowhere and the curve reads 0.
  CurveSetKey(kNoCurve, 0, 1, 1);
  CurveComputeCoefficients(kNoCurve);
  EXPECT_EQ(CurveEvaluate(kNoCurve, 1, kCurveLinear), 0.0f);
  EXPECT_FALSE(CurveFree(kNoCurve));
  EXPECT_FALSE(CurveFree(kCurveSlots));
  EXPECT_TRUE(CurveFree(5));
  EXPECT_FALSE(CurveFree(5));
  EXPECT_EQ(CurveCreate(3), 5);
  EXPECT_EQ(CurveCreate(0), kNoCurve);
  EXPECT_EQ(CurveCreate(-1), kNoCurve);
  EXPECT_EQ(CurvesInUse(), kCurveSlots);
  CurveTableFree();
  EXPECT_EQ(CurvesInUse(), 0);
}

TEST(KeyframeCurve, KeyIndexWraps) {
  CurveTableInit();
  const int slot = CurveCreate(2);
  CurveSetKey(slot, 2, 0, 10);    // key 0
  CurveSetKey(slot, -1, 30, 20);  // key 1
  EXPECT_NEAR(CurveEvaluate(slot, 15, kCurveLinear), 15, 1e-4);
  CurveTableFree();
}

}  // namespace
