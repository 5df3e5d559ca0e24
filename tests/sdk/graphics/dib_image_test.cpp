#include "sdk/graphics/dib_image.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "image_files.h"

namespace {

int AbsH(const CDibImage& im) { return im.GetHeight() < 0 ? -im.GetHeight() : im.GetHeight(); }

// Fills every pixel with a value that depends on its place, as raw bits of the depth.
void FillPattern(CDibImage& im) {
  const int bits = im.GetBitCount();
  for (int y = 0; y < AbsH(im); ++y) {
    uint8_t* row = const_cast<uint8_t*>(VisualRow(im, y));
    for (int x = 0; x < im.GetWidth(); ++x) {
      const uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + 7) * 2654435761u;
      if (bits >= 16) {
        platform::StoreDibPixel(row, x, bits, {}, v);
      } else if (bits == 8) {
        row[x] = static_cast<uint8_t>(v);
      } else {
        // Palette indices go in the most significant bits first.
        const int shift = 8 - bits - (x * bits) % 8;
        const uint8_t mask = static_cast<uint8_t>(((1 << bits) - 1) << shift);
        uint8_t& b = row[x * bits / 8];
        b = static_cast<uint8_t>((b & ~mask) | ((v << shift) & mask));
      }
    }
  }
  const std::span<RGBQUAD> table = im.GetColors();
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = RGBQUAD{static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7), 0};
}

TEST(DibImage, BmpRoundTripAtEveryDepthAndRowOrder) {
  ScopedTempDir dir;
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    for (int sign : {1, -1}) {
      CDibImage src;
      ASSERT_TRUE(src.Create(13, sign * 5, bits)) << bits;
      FillPattern(src);
      ASSERT_TRUE(src.SaveBmp(dir.File("rt.bmp"))) << bits;

      const std::vector<uint8_t> f = ReadBytes(dir.File("rt.bmp"));
      const uint32_t colors = bits <= 8 ? (1u << bits) : 0;
      ASSERT_EQ(f.size(), 54 + 4 * colors + static_cast<size_t>(src.GetStride()) * 5) << bits;
      EXPECT_EQ(GetLe(f, 10, 4), 54 + 4 * colors);
      EXPECT_EQ(GetLe(f, 2, 4), f.size());
      EXPECT_EQ(static_cast<int32_t>(GetLe(f, 22, 4)), 5);  // always written bottom-up

      CDibImage back;
      ASSERT_TRUE(back.LoadBmp(dir.File("rt.bmp"), 0x3F)) << bits;
      EXPECT_EQ(back.GetWidth(), 13);
      EXPECT_EQ(back.GetHeight(), 5);
      EXPECT_EQ(back.GetBitCount(), bits);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
          ASSERT_EQ(PixelAt(back, x, y), PixelAt(src, x, y)) << bits << " " << sign << " at " << x << "," << y;
    }
  }
}

