// The commands that start and stop music and sound effects.
#include "game/commands/sound_commands.h"

#include <array>
#include <string>

#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_error.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/sound/sound_channels.h"
#include "game/system/file_utils.h"
#include "platform/sjis_literal.h"

namespace {

constexpr const char* kBgmMissingFile = "bgm命令にファイル名の指定がありません"_sj;

// BGM and BGMONCE: a missing name stops the command with the offending token current.
ScriptFlow StartBgm(uint8_t loop, bool reportFailure) {
  bool isString = false;
  const std::string file = ArgString(kBgmMissingFile, &isString);
  if (!isString) return ScriptFlow::kNext;
  if (!PlayBgm(file.c_str(), 0, loop) && reportFailure) ScriptError(FileFailureText(file));
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunBgm() { return StartBgm(1, true); }
ScriptFlow RunBgmOnce() { return StartBgm(0, false); }

ScriptFlow RunStopBgm() {
  FadeOutBgm();
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow StartSe(std::string_view missingFile, uint8_t loop) {
  const int32_t channel = ArgInteger();
  ArgComma();
  const std::string file = ArgString(missingFile);
  if (loop) {
    LoopSe(channel, file.c_str());
  } else {
    PlaySe(channel, file.c_str(), 0);
  }
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunSe() { return StartSe("se命令にファイル名の指定がありません"_sj, 0); }
ScriptFlow RunLoopSe() { return StartSe("loopse命令にファイル名の指定がありません"_sj, 1); }

ScriptFlow RunStopSe() {
  StopSe(ArgInteger());
  return ScriptFlow::kNext;
}

constexpr std::array kSoundCommands = {
    ScriptCommand{kTokenBgm, RunBgm},         ScriptCommand{kTokenBgmOnce, RunBgmOnce},
    ScriptCommand{kTokenStopBgm, RunStopBgm}, ScriptCommand{kTokenSe, RunSe},
    ScriptCommand{kTokenLoopSe, RunLoopSe},   ScriptCommand{kTokenStopSe, RunStopSe},
};

}  // namespace

void RegisterSoundCommands() { RegisterCommandTable(kSoundCommands); }
