// Loading memory surfaces by extension, the packed "bma" format with hostile headers and data,
// saving as BMP and copying onto a plane.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <span>

#include "fuzz_corpus.h"
#include "image_files.h"
#include "jpeg_bytes.h"
#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/lzss_encoder.h"
#include "sdk/graphics/plane.h"
#include "surface_util.h"

namespace {

std::vector<uint8_t> BmaHeader(int32_t w, int32_t h, uint32_t packed, uint32_t dataSize) {
  std::vector<uint8_t> f(24, 0xEE);  // the ignored fields hold anything
  PutLe(f, 4, static_cast<uint32_t>(w), 4);
  PutLe(f, 8, static_cast<uint32_t>(h), 4);
  PutLe(f, 12, packed, 4);
  PutLe(f, 16, dataSize, 4);
  return f;
}

std::vector<uint32_t> TestPixels(int w, int h) {
  std::vector<uint32_t> p(size_t(w) * h);
  for (size_t i = 0; i < p.size(); ++i) p[i] = 0x10203040u * uint32_t(i + 1) ^ 0x80FF00FFu;
  return p;
}

void Append(std::vector<uint8_t>& f, const std::vector<uint32_t>& pixels) {
  const size_t at = f.size();
  f.resize(at + pixels.size() * 4);
  std::memcpy(f.data() + at, pixels.data(), pixels.size() * 4);
}

// A header followed by n bytes of data.
std::vector<uint8_t> BmaWithData(int32_t w, int32_t h, uint32_t packed, uint32_t dataSize, size_t n) {
  auto f = BmaHeader(w, h, packed, dataSize);
  f.resize(f.size() + n, 0x11);
  return f;
}

TEST(BmaLoadTest, RawPixelsLoadWithAlphaAndTheKeyOfTheFirstPixel) {
  TempFolder dir;
  const auto pixels = TestPixels(5, 3);
  auto f = BmaHeader(5, 3, 0, 5 * 3 * 4);
  Append(f, pixels);
  WriteBytes(dir / "a.BmA", f);
  CMemPlane p;
  ASSERT_EQ(p.Load(dir / "a.BmA", 0, 50.0), 0);  // the scale does nothing here
  int w = 0, h = 0;
  p.GetSize(&w, &h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 3);
  EXPECT_TRUE(p.IsLoaded());
  EXPECT_TRUE(p.HasAlpha());
  EXPECT_EQ(p.GetImpl()->GetColorKey(), pixels[0] & 0xFFFFFF);
  EXPECT_EQ(surface_util::Pixels(p), pixels);
}

TEST(BmaLoadTest, RefusedHeadersLeaveTheSurfaceEmpty) {
  TempFolder dir;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    int result;
  } kCases[] = {
      {"zero width", BmaHeader(0, 3, 0, 0), 2},
      {"negative height", BmaHeader(4, -3, 0, 0), 2},
      {"too many pixels", BmaHeader(100000, 100000, 0, 0), 2},
      {"widest side", BmaHeader(0x7FFFFFFF, 1, 0, 0), 2},
      {"short header", std::vector<uint8_t>(20, 1), 2},
      {"empty file", {}, 2},
      // Data that cannot make the picture: raw data shorter than the pixels, packed data that
      // would have to unpack to more than 9 times its size.
      {"raw data short of the pixels", BmaWithData(4, 4, 0, 64, 63), 2},
      {"no raw data", BmaWithData(4, 4, 0, 0, 0), 2},
      {"no packed data", BmaWithData(4, 4, 1, 64, 0), 2},
      {"packed data over 9 times short", BmaWithData(6, 6, 1, 144, 15), 2},
      {"12 bytes claiming 8000 x 8000", BmaWithData(8000, 8000, 1, 256000000, 12), 2},
  };
  for (const auto& c : kCases) {
    WriteBytes(dir / "x.bma", c.bytes);
    CMemPlane p;
    p.Create(2, 2, 0);
    EXPECT_EQ(p.Load(dir / "x.bma", 0, 100.0), c.result) << c.name;
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr) << c.name;
    EXPECT_FALSE(p.IsLoaded()) << c.name;
  }
  CMemPlane p;
  EXPECT_EQ(p.Load(dir / "missing.bma", 0, 100.0), 1);
}

