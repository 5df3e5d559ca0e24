// The mouse cursor shown over a window's client area: the normal arrow or the pointing hand that
// tells the player something under the cursor can be clicked. The game's two cursor resources (108
// and 110) stand for these shapes.
#pragma once

#include "platform/win_types.h"

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
