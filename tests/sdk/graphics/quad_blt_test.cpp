// The quadrilateral-mapping and rotate-zoom kernels against pixels worked out from their stepping
// rules: the values along each edge and across each span are stepped before they are used, so
// even a mapping onto a same-sized rectangle is not a plain copy.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "sdk/graphics/mem_plane.h"
#include "surface_util.h"

namespace {

using surface_util::At;
using surface_util::Fill;
using surface_util::Kind;
using surface_util::Make;
using surface_util::Pixels;

constexpr uint32_t T(int x, int y) { return 0xFF000000u | (uint32_t(y + 1) << 12) | uint32_t(x + 1); }
constexpr uint32_t B = 7;  // the destination's own colour, where nothing was drawn

using Grid = std::vector<std::vector<uint32_t>>;

std::unique_ptr<CMemPlane> Tagged(int w, int h) {
  auto p = Make(Kind::Plain, w, h);
  Fill(*p, [](int x, int y) { return T(x, y); });
  return p;
}

void ExpectGrid(const CMemPlane& p, const Grid& expected) {
  for (size_t y = 0; y < expected.size(); ++y)
    for (size_t x = 0; x < expected[y].size(); ++x)
      EXPECT_EQ(At(p, int(x), int(y)), expected[y][x]) << "at " << x << "," << y;
}

// The span [first, end) of drawn pixels of each row; {0, 0} for an empty row.
std::vector<std::pair<int, int>> Spans(const CMemPlane& p, uint32_t background) {
  std::vector<std::pair<int, int>> spans;
  const CMemPlaneImpl& impl = *p.GetImpl();
  for (int y = 0; y < impl.Height(); ++y) {
    int first = -1, end = 0, count = 0;
    for (int x = 0; x < impl.Width(); ++x) {
      if (impl.GetPixel(x, y) == background) continue;
      if (first < 0) first = x;
      end = x + 1;
      ++count;
    }
    if (first < 0) {
      spans.emplace_back(0, 0);
    } else {
      EXPECT_EQ(count, end - first) << "row " << y << " has a gap";
      spans.emplace_back(first, end);
    }
  }
  return spans;
}

// A diamond whose right corner is higher than its left one: its upper-left edge runs through two
// bands of rows. Each edge steps by its own height, so that edge stays one straight line; a step
// taken per band would pull its left end to column 0 by row 5.
TEST(QuadMapBlt, EachEdgeStepsByItsOwnHeight) {
  auto source = Make(Kind::Plain, 16, 16, 0xFF112233);
  auto dest = Make(Kind::Plain, 20, 18, 0);
  const POINT s[4] = {{0, 0}, {15, 0}, {0, 15}, {15, 15}};
  const POINT d[4] = {{8, 0}, {16, 6}, {0, 10}, {8, 16}};  // top, right, left, bottom
  ASSERT_EQ(dest->GetImpl()->QuadMapBltFast(source.get(), s, d, nullptr, 0), 0);
  const std::vector<std::pair<int, int>> expected = {
      {7, 9}, {6, 10}, {5, 11}, {4, 13}, {4, 14}, {3, 15}, {2, 15}, {1, 14}, {0, 13},
      {0, 12}, {1, 12}, {2, 11}, {4, 10}, {5, 9}, {6, 8},
      {0, 0},  // the row of the lowest corner is never drawn
      {0, 0}, {0, 0}};
  EXPECT_EQ(Spans(*dest, 0), expected);
}

// Mapping onto a same-sized rectangle: every row takes its source values after one step, so the
// picture moves up a row and the last row stays as it was (its source row lies outside).
TEST(QuadMapBlt, QuadOntoRectangleStepsBeforeTheFirstRow) {
  auto source = Tagged(4, 4);
  auto dest = Make(Kind::Plain, 4, 4, B);
  const POINT s[4] = {{0, 0}, {4, 0}, {0, 4}, {4, 4}};
  const RECT whole{0, 0, 4, 4};
  ASSERT_EQ(dest->GetImpl()->QuadToRectBltFast(source.get(), s, &whole, nullptr), 0);
  ExpectGrid(*dest, {{T(0, 1), T(1, 1), T(2, 1), T(3, 1)},
                     {T(0, 2), T(1, 2), T(2, 2), T(3, 2)},
                     {T(0, 3), T(1, 3), T(2, 3), T(3, 3)},
                     {B, B, B, B}});
}

// A 2 x 2 source spread over 4 x 4 with the span divided by its full width; source pixel (1, 0)
// holds the colour key. The keyed form leaves those pixels alone, the Fast form copies them, and
// rows whose source row falls below the source change nothing in either.
TEST(QuadMapBlt, TheKeyedFormSkipsKeyPixelsAndTheFastFormCopiesThem) {
  constexpr uint32_t K = 0x00123456;
  auto source = Tagged(2, 2);
  source->GetImpl()->GetRow(0)[1] = K;
  source->SetColorKey(0x12, 0x34, 0x56);
  const POINT s[4] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
  const POINT d[4] = {{0, 0}, {4, 0}, {0, 4}, {4, 4}};
  const Grid lower = {{T(0, 1), T(0, 1), T(1, 1), T(1, 1), B},
                      {T(0, 1), T(0, 1), T(1, 1), T(1, 1), B},
                      {B, B, B, B, B},
                      {B, B, B, B, B}};

  auto keyed = Make(Kind::Plain, 5, 5, B);
  ASSERT_EQ(keyed->GetImpl()->QuadMapBlt(source.get(), s, d, nullptr, 1), 0);
  Grid expected = {{T(0, 0), T(0, 0), B, B, B}};
  expected.insert(expected.end(), lower.begin(), lower.end());
  ExpectGrid(*keyed, expected);

  auto fast = Make(Kind::Plain, 5, 5, B);
  ASSERT_EQ(fast->GetImpl()->QuadMapBltFast(source.get(), s, d, nullptr, 1), 0);
  expected[0] = {T(0, 0), T(0, 0), K, K, B};
  ExpectGrid(*fast, expected);
}

TEST(QuadMapBlt, ACrossedQuadDrawsNothing) {
  auto source = Make(Kind::Plain, 4, 4, 0xFFFFFFFF);
  auto dest = Make(Kind::Plain, 10, 10, B);
  const POINT s[4] = {{0, 0}, {3, 0}, {0, 3}, {3, 3}};
  // Corner 3 (opposite the top corner 0) is the second highest: the outline crosses itself.
  const POINT d[4] = {{1, 0}, {8, 6}, {1, 8}, {8, 2}};
  EXPECT_EQ(dest->GetImpl()->QuadMapBltFast(source.get(), s, d, nullptr, 0), 0);
  EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(100, B));
}

