// The whole life of the game against a temporary game folder. The game is asked to quit the way
// SIGTERM asks, so each run ends after its start-up and goes through the normal shutdown.
#include "game/app/win_main.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "box_font_engine.h"
#include "game/app/config.h"
#include "game/script/message_log.h"
#include "game/app/run_state.h"
#include "game/stage/screen_fade.h"
#include "game/app/script_app.h"
#include "tests/game/fixtures/game_folder.h"
#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/clock.h"
#include "platform/cursor_pos.h"
#include "platform/desktop.h"
#include "platform/presenter.h"
#include "platform/quit_signal.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/editor_process_factory.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/idle_callback.h"
#include "sdk/framework/path_functions.h"
#include "sdk/framework/single_instance_checker.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/dib_draw.h"
#include "sdk/graphics/png_writer.h"
#include "sdk/graphics/screen_listener.h"

namespace {

constexpr const char* kConfig = kTestGameConfig;
constexpr const char* kScene = kTestSceneIni;
constexpr const char* kPicture = kTestPictureIni;

class WinMainTest : public testing::Test {
 protected:
  void SetUp() override {
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    RecordCurrentDir();  // relative paths resolve against the folder the game starts in
    dir.Write("vrel.xml", kConfig);
    dir.Write("scene.ini", kScene);
    dir.Write("picture.ini", kPicture);
    platform::InstallQuitSignals();
    std::raise(SIGTERM);
  }
  void TearDown() override {
    platform::ClearQuitSignal();
    std::filesystem::current_path(m_previousDir);
    RecordCurrentDir();
  }
  int Run() {
    static char commandLine[] = "";
    static int module = 0;
    return WinMain(&module, nullptr, commandLine, 1);
  }
  void ExpectUntouched() {
    EXPECT_EQ(dir.Read("vrel.xml"), kConfig);
    EXPECT_EQ(dir.Read("scene.ini"), kScene);
    EXPECT_EQ(dir.Read("picture.ini"), kPicture);
    EXPECT_EQ(dir.EntryCount(), 3u);
  }

  ScopedTempDir dir;
  MessageBoxRecorder boxes;

