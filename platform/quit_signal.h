// SIGINT and SIGTERM as a request to quit normally, as the window's close button is: the program
// notices the request in its loop and ends the way it always ends, writing back what it keeps.
#pragma once

namespace platform {

// Installs the handlers (once). Call on the GUI thread after the GUI application exists, so that
// a request also wakes a pump that is waiting for messages.
void InstallQuitSignals();

// True once SIGINT or SIGTERM has arrived.
bool QuitSignalled();

// Forgets an earlier request (for tests).
void ClearQuitSignal();

}  // namespace platform