TEST(DibImage, LoadBmpRefusesWhatItDoesNotRead) {
  ScopedTempDir dir;
  const std::vector<uint8_t> rows24(8, 0x40);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    uint32_t mask;
  };
  auto with = [](std::vector<uint8_t> f, size_t at, uint32_t v, int n) {
    PutLe(f, at, v, n);
    return f;
  };
  const std::vector<uint8_t> good = MakeBmp(2, 1, 24, {}, rows24);
  const Case cases[] = {
      {"108-byte header", with(good, 14, 108, 4), 0x3F},
      {"124-byte header", with(good, 14, 124, 4), 0x3F},
      {"run-length 4 bits", with(MakeBmp(2, 1, 4, std::vector<RGBQUAD>(16), {0, 0, 0, 0}), 30, BI_RLE4, 4), 0x3F},
      {"bit fields", with(MakeBmp(2, 1, 32, {}, std::vector<uint8_t>(8)), 30, BI_BITFIELDS, 4), 0x3F},
      {"run-length 8 at 24 bits", with(good, 30, BI_RLE8, 4), 0x3F},
      {"24 bits not admitted", good, 0x2F},
      {"not BM", with(good, 0, 0x4D43, 2), 0x3F},
      {"depth 2", with(good, 28, 2, 2), 0x3F},
      {"width 0", with(good, 18, 0, 4), 0x3F},
      {"height 0", with(good, 22, 0, 4), 0x3F},
      {"rows missing", std::vector<uint8_t>(good.begin(), good.end() - 1), 0x3F},
      {"huge width", with(good, 18, 0x7FFFFFFF, 4), 0x3F},
      {"huge image", with(with(good, 18, 40000, 4), 22, 40000, 4), 0x3F},
  };
  CDibImage ok;
  WriteBytes(dir.File("good.bmp"), good);
  ASSERT_TRUE(ok.LoadBmp(dir.File("good.bmp"), 0x3F));
  for (const Case& c : cases) {
    WriteBytes(dir.File("bad.bmp"), c.file);
    CDibImage im;
    ASSERT_TRUE(im.Create(2, 2, 8));
    EXPECT_FALSE(im.LoadBmp(dir.File("bad.bmp"), c.mask)) << c.what;
    EXPECT_EQ(im.GetBits(), nullptr) << c.what;  // a failed load leaves an empty image
    EXPECT_EQ(im.GetHeader(), nullptr) << c.what;
  }
  CDibImage none;
  EXPECT_FALSE(none.LoadBmp(dir.File("absent.bmp"), 0x3F));
  EXPECT_FALSE(none.SaveBmp(dir.File("none.bmp")));
  EXPECT_FALSE(ok.SaveBmp(dir.File("missing/folder.bmp")));  // a write that cannot be made is reported
}

TEST(DibImage, RunLengthBmpDecodesLikeItsUncompressedTwin) {
  ScopedTempDir dir;
  const std::vector<RGBQUAD> table = {{0, 0, 0, 0}, {10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
  // 6 x 3, stored bottom-up; rows padded to 8 bytes.
  const std::vector<uint8_t> raw = {1, 1, 1, 2, 3, 0, 0, 0,  //
                                    0, 0, 0, 0, 0, 3, 0, 0,  //
                                    2, 2, 2, 2, 2, 2, 0, 0};
  const std::vector<uint8_t> rle = {3, 1, 0, 3, 2, 3, 0, 0,  // run of three 1s, absolute run 2 3 0 (odd: one pad byte)
                                    0, 0,                    // end of line
                                    0, 2, 5, 0, 1, 3,        // delta right 5, then a single 3
                                    0, 0,                    //
                                    6, 2, 0, 1};             // run of six 2s, end of bitmap
  WriteBytes(dir.File("raw.bmp"), MakeBmp(6, 3, 8, table, raw));
  WriteBytes(dir.File("rle.bmp"), MakeBmp(6, 3, 8, table, rle, BI_RLE8));
  CDibImage a, b;
  ASSERT_TRUE(a.LoadBmp(dir.File("raw.bmp"), 0x3F));
  ASSERT_TRUE(b.LoadBmp(dir.File("rle.bmp"), 0x3F));
  EXPECT_EQ(b.GetHeader()->bmiHeader.biCompression, BI_RGB);
  EXPECT_EQ(b.GetHeader()->bmiHeader.biSizeImage, 24u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(a, x, y), PixelAt(b, x, y)) << x << "," << y;
}

TEST(DibImage, RunLengthRunsAndDeltasStopAtTheImageEdges) {
  ScopedTempDir dir;
  const std::vector<uint8_t> rle = {200, 1,                  // a run far longer than the row
                                    0,   2, 250, 0,   4, 7,  // a delta out to the right, then a run that lands nowhere
                                    0,   0,                  //
                                    0,   5, 1,   2,   3, 4, 5, 0,  // absolute run longer than the row (odd, padded)
                                    0,   2, 0,   200,              // a delta far below the image
                                    9,   9};                       // never written
  WriteBytes(dir.File("edge.bmp"), MakeBmp(3, 2, 8, std::vector<RGBQUAD>(256), rle, BI_RLE8));
  CDibImage im;
  ASSERT_TRUE(im.LoadBmp(dir.File("edge.bmp"), 0x3F));
  const uint8_t* bits = im.GetBits();
  const uint8_t expect[8] = {1, 1, 1, 0, 1, 2, 3, 0};
  EXPECT_EQ(std::memcmp(bits, expect, 8), 0);
}

TEST(DibImage, ColourTableAlwaysHoldsEveryIndexAndPixelOffsetIsHonoured) {
  ScopedTempDir dir;
  // Two colours declared for 8 bits; a pixel names index 200, which must read as black.
  std::vector<uint8_t> f = MakeBmp(2, 1, 8, {{1, 2, 3, 0}, {4, 5, 6, 0}}, {1, 200, 0, 0});
  WriteBytes(dir.File("few.bmp"), f);
  CDibImage im;
  ASSERT_TRUE(im.LoadBmp(dir.File("few.bmp"), 0x3F));
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFF060504u);
  EXPECT_EQ(PixelAt(im, 1, 0), 0xFF000000u);
  EXPECT_TRUE(im.ConvertTo32());
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(im.GetBits())[1], 0xFF000000u);

  // More colours declared than the depth can index: only 16 are kept.
  std::vector<uint8_t> many = MakeBmp(1, 1, 4, std::vector<RGBQUAD>(300, RGBQUAD{9, 9, 9, 0}), {0xF0, 0, 0, 0});
  WriteBytes(dir.File("many.bmp"), many);
  ASSERT_TRUE(im.LoadBmp(dir.File("many.bmp"), 0x3F));
  EXPECT_EQ(im.GetColors().size(), 16u);
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFF090909u);

  // A gap between the table and the pixels: the file header's offset is where they are.
  std::vector<uint8_t> gap = MakeBmp(1, 1, 24, {}, {0, 0, 0, 0});
  gap.insert(gap.begin() + 54, {0xEE, 0xEE, 0xEE, 0xEE});
  gap[54 + 4] = 0x11;
  gap[55 + 4] = 0x22;
  gap[56 + 4] = 0x33;
  PutLe(gap, 10, 58, 4);
  PutLe(gap, 2, static_cast<uint32_t>(gap.size()), 4);
  WriteBytes(dir.File("gap.bmp"), gap);
  ASSERT_TRUE(im.LoadBmp(dir.File("gap.bmp"), 0x3F));
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFF332211u);
  // An offset inside the headers is not valid: the pixels follow the table.
  PutLe(gap, 10, 20, 4);
  WriteBytes(dir.File("gap.bmp"), gap);
  ASSERT_TRUE(im.LoadBmp(dir.File("gap.bmp"), 0x3F));
  EXPECT_EQ(PixelAt(im, 0, 0), 0xFFEEEEEEu);
}

