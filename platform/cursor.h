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

// The editor's own cursors by resource number (LoadCursor with the program's instance): a pointing
// hand over a link, an arrow pointing right and up over the line numbers, and the I-beam with an
// arrow down or up while an incremental search runs forward or backward.
constexpr int kCursorLink = 221;
constexpr int kCursorLineNumbers = 223;
constexpr int kCursorSearchForward = 241;
constexpr int kCursorSearchBackward = 242;

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
inline const char* const IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const char* const IDC_WAIT = MAKEINTRESOURCE(32514);

namespace platform {

// The process's current cursor, in the editor's terms. The wait cursor, once current, shows over
// every window of the program, whatever lies under the mouse; any other cursor (or null) hands the
// shape back to the windows, each showing its class cursor. A window whose class has no cursor
// shows the current one while the mouse is over it (the window that last had the mouse's input
// takes each SetCursor of another cursor than the wait cursor). GUI thread only.
//
// With no instance, a system cursor by number (IDC_ARROW, IDC_IBEAM, IDC_WAIT); with an instance,
// the editor's own cursors above (the system has none of their numbers, so a null instance finds
// them too). Null for other numbers and for names.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Makes the cursor current and returns the one that was; the arrow is current at the start.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Whether the wait cursor is being shown over the whole program: what tests look at.
bool WaitCursorShown();

}  // namespace platform
