// The key-wait prompt, the tool tip, PRINT, SUN and FILM, on a test screen.
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "box_font_engine.h"
#include "game/text/cursor_prompt.h"
#include "game/script/engine_state.h"
#include "game/script/script_tokens.h"
#include "game/text/text_box.h"
#include "game/commands/text_commands.h"
#include "game/text/tool_tip.h"
#include "tests/game/fixtures/layer_fixture.h"
#include "platform/sjis_literal.h"
#include "tests/game/fixtures/script_harness.h"
#include "sdk/graphics/text_font.h"

namespace {

constexpr uint32_t kPromptColour = 0xFF00FF00u;

PromptFrame Waiting(int fps) {
  PromptFrame f;
  f.waitingWithPrompt = true;
  f.fps = fps;
  return f;
}

// The prompt's opacity falls 4 a frame (8 at 30 fps) from 255 and jumps back, counted modulo 127.
TEST(Prompt, OpacityPulses) {
  LayerFixture layers(64, 48);
  BoxFontScope font;
  LoadPromptImage();
  for (int fps : {60, 30}) {
    LoadPromptImage();  // the counter starts again
    for (int frame = 0; frame < 300; ++frame) {
      const int expected = 255 - static_cast<int>(((frame * 4) % 127) * (60.0 / fps));
      ASSERT_EQ(DrawPrompt(Waiting(fps)), expected) << fps << " fps, frame " << frame;
    }
  }
  FreePromptImage();
}

TEST(Prompt, DrawnAtTheEndOfTheMessageOnlyWhenEveryConditionHolds) {
  LayerFixture layers(64, 48);
  BoxFontScope font;
  layers.WriteSolid("prompt.png", 2, 2, kPromptColour);
  std::strcpy(Config.nextPromptFile, "prompt.png");
  InitTextBoxes();
  ASSERT_TRUE(CreateTextBox(0, 10, RGB(255, 255, 255), CTextFont::kNone, 2));
  SetTextBoxPos(0, 4, 6, 60, 40);
  SetTextBoxText(0, "AB");
  LoadPromptImage();

  struct Case {
    const char* name;
    void (*change)(PromptFrame&);
    bool drawn;
  } const cases[] = {
      {"waiting with the prompt", [](PromptFrame&) {}, true},
      {"system screen open", [](PromptFrame& f) { f.systemScreenOpen = true; }, false},
      {"backlog open", [](PromptFrame& f) { f.backlogOpen = true; }, false},
      {"window hidden", [](PromptFrame& f) { f.windowHidden = true; }, false},
      {"no prompt flag", [](PromptFrame& f) { f.waitingWithPrompt = false; }, false},
      {"auto mode", [](PromptFrame& f) { f.autoOn = true; }, false},
  };
  for (const Case& c : cases) {
    layers.screen.GetImpl()->Clear(LayerFixture::kBackground, nullptr);
    LoadPromptImage();  // opacity 255 on the first frame
    PromptFrame frame = Waiting(60);
    c.change(frame);
    EXPECT_EQ(DrawPrompt(frame) >= 0, c.drawn) << c.name;
    EXPECT_EQ(layers.Colour(TextBoxes[0].endX, TextBoxes[0].endY), c.drawn ? kPromptColour & 0xFFFFFF : 0u) << c.name;
  }
  FreePromptImage();
  ReleaseTextBoxes();
}

class ToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layers.WriteSolid("tips.png", 30, 20, 0xFF808080u);
    std::strcpy(Config.tipsFile, "tips.png");
    Config.tipsOn = true;
    Config.screenWidth = 200;
  }
  bool Frame(CToolTip& tip, const char* text, float x = 60, float y = 50) {
    layers.screen.GetImpl()->Clear(LayerFixture::kBackground, nullptr);
    if (text) tip.Show(text, x, y);
    tip.Draw();
    return layers.Colour(tip.X() + 1, tip.Y() + 1) != 0;
  }
  LayerFixture layers{200, 120};
  BoxFontScope font;
};

// Hovering builds the tip in frame 17 and shows it from frame 34 at 60 fps.
TEST_F(ToolTipTest, Timeline) {
  CToolTip tip;
  int built = 0, drawn = 0;
  for (int frame = 1; frame <= 40; ++frame) {
    const bool shown = Frame(tip, "save");
    if (!built && tip.HasTip()) built = frame;
    if (!drawn && shown) drawn = frame;
  }
  EXPECT_EQ(built, 17);
  EXPECT_EQ(drawn, 34);
  EXPECT_EQ(tip.X(), 60 - 30 / 3);
  EXPECT_EQ(tip.Y(), 50 - 20);

  // After a long hover the cursor leaves: the tip fades out within about 50 frames and is no longer drawn once
  // the hover timer has fallen below the showing threshold.
  for (int frame = 0; frame < 60; ++frame) Frame(tip, "save");
  ASSERT_EQ(tip.Timer(), 198);  // capped at 200 by the hover, less this frame's fall
  ASSERT_EQ(tip.Opacity(), 188);
  int transparent = 0, hidden = 0;
  for (int frame = 1; frame <= 120; ++frame) {
    Frame(tip, nullptr);
    if (!transparent && tip.Opacity() == 0) transparent = frame;
    if (!hidden && tip.Timer() < 100) hidden = frame;
  }
  EXPECT_EQ(transparent, 47);
  EXPECT_EQ(hidden, 50);
}

