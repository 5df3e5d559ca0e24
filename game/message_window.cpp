#include "game/message_window.h"

#include "game/config.h"
#include "game/frame_input.h"
#include "game/run_state.h"

bool SkipMode = false;
bool CurrentTextRead = true;

bool IsSkipping() {
  return (CurrentTextRead || Config.skipUnread) && !WindowHidden && (FrameInput.skipKey || SkipMode);
}