TEST(DibImage, ExpansionsFollowTheColourRules) {
  CDibImage im;
  ASSERT_TRUE(im.Create(2, 1, 16));
  const uint8_t px16[4] = {0xFF, 0x7F, 0x1F, 0x00};  // white 5-5-5, then pure blue
  std::memcpy(im.GetBits(), px16, 4);
  const DibBlock<uint32_t> argb = im.To32Bytes();
  EXPECT_EQ(argb[0], 0xFFF8F8F8u);  // r5 x 8, no replication of the high bits
  EXPECT_EQ(argb[1], 0xFF0000F8u);
  const DibBlock<uint8_t> grey = im.ToGreyBytes();
  EXPECT_EQ(grey[0], DibGrey(248, 248, 248));
  EXPECT_EQ(DibGrey(255, 255, 255), 255);

  ASSERT_TRUE(im.Create(1, 1, 32));
  const uint32_t translucent = 0x40102030u;
  std::memcpy(im.GetBits(), &translucent, 4);
  EXPECT_EQ(im.To32Bytes()[0], translucent);  // 32-bit words are copied as they are
  const DibBlock<uint8_t> bgr = im.To24Bytes();
  EXPECT_EQ(bgr[0], 0x30);
  EXPECT_EQ(bgr[2], 0x10);

  CDibImage empty;
  EXPECT_EQ(empty.To32Bytes(), nullptr);
  EXPECT_FALSE(empty.ConvertBitCount(32, 0));
}

void Solid(CDibImage& im, int w, int h, uint32_t argb) {
  ASSERT_TRUE(im.Create(w, h, 32));
  auto* p = reinterpret_cast<uint32_t*>(im.GetBits());
  for (int i = 0; i < w * (h < 0 ? -h : h); ++i) p[i] = argb;
}

