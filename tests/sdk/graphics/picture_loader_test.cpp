#include "sdk/graphics/picture_loader.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "gif_bytes.h"
#include "image_files.h"
#include "jpeg_bytes.h"
#include "sdk/framework/current_dir_scope.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/dib_section.h"

namespace {

// A section of 32 bits filled with one colour, to draw into.
struct Canvas {
  CDIBSection dib;
  Canvas(int w, int h, uint32_t fill) {
    EXPECT_EQ(dib.Create(w, h, 32), 0);
    auto* p = static_cast<uint32_t*>(dib.GetBits());
    for (int i = 0; i < w * h; ++i) p[i] = fill;
  }
  uint32_t At(int x, int y) const {
    int w = 0, h = 0;
    dib.GetSize(&w, &h);
    return static_cast<const uint32_t*>(dib.GetBits())[y * w + x];
  }
};

struct Loaded {
  CFileBuffer file;
  std::unique_ptr<CPictureLoader> loader = PictureLoaderFactory.Create();
  int result = 1;
  Loaded(const std::string& path) {
    file.Read(path);
    result = loader->Load(&file);
  }
};

// A picture the loader took through the picture service: its size, and no BMP rows to copy.
void ExpectServicePicture(Loaded& p, int width, int height) {
  ASSERT_EQ(p.result, 0);
  int w = 0, h = 0;
  ASSERT_EQ(p.loader->GetSize(&w, &h), 0);
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  uint32_t unused[1];
  EXPECT_EQ(p.loader->ConvertBits(unused, 4), 1);
}

TEST(PictureLoader, BmpIsUsedInPlace) {
  ScopedTempDir dir;
  // 2 x 2, 24 bits, top-down.
  WriteBytes(dir.File("td.pic"), MakeBmp(2, -2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
  Loaded td(dir.File("td.pic"));
  ASSERT_EQ(td.result, 0);
  int w = 0, h = 0;
  ASSERT_EQ(td.loader->GetSize(&w, &h), 0);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, -2);  // as stored
  uint32_t copied[4] = {};
  ASSERT_EQ(td.loader->ConvertBits(copied, 8), 0);
  // The picture's top row first, which a top-down file stores first: the right way up, as drawn.
  EXPECT_EQ(copied[0], 0x00030201u);
  EXPECT_EQ(copied[1], 0x00060504u);
  EXPECT_EQ(copied[2], 0x00090807u);
  EXPECT_EQ(copied[3], 0x000C0B0Au);
  Canvas c(2, 2, 0xFFFFFFFF);
  ASSERT_EQ(td.loader->Draw(c.dib.GetDC()), 0);
  EXPECT_EQ(c.At(0, 0), 0x00030201u);  // drawn the right way up
  EXPECT_EQ(c.At(1, 1), 0x000C0B0Au);
  PALETTEENTRY pal[256];
  EXPECT_EQ(td.loader->GetPaletteEntries(pal), 2);

  // 8 bits: not copied (3), drawn instead; the palette for an 8-bit display.
  std::vector<RGBQUAD> table(4);
  table[2] = RGBQUAD{30, 20, 10, 0};
  WriteBytes(dir.File("p8.pic"), MakeBmp(3, 1, 8, table, {2, 2, 0, 0}));
  Loaded p8(dir.File("p8.pic"));
  ASSERT_EQ(p8.result, 0);
  EXPECT_EQ(p8.loader->ConvertBits(copied, 12), 3);
  Canvas d(3, 1, 0xFFFFFFFF);
  ASSERT_EQ(p8.loader->Draw(d.dib.GetDC()), 0);
  EXPECT_EQ(d.At(1, 0), 0x000A141Eu);
  ASSERT_EQ(p8.loader->GetPaletteEntries(pal), 0);
  EXPECT_EQ(pal[3].peRed, 3);
  EXPECT_EQ(pal[3].peFlags, PC_EXPLICIT);
  EXPECT_EQ(pal[250].peRed, 250);
  EXPECT_EQ(pal[12].peRed, 10);
  EXPECT_EQ(pal[12].peBlue, 30);
  EXPECT_EQ(pal[12].peFlags, PC_RESERVED | PC_NOCOLLAPSE);

  // Compressed rows are not copied (2), and rows the data does not hold are neither copied nor drawn.
  std::vector<uint8_t> rle = MakeBmp(3, 1, 24, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0});
  PutLe(rle, 30, BI_RLE8, 4);
  WriteBytes(dir.File("rle.pic"), rle);
  Loaded r(dir.File("rle.pic"));
  EXPECT_EQ(r.loader->ConvertBits(copied, 12), 2);
  const std::vector<uint8_t> full = MakeBmp(3, 2, 24, {}, std::vector<uint8_t>(24, 7));
  WriteBytes(dir.File("short.pic"), std::vector<uint8_t>(full.begin(), full.end() - 5));
  Loaded s(dir.File("short.pic"));
  ASSERT_EQ(s.result, 0);
  EXPECT_EQ(s.loader->ConvertBits(copied, 12), 3);
  EXPECT_EQ(s.loader->Draw(d.dib.GetDC()), 1);
}

TEST(PictureLoader, GifGoesThroughThePictureServiceAndKeepsTransparentPixels) {
  ScopedTempDir dir;
  std::vector<uint8_t> indices(150 * 2);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i % 3);
  WriteBytes(dir.File("g.gif"), MinimalGif(150, 2, {{255, 0, 0}, {0, 0, 255}, {9, 9, 9}}, indices, 2));
  Loaded g(dir.File("g.gif"));
  ExpectServicePicture(g, 150, 2);
  Canvas c(150, 2, 0xFF445566);
  ASSERT_EQ(g.loader->Draw(c.dib.GetDC()), 0);
  EXPECT_EQ(c.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(c.At(1, 0), 0x000000FFu);
  EXPECT_EQ(c.At(2, 0), 0xFF445566u);    // transparent: untouched
  EXPECT_EQ(c.At(148, 1), 0x000000FFu);  // pixel 298, past the first clear codes

  CDIBSection dib;
  ASSERT_EQ(dib.LoadByPictureLoader(dir.File("g.gif"), 32), 0);
  EXPECT_EQ(static_cast<const uint32_t*>(dib.GetBits())[151], 0x000000FFu);
}

// A channel of a decoded JPEG pixel within a few steps of what was encoded (the format is lossy).
void ExpectNearColour(uint32_t got, uint32_t want, const char* what) {
  for (int shift : {0, 8, 16}) {
    const int g = static_cast<int>((got >> shift) & 0xFF), w = static_cast<int>((want >> shift) & 0xFF);
    EXPECT_LE(std::abs(g - w), 3) << what << std::hex << ": got " << got << " want " << want;
  }
}

TEST(PictureLoader, JpegGoesThroughThePictureService) {
  ScopedTempDir dir;
  WriteBytes(dir.File("rb.jpg"), RedBlueJpeg());
  Loaded j(dir.File("rb.jpg"));
  ExpectServicePicture(j, 16, 8);
  // Drawn 1:1 from the top-left corner; what lies beyond the picture stays as it was.
  Canvas c(20, 10, 0xFF445566);
  ASSERT_EQ(j.loader->Draw(c.dib.GetDC()), 0);
  ExpectNearColour(c.At(0, 0), 0xFF0000, "left half");
  ExpectNearColour(c.At(6, 7), 0xFF0000, "left half, last row");
  ExpectNearColour(c.At(9, 3), 0x0000FF, "right half");
  ExpectNearColour(c.At(15, 7), 0x0000FF, "right half, last pixel");
  EXPECT_EQ(c.At(16, 0), 0xFF445566u);
  EXPECT_EQ(c.At(0, 8), 0xFF445566u);

  CDIBSection dib;
  ASSERT_EQ(dib.LoadByPictureLoader(dir.File("rb.jpg"), 32), 0);
  int w = 0, h = 0;
  ASSERT_EQ(dib.GetSize(&w, &h), 0);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 8);
  ExpectNearColour(static_cast<const uint32_t*>(dib.GetBits())[5 * 16 + 12], 0x0000FF, "section");

