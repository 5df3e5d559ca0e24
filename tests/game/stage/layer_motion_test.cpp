// Motions on keyframe curves, the camera and the quake at two frame rates, and the layers after a
// saved block has been loaded.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

#include "game/stage/keyframe_curve.h"
#include "tests/game/fixtures/layer_fixture.h"

namespace {

class MotionTest : public testing::TestWithParam<int> {
 protected:
  MotionTest() : layers(8, 8, GetParam()) {
    layers.WriteSolid("a.png", 2, 2, 0xFF00FF00u);
    EXPECT_TRUE(LoadPicture(0, 10, 20, 0, "a.png"));
  }
  int fps() const { return GetParam(); }
  // Frames until a curve time of the given units has passed: times grow by 1/30 a frame.
  static int FramesFor(float units) { return static_cast<int>(std::ceil(units * 30.0f)); }
  const PictureLayer& layer() const { return EngineState.layers[0]; }
  LayerFixture layers;
};

TEST_P(MotionTest, CameraGlidesFromWhereThePictureStood) {
  MoveCamera(4, kCurveLinear, 60, 0, 0);
  layers.Frame();
  EXPECT_EQ(layer().drawX, 10);  // no jump in the first frame
  const int frames = FramesFor(4.0f * fps() / 60.0f);
  int last = layer().drawX;
  for (int i = 1; i < frames + 2; ++i) {
    layers.Frame();
    EXPECT_LE(layer().drawX, last) << i;
    last = layer().drawX;
  }
  EXPECT_EQ(layer().drawX, 10 - 60);
  EXPECT_EQ(EngineState.presentation.camera.moving, 0);
  EXPECT_EQ(CurvesInUse(), 0);
  // A new glide while one runs starts from the current place too.
  MoveCamera(4, kCurveLinear, 0, 0, 0);
  for (int i = 0; i < 10; ++i) layers.Frame();
  const int before = layer().drawX;
  MoveCamera(4, kCurveLinear, 100, 0, 0);
  layers.Frame();
  EXPECT_NEAR(layer().drawX, before, 1);
  // Duration 0 jumps and cancels the glide.
  MoveCamera(0, kCurveLinear, 5, 7, 0);
  EXPECT_EQ(EngineState.presentation.camera.moving, 0);
  layers.Frame();
  EXPECT_EQ(layer().drawX, 10 - 5);
  EXPECT_EQ(layer().drawY, 20 - 7);
  EXPECT_EQ(CurvesInUse(), 0);
}

TEST_P(MotionTest, ALoopRestartsAndAPlainMotionStops) {
  for (bool loop : {false, true}) {
    SetLayerKey(0, 0, 0, 0, 0);
    SetLayerKey(0, 3, 30, 0, 0);
    MoveLayer(0, kCurveLinear, loop);
    const int frames = FramesFor(3.0f * fps() / 60.0f);
    int highest = 0;
    for (int i = 0; i < frames; ++i) {
      layers.Frame();
      highest = std::max(highest, layer().drawX - 10);
    }
    EXPECT_GE(highest, 28) << loop;
    layers.Frame();
    layers.Frame();
    if (loop) {
      EXPECT_EQ(layer().motionRunning, 1);
      EXPECT_LT(layer().drawX - 10, 5);  // back near the start
      EXPECT_EQ(CurvesInUse(), 3);
    } else {
      EXPECT_EQ(layer().motionRunning, 0);
      EXPECT_EQ(layer().drawX, 10);  // its own place, without the motion
      EXPECT_EQ(CurvesInUse(), 0);
    }
    ClearPicture(0);
    ASSERT_TRUE(LoadPicture(0, 10, 20, 0, "a.png"));
  }
}

TEST_P(MotionTest, RepeatedMovesNeverExhaustTheTable) {
  SetLayerKey(0, 0, 0, 0, 0);
  SetLayerKey(0, 60, 30, 0, 0);
  for (int i = 0; i < 20; ++i) MoveLayer(0, kCurveLinear, true);
  EXPECT_EQ(CurvesInUse(), 3);
  MoveCamera(10, kCurveLinear, 1, 1, 1);
  StartQuake(1.0f, 20, 32.0f);
  EXPECT_EQ(CurvesInUse(), 8);
  EXPECT_NE(EngineState.presentation.quake.curveY, kNoCurve);
  // Keys beyond 16 are ignored.
  for (int i = 0; i < 30; ++i) SetLayerKey(0, i, 0, 0, 0);
  EXPECT_EQ(layer().keyCount, kLayerKeyCount);
}

int nextRandom = 0;
int CountingRandom() { return nextRandom++ * 7; }

TEST_P(MotionTest, TheQuakeShakesDownToNothing) {
  nextRandom = 0;
  SetQuakeRandom(CountingRandom);
  StartQuake(1.0f, 20, 32.0f);
  ASSERT_EQ(EngineState.presentation.quake.running, 1);
  const int frames = FramesFor(1.0f * fps() / 60.0f);
  int early = 0, late = 0;
  for (int i = 0; i < frames + 1; ++i) {
    layers.Frame();
    const int dx = layer().drawX - 10, dy = layer().drawY - 20;
    EXPECT_GE(dx, 0) << i;
    EXPECT_GE(dy, 0) << i;
    EXPECT_LE(dx, 32) << i;
    EXPECT_LE(dy, 16) << i;
    // The largest shake of the first and of the last third.
    if (i < frames / 3) early = std::max(early, dx);
    if (i >= frames - frames / 3) late = std::max(late, dx);
  }
  EXPECT_GT(early, 0);
  EXPECT_LT(late, early);
  EXPECT_EQ(EngineState.presentation.quake.running, 0);
  EXPECT_EQ(layer().drawX, 10);
  EXPECT_EQ(layer().drawY, 20);
  EXPECT_EQ(CurvesInUse(), 0);
  // No amplitude or a negative key count shakes nothing; neither do screen effects off.
  for (auto [keys, amplitude, effects] :
       {std::tuple{20, 0.0f, true}, {20, -3.0f, true}, {-1, 32.0f, true}, {20, 32.0f, false}}) {
    Config.effectsOn = effects;
    StartQuake(1.0f, keys, amplitude);
    EXPECT_EQ(EngineState.presentation.quake.running, 0);
    layers.Frame();
    EXPECT_EQ(layer().drawX, 10);
  }
}

INSTANTIATE_TEST_SUITE_P(Fps, MotionTest, testing::Values(60, 30));

// The draw positions of layer 0 over a number of frames.
std::vector<std::pair<int, int>> Track(LayerFixture& layers, int frames) {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < frames; ++i) {
    layers.Frame();
    out.emplace_back(EngineState.layers[0].drawX, EngineState.layers[0].drawY);
  }
  return out;
}

