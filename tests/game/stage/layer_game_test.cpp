// The layers in the running game: a script shows a picture, the frame presents it, and a full
// black fade hides it.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/stage/image_cache.h"
#include "game/script/message_log.h"
#include "game/app/run_state.h"
#include "game/stage/screen_fade.h"
#include "game/app/win_main.h"
#include "tests/game/fixtures/game_folder.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/presenter.h"
#include "platform/quit_signal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/idle_callback.h"
#include "sdk/framework/path_functions.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/png_writer.h"

namespace {

class PictureWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    ++frames;
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    if (frames == 1) {
      ClearMessageLog();
    } else if (frames == 3) {
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      ASSERT_EQ(w, 320);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const bool inside = x >= 10 && x < 26 && y >= 20 && y < 36;
          ASSERT_EQ(front[static_cast<size_t>(y * w + x)], inside ? 0xFFFF0000u : 0xFF000000u) << x << " " << y;
        }
      }
      Fades().black = {255, 0};
    } else if (frames == 4) {
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      EXPECT_EQ(front, std::vector<uint32_t>(front.size(), 0xFF000000u));
      lookups = ImageCacheLookups();
      QuitRequest = true;
    }
  }
  int frames = 0;
  int lookups = 0;
};

TEST(LayerGame, AScriptPictureIsShownAndBlackHidesIt) {
  std::string config = kTestGameConfig;
  config.replace(config.find("cache=\"0\""), 9, "cache=\"5\"");
  GameFolderScope folder(config);
  const ScopedTempDir& dir = folder.dir;
  dir.Write("start.txt", "PICTURE 0, 10, 20, 0, \"cg\\red.png\"\r\n");
  std::filesystem::create_directories(dir.path() / "cg");
  PngFixture png;
  png.width = png.height = 16;
  png.rows.assign(16, std::vector<uint8_t>());
  for (auto& row : png.rows)
    for (int x = 0; x < 16; ++x) row.insert(row.end(), {0xFF, 0x00, 0x00});
  ASSERT_TRUE(WritePng(dir.File("cg/red.png"), png));
  MessageBoxRecorder boxes;
  platform::ClearQuitSignal();
  PictureWatch watch;
  IdleCallbacks().push_back(&watch);
  static char commandLine[] = "";
  static int module = 0;
  EXPECT_EQ(WinMain(&module, nullptr, commandLine, 1), 0);
  std::erase(IdleCallbacks(), &watch);
  Fades() = {};
  EXPECT_EQ(watch.frames, 4);
  // The start-up looks up the prompt, the system interface's 22 and tool-tip pictures (missing
  // here), then the script's picture. The backlog's window and voice icon and the message window
  // are looked up only when they first show, which they never do here.
  EXPECT_EQ(watch.lookups, 25);
  EXPECT_TRUE(boxes.boxes().empty());
  // The picture was recorded as seen and written back with the others at exit.
  EXPECT_NE(dir.Read("picture.ini").find("Key[000]=cg\\red.png\r\n"), std::string::npos) << dir.Read("picture.ini");
}

}  // namespace
