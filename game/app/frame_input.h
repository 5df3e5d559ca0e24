// The input of one frame as every game module reads it: written once per frame by the main loop
// from the logical keys and the mouse.
#pragma once

#include <cstdint>

class CVirtualKey;
class CMouseInputEx;

struct FrameInputState {
  int32_t cursorX;
  int32_t cursorY;
  bool click;       // left button released, or logical key 5 or 6 newly pushed
  bool rightClick;  // right button released
  bool scrollUp;    // the wheel moved up since the last frame, or logical key 1 is held
  bool scrollDown;  // the wheel moved down, or logical key 2 is held
  bool skipKey;     // logical key 7 is held
  bool leftHeld;    // left button, or logical key 5 or 6, held
  bool rightHeld;
};

extern FrameInputState FrameInput;

// Fills FrameInput from keys and mouse polled for this frame. previousWheel holds the wheel total
// of the last frame and is updated; the total wraps at 16 bits, so its change is the signed
// 16-bit difference.
void ReadFrameInput(const CVirtualKey& keys, CMouseInputEx& mouse, int16_t& previousWheel);

// The mouse that ResetInputEdges polls (the running game's); null for none.
void SetFrameInputMouse(CMouseInputEx* mouse);

// Clears the edges (click, right click, scroll up and down) and polls the mouse once, so that a
// click that opened or closed something is not seen again by the next module.
void ResetInputEdges();

// The press under way was answered on its push (a button of the system interface fires while held):
// its release is no click, so it cannot land on whatever that button uncovered, such as a script
// button under a screen it closed.
void AnswerPressUnderWay();
