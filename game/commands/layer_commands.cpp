#include "game/commands/layer_commands.h"

#include <array>
#include <string>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/app/frame_scale.h"
#include "game/text/message_window.h"
#include "game/stage/picture_layers.h"
#include "game/script/saturate.h"
#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_error.h"
#include "game/script/script_eval.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_loader.h"
#include "game/script/script_tokens.h"
#include "game/system/file_utils.h"
#include "game/system/seen_lists.h"
#include "platform/sjis_literal.h"

namespace {

using LayerLoader = bool (*)(int, float, float, float, std::string_view);

// PICTURE and OVERLAP: layer, then either the file alone or x, y, z and the file.
ScriptFlow ShowPicture(LayerLoader load, std::string_view missingFile) {
  const int32_t layer = ArgInteger();
  ArgComma();
  GetToken();
  double x = 0, y = 0, z = 0;
  bool isString = ScriptLexer.token == kTokenString;
  std::string file;
  if (isString) {
    file = std::string(TokenText());
  } else {
    x = EvalExpression();
    ArgComma();
    y = ArgExpression();
    ArgComma();
    z = ArgExpression();
    ArgComma();
    file = ArgString(missingFile, &isString);
  }
  AddSeenPicture(file);
  // A layer outside 0..63 is ignored like any other per-layer operation; it is no missing file.
  const bool shown = load(layer, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), file);
  if (!shown && layer >= 0 && layer < kLayerCount) {
    ScriptError(FileFailureText(file));
  }
  GetToken();
  EngineState.messageText[0] = '\0';
  EngineStateSnapshot.messageText[0] = '\0';
  TakeSaveSnapshot();
  return ScriptFlow::kNext;
}

ScriptFlow RunPicture() { return ShowPicture(LoadPicture, "picture命令にファイル名の指定がありません"_sj); }
ScriptFlow RunOverlap() { return ShowPicture(OverlapPicture, "overlap命令にファイル名の指定がありません"_sj); }

ScriptFlow RunClearPicture() {
  double layer = 0;
  if (ArgOptionalNumber(&layer)) {
    ClearPicture(SaturateToInt32(layer));
  } else {
    for (int i = 0; i < kLayerCount; ++i) ClearPicture(i);
  }
  return ScriptFlow::kNext;
}

ScriptFlow RunCamera() {
  const int32_t duration = ArgInteger();
  ArgComma();
  const int32_t mode = ArgInteger();
  ArgComma();
  const int32_t x = ArgInteger();
  ArgComma();
  const int32_t y = ArgInteger();
  ArgComma();
  const int32_t z = ArgInteger();
  MoveCamera(static_cast<float>(duration), mode, x, y, z);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunMove() {
  const int32_t layer = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const int32_t mode = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const double loop = ArgNumber();
  MoveLayer(layer, mode, loop != 0);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunSetKey() {
  const int32_t layer = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const int32_t time = SaturateToInt32(ArgNumber());
  ArgNextComma();
  const double x = ArgNumber();
  ArgNextComma();
  const double y = ArgNumber();
  ArgNextComma();
  const double z = ArgNumber();
  SetLayerKey(layer, time, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  GetToken();
  return ScriptFlow::kNext;
}

// FADEOUT and FADEIN: the speed, when given, follows the layer number without a comma.
ScriptFlow FadeLayer(int sign, int32_t endLevel) {
  const int32_t layer = SaturateToInt32(ArgNumber());
  double speed = 16;
  const bool given = ArgOptionalNumber(&speed);
  if (given) GetToken();
  if (layer < 0 || layer >= kLayerCount) return ScriptFlow::kNext;
  LayerLevel& opacity = EngineState.layers[layer].levels[0];
  if (IsSkipping() || !Config.effectsOn) {
    opacity = {endLevel, 0};
  } else {
    opacity.step = SaturateToInt32(sign * speed * FrameScale());
  }
  return ScriptFlow::kNext;
}

ScriptFlow RunFadeOut() { return FadeLayer(-1, 0); }
ScriptFlow RunFadeIn() { return FadeLayer(1, 255); }

ScriptFlow RunFade() {
  const int32_t layer = SaturateToInt32(ArgNumber());
  double level = 0;
  const bool given = ArgOptionalNumber(&level);
  if (given) GetToken();
  if (layer < 0 || layer >= kLayerCount) return ScriptFlow::kNext;
  EngineState.layers[layer].levels[0].level = given ? SaturateToInt32(level) : 0;
  return ScriptFlow::kNext;
}

ScriptFlow RunEffect() {
  const int32_t layer = ArgInteger();
  ArgComma();
  const int32_t value = ArgInteger();
  ArgComma();
  ArgExpression();
  SetEffect(layer, value);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunTransition() {
  const int32_t type = ArgInteger();
  ArgComma();
  const int32_t speed = ArgInteger();
  ArgComma();
  const std::string mask = ArgTokenText();
  StartTransition(type, speed, mask);
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunQuake() {
  StartQuake(1.0f, 20, 32.0f);
  GetToken();
  return ScriptFlow::kNext;
}

// MOTION: eight values that are evaluated and have no effect.
ScriptFlow RunMotion() {
  for (int i = 0; i < 8; ++i) {
    if (i > 0) ArgComma();
    ArgExpression();
  }
  GetToken();
  return ScriptFlow::kNext;
}

// MOVIE file: the film is shown in place of the layers, and the flag tells the key wait after it
// that a film is on. Without a name nothing starts and the offending token is left to the run loop.
ScriptFlow RunMovie() {
  bool isString = false;
  const std::string file = ArgString("movie命令にファイル名の指定がありません"_sj, &isString);
  if (!isString) return ScriptFlow::kNext;
  PlayMovie(file);
  EngineState.presentation.message.movie = 1;
  GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunStopMovie() {
  // Any film still there is stopped, flag or not: KEYWAIT right after MOVIE clears the flag, and a
  // film left running would hide the layers for good.
  StopMovie();
  EngineState.presentation.message.movie = 0;
  GetToken();
  return ScriptFlow::kNext;
}

constexpr std::array kLayerCommands = {
    ScriptCommand{kTokenPicture, RunPicture},
    ScriptCommand{kTokenOverlap, RunOverlap},
    ScriptCommand{kTokenClearPicture, RunClearPicture},
    ScriptCommand{kTokenCamera, RunCamera},
    ScriptCommand{kTokenMove, RunMove},
    ScriptCommand{kTokenSetKey, RunSetKey},
    ScriptCommand{kTokenFadeOut, RunFadeOut},
    ScriptCommand{kTokenFadeIn, RunFadeIn},
    ScriptCommand{kTokenFade, RunFade},
    ScriptCommand{kTokenEffect, RunEffect},
    ScriptCommand{kTokenTransition, RunTransition},
    ScriptCommand{kTokenQuake, RunQuake},
    ScriptCommand{kTokenMotion, RunMotion},
    ScriptCommand{kTokenCrowd, RunWithoutEffect},
    ScriptCommand{kTokenCrowdShadow, RunWithoutEffect},
    ScriptCommand{kTokenLeaf, RunWithoutEffect},
    ScriptCommand{kTokenRain, RunWithoutEffect},
    ScriptCommand{kTokenSnow, RunWithoutEffect},
    ScriptCommand{kTokenWing, RunWithoutEffect},
    ScriptCommand{kTokenEffectOff, RunWithoutEffect},
    ScriptCommand{kTokenMovie, RunMovie},
    ScriptCommand{kTokenStopMovie, RunStopMovie},
};

}  // namespace

void RegisterLayerCommands() { RegisterCommandTable(kLayerCommands); }
