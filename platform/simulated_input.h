// Input as the user would give it, for tests and for runs without a person at the screen. Each
// action is posted to the toolkit as the event it would send, so it goes through the same handling
// as real input and arrives when the message pump next takes in the toolkit's events.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace platform {

// X1 and X2 are the side buttons (back and forward).
enum class MouseButton { Left, Right, Middle, X1, X2 };

// Modifier keys held during a simulated action, as bits.
enum SimulatedModifier : unsigned { kSimShift = 1, kSimControl = 2, kSimAlt = 4 };

// The close button of the title bar.
void SimulateCloseButton(HWND hwnd);
void SimulateMinimize(HWND hwnd);
void SimulateRestore(HWND hwnd);
// The program as a whole gains or loses the user's attention.
void SimulateAppActive(bool active);
// Coordinates are canvas pixels; modifiers are SimulatedModifier bits held meanwhile. Child
// windows of registered classes take mouse input like any window.
void SimulateMouseButton(HWND hwnd, MouseButton button, bool down, int x, int y, unsigned modifiers = 0);
// The second press of a double click, as the toolkit delivers it in place of a press; its release
// follows with SimulateMouseButton.
void SimulateMouseDoubleClick(HWND hwnd, MouseButton button, int x, int y, unsigned modifiers = 0);
void SimulateMouseMove(HWND hwnd, int x, int y, unsigned modifiers = 0);
// delta: 120 a notch away from the user, as a wheel turns; a high-resolution wheel or a touchpad
// gives parts of it.
void SimulateWheel(HWND hwnd, int delta, int x, int y, unsigned modifiers = 0);
// A touchpad that reports only pixels (positive away from the user).
void SimulateWheelPixels(HWND hwnd, int pixels, int x, int y, unsigned modifiers = 0);
// qtKey: the toolkit's key number; keypad: the key is on the numeric pad.
void SimulateKey(HWND hwnd, int qtKey, bool down, bool keypad = false, bool autoRepeat = false);
// A key pressed and released that types text (Shift-JIS; the toolkit's text of the press) with the
// modifiers held, to the window that has the keyboard: a child window gets it too.
void SimulateTypedKey(HWND hwnd, int qtKey, std::string_view sjisText, unsigned modifiers = 0);

// The input method (kept in simulated_ime.cpp), sent to the window's canvas as the toolkit sends
// it. An event with a committed text (Shift-JIS; empty for none) and the preedit that follows it,
// with its cursor as a byte offset in the preedit (-1 for its end). replaceFrom and replaceLength:
// the part of the text around the caret that the event replaces, in UTF-16 units relative to the
// cursor position the window served (both 0: nothing replaced).
struct SimulatedComposition {
  std::string_view commit;
  std::string_view preedit;
  int preeditCursor = -1;
  int replaceFrom = 0;
  int replaceLength = 0;
};
void SimulateInputMethod(HWND hwnd, const SimulatedComposition& composition);
// What the window answers the input method (platform/ime_query.h), asked as the toolkit asks it.
struct InputMethodAnswers {
  RECT cursorRect;
  std::string fontFamily;  // the widget's own font where the window names none
  int fontPixelSize = 0;
  int fontWeight = 0;
  std::u16string surroundingText;
  int cursorPosition = 0;
  int anchorPosition = 0;
  std::u16string currentSelection;
};
InputMethodAnswers QueryInputMethod(HWND hwnd);

// The menu bar (kept with the menus, in menu_qt.cpp). Choosing the item of that command id on the
// window's bar, as a click on it would: a grey item does nothing, and an id the bar lacks nothing.
void SimulateMenuCommand(HWND hwnd, UINT id);
// Opens the bar's menu at that place (0 the first), as a click on its title would; and closes
// every open menu of the bar.
void SimulateMenuOpen(HWND hwnd, int barIndex);
void SimulateMenuClose(HWND hwnd);

}  // namespace platform
