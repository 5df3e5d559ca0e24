// The compositor drawn on a small test surface: layer order and opacity, cross-fades, effects, the
// change detection that skips unchanged frames, and the mask transition.
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/script/message_log.h"
#include "game/stage/movie_player.h"
#include "tests/game/fixtures/layer_fixture.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/cos_table.h"
#include "sdk/graphics/mem_plane_x86.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;

int compositionCount = 0;
void CountComposition() { ++compositionCount; }

// One channel of the natural blend of an opaque source at ratio r over d (both classes agree).
uint32_t Blend(uint32_t s, uint32_t d, int r) {
  return s * static_cast<uint32_t>(r) / 256 + d * (255u - static_cast<uint32_t>(r)) / 256;
}

class CompositorTest : public testing::Test {
 protected:
  CompositorTest() : layers(4, 1) {
    layers.WriteSolid("red.png", 4, 1, kRed);
    layers.WriteSolid("blue.png", 2, 1, kBlue, true);
    layers.WriteSolid("green.png", 4, 1, 0xFF00FF00u);
    compositionCount = 0;
    SetFullCompositionHook(CountComposition);
  }
  LayerFixture layers;
};

TEST_F(CompositorTest, LayersAreDrawnInOrderWithTheirOpacity) {
  ASSERT_TRUE(LoadPicture(3, 0, 0, 0, "red.png"));
  ASSERT_TRUE(LoadPicture(7, 1, 0, 0, "blue.png"));
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
  EXPECT_EQ(layers.Colour(1, 0), 0x0000FFu);
  EXPECT_EQ(layers.Colour(2, 0), 0x0000FFu);
  EXPECT_EQ(layers.Colour(3, 0), 0xFF0000u);
  // A lower layer number is drawn first, whatever was loaded last.
  ASSERT_TRUE(LoadPicture(1, 0, 0, 0, "green.png"));
  EngineState.layers[7].levels[0].level = 128;
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
  EXPECT_EQ(layers.Colour(1, 0), (Blend(0, 255, 128) << 16) | Blend(255, 0, 128));
  // Opacity 0 draws nothing; the motion of a layer is where it is drawn.
  EngineState.layers[7].levels[0].level = 0;
  layers.Frame();
  EXPECT_EQ(layers.Colour(1, 0), 0xFF0000u);
}

TEST_F(CompositorTest, CrossFadeWithEffectsOnOffAndSkipping) {
  struct Case {
    const char* name;
    bool effects;
    bool skipping;
    bool fades;
  } cases[] = {
      {"effects on", true, false, true}, {"effects off", false, false, false}, {"skipping", true, true, false}};
  for (const Case& c : cases) {
    ClearPicture(0);
    Config.effectsOn = c.effects;
    SkipMode = c.skipping;
    // An empty layer fades its picture in from 0.
    ASSERT_TRUE(OverlapPicture(0, 0, 0, 0, "red.png")) << c.name;
    layers.Frame();
    EXPECT_EQ(EngineState.layers[0].levels[0].level, c.fades ? 16 : 255) << c.name;
    EXPECT_EQ(layers.Colour(0, 0), c.fades ? Blend(255, 0, 16) << 16 : 0xFF0000u) << c.name;
    for (int i = 0; i < 20; ++i) layers.Frame();
    EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u) << c.name;
    // The old picture dissolves into the new one over 16 frames.
    ASSERT_TRUE(OverlapPicture(0, 0, 0, 0, "green.png")) << c.name;
    EXPECT_EQ(LayerPreviousSurface(0) != nullptr, c.fades) << c.name;
    layers.Frame();
    if (c.fades) {
      EXPECT_EQ(LayerPreviousLevel(0), 239) << c.name;
      EXPECT_EQ(layers.Colour(0, 0), (Blend(255, 0, 239) << 16) | (Blend(0, 255, 239) << 8)) << c.name;
      // A second OVERLAP drops the older fading picture (red) at once: now green fades over red.
      ASSERT_TRUE(OverlapPicture(0, 0, 0, 0, "red.png")) << c.name;
      layers.Frame();
      EXPECT_EQ(layers.Colour(0, 0), (Blend(255, 0, 239) << 8) | (Blend(0, 255, 239) << 16)) << c.name;
      for (int i = 0; i < 15; ++i) layers.Frame();
      EXPECT_EQ(LayerPreviousSurface(0), nullptr) << c.name;
      EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u) << c.name;
    } else {
      EXPECT_EQ(layers.Colour(0, 0), 0x00FF00u) << c.name;
    }
  }
}

