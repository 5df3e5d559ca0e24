// Truncated and corrupted image files: every reader must fail cleanly or produce a coherent image,
// never read or write outside its buffers (the sanitizer build checks that).
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "image_files.h"
#include "png_writer.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/memory_file.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/picture_loader.h"
#include "sdk/graphics/png_reader.h"
#include "sdk/graphics/tga_reader.h"

namespace {

using Reader = std::function<bool(const std::string& path, CDibImage& image)>;

struct Format {
  const char* name;
  std::vector<uint8_t> valid;
  Reader read;
};

// The image a reader claims to have made must be whole: its first and last row lie inside its
// bits (the sanitizer build checks the ends of the block).
void ExpectCoherent(const CDibImage& im, const std::string& what) {
  ASSERT_NE(im.GetBits(), nullptr) << what;
  ASSERT_GT(im.GetWidth(), 0) << what;
  ASSERT_NE(im.GetHeight(), 0) << what;
  const size_t rows = static_cast<size_t>(im.GetHeight() < 0 ? -int64_t{im.GetHeight()} : im.GetHeight());
  const size_t bytes = rows * static_cast<size_t>(im.GetStride());
  volatile uint8_t first = im.GetBits()[0];
  volatile uint8_t last = im.GetBits()[bytes - 1];
  (void)first;
  (void)last;
  EXPECT_LE(im.GetColors().size(), 256u) << what;
}

std::vector<uint8_t> PngFile(const ScopedTempDir& dir, PngFixture fixture) {
  EXPECT_TRUE(WritePng(dir.File("src.png"), fixture));
  return ReadBytes(dir.File("src.png"));
}

std::vector<Format> Formats(const ScopedTempDir& dir) {
  std::vector<Format> f;
  const Reader bmp = [](const std::string& p, CDibImage& im) { return im.LoadBmp(p, 0x3F); };
  const Reader png = [](const std::string& p, CDibImage& im) { return LoadPngToDib(p, &im) == 1; };
  const Reader tga = [](const std::string& p, CDibImage& im) { return LoadTgaToDib(p, &im) == 1; };

  std::vector<uint8_t> rows24(12 * 5);
  for (size_t i = 0; i < rows24.size(); ++i) rows24[i] = static_cast<uint8_t>(i * 7);
  f.push_back({"bmp 24", MakeBmp(4, 5, 24, {}, rows24), bmp});
  f.push_back(
      {"bmp 4", MakeBmp(5, 3, 4, std::vector<RGBQUAD>(16, RGBQUAD{1, 2, 3, 0}), std::vector<uint8_t>(12, 0x5A)), bmp});
  const std::vector<uint8_t> rle = {3, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 5, 0, 1, 3, 0, 0, 6, 2, 0, 1};
  f.push_back({"bmp rle8", MakeBmp(6, 3, 8, std::vector<RGBQUAD>(4), rle, BI_RLE8), bmp});

  PngFixture rgba;
  rgba.width = 5;
  rgba.height = 4;
  rgba.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows.assign(4, std::vector<uint8_t>(20, 0x99));
  f.push_back({"png rgba", PngFile(dir, rgba), png});
  PngFixture pal;
  pal.width = 7;
  pal.height = 3;
  pal.bitDepth = 2;
  pal.colorType = PNG_COLOR_TYPE_PALETTE;
  pal.interlaced = true;
  pal.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  pal.paletteAlpha = {0, 255, 128};
  pal.rows.assign(3, {0x1B, 0xE4});
  f.push_back({"png palette with transparency", PngFile(dir, pal), png});

  std::vector<uint8_t> tgaRaw(18, 0);
  tgaRaw[2] = 2;
  tgaRaw[12] = 3;
  tgaRaw[14] = 2;
  tgaRaw[16] = 32;
  for (int i = 0; i < 24; ++i) tgaRaw.push_back(static_cast<uint8_t>(i * 11));
  f.push_back({"tga raw", tgaRaw, tga});
  std::vector<uint8_t> tgaRle(18, 0);
  tgaRle[1] = 1;
  tgaRle[2] = 9;
  tgaRle[5] = 3;  // three map entries of 24 bits
  tgaRle[7] = 24;
  tgaRle[12] = 4;
  tgaRle[14] = 3;
  tgaRle[16] = 8;
  tgaRle[17] = 0x20;
  tgaRle.insert(tgaRle.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
  tgaRle.insert(tgaRle.end(), {0x85, 1, 0x02, 2, 0, 1, 0x82, 2});
  f.push_back({"tga run-length mapped", tgaRle, tga});
  return f;
}

TEST(HostileImages, EveryTruncationFails) {
  ScopedTempDir dir;
  for (const Format& f : Formats(dir)) {
    CDibImage whole;
    WriteBytes(dir.File("whole"), f.valid);
    ASSERT_TRUE(f.read(dir.File("whole"), whole)) << f.name;
    for (size_t n = 0; n < f.valid.size(); ++n) {
      // Exactly n bytes, so that a read past them is seen.
      std::vector<uint8_t> cut(f.valid.begin(), f.valid.begin() + static_cast<ptrdiff_t>(n));
      CMemoryFile lent(cut);
      CDibImage im;
      const bool ok = f.read(lent.Name(), im);
      EXPECT_FALSE(ok) << f.name << " cut to " << n;
      if (ok) ExpectCoherent(im, std::string(f.name) + " cut");
    }
  }
}

TEST(HostileImages, CorruptedBytesFailCleanly) {
  ScopedTempDir dir;
  std::mt19937 random(2024);
  const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
  for (const Format& f : Formats(dir)) {
    std::vector<std::vector<uint8_t>> mutants;
    // Every header byte set to each boundary value...
    for (size_t at = 0; at < std::min<size_t>(f.valid.size(), 70); ++at)
      for (uint8_t v : values) {
        mutants.push_back(f.valid);
        mutants.back()[at] = v;
      }
    // ...and a few bytes anywhere changed at random.
    for (int i = 0; i < 200; ++i) {
      mutants.push_back(f.valid);
      for (int k = 0; k < 1 + i % 4; ++k) mutants.back()[random() % f.valid.size()] = static_cast<uint8_t>(random());
    }
    for (size_t i = 0; i < mutants.size(); ++i) {
      CMemoryFile lent(mutants[i]);
      CDibImage im;
      if (f.read(lent.Name(), im)) ExpectCoherent(im, std::string(f.name) + " mutant " + std::to_string(i));
    }
  }
}

TEST(HostileImages, PictureLoaderUsesNoBmpBytesOutsideTheFile) {
  ScopedTempDir dir;
  std::vector<uint8_t> rows(8 * 3, 0x11);
  const std::vector<uint8_t> valid = MakeBmp(2, 3, 24, {}, rows);
  const std::vector<uint8_t> pal =
      MakeBmp(3, 2, 8, std::vector<RGBQUAD>(256, RGBQUAD{5, 6, 7, 0}), std::vector<uint8_t>(8, 3));
  const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
  for (const std::vector<uint8_t>* source : {&valid, &pal}) {
    std::vector<std::vector<uint8_t>> mutants;
    for (size_t at = 2; at < 54; ++at)
      for (uint8_t v : values) {
        mutants.push_back(*source);
        mutants.back()[at] = v;
      }
    for (size_t n = 0; n < source->size(); n += 3)
      mutants.emplace_back(source->begin(), source->begin() + static_cast<ptrdiff_t>(n));
    for (auto& m : mutants) {
      CMemoryFile lent(m);
      CFileBuffer file;
      ASSERT_EQ(file.Read(lent.Name()), 0);
      auto loader = PictureLoaderFactory.Create();
      if (loader->Load(&file) != 0) continue;
      int w = 0, h = 0;
      loader->GetSize(&w, &h);
      CDIBSection target;
      ASSERT_EQ(target.Create(4, 4, 32), 0);
      loader->Draw(target.GetDC());
      std::vector<uint32_t> copy(16 * 16);
      // Only an image that fits the destination is asked to copy itself.
      if (w > 0 && w <= 16 && h != 0 && h >= -16 && h <= 16) loader->ConvertBits(copy.data(), 64);
      PALETTEENTRY entries[256];
      loader->GetPaletteEntries(entries);
    }
  }
}

}  // namespace
