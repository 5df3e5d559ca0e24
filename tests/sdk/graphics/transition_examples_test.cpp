// The worked examples of the catalogue, checked on the calls each effect makes.
#include <algorithm>
#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "transition_test_util.h"

namespace {

using namespace transition_test;

// A piece as the examples state it: source rectangle and destination point.
struct Piece {
  int left, top, right, bottom, x, y;
};

std::string Str(const Piece& p) {
  return std::to_string(p.left) + "," + std::to_string(p.top) + "," + std::to_string(p.right) + "," +
         std::to_string(p.bottom) + " at " + std::to_string(p.x) + "," + std::to_string(p.y);
}

std::vector<std::string> Pieces(const Recorded& r) {
  std::vector<std::string> out;
  for (const RecordedCall& c : r.calls) {
    if (!c.rect) {
      out.push_back("whole at " + std::to_string(c.x) + "," + std::to_string(c.y));
      continue;
    }
    out.push_back(Str({c.rect->left, c.rect->top, c.rect->right, c.rect->bottom, c.x, c.y}));
  }
  return out;
}

std::vector<std::string> Strs(std::initializer_list<Piece> pieces) {
  std::vector<std::string> out;
  for (const Piece& p : pieces) out.push_back(Str(p));
  return out;
}

// The calls whose source rectangle starts on row y.
std::vector<RecordedCall> OnRow(const Recorded& r, int y) {
  std::vector<RecordedCall> out;
  for (const RecordedCall& c : r.calls)
    if (c.rect && c.rect->top == y) out.push_back(c);
  return out;
}

// Every piece's displacement from its own place.
template <class F>
void ForEachOffset(const Recorded& r, const Run& run, F&& f) {
  for (const RecordedCall& c : r.calls) f(c.x - run.x - c.rect->left, c.y - run.y - c.rect->top);
}

using Check = std::function<void(const Recorded&, const Run&)>;

struct Example {
  const char* name;
  int entry;
  Run run;
  Check check;
};

void ExpectPieces(const Recorded& r, std::initializer_list<Piece> expected) { EXPECT_EQ(Pieces(r), Strs(expected)); }

const Example kExamples[] = {
    {"centre square 640x480 at 128",
     12,
     {.w = 640, .h = 480, .x = 10, .y = 20, .phase = 128},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{160, 80, 480, 400, 170, 100}});
     }},
    {"square from the bottom right corner",
     16,
     {.w = 20, .h = 10, .x = 0, .y = 0, .phase = 128},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{10, 0, 20, 10, 10, 0}});
     }},
    {"interlaced rows at 128",
     17,
     {.w = 640, .h = 5, .x = 0, .y = 0, .phase = 128},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 320, 1, 0, 0},
                        {319, 1, 640, 2, 319, 1},
                        {0, 2, 320, 3, 0, 2},
                        {319, 3, 640, 4, 319, 3},
                        {0, 4, 320, 5, 0, 4}});
     }},
    {"interlaced rows of four at 129",
     19,
     {.w = 640, .h = 8, .x = 0, .y = 0, .phase = 129},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 640, 1, 0, 0},
                        {0, 2, 640, 3, 0, 2},
                        {0, 4, 640, 5, 0, 4},
                        {0, 6, 640, 7, 0, 6},
                        {0, 1, 5, 2, 0, 1},
                        {634, 3, 640, 4, 634, 3},
                        {0, 5, 5, 6, 0, 5},
                        {634, 7, 640, 8, 634, 7}});
     }},
    {"tear at 255 on 480 rows",
     22,
     {.w = 90, .h = 480, .x = 50, .y = 0, .phase = 255},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 90, 478, 50, 0}, {0, 478, 90, 479, 40, 478}, {0, 479, 90, 480, 60, 479}});
     }},
    {"tear up at 255 on 480 rows",
     23,
     {.w = 90, .h = 480, .x = 50, .y = 0, .phase = 255},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 2, 90, 480, 50, 2}, {0, 1, 90, 2, 40, 1}, {0, 0, 90, 1, 60, 0}});
     }},
    // D = (200 * trunc(2 * sqrt(100 + 100))) >> 8 = 21, r = 10, r2 = 110: rows 9 .. 1 get the
    // chords of k = 1 .. 9; row 10 (k = 0) is below the source.
    {"bottom disc",
     29,
     {.w = 20, .h = 10, .x = 0, .y = 0, .phase = 200},
     [](const Recorded& r, const Run&) {
       ASSERT_EQ(r.calls.size(), 9u);
       EXPECT_EQ(Pieces(r).front(), Str({0, 9, 20, 10, 0, 9}));
       EXPECT_EQ(Pieces(r).back(), Str({5, 1, 15, 2, 5, 1}));
     }},
    {"growing cells before phase 64",
     33,
     {.w = 10, .h = 6, .phase = 63},
     [](const Recorded& r, const Run&) { EXPECT_TRUE(r.calls.empty()); }},
    {"growing cells at 255",
     33,
     {.w = 10, .h = 6, .x = 0, .y = 0, .phase = 255},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 3, 3, 0, 0},
                        {4, 0, 7, 3, 4, 0},
                        {8, 0, 10, 3, 8, 0},
                        {0, 4, 3, 6, 0, 4},
                        {4, 4, 7, 6, 4, 4},
                        {8, 4, 10, 6, 8, 4}});
     }},
    {"blinds at 31",
     36,
     {.w = 20, .h = 4, .x = 0, .y = 0, .phase = 31},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 1, 4, 0, 0}, {8, 0, 9, 4, 8, 0}, {16, 0, 17, 4, 16, 0}});
     }},
    {"blinds at 32",
     36,
     {.w = 20, .h = 4, .x = 0, .y = 0, .phase = 32},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 1, 4, 0, 0},
                        {1, 0, 2, 4, 1, 0},
                        {8, 0, 9, 4, 8, 0},
                        {9, 0, 10, 4, 9, 0},
                        {16, 0, 17, 4, 16, 0},
                        {17, 0, 18, 4, 17, 0}});
     }},
    {"reversed row blinds at 31",
     41,
     {.w = 5, .h = 16, .x = 0, .y = 0, .phase = 31},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 7, 5, 8, 0, 7}, {0, 15, 5, 16, 0, 15}});
     }},
    {"slant rows 0, 6 and 7",
     44,
     {.w = 20, .h = 8, .x = 0, .y = 0, .phase = 64},
     [](const Recorded& r, const Run&) {
       const std::vector<std::string> row0 = Strs({{0, 0, 2, 1, 0, 0}, {8, 0, 10, 1, 8, 0}, {16, 0, 18, 1, 16, 0}});
       const std::vector<std::string> row6 = Strs({{2, 6, 4, 7, 2, 6}, {10, 6, 12, 7, 10, 6}, {18, 6, 20, 7, 18, 6}});
       const std::vector<std::string> row7 = Strs({{0, 7, 2, 8, 0, 7}, {8, 7, 10, 8, 8, 7}, {16, 7, 18, 8, 16, 7}});
       auto row = [&](int y) {
         Recorded only;
         only.calls = OnRow(r, y);
         return Pieces(only);
       };
       EXPECT_EQ(row(0), row0);
       EXPECT_EQ(row(6), row6);
       EXPECT_EQ(row(7), row7);
     }},
    {"spiral dither at 15",
     46,
     {.w = 8, .h = 8, .x = 0, .y = 0, .phase = 15},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 1, 1, 0, 0}, {4, 0, 5, 1, 4, 0}, {0, 4, 1, 5, 0, 4}, {4, 4, 5, 5, 4, 4}});
     }},
    {"centre dither at 15",
     47,
     {.w = 8, .h = 8, .x = 0, .y = 0, .phase = 15},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{1, 1, 2, 2, 1, 1}, {5, 1, 6, 2, 5, 1}, {1, 5, 2, 6, 1, 5}, {5, 5, 6, 6, 5, 5}});
     }},
    {"centre dither over 4x4 cells at 16",
     51,
     {.w = 20, .h = 8, .x = 0, .y = 0, .phase = 16},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{4, 4, 8, 8, 4, 4}, {8, 4, 12, 8, 8, 4}});
     }},
    {"bands on a 100-wide source",
     71,
     {.w = 100, .h = 5, .x = 0, .y = 0, .phase = 255},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 16, 5, 0, 0},
                        {16, 0, 32, 5, 16, 0},
                        {32, 0, 48, 5, 32, 0},
                        {48, 0, 64, 5, 48, 0},
                        {64, 0, 80, 5, 64, 0},
                        {80, 0, 96, 5, 80, 0},
                        {96, 0, 99, 5, 96, 0}});
     }},
    {"bands from the right, started",
     72,
     {.w = 100, .h = 5, .x = 0, .y = 0, .phase = 40},
     [](const Recorded& r, const Run&) {
       // f = (40 * 23) / 256 = 3: bands 0, 1 and 2 are 3, 2 and 1 columns wide.
       ExpectPieces(r, {{97, 0, 100, 5, 97, 0}, {82, 0, 84, 5, 82, 0}, {67, 0, 68, 5, 67, 0}});
     }},
    {"smear right with X = 100",
     80,
     {.w = 200, .h = 10, .x = 100, .y = 3, .phase = 128, .destW = 640},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 100, 10, 100, 3}, {100, 0, 101, 10, 200, 3}});
       ASSERT_EQ(r.calls.size(), 2u);
       EXPECT_TRUE(r.calls[1].hasSize);
       EXPECT_EQ(r.calls[1].size[0], 440);  // destination columns 200 .. 639
       EXPECT_EQ(r.calls[1].size[1], 10);
       EXPECT_EQ(r.destQueries, 1);
     }},
    {"smear left with X = 100",
     79,
     {.w = 200, .h = 10, .x = 100, .y = 3, .phase = 128, .destW = 640},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{100, 0, 200, 10, 200, 3}, {99, 0, 100, 10, 0, 3}});
       ASSERT_EQ(r.calls.size(), 2u);
       EXPECT_EQ(r.calls[1].size[0], 200);  // destination columns 0 .. 100 + w - e - 1
     }},
    {"smear down into a short destination",
     82,
     {.w = 10, .h = 40, .x = 0, .y = 30, .phase = 64, .destH = 35},
     [](const Recorded& r, const Run&) {
       // e = 10; H - e - Y = -5: the stretched row draws nothing.
       ExpectPieces(r, {{0, 0, 10, 10, 0, 30}});
     }},
    {"bulge at 1",
     3,
     {.w = 40, .h = 10, .x = 100, .y = 0, .phase = 1},
     [](const Recorded& r, const Run&) {
       ASSERT_EQ(r.calls.size(), 10u);
       EXPECT_EQ(Pieces(r)[0], Str({0, 0, 40, 1, 100, 0}));
       EXPECT_EQ(r.calls[0].size[0], 40);
       // s = 1 + 2 * 255 / 256: 119 wide, shifted by trunc(1.9921875 * 20) = 39.
       EXPECT_EQ(Pieces(r)[5], Str({0, 5, 40, 6, 61, 5}));
       EXPECT_EQ(r.calls[5].size[0], 119);
       EXPECT_EQ(r.calls[5].size[1], 1);
     }},
    {"column bulge at 1",
     4,
     {.w = 10, .h = 40, .x = 0, .y = 100, .phase = 1},
     [](const Recorded& r, const Run&) {
       ASSERT_EQ(r.calls.size(), 10u);
       EXPECT_EQ(Pieces(r)[5], Str({5, 0, 6, 40, 5, 61}));
       EXPECT_EQ(r.calls[5].size[0], 1);
       EXPECT_EQ(r.calls[5].size[1], 119);
     }},
    {"jitter at 255",
     5,
     {.w = 30, .h = 50, .phase = 255},
     [](const Recorded& r, const Run& run) {
       ASSERT_EQ(r.calls.size(), 50u);
       for (const RecordedCall& c : r.calls) EXPECT_EQ(c.x, run.x);
     }},
    {"jitter range at 200",
     5,
     {.w = 30, .h = 400, .phase = 200},
     [](const Recorded& r, const Run& run) {
       int low = 0, high = 0;
       for (const RecordedCall& c : r.calls) {
         low = std::min(low, c.x - run.x);
         high = std::max(high, c.x - run.x);
       }
       EXPECT_EQ(low, -28);  // q = 56: shifts in [-28, 28)
       EXPECT_EQ(high, 27);
     }},
    {"noise range at 127",
     6,
     {.w = 200, .h = 100, .phase = 127},
     [](const Recorded& r, const Run& run) {
       int most = 0;
       for (const RecordedCall& c : r.calls) {
         // Every cell is drawn at its own place; only its content is shifted.
         EXPECT_EQ((c.x - run.x) % 4, 0);
         EXPECT_EQ((c.y - run.y) % 2, 0);
         const int a = c.rect->left - (c.x - run.x), b = c.rect->top - (c.y - run.y);
         EXPECT_GE(std::min(a, b), 0);
         most = std::max({most, a, b});
       }
       EXPECT_EQ(most, 9);
       EXPECT_EQ(r.calls.size(), 50u * 50u);
     }},
    {"noise range at 128",
     6,
     {.w = 200, .h = 100, .phase = 128},
     [](const Recorded& r, const Run& run) {
       int most = 0;
       for (const RecordedCall& c : r.calls)
         most = std::max({most, c.rect->left - (c.x - run.x), c.rect->top - (c.y - run.y)});
       EXPECT_EQ(most, 5);
     }},
    {"noise at 255 all in place",
     6,
     {.w = 200, .h = 100, .phase = 255},
     [](const Recorded& r, const Run& run) {
       for (const RecordedCall& c : r.calls) {
         EXPECT_EQ(c.rect->left, c.x - run.x);
         EXPECT_EQ(c.rect->top, c.y - run.y);
       }
     }},
    {"random cells at 255 show every cell",
     7,
     {.w = 17, .h = 9, .phase = 255},
     [](const Recorded& r, const Run&) { EXPECT_EQ(r.calls.size(), 5u * 5u); }},
    {"dissolve down at 64 on 480 rows",
     8,
     {.w = 16, .h = 480, .phase = 64},
     [](const Recorded& r, const Run&) {
       ASSERT_FALSE(r.calls.empty());
       for (const RecordedCall& c : r.calls) EXPECT_LT(c.rect->top, 240);
       EXPECT_GE(r.calls.back().rect->top, 200);
     }},
    {"dissolve left at 64",
     11,
     {.w = 480, .h = 16, .phase = 64},
     [](const Recorded& r, const Run&) {
       ASSERT_FALSE(r.calls.empty());
       for (const RecordedCall& c : r.calls) EXPECT_GE(c.rect->left, 240);
     }},
    {"circle dissolve at 1 shows nothing",
     21,
     {.w = 40, .h = 30, .phase = 1},
     [](const Recorded& r, const Run&) { EXPECT_TRUE(r.calls.empty()); }},
    {"wave at 255",
     24,
     {.w = 8, .h = 600, .phase = 255},
     [](const Recorded& r, const Run& run) {
       for (const RecordedCall& c : r.calls) EXPECT_EQ(c.x, run.x);
     }},
    {"wave at 1",
     24,
     {.w = 8, .h = 600, .phase = 1},
     [](const Recorded& r, const Run& run) {
       EXPECT_EQ(r.calls[0].x, run.x + 508);
       EXPECT_EQ(r.calls[256].x, run.x - 508);
       EXPECT_EQ(r.calls[128].x, run.x);
     }},
    {"inverse wave at 1",
     25,
     {.w = 8, .h = 600, .phase = 1},
     [](const Recorded& r, const Run& run) {
       EXPECT_EQ(r.calls[0].x, run.x - 508);
       EXPECT_EQ(r.calls[256].x, run.x + 508);
     }},
    {"ripple at 1",
     26,
     {.w = 8, .h = 20, .phase = 1},
     [](const Recorded& r, const Run& run) {
       EXPECT_EQ(r.calls[0].x, run.x + 254);
       EXPECT_EQ(r.calls[8].x, run.x + 179);
       EXPECT_EQ(r.calls[16].x, run.x);
     }},
    {"scatter at 255",
     55,
     {.w = 640, .h = 480, .phase = 255},
     [](const Recorded& r, const Run& run) {
       int most = 0;
       ForEachOffset(r, run, [&](int dx, int dy) {
         EXPECT_GE(std::min(dx, dy), 0);
         most = std::max({most, dx, dy});
       });
       EXPECT_EQ(most, 4);  // L = 5
       EXPECT_EQ(r.calls.size(), 160u * 240u);
     }},
    {"rotation at 128",
     62,
     {.w = 13, .h = 7, .phase = 128},
     [](const Recorded& r, const Run& run) {
       ASSERT_EQ(r.calls.size(), 4u * 2u);
       for (const RecordedCall& c : r.calls) {
         EXPECT_EQ(c.x, run.x + 2 * 6 - c.rect->left);
         EXPECT_EQ(c.y, run.y + 2 * 3 - c.rect->top);
       }
     }},
    {"block drops at 16",
     65,
     {.w = 64, .h = 32, .phase = 16},
     [](const Recorded& r, const Run&) { EXPECT_TRUE(r.calls.empty()); }},
    {"block drops at 144",
     65,
     {.w = 64, .h = 32, .phase = 144},
     [](const Recorded& r, const Run&) { EXPECT_EQ(r.calls.size(), 8u * 4u); }},
    {"block drops at 255",
     65,
     {.w = 64, .h = 36, .phase = 255},
     [](const Recorded& r, const Run& run) {
       const auto table = TransitionRandomTable();
       ASSERT_EQ(r.calls.size(), 8u * 5u);
       for (const RecordedCall& c : r.calls) {
         const int x = c.rect->left, y = c.rect->top;
         const int v = 255 + (table[(13 * y + (x >> 3)) & 255] >> 1);
         const int l = std::min((v >> 4) - 8, 8);
         EXPECT_EQ(c.rect->bottom - y, std::min(l, 36 - y)) << x << "," << y;
         EXPECT_EQ(c.y, run.y + y + 8 - l);
         EXPECT_EQ(l, table[(13 * y + (x >> 3)) & 255] < 2 ? 7 : 8);
       }
     }},
    {"settle at 255",
     67,
     {.w = 640, .h = 480, .phase = 255},
     [](const Recorded& r, const Run& run) {
       int low = 0;
       ForEachOffset(r, run, [&](int dx, int dy) {
         EXPECT_LE(std::max(dx, dy), 0);
         low = std::min({low, dx, dy});
       });
       EXPECT_EQ(low, -1);
     }},
    {"settle fall at 1",
     68,
     {.w = 64, .h = 64, .phase = 1},
     [](const Recorded& r, const Run& run) {
       ForEachOffset(r, run, [&](int dx, int dy) {
         EXPECT_GE(dx, -16);
         EXPECT_LE(dx, 15);
         EXPECT_GE(dy, 0);
         EXPECT_LE(dy, 31);
       });
     }},
    {"mirror at 1",
     0,
     {.w = 3, .h = 2, .x = 10, .y = 20, .phase = 1},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 1, 2, 12, 20}, {1, 0, 2, 2, 11, 20}, {2, 0, 3, 2, 10, 20}});
     }},
    {"row mirror at 255",
     2,
     {.w = 3, .h = 2, .x = 10, .y = 20, .phase = 255},
     [](const Recorded& r, const Run&) {
       ExpectPieces(r, {{0, 0, 3, 1, 10, 21}, {0, 1, 3, 2, 10, 20}});
     }},
};

