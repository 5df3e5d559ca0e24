#include "sdk/graphics/dib_section.h"

#include <gtest/gtest.h>

#include "image_files.h"

namespace {

COLORREF Pattern(int x, int y) { return RGB(x * 2, y * 2, (x + y) & 0xFF); }

TEST(DIBSection, SaveThumbnailWritesTheExactBmpHeaderAndRowsBottomUp) {
  ScopedTempDir dir;
  CDIBSection dib;
  ASSERT_EQ(dib.Create(120, 90, 24), 0);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) platform::SetPixel(dib.GetDC(), x, y, Pattern(x, y));
  ASSERT_EQ(dib.SaveBMP(dir.File("thumb.bmp"), nullptr), 0);

  const std::vector<uint8_t> f = ReadBytes(dir.File("thumb.bmp"));
  ASSERT_EQ(f.size(), 32454u);
  const uint8_t header[54] = {
      'B', 'M', 0xC6, 0x7E, 0, 0,  0, 0, 0, 0,  54, 0, 0, 0,     // file header
      40, 0, 0, 0,  120, 0, 0, 0,  90, 0, 0, 0,  1, 0,  24, 0,    // size, width, height, planes, depth
      0, 0, 0, 0,  0, 0, 0, 0,  0xC4, 0x0E, 0, 0,  0xC4, 0x0E, 0, 0,  // compression, image size, 3780 x 2
      0, 0, 0, 0,  0, 0, 0, 0};
  EXPECT_TRUE(std::equal(header, header + 54, f.begin()));
  // The first stored row is the bottom one; pixels are blue, green, red.
  for (auto [x, y] : {std::pair{0, 89}, {119, 89}, {5, 0}, {119, 0}, {60, 45}}) {
    const size_t at = 54 + static_cast<size_t>(89 - y) * 360 + 3 * static_cast<size_t>(x);
    const COLORREF c = Pattern(x, y);
    EXPECT_EQ(f[at], GetBValue(c)) << x << "," << y;
    EXPECT_EQ(f[at + 1], GetGValue(c)) << x << "," << y;
    EXPECT_EQ(f[at + 2], GetRValue(c)) << x << "," << y;
  }
}

TEST(DIBSection, SaveRectanglePadsRowsToFourBytes) {
  ScopedTempDir dir;
  CDIBSection dib;
  ASSERT_EQ(dib.Create(8, 3, 32), 0);
  platform::SetPixel(dib.GetDC(), 2, 2, RGB(1, 2, 3));
  struct Case { int width; uint32_t row; };
  for (const Case& c : {Case{1, 4}, Case{4, 12}, Case{5, 16}, Case{0, 0}}) {
    const RECT r{2, 1, 2 + c.width, 3};
    ASSERT_EQ(dib.SaveBMP(dir.File("r.bmp"), &r), 0);
    const std::vector<uint8_t> f = ReadBytes(dir.File("r.bmp"));
    ASSERT_EQ(f.size(), 54 + 2 * c.row) << c.width;
    EXPECT_EQ(GetLe(f, 2, 4), f.size());
    EXPECT_EQ(GetLe(f, 18, 4), static_cast<uint32_t>(c.width));
    EXPECT_EQ(GetLe(f, 22, 4), 2u);
    if (c.width > 0) {
      EXPECT_EQ(f[54], 3);  // bottom row of the rectangle first
      EXPECT_EQ(f[55], 2);
      EXPECT_EQ(f[56], 1);
      for (size_t i = 3 * static_cast<size_t>(c.width); i < c.row; ++i) EXPECT_EQ(f[54 + i], 0) << "padding";
    }
  }
}

TEST(DIBSection, ReleasedSectionWritesNothingAndFailuresAreReported) {
  ScopedTempDir dir;
  CDIBSection dib;
  EXPECT_EQ(dib.SaveBMP(dir.File("none.bmp"), nullptr), 0);
  EXPECT_TRUE(ReadBytes(dir.File("none.bmp")).empty());
  int w = -1, h = -1;
  EXPECT_EQ(dib.GetSize(&w, &h), 1);

  ASSERT_EQ(dib.Create(4, 4, 24), 0);
  EXPECT_EQ(dib.GetSize(&w, &h), 0);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(dib.SaveBMP(dir.File("missing/folder.bmp"), nullptr), 1);
  const RECT inverted{3, 0, 1, 4};
  EXPECT_EQ(dib.SaveBMP(dir.File("inverted.bmp"), &inverted), 2);
  EXPECT_TRUE(ReadBytes(dir.File("inverted.bmp")).empty());
  EXPECT_EQ(dib.Release(), 0);
  EXPECT_EQ(dib.GetDC(), nullptr);
  EXPECT_EQ(dib.GetBits(), nullptr);

  EXPECT_EQ(dib.Create(0, 4, 24), 1);
  EXPECT_EQ(dib.Create(4, 4, 7), 1);
  EXPECT_EQ(dib.GetDC(), nullptr);
}

TEST(DIBSection, LoadByPictureLoaderCopiesOrDrawsABmp) {
  ScopedTempDir dir;
  // 2 x 2, 24 bits, bottom-up: stored rows are bottom then top, each padded to 8 bytes.
  const std::vector<uint8_t> rows24 = {1, 2, 3, 4, 5, 6, 0, 0, /* top: */ 7, 8, 9, 10, 11, 12, 0, 0};
  WriteBytes(dir.File("p24.pic"), MakeBmp(2, 2, 24, {}, rows24));
  // 3 x 1, 8 bits with a table of three colours.
  WriteBytes(dir.File("p8.pic"), MakeBmp(3, 1, 8, {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}}, {2, 1, 0, 0}));

  CDIBSection dib;
  ASSERT_EQ(dib.LoadByPictureLoader(dir.File("p24.pic"), 32), 0);
  const auto* px = static_cast<const uint32_t*>(dib.GetBits());
  EXPECT_EQ(px[0], 0x00090807u);  // top-left
  EXPECT_EQ(px[1], 0x000C0B0Au);
  EXPECT_EQ(px[2], 0x00030201u);  // bottom-left
  EXPECT_EQ(px[3], 0x00060504u);

  ASSERT_EQ(dib.LoadByPictureLoader(dir.File("p24.pic"), 24), 0);  // drawn, not copied
  EXPECT_EQ(platform::GetPixel(dib.GetDC(), 0, 0), RGB(9, 8, 7));
  EXPECT_EQ(platform::GetPixel(dib.GetDC(), 1, 1), RGB(6, 5, 4));

  ASSERT_EQ(dib.LoadByPictureLoader(dir.File("p8.pic"), 32), 0);
  px = static_cast<const uint32_t*>(dib.GetBits());
  EXPECT_EQ(px[0], 0x000000FFu);
  EXPECT_EQ(px[1], 0x0000FF00u);
  EXPECT_EQ(px[2], 0x00FF0000u);

  EXPECT_EQ(dib.LoadByPictureLoader(dir.File("absent.pic"), 32), 1);
}

}  // namespace
