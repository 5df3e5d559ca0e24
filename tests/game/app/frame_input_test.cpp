// Synthetic toolkit input on a real game window, through the window's messages, the keyboard and
// mouse devices and the logical keys, into the per-frame input state.
#include "game/app/frame_input.h"

#include <functional>
#include <gtest/gtest.h>

#include "tests/game/fixtures/message_box_recorder.h"
#include "platform/cursor_pos.h"
#include "platform/simulated_input.h"
#include "sdk/framework/game_key_input.h"
#include "sdk/framework/mouse_input.h"
#include "sdk/framework/window_application.h"

namespace {

// The toolkit's key numbers of the keys the game binds.
namespace qt_key {
constexpr int kEscape = 0x01000000;
constexpr int kReturn = 0x01000004;
constexpr int kEnter = 0x01000005;
constexpr int kLeft = 0x01000012;
constexpr int kUp = 0x01000013;
constexpr int kRight = 0x01000014;
constexpr int kDown = 0x01000015;
constexpr int kShift = 0x01000020;
constexpr int kControl = 0x01000021;
constexpr int kF1 = 0x01000030;
constexpr int kSpace = 0x20;
constexpr int kA = 0x41;
constexpr int Digit(int d) { return 0x30 + d; }
}  // namespace qt_key

class TestApp : public CWindowApplication {
 public:
  explicit TestApp(std::function<void(TestApp&)> body) : m_body(std::move(body)) {}
  int PrepareWindowOption(CWindowOption& option) override {
    option.caption = "input";
    // A process registers one window class only (the first one asked for): the game's.
    option.className = "SCRIPT APPLICATION";
    option.width = 320;
    option.height = 240;
    return 0;
  }
  int AppMain() override {
    m_body(*this);
    return 0;
  }

 private:
  std::function<void(TestApp&)> m_body;
};

// One game frame's polling, as the main loop does it.
struct Frame {
  TestApp& app;
  CGameKeyInput keys;
  CMouseInputEx mouse;
  int16_t wheel = 0;

  explicit Frame(TestApp& a) : app(a) {
    mouse.SetGuard(0);
    SetFrameInputMouse(&mouse);
    Poll();  // the new window settles where it is shown before a test places the cursor in it
  }
  ~Frame() { SetFrameInputMouse(nullptr); }
  // The cursor moved onto the client area, seen by a poll.
  bool CursorAt(int x, int y) {
    if (!platform::SetCursorClientPos(GetAppWindowHandle(), x, y)) return false;
    platform::SimulateMouseMove(GetAppWindowHandle(), x, y);
    Poll();
    return true;
  }
  void Poll() {
    app.PumpMessages();
    keys.Input();
    mouse.Update();
    ReadFrameInput(keys, mouse, wheel);
  }
};

void RunInApp(std::function<void(TestApp&)> body) {
  TestApp app(std::move(body));
  ASSERT_EQ(app.Run(), 0);
}

TEST(FrameInput, KeysReachTheirLogicalKeysOnPushAndWhileHeld) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    ASSERT_NE(w, nullptr);
    struct Case {
      int qtKey;
      bool keypad;
      int logical;
    } cases[] = {
        {qt_key::kEscape, false, game_key::kQuit},   {qt_key::kUp, false, game_key::kUp},
        {qt_key::Digit(8), true, game_key::kUp},     {qt_key::kDown, false, game_key::kDown},
        {qt_key::Digit(2), true, game_key::kDown},   {qt_key::kLeft, false, game_key::kLeft},
        {qt_key::Digit(4), true, game_key::kLeft},   {qt_key::kRight, false, game_key::kRight},
        {qt_key::Digit(6), true, game_key::kRight},  {qt_key::kSpace, false, game_key::kClick},
        {qt_key::kReturn, false, game_key::kEnter},  {qt_key::kEnter, true, game_key::kEnter},
        {qt_key::kShift, false, game_key::kEnter},   {qt_key::kControl, false, game_key::kSkip},
        {qt_key::kF1, false, game_key::kFullScreen},
    };
    for (const auto& c : cases) {
      platform::SimulateKey(w, c.qtKey, true, c.keypad);
      f.Poll();
      for (int k = 0; k <= game_key::kFullScreen; ++k) {
        EXPECT_EQ(f.keys.IsPress(k), k == c.logical) << std::hex << c.qtKey << " logical " << k;
        EXPECT_EQ(f.keys.IsPush(k), k == c.logical) << std::hex << c.qtKey << " logical " << k;
      }
      platform::SimulateKey(w, c.qtKey, true, c.keypad, true);  // auto-repeat: no new push
      f.Poll();
      EXPECT_TRUE(f.keys.IsPress(c.logical)) << std::hex << c.qtKey;
      EXPECT_FALSE(f.keys.IsPush(c.logical)) << std::hex << c.qtKey;
      platform::SimulateKey(w, c.qtKey, false, c.keypad);
      f.Poll();
      EXPECT_FALSE(f.keys.IsPress(c.logical)) << std::hex << c.qtKey;
    }
    platform::SimulateKey(w, qt_key::kA, true);
    f.Poll();
    for (int k = 0; k <= game_key::kFullScreen; ++k) EXPECT_FALSE(f.keys.IsPress(k)) << k;
    platform::SimulateKey(w, qt_key::kA, false);

