// The message window's skip state: whether pages are being skipped.
#pragma once

// Skip mode, set by the message window's skip button; off at start.
extern bool SkipMode;
// The current text was already read: skipping goes on over it. Set at start.
extern bool CurrentTextRead;

// True while skipping is active: the current text was read (or unread text may be skipped), the
// player has not hidden the window, and the skip key is held or skip mode is on.
bool IsSkipping();
