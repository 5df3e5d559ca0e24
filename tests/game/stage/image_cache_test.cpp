#include "game/stage/image_cache.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/script/engine_state.h"
#include "game/stage/layer_module.h"
#include "tests/game/fixtures/layer_fixture.h"

namespace {

class ImageCacheTest : public testing::Test {
 protected:
  ImageCacheTest() : layers(4, 4) {
    for (int i = 0; i < 7; ++i)
      layers.WriteSolid("p" + std::to_string(i) + ".png", 2, 2, 0xFF000010u + static_cast<uint32_t>(i));
    Config.imageCacheSize = 5;
    FlushImageCache();
  }
  // The colour a cached copy shows, or 0 when none came back.
  static uint32_t Load(int i) {
    auto s = LoadImageCached("p" + std::to_string(i) + ".png", 100);
    return s ? s->GetImpl()->GetPixel(0, 0) & 0xFFFFFFu : 0;
  }
  LayerFixture layers;
};

TEST_F(ImageCacheTest, HitsMissesAndCounters) {
  EXPECT_EQ(Load(0), 0x10u);
  EXPECT_EQ(Load(0), 0x10u);
  EXPECT_EQ(Load(1), 0x11u);
  EXPECT_EQ(ImageCacheLookups(), 3);
  EXPECT_EQ(ImageCacheHits(), 1);
  // A hit is a copy of the decoded picture: the file can go and the picture still comes.
  std::filesystem::remove(layers.dir.File("p0.png"));
  EXPECT_EQ(Load(0), 0x10u);
  EXPECT_EQ(ImageCacheHits(), 2);
  // The scale is part of the key.
  EXPECT_EQ(LoadImageCached("p0.png", 50), nullptr);
  EXPECT_EQ(LoadImageCached("missing.png", 100), nullptr);
  EXPECT_EQ(ImageCacheLookups(), 6);
  FlushImageCache();
  EXPECT_EQ(ImageCacheLookups(), 0);
  EXPECT_EQ(ImageCacheHits(), 0);
  EXPECT_EQ(Load(0), 0u);  // gone from the cache and from the folder
}

TEST_F(ImageCacheTest, EvictsTheLeastUsedFirstOnATie) {
  // Each lookup first lowers every non-zero count by one, then the entry found or filled gains.
  for (int i = 0; i < 5; ++i) Load(i);  // entry i holds p<i>
  EXPECT_EQ(ImageCacheUseCount(4), 1);
  EXPECT_EQ(ImageCacheUseCount(3), 0);
  // All counts are 0 when p5 comes: the first entry goes, and the newcomer starts one use ahead.
  Load(5);
  EXPECT_EQ(ImageCacheUseCount(0), 2);
  // Now entry 0 counts 1 and the others 0: the first of the least used is entry 1 (p1).
  Load(6);
  EXPECT_EQ(ImageCacheUseCount(1), 2);
  for (int i = 0; i < 7; ++i) std::filesystem::remove(layers.dir.File("p" + std::to_string(i) + ".png"));
  EXPECT_EQ(Load(5), 0x15u);
  EXPECT_EQ(Load(6), 0x16u);
  EXPECT_EQ(Load(2), 0x12u);
  EXPECT_EQ(Load(0), 0u);
  EXPECT_EQ(Load(1), 0u);
}

TEST_F(ImageCacheTest, SizeZeroDecodesEveryTime) {
  Config.imageCacheSize = 0;
  EXPECT_EQ(Load(2), 0x12u);
  EXPECT_EQ(Load(2), 0x12u);
  EXPECT_EQ(ImageCacheHits(), 0);
  EXPECT_EQ(ImageCacheLookups(), 2);
  std::filesystem::remove(layers.dir.File("p2.png"));
  EXPECT_EQ(Load(2), 0u);
  // Sizes out of range are clamped.
  Config.imageCacheSize = -4;
  EXPECT_EQ(ImageCacheSize(), 0);
  Config.imageCacheSize = 1000;
  EXPECT_EQ(ImageCacheSize(), kImageCacheEntries);
}

TEST_F(ImageCacheTest, CopiesAreIndependentAndCarryAlphaAndKey) {
  layers.WritePicture("a.png", 2, 1, {0x80112233u, 0x00000000u}, true);
  for (int size : {0, 5}) {
    Config.imageCacheSize = size;
    FlushImageCache();
    auto first = LoadImageCached("a.png", 100);
    auto second = LoadImageCached("a.png", 100);
    ASSERT_TRUE(first && second) << size;
    EXPECT_TRUE(first->HasAlpha()) << size;
    EXPECT_TRUE(second->HasAlpha()) << size;
    first->GetImpl()->Clear(0xFFFFFFFFu, nullptr);
    EXPECT_EQ(second->GetImpl()->GetPixel(0, 0), 0x80112233u) << size;
    auto third = LoadImageCached("a.png", 100);
    EXPECT_EQ(third->GetImpl()->GetPixel(0, 0), 0x80112233u) << size;
    EXPECT_EQ(third->GetImpl()->GetColorKey(), second->GetImpl()->GetColorKey()) << size;
  }
  // A picture keyed on its first pixel keeps the key through the cache.
  CMemPlane keyed;
  keyed.Create(2, 1, 0);
  keyed.GetImpl()->GetRow(0)[0] = 0xFF0000FFu;
  keyed.GetImpl()->GetRow(0)[1] = 0xFF00FF00u;
  ASSERT_EQ(keyed.GetImpl()->Save("k.bmp", nullptr), 0);
  FlushImageCache();
  auto a = LoadImageCached("k.bmp", 100);
  auto b = LoadImageCached("k.bmp", 100);
  EXPECT_FALSE(b->HasAlpha());
  EXPECT_EQ(b->GetImpl()->GetColorKey(), 0x0000FFu);
  EXPECT_EQ(a->GetImpl()->GetColorKey(), b->GetImpl()->GetColorKey());
}

// A shared surface is the cache's own, so a picture held by several readers exists once; the
// copies handed out beside it stay the caller's; and it outlives its entry.
TEST_F(ImageCacheTest, SharedSurfacesAreTheCachedOneAndOutliveTheirEntry) {
  auto a = LoadImageShared("p0.png", 100);
  auto b = LoadImageShared("p0.png", 100);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(ImageCacheLookups(), 2);
  EXPECT_EQ(ImageCacheHits(), 1);
  auto copy = LoadImageCached("p0.png", 100);
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), a.get());
  copy->GetImpl()->Clear(0xFFFFFFFFu, nullptr);
  EXPECT_EQ(a->GetImpl()->GetPixel(0, 0) & 0xFFFFFFu, 0x10u);
  // Evicted, flushed or forgotten, the entry lets go; the holders keep the picture.
  for (int i = 1; i < 7; ++i) Load(i);
  ForgetCachedImage("p0.png");
  FlushImageCache();
  std::filesystem::remove(layers.dir.File("p0.png"));
  EXPECT_EQ(a->GetImpl()->GetPixel(1, 1) & 0xFFFFFFu, 0x10u);
  EXPECT_EQ(LoadImageShared("p0.png", 100), nullptr);
  // Without entries every reader decodes its own.
  Config.imageCacheSize = 0;
  auto c = LoadImageShared("p1.png", 100);
  auto d = LoadImageShared("p1.png", 100);
  ASSERT_TRUE(c && d);
  EXPECT_NE(c.get(), d.get());
}

