// SIGINT, SIGTERM and SIGHUP as a request to quit normally, as the window's close button is: the
// program notices the request in its loop and ends the way it always ends, writing back what it
// keeps. A hang-up (the terminal that started the program has gone) would otherwise end it on the
// spot and lose just that.
#pragma once

#include <functional>

namespace platform {

// Installs the handlers (once). Call on the GUI thread after the GUI application exists, so that
// a request also wakes a pump that is waiting for messages.
void InstallQuitSignals();

// True once SIGINT, SIGTERM or SIGHUP has arrived.
bool QuitSignalled();

// Forgets an earlier request (for tests).
void ClearQuitSignal();

// Called on the GUI thread, from the pump, when a request has arrived (once for several that came
// together); an empty function calls nothing. Only with the handlers installed after the GUI
// application exists. Returns the previous one.
std::function<void()> SetQuitSignalCallback(std::function<void()> callback);

}  // namespace platform
