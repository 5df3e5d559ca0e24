// The game's logical keys 0 to 8 on the keyboard and the joystick.
#pragma once

#include "sdk/framework/di_keyboard.h"
#include "sdk/framework/joy_stick.h"
#include "sdk/framework/virtual_key.h"

// What each logical key of the game means.
namespace game_key {
constexpr int kQuit = 0;
constexpr int kUp = 1;
constexpr int kDown = 2;
constexpr int kLeft = 3;
constexpr int kRight = 4;
constexpr int kClick = 5;
constexpr int kEnter = 6;
constexpr int kSkip = 7;
constexpr int kFullScreen = 8;
}  // namespace game_key

class CGameKeyInput : public CVirtualKey {
 public:
  CGameKeyInput();

  CDIKeyboard& Keyboard() { return m_keyboard; }
  CJoyStick& JoyStick() { return m_joystick; }

 private:
  CDIKeyboard m_keyboard;
  CJoyStick m_joystick;
};
