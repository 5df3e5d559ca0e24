#include "platform/mem_dc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A header with room for a colour table, as the callers of the DIB functions build one.
struct Info {
  std::vector<uint8_t> bytes;
  Info(int width, int height, int bitCount, std::vector<RGBQUAD> colors = {}) {
    bytes.resize(sizeof(BITMAPINFOHEADER) + 256 * 4);  // room for any table the depth implies
    BITMAPINFOHEADER h;
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<uint16_t>(bitCount);
    h.biClrUsed = static_cast<uint32_t>(colors.size());
    std::memcpy(bytes.data(), &h, sizeof h);
    if (!colors.empty()) std::memcpy(bytes.data() + 40, colors.data(), colors.size() * 4);
  }
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(bytes.data()); }
};

struct Section {
  std::unique_ptr<platform::Bitmap> bitmap;
  platform::MemDC dc;
  Section(int w, int h, int bits, std::vector<RGBQUAD> colors = {}) {
    Info info(w, h, bits, std::move(colors));
    bitmap = platform::CreateDIBSection(info.get());
    dc.SelectBitmap(bitmap.get());
  }
  uint32_t Word(int x, int y) const {
    uint32_t v;
    std::memcpy(&v, bitmap->Row(y) + 4 * x, 4);
    return v;
  }
};

TEST(MemDC, CreateDIBSectionRefusesUnusableHeaders) {
  struct Case { int w, h, bits; uint32_t compression; bool ok; };
  const Case cases[] = {
      {4, 4, 32, BI_RGB, true},    {4, -4, 24, BI_RGB, true},  {3, 2, 1, BI_RGB, true},
      {0, 4, 32, BI_RGB, false},   {4, 0, 32, BI_RGB, false},  {-4, 4, 32, BI_RGB, false},
      {4, 4, 2, BI_RGB, false},    {4, 4, 8, BI_RLE8, false},  {1 << 20, 1 << 20, 32, BI_RGB, false},
      {4, INT32_MIN, 32, BI_RGB, false},
  };
  for (const Case& c : cases) {
    Info info(c.w, c.h, c.bits);
    info.get()->bmiHeader.biCompression = c.compression;
    EXPECT_EQ(platform::CreateDIBSection(info.get()) != nullptr, c.ok) << c.w << "x" << c.h << "x" << c.bits;
  }
}

TEST(MemDC, FreshSectionIsZeroAndRowsFollowTheStoredOrder) {
  Section top(3, -2, 24), bottom(3, 2, 24);
  ASSERT_TRUE(top.bitmap && bottom.bitmap);
  EXPECT_EQ(top.bitmap->Pitch(), 12);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(top.bitmap->Bits()[i], 0);
  EXPECT_EQ(top.bitmap->Row(0), top.bitmap->Bits());
  EXPECT_EQ(bottom.bitmap->Row(0), bottom.bitmap->Bits() + 12);
  EXPECT_EQ(bottom.bitmap->Height(), 2);
  EXPECT_TRUE(top.bitmap->TopDown());
  EXPECT_FALSE(bottom.bitmap->TopDown());
}

// A section's block may be one another section just gave back, drawn over: it still starts zero,
// at a small size and at a full screen's.
TEST(MemDC, ASectionMadeWhereAnotherWasIsZero) {
  for (const auto& [width, height] : {std::pair{3, 2}, std::pair{800, 600}}) {
    SCOPED_TRACE(width);
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    for (int round = 0; round < 3; ++round) {
      Section section(width, -height, 32);
      ASSERT_TRUE(section.bitmap);
      const uint8_t* bits = section.bitmap->Bits();
      ASSERT_EQ(std::count(bits, bits + bytes, uint8_t{0}), static_cast<std::ptrdiff_t>(bytes)) << round;
      std::memset(section.bitmap->Bits(), 0xA5, bytes);
    }
  }
}

