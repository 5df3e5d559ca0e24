#include "sdk/graphics/tga_reader.h"

#include <gtest/gtest.h>

#include "image_files.h"
#include "sdk/graphics/dib_image.h"

namespace {

struct Tga {
  uint8_t type = 2;
  uint8_t mapType = 0;
  uint16_t mapLength = 0;
  uint8_t mapBits = 0;
  uint16_t width = 0, height = 0;
  uint8_t bits = 24;
  uint8_t descriptor = 0;
  std::vector<uint8_t> id, map, data;

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> f(18, 0);
    f[0] = static_cast<uint8_t>(id.size());
    f[1] = mapType;
    f[2] = type;
    PutLe(f, 5, mapLength, 2);
    f[7] = mapBits;
    PutLe(f, 12, width, 2);
    PutLe(f, 14, height, 2);
    f[16] = bits;
    f[17] = descriptor;
    f.insert(f.end(), id.begin(), id.end());
    f.insert(f.end(), map.begin(), map.end());
    f.insert(f.end(), data.begin(), data.end());
    return f;
  }
};

uint8_t Load(const ScopedTempDir& dir, const Tga& t, CDibImage& im) {
  WriteBytes(dir.File("t.tga"), t.Bytes());
  return LoadTgaToDib(dir.File("t.tga"), &im, 0, 0);
}

Tga Picture(uint8_t type, uint16_t width, uint16_t height, uint8_t bits) {
  Tga t;
  t.type = type;
  t.width = width;
  t.height = height;
  t.bits = bits;
  return t;
}

// A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
const uint8_t kTop[9] = {0, 0, 255, 0, 255, 0, 255, 0, 0};
const uint8_t kBottom[9] = {255, 255, 255, 0, 0, 0, 128, 128, 128};
const uint32_t kExpect[2][3] = {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFFFFFFFF, 0xFF000000, 0xFF808080}};

std::vector<uint8_t> Rows(bool topFirst) {
  std::vector<uint8_t> d;
  const uint8_t* first = topFirst ? kTop : kBottom;
  const uint8_t* second = topFirst ? kBottom : kTop;
  d.insert(d.end(), first, first + 9);
  d.insert(d.end(), second, second + 9);
  return d;
}

// The same rows as literal run-length packets, the first one crossing the end of the first row.
std::vector<uint8_t> RunLength(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> d = {3};  // four literal pixels: all of row one and the first of row two
  d.insert(d.end(), raw.begin(), raw.begin() + 12);
  d.push_back(1);  // two literal pixels
  d.insert(d.end(), raw.begin() + 12, raw.end());
  return d;
}

void ExpectPicture(const CDibImage& im, const char* what) {
  ASSERT_EQ(im.GetWidth(), 3) << what;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(im, x, y), kExpect[y][x]) << what << " at " << x << "," << y;
}

TEST(TgaReader, RawAndRunLengthTrueColourInBothRowOrders) {
  ScopedTempDir dir;
  for (bool topFirst : {false, true}) {
    for (uint8_t type : {uint8_t{2}, uint8_t{10}}) {
      Tga t;
      t.type = type;
      t.width = 3;
      t.height = 2;
      t.descriptor = topFirst ? 0x20 : 0;
      t.id = {'i', 'd'};
      t.data = type == 2 ? Rows(topFirst) : RunLength(Rows(topFirst));
      CDibImage im;
      ASSERT_EQ(Load(dir, t, im), 1);
      EXPECT_EQ(im.GetBitCount(), 24);
      // Raw rows are kept in file order; run-length pictures are always bottom-up.
      EXPECT_EQ(im.GetHeight(), (topFirst && type == 2) ? -2 : 2);
      ExpectPicture(im, type == 2 ? "raw" : "run-length");
    }
  }
}

TEST(TgaReader, RunsCrossRowEndsAndRepeatPixels) {
  ScopedTempDir dir;
  Tga t = Picture(10, 3, 2, 32);
  t.descriptor = 0x20;
  t.data = {0x84, 1, 2, 3, 0x40,   // five repeats: the whole top row and two of the bottom
            0x00, 9, 8, 7, 0x80,   // one literal pixel ends the picture
            0x85, 0, 0, 0, 0};     // never read
  CDibImage im;
  ASSERT_EQ(Load(dir, t, im), 1);
  EXPECT_EQ(PixelAt(im, 0, 0), 0x40030201u);  // run-length files keep alpha as stored
  EXPECT_EQ(PixelAt(im, 1, 1), 0x40030201u);
  EXPECT_EQ(PixelAt(im, 2, 1), 0x80070809u);
}