// Layers showing one picture hold the cache's surface, and nothing a layer does writes into it:
// fades, cross-fades and the wave leave it as decoded.
TEST_F(ImageCacheTest, LayersShareTheCachedPictureAndNeverWriteIntoIt) {
  const std::vector<uint32_t> pixels = {0x80112233u, 0xFF445566u, 0x00000000u, 0xFF778899u};
  layers.WritePicture("a.png", 2, 2, pixels, true);
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "a.png"));
  ASSERT_TRUE(LoadPicture(1, 1, 1, 0, "a.png"));
  ASSERT_NE(LayerSurface(0), nullptr);
  EXPECT_EQ(LayerSurface(0), LayerSurface(1));
  const auto cached = LoadImageShared("a.png", 100);
  EXPECT_EQ(cached.get(), LayerSurface(0));
  EngineState.layers[1].levels[0] = {0, 8};
  SetEffect(0, 1);
  for (int i = 0; i < 5; ++i) layers.Frame();
  ASSERT_TRUE(OverlapPicture(1, 0, 0, 0, "a.png"));
  for (int i = 0; i < 5; ++i) layers.Frame();
  const CMemPlaneImpl& p = *cached->GetImpl();
  EXPECT_EQ(std::vector<uint32_t>(p.GetPixels(), p.GetPixels() + 4), pixels);
  EXPECT_TRUE(p.HasAlpha());
}

TEST_F(ImageCacheTest, LongNamesThatShareTheirStartDoNotSwap) {
  const std::string stem(300, 'n');
  std::filesystem::create_directories(layers.dir.path() / stem.substr(0, 200));
  const std::string a = stem.substr(0, 200) + "/" + std::string(60, 'x') + "a.png";
  const std::string b = stem.substr(0, 200) + "/" + std::string(60, 'x') + "b.png";
  layers.WriteSolid(a, 1, 1, 0xFF0000AAu);
  layers.WriteSolid(b, 1, 1, 0xFF0000BBu);
  EXPECT_EQ(LoadImageCached(a, 100)->GetImpl()->GetPixel(0, 0) & 0xFFFFFFu, 0xAAu);
  EXPECT_EQ(LoadImageCached(b, 100)->GetImpl()->GetPixel(0, 0) & 0xFFFFFFu, 0xBBu);
}

}  // namespace
