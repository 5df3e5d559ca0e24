// Timers of a window: SetTimer and KillTimer.
//
// Contract:
// - SetTimer(hwnd, id, elapse, proc) starts timer id of a live window (a dialog is a window) and
//   returns id; a second SetTimer of the same window and id restarts it with the new period and
//   procedure. Null or dead windows and id 0 give 0. Periods under 10 ms count as 10 ms.
// - Each period end queues WM_TIMER (wParam the id, lParam the procedure) for the window unless one
//   of that timer is still waiting there: a pump that falls behind gets one, not a backlog.
//   DispatchMessage hands a WM_TIMER with a procedure to the procedure (hwnd, WM_TIMER, id, tick
//   count), otherwise to the window procedure.
// - KillTimer stops the timer and drops its waiting WM_TIMER, so none arrives after it; false for a
//   timer that is not running. A destroyed window's timers end with it.
// - On the GUI thread only; elsewhere SetTimer gives 0 and KillTimer false.
#pragma once

#include "platform/window.h"

using UINT_PTR = uintptr_t;
using TIMERPROC = void (*)(HWND hwnd, UINT message, UINT_PTR id, DWORD tickCount);

namespace platform {

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

}  // namespace platform
