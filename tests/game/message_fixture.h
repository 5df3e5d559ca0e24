// The reading of a scene, headless: the sound channels over the mixer in manual rendering, the text
// boxes with the stand-in font, the backlog and the buttons, and a script harness that runs whole
// frames of the game's frame routine. Questions are recorded and answered as the test says.
#pragma once

#include <string>
#include <string_view>

#include "box_font_engine.h"
#include "game/backlog.h"
#include "game/engine_state.h"
#include "game/fixed_text.h"
#include "game/message_window.h"
#include "game/read_flag_table.h"
#include "game/run_state.h"
#include "game/script_buttons.h"
#include "game/script_commands.h"
#include "game/text_box.h"
#include "message_box_recorder.h"
#include "script_harness.h"
#include "sound_fixture.h"

class MessageFixture {
 public:
  MessageFixture() {
    SoundFolder::FullVolume();
    Config.screenWidth = 320;
    Config.screenHeight = 240;
    Config.messageSpeed = 50;  // five progress units a frame: a glyph in two frames
    Config.effectsOn = true;
    Config.messageWindowAlpha = 200;
    Config.messageWindowX = 0;
    Config.messageWindowY = 100;
    Config.autoOn = false;
    Config.autoSpeed = 5;
    Config.skipUnread = false;
    Config.readTextFast = false;
    Config.readTextAlpha = false;
    Config.fontSize = 16;
    Config.nameSize = 16;
    Config.normalText = {0, 20, 300, 100};
    Config.backlogWindowX = 0;
    Config.backlogWindowY = 0;
    Config.backlogText = {16, 20, 0, 280, 180};  // ten lines a page
    Config.imageCacheSize = 0;
    FrameInput = {};
    InitSound();
    InitTextBoxes();
    CreateTextBox(0, Config.fontSize, 0xFFFFFF, 0, 0);
    CreateTextBox(1, Config.nameSize, 0xFFFFFF, 0, 0);
    SetTextBoxPos(0, 0, 120, 300, 100);
    SetTextBoxProgress(0, Config.messageSpeed);
    InitBacklog();
    InitButtons();
    ClearReadFlags();
    ResetRunState(true);
    RegisterScriptCommands();
    EngineState.presentation.window.originX = Config.messageWindowX;
    EngineState.presentation.window.originY = Config.messageWindowY;
  }
  ~MessageFixture() {
    ReleaseButtons();
    ReleaseBacklog();
    ReleaseTextBoxes();
    ResetRunState(true);
    ReleaseSound();
  }
  MessageFixture(const MessageFixture&) = delete;
  MessageFixture& operator=(const MessageFixture&) = delete;

  void Load(std::string_view script) { run.Load(CrLf(script)); }

  static FrameInputState Click() {
    FrameInputState input{};
    input.click = true;
    return input;
  }
  static FrameInputState Wheel(bool up) {
    FrameInputState input{};
    (up ? input.scrollUp : input.scrollDown) = true;
    return input;
  }
  static FrameInputState RightClick() {
    FrameInputState input{};
    input.rightClick = true;
    return input;
  }

  // What the player reads: the shown message, the speaker ("-" without one), the voice of the newest
  // message in the backlog (its first line), a script variable.
  std::string Spoken() const { return TextBoxes[0].visible ? std::string(FixedText(EngineState.messageText)) : ""; }
  std::string Speaker() const {
    const MessageState& m = EngineState.presentation.message;
    return m.namePresent ? std::string(FixedText(m.speakerName)) : "-";
  }
  std::string LastVoice() const {
    for (int i = Backlog.count - 2; i >= 0; --i) {
      if (i == 0 || Backlog.lines[i - 1].text[0] == '\0') return Backlog.lines[i].voice;
    }
    return "";
  }
  double Var(const char* name) const { return run.Var(name).value_or(0); }

  // Message boxes first: the sound folder and the harness must go before the hook does.
  MessageBoxRecorder questions;
  SoundFolder folder;
  BoxFontScope font;
  ScriptHarness run;
};