// Rows and columns outside the clip are neither drawn nor walked one by one: a quad two thousand
// million pixels across fills the clip with the one source pixel it samples there.
TEST(QuadMapBlt, ClipsToTheClipRectangleAndCopesWithCornersFarAway) {
  auto source = Make(Kind::Plain, 1, 1, 0xFFABCDEF);
  auto dest = Make(Kind::Plain, 8, 8, B);
  const POINT s[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  const LONG far = 1000000000;
  const POINT d[4] = {{-far, -far}, {far, -far}, {-far, far}, {far, far}};
  RECT clip{2, 3, 6, 5};
  ASSERT_EQ(dest->GetImpl()->QuadMapBltFast(source.get(), s, d, &clip, 0), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
      EXPECT_EQ(At(*dest, x, y), inside ? 0xFFABCDEFu : B) << x << "," << y;
    }
}

TEST(QuadMapBlt, NullArgumentsDrawNothing) {
  auto source = Make(Kind::Plain, 2, 2, 1);
  auto dest = Make(Kind::Plain, 2, 2, B);
  const POINT q[4] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
  CMemPlaneImpl& impl = *dest->GetImpl();
  EXPECT_EQ(impl.QuadMapBlt(nullptr, q, q, nullptr, 0), 1);
  EXPECT_EQ(impl.QuadMapBlt(source.get(), nullptr, q, nullptr, 0), 0);
  EXPECT_EQ(impl.QuadMapBltFast(source.get(), q, nullptr, nullptr, 0), 0);
  EXPECT_EQ(impl.ZoomBlt(nullptr, nullptr, 0, 0, 0, 65536, 0, nullptr), 1);
  EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(4, B));
}

// Zoom 1.0 without a turn: the keyed form maps the inclusive corners of the source rectangle, so
// each row steps by (h - 1) / h of a source row and a 3-row source shows its middle row twice.
TEST(ZoomBlt, ZoomOneKeepsTheRowStepping) {
  auto source = Tagged(4, 3);
  auto dest = Make(Kind::Plain, 6, 5, B);
  ASSERT_EQ(dest->GetImpl()->ZoomBlt(source.get(), nullptr, 1, 1, 0, 65536, 0, nullptr), 0);
  ExpectGrid(*dest, {{B, B, B, B, B, B},
                     {B, T(0, 0), T(1, 0), T(2, 0), T(3, 0), B},
                     {B, T(0, 1), T(1, 1), T(2, 1), T(3, 1), B},
                     {B, T(0, 1), T(1, 1), T(2, 1), T(3, 1), B},
                     {B, B, B, B, B, B}});
}