    // Losing the focus releases what is held.
    platform::SimulateKey(w, qt_key::kControl, true);
    f.Poll();
    ASSERT_TRUE(FrameInput.skipKey);
    platform::SimulateAppActive(false);
    f.Poll();
    EXPECT_FALSE(FrameInput.skipKey);
    platform::SimulateAppActive(true);
    app.Close();
  });
}

// A key's release may be lost on the way (the window changed under it): its next press still
// pushes, or F1 would never switch the screen back.
TEST(FrameInput, ANewPressPushesAKeyWhoseReleaseWasLost) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    platform::SimulateKey(w, qt_key::kF1, true);
    f.Poll();
    ASSERT_TRUE(f.keys.IsPush(game_key::kFullScreen));
    f.Poll();
    ASSERT_FALSE(f.keys.IsPush(game_key::kFullScreen));
    platform::SimulateKey(w, qt_key::kF1, true);  // no release came between
    f.Poll();
    EXPECT_TRUE(f.keys.IsPush(game_key::kFullScreen));
    f.Poll();
    EXPECT_FALSE(f.keys.IsPush(game_key::kFullScreen));
    EXPECT_TRUE(f.keys.IsPress(game_key::kFullScreen));
    platform::SimulateKey(w, qt_key::kF1, false);
    f.Poll();
    EXPECT_FALSE(f.keys.IsPress(game_key::kFullScreen));
    app.Close();
  });
}

TEST(FrameInput, KeysMakeClicksScrollingAndSkipping) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    platform::SimulateKey(w, qt_key::kSpace, true);
    f.Poll();
    EXPECT_TRUE(FrameInput.click);
    EXPECT_TRUE(FrameInput.leftHeld);
    f.Poll();
    EXPECT_FALSE(FrameInput.click);  // a click is the push, not the hold
    EXPECT_TRUE(FrameInput.leftHeld);
    platform::SimulateKey(w, qt_key::kSpace, false);
    platform::SimulateKey(w, qt_key::kReturn, true);
    f.Poll();
    EXPECT_TRUE(FrameInput.click);
    platform::SimulateKey(w, qt_key::kReturn, false);
    platform::SimulateKey(w, qt_key::kUp, true);
    platform::SimulateKey(w, qt_key::kControl, true);
    f.Poll();
    f.Poll();
    EXPECT_TRUE(FrameInput.scrollUp);  // held keys scroll on every frame
    EXPECT_FALSE(FrameInput.scrollDown);
    EXPECT_TRUE(FrameInput.skipKey);
    EXPECT_FALSE(FrameInput.click);
    platform::SimulateKey(w, qt_key::kUp, false);
    platform::SimulateKey(w, qt_key::kControl, false);
    platform::SimulateKey(w, qt_key::kDown, true);
    f.Poll();
    EXPECT_FALSE(FrameInput.scrollUp);
    EXPECT_TRUE(FrameInput.scrollDown);
    EXPECT_FALSE(FrameInput.skipKey);
    platform::SimulateKey(w, qt_key::kDown, false);
    app.Close();
  });
}