TEST(BmaLoadTest, RawDataIsBoundedByTheFileAndThePixels) {
  TempFolder dir;
  const auto pixels = TestPixels(4, 4);
  const struct {
    const char* name;
    uint32_t dataSize;
    size_t bytesInFile;  // of the pixel data
    size_t expectedBytes;
  } kCases[] = {
      {"exact", 64, 64, 64},
      {"data size beyond the pixels", 0xFFFFFFFF, 64, 64},
      {"data size beyond the pixels and more data", 1000, 80, 64},
      {"data size short of the pixels", 20, 64, 20},
      {"data size 0", 0, 64, 0},
  };
  for (const auto& c : kCases) {
    auto f = BmaHeader(4, 4, 0, c.dataSize);
    Append(f, pixels);
    f.resize(24 + c.bytesInFile);
    WriteBytes(dir / "x.bma", f);
    CMemPlane p;
    ASSERT_EQ(p.Load(dir / "x.bma", 0, 100.0), 0) << c.name;
    std::vector<uint32_t> expected(16, 0);
    std::memcpy(expected.data(), pixels.data(), c.expectedBytes);
    EXPECT_EQ(surface_util::Pixels(p), expected) << c.name;
  }
}

std::vector<uint8_t> Packed(const std::vector<uint32_t>& pixels) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(pixels.data());
  return LzssEncode(std::span<const unsigned char>(bytes, pixels.size() * 4));
}

TEST(BmaLoadTest, PackedAndRawFilesLoadTheSamePixels) {
  TempFolder dir;
  // Repeats make the packer use references as well as literals.
  std::vector<uint32_t> pixels = TestPixels(16, 8);
  for (size_t i = 40; i < 100; ++i) pixels[i] = pixels[i % 7];
  auto raw = BmaHeader(16, 8, 0, 16 * 8 * 4);
  Append(raw, pixels);
  WriteBytes(dir / "raw.bma", raw);
  for (uint32_t packedFlag : {1u, 7u, 0x80000000u}) {
    auto packed = BmaHeader(16, 8, packedFlag, 16 * 8 * 4);
    const auto stream = Packed(pixels);
    ASSERT_LT(stream.size(), pixels.size() * 4);
    packed.insert(packed.end(), stream.begin(), stream.end());
    WriteBytes(dir / "packed.bma", packed);
    CMemPlane a, b;
    ASSERT_EQ(a.Load(dir / "raw.bma", 0, 100.0), 0);
    ASSERT_EQ(b.Load(dir / "packed.bma", 0, 100.0), 0) << packedFlag;
    EXPECT_EQ(surface_util::Pixels(b), surface_util::Pixels(a));
    EXPECT_EQ(b.GetImpl()->GetColorKey(), a.GetImpl()->GetColorKey());
    EXPECT_TRUE(b.HasAlpha());
  }
}

TEST(BmaLoadTest, PackedDataIsBoundedOnBothSides) {
  TempFolder dir;
  const auto pixels = TestPixels(8, 8);
  const auto stream = Packed(pixels);
  const struct {
    const char* name;
    uint32_t dataSize;
    size_t expectedBytes;  // leading bytes of the pixels that must come out; the rest is 0
  } kCases[] = {
      {"whole stream", 256, 256},
      {"data size beyond the pixels", 0xFFFFFFF0, 256},
      {"data size short of the pixels", 100, 100},
  };
  for (const auto& c : kCases) {
    auto f = BmaHeader(8, 8, 1, c.dataSize);
    f.insert(f.end(), stream.begin(), stream.end());
    WriteBytes(dir / "x.bma", f);
    CMemPlane p;
    ASSERT_EQ(p.Load(dir / "x.bma", 0, 100.0), 0) << c.name;
    const auto got = surface_util::Pixels(p);
    const auto* g = reinterpret_cast<const uint8_t*>(got.data());
    const auto* e = reinterpret_cast<const uint8_t*>(pixels.data());
    EXPECT_TRUE(std::equal(g, g + c.expectedBytes, e)) << c.name;
    EXPECT_TRUE(std::all_of(g + c.expectedBytes, g + 256, [](uint8_t b) { return b == 0; })) << c.name;
  }
}

TEST(BmaLoadTest, APackedStreamThatEndsBeforeThePictureIsRefused) {
  TempFolder dir;
  const auto pixels = TestPixels(8, 8);
  const auto stream = Packed(pixels);
  auto cut = BmaHeader(8, 8, 1, 256);
  cut.insert(cut.end(), stream.begin(), stream.begin() + static_cast<ptrdiff_t>(stream.size() / 2));
  // The corpus input: an 8 x 8 picture packed as literals only, its stream cut halfway.
  const auto kept = FuzzCorpusBytes("image_bma", "packed_stream_ends_halfway");
  ASSERT_FALSE(kept.empty());
  for (const auto& [name, bytes] : {std::pair{"cut", cut}, std::pair{"kept", kept}}) {
    WriteBytes(dir / "x.bma", bytes);
    CMemPlane p;
    p.Create(2, 2, 0);
    EXPECT_EQ(p.Load(dir / "x.bma", 0, 100.0), 3) << name;
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr) << name;
    EXPECT_FALSE(p.IsLoaded()) << name;
  }
}

