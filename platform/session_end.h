// The end of the user's session, as the windows that care hear it: WM_QUERYENDSESSION, then
// WM_ENDSESSION. Three things end it: the session manager asking the program to save its work at
// logout (the toolkit's commit-data request), the quit signals (platform/quit_signal.h) and a
// hang-up (SIGHUP).
//
// Contract:
// - SetSessionEndWindow(hwnd, true) registers a live top-level window (false when it is not one,
//   or off the GUI thread); (hwnd, false) takes it off. A destroyed window is off by itself.
//   Registering installs the quit signals' handlers when they are not yet there.
// - When the session ends, on the GUI thread inside the pump: every registered window is sent
//   WM_QUERYENDSESSION (wParam 0, lParam 0) in the order of registration, stopping at the first
//   that answers FALSE (0); then every window asked (and still alive) is sent WM_ENDSESSION,
//   wParam TRUE when all agreed, else FALSE, lParam 0.
// - When all agreed, the registered windows still alive are then destroyed (DestroyWindow): the
//   system would end the program here, and this way it ends the way it always does. When one
//   refused, everything goes on, and the session manager is asked to cancel the logout.
// - A request that comes while one is being answered (a question asked inside
//   WM_QUERYENDSESSION waits for the user) is dropped. Without a registered window a request only
//   does what platform/quit_signal.h says.
#pragma once

#include "platform/win_types.h"

namespace platform {

bool SetSessionEndWindow(HWND hwnd, bool registered);

// Ends the session as the three requests do; true when every registered window agreed (also when
// there is none). GUI thread only; false elsewhere and while a request is being answered.
bool EndSession();

}  // namespace platform
