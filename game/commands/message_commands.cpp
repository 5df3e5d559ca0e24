// The commands of the message window, voices, the automatic mode and choices.
#include "game/commands/message_commands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/text/backlog.h"
#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/app/frame_input.h"
#include "game/script/message_log.h"
#include "game/text/message_text.h"
#include "game/text/message_window.h"
#include "game/app/run_state.h"
#include "game/script/saturate.h"
#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/text/text_box.h"
#include "platform/sjis_literal.h"

namespace {

MessageState& Message() { return EngineState.presentation.message; }

// Set by the first frame a GETSELECT waits, so that the log says why once, not every frame.
bool selectWaitReported = false;

ScriptFlow RunOpenWindow() {
  OpenMessageWindow();
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunCloseWindow() {
  CloseMessageWindow();
  GetToken();
  return ScriptFlow::kNext;
}

// NORMALMODE: the message box is hidden and the next message starts without a speaker.
ScriptFlow RunNormalMode() {
  HideTextBox(0);
  Message().namePresent = 0;
  GetToken();
  return ScriptFlow::kNext;
}

// BGC name: the name is read and has no effect.
ScriptFlow RunBgc() {
  GetToken();
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunVoicePrefix() {
  std::string speaker = ArgString("voiceprefix命令に名前の指定がありません"_sj);
  // The entry keeps what fits of the name; the same name given again must find that entry, not
  // take a new one each time.
  speaker.resize(SjisFitLength(speaker, sizeof(VoicePrefix::speaker) - 1));
  ArgNextComma();
  const std::string series = ArgString("voiceprefix命令にボイスファイル名の指定がありません"_sj);
  GetToken();
  VoicePrefix* entry = nullptr;
  for (VoicePrefix& e : Message().voicePrefixes) {
    if (e.speaker[0] != '\0' && FixedText(e.speaker) == speaker) {
      entry = &e;
      break;
    }
  }
  if (!entry) {
    for (VoicePrefix& e : Message().voicePrefixes) {
      if (e.speaker[0] == '\0') {
        entry = &e;
        CopyFixedText(e.speaker, speaker);
        break;
      }
    }
  }
  if (!entry) return ScriptFlow::kNext;
  CopyFixedText(entry->series, series);
  const char* digits = series.empty() ? "" : series.c_str() + 1;
  // Decimal digits only: "A0x10" or "A1e2" name the series 0 and 1, not 16 and 100.
  const long long counter = std::strtoll(digits, nullptr, 10);
  entry->counter = static_cast<int32_t>(std::clamp<long long>(counter, INT32_MIN, INT32_MAX));
  return ScriptFlow::kNext;
}

ScriptFlow RunVoiceOnce() {
  const std::string name = ArgString("ファイル名の指定がありません"_sj);
  CopyFixedText(Message().singleVoice, name);
  Message().singleVoicePending = 1;
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunAutoPlayOn() {
  double ticks = 50;
  const bool given = ArgOptionalNumber(&ticks);
  MessageState& message = Message();
  message.autoPlay = 1;
  SkipMode = false;
  // Kept in ticks, not frames: the page's time must not depend on the rate at which it was set.
  message.autoPlayWait = SaturateToInt32(ticks);
  if (given) GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunAutoPlayOff() {
  Message().autoPlay = 0;
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunSelect() {
  ClearChoices();
  selectWaitReported = false;
  GetToken();
  while (ScriptLexer.token == kTokenString) {
    AddChoice(TokenText());
    GetToken();
    if (ScriptLexer.token != ',') break;
    GetToken();
  }
  return ScriptFlow::kNext;
}

// No choice list is ever shown, so nothing answers: the statement waits, a frame at a time.
ScriptFlow RunGetSelect() {
  if (GetChoiceDefault() != -1) {
    GetToken();
    return ScriptFlow::kNext;
  }
  if (!selectWaitReported) {
    selectWaitReported = true;
    DebugPrintText("GETSELECT: 選択肢は表示されないので、ここで待ち続けます"_sj);
  }
  // The player can still look back while the game waits here.
  if (FrameInput.scrollUp && !BacklogOpen) OpenBacklog();
  return ScriptFlow::kYield;
}

ScriptFlow SetSceneReplay(bool on) {
  SceneReplay = on;
  GetToken();
  return ScriptFlow::kNext;
}
ScriptFlow RunStartSceneReplay() { return SetSceneReplay(true); }
ScriptFlow RunEndSceneReplay() { return SetSceneReplay(false); }

constexpr std::array kMessageCommands = {
    ScriptCommand{kTokenOpenWindow, RunOpenWindow},
    ScriptCommand{kTokenCloseWindow, RunCloseWindow},
    ScriptCommand{kTokenNormalMode, RunNormalMode},
    ScriptCommand{kTokenNovelMode, RunWithoutEffect},
    ScriptCommand{kTokenNextPage, RunWithoutEffect},
    ScriptCommand{kTokenBgc, RunBgc},
    ScriptCommand{kTokenVoicePrefix, RunVoicePrefix},
    ScriptCommand{kTokenVoiceOnce, RunVoiceOnce},
    ScriptCommand{kTokenAutoPlayOn, RunAutoPlayOn},
    ScriptCommand{kTokenAutoPlayOff, RunAutoPlayOff},
    ScriptCommand{kTokenSelect, RunSelect},
    ScriptCommand{kTokenGetSelect, RunGetSelect},
    ScriptCommand{kTokenStartSceneReplay, RunStartSceneReplay},
    ScriptCommand{kTokenEndSceneReplay, RunEndSceneReplay},
};

}  // namespace

void RegisterMessageCommands() {
  RegisterMessageText();
  RegisterCommandTable(kMessageCommands);
}
