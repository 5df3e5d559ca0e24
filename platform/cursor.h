// The mouse cursor shown over a window's client area: the normal arrow or the pointing hand that
// tells the player something under the cursor can be clicked. The game's two cursor resources (108
// and 110) stand for these shapes.
#pragma once

#include "platform/window.h"

namespace platform {

enum class CursorShape { kArrow, kPointingHand };

// The cursor resource numbers the game asks for.
constexpr int kCursorResourceArrow = 108;
constexpr int kCursorResourcePointingHand = 110;

// Shows the shape over the window's client area. GUI thread only. The toolkit is asked only when
// the shape differs from the one last set on that window; a handle that is not a live window is
// passed over.
void SetWindowCursor(HWND window, CursorShape shape);

// The shape last set through SetWindowCursor on any window, and how many times the toolkit was asked
// to change one: what tests look at.
CursorShape LastCursorShape();
int CursorChanges();

}  // namespace platform

// The system's cursors by number (LoadCursor with no instance).
inline const char* const IDC_ARROW = MAKEINTRESOURCE(32512);
inline const char* const IDC_WAIT = MAKEINTRESOURCE(32514);
inline const char* const IDC_SIZEWE = MAKEINTRESOURCE(32644);   // a bar that moves left and right
inline const char* const IDC_SIZENS = MAKEINTRESOURCE(32645);   // a bar that moves up and down
inline const char* const IDC_SIZEALL = MAKEINTRESOURCE(32646);  // a crossing that moves both ways

namespace platform {

// The process's current cursor, in the editor's terms. The wait cursor, once current, shows over
// every window of the program, whatever lies under the mouse; any other cursor (or null) hands the
// shape back to the windows, each showing its class cursor. GUI thread only.
//
// A system cursor by number (IDC_ARROW, IDC_WAIT, the three IDC_SIZE ones); null for an
// instance's own cursors, which the program has none of, and for other numbers.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Makes the cursor current and returns the one that was; the arrow is current at the start.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Whether the wait cursor is being shown over the whole program: what tests look at.
bool WaitCursorShown();

}  // namespace platform
