#include "game/text/message_window.h"

#include <gtest/gtest.h>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/app/frame_input.h"
#include "game/app/run_state.h"

namespace {

TEST(IsSkipping, ReadTextSkipKeyModeAndHiddenWindow) {
  const GameConfig saved = Config;
  struct Case {
    bool read, skipUnread, hidden, key, mode, skipping;
  } cases[] = {
      {true, false, false, true, false, true},    // the skip key over read text
      {true, false, false, false, true, true},    // skip mode over read text
      {true, false, false, false, false, false},  // neither key nor mode
      {false, false, false, true, true, false},   // unread text stops skipping
      {false, true, false, true, false, true},    // unless unread text may be skipped
      {true, false, true, true, true, false},     // the player hid the window
  };
  for (const Case& c : cases) {
    CurrentTextRead = c.read;
    Config.skipUnread = c.skipUnread;
    WindowHidden = c.hidden;
    FrameInput = {};
    FrameInput.skipKey = c.key;
    SkipMode = c.mode;
    EXPECT_EQ(IsSkipping(), c.skipping) << c.read << c.skipUnread << c.hidden << c.key << c.mode;
  }
  // The start values: read, skip mode off, the script's auto-play waiting 50 frames.
  EngineState.presentation.message.autoPlayWait = 0;
  ResetRunState(false);
  EXPECT_TRUE(CurrentTextRead);
  EXPECT_FALSE(SkipMode);
  EXPECT_EQ(EngineState.presentation.message.autoPlayWait, 50);
  FrameInput = {};
  Config = saved;
}

}  // namespace
