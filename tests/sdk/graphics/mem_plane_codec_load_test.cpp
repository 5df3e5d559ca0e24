// Loading PNG, BMP and TGA files into memory surfaces: alpha by the decoded depth, colour keys,
// row order, scaling and the scales that leave no picture.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "image_files.h"
#include "png_writer.h"
#include "surface_util.h"

namespace {

// An RGB or RGBA PNG whose pixel (x, y) has red x, green y, blue x + y and alpha 0x80 + x.
PngFixture Gradient(int w, int h, bool alpha) {
  PngFixture fixture;
  fixture.width = w;
  fixture.height = h;
  fixture.colorType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < w; ++x) {
      row.insert(row.end(), {uint8_t(x), uint8_t(y), uint8_t(x + y)});
      if (alpha) row.push_back(uint8_t(0x80 + x));
    }
    fixture.rows.push_back(row);
  }
  return fixture;
}

uint32_t GradientColour(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | uint8_t(x + y); }

// An uncompressed true-colour TGA stored top row first; pixels as 0xAARRGGBB.
std::vector<uint8_t> MakeTga(int w, int h, int bitCount, const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> f(18, 0);
  f[2] = 2;
  PutLe(f, 12, uint32_t(w), 2);
  PutLe(f, 14, uint32_t(h), 2);
  f[16] = uint8_t(bitCount);
  f[17] = uint8_t(0x20 | (bitCount == 32 ? 8 : 0));
  for (uint32_t p : pixels)
    for (int k = 0; k < bitCount / 8; ++k) f.push_back(uint8_t(p >> (8 * k)));
  return f;
}

TEST(CodecLoadTest, PngAlphaFollowsTheDecodedDepth) {
  TempFolder dir;
  ASSERT_TRUE(WritePng(dir / "rgb.png", Gradient(7, 5, false)));
  ASSERT_TRUE(WritePng(dir / "rgba.PnG", Gradient(7, 5, true)));
  CMemPlane rgb, rgba;
  rgb.SetColorKey(1, 2, 3);
  ASSERT_EQ(rgb.Load(dir / "rgb.png", 0, 100.0), 0);
  ASSERT_EQ(rgba.Load(dir / "rgba.PnG", 0, 100.0), 0);
  EXPECT_FALSE(rgb.HasAlpha());
  EXPECT_TRUE(rgba.HasAlpha());
  EXPECT_TRUE(rgb.IsLoaded());
  EXPECT_EQ(rgb.GetImpl()->GetColorKey(), 0x010203u);  // a PNG keeps the key set before
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(surface_util::At(rgb, x, y) & 0xFFFFFF, GradientColour(x, y));
      EXPECT_EQ(surface_util::At(rgba, x, y), uint32_t(0x80 + x) << 24 | GradientColour(x, y));
    }
}

TEST(CodecLoadTest, ScaleTruncatesEachSide) {
  TempFolder dir;
  ASSERT_TRUE(WritePng(dir / "a.png", Gradient(101, 33, true)));
  const struct {
    double scale;
    int w, h;
  } kCases[] = {{50.0, 50, 16}, {100.0, 101, 33}, {200.0, 202, 66}, {1.0, 1, 0}};
  for (const auto& c : kCases) {
    CMemPlane p;
    const int r = p.Load(dir / "a.png", 0, c.scale);
    int w = -1, h = -1;
    p.GetSize(&w, &h);
    if (c.h == 0) {
      EXPECT_EQ(r, 1) << c.scale;
      EXPECT_EQ(w, 0);
      EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
      continue;
    }
    ASSERT_EQ(r, 0) << c.scale;
    EXPECT_EQ(w, c.w) << c.scale;
    EXPECT_EQ(h, c.h) << c.scale;
  }
  // At 100 % nothing is resampled.
  CMemPlane p;
  ASSERT_EQ(p.Load(dir / "a.png", 0, 100.0), 0);
  EXPECT_EQ(surface_util::At(p, 100, 32), 0xE4000000u | GradientColour(100, 32));
}

TEST(CodecLoadTest, ScalesThatLeaveNoPictureFail) {
  TempFolder dir;
  ASSERT_TRUE(WritePng(dir / "a.png", Gradient(10, 10, false)));
  for (double scale :
       {0.0, 5.0, -50.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e12}) {
    CMemPlane p;
    p.Create(3, 3, 0);
    EXPECT_EQ(p.Load(dir / "a.png", 0, scale), 1) << scale;
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr) << scale;
    EXPECT_FALSE(p.IsLoaded());
  }
}

