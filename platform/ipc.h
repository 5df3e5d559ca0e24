// Windows that other processes can reach: each gets a non-zero 32-bit id naming its process (pid ×
// 256 + n), which shared records store. A process with such windows answers requests on a local
// socket in the runtime folder named after its pid, and removes that socket when it ends normally.
//
// Contract:
// - RegisterWindow gives a window its id and starts the process's listener (false id 0 when it
//   cannot listen); UnregisterWindow forgets it. An id is live while its window is registered in a
//   running process; an id of a process that is gone is dead at once, without waiting.
// - SendMessage to an id of this process calls the window at once. To another process it waits
//   for the answer while serving sends that come in meanwhile (not posts, not input), so two
//   windows asking each other never deadlock; it gives 0 after the send limit, and at once when the
//   process is gone. Sends that come in are otherwise served on the GUI thread by the message pump.
// - PostMessage queues the message in the target's process.
// - GetClassName, GetWindowLong (index 4: the value SetWindowLong stored there), IsWindowVisible
//   and Activate work on any live id. IsWindowVisible tells whether the window is shown (a
//   minimised window counts as shown), as its process last saw it; false for a dead id and for a
//   window registered off the GUI thread.
// - Activate places the window first when given a placement (SetWindowPlacement), then shows it
//   as it stands (a minimised window restored, a maximised one kept maximised) and brings it to the
//   front; in another process this happens on that process's GUI thread once it takes in its
//   events, after Activate has returned.
// - Everything but a send is answered by the target process's listener without its GUI thread, so
//   it waits at most the query limit (200 ms): a process that does not answer that soon (stopped,
//   or stuck) counts as not live for that request, and a walk over many windows is not held up by
//   one such process for a send's limit.
// - The window requests (GetWindowPlacement, IsIconic, ShowWindow, SetWindowPos) are carried out
//   by the window's own process on its GUI thread and answered once done, timed as a send (and
//   serving incoming sends while they wait), so requests to several processes happen in the
//   order they were made. Rectangles are the frame's, on the screen. Restacking behind another
//   window is asked of the window manager, which may keep its own order (X11 window managers
//   mostly follow it; under Wayland the compositor decides).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "platform/window.h"

namespace platform::ipc {

using WindowId = uint32_t;

inline pid_t ProcessOf(WindowId id) { return static_cast<pid_t>(id >> 8); }

WindowId RegisterWindow(HWND hwnd, std::string_view className);
void UnregisterWindow(WindowId id);
HWND LocalWindow(WindowId id);
bool IsLive(WindowId id);
// Whether an id still names a window: kGone when its process has ended, has no listener, or
// answers that no such window is registered; kNoAnswer when its process did not answer within the
// query limit (a stopped process keeps its windows).
enum class Presence { kLive, kGone, kNoAnswer };
Presence GetPresence(WindowId id);
std::string GetClassName(WindowId id);
int32_t GetWindowLong(WindowId id, int index);
// Only for a window of this process; false otherwise.
bool SetWindowLong(WindowId id, int index, int32_t value);
bool IsWindowVisible(WindowId id);
bool Activate(WindowId id, const WINDOWPLACEMENT* placement = nullptr);

// The window's show state and normal rectangle (platform::GetWindowPlacement).
bool GetWindowPlacement(WindowId id, WINDOWPLACEMENT* placement);
bool IsIconic(WindowId id);
// SW_RESTORE, SW_MINIMIZE, SW_HIDE, SW_SHOWNOACTIVATE, ... as platform::ShowWindow; true when the
// window's process carried it out.
bool ShowWindow(WindowId id, int command);
// Places the frame's outer rectangle at (x, y) unless SWP_NOMOVE and sizes it to cx by cy unless
// SWP_NOSIZE; unless SWP_NOZORDER, behind 0 raises the window and another id asks to stack it
// directly behind that window. SWP_NOACTIVATE, SWP_SHOWWINDOW and SWP_HIDEWINDOW as
// platform::SetWindowPos.
bool SetWindowPos(WindowId id, WindowId behind, int x, int y, int cx, int cy, UINT flags);

LRESULT SendMessage(WindowId id, UINT message, WPARAM wParam, LPARAM lParam);
// A send of WM_COPYDATA carrying bytes: the window gets wParam = from and lParam = a
// COPYDATASTRUCT with the tag and the bytes, alive while it runs. Served and timed as any send,
// the bytes included in its limit; 0 as well for more than kMostCopyDataBytes.
inline constexpr size_t kMostCopyDataBytes = size_t{256} << 20;
LRESULT SendCopyData(WindowId id, WindowId from, uintptr_t tag, std::string_view bytes);
bool PostMessage(WindowId id, UINT message, WPARAM wParam, LPARAM lParam);

// The limit of one send (5 s unless a test sets less).
void SetSendTimeout(std::chrono::milliseconds limit);
// Serves the sends that came in; the pump and waiting sends call it. Returns how many.
int ServeIncomingSends();

// Removes the socket of a process that ended without removing it (killed); false while that
// process runs or when it left none.
bool RemoveSocketOfEndedProcess(pid_t pid);

}  // namespace platform::ipc