TEST(MemDC, SetPixelAndGetPixelSpeakColorrefAtEveryDepth) {
  const std::vector<RGBQUAD> grey4 = {{0, 0, 0, 0}, {128, 128, 128, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}};
  const std::vector<RGBQUAD> two = {grey4[0], grey4[1]};
  struct Case { int bits; std::vector<RGBQUAD> colors; COLORREF in, out; };
  const Case cases[] = {
      {32, {}, RGB(10, 20, 30), RGB(10, 20, 30)},
      {24, {}, RGB(200, 100, 1), RGB(200, 100, 1)},
      {16, {}, RGB(255, 129, 7), RGB(248, 128, 0)},  // 5 bits a channel, scaled by 8
      {8, grey4, RGB(250, 5, 5), RGB(255, 0, 0)},     // nearest entry of the table
      {4, grey4, RGB(120, 140, 130), RGB(128, 128, 128)},
      {1, two, RGB(200, 200, 200), RGB(128, 128, 128)},
  };
  for (const Case& c : cases) {
    Section s(5, 3, c.bits, c.colors);
    ASSERT_TRUE(s.bitmap);
    EXPECT_EQ(platform::SetPixel(&s.dc, 3, 1, c.in), c.in) << c.bits;
    EXPECT_EQ(platform::GetPixel(&s.dc, 3, 1), c.out) << c.bits;
    EXPECT_EQ(platform::GetPixel(&s.dc, 2, 1), RGB(0, 0, 0)) << c.bits;  // neighbour untouched
    EXPECT_EQ(platform::GetPixel(&s.dc, 4, 1), RGB(0, 0, 0)) << c.bits;
  }
}

TEST(MemDC, PixelOperationsStayInsideTheBitmapAndTheClip) {
  Section s(4, 4, 32);
  platform::MemDC empty;
  EXPECT_EQ(platform::GetPixel(&empty, 0, 0), CLR_INVALID);
  EXPECT_EQ(platform::SetPixel(&empty, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(platform::GetPixel(nullptr, 0, 0), CLR_INVALID);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}}) {
    EXPECT_EQ(platform::SetPixel(&s.dc, x, y, 0xFFFFFF), CLR_INVALID);
    EXPECT_EQ(platform::GetPixel(&s.dc, x, y), CLR_INVALID);
  }
  const RECT clip{1, 1, 3, 3};
  s.dc.SetClipRect(&clip);
  EXPECT_EQ(platform::SetPixel(&s.dc, 0, 0, 0xFFFFFF), CLR_INVALID);
  EXPECT_EQ(platform::SetPixel(&s.dc, 2, 2, 0xFFFFFF), 0xFFFFFFu);
  s.dc.SetClipRect(nullptr);
  EXPECT_EQ(s.Word(0, 0), 0u);
  EXPECT_EQ(s.Word(2, 2), 0x00FFFFFFu);  // GDI order turned into 0x00RRGGBB, alpha 0
}