TEST_F(ToolTipTest, ASecondTextReplacesTheFirstAfterItsOwnHoverTime) {
  CToolTip tip;
  for (int frame = 0; frame < 40; ++frame) Frame(tip, "save");
  ASSERT_EQ(tip.Text(), "save");
  int replaced = 0;
  for (int frame = 1; frame <= 40 && !replaced; ++frame) {
    Frame(tip, "load");
    if (tip.Text() == "load") replaced = frame;
  }
  EXPECT_GT(replaced, 0);
  EXPECT_EQ(tip.Text(), "load");
}

TEST_F(ToolTipTest, NearTheRightEdgeTheTipIsMovedLeft) {
  CToolTip tip;
  for (int frame = 0; frame < 20; ++frame) Frame(tip, "save", 195, 10);
  ASSERT_TRUE(tip.HasTip());
  EXPECT_EQ(tip.X(), 200 - 30);
  EXPECT_EQ(tip.Y(), 0);
}

TEST_F(ToolTipTest, TipsOffShowNothing) {
  Config.tipsOn = false;
  CToolTip tip;
  for (int frame = 0; frame < 60; ++frame) EXPECT_FALSE(Frame(tip, "save"));
  EXPECT_FALSE(tip.HasTip());
}

TEST_F(ToolTipTest, AMissingBackgroundFaultsNothing) {
  std::strcpy(Config.tipsFile, "missing.png");
  CToolTip tip;
  for (int frame = 0; frame < 40; ++frame) Frame(tip, "save", 5, 5);
  EXPECT_TRUE(tip.HasTip());
  EXPECT_EQ(tip.X(), 5);
  EXPECT_EQ(tip.Y(), 5);
}

// PRINT, SUN and FILM through the interpreter, with box 0 in place.
class TextCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitTextBoxes();
    ASSERT_TRUE(CreateTextBox(0, 10, RGB(255, 255, 255), CTextFont::kNone, 2));
  }
  void TearDown() override { ReleaseTextBoxes(); }
  std::string Run(const std::string& script) {
    harness.Load(CrLf(script));
    harness.Step();
    return TextBoxes[0].text;
  }
  BoxFontScope font;
  ScriptHarness harness;
  ScopedScriptHandler print{kTokenPrint, nullptr}, sun{kTokenSun, nullptr}, film{kTokenFilm, nullptr};
  bool registered = (RegisterTextCommands(), true);
};

TEST_F(TextCommandTest, Print) {
  struct Case {
    const char* name;
    std::string script;
    std::string text;
  } const cases[] = {
      {"string and value", "A = 5\nPRINT \"A=\";A\n", "A=5\n<HR>"},
      {"ending with ; keeps the line open", "PRINT \"x\";\n", "x<HR>"},
      {"%.12g", "PRINT 1/3;2.5;-7\n",
       "0.333333333333"
       "2.5"
       "-7\n<HR>"},
      {"empty list", "PRINT\n", "\n<HR>"},
      {"the list ends at a token that is not ;", "PRINT \"a\";\"b\":X = 1\n", "ab\n<HR>"},
      {"Japanese text", std::string("PRINT \"") + "こんにちは"_sj + "\"\n", std::string("こんにちは\n<HR>"_sj)},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.script), c.text) << c.name;
  EXPECT_EQ(harness.Var("X"), 1.0) << "the statement after the list ran";
}

TEST_F(TextCommandTest, PrintIsBoundedOnACharacterBoundary) {
  std::string script = "PRINT ";
  for (int i = 0; i < 5; ++i) script += "\"" + std::string(2000, 'a') + "\";";
  script += "\"" + std::string(95, 'b') + "\";\"" + "あ"_sj + "\"\n";
  const std::string text = Run(script);
  ASSERT_EQ(text.size(), 4096u + 4);
  EXPECT_EQ(text.substr(4096), "<HR>");
  // 10,095 bytes asked; the 4,096 kept end with "a"s, and the double-byte character never splits.
  EXPECT_EQ(text[4095], 'a');
}

TEST_F(TextCommandTest, SunAndFilmSetTheirSwitches) {
  Run("SUN\nFILM\n");
  EXPECT_EQ(EngineState.presentation.sunEffect, 1);
  EXPECT_EQ(EngineState.presentation.filmEffect, 1);
}

}  // namespace
