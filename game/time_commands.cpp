#include "game/time_commands.h"

#include <array>

#include "game/frame_scale.h"
#include "game/message_window.h"
#include "game/saturate.h"
#include "game/script_args.h"
#include "game/script_commands.h"
#include "game/script_tokens.h"

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
