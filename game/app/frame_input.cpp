#include "game/app/frame_input.h"

#include "sdk/framework/game_key_input.h"
#include "sdk/framework/mouse_input.h"

FrameInputState FrameInput = {};

namespace {
CMouseInputEx* frameMouse = nullptr;
bool pressAnswered = false;
}  // namespace

void ReadFrameInput(const CVirtualKey& keys, CMouseInputEx& mouse, int16_t& previousWheel) {
  using namespace game_key;
  FrameInputState& in = FrameInput;
  int x = 0, y = 0;
  mouse.GetXY(&x, &y);
  in.cursorX = x;
  in.cursorY = y;
  const int16_t wheel = mouse.GetWheel();
  const int16_t moved = static_cast<int16_t>(static_cast<uint16_t>(wheel) - static_cast<uint16_t>(previousWheel));
  previousWheel = wheel;
  in.click = (mouse.IsLReleased() && !pressAnswered) || keys.IsPush(kClick) || keys.IsPush(kEnter);
  if (!mouse.IsLButton()) pressAnswered = false;
  in.rightClick = mouse.IsRReleased();
  in.scrollUp = moved > 0 || keys.IsPress(kUp);
  in.scrollDown = moved < 0 || keys.IsPress(kDown);
  in.skipKey = keys.IsPress(kSkip);
  in.leftHeld = mouse.IsLButton() || keys.IsPress(kClick) || keys.IsPress(kEnter);
  in.rightHeld = mouse.IsRButton();
}

void SetFrameInputMouse(CMouseInputEx* mouse) { frameMouse = mouse; }

void ResetInputEdges() {
  FrameInput.click = false;
  FrameInput.rightClick = false;
  FrameInput.scrollUp = false;
  FrameInput.scrollDown = false;
  if (frameMouse) frameMouse->Update();
}

void AnswerPressUnderWay() { pressAnswered = true; }
