#include "sdk/graphics/median_cut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "sdk/graphics/dib_image.h"

namespace {

bool Inside(const CMedianCut::Box& b, const uint8_t* bgr) {
  return bgr[2] >= b.minRed && bgr[2] < b.minRed + b.extentRed && bgr[1] >= b.minGreen &&
         bgr[1] < b.minGreen + b.extentGreen && bgr[0] >= b.minBlue && bgr[0] < b.minBlue + b.extentBlue;
}

TEST(MedianCut, OneColourIsOneBoxAndTwoRedsSplitOnRed) {
  const std::vector<uint8_t> one(3 * 20, 0x42);
  CMedianCut cut;
  ASSERT_TRUE(cut.Build(one.data(), 5, 4, 256));
  EXPECT_EQ(cut.GetBoxCount(), 1);
  EXPECT_EQ(cut.Lookup(0x42, 0x42, 0x42), 0);

  const std::vector<uint8_t> two = {10, 20, 30, 10, 20, 90, 10, 20, 30};
  ASSERT_TRUE(cut.Build(two.data(), 3, 1, 16));
  ASSERT_EQ(cut.GetBoxCount(), 2);
  const CMedianCut::Node* root = cut.GetRoot();
  EXPECT_EQ(root->axis, CMedianCut::kRed);
  const int low = cut.Lookup(10, 20, 30), high = cut.Lookup(10, 20, 90);
  EXPECT_EQ(root->left->paletteIndex, low);
  EXPECT_EQ(root->right->paletteIndex, high);
  EXPECT_EQ(cut.GetBox(low).minRed, 30);
  EXPECT_EQ(cut.GetBox(low).extentRed, 1);
  EXPECT_EQ(cut.GetBox(high).minRed, 90);

  EXPECT_FALSE(cut.Build(two.data(), 3, 1, 0));
  EXPECT_FALSE(cut.Build(two.data(), 3, 1, CMedianCut::kMaxBoxes + 1));
  EXPECT_FALSE(cut.Build(two.data(), 0, 1, 16));
}

TEST(MedianCut, ManyColoursFillTheTargetAndEveryPixelFindsItsBox) {
  std::mt19937 random(7);
  std::vector<uint8_t> pixels(3 * 64 * 64);
  for (uint8_t& v : pixels) v = static_cast<uint8_t>(random());
  for (int target : {16, 256}) {
    CMedianCut cut;
    ASSERT_TRUE(cut.Build(pixels.data(), 64, 64, target));
    EXPECT_EQ(cut.GetBoxCount(), target);
    for (size_t i = 0; i < pixels.size(); i += 3) {
      const uint8_t* p = &pixels[i];
      const int index = cut.Lookup(p[0], p[1], p[2]);
      ASSERT_TRUE(index >= 0 && index < target);
      ASSERT_TRUE(Inside(cut.GetBox(index), p)) << target << " pixel " << i / 3;
    }
  }
}

// A colour that fills most of the picture must not stop the splitting of the rare colours.
TEST(MedianCut, PictureOfAtMost256ColoursKeepsThemExactly) {
  std::vector<uint32_t> colours;
  for (int i = 0; i < 200; ++i) colours.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x010305 + i * i * 7));
  colours.push_back(0xFF101010);
  colours.push_back(0xFF101011);  // differs from its neighbour by one step of blue
  CDibImage im;
  ASSERT_TRUE(im.Create(64, 64, 32));
  auto* px = reinterpret_cast<uint32_t*>(im.GetBits());
  for (int i = 0; i < 64 * 64; ++i) px[i] = 0xFF808080;  // the dominant colour
  for (size_t i = 0; i < colours.size(); ++i) px[i * 7] = colours[i];
  std::vector<uint32_t> before(px, px + 64 * 64);

  ASSERT_TRUE(im.ConvertBitCount(8, 2));
  ASSERT_EQ(im.GetBitCount(), 8);
  const DibBlock<uint32_t> after = im.To32Bytes();
  for (int i = 0; i < 64 * 64; ++i) ASSERT_EQ(after[static_cast<size_t>(i)], before[static_cast<size_t>(i)]) << i;
}

TEST(MedianCut, GradientMapsEveryPixelToItsNearestPaletteEntry) {
  for (int bits : {4, 8}) {
    CDibImage im;
    ASSERT_TRUE(im.Create(64, 64, 24));
    for (int y = 0; y < 64; ++y) {
      uint8_t* row = im.GetBits() + static_cast<size_t>(y) * im.GetStride();
      for (int x = 0; x < 64; ++x) {
        row[3 * x] = 40;
        row[3 * x + 1] = static_cast<uint8_t>(4 * y);
        row[3 * x + 2] = static_cast<uint8_t>(4 * x);
      }
    }
    const DibBlock<uint8_t> source = im.To24Bytes();
    ASSERT_TRUE(im.ConvertBitCount(bits, 2));
    ASSERT_EQ(im.GetBitCount(), bits);
    const std::span<const RGBQUAD> palette = im.GetColors();
    std::set<int> used;
    for (int y = 0; y < 64; ++y) {
      const uint8_t* row = im.GetBits() + static_cast<size_t>(y) * im.GetStride();
      for (int x = 0; x < 64; ++x) {
        const int index = bits == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
        used.insert(index);
        const uint8_t* s = source.get() + 3 * (static_cast<size_t>(y) * 64 + x);
        auto distance = [&](const RGBQUAD& q) {
          const int db = q.rgbBlue - s[0], dg = q.rgbGreen - s[1], dr = q.rgbRed - s[2];
          return db * db + dg * dg + dr * dr;
        };
        int nearest = INT32_MAX;
        for (const RGBQUAD& q : palette) nearest = std::min(nearest, distance(q));
        ASSERT_EQ(distance(palette[static_cast<size_t>(index)]), nearest) << bits << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(used.size(), size_t{1} << bits);
  }
}

}  // namespace
