#include "game/text/message_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/app/config.h"
#include "game/stage/image_cache.h"
#include "game/text/fixed_text.h"
#include "game/script/engine_state.h"
#include "game/app/frame_input.h"
#include "game/app/run_state.h"
#include "sdk/graphics/png_writer.h"

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

// The window's picture is read when the window first shows, not when the engine starts: a title
// without the window never decodes it.
TEST(MessageWindowPicture, IsReadWhenTheWindowFirstShows) {
  const GameConfig saved = Config;
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vrel_window_" + std::to_string(getpid()) + ".png");
  PngFixture png;
  png.width = 8;
  png.height = 4;
  png.rows.assign(4, std::vector<uint8_t>(8 * 3, 0x40));
  ASSERT_TRUE(WritePng(file.string(), png));
  CopyFixedText(Config.messageWindowFile, file.string());
  Config.imageCacheSize = 0;
  Config.messageWindowAlpha = 200;
  FlushImageCache();
  MessageWindowState& window = EngineState.presentation.window;
  window.state = 0;  // closed
  LoadMessageWindowPicture();
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 0) << "read before the window showed";
  // A window closing from closed (as a script's first statements often ask) shows nothing.
  window.state = 3;
  window.opacity = 0;
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 0) << "read for a window that showed nothing";
  window.state = 2;  // opening
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 1);
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 1) << "read again on a later frame";
  // A new start reads it again when the window next shows; after the exit it is not read at all.
  LoadMessageWindowPicture();
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 2);
  FreeMessageWindowPicture();
  DrawMessageWindow();
  EXPECT_EQ(ImageCacheLookups(), 2);
  window = MessageWindowState{};
  std::filesystem::remove(file);
  FlushImageCache();
  Config = saved;
}

}  // namespace