TEST_F(CompositorTest, EffectOtherThanZeroOrOneHides) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  SetEffect(0, 2);
  layers.Frame();
  EXPECT_EQ(layers.Pixel(0, 0), LayerFixture::kBackground);
  SetEffect(0, 0);
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
}

TEST(CompositorWave, RowsSwingByTheCosineAtClockZero) {
  platform::ManualClock clock(0);
  LayerFixture layers(40, 260);
  layers.WriteSolid("bar.png", 1, 260, 0xFF00FF00u);
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "bar.png"));
  SetEffect(0, 1);
  layers.Frame();
  const CCosTable cosines;
  for (int r : {0, 100, 200, 256, 259}) {
    // (t/8 + r/2 - 128) mod 512 at t = 0: the index is negative before it wraps.
    const int shift = cosines[(r / 2 - 128 + 512) % 512] >> 14;
    for (int x = 0; x < 40; ++x) {
      const bool lit = x >= shift && x < shift + 33;
      EXPECT_EQ(layers.Colour(x, r), lit ? 0x00FF00u : 0u) << r << " " << x;
    }
  }
  EXPECT_EQ(cosines[(256 / 2 - 128 + 512) % 512] >> 14, 4);
}

TEST_F(CompositorTest, AnUnchangedFrameDrawsNoLayer) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  ASSERT_TRUE(LoadPicture(1, 1, 0, 0, "blue.png"));
  layers.Frame();
  EXPECT_EQ(compositionCount, 1);
  std::vector<uint32_t> first = layers.Pixels();
  layers.Frame();
  layers.Frame();
  EXPECT_EQ(compositionCount, 1);
  // The copy keeps the back buffer's alpha byte; the colours are the composed ones.
  std::vector<uint32_t> again = layers.Pixels();
  for (uint32_t* p : {first.data(), again.data()})
    for (size_t i = 0; i < first.size(); ++i) p[i] &= 0xFFFFFFu;
  EXPECT_EQ(again, first);
  // A record change composes again.
  EngineState.layers[1].x = 2;
  layers.Frame();
  EXPECT_EQ(compositionCount, 2);
  EXPECT_EQ(layers.Colour(1, 0), 0xFF0000u);
  // A running fade composes every frame until it ends.
  EngineState.layers[1].levels[0] = {200, -100};
  layers.Frame();
  layers.Frame();
  EXPECT_EQ(compositionCount, 4);
  layers.Frame();
  EXPECT_EQ(compositionCount, 4);
  // The wave composes every frame.
  EngineState.layers[1].levels[0] = {255, 0};
  SetEffect(0, 1);
  for (int i = 0; i < 3; ++i) layers.Frame();
  EXPECT_EQ(compositionCount, 7);
}

