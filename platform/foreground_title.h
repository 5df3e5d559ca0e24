// The title of the window in front of the whole desktop, whichever program shows it: what
// GetForegroundWindow followed by GetWindowText tells, for a rule that must see another process's
// window (the tray's hot key stays quiet while the settings sheet of an edit window is in front).
//
// Contract:
// - ForegroundWindowTitle() is, while a hook is set, what the hook answers (tests; offscreen).
// - Otherwise, when one of this program's windows is active, its title (as GetWindowText gives
//   it). Else, on an X11 desktop, the title of the window that the window manager names in the root
//   window's _NET_ACTIVE_WINDOW: its _NET_WM_NAME (UTF-8), or its WM_NAME (Latin-1) without one,
//   in Shift-JIS (a character without a Shift-JIS form becomes "?").
// - Nothing (std::nullopt) when it cannot be told: no window in front, no X11 desktop, a window
//   manager that keeps no _NET_ACTIVE_WINDOW, a window gone meanwhile, off the GUI thread.
// - On X11 it waits for the server's answers to a few requests, never for anything else.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

std::optional<std::string> ForegroundWindowTitle();

using ForegroundTitleHook = std::function<std::optional<std::string>()>;
// Sets the hook (an empty one removes it); returns the previous one.
ForegroundTitleHook SetForegroundTitleHook(ForegroundTitleHook hook);

}  // namespace platform