  // The same data cut short is no picture at all.
  const std::vector<uint8_t> whole = RedBlueJpeg();
  WriteBytes(dir.File("cut.jpg"), std::vector<uint8_t>(whole.begin(), whole.begin() + 300));
  Loaded cut(dir.File("cut.jpg"));
  EXPECT_EQ(cut.result, 1);
}

TEST(PictureLoader, UnknownDataWithoutAPlugInFails) {
  ScopedTempDir dir;
  WriteBytes(dir.File("x.unknownext"), std::vector<uint8_t>(4096, 0x33));
  Loaded u(dir.File("x.unknownext"));
  EXPECT_EQ(u.result, 1);
  int w = 0, h = 0;
  EXPECT_EQ(u.loader->GetSize(&w, &h), 1);
  Canvas c(1, 1, 0);
  EXPECT_EQ(u.loader->Draw(c.dib.GetDC()), 1);
  CDIBSection dib;
  EXPECT_EQ(dib.LoadByPictureLoader(dir.File("x.unknownext"), 32), 1);
}

// Runs in a folder holding spi/iftstp.so, as the game runs in its own folder.
class PictureLoaderPlugIn : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.File("spi"));
    std::filesystem::copy_file(VREL_TEST_PICTURE_PLUGIN, dir.File("spi/iftstp.so"));
  }

  static std::vector<uint8_t> Picture(uint8_t flag, size_t size) {
    std::vector<uint8_t> d = {'T', 'S', 'T', 'P', 2, 0, 2, 0, flag};
    d.insert(d.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3});
    d.resize(size, 0);
    return d;
  }

  ScopedTempDir dir;
  CurrentDirScope current{dir.path().string()};
};

