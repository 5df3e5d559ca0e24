// Running work on the GUI thread from any thread.
#pragma once

#include <functional>

namespace platform {

// Runs fn on the GUI thread: at once when called there, else when the GUI thread next takes in
// its events (the message pump does). False, and fn never runs, when there is no GUI application.
bool CallOnGuiThread(std::function<void()> fn);

}  // namespace platform