TEST(BmaLoadTest, PackedDataOfSizeZeroFails) {
  TempFolder dir;
  auto f = BmaHeader(2, 2, 1, 0);
  f.insert(f.end(), 40, 0xFF);
  WriteBytes(dir / "x.bma", f);
  CMemPlane p;
  EXPECT_EQ(p.Load(dir / "x.bma", 0, 100.0), 3);
  EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
  EXPECT_FALSE(p.IsLoaded());
}

TEST(BmaLoadTest, GarbageStreamsStayInsideTheirBuffers) {
  TempFolder dir;
  std::mt19937 rng(3);
  for (int trial = 0; trial < 50; ++trial) {
    const int w = 1 + trial % 13, h = 1 + trial % 5;
    auto f = BmaHeader(w, h, 1, rng());
    const size_t n = rng() % 300;
    for (size_t i = 0; i < n; ++i) f.push_back(static_cast<uint8_t>(rng()));
    WriteBytes(dir / "x.bma", f);
    CMemPlane p;
    // Loaded only when the stream makes the pixels asked for.
    const uint32_t dataSize = f[16] | f[17] << 8 | f[18] << 16 | uint32_t{f[19]} << 24;
    std::vector<unsigned char> made(std::max<uint32_t>(std::min<uint32_t>(dataSize, 4 * w * h), 1));
    unsigned char* out = made.data();
    const bool whole = dataSize != 0 && CLzssDecoder().Decode(f.data() + 24, static_cast<uint32_t>(n), out,
                                                              static_cast<uint32_t>(made.size()), false) == 0;
    const int expected = 9 * n < size_t(4 * w * h) ? 2 : whole ? 0 : 3;
    EXPECT_EQ(p.Load(dir / "x.bma", 0, 100.0), expected) << trial;
  }
}

TEST(PictureLoadTest, OtherExtensionsGoThroughThePictureLoader) {
  TempFolder dir;
  // A 2 x 2 24-bit BMP under a name the surface has no reader of its own for.
  const std::vector<uint8_t> rows = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0,
                                     0x11, 0x21, 0x31, 0x41, 0x51, 0x61, 0, 0};
  WriteBytes(dir / "pic.dib", MakeBmp(2, 2, 24, {}, rows));
  for (bool dibSection : {false, true}) {
    CMemPlane p;
    p.GetImpl()->SetUseDIBSection(dibSection);
    ASSERT_EQ(p.Load(dir / "pic.dib", 0, 100.0), 0);
    // Bottom-up rows: the first stored row is the bottom one. The alpha byte is 0.
    EXPECT_EQ(surface_util::At(p, 0, 0), 0x00312111u);
    EXPECT_EQ(surface_util::At(p, 1, 0), 0x00615141u);
    EXPECT_EQ(surface_util::At(p, 0, 1), 0x00302010u);
    EXPECT_EQ(p.GetImpl()->GetColorKey(), 0x312111u);
    EXPECT_FALSE(p.HasAlpha());
    // Only the heap path marks the surface as loaded.
    EXPECT_EQ(p.IsLoaded(), !dibSection);
    EXPECT_EQ(p.GetImpl()->GetDC() != nullptr, dibSection);
  }
  WriteBytes(dir / "junk.xyz", {1, 2, 3, 4, 5});
  for (bool dibSection : {false, true}) {
    CMemPlane p;
    p.GetImpl()->SetUseDIBSection(dibSection);
    EXPECT_EQ(p.Load(dir / "junk.xyz", 0, 100.0), 1);
    EXPECT_EQ(p.Load(dir / "missing", 0, 100.0), 1);
    EXPECT_EQ(p.GetImpl()->GetPixels(), nullptr);
  }
}

// A top-down BMP (negative height) under such a name loads the right way up in both storages, as
// the BMP reader loads it: copied at 24 bits, drawn at 8.
TEST(PictureLoadTest, TopDownBmpsLoadTheRightWayUp) {
  TempFolder dir;
  WriteBytes(
      dir / "td24.dib",
      MakeBmp(2, -2, 24, {}, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0, 0x11, 0x21, 0x31, 0x41, 0x51, 0x61, 0, 0}));
  std::vector<RGBQUAD> table(4);
  table[1] = RGBQUAD{0x10, 0x20, 0x30, 0};
  table[2] = RGBQUAD{0x11, 0x21, 0x31, 0};
  WriteBytes(dir / "td8.dib", MakeBmp(2, -2, 8, table, {1, 1, 0, 0, 2, 2, 0, 0}));
  for (const char* name : {"td24.dib", "td8.dib"}) {
    for (bool dibSection : {false, true}) {
      CMemPlane p;
      p.GetImpl()->SetUseDIBSection(dibSection);
      ASSERT_EQ(p.Load(dir / name, 0, 100.0), 0) << name << " " << dibSection;
      int w = 0, h = 0;
      p.GetSize(&w, &h);
      EXPECT_EQ(w, 2);
      EXPECT_EQ(h, 2);
      // The first stored row is the top one.
      EXPECT_EQ(surface_util::At(p, 0, 0) & 0xFFFFFF, 0x302010u) << name << " " << dibSection;
      EXPECT_EQ(surface_util::At(p, 1, 1) & 0xFFFFFF, std::string(name) == "td24.dib" ? 0x615141u : 0x312111u)
          << name << " " << dibSection;
    }
  }
}

