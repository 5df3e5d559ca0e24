#include "game/commands/screen_fade_commands.h"

#include <algorithm>
#include <array>

#include "game/app/config.h"
#include "game/app/frame_scale.h"
#include "game/text/message_window.h"
#include "game/script/saturate.h"
#include "game/stage/screen_fade.h"
#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"

namespace {

constexpr double kDefaultSpeed = 16;

// Which end a running fade is completed to before the new one starts: a black fade-out still rising
// is finished at full black; a fade-in (and, for the white fade, any falling level) is finished at
// clear. These rules are what scripts were written against.
enum class Complete { kRisingToFull, kFallingToClear };

// BLACKOUT, BLACKIN, WHITEOUT, WHITEIN [speed]: the level moves to its end by speed a 60th of a
// second; while skipping or with screen effects off it is there at once.
ScriptFlow StartFade(ScreenFade& fade, int sign, Complete complete) {
  double speed = kDefaultSpeed;
  const bool given = ArgOptionalNumber(&speed);
  const int32_t endLevel = sign > 0 ? 255 : 0;
  if (IsSkipping() || !Config.effectsOn) {
    fade = {endLevel, 0};
  } else {
    if (complete == Complete::kRisingToFull && fade.step > 0) fade.level = 255;
    if (complete == Complete::kFallingToClear && fade.step < 0) fade.level = 0;
    fade.step = SaturateToInt32(sign * speed * FrameScale());
  }
  // After an absent number the token read already ends the statement.
  if (given) GetToken();
  return ScriptFlow::kNext;
}

// BLACK and WHITE [level]: the level at once (full without a number), and both fades stopped.
ScriptFlow SetFade(ScreenFade& fade, ScreenFade& other) {
  double level = 255;
  const bool given = ArgOptionalNumber(&level);
  // Outside 0..255 the frame would never bring a resting level back into range, and the picture
  // would be drawn with a ratio past full.
  fade = {std::clamp(SaturateToInt32(level), 0, 255), 0};
  other.step = 0;
  if (given) GetToken();
  return ScriptFlow::kNext;
}

ScriptFlow RunBlackOut() { return StartFade(Fades().black, 1, Complete::kRisingToFull); }
ScriptFlow RunBlackIn() { return StartFade(Fades().black, -1, Complete::kFallingToClear); }
ScriptFlow RunBlack() { return SetFade(Fades().black, Fades().white); }
ScriptFlow RunWhiteOut() { return StartFade(Fades().white, 1, Complete::kFallingToClear); }
ScriptFlow RunWhiteIn() { return StartFade(Fades().white, -1, Complete::kFallingToClear); }
ScriptFlow RunWhite() { return SetFade(Fades().white, Fades().black); }

constexpr std::array kScreenFadeCommands = {
    ScriptCommand{kTokenBlackOut, RunBlackOut}, ScriptCommand{kTokenBlackIn, RunBlackIn},
    ScriptCommand{kTokenBlack, RunBlack},       ScriptCommand{kTokenWhiteOut, RunWhiteOut},
    ScriptCommand{kTokenWhiteIn, RunWhiteIn},   ScriptCommand{kTokenWhite, RunWhite},
};

}  // namespace

void RegisterScreenFadeCommands() { RegisterCommandTable(kScreenFadeCommands); }