 private:
  std::filesystem::path m_previousDir;
};

TEST_F(WinMainTest, RunsAndWritesEverythingBack) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(Config.fps, 60);
  // The configured 75 frames per second are beyond the adaptive range: the game ran at 60, and the
  // rate it ran at is what the next start begins with.
  const std::string xml = dir.Read("vrel.xml");
  EXPECT_NE(xml.find("fps=\"60\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("<title>テスト</title>"_sj), std::string::npos);
  EXPECT_EQ(dir.Read("scene.ini"),
            "//MERIDIANE シーン回想ファイル (C)vrel ※このファイルをむやみやたらに変更してはいけません\r\n\r\n"
            "[Scenes]\r\nKey[000]=op\r\nMaxScene=200\r\nScene=1\r\n\r\n"_sj);
  EXPECT_EQ(dir.Read("picture.ini"),
            "//MERIDIANE CGモードファイル (C)vrel ※このファイルをむやみやたらに変更してはいけません\r\n\r\n"
            "[Pictures]\r\nMaxPicture=1000\r\nPicture=0\r\n\r\n"_sj);
}

TEST_F(WinMainTest, AMissingSceneFileEndsSilently) {
  std::filesystem::remove(dir.File("scene.ini"));
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(dir.Read("vrel.xml"), kConfig);
  EXPECT_EQ(dir.Read("picture.ini"), kPicture);
  EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST_F(WinMainTest, AMissingCountKeyIsReportedAndEndsTheGame) {
  dir.Write("picture.ini", "[Pictures]\r\nMaxPicture=1000\r\n");
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(boxes.texts().size(), 1u);
  EXPECT_EQ(boxes.texts()[0], "初期化エラー\nPictures/Pictureが設定されていません"_sj);
  EXPECT_EQ(boxes.boxes()[0].caption, "エラー"_sj);
  EXPECT_EQ(dir.Read("vrel.xml"), kConfig);
  EXPECT_EQ(dir.Read("scene.ini"), kScene);
}

TEST_F(WinMainTest, AReadOnlyConfigurationIsReportedAndTheIniFilesAreStillWritten) {
  std::filesystem::permissions(dir.File("vrel.xml"), std::filesystem::perms::owner_read);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "設定ファイルの書き出しに失敗しました"_sj);
  EXPECT_EQ(boxes.boxes()[0].caption, "致命的エラー"_sj);
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
  EXPECT_EQ(dir.Read("vrel.xml"), kConfig);
  EXPECT_EQ(dir.Read("scene.ini").rfind("//MERIDIANE", 0), 0u);
  EXPECT_EQ(dir.Read("picture.ini").rfind("//MERIDIANE", 0), 0u);
}

TEST_F(WinMainTest, ASecondCopyWritesNothing) {
  CSingleInstanceChecker first;  // this process already runs the game
  ASSERT_TRUE(first.IsValid());
  // The first copy is asked to come to the front; it answers at once (its window would be raised
  // on the thread that runs the second copy here, which is busy waiting for the answer).
  int raised = 0;
  SetInstanceRaiseHandler([&raised] {
    ++raised;
    return true;
  });
  EXPECT_EQ(Run(), 0);
  SetInstanceRaiseHandler(nullptr);
  EXPECT_EQ(raised, 1);
  EXPECT_TRUE(boxes.boxes().empty());
  ExpectUntouched();
}

// Stands for the editor: records what it was opened on and when it ran.
class RecordingEditor : public CProcessBase {
 public:
  explicit RecordingEditor(std::vector<std::string>* log) : m_log(log) {}
  bool Run() override {
    m_log->push_back("run");
    return true;
  }

 private:
  std::vector<std::string>* m_log;
};

TEST_F(WinMainTest, DebugModeOpensTheScriptInTheEditorBeforeTheGameRuns) {
  struct Case {
    const char* debug;
    std::vector<std::string> expected;
  } cases[] = {
      // The editor names exactly one file: the script the game read, by its absolute path.
      {"debug=\"1\"", {dir.File("start.txt") + " -Y=0", "run"}},
      {"debug=\"0\"", {}},
  };
  for (const auto& c : cases) {
    std::string xml = kConfig;
    xml.replace(xml.find("debug=\"0\""), 9, c.debug);
    dir.Write("vrel.xml", xml);
    std::vector<std::string> log;
    SetEditorProcessCreator([&log](HINSTANCE, const char* commandLine) {
      log.push_back(commandLine);
      return std::make_unique<RecordingEditor>(&log);
    });
    EXPECT_EQ(Run(), 0);
    SetEditorProcessCreator(nullptr);
    EXPECT_EQ(log, c.expected) << c.debug;
  }
}

// Plays frames against a simulated clock: each frame takes the given time before the frame timer
// waits (0: the frames are punctual), and the game is asked to quit after a number of frames.
class TimedFrames : public CIdleCallback {
 public:
  TimedFrames(platform::ManualClock& clock, int frames, uint32_t frameMs)
      : m_clock(clock), m_frames(frames), m_ms(frameMs) {}
  void OnIdle() override {
    if (m_done++ == m_frames) {
      QuitRequest = true;
      return;
    }
    // The first frame is a long stall: far enough behind for the timer to call every following
    // frame late.
    m_clock.Advance(m_done == 1 && m_ms ? m_ms + 60 : m_ms);
  }

 private:
  platform::ManualClock& m_clock;
  int m_frames;
  uint32_t m_ms;
  int m_done = 0;
};

TEST_F(WinMainTest, TheAdaptedFrameRateIsWrittenBack) {
  platform::ClearQuitSignal();
  // The first frame has no lateness to report yet and counts as punctual: from 60, a run of late
  // frames drops the rate after 1 + 360 frames.
  struct Case {
    const char* fps;
    int frames;
    uint32_t frameMs;
    const char* written;
  } cases[] = {
      {"60", 361, 17, "fps=\"60\""},
      {"60", 362, 17, "fps=\"59\""},
      {"59", 360, 0, "fps=\"59\""},
      {"59", 361, 0, "fps=\"60\""},
  };
  for (const auto& c : cases) {
    std::string xml = kConfig;
    xml.replace(xml.find("fps=\"75\""), 8, std::string("fps=\"") + c.fps + "\"");
    dir.Write("vrel.xml", xml);
    platform::ManualClock clock(1000);
    TimedFrames frames(clock, c.frames, c.frameMs);
    IdleCallbacks().push_back(&frames);
    EXPECT_EQ(Run(), 0);
    std::erase(IdleCallbacks(), &frames);
    EXPECT_NE(dir.Read("vrel.xml").find(c.written), std::string::npos) << c.fps << " " << c.frames;
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

// Holds a key over a few frames of the running game.
class KeyHold : public CIdleCallback {
 public:
  KeyHold(int qtKey, int downFrame, int upFrame, int quitFrame)
      : m_key(qtKey), m_down(downFrame), m_up(upFrame), m_quit(quitFrame) {}
  void OnIdle() override {
    ++frames;
    if (frames == m_down) platform::SimulateKey(GetAppWindowHandle(), m_key, true);
    if (frames == m_up) platform::SimulateKey(GetAppWindowHandle(), m_key, false);
    if (frames == m_quit) QuitRequest = true;
  }
  int frames = 0;

 private:
  int m_key, m_down, m_up, m_quit;
};

TEST_F(WinMainTest, KeysOfTheGameLoop) {
  platform::ClearQuitSignal();
  constexpr int kEscape = 0x01000000;  // the toolkit's key numbers
  constexpr int kF1 = 0x01000030;
  // The simulated clock takes the display's settling pause after each change of mode without
  // waiting for it.
  platform::ManualClock clock(1000);
  {
    // F1 held over four frames switches once, on its push, not on every frame it is down.
    KeyHold f1(kF1, 2, 6, 10);
    IdleCallbacks().push_back(&f1);
    EXPECT_EQ(Run(), 0);
    std::erase(IdleCallbacks(), &f1);
    EXPECT_NE(dir.Read("vrel.xml").find("window=\"0\""), std::string::npos);
    EXPECT_EQ(std::count(clock.sleeps().begin(), clock.sleeps().end(), 500u), 1);
  }
  {
    // F1 twice: there and back. The mode saved is the windowed one the player came back to, and
    // the window has its size and place again.
    struct TwoSwitches : CIdleCallback {
      void OnIdle() override {
        ++frames;
        HWND w = GetAppWindowHandle();
        if (frames == 1) platform::GetWindowRect(w, &before);
        if (frames == 2 || frames == 20) platform::SimulateKey(w, kF1, true);
        if (frames == 6 || frames == 24) platform::SimulateKey(w, kF1, false);
        if (frames == 10) platform::GetWindowRect(w, &full);
        if (frames == 30) {
          platform::GetWindowRect(w, &after);
          platform::GetClientRect(w, &client);
          QuitRequest = true;
        }
      }
      int frames = 0;
      RECT before{}, full{}, after{}, client{};
    } f1;
    dir.Write("vrel.xml", kConfig);  // windowed again
    SetFullScreen(false);            // as a new process starts
    IdleCallbacks().push_back(&f1);
    EXPECT_EQ(Run(), 0);
    std::erase(IdleCallbacks(), &f1);
    EXPECT_NE(dir.Read("vrel.xml").find("window=\"1\""), std::string::npos);
    EXPECT_EQ(f1.full.right - f1.full.left, platform::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(f1.full.bottom - f1.full.top, platform::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(f1.client.right, 320);
    EXPECT_EQ(f1.client.bottom, 240);
    // Where the window opened: its client size centred on the screen.
    EXPECT_EQ(f1.before.left, (platform::GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    EXPECT_EQ(f1.after.left, f1.before.left);
    EXPECT_EQ(f1.after.top, f1.before.top);
    EXPECT_EQ(f1.after.right, f1.before.right);
    EXPECT_EQ(f1.after.bottom, f1.before.bottom);
  }
  {
    // Esc ends the game at once, and the shutdown writes everything as usual.
    KeyHold esc(kEscape, 2, 1000, 1000);
    IdleCallbacks().push_back(&esc);
    EXPECT_EQ(Run(), 0);
    std::erase(IdleCallbacks(), &esc);
    EXPECT_LT(esc.frames, 10);
    EXPECT_EQ(dir.Read("scene.ini").rfind("//MERIDIANE", 0), 0u);
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

// The player presses the quick-save button of a game whose save folder cannot be made, with the
// mouse or with Enter, and keeps it down: the box that says the save failed comes up and takes the
// release, and the key that closes the box is the box's too. Neither ever reaches the game.
class PressIntoABox : public CIdleCallback {
 public:
  PressIntoABox(const MessageBoxRecorder& boxes, std::function<void(bool down)> press)
      : m_boxes(boxes), m_press(std::move(press)) {}
  void OnIdle() override {
    ++frames;
    HWND w = GetAppWindowHandle();
    if (frames == 60) {  // the window has faded in
      platform::SetCursorClientPos(w, 20, 10);
      platform::SimulateMouseMove(w, 20, 10);
    }
    if (frames == 62) m_press(true);
    // Long after: the button is let go and pressed again.
    if (frames == 200) m_press(false);
    if (frames == 202) m_press(true);
    if (frames == 206) m_press(false);
    if (frames == 210) QuitRequest = true;
    if (m_boxes.boxes().size() > boxFrames.size()) boxFrames.push_back(frames);
  }
  int frames = 0;
  std::vector<int> boxFrames;  // the frames in which a box came up

 private:
  const MessageBoxRecorder& m_boxes;
  std::function<void(bool)> m_press;
};

TEST_F(WinMainTest, WhatAMessageBoxTookNeverReachesTheGame) {
  platform::ClearQuitSignal();
  BoxFontScope font;
  platform::ManualClock clock(1000);
  PngFixture button;  // the quick-save button, 40 x 20 at the window's origin
  button.width = 40;
  button.height = 20;
  button.rows.assign(20, std::vector<uint8_t>(40 * 3, 0x80));
  ASSERT_TRUE(WritePng(dir.File("q.png"), button));
  dir.Write("savedata", "a file where the save folder would be");
  dir.Write("start.txt", std::string("OPENWINDOW\r\n") + "こんにちは\r\n\r\nEND\r\n"_sj);
  constexpr int kReturn = 0x01000004;  // the toolkit's key number
  struct Case {
    const char* name;
    std::function<void(bool)> press;
  } cases[] = {
      {"mouse",
       [](bool down) {
         platform::SimulateMouseButton(GetAppWindowHandle(), platform::MouseButton::Left, down, 20, 10);
       }},
      {"enter", [](bool down) { platform::SimulateKey(GetAppWindowHandle(), kReturn, down); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.Clear();
    PressIntoABox player(boxes, c.press);
    IdleCallbacks().push_back(&player);
    EXPECT_EQ(Run(), 0);
    std::erase(IdleCallbacks(), &player);
    ASSERT_EQ(player.frames, 210);
    // One box for each press, at the press; none while the first press seemed held.
    EXPECT_EQ(player.boxFrames.size(), 2u);
    if (player.boxFrames.size() != 2u) continue;
    EXPECT_GE(player.boxFrames[0], 62);
    EXPECT_LE(player.boxFrames[0], 64);
    EXPECT_GE(player.boxFrames[1], 202);
    EXPECT_EQ(boxes.texts()[0], "セーブデータの書き込みに失敗しました"_sj);
  }
}

// Marks one pixel of the display each time it is presented.
class Marker : public CScreenListener {
 public:
  void OnDraw(CDrawTarget* target) override {
    ++calls;
    const RECT dot{5, 5, 6, 6};
    static_cast<CDIBDraw*>(target)->GetSecondary()->GetImpl()->Clear(0x00FF0000u, &dot);
  }
  int calls = 0;
};

// Looks at the game's display from inside its loop, between the frames: each frame clears the
// back buffer to its fill colour, lets the listeners draw and is presented, unless it is a frame
// that must not be shown.
class FrameWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    ++frames;
    CDIBDraw* display = CDIBDraw::Current();
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(display, &RunningScriptApp->Display());
    if (frames == 1) {
      ClearMessageLog();  // the start-up's own lines (no script in this folder) would be drawn
      EXPECT_FALSE(display->IsFullScreenMode());
      ASSERT_NE(display->GetSecondary(), nullptr);
      int w = 0, h = 0;
      display->GetSize(&w, &h);
      EXPECT_EQ(w, 320);
      EXPECT_EQ(h, 240);
      marker = std::make_unique<Marker>();
    } else if (frames == 2) {
      NoPresent = true;
    } else if (frames == 3) {
      EXPECT_EQ(marker->calls, 1);
      std::vector<uint32_t> front;
      int w = 0, h = 0;
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      ASSERT_EQ(front.size(), 320u * 240u);
      std::vector<uint32_t> expected(front.size(), 0xFF000000u);
      expected[5 * 320 + 5] = 0xFFFF0000u;
      EXPECT_EQ(front, expected);
      // Drawn between frames: the next frame clears it before it is shown.
      display->GetSecondary()->GetImpl()->Clear(0x00FFFFFFu, nullptr);
    } else if (frames == 4) {
      std::vector<uint32_t> front;
      int w = 0, h = 0;
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      EXPECT_EQ(front[0], 0xFF000000u);
      EXPECT_EQ(marker->calls, 2);
      marker.reset();
      QuitRequest = true;
    }
  }
  int frames = 0;
  std::unique_ptr<Marker> marker;
};

TEST_F(WinMainTest, EachFrameIsClearedAndPresented) {
  platform::ClearQuitSignal();
  FrameWatch watch;
  IdleCallbacks().push_back(&watch);
  EXPECT_EQ(Run(), 0);
  std::erase(IdleCallbacks(), &watch);
  EXPECT_EQ(watch.frames, 4);
  EXPECT_TRUE(boxes.boxes().empty());
}

// The display's size and the message log as the first frame finds them.
class FirstFrameWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    if (++frames > 1) return;
    if (CDIBDraw* display = CDIBDraw::Current()) display->GetSize(&width, &height);
    for (int i = 0; i < MessageLog.count; ++i) log.emplace_back(MessageLog.lines[i]);
    QuitRequest = true;
  }
  int frames = 0;
  int width = 0, height = 0;
  std::vector<std::string> log;
};

// A screen wider than any desktop (a typing slip in vrel.xml) opens as wide as the desktop has
// room for, and the message log says so; the file keeps what was typed.
TEST_F(WinMainTest, AScreenNoDesktopHoldsOpensFittedToIt) {
  platform::ClearQuitSignal();
  std::string config = kConfig;
  const std::string size = "width=\"320\" height=\"240\"";
  config.replace(config.find(size), size.size(), "width=\"32767\" height=\"19\"");
  dir.Write("vrel.xml", config);
  int roomWidth = 0, roomHeight = 0;
  ASSERT_TRUE(platform::DesktopAvailableSize(&roomWidth, &roomHeight));
  ASSERT_LT(roomWidth, 32767);
  FirstFrameWatch watch;
  IdleCallbacks().push_back(&watch);
  EXPECT_EQ(Run(), 0);
  std::erase(IdleCallbacks(), &watch);
  EXPECT_EQ(watch.width, roomWidth);
  EXPECT_EQ(watch.height, 19);
  const std::string line = "vrel.xml の画面サイズ 32767x19 はデスクトップ("_sj;
  EXPECT_TRUE(std::any_of(watch.log.begin(), watch.log.end(),
                          [&](const std::string& l) { return l.find(line) != std::string::npos; }));
  EXPECT_NE(dir.Read("vrel.xml").find("width=\"32767\" height=\"19\""), std::string::npos);
}

// Draws the white fade and the message log over the game picture and checks what is shown.
class FadeAndLogWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    ++frames;
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    if (frames == 1) {
      ClearMessageLog();
      EngineState.presentation.fades.white = {100, 0};
    } else if (frames == 2) {
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      EXPECT_EQ(front, std::vector<uint32_t>(front.size(), 0xFF646464u));
      EngineState.presentation.fades.white = {0, 0};
      DebugPrintText("WWWW");
    } else if (frames == 3) {
      ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
      ASSERT_EQ(w, 320);
      int inkInside = 0, inkOutside = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const bool lit = front[y * w + x] != 0xFF000000u;
          const bool inLine = x >= 16 && x < 16 + 80 && y >= 17 && y < 17 + 20;
          (inLine ? inkInside : inkOutside) += lit ? 1 : 0;
        }
      }
      EXPECT_GT(inkInside, 0);
      EXPECT_EQ(inkOutside, 0);
      ClearMessageLog();
      QuitRequest = true;
    }
  }
  int frames = 0;
};

TEST_F(WinMainTest, FadesAndTheMessageLogAreDrawnOverThePicture) {
  platform::ClearQuitSignal();
  FadeAndLogWatch watch;
  IdleCallbacks().push_back(&watch);
  EXPECT_EQ(Run(), 0);
  std::erase(IdleCallbacks(), &watch);
  EXPECT_EQ(watch.frames, 3);
  EngineState.presentation.fades = {};
}

// A PRINT revealed on screen: ink appears only inside the message box and grows frame by frame at
// the configured speed of 8, which the fractional progress lets move at 60 frames per second.
class PrintWatch : public CIdleCallback {
 public:
  void OnIdle() override {
    ++frames;
    std::vector<uint32_t> front;
    int w = 0, h = 0;
    if (frames == 1) {
      // Nothing has been presented before the first frame.
      ClearMessageLog();
      inkPerFrame.push_back(0);
      return;
    }
    ASSERT_TRUE(platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h));
    int ink = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (front[static_cast<size_t>(y * w + x)] != 0xFF000000u) {
          ++ink;
          if (x >= 300 || y >= 60) outside = true;
        }
    inkPerFrame.push_back(ink);
    if (frames == 60) QuitRequest = true;
  }
  int frames = 0;
  bool outside = false;
  std::vector<int> inkPerFrame;
};

TEST_F(WinMainTest, PrintIsRevealedInsideTheMessageBox) {
  BoxFontScope font;
  dir.Write("start.txt", std::string("PRINT \"") + "あいうえお"_sj + "\"\r\nWAIT 600\r\n");
  platform::ClearQuitSignal();
  PrintWatch watch;
  IdleCallbacks().push_back(&watch);
  EXPECT_EQ(Run(), 0);
  std::erase(IdleCallbacks(), &watch);
  ASSERT_EQ(watch.inkPerFrame.size(), 60u);
  EXPECT_FALSE(watch.outside);
  EXPECT_TRUE(std::is_sorted(watch.inkPerFrame.begin(), watch.inkPerFrame.end()));
  // The watch sees frame n's picture at its call n + 1 (index n). The first glyph shows with the
  // first frame, the second in frame 13 (0.8 a frame reaches 10 there), then one every 12.5 frames.
  EXPECT_EQ(watch.inkPerFrame[0], 0);
  EXPECT_GT(watch.inkPerFrame[1], 0);
  EXPECT_EQ(watch.inkPerFrame[12], watch.inkPerFrame[1]);
  EXPECT_GT(watch.inkPerFrame[13], watch.inkPerFrame[12]);
  EXPECT_EQ(watch.inkPerFrame.back(), 5 * watch.inkPerFrame[1]);
}

}  // namespace