TEST_F(PictureLoaderPlugIn, PlugInChosenByExtensionReadsItsFiles) {
  WriteBytes(dir.File("a.tstp"), Picture('-', 2048));
  Loaded p("a.tstp");
  ASSERT_EQ(p.result, 0);
  int w = 0, h = 0;
  ASSERT_EQ(p.loader->GetSize(&w, &h), 0);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  Canvas c(2, 2, 0xFFFFFFFF);
  ASSERT_EQ(p.loader->Draw(c.dib.GetDC()), 0);
  EXPECT_EQ(c.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(c.At(1, 0), 0x0000FF00u);
  EXPECT_EQ(c.At(0, 1), 0x000000FFu);
  EXPECT_EQ(c.At(1, 1), 0x00010203u);

  CDIBSection dib;
  ASSERT_EQ(dib.LoadByPictureLoader("a.tstp", 32), 0);
  EXPECT_EQ(static_cast<const uint32_t*>(dib.GetBits())[3], 0x00010203u);
}

TEST_F(PictureLoaderPlugIn, PlugInRefusalsAndFailures) {
  struct Case {
    const char* what;
    std::string name;
    std::vector<uint8_t> data;
    int load, draw;
  };
  std::vector<uint8_t> notOurs = Picture('-', 4096);
  notOurs[0] = 'X';
  const Case cases[] = {
      {"shorter than 2048 bytes", "short.tstp", Picture('-', 2047), 1, 1},
      {"not supported", "other.tstp", notOurs, 1, 1},
      {"no plug-in for the extension", "c.none", Picture('-', 4096), 1, 1},
      {"decoding fails", "fail.tstp", Picture('F', 4096), 0, 1},
  };
  for (const Case& c : cases) {
    WriteBytes(dir.File(c.name), c.data);
    Loaded p(c.name);
    EXPECT_EQ(p.result, c.load) << c.what;
    Canvas canvas(2, 2, 0xFFFFFFFF);
    EXPECT_EQ(p.loader->Draw(canvas.dib.GetDC()), c.draw) << c.what;
    EXPECT_EQ(canvas.At(0, 0), 0xFFFFFFFFu) << c.what;
  }
}

}  // namespace
