#include "game/system/save_thumbnail.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "game/app/config.h"
#include "game/app/script_app.h"
#include "game/stage/image_cache.h"
#include "game/stage/layer_module.h"
#include "game/system/save_file.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "tests/game/fixtures/message_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// A picture whose every pixel differs from its neighbours, so that any change of row order or
// sampling shows.
void Paint(CMemPlane& picture, int width, int height, uint32_t seed) {
  ASSERT_EQ(picture.Create(width, height, 0), 0);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = picture.GetImpl()->GetRow(y);
    for (int x = 0; x < width; ++x) {
      row[x] = 0xFF000000u | ((x * 7 + seed) & 0xFF) << 16 | ((y * 5 + seed) & 0xFF) << 8 | ((x * y + seed) & 0xFF);
    }
  }
}

class SaveThumbnailTest : public testing::Test, public MessageFixture {};

TEST_F(SaveThumbnailTest, TheFileIsTheSectionWritersBmpOfTheResampledPicture) {
  struct Case {
    const char* name;
    int width;
    int height;
  } cases[] = {{"game screen", 800, 600}, {"odd size", 321, 97}, {"smaller than a thumbnail", 40, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMemPlane picture;
    Paint(picture, c.width, c.height, 3);
    const std::vector<uint8_t> file = MakeThumbnailBmp(picture);
    ASSERT_EQ(file.size(), 32454u);
    const uint8_t* p = file.data();
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[1], 'M');
    EXPECT_EQ(Get32(p + 2), 32454u);
    EXPECT_EQ(Get32(p + 6), 0u);
    EXPECT_EQ(Get32(p + 10), 54u);
    EXPECT_EQ(Get32(p + 14), 40u);
    EXPECT_EQ(Get32(p + 18), 120u);
    EXPECT_EQ(Get32(p + 22), 90u);  // positive: bottom-up
    EXPECT_EQ(p[26] | p[27] << 8, 1);
    EXPECT_EQ(p[28] | p[29] << 8, 24);
    EXPECT_EQ(Get32(p + 30), 0u);
    EXPECT_EQ(Get32(p + 34), 0u);
    EXPECT_EQ(Get32(p + 38), 3780u);
    EXPECT_EQ(Get32(p + 42), 3780u);
    EXPECT_EQ(Get32(p + 46), 0u);
    EXPECT_EQ(Get32(p + 50), 0u);

    // The same picture by way of files: written as a BMP, read, resampled and written again.
    ASSERT_EQ(picture.GetImpl()->Save("route.bmp", nullptr), 0);
    CDibImage image;
    ASSERT_TRUE(image.LoadBmp("route.bmp", 0x10));
    ASSERT_TRUE(image.Resize(120, 90));
    ASSERT_TRUE(image.SaveBmp("route_small.bmp"));
    const std::string route = ReadFile("route_small.bmp");
    ASSERT_EQ(route.size(), 32454u);
    EXPECT_EQ(std::memcmp(route.data() + 54, p + 54, 32400), 0);
  }
  CMemPlane empty;
  EXPECT_TRUE(MakeThumbnailBmp(empty).empty());
}

// With the image cache on, a slot saved again shows its new thumbnail, not the cached old one.
TEST_F(SaveThumbnailTest, ASlotSavedAgainShowsItsNewThumbnail) {
  Config.imageCacheSize = 10;
  FlushImageCache();
  run.Load("A=1\r\n");
  run.Frame(1);
  const std::string bmp = SaveThumbnailPath(SaveSlotPath(3));
  for (uint32_t seed : {0u, 99u}) {
    SCOPED_TRACE(seed);
    CMemPlane picture;
    Paint(picture, 160, 120, seed);
    ASSERT_TRUE(SaveSlot(SaveSlotPath(3), &picture));
    const std::vector<uint8_t> expected = MakeThumbnailBmp(picture);
    const std::string written = ReadFile(fs::path("savedata") / "data003.bmp");
    ASSERT_EQ(written, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(fs::file_size(fs::path("savedata") / "data003.sav"), kEngineStateSize);
    std::unique_ptr<CMemPlane> shown = LoadImageCached(bmp, 100);
    ASSERT_NE(shown, nullptr);
    // Bottom row first in the file: the top-left pixel is the last row's first.
    const uint8_t* topLeft = expected.data() + 54 + 89 * 360;
    const uint32_t pixel = shown->GetImpl()->GetRow(0)[0] & 0xFFFFFFu;
    EXPECT_EQ(pixel, static_cast<uint32_t>(topLeft[2] << 16 | topLeft[1] << 8 | topLeft[0]));
    // A second lookup is served by the cache.
    LoadImageCached(bmp, 100);
  }
  EXPECT_GE(ImageCacheHits(), 2);
  EXPECT_TRUE(questions.boxes().empty());
  FlushImageCache();
}

// The thumbnail goes only with a save that was written.
TEST_F(SaveThumbnailTest, NoThumbnailWithoutItsSave) {
  CMemPlane picture;
  Paint(picture, 16, 12, 1);
  EXPECT_FALSE(SaveSlot(SaveSlotPath(0), &picture));  // no script loaded
  EXPECT_FALSE(fs::exists("savedata"));
  run.Load("A=1\r\n");
  fs::create_directories(fs::path("savedata") / "data000.sav" / "x");
  EXPECT_FALSE(SaveSlot(SaveSlotPath(0), &picture));
  EXPECT_FALSE(fs::exists(fs::path("savedata") / "data000.bmp"));
  EXPECT_EQ(questions.boxes().size(), 1u);
}

}  // namespace

