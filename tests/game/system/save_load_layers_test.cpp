// Saves of scenes with pictures, through slot files: what a load brings back of the layers and
// where the script goes on.
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "game/script/engine_state.h"
#include "game/stage/keyframe_curve.h"
#include "game/system/save_file.h"
#include "game/script/script_commands.h"
#include "game/script/script_loader.h"
#include "game/script/script_tokens.h"
#include "game/system/seen_lists.h"
#include "tests/game/fixtures/layer_fixture.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "tests/game/fixtures/script_harness.h"

namespace {

class SaveLoadLayers : public testing::Test {
 protected:
  SaveLoadLayers() : layers(8, 8) {
    layers.WriteSolid("a.png", 2, 2, 0xFF00FF00u);
    PictureProfile = CIniProfile();
    PictureProfile.ReadProfile("picture.ini");
    ClearSeenLists();
    SeenPictureList.count = 0;
    SeenPictureList.maximum = kSeenPictures;
  }
  ~SaveLoadLayers() override {
    ClearSeenLists();
    SeenPictureList.count = SeenPictureList.maximum = 0;
    PictureProfile = CIniProfile();
  }
  std::vector<std::pair<int, int>> Track(int frames) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < frames; ++i) {
      layers.Frame();
      out.emplace_back(EngineState.layers[0].drawX, EngineState.layers[0].drawY);
    }
    return out;
  }

  MessageBoxRecorder boxes;
  ScopedCommands commands;
  ScriptHarness run;
  LayerFixture layers;
};

// A save taken at PICTURE resumes at that statement: the picture is loaded again and the line
// before it does not run a second time.
TEST_F(SaveLoadLayers, APictureResumesAtItsOwnLine) {
  run.Load(CrLf("A=A+1\nPICTURE 0, 1, 2, 0, \"a.png\"\nB=B+1\nEND\n"));
  run.Step(1);
  ASSERT_EQ(*run.Var("A"), 1);
  ASSERT_EQ(*run.Var("B"), 1);
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 3);
  ASSERT_TRUE(WriteSaveBlock(SaveSlotPath(0)));
  ClearPicture(0);
  ASSERT_TRUE(LoadSaveFile(SaveSlotPath(0)));
  ASSERT_NE(LayerSurface(0), nullptr);
  run.Step(1);
  EXPECT_EQ(*run.Var("A"), 1);
  EXPECT_EQ(*run.Var("B"), 1);  // the variables are those of the save, taken before B=B+1
  EXPECT_EQ(EngineState.layers[0].x, 1);
  EXPECT_EQ(EngineState.layers[0].y, 2);
  EXPECT_TRUE(boxes.boxes().empty());
}

// A looping motion saved in the middle goes on from its time after the load, although this run
// holds other curves by then.
TEST_F(SaveLoadLayers, ALoopingMotionGoesOnFromItsTime) {
  run.Load(CrLf("END\n"));
  ASSERT_TRUE(LoadPicture(0, 10, 20, 0, "a.png"));
  SetLayerKey(0, 0, 0, 0, 0);
  SetLayerKey(0, 2, 40, 10, 0);
  SetLayerKey(0, 5, -20, 30, 0);
  MoveLayer(0, kCurveHermite, true);
  Track(25);
  TakeSaveSnapshot();
  ASSERT_TRUE(WriteSaveBlock(SaveSlotPath(7)));
  const auto expected = Track(200);
  InitLayers();
  MoveCamera(30, kCurveLinear, 3, 3, 3);
  StartQuake(1.0f, 20, 32.0f);
  ASSERT_TRUE(LoadPicture(5, 0, 0, 0, "a.png"));
  SetLayerKey(5, 0, 0, 0, 0);
  MoveLayer(5, kCurveLinear, true);
  ASSERT_TRUE(LoadSaveFile(SaveSlotPath(7)));
  EXPECT_EQ(LayerSurface(5), nullptr);
  EXPECT_EQ(Track(200), expected);
  EXPECT_TRUE(boxes.boxes().empty());
}

// A save whose line lies past the end of the script (the script was shortened) resumes at its end.
TEST_F(SaveLoadLayers, ALinePastTheEndResumesAtTheEnd) {
  run.Load(CrLf("A=1\nB=2\n"));
  run.Step(1);
  TakeSaveSnapshot();
  EngineStateSnapshot.scriptLine = 1000000;
  ASSERT_TRUE(WriteSaveBlock(SaveSlotPath(1)));
  run.Load(CrLf("A=5\n"));
  ASSERT_TRUE(LoadSaveFile(SaveSlotPath(1)));
  run.Step(3);
  EXPECT_EQ(*run.Var("A"), 1);
  EXPECT_FALSE(run.Running());
  EXPECT_TRUE(run.Log().empty());
}

}  // namespace