TEST(LayerLoad, AMidMotionSnapshotContinuesExactly) {
  LayerFixture layers(8, 8);
  layers.WriteSolid("a.png", 2, 2, 0xFF00FF00u);
  ASSERT_TRUE(LoadPicture(0, 10, 20, 0, "a.png"));
  SetLayerKey(0, 0, 0, 0, 0);
  SetLayerKey(0, 2, 40, 10, 0);
  SetLayerKey(0, 5, -20, 30, 0);
  MoveLayer(0, kCurveHermite, true);
  Track(layers, 25);
  auto saved = std::make_unique<EngineStateRecord>();
  std::memcpy(saved.get(), &EngineState, sizeof EngineState);
  const auto expected = Track(layers, 200);
  // Another run: the table is used differently (a camera glide and a quake hold other slots).
  InitLayers();
  MoveCamera(30, kCurveLinear, 3, 3, 3);
  StartQuake(1.0f, 20, 32.0f);
  ASSERT_TRUE(LoadPicture(5, 0, 0, 0, "a.png"));
  SetLayerKey(5, 0, 0, 0, 0);
  MoveLayer(5, kCurveLinear, true);
  std::memcpy(&EngineState, saved.get(), sizeof EngineState);
  ReloadPictures();
  EXPECT_EQ(Track(layers, 200), expected);
  EXPECT_EQ(CurvesInUse(), 3);  // the old camera, quake and layer-5 slots were given back
}

TEST(LayerLoad, AHostileBlockRunsClean) {
  LayerFixture layers(8, 8);
  layers.WriteSolid("a.png", 2, 2, 0xFF00FF00u);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (int i = 0; i < kLayerCount; ++i) {
    PictureLayer& r = EngineState.layers[i];
    std::memset(&r, 0xA5, sizeof r);
    r.inUse = static_cast<uint8_t>(i % 3);
    if (i % 4 == 0) std::memset(r.fileName, 'a', sizeof r.fileName);  // no terminator
    if (i % 4 == 1) std::strcpy(r.fileName, "a.png");
    r.keyCount = i % 2 ? 99 : -7;
    r.motionRunning = 7;
    r.curveX = 9999;
    r.curveY = -9999;
    r.curveZ = 15;
    r.motionTime = nan;
    r.lastKeyTime = i % 2 ? nan : 1e30f;
    r.x = nan;
    r.y = 1e30f;
    for (LayerKey& k : r.keys) k = {nan, 1e30f, -1e30f, nan};
    r.levels[0] = {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()};
    r.effect = i % 3;
  }
  CameraState& camera = EngineState.presentation.camera;
  std::memset(&camera, 0x7F, sizeof camera);
  camera.moving = 1;
  camera.curveX = 9999;
  QuakeState& quake = EngineState.presentation.quake;
  quake.running = 1;
  quake.curveX = -2;
  quake.time = nan;
  ReloadPictures();
  for (int i = 0; i < 40; ++i) layers.Frame();
  EXPECT_EQ(camera.moving, 0);
  EXPECT_EQ(quake.running, 0);
  for (int i = 0; i < kLayerCount; ++i) {
    const PictureLayer& r = EngineState.layers[i];
    EXPECT_GE(r.keyCount, 0);
    EXPECT_LE(r.keyCount, kLayerKeyCount);
    EXPECT_EQ(r.fileName[sizeof r.fileName - 1], '\0');
    EXPECT_EQ(LayerSurface(i) != nullptr, r.inUse && i % 4 == 1) << i;
  }
  EXPECT_LE(CurvesInUse(), kCurveSlots);
}

}  // namespace
