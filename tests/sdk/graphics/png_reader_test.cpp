#include "sdk/graphics/png_reader.h"

#include <gtest/gtest.h>
#include <vector>

#include "image_files.h"
#include "png_writer.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

struct Expect {
  int x, y;
  uint32_t argb;
};

struct Case {
  const char* what;
  PngFixture fixture;
  int bitCount;
  std::vector<Expect> pixels;
};

PngFixture Fixture(int width, int height, int bitDepth, int colorType) {
  PngFixture s;
  s.width = width;
  s.height = height;
  s.bitDepth = bitDepth;
  s.colorType = colorType;
  return s;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    PngFixture s = Fixture(3, 2, 4, PNG_COLOR_TYPE_PALETTE);
    s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    s.rows = {{0x01, 0x20}, {0x30, 0x10}};
    cases.push_back(
        {"palette, 4 bits",
         s,
         8,
         {{0, 0, 0xFFFF0000}, {1, 0, 0xFF00FF00}, {2, 0, 0xFF0000FF}, {0, 1, 0xFF0A141E}, {2, 1, 0xFF00FF00}}});
  }
  {
    PngFixture s = Fixture(2, 2, 8, PNG_COLOR_TYPE_PALETTE);
    s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    s.paletteAlpha = {0, 128};  // entry 2 stays opaque
    s.rows = {{0, 1}, {2, 0}};
    cases.push_back({"palette with transparency", s, 32, {{0, 0, 0x00FF0000}, {1, 0, 0x8000FF00}, {0, 1, 0xFF0000FF}}});
  }
  for (int depth : {1, 2, 4}) {
    PngFixture s = Fixture(8, 1, depth, PNG_COLOR_TYPE_GRAY);
    s.rows = {{static_cast<uint8_t>(depth == 1 ? 0x40 : depth == 2 ? 0x10 : 0x01), 0, 0, 0}};
    // The second pixel holds the value 1 at every depth: 255, 85 and 17 once expanded.
    const uint32_t v = depth == 1 ? 255 : depth == 2 ? 85 : 17;
    cases.push_back({"grey, low depth", s, 8, {{0, 0, 0xFF000000}, {1, 0, 0xFF000000 | v * 0x010101}}});
  }
  {
    PngFixture s = Fixture(2, 1, 8, PNG_COLOR_TYPE_GRAY);
    s.rows = {{7, 200}};
    s.hasTransparentColor = true;
    s.transparentColor.gray = 7;
    cases.push_back({"grey with transparency", s, 32, {{0, 0, 0x00070707}, {1, 0, 0xFFC8C8C8}}});
  }
  {
    PngFixture s = Fixture(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA);
    s.rows = {{90, 0, 180, 255}};
    cases.push_back({"grey with alpha", s, 8, {{0, 0, 0xFF5A5A5A}, {1, 0, 0xFFB4B4B4}}});
  }
  {
    PngFixture s = Fixture(2, 2, 8, PNG_COLOR_TYPE_RGB);
    s.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    cases.push_back({"RGB", s, 24, {{0, 0, 0xFF010203}, {1, 0, 0xFF040506}, {1, 1, 0xFF0A0B0C}}});
    s.interlaced = true;
    cases.push_back({"RGB interlaced", s, 24, {{0, 0, 0xFF010203}, {1, 0, 0xFF040506}, {1, 1, 0xFF0A0B0C}}});
  }
  {
    PngFixture s = Fixture(2, 1, 8, PNG_COLOR_TYPE_RGB);
    s.rows = {{1, 2, 3, 4, 5, 6}};
    s.hasTransparentColor = true;
    s.transparentColor.red = 4;
    s.transparentColor.green = 5;
    s.transparentColor.blue = 6;
    cases.push_back({"RGB with transparency", s, 32, {{0, 0, 0xFF010203}, {1, 0, 0x00040506}}});
  }
  {
    PngFixture s = Fixture(2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA);
    s.rows = {{1, 2, 3, 0x40, 4, 5, 6, 0xFF}};
    cases.push_back({"RGBA", s, 32, {{0, 0, 0x40010203}, {1, 0, 0xFF040506}}});
  }
  {
    PngFixture s = Fixture(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA);
    s.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}};
    cases.push_back({"RGBA, 16 bits", s, 32, {{0, 0, 0xDE12569A}}});
    PngFixture g = Fixture(1, 1, 16, PNG_COLOR_TYPE_RGB);
    g.rows = {{0xAB, 0x00, 0xCD, 0xFF, 0x01, 0x80}};
    cases.push_back({"RGB, 16 bits", g, 24, {{0, 0, 0xFFABCD01}}});
  }
  return cases;
}