TEST(CodecLoadTest, BmpHasNoAlphaAndTakesTheKeyFromTheFirstPixel) {
  TempFolder dir;
  // 2 x 2, 32 bits, bottom-up: the first stored row is the bottom one.
  const std::vector<uint8_t> rows = {0x01, 0x02, 0x03, 0x7F, 0x11, 0x12, 0x13, 0x7F,
                                     0x21, 0x22, 0x23, 0x7F, 0x31, 0x32, 0x33, 0x7F};
  WriteBytes(dir / "a.BMP", MakeBmp(2, 2, 32, {}, rows));
  CMemPlane p;
  p.SetColorKey(9, 9, 9);
  ASSERT_EQ(p.Load(dir / "a.BMP", 0, 100.0), 0);
  EXPECT_FALSE(p.HasAlpha());
  EXPECT_TRUE(p.IsLoaded());
  EXPECT_EQ(surface_util::At(p, 0, 0) & 0xFFFFFF, 0x232221u);
  EXPECT_EQ(surface_util::At(p, 1, 1) & 0xFFFFFF, 0x131211u);
  EXPECT_EQ(p.GetImpl()->GetColorKey(), 0x232221u);
}

// Pictures below 32 bits are expanded row by row into the surface at full scale: each stored row
// must land on its own picture row, in either stored order, with alpha 0xFF.
TEST(CodecLoadTest, ShallowBmpsLandRightWayUpInEitherRowOrder) {
  struct Case {
    const char* name;
    int bitCount;
    bool topDown;
  };
  // 3 x 2; the picture's top row is red, green, blue, its bottom row white, black, grey.
  const std::vector<RGBQUAD> palette = {{0, 0, 0xFF, 0},       {0, 0xFF, 0, 0}, {0xFF, 0, 0, 0},
                                        {0xFF, 0xFF, 0xFF, 0}, {0, 0, 0, 0},    {0x80, 0x80, 0x80, 0}};
  const uint32_t expected[2][3] = {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0xFFFFFFFF, 0xFF000000, 0xFF808080}};
  for (const Case c : {Case{"8 bits, bottom-up", 8, false}, Case{"8 bits, top-down", 8, true},
                       Case{"24 bits, bottom-up", 24, false}, Case{"24 bits, top-down", 24, true}}) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> stored;
    for (int i = 0; i < 2; ++i) {
      const int y = c.topDown ? i : 1 - i;
      std::vector<uint8_t> row;
      for (int x = 0; x < 3; ++x) {
        const int index = y * 3 + x;
        if (c.bitCount == 8) {
          row.push_back(uint8_t(index));
        } else {
          row.insert(row.end(), {palette[index].rgbBlue, palette[index].rgbGreen, palette[index].rgbRed});
        }
      }
      row.resize((row.size() + 3) / 4 * 4, 0);  // rows are padded to four bytes
      stored.insert(stored.end(), row.begin(), row.end());
    }
    TempFolder dir;
    WriteBytes(dir / "a.bmp",
               MakeBmp(3, c.topDown ? -2 : 2, c.bitCount, c.bitCount == 8 ? palette : std::vector<RGBQUAD>{}, stored));
    CMemPlane p;
    ASSERT_EQ(p.Load(dir / "a.bmp", 0, 100.0), 0);
    EXPECT_FALSE(p.HasAlpha());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(surface_util::At(p, x, y), expected[y][x]) << x << "," << y;
    EXPECT_EQ(p.GetImpl()->GetColorKey(), 0xFF0000u);
  }
}

TEST(CodecLoadTest, TgaAlphaFollowsTheDecodedDepth) {
  TempFolder dir;
  const std::vector<uint32_t> pixels = {0x80102030, 0xFF405060, 0x00708090, 0x40A0B0C0};
  WriteBytes(dir / "a.tga", MakeTga(2, 2, 32, pixels));
  WriteBytes(dir / "b.TGA", MakeTga(2, 2, 24, pixels));
  CMemPlane a, b;
  ASSERT_EQ(a.Load(dir / "a.tga", 0, 100.0), 0);
  ASSERT_EQ(b.Load(dir / "b.TGA", 0, 100.0), 0);
  EXPECT_TRUE(a.HasAlpha());
  EXPECT_FALSE(b.HasAlpha());
  for (int i = 0; i < 4; ++i) {
    // Uncompressed 32-bit TGA files store their alpha inverted.
    EXPECT_EQ(surface_util::At(a, i % 2, i / 2), pixels[i] ^ 0xFF000000);
    EXPECT_EQ(surface_util::At(b, i % 2, i / 2) & 0xFFFFFF, pixels[i] & 0xFFFFFF);
  }
}

TEST(CodecLoadTest, UndecodableFilesLeaveTheSurfaceEmpty) {
  TempFolder dir;
  WriteBytes(dir / "bad.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
  WriteBytes(dir / "bad.bmp", {'B', 'M', 0, 0});
  WriteBytes(dir / "bad.tga", {0, 0, 2});
  for (const char* name : {"bad.png", "bad.bmp", "bad.tga", "missing.png"}) {
    CMemPlane p;
    p.Create(2, 2, 0);
    EXPECT_EQ(p.Load(dir / name, 0, 100.0), 1) << name;
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr) << name;
  }
}

}  // namespace