class TransitionExample : public testing::TestWithParam<Example> {};

TEST_P(TransitionExample, DrawsThePiecesTheFormulasGive) {
  const Example& e = GetParam();
  Reseed();
  const Recorded r = Record(e.entry, e.run);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.sourceQueries, 1);
  e.check(r, e.run);
}

std::string ExampleName(const testing::TestParamInfo<Example>& info) {
  std::string s;
  for (const char* c = info.param.name; *c; ++c) s += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return s;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, TransitionExample, testing::ValuesIn(kExamples), ExampleName);

TEST(TransitionMosaic, BlockShrinksFromSixtyFourToOneOverTheSourceCutToTheClip) {
  const struct { int phase, block; } cases[] = {{1, 64}, {4, 63}, {248, 2}, {251, 2}, {252, 1}, {255, 1}};
  for (const auto& c : cases) {
    const Recorded r = Record(kMosaic, {.phase = c.phase});
    ASSERT_EQ(r.calls.size(), 2u);
    EXPECT_EQ(r.calls[0].ToString(), "BltFast src=- at=5,3 clip=-");
    EXPECT_EQ(r.calls[1].ToString(), "MosaicBlt block=" + std::to_string(c.block) + " rect=5,3,18,10");
    EXPECT_EQ(r.result, RecordingTarget::kResult);
  }
  const RECT part{10, 0, 100, 8};
  EXPECT_EQ(Record(kMosaic, {.clip = &part}).calls[1].ToString(), "MosaicBlt block=32 rect=10,3,18,8");
  const RECT apart{100, 100, 120, 120};
  EXPECT_EQ(Record(kMosaic, {.clip = &apart}).calls[1].ToString(), "MosaicBlt block=32 rect=0,0,0,0");
  EXPECT_EQ(Record(kInvert, {.clip = &apart}).calls[1].ToString(), "FlushBlt rect=0,0,0,0");
  EXPECT_EQ(Record(kInvert, {.mode = 3}).calls[1].ToString(), "FlushBlt rect=5,3,18,10");
}

