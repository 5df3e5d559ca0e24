#include "sdk/graphics/clip_stretch_blt.h"

#include <gtest/gtest.h>

#include <climits>

#include "sdk/graphics/mem_plane.h"
#include "surface_util.h"

namespace {

using surface_util::Kind;
using surface_util::Make;

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(r, l, t, rr, b) EXPECT_TRUE(Same(r, RECT{l, t, rr, b})) \
    << #r " = " << (r).left << "," << (r).top << "," << (r).right << "," << (r).bottom

TEST(ClipStretchBlt, SameSizeWithoutClipCoversBothSurfaces) {
  auto dest = Make(Kind::Plain, 20, 10);
  auto source = Make(Kind::Plain, 20, 10);
  BltClipInfo info;
  info.xStep = 99;  // the stretch fields of a 1:1 blit are left alone
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), 0, 0, &info, nullptr, nullptr, nullptr), 0);
  EXPECT_TRUE(info.sameSize);
  EXPECT_RECT(info.source, 0, 0, 20, 10);
  EXPECT_RECT(info.dest, 0, 0, 20, 10);
  EXPECT_RECT(info.clip, 0, 0, 20, 10);
  EXPECT_EQ(info.xStep, 99);
}

TEST(ClipStretchBlt, OneToOneClipsBothRectanglesByTheSameAmounts) {
  auto dest = Make(Kind::Plain, 100, 100);
  auto source = Make(Kind::Plain, 10, 10);
  const RECT clip{-50, -50, 200, 200};
  BltClipInfo info;
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), -3, -2, &info, nullptr, nullptr, &clip), 0);
  EXPECT_RECT(info.source, 3, 2, 10, 10);
  EXPECT_RECT(info.dest, 0, 0, 7, 8);
  EXPECT_RECT(info.clip, 0, 0, 100, 100);

  const RECT inner{5, 5, 8, 9};
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), 2, 3, &info, nullptr, nullptr, &inner), 0);
  EXPECT_RECT(info.source, 3, 2, 6, 6);
  EXPECT_RECT(info.dest, 5, 5, 8, 9);
}

// A source rectangle reaching beyond its surface is cut to it and the destination moves along,
// so a caller walking the record never reads outside the source.
TEST(ClipStretchBlt, OneToOneSourceStaysOnItsSurface) {
  auto dest = Make(Kind::Plain, 40, 40);
  auto source = Make(Kind::Plain, 4, 4);
  const RECT r{-2, -1, 7, 5};
  BltClipInfo info;
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), 10, 10, &info, &r, nullptr, nullptr), 0);
  EXPECT_RECT(info.source, 0, 0, 4, 4);
  EXPECT_RECT(info.dest, 12, 11, 16, 15);
}

// 4 x 4 stretched to 8 x 6 at (-3, -1): three columns cut on the left cost one and a half source
// columns, so the source starts one column in with the error half a step back; the one row cut
// at the top does not reach a whole source row.
TEST(ClipStretchBlt, StretchedStepsPastTheClippedEdges) {
  auto dest = Make(Kind::Plain, 10, 10);
  auto source = Make(Kind::Plain, 4, 4);
  const SIZE size{8, 6};
  BltClipInfo info;
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), -3, -1, &info, nullptr, &size, nullptr), 0);
  EXPECT_FALSE(info.sameSize);
  EXPECT_RECT(info.source, 1, 0, 4, 4);
  EXPECT_RECT(info.dest, 0, 0, 5, 5);
  EXPECT_EQ(info.destWidth, 8);
  EXPECT_EQ(info.xStep, 0);
  EXPECT_EQ(info.xRemainder, 4);
  EXPECT_EQ(info.xError, -5);
  EXPECT_EQ(info.destHeight, 6);
  EXPECT_EQ(info.yStep, 0);
  EXPECT_EQ(info.yRemainder, 4);
  EXPECT_EQ(info.yError, -3);

  // Shrinking 9 columns to 4: two whole columns a step and one left over.
  const SIZE shrink{4, 4};
  const RECT r{0, 0, 9, 4};
  auto wide = Make(Kind::Plain, 9, 4);
  ASSERT_EQ(ClipStretchBlt(dest.get(), wide.get(), 1, 1, &info, &r, &shrink, nullptr), 0);
  EXPECT_EQ(info.xStep, 2);
  EXPECT_EQ(info.xRemainder, 1);
  EXPECT_EQ(info.xError, -5);
  EXPECT_RECT(info.dest, 1, 1, 5, 5);
}

TEST(ClipStretchBlt, NothingLeftToDraw) {
  auto dest = Make(Kind::Plain, 10, 10);
  auto source = Make(Kind::Plain, 4, 4);
  const SIZE zeroWide{0, 5}, zeroHigh{5, 0}, negative{-4, 4}, stretch{8, 8};
  const RECT missing{20, 20, 30, 30};
  const RECT beyond{2, 2, 6, 6};  // a stretched source rectangle off its surface
  const RECT inverted{3, 0, 1, 4};
  struct Case {
    const char* name;
    int x, y;
    const RECT* sourceRect;
    const SIZE* size;
    const RECT* clip;
  } cases[] = {
      {"zero width", 0, 0, nullptr, &zeroWide, nullptr},
      {"zero height", 0, 0, nullptr, &zeroHigh, nullptr},
      {"negative size", 0, 0, nullptr, &negative, nullptr},
      {"clip misses", 0, 0, nullptr, nullptr, &missing},
      {"stretched clip misses", 0, 0, nullptr, &stretch, &missing},
      {"left of the surface", -4, 0, nullptr, nullptr, nullptr},
      {"below the surface", 0, 10, nullptr, &stretch, nullptr},
      {"stretched source off its surface", 0, 0, &beyond, &stretch, nullptr},
      {"inverted source", 0, 0, &inverted, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    BltClipInfo info;
    info.destWidth = 1234;
    EXPECT_EQ(ClipStretchBlt(dest.get(), source.get(), c.x, c.y, &info, c.sourceRect, c.size, c.clip), 1)
        << c.name;
    EXPECT_EQ(info.destWidth, 1234) << c.name;
  }
  BltClipInfo info;
  // A source rectangle spanning the whole coordinate range is cut to its surface, not overflowed.
  const RECT huge{-2, -3, INT_MAX, INT_MAX};
  ASSERT_EQ(ClipStretchBlt(dest.get(), source.get(), -2, -3, &info, &huge, nullptr, nullptr), 0);
  EXPECT_TRUE(info.sameSize);
  EXPECT_RECT(info.source, 0, 0, 4, 4);
  EXPECT_RECT(info.dest, 0, 0, 4, 4);
  const RECT whole{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const SIZE some{8, 8};
  EXPECT_EQ(ClipStretchBlt(dest.get(), source.get(), 0, 0, &info, &whole, nullptr, nullptr), 1);  // lands at 2^31
  EXPECT_EQ(ClipStretchBlt(dest.get(), source.get(), 0, 0, &info, &whole, &some, nullptr), 1);
  EXPECT_EQ(ClipStretchBlt(nullptr, source.get(), 0, 0, &info, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(ClipStretchBlt(dest.get(), nullptr, 0, 0, &info, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(ClipStretchBlt(dest.get(), source.get(), 0, 0, nullptr, nullptr, nullptr, nullptr), 1);
}

}  // namespace