TEST(TgaReader, Raw32BitAlphaIsInverted16BitPixelsAreKept) {
  ScopedTempDir dir;
  Tga t = Picture(2, 1, 1, 32);
  t.data = {1, 2, 3, 0x30};
  CDibImage im;
  ASSERT_EQ(Load(dir, t, im), 1);
  EXPECT_EQ(PixelAt(im, 0, 0), 0xCF030201u);

  t.bits = 16;
  t.width = 2;
  t.data = {0x1F, 0x80, 0xE0, 0x03};  // blue with the top bit set, then green
  ASSERT_EQ(Load(dir, t, im), 1);
  EXPECT_EQ(im.GetBits()[1], 0x80);
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFF0000F8u);
  EXPECT_EQ(PixelAt(im, 1, 0), 0xFF00F800u);
}

TEST(TgaReader, ColourMappedAndGreyPictures) {
  ScopedTempDir dir;
  // 300 map entries: the table keeps 256 and the rest is skipped to find the pixels.
  Tga t;
  t.type = 1;
  t.mapType = 1;
  t.mapLength = 300;
  t.mapBits = 24;
  t.width = 2;
  t.height = 1;
  t.bits = 8;
  for (int i = 0; i < 300; ++i) t.map.insert(t.map.end(), {static_cast<uint8_t>(i), 7, static_cast<uint8_t>(255 - i % 256)});
  t.data = {5, 255};
  CDibImage im;
  ASSERT_EQ(Load(dir, t, im), 1);
  EXPECT_EQ(im.GetBitCount(), 8);
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFFFA0705u);
  EXPECT_EQ(PixelAt(im, 1, 0), 0xFF0007FFu);

  t.type = 9;
  t.data = {0x81, 5};  // a run of two
  ASSERT_EQ(Load(dir, t, im), 1);
  EXPECT_EQ(PixelAt(im, 1, 0), 0xFFFA0705u);

  Tga g = Picture(3, 2, 1, 8);
  g.data = {0x10, 0xE0};
  // An unused map of 15-bit entries takes two bytes an entry.
  g.mapType = 1;
  g.mapLength = 3;
  g.mapBits = 15;
  g.map = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  ASSERT_EQ(Load(dir, g, im), 1);
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFF101010u);
  EXPECT_EQ(PixelAt(im, 1, 0), 0xFFE0E0E0u);
}

TEST(TgaReader, RefusesWhatItDoesNotRead) {
  ScopedTempDir dir;
  Tga good;
  good.width = 3;
  good.height = 2;
  good.data = Rows(false);
  struct Case {
    const char* what;
    Tga tga;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change) {
    Tga t = good;
    change(t);
    cases.push_back({what, t});
  };
  add("run-length grey", [](Tga& t) { t.type = 11; });
  add("type 0", [](Tga& t) { t.type = 0; });
  add("true colour of 8 bits", [](Tga& t) { t.bits = 8; });
  add("mapped without a map", [](Tga& t) { t.type = 1; t.bits = 8; });
  add("mapped with 16-bit entries", [](Tga& t) { t.type = 1; t.bits = 8; t.mapType = 1; t.mapLength = 2; t.mapBits = 16; t.map = {0, 0, 0, 0}; });
  add("rows missing", [](Tga& t) { t.data.pop_back(); });
  add("packets missing", [](Tga& t) { t.type = 10; t.data = {0x85, 1, 2}; });
  add("map longer than the file", [](Tga& t) { t.mapType = 1; t.mapLength = 65535; t.mapBits = 32; });
  add("width 0", [](Tga& t) { t.width = 0; });
  add("too large", [](Tga& t) { t.width = 65535; t.height = 65535; t.bits = 32; });
  CDibImage im;
  ASSERT_EQ(Load(dir, good, im), 1);
  for (const Case& c : cases) {
    WriteBytes(dir.File("bad.tga"), c.tga.Bytes());
    EXPECT_EQ(LoadTgaToDib(dir.File("bad.tga"), &im), 0) << c.what;
  }
  WriteBytes(dir.File("short.tga"), std::vector<uint8_t>(17, 0));
  EXPECT_EQ(LoadTgaToDib(dir.File("short.tga"), &im), 0);
  EXPECT_EQ(LoadTgaToDib(dir.File("absent.tga"), &im), 0);
}

}  // namespace
