#include "game/commands/time_commands.h"

#include <array>

#include "game/app/frame_scale.h"
#include "game/text/message_window.h"
#include "game/script/saturate.h"
#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_tokens.h"

namespace {

// WAIT [ticks]: ticks of 1/60 s (30 without a number), one frame while skipping.
ScriptFlow RunWait() {
  double ticks = 30;
  ArgOptionalNumber(&ticks);
  const int32_t frames = IsSkipping() ? 1 : SaturateToInt32(ticks / FrameScale());
  BeginWait(frames);
  return ScriptFlow::kNext;
}

constexpr std::array kTimeCommands = {
    ScriptCommand{kTokenWait, RunWait},
};

}  // namespace

void RegisterTimeCommands() { RegisterCommandTable(kTimeCommands); }