namespace {

// The frame keeps the game picture before the window and text are drawn over it, once a frame.
TEST_F(SaveThumbnailTest, TheFrameKeepsTheGamePictureWithoutTheWindow) {
  run.Load(CrLf("こんにちは\n\n"_sj));
  run.Frame(3);
  ASSERT_TRUE(TextBoxes[0].visible);
  const CMemPlane* screen = run.Screen();
  ASSERT_NE(screen, nullptr);
  // This screen is not the display's, so no frame clears it: paint it plain, and one frame more.
  screen->GetImpl()->Clear(0xFF204060u, nullptr);
  run.Frame(1);
  ASSERT_NE(run.App(), nullptr);
  const CMemPlane* kept = run.App()->GamePicture();
  ASSERT_NE(kept, nullptr);
  const CMemPlaneImpl& s = *screen->GetImpl();
  const CMemPlaneImpl& k = *kept->GetImpl();
  ASSERT_EQ(k.Width(), s.Width());
  ASSERT_EQ(k.Height(), s.Height());
  // No script picture: the kept picture is the plain screen, while the screen shows the text.
  const std::vector<uint32_t> keptPixels(k.GetPixels(), k.GetPixels() + k.Width() * k.Height());
  EXPECT_EQ(std::count(keptPixels.begin(), keptPixels.end(), 0xFF204060u), static_cast<long>(keptPixels.size()));
  EXPECT_NE(std::memcmp(k.GetPixels(), s.GetPixels(), keptPixels.size() * 4), 0);
}

// A frame that draws nothing over its picture copies nothing: the picture is the screen itself.
// Whatever draws over the screen afterwards has the picture kept aside first, so a save or the
// wallpaper still gets the picture before the drawing.
TEST_F(SaveThumbnailTest, DrawingOverAFrameWithoutInterfaceKeepsItsPictureFirst) {
  run.Load("A=1\r\n");
  run.Frame(1);
  CMemPlane* screen = run.Screen();
  ASSERT_NE(screen, nullptr);
  screen->GetImpl()->Clear(0xFF204060u, nullptr);
  run.Frame(1);
  ASSERT_NE(run.App(), nullptr);
  EXPECT_EQ(run.App()->GamePicture(), screen);

  CMemPlane* target = LayerDrawTarget();
  ASSERT_EQ(target, screen);
  const RECT corner{0, 0, 8, 8};
  target->GetImpl()->Clear(0xFF000000u, &corner);
  const CMemPlane* kept = run.App()->GamePicture();
  ASSERT_NE(kept, nullptr);
  ASSERT_NE(kept, screen);
  const CMemPlaneImpl& k = *kept->GetImpl();
  ASSERT_EQ(k.Width(), screen->GetImpl()->Width());
  ASSERT_EQ(k.Height(), screen->GetImpl()->Height());
  const std::vector<uint32_t> keptPixels(k.GetPixels(), k.GetPixels() + k.Width() * k.Height());
  EXPECT_EQ(std::count(keptPixels.begin(), keptPixels.end(), 0xFF204060u), static_cast<long>(keptPixels.size()));
  // Asking again copies nothing more: the kept picture stays the one before the drawing.
  LayerDrawTarget()->GetImpl()->Clear(0xFF000000u, nullptr);
  EXPECT_EQ(run.App()->GamePicture(), kept);
  EXPECT_EQ(k.GetPixels()[0], 0xFF204060u);
}

}  // namespace