// Random pictures (transparent, opaque and partly transparent pixels, with and without alpha) at
// random places and opacities, composed on a target of either kernel class, against drawing every
// layer in order with the sprite drawer.
TEST(CompositorExact, SameAsDrawingEveryLayerInOrder) {
  std::mt19937 random(14);
  LayerFixture layers(48, 32);
  for (int n = 0; n < 6; ++n) {
    const int w = 8 + static_cast<int>(random() % 40), h = 4 + static_cast<int>(random() % 30);
    std::vector<uint32_t> px(static_cast<size_t>(w * h));
    const bool figure = n % 2 == 0;  // an opaque body in a transparent ground, or noise
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int edge = std::min({x, y, w - 1 - x, h - 1 - y});
        const uint32_t kind = random() % 4;
        uint32_t alpha = kind == 0 ? 0 : kind == 1 ? 255 : random() % 256;
        if (figure) alpha = edge == 0 ? 0 : edge == 1 ? random() % 256 : 255;
        px[static_cast<size_t>(y * w + x)] = (alpha << 24) | (random() & 0xFFFFFFu);
      }
    }
    layers.WritePicture("p" + std::to_string(n) + ".png", w, h, px, n % 3 != 0);
  }
  for (bool plain : {false, true}) {
    auto make = [plain] {
      return plain ? std::make_unique<CMemPlane>(std::make_unique<CMemPlaneX86>()) : std::make_unique<CMemPlane>();
    };
    std::unique_ptr<CMemPlane> screen = make(), reference = make();
    screen->Create(48, 32, 0);
    reference->Create(48, 32, 0);
    for (int round = 0; round < 30; ++round) {
      for (int i = 0; i < kLayerCount; ++i) {
        if (random() % 3 != 0) {
          ClearPicture(i);
          continue;
        }
        const float x = static_cast<float>(static_cast<int>(random() % 60) - 20);
        const float y = static_cast<float>(static_cast<int>(random() % 40) - 10);
        ASSERT_TRUE(LoadPicture(i, x, y, 0, "p" + std::to_string(random() % 6) + ".png"));
        const int levels[] = {255, 255, 128, 254, 1, 0};
        EngineState.layers[i].levels[0].level = levels[random() % 6];
      }
      SetLayerDrawTarget(screen.get());
      screen->GetImpl()->Clear(LayerFixture::kBackground, nullptr);
      DrawLayers();
      SetLayerDrawTarget(reference.get());
      reference->GetImpl()->Clear(LayerFixture::kBackground, nullptr);
      for (int i = 0; i < kLayerCount; ++i) {
        const PictureLayer& r = EngineState.layers[i];
        DrawSprite(LayerSurface(i), r.drawX, r.drawY, r.levels[0].level, r.effect, 1.0f);
      }
      const uint32_t* a = screen->GetImpl()->GetPixels();
      const uint32_t* b = reference->GetImpl()->GetPixels();
      ASSERT_EQ(std::vector<uint32_t>(a, a + 48 * 32), std::vector<uint32_t>(b, b + 48 * 32))
          << round << " plain " << plain;
    }
  }
  SetLayerDrawTarget(&layers.screen);
}

// A movie that shows one frame until it is told to end.
class FakeMovie : public MoviePlayer {
 public:
  static inline std::string opened;
  static inline bool playing = true;
  static inline bool stopped = false;
  FakeMovie() { frame.Create(2, 1, 0), frame.GetImpl()->Clear(0xFF123456u, nullptr); }
  bool OpenAndPlay(std::string_view name) override {
    opened = name;
    return true;
  }
  CMemPlane* FrameSurface() override { return &frame; }
  bool IsPlaying() const override { return playing; }
  void Stop() override { stopped = true; }
  CMemPlane frame;
};

TEST_F(CompositorTest, AMovieIsShownInPlaceOfTheLayersUntilItEnds) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  // Without a player nothing is made, and the layers go on.
  EXPECT_TRUE(PlayMovie("film.avi"));
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
  SetMoviePlayerFactory([]() -> std::unique_ptr<MoviePlayer> { return std::make_unique<FakeMovie>(); });
  FakeMovie::playing = true;
  EXPECT_TRUE(PlayMovie("film.avi"));
  EXPECT_EQ(FakeMovie::opened, "film.avi");
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0x123456u);
  EXPECT_EQ(layers.Colour(2, 0), LayerFixture::kBackground & 0xFFFFFFu);
  FakeMovie::playing = false;  // the last frame is still shown, then the movie goes
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0x123456u);
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
  FakeMovie::playing = true;
  FakeMovie::stopped = false;
  PlayMovie("film.avi");
  StopMovie();
  EXPECT_TRUE(FakeMovie::stopped);
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0xFF0000u);
  SetMoviePlayerFactory(nullptr);
}

TEST_F(CompositorTest, NothingToDrawOnOrWithDrawsNothing) {
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "red.png"));
  SetLayerDrawTarget(nullptr);  // no game runs: there is no back buffer
  DrawLayers();
  DrawSprite(LayerSurface(0), 0, 0, 255, 0, 1.0f);
  DrawSpriteClipped(LayerSurface(0), 0, 0, 4);
  SetLayerDrawTarget(&layers.screen);
  layers.screen.GetImpl()->Clear(LayerFixture::kBackground, nullptr);
  DrawSprite(nullptr, 0, 0, 255, 0, 1.0f);
  DrawSprite(nullptr, 0, 0, 255, 1, 1.0f);
  DrawSpriteClipped(nullptr, 0, 0, 4);
  EXPECT_EQ(layers.Pixels(), std::vector<uint32_t>(4, LayerFixture::kBackground));
  // A slider bar is cut to its width.
  DrawSpriteClipped(LayerSurface(0), 0, 0, 2);
  EXPECT_EQ(layers.Colour(1, 0), 0xFF0000u);
  EXPECT_EQ(layers.Pixel(2, 0), LayerFixture::kBackground);
  // A name longer than a record holds is refused rather than cut into another file's name.
  EXPECT_FALSE(LoadPicture(1, 0, 0, 0, std::string(kLayerNameMax + 1, 'a')));
  EXPECT_FALSE(OverlapPicture(1, 0, 0, 0, std::string(kLayerNameMax + 1, 'a')));
  EXPECT_EQ(LayerSurface(1), nullptr);
}

