// The layer commands and WAIT, run by the interpreter over a headless layer module.
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/script/engine_state.h"
#include "game/script/message_log.h"
#include "game/script/script_commands.h"
#include "game/script/script_tokens.h"
#include "game/system/seen_lists.h"
#include "tests/game/fixtures/layer_fixture.h"
#include "platform/sjis_literal.h"
#include "tests/game/fixtures/script_harness.h"

namespace {

class LayerCommandsTest : public testing::Test {
 protected:
  LayerCommandsTest() : layers(8, 8) {
    layers.WriteSolid("a.png", 2, 2, 0xFF00FF00u);
    layers.WriteSolid("mask.png", 8, 8, 0xFF808080u);
    PictureProfile = CIniProfile();
    PictureProfile.ReadProfile("picture.ini");  // missing: remembered as the file to write
    ClearSeenLists();
    SeenPictureList.count = 0;
    SeenPictureList.maximum = kSeenPictures;
  }
  ~LayerCommandsTest() override {
    ClearSeenLists();
    SeenPictureList.count = SeenPictureList.maximum = 0;
    PictureProfile = CIniProfile();
  }
  void Run(const std::string& script, int frames = 1) {
    run.Load(CrLf(script));
    run.Step(frames);
  }

  ScopedCommands commands;
  ScriptHarness run;  // before the layers: a fresh harness zeroes the engine state
  LayerFixture layers;
};

TEST_F(LayerCommandsTest, PictureShortFormIsTheLongFormAtZero) {
  Run("PICTURE 1, \"a.png\": A=1\nEND\n");
  ASSERT_NE(LayerSurface(1), nullptr);
  EXPECT_EQ(*run.Var("A"), 1);
  // One past the statement's line: a load resumes at the statement itself.
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 2);
  PictureLayer shortForm = EngineState.layers[1];
  ClearPicture(1);
  Run("B=2\nPICTURE 1, 0, 0, 0, \"a.png\"\nEND\n");
  ASSERT_NE(LayerSurface(1), nullptr);
  EXPECT_EQ(std::memcmp(&shortForm, &EngineState.layers[1], sizeof shortForm), 0);
  EXPECT_EQ(EngineStateSnapshot.scriptLine, 3);
  EXPECT_TRUE(run.Log().empty());
  // Both recorded the picture as seen, once, lower-cased, and picture.ini was written.
  Run("OVERLAP 2, 4, 5, 6, \"A.PNG\"\nEND\n");
  EXPECT_EQ(EngineState.layers[2].x, 4);
  EXPECT_EQ(SeenPictureList.count, 1);
  EXPECT_STREQ(SeenPictureList.names[0], "a.png");
  EXPECT_EQ(layers.dir.Read("picture.ini"),
            "//Meridianeピクチャ設定ファイル (C)vrel ※このファイルをむやみやたらに変更してはいけません\r\n\r\n"
            "[Pictures]\r\nKey[000]=a.png\r\nMaxPicture=1000\r\nPicture=1\r\n\r\n"_sj);
}

TEST_F(LayerCommandsTest, ClearPictureWithAndWithoutANumber) {
  for (int i : {0, 5, 63}) ASSERT_TRUE(LoadPicture(i, 0, 0, 0, "a.png"));
  Run("CLEARPICTURE 5\nA=1\nEND\n");
  EXPECT_EQ(LayerSurface(5), nullptr);
  EXPECT_NE(LayerSurface(0), nullptr);
  EXPECT_EQ(*run.Var("A"), 1);
  Run("CLEARPICTURE\nA=2\nEND\n");
  EXPECT_EQ(LayerSurface(0), nullptr);
  EXPECT_EQ(LayerSurface(63), nullptr);
  EXPECT_EQ(*run.Var("A"), 2);
  EXPECT_TRUE(run.Log().empty());
}

TEST_F(LayerCommandsTest, FadeSpeedFollowsTheLayerWithoutAComma) {
  struct Case {
    const char* script;
    int32_t level;
    int32_t step;
  } cases[] = {
      {"FADEOUT 3 8", 255, -8}, {"FADEOUT 3, 8", 255, -16}, {"FADEOUT 3", 255, -16},
      {"FADEIN 3 4", 255, 4},   {"FADE 3", 0, 0},           {"FADE 3 100", 100, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadPicture(3, 0, 0, 0, "a.png"));
    Run(std::string(c.script) + ": A=7\nEND\n");
    EXPECT_EQ(EngineState.layers[3].levels[0].level, c.level) << c.script;
    EXPECT_EQ(EngineState.layers[3].levels[0].step, c.step) << c.script;
    EXPECT_EQ(*run.Var("A"), 7) << c.script;
    EXPECT_TRUE(run.Log().empty()) << c.script;
  }
  // At once while skipping or with effects off.
  SkipMode = true;
  Run("FADEOUT 3 8\nEND\n");
  EXPECT_EQ(EngineState.layers[3].levels[0].level, 0);
  EXPECT_EQ(EngineState.layers[3].levels[0].step, 0);
  SkipMode = false;
  Config.effectsOn = false;
  Run("FADEIN 3\nEND\n");
  EXPECT_EQ(EngineState.layers[3].levels[0].level, 255);
}