TEST(TransitionCrossFade, EachModeBlendsTheWholeSourceWithThePhase) {
  const char* ops[] = {"BlendBltFastRatio", "BlendBltRatio", "BlendBltAlphaRatio", "BlendBltNatural"};
  for (int mode = 0; mode < 4; ++mode)
    for (int phase : {1, 100, 255}) {
      const Recorded r = Record(kCrossFade, {.phase = phase, .mode = mode, .alpha = 9});
      ASSERT_EQ(r.calls.size(), 1u);
      EXPECT_EQ(r.calls[0].ToString(),
                std::string(ops[mode]) + " src=- at=5,3 ratio=" + std::to_string(phase) + " clip=-");
      EXPECT_EQ(r.result, RecordingTarget::kResult);
    }
  const Recorded bad = Record(kCrossFade, {.phase = 100, .mode = 5});
  EXPECT_TRUE(bad.calls.empty());
  EXPECT_EQ(bad.result, -1);
}

TEST(TransitionMirror, EntriesZeroAndOneLogAlikeAndEveryPhaseDrawsTheSame) {
  for (int phase : {1, 77, 255}) {
    const Recorded a = Record(0, {.w = 17, .h = 9, .phase = phase});
    const Recorded b = Record(1, {.w = 17, .h = 9, .phase = phase});
    const Recorded first = Record(0, {.w = 17, .h = 9, .phase = 1});
    EXPECT_EQ(Pieces(a), Pieces(b));
    EXPECT_EQ(Pieces(a), Pieces(first));
  }
}

}  // namespace