class TransitionTest : public testing::Test {
 protected:
  TransitionTest() : layers(4, 1) {
    layers.WriteSolid("old.png", 4, 1, kRed);
    layers.WriteSolid("new.png", 4, 1, kBlue);
    layers.WritePicture("mask.png", 4, 1, {0xFF000000u, 0xFF000055u, 0xFF0000AAu, 0xFF0000FFu}, false);
    layers.WritePicture("small.png", 2, 1, {0xFF000000u, 0xFF0000FFu}, false);
    ClearMessageLog();
    EXPECT_TRUE(LoadPicture(0, 0, 0, 0, "old.png"));
    layers.Frame();
  }
  ~TransitionTest() override { ClearMessageLog(); }
  LayerFixture layers;
};

TEST_F(TransitionTest, TheMaskUncoversItsDarkPixelsFirst) {
  StartTransition(0, 255, "mask.png");
  ASSERT_TRUE(TransitionRunning());
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "new.png"));
  // Counter -255: the old picture everywhere.
  layers.Frame();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(layers.Colour(x, 0), 0xFF0000u) << x;
  // Counter 0: each pixel's alpha is its mask value.
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0x0000FFu);
  EXPECT_EQ(layers.Colour(3, 0), 0xFF0000u);
  for (int x : {1, 2}) {
    const uint32_t c = layers.Colour(x, 0);
    EXPECT_GT(c >> 16, 0u);
    EXPECT_GT(c & 0xFF, 0u);
  }
  EXPECT_GT(layers.Colour(2, 0) >> 16, layers.Colour(1, 0) >> 16);
  // Counter 255: the transition has ended and the new picture shows alone.
  EXPECT_FALSE(TransitionRunning());
  layers.Frame();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(layers.Colour(x, 0), 0x0000FFu) << x;
}

TEST_F(TransitionTest, OutsideASmallMaskTheOldPictureStaysUntilTheEnd) {
  StartTransition(1, 255, "small.png");
  ASSERT_TRUE(LoadPicture(0, 0, 0, 0, "new.png"));
  layers.Frame();
  layers.Frame();
  EXPECT_EQ(layers.Colour(0, 0), 0x0000FFu);
  EXPECT_EQ(layers.Colour(1, 0), 0xFF0000u);
  EXPECT_EQ(layers.Colour(2, 0), 0xFF0000u);
  EXPECT_EQ(layers.Colour(3, 0), 0xFF0000u);
  layers.Frame();
  EXPECT_EQ(layers.Colour(3, 0), 0x0000FFu);
}

TEST_F(TransitionTest, AMissingMaskIsLoggedAndNothingRuns) {
  StartTransition(0, 10, "nomask.png");
  EXPECT_FALSE(TransitionRunning());
  ASSERT_EQ(MessageLog.count, 1);
  EXPECT_STREQ(MessageLog.lines[0], "トランジション画像[nomask.png]が見つかりません"_sj);
  // Types other than 0 and 1 run nothing either, and end a running transition.
  StartTransition(0, 10, "mask.png");
  EXPECT_TRUE(TransitionRunning());
  StartTransition(5, 10, "mask.png");
  EXPECT_FALSE(TransitionRunning());
}

TEST_F(TransitionTest, SpeedZeroStillEnds) {
  StartTransition(0, 0, "mask.png");
  int frames = 0;
  while (TransitionRunning() && frames < 1000) {
    layers.Frame();
    ++frames;
  }
  EXPECT_EQ(frames, 510);
  // While skipping no transition starts.
  SkipMode = true;
  StartTransition(0, 10, "mask.png");
  EXPECT_FALSE(TransitionRunning());
}

}  // namespace