TEST(FrameInput, MouseButtonsPositionAndResetOfTheEdges) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    ASSERT_TRUE(f.CursorAt(100, 50));
    EXPECT_EQ(FrameInput.cursorX, 100);
    EXPECT_EQ(FrameInput.cursorY, 50);

    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.leftHeld);
    EXPECT_FALSE(FrameInput.click);  // a mouse click is the release
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.click);
    EXPECT_FALSE(FrameInput.leftHeld);
    ResetInputEdges();  // the module that used the click
    EXPECT_FALSE(FrameInput.click);
    EXPECT_FALSE(f.mouse.IsLReleased());  // and the next module does not see it again

    platform::SimulateMouseButton(w, platform::MouseButton::Right, true, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.rightHeld);
    platform::SimulateMouseButton(w, platform::MouseButton::Right, false, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.rightClick);
    f.Poll();
    EXPECT_FALSE(FrameInput.rightClick);

    // Dragged out of the window, the button counts as released.
    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    f.Poll();
    ASSERT_TRUE(FrameInput.leftHeld);
    ASSERT_TRUE(platform::SetCursorClientPos(w, -5, 50));
    f.Poll();
    EXPECT_FALSE(FrameInput.leftHeld);
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, -5, 50);
    app.Close();
  });
}

// Automation tools, tap-to-click touchpads and remote desktops deliver a press and its release
// together: both reach the window before the frame polls.
TEST(FrameInput, APressReleasedWithinOneFrameIsStillAClick) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    ASSERT_TRUE(f.CursorAt(100, 50));
    const auto mouse = [w](platform::MouseButton button) {
      return [w, button] {
        platform::SimulateMouseButton(w, button, true, 100, 50);
        platform::SimulateMouseButton(w, button, false, 100, 50);
      };
    };
    const auto key = [w](int qtKey) {
      return [w, qtKey] {
        platform::SimulateKey(w, qtKey, true);
        platform::SimulateKey(w, qtKey, false);
      };
    };
    struct Case {
      const char* name;
      std::function<void()> tap;
      bool FrameInputState::*edge;
    } cases[] = {
        {"left button", mouse(platform::MouseButton::Left), &FrameInputState::click},
        {"right button", mouse(platform::MouseButton::Right), &FrameInputState::rightClick},
        {"space", key(qt_key::kSpace), &FrameInputState::click},
        {"return", key(qt_key::kReturn), &FrameInputState::click},
    };
    for (const Case& c : cases) {
      int taken = 0;
      for (int i = 0; i < 10; ++i) {
        c.tap();
        for (int frame = 0; frame < 3; ++frame) {
          f.Poll();
          if (FrameInput.*c.edge) ++taken;
        }
      }
      EXPECT_EQ(taken, 10) << c.name;
      EXPECT_FALSE(FrameInput.leftHeld || FrameInput.rightHeld) << c.name << ": nothing stays held";
    }
    // A key tapped as quickly is pushed once too: Esc ends the game.
    platform::SimulateKey(w, qt_key::kEscape, true);
    platform::SimulateKey(w, qt_key::kEscape, false);
    f.Poll();
    EXPECT_TRUE(f.keys.IsPush(game_key::kQuit));
    f.Poll();
    EXPECT_FALSE(f.keys.IsPress(game_key::kQuit));
    app.Close();
  });
}

TEST(FrameInput, APressAnsweredOnItsPushMakesNoClick) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    ASSERT_TRUE(f.CursorAt(100, 50));
    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    f.Poll();
    ASSERT_TRUE(FrameInput.leftHeld);
    AnswerPressUnderWay();  // a screen button fired and closed its screen
    f.Poll();
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, 100, 50);
    f.Poll();
    EXPECT_FALSE(FrameInput.click) << "the release belongs to the press the button answered";
    // The next press is a click of its own again.
    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    f.Poll();
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.click);
    app.Close();
  });
}