// A quarter turn about the left-top corner: (x + W, y) goes to (x, y - W) and (x, y + H) to
// (x + H, y); the 3 x 2 source comes out as a 2-wide, 3-high block standing on the pivot row.
TEST(ZoomBlt, AQuarterTurnAboutTheLeftTopCorner) {
  auto source = Tagged(3, 2);
  auto dest = Make(Kind::Plain, 6, 6, B);
  ASSERT_EQ(dest->GetImpl()->ZoomBlt(source.get(), nullptr, 1, 4, 128, 65536, 0, nullptr), 0);
  ExpectGrid(*dest, {{B, B, B, B, B, B},
                     {B, T(1, 0), T(1, 1), B, B, B},
                     {B, T(0, 0), T(0, 1), B, B, B},
                     {B, T(0, 0), T(0, 1), B, B, B},
                     {B, B, B, B, B, B},
                     {B, B, B, B, B, B}});
}

// An eighth of a turn about the centre.
TEST(ZoomBlt, AnEighthTurnAboutTheCentre) {
  auto source = Tagged(4, 4);
  auto dest = Make(Kind::Plain, 8, 8, B);
  ASSERT_EQ(dest->GetImpl()->ZoomBlt(source.get(), nullptr, 2, 2, 64, 65536, 4, nullptr), 0);
  ExpectGrid(*dest, {{B, B, B, B, B, B, B, B},
                     {B, B, B, T(2, 0), B, B, B, B},
                     {B, B, T(1, 0), T(2, 1), T(3, 2), B, B, B},
                     {B, T(0, 0), T(1, 1), T(2, 2), T(3, 3), B, B, B},
                     {B, B, T(0, 1), T(1, 3), B, B, B, B},
                     {B, B, B, B, B, B, B, B},
                     {B, B, B, B, B, B, B, B},
                     {B, B, B, B, B, B, B, B}});
}

// Zoom 2.0 about the centre with the Fast form, which maps the rectangle's own edges.
TEST(ZoomBlt, DoubleSizeAboutTheCentre) {
  auto source = Tagged(2, 2);
  auto dest = Make(Kind::Plain, 5, 5, B);
  ASSERT_EQ(dest->GetImpl()->ZoomBltFast(source.get(), nullptr, 0, 0, 0, 131072, 4, nullptr), 0);
  ExpectGrid(*dest, {{T(0, 0), T(0, 0), T(1, 0), T(1, 0), B},
                     {T(0, 1), T(0, 1), T(1, 1), T(1, 1), B},
                     {T(0, 1), T(0, 1), T(1, 1), T(1, 1), B},
                     {B, B, B, B, B},
                     {B, B, B, B, B}});
}

// A source rectangle that starts outside its surface: only the part on the surface is read.
TEST(ZoomBlt, NeverReadsOutsideTheSource) {
  auto source = Tagged(4, 4);
  auto dest = Make(Kind::Plain, 8, 8, B);
  const RECT r{-2, -2, 2, 2};
  ASSERT_EQ(dest->GetImpl()->ZoomBltFast(source.get(), &r, 0, 0, 0, 131072, 0, nullptr), 0);
  Grid expected(8, std::vector<uint32_t>(8, B));
  expected[3] = {B, B, B, B, T(0, 0), T(0, 0), T(1, 0), T(1, 0)};
  expected[4] = expected[3];
  expected[5] = {B, B, B, B, T(0, 1), T(0, 1), T(1, 1), T(1, 1)};
  expected[6] = expected[5];
  expected[7] = {B, B, B, B, T(0, 2), T(0, 2), T(1, 2), T(1, 2)};
  ExpectGrid(*dest, expected);
}

TEST(ZoomBlt, RefusesAnUnknownAnchor) {
  auto source = Tagged(2, 2);
  auto dest = Make(Kind::Plain, 4, 4, B);
  for (int anchor : {-1, 5}) {
    EXPECT_EQ(dest->GetImpl()->ZoomBlt(source.get(), nullptr, 0, 0, 0, 65536, anchor, nullptr), 2);
    EXPECT_EQ(dest->GetImpl()->ZoomBltFast(source.get(), nullptr, 0, 0, 0, 65536, anchor, nullptr), 2);
  }
  EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(16, B));
}

}  // namespace
