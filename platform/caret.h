// The caret: the one blinking mark of the program that shows where typed text goes. It belongs to
// one window at a time and is drawn inverted over what that window shows (its picture and the
// class background), so that it appears on any colour and leaves no trace when it goes. The
// window's own picture (window_dc.h) is never touched: what its device contexts read back is
// what the program drew.
//
// CreateCaret gives the window a caret, hidden, at (0, 0); a caret that another window (or the same
// one) had goes first. ShowCaret and HideCaret nest: HideCaret twice needs ShowCaret twice; ShowCaret
// of a shown caret does nothing. While shown the caret blinks, on for one blink time, off for the
// next; moving or showing it starts an "on" phase, so a caret that is moved by typing stays seen.
// The caret goes with its window. GUI thread only; the calls answer 0 and change nothing for a
// window that does not own the caret (a null window stands for the owner, as it does for
// ShowCaret and HideCaret of the original).
#pragma once

#include "platform/win_types.h"

namespace platform {
class Bitmap;
}  // namespace platform
using HBITMAP = platform::Bitmap*;

namespace platform {

// width and height 0 give the system's thin caret (1 pixel wide) and a 1-pixel height. The bitmap
// (a shape or the grey caret) is taken as solid: only the size is used.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
// Client coordinates of the caret's top left corner.
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* point);

// Milliseconds each phase lasts; 0 stops the blinking (the caret stays on while shown), which
// tests use to see the caret without racing the clock. Starts at the desktop's cursor flash time
// (half of it, a whole blink being on and off).
BOOL SetCaretBlinkTime(UINT milliseconds);
UINT GetCaretBlinkTime();

}  // namespace platform
