// Small files kept in the fuzzing corpus because they once cost gigabytes or undefined behaviour:
// a few bytes claiming a huge picture, a chunk claiming gigabytes, a height of INT32_MIN. Each is
// replayed in a child process, which must give the refusal without its peak memory growing by more
// than a small bound: nothing is allocated or decoded for the size a header claims.
#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "bounded_run.h"
#include "fuzz_corpus.h"
#include "image_files.h"
#include "platform/picture.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/picture_loader.h"
#include "sdk/graphics/png_reader.h"
#include "sdk/graphics/tga_reader.h"

namespace {

// Far below what any of these files claims (256 MB and more), far above what reading them takes.
constexpr int64_t kPeakBound = int64_t{24} << 20;

int SurfaceLoad(const std::string& path, bool dibSection) {
  CMemPlane plane;
  plane.GetImpl()->SetUseDIBSection(dibSection);
  const int r = plane.Load(path, 0, 100.0);
  return plane.GetImpl()->GetPixels() == nullptr ? r : 100 + r;  // a refusal leaves no pixels
}

// 1 when the picture service decodes the file.
int PictureServiceLoad(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  return platform::Picture::Load(bytes) ? 1 : 0;
}

struct Case {
  const char* target;
  const char* file;
  const char* storedAs;  // the name the file is loaded under
  std::function<int(const std::string& path)> load;
  int refused;
};

const Case kCases[] = {
    {"image_bma", "short_packed_data_claims_8000x8000", "x.bma",
     [](const std::string& p) { return SurfaceLoad(p, false); }, 2},
    {"image_bmp", "rle8_claims_16x20000000", "x.bmp",
     [](const std::string& p) { return CDibImage().LoadBmp(p, 0x3F) ? 1 : 0; }, 0},
    {"image_bmp", "rle8_claims_16x20000000", "x.bmp", [](const std::string& p) { return SurfaceLoad(p, false); }, 1},
    {"image_png", "text_chunk_claims_2gib", "x.png",
     [](const std::string& p) {
       CDibImage image;
       return int{LoadPngToDib(p, &image)};
     },
     0},
    {"image_png", "text_chunk_claims_2gib", "x.png", [](const std::string& p) { return SurfaceLoad(p, false); }, 1},
    {"picture_loader", "jpeg_claims_16384x16384", "x.jpg", PictureServiceLoad, 0},
    {"picture_loader", "jpeg_claims_16384x16384", "x.jpg", [](const std::string& p) { return SurfaceLoad(p, true); },
     1},
    {"picture_loader", "gif_screen_claims_16384x16384", "x.gif", PictureServiceLoad, 0},
    {"picture_loader", "gif_screen_claims_16384x16384", "x.gif",
     [](const std::string& p) { return SurfaceLoad(p, false); }, 1},
    // A BMP under a name without a reader of its own goes to the picture loader, which reports its
    // height as stored; its magnitude does not exist as an int.
    {"mem_plane_load", "bmp_height_int32_min", "x.dat", [](const std::string& p) { return SurfaceLoad(p, false); }, 1},
    {"mem_plane_load", "bmp_height_int32_min", "x.dat", [](const std::string& p) { return SurfaceLoad(p, true); }, 3},
    {"mem_plane_load", "bmp_height_int32_min", "x.dat",
     [](const std::string& p) { return CDIBSection().LoadByPictureLoader(p, 32); }, 3},
};

TEST(SmallHostileFiles, AreRefusedWithoutAllocatingWhatTheyClaim) {
  for (const Case& c : kCases) {
    const std::string what = std::string(c.target) + "/" + c.file + " as " + c.storedAs;
    const std::vector<uint8_t> bytes = FuzzCorpusBytes(c.target, c.file);
    ASSERT_FALSE(bytes.empty()) << what << ": missing from the corpus";
    EXPECT_LE(bytes.size(), 2048u) << what;
    TempFolder dir;
    WriteBytes(dir / c.storedAs, bytes);
    const BoundedRun run = RunBounded([&] { return c.load(dir / c.storedAs); });
    ASSERT_TRUE(run.finished) << what;
    EXPECT_EQ(run.result, c.refused) << what;
    EXPECT_LT(run.peakGrowthBytes, kPeakBound) << what;
  }
}

// Two 16-bit sides can claim a gigabyte in an 18-byte header: refused before anything is allocated.
TEST(SmallHostileFiles, ATgaHeaderBeyondTheLimitIsRefused) {
  std::vector<uint8_t> tga(18 + 16, 0x20);
  std::fill(tga.begin(), tga.begin() + 18, uint8_t{0});
  tga[2] = 2;  // true colour
  PutLe(tga, 12, 16384, 2);
  PutLe(tga, 14, 16384, 2);
  tga[16] = 32;
  TempFolder dir;
  WriteBytes(dir / "x.tga", tga);
  const BoundedRun run = RunBounded([&] {
    CDibImage image;
    return int{LoadTgaToDib(dir / "x.tga", &image)} + 10 * SurfaceLoad(dir / "x.tga", false);
  });
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.result, 10);  // not decoded, and the surface load fails with 1
  EXPECT_LT(run.peakGrowthBytes, kPeakBound);
}

// The measurement itself sees memory that work touches.
TEST(SmallHostileFiles, ThePeakMeasureSeesAnAllocation) {
  const BoundedRun run = RunBounded([] {
    std::vector<uint8_t> block(size_t{64} << 20);
    std::memset(block.data(), 1, block.size());
    // Keeps the compiler from dropping the block: clang removes an allocation it can prove unused.
    asm volatile("" : : "r"(block.data()) : "memory");
    return static_cast<int>(block[12345]);
  });
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.result, 1);
  EXPECT_GT(run.peakGrowthBytes, int64_t{48} << 20);
}

}  // namespace