TEST(PngReader, DecodesEveryColourTypeFromTheTopRowDown) {
  ScopedTempDir dir;
  for (const Case& c : Cases()) {
    ASSERT_TRUE(WritePng(dir.File("t.png"), c.fixture)) << c.what;
    CDibImage im;
    ASSERT_EQ(LoadPngToDib(dir.File("t.png"), &im, 0, 0), 1) << c.what;
    EXPECT_EQ(im.GetBitCount(), c.bitCount) << c.what;
    EXPECT_EQ(im.GetWidth(), c.fixture.width) << c.what;
    EXPECT_EQ(im.GetHeight(), c.fixture.height) << c.what;
    for (const Expect& e : c.pixels) EXPECT_EQ(PixelAt(im, e.x, e.y), e.argb) << c.what << " at " << e.x << "," << e.y;
  }
}

// True-colour pictures without a transparency chunk are decoded straight into 32-bit rows, to the
// pixels the DIB's expansion gives; the other kinds are left to the DIB, untouched. A surface
// loads every kind to the same pixels and takes alpha from the decoded depth either way.
TEST(PngReader, TrueColourGoesStraightIntoRowsAndSurfacesLoadEveryKindAlike) {
  ScopedTempDir dir;
  for (const Case& c : Cases()) {
    ASSERT_TRUE(WritePng(dir.File("t.png"), c.fixture)) << c.what;
    const bool trueColour =
        (c.fixture.colorType == PNG_COLOR_TYPE_RGB || c.fixture.colorType == PNG_COLOR_TYPE_RGB_ALPHA) &&
        !c.fixture.hasTransparentColor;
    std::vector<uint32_t> rows;
    bool asked = false, alpha = false;
    const PngTrueColour r = LoadTrueColourPng(dir.File("t.png"), [&](int w, int h, bool hasAlpha) {
      asked = true;
      alpha = hasAlpha;
      EXPECT_EQ(w, c.fixture.width) << c.what;
      EXPECT_EQ(h, c.fixture.height) << c.what;
      rows.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
      return rows.data();
    });
    if (!trueColour) {
      EXPECT_EQ(r, PngTrueColour::kOtherKind) << c.what;
      EXPECT_FALSE(asked) << c.what;
    } else {
      ASSERT_EQ(r, PngTrueColour::kDone) << c.what;
      EXPECT_EQ(alpha, c.bitCount == 32) << c.what;
      for (const Expect& e : c.pixels)
        EXPECT_EQ(rows[static_cast<size_t>(e.y * c.fixture.width + e.x)], e.argb)
            << c.what << " at " << e.x << "," << e.y;
    }
    CMemPlane plane;
    ASSERT_EQ(plane.Load(dir.File("t.png"), 0, 100.0), 0) << c.what;
    EXPECT_EQ(plane.HasAlpha(), c.bitCount != 24) << c.what;
    for (const Expect& e : c.pixels)
      EXPECT_EQ(plane.GetImpl()->GetPixel(e.x, e.y), e.argb) << c.what << " at " << e.x << "," << e.y;
  }
}

TEST(PngReader, TruncatedOrMissingFilesFail) {
  ScopedTempDir dir;
  PngFixture s = Fixture(16, 16, 8, PNG_COLOR_TYPE_RGB);
  s.rows.assign(16, std::vector<uint8_t>(48, 0x77));
  ASSERT_TRUE(WritePng(dir.File("full.png"), s));
  const std::vector<uint8_t> full = ReadBytes(dir.File("full.png"));
  for (size_t keep : {size_t{0}, size_t{7}, size_t{30}, full.size() / 2, full.size() - 13}) {
    WriteBytes(dir.File("cut.png"), std::vector<uint8_t>(full.begin(), full.begin() + static_cast<ptrdiff_t>(keep)));
    CDibImage im;
    EXPECT_EQ(LoadPngToDib(dir.File("cut.png"), &im), 0) << keep;
    std::vector<uint32_t> rows(256);
    EXPECT_EQ(LoadTrueColourPng(dir.File("cut.png"), [&](int, int, bool) { return rows.data(); }),
              PngTrueColour::kFailed)
        << keep;
    CMemPlane plane;
    EXPECT_NE(plane.Load(dir.File("cut.png"), 0, 100.0), 0) << keep;
    EXPECT_EQ(plane.GetImpl()->GetPixels(), nullptr) << keep;
  }
  // A reader that refuses the size stops the decode.
  EXPECT_EQ(LoadTrueColourPng(dir.File("full.png"), [](int, int, bool) { return nullptr; }), PngTrueColour::kFailed);
  CDibImage im;
  EXPECT_EQ(LoadPngToDib(dir.File("absent.png"), &im), 0);
  EXPECT_EQ(LoadPngToDib(dir.File("full.png"), nullptr), 0);
}

}  // namespace
