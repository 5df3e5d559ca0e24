#include "sdk/framework/game_key_input.h"

#include "platform/dik_codes.h"

CGameKeyInput::CGameKeyInput() {
  using namespace platform;
  using namespace game_key;
  AddDevice(&m_keyboard);
  AddDevice(&m_joystick);
  struct Bind {
    int logical;
    int keys[4];  // 0 ends the list
    int joystick;  // -1: none
  };
  static constexpr Bind kBindings[] = {
      {kQuit, {DIK_ESCAPE}, -1},
      {kUp, {DIK_NUMPAD8, DIK_UP}, joystick_code::kUp},
      {kDown, {DIK_NUMPAD2, DIK_DOWN}, joystick_code::kDown},
      {kLeft, {DIK_NUMPAD4, DIK_LEFT}, joystick_code::kLeft},
      {kRight, {DIK_NUMPAD6, DIK_RIGHT}, joystick_code::kRight},
      {kClick, {DIK_SPACE}, joystick_code::kFirstButton},
      {kEnter, {DIK_RETURN, DIK_NUMPADENTER, DIK_LSHIFT, DIK_RSHIFT}, joystick_code::kFirstButton + 1},
      {kSkip, {DIK_LCONTROL, DIK_RCONTROL}, joystick_code::kFirstButton + 2},
      {kFullScreen, {DIK_F1}, -1},
  };
  for (const Bind& b : kBindings) {
    for (int key : b.keys) {
      if (key) AddKey(b.logical, &m_keyboard, key);
    }
    if (b.joystick >= 0) AddKey(b.logical, &m_joystick, b.joystick);
  }
}