TEST(DibImage, OrderedDitherAndGreyConversionsOfPureColours) {
  struct Case {
    uint32_t colour;
    uint32_t mode;
    uint8_t index;
  };
  const Case cases[] = {
      {0xFFFFFFFF, 1, 215},
      {0xFF000000, 1, 0},
      {0xFFFF0000, 1, 5},
      {0xFF0000FF, 1, 180},
      {0xFFFFFFFF, 0, 255},
      {0xFF000000, 0, 0},
      {0xFF808080, 0, DibGrey(128, 128, 128)},
  };
  for (const Case& c : cases) {
    CDibImage im;
    Solid(im, 9, 9, c.colour);
    ASSERT_TRUE(im.ConvertBitCount(8, c.mode));
    EXPECT_EQ(im.GetBitCount(), 8);
    EXPECT_EQ(im.GetHeight(), 9);
    for (int i = 0; i < 9; ++i)
      EXPECT_EQ(im.GetBits()[static_cast<size_t>(i) * im.GetStride() + i], c.index) << std::hex << c.colour;
  }
  // The dither's colour cube: entry 36 b + 6 g + r, grey ramp above it.
  CDibImage im;
  Solid(im, 1, 1, 0xFF336699);
  ASSERT_TRUE(im.ConvertTo8(1));
  const RGBQUAD e = im.GetColors()[36 * 2 + 6 * 3 + 4];
  EXPECT_EQ(e.rgbBlue, 102);
  EXPECT_EQ(e.rgbGreen, 153);
  EXPECT_EQ(e.rgbRed, 204);
  EXPECT_EQ(im.GetColors()[230].rgbRed, 230);
  // 0x33 = 51 exactly: level 1 wherever the threshold is; 0x66, 0x99 likewise.
  EXPECT_EQ(im.GetBits()[0], 36 * 3 + 6 * 2 + 1);
}

TEST(DibImage, FourAndSixteenBitConversions) {
  CDibImage im;
  Solid(im, 3, 1, 0xFF7F7F7F);
  ASSERT_TRUE(im.ConvertTo4(0));
  EXPECT_EQ(im.GetColors()[3].rgbRed, 51);
  EXPECT_EQ(im.GetBits()[0] >> 4, DibGrey(127, 127, 127) / 16);

  // Truncation: every channel keeps its top five bits.
  CDibImage t;
  Solid(t, 4, 1, 0xFF0F0F0F);
  ASSERT_TRUE(t.ConvertTo16(0));
  const uint8_t* p = t.GetBits();
  EXPECT_EQ(p[0] | (p[1] << 8), (1 << 10) | (1 << 5) | 1);
  // Carries: 0x0F leaves 7 behind, so the second pixel is 0x0F + 7 = 0x16 -> 2, leaving 6;
  // the third 0x0F + 6 = 0x15 -> 2, leaving 5; the fourth 0x14 -> 2.
  CDibImage c;
  Solid(c, 4, 1, 0xFF0F0F0F);
  ASSERT_TRUE(c.ConvertTo16(1));
  const uint8_t* q = c.GetBits();
  const int expect[4] = {1, 2, 2, 2};
  for (int i = 0; i < 4; ++i) EXPECT_EQ((q[2 * i] | (q[2 * i + 1] << 8)) & 31, expect[i]) << i;
}

TEST(DibImage, OneBitErrorDiffusionOfMidGreyIsAboutHalfWhite) {
  for (uint32_t grey : {0xFF808080u, 0xFF404040u}) {
    CDibImage im;
    Solid(im, 64, 64, grey);
    ASSERT_TRUE(im.ConvertTo1());
    EXPECT_EQ(im.GetColors()[1].rgbRed, 255);
    int white = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        white += (im.GetBits()[static_cast<size_t>(y) * im.GetStride() + x / 8] >> (7 - x % 8)) & 1;
    const double share = white / 4096.0, expect = (grey & 0xFF) / 255.0;
    EXPECT_NEAR(share, expect, 0.03) << std::hex << grey;
  }
  CDibImage black, white;
  Solid(black, 5, 3, 0xFF000000);
  Solid(white, 5, 3, 0xFFFFFFFF);
  ASSERT_TRUE(black.ConvertTo1());
  ASSERT_TRUE(white.ConvertTo1());
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(black.GetBits()[y * black.GetStride()], 0x00);
    EXPECT_EQ(white.GetBits()[y * white.GetStride()], 0xF8);
  }
}