TEST_F(LayerCommandsTest, MissingFilesAndBadLayersAreReported) {
  struct Case {
    const char* script;
    std::vector<std::string> log;
  } cases[] = {
      {"PICTURE 1, \"none.png\"\n", {ErrorLine(1, "ファイルが見つかりません"_sj, "PICTURE 1, \"none.png\"")}},
      {"OVERLAP 1, \"none.png\"\n", {ErrorLine(1, "ファイルが見つかりません"_sj, "OVERLAP 1, \"none.png\"")}},
      {"PICTURE 1, 0, 0, 0, 5\n",
       {ErrorLine(1, "picture命令にファイル名の指定がありません"_sj, "PICTURE 1, 0, 0, 0, 5"),
        ErrorLine(1, "ファイルが見つかりません"_sj, "PICTURE 1, 0, 0, 0, 5")}},
      {"OVERLAP 1, 0, 0, 0, 5\n",
       {ErrorLine(1, "overlap命令にファイル名の指定がありません"_sj, "OVERLAP 1, 0, 0, 0, 5"),
        ErrorLine(1, "ファイルが見つかりません"_sj, "OVERLAP 1, 0, 0, 0, 5")}},
      // Reading goes on after a missing comma, with whatever comes next.
      {"CAMERA 0 0, 1, 2, 3\n",
       {ErrorLine(1, "','がありません"_sj, "CAMERA 0 0"), ErrorLine(1, "文法が違います"_sj, "CAMERA 0 0,")}},
      // Layers outside 0..63 change nothing and write nowhere.
      {"PICTURE -1, \"a.png\"\nPICTURE 64, \"a.png\"\nFADEOUT -1\nFADEIN 64 3\nFADE -5 9\nEFFECT -1, 1, 0\n"
       "SETKEY -1, 0, 0, 0, 0\nMOVE -1, 1, 1\nCLEARPICTURE -1\n",
       {}},
  };
  for (const Case& c : cases) {
    ClearMessageLog();
    Run(std::string(c.script) + "A=1\nEND\n");
    EXPECT_EQ(run.Log(), c.log) << c.script;
    EXPECT_EQ(*run.Var("A"), 1) << c.script;
  }
  for (int i = 0; i < kLayerCount; ++i) EXPECT_EQ(LayerSurface(i), nullptr) << i;
}

TEST_F(LayerCommandsTest, MotionCameraEffectQuakeAndTransition) {
  Run("PICTURE 0, \"a.png\"\nSETKEY 0, 0, 1, 2, 3\nSETKEY 0, 60, 10, 20, 30\nMOVE 0, 1, 1\n"
      "CAMERA 0, 1, 5, 6, 7\nEFFECT 0, 2, 99\nQUAKE\nTRANSITION 0, 10, \"mask.png\"\n"
      "MOTION 1, 2, 3, 4, 5, 6, 7, 8\nCROWD\nCROWDSHADOW\nLEAF\nRAIN\nSNOW\nWING\nEFFECTOFF\nA=1\nEND\n");
  EXPECT_TRUE(run.Log().empty()) << run.Log()[0];
  EXPECT_EQ(*run.Var("A"), 1);
  const PictureLayer& r = EngineState.layers[0];
  EXPECT_EQ(r.keyCount, 2);
  EXPECT_EQ(r.keys[1].time, 60);
  EXPECT_EQ(r.keys[1].z, 30);
  EXPECT_EQ(r.motionRunning, 1);
  EXPECT_EQ(r.motionLoops, 1);
  EXPECT_EQ(r.effect, 2);
  EXPECT_EQ(EngineState.presentation.camera.x, 5);
  EXPECT_EQ(EngineState.presentation.camera.z, 7);
  EXPECT_EQ(EngineState.presentation.quake.running, 1);
  EXPECT_TRUE(TransitionRunning());
}

TEST_F(LayerCommandsTest, WaitCountsTicksAtTheFrameRate) {
  struct Case {
    const char* script;
    int fps;
    bool skipping;
    int frames;
  } cases[] = {
      {"WAIT 60", 60, false, 60}, {"WAIT 60", 30, false, 30}, {"WAIT", 60, false, 30},
      {"WAIT", 30, false, 15},    {"WAIT 600", 60, true, 1},  {"WAIT 0", 60, false, 1},
  };
  for (const Case& c : cases) {
    Config.fps = c.fps;
    SkipMode = c.skipping;
    Run(std::string("A=0: ") + c.script + ": A=1\nEND\n", c.frames - 1);
    if (c.frames > 1) {
      EXPECT_EQ(*run.Var("A"), 0) << c.script << " " << c.fps;
    }
    run.Step();
    EXPECT_EQ(*run.Var("A"), 1) << c.script << " " << c.fps;
  }
}

}  // namespace
