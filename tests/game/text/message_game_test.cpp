// A scene in the running game: the window fades in under a spoken line, the line is shown with its
// speaker, a click ends the page, and the music started by the script plays.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/script/message_log.h"
#include "game/app/run_state.h"
#include "game/system/script_buttons.h"
#include "game/sound/sound_channels.h"
#include "game/text/text_box.h"
#include "game/app/win_main.h"
#include "tests/game/fixtures/game_folder.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/presenter.h"
#include "platform/quit_signal.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "tests/game/fixtures/script_harness.h"
#include "sdk/framework/idle_callback.h"
#include "sdk/framework/path_functions.h"
#include "sdk/framework/window_application.h"
#include "sdk/sound/ogg_reader.h"
#include "tools/make_sounds/sound_writer.h"

namespace {

class SceneWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    ++frames;
    const MessageWindowState& window = EngineState.presentation.window;
    if (frames == 2) {
      ClearMessageLog();
      openingOpacity = window.opacity;
    } else if (frames == 30) {
      windowState = window.state;
      speaker = FixedText(EngineState.presentation.message.speakerName);
      text = FixedText(EngineState.messageText);
      musicPlaying = BgmReader(CurrentBgm) && BgmReader(CurrentBgm)->IsOpen();
      std::vector<uint32_t> front;
      int w = 0, h = 0;
      if (platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h) && w == 320 && h == 240) {
        windowPixel = front[static_cast<size_t>(230 * w + 300)];
        skyPixel = front[static_cast<size_t>(10 * w + 300)];
      }
      QuitRequest = true;
    }
  }
  int frames = 0;
  int openingOpacity = -1;
  int windowState = -1;
  std::string speaker, text;
  bool musicPlaying = false;
  uint32_t windowPixel = 0, skyPixel = 0;
};

TEST(MessageGame, ASpokenLineInTheFadedInWindow) {
  GameFolderScope folder(ConfigWithWindowAtBottom());
  const ScopedTempDir& dir = folder.dir;
  dir.Write("start.txt", CrLf("BGM \"m.ogg\"\nOPENWINDOW\n太郎「こんにちは」\n\nEND\n"_sj));
  ASSERT_TRUE(WriteBlueWindowPicture(dir));
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(sound_writer::MakeOggVorbis(sound_writer::Tone(22050, 1, 22050, 440, 4000), 22050, 1, 0.3f, ogg));
  dir.Write("m.ogg", std::string_view(reinterpret_cast<const char*>(ogg.data()), ogg.size()));
  MessageBoxRecorder boxes;
  platform::ClearQuitSignal();
  SceneWatch watch;
  IdleCallbacks().push_back(&watch);
  static char commandLine[] = "";
  static int module = 0;
  EXPECT_EQ(WinMain(&module, nullptr, commandLine, 1), 0);
  std::erase(IdleCallbacks(), &watch);
  EXPECT_EQ(watch.frames, 30);
  // The window was fading in at the start and is open (alpha 200) by the end.
  EXPECT_GT(watch.openingOpacity, 0);
  EXPECT_LT(watch.openingOpacity, 200);
  EXPECT_EQ(watch.windowState, 1);
  EXPECT_EQ(watch.speaker, std::string("太郎"_sj));
  EXPECT_EQ(watch.text, std::string("「こんにちは」"_sj));
  EXPECT_TRUE(watch.musicPlaying);
  // Blue at 200/256 over the black screen below y 200, black above.
  EXPECT_EQ(watch.skyPixel, 0xFF000000u);
  EXPECT_EQ(watch.windowPixel & 0x00FFFF00u, 0u);
  EXPECT_GT(watch.windowPixel & 0xFFu, 0x80u);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