TEST(DibImage, ResizeKeepsCornersAndHandlesSingleRowsAndColumns) {
  CDibImage im;
  ASSERT_TRUE(im.Create(4, -4, 32));
  uint32_t p[16];
  for (int i = 0; i < 16; ++i) p[i] = 0x01010101u * static_cast<uint32_t>(i * 16);
  std::memcpy(im.GetBits(), p, 64);
  CDibImage same;
  ASSERT_TRUE(same.Create(4, -4, 32));
  std::memcpy(same.GetBits(), p, 64);
  ASSERT_TRUE(same.Resize(4, 4));
  EXPECT_EQ(same.GetHeight(), -4);  // the row order stays
  EXPECT_EQ(std::memcmp(same.GetBits(), p, 64), 0);

  ASSERT_TRUE(im.Resize(2, 2));
  const auto* q = reinterpret_cast<const uint32_t*>(im.GetBits());
  EXPECT_EQ(q[0], p[0]);
  EXPECT_EQ(q[1], 0x01010101u * 48);
  EXPECT_EQ(q[2], 0x01010101u * 192);
  EXPECT_EQ(q[3], 0x01010101u * 240);

  // From and to a single column or row; sizes of 0 or less fail and change nothing.
  struct Case {
    int w, h, nw, nh;
    bool ok;
  };
  const Case cases[] = {{1, 1, 3, 2, true}, {1, 5, 4, 4, true},  {5, 1, 1, 1, true},
                        {5, 5, 1, 3, true}, {3, 3, 0, 3, false}, {3, 3, 3, -1, false}};
  for (const Case& c : cases) {
    for (int bits : {8, 24}) {
      CDibImage s;
      ASSERT_TRUE(s.Create(c.w, c.h, bits));
      std::memset(s.GetBits(), 0x5A, static_cast<size_t>(s.GetStride()) * c.h);
      EXPECT_EQ(s.Resize(c.nw, c.nh), c.ok) << c.w << "x" << c.h << "->" << c.nw << "x" << c.nh;
      EXPECT_EQ(s.GetWidth(), c.ok ? c.nw : c.w);
      for (int y = 0; y < AbsH(s); ++y)
        for (int x = 0; x < s.GetWidth() * bits / 8; ++x) EXPECT_EQ(VisualRow(s, y)[x], 0x5A);
    }
  }
}

// Thumbnails and scaled loads rest on the smooth-step weight 3f^2 - 2f^3: a quarter of the way
// weighs 40/256, not the 64/256 of a straight line, so (0, 255) widened to 5 pixels is
// 0, 39, 127, 215, 255 and not 0, 63, 127, 191, 255.
TEST(DibImage, ResizeWeighsNeighboursWithTheSmoothStep) {
  for (int bits : {24, 32}) {
    CDibImage im;
    ASSERT_TRUE(im.Create(2, 1, bits));
    const int n = bits / 8;
    std::memset(im.GetBits(), 0, static_cast<size_t>(im.GetStride()));
    std::memset(im.GetBits() + n, 0xFF, static_cast<size_t>(n));
    ASSERT_TRUE(im.Resize(5, 1));
    const uint8_t expected[5] = {0, 39, 127, 215, 255};
    for (int x = 0; x < 5; ++x)
      for (int k = 0; k < n; ++k) EXPECT_EQ(im.GetBits()[x * n + k], expected[x]) << bits << " bits, x " << x;
  }
}

TEST(DibImage, ResizeTakesTheNearestPixelAtPaletteDepths) {
  CDibImage im;
  ASSERT_TRUE(im.Create(3, 1, 8));
  const uint8_t row[3] = {10, 20, 30};
  std::memcpy(im.GetBits(), row, 3);
  ASSERT_TRUE(im.Resize(5, 1));
  // Positions 0, 0.5, 1, 1.5, 2: smooth-step weight 128 at the halves keeps the left pixel.
  const uint8_t expect[5] = {10, 10, 20, 20, 30};
  EXPECT_EQ(std::memcmp(im.GetBits(), expect, 5), 0);
  EXPECT_EQ(im.GetColors().size(), 256u);  // the colour table stays
}

}  // namespace