// A message box takes what is held when it comes up: the release is the box's, never a click.
TEST(FrameInput, WhatIsHeldWhenABoxComesUpIsTheBoxs) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    ASSERT_TRUE(f.CursorAt(100, 50));
    MessageBoxRecorder boxes;
    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    platform::SimulateMouseButton(w, platform::MouseButton::Right, true, 100, 50);
    platform::SimulateKey(w, qt_key::kSpace, true);
    platform::SimulateKey(w, qt_key::kControl, true);
    f.Poll();
    ASSERT_TRUE(FrameInput.leftHeld && FrameInput.rightHeld && FrameInput.skipKey);
    platform::MessageBox(w, "box", "caption", MB_OK);
    for (int frame = 0; frame < 3; ++frame) {
      f.Poll();
      EXPECT_FALSE(FrameInput.click || FrameInput.rightClick) << frame;
      EXPECT_FALSE(FrameInput.leftHeld || FrameInput.rightHeld || FrameInput.skipKey) << frame;
    }
    // The releases the box let through change nothing; the next press is the game's again.
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, 100, 50);
    platform::SimulateMouseButton(w, platform::MouseButton::Right, false, 100, 50);
    platform::SimulateKey(w, qt_key::kSpace, false);
    platform::SimulateKey(w, qt_key::kControl, false);
    f.Poll();
    EXPECT_FALSE(FrameInput.click || FrameInput.rightClick);
    platform::SimulateMouseButton(w, platform::MouseButton::Left, true, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.leftHeld);
    platform::SimulateMouseButton(w, platform::MouseButton::Left, false, 100, 50);
    f.Poll();
    EXPECT_TRUE(FrameInput.click);
    app.Close();
  });
}

TEST(FrameInput, TheGuardHidesEdgesForItsPolls) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    platform::SetCursorClientPos(w, 10, 10);
    platform::SimulateMouseMove(w, 10, 10);
    f.Poll();
    f.mouse.SetGuard(20);
    for (int i = 1; i <= 20; ++i) {
      const bool down = i % 2 == 1;
      platform::SimulateMouseButton(w, platform::MouseButton::Left, down, 10, 10);
      f.Poll();
      EXPECT_EQ(FrameInput.leftHeld, down) << "poll " << i;  // the state itself is always read
      if (i < 20) {
        EXPECT_FALSE(f.mouse.IsLPushed() || f.mouse.IsLReleased()) << i;
      } else {
        EXPECT_TRUE(f.mouse.IsLReleased());  // the 20th poll ends the guard
      }
    }
    app.Close();
  });
}

TEST(FrameInput, WheelDirectionAcrossTheSixteenBitWrap) {
  RunInApp([](TestApp& app) {
    Frame f(app);
    HWND w = GetAppWindowHandle();
    platform::SetCursorClientPos(w, 10, 10);
    platform::SimulateWheel(w, 120, 10, 10);
    f.Poll();
    EXPECT_TRUE(FrameInput.scrollUp);
    EXPECT_FALSE(FrameInput.scrollDown);
    f.Poll();
    EXPECT_FALSE(FrameInput.scrollUp);
    platform::SimulateWheel(w, -120, 10, 10);
    f.Poll();
    EXPECT_TRUE(FrameInput.scrollDown);
    // Up to just below the top of the 16-bit total, then one notch over it.
    for (int i = 0; i < 272; ++i) platform::SimulateWheel(w, 120, 10, 10);
    f.Poll();
    ASSERT_EQ(f.mouse.GetWheel(), 32640);
    platform::SimulateWheel(w, 120, 10, 10);
    platform::SimulateWheel(w, 120, 10, 10);
    f.Poll();
    EXPECT_LT(f.mouse.GetWheel(), 0);  // wrapped
    EXPECT_TRUE(FrameInput.scrollUp);
    EXPECT_FALSE(FrameInput.scrollDown);
    app.Close();
  });
}

}  // namespace
