#include "platform/picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "picture_writers.h"

namespace {

// A 32 x 16 picture: left half red, right half blue, as RGB rows.
std::vector<uint8_t> TwoHalves() {
  std::vector<uint8_t> px;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) px.insert(px.end(), {static_cast<uint8_t>(x < 16 ? 255 : 0), 0, static_cast<uint8_t>(x < 16 ? 0 : 255)});
  return px;
}

void ExpectNear(uint32_t got, uint32_t want, const char* what) {
  for (int shift : {0, 8, 16, 24}) {
    const int g = (got >> shift) & 0xFF, w = (want >> shift) & 0xFF;
    EXPECT_NEAR(g, w, 4) << what << std::hex << " got " << got << " want " << want;
  }
}

struct Target {
  std::unique_ptr<platform::Bitmap> bitmap;
  platform::MemDC dc;
  Target(int w, int h, uint32_t fill) {
    std::vector<uint8_t> info(40 + 4, 0);
    BITMAPINFOHEADER hdr;
    hdr.biSize = 40;
    hdr.biWidth = w;
    hdr.biHeight = -h;
    hdr.biPlanes = 1;
    hdr.biBitCount = 32;
    std::memcpy(info.data(), &hdr, 40);
    bitmap = platform::CreateDIBSection(reinterpret_cast<BITMAPINFO*>(info.data()));
    dc.SelectBitmap(bitmap.get());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) std::memcpy(bitmap->Row(y) + 4 * x, &fill, 4);
  }
  uint32_t At(int x, int y) const {
    uint32_t v;
    std::memcpy(&v, bitmap->Row(y) + 4 * x, 4);
    return v;
  }
};

TEST(Picture, JpegInColourGreyAndCmyk) {
  const auto colour = WriteJpeg(32, 16, 3, TwoHalves());
  auto pic = platform::Picture::Load(colour);
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->Width(), 32);
  EXPECT_EQ(pic->Height(), 16);
  ExpectNear(pic->Pixels()[4 * 32 + 4], 0xFFFF0000, "red half");
  ExpectNear(pic->Pixels()[12 * 32 + 28], 0xFF0000FF, "blue half");

  std::vector<uint8_t> grey(8 * 8);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = i < 32 ? 40 : 200;
  pic = platform::Picture::Load(WriteJpeg(8, 8, 1, grey));
  ASSERT_TRUE(pic);
  ExpectNear(pic->Pixels()[1], 0xFF282828, "dark grey");
  ExpectNear(pic->Pixels()[60], 0xFFC8C8C8, "light grey");

  // Stored inverted: red is no cyan ink (255), full magenta and yellow (0), no black (255).
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 64; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  pic = platform::Picture::Load(WriteJpeg(8, 8, 4, cmyk));
  ASSERT_TRUE(pic);
  ExpectNear(pic->Pixels()[9], 0xFFFF0000, "cmyk red");
}

TEST(Picture, RenderDrawsOneToOneAndClips) {
  auto pic = platform::Picture::Load(WriteJpeg(32, 16, 3, TwoHalves()));
  ASSERT_TRUE(pic);
  Target t(20, 10, 0xFF123456);
  EXPECT_TRUE(pic->Render(&t.dc, 4, 2));
  EXPECT_EQ(t.At(3, 5), 0xFF123456u);  // left of the picture
  EXPECT_EQ(t.At(10, 1), 0xFF123456u);  // above it
  ExpectNear(t.At(5, 5), 0x00FF0000, "drawn, alpha 0");
  ExpectNear(t.At(19, 9), 0x00FF0000, "picture column 15");
  platform::MemDC none;
  EXPECT_FALSE(pic->Render(&none, 0, 0));
}

GifFixture FourColours() {
  GifFixture s;
  s.screenWidth = 4;
  s.screenHeight = 3;
  s.width = 4;
  s.height = 3;
  s.colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {10, 20, 30}};
  s.indices = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 3, 3};
  return s;
}

