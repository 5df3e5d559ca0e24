#include "platform/win_types.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(WinTypes, IntersectRectGivesTheCommonPartOrAllZero) {
  const struct {
    const char* name;
    RECT a, b, expected;
    bool overlap;
  } cases[] = {
      {"overlap", {0, 0, 10, 10}, {5, 3, 20, 8}, {5, 3, 10, 8}, true},
      {"inside", {0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}, true},
      {"touching edges", {0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, false},
      {"apart", {0, 0, 10, 10}, {-30, -30, -20, -20}, {0, 0, 0, 0}, false},
      {"empty input", {5, 5, 5, 9}, {0, 0, 10, 10}, {0, 0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    RECT out{1, 1, 1, 1};
    EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.overlap) << c.name;
    EXPECT_EQ(out.left, c.expected.left) << c.name;
    EXPECT_EQ(out.top, c.expected.top) << c.name;
    EXPECT_EQ(out.right, c.expected.right) << c.name;
    EXPECT_EQ(out.bottom, c.expected.bottom) << c.name;
  }
  // The result may be one of the inputs.
  RECT a{0, 0, 10, 10};
  const RECT b{4, 4, 30, 30};
  IntersectRect(&a, &a, &b);
  EXPECT_EQ(a.left, 4);
  EXPECT_EQ(a.right, 10);
}

TEST(WinTypes, SetRectStoresTheEdges) {
  RECT r;
  EXPECT_TRUE(SetRect(&r, 1, 2, 3, 4));
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.right, 3);
  EXPECT_EQ(r.bottom, 4);
  EXPECT_FALSE(SetRect(nullptr, 1, 2, 3, 4));
}

TEST(WinTypes, MulDivRoundsHalvesAwayFromZero) {
  const struct {
    int a, b, c, expected;
  } cases[] = {
      {10, 10, 3, 33},
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {5, 1, -2, -3},
      {7, 3, 0, -1},
      {INT_MAX, 2, 1, -1},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {65536, 65536, 16777216, 256},
  };
  for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
  EXPECT_EQ(MulDiv64(int64_t{1} << 40, 3, 2), int64_t{3} << 39);
  EXPECT_EQ(MulDiv64(-3, 1, 2), -2);
}

}  // namespace