TEST(PictureLoadTest, JpegLoadsInBothStoragesWithoutAlpha) {
  TempFolder dir;
  WriteBytes(dir / "rb.JPG", RedBlueJpeg());
  const auto near = [](uint32_t got, uint32_t want) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 3) return false;
    return true;
  };
  for (bool dibSection : {false, true}) {
    CMemPlane p;
    p.GetImpl()->SetUseDIBSection(dibSection);
    ASSERT_EQ(p.Load(dir / "rb.JPG", 0, 100.0), 0) << dibSection;
    int w = 0, h = 0;
    p.GetSize(&w, &h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
    EXPECT_FALSE(p.HasAlpha());
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint32_t px = surface_util::At(p, x, y);
        EXPECT_EQ(px >> 24, 0u) << x << "," << y;  // drawn pictures carry no alpha
        EXPECT_TRUE(near(px, x < 8 ? 0xFF0000u : 0x0000FFu))
            << std::hex << px << " at " << std::dec << x << "," << y << " dib " << dibSection;
      }
    EXPECT_EQ(p.GetImpl()->GetColorKey(), surface_util::At(p, 0, 0) & 0xFFFFFF);
  }
}

TEST(DibStorageTest, TheDeviceContextDrawsIntoThePixels) {
  CMemPlane p;
  p.GetImpl()->SetUseDIBSection(true);
  ASSERT_EQ(p.Create(4, 3, 0), 0);
  ASSERT_NE(p.GetImpl()->GetDC(), nullptr);
  platform::SetPixel(p.GetImpl()->GetDC(), 2, 1, RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(surface_util::At(p, 2, 1), 0x00112233u);
  p.GetImpl()->GetRow(2)[3] = 0xFF445566;
  EXPECT_EQ(platform::GetPixel(p.GetImpl()->GetDC(), 3, 2), RGB(0x44, 0x55, 0x66));
  p.Release();
  EXPECT_EQ(p.GetImpl()->GetDC(), nullptr);
}

TEST(SaveTest, WritesTheClippedRectangleAs24BitBmp) {
  TempFolder dir;
  for (bool dibSection : {false, true}) {
    CMemPlane p;
    p.GetImpl()->SetUseDIBSection(dibSection);
    ASSERT_EQ(p.Create(3, 2, 0), 0);
    surface_util::Fill(p, [](int x, int y) { return 0xAB000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | 7; });
    const RECT r{1, -5, 9, 2};
    ASSERT_EQ(p.GetImpl()->Save(dir / "s.bmp", &r), 0);
    const auto f = ReadBytes(dir / "s.bmp");
    ASSERT_EQ(f.size(), 54u + 2 * 8);
    EXPECT_EQ(GetLe(f, 18, 4), 2u);  // width
    EXPECT_EQ(GetLe(f, 22, 4), 2u);  // height
    // Bottom row first; bytes blue, green, red.
    const uint8_t bottom[6] = {7, 1, 1, 7, 1, 2};
    const uint8_t top[6] = {7, 0, 1, 7, 0, 2};
    EXPECT_TRUE(std::equal(bottom, bottom + 6, f.begin() + 54));
    EXPECT_TRUE(std::equal(top, top + 6, f.begin() + 62));
    const RECT outside{5, 5, 9, 9};
    EXPECT_EQ(p.GetImpl()->Save(dir / "none.bmp", &outside), 1);
  }
  CMemPlane empty;
  EXPECT_EQ(empty.GetImpl()->Save(dir / "empty.bmp", nullptr), 1);
  EXPECT_TRUE(ReadBytes(dir / "empty.bmp").empty());
}

TEST(BltToPlaneTest, APlaneWithoutSurfaceHasNoDeviceContext) {
  CPlane plane;
  plane.Create(10, 10, 0);
  auto p = surface_util::Make(surface_util::Kind::Packed, 4, 4);
  RECT clip{-5, -5, 50, 50};
  EXPECT_EQ(p->GetImpl()->BltToPlane(&plane, 2, 2, nullptr, &clip), 2);
  EXPECT_EQ(clip.right, 10);
  EXPECT_EQ(p->GetImpl()->BltToPlane(&plane, 20, 2, nullptr, nullptr), 1);
  EXPECT_EQ(p->GetImpl()->BltToPlane(nullptr, 0, 0, nullptr, nullptr), 1);
}

}  // namespace