TEST(Picture, GifPixelsTransparencyOffsetsAndInterlace) {
  GifFixture s = FourColours();
  s.transparent = 3;
  auto pic = platform::Picture::Load(WriteGif(s));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->Width(), 4);
  EXPECT_EQ(pic->Height(), 3);
  EXPECT_EQ(pic->Pixels()[1], 0xFFFF0000u);
  EXPECT_EQ(pic->Pixels()[2], 0xFF00FF00u);
  EXPECT_EQ(pic->Pixels()[3], 0u);  // transparent

  Target t(4, 3, 0xFFABCDEF);
  ASSERT_TRUE(pic->Render(&t.dc, 0, 0));
  EXPECT_EQ(t.At(0, 0), 0x00000000u);
  EXPECT_EQ(t.At(3, 0), 0xFFABCDEFu);  // the target shows through
  EXPECT_EQ(t.At(0, 1), 0xFFABCDEFu);
  EXPECT_EQ(t.At(1, 1), 0x0000FF00u);

  // An image smaller than its screen: what it does not cover is transparent.
  s.transparent = -1;
  s.screenWidth = 6;
  s.screenHeight = 5;
  s.left = 1;
  s.top = 2;
  pic = platform::Picture::Load(WriteGif(s));
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->Width(), 6);
  EXPECT_EQ(pic->Pixels()[0], 0u);
  EXPECT_EQ(pic->Pixels()[2 * 6 + 2], 0xFFFF0000u);
  EXPECT_EQ(pic->Pixels()[4 * 6 + 4], 0xFF0A141Eu);

  GifFixture tall;
  tall.screenWidth = tall.width = 1;
  tall.screenHeight = tall.height = 11;
  tall.interlaced = true;
  tall.colors.resize(16);
  for (int i = 0; i < 16; ++i) tall.colors[i] = {static_cast<GifByteType>(i * 16), 0, 0};
  for (int y = 0; y < 11; ++y) tall.indices.push_back(static_cast<uint8_t>(y));
  pic = platform::Picture::Load(WriteGif(tall));
  ASSERT_TRUE(pic);
  for (int y = 0; y < 11; ++y) EXPECT_EQ(pic->Pixels()[y], 0xFF000000u | (uint32_t(y) * 16) << 16) << y;
}

TEST(Picture, DataThatIsNotAPictureOrIsBrokenIsRefused) {
  const std::vector<uint8_t> jpeg = WriteJpeg(32, 16, 3, TwoHalves());
  const std::vector<uint8_t> gif = WriteGif(FourColours());
  auto cut = [](const std::vector<uint8_t>& v, size_t n) { return std::vector<uint8_t>(v.begin(), v.begin() + n); };
  auto set = [](std::vector<uint8_t> v, size_t at, std::vector<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), v.begin() + at);
    return v;
  };
  // Screen of 65535 x 65535 and an image of that size.
  std::vector<uint8_t> hugeGif = set(gif, 6, {0xFF, 0xFF, 0xFF, 0xFF});
  const std::vector<std::vector<uint8_t>> refused = {
      {}, {0xFF, 0xD8}, cut(jpeg, jpeg.size() / 2), cut(jpeg, 200), cut(gif, 6), cut(gif, gif.size() - 4),
      set(gif, 0, {'G', 'I', 'F', '8', '8', 'a'}), std::vector<uint8_t>(64, 0x42), hugeGif,
  };
  for (size_t i = 0; i < refused.size(); ++i) EXPECT_FALSE(platform::Picture::Load(refused[i])) << i;
}

// Decoding corrupted data either fails or yields a whole picture; the sanitizer build checks that
// nothing outside the buffers is touched.
TEST(Picture, CorruptedPicturesFailCleanly) {
  std::mt19937 random(99);
  GifFixture interlaced = FourColours();
  interlaced.interlaced = true;
  interlaced.transparent = 1;
  const std::vector<std::vector<uint8_t>> sources = {WriteJpeg(32, 16, 3, TwoHalves()), WriteGif(FourColours()),
                                                     WriteGif(interlaced)};
  const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
  for (const auto& source : sources) {
    std::vector<std::vector<uint8_t>> mutants;
    for (size_t at = 0; at < std::min<size_t>(source.size(), 200); ++at)
      for (uint8_t v : values) {
        mutants.push_back(source);
        mutants.back()[at] = v;
      }
    for (int i = 0; i < 300; ++i) {
      mutants.push_back(source);
      for (int k = 0; k < 1 + i % 4; ++k) mutants.back()[random() % source.size()] = static_cast<uint8_t>(random());
    }
    for (size_t n = 0; n < source.size(); n += 5) mutants.emplace_back(source.begin(), source.begin() + static_cast<ptrdiff_t>(n));
    for (const auto& m : mutants) {
      auto pic = platform::Picture::Load(m);
      if (!pic) continue;
      ASSERT_GT(pic->Width(), 0);
      ASSERT_GT(pic->Height(), 0);
      ASSERT_EQ(pic->Pixels().size(), static_cast<size_t>(pic->Width()) * static_cast<size_t>(pic->Height()));
      Target t(8, 8, 0);
      EXPECT_TRUE(pic->Render(&t.dc, -3, -2));
    }
  }
}

}  // namespace
