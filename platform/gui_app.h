// The process's one GUI application object. Everything that makes windows calls Ensure first.
#pragma once

namespace platform {

// Creates the toolkit's application object on the calling (main) thread when none exists yet.
// Without a display it falls back to the offscreen platform so that the program still runs.
void EnsureGuiApp();

// True when the calling thread is the one that owns the GUI.
bool IsGuiThread();

// True when windows are seen by a person: an application exists on a real display (not the
// offscreen or minimal platform that tests and runs without a display use).
bool HasScreen();

}  // namespace platform