TEST(MemDC, BitBltClipsAndConvertsBetweenDepths) {
  Section src(4, 4, 32), dst(3, 3, 24);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint32_t v = 0x80000000u | (x * 0x10u) << 16 | (y * 0x10u) << 8 | 0x55u;
      std::memcpy(src.bitmap->Row(y) + 4 * x, &v, 4);
    }
  // Destination starts left of the bitmap and the source runs past its own right edge.
  EXPECT_TRUE(platform::BitBlt(&dst.dc, -1, 1, 5, 5, &src.dc, 1, 0, SRCCOPY));
  EXPECT_EQ(platform::GetPixel(&dst.dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(platform::GetPixel(&dst.dc, 0, 1), RGB(0x20, 0x00, 0x55));
  EXPECT_EQ(platform::GetPixel(&dst.dc, 1, 2), RGB(0x30, 0x10, 0x55));
  EXPECT_EQ(platform::GetPixel(&dst.dc, 2, 1), RGB(0, 0, 0));  // source column 4 does not exist
  EXPECT_FALSE(platform::BitBlt(&dst.dc, 0, 0, 1, 1, &src.dc, 0, 0, 0x00EE0086));
  platform::MemDC none;
  EXPECT_FALSE(platform::BitBlt(&dst.dc, 0, 0, 1, 1, &none, 0, 0, SRCCOPY));

  // Back into 32 bits from 24 bits: the alpha byte is 0.
  Section back(3, 3, 32);
  EXPECT_TRUE(platform::BitBlt(&back.dc, 0, 0, 3, 3, &dst.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(back.Word(1, 2), 0x00301055u);
  // Between 32-bit bitmaps the words are copied whole.
  Section same(4, 4, 32);
  EXPECT_TRUE(platform::BitBlt(&same.dc, 0, 0, 4, 4, &src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(same.Word(3, 2), 0x80302055u);
}

TEST(MemDC, BitBltWithinOneBitmapReadsBeforeItWrites) {
  Section s(1, 6, 32);
  for (int y = 0; y < 6; ++y) platform::SetPixel(&s.dc, 0, y, RGB(y, 0, 0));
  EXPECT_TRUE(platform::BitBlt(&s.dc, 0, 2, 1, 4, &s.dc, 0, 0, SRCCOPY));
  const int expect[] = {0, 1, 0, 1, 2, 3};
  for (int y = 0; y < 6; ++y) EXPECT_EQ(platform::GetPixel(&s.dc, 0, y), RGB(expect[y], 0, 0)) << y;
  EXPECT_TRUE(platform::BitBlt(&s.dc, 0, 0, 1, 4, &s.dc, 0, 2, SRCCOPY));
  const int expect2[] = {0, 1, 2, 3, 2, 3};
  for (int y = 0; y < 6; ++y) EXPECT_EQ(platform::GetPixel(&s.dc, 0, y), RGB(expect2[y], 0, 0)) << y;
}

TEST(MemDC, SetDIBitsToDeviceDrawsBottomUpPaletteAndTopDownTrueColour) {
  // A 3 x 2 bottom-up 8-bit DIB: the stored first row is the picture's bottom row.
  Info pal(3, 2, 8, {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}});
  const uint8_t palBits[8] = {0, 1, 2, 0, /* top row: */ 2, 2, 1, 0};
  Section s(4, 3, 32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) platform::SetPixel(&s.dc, x, y, RGB(9, 9, 9));
  EXPECT_EQ(platform::SetDIBitsToDevice(&s.dc, 1, 1, 3, 2, 0, 0, 0, 2, palBits, pal.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(s.Word(1, 1), 0x000000FFu);
  EXPECT_EQ(s.Word(3, 1), 0x0000FF00u);
  EXPECT_EQ(s.Word(1, 2), 0x00FF0000u);
  EXPECT_EQ(s.Word(0, 0), 0x00090909u);
  EXPECT_EQ(s.Word(0, 1), 0x00090909u);

  // A top-down 32-bit DIB keeps its alpha; the part outside the target is dropped.
  Info tc(2, -2, 32);
  const uint32_t tcBits[4] = {0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF00u};
  EXPECT_EQ(platform::SetDIBitsToDevice(&s.dc, 3, 2, 2, 2, 0, 0, 0, 2, tcBits, tc.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(s.Word(3, 2), 0x11223344u);
  EXPECT_EQ(s.Word(2, 2), 0x0000FF00u);  // the palette picture left of it stays

  // Part of a bottom-up DIB: (xSrc, ySrc) is its lower-left corner.
  Section part(1, 1, 32);
  EXPECT_EQ(platform::SetDIBitsToDevice(&part.dc, 0, 0, 1, 1, 2, 1, 0, 2, palBits, pal.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(part.Word(0, 0), 0x0000FF00u);  // top row, right pixel: index 1

  // Only whole images are drawn.
  EXPECT_EQ(platform::SetDIBitsToDevice(&s.dc, 0, 0, 3, 2, 0, 0, 0, 1, palBits, pal.get(), DIB_RGB_COLORS), 0);
  Info rle(3, 2, 8);
  rle.get()->bmiHeader.biCompression = BI_RLE8;
  EXPECT_EQ(platform::SetDIBitsToDevice(&s.dc, 0, 0, 3, 2, 0, 0, 0, 2, palBits, rle.get(), DIB_RGB_COLORS), 0);
}
}  // namespace
