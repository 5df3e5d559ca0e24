// The process's one GUI application object. A program's main() owns it for the whole run through a
// GuiApp; everything that makes windows calls EnsureGuiApp first.
#pragma once

namespace platform {

// Makes the toolkit's application object on the calling (main) thread, and destroys it when it
// goes out of scope: main() holds one for the program's run. The object must be gone before the
// exit handlers run, because its destruction still uses process-wide objects of the toolkit that
// those handlers destroy; so it is never left to a static destructor. Windows destroyed while they
// were still delivering an event go with it. A GuiApp made while an application object exists
// leaves that one alone.
class GuiApp {
 public:
  GuiApp();
  ~GuiApp();
  GuiApp(const GuiApp&) = delete;
  GuiApp& operator=(const GuiApp&) = delete;

 private:
  bool m_owner = false;
};

// Creates the application object when none exists yet, for code that runs without a GuiApp of its
// own (benchmarks, fuzz targets); that object is never destroyed. Without a display it falls back
// to the offscreen platform so that the program still runs.
void EnsureGuiApp();

// True when the calling thread is the one that owns the GUI.
bool IsGuiThread();

// True when windows are seen by a person: an application exists on a real display (not the
// offscreen or minimal platform that tests and runs without a display use).
bool HasScreen();

}  // namespace platform
