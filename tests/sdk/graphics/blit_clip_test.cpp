// Clipping and stretch stepping of the blit kernels: which source pixel lands on which
// destination pixel, in both kernel classes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sdk/graphics/blit_clip.h"
#include "surface_util.h"

using surface_util::Kind;

namespace {

struct StepCase {
  const char* name;
  int sourceWidth;
  std::optional<RECT> sourceRect;
  std::optional<std::pair<int, int>> size;  // destination (width, height) along the row
  int x;
  std::optional<RECT> clip;
  bool mirror;
  // One character per destination pixel: '.' untouched, else the source column drawn there.
  const char* expected;
};

const StepCase kCases[] = {
    {"inside", 4, {}, {}, 2, {}, false, "..0123.."},
    {"left edge", 4, {}, {}, -2, {}, false, "23......"},
    {"right edge", 4, {}, {}, 6, {}, false, "......01"},
    {"outside right", 4, {}, {}, 8, {}, false, "........"},
    {"outside left", 4, {}, {}, -4, {}, false, "........"},
    {"clip rect", 4, {}, {}, 1, RECT{2, 0, 4, 1}, false, "..12...."},
    {"clip rect outside", 4, {}, {}, 1, RECT{6, 0, 9, 1}, false, "........"},
    {"source rect", 6, RECT{2, 0, 5, 1}, {}, 0, {}, false, "234....."},
    {"source rect before source", 4, RECT{-2, 0, 3, 1}, {}, 0, {}, false, "..012..."},
    {"source rect past source", 4, RECT{2, 0, 7, 1}, {}, 0, {}, false, "23......"},
    {"source rect inverted", 4, RECT{3, 0, 1, 1}, {}, 0, {}, false, "........"},
    {"size of the rect is 1:1", 4, {}, std::pair{4, 1}, 0, {}, false, "0123...."},
    {"mirror", 4, {}, {}, 2, {}, true, "..3210.."},
    {"mirror left edge", 4, {}, {}, -1, {}, true, "210....."},
    {"mirror right edge", 4, {}, {}, 6, {}, true, "......32"},
    {"mirror clip rect", 4, {}, {}, 1, RECT{2, 0, 4, 1}, true, "..21...."},
    {"mirror source rect past source", 4, RECT{1, 0, 6, 1}, {}, 0, {}, true, "..321..."},
    {"mirror source rect before source", 4, RECT{-2, 0, 2, 1}, {}, 0, {}, true, "10......"},
    {"mirror source rect inverted", 4, RECT{3, 0, 1, 1}, {}, 0, {}, true, "........"},
    // The normal stretch picks the first pixel three times, the mirrored one samples centres.
    {"stretch 2 to 4", 2, {}, std::pair{4, 1}, 0, {}, false, "0001...."},
    {"mirror stretch 2 to 4", 2, {}, std::pair{4, 1}, 0, {}, true, "1100...."},
    {"stretch 2 to 3", 2, {}, std::pair{3, 1}, 0, {}, false, "001....."},
    {"stretch 2 to 3 cut 1 left", 2, {}, std::pair{3, 1}, -1, {}, false, "01......"},
    {"stretch 2 to 3 cut 2 left", 2, {}, std::pair{3, 1}, -2, {}, false, "1......."},
    {"stretch 4 to 2", 4, {}, std::pair{2, 1}, 0, {}, false, "02......"},
    {"stretch 4 to 2 cut 1 left", 4, {}, std::pair{2, 1}, -1, {}, false, "2......."},
    {"stretch 3 to 2 cut 1 left", 3, {}, std::pair{2, 1}, -1, {}, false, "1......."},
    {"stretch cut right", 2, {}, std::pair{4, 1}, 6, {}, false, "......00"},
    {"stretch clip rect", 2, {}, std::pair{4, 1}, 0, RECT{1, 0, 3, 1}, false, ".00....."},
    {"mirror stretch cut 1 left", 2, {}, std::pair{4, 1}, -1, {}, true, "100....."},
    {"stretch to width 0", 2, {}, std::pair{0, 1}, 0, {}, false, "........"},
    {"stretch to negative width", 2, {}, std::pair{-3, 1}, 4, {}, false, "........"},
    // Enlarging a mirrored row more than twice would step one column past the rectangle.
    {"mirror stretch 1 to 3", 3, RECT{1, 0, 2, 1}, std::pair{3, 1}, 0, {}, true, "111....."},
    {"mirror stretch 1 to 5", 3, RECT{1, 0, 2, 1}, std::pair{5, 1}, 0, {}, true, "11111..."},
    // Only the part of a rectangle that lies on the source is read.
    {"stretch rect beyond source", 2, RECT{-1, 0, 3, 1}, std::pair{8, 1}, 0, {}, false,
     "...0011."},
};

RECT Transpose(const RECT& r) { return RECT{r.top, r.left, r.bottom, r.right}; }

// Runs the case along a row (or, transposed, down a column) and returns what landed where.
std::string RunCase(Kind kind, const StepCase& c, bool transposed) {
  const int n = static_cast<int>(std::string(c.expected).size());
  auto src = transposed ? surface_util::Make(kind, 1, c.sourceWidth)
                        : surface_util::Make(kind, c.sourceWidth, 1);
  auto dst = transposed ? surface_util::Make(kind, 1, n) : surface_util::Make(kind, n, 1);
  surface_util::Fill(*src, surface_util::Tag);
  std::optional<RECT> rect = c.sourceRect, clip = c.clip;
  int size[2] = {0, 0};
  if (c.size) {
    size[0] = c.size->first;
    size[1] = c.size->second;
  }
  int x = c.x, y = 0;
  if (transposed) {
    if (rect) rect = Transpose(*rect);
    if (clip) clip = Transpose(*clip);
    std::swap(size[0], size[1]);
    std::swap(x, y);
  }
  CMemPlaneImpl& d = *dst->GetImpl();
  const RECT* r = rect ? &*rect : nullptr;
  RECT* cl = clip ? &*clip : nullptr;
  const int* sz = c.size ? size : nullptr;
  const int result = c.mirror ? d.BltFastMirror(src.get(), x, y, r, sz, cl)
                              : d.BltFast(src.get(), x, y, r, sz, cl);
  EXPECT_EQ(result, 0);
  std::string out;
  for (int i = 0; i < n; ++i) {
    const uint32_t p = transposed ? surface_util::At(*dst, 0, i) : surface_util::At(*dst, i, 0);
    const uint32_t index = transposed ? ((p >> 12) & 0xFFF) : (p & 0xFFF);
    out += p == 0 ? '.' : static_cast<char>('0' + index - 1);
  }
  return out;
}

class BlitSteppingTest : public testing::TestWithParam<Kind> {};

TEST_P(BlitSteppingTest, RowsPickTheExpectedSourceColumns) {
  for (const StepCase& c : kCases) EXPECT_EQ(RunCase(GetParam(), c, false), c.expected) << c.name;
}

TEST_P(BlitSteppingTest, ColumnsStepLikeRows) {
  for (const StepCase& c : kCases)
    if (!c.mirror) {
      EXPECT_EQ(RunCase(GetParam(), c, true), c.expected) << c.name;
    }
}

TEST_P(BlitSteppingTest, ClipsAtEveryEdgeAndReturnsTheClip) {
  auto src = surface_util::Make(GetParam(), 10, 10);
  auto dst = surface_util::Make(GetParam(), 100, 100);
  surface_util::Fill(*src, surface_util::Tag);
  RECT clip{-50, -50, 200, 200};
  EXPECT_EQ(dst->GetImpl()->BltFast(src.get(), -3, -2, nullptr, nullptr, &clip), 0);
  EXPECT_EQ(clip.left, 0);
  EXPECT_EQ(clip.top, 0);
  EXPECT_EQ(clip.right, 100);
  EXPECT_EQ(clip.bottom, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint32_t expected = x < 7 && y < 8 ? surface_util::Tag(x + 3, y + 2) : 0;
      ASSERT_EQ(surface_util::At(*dst, x, y), expected) << x << "," << y;
    }
  // Bottom-right corner.
  dst->GetImpl()->Clear(0, nullptr);
  dst->GetImpl()->BltFast(src.get(), 96, 97, nullptr, nullptr, nullptr);
  EXPECT_EQ(surface_util::At(*dst, 96, 97), surface_util::Tag(0, 0));
  EXPECT_EQ(surface_util::At(*dst, 99, 99), surface_util::Tag(3, 2));
  EXPECT_EQ(surface_util::At(*dst, 95, 97), 0u);
  EXPECT_EQ(surface_util::At(*dst, 96, 96), 0u);
}

TEST_P(BlitSteppingTest, StretchesInTwoDimensions) {
  auto src = surface_util::Make(GetParam(), 2, 2);
  auto dst = surface_util::Make(GetParam(), 4, 4);
  surface_util::Fill(*src, surface_util::Tag);
  const int size[2] = {4, 4};
  dst->GetImpl()->BltFast(src.get(), 0, 0, nullptr, size, nullptr);
  const int pick[4] = {0, 0, 0, 1};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(surface_util::At(*dst, x, y), surface_util::Tag(pick[x], pick[y])) << x << y;
  dst->GetImpl()->BltFastMirror(src.get(), 0, 0, nullptr, size, nullptr);
  // The mirrored blit samples pixel centres in both directions.
  const int mirrored[4] = {1, 1, 0, 0};
  const int centres[4] = {0, 0, 1, 1};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(surface_util::At(*dst, x, y), surface_util::Tag(mirrored[x], centres[y]))
          << x << y;
}

TEST_P(BlitSteppingTest, EmptySurfacesDrawNothing) {
  auto empty = surface_util::Make(GetParam(), 0, 0);
  auto dst = surface_util::Make(GetParam(), 4, 4, 7);
  EXPECT_EQ(dst->GetImpl()->BltFast(empty.get(), 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(empty->GetImpl()->BltFast(dst.get(), 0, 0, nullptr, nullptr, nullptr), 0);
  const int size[2] = {8, 8};
  EXPECT_EQ(empty->GetImpl()->BltFast(dst.get(), 0, 0, nullptr, size, nullptr), 0);
  for (uint32_t p : surface_util::Pixels(*dst)) EXPECT_EQ(p, 7u);
}

TEST_P(BlitSteppingTest, ExtremeCoordinatesDoNotOverflow) {
  auto src = surface_util::Make(GetParam(), 4, 4, 0xFF000001);
  auto dst = surface_util::Make(GetParam(), 4, 4);
  const int huge[2] = {0x7FFFFFFF, 0x7FFFFFFF};
  const RECT wide{-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF};
  CMemPlaneImpl& d = *dst->GetImpl();
  EXPECT_EQ(d.BltFast(src.get(), 0x7FFFFFFF, 0x7FFFFFFF, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(d.BltFast(src.get(), -0x7FFFFFFF - 1, 0, nullptr, huge, nullptr), 0);
  EXPECT_EQ(d.BltFastMirror(src.get(), 0, 0, &wide, huge, nullptr), 0);
  for (uint32_t p : surface_util::Pixels(*dst)) EXPECT_EQ(p, 0u);
  // A rectangle reaching far past the source still maps its existing part 1:1.
  EXPECT_EQ(d.BltFast(src.get(), -0x7FFFFFFF, -0x7FFFFFFF, &wide, nullptr, nullptr), 0);
  for (uint32_t p : surface_util::Pixels(*dst)) EXPECT_EQ(p, 0xFF000001u);
}

INSTANTIATE_TEST_SUITE_P(Classes, BlitSteppingTest, testing::Values(Kind::Plain, Kind::Packed),
                         [](const auto& info) { return surface_util::Name(info.param); });

}  // namespace
